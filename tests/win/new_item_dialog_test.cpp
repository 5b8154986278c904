#include "editors/new_item_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "design/fixed_text.h"
#include "dialog_driver.h"
#include "recording_seam.h"
#include "res/new_item_dialog_ids.h"
#include "test_files.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

constexpr wchar_t kBitmapFirst[] = L"BMPFile(*.bmp)|*.bmp|JPGFile(*.jpg)|*.jpg|ALLFile(*.*)|*.*|";
constexpr wchar_t kJpegFirst[] = L"JPGFile(*.jpg)|*.jpg|BMPFile(*.bmp)|*.bmp|ALLFile(*.*)|*.*|";
constexpr wchar_t kAnyFirst[] = L"ALLFile(*.*)|*.*|BMPFile(*.bmp)|*.bmp|JPGFile(*.jpg)|*.jpg|";
constexpr wchar_t kPicturesFirst[] =
    L"画像ファイル(*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff)|*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff|"
    L"ALLFile(*.*)|*.*|";

class NewItemDialog : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchFolder folder;
    wchar_t directory[MAX_PATH] = {};

    void SetUp() override {
        ResetDesign(Design(), SettingsScope::Full);
        GetCurrentDirectoryW(MAX_PATH, directory);
        Process().start_folder = folder.Path();
    }
    // Leaves the scratch folder, which the dialog may have made current, free to go.
    void TearDown() override {
        Process().start_folder.clear();
        SetCurrentDirectoryW(directory);
    }

    // Right-clicks client point (x, y), runs script on the dialog and closes it with
    // button id (0: the close box).
    INT_PTR Press(int x, int y, int id, const std::function<void(HWND)>& script = {}) {
        bool timed_out = false;
        const INT_PTR result = DriveModal([&] { return ShowNewItemDialog(nullptr, MAKELPARAM(x, y)); },
                                          [&](HWND dialog) {
                                              if (script) script(dialog);
                                              if (id) ClickButton(dialog, id);
                                              else SendMessageW(dialog, WM_CLOSE, 0, 0);
                                          },
                                          &timed_out);
        EXPECT_FALSE(timed_out);
        return result;
    }

    // The buttons' enabled states, marks then texts, as '1' and '0'.
    std::string EnabledButtons() {
        std::string shown;
        const INT_PTR result = Press(110, 150, 0, [&](HWND dialog) {
            const auto show = [&](int id) { shown += IsWindowEnabled(GetDlgItem(dialog, id)) ? '1' : '0'; };
            for (int j = 0; j < kMarkCount; ++j) show(IDC_NEW_MARK1 + j);
            shown += ' ';
            for (int i = 0; i < kTextCount; ++i) show(IDC_NEW_TEXT1 + i);
        });
        EXPECT_EQ(result, 0);
        return shown;
    }

    std::wstring File(const std::wstring& name, const void* bytes, size_t size) {
        WriteBytes(folder.File(name), bytes, size);
        return folder.File(name);
    }
};

TEST_F(NewItemDialog, OffersOnlyTheItemsNotInUse) {
    CardDesign& d = Design();
    d.mark_data[1].on = d.mark_data[3].on = 1;
    d.str_data[0].on = d.str_data[7].on = d.str_data[14].on = 1;
    EXPECT_EQ(EnabledButtons(), "10101 011111101111110");

    for (auto& mark : d.mark_data) mark.on = 1;
    for (auto& item : d.str_data) item.on = 1;
    EXPECT_EQ(EnabledButtons(), "00000 000000000000000");
    EXPECT_TRUE(seam.file_dialogs.empty());
}

