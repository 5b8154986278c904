#include "render/card_mapping.h"

#include <gtest/gtest.h>

#include <memory>

#include "print/print_math.h"

namespace {

std::unique_ptr<CardDesign> Card(int w, int h) {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    d->base_w = w;
    d->base_h = h;
    return d;
}

}  // namespace

TEST(CardMapping, PreviewPutsTheCardAt10And50OnePixelPerPixel) {
    const CardMapping m = PreviewMapping(*Card(455, 275));
    EXPECT_EQ(MapPoint(m, 0, 0), (DevicePoint{10, 50}));
    EXPECT_EQ(MapPoint(m, -3, 7), (DevicePoint{7, 57}));
    EXPECT_EQ(MapRect(m, 20, 30, 40, 50), (DeviceRect{30, 80, 40, 50}));
    EXPECT_EQ(MapCard(m), (DeviceRect{10, 50, 455, 275}));
    EXPECT_EQ(MapFontHeight(m, -13), -13);
    EXPECT_EQ(MapFontWidth(m, 6), 6);
    // Modules of 1..20 pixels, as the screen draws them.
    EXPECT_EQ(MapModuleSize(m, 0), 1);
    EXPECT_EQ(MapModuleSize(m, 3), 3);
    EXPECT_EQ(MapModuleSize(m, 25), 20);
}

TEST(CardMapping, HalfScaleHalvesWithIntegerDivisionTowardZero) {
    const CardMapping m = HalfScaleMapping(*Card(455, 275));
    EXPECT_EQ(MapPoint(m, 0, 0), (DevicePoint{5, 5}));
    EXPECT_EQ(MapPoint(m, 101, 51), (DevicePoint{55, 30}));
    // -3 / 2 is -1 in integer division: the point lands at 4, not at trunc(3.5) = 3.
    EXPECT_EQ(MapPoint(m, -3, -3), (DevicePoint{4, 4}));
    EXPECT_EQ(MapRect(m, 0, 0, 41, 21), (DeviceRect{5, 5, 20, 10}));
    EXPECT_EQ(MapCard(m), (DeviceRect{5, 5, 227, 137}));
    EXPECT_EQ(MapFontHeight(m, -13), -6);
    EXPECT_EQ(MapFontWidth(m, 7), 3);
}

// The base picture's crop keeps the card's own proportions, not those of the halved
// whole-pixel card: 1000 x 1000 centred on 455 x 275 is 1000 x 604 at (0, 198).
TEST(CardMapping, HalfScaleBaseCropUsesTheWholeCard) {
    const CardMapping m = HalfScaleMapping(*Card(455, 275));
    EXPECT_EQ(BaseCrop(1000, 1000, m.card_w, m.card_h, 1), (SourceRect{0, 198, 1000, 604}));
    EXPECT_EQ(BaseCrop(1000, 1000, m.card_w, m.card_h, 1), PlacementSourceRect(455, 275, 1000, 1000, 1));
    EXPECT_EQ(MapCard(HalfScaleMapping(*Card(275, 455))), (DeviceRect{5, 5, 137, 227}));
}

TEST(CardMapping, PrintedCardsMapAsTheSheetArithmeticSays) {
    auto d = Card(455, 275);
    d->base_pw = 910, d->base_ph = 550;
    d->base_px = 8, d->base_py = 10, d->base_spx = 6, d->base_spy = 12;
    const PrintScale s = ComputePrintScale(*d, {600, 600, 0, 0});
    const CardOrigin o = CardOriginAt(s, 1, 2);
    const CardMapping m = PrintMapping(s, o);
    EXPECT_EQ(MapCard(m), PrintedCardRect(s, o));
    EXPECT_EQ(MapPoint(m, 100, 50), MapCardPoint(s, o, 100, 50));
    EXPECT_EQ(MapFontHeight(m, -13), PrintedFontHeight(-13, s));
    EXPECT_EQ(MapFontWidth(m, 5), 5);  // only the height scales on paper
    // No cap on paper: 6 card pixels at 600 dpi are 28 device pixels.
    EXPECT_EQ(MapModuleSize(m, 6), PrintedModuleSize(6, s));
    EXPECT_EQ(MapModuleSize(m, 6), 28);
    EXPECT_EQ(MapModuleSize(m, 0), 1);
}
