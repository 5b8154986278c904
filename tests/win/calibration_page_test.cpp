#include "print/calibration_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "print/sheet_presets.h"
#include "test_bitmap.h"

namespace {

constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kPaper = RGB(255, 255, 255);

// A page of A4 at 254 dpi: one pixel per 0.1 mm, so positions read straight as lengths.
class CalibrationPrint : public ::testing::Test {
protected:
    std::unique_ptr<CardDesign> design = std::make_unique<CardDesign>();
    TestBitmap page{2100, 2970};

    void SetUp() override {
        ResetDesign(*design, SettingsScope::Full);
        PutGrid(*design, kA4TenGrid);
    }
    bool Ink(int x, int y) { return page.Pixel(x, y) == kInk; }
    // The cross at (x, y): both arms through the corner 6 mm each way, the scale's ticks
    // outward by `out`, and no ink between two ticks.
    void ExpectCross(int x, int y, int out) {
        for (int t = -60; t <= 60; t += 7) {
            EXPECT_TRUE(Ink(x + t, y)) << "across " << t;
            EXPECT_TRUE(Ink(x, y + t)) << "down " << t;
        }
        EXPECT_TRUE(Ink(x, y + out * 29));       // the 0 tick, 3 mm
        EXPECT_TRUE(Ink(x + 50, y + out * 19));  // 5 mm, 2 mm long
        EXPECT_FALSE(Ink(x + 50, y + out * 21));
        EXPECT_TRUE(Ink(x - 5, y - out * 9));    // -0.5 mm, 1 mm long, the other way
        EXPECT_FALSE(Ink(x - 5, y - out * 11));
        EXPECT_FALSE(Ink(x + out * 2, y + out * 3));  // between the ticks of both scales
        EXPECT_TRUE(Ink(x - out * 19, y + 30));  // 3 mm along the other edge
        EXPECT_TRUE(Ink(x + out * 19, y - 30));
        // The numbers beyond the ticks: above or below the one, left or right of the other.
        const int near_side = out * 36, far_side = out * 62;
        EXPECT_GT(page.CountColour(x - 60, y + std::min(near_side, far_side), x + 60, y + std::max(near_side, far_side), kInk),
                  40);
        EXPECT_GT(page.CountColour(x + std::min(near_side, far_side), y - 60, x + std::max(near_side, far_side), y + 60, kInk),
                  40);
    }
};

TEST_F(CalibrationPrint, CrossesSitAtTheCornersTheLayoutPutsThem) {
    RenderCalibrationPage(page.Dc(), *design, PrintPage{254, 254, 0, 0}, L"CardPDF");
    ExpectCross(140, 110, -1);
    ExpectCross(1960, 2860, +1);
    // Outlines of every card, nothing inside them but the explanation in the first.
    EXPECT_TRUE(Ink(500, 110));
    EXPECT_TRUE(Ink(1050, 1500));   // between the columns
    EXPECT_TRUE(Ink(600, 1210));    // between rows 1 and 2
    EXPECT_EQ(page.CountColour(1100, 700, 1900, 1150, kInk), 0);
    EXPECT_GT(page.CountColour(220, 190, 1050, 660, kInk), 100);
}

// The page is printed with the printer's correction: the crosses move by it.
TEST_F(CalibrationPrint, TheCorrectionMovesTheCrosses) {
    RenderCalibrationPage(page.Dc(), *design, PrintPage{254, 254, 0, 0, {15, -8}}, L"CardPDF");
    ExpectCross(155, 102, -1);
    ExpectCross(1975, 2852, +1);
    EXPECT_EQ(page.Pixel(140, 150), kPaper);  // where the uncorrected edge would be
}

TEST_F(CalibrationPrint, AnEmptyGridPrintsABlankPage) {
    design->base_cntx = 0;
    RenderCalibrationPage(page.Dc(), *design, PrintPage{254, 254, 0, 0}, L"CardPDF");
    EXPECT_EQ(page.CountColour(0, 0, 2100, 2970, kInk), 0);
}

}  // namespace
