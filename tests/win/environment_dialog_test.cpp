#include "editors/environment_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "res/environment_dialog_ids.h"
#include "test_files.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

class EnvironmentDialogTest : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchStartFolder folder;

    void SetUp() override {
        CardDesign& d = Design();
        ResetDesign(d, SettingsScope::Full);
        d.b_outline = 1, d.m_outline = 0, d.c_outline = 1, d.p_outline = 0, d.font_plprn = 1;
        d.p_outline_size = 3, d.p_outline_len = -15;
        d.base_load_mode = 1, d.mark_load_mode = 3, d.phot_load_mode = 9;
        d.pm_size_x = 910, d.pm_size_y = 5;
        SetText(d.oekaki_filename, u"C:\\お絵描き\\paint.exe");
    }
    void Open(const std::function<void(HWND)>& script) {
        bool timed_out = false;
        DriveModal([] { ShowEnvironmentDialog(nullptr); return INT_PTR{1}; }, script, &timed_out);
        EXPECT_FALSE(timed_out);
    }
    // Every control changed, as a user would type and tick.
    static void ChangeEverything(HWND dialog) {
        SetChecked(dialog, IDC_ENV_CARD_OUTLINE, false);
        SetChecked(dialog, IDC_ENV_MARK_OUTLINE, true);
        SetChecked(dialog, IDC_ENV_TEXT_OUTLINE, false);
        SetChecked(dialog, IDC_ENV_CUT_MARKS, true);
        SetChecked(dialog, IDC_ENV_PRINTER_FONTS, false);
        SetControlText(dialog, IDC_ENV_CUT_SIZE, L"2.55");
        SetControlText(dialog, IDC_ENV_CUT_LENGTH, L"abc");
        SetControlText(dialog, IDC_ENV_BASE_LOAD, L"B&J(OLE)");
        SetControlText(dialog, IDC_ENV_MARK_LOAD, L"JPG(OLE)x");
        SetControlText(dialog, IDC_ENV_FACE_LOAD, L"JPG(OLE)");
        SetControlText(dialog, IDC_ENV_CARD_WIDTH, L"-3");
        SetControlText(dialog, IDC_ENV_CARD_HEIGHT, L"91.09");
        SetControlText(dialog, IDC_ENV_PAINT_PROGRAM, L"mspaint.exe");
    }
};

