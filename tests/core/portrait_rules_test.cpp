#include "tools/portrait_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <vector>

#include "design/fixed_text.h"

namespace {

PortraitPart Slot(std::u16string_view file) {
    PortraitPart part;
    part.used = kPartSingle;
    SetText(part.file, file);
    return part;
}

TEST(PortraitRules, ChosenPartsArePlacedByCategory) {
    EXPECT_EQ(CategoryDigit(kFrontHair), u'b');
    EXPECT_EQ(CategoryDigit(kEyebrows), u'4');
    const PartPlacement eyes = PlaceChosenPart(kEyes, 14, 12);
    EXPECT_EQ(eyes.x, 21);
    EXPECT_EQ(eyes.y, 39);
    EXPECT_EQ(eyes.used, kPartPair);
    EXPECT_EQ(PlaceChosenPart(kEyebrows, 16, 6).y, 32);
    EXPECT_EQ(PlaceChosenPart(kNose, 10, 12).x, 35);
    EXPECT_EQ(PlaceChosenPart(kNose, 10, 12).used, kPartSingle);
    EXPECT_EQ(PlaceChosenPart(kMouth, 20, 9).y, 67);    // (100 - 9) / 2 + 22
    EXPECT_EQ(PlaceChosenPart(kEars, 9, 16).x, 5);
    EXPECT_EQ(PlaceChosenPart(kEars, 9, 16).used, kPartPair);
    EXPECT_EQ(PlaceChosenPart(kBeard, 40, 30).y, 65);
    EXPECT_EQ(PlaceChosenPart(kGlasses, 60, 20).y, 35);
    EXPECT_EQ(PlaceChosenPart(kFaceOutline, 80, 100).x, 0);
    // Divisions truncate toward zero for parts wider than the background.
    EXPECT_EQ(PlaceChosenPart(kNose, 83, 12).x, -1);
}

TEST(PortraitRules, OtherPartsArePairsByTheirNames) {
    EXPECT_EQ(OtherShapeOf(u"kao\\kao-2-001.bmp"), OtherShape::kEyePair);
    EXPECT_EQ(OtherShapeOf(u"kao\\kao-2-011.bmp"), OtherShape::kLowPair);
    EXPECT_EQ(OtherShapeOf(u"kao\\kao-2-101.bmp"), OtherShape::kSingle);
    EXPECT_EQ(OtherShapeOf(u"kao\\kao-2-0"), OtherShape::kLowPair);
    EXPECT_EQ(OtherShapeOf(u"kao\\kao-2-"), OtherShape::kSingle);
    const PartPlacement eye_pair = PlaceOtherPart(OtherShape::kEyePair, 10, 10);
    EXPECT_EQ((std::vector{eye_pair.x, eye_pair.y, eye_pair.used}), (std::vector{23, 40, kPartPair}));
    const PartPlacement low_pair = PlaceOtherPart(OtherShape::kLowPair, 10, 10);
    EXPECT_EQ((std::vector{low_pair.x, low_pair.y, low_pair.used}), (std::vector{23, 55, kPartPair}));
    const PartPlacement single = PlaceOtherPart(OtherShape::kSingle, 10, 10);
    EXPECT_EQ((std::vector{single.x, single.y, single.used}), (std::vector{35, 60, kPartSingle}));
    EXPECT_EQ(BackHairName(u"kao\\kao-b-003.bmp"), u"kao\\kao-0-003.bmp");
    EXPECT_EQ(BackHairName(u"kao\\kao-c-003.bmp"), u"");
}

TEST(PortraitRules, OtherSlotsTakeEachFileOnceAndAtMostTen) {
    PortraitPart others[kOtherSlots];
    others[0] = Slot(u"kao\\kao-2-001.bmp");
    others[2] = Slot(u"kao\\kao-2-101.bmp");
    EXPECT_EQ(FreeOtherSlot(others, u"kao\\kao-2-011.bmp"), 1);
    EXPECT_EQ(FreeOtherSlot(others, u"kao\\kao-2-101.bmp"), -1);  // already placed
    for (PortraitPart& slot : others)
        if (slot.used == kPartUnused) slot = Slot(u"kao\\kao-2-102.bmp");
    EXPECT_EQ(FreeOtherSlot(others, u"kao\\kao-2-999.bmp"), -1);  // the eleventh
}

TEST(PortraitRules, SlotNavigationStaysOnSlotsInUse) {
    PortraitPart others[kOtherSlots];
    EXPECT_EQ(NextOtherSlot(0, others), 0);
    EXPECT_EQ(PreviousOtherSlot(0, others), 0);
    others[0] = others[1] = others[2] = Slot(u"kao\\kao-2-001.bmp");
    EXPECT_EQ(NextOtherSlot(0, others), 1);
    EXPECT_EQ(NextOtherSlot(2, others), 0);  // slot 3 is free
    EXPECT_EQ(PreviousOtherSlot(2, others), 1);
    EXPECT_EQ(PreviousOtherSlot(0, others), 2);  // round to the highest in use
    others[9] = Slot(u"kao\\kao-2-101.bmp");
    EXPECT_EQ(NextOtherSlot(9, others), 0);
    EXPECT_EQ(PreviousOtherSlot(0, others), 9);
}

TEST(PortraitRules, PagesWrapAtBothEnds) {
    EXPECT_EQ(PreviousPage(0, 10), 5);
    EXPECT_EQ(NextPage(5, 10), 0);
    EXPECT_EQ(NextPage(0, 10), 5);
    EXPECT_EQ(PreviousPage(0, 11), 10);
    EXPECT_EQ(PreviousPage(0, 0), 0);
    EXPECT_EQ(NextPage(0, 0), 0);
    EXPECT_EQ(NextPage(0, 5), 0);
}

TEST(PortraitRules, ThumbnailHitsInsideTheBoxesOnly) {
    EXPECT_EQ(ThumbnailAt(181, 56, 0, 5), 0);
    EXPECT_EQ(ThumbnailAt(180, 100, 0, 5), -1);  // on the left edge
    EXPECT_EQ(ThumbnailAt(259, 154, 0, 5), 0);
    EXPECT_EQ(ThumbnailAt(259, 155, 0, 5), -1);
    EXPECT_EQ(ThumbnailAt(261, 100, 0, 5), -1);  // between boxes
    EXPECT_EQ(ThumbnailAt(ThumbnailLeft(4) + 1, 100, 5, 10), 9);
    EXPECT_EQ(ThumbnailAt(ThumbnailLeft(3) + 1, 100, 5, 7), -1);  // an empty box
}

TEST(PortraitRules, ThumbnailsOfPairsSitSymmetricInTheirBox) {
    const ThumbnailPlacement eyes = PlaceThumbnail(kEyes, u"kao\\kao-3-001.bmp", 14, 12, 180);
    EXPECT_EQ(eyes.x, 193);
    EXPECT_EQ(eyes.mirror_right, 247);
    EXPECT_EQ(eyes.mirror_right - 180, 80 - (eyes.x - 180));
    EXPECT_TRUE(eyes.pair && eyes.halftone);
    EXPECT_EQ(PlaceThumbnail(kOtherParts, u"kao\\kao-2-011.bmp", 10, 10, 180).y, 110);
    EXPECT_FALSE(PlaceThumbnail(kOtherParts, u"kao\\kao-2-101.bmp", 10, 10, 180).pair);
    const ThumbnailPlacement ears = PlaceThumbnail(kEars, u"kao\\kao-7-001.bmp", 9, 16, 262);
    EXPECT_EQ((std::vector{ears.x, ears.y, ears.mirror_right}), (std::vector{267, 87, 336}));
    EXPECT_EQ(PlaceThumbnail(kMouth, u"kao\\kao-6-001.bmp", 20, 10, 180).y, 120);
}

TEST(PortraitRules, PartEditsStopAtTheirLimitsEachOnItsOwn) {
    const PortraitBackground background;
    PortraitPart part;
    part.w = 120;
    part.h = 20;
    part.x = -39;
    ApplyPartEdit(part, PartEdit::kWider, background);
    EXPECT_EQ(part.w, 120);  // no wider
    EXPECT_EQ(part.x, -40);  // but still moves left, down to -left
    ApplyPartEdit(part, PartEdit::kLarger, background);
    EXPECT_EQ((std::vector{part.w, part.x, part.h, part.y}), (std::vector{120, -40, 22, -1}));
    // Odd sizes one short of the limits never step past them.
    part.w = 119;
    part.h = 149;
    for (int i = 0; i < 3; ++i) ApplyPartEdit(part, PartEdit::kLarger, background);
    EXPECT_EQ(part.w, 119);
    EXPECT_EQ(part.h, 149);
    part.w = 4;
    part.h = 4;
    for (int i = 0; i < 13; ++i) ApplyPartEdit(part, PartEdit::kSmaller, background);
    EXPECT_EQ(part.w, 0);
    EXPECT_EQ(part.h, 0);
    part.y = 99;
    ApplyPartEdit(part, PartEdit::kDown, background);
    ApplyPartEdit(part, PartEdit::kDown, background);
    EXPECT_EQ(part.y, 100);
    for (int i = 0; i < 12; ++i) ApplyPartEdit(part, PartEdit::kTurnRight, background);
    EXPECT_EQ(part.angle, 50);
    ApplyPartEdit(part, PartEdit::kNoTurn, background);
    for (int i = 0; i < 12; ++i) ApplyPartEdit(part, PartEdit::kTurnLeft, background);
    EXPECT_EQ(part.angle, -50);
}

TEST(PortraitRules, BackgroundGrowsToTheEdgeAndKeepsTwoPixels) {
    PortraitBackground background;
    for (int i = 0; i < 100; ++i) ApplyBackgroundEdit(background, BackgroundEdit::kWider);
    EXPECT_EQ((std::vector{background.left, background.width}), (std::vector{0, 160}));
    for (int i = 0; i < 100; ++i) ApplyBackgroundEdit(background, BackgroundEdit::kShorter);
    EXPECT_EQ((std::vector{background.top, background.height}), (std::vector{94, 2}));
    for (int i = 0; i < 100; ++i) ApplyBackgroundEdit(background, BackgroundEdit::kNarrower);
    EXPECT_EQ((std::vector{background.left, background.width}), (std::vector{79, 2}));
}

TEST(PortraitRules, CornersLieExactlyOnTheRectangleWithoutTurn) {
    using C = CornerPoint;
    EXPECT_EQ(ParallelogramCorners(40, 45, 80, 100, 0, false), (std::array{C{40, 45}, C{120, 45}, C{40, 145}}));
    EXPECT_EQ(ParallelogramCorners(3, 7, 15, 9, 0, true), (std::array{C{3, 7}, C{18, 7}, C{3, 16}}));
    // A quarter turn clockwise: the upper-left corner goes to the top right.
    const double quarter = std::numbers::pi / 2;
    EXPECT_EQ(ParallelogramCorners(0, 0, 80, 100, quarter, false), (std::array{C{90, 10}, C{90, 90}, C{-10, 10}}));
    // The mirrored partner turns the other way.
    EXPECT_EQ(ParallelogramCorners(0, 0, 80, 100, quarter, true), (std::array{C{-10, 90}, C{-10, 10}, C{90, 90}}));
    // A turn keeps the sides' lengths.
    const auto turned = ParallelogramCorners(10, 10, 40, 20, 50 / 180.0, false);
    EXPECT_NEAR(std::hypot(turned[1].x - turned[0].x, turned[1].y - turned[0].y), 40, 1.5);
    EXPECT_NEAR(std::hypot(turned[2].x - turned[0].x, turned[2].y - turned[0].y), 20, 1.5);
    EXPECT_GT(turned[1].y, turned[0].y);  // clockwise on the screen
}

// A 3 x 2 picture in rows of 12 bytes (3 bytes of padding filled with 0xAB).
struct SmallPicture {
    std::uint8_t bytes[24];
    PixelRows Rows() { return {bytes, 3, 2, 12}; }
    SmallPicture() {
        const std::uint8_t pixels[2][9] = {{0, 0, 0, 255, 255, 255, 10, 20, 30},
                                           {200, 200, 200, 255, 255, 254, 0, 0, 0}};
        for (int y = 0; y < 2; ++y) {
            for (int i = 0; i < 9; ++i) bytes[y * 12 + i] = pixels[y][i];
            for (int i = 9; i < 12; ++i) bytes[y * 12 + i] = 0xAB;
        }
    }
};

TEST(PortraitRules, WhiteMaskLeavesOnlyPureWhiteOut) {
    SmallPicture picture;
    std::uint8_t mask[24];
    std::fill(std::begin(mask), std::end(mask), 0x77);
    WhiteMask(picture.Rows(), {mask, 3, 2, 12});
    EXPECT_EQ((std::vector<int>(mask, mask + 12)), (std::vector<int>{255, 255, 255, 0, 0, 0, 255, 255, 255, 0x77, 0x77, 0x77}));
    EXPECT_EQ((std::vector<int>(mask + 12, mask + 21)), (std::vector<int>(9, 255)));  // near-white is drawn
    // Without a turn the picture lands pixel for pixel, only where the mask lets it.
    std::uint8_t target[3 * 12] = {};
    std::fill(std::begin(target), std::end(target), 9);
    DrawParallelogram({target, 4, 3, 12}, picture.Rows(), {mask, 3, 2, 12}, ParallelogramCorners(1, 1, 3, 2, 0, false));
    EXPECT_EQ((std::vector<int>(target + 12, target + 24)), (std::vector<int>{9, 9, 9, 0, 0, 0, 9, 9, 9, 10, 20, 30}));
    EXPECT_EQ((std::vector<int>(target + 24, target + 36)),
              (std::vector<int>{9, 9, 9, 200, 200, 200, 255, 255, 254, 0, 0, 0}));
    EXPECT_EQ((std::vector<int>(target, target + 12)), (std::vector<int>(12, 9)));
}

// A 4 x 2 picture whose pixel (x, y) has blue x and green y; red 1 everywhere.
struct NumberedPicture {
    std::uint8_t bytes[2 * 12];
    std::uint8_t drawn[2 * 12];
    NumberedPicture() {
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) {
                std::uint8_t* p = bytes + y * 12 + 3 * x;
                p[0] = static_cast<std::uint8_t>(x);
                p[1] = static_cast<std::uint8_t>(y);
                p[2] = 1;
            }
        std::fill(std::begin(drawn), std::end(drawn), 255);
    }
};

