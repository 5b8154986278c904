#include "render/canvas_math.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <utility>

#include "design/design_ranges.h"

namespace {

std::unique_ptr<CardDesign> Card() {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);  // 455 x 275, everything off
    return d;
}

void Vertical(LogFont& font) { font.lfEscapement = font.lfOrientation = -900; }

TEST(CanvasHitTest, EdgesAreOutsideAndTheBottomRightThirdResizes) {
    auto d = Card();
    d->mark_data[0] = {1, 100, 50, 30, 60, 0, {}};  // client 110..140 x 100..160
    TextSizes sizes{};
    EXPECT_EQ(HitTest(*d, sizes, 110, 120), kPickNone);  // on the left edge
    EXPECT_EQ(HitTest(*d, sizes, 140, 120), kPickNone);  // on the right edge
    EXPECT_EQ(HitTest(*d, sizes, 120, 100), kPickNone);
    EXPECT_EQ(HitTest(*d, sizes, 111, 101), kPickMark);
    // The resize zone starts past x + w - w / 3 = 120 and y + h - h / 3 = 90 (client 130, 140).
    EXPECT_EQ(HitTest(*d, sizes, 130, 159), kPickMark);
    EXPECT_EQ(HitTest(*d, sizes, 131, 141), kPickMarkResize);
    EXPECT_EQ(HitTest(*d, sizes, 139, 140), kPickMark);
    // An item that is off is never hit.
    d->mark_data[0].on = 0;
    EXPECT_EQ(HitTest(*d, sizes, 111, 101), kPickNone);
}

TEST(CanvasHitTest, KindsAreTriedInOrderAndTheLowestIndexWins) {
    auto d = Card();
    d->phot_data = {1, 0, 0, 200, 200, {}};
    d->qrcode_data[1].on = 1;
    d->qrcode_data[1].x = 0, d->qrcode_data[1].y = 0, d->qrcode_data[1].w = 150, d->qrcode_data[1].h = 150;
    d->str_data[4].on = 1;
    d->str_data[4].x = 0, d->str_data[4].y = 0;
    TextSizes sizes{};
    sizes[4] = {100, 100};
    d->mark_data[3] = {1, 0, 0, 50, 50, 0, {}};
    d->mark_data[2] = {1, 0, 0, 50, 50, 0, {}};
    EXPECT_EQ(HitTest(*d, sizes, 15, 55), kPickMark + 2);
    EXPECT_EQ(HitTest(*d, sizes, 80, 120), kPickText + 4);
    EXPECT_EQ(HitTest(*d, sizes, 130, 170), kPickQr + 1);
    EXPECT_EQ(HitTest(*d, sizes, 100, 230), kPickFace);
    EXPECT_EQ(HitTest(*d, sizes, 200, 240), kPickFaceResize);
}

TEST(CanvasHitTest, VerticalTextLiesLeftOfItsX) {
    auto d = Card();
    StrData& t = d->str_data[0];
    t.on = 1, t.x = 100, t.y = 20;
    Vertical(d->lf[0]);
    TextSizes sizes{};
    sizes[0] = {80, 16};  // 80 along the text, 16 across
    // Client box: x from 110 - 16 to 110, y from 70 to 150.
    EXPECT_EQ(HitTest(*d, sizes, 100, 100), kPickText);
    EXPECT_EQ(HitTest(*d, sizes, 112, 100), kPickNone);
    EXPECT_EQ(HitTest(*d, sizes, 100, 149), kPickText);
    EXPECT_EQ(HitTest(*d, sizes, 100, 151), kPickNone);
    // An empty text has no width and cannot be hit.
    sizes[0] = {0, 16};
    EXPECT_EQ(HitTest(*d, sizes, 100, 71), kPickNone);
}

TEST(CanvasHitTest, ItemsFarOffTheCardDoNotOverflow) {
    auto d = Card();
    d->mark_data[0] = {1, INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX, 0, {}};
    d->str_data[0].on = 1;
    d->str_data[0].x = INT_MIN + 3;
    TextSizes sizes{};
    sizes[0] = {INT_MAX, INT_MAX};
    EXPECT_EQ(HitTest(*d, sizes, 300, 300), kPickNone);
    EXPECT_EQ(HitTest(*d, sizes, INT_MIN + 20, 100), kPickText);
}

