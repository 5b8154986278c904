#include "design/settings_file_win.h"

#include <cstdint>
#include <vector>

#include "design/design_ranges.h"
#include "design/settings_file.h"
#include "win/file_replace.h"
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

// Feeds the whole file to reader; false when it cannot be opened. Reading opens existing
// files only, so it never leaves a file behind; a missing file reads as an empty one,
// which the reader refuses as not wide text.
bool FeedFile(SettingsFileReader& reader, const wchar_t* fileName) {
    if (!fileName || !*fileName) return false;
    KernelHandle file(CreateFileW(fileName, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) return GetLastError() == ERROR_FILE_NOT_FOUND;
    std::vector<std::uint8_t> buffer(64 * 1024);
    DWORD got = 0;
    while (ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
           got > 0) {
        if (!reader.Feed(std::span<const std::uint8_t>(buffer.data(), got))) break;
    }
    return true;
}

}  // namespace

bool WriteSettingsFile(HWND owner, SettingsScope scope, const wchar_t* fileName) {
    EnterStartFolder();
    if (ReplaceFileContent(fileName, SettingsFileBytes(StoredDesign(), scope))) return true;
    Report(owner, kCannotOpen);
    return false;
}

bool ReadSettingsInto(HWND owner, SettingsFileReader& reader, const wchar_t* fileName) {
    EnterStartFolder();
    if (!FeedFile(reader, fileName)) {
        Report(owner, kCannotOpen);
        return false;
    }
    if (reader.Finish() == SettingsReadStatus::Read) return true;
    Report(owner, kNotWideText);
    return false;
}

void ReadSettingsFile(HWND owner, SettingsScope scope, const wchar_t* fileName) {
    // The file holds the design in its stored form, the front first.
    ShowSide(false);
    SettingsFileReader reader(Design(), scope);
    EnterStartFolder();
    if (!FeedFile(reader, fileName)) {
        Report(owner, kCannotOpen);
        return;
    }
    switch (reader.Finish()) {
        case SettingsReadStatus::Read: KeepDesignInRange(Design()); break;
        case SettingsReadStatus::Empty: Report(owner, kNotWideText); break;
        // The design's own file is written over at exit: it is kept aside first.
        case SettingsReadStatus::Unreadable: KeepUnreadableFile(owner, fileName); break;
    }
}
