#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <cstring>
#include <memory>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/design_edits.h"
#include "app/main_window.h"
#include "app/status_line.h"
#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "render/canvas.h"
#include "render/canvas_math.h"
#include "render/card_preview.h"
#include "render/picture_loading.h"
#include "main_window_fixture.h"
#include "res/main_window_ids.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "res/base_dialog_ids.h"
#include "res/environment_dialog_ids.h"
#include "res/face_dialog_ids.h"
#include "res/mark_dialog_ids.h"
#include "res/new_item_dialog_ids.h"
#include "res/qr_dialog_ids.h"
#include "res/template_browser_ids.h"
#include "res/text_dialog_ids.h"
#include "design/settings_file_win.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

bool SameBytes(const CardDesign& a, const CardDesign& b) { return std::memcmp(&a, &b, sizeof(a)) == 0; }

// The main window over a design of known items, its history started there; shift held or
// not for the keys that follow.
class Editing : public MainWindowOverKnownItems {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(OpenWindow());
        SetCardZoom(window, 100);
        RepaintMainWindow();  // measures the texts
        StartDesignHistory();
        RefreshEditCommands(window);
        seam.messages.clear();
    }
    void TearDown() override {
        Shift(false);
        CanvasSelect(window, kPickNone);
        CloseWindow();
        SetScreenCardView({});
        StartDesignHistory();
    }
    void Click(int x, int y) { Drag(x, y, x, y); }
    void Key(WPARAM key) { SendMessageW(window, WM_KEYDOWN, key, 0); }
    void Shift(bool held) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = held ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    void Command(int id) { SendMessageW(window, WM_COMMAND, id, 0); }
    bool Greyed(int id) { return (GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
    // The step a user action made: undo gives the bytes before it, redo those after it.
    void ExpectUndoAndRedo(const CardDesign& before, const char* what) {
        const auto after = std::make_unique<CardDesign>(Design());
        EXPECT_FALSE(SameBytes(before, *after)) << what << " changed nothing";
        EXPECT_TRUE(App().changed) << what;
        Command(IDM_UNDO);
        EXPECT_TRUE(SameBytes(Design(), before)) << what << " is not undone";
        Command(IDM_REDO);
        EXPECT_TRUE(SameBytes(Design(), *after)) << what << " is not redone";
    }
};

TEST_F(Editing, EveryKindOfStepIsUndoneAndRedoneByteForByte) {
    auto before = std::make_unique<CardDesign>(Design());
    Drag(115, 105, 165, 125);  // mark 0 moved
    ExpectUndoAndRedo(*before, "a drag");
    *before = Design();
    Drag(195, 145, 215, 155);  // mark 0 now at client 160..200 x 120..150: its corner
    ExpectUndoAndRedo(*before, "a resize");
    *before = Design();
    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, At(35, 255));
    ASSERT_TRUE(CanvasEditBox());
    SetWindowTextW(CanvasEditBox(), L"佐藤花子");
    Click(400, 300);
    ExpectUndoAndRedo(*before, "an in-place edit");
    *before = Design();
    Click(35, 255);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    Key(VK_DOWN);  // without a pause: one step
    ExpectUndoAndRedo(*before, "a run of arrow presses");
    *before = Design();
    Key(VK_DELETE);
    ExpectUndoAndRedo(*before, "a deletion");
    *before = Design();
    Click(220, 80);
    Command(IDM_CENTRE_ACROSS);
    ExpectUndoAndRedo(*before, "centring");
    *before = Design();
    seam.message_answers.push_back(IDYES);  // throw the changes away
    Command(IDM_NEW);
    EXPECT_FALSE(App().changed);
    App().changed = true;  // for the check: undo and redo set it again
    ExpectUndoAndRedo(*before, "New");
    // Neither a zoom nor a command that changes nothing is a step.
    const std::size_t steps = History().UndoSteps();
    Command(IDM_ZOOM_150);
    Command(IDM_CENTRE_ACROSS);  // the QR code is centred already
    EXPECT_EQ(History().UndoSteps(), steps);
    EXPECT_TRUE(SameRecordedDesign(History().Recorded(), Design()));
}

