// The block that vivdrive writes into the program's memory and vivprobe.dll fills there.
// Menus cannot be read from another process under Wine (GetMenuItemInfoW fails with
// ERROR_INVALID_MENU_HANDLE), so the reading runs on a thread inside the program.
#pragma once
#include <cstdint>

struct ProbeRequest {
    std::uint64_t window;    // in: the window whose menu bar is read
    std::uint32_t capacity;  // in: characters that fit in text
    std::uint32_t length;    // out: characters written, without the terminating zero
    wchar_t text[1];         // out: the menu lines (see ReadWindowMenu), zero-terminated
};

// Characters of text in the block vivdrive allocates.
inline constexpr std::uint32_t kProbeTextCapacity = 32768;

// Results of ReadWindowMenu (the remote thread's exit code).
enum ProbeResult : std::uint32_t {
    kProbeOk = 0,
    kProbeNoMenu = 1,    // the window has no menu bar
    kProbeOverflow = 2,  // the lines do not fit in capacity
};

// The exported name of the thread routine in vivprobe.dll.
inline constexpr char kProbeMenuRoutine[] = "ReadWindowMenu";
