#include "design/design_history.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>

namespace {

std::unique_ptr<CardDesign> Card() {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    return d;
}

bool SameBytes(const CardDesign& a, const CardDesign& b) { return std::memcmp(&a, &b, sizeof(a)) == 0; }

// A history started from a default design, and the design it follows.
struct History : ::testing::Test {
    std::unique_ptr<CardDesign> design = Card();
    DesignHistory history;
    void SetUp() override { history.Reset(*design); }
    // One step: mark 0 moved to x.
    void MoveTo(int x) {
        design->mark_data[0].x = x;
        EXPECT_TRUE(history.Commit(*design));
    }
};

TEST_F(History, HundredAndFiftyStepsLeaveTheLastHundredWithinTheMemoryBound) {
    for (int x = 1; x <= 150; ++x) MoveTo(x);
    EXPECT_EQ(history.UndoSteps(), DesignHistory::kStepLimit);
    int undone = 0;
    while (history.Undo(*design)) ++undone;
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(design->mark_data[0].x, 50);  // the design before step 51, the oldest kept
    EXPECT_EQ(history.RedoSteps(), 100u);
    EXPECT_LT(history.Bytes(), 16u << 20);
    // Past the bound many times over, the memory stays where it was.
    for (int x = 0; x < 1000; ++x) MoveTo(x % 2 ? 7 : 8);
    EXPECT_EQ(history.UndoSteps(), DesignHistory::kStepLimit);
    EXPECT_EQ(history.RedoSteps(), 0u);
    EXPECT_LE(history.Bytes(), (2 * DesignHistory::kStepLimit + 2) * sizeof(CardDesign) + 4096);
}

TEST_F(History, UndoThenRedoGivesIdenticalBytes) {
    const auto before = std::make_unique<CardDesign>(*design);
    design->str_data[2].x = 33;
    design->qrcode_data[1].s[5] = u'Q';
    design->lf[4].lfFaceName[0] = u'Z';
    ASSERT_TRUE(history.Commit(*design));
    const auto after = std::make_unique<CardDesign>(*design);
    ASSERT_TRUE(history.Undo(*design));
    EXPECT_TRUE(SameBytes(*design, *before));
    EXPECT_FALSE(history.CanUndo());
    ASSERT_TRUE(history.Redo(*design));
    EXPECT_TRUE(SameBytes(*design, *after));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_TRUE(SameBytes(history.Recorded(), *after));
}

TEST_F(History, ANewStepDropsTheRedoStepsAndAnUnchangedCommitIsNoStep) {
    MoveTo(1);
    MoveTo(2);
    ASSERT_TRUE(history.Undo(*design));
    ASSERT_TRUE(history.CanRedo());
    EXPECT_FALSE(history.Commit(*design));  // nothing changed: the redo step stays
    EXPECT_TRUE(history.CanRedo());
    MoveTo(5);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_FALSE(history.Redo(*design));
    ASSERT_TRUE(history.Undo(*design));
    EXPECT_EQ(design->mark_data[0].x, 1);
}

// A change not yet committed is what Undo takes back first, and it makes Redo do nothing.
TEST_F(History, AnUncommittedChangeIsCommittedBeforeUndoAndRedo) {
    MoveTo(1);
    design->mark_data[0].y = 9;  // not committed
    ASSERT_TRUE(history.Undo(*design));
    EXPECT_EQ(design->mark_data[0].x, 1);
    EXPECT_EQ(design->mark_data[0].y, 0);
    design->mark_data[0].y = 4;
    EXPECT_FALSE(history.Redo(*design));
    EXPECT_EQ(design->mark_data[0].y, 4);
    EXPECT_TRUE(SameBytes(history.Recorded(), *design));
}

TEST_F(History, ARunOfKeysWithoutAPauseIsOneStep) {
    for (int i = 1; i <= 5; ++i) {
        design->mark_data[0].x = i;
        history.Commit(*design, 1, i * 900);  // each 0.9 s after the last
    }
    design->mark_data[0].x = 6;
    history.Commit(*design, 1, 4500 + 1001);  // after a pause: a step of its own
    design->mark_data[0].x = 7;
    history.Commit(*design, 2, 5600);  // another item
    EXPECT_EQ(history.UndoSteps(), 3u);
    history.Undo(*design);
    EXPECT_EQ(design->mark_data[0].x, 6);
    history.Undo(*design);
    EXPECT_EQ(design->mark_data[0].x, 5);
    history.Undo(*design);
    EXPECT_EQ(design->mark_data[0].x, 0);
    // After an undo the run starts anew.
    history.Redo(*design);
    design->mark_data[0].x = 8;
    history.Commit(*design, 1, 5700);
    EXPECT_EQ(history.UndoSteps(), 2u);
}

// The on-screen outlines, the zoom and the sheet grid are no steps and survive an undo.
TEST_F(History, ScreenOptionsAndTheSheetGridAreNeitherStepsNorUndone) {
    MoveTo(3);
    design->b_outline = 0;
    design->zoom = 200;
    design->base_cntx = 3;
    EXPECT_FALSE(history.Commit(*design));
    ASSERT_TRUE(history.Undo(*design));
    EXPECT_EQ(design->mark_data[0].x, 0);
    EXPECT_EQ(design->b_outline, 0);
    EXPECT_EQ(design->zoom, 200);
    EXPECT_EQ(design->base_cntx, 3);
    design->p_outline = 0;  // printed cut marks are part of the design
    EXPECT_TRUE(history.Commit(*design));
}

}  // namespace