TEST(PortraitRules, AQuarterTurnPutsTheLeftColumnOnTopClockwise) {
    NumberedPicture picture;
    std::uint8_t target[8 * 24] = {};
    const PixelRows rows{target, 8, 8, 24};
    DrawParallelogram(rows, {picture.bytes, 4, 2, 12}, {picture.drawn, 4, 2, 12},
                      ParallelogramCorners(2, 2, 4, 2, std::numbers::pi / 2, false));
    auto at = [&](int x, int y) {
        const std::uint8_t* p = target + y * 24 + 3 * x;
        return p[2] == 1 ? std::vector<int>{p[0], p[1]} : std::vector<int>{};
    };
    // Turned about its centre (4, 3) into 2 x 4: columns 3 and 4, rows 1 to 4.
    EXPECT_EQ(at(4, 1), (std::vector{0, 0}));  // the top-left pixel at the top right
    EXPECT_EQ(at(3, 1), (std::vector{0, 1}));
    EXPECT_EQ(at(4, 4), (std::vector{3, 0}));
    EXPECT_EQ(at(3, 4), (std::vector{3, 1}));
    int covered = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) covered += !at(x, y).empty();
    EXPECT_EQ(covered, 8);
    // Flat or empty pictures draw nothing; a parallelogram off the target is cut off.
    std::uint8_t before[sizeof target];
    std::copy(std::begin(target), std::end(target), before);
    DrawParallelogram(rows, {picture.bytes, 4, 2, 12}, {picture.drawn, 4, 2, 12}, {{{0, 0}, {4, 0}, {8, 0}}});
    DrawParallelogram(rows, {picture.bytes, 4, 2, 12}, {picture.drawn, 4, 2, 12},
                      ParallelogramCorners(-50, 20, 4, 2, 0.2, false));
    EXPECT_TRUE(std::equal(std::begin(target), std::end(target), before));
}

