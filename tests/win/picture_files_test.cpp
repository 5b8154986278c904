#include "editors/picture_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/fixed_text.h"
#include "recording_seam.h"
#include "test_files.h"
#include "win/picture_list.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

class PictureFolders : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchStartFolder folder;

    void SetUp() override {
        ResetDesign(Design(), SettingsScope::Full);
        for (const wchar_t* sub : {L"base", L"mark", L"phot"}) CreateDirectoryW(folder.File(sub).c_str(), nullptr);
    }
    void TearDown() override {
        ClearPictureList(ThePictureList());
    }
    void Touch(const std::wstring& name) { ASSERT_TRUE(WriteBytes(folder.File(name), "x", 1)); }
    static std::vector<std::wstring> Entries() {
        const PictureList& list = ThePictureList();
        return std::vector<std::wstring>(list.entries, list.entries + list.count);
    }
};

TEST_F(PictureFolders, ScansTakeOnlyPicturesSortedAndKeepTheIndex) {
    for (const wchar_t* name : {L"base\\b-02.BMP", L"base\\B-01.bmp", L"base\\notes.txt", L"base\\a.jpg"})
        Touch(name);
    CreateDirectoryW(folder.File(L"base\\folder.bmp").c_str(), nullptr);  // a sub-folder named like a picture
    EXPECT_EQ(ScanPictureFolder(PictureFolder::kBase, 0), 2);
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"base\\B-01.bmp", L"base\\b-02.BMP"}));
    EXPECT_EQ(ScanPictureFolder(PictureFolder::kBase, 2), 1);
    EXPECT_EQ(Entries(), std::vector<std::wstring>{L"base\\a.jpg"});
    ThePictureList().index = 2;
    EXPECT_EQ(ScanPictureFolder(PictureFolder::kBase, 3), 3);
    EXPECT_EQ(ThePictureList().index, 2);  // still an entry
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"base\\a.jpg", L"base\\B-01.bmp", L"base\\b-02.BMP"}));
    DeleteFileW(folder.File(L"base\\a.jpg").c_str());
    EXPECT_EQ(ScanPictureFolder(PictureFolder::kBase, 3), 2);
    EXPECT_EQ(ThePictureList().index, 0);  // out of range now
    // The start folder is current afterwards.
    wchar_t now[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, now);
    EXPECT_EQ(std::wstring(now), folder.Path());
}

// The 全画像 mode lists every picture kind; a folder of thousands of files of every kind,
// many of them not pictures at all, lists the first 299 names in order, without reading
// any of them, and a broken one says so once when it is shown.
TEST_F(PictureFolders, EveryKindInAFolderOfThousandsOfFiles) {
    const wchar_t* kinds[] = {L".bmp", L".JPG", L".jpeg", L".png", L".gif", L".tif", L".TIFF", L".txt", L".psd"};
    for (int i = 0; i < 2000; ++i) Touch(L"mark\\m" + std::to_wstring(10000 + i) + kinds[i % 9]);
    EXPECT_EQ(ScanPictureFolder(PictureFolder::kMark, 0), 223);  // the bitmaps only
    EXPECT_EQ(ScanPictureFolder(PictureFolder::kMark, kLoadAllPictures), 299);
    const std::vector<std::wstring> entries = Entries();
    EXPECT_EQ(entries[0], L"mark\\m10000.bmp");
    EXPECT_EQ(entries[6], L"mark\\m10006.TIFF");
    EXPECT_EQ(entries[7], L"mark\\m10009.bmp");  // .txt and .psd are left out
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_FALSE(LoadShownPicture(nullptr, ThePictureList().entries[3], kLoadAllPictures));
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"画像が読み込み出来ません。");
}

TEST_F(PictureFolders, TheFaceFolderTakesOnlyPhotNamesAndEmptyFoldersGiveNothing) {
    Touch(L"phot\\phot-01.bmp");
    Touch(L"phot\\other.bmp");
    EXPECT_EQ(ScanPictureFolder(PictureFolder::kFace, 1), 1);
    EXPECT_EQ(Entries(), std::vector<std::wstring>{L"phot\\phot-01.bmp"});
    EXPECT_EQ(ScanPictureFolder(PictureFolder::kMark, 0), 0);
    RemoveDirectoryW(folder.File(L"mark").c_str());
    EXPECT_EQ(ScanPictureFolder(PictureFolder::kMark, 0), 0);
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(PictureFolders, BrowseStartsAtTheCurrentPathOrTheFoldersPattern) {
    wchar_t path[256] = {};
    seam.file_answers.push_back({true, L"C:\\pictures\\logo.bmp", 1});
    ASSERT_TRUE(BrowsePictureFile(nullptr, PictureFolder::kMark, 2, path));
    EXPECT_STREQ(path, L"C:\\pictures\\logo.bmp");
    ASSERT_EQ(seam.file_dialogs.size(), 1u);
    EXPECT_EQ(seam.file_dialogs[0].title, L"画像ファイルの在処を指定");
    EXPECT_EQ(seam.file_dialogs[0].initial_name, folder.Path() + L"\\mark\\*.jpg");
    EXPECT_EQ(seam.file_dialogs[0].filter, L"JPGFile(*.jpg)|*.jpg|BMPFile(*.bmp)|*.bmp|ALLFile(*.*)|*.*|");
    EXPECT_TRUE(seam.file_dialogs[0].flags & OFN_HIDEREADONLY);
    // Cancel leaves the path; a path given is where the dialog starts.
    EXPECT_FALSE(BrowsePictureFile(nullptr, PictureFolder::kFace, 0, path));
    EXPECT_STREQ(path, L"C:\\pictures\\logo.bmp");
    EXPECT_EQ(seam.file_dialogs[1].initial_name, L"C:\\pictures\\logo.bmp");
}

TEST_F(PictureFolders, APaintProgramThatDoesNotExistIsReported) {
    SetText(Design().oekaki_filename, u"no-such-paint-program-here.exe");
    RunPaintProgram(nullptr, L"base\\base-01.bmp");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"お絵描きソフトが見つかりませんでした。");
    EXPECT_EQ(seam.messages[0].caption, L"CreateProcess");
}

TEST_F(PictureFolders, ThePaintProgramIsWaitedFor) {
    // cmd.exe stands in for a paint program that ends at once.
    SetText(Design().oekaki_filename, u"cmd.exe /c exit 0 &");
    RunPaintProgram(nullptr, L"");
    EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
}

}  // namespace
