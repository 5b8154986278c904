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
#include "print/mark_capture.h"
#include "render/bitmap_file.h"
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
    const RECT face{x_at(100), y_at(120), x_at(100) + Px(160), y_at(120) + Px(200)};
    EXPECT_EQ(page.Pixel(face.left, face.top), kRed);
    EXPECT_EQ(page.Pixel(face.left - 1, face.top), kWhite);
    EXPECT_EQ(page.Pixel(face.left, face.bottom - 1), kRed);
    EXPECT_EQ(page.Pixel(face.left, face.bottom + 1), kWhite);
    // The mark lies over the face, the text box over the mark.
    EXPECT_EQ(page.Pixel(x_at(160), y_at(160)), kGreen);
    EXPECT_EQ(page.Pixel(x_at(190) + 1, y_at(190) + 1), RGB(0, 0, 200));
    ExpectOnlyTheMissingBase();
}

TEST_F(PrintRenderer, TransparentMarksPrintTheirCaptureAndNothingWithoutOne) {
    CardDesign& d = *design;
    d.base_cntx = d.base_cnty = 1;
    d.mark_data[1] = {1, 50, 50, 40, 40, 1, {}};
    SetText(d.mark_data[1].fm, u"no-such-mark.bmp");
    const int x = Px(8 + 2 * 60), y = Px(10 + 2 * 60);
    {
        Page page(kPageWidth, 1200);
        Render(page);
        EXPECT_EQ(page.CountNotWhite(page.All()), 0);
        ExpectOnlyTheMissingBase();
        seam.messages.clear();
    }
    const std::u16string capture = MarkCaptureName(U16(folder.Path().c_str()), 1);
    const auto bytes = MakeBmp(40, 40, [](int, int) { return kGreen; });
    ASSERT_TRUE(WriteBytes(W(capture.c_str()), bytes.data(), bytes.size()));
    Page page(kPageWidth, 1200);
    Render(page);
    EXPECT_EQ(page.Pixel(x, y), kGreen);
    ExpectOnlyTheMissingBase();
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

// A window whose client area shows green at the card place of a mark.
LRESULT CALLBACK CaptureWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wparam, lparam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT all;
    GetClientRect(window, &all);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HBRUSH green = CreateSolidBrush(kGreen);
    const RECT mark{30 + 10, 20 + 50, 30 + 10 + 16, 20 + 50 + 8};  // the mark's left half
    FillRect(dc, &mark, green);
    DeleteObject(green);
    EndPaint(window, &paint);
    return 0;
}

TEST_F(PrintRenderer, MarkCaptureHoldsWhatThePreviewShowsAtTheMark) {
    WNDCLASSW type{};
    type.lpfnWndProc = CaptureWindowProc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = L"PrintCaptureTest";
    RegisterClassW(&type);
    HWND window = CreateWindowW(L"PrintCaptureTest", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200,
                                nullptr, nullptr, type.hInstance, nullptr);
    ASSERT_TRUE(window);
    const MarkData kept = Design().mark_data[4];
    Design().mark_data[4] = {1, 30, 20, 32, 8, 1, {}};
    WriteMarkCapture(window, 4);
    Design().mark_data[4] = kept;
    DestroyWindow(window);
    UnregisterClassW(L"PrintCaptureTest", type.hInstance);

    const auto bytes = ReadBytes(folder.File(L"mask4.tmp"));
    ASSERT_EQ(bytes.size(), 54u + 8 * 96);
    const auto header = MakeBitmapHeader(32, 8).value();
    EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
    auto pixel = [&](int x, int y) {  // bottom-up rows of blue, green, red
        const uint8_t* p = &bytes[54 + (7 - y) * 96 + x * 3];
        return RGB(p[2], p[1], p[0]);
    };
    EXPECT_EQ(pixel(0, 0), kGreen);
    EXPECT_EQ(pixel(15, 7), kGreen);
    EXPECT_EQ(pixel(16, 0), kWhite);
    EXPECT_EQ(pixel(31, 7), kWhite);
}

}  // namespace
