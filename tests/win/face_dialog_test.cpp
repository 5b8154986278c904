#include "editors/face_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "res/face_dialog_ids.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

constexpr wchar_t kNotLoaded[] = L"画像が読み込み出来ません。";

std::wstring FacePath() { return std::wstring(W(TextOf(Design().phot_data.fm))); }

class FaceDialog : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchStartFolder folder;

    void SetUp() override {
        ResetDesign(Design(), SettingsScope::Full);
        Design().base_w = 600;
        Design().base_h = 360;
        Design().phot_load_mode = 0;
        Design().phot_data = PhotData{};
        ASSERT_TRUE(CreateDirectoryW(folder.File(L"phot").c_str(), nullptr));
    }
    // A picture of one colour, written relative to the start folder; returns that name.
    std::wstring Picture(const std::wstring& name, int width, int height, COLORREF colour = kRed) {
        const auto bytes = MakeBmp(width, height, [colour](int, int) { return colour; });
        EXPECT_TRUE(WriteBytes(folder.File(name), bytes.data(), bytes.size()));
        return name;
    }
    void Open(const std::function<void(HWND)>& script) {
        bool timed_out = false;
        DriveModal([] { ShowFaceDialog(nullptr); return INT_PTR{1}; }, script, &timed_out);
        EXPECT_FALSE(timed_out);
    }
};

TEST_F(FaceDialog, ShowsTheFaceAtItsOwnSizeCutOffBeforeTheControls) {
    // Taller and wider than the preview area, so that it would paint over the buttons.
    const std::wstring big = Picture(L"phot\\phot-big.bmp", 400, 500, kBlue);
    Picture(L"phot\\phot-small.bmp", 30, 40);
    PhotData& face = Design().phot_data;
    face = {1, 12, -3, 80, 120, {}};
    SetText(face.fm, U16(big.c_str()));
    Open([&](HWND dialog) {
        EXPECT_TRUE(IsChecked(dialog, IDC_FACE_USE));
        EXPECT_EQ(ControlText(dialog, IDC_FACE_X), L"12");
        EXPECT_EQ(ControlText(dialog, IDC_FACE_Y), L"-3");
        EXPECT_EQ(ControlText(dialog, IDC_FACE_WIDTH), L"80");
        EXPECT_EQ(ControlText(dialog, IDC_FACE_HEIGHT), L"120");
        EXPECT_EQ(ControlText(dialog, IDC_FACE_PATH), big);

        RECT area{0, 0, FACE_PREVIEW_RIGHT, FACE_PREVIEW_BOTTOM};
        MapDialogRect(dialog, &area);
        TestBitmap pixels(area.right + 20, area.bottom + 20);
        pixels.CopyFromWindow(dialog, 0, 0);
        EXPECT_EQ(pixels.Pixel(0, 0), kBlue);
        EXPECT_EQ(pixels.Pixel(area.right - 1, area.bottom - 1), kBlue);
        EXPECT_NE(pixels.Pixel(area.right + 2, 5), kBlue);
        EXPECT_NE(pixels.Pixel(5, area.bottom + 2), kBlue);
        // Every control lies outside the preview's area.
        RECT photo{};
        GetWindowRect(GetDlgItem(dialog, IDC_FACE_USE), &photo);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&photo), 2);
        EXPECT_GE(photo.left, area.right);
        GetWindowRect(GetDlgItem(dialog, IDC_FACE_PATH), &photo);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&photo), 2);
        EXPECT_GE(photo.top, area.bottom);

        // The first 次 shows the second picture of the folder, at its own size.
        ClickButton(dialog, IDC_FACE_NEXT);
        EXPECT_EQ(ControlText(dialog, IDC_FACE_PATH), L"phot\\phot-small.bmp");
        TestBitmap small(60, 60);
        small.CopyFromWindow(dialog, 0, 0);
        EXPECT_EQ(small.Pixel(29, 39), kRed);
        EXPECT_NE(small.Pixel(31, 10), kRed);
        EXPECT_NE(small.Pixel(10, 41), kRed);
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(FacePath(), big);  // the close box stores nothing
    EXPECT_EQ(Design().phot_data.w, 80);
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(FaceDialog, NextAndPreviousStepThroughTheFaceFolderAndOkStoresTheLastShown) {
    Picture(L"phot\\Phot-c.bmp", 30, 31);
    Picture(L"phot\\phot-a.bmp", 10, 11);
    Picture(L"phot\\phot-b.bmp", 20, 21);
    Picture(L"phot\\other.bmp", 5, 5);  // not a face: its name does not start with "phot"
    seam.message_answers = {IDNO, IDYES};
    bool stayed = false;
    Open([&](HWND dialog) {
        EXPECT_FALSE(IsChecked(dialog, IDC_FACE_USE));
        ClickButton(dialog, IDC_FACE_PREVIOUS);  // from the first to the last
        EXPECT_EQ(ControlText(dialog, IDC_FACE_PATH), L"phot\\Phot-c.bmp");
        ClickButton(dialog, IDC_FACE_NEXT);  // past the last: the first again
        EXPECT_EQ(ControlText(dialog, IDC_FACE_PATH), L"phot\\phot-a.bmp");
        ClickButton(dialog, IDC_FACE_NEXT);
        EXPECT_EQ(ControlText(dialog, IDC_FACE_PATH), L"phot\\phot-b.bmp");
        EXPECT_EQ(ControlText(dialog, IDC_FACE_WIDTH), L"20");
        EXPECT_EQ(ControlText(dialog, IDC_FACE_HEIGHT), L"21");
        EXPECT_TRUE(IsChecked(dialog, IDC_FACE_USE));
        EXPECT_EQ(FacePath(), L"");  // the design waits for OK
        SetControlText(dialog, IDC_FACE_X, L"590");
        SetControlText(dialog, IDC_FACE_Y, L"-7");
        ClickButton(dialog, IDC_FACE_OK);
        stayed = IsWindow(dialog) && FacePath().empty();
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // Escape does nothing
        stayed = stayed && IsWindow(dialog);
        ClickButton(dialog, IDC_FACE_OK);
    });
    EXPECT_TRUE(stayed);
    ASSERT_EQ(seam.messages.size(), 2u) << seam.MessageTexts();
    EXPECT_EQ(seam.messages[0].text, L"これに変更して良いですか？");
    EXPECT_EQ(seam.messages[0].caption, L"ベース画面！");
    EXPECT_EQ(seam.messages[0].type & 0xF, static_cast<UINT>(MB_YESNO));
    const PhotData& face = Design().phot_data;
    EXPECT_EQ(FacePath(), L"phot\\phot-b.bmp");
    EXPECT_EQ(face.on, 1);
    EXPECT_EQ(face.w, 20);
    EXPECT_EQ(face.h, 21);
    EXPECT_EQ(face.x, 580);  // kept on the card
    EXPECT_EQ(face.y, 0);
}