TEST_F(Editing, UndoAndRedoAreGreyedWhenThereIsNothingToUndoOrRedo) {
    EXPECT_TRUE(Greyed(IDM_UNDO));
    EXPECT_TRUE(Greyed(IDM_REDO));
    EXPECT_TRUE(Greyed(IDM_CENTRE_ACROSS));
    Drag(115, 105, 125, 105);
    EXPECT_FALSE(Greyed(IDM_UNDO));
    EXPECT_TRUE(Greyed(IDM_REDO));
    EXPECT_FALSE(Greyed(IDM_CENTRE_DOWN));  // the mark stays selected
    Command(IDM_UNDO);
    EXPECT_TRUE(Greyed(IDM_UNDO));
    EXPECT_FALSE(Greyed(IDM_REDO));
    Command(IDM_UNDO);  // nothing left: nothing happens
    EXPECT_EQ(Design().mark_data[0].x, 100);
    Key(VK_ESCAPE);
    EXPECT_TRUE(Greyed(IDM_CENTRE_ACROSS));
}

TEST_F(Editing, ArrowsMoveTheSelectionByOneAndShiftByTenClampedOnTheCard) {
    Click(115, 105);
    EXPECT_EQ(SelectedItem(), kPickMark);
    Key(VK_RIGHT);
    EXPECT_EQ(Design().mark_data[0].x, 101);
    Key(VK_UP);
    EXPECT_EQ(Design().mark_data[0].y, 49);
    Shift(true);
    Key(VK_LEFT);
    EXPECT_EQ(Design().mark_data[0].x, 91);
    for (int i = 0; i < 10; ++i) Key(VK_UP);
    EXPECT_EQ(Design().mark_data[0].y, 0);
    for (int i = 0; i < 50; ++i) Key(VK_RIGHT);
    EXPECT_EQ(Design().mark_data[0].x, 455 - 40);
    Shift(false);
    // Tab steps on to the name text; the status line names it.
    Key(VK_TAB);
    EXPECT_EQ(SelectedItem(), kPickText + 2);
    EXPECT_EQ(StatusSelectionText(Design(), SelectedItem()), L"名前  X 20  Y 200");
    // A press on an empty part of the card clears the selection; the keys then do nothing.
    Click(400, 300);
    EXPECT_EQ(SelectedItem(), kPickNone);
    const auto before = std::make_unique<CardDesign>(Design());
    Key(VK_RIGHT);
    Key(VK_DELETE);
    EXPECT_TRUE(SameBytes(Design(), *before));
}

TEST_F(Editing, DeleteSwitchesTheItemOffAndUndoBringsItBack) {
    Click(320, 210);  // the face
    Key(VK_DELETE);
    EXPECT_EQ(Design().phot_data.on, 0);
    EXPECT_EQ(SelectedItem(), kPickNone);
    Command(IDM_UNDO);
    EXPECT_EQ(Design().phot_data.on, 1);
    EXPECT_EQ(Design().phot_data.x, 300);
}

TEST_F(Editing, AtTwoHundredPercentADragMovesByHalfTheScreenDistance) {
    SetCardZoom(window, 200);
    // Mark 0 at card (100, 50): client (10 + 200, 50 + 100) at 2x.
    Drag(220, 160, 320, 220);
    EXPECT_EQ(Design().mark_data[0].x, 150);
    EXPECT_EQ(Design().mark_data[0].y, 80);
    // Zoom keys during a drag: the item lands where the card pixel under the pointer says.
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(320, 220));
    SetKeyboardState(std::array<BYTE, 256>{}.data());
    SetCardZoom(window, 100);
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, At(180, 140));
    SendMessageW(window, WM_LBUTTONUP, 0, At(180, 140));
    // Pressed on card (155, 85), released on card (170, 90).
    EXPECT_EQ(Design().mark_data[0].x, 165);
    EXPECT_EQ(Design().mark_data[0].y, 85);
}

