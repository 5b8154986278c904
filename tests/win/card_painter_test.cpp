#include "render/card_painter.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "design/fixed_text.h"
#include "print/print_math.h"
#include "qr/qr_symbol_cache.h"
#include "recording_seam.h"
#include "render/card_preview.h"
#include "test_bitmap.h"
#include "win/process.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFace = RGB(0, 128, 0);
constexpr COLORREF kBox = RGB(10, 200, 30);
constexpr COLORREF kModule = RGB(200, 0, 0);
constexpr COLORREF kMargin = RGB(255, 255, 0);

// A picture of width x height whose left half is `left` and right half `right`.
PicturePtr TwoColourPicture(int width, int height, COLORREF left, COLORREF right) {
    auto picture = std::make_shared<PixelImage>(MakePixelImage(width, height, 0));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = x < width / 2 ? left : right;
            picture->pixels[static_cast<size_t>(y) * width + x] =
                0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    picture->opaque = true;
    return picture;
}

class CardPainter : public ::testing::Test {
protected:
    RecordingSeam seam;
    std::unique_ptr<CardDesign> design = std::make_unique<CardDesign>();
    PicturePtr base = TwoColourPicture(100, 60, RGB(255, 0, 0), RGB(0, 0, 255));
    PicturePtr face = TwoColourPicture(20, 20, kFace, kFace);
    CardPictures pictures;
    PaintReport report;

    void SetUp() override {
        CardDesign& d = *design;
        ResetDesign(d, SettingsScope::Full);
        d.base_w = 455, d.base_h = 275, d.base_pw = 910, d.base_ph = 550;
        d.base_pl_mode = 0;
        d.phot_data = {1, 30, 40, 60, 50, {}};
        StrData& text = d.str_data[2];
        text.on = 1, text.x = 200, text.y = 100, text.bk = 1;
        text.br = 10, text.bg = 200, text.bb = 30;
        SetText(text.s64, u"名刺");
        QrcodeData& qr = d.qrcode_data[0];
        qr.on = 1, qr.x = 300, qr.y = 150, qr.Sell = 3, qr.Lv = 1;
        qr.r = 200, qr.g = 0, qr.b = 0, qr.br = 255, qr.bg = 255, qr.bb = 0;
        SetText(qr.s, u"VIVIVUZ");  // version 1: 21 modules
        pictures.base.image = base.get();
        pictures.face.image = face.get();
    }
    void Paint(TestBitmap& target, const CardMapping& mapping) {
        CardPaint paint;
        paint.mapping = mapping;
        PaintCardPictures(target.Dc(), *design, paint, pictures, report);
        PaintCardItems(target.Dc(), *design, paint, report);
    }
    // Every layer where the mapping puts it.
    void ExpectLayersWhereMapped(const TestBitmap& target, const CardMapping& m) {
        const DeviceRect card = MapCard(m);
        EXPECT_EQ(target.Pixel(card.x + 2, card.y + card.h / 2), RGB(255, 0, 0));
        EXPECT_EQ(target.Pixel(card.x + card.w - 3, card.y + card.h / 2), RGB(0, 0, 255));
        EXPECT_EQ(target.Pixel(card.x + card.w + 1, card.y + 1), kWhite);
        const DeviceRect face_at = MapRect(m, 30, 40, 60, 50);
        EXPECT_EQ(target.Pixel(face_at.x + face_at.w / 2, face_at.y + face_at.h / 2), kFace);
        EXPECT_EQ(target.Pixel(face_at.x + face_at.w + 1, face_at.y + 1), RGB(255, 0, 0));
        const DevicePoint text_at = MapPoint(m, 200, 100);
        EXPECT_EQ(target.Pixel(text_at.x, text_at.y), kBox);
        EXPECT_EQ(target.Pixel(text_at.x - 1, text_at.y - 1), RGB(255, 0, 0));  // base's left half
        const DevicePoint qr_at = MapPoint(m, 300, 150);
        const int module = MapModuleSize(m, 3);
        EXPECT_EQ(target.Pixel(qr_at.x, qr_at.y), kMargin);
        EXPECT_EQ(target.Pixel(qr_at.x + 2 * module, qr_at.y + 2 * module), kModule);  // finder corner
        EXPECT_EQ(target.Pixel(qr_at.x + 25 * module - 1, qr_at.y + 25 * module - 1), kMargin);
        EXPECT_NE(target.Pixel(qr_at.x + 25 * module, qr_at.y + 25 * module), kMargin);
    }
};

