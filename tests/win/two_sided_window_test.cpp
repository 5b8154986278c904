// The main window over a two-sided design: 表/裏 shows the back in the canvas, the
// editors and the preview; the title says which side is shown; undo comes back to the
// side its step changed.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/design_edits.h"
#include "app/main_window.h"
#include "design/fixed_text.h"
#include "main_window_fixture.h"
#include "render/canvas.h"
#include "render/canvas_math.h"
#include "res/base_dialog_ids.h"
#include "res/environment_dialog_ids.h"
#include "res/face_dialog_ids.h"
#include "res/main_window_ids.h"
#include "res/mark_dialog_ids.h"
#include "res/qr_dialog_ids.h"
#include "res/text_dialog_ids.h"
#include "design/settings_file_win.h"
#include "win/wide.h"
#include "test_bitmap.h"
#include "win/process.h"

namespace {

// The known items on the front; an upright back (275 x 455 on a landscape front) with
// items of its own at other places.
class TwoSidedWindow : public MainWindowOverKnownItems {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(OpenWindow());
        CardDesign& d = Design();
        d.back_on = 1;
        d.duplex = kDuplexLongEdge;
        CardSide& b = d.back;
        ResetBack(b);
        b.base_w = 275, b.base_h = 455;
        b.mark_data[0] = {1, 10, 10, 40, 30, 0, {}};
        b.phot_data = {1, 150, 40, 60, 60, {}};
        StrData& t = b.str_data[2];
        t.on = 1, t.x = 30, t.y = 120;
        SetText(t.s64, u"Taro Yamada");
        QrcodeData& q = b.qrcode_data[0];
        q.on = 1, q.x = 20, q.y = 300, q.w = 75, q.h = 75, q.Sell = 3;
        SetText(q.s, u"BACK");
        SetCardZoom(window, 100);
        RepaintMainWindow();
        StartDesignHistory();
        RefreshEditCommands(window);
        seam.messages.clear();
    }
    void TearDown() override {
        CanvasSelect(window, kPickNone);
        ShowSide(false);
        CloseWindow();
        SetScreenCardView({});
        StartDesignHistory();
    }
    void Command(int id) { SendMessageW(window, WM_COMMAND, id, 0); }
    std::wstring Title() {
        wchar_t text[64] = {};
        GetWindowTextW(window, text, 64);
        return text;
    }
    // The command the main window's accelerator table gives a plain key.
    static int AcceleratorOf(WORD key) {
        HACCEL table = LoadAcceleratorsW(Process().instance, MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS));
        ACCEL entries[64] = {};
        const int count = CopyAcceleratorTableW(table, entries, 64);
        for (int i = 0; i < count; ++i)
            if (entries[i].key == key && (entries[i].fVirt & (FCONTROL | FSHIFT | FALT)) == 0) return entries[i].cmd;
        return 0;
    }
    bool Greyed(int id) { return (GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
    // Runs the command's dialog and the script inside it.
    void InDialog(int id, const std::function<void(HWND)>& script) {
        bool timed_out = false;
        DriveModal([&] { Command(id); return INT_PTR{0}; }, script, &timed_out);
        EXPECT_FALSE(timed_out) << id;
    }
    // Dark pixels of the preview inside a card rectangle of the side shown.
    int DarkInCard(const TestBitmap& preview, int x, int y, int w, int h) {
        const CardMapping m = ScreenMapping();
        const DevicePoint a = MapPoint(m, x, y), b = MapPoint(m, x + w, y + h);
        return preview.CountColour(a.x, a.y, b.x, b.y, RGB(0, 0, 0));
    }
};

TEST_F(TwoSidedWindow, SideCommandShowsTheBackInEveryEditorAndTheTitle) {
    EXPECT_EQ(Title(), MainWindowTitle(false));
    EXPECT_FALSE(Greyed(IDM_SIDE));
    EXPECT_EQ(AcceleratorOf(VK_F6), IDM_SIDE);
    Command(IDM_SIDE);
    ASSERT_TRUE(BackShown());
    EXPECT_EQ(Title(), MainWindowTitle(false) + L"（裏）");
    EXPECT_NE(Title().find(L"（裏）"), std::wstring::npos);
    EXPECT_EQ(GetMenuState(GetMenu(window), IDM_SIDE, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    InDialog(IDM_BASE, [](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_BASE_WIDTH), L"275");
        EXPECT_EQ(ControlText(dialog, IDC_BASE_HEIGHT), L"455");
        ClickButton(dialog, IDC_BASE_CANCEL);
    });
    InDialog(IDM_MARK, [](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_MARK_X), L"10");
        ClickButton(dialog, IDC_MARK_CANCEL);
    });
    InDialog(IDM_FACE, [](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_FACE_X), L"150");
        ClickButton(dialog, IDC_FACE_CANCEL);
    });
    InDialog(IDM_QRCODE, [](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_QR_TEXT), L"BACK");
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    InDialog(IDM_TEXT, [](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_TEXT_STRING + 2), L"Taro Yamada");
        SetControlText(dialog, IDC_TEXT_STRING + 2, L"Hanako Sato");
        ClickButton(dialog, IDC_TEXT_OK);
    });
    // The text went to the back; the front and the design's own settings are untouched.
    const auto stored = std::make_unique<CardDesign>(StoredDesign());
    EXPECT_EQ(TextOf(stored->back.str_data[2].s64), u"Hanako Sato");
    EXPECT_EQ(TextOf(stored->str_data[2].s64), u"山田太郎");
    EXPECT_EQ(stored->base_w, 455);
    EXPECT_EQ(stored->duplex, kDuplexLongEdge);
    EXPECT_TRUE(App().changed);
    // And back to the front.
    Command(IDM_SIDE);
    EXPECT_FALSE(BackShown());
    EXPECT_EQ(Title(), MainWindowTitle(false));
    EXPECT_EQ(TextOf(Name().s64), u"山田太郎");
}

