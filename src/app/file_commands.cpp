#include "app/file_commands.h"

#include <string>

#include "app/app_state.h"
#include "app/design_edits.h"
#include "app/main_window.h"
#include "design/file_names.h"
#include "design/fixed_text.h"
#include "design/settings_file_win.h"
#include "render/picture_loading.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

// Filter lists: pairs of display text and pattern, ended by an extra terminator.
constexpr wchar_t kOpenFilter[] = L"設定ファイル(*.ini)\0*.ini\0AllFile(*.*)\0*.*\0";
constexpr wchar_t kDesignSaveFilter[] =
    L"設定ﾌｧｲﾙ(*.ini)\0*.ini\0Tepﾌｧｲﾙ(*.tep)\0*.tep\0AllFile(*.*)\0*.*\0";
constexpr wchar_t kTemplateSaveFilter[] =
    L"Tepﾌｧｲﾙ(*.tep)\0*.tep\0設定ﾌｧｲﾙ(*.ini)\0*.ini\0AllFile(*.*)\0*.*\0";

constexpr wchar_t kCannotSave[] = L"ﾌｧｲﾙが開けません";

bool Confirm(HWND window, const wchar_t* text, const wchar_t* caption) {
    return ShowMessage(window, text, caption, MB_YESNO) == IDYES;
}

// A dialog request over a cleared 256-unit name buffer holding start folder + suffix
// (suffix starts with a separator). A start folder too long for the buffer leaves the
// bare name, which the dialog shows in its own folder.
OPENFILENAMEW FileRequest(HWND owner, wchar_t (&name)[kFileNameUnits], const wchar_t* suffix,
                          const wchar_t* title, const wchar_t* filter) {
    if (!SetWholeText(name, Process().start_folder + suffix)) SetText(name, suffix + 1);
    return FileDialogRequest(owner, name, title, filter, OFN_EXPLORER);
}

// Writes the design to path; true, with the changed flag cleared, only when it was written.
bool WriteDesign(HWND window, const wchar_t* path) {
    if (!WriteSettingsFile(window, SettingsScope::Design, path)) return false;
    App().changed = false;
    return true;
}

}  // namespace

void NewDesign() {
    ShowSide(false);
    NewDesignDefaults(Design(), U16(Process().start_folder.c_str()).data());
}

bool ChooseOpenFile(HWND owner) {
    wchar_t name[kFileNameUnits];
    OPENFILENAMEW request = FileRequest(owner, name, L"\\無題.ini", L"ファイルの読込", kOpenFilter);
    if (!Ui().OpenFileDialog(&request)) return false;
    SetText(Design().main_filename, U16(name));
    return true;
}

bool ChooseSaveFile(HWND owner, bool template_file, std::u16string& path) {
    wchar_t name[kFileNameUnits];
    OPENFILENAMEW request =
        template_file
            ? FileRequest(owner, name, L"\\temp\\無題.tep", L"テンプレートの保存", kTemplateSaveFilter)
            : FileRequest(owner, name, L"\\無題.ini", L"ファイルの保存", kDesignSaveFilter);
    request.Flags |= OFN_NOCHANGEDIR;
    if (!Ui().SaveFileDialog(&request)) return false;
    const char16_t* first = template_file ? u".tep" : u".ini";
    const char16_t* second = template_file ? u".ini" : u".tep";
    switch (request.nFilterIndex) {
        case 1: path = ForceExtension(U16(name), first); break;
        case 2: path = ForceExtension(U16(name), second); break;
        default: path = U16(name); break;
    }
    return true;
}

void NewCommand(HWND window) {
    if (App().changed && !Confirm(window, L"保存せず新規にして良いですか？", L"新規作成！")) return;
    NewDesign();
    RefreshSideShown(window);
    ReloadPictures();
    CommitLoadedDesign();
    RepaintMainWindow();
}

void OpenCommand(HWND window) {
    if (App().changed && !Confirm(window, L"保存せず開いて良いですか？", L"開く！")) return;
    if (ChooseOpenFile(window)) {
        ReadSettingsFile(window, SettingsScope::Design, W(Design().main_filename));
        RefreshSideShown(window);
        ReloadPictures();
        CommitLoadedDesign();
    }
    RepaintMainWindow();
}

void SaveCommand(HWND window) {
    if (TextOf(Design().main_filename) == kUntitledName) {
        SaveAsCommand(window, false);
        return;
    }
    // A copy: the write must not see a name that changes under it.
    const std::u16string path(TextOf(Design().main_filename));
    WriteDesign(window, W(path.c_str()));
}

void SaveAsCommand(HWND window, bool template_file) {
    std::u16string path;
    if (!ChooseSaveFile(window, template_file, path)) return;
    // The name is remembered whole or not at all: one too long to remember is not saved.
    if (path.size() >= std::size(Design().main_filename)) {
        ShowMessage(window, kCannotSave, L"CreateFile", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!WriteDesign(window, W(path.c_str()))) return;
    SetText(Design().main_filename, path);
    AbsorbSavedName();
}