TEST_F(CardPainter, OneDesignAtThePreviewAndAtAPrinterMapping) {
    TestBitmap screen(600, 600);
    const CardMapping preview = PreviewMapping(*design);
    Paint(screen, preview);
    ExpectLayersWhereMapped(screen, preview);
    EXPECT_EQ(MapPoint(preview, 300, 150).x, 310);

    // 600 dpi, the card 91 x 55 mm from the page's corner: 2149 x 1299 device pixels.
    design->base_px = design->base_py = 0;
    const PrintScale scale = ComputePrintScale(*design, {600, 600, 0, 0});
    const CardMapping printed = PrintMapping(scale, CardOriginAt(scale, 0, 0));
    TestBitmap page(2200, 1320);
    Paint(page, printed);
    ExpectLayersWhereMapped(page, printed);
    EXPECT_EQ(MapModuleSize(printed, 3), 14);  // 3 x 2 x 600 / 254, no cap on paper
    EXPECT_EQ(MapCard(printed).w, static_cast<int>(scale.cw));
    EXPECT_TRUE(report.Empty());
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(CardPainter, PickedItemsAreLeftOutButQrCodesStay) {
    TestBitmap screen(600, 600);
    CardPaint paint;
    paint.mapping = PreviewMapping(*design);
    pictures.base = {};
    paint.hidden_pick = 102;  // text item 2
    PaintCardPictures(screen.Dc(), *design, paint, pictures, report);
    PaintCardItems(screen.Dc(), *design, paint, report);
    EXPECT_EQ(screen.Pixel(210, 150), kWhite);
    EXPECT_EQ(screen.Pixel(310, 200), kMargin);
    EXPECT_EQ(screen.Pixel(10 + 60, 50 + 65), kFace);
    paint.hidden_pick = 21;  // the face
    screen.Fill(kWhite);
    PaintCardPictures(screen.Dc(), *design, paint, pictures, report);
    PaintCardItems(screen.Dc(), *design, paint, report);
    EXPECT_EQ(screen.Pixel(10 + 60, 50 + 65), kWhite);
    EXPECT_EQ(screen.Pixel(210, 150), kBox);
}

TEST_F(CardPainter, QrCodesAreEncodedOnceWhileTheirTextStays) {
    TestBitmap screen(600, 600);
    Paint(screen, PreviewMapping(*design));
    const int encodes = TheQrSymbolCache().EncodeCount();
    for (int i = 0; i < 3; ++i) Paint(screen, PreviewMapping(*design));
    EXPECT_EQ(TheQrSymbolCache().EncodeCount(), encodes);
    SetText(design->qrcode_data[0].s, u"VIVIVUZ 2");
    Paint(screen, PreviewMapping(*design));
    EXPECT_EQ(TheQrSymbolCache().EncodeCount(), encodes + 1);
}

// A QR code switched on with an empty text: painting notes it, the window shows it once
// after the paint, and again only once the design has changed.
TEST(CardPaintFailures, AreShownAfterThePaintOncePerDesign) {
    RecordingSeam seam;
    ResetDesign(Design(), SettingsScope::Full);
    Design().qrcode_data[0].on = 1;
    TestBitmap canvas(600, 600);
    for (int paint = 0; paint < 2; ++paint) {
        const PaintReport failures = PaintCard(canvas.Dc());
        EXPECT_EQ(seam.messages.size(), paint == 0 ? 0u : 1u);  // nothing while painting
        ShowCardPaintFailures(nullptr, failures);
    }
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"二次元コード表示不可！");
    EXPECT_EQ(seam.messages[0].caption, L"設定ミス");
    Design().qrcode_data[0].x = 5;
    ShowCardPaintFailures(nullptr, PaintCard(canvas.Dc()));
    EXPECT_EQ(seam.messages.size(), 2u);
    ResetDesign(Design(), SettingsScope::Full);
}

}  // namespace
