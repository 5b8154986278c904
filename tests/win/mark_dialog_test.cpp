#include "editors/mark_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "editors/mark_rows.h"
#include "recording_seam.h"
#include "res/mark_dialog_ids.h"
#include "res/photo_editor_ids.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

constexpr wchar_t kNoPictures[] = L"画像ファイルが見つかりませんでした。";
constexpr wchar_t kNotLoaded[] = L"画像が読み込み出来ません。";

// Mark j's preview area as the dialog shows it now, with a margin of 10 pixels to the right
// and below.
class Preview {
public:
    Preview(HWND dialog, int mark) : pixels_(kMarkPreviewWidth + 10, kMarkPreviewHeight + 10) {
        pixels_.CopyFromWindow(dialog, kMarkPreviewLeft, kMarkPreviewTop + kMarkPreviewPitch * mark);
    }
    COLORREF Pixel(int x, int y) const { return pixels_.Pixel(x, y); }

private:
    TestBitmap pixels_;
};

std::wstring MarkPath(int j) { return std::wstring(W(TextOf(Design().mark_data[j].fm))); }

class MarkDialog : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchStartFolder folder;

    void SetUp() override {
        ResetDesign(Design(), SettingsScope::Full);
        Design().base_w = 600;
        Design().base_h = 360;
        Design().mark_load_mode = 0;
        for (MarkData& mark : Design().mark_data) mark = MarkData{};
        ASSERT_TRUE(CreateDirectoryW(folder.File(L"mark").c_str(), nullptr));
    }

    // A picture of the mark folder, width x height of one colour; returns its entry name.
    std::wstring Picture(const std::wstring& name, int width, int height, COLORREF colour = kRed) {
        const auto bytes = MakeBmp(width, height, [colour](int, int) { return colour; });
        EXPECT_TRUE(WriteBytes(folder.File(L"mark\\" + name), bytes.data(), bytes.size()));
        return L"mark\\" + name;
    }

    void Open(const std::function<void(HWND)>& script) {
        bool timed_out = false;
        DriveModal([] { ShowMarkDialog(nullptr); return INT_PTR{1}; }, script, &timed_out);
        EXPECT_FALSE(timed_out);
    }
};

