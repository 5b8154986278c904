#include "print/sheet_presets_file.h"

#include "win/file_replace.h"
#include "win/whole_file.h"

namespace {

constexpr wchar_t kSheetsFile[] = L"sheets.ini";

// A hundred presets take some 40 KB; anything beyond this is not the program's file.
constexpr std::size_t kLargestSheetsFile = std::size_t{1} << 20;

}  // namespace

std::vector<SheetPreset> ReadSheetPresets(HWND owner) {
    std::vector<SheetPreset> saved;
    std::vector<std::uint8_t> bytes;
    if (!ReadOwnFile(owner, kSheetsFile, kLargestSheetsFile, bytes)) return saved;
    if (ReadSheetsFile(bytes, saved) == KeyValueRead::Unreadable) KeepUnreadableFile(owner, kSheetsFile);
    return saved;
}

bool WriteSheetPresets(HWND owner, const std::vector<SheetPreset>& saved) {
    return WriteOwnFile(owner, kSheetsFile, SheetsFileBytes(saved));
}