TEST(PortraitRules, RecolourTakesTheFillOfFacesAndTheInkOfOtherParts) {
    SmallPicture face;
    RecolourPart(face.Rows(), true, 200, 150, 120);
    const std::uint8_t* b = face.bytes;
    EXPECT_EQ((std::vector<int>(b, b + 12)), (std::vector<int>{0, 0, 0, 255, 255, 255, 120, 150, 200, 0xAB, 0xAB, 0xAB}));
    EXPECT_EQ((std::vector<int>(b + 12, b + 21)), (std::vector<int>{120, 150, 200, 120, 150, 200, 0, 0, 0}));
    SmallPicture hair;
    RecolourPart(hair.Rows(), false, 90, 60, 30);
    const std::uint8_t* h = hair.bytes;
    EXPECT_EQ((std::vector<int>(h, h + 9)), (std::vector<int>{30, 60, 90, 255, 255, 255, 10, 20, 30}));
    EXPECT_EQ((std::vector<int>(h + 18, h + 24)), (std::vector<int>{30, 60, 90, 0xAB, 0xAB, 0xAB}));
}

TEST(PortraitRules, MirrorTurnsPixelsButNotThePadding) {
    SmallPicture picture;
    MirrorRows(picture.Rows());
    const std::uint8_t* b = picture.bytes;
    EXPECT_EQ((std::vector<int>(b, b + 12)), (std::vector<int>{10, 20, 30, 255, 255, 255, 0, 0, 0, 0xAB, 0xAB, 0xAB}));
    int red = -1, green = -1, blue = -1;
    ASSERT_TRUE(FirstColouredPixel(picture.Rows(), red, green, blue));
    EXPECT_EQ((std::vector{red, green, blue}), (std::vector{30, 20, 10}));
    std::uint8_t ink[12] = {0, 0, 0, 255, 255, 255};
    EXPECT_FALSE(FirstColouredPixel({ink, 2, 1, 12}, red, green, blue));
}

}  // namespace
