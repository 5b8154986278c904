// Reading a whole file into memory, and the program's own small files that it reads at
// start and writes back later: one that cannot be read is kept aside, never written over.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

enum class WholeFile {
    Read,
    Missing,     // no such file (nothing is created)
    CannotOpen,  // there, but not to be opened or read (locked, a folder, no rights)
    TooLarge,    // larger than the limit: not read at all
};

// Reads fileName (relative to the start folder) whole, up to limit bytes.
WholeFile ReadWholeFile(const wchar_t* fileName, std::size_t limit, std::vector<std::uint8_t>& bytes);

// The program's own file fileName: true with its bytes when it was read; false when it
// is missing (silently), cannot be opened ("ﾌｧｲﾙが開けません", caption "CreateFile", owned
// by owner) or is larger than limit, which no file of the program's is: that one is kept
// aside (KeepUnreadableFile, which tells the user).
bool ReadOwnFile(HWND owner, const wchar_t* fileName, std::size_t limit, std::vector<std::uint8_t>& bytes);

// Writes the program's own file in the start folder through a temporary file
// (ReplaceFileContent); false after reporting a failure ("ﾌｧｲﾙが開けません", caption
// "CreateFile", owned by owner).
bool WriteOwnFile(HWND owner, const wchar_t* fileName, std::span<const std::uint8_t> bytes);
