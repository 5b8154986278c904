#include "tools/photo_editor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "render/bitmap_export.h"
#include "res/import_save_ids.h"
#include "res/photo_editor_ids.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "tools/photo_view.h"
#include "tools/picture_tools.h"
#include "win/picture_list.h"
#include "win/process.h"

namespace {

constexpr wchar_t kNotLoaded[] = L"画像が読み込み出来ません。";
constexpr COLORREF kRed = RGB(255, 0, 0);

// The source photo's pixel (x, y): red tells x and green y apart, so a shifted, flipped
// or channel-swapped cut cannot match.
COLORREF Pattern(int x, int y) { return RGB(x * 7 % 256, y * 11 % 256, (x * 3 + y * 5) % 256); }

class PhotoEditor : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchStartFolder folder;

    void SetUp() override {
        ResetDesign(Design(), SettingsScope::Full);
        ASSERT_TRUE(CreateDirectoryW(folder.File(L"phot").c_str(), nullptr));
    }
    void WritePicture(const std::wstring& name, int w, int h, const std::function<COLORREF(int, int)>& colour) {
        const auto bytes = MakeBmp(w, h, colour);
        ASSERT_TRUE(WriteBytes(folder.File(name), bytes.data(), bytes.size()));
    }
    void Choose(const std::wstring& name) { seam.file_answers.push_back({true, folder.File(name)}); }
    // Runs the editor for faces and returns what it saved.
    std::wstring Open(const std::function<void(HWND)>& script) {
        bool timed_out = false;
        std::wstring saved;
        DriveModal([&] { saved = RunPhotoEditorForPicture(nullptr, kFaceBitmap); return INT_PTR{1}; }, script,
                   &timed_out);
        EXPECT_FALSE(timed_out);
        return saved;
    }
    std::wstring Texts() const { return seam.MessageTexts(); }
};

void SetMode(HWND dialog, int mode) {
    CheckRadioButton(dialog, IDC_PHOTO_MOVE, IDC_PHOTO_DRAGGED_CUT, mode);
}

// A press at one point and a release at another, as the mouse gives them. Returns true
// when the save window opened; save_window (if any) then runs in it.
bool Drag(HWND dialog, POINT from, POINT to, const std::function<void(HWND)>& save_window = nullptr) {
    SendMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageW(dialog, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    bool opened = false;
    DriveModal(
        [&] {
            SendMessageW(dialog, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
            return INT_PTR{1};
        },
        [&](HWND save) {
            opened = true;
            if (save_window) save_window(save);
            else ClickButton(save, IDC_IMPORT_CANCEL);
        },
        nullptr, 1500);
    return opened;
}

TEST_F(PhotoEditor, FixedCutAtScaleOneSavesTheSourcePixels) {
    WritePicture(L"phot\\source.bmp", 200, 150, Pattern);
    Choose(L"phot\\source.bmp");
    Choose(L"phot\\cut1.bmp");
    Choose(L"phot\\cut2.bmp");
    const std::wstring saved = Open([&](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_PHOTO_CUT_WIDTH), L"80");
        EXPECT_EQ(ControlText(dialog, IDC_PHOTO_CUT_HEIGHT), L"120");
        // The view lies above every control.
        RECT control{};
        GetWindowRect(GetDlgItem(dialog, IDC_PHOTO_PATH), &control);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control), 2);
        EXPECT_GE(control.top, kViewHeight);
        ClickButton(dialog, IDC_PHOTO_BROWSE);
        EXPECT_EQ(ControlText(dialog, IDC_PHOTO_PATH), folder.File(L"phot\\source.bmp"));
        SetMode(dialog, IDC_PHOTO_FIXED_CUT);
        EXPECT_TRUE(Drag(dialog, {10, 20}, {10, 20}, [](HWND save) {
            RECT r{};
            GetWindowRect(save, &r);
            EXPECT_EQ(r.right - r.left, 230);
            EXPECT_EQ(r.bottom - r.top, 190);
            ClickButton(save, IDC_IMPORT_SAVE);
        }));
        // Closed from its title bar, the save window leaves the editor able to cut again.
        EXPECT_TRUE(Drag(dialog, {0, 0}, {0, 0}, [](HWND save) { SendMessageW(save, WM_CLOSE, 0, 0); }));
        EXPECT_TRUE(Drag(dialog, {10, 20}, {10, 20}, [](HWND save) { ClickButton(save, IDC_IMPORT_SAVE); }));
        ClickButton(dialog, IDC_PHOTO_CLOSE);
    });
    EXPECT_EQ(saved, L"phot\\cut2.bmp");
    EXPECT_TRUE(seam.messages.empty()) << Texts();
    const BmpFile cut{ReadBytes(folder.File(L"phot\\cut1.bmp"))};
    ASSERT_GT(cut.bytes.size(), 54u);
    ASSERT_EQ(cut.Width(), 80);
    ASSERT_EQ(cut.Height(), 120);
    int different = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 80; ++x) different += cut.Pixel(x, y) != Pattern(10 + x, 20 + y);
    EXPECT_EQ(different, 0);
    EXPECT_EQ(ReadBytes(folder.File(L"phot\\cut2.bmp")), cut.bytes);  // the same cut twice
}

