#include "win/process.h"

#include <gtest/gtest.h>

#include <string>

#include "test_files.h"
#include "win/picture_list.h"

namespace {

class StartFolder : public ::testing::Test {
protected:
    ScratchFolder folder;
    wchar_t previous_directory[MAX_PATH] = {};
    void SetUp() override { GetCurrentDirectoryW(MAX_PATH, previous_directory); }
    void TearDown() override {
        SetCurrentDirectoryW(previous_directory);
        Process().start_folder.clear();
    }
};

TEST_F(StartFolder, IsRecordedWhateverItsLength) {
    // Nested folders until the path is longer than the 257 units a fixed buffer held.
    std::wstring path = folder.Path();
    std::vector<std::wstring> made;
    while (path.size() <= 300) {
        path += L"\\" + std::wstring(40, L'f');
        if (!CreateDirectoryW(path.c_str(), nullptr)) break;
        made.push_back(path);
    }
    if (path.size() <= 300 || !SetCurrentDirectoryW(path.c_str())) {
        for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveDirectoryW(it->c_str());
        GTEST_SKIP() << "the system does not enter a folder this deep";
    }
    ASSERT_TRUE(RecordStartFolder());
    EXPECT_EQ(Process().start_folder.size(), path.size());
    EXPECT_EQ(StartFolderOrCurrent(), Process().start_folder);
    SetCurrentDirectoryW(previous_directory);
    EnterStartFolder();
    wchar_t now[MAX_PATH] = {};
    // Back in the deep folder, whose path no longer fits MAX_PATH units.
    EXPECT_EQ(GetCurrentDirectoryW(MAX_PATH, now), path.size() + 1);
    SetCurrentDirectoryW(previous_directory);
    for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveDirectoryW(it->c_str());
}

TEST_F(StartFolder, BeforeItIsRecordedTheCurrentDirectoryStays) {
    Process().start_folder.clear();
    SetCurrentDirectoryW(folder.Path().c_str());
    EnterStartFolder();
    EXPECT_EQ(StartFolderOrCurrent(), folder.Path());
}

TEST(PictureList, NamesThatDoNotFitAreRefusedNotCut) {
    PictureList& list = ThePictureList();
    ClearPictureList(list);
    EXPECT_TRUE(AddPictureEntry(list, L"base\\", L"base-01.bmp"));
    EXPECT_STREQ(list.entries[0], L"base\\base-01.bmp");
    // 5 + 250 units do not fit 255 with the terminator: refused, the entry stays empty.
    EXPECT_FALSE(AddPictureEntry(list, L"base\\", std::wstring(251, L'x')));
    EXPECT_EQ(list.count, 1);
    EXPECT_STREQ(list.entries[1], L"");
    EXPECT_TRUE(AddPictureEntry(list, L"base\\", std::wstring(250, L'x')));
    EXPECT_EQ(list.count, 2);
    // A scan stops at 299 entries; the 300th slot stays free.
    while (list.count < kPictureListScanLimit) ASSERT_TRUE(AddPictureEntry(list, L"mark\\", L"m.bmp"));
    EXPECT_FALSE(AddPictureEntry(list, L"mark\\", L"m.bmp"));
    EXPECT_EQ(list.count, 299);
    ClearPictureList(list);
    EXPECT_EQ(list.count, 0);
    EXPECT_STREQ(list.entries[0], L"");
}

}  // namespace