TEST_F(EnvironmentDialogTest, FilledFromTheDesignAndOkYesStoresEveryControl) {
    auto before = std::make_unique<CardDesign>(Design());
    seam.message_answers = {IDNO};
    bool stayed = false;
    Open([&](HWND dialog) {
        EXPECT_TRUE(IsChecked(dialog, IDC_ENV_CARD_OUTLINE));
        EXPECT_FALSE(IsChecked(dialog, IDC_ENV_MARK_OUTLINE));
        EXPECT_TRUE(IsChecked(dialog, IDC_ENV_TEXT_OUTLINE));
        EXPECT_FALSE(IsChecked(dialog, IDC_ENV_CUT_MARKS));
        EXPECT_TRUE(IsChecked(dialog, IDC_ENV_PRINTER_FONTS));
        EXPECT_EQ(ControlText(dialog, IDC_ENV_CUT_SIZE), L"0.3");
        EXPECT_EQ(ControlText(dialog, IDC_ENV_CUT_LENGTH), L"-1.5");
        EXPECT_EQ(ControlText(dialog, IDC_ENV_BASE_LOAD), L"BMP(OLE)");
        EXPECT_EQ(ControlText(dialog, IDC_ENV_MARK_LOAD), L"B&J(OLE)");
        EXPECT_EQ(ControlText(dialog, IDC_ENV_FACE_LOAD), L"BMP(API)");  // 9 is no mode
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_ENV_FACE_LOAD, CB_GETCOUNT, 0, 0), 5);
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_ENV_CUT_SIZE, CB_GETCOUNT, 0, 0), 6);
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_ENV_CUT_LENGTH, CB_GETCOUNT, 0, 0), 5);
        EXPECT_EQ(ControlText(dialog, IDC_ENV_CARD_WIDTH), L"91.0");
        EXPECT_EQ(ControlText(dialog, IDC_ENV_CARD_HEIGHT), L"0.5");
        EXPECT_EQ(ControlText(dialog, IDC_ENV_PAINT_PROGRAM), L"C:\\お絵描き\\paint.exe");
        ChangeEverything(dialog);
        ClickButton(dialog, IDC_ENV_OK);  // No: the dialog stays, nothing is read
        stayed = IsWindow(dialog) && IsWindowVisible(dialog);
        EXPECT_EQ(std::memcmp(before.get(), &Design(), sizeof(CardDesign)), 0);
        ClickButton(dialog, IDC_ENV_OK);  // Yes
    });
    EXPECT_TRUE(stayed);
    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_EQ(seam.messages[1].text, L"これに変更して良いですか？");
    EXPECT_EQ(seam.messages[1].caption, L"環境設定画面！");
    EXPECT_EQ(seam.messages[1].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    const CardDesign& d = Design();
    EXPECT_EQ(d.b_outline, 0);
    EXPECT_EQ(d.m_outline, 1);
    EXPECT_EQ(d.c_outline, 0);
    EXPECT_EQ(d.p_outline, 1);
    EXPECT_EQ(d.font_plprn, 0);
    EXPECT_EQ(d.p_outline_size, 25);
    EXPECT_EQ(d.p_outline_len, 0);
    EXPECT_EQ(d.base_load_mode, 3);
    EXPECT_EQ(d.mark_load_mode, 0);  // not a mode's name
    EXPECT_EQ(d.phot_load_mode, 2);
    EXPECT_EQ(d.pm_size_x, -30);
    EXPECT_EQ(d.pm_size_y, 910);
    EXPECT_EQ(std::wstring(W(d.oekaki_filename)), L"mspaint.exe");
    // Only the environment changed.
    auto expected = std::make_unique<CardDesign>(*before);
    expected->b_outline = 0, expected->m_outline = 1, expected->c_outline = 0, expected->p_outline = 1;
    expected->font_plprn = 0, expected->p_outline_size = 25, expected->p_outline_len = 0;
    expected->base_load_mode = 3, expected->mark_load_mode = 0, expected->phot_load_mode = 2;
    expected->pm_size_x = -30, expected->pm_size_y = 910;
    SetText(expected->oekaki_filename, u"mspaint.exe");
    EXPECT_EQ(std::memcmp(expected.get(), &d, sizeof(CardDesign)), 0);
}

TEST_F(EnvironmentDialogTest, CancelAndEscapeStoreNothing) {
    auto before = std::make_unique<CardDesign>(Design());
    for (int leave : {IDC_ENV_CANCEL, IDCANCEL}) {
        Open([&](HWND dialog) {
            ChangeEverything(dialog);
            if (leave == IDC_ENV_CANCEL)
                ClickButton(dialog, IDC_ENV_CANCEL);
            else
                SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // the Escape key
        });
        EXPECT_EQ(std::memcmp(before.get(), &Design(), sizeof(CardDesign)), 0) << leave;
    }
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(EnvironmentDialogTest, TrimLinesStartOffAndAreStoredWhenTicked) {
    for (bool tick : {true, false}) {
        seam.message_answers = {IDYES};
        Open([&](HWND dialog) {
            EXPECT_EQ(IsChecked(dialog, IDC_ENV_TRIM_LINES), !tick);
            SetChecked(dialog, IDC_ENV_TRIM_LINES, tick);
            ClickButton(dialog, IDC_ENV_OK);
        });
        EXPECT_EQ(Design().trim_lines, tick ? 1 : 0);
    }
}

}  // namespace