TEST(CanvasDrop, MovedItemsStayOnTheCardAtAllFourEdges) {
    auto d = Card();
    TextSizes sizes{};
    MarkData& m = d->mark_data[0];
    m = {1, 100, 100, 40, 30, 0, {}};
    ASSERT_TRUE(DropPick(*d, sizes, kPickMark, -500, -500));
    EXPECT_EQ(m.x, 0);
    EXPECT_EQ(m.y, 0);
    ASSERT_TRUE(DropPick(*d, sizes, kPickMark, 5000, 5000));
    EXPECT_EQ(m.x, 455 - 40);
    EXPECT_EQ(m.y, 275 - 30);
    ASSERT_TRUE(DropPick(*d, sizes, kPickMark, -10, -20));
    EXPECT_EQ(m.x, 405);
    EXPECT_EQ(m.y, 225);

    StrData& t = d->str_data[1];
    t.on = 1, t.x = 10, t.y = 10;
    sizes[1] = {100, 20};
    DropPick(*d, sizes, kPickText + 1, 1000, 1000);
    EXPECT_EQ(t.x, 455 - 100);
    EXPECT_EQ(t.y, 275 - 20);
    // A vertical text keeps its glyphs, which lie left of x, on the card.
    Vertical(d->lf[1]);
    DropPick(*d, sizes, kPickText + 1, -1000, 0);
    EXPECT_EQ(t.x, 20);  // at least cy
    DropPick(*d, sizes, kPickText + 1, 1000, 1000);
    EXPECT_EQ(t.x, 455);
    EXPECT_EQ(t.y, 275 - 100);

    QrcodeData& q = d->qrcode_data[0];
    q.on = 1, q.x = 5, q.y = 5, q.w = 75, q.h = 75;
    DropPick(*d, sizes, kPickQr, 1000, -1000);
    EXPECT_EQ(q.x, 455 - 75);
    EXPECT_EQ(q.y, 0);
    EXPECT_FALSE(DropPick(*d, sizes, kPickNone, 1, 1));
}

TEST(CanvasDrop, ResizingNeverLeavesLessThanOnePixel) {
    auto d = Card();
    TextSizes sizes{};
    PhotData& f = d->phot_data;
    f = {1, 100, 100, 50, 60, {}};
    DropPick(*d, sizes, kPickFaceResize, -200, -200);
    EXPECT_EQ(f.w, 1);
    EXPECT_EQ(f.h, 1);
    DropPick(*d, sizes, kPickFaceResize, 1000, 1000);
    EXPECT_EQ(f.w, 455 - 100);
    EXPECT_EQ(f.h, 275 - 100);
    // An item placed right of the card keeps a size of 1 and can be hit again.
    MarkData& m = d->mark_data[1];
    m = {1, 500, 300, 40, 40, 0, {}};
    DropPick(*d, sizes, kPickMarkResize + 1, 1, 1);
    EXPECT_EQ(m.w, 1);
    EXPECT_EQ(m.h, 1);
}

TEST(CanvasDrop, AReleaseWithoutMovementChangesNothingAtAnyEdge) {
    auto d = Card();
    TextSizes sizes{};
    sizes[0] = {100, 20};
    sizes[1] = {20, 100};
    Vertical(d->lf[1]);
    // Each item at the card's corners and edges, and as large as the card; picked to
    // move and to resize, released where it was pressed.
    const int xs[] = {0, 10, 455 - 445, 455 - 40, 455};
    const int ys[] = {0, 275 - 30, 275};
    for (int x : xs) {
        for (int y : ys) {
            for (const auto& [w, h] : {std::pair{40, 30}, {445, 30}, {455, 275}, {1, 1}}) {
                d->mark_data[0] = {1, x, y, w, h, 0, {}};
                d->phot_data = {1, x, y, w, h, {}};
                d->str_data[0].x = d->str_data[1].x = x;
                d->str_data[0].y = d->str_data[1].y = y;
                d->qrcode_data[0].x = x, d->qrcode_data[0].y = y, d->qrcode_data[0].w = w, d->qrcode_data[0].h = h;
                const auto before = std::make_unique<CardDesign>(*d);
                for (int pick : {kPickMark, kPickMarkResize, kPickFace, kPickFaceResize, kPickText, kPickText + 1,
                                 kPickQr}) {
                    EXPECT_TRUE(DropPick(*d, sizes, pick, 0, 0));
                    EXPECT_EQ(std::memcmp(d.get(), before.get(), sizeof(CardDesign)), 0)
                        << "pick " << pick << " at " << x << ", " << y << " size " << w << " x " << h;
                }
            }
        }
    }
}

