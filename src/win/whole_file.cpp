#include "win/whole_file.h"

#include "win/file_replace.h"
#include "win/guards.h"
#include "win/process.h"
#include "win/ui_seam.h"

WholeFile ReadWholeFile(const wchar_t* fileName, std::size_t limit, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    EnterStartFolder();
    KernelHandle file(CreateFileW(fileName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? WholeFile::Missing
                                                                              : WholeFile::CannotOpen;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) return WholeFile::CannotOpen;
    if (static_cast<unsigned long long>(size.QuadPart) > limit) return WholeFile::TooLarge;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    std::size_t done = 0;
    while (done < bytes.size()) {
        if (!ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr)) {
            bytes.clear();
            return WholeFile::CannotOpen;
        }
        if (read == 0) break;
        done += read;
    }
    bytes.resize(done);
    return WholeFile::Read;
}

bool WriteOwnFile(HWND owner, const wchar_t* fileName, std::span<const std::uint8_t> bytes) {
    EnterStartFolder();
    if (ReplaceFileContent(fileName, bytes)) return true;
    ShowMessage(owner, L"ﾌｧｲﾙが開けません", L"CreateFile", MB_OK | MB_ICONWARNING);
    return false;
}

bool ReadOwnFile(HWND owner, const wchar_t* fileName, std::size_t limit, std::vector<std::uint8_t>& bytes) {
    switch (ReadWholeFile(fileName, limit, bytes)) {
        case WholeFile::Read: return true;
        case WholeFile::Missing: return false;
        case WholeFile::CannotOpen:
            ShowMessage(owner, L"ﾌｧｲﾙが開けません", L"CreateFile", MB_OK | MB_ICONEXCLAMATION);
            return false;
        case WholeFile::TooLarge: KeepUnreadableFile(owner, fileName); return false;
    }
    return false;
}
