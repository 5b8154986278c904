#include "qr/draw_qr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "design/fixed_text.h"
#include "paint_and_show.h"
#include "recording_seam.h"
#include "render/card_preview.h"
#include "test_bitmap.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// A symbol as the screen draws one (modules of the screen's 1..20 pixels), black on white;
// what failed is shown afterwards, as the windows do.
void Draw(TestBitmap& canvas, const char* text, int level, int module, int x, int y) {
    CardMapping screen;  // one pixel per card pixel
    screen.module_cap = kScreenModuleCap;
    PaintReport report, shown;
    ReportQrPaint(PaintQrSymbol(canvas.Dc(), level, MapModuleSize(screen, module), x, y,
                                reinterpret_cast<const unsigned char*>(text), static_cast<int>(std::strlen(text)),
                                RGB(0, 0, 0), kWhite),
                  report);
    ShowNewFailures(nullptr, report, shown);
}

// Bounding box of the pixels that are not grey.
RECT Painted(const TestBitmap& canvas) {
    RECT r{canvas.Width(), canvas.Height(), -1, -1};
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            if (canvas.Pixel(x, y) != kGrey) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    return r;
}

TEST(DrawQr, VersionOneSymbolCoversItsSquareWithTheFinderInside) {
    RecordingSeam seam;
    TestBitmap canvas(300, 300, kGrey);
    Draw(canvas, "HELLO", 1, 3, 80, 50);
    const RECT r = Painted(canvas);
    EXPECT_EQ(r.left, 80);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right, 155);
    EXPECT_EQ(r.bottom, 125);
    EXPECT_EQ(LastQrDrawnSize().cx, 75);
    EXPECT_EQ(LastQrDrawnSize().cy, 75);
    // Light margin two modules wide, then the finder's dark corner module.
    EXPECT_EQ(canvas.Pixel(80, 50), kWhite);
    EXPECT_EQ(canvas.Pixel(85, 55), kWhite);
    EXPECT_EQ(canvas.Pixel(86, 56), RGB(0, 0, 0));
    EXPECT_EQ(canvas.Pixel(88, 58), RGB(0, 0, 0));
    // The finder's light ring, one module in.
    EXPECT_EQ(canvas.Pixel(89, 59), kWhite);
    EXPECT_TRUE(seam.messages.empty());
}

TEST(DrawQr, ModuleSizeIsClampedToOneToTwenty) {
    RecordingSeam seam;
    {
        TestBitmap canvas(100, 100, kGrey);
        Draw(canvas, "A", 0, 0, 0, 0);
        EXPECT_EQ(Painted(canvas).right, 25);
        EXPECT_EQ(LastQrDrawnSize().cx, 25);
    }
    {
        TestBitmap canvas(600, 600, kGrey);
        Draw(canvas, "A", 0, 25, 0, 0);
        EXPECT_EQ(Painted(canvas).right, 500);
        EXPECT_EQ(LastQrDrawnSize().cx, 500);
    }
}

TEST(DrawQr, UnknownLevelDrawsAtL) {
    RecordingSeam seam;
    TestBitmap atL(200, 200, kGrey), atSeven(200, 200, kGrey);
    const char* text = "https://example.jp/card?id=12345";
    Draw(atL, text, 0, 2, 0, 0);
    Draw(atSeven, text, 7, 2, 0, 0);
    EXPECT_EQ(atL.CountOther(0, 0, 200, 200, kGrey), atSeven.CountOther(0, 0, 200, 200, kGrey));
    for (int y = 0; y < 200; y += 3)
        for (int x = 0; x < 200; x += 3) ASSERT_EQ(atL.Pixel(x, y), atSeven.Pixel(x, y));
}

TEST(DrawQr, EmptyOrOverlongTextIsReportedAndNothingIsDrawn) {
    RecordingSeam seam;
    TestBitmap canvas(100, 100, kGrey);
    Draw(canvas, "A", 0, 1, 0, 0);
    const SIZE before = LastQrDrawnSize();
    canvas.Fill(kGrey);
    Draw(canvas, "", 0, 3, 0, 0);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"二次元コード表示不可！");
    EXPECT_EQ(seam.messages[0].caption, L"設定ミス");
    EXPECT_EQ(canvas.CountOther(0, 0, 100, 100, kGrey), 0);
    EXPECT_EQ(LastQrDrawnSize().cx, before.cx);
}

TEST(DrawQr, OnlyTheFirst255BytesAreEncoded) {
    RecordingSeam seam;
    std::string longer(400, 'a');
    std::string first(255, 'a');
    TestBitmap a(400, 400, kGrey), b(400, 400, kGrey);
    Draw(a, longer.c_str(), 0, 1, 0, 0);
    Draw(b, first.c_str(), 0, 1, 0, 0);
    EXPECT_TRUE(seam.messages.empty());
    for (int y = 0; y < 400; y += 2)
        for (int x = 0; x < 400; x += 2) ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y));
}

TEST(CardPreviewQr, QrCodesAreDrawnAboveTextsAndWhilePicked) {
    RecordingSeam seam;
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    d->str_data[0].on = 1;
    d->str_data[0].bk = 1;
    d->str_data[0].br = 0, d->str_data[0].bg = 0, d->str_data[0].bb = 255;
    QrcodeData& qr = d->qrcode_data[1];
    qr.on = 1;
    qr.x = 0, qr.y = 0;
    qr.Sell = 2;
    qr.r = 200, qr.g = 0, qr.b = 0;  // module colour red
    qr.br = 0, qr.bg = 255, qr.bb = 0;
    SetText(qr.s, u"名刺\r\nVivivuz");
    DesignPictures none;
    TestBitmap canvas(600, 600, kGrey);
    PaintCardAndShow(canvas.Dc(), *d, none, 0);
    EXPECT_EQ(canvas.Pixel(10, 50), RGB(0, 255, 0));    // QR background over the text box
    EXPECT_EQ(canvas.Pixel(10 + 4, 50 + 4), RGB(200, 0, 0));  // first finder module
    EXPECT_TRUE(seam.messages.empty());
    canvas.Fill(kGrey);
    PaintCardAndShow(canvas.Dc(), *d, none, 1);  // a picked mark does not hide QR codes
    EXPECT_EQ(canvas.Pixel(10 + 4, 50 + 4), RGB(200, 0, 0));
}

}  // namespace
