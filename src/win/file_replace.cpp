#include "win/file_replace.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "win/guards.h"

namespace {

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
        if (!WriteFile(file, bytes.data() + at, chunk, &written, nullptr) || written == 0)
            return false;
        at += written;
    }
    return FlushFileBuffers(file) != FALSE;
}

}  // namespace

bool ReplaceFileContent(const wchar_t* fileName, std::span<const std::uint8_t> bytes) {
    std::wstring target, folder;
    if (!FullPathAndFolder(fileName, target, folder)) return false;
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