TEST_F(FaceDialog, BrowseTakesALoadablePictureAtOnceAndRefusesOneThatIsNot) {
    const std::wstring chosen = Picture(L"portrait.bmp", 700, 400);
    ASSERT_TRUE(WriteBytes(folder.File(L"phot\\phot-empty.bmp"), "", 0));
    const std::wstring broken = folder.File(L"phot\\phot-empty.bmp");
    seam.file_answers = {FileAnswer{true, folder.File(chosen), 1}, FileAnswer{true, broken, 1}, FileAnswer{false, L"", 1}};
    seam.message_answers = {IDOK, IDYES};
    Open([&](HWND dialog) {
        ClickButton(dialog, IDC_FACE_BROWSE);
        EXPECT_EQ(FacePath(), folder.File(chosen));
        EXPECT_EQ(ControlText(dialog, IDC_FACE_WIDTH), L"700");
        EXPECT_TRUE(IsChecked(dialog, IDC_FACE_USE));

        ClickButton(dialog, IDC_FACE_BROWSE);  // a picture that cannot be read
        EXPECT_EQ(FacePath(), folder.File(chosen));
        EXPECT_EQ(ControlText(dialog, IDC_FACE_PATH), broken);
        ClickButton(dialog, IDC_FACE_BROWSE);  // cancelled: nothing changes
        EXPECT_EQ(ControlText(dialog, IDC_FACE_PATH), broken);
        SetControlText(dialog, IDC_FACE_PATH, folder.File(chosen));
        ClickButton(dialog, IDC_FACE_OK);
    });
    ASSERT_EQ(seam.file_dialogs.size(), 3u);
    EXPECT_EQ(seam.file_dialogs[0].title, L"画像ファイルの在処を指定");
    ASSERT_EQ(seam.messages.size(), 2u) << seam.MessageTexts();
    EXPECT_EQ(seam.messages[0].text, kNotLoaded);
    EXPECT_EQ(seam.messages[0].caption, L"LoadImage");
    // Larger than the card: the card's size at its corner.
    const PhotData& face = Design().phot_data;
    EXPECT_EQ(face.w, 600);
    EXPECT_EQ(face.h, 360);
    EXPECT_EQ(face.x, 0);
    EXPECT_EQ(face.y, 0);
}

TEST_F(FaceDialog, AnEmptyFolderIsToldAndBrowsingAndToolsChangeNothing) {
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"phot\\phot-dir.bmp").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(folder.File(L"phot\\phot-text.jpg"), "not a picture", 13));
    PhotData& face = Design().phot_data;
    face = {0, 1, 2, 3, 4, {}};
    SetText(face.fm, u"phot\\missing.bmp");
    SetText(Design().oekaki_filename, u"no_such_paint_program.exe");
    CardDesign before;
    std::memcpy(&before, &Design(), sizeof(before));
    Open([&](HWND dialog) {
        ClickButton(dialog, IDC_FACE_NEXT);
        ClickButton(dialog, IDC_FACE_PREVIOUS);
        ClickButton(dialog, IDC_FACE_PHOTO);
        ClickButton(dialog, IDC_FACE_PORTRAIT);
        EXPECT_EQ(ControlText(dialog, IDC_FACE_PATH), L"phot\\missing.bmp");
        EXPECT_FALSE(IsChecked(dialog, IDC_FACE_USE));
        ClickButton(dialog, IDC_FACE_PAINT);  // the program is missing; the path stays
        ClickButton(dialog, IDC_FACE_HELP);
        ClickButton(dialog, IDC_FACE_CANCEL);
    });
    ASSERT_EQ(seam.messages.size(), 3u) << seam.MessageTexts();
    EXPECT_EQ(seam.messages[0].text, L"画像ファイルが見つかりませんでした。");
    EXPECT_EQ(seam.messages[0].caption, L"templet_file");
    EXPECT_EQ(seam.messages[1].text, L"お絵描きソフトが見つかりませんでした。");
    EXPECT_EQ(seam.messages[2].text, kNotLoaded);  // the paint program's file, reloaded
    EXPECT_EQ(seam.opened_documents, std::vector<std::wstring>{L"Vivivuz_manual.pdf"});
    EXPECT_EQ(std::memcmp(&before, &Design(), sizeof(before)), 0);
}

}  // namespace
