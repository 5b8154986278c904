#include "print/print_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "design/fixed_text.h"
#include "paint_and_show.h"
#include "qr/draw_qr.h"
#include "recording_seam.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "win/design_text.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);

// A printer-sized page in a memory context.
using Page = TestBitmap;

// A4 at 300 dpi as the PDF printer reports it.
constexpr int kPageWidth = 2479, kPageHeight = 3508;
constexpr PrintPage k300Dpi{300, 300, 0, 0};

// 0.1 mm to 300 dpi pixels, truncated as the renderer does.
int Px(double tenths) { return static_cast<int>(tenths * 300 / 254); }

RECT Rect(const DeviceRect& r) { return {r.x, r.y, r.x + r.w, r.y + r.h}; }
RECT Grow(RECT r, int by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

class PrintRenderer : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchFolder folder;
    std::unique_ptr<CardDesign> design = std::make_unique<CardDesign>();
    std::wstring previous_directory;

    void SetUp() override {
        wchar_t current[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, current);
        previous_directory = current;
        Process().start_folder = folder.Path().c_str();
        ResetDesign(*design, SettingsScope::Full);  // 2 x 3 cards, every item off
        design->p_outline = 0;
    }
    void TearDown() override {
        Process().start_folder.clear();
        SetCurrentDirectoryW(previous_directory.c_str());
    }

    std::wstring Picture(const std::wstring& name, int w, int h,
                         const std::function<COLORREF(int, int)>& colour) {
        const auto bytes = MakeBmp(w, h, colour);
        WriteBytes(folder.File(name), bytes.data(), bytes.size());
        return folder.File(name);
    }
    void SolidBase(COLORREF colour) {
        SetText(design->base_filepass, U16(Picture(L"base.bmp", 91, 55, [=](int, int) {
                                              return colour;
                                          }).c_str()));
    }
    void Render(const Page& page, const PrintPage& printer = k300Dpi) {
        RenderSheetAndShow(page.Dc(), *design, printer);
    }
    // Every page without a base picture says so once; nothing else is reported.
    void ExpectOnlyTheMissingBase() {
        ASSERT_EQ(seam.messages.size(), 1u) << seam.MessageTexts();
        EXPECT_EQ(seam.messages[0].text, L"ベース画像が読み込み出来ません。");
        EXPECT_EQ(seam.messages[0].caption, L"PaintBMP Load");
    }
    // Where card (column, row) of the design lies on a 300 dpi page, from the millimetres.
    RECT CardPlace(int column, int row) const {
        const CardDesign& d = *design;
        const double x = d.base_px + column * (d.base_pw + d.base_spx);
        const double y = d.base_py + row * (d.base_ph + d.base_spy);
        return {Px(x), Px(y), Px(x) + Px(d.base_pw), Px(y) + Px(d.base_ph)};
    }
};

