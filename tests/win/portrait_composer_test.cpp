#include "tools/portrait_composer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "res/import_save_ids.h"
#include "res/portrait_composer_ids.h"
#include "test_bitmap.h"
#include "test_files.h"
#include "tools/picture_tools.h"
#include "tools/portrait_rules.h"
#include "win/process.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(200, 200, 200);
constexpr COLORREF kSkin = RGB(255, 255, 128);  // the colour a chosen face takes

// A face part: white around, a black outline, a grey fill with a darker grey mark.
COLORREF Face(int x, int y) {
    const int dx = x - 40, dy = y - 50;
    const int d = dx * dx * 100 / (30 * 30) + dy * dy * 100 / (40 * 40);
    if (d > 100) return kWhite;
    if (d > 80) return kBlack;
    return x < 30 ? RGB(120, 120, 120) : kGrey;
}

// What the saved portrait must hold: the face with every pixel neither black nor white
// in the chosen colour.
COLORREF Recoloured(int x, int y) {
    const COLORREF c = Face(x, y);
    return c == kWhite || c == kBlack ? c : kSkin;
}

class PortraitComposer : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchStartFolder folder;

    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryW(folder.File(L"kao").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(folder.File(L"phot").c_str(), nullptr));
        Write(L"kao\\kao-1-001.bmp", 80, 100, Face);
    }
    void Write(const std::wstring& name, int w, int h, const std::function<COLORREF(int, int)>& colour) {
        const auto bytes = MakeBmp(w, h, colour);
        ASSERT_TRUE(WriteBytes(folder.File(name), bytes.data(), bytes.size()));
    }
    std::wstring Open(const std::function<void(HWND)>& script) {
        bool timed_out = false;
        std::wstring saved;
        DriveModal([&] { saved = RunPortraitComposerForPicture(nullptr); return INT_PTR{1}; }, script, &timed_out);
        EXPECT_FALSE(timed_out);
        return saved;
    }
};

