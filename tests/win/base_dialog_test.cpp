#include "editors/base_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <utility>

#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "res/base_dialog_ids.h"
#include "res/import_save_ids.h"
#include "res/photo_editor_ids.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

constexpr wchar_t kNoPictures[] = L"画像ファイルが見つかりませんでした。";
constexpr wchar_t kNotLoaded[] = L"画像が読み込み出来ません。";

// Which pure colour a pixel shows, with room for the half-tone stretch: 'R', 'G', 'B',
// or '?' for anything else (the dialog's face where nothing is drawn).
char ColourOf(COLORREF c) {
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    if (r > 200 && g < 60 && b < 60) return 'R';
    if (g > 200 && r < 60 && b < 60) return 'G';
    if (b > 200 && r < 60 && g < 60) return 'B';
    return '?';
}

// The preview as the dialog shows it now.
class Preview {
public:
    explicit Preview(HWND dialog) : pixels_(kBasePreviewWidth, kBasePreviewHeight) {
        pixels_.CopyFromWindow(dialog, kBasePreviewLeft, kBasePreviewTop);
    }
    // The colours at the left edge, the middle and the right edge, half way down.
    std::string Across() const {
        const int y = kBasePreviewHeight / 2;
        return {ColourOf(pixels_.Pixel(3, y)), ColourOf(pixels_.Pixel(kBasePreviewWidth / 2, y)),
                ColourOf(pixels_.Pixel(kBasePreviewWidth - 4, y))};
    }

private:
    TestBitmap pixels_;
};

// Types into the placement box as the user does: the text changes and the box tells.
void TypePlacement(HWND dialog, const wchar_t* text) {
    SetControlText(dialog, IDC_BASE_PLACEMENT, text);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_BASE_PLACEMENT, CBN_EDITCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_BASE_PLACEMENT)));
}

std::wstring DesignPath() { return std::wstring(W(TextOf(Design().base_filepass))); }

class BaseDialog : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchStartFolder folder;

    void SetUp() override {
        ResetDesign(Design(), SettingsScope::Full);
        ASSERT_TRUE(CreateDirectoryW(folder.File(L"base").c_str(), nullptr));
    }
    void WritePicture(const std::wstring& name, int w, int h, const std::function<COLORREF(int, int)>& colour) {
        const auto bytes = MakeBmp(w, h, colour);
        ASSERT_TRUE(WriteBytes(folder.File(name), bytes.data(), bytes.size()));
    }
    void WriteSolid(const std::wstring& name, COLORREF colour) {
        WritePicture(name, 8, 8, [colour](int, int) { return colour; });
    }
    // Three bands across, red, green and blue, each 100 x 100.
    void WriteBands(const std::wstring& name) {
        WritePicture(name, 300, 100, [](int x, int) { return x < 100 ? kRed : x < 200 ? kGreen : kBlue; });
    }
    void WriteText(const std::wstring& name, const char* text) {
        ASSERT_TRUE(WriteBytes(folder.File(name), text, strlen(text)));
    }
    void Open(const std::function<void(HWND)>& script) {
        bool timed_out = false;
        DriveModal([] { ShowBaseDialog(nullptr); return INT_PTR{1}; }, script, &timed_out);
        EXPECT_FALSE(timed_out);
    }
    std::wstring Captions() const {
        std::wstring all;
        for (const auto& m : seam.messages) all += m.caption + L"\n";
        return all;
    }
};

TEST_F(BaseDialog, FormShowsTheDesign) {
    WriteSolid(L"base\\a.bmp", kRed);
    Design().base_w = 600;
    Design().base_h = 360;
    Design().base_pl_mode = 3;
    SetText(Design().base_filepass, u"base\\a.bmp");
    Open([](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_BASE_WIDTH), L"600");
        EXPECT_EQ(ControlText(dialog, IDC_BASE_HEIGHT), L"360");
        EXPECT_EQ(ControlText(dialog, IDC_BASE_PATH), L"base\\a.bmp");
        EXPECT_EQ(ControlText(dialog, IDC_BASE_PLACEMENT), L"3:右下");
        EXPECT_EQ(Preview(dialog).Across(), "RRR");
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(seam.messages.empty()) << Captions();

    Design().base_pl_mode = 7;  // places like fit
    Open([](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_BASE_PLACEMENT), L"0:ﾌｨｯﾄ");
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(Design().base_pl_mode, 7);  // the close box stores nothing
}