TEST_F(NewItemDialog, TextButtonPlacesTheItemWithTheDefaultFontAndItsSampleText) {
    StrData& handle = Design().str_data[kTextHandle];
    handle.bk = 1;
    handle.r = 200;
    handle.bb = 10;
    SetText(handle.s64, u"old");
    Design().lf[kTextHandle].lfHeight = -40;
    SetText(Design().lf[kTextHandle].lfFaceName, u"@ＭＳ ゴシック");

    EXPECT_EQ(Press(110, 150, IDC_NEW_TEXT1 + kTextHandle), kTextHandle + 1);
    EXPECT_EQ(handle.on, 1);
    EXPECT_EQ(handle.x, 100);
    EXPECT_EQ(handle.y, 100);
    EXPECT_EQ(handle.bk, 0);
    EXPECT_EQ(RGB(handle.r, handle.g, handle.b), RGB(0, 0, 0));
    EXPECT_EQ(RGB(handle.br, handle.bg, handle.bb), RGB(255, 255, 255));
    EXPECT_EQ(TextOf(handle.s64), SampleText(kTextHandle));
    const LogFont font = DefaultFont();
    EXPECT_EQ(std::memcmp(&Design().lf[kTextHandle], &font, sizeof(font)), 0);

    // Near the card's corner the point is stored as it falls, left of and above the card.
    EXPECT_EQ(Press(5, 20, IDC_NEW_TEXT1 + kTextName), kTextName + 1);
    const StrData& name = Design().str_data[kTextName];
    EXPECT_EQ(name.x, -5);
    EXPECT_EQ(name.y, -30);
    EXPECT_EQ(TextOf(name.s64), SampleText(kTextName));
    EXPECT_EQ(Design().lf[kTextName].lfHeight, -32);  // the name's larger bold font
    EXPECT_EQ(Design().lf[kTextName].lfWeight, 800);
    EXPECT_EQ(Design().mark_data[0].on, 0);
}

TEST_F(NewItemDialog, MarkButtonSwitchesTheMarkOnAtItsPicturesNaturalSize) {
    const auto bmp = MakeBmp(30, 20, [](int, int) { return RGB(0, 128, 255); });
    const std::wstring logo = File(L"logo.bmp", bmp.data(), bmp.size());
    seam.file_answers.push_back({true, logo});

    EXPECT_EQ(Press(110, 150, IDC_NEW_MARK3), 0);
    const MarkData& mark = Design().mark_data[2];
    EXPECT_EQ(mark.on, 1);
    EXPECT_EQ(mark.x, 100);
    EXPECT_EQ(mark.y, 100);
    EXPECT_EQ(mark.w, 30);
    EXPECT_EQ(mark.h, 20);
    EXPECT_EQ(std::wstring(W(mark.fm)), logo);
    ASSERT_EQ(seam.file_dialogs.size(), 1u);
    EXPECT_EQ(seam.file_dialogs[0].title, L"PalyFileの在処を指定");
    EXPECT_EQ(seam.file_dialogs[0].initial_name, folder.Path() + L"\\mark\\*.*");
    EXPECT_EQ(seam.file_dialogs[0].filter, kPicturesFirst);
    EXPECT_EQ(seam.file_dialogs[0].flags, static_cast<DWORD>(OFN_HIDEREADONLY));
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

TEST_F(NewItemDialog, PictureThatDoesNotLoadKeepsItsPathButLeavesTheMarkOff) {
    const char garbage[] = "not a picture";
    const std::wstring broken = File(L"broken.bmp", garbage, sizeof(garbage));
    seam.file_answers.push_back({true, broken});

    EXPECT_EQ(Press(110, 150, IDC_NEW_MARK5), 0);
    const MarkData& mark = Design().mark_data[4];
    EXPECT_EQ(mark.on, 0);
    EXPECT_EQ(std::wstring(W(mark.fm)), broken);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"画像が読み込み出来ません。");
    EXPECT_EQ(seam.messages[0].caption, L"ImageLoad");
}

TEST_F(NewItemDialog, CancelledFileDialogChangesNothingWhicheverFiltersItOffered) {
    const CardDesign before = Design();
    const wchar_t* filters[] = {kBitmapFirst, kBitmapFirst, kJpegFirst, kAnyFirst, kPicturesFirst};
    for (int mode = 0; mode <= kLoadAllPictures; ++mode) {
        Design().mark_load_mode = mode;
        EXPECT_EQ(Press(110, 150, IDC_NEW_MARK1), 0);
        EXPECT_EQ(seam.file_dialogs.back().filter, filters[mode]) << mode;
    }
    // A start folder too long for the name buffer leaves the bare pattern, not a cut path.
    Process().start_folder = L"C:\\" + std::wstring(260, L'x');
    EXPECT_EQ(Press(110, 150, IDC_NEW_MARK1), 0);
    EXPECT_EQ(seam.file_dialogs.back().initial_name, L"mark\\*.*");

    Design().mark_load_mode = before.mark_load_mode;
    EXPECT_EQ(std::memcmp(&Design(), &before, sizeof(CardDesign)), 0);
}

}  // namespace
