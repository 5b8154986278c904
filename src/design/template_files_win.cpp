#include "design/template_files_win.h"

#include <string>
#include <vector>

#include "design/settings_file.h"
#include "design/settings_file_win.h"
#include "win/picture_list.h"
#include "win/process.h"
#include "win/wide.h"

namespace {

TemplateDesign g_template;

// Long names of the regular files in folder that the system's pattern "*.tep" finds
// (which also matches through short 8.3 names; TemplateEntries filters by the long name).
std::vector<std::u16string> ListedFiles(const std::wstring& folder) {
    std::vector<std::u16string> names;
    const std::wstring pattern = folder + L"\\*" + W(kTemplateExtension);
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        names.emplace_back(U16(entry.cFileName));
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

}  // namespace

TemplateDesign& TheTemplate() { return g_template; }

int ScanTemplates() {
    EnterStartFolder();
    PictureList& list = ThePictureList();
    ClearPictureList(list);
    const std::wstring folder = StartFolderOrCurrent() + L"\\" + W(kTemplateFolder);
    for (const std::u16string& entry : TemplateEntries(ListedFiles(folder)))
        AddPictureEntry(list, L"", W(entry));
    return list.count;
}

bool ReadTemplateFile(HWND owner, int index) {
    const PictureList& list = ThePictureList();
    if (index < 0 || index >= list.count) {
        ResetTemplate(g_template);
        return false;
    }
    return ReadTemplatePath(owner, list.entries[index]);
}

bool ReadTemplatePath(HWND owner, const wchar_t* path) {
    SettingsFileReader reader(g_template);
    return ReadSettingsInto(owner, reader, path);
}