TEST_F(BaseDialog, OkAskedNoKeepsTheDialogAndYesStoresTheForm) {
    WriteSolid(L"base\\a.bmp", kRed);
    WriteSolid(L"base\\b.bmp", kGreen);
    SetText(Design().base_filepass, u"base\\a.bmp");
    seam.message_answers = {IDNO};
    bool still_open = false;
    Open([&](HWND dialog) {
        SetControlText(dialog, IDC_BASE_WIDTH, L"500");
        SetControlText(dialog, IDC_BASE_HEIGHT, L"300");
        SetControlText(dialog, IDC_BASE_PATH, L"base\\b.bmp");
        SetControlText(dialog, IDC_BASE_PLACEMENT, L"7");
        ClickButton(dialog, IDC_BASE_OK);
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // the Escape key does nothing either
        still_open = IsWindow(dialog) && IsWindowVisible(dialog);
        EXPECT_EQ(Design().base_w, 455);
        EXPECT_EQ(DesignPath(), L"base\\a.bmp");
        ClickButton(dialog, IDC_BASE_OK);  // Yes
    });
    EXPECT_TRUE(still_open);
    ASSERT_EQ(seam.messages.size(), 2u) << Captions();
    for (const auto& m : seam.messages) {
        EXPECT_EQ(m.text, L"これに変更して良いですか？");
        EXPECT_EQ(m.caption, L"ベース画面！");
        EXPECT_EQ(m.type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    }
    EXPECT_EQ(Design().base_w, 500);
    EXPECT_EQ(Design().base_h, 300);
    EXPECT_EQ(DesignPath(), L"base\\b.bmp");
    EXPECT_EQ(Design().base_pl_mode, 7);
}

TEST_F(BaseDialog, SizesThatCannotBeDrawnAndPathsThatDoNotFitAreRefused) {
    WriteSolid(L"base\\a.bmp", kRed);
    SetText(Design().base_filepass, u"base\\a.bmp");
    Open([](HWND dialog) {
        SetControlText(dialog, IDC_BASE_WIDTH, L"0");
        SetControlText(dialog, IDC_BASE_HEIGHT, L"-5");
        SetControlText(dialog, IDC_BASE_PATH, L"base\\" + std::wstring(300, L'x') + L".bmp");
        ClickButton(dialog, IDC_BASE_OK);
    });
    EXPECT_EQ(Design().base_w, 455);
    EXPECT_EQ(Design().base_h, 275);
    EXPECT_EQ(DesignPath(), L"base\\a.bmp");

    Open([](HWND dialog) {
        SetControlText(dialog, IDC_BASE_WIDTH, L"100000");
        SetControlText(dialog, IDC_BASE_HEIGHT, L"abc");
        ClickButton(dialog, IDC_BASE_OK);
    });
    EXPECT_EQ(Design().base_w, 10000);
    EXPECT_EQ(Design().base_h, 275);
    // The bounded card still previews: a thin strip across the middle of the bands.
    WriteBands(L"base\\bands.bmp");
    SetText(Design().base_filepass, u"base\\bands.bmp");
    Design().base_pl_mode = 1;
    Open([](HWND dialog) {
        EXPECT_EQ(Preview(dialog).Across(), "RGB");
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(seam.messages.size(), 2u) << Captions();  // the two confirmations
}

TEST_F(BaseDialog, CancelPutsBackPathAndPlacementExactly) {
    WriteSolid(L"base\\a.bmp", kRed);
    WriteSolid(L"base\\b.bmp", kGreen);
    // Units past the terminator come back too.
    CardDesign& d = Design();
    std::fill(std::begin(d.base_filepass), std::end(d.base_filepass), u'z');
    SetText(d.base_filepass, u"base\\a.bmp");
    d.base_filepass[200] = u'q';
    d.base_pl_mode = 2;
    char16_t before[256];
    std::copy(std::begin(d.base_filepass), std::end(d.base_filepass), before);
    const std::wstring browsed = folder.File(L"base\\b.bmp");
    seam.file_answers = {{true, browsed}};
    Open([&](HWND dialog) {
        ClickButton(dialog, IDC_BASE_BROWSE);
        EXPECT_EQ(ControlText(dialog, IDC_BASE_PATH), browsed);
        EXPECT_EQ(DesignPath(), browsed);  // taken at once
        EXPECT_EQ(Preview(dialog).Across(), "GGG");
        TypePlacement(dialog, L"3:右下");
        PumpFor(1300);
        EXPECT_EQ(Design().base_pl_mode, 3);
        ClickButton(dialog, IDC_BASE_CANCEL);
    });
    ASSERT_EQ(seam.file_dialogs.size(), 1u);
    EXPECT_EQ(seam.file_dialogs[0].title, L"画像ファイルの在処を指定");
    EXPECT_EQ(seam.file_dialogs[0].initial_name, L"base\\a.bmp");
    EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(d.base_filepass)));
    EXPECT_EQ(d.base_pl_mode, 2);
    EXPECT_TRUE(seam.messages.empty()) << Captions();

    // The close box keeps what the browse button took.
    seam.file_answers = {{true, browsed}};
    Open([](HWND dialog) {
        ClickButton(dialog, IDC_BASE_BROWSE);
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(DesignPath(), browsed);
}

TEST_F(BaseDialog, NextAndPreviousWrapThroughTheSortedFolder) {
    WriteSolid(L"base\\b.bmp", kGreen);
    WriteSolid(L"base\\C.bmp", kBlue);
    WriteSolid(L"base\\a.bmp", kRed);
    WriteText(L"base\\notes.txt", "not a picture");
    SetText(Design().base_filepass, u"base\\a.bmp");
    Open([](HWND dialog) {
        ClickButton(dialog, IDC_BASE_NEXT);  // the index starts on the first entry
        EXPECT_EQ(ControlText(dialog, IDC_BASE_PATH), L"base\\b.bmp");
        EXPECT_EQ(Preview(dialog).Across(), "GGG");
        ClickButton(dialog, IDC_BASE_NEXT);
        EXPECT_EQ(ControlText(dialog, IDC_BASE_PATH), L"base\\C.bmp");
        ClickButton(dialog, IDC_BASE_NEXT);
        EXPECT_EQ(ControlText(dialog, IDC_BASE_PATH), L"base\\a.bmp");
        EXPECT_EQ(Preview(dialog).Across(), "RRR");
        ClickButton(dialog, IDC_BASE_PREVIOUS);
        EXPECT_EQ(ControlText(dialog, IDC_BASE_PATH), L"base\\C.bmp");
        EXPECT_EQ(Preview(dialog).Across(), "BBB");
        EXPECT_EQ(DesignPath(), L"base\\a.bmp");  // only OK takes it
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    // A picture added meanwhile is found by the next opening, which starts on the first.
    WriteSolid(L"base\\d.bmp", kGreen);
    Open([](HWND dialog) {
        ClickButton(dialog, IDC_BASE_PREVIOUS);
        EXPECT_EQ(ControlText(dialog, IDC_BASE_PATH), L"base\\d.bmp");
        ClickButton(dialog, IDC_BASE_OK);
    });
    EXPECT_EQ(DesignPath(), L"base\\d.bmp");
    EXPECT_EQ(seam.messages.size(), 1u) << Captions();  // the confirmation only
}

TEST_F(BaseDialog, EmptyFolderSaysSoAndBrowsingDoesNothing) {
    WriteSolid(L"elsewhere.bmp", kBlue);
    SetText(Design().base_filepass, u"elsewhere.bmp");
    Open([](HWND dialog) {
        ClickButton(dialog, IDC_BASE_NEXT);
        ClickButton(dialog, IDC_BASE_PREVIOUS);
        EXPECT_EQ(ControlText(dialog, IDC_BASE_PATH), L"elsewhere.bmp");
        EXPECT_EQ(Preview(dialog).Across(), "BBB");
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    ASSERT_EQ(seam.messages.size(), 1u) << Captions();
    EXPECT_EQ(seam.messages[0].text, kNoPictures);
    EXPECT_EQ(seam.messages[0].caption, L"templet_file");
    EXPECT_NE(seam.messages[0].owner, nullptr);
}

TEST_F(BaseDialog, PicturesThatDoNotLoadAreReportedAndLeaveTheDesign) {
    Design().base_load_mode = 3;  // bitmaps and JPEG files
    WriteSolid(L"base\\a.bmp", kRed);
    ASSERT_TRUE(WriteBytes(folder.File(L"base\\b.bmp"), "", 0));
    WriteText(L"base\\c.jpg", "plain text, not a JPEG file");
    SetText(Design().base_filepass, u"base\\a.bmp");
    seam.file_answers = {{true, folder.File(L"base\\b.bmp")}};
    Open([](HWND dialog) {
        ClickButton(dialog, IDC_BASE_NEXT);
        EXPECT_EQ(ControlText(dialog, IDC_BASE_PATH), L"base\\b.bmp");
        EXPECT_EQ(Preview(dialog).Across(), "???");
        ClickButton(dialog, IDC_BASE_NEXT);
        EXPECT_EQ(ControlText(dialog, IDC_BASE_PATH), L"base\\c.jpg");
        ClickButton(dialog, IDC_BASE_BROWSE);
        EXPECT_EQ(Preview(dialog).Across(), "???");
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    ASSERT_EQ(seam.messages.size(), 3u) << Captions();
    for (const auto& m : seam.messages) {
        EXPECT_EQ(m.text, kNotLoaded);
        EXPECT_EQ(m.caption, L"ImageLoad");
    }
    EXPECT_EQ(DesignPath(), L"base\\a.bmp");
}

TEST_F(BaseDialog, PreviewShowsThePlacedPartAndFollowsThePlacementBox) {
    WriteBands(L"base\\bands.bmp");
    SetText(Design().base_filepass, u"base\\bands.bmp");
    Design().base_w = Design().base_h = 100;  // a square card takes one band in a crop
    Design().base_pl_mode = 1;
    // The box is read a second after the last change.
    Open([](HWND dialog) {
        EXPECT_EQ(Preview(dialog).Across(), "GGG");
        for (auto [typed, across] : {std::pair{L"2:左上", "RRR"}, std::pair{L"7", "RGB"}, std::pair{L"3:右下", "BBB"}}) {
            TypePlacement(dialog, typed);
            PumpFor(1200);
            EXPECT_EQ(Preview(dialog).Across(), across) << across;
        }
        EXPECT_EQ(Design().base_pl_mode, 3);
        ClickButton(dialog, IDC_BASE_CANCEL);
    });
    // The next opening compares with the placement it opened with, not the one applied last.
    Design().base_pl_mode = 0;
    Open([](HWND dialog) {
        EXPECT_EQ(Preview(dialog).Across(), "RGB");
        TypePlacement(dialog, L"3:右下");
        EXPECT_EQ(Preview(dialog).Across(), "RGB");
        PumpFor(1200);
        EXPECT_EQ(Preview(dialog).Across(), "BBB");
        ClickButton(dialog, IDC_BASE_CANCEL);
    });
    EXPECT_EQ(Design().base_pl_mode, 0);
    EXPECT_TRUE(seam.messages.empty()) << Captions();
}

TEST_F(BaseDialog, PaintProgramAndPhotoEditorTakeThePathBoxAndWhatTheySaved) {
    WriteSolid(L"base\\a.bmp", kRed);
    WriteSolid(L"base\\b.bmp", kGreen);
    SetText(Design().base_filepass, u"base\\a.bmp");
    SetText(Design().oekaki_filename, u"no_such_paint_program.exe");
    Open([this](HWND dialog) {
        SetControlText(dialog, IDC_BASE_PATH, L"base\\b.bmp");
        ClickButton(dialog, IDC_BASE_PAINT);
        EXPECT_EQ(DesignPath(), L"base\\b.bmp");
        EXPECT_EQ(Preview(dialog).Across(), "GGG");
        // The editor proposes the card's size; a cut of the blue photo saved there
        // becomes the base picture.
        WritePicture(L"base\\photo.bmp", 40, 30, [](int, int) { return kBlue; });
        seam.file_answers.push_back({true, folder.File(L"base\\photo.bmp")});
        seam.file_answers.push_back({true, folder.File(L"base\\cut.bmp")});
        DriveModal([&] { ClickButton(dialog, IDC_BASE_PHOTO); return INT_PTR{1}; }, [](HWND editor) {
            EXPECT_EQ(ControlText(editor, IDC_PHOTO_CUT_WIDTH), L"455");
            EXPECT_EQ(ControlText(editor, IDC_PHOTO_CUT_HEIGHT), L"275");
            ClickButton(editor, IDC_PHOTO_BROWSE);
            CheckRadioButton(editor, IDC_PHOTO_MOVE, IDC_PHOTO_DRAGGED_CUT, IDC_PHOTO_DRAGGED_CUT);
            SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 0));
            DriveModal([&] { SendMessageW(editor, WM_LBUTTONUP, 0, MAKELPARAM(20, 10)); return INT_PTR{1}; },
                       [](HWND save) { ClickButton(save, IDC_IMPORT_SAVE); });
            ClickButton(editor, IDC_PHOTO_CLOSE);
        });
        EXPECT_EQ(ControlText(dialog, IDC_BASE_PATH), L"base\\cut.bmp");
        EXPECT_EQ(Preview(dialog).Across(), "BBB");
        ClickButton(dialog, IDC_BASE_CANCEL);
    });
    ASSERT_EQ(seam.messages.size(), 1u) << Captions();
    EXPECT_EQ(seam.messages[0].caption, L"CreateProcess");
    EXPECT_EQ(DesignPath(), L"base\\a.bmp");
}

}  // namespace