TEST(CanvasDrop, TheRangeRuleIsTheDesignsOwn) {
    auto d = Card();
    TextSizes sizes{};
    // x = 10, w = 445 on the 455-pixel card may stay where it is after a move to it.
    MarkData& m = d->mark_data[0];
    m = {1, 0, 0, 445, 30, 0, {}};
    DropPick(*d, sizes, kPickMark, 10, 0);
    EXPECT_EQ(m.x, 10);
    DropPick(*d, sizes, kPickMark, 1, 0);
    EXPECT_EQ(m.x, 10);
    // As large as the card: at (0, 0), never off it; moved, it stays there.
    m = {1, 0, 0, 455, 275, 0, {}};
    DropPick(*d, sizes, kPickMark, 5, 5);
    EXPECT_EQ(m.x, 0);
    EXPECT_EQ(m.y, 0);
    // Larger than the card (a long text): at the card's left, not before it.
    StrData& t = d->str_data[0];
    t.x = 100, t.y = 100;
    sizes[0] = {600, 20};
    DropPick(*d, sizes, kPickText, 3, 0);
    EXPECT_EQ(t.x, 0);
    // A resize fills the room left exactly, and what the design's rule keeps it keeps.
    m = {1, 100, 100, 40, 30, 0, {}};
    DropPick(*d, sizes, kPickMarkResize, 1000, 1000);
    EXPECT_EQ(m.w, 355);
    EXPECT_EQ(m.h, 175);
    MarkData kept = m;
    KeepRectOnCard(kept.x, kept.y, kept.w, kept.h, 455, 275);
    EXPECT_EQ(kept.w, m.w);
    EXPECT_EQ(kept.h, m.h);
}

TEST(CanvasOverlay, PicturesStayOnTheCardWhileDragged) {
    // Moving: the overlay keeps its size and stays inside the card's client area.
    EXPECT_EQ(PictureOverlay(100, 100, 40, 30, false, 20, 10, 455, 275), (Overlay{130, 160, 40, 30}));
    EXPECT_EQ(PictureOverlay(100, 100, 40, 30, false, -500, 900, 455, 275), (Overlay{10, 50 + 275 - 30, 40, 30}));
    // Resizing from the corner, within the card and at least 1 x 1.
    EXPECT_EQ(PictureOverlay(100, 100, 40, 30, true, 10, 5, 455, 275), (Overlay{110, 150, 50, 35}));
    EXPECT_EQ(PictureOverlay(100, 100, 40, 30, true, 900, 900, 455, 275), (Overlay{110, 150, 355, 175}));
    EXPECT_EQ(PictureOverlay(100, 100, 40, 30, true, -90, -90, 455, 275), (Overlay{110, 150, 1, 1}));
}

TEST(CanvasOverlay, TextAndQrFramesFollowTheDrop) {
    auto d = Card();
    StrData& t = d->str_data[0];
    t.on = 1, t.x = 10, t.y = 10;
    const TextOverlay across = TextDragOverlay(t, d->lf[0], {100, 20}, 1000, 5, 455, 275);
    EXPECT_EQ(across.draw_x, 455 - 100 + 10);
    EXPECT_EQ(across.draw_y, 65);
    EXPECT_EQ(across.box, (ClientRect{365, 65, 464, 84}));
    Vertical(d->lf[0]);
    const TextOverlay down = TextDragOverlay(t, d->lf[0], {100, 20}, -1000, 0, 455, 275);
    EXPECT_EQ(down.draw_x, 30);  // the glyphs, 20 wide, end at the card's left edge
    EXPECT_EQ(down.box, (ClientRect{10, 60, 29, 159}));
    QrcodeData q{};
    q.x = 300, q.y = 200, q.w = 75, q.h = 75;
    EXPECT_EQ(QrOverlay(q, 100, 100, 455, 275), (Overlay{455 - 75 + 10, 275 - 75 + 50, 75, 75}));
}

}  // namespace

