#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "design/fixed_text.h"
#include "print/print_renderer.h"
#include "print/printer.h"
#include "recording_seam.h"
#include "render/pictures.h"
#include "render/picture_loading.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);

// A4 at 300 dpi; the grid leaves 15 mm on the left and 8 mm on the right, 10 mm above.
constexpr int kPaperW = 2479, kPaperH = 3508;
constexpr PrintPage kA4{300, 300, 0, 0, {}, kPaperW, kPaperH};

double Px(double tenths) { return tenths * 300 / 254; }

// The inside of a card's place (2 pixels in from each edge) and its surroundings (2 out).
struct CardBox {
    RECT inside, around;
    int Area() const { return (inside.right - inside.left) * (inside.bottom - inside.top); }
};
CardBox Box(double x, double y, double w, double h) {
    const int l = static_cast<int>(x), t = static_cast<int>(y);
    const int r = static_cast<int>(x + w), b = static_cast<int>(y + h);
    return {{l + 2, t + 2, r - 2, b - 2}, {l - 2, t - 2, r + 2, b + 2}};
}

class BackPage : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchStartFolder folder;
    std::unique_ptr<CardDesign> design = std::make_unique<CardDesign>();

    void SetUp() override {
        ResetDesign(*design, SettingsScope::Full);
        CardDesign& d = *design;
        d.p_outline = 0;
        d.base_w = 455, d.base_h = 275;
        d.base_pw = 910, d.base_ph = 550;
        d.base_cntx = 2, d.base_cnty = 3;
        d.base_px = 150, d.base_py = 100;
        d.base_spx = 50, d.base_spy = 80;
        d.back_on = 1;
        d.duplex = kDuplexLongEdge;
        ResetBack(d.back);
        d.back.base_w = 455, d.back.base_h = 275;
        SetText(d.base_filepass, U16(Picture(L"front.bmp", 91, 55, [](int, int) { return kBlue; }).c_str()));
        SetText(d.back.base_filepass, U16(Picture(L"back.bmp", 91, 55, [](int, int) { return kRed; }).c_str()));
    }
    std::wstring Picture(const std::wstring& name, int w, int h, const std::function<COLORREF(int, int)>& colour) {
        const auto bytes = MakeBmp(w, h, colour);
        WriteBytes(folder.File(name), bytes.data(), bytes.size());
        return folder.File(name);
    }
    void RenderBack(const TestBitmap& page, const PrintPage& printer = kA4) {
        PaintReport report;
        RenderDesignBackSheet(page.Dc(), *design, printer, report);
        EXPECT_TRUE(report.Empty()) << "nothing is missing";
    }
    // The front card (column, row) from the millimetres of the layout.
    CardBox Front(int column, int row) const {
        const CardDesign& d = *design;
        return Box(Px(d.base_px + column * (d.base_pw + d.base_spx)), Px(d.base_py + row * (d.base_ph + d.base_spy)),
                   Px(d.base_pw), Px(d.base_ph));
    }
    // Where its back lands: mirrored on the paper's width (across) or height.
    CardBox Behind(int column, int row, bool across, double shift_x = 0, double shift_y = 0) const {
        const CardDesign& d = *design;
        double x = Px(d.base_px + column * (d.base_pw + d.base_spx));
        double y = Px(d.base_py + row * (d.base_ph + d.base_spy));
        if (across)
            x = kPaperW - x - Px(d.base_pw);
        else
            y = kPaperH - y - Px(d.base_ph);
        return Box(x + Px(shift_x), y + Px(shift_y), Px(d.base_pw), Px(d.base_ph));
    }
    // The colour appears only around the boxes of the cards.
    void ExpectNowhereElse(const TestBitmap& page, COLORREF colour, const std::function<CardBox(int, int)>& box) {
        int around = 0;
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 2; ++column) around += page.Count(box(column, row).around, colour);
        EXPECT_EQ(page.Count({0, 0, page.Width(), page.Height()}, colour), around);
        EXPECT_GT(around, 0);
    }
    // Every card of the page has colour all over the inside of box(column, row), and the
    // colour appears nowhere else.
    void ExpectCards(const TestBitmap& page, COLORREF colour, const std::function<CardBox(int, int)>& box) {
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 2; ++column) {
                const CardBox b = box(column, row);
                EXPECT_EQ(page.Count(b.inside, colour), b.Area()) << column << "," << row;
            }
        }
        ExpectNowhereElse(page, colour, box);
    }
};

TEST_F(BackPage, LongEdgeMirrorsTheColumnsOnThePapersWidthWithTheBacksCorrection) {
    TestBitmap page(kPaperW, kPaperH);
    RenderBack(page);
    ExpectCards(page, kRed, [&](int k, int r) { return Behind(k, r, true); });
    EXPECT_EQ(page.Count({0, 0, kPaperW, kPaperH}, kBlue), 0) << "the front is not on the back page";

    // 1.5 mm right and 2 mm up, after the mirroring.
    PrintPage corrected = kA4;
    corrected.correction = {15, -20};
    page.Fill(RGB(255, 255, 255));
    RenderBack(page, corrected);
    ExpectCards(page, kRed, [&](int k, int r) { return Behind(k, r, true, 15, -20); });
}