TEST_F(Editing, EveryKindIsHitAtOneHundredAndFiftyPercent) {
    SetCardZoom(window, 150);
    const CardMapping m = ScreenMapping();
    const auto press = [&](int card_x, int card_y) {
        const DevicePoint at = MapPoint(m, card_x, card_y);
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(at.x, at.y));
        const int pick = PickCode();
        SendMessageW(window, WM_LBUTTONUP, 0, At(at.x, at.y));
        return pick;
    };
    EXPECT_EQ(press(105, 55), kPickMark);
    EXPECT_EQ(press(138, 78), kPickMarkResize);
    EXPECT_EQ(press(25, 205), kPickText + 2);
    EXPECT_EQ(press(210, 30), kPickQr);
    EXPECT_EQ(press(305, 155), kPickFace);
    EXPECT_EQ(press(358, 208), kPickFaceResize);
    EXPECT_EQ(press(420, 260), kPickNone);
    // Only inside: one card pixel left of the mark is nothing.
    EXPECT_EQ(press(99, 55), kPickNone);
}

TEST_F(Editing, TheEditBoxAtTwoHundredPercentCommitsToItsItem) {
    SetCardZoom(window, 200);
    const DevicePoint at = MapPoint(ScreenMapping(), 25, 205);
    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, At(at.x, at.y));
    HWND box = CanvasEditBox();
    ASSERT_TRUE(box);
    RECT r{};
    GetWindowRect(box, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10 + 2 * 20);
    EXPECT_EQ(r.top, 50 + 2 * 200);
    EXPECT_EQ(r.bottom - r.top, 2 * -Design().lf[2].lfHeight);  // the font at 2x
    SetWindowTextW(box, L"二倍");
    Command(IDM_ZOOM_100);
    EXPECT_EQ(TextOf(Name().s64), u"二倍");
}

// The frame is drawn on the screen only: the picture of the card to save has none.
TEST_F(Editing, TheSelectionFrameIsOnTheScreenOnly) {
    CardDesign& d = Design();
    d.str_data[2].on = 0;
    d.qrcode_data[0].on = 0;
    d.phot_data.on = 0;
    TestBitmap saved(455, 275), selected(600, 600), plain(600, 600);
    PaintReport report;
    PaintCardAtOneToOne(saved.Dc(), d, Pictures(), report);
    PaintCard(plain.Dc());
    Click(115, 105);
    ASSERT_EQ(SelectedItem(), kPickMark);
    PaintCardAtOneToOne(saved.Dc(), d, Pictures(), report);
    EXPECT_EQ(saved.CountOther(0, 0, 455, 275, RGB(255, 255, 255)), 0);
    PaintCard(selected.Dc());
    EXPECT_GT(selected.CountOther(0, 0, 600, 600, RGB(255, 255, 255)), 40);
    EXPECT_EQ(plain.CountOther(0, 0, 600, 600, RGB(255, 255, 255)), 0);
}