TEST(CanvasCentring, OddAndEvenExtentsOfEveryKind) {
    auto d = Card();  // 455 x 275
    TextSizes sizes{};
    d->mark_data[1] = {1, 3, 4, 44, 45, 0, {}};
    ASSERT_TRUE(CentrePick(*d, sizes, kPickMark + 1, true));
    ASSERT_TRUE(CentrePick(*d, sizes, kPickMark + 1, false));
    EXPECT_EQ(d->mark_data[1].x, 205);  // (455 - 44) / 2 = 205.5
    EXPECT_EQ(d->mark_data[1].y, 115);  // (275 - 45) / 2
    d->mark_data[1].w = 45;
    ASSERT_TRUE(CentrePick(*d, sizes, kPickMark + 1, true));
    EXPECT_EQ(d->mark_data[1].x, 205);
    // Larger than the card: at its corner, as a drop puts it.
    d->phot_data = {1, 50, 50, 600, 100, {}};
    ASSERT_TRUE(CentrePick(*d, sizes, kPickFace, true));
    EXPECT_EQ(d->phot_data.x, 0);
    // A text by its measured extent; a vertical one by the anchor right of its glyphs.
    d->str_data[3].on = 1;
    sizes[3] = {101, 20};
    ASSERT_TRUE(CentrePick(*d, sizes, kPickText + 3, true));
    ASSERT_TRUE(CentrePick(*d, sizes, kPickText + 3, false));
    EXPECT_EQ(d->str_data[3].x, 177);
    EXPECT_EQ(d->str_data[3].y, 127);
    Vertical(d->lf[3]);
    ASSERT_TRUE(CentrePick(*d, sizes, kPickText + 3, true));
    ASSERT_TRUE(CentrePick(*d, sizes, kPickText + 3, false));
    EXPECT_EQ(d->str_data[3].x, 217 + 20);  // glyphs from 217 to 237
    EXPECT_EQ(d->str_data[3].y, 87);        // (275 - 101) / 2
    const ClientRect r = TextRect(d->str_data[3], d->lf[3], sizes[3]);
    EXPECT_EQ(r.left - 10 + (r.right - r.left) / 2, 227);
    EXPECT_FALSE(CentrePick(*d, sizes, kPickNone, true));
}

TEST(CanvasSelection, TabStepsThroughTheItemsThatAreOnInPickOrder) {
    auto d = Card();
    EXPECT_EQ(NextSelection(*d, kPickNone, 1), kPickNone);
    d->mark_data[2].on = 1;
    d->str_data[0].on = 1;
    d->qrcode_data[3].on = 1;
    d->phot_data.on = 1;
    EXPECT_EQ(NextSelection(*d, kPickNone, 1), kPickMark + 2);
    EXPECT_EQ(NextSelection(*d, kPickMark + 2, 1), kPickText);
    EXPECT_EQ(NextSelection(*d, kPickText, 1), kPickQr + 3);
    EXPECT_EQ(NextSelection(*d, kPickQr + 3, 1), kPickFace);
    EXPECT_EQ(NextSelection(*d, kPickFace, 1), kPickMark + 2);
    EXPECT_EQ(NextSelection(*d, kPickNone, -1), kPickFace);
    EXPECT_EQ(NextSelection(*d, kPickMark + 2, -1), kPickFace);
    EXPECT_EQ(MovePickOf(kPickMarkResize + 4), kPickMark + 4);
    EXPECT_EQ(MovePickOf(kPickFaceResize), kPickFace);
    EXPECT_EQ(MovePickOf(999), kPickNone);
}
