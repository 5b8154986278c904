// Replacing a file's content safely: the new content goes to a temporary file beside the
// target, which takes the target's place only once everything was written.
#pragma once
#include <cstdint>
#include <span>

// Writes bytes to a temporary file in the folder of fileName (resolved against the
// current directory), flushes it and moves it over fileName. False on any failure (folder
// not writable, disk full, target locked or read-only, fileName naming a folder); the
// temporary file is then gone and an existing fileName is as it was.
bool ReplaceFileContent(const wchar_t* fileName, std::span<const std::uint8_t> bytes);
