#include "tools/photo_view.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(PhotoView, FitTakesTheTighterSideInWholeHundredths) {
    EXPECT_EQ(FitScale(1440, 920), 50);   // fills the view exactly
    EXPECT_EQ(FitScale(3000, 1000), 24);
    EXPECT_EQ(FitScale(800, 600), 76);    // 0.7666... rounded down
    EXPECT_EQ(FitScale(160, 200), 230);   // 2.30 exactly, not 2.29
    EXPECT_EQ(FitScale(20, 10), kMaxScale);
    EXPECT_EQ(FitScale(8000, 8000), kMinScale);  // 0.05 would be below the smallest scale
    EXPECT_EQ(FitScale(0, 0), kStartScale);
}

TEST(PhotoView, FittedPhotoCoversWholeRowsAndColumnsOfTheView) {
    const ViewLayout tall = LayoutView(160, 200, FitScale(160, 200), 0, 0);
    EXPECT_EQ(tall.destination, (PixelRect{0, 0, 368, 460}));
    EXPECT_EQ(tall.source, (PixelRect{0, 0, 160, 200}));
    const ViewLayout exact = LayoutView(1440, 920, 50, 0, 0);
    EXPECT_EQ(exact.destination, (PixelRect{0, 0, kViewWidth, kViewHeight}));
    EXPECT_EQ(exact.source, (PixelRect{0, 0, 1440, 920}));
}

TEST(PhotoView, LayoutCutsTheScaledPhotoToTheViewAndKeepsTheSourceInside) {
    // 1000 x 800 at scale 1: 720 x 460 of it shown; an offset past the edge is pulled back.
    const ViewLayout layout = LayoutView(1000, 800, 100, 500, 30);
    EXPECT_EQ(layout.destination, (PixelRect{0, 0, 720, 460}));
    EXPECT_EQ(layout.source, (PixelRect{280, 30, 720, 460}));
    // At scale 2 a 300 x 300 photo shows 300 x 230 of itself over 600 x 460.
    const ViewLayout zoomed = LayoutView(300, 300, 200, 0, 100);
    EXPECT_EQ(zoomed.destination, (PixelRect{0, 0, 600, 460}));
    EXPECT_EQ(zoomed.source, (PixelRect{0, 70, 300, 230}));
    EXPECT_TRUE(LayoutView(0, 0, 100, 0, 0).destination.Empty());
    // Huge photos at the largest scale never overflow.
    EXPECT_EQ(LayoutView(8000, 8000, kMaxScale, 0, 0).destination, (PixelRect{0, 0, 720, 460}));
    EXPECT_EQ(LayoutView(1, 1, kMaxScale, 0, 0).destination, (PixelRect{0, 0, 10, 10}));
}

TEST(PhotoView, MoveDragShiftsOnePhotoPixelPerScreenPixelWithinThePhoto) {
    EXPECT_EQ(PannedOffset(100, 30, 2000, kViewWidth, 100), 70);   // drag right shows the left
    EXPECT_EQ(PannedOffset(100, -5000, 2000, kViewWidth, 100), 2000 - 720);
    EXPECT_EQ(PannedOffset(10, 50, 2000, kViewWidth, 100), 0);
    EXPECT_EQ(PannedOffset(10, -40, 2000, kViewWidth, 200), 50);  // same pixels at scale 2
    EXPECT_EQ(PannedOffset(10, -40, 700, kViewWidth, 100), 0);    // narrower than the view
    EXPECT_EQ(PannedOffset(0, -50, 360, kViewWidth, 200), 0);     // exactly the view: no room
}

TEST(PhotoView, ZoomDragStepsByTensOfThePixelsOfTheLargerMove) {
    EXPECT_EQ(ZoomedScale(100, 25, 0), 110);
    EXPECT_EQ(ZoomedScale(100, 9, 0), 100);
    EXPECT_EQ(ZoomedScale(100, -40, -30), 80);  // the horizontal move is larger
    EXPECT_EQ(ZoomedScale(100, 10, -30), 85);   // the vertical one is
    EXPECT_EQ(ZoomedScale(100, 10000, 0), kMaxScale);
    EXPECT_EQ(ZoomedScale(100, -10000, 0), kMinScale);
    EXPECT_EQ(ZoomedScale(100, 0, 0), 100);
}

ViewCut Cut(int x, int y, int width, int height) { return {CutStatus::Ok, {x, y, width, height}}; }

TEST(PhotoView, AFixedCutKeepsItsSizeAndMovesInsideTheView) {
    EXPECT_EQ(FixedCut(10, 20, 80, 120), Cut(10, 20, 80, 120));
    EXPECT_EQ(FixedCut(700, 450, 80, 120), Cut(kViewWidth - 80, kViewHeight - 120, 80, 120));
    EXPECT_EQ(FixedCut(-30, -30, 80, 120), Cut(0, 0, 80, 120));  // press left of the view
    EXPECT_EQ(FixedCut(kViewWidth, 20, 80, 120), Cut(kViewWidth - 80, 20, 80, 120));
    EXPECT_EQ(FixedCut(300, 300, kViewWidth, kViewHeight), Cut(0, 0, kViewWidth, kViewHeight));
    for (const auto& [w, h] : {std::pair{0, 120}, {-50, 120}, {80, 0}})
        EXPECT_EQ(FixedCut(10, 20, w, h), ViewCut{}) << w << " x " << h;
    for (const auto& [w, h] : {std::pair{kViewWidth + 1, 10}, {10, kViewHeight + 1}, {99999, 99999}})
        EXPECT_EQ(FixedCut(0, 0, w, h), (ViewCut{CutStatus::LargerThanView, {}})) << w << " x " << h;
}

TEST(PhotoView, DraggedCutSpansBothPointsInsideTheView) {
    EXPECT_EQ(DraggedCut(50, 60, 10, 100), Cut(10, 60, 40, 40));
    EXPECT_EQ(DraggedCut(700, 10, 900, -50), Cut(700, 0, 20, 10));
    EXPECT_EQ(DraggedCut(50, 60, 50, 60), ViewCut{});
    EXPECT_EQ(DraggedCut(50, 60, 90, 60), ViewCut{});
}

}  // namespace