// An undo history past its bound, and a window at its smallest: nothing lost or broken.
TEST_F(Editing, AHistoryPastItsBoundAndAWindowAtItsSmallest) {
    for (int i = 0; i < 150; ++i) {
        Design().mark_data[0].x = i;
        CommitDesignChange();
    }
    EXPECT_EQ(History().UndoSteps(), DesignHistory::kStepLimit);
    EXPECT_LT(History().Bytes(), 16u << 20);
    SetCardZoom(window, kZoomFit);
    SetWindowPos(window, nullptr, 0, 0, 1, 1, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_GE(ScreenCardView().scale, kSmallestZoomScale);
    RepaintMainWindow();
    Drag(12, 52, 14, 54);
    const int x = Design().mark_data[0].x;
    SetWindowPos(window, nullptr, 0, 0, 600, 600, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(Design().mark_data[0].x, x);
    EXPECT_EQ(Design().zoom, kZoomFit);
}

// Each dialog closed with a change, a template applied and a file opened: one step each,
// undone and redone byte for byte; a dialog closed without a change is none.
TEST_F(Editing, DialogClosesTemplatesAndOpenAreStepsAndUnchangedClosesAreNot) {
    const auto in_dialog = [&](const std::function<void()>& open, const std::function<void(HWND)>& script) {
        bool timed_out = false;
        DriveModal([&] { open(); return INT_PTR{0}; }, script, &timed_out);
        EXPECT_FALSE(timed_out);
    };
    const auto command = [&](int id) { return [this, id] { Command(id); }; };
    struct Edit {
        int command, field, ok;
        const wchar_t* value;
    };
    for (const Edit& e : {Edit{IDM_BASE, IDC_BASE_WIDTH, IDC_BASE_OK, L"500"},
                          Edit{IDM_MARK, IDC_MARK_X, IDC_MARK_OK, L"120"},
                          Edit{IDM_TEXT, IDC_TEXT_STRING + 2, IDC_TEXT_OK, L"鈴木一郎"},
                          Edit{IDM_FACE, IDC_FACE_X, IDC_FACE_OK, L"310"},
                          Edit{IDM_QRCODE, IDC_QR_X, IDC_QR_OK, L"210"}}) {
        const auto before = std::make_unique<CardDesign>(Design());
        const std::size_t steps = History().UndoSteps();
        in_dialog(command(e.command), [](HWND dialog) { SendMessageW(dialog, WM_CLOSE, 0, 0); });
        EXPECT_EQ(History().UndoSteps(), steps) << e.command << " closed unchanged";
        in_dialog(command(e.command), [&](HWND dialog) {
            SetControlText(dialog, e.field, e.value);
            ClickButton(dialog, e.ok);
        });
        EXPECT_EQ(History().UndoSteps(), steps + 1) << e.command;
        ExpectUndoAndRedo(*before, "a dialog's OK");
    }
    auto before = std::make_unique<CardDesign>(Design());
    in_dialog(command(IDM_ENVIRONMENT), [](HWND dialog) {
        SetChecked(dialog, IDC_ENV_CUT_MARKS, !IsChecked(dialog, IDC_ENV_CUT_MARKS));
        ClickButton(dialog, IDC_ENV_OK);
    });
    ExpectUndoAndRedo(*before, "the printed cut marks");
    *before = Design();
    in_dialog([&] { SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, At(400, 300)); },
              [](HWND dialog) { ClickButton(dialog, IDC_NEW_TEXT1 + 4); });
    EXPECT_EQ(Design().str_data[4].on, 1);
    ExpectUndoAndRedo(*before, "a new item");

    // A template of another size, applied.
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"temp").c_str(), nullptr));
    *before = Design();
    Design().base_w = 275, Design().base_h = 455;  // what the template file holds
    ASSERT_TRUE(WriteSettingsFile(window, SettingsScope::Design, folder.File(L"temp\\縦.tep").c_str()));
    Design() = *before;
    in_dialog(command(IDM_TEMPLATE), [](HWND dialog) { ClickButton(dialog, IDC_TEMPLATE_OK); });
    EXPECT_EQ(Design().base_w, 275);
    ExpectUndoAndRedo(*before, "a template");

    // Open: the design thrown away comes back with undo.
    *before = Design();
    const std::wstring path = folder.File(L"other.ini");
    Design().str_data[2].x = 77;
    ASSERT_TRUE(WriteSettingsFile(window, SettingsScope::Design, path.c_str()));
    Design() = *before;
    App().changed = false;
    seam.file_answers.push_back({true, path, 1});
    Command(IDM_OPEN);
    EXPECT_EQ(Name().x, 77);
    EXPECT_FALSE(App().changed);
    App().changed = true;
    ExpectUndoAndRedo(*before, "Open");
}

}  // namespace
