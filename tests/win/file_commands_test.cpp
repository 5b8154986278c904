#include "app/file_commands.h"

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "design/fixed_text.h"
#include "recording_seam.h"
#include "render/picture_loading.h"
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
        EXPECT_TRUE(ChooseSaveFile(nullptr, template_file));
        return MainFile();
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
    ChooseOpenFile(nullptr);
    ChooseSaveFile(nullptr, false);
    ChooseSaveFile(nullptr, true);
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

}  // namespace