TEST_F(TwoSidedWindow, TheCanvasMovesTheBacksItemsOnly) {
    Command(IDM_SIDE);
    const CardMapping m = ScreenMapping();
    const DevicePoint from = MapPoint(m, 20, 20), to = MapPoint(m, 60, 40);
    Drag(from.x, from.y, to.x, to.y);
    const auto stored = std::make_unique<CardDesign>(StoredDesign());
    EXPECT_EQ(stored->back.mark_data[0].x, 50);
    EXPECT_EQ(stored->back.mark_data[0].y, 30);
    EXPECT_EQ(stored->mark_data[0].x, 100);
    EXPECT_EQ(stored->mark_data[0].y, 50);
    // A drop is clamped onto the side shown: the upright back is 275 wide.
    Drag(to.x, to.y, MapPoint(m, 400, 40).x, to.y);
    EXPECT_EQ(StoredDesign().back.mark_data[0].x, 275 - 40);
}

TEST_F(TwoSidedWindow, ThePreviewPaintsTheSideShownAtItsOwnOrientation) {
    TestBitmap front(700, 700), back(700, 700);
    PaintCard(front.Dc());
    // Front QR code at (200, 20); on the back the same place is empty, its code lower down.
    EXPECT_GT(DarkInCard(front, 200, 20, 75, 75), 500);
    // The back's code lies below the landscape front: there the front shows nothing.
    EXPECT_EQ(DarkInCard(front, 20, 300, 75, 75), 0);
    Command(IDM_SIDE);
    PaintCard(back.Dc());
    EXPECT_GT(DarkInCard(back, 20, 300, 75, 75), 500);
    EXPECT_EQ(DarkInCard(back, 200, 20, 75, 75), 0);
}

TEST_F(TwoSidedWindow, UndoAcrossASwitchShowsTheSideItChanged) {
    Command(IDM_SIDE);
    InDialog(IDM_TEXT, [](HWND dialog) {
        SetControlText(dialog, IDC_TEXT_STRING + 2, L"Jiro");
        ClickButton(dialog, IDC_TEXT_OK);
    });
    Command(IDM_SIDE);  // the front shown again
    ASSERT_FALSE(BackShown());
    Command(IDM_UNDO);
    EXPECT_TRUE(BackShown());
    EXPECT_NE(Title().find(L"（裏）"), std::wstring::npos);
    EXPECT_EQ(TextOf(Design().str_data[2].s64), u"Taro Yamada");
    EXPECT_EQ(TextOf(StoredDesign().str_data[2].s64), u"山田太郎");
    // A change of the front, undone while the back is shown, brings the front up.
    Command(IDM_REDO);
    Command(IDM_SIDE);
    Name().x = 40;
    CommitDesignChange();
    Command(IDM_SIDE);
    ASSERT_TRUE(BackShown());
    Command(IDM_UNDO);
    EXPECT_FALSE(BackShown());
    EXPECT_EQ(Name().x, 20);
    EXPECT_EQ(TextOf(StoredDesign().back.str_data[2].s64), u"Jiro");
}

