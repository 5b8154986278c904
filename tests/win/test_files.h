// Scratch folders and picture files for tests of the Windows code.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A fresh folder under the temporary folder, removed with its files at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// A scratch folder recorded as the program's start folder for the time of a test; the
// current directory and an empty start folder are put back at the end.
class ScratchStartFolder {
public:
    ScratchStartFolder();
    ScratchStartFolder(const ScratchStartFolder&) = delete;
    ScratchStartFolder& operator=(const ScratchStartFolder&) = delete;
    ~ScratchStartFolder();
    const std::wstring& Path() const { return folder_.Path(); }
    std::wstring File(const std::wstring& name) const { return folder_.File(name); }

private:
    ScratchFolder folder_;
    wchar_t previous_directory_[MAX_PATH] = {};
};

// The files (not folders) directly in folder; 0 when it cannot be listed.
int FileCount(const std::wstring& folder);

bool WriteBytes(const std::wstring& path, const void* data, size_t size);
std::vector<uint8_t> ReadBytes(const std::wstring& path);

// A 24-bit bottom-up BMP file of width x height whose pixel (x, y) is colour(x, y).
std::vector<uint8_t> MakeBmp(int width, int height, const std::function<COLORREF(int, int)>& colour);