TEST(DesignHistoryPictures, APathALoadModeOrAUseFlagAsksForAReload) {
    const auto a = Card();
    auto b = std::make_unique<CardDesign>(*a);
    EXPECT_TRUE(SamePictureSources(*a, *b));
    b->mark_data[0].x = 40;  // a move loads nothing
    EXPECT_TRUE(SamePictureSources(*a, *b));
    for (auto change : std::initializer_list<void (*)(CardDesign&)>{
             [](CardDesign& d) { d.base_filepass[0] = u'x'; }, [](CardDesign& d) { d.mark_data[3].fm[9] = u'x'; },
             [](CardDesign& d) { d.mark_data[1].on = 1; }, [](CardDesign& d) { d.phot_data.fm[0] = u'x'; },
             [](CardDesign& d) { d.phot_data.on = 1; }, [](CardDesign& d) { d.mark_load_mode = 2; }}) {
        auto c = std::make_unique<CardDesign>(*a);
        change(*c);
        EXPECT_FALSE(SamePictureSources(*a, *c));
    }
}

// A two-sided design's steps: the back is recorded and undone like the front, and the side
// a step changed is the one to show.
TEST(DesignHistorySides, TheBackIsRecordedAndTheSideOfAStepIsTheOneItChanged) {
    auto design = Card();
    design->back_on = 1;
    DesignHistory history;
    history.Reset(*design);
    const auto start = std::make_unique<CardDesign>(*design);
    design->back.str_data[2].x = 50;
    ASSERT_TRUE(history.Commit(*design));
    const auto back_moved = std::make_unique<CardDesign>(*design);
    EXPECT_TRUE(SideOfStep(*start, *back_moved, false));
    EXPECT_TRUE(SideOfStep(*start, *back_moved, true));
    design->str_data[2].x = 60;
    ASSERT_TRUE(history.Commit(*design));
    EXPECT_FALSE(SideOfStep(*back_moved, *design, true));
    ASSERT_TRUE(history.Undo(*design));
    ASSERT_TRUE(history.Undo(*design));
    EXPECT_TRUE(SameBytes(*design, *start));
    // Both sides changed, or only the design's own settings: the side shown stays.
    auto both = std::make_unique<CardDesign>(*start);
    both->back.base_w = 300;
    both->base_w = 300;
    EXPECT_TRUE(SideOfStep(*start, *both, true));
    EXPECT_FALSE(SideOfStep(*start, *both, false));
    auto grid = std::make_unique<CardDesign>(*start);
    grid->duplex = kDuplexShortEdge;
    EXPECT_TRUE(SideOfStep(*start, *grid, true));
    // A step that switched the back off shows the front, whatever it changed.
    auto off = std::make_unique<CardDesign>(*back_moved);
    off->back_on = 0;
    EXPECT_FALSE(SideOfStep(*start, *off, true));
}