// A 24-megapixel photo is shown, zoomed to fit and cut like any other: a cut at scale 1
// holds its own pixels, and one after フィット and a zoom drag is saved at the cut's size.
TEST_F(PhotoEditor, APhoneSizedPhotoIsZoomedAndCut) {
    WritePicture(L"phot\\large.bmp", 6000, 4000, Pattern);
    Choose(L"phot\\large.bmp");
    Choose(L"phot\\large1.bmp");
    Choose(L"phot\\large2.bmp");
    Open([&](HWND dialog) {
        ClickButton(dialog, IDC_PHOTO_BROWSE);
        SetMode(dialog, IDC_PHOTO_FIXED_CUT);
        EXPECT_TRUE(Drag(dialog, {10, 20}, {10, 20}, [](HWND save) { ClickButton(save, IDC_IMPORT_SAVE); }));
        ClickButton(dialog, IDC_PHOTO_FIT);
        SetMode(dialog, IDC_PHOTO_ZOOM);
        Drag(dialog, {300, 200}, {300, 260});
        SetMode(dialog, IDC_PHOTO_FIXED_CUT);
        EXPECT_TRUE(Drag(dialog, {100, 100}, {100, 100}, [](HWND save) { ClickButton(save, IDC_IMPORT_SAVE); }));
        ClickButton(dialog, IDC_PHOTO_CLOSE);
    });
    EXPECT_TRUE(seam.messages.empty()) << Texts();
    const BmpFile first{ReadBytes(folder.File(L"phot\\large1.bmp"))};
    ASSERT_EQ(first.Width(), 80);
    ASSERT_EQ(first.Height(), 120);
    int different = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 80; ++x) different += first.Pixel(x, y) != Pattern(10 + x, 20 + y);
    EXPECT_EQ(different, 0);
    const BmpFile second{ReadBytes(folder.File(L"phot\\large2.bmp"))};
    EXPECT_EQ(second.Width(), 80);
    EXPECT_EQ(second.Height(), 120);
}

TEST_F(PhotoEditor, FitShowsATallPhotoOverWholeRowsAndColumns) {
    WritePicture(L"phot\\tall.bmp", 160, 200, [](int, int) { return kRed; });
    Choose(L"phot\\tall.bmp");
    Open([&](HWND dialog) {
        ClickButton(dialog, IDC_PHOTO_BROWSE);
        ClickButton(dialog, IDC_PHOTO_FIT);
        TestBitmap view(kViewWidth, kViewHeight);
        view.CopyFromWindow(dialog, 0, 0);
        EXPECT_EQ(view.CountColour(0, 0, 368, 460, kRed), 368 * 460);
        EXPECT_EQ(view.CountColour(368, 0, 720, 460, kRed), 0);
        ClickButton(dialog, IDC_PHOTO_CLOSE);
    });
    // Reopened, the path is shown but no photo until 参照.
    Open([&](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_PHOTO_PATH), folder.File(L"phot\\tall.bmp"));
        TestBitmap view(kViewWidth, kViewHeight);
        view.CopyFromWindow(dialog, 0, 0);
        EXPECT_EQ(view.CountColour(0, 0, 720, 460, kRed), 0);
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
}

