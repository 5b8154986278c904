// Replacing a file's content safely: the new content goes to a temporary file beside the
// target, which takes the target's place only once everything was written.
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

// Writes bytes to a temporary file in the folder of fileName (resolved against the
// current directory), flushes it and moves it over fileName. False on any failure (folder
// not writable, disk full, target locked or read-only, fileName naming a folder); the
// temporary file is then gone and an existing fileName is as it was. A file that
// KeepUnreadableFile could not keep is never replaced (false).
bool ReplaceFileContent(const wchar_t* fileName, std::span<const std::uint8_t> bytes);

// How the bytes reach the temporary file: WriteFile unless a test installed a writer that
// fails part way. Same contract as WriteFile.
using FileWriter = BOOL (*)(HANDLE file, const void* bytes, DWORD size, DWORD* written);

// Installs a writer (nullptr goes back to WriteFile) and returns the one it replaced.
FileWriter InstallFileWriter(FileWriter writer);

// Renames fileName (resolved against the current directory) to the first free name
// "<fileName>.unreadable-1", "-2" ... beside it; an earlier backup is never replaced.
// A file that cannot be renamed (held open by another program) is copied to that name
// instead. Returns the backup's full path, empty when neither worked.
std::wstring MoveAsideUnreadable(const wchar_t* fileName);

// Keeps a file the program cannot read from being written over: moves it aside
// (MoveAsideUnreadable) and tells the user where it went, in a message owned by owner
// captioned "CreateFile". When it can be neither moved nor copied, the message says so
// and ReplaceFileContent refuses that file for the rest of the run.
void KeepUnreadableFile(HWND owner, const wchar_t* fileName);
