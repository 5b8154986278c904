#include "win/process.h"

namespace {
ProcessState g_process;
CardDesign g_design;
bool g_back_shown = false;

std::wstring CurrentDirectory() {
    // The size asked for includes the terminator; a folder may change between the calls.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD needed = GetCurrentDirectoryW(0, nullptr);
        if (needed == 0) return {};
        std::wstring folder(needed, L'\0');
        const DWORD length = GetCurrentDirectoryW(needed, folder.data());
        if (length == 0) return {};
        if (length < needed) {
            folder.resize(length);
            return folder;
        }
    }
    return {};
}
}  // namespace

ProcessState& Process() { return g_process; }

CardDesign& Design() { return g_design; }

bool BackShown() { return g_back_shown; }

void ShowSide(bool back) {
    if (back == g_back_shown) return;
    SwapSides(g_design);
    g_back_shown = back;
}

CardDesign StoredDesign() {
    CardDesign stored = g_design;
    if (g_back_shown) SwapSides(stored);
    return stored;
}

void SetStoredDesign(const CardDesign& stored) {
    g_design = stored;
    g_back_shown = g_back_shown && stored.back_on != 0;
    if (g_back_shown) SwapSides(g_design);
}

bool RecordStartFolder() {
    std::wstring folder = CurrentDirectory();
    if (folder.empty()) return false;
    g_process.start_folder = std::move(folder);
    return true;
}

void EnterStartFolder() {
    if (!g_process.start_folder.empty()) SetCurrentDirectoryW(g_process.start_folder.c_str());
}

std::wstring StartFolderOrCurrent() {
    return g_process.start_folder.empty() ? CurrentDirectory() : g_process.start_folder;
}