TEST_F(PhotoEditor, BadPhotosAndCutsAreRefusedWithAMessage) {
    const auto whole = MakeBmp(40, 40, Pattern);
    ASSERT_TRUE(WriteBytes(folder.File(L"phot\\cut.bmp"), whole.data(), whole.size() / 2));
    ASSERT_TRUE(WriteBytes(folder.File(L"phot\\text.jpg"), "not a picture", 13));
    WritePicture(L"phot\\dot.bmp", 1, 1, [](int, int) { return kRed; });
    Choose(L"phot\\cut.bmp");
    Choose(L"phot\\text.jpg");
    Choose(L"phot\\dot.bmp");
    Choose(L"phot\\wide.bmp");
    int not_loaded = 0;
    const std::wstring saved = Open([&](HWND dialog) {
        ClickButton(dialog, IDC_PHOTO_BROWSE);  // what of a cut file loads is the system's
        const size_t after_truncated = seam.messages.size();
        ClickButton(dialog, IDC_PHOTO_BROWSE);
        EXPECT_EQ(seam.messages.size(), after_truncated + 1);
        ClickButton(dialog, IDC_PHOTO_BROWSE);
        ClickButton(dialog, IDC_PHOTO_FIT);  // 1 x 1 at the largest scale
        not_loaded = static_cast<int>(seam.messages.size());
        SetMode(dialog, IDC_PHOTO_FIXED_CUT);
        for (const wchar_t* size : {L"0", L"-50", L"abc"}) {
            SetControlText(dialog, IDC_PHOTO_CUT_WIDTH, size);
            EXPECT_FALSE(Drag(dialog, {5, 5}, {5, 5})) << size;
        }
        SetMode(dialog, IDC_PHOTO_DRAGGED_CUT);
        EXPECT_FALSE(Drag(dialog, {50, 50}, {50, 50}));  // a click without a drag
        SetMode(dialog, IDC_PHOTO_FIXED_CUT);
        SetControlText(dialog, IDC_PHOTO_CUT_WIDTH, L"721");
        SetControlText(dialog, IDC_PHOTO_CUT_HEIGHT, L"10");
        EXPECT_FALSE(Drag(dialog, {5, 5}, {5, 5}));
        // As large as the view, pressed near its right edge: moved inside, not shrunk.
        SetControlText(dialog, IDC_PHOTO_CUT_WIDTH, L"720");
        SetControlText(dialog, IDC_PHOTO_CUT_HEIGHT, L"460");
        EXPECT_TRUE(Drag(dialog, {700, 0}, {700, 0}, [](HWND save) { ClickButton(save, IDC_IMPORT_SAVE); }));
        ClickButton(dialog, IDC_PHOTO_CLOSE);
    });
    ASSERT_EQ(static_cast<int>(seam.messages.size()), not_loaded + 5);
    for (int i = 0; i < not_loaded; ++i) EXPECT_EQ(seam.messages[i].text, kNotLoaded);
    for (int i = not_loaded; i < not_loaded + 4; ++i) {
        EXPECT_EQ(seam.messages[i].text, L"切り取る範囲がありません。");
        EXPECT_EQ(seam.messages[i].caption, L"切取");
    }
    EXPECT_EQ(seam.messages.back().text, L"切り取りサイズが表示範囲(720×460)より大きいです。");
    EXPECT_EQ(seam.messages.back().caption, L"切取");
    EXPECT_EQ(saved, L"phot\\wide.bmp");
    const BmpFile cut{ReadBytes(folder.File(L"phot\\wide.bmp"))};
    ASSERT_GT(cut.bytes.size(), 54u);
    EXPECT_EQ(cut.Width(), kViewWidth);
    EXPECT_EQ(cut.Height(), kViewHeight);
    EXPECT_EQ(cut.Pixel(5, 5), kRed);  // the 10 x 10 photo at the view's corner
    EXPECT_EQ(cut.Pixel(kViewWidth - 1, 0), GetSysColor(COLOR_BTNFACE));
}

TEST_F(PhotoEditor, NothingSavedLeavesAnEarlierPictureAlone) {
    SetText(LastSavedBitmapPath(), L"phot\\last-week.bmp");
    EXPECT_EQ(Open([](HWND dialog) { SendMessageW(dialog, WM_CLOSE, 0, 0); }), L"");
}

}  // namespace