TEST_F(TwoSidedWindow, ABackSwitchedOffIsKeptButNeitherShownNorSwitchedTo) {
    Command(IDM_SIDE);
    InDialog(IDM_ENVIRONMENT, [](HWND dialog) {
        EXPECT_TRUE(IsChecked(dialog, IDC_ENV_BACK_ON));
        SetChecked(dialog, IDC_ENV_BACK_ON, false);
        ClickButton(dialog, IDC_ENV_OK);
    });
    EXPECT_FALSE(BackShown());
    EXPECT_EQ(Title(), MainWindowTitle(false));
    EXPECT_TRUE(Greyed(IDM_SIDE));
    Command(IDM_SIDE);
    EXPECT_FALSE(BackShown());
    EXPECT_EQ(TextOf(Design().back.str_data[2].s64), u"Taro Yamada");
    // Switched on again, the kept back comes back as it was.
    InDialog(IDM_ENVIRONMENT, [](HWND dialog) {
        SetChecked(dialog, IDC_ENV_BACK_ON, true);
        ClickButton(dialog, IDC_ENV_OK);
    });
    EXPECT_EQ(Design().back.base_w, 275);
    EXPECT_EQ(TextOf(Design().back.str_data[2].s64), u"Taro Yamada");
}

TEST_F(TwoSidedWindow, ABackSwitchedOnForTheFirstTimeStartsAsTheFrontsPaper) {
    ResetDesign(Design(), SettingsScope::Design);
    std::u16string base = u"base\\front.bmp";
    SetText(Design().base_filepass, base.c_str());
    StartDesignHistory();
    InDialog(IDM_ENVIRONMENT, [](HWND dialog) {
        EXPECT_FALSE(IsChecked(dialog, IDC_ENV_BACK_ON));
        SetChecked(dialog, IDC_ENV_BACK_ON, true);
        ClickButton(dialog, IDC_ENV_OK);
    });
    const CardDesign& d = Design();
    EXPECT_EQ(d.back_on, 1);
    EXPECT_EQ(d.duplex, kDuplexLongEdge);
    EXPECT_EQ(d.back.base_w, d.base_w);
    EXPECT_EQ(d.back.base_h, d.base_h);
    EXPECT_EQ(TextOf(d.back.base_filepass), base);
    EXPECT_EQ(d.back.str_data[2].on, 0);
    EXPECT_FALSE(Greyed(IDM_SIDE));
    // One step: undo takes the back away again.
    Command(IDM_UNDO);
    EXPECT_EQ(Design().back_on, 0);
    EXPECT_TRUE(Greyed(IDM_SIDE));
}

// Files a user may meet: a back kept but switched off, a back of another size than the
// front's, a back naming pictures that are not there. None is lost, none breaks the window.
TEST_F(TwoSidedWindow, FilesWithUnusedOddOrBrokenBacksOpenAndKeepTheirBacks) {
    const std::wstring path = folder.File(L"両面.ini");
    const auto open = [&] {
        seam.file_answers.push_back({true, path, 1});
        Command(IDM_OPEN);
    };
    // Kept but off: the front is shown, 表/裏 greyed, and saving writes the back again.
    Design().back_on = 0;
    ASSERT_TRUE(WriteSettingsFile(window, SettingsScope::Design, path.c_str()));
    ResetDesign(Design(), SettingsScope::Design);
    App().changed = false;
    open();
    EXPECT_FALSE(BackShown());
    EXPECT_TRUE(Greyed(IDM_SIDE));
    EXPECT_EQ(TextOf(Design().back.str_data[2].s64), u"Taro Yamada");
    Command(IDM_SAVE);
    ResetDesign(Design(), SettingsScope::Design);
    App().changed = false;
    open();
    EXPECT_EQ(TextOf(Design().back.qrcode_data[0].s), u"BACK");

    // A wide back on the landscape front, one of its marks naming a missing file: shown
    // with the missing-picture message, painted, saved as it was.
    CardDesign& d = Design();
    d.back_on = 1;
    d.back.base_w = 600, d.back.base_h = 200;
    d.back.qrcode_data[0].y = 100;
    SetText(d.back.mark_data[0].fm, u"mark\\どこにもない.bmp");
    ASSERT_TRUE(WriteSettingsFile(window, SettingsScope::Design, path.c_str()));
    ResetDesign(Design(), SettingsScope::Design);
    App().changed = false;
    open();
    seam.messages.clear();
    Command(IDM_SIDE);
    ASSERT_TRUE(BackShown());
    bool told = false;
    for (const ShownMessage& m : seam.messages)
        told |= m.caption == L"Image_Load" && m.text == L"マーク画像が読み込み出来ません。";
    EXPECT_TRUE(told);
    TestBitmap preview(800, 600);
    PaintCard(preview.Dc());
    EXPECT_GT(DarkInCard(preview, 20, 100, 75, 75), 500);
    EXPECT_EQ(StoredDesign().back.base_w, 600);
    EXPECT_EQ(StoredDesign().pm_size_x, 910);  // the printed size stays the front's
    Command(IDM_SAVE);
    ShowSide(false);
    ResetDesign(Design(), SettingsScope::Design);
    App().changed = false;
    open();
    EXPECT_EQ(TextOf(Design().back.mark_data[0].fm), u"mark\\どこにもない.bmp");
    EXPECT_EQ(Design().back.base_h, 200);
}

}  // namespace
