// Rules on the names of design files.
#pragma once
#include <string>
#include <string_view>

// The name with its extension replaced: the file-name part (after the last '\') is cut at
// its first '.', then extension (with its dot, e.g. ".ini") is appended. A '.' in a folder
// name is left alone. "card" -> "card.ini", "card.txt" -> "card.ini", "a.b.c" -> "a.ini".
std::u16string ForceExtension(std::u16string_view path, std::u16string_view extension);

// The name under which an unreadable file is kept: "<path>.unreadable-<n>", n >= 1.
std::u16string UnreadableBackupName(std::u16string_view path, int n);
