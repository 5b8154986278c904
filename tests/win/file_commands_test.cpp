#include "app/file_commands.h"

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "design/fixed_text.h"
#include "recording_seam.h"
#include "design/settings_file_win.h"
#include "render/picture_loading.h"
#include "win/file_replace.h"
#include "test_files.h"
#include "win/wide.h"

namespace {

std::wstring MainFile() { return W(Design().main_filename); }

class FileCommands : public ::testing::Test {
protected:
    RecordingSeam seam;
    ScratchFolder folder;
    void SetUp() override {
        ResetDesign(Design(), SettingsScope::Full);
        Process().start_folder = folder.Path().c_str();
        App().changed = false;
    }
    void TearDown() override {
        ReleaseDesignPictures();
        Process().start_folder.clear();
    }
    std::wstring SaveAs(const std::wstring& typed, DWORD filter, bool template_file) {
        seam.file_answers.push_back({true, typed, filter});
        std::u16string path;
        EXPECT_TRUE(ChooseSaveFile(nullptr, template_file, path));
        return std::wstring(W(path));
    }
};

TEST_F(FileCommands, SaveDialogsForceTheExtensionOfTheSelectedFilter) {
    EXPECT_EQ(SaveAs(L"C:\\x\\card", 1, false), L"C:\\x\\card.ini");
    EXPECT_EQ(SaveAs(L"C:\\x\\card.txt", 1, false), L"C:\\x\\card.ini");
    EXPECT_EQ(SaveAs(L"C:\\x\\a.b.c", 1, false), L"C:\\x\\a.ini");
    EXPECT_EQ(SaveAs(L"C:\\my.cards\\card", 1, false), L"C:\\my.cards\\card.ini");
    EXPECT_EQ(SaveAs(L"C:\\x\\card", 2, false), L"C:\\x\\card.tep");
    EXPECT_EQ(SaveAs(L"C:\\x\\card.txt", 3, false), L"C:\\x\\card.txt");
    EXPECT_EQ(SaveAs(L"C:\\x\\card", 1, true), L"C:\\x\\card.tep");
    EXPECT_EQ(SaveAs(L"C:\\x\\card.tep", 2, true), L"C:\\x\\card.ini");
    EXPECT_EQ(SaveAs(L"C:\\x\\card", 3, true), L"C:\\x\\card");
}

TEST_F(FileCommands, DialogsOfferTheirTitlesFiltersAndInitialNames) {
    std::u16string path;
    ChooseOpenFile(nullptr);
    ChooseSaveFile(nullptr, false, path);
    ChooseSaveFile(nullptr, true, path);
    ASSERT_EQ(seam.file_dialogs.size(), 3u);
    const auto& open = seam.file_dialogs[0];
    EXPECT_FALSE(open.save);
    EXPECT_EQ(open.title, L"ファイルの読込");
    EXPECT_EQ(open.filter, L"設定ファイル(*.ini)|*.ini|AllFile(*.*)|*.*|");
    EXPECT_EQ(open.initial_name, folder.Path() + L"\\無題.ini");
    const auto& save = seam.file_dialogs[1];
    EXPECT_EQ(save.title, L"ファイルの保存");
    EXPECT_EQ(save.filter, L"設定ﾌｧｲﾙ(*.ini)|*.ini|Tepﾌｧｲﾙ(*.tep)|*.tep|AllFile(*.*)|*.*|");
    EXPECT_TRUE(save.flags & OFN_NOCHANGEDIR);
    EXPECT_FALSE(save.flags & OFN_OVERWRITEPROMPT);
    const auto& tep = seam.file_dialogs[2];
    EXPECT_EQ(tep.title, L"テンプレートの保存");
    EXPECT_EQ(tep.filter, L"Tepﾌｧｲﾙ(*.tep)|*.tep|設定ﾌｧｲﾙ(*.ini)|*.ini|AllFile(*.*)|*.*|");
    EXPECT_EQ(tep.initial_name, folder.Path() + L"\\temp\\無題.tep");
    // Cancelled dialogs left the name alone.
    EXPECT_EQ(MainFile(), L"無題.ini");
}

TEST_F(FileCommands, NewAsksOnlyForAChangedDesignAndNoKeepsEverything) {
    NewCommand(nullptr);
    EXPECT_EQ(seam.file_dialogs.size(), 0u);
    EXPECT_EQ(seam.MessageTexts(), L"ベース画像が読み込み出来ません。");  // base-01.bmp is absent here
    EXPECT_EQ(MainFile(), L"無題.ini");
    EXPECT_EQ(TextLength(Design().str_data[0].s64), 0u);

    SetText(Design().str_data[0].s64, u"keep");
    App().changed = true;
    seam.messages.clear();
    seam.message_answers = {IDNO};
    NewCommand(nullptr);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, L"保存せず新規にして良いですか？");
    EXPECT_EQ(seam.messages[0].caption, L"新規作成！");
    EXPECT_EQ(seam.messages[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(std::u16string(TextOf(Design().str_data[0].s64)), u"keep");
    EXPECT_TRUE(App().changed);

    seam.messages.clear();
    NewCommand(nullptr);  // Yes
    EXPECT_EQ(TextLength(Design().str_data[0].s64), 0u);
    EXPECT_FALSE(App().changed);
    EXPECT_EQ(std::wstring(W(Design().base_filepass)), folder.Path() + L"\\base\\base-01.bmp");
}

TEST_F(FileCommands, OpenCancelledKeepsDesignAndFlag) {
    App().changed = true;
    seam.message_answers = {IDNO};
    OpenCommand(nullptr);
    EXPECT_EQ(seam.messages[0].text, L"保存せず開いて良いですか？");
    EXPECT_EQ(seam.messages[0].caption, L"開く！");
    EXPECT_TRUE(seam.file_dialogs.empty());
    OpenCommand(nullptr);  // Yes, then the dialog is cancelled
    EXPECT_EQ(seam.file_dialogs.size(), 1u);
    EXPECT_TRUE(App().changed);
    EXPECT_EQ(MainFile(), L"無題.ini");
}

TEST_F(FileCommands, SaveAsThenOpenRestoresTheCardAndOverwriteSaveNeedsNoDialog) {
    const std::wstring path = folder.File(L"mine");
    SetText(Design().str_data[2].s64, u"山田　花子");
    Design().str_data[2].on = 1;
    App().changed = true;
    seam.file_answers.push_back({true, path, 1});
    SaveAsCommand(nullptr, false);
    EXPECT_FALSE(App().changed);
    EXPECT_EQ(MainFile(), path + L".ini");
    EXPECT_EQ(ReadBytes(path + L".ini").size() > 1000, true);

    SetText(Design().str_data[2].s64, u"changed");
    SaveCommand(nullptr);  // writes to the current file without asking
    EXPECT_EQ(seam.file_dialogs.size(), 1u);

    ResetDesign(Design(), SettingsScope::Full);
    seam.file_answers.push_back({true, path + L".ini", 1});
    OpenCommand(nullptr);
    EXPECT_EQ(std::u16string(TextOf(Design().str_data[2].s64)), u"changed");
    EXPECT_EQ(Design().str_data[2].on, 1);
    EXPECT_EQ(MainFile(), path + L".ini");
    EXPECT_FALSE(App().changed);

    // After New the overwrite save asks for a name again.
    NewDesign();
    SaveCommand(nullptr);
    EXPECT_EQ(seam.file_dialogs.size(), 3u);
}

// A write that gives up after half of what it was asked to write.
BOOL WriteHalfThenFail(HANDLE file, const void* bytes, DWORD size, DWORD* written) {
    if (!WriteFile(file, bytes, size / 2, written, nullptr)) return FALSE;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

class FailingWrites {
public:
    FailingWrites() : previous_(InstallFileWriter(WriteHalfThenFail)) {}
    ~FailingWrites() { InstallFileWriter(previous_); }
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;

private:
    FileWriter previous_;
};

// What a user meets after a save that failed: the message, the previous file as it was,
// the name unchanged, and New still asking before it throws the edits away.
void ExpectFailedSaveKeptEverything(RecordingSeam& seam, const std::wstring& file,
                                    const std::vector<uint8_t>& before, const std::wstring& name) {
    EXPECT_EQ(seam.MessageTexts(), L"ﾌｧｲﾙが開けません");
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(MainFile(), name);
    EXPECT_TRUE(App().changed);
    seam.messages.clear();
    seam.message_answers = {IDNO};
    NewCommand(nullptr);
    EXPECT_EQ(seam.MessageTexts(), L"保存せず新規にして良いですか？");
    EXPECT_EQ(std::u16string(TextOf(Design().str_data[2].s64)), u"edited");
    seam.messages.clear();
}

TEST_F(FileCommands, FailedSavesKeepTheChangedFlagTheNameAndThePreviousFile) {
    const std::wstring saved = folder.File(L"saved.ini");
    SetText(Design().main_filename, U16(saved.c_str()));
    ASSERT_TRUE(WriteSettingsFile(nullptr, SettingsScope::Design, saved.c_str()));
    const auto before = ReadBytes(saved);
    SetText(Design().str_data[2].s64, u"edited");
    App().changed = true;

    {
        FailingWrites halfway;
        SaveCommand(nullptr);
    }
    ExpectFailedSaveKeptEverything(seam, saved, before, saved);

    // Save as onto a name that is a folder.
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"folder.ini").c_str(), nullptr));
    seam.file_answers.push_back({true, folder.File(L"folder.ini"), 3});
    SaveAsCommand(nullptr, false);
    ExpectFailedSaveKeptEverything(seam, saved, before, saved);
    EXPECT_NE(GetFileAttributesW(folder.File(L"folder.ini").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    // Save as where the write fails halfway: the other file keeps its bytes too.
    const std::wstring other = folder.File(L"other.ini");
    const std::vector<uint8_t> other_bytes = {0xFF, 0xFE, 'x', 0};
    WriteBytes(other, other_bytes.data(), other_bytes.size());
    {
        FailingWrites halfway;
        seam.file_answers.push_back({true, other, 1});
        SaveAsCommand(nullptr, false);
    }
    ExpectFailedSaveKeptEverything(seam, other, other_bytes, saved);

    // Once a save succeeds, the name and the flag follow it.
    seam.file_answers.push_back({true, other, 1});
    SaveAsCommand(nullptr, false);
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(MainFile(), other);
    EXPECT_FALSE(App().changed);
}

// Run by full_disk_test.sh with VIVIVUZ_FULL_DISK naming a folder on a small file system
// that it filled up, holding "card.ini" written before.
TEST_F(FileCommands, SaveOnAFullDiskKeepsThePreviousFile) {
    wchar_t full[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"VIVIVUZ_FULL_DISK", full, MAX_PATH))
        GTEST_SKIP() << "needs a full disk (full_disk_test.sh)";
    const std::wstring saved = std::wstring(full) + L"\\card.ini";
    const auto before = ReadBytes(saved);
    ASSERT_FALSE(before.empty());
    SetText(Design().main_filename, U16(saved.c_str()));
    SetText(Design().str_data[2].s64, u"edited");
    App().changed = true;
    SaveCommand(nullptr);
    ExpectFailedSaveKeptEverything(seam, saved, before, saved);

    seam.file_answers.push_back({true, std::wstring(full) + L"\\new.ini", 1});
    SaveAsCommand(nullptr, false);
    ExpectFailedSaveKeptEverything(seam, saved, before, saved);
    EXPECT_EQ(GetFileAttributesW((std::wstring(full) + L"\\new.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
