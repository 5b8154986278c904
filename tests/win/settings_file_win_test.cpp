#include "design/settings_file_win.h"

#include <gtest/gtest.h>

#include "design/fixed_text.h"
#include "recording_seam.h"
#include "test_files.h"
#include "win/file_replace.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

int CountLines(const std::vector<uint8_t>& bytes) {
    int lines = 0;
    for (size_t i = 3; i < bytes.size(); i += 2) lines += bytes[i - 1] == '\n' && bytes[i] == 0;
    return lines;
}

class SettingsFileOnDisk : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchFolder folder;
    void SetUp() override {
        ResetDesign(Design(), SettingsScope::Full);
        Process().start_folder = folder.Path().c_str();
    }
    void TearDown() override { Process().start_folder.clear(); }
};

TEST_F(SettingsFileOnDisk, MissingFileIsRefusedAsEmptyWithTheDefaultsLoadedAndNotCreated) {
    Design().base_w = 999;
    ReadSettingsFile(nullptr, SettingsScope::Full, L"Vivivuz.dat");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"文字列をワイド文字ではありません");
    EXPECT_EQ(seam.messages[0].caption, L"CreateFile");
    EXPECT_EQ(seam.messages[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(Design().base_w, 455);
    EXPECT_EQ(GetFileAttributesW(folder.File(L"Vivivuz.dat").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsFileOnDisk, FullFileHas537LinesAndReadsBackInTheStartFolder) {
    SetText(Design().str_data[9].s64, u"https://例え.jp/");
    Design().str_data[12].bk = 1;
    SetText(Design().qrcode_data[3].s, u"A\r\nB");
    WriteSettingsFile(nullptr, SettingsScope::Full, L"Vivivuz.dat");
    EXPECT_TRUE(seam.messages.empty());
    const auto bytes = ReadBytes(folder.File(L"Vivivuz.dat"));
    ASSERT_GT(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(CountLines(bytes), 537);
    ResetDesign(Design(), SettingsScope::Full);
    ReadSettingsFile(nullptr, SettingsScope::Full, L"Vivivuz.dat");
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(std::u16string(TextOf(Design().str_data[9].s64)), u"https://例え.jp/");
    EXPECT_EQ(Design().str_data[12].bk, 1);
    EXPECT_EQ(std::u16string(TextOf(Design().qrcode_data[3].s)), u"A\r\nB");

    WriteSettingsFile(nullptr, SettingsScope::Design, L"card.ini");
    EXPECT_EQ(CountLines(ReadBytes(folder.File(L"card.ini"))), 520);
}

TEST_F(SettingsFileOnDisk, FileIsOpenedWithoutSharing) {
    WriteSettingsFile(nullptr, SettingsScope::Full, L"Vivivuz.dat");
    const std::wstring path = folder.File(L"Vivivuz.dat");
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Design().base_w = 1;
    ReadSettingsFile(nullptr, SettingsScope::Full, path.c_str());
    EXPECT_EQ(seam.MessageTexts(), L"ﾌｧｲﾙが開けません");
    EXPECT_EQ(Design().base_w, 455);  // reset even though the file did not open
    CloseHandle(held);
}

TEST_F(SettingsFileOnDisk, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    const std::wstring path = folder.File(L"keep.ini");
    WriteSettingsFile(nullptr, SettingsScope::Design, path.c_str());
    const auto before = ReadBytes(path);
    ASSERT_FALSE(before.empty());
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Design().base_w = 123;
    WriteSettingsFile(nullptr, SettingsScope::Design, path.c_str());
    CloseHandle(held);
    EXPECT_EQ(seam.MessageTexts(), L"ﾌｧｲﾙが開けません");
    EXPECT_EQ(seam.messages[0].caption, L"CreateFile");
    EXPECT_EQ(ReadBytes(path), before);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(folder.File(L"*").c_str(), &found);
    int files = 0;
    do {
        files += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_EQ(files, 1);

    seam.messages.clear();
    WriteSettingsFile(nullptr, SettingsScope::Design, folder.File(L"no\\such\\folder.ini").c_str());
    EXPECT_EQ(seam.MessageTexts(), L"ﾌｧｲﾙが開けません");
}

TEST_F(SettingsFileOnDisk, GarbageFilesNeverCrash) {
    std::vector<uint8_t> noise(70000);
    uint32_t state = 99;
    for (auto& b : noise) b = static_cast<uint8_t>((state = state * 1664525 + 1013904223) >> 24);
    noise[0] = 0xFF, noise[1] = 0xFE;
    WriteBytes(folder.File(L"noise.ini"), noise.data(), noise.size());
    ReadSettingsFile(nullptr, SettingsScope::Design, folder.File(L"noise.ini").c_str());
    std::vector<uint8_t> line = {0xFF, 0xFE};
    for (int i = 0; i < 200000; ++i) line.insert(line.end(), {'7', 0});
    WriteBytes(folder.File(L"line.ini"), line.data(), line.size());
    ReadSettingsFile(nullptr, SettingsScope::Design, folder.File(L"line.ini").c_str());
    EXPECT_EQ(Design().base_w, 455);
}

}  // namespace

namespace {

TEST_F(SettingsFileOnDisk, UnreadableFileIsMovedAsideBeforeAnythingWritesOverIt) {
    const std::vector<uint8_t> binary = {0x89, 'P', 'N', 'G', 0, 0xFF, 0x00, 0x10, 0xFE};
    const std::wstring path = folder.File(L"Vivivuz.dat");
    // An earlier backup is never written over: the next free number is taken.
    const std::vector<uint8_t> earlier = {'o', 'l', 'd'};
    WriteBytes(path + L".unreadable-1", earlier.data(), earlier.size());
    WriteBytes(path, binary.data(), binary.size());
    Design().base_w = 999;

    ReadSettingsFile(nullptr, SettingsScope::Full, L"Vivivuz.dat");
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text,
              L"読み込めないファイルです。\n元のファイルは「Vivivuz.dat.unreadable-2」として同じフォルダに残しました。");
    EXPECT_EQ(seam.messages[0].caption, L"CreateFile");
    EXPECT_EQ(Design().base_w, 455);
    EXPECT_EQ(ReadBytes(path + L".unreadable-2"), binary);
    EXPECT_EQ(ReadBytes(path + L".unreadable-1"), earlier);

    // The exit save then writes a fresh file and leaves both backups alone.
    EXPECT_TRUE(WriteSettingsFile(nullptr, SettingsScope::Full, L"Vivivuz.dat"));
    EXPECT_EQ(ReadBytes(path + L".unreadable-2"), binary);

    // A file another program holds open cannot be renamed: it is copied aside instead.
    WriteBytes(path, binary.data(), binary.size());
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(MoveAsideUnreadable(path.c_str()), path + L".unreadable-3");
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(path + L".unreadable-3"), binary);

    // Held so that it can be neither renamed nor copied: it is then never written over.
    const std::wstring locked = folder.File(L"locked.ini");
    WriteBytes(locked, binary.data(), binary.size());
    held = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    seam.messages.clear();
    KeepUnreadableFile(nullptr, locked.c_str());
    CloseHandle(held);
    EXPECT_EQ(seam.MessageTexts(),
              L"読み込めないファイルです。\n元のファイルを別の名前で残せなかったため、このファイルには保存しません。");
    seam.messages.clear();
    EXPECT_FALSE(WriteSettingsFile(nullptr, SettingsScope::Design, locked.c_str()));
    EXPECT_EQ(seam.MessageTexts(), L"ﾌｧｲﾙが開けません");
    EXPECT_EQ(ReadBytes(locked), binary);
    EXPECT_EQ(GetFileAttributesW((locked + L".unreadable-1").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsFileOnDisk, FilesOtherEditorsSavedAreRead) {
    SetText(Design().str_data[2].s64, u"山田　花子");
    Design().base_cntx = 3;
    ASSERT_TRUE(WriteSettingsFile(nullptr, SettingsScope::Full, L"Vivivuz.dat"));
    const auto bytes = ReadBytes(folder.File(L"Vivivuz.dat"));
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    std::wstring cr_only;
    for (wchar_t c : text)
        if (c != L'\n') cr_only += c;
    {
        std::vector<uint8_t> file = {0xFF, 0xFE};
        file.insert(file.end(), reinterpret_cast<const uint8_t*>(cr_only.data()),
                    reinterpret_cast<const uint8_t*>(cr_only.data() + cr_only.size()));
        WriteBytes(folder.File(L"cr.ini"), file.data(), file.size());
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
    WriteBytes(folder.File(L"utf8.ini"), utf8.data(), utf8.size());

    for (const wchar_t* name : {L"cr.ini", L"utf8.ini"}) {
        ResetDesign(Design(), SettingsScope::Full);
        ReadSettingsFile(nullptr, SettingsScope::Full, folder.File(name).c_str());
        EXPECT_TRUE(seam.messages.empty()) << seam.MessageTexts();
        EXPECT_EQ(std::u16string(TextOf(Design().str_data[2].s64)), u"山田　花子") << name;
        EXPECT_EQ(Design().base_cntx, 3);
    }
}

}  // namespace
