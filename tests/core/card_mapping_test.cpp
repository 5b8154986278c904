#include "render/card_mapping.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

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

// Every card pixel maps to a span of screen pixels and back from each of them, at each
// zoom and card size; a negative point (a drag past the card's corner) too.
TEST(CardMapping, ClientPointsAndCardPixelsRoundTripAtEveryZoom) {
    for (const double scale : {1.0, 1.5, 2.0, 1.37, 0.6}) {
        for (const auto [w, h] : {std::pair{455, 275}, std::pair{275, 455}, std::pair{1, 1}}) {
            const CardMapping m = ZoomedPreviewMapping(*Card(w, h), {15, 75, scale});
            for (int c = -5; c <= w + 5; ++c) {
                const DevicePoint at = MapPoint(m, c, c);
                const DevicePoint back = CardPointAt(m, at.x, at.y);
                if (scale >= 1) EXPECT_EQ(back, (DevicePoint{c, c})) << scale << " " << c;
                // Below 1:1 several pixels share a screen pixel; the first of them is given.
                EXPECT_EQ(MapPoint(m, back.x, back.y), at) << scale << " " << c;
            }
            for (int p = 0; p < 15 + w * 2 + 20; ++p) {
                const int c = CardPointAt(m, p, p).x;
                EXPECT_LE(MapPoint(m, c, 0).x, p);
                EXPECT_GT(MapPoint(m, c + 1, 0).x, p);
            }
        }
    }
    const CardMapping m = ZoomedPreviewMapping(*Card(455, 275), {15, 75, 1.5});
    EXPECT_EQ(MapCard(m), (DeviceRect{15, 75, 682, 412}));
    EXPECT_EQ(MapFontHeight(m, -13), -19);
    EXPECT_EQ(MapFontWidth(m, 6), 9);
    EXPECT_EQ(MapModuleSize(m, 25), 30);
}

TEST(CardMapping, ZoomStepsDefaultsAndFit) {
    EXPECT_EQ(DefaultZoom(96), 100);
    EXPECT_EQ(DefaultZoom(72), 100);
    EXPECT_EQ(DefaultZoom(120), 150);  // 125 %: the tie goes to the larger step
    EXPECT_EQ(DefaultZoom(144), 150);
    EXPECT_EQ(DefaultZoom(192), 200);
    EXPECT_EQ(DefaultZoom(480), 200);
    EXPECT_EQ(KnownZoom(150, 96), 150);
    EXPECT_EQ(KnownZoom(kZoomFit, 96), kZoomFit);
    for (int unknown : {kZoomUnset, 125, 99999, -2147483647 - 1}) EXPECT_EQ(KnownZoom(unknown, 144), 150);
    EXPECT_EQ(NextZoom(1.0, 1), 150);
    EXPECT_EQ(NextZoom(2.0, 1), 200);
    EXPECT_EQ(NextZoom(1.0, -1), 100);
    EXPECT_EQ(NextZoom(1.7, -1), 150);
    EXPECT_EQ(NextZoom(0.4, 1), 100);

    // 96 dpi at 100 %: the card where it always was.
    CardView v = MainCardView(455, 275, 100, 96, 584, 40, 520);
    EXPECT_EQ(v.left, 10);
    EXPECT_EQ(v.top, 50);
    EXPECT_EQ(v.scale, 1.0);
    // 144 dpi: the corner scaled, and below a tall toolbar.
    v = MainCardView(455, 275, kZoomUnset, 144, 900, 40, 800);
    EXPECT_EQ(v.left, 15);
    EXPECT_EQ(v.top, 75);
    EXPECT_EQ(v.scale, 1.5);
    EXPECT_EQ(MainCardView(455, 275, 100, 144, 900, 80, 800).top, 86);
    // Fit: the narrower room decides; a window at its smallest still gives a scale.
    v = MainCardView(455, 275, kZoomFit, 96, 930, 40, 610);
    EXPECT_DOUBLE_EQ(v.scale, 2.0);
    EXPECT_DOUBLE_EQ(MainCardView(455, 275, kZoomFit, 96, 0, 40, 0).scale, kSmallestZoomScale);
    EXPECT_DOUBLE_EQ(MainCardView(0, 0, kZoomFit, 96, 600, 40, 600).scale, 1.0);
}