TEST_F(PrintRenderer, SixCardsOfTheGridLieWhereTheLayoutPutsThem) {
    SolidBase(kBlue);
    Page page(kPageWidth, kPageHeight);
    Render(page);
    int blue = 0;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column) {
            const RECT card = CardPlace(column, row);
            const int area = (card.right - card.left) * (card.bottom - card.top);
            EXPECT_EQ(page.Count(card, kBlue), area) << column << "," << row;
            // Nothing spills over the card's edges.
            EXPECT_EQ(page.Count(Grow(card, 2), kBlue), area) << column << "," << row;
            blue += area;
        }
    }
    EXPECT_EQ(page.Count(page.All(), kBlue), blue);
    EXPECT_EQ(page.CountNotWhite(page.All()), blue);
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(PrintRenderer, ACountOfZeroPrintsAnEmptyPage) {
    SolidBase(kBlue);
    design->str_data[0].on = 1;
    design->qrcode_data[0].on = 1;
    SetText(design->qrcode_data[0].s, u"A");
    Page page(kPageWidth, kPageHeight);
    for (auto [across, down] : {std::pair{0, 3}, std::pair{2, 0}}) {
        design->base_cntx = across;
        design->base_cnty = down;
        Render(page);
        EXPECT_EQ(page.CountNotWhite(page.All()), 0);
    }
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(PrintRenderer, CutMarksStandOutsideEveryCardOnlyWithABasePicture) {
    design->p_outline = 1;
    design->p_outline_size = 10;  // 1 mm: 11 pixels
    design->p_outline_len = 50;   // 5 mm: 59 pixels
    {
        // No base picture: no marks, and the missing picture is said once.
        Page page(kPageWidth, kPageHeight);
        Render(page);
        EXPECT_EQ(page.CountNotWhite(page.All()), 0);
        ExpectOnlyTheMissingBase();
    }
    SolidBase(kBlue);
    design->base_px = design->base_py = 100;  // every mark on the paper
    Page page(kPageWidth, kPageHeight);
    Render(page);
    const int g = Px(10), l = Px(50);
    const COLORREF black = RGB(0, 0, 0);
    // The bottom-right mark of the last card: its corner, both arms to their ends, and
    // nothing beyond them.
    const int right = Px(100 + 916 + 910) + g;
    const int bottom = Px(100 + 2 * 562 + 550) + g;
    EXPECT_EQ(page.Pixel(right, bottom), black);
    EXPECT_EQ(page.Pixel(right, bottom - l - g + 1), black);
    EXPECT_EQ(page.Pixel(right - l - g + 2, bottom), black);
    EXPECT_EQ(page.Pixel(right, bottom - l - g - 2), kWhite);
    EXPECT_EQ(page.Pixel(right + 1, bottom), kWhite);
    EXPECT_EQ(page.Pixel(right - 1, bottom - 1), kWhite);  // the gap between mark and card
    // The top-left mark of the first card.
    const int left = Px(100) - g, top = Px(100) - g;
    EXPECT_EQ(page.Pixel(left, top), black);
    EXPECT_EQ(page.Pixel(left, top + l + g - 1), black);
    EXPECT_EQ(page.Pixel(left + l + g - 1, top), black);
    // Four marks of two arms of about l + g pixels on each of six cards.
    const int marks = page.Count(page.All(), black);
    EXPECT_GE(marks, 6 * 4 * 2 * l);
    EXPECT_LE(marks, 6 * 4 * 2 * (l + g + 1));
}

TEST_F(PrintRenderer, FontHeightIsScaledToThePrinter) {
    StrData& item = design->str_data[3];
    item.on = 1;
    item.x = 20, item.y = 40;
    item.bk = 1;
    item.br = 10, item.bg = 200, item.bb = 30;
    design->lf[3].lfHeight = -13;
    Page page(kPageWidth, kPageHeight);
    Render(page);
    // trunc(-13 x 2 x 300 / 254) = -30: the box is the cell of a -30 font.
    LogFont expected_font = design->lf[3];
    expected_font.lfHeight = -30;
    HFONT font = CreateDesignFont(expected_font);
    HDC probe = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(probe, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(probe, &metrics);
    SelectObject(probe, old);
    DeleteObject(font);
    DeleteDC(probe);
    ASSERT_GT(metrics.tmHeight, 30);
    const int x = Px(8 + 20 * 2), y = Px(10 + 40 * 2);  // card origin + text point
    EXPECT_EQ(page.Pixel(x, y), RGB(10, 200, 30));
    int height = 0;
    while (page.Pixel(x, y + height) == RGB(10, 200, 30)) ++height;
    EXPECT_EQ(height, metrics.tmHeight);
    EXPECT_EQ(page.Pixel(x, y - 1), kWhite);
}

TEST_F(PrintRenderer, QrModulesKeepTheCardsProportionsAboveTwentyPixels) {
    QrcodeData& qr = design->qrcode_data[0];
    qr.on = 1;
    SetText(qr.s, u"VIVIVUZ");  // version 1: 21 modules
    qr.Sell = 6;
    qr.x = 300, qr.y = 100;
    qr.br = 255, qr.bg = 255, qr.bb = 0;  // a yellow light margin
    design->base_cntx = design->base_cnty = 1;
    design->base_px = design->base_py = 0;
    Page page(2200, 1400);
    Render(page, PrintPage{600, 600, 0, 0});
    // trunc(6 x 2 x 600 / 254) = 28 device pixels per module, not 20.
    EXPECT_EQ(LastQrDrawnSize().cx, 25 * 28);
    const int x = static_cast<int>(300 * 2 * 600 / 254.0), y = static_cast<int>(100 * 2 * 600 / 254.0);
    EXPECT_EQ(page.Pixel(x, y), RGB(255, 255, 0));
    EXPECT_EQ(page.Pixel(x - 1, y), kWhite);
    EXPECT_EQ(page.Pixel(x + 2 * 28, y + 2 * 28), RGB(0, 0, 0));  // the finder's corner
    EXPECT_EQ(page.Pixel(x + 25 * 28 - 1, y + 25 * 28 - 1), RGB(255, 255, 0));
    ExpectOnlyTheMissingBase();
}

TEST_F(PrintRenderer, BaseModesCropThePictureAsTheScreenDoes) {
    // A tall picture: red top half, green bottom half.
    SetText(design->base_filepass, U16(Picture(L"tall.bmp", 60, 200, [](int, int y) {
                                          return y < 100 ? kRed : kGreen;
                                      }).c_str()));
    design->base_cntx = design->base_cnty = 1;
    const RECT card = CardPlace(0, 0);
    const int cx = (card.left + card.right) / 2;
    const int top = card.top + 5, bottom = card.bottom - 5;
    struct Case {
        int mode;
        COLORREF top, bottom;
    } cases[] = {{0, kRed, kGreen}, {1, kRed, kGreen}, {2, kRed, kRed}, {3, kGreen, kGreen}};
    for (const Case& c : cases) {
        design->base_pl_mode = c.mode;
        Page page(kPageWidth, 1000);
        Render(page);
        EXPECT_EQ(page.Pixel(cx, top), c.top) << "mode " << c.mode;
        EXPECT_EQ(page.Pixel(cx, bottom), c.bottom) << "mode " << c.mode;
    }
}

TEST_F(PrintRenderer, FaceMarksTextsAndQrCodesAreLayeredAtTheirMappedPlaces) {
    CardDesign& d = *design;
    d.base_cntx = d.base_cnty = 1;
    d.phot_data = {1, 100, 120, 80, 100, {}};
    SetText(d.phot_data.fm, U16(Picture(L"face.bmp", 8, 10, [](int, int) { return kRed; }).c_str()));
    d.mark_data[2] = {1, 150, 150, 60, 60, 0, {}};
    SetText(d.mark_data[2].fm, U16(Picture(L"mark.bmp", 6, 6, [](int, int) { return kGreen; }).c_str()));
    d.str_data[0] = {1, 190, 190, {}, 1, 0, 0, 0, 0, 0, 200};
    SetText(d.str_data[0].s64, u"ABC");
    Page page(kPageWidth, 1200);
    Render(page);
    // A card point on the page: the card's origin (8, 10 in 0.1 mm) plus 2 x the point.
    auto x_at = [](int card_x) { return Px(8 + 2 * card_x); };
    auto y_at = [](int card_y) { return Px(10 + 2 * card_y); };
    // The pictures of a card are composed once for all its cards, from the card's corner:
    // their edges may land one printer pixel before the text's rounding would put them.
    const RECT face{x_at(100), y_at(120), x_at(100) + Px(160), y_at(120) + Px(200)};
    EXPECT_EQ(page.Pixel(face.left + 1, face.top + 1), kRed);
    EXPECT_EQ(page.Pixel(face.left - 2, face.top + 1), kWhite);
    EXPECT_EQ(page.Pixel(face.left + 1, face.bottom - 2), kRed);
    EXPECT_EQ(page.Pixel(face.left + 1, face.bottom + 1), kWhite);
    // The mark lies over the face, the text box over the mark.
    EXPECT_EQ(page.Pixel(x_at(160), y_at(160)), kGreen);
    EXPECT_EQ(page.Pixel(x_at(190) + 1, y_at(190) + 1), RGB(0, 0, 200));
    ExpectOnlyTheMissingBase();
}

// A white-keyed mark is printed from its own picture, composed over the base at the
// printer's resolution: its one-pixel stripes reach the page, and its white shows the base.
TEST_F(PrintRenderer, TransparentMarksAreComposedFromTheirOwnPictureAtThePrintersResolution) {
    CardDesign& d = *design;
    d.base_cntx = d.base_cnty = 1;
    d.base_px = d.base_py = 0;
    SolidBase(kBlue);
    d.mark_data[1] = {1, 50, 50, 40, 40, 1, {}};
    // 200 x 200 pixels for 40 card pixels (8 mm, 635 dpi): stripes two pixels wide, red and white.
    SetText(d.mark_data[1].fm,
            U16(Picture(L"stripes.bmp", 200, 200, [](int x, int) { return (x / 2) % 2 ? kWhite : kRed; }).c_str()));
    Page page(1300, 800);
    Render(page, {600, 600, 0, 0});
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
    const int top = 60 * 600 * 2 / 254, left = 50 * 600 * 2 / 254, width = 40 * 600 * 2 / 254;
    int reds = 0, blues = 0, changes = 0;
    COLORREF previous = page.Pixel(left + 2, top);
    for (int x = left + 2; x < left + width - 2; ++x) {
        const COLORREF c = page.Pixel(x, top);
        reds += GetRValue(c) > 150 && GetBValue(c) < 100;
        blues += GetBValue(c) > 150 && GetRValue(c) < 100;
        changes += (GetRValue(c) > 128) != (GetRValue(previous) > 128);
        previous = c;
    }
    // 50 red stripes at 1.9 printer pixels each: a screen capture of 40 pixels could give
    // at most 40 changes.
    EXPECT_GT(changes, 60);
    EXPECT_GT(reds, width / 4);
    EXPECT_GT(blues, width / 4);
    EXPECT_EQ(page.Pixel(left - 5, top), kBlue);
    // Nothing is written beside the design.
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(folder.File(L"*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

// Blue at half alpha over a known base colour blends within 2 on the page as on the screen.
TEST_F(PrintRenderer, AlphaBlendsOverTheBaseOnThePage) {
    CardDesign& d = *design;
    d.base_cntx = d.base_cnty = 1;
    d.base_px = d.base_py = 0;
    SolidBase(RGB(200, 100, 0));
    d.mark_data[0] = {1, 100, 100, 40, 40, 0, {}};
    const std::wstring half_blue = L"half-blue.png";
    const auto bytes = ReadBytes(std::wstring(L"" VIVI_TEST_PICTURES_W) + L"/half-blue.png");
    ASSERT_FALSE(bytes.empty());
    WriteBytes(folder.File(half_blue), bytes.data(), bytes.size());
    SetText(d.mark_data[0].fm, U16(folder.File(half_blue).c_str()));
    Page page(1300, 800);
    Render(page, {600, 600, 0, 0});
    const COLORREF c = page.Pixel(120 * 600 * 2 / 254, 120 * 600 * 2 / 254);
    // 255 x 128 / 255 over 127 / 255 of the base.
    EXPECT_NEAR(GetRValue(c), 100, 2);
    EXPECT_NEAR(GetGValue(c), 50, 2);
    EXPECT_NEAR(GetBValue(c), 128, 2);
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(PrintRenderer, MissingPicturesAreReportedOncePerPageAndTheRestIsPrinted) {
    CardDesign& d = *design;
    SetText(d.base_filepass, u"missing-base.bmp");
    d.mark_data[0] = {1, 10, 10, 40, 40, 0, {}};
    SetText(d.mark_data[0].fm, u"missing-mark.jpg");
    d.mark_data[3].on = 0;  // off marks are not even loaded
    SetText(d.mark_data[3].fm, u"missing-too.bmp");
    d.phot_data.on = 1;
    SetText(d.phot_data.fm, u"missing-face.bmp");
    d.str_data[2].on = 1;
    d.str_data[2].x = 10, d.str_data[2].y = 100;
    Page page(kPageWidth, kPageHeight);
    Render(page);
    ASSERT_EQ(seam.messages.size(), 3u);
    EXPECT_EQ(seam.messages[0].text, L"ベース画像が読み込み出来ません。");
    EXPECT_EQ(seam.messages[1].text, L"マーク画像が読み込み出来ません。");
    EXPECT_EQ(seam.messages[2].text, L"顔の画像が読み込み出来ません。");
    for (const ShownMessage& m : seam.messages) EXPECT_EQ(m.caption, L"PaintBMP Load");
    // The name is printed on all six cards.
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 2; ++column)
            EXPECT_GT(page.CountNotWhite(CardPlace(column, row)), 200) << column << "," << row;
}

}  // namespace
