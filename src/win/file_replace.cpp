#include "win/file_replace.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "design/file_names.h"
#include "win/guards.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

BOOL SystemWrite(HANDLE file, const void* bytes, DWORD size, DWORD* written) {
    return WriteFile(file, bytes, size, written, nullptr);
}

FileWriter g_writer = SystemWrite;

// Full paths of unreadable files that could be neither moved nor copied aside: nothing
// replaces them while the program runs.
std::vector<std::wstring>& UnkeptFiles() {
    static std::vector<std::wstring> files;
    return files;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Backups are numbered from 1; past this many the folder is clearly not being looked after.
constexpr int kMostBackups = 9999;

// The full path of fileName (against the current directory) and the folder it lies in.
bool FullPathAndFolder(const wchar_t* fileName, std::wstring& full, std::wstring& folder) {
    if (!fileName || !*fileName) return false;
    const DWORD size = GetFullPathNameW(fileName, 0, nullptr, nullptr);
    if (size == 0) return false;
    std::wstring buffer(size, L'\0');
    wchar_t* name_part = nullptr;
    const DWORD length = GetFullPathNameW(fileName, size, buffer.data(), &name_part);
    if (length == 0 || length >= size || !name_part) return false;  // no name part: a folder
    full.assign(buffer.data(), length);
    folder.assign(buffer.data(), name_part);
    return true;
}

bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - at, 1 << 20));
        DWORD written = 0;
        if (!g_writer(file, bytes.data() + at, chunk, &written) || written == 0)
            return false;
        at += written;
    }
    return FlushFileBuffers(file) != FALSE;
}

}  // namespace

bool ReplaceFileContent(const wchar_t* fileName, std::span<const std::uint8_t> bytes) {
    std::wstring target, folder;
    if (!FullPathAndFolder(fileName, target, folder)) return false;
    for (const std::wstring& unkept : UnkeptFiles())
        if (SamePath(unkept, target)) return false;
    TemporaryFile temporary;
    if (!temporary.Create(folder)) return false;
    {
        KernelHandle file(CreateFileW(temporary.Path().c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file.Valid() || !WriteAll(file.Get(), bytes)) return false;
    }
    if (!MoveFileExW(temporary.Path().c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    temporary.Keep();
    return true;
}

FileWriter InstallFileWriter(FileWriter writer) {
    const FileWriter previous = g_writer;
    g_writer = writer ? writer : SystemWrite;
    return previous;
}

std::wstring MoveAsideUnreadable(const wchar_t* fileName) {
    std::wstring full, folder;
    if (!FullPathAndFolder(fileName, full, folder)) return {};
    const std::u16string path(U16(full.c_str()));
    for (int copy = 0; copy < 2; ++copy) {
        for (int n = 1; n <= kMostBackups; ++n) {
            const std::wstring backup = W(UnreadableBackupName(path, n).c_str());
            // Neither call replaces an existing file, so an earlier backup stays as it was.
            const bool kept = copy == 0 ? MoveFileExW(full.c_str(), backup.c_str(), MOVEFILE_WRITE_THROUGH)
                                        : CopyFileW(full.c_str(), backup.c_str(), TRUE);
            if (kept) return backup;
            const DWORD error = GetLastError();
            if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) break;
        }
    }
    return {};
}

void KeepUnreadableFile(HWND owner, const wchar_t* fileName) {
    const std::wstring backup = MoveAsideUnreadable(fileName);
    std::wstring text = L"読み込めないファイルです。\n";
    if (backup.empty()) {
        std::wstring full, folder;
        if (FullPathAndFolder(fileName, full, folder)) UnkeptFiles().push_back(full);
        text += L"元のファイルを別の名前で残せなかったため、このファイルには保存しません。";
    } else {
        const std::size_t slash = backup.find_last_of(L'\\');
        text += L"元のファイルは「" + backup.substr(slash == std::wstring::npos ? 0 : slash + 1) +
                L"」として同じフォルダに残しました。";
    }
    ShowMessage(owner, text.c_str(), L"CreateFile", MB_OK | MB_ICONEXCLAMATION);
}
