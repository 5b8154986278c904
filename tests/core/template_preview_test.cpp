#include "editors/template_preview.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr DeviceRect kArea{5, 5, 270, 230};
constexpr int kLabel = 14;
constexpr int kGap = 6;

struct Box {
    int left, top, right, bottom;
};

// A side's label line and card together.
Box SideBox(const PreviewSide& side, int w, int h) {
    return {side.label.x, side.label.y, side.card.x + static_cast<int>(w * side.scale),
            side.card.y + static_cast<int>(h * side.scale)};
}

bool Inside(const Box& b, const DeviceRect& area) {
    return b.left >= area.x && b.top >= area.y && b.right <= area.x + area.w && b.bottom <= area.y + area.h;
}

bool Apart(const Box& a, const Box& b) {
    return a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
}

}  // namespace

TEST(TemplatePreview, LandscapeSidesStackAndMixedOnesStandSideBySide) {
    // Two lying cards: one above the other, the back's label a gap below the front.
    const TwoSidePreview lying = PlaceTwoSides(455, 275, 455, 275, kArea, kLabel, kGap);
    EXPECT_NEAR(lying.front.scale, (230.0 - 2 * kLabel - kGap) / 550, 1e-9);
    EXPECT_EQ(lying.front.label, (DevicePoint{5, 5}));
    EXPECT_EQ(lying.front.card, (DevicePoint{5, 5 + kLabel}));
    EXPECT_EQ(lying.back.label.x, 5);
    EXPECT_EQ(lying.back.label.y, 5 + kLabel + static_cast<int>(275 * lying.front.scale) + kGap);
    EXPECT_EQ(lying.back.card.y, lying.back.label.y + kLabel);

    // A standing front with a lying back: beside it, both at the one scale.
    const TwoSidePreview mixed = PlaceTwoSides(275, 455, 455, 275, kArea, kLabel, kGap);
    EXPECT_NEAR(mixed.front.scale, (270.0 - kGap) / 730, 1e-9);
    EXPECT_EQ(mixed.back.scale, mixed.front.scale);
    EXPECT_EQ(mixed.back.label, (DevicePoint{5 + static_cast<int>(275 * mixed.front.scale) + kGap, 5}));
    EXPECT_EQ(mixed.back.card.y, 5 + kLabel);

    // Whatever the sizes, each side keeps to the area and clear of the other.
    const int sizes[][4] = {{455, 275, 455, 275}, {275, 455, 455, 275}, {455, 275, 275, 455},
                            {275, 455, 275, 455}, {1000, 100, 100, 1000}, {300, 300, 300, 300}};
    for (const auto& s : sizes) {
        const TwoSidePreview p = PlaceTwoSides(s[0], s[1], s[2], s[3], kArea, kLabel, kGap);
        const Box front = SideBox(p.front, s[0], s[1]), back = SideBox(p.back, s[2], s[3]);
        EXPECT_TRUE(Inside(front, kArea) && Inside(back, kArea)) << s[0] << "x" << s[1] << " " << s[2] << "x" << s[3];
        EXPECT_TRUE(Apart(front, back)) << s[0] << "x" << s[1] << " " << s[2] << "x" << s[3];
    }
}

TEST(TemplatePreview, ScaleStaysBetweenAHundredthAndHalfSize) {
    // Room to spare: no larger than a one-sided template's half size.
    EXPECT_EQ(PlaceTwoSides(100, 60, 100, 60, {0, 0, 2000, 2000}, kLabel, kGap).front.scale, 0.5);
    // No room, or cards of no size: a small positive scale, never a division by zero.
    EXPECT_EQ(PlaceTwoSides(455, 275, 455, 275, {0, 0, 0, 0}, kLabel, kGap).front.scale, 0.01);
    EXPECT_EQ(PlaceTwoSides(0, -5, 0, 0, kArea, kLabel, kGap).front.scale, 0.5);
}