TEST_F(BackPage, ShortEdgeMirrorsTheRowsAndTurnsTheCardHalfway) {
    design->duplex = kDuplexShortEdge;
    // Left half red, right half green: turned halfway, the green comes first.
    SetText(design->back.base_filepass,
            U16(Picture(L"halves.bmp", 90, 54, [](int x, int) { return x < 45 ? kRed : kGreen; }).c_str()));
    TestBitmap page(kPaperW, kPaperH);
    RenderBack(page);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column) {
            const CardBox b = Behind(column, row, false);
            const int middle = (b.inside.left + b.inside.right) / 2;
            const RECT left{b.inside.left, b.inside.top, middle - 3, b.inside.bottom};
            const RECT right{middle + 3, b.inside.top, b.inside.right, b.inside.bottom};
            EXPECT_EQ(page.Count(left, kGreen), (left.right - left.left) * (left.bottom - left.top)) << column << row;
            EXPECT_EQ(page.Count(right, kRed), (right.right - right.left) * (right.bottom - right.top)) << column << row;
        }
    }
    for (COLORREF colour : {kRed, kGreen}) ExpectNowhereElse(page, colour, [&](int k, int r) { return Behind(k, r, false); });
}

TEST_F(BackPage, ABackOfTheOtherOrientationIsTurnedAQuarterIntoTheFrontsCell) {
    // An upright back on a landscape front: top half red, bottom half green (45 of 91 rows
    // red: the edge between them lies a little above the middle). Turned a quarter
    // clockwise, its top lies on the right of the cell; its text is turned with it.
    design->back.base_w = 275, design->back.base_h = 455;
    SetText(design->back.base_filepass,
            U16(Picture(L"upright.bmp", 55, 91, [](int, int y) { return y < 45 ? kRed : kGreen; }).c_str()));
    StrData& text = design->back.str_data[0];
    text.on = 1;
    text.x = 20, text.y = 300;  // in the green half: dark ink left of the middle
    SetText(text.s64, u"ＥＮＧＬＩＳＨ");
    TestBitmap page(kPaperW, kPaperH);
    RenderBack(page);
    int ink = 0;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column) {
            const CardBox b = Behind(column, row, true);
            const int middle = (b.inside.left + b.inside.right) / 2;
            const RECT right{middle + 12, b.inside.top, b.inside.right, b.inside.bottom};
            EXPECT_EQ(page.Count(right, kRed), (right.right - right.left) * (right.bottom - right.top)) << column << row;
            const RECT left{b.inside.left, b.inside.top, middle - 12, b.inside.bottom};
            const int area = (left.right - left.left) * (left.bottom - left.top);
            const int green = page.Count(left, kGreen);
            EXPECT_LT(green, area) << "the text is on the card";
            EXPECT_GT(green, area * 9 / 10);
            ink += area - green;
        }
    }
    EXPECT_GT(ink, 0);
    for (COLORREF colour : {kRed, kGreen}) ExpectNowhereElse(page, colour, [&](int k, int r) { return Behind(k, r, true); });
}

// The sheet's pages come from the stored design whichever side the window shows, each with
// its own pictures: the held ones for the side shown, the files' for the other.
TEST_F(BackPage, ThePrintedSidesDoNotDependOnTheSideShown) {
    const PrinterMetrics previous = Metrics();
    Metrics().dpi_x = Metrics().dpi_y = 300;
    Metrics().offset_x = Metrics().offset_y = 0;
    Metrics().physical_width = kPaperW, Metrics().physical_height = kPaperH;
    lstrcpynW(CurrentPrinterName(), L"", 1);
    SetStoredDesign(*design);
    for (const bool shown : {false, true}) {
        ShowSide(shown);
        LoadDesignPictures(nullptr, true);
        TestBitmap front(kPaperW, kPaperH), back(kPaperW, kPaperH);
        PaintReport report;
        RenderSheet(front.Dc(), report);
        RenderBackSheet(back.Dc(), report);
        EXPECT_TRUE(report.Empty()) << shown;
        ExpectCards(front, kBlue, [&](int k, int r) { return Front(k, r); });
        ExpectCards(back, kRed, [&](int k, int r) { return Behind(k, r, true); });
        EXPECT_EQ(front.Count({0, 0, kPaperW, kPaperH}, kRed), 0) << shown;
    }
    ShowSide(false);
    ReleaseDesignPictures();
    ResetDesign(Design(), SettingsScope::Full);
    Metrics() = previous;
}

}  // namespace
