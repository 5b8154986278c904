#include "design/settings_file_win.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "design/settings_file.h"
#include "win/guards.h"
#include "win/process.h"
#include "win/ui_seam.h"

namespace {

constexpr wchar_t kCannotOpen[] = L"ﾌｧｲﾙが開けません";
constexpr wchar_t kNotWideText[] = L"文字列をワイド文字ではありません";
constexpr wchar_t kCaption[] = L"CreateFile";

void Report(HWND owner, const wchar_t* text) {
    ShowMessage(owner, text, kCaption, MB_OK | MB_ICONEXCLAMATION);
}

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

bool WriteAll(HANDLE file, const std::vector<std::uint8_t>& bytes) {
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

// Writes bytes to a temporary file beside fileName and moves it over fileName. On any
// failure the temporary file is gone and fileName is untouched.
bool ReplaceFileContent(const wchar_t* fileName, const std::vector<std::uint8_t>& bytes) {
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

// Feeds the whole file to reader; false when it cannot be opened or created.
bool FeedFile(SettingsFileReader& reader, const wchar_t* fileName) {
    if (!fileName || !*fileName) return false;
    KernelHandle file(CreateFileW(fileName, GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) return false;
    std::vector<std::uint8_t> buffer(64 * 1024);
    DWORD got = 0;
    while (ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
           got > 0) {
        if (!reader.Feed(std::span<const std::uint8_t>(buffer.data(), got))) break;
    }
    return true;
}

}  // namespace

void WriteSettingsFile(HWND owner, SettingsScope scope, const wchar_t* fileName) {
    EnterStartFolder();
    if (!ReplaceFileContent(fileName, SettingsFileBytes(Design(), scope)))
        Report(owner, kCannotOpen);
}

void ReadSettingsFile(HWND owner, SettingsScope scope, const wchar_t* fileName) {
    SettingsFileReader reader(Design(), scope);
    EnterStartFolder();
    if (!FeedFile(reader, fileName)) {
        Report(owner, kCannotOpen);
        return;
    }
    if (reader.Finish() == SettingsReadStatus::NotWideText) Report(owner, kNotWideText);
}
