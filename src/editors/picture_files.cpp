#include "editors/picture_files.h"

#include <algorithm>
#include <string>
#include <vector>

#include "design/fixed_text.h"
#include "editors/picture_browse.h"
#include "render/picture_loading.h"
#include "win/guards.h"
#include "win/picture_list.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

// The picture filters by load mode: the kind the mode reads first heads the list.
constexpr wchar_t kBitmapFirstFilter[] = L"BMPFile(*.bmp)\0*.bmp\0JPGFile(*.jpg)\0*.jpg\0ALLFile(*.*)\0*.*\0";
constexpr wchar_t kJpegFirstFilter[] = L"JPGFile(*.jpg)\0*.jpg\0BMPFile(*.bmp)\0*.bmp\0ALLFile(*.*)\0*.*\0";
constexpr wchar_t kAnyFirstFilter[] = L"ALLFile(*.*)\0*.*\0BMPFile(*.bmp)\0*.bmp\0JPGFile(*.jpg)\0*.jpg\0";
constexpr wchar_t kPicturesFirstFilter[] =
    L"画像ファイル(*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff)\0*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff\0"
    L"ALLFile(*.*)\0*.*\0";

struct FolderNames {
    const wchar_t* folder;       // under the start folder
    const wchar_t* name_prefix;  // what a file's name must start with ("" for any)
};

FolderNames NamesOf(PictureFolder folder) {
    switch (folder) {
        case PictureFolder::kBase: return {L"base", L""};
        case PictureFolder::kMark: return {L"mark", L""};
        case PictureFolder::kFace: return {L"phot", L"phot"};
    }
    return {L"base", L""};
}

bool StartsWithIgnoringCase(std::wstring_view name, std::wstring_view prefix) {
    return name.size() >= prefix.size() &&
           CompareStringOrdinal(name.data(), static_cast<int>(prefix.size()), prefix.data(),
                                static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

// The names of the folder's picture files; sub-folders and other files are left out.
std::vector<std::wstring> PictureNames(const std::wstring& folder, const FolderNames& names, int load_mode) {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring_view name(entry.cFileName);
        if (StartsWithIgnoringCase(name, names.name_prefix) && ScanTakesName(U16(name), load_mode)) found.emplace_back(name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    std::sort(found.begin(), found.end(), [](const std::wstring& a, const std::wstring& b) {
        return PictureNameBefore(U16(std::wstring_view(a)), U16(std::wstring_view(b)));
    });
    return found;
}

}  // namespace

const wchar_t* PictureFilter(int load_mode) {
    switch (load_mode) {
        case 0:
        case 1: return kBitmapFirstFilter;
        case 2: return kJpegFirstFilter;
        case kLoadAllPictures: return kPicturesFirstFilter;
        default: return kAnyFirstFilter;
    }
}

const wchar_t* PicturePattern(int load_mode) {
    return load_mode == 2 ? L"*.jpg" : load_mode == 3 || load_mode == kLoadAllPictures ? L"*.*" : L"*.bmp";
}

int ScanPictureFolder(PictureFolder folder, int load_mode) {
    EnterStartFolder();
    const FolderNames names = NamesOf(folder);
    PictureList& list = ThePictureList();
    const int index = list.index;
    ClearPictureList(list);
    const std::wstring prefix = std::wstring(names.folder) + L"\\";
    // A name too long for an entry is refused by the list, never cut.
    for (const std::wstring& name : PictureNames(StartFolderOrCurrent() + L"\\" + names.folder, names, load_mode))
        if (!AddPictureEntry(list, prefix, name) && list.count >= kPictureListScanLimit) break;
    list.index = index >= 0 && index < list.count ? index : 0;
    return list.count;
}

int OpenPictureFolder(HWND owner, PictureFolder folder, int load_mode) {
    const int found = ScanPictureFolder(folder, load_mode);
    ThePictureList().index = 0;
    if (found == 0) ShowMessage(owner, L"画像ファイルが見つかりませんでした。", L"templet_file");
    return found;
}

PicturePtr LoadShownPicture(HWND owner, const wchar_t* path, int load_mode, const wchar_t* caption) {
    EnterStartFolder();
    PicturePtr picture = LoadDialogPicture(path, load_mode);
    if (!picture) ShowMessage(owner, L"画像が読み込み出来ません。", caption);
    return picture;
}

bool BrowsePictureFile(HWND owner, PictureFolder folder, int load_mode, wchar_t (&path)[256]) {
    EnterStartFolder();
    wchar_t name[kFileNameUnits];
    if (path[0]) {
        SetText(name, TextOf(path));
    } else {
        const std::wstring pattern =
            std::wstring(L"\\") + NamesOf(folder).folder + L"\\" + PicturePattern(load_mode);
        // A start folder too long for the buffer leaves the bare pattern rather than a cut one.
        if (!SetWholeText(name, Process().start_folder + pattern)) SetText(name, pattern.substr(1));
    }
    OPENFILENAMEW request =
        FileDialogRequest(owner, name, L"画像ファイルの在処を指定", PictureFilter(load_mode), OFN_HIDEREADONLY);
    if (!Ui().OpenFileDialog(&request)) return false;
    SetText(path, TextOf(name));
    return true;
}

void RunPaintProgram(HWND owner, const wchar_t* path) {
    EnterStartFolder();
    // CreateProcessW may write into the command line, so it gets a buffer of its own, as long
    // as the program's name and the quoted path need.
    std::u16string line = PaintCommandLine(TextOf(Design().oekaki_filename), U16(path));
    std::wstring command(W(line));
    command.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                        nullptr, &startup, &process)) {
        ShowMessage(owner, L"お絵描きソフトが見つかりませんでした。", L"CreateProcess");
        return;
    }
    KernelHandle thread(process.hThread);
    KernelHandle program(process.hProcess);
    thread.Close();
    WaitForSingleObject(program.Get(), INFINITE);
    if (owner) ShowWindow(owner, SW_SHOWDEFAULT);
}