void Command(HWND dialog, int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// The composer keeps its composition for the run of the program: each test starts from
// none in use and the first background, which stays centred on the same point.
// Hidden meanwhile, the dialog skips the repaint after each command.
void StartAfresh(HWND dialog) {
    ShowWindow(dialog, SW_HIDE);
    for (int id = IDC_PORTRAIT_CATEGORY_FIRST; id <= IDC_PORTRAIT_CATEGORY_LAST; ++id) {
        Command(dialog, id);
        Command(dialog, IDC_PORTRAIT_OFF);
    }
    for (int i = 0; i < 50; ++i) Command(dialog, IDC_PORTRAIT_BACK_WIDER);
    for (int i = 0; i < 40; ++i) Command(dialog, IDC_PORTRAIT_BACK_NARROWER);
    for (int i = 0; i < 50; ++i) Command(dialog, IDC_PORTRAIT_BACK_TALLER);
    for (int i = 0; i < 45; ++i) Command(dialog, IDC_PORTRAIT_BACK_SHORTER);
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
}

void ClickAt(HWND dialog, int x, int y) {
    SendMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(dialog, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void SaveAs(HWND dialog) {
    DriveModal([&] { ClickButton(dialog, IDC_PORTRAIT_SAVE); return INT_PTR{1}; },
               [](HWND save) { ClickButton(save, IDC_IMPORT_SAVE); });
}

TEST_F(PortraitComposer, ComposedFaceIsSavedRecolouredAtItsOwnSize) {
    seam.file_answers.push_back({true, folder.File(L"phot\\face1.bmp")});
    seam.file_answers.push_back({true, folder.File(L"phot\\face2.bmp")});
    seam.file_answers.push_back({true, folder.File(L"phot\\small.bmp")});
    const std::wstring saved = Open([&](HWND dialog) {
        StartAfresh(dialog);
        ClickButton(dialog, IDC_PORTRAIT_CATEGORY_FIRST);  // 顔
        ClickAt(dialog, ThumbnailLeft(0) + 40, 100);
        // The background area on the screen shows the same portrait.
        TestBitmap shown(80, 100);
        shown.CopyFromWindow(dialog, 40, 45);
        int different = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 80; ++x) different += shown.Pixel(x, y) != Recoloured(x, y);
        EXPECT_EQ(different, 0);
        SaveAs(dialog);
        SaveAs(dialog);
        // Shrunk thirteen times the face is smaller; a narrower background saves its own size.
        for (int i = 0; i < 13; ++i) ClickButton(dialog, IDC_PORTRAIT_SMALLER);
        for (int i = 0; i < 10; ++i) ClickButton(dialog, IDC_PORTRAIT_BACK_NARROWER);
        SaveAs(dialog);
        ClickButton(dialog, IDC_PORTRAIT_CLOSE);
    });
    EXPECT_EQ(saved, L"phot\\small.bmp");
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
    const BmpFile face{ReadBytes(folder.File(L"phot\\face1.bmp"))};
    ASSERT_GT(face.bytes.size(), 54u);
    ASSERT_EQ(face.Width(), 80);
    ASSERT_EQ(face.Height(), 100);
    int different = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 80; ++x) different += face.Pixel(x, y) != Recoloured(x, y);
    EXPECT_EQ(different, 0);
    EXPECT_EQ(ReadBytes(folder.File(L"phot\\face2.bmp")), face.bytes);
    const BmpFile small{ReadBytes(folder.File(L"phot\\small.bmp"))};
    ASSERT_GT(small.bytes.size(), 54u);
    EXPECT_EQ(small.Width(), 60);
    EXPECT_EQ(small.Height(), 100);
    EXPECT_EQ(small.Pixel(0, 0), kWhite);
    EXPECT_EQ(small.Pixel(30, 50), kSkin);  // the face, 54 x 74 now, still in the middle
}

TEST_F(PortraitComposer, PairsAreMirroredAboutTheMiddleAndPartsKeepTheirOwnColours) {
    // An eye: a black square left of a red one, 14 x 12 (rows padded in the file).
    Write(L"kao\\kao-3-001.bmp", 14, 12, [](int x, int) { return x < 7 ? kBlack : RGB(255, 0, 0); });
    Open([&](HWND dialog) {
        StartAfresh(dialog);
        ClickButton(dialog, IDC_PORTRAIT_CATEGORY_FIRST + kEyes - 1);
        ClickAt(dialog, ThumbnailLeft(0) + 40, 100);
        ClickButton(dialog, IDC_PORTRAIT_RIGHT);  // x from 21 to 22: the mirror goes to 44
        TestBitmap shown(80, 100);
        shown.CopyFromWindow(dialog, 40, 45);
        const int y = (100 - 12) / 2 - 5 + 6;
        EXPECT_EQ(shown.Pixel(21, y), kWhite);
        EXPECT_EQ(shown.Pixel(22, y), kBlack);
        EXPECT_EQ(shown.Pixel(35, y), RGB(255, 0, 0));
        EXPECT_EQ(shown.Pixel(36, y), kWhite);
        EXPECT_EQ(shown.Pixel(43, y), kWhite);
        EXPECT_EQ(shown.Pixel(44, y), RGB(255, 0, 0));
        EXPECT_EQ(shown.Pixel(57, y), kBlack);
        EXPECT_EQ(shown.Pixel(58, y), kWhite);
        // Turned as far as it goes, the pair turns both ways: still drawn, still symmetric.
        for (int i = 0; i < 12; ++i) ClickButton(dialog, IDC_PORTRAIT_TURN_RIGHT);
        TestBitmap turned(80, 100);
        turned.CopyFromWindow(dialog, 40, 45);
        int drawn = 0, asymmetric = 0, moved = 0;
        for (int ty = 0; ty < 100; ++ty)
            for (int x = 0; x < 80; ++x) {
                drawn += turned.Pixel(x, ty) != kWhite;
                asymmetric += turned.Pixel(x, ty) != turned.Pixel(79 - x, ty);
                moved += turned.Pixel(x, ty) != shown.Pixel(x, ty);
            }
        EXPECT_GT(drawn, 2 * 14 * 12 * 3 / 4);
        EXPECT_LT(asymmetric, drawn / 4);
        EXPECT_GT(moved, 20);
        ClickButton(dialog, IDC_PORTRAIT_OFF);
        shown.CopyFromWindow(dialog, 40, 45);
        EXPECT_EQ(shown.CountOther(0, 0, 80, 100, kWhite), 0);
        ClickButton(dialog, IDC_PORTRAIT_CLOSE);
    });
}

}  // namespace