TEST_F(MarkDialog, FillsTheFormAndPreviewsOnlyTheMarksInUse) {
    const std::wstring red = Picture(L"red.bmp", 40, 20);
    MarkData& first = Design().mark_data[0];
    first = {1, 12, -3, 40, 20, 1, {}};
    SetText(first.fm, U16(red.c_str()));
    MarkData& second = Design().mark_data[1];
    second = {0, 5, 6, 7, 8, 0, {}};
    SetText(second.fm, U16(red.c_str()));  // a good picture, but the mark is not used
    Open([&](HWND dialog) {
        EXPECT_TRUE(IsChecked(dialog, IDC_MARK_USE + 0));
        EXPECT_EQ(ControlText(dialog, IDC_MARK_X + 0), L"12");
        EXPECT_EQ(ControlText(dialog, IDC_MARK_Y + 0), L"-3");
        EXPECT_EQ(ControlText(dialog, IDC_MARK_WIDTH + 0), L"40");
        EXPECT_EQ(ControlText(dialog, IDC_MARK_HEIGHT + 0), L"20");
        EXPECT_TRUE(IsChecked(dialog, IDC_MARK_CLEAR + 0));
        EXPECT_EQ(ControlText(dialog, IDC_MARK_FILE + 0), red);
        EXPECT_FALSE(IsChecked(dialog, IDC_MARK_USE + 1));
        EXPECT_EQ(ControlText(dialog, IDC_MARK_HEIGHT + 1), L"8");
        EXPECT_FALSE(IsChecked(dialog, IDC_MARK_CLEAR + 1));
        EXPECT_EQ(ControlText(dialog, IDC_MARK_FILE + 1), red);

        // A small picture keeps its own size in the preview.
        const Preview used(dialog, 0);
        EXPECT_EQ(used.Pixel(1, 1), kRed);
        EXPECT_EQ(used.Pixel(39, 19), kRed);
        EXPECT_NE(used.Pixel(41, 10), kRed);
        EXPECT_NE(used.Pixel(10, 21), kRed);
        EXPECT_NE(Preview(dialog, 1).Pixel(10, 10), kRed);
        // The previews lie right of every row's controls and inside the dialog.
        RECT rows{217, 0, 331, 0};
        MapDialogRect(dialog, &rows);
        EXPECT_LT(rows.left, kMarkPreviewLeft);
        EXPECT_GT(rows.right, kMarkPreviewLeft + kMarkPreviewWidth);
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(Design().mark_data[0].x, 12);
    EXPECT_EQ(Design().mark_data[0].y, -3);  // the close box stores nothing
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(MarkDialog, OkAskedNoKeepsTheDialogAndYesStoresTheRowsOnTheCard) {
    Picture(L"a.bmp", 10, 10);
    const MarkData before = Design().mark_data[0];
    seam.message_answers = {IDNO, IDYES};
    bool stayed = false;
    Open([&](HWND dialog) {
        SetChecked(dialog, IDC_MARK_USE + 0, true);
        SetControlText(dialog, IDC_MARK_X + 0, L"-5");
        SetControlText(dialog, IDC_MARK_Y + 0, L"30");
        SetControlText(dialog, IDC_MARK_WIDTH + 0, L"700");
        SetControlText(dialog, IDC_MARK_HEIGHT + 0, L"abc");
        SetChecked(dialog, IDC_MARK_CLEAR + 0, true);
        SetControlText(dialog, IDC_MARK_FILE + 0, L"mark\\a.bmp");
        SetChecked(dialog, IDC_MARK_USE + 4, true);
        SetControlText(dialog, IDC_MARK_X + 4, L"590");
        SetControlText(dialog, IDC_MARK_Y + 4, L"350");
        SetControlText(dialog, IDC_MARK_WIDTH + 4, L"100");
        SetControlText(dialog, IDC_MARK_HEIGHT + 4, L"50");
        ClickButton(dialog, IDC_MARK_OK);
        stayed = IsWindow(dialog) && std::memcmp(&Design().mark_data[0], &before, sizeof(before)) == 0;
        // Escape has no handler: the dialog stays too.
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        stayed = stayed && IsWindow(dialog);
        ClickButton(dialog, IDC_MARK_OK);
    });
    EXPECT_TRUE(stayed);
    ASSERT_EQ(seam.messages.size(), 2u) << seam.MessageTexts();
    for (const ShownMessage& asked : seam.messages) {
        EXPECT_EQ(asked.text, L"これに変更して良いですか？");
        EXPECT_EQ(asked.caption, L"マーク画面！");
        EXPECT_EQ(asked.type & 0xF, static_cast<UINT>(MB_YESNO));
    }
    const MarkData& wide = Design().mark_data[0];
    EXPECT_EQ(wide.on, 1);
    EXPECT_EQ(wide.m, 1);
    EXPECT_EQ(wide.w, 600);  // wider than the card
    EXPECT_EQ(wide.x, 0);
    EXPECT_EQ(wide.h, 1);    // not a number
    EXPECT_EQ(wide.y, 30);
    EXPECT_EQ(MarkPath(0), L"mark\\a.bmp");
    const MarkData& corner = Design().mark_data[4];
    EXPECT_EQ(corner.x, 500);
    EXPECT_EQ(corner.y, 310);
    EXPECT_EQ(corner.w, 100);
    EXPECT_EQ(corner.h, 50);
    EXPECT_EQ(Design().mark_data[2].on, 0);
    EXPECT_EQ(Design().mark_data[2].w, 1);  // unused marks are kept on the card too
}

TEST_F(MarkDialog, BrowseTakesThePathAtOnceAndCancelKeepsIt) {
    Picture(L"a.bmp", 10, 10);
    const std::wstring chosen = folder.File(L"logo.bmp");
    const auto bytes = MakeBmp(200, 120, [](int, int) { return kRed; });
    ASSERT_TRUE(WriteBytes(chosen, bytes.data(), bytes.size()));
    Design().mark_data[2].x = 7;
    seam.file_answers = {FileAnswer{true, chosen, 1}};
    Open([&](HWND dialog) {
        SetControlText(dialog, IDC_MARK_X + 2, L"99");
        ClickButton(dialog, IDC_MARK_BROWSE + 2);
        EXPECT_EQ(MarkPath(2), chosen);
        EXPECT_EQ(ControlText(dialog, IDC_MARK_FILE + 2), chosen);
        EXPECT_EQ(ControlText(dialog, IDC_MARK_WIDTH + 2), L"200");
        EXPECT_EQ(ControlText(dialog, IDC_MARK_HEIGHT + 2), L"120");
        EXPECT_TRUE(IsChecked(dialog, IDC_MARK_USE + 2));
        // Squeezed into the preview, not cropped.
        const Preview preview(dialog, 2);
        EXPECT_EQ(preview.Pixel(kMarkPreviewWidth - 1, kMarkPreviewHeight - 1), kRed);
        EXPECT_NE(preview.Pixel(kMarkPreviewWidth + 1, 10), kRed);
        EXPECT_NE(preview.Pixel(10, kMarkPreviewHeight + 1), kRed);
        // A cancelled browse changes nothing.
        ClickButton(dialog, IDC_MARK_BROWSE + 3);
        EXPECT_EQ(ControlText(dialog, IDC_MARK_FILE + 3), L"");
        EXPECT_FALSE(IsChecked(dialog, IDC_MARK_USE + 3));
        ClickButton(dialog, IDC_MARK_CANCEL);
    });
    ASSERT_EQ(seam.file_dialogs.size(), 2u);
    EXPECT_EQ(seam.file_dialogs[0].title, L"画像ファイルの在処を指定");
    EXPECT_EQ(seam.file_dialogs[1].initial_name, folder.Path() + L"\\mark\\*.bmp");
    EXPECT_EQ(MarkPath(2), chosen);
    EXPECT_EQ(Design().mark_data[2].x, 7);  // typing is read only on OK
    EXPECT_EQ(Design().mark_data[2].on, 0);
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(MarkDialog, NextAndPreviousStepThroughTheSortedFolderEachMarkOnItsOwn) {
    Picture(L"c.bmp", 30, 31);
    Picture(L"A.bmp", 10, 11);
    Picture(L"b.bmp", 20, 21);
    const auto bytes = MakeBmp(5, 5, [](int, int) { return kRed; });
    WriteBytes(folder.File(L"mark\\notes.txt"), bytes.data(), bytes.size());
    Open([&](HWND dialog) {
        ClickButton(dialog, IDC_MARK_NEXT + 0);
        EXPECT_EQ(ControlText(dialog, IDC_MARK_FILE + 0), L"mark\\b.bmp");
        EXPECT_EQ(ControlText(dialog, IDC_MARK_WIDTH + 0), L"20");
        EXPECT_EQ(ControlText(dialog, IDC_MARK_HEIGHT + 0), L"21");
        EXPECT_TRUE(IsChecked(dialog, IDC_MARK_USE + 0));
        ClickButton(dialog, IDC_MARK_NEXT + 0);
        EXPECT_EQ(ControlText(dialog, IDC_MARK_FILE + 0), L"mark\\c.bmp");
        ClickButton(dialog, IDC_MARK_NEXT + 0);  // past the last: the first again
        EXPECT_EQ(ControlText(dialog, IDC_MARK_FILE + 0), L"mark\\A.bmp");
        EXPECT_EQ(ControlText(dialog, IDC_MARK_WIDTH + 0), L"10");

        ClickButton(dialog, IDC_MARK_PREVIOUS + 1);  // below the first: the last
        EXPECT_EQ(ControlText(dialog, IDC_MARK_FILE + 1), L"mark\\c.bmp");
        ClickButton(dialog, IDC_MARK_PREVIOUS + 1);
        EXPECT_EQ(ControlText(dialog, IDC_MARK_FILE + 1), L"mark\\b.bmp");
        EXPECT_EQ(ControlText(dialog, IDC_MARK_FILE + 0), L"mark\\A.bmp");
        EXPECT_EQ(MarkPath(0), L"");  // the design waits for OK
        ClickButton(dialog, IDC_MARK_OK);
    });
    EXPECT_EQ(MarkPath(0), L"mark\\A.bmp");
    EXPECT_EQ(Design().mark_data[0].on, 1);
    EXPECT_EQ(Design().mark_data[0].w, 10);
    EXPECT_EQ(Design().mark_data[0].h, 11);
    EXPECT_EQ(MarkPath(1), L"mark\\b.bmp");
    EXPECT_EQ(Design().mark_data[1].w, 20);
}

TEST_F(MarkDialog, AnEmptyMarkFolderIsToldAndBrowsingItDoesNothing) {
    Open([&](HWND dialog) {
        ClickButton(dialog, IDC_MARK_NEXT + 0);
        ClickButton(dialog, IDC_MARK_PREVIOUS + 3);
        EXPECT_EQ(ControlText(dialog, IDC_MARK_FILE + 0), L"");
        EXPECT_FALSE(IsChecked(dialog, IDC_MARK_USE + 0));
        EXPECT_FALSE(IsChecked(dialog, IDC_MARK_USE + 3));
        ClickButton(dialog, IDC_MARK_CANCEL);
    });
    ASSERT_EQ(seam.messages.size(), 1u) << seam.MessageTexts();
    EXPECT_EQ(seam.messages[0].text, kNoPictures);
    EXPECT_EQ(seam.messages[0].caption, L"templet_file");
    EXPECT_EQ(seam.messages[0].type, static_cast<UINT>(MB_OK));
}

TEST_F(MarkDialog, APictureThatCannotBeLoadedIsToldAndTheDesignStays) {
    Picture(L"a.bmp", 10, 10);
    ASSERT_TRUE(WriteBytes(folder.File(L"mark\\z.bmp"), "", 0));
    MarkData& broken = Design().mark_data[0];
    broken = {1, 3, 4, 5, 6, 0, {}};
    SetText(broken.fm, u"mark\\z.bmp");
    Design().mark_data[1].w = 33;
    Design().mark_data[1].h = 44;
    CardDesign before;
    std::memcpy(&before, &Design(), sizeof(before));
    Open([&](HWND dialog) {
        ASSERT_EQ(seam.messages.size(), 1u);  // the used mark's picture, at opening
        EXPECT_NE(Preview(dialog, 0).Pixel(2, 2), kRed);
        ClickButton(dialog, IDC_MARK_NEXT + 1);
        EXPECT_EQ(seam.messages.size(), 2u);
        EXPECT_EQ(ControlText(dialog, IDC_MARK_FILE + 1), L"mark\\z.bmp");
        EXPECT_TRUE(IsChecked(dialog, IDC_MARK_USE + 1));  // set all the same
        EXPECT_EQ(ControlText(dialog, IDC_MARK_WIDTH + 1), L"33");
        EXPECT_EQ(ControlText(dialog, IDC_MARK_HEIGHT + 1), L"44");
        EXPECT_NE(Preview(dialog, 1).Pixel(2, 2), kRed);
        ClickButton(dialog, IDC_MARK_CANCEL);
    });
    ASSERT_EQ(seam.messages.size(), 2u) << seam.MessageTexts();
    for (const ShownMessage& shown : seam.messages) {
        EXPECT_EQ(shown.text, kNotLoaded);
        EXPECT_EQ(shown.caption, L"ImageLoad");
    }
    EXPECT_EQ(std::memcmp(&before, &Design(), sizeof(before)), 0);
}

TEST_F(MarkDialog, ThePictureToolsScanTheFolderAgain) {
    Picture(L"a.bmp", 10, 10);
    SetText(Design().oekaki_filename, u"no_such_paint_program.exe");
    Open([&](HWND dialog) {
        Picture(L"b.bmp", 20, 20);
        DriveModal([&] { ClickButton(dialog, IDC_MARK_PHOTO); return INT_PTR{1}; }, [](HWND editor) {
            EXPECT_EQ(ControlText(editor, IDC_PHOTO_CUT_WIDTH), L"120");
            EXPECT_EQ(ControlText(editor, IDC_PHOTO_CUT_HEIGHT), L"50");
            SendMessageW(editor, WM_CLOSE, 0, 0);
        });
        EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
        ClickButton(dialog, IDC_MARK_NEXT + 0);
        EXPECT_EQ(ControlText(dialog, IDC_MARK_FILE + 0), L"mark\\b.bmp");

        Picture(L"c.bmp", 30, 30);
        ClickButton(dialog, IDC_MARK_PAINT);
        ClickButton(dialog, IDC_MARK_NEXT + 0);
        EXPECT_EQ(ControlText(dialog, IDC_MARK_FILE + 0), L"mark\\c.bmp");
        ClickButton(dialog, IDC_MARK_CANCEL);
    });
    ASSERT_EQ(seam.messages.size(), 1u) << seam.MessageTexts();
    EXPECT_EQ(seam.messages[0].text, L"お絵描きソフトが見つかりませんでした。");
    EXPECT_EQ(seam.messages[0].caption, L"CreateProcess");
}

TEST_F(MarkDialog, TransparencyLeavesWhiteOutOfThePreviewAtOnce) {
    // White with a black square in the middle, squeezed to 80 x 50.
    const auto bytes = MakeBmp(300, 300, [](int x, int y) {
        return x >= 100 && x < 200 && y >= 100 && y < 200 ? kBlack : kWhite;
    });
    ASSERT_TRUE(WriteBytes(folder.File(L"mark\\square.bmp"), bytes.data(), bytes.size()));
    MarkData& mark = Design().mark_data[3];
    mark = {1, 0, 0, 300, 300, 0, {}};
    SetText(mark.fm, u"mark\\square.bmp");
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    Open([&](HWND dialog) {
        const Preview plain(dialog, 3);
        EXPECT_EQ(plain.Pixel(2, 2), kWhite);
        EXPECT_EQ(plain.Pixel(40, 25), kBlack);
        ClickButton(dialog, IDC_MARK_CLEAR + 3);
        const Preview clear(dialog, 3);
        EXPECT_EQ(clear.Pixel(2, 2), face);
        EXPECT_EQ(clear.Pixel(40, 25), kBlack);
        ClickButton(dialog, IDC_MARK_HELP);
        ClickButton(dialog, IDC_MARK_CANCEL);
    });
    EXPECT_EQ(Design().mark_data[3].m, 0);  // read only on OK
    EXPECT_EQ(seam.opened_documents, std::vector<std::wstring>{L"Vivivuz_manual.pdf"});
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

}  // namespace
