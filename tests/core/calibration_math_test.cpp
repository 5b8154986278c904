#include "print/calibration_math.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "print/sheet_presets.h"

namespace {

std::unique_ptr<CardDesign> A4TenSheet() {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    PutGrid(*d, kA4TenGrid);
    return d;
}

bool HasLine(const CalibrationCross& cross, DeviceLine line) {
    return std::find(cross.lines.begin(), cross.lines.end(), line) != cross.lines.end();
}

// 254 dpi: one device pixel per 0.1 mm, so every length below is in both units at once.
constexpr PrintPage kTenthPage{254, 254, 0, 0};

TEST(CalibrationPage, CrossesSitOnTheGridsOuterCornersWithTheirScales) {
    auto d = A4TenSheet();
    const CalibrationSheet sheet = CalibrationMarks(ComputePrintScale(*d, kTenthPage), 2, 5);
    ASSERT_EQ(sheet.cards.size(), 10u);
    EXPECT_EQ(sheet.cards[0], (DeviceRect{140, 110, 910, 550}));
    EXPECT_EQ(sheet.cards[9], (DeviceRect{1050, 2310, 910, 550}));
    ASSERT_EQ(sheet.crosses.size(), 2u);
    const CalibrationCross& first = sheet.crosses[0];
    const CalibrationCross& last = sheet.crosses[1];
    EXPECT_EQ(first.corner, (DevicePoint{140, 110}));
    EXPECT_EQ(last.corner, (DevicePoint{1960, 2860}));
    // Arms 6 mm each way along the edges; ticks every 0.5 mm out to 5 mm, each half scale
    // in a quadrant of its own.
    EXPECT_EQ(first.lines[0], (DeviceLine{{80, 110}, {200, 110}}));
    EXPECT_EQ(first.lines[1], (DeviceLine{{140, 50}, {140, 170}}));
    EXPECT_TRUE(HasLine(first, {{140, 110}, {140, 80}}));   // 0: 3 mm, up
    EXPECT_TRUE(HasLine(first, {{150, 110}, {150, 90}}));   // 1 mm: 2 mm
    EXPECT_TRUE(HasLine(first, {{145, 110}, {145, 100}}));  // 0.5 mm: 1 mm
    EXPECT_TRUE(HasLine(first, {{90, 110}, {90, 130}}));    // -5 mm, down
    EXPECT_TRUE(HasLine(first, {{140, 60}, {120, 60}}));    // 5 mm up the left edge, ticked left
    EXPECT_TRUE(HasLine(first, {{140, 160}, {160, 160}}));  // 5 mm down it, ticked right
    EXPECT_TRUE(HasLine(last, {{1960, 2860}, {1960, 2890}}));  // down at the last corner
    EXPECT_TRUE(HasLine(last, {{1960, 2855}, {1970, 2855}}));  // up the edge: right
    EXPECT_TRUE(HasLine(last, {{1950, 2860}, {1950, 2840}}));  // left of the corner: up
    EXPECT_EQ(first.lines.size(), 2u + 2u * 21u);
    // Numbers 5..0..5 every millimetre, the signs past the ends.
    ASSERT_EQ(first.labels.size(), 2u * 13u);
    const CalibrationLabel& zero_across = first.labels[12];
    EXPECT_EQ(zero_across.text, u"0");
    EXPECT_EQ(zero_across.at, (DevicePoint{140, 75}));
    EXPECT_EQ(zero_across.side, LabelSide::Above);
    EXPECT_EQ(first.labels[0].text, u"-");
    EXPECT_EQ(first.labels[24].text, u"+");
    EXPECT_EQ(first.labels[24].at, (DevicePoint{200, 75}));
    // Down the edge the odd numbers stand further out than the even ones.
    EXPECT_EQ(first.labels[13].at, (DevicePoint{175, 110}));  // 0, right of the ticks
    EXPECT_EQ(first.labels[13].side, LabelSide::Right);
    EXPECT_EQ(first.labels[15].at, (DevicePoint{187, 120}));  // 1 mm
    EXPECT_EQ(first.labels[15].text, u"1");
    EXPECT_EQ(first.labels[17].at, (DevicePoint{175, 130}));  // 2 mm
    EXPECT_EQ(first.labels[11].at, (DevicePoint{93, 100}));   // -1 mm, left
    EXPECT_EQ(first.labels[10].side, LabelSide::Below);       // -1 mm across: below
    EXPECT_EQ(last.labels[13].side, LabelSide::Left);
    EXPECT_EQ(sheet.line_width, 1);
    EXPECT_EQ(sheet.label_height, 14);
    EXPECT_EQ(sheet.note_at, (DevicePoint{220, 190}));
}

// The page shows the correction it is printed with: a second page after typing what the
// first one showed must put the crosses on the real edges.
TEST(CalibrationPage, TheCorrectionMovesEverything) {
    auto d = A4TenSheet();
    PrintPage page{600, 600, 0, 0};
    const CalibrationSheet plain = CalibrationMarks(ComputePrintScale(*d, page), 2, 5);
    page.correction = {15, -8};
    const CalibrationSheet moved = CalibrationMarks(ComputePrintScale(*d, page), 2, 5);
    const int dx = 35, dy = -19;  // 1.5 mm and -0.8 mm at 600 dpi, give or take a pixel
    for (std::size_t c = 0; c < 2; ++c) {
        EXPECT_NEAR(moved.crosses[c].corner.x - plain.crosses[c].corner.x, dx, 1);
        EXPECT_NEAR(moved.crosses[c].corner.y - plain.crosses[c].corner.y, dy, 1);
    }
    EXPECT_NEAR(moved.cards[5].x - plain.cards[5].x, dx, 1);
    EXPECT_EQ(moved.line_width, 2);
}

TEST(CalibrationPage, EmptyGridHasNoCrossesAndOneCardHasTwo) {
    auto d = A4TenSheet();
    const PrintScale s = ComputePrintScale(*d, kTenthPage);
    EXPECT_TRUE(CalibrationMarks(s, 0, 5).crosses.empty());
    EXPECT_TRUE(CalibrationMarks(s, 2, 0).cards.empty());
    const CalibrationSheet one = CalibrationMarks(s, 1, 1);
    ASSERT_EQ(one.crosses.size(), 2u);
    EXPECT_EQ(one.crosses[1].corner, (DevicePoint{1050, 660}));
}

}  // namespace
