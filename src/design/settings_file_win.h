// The settings file on disk: opens, reads, writes and reports; the content itself is
// formatted and parsed by design/settings_file.h. Both operate on the one design in its
// stored form (front and back whichever side is shown) and make the start folder the
// current directory first, so a bare name lies in the start folder.
#pragma once
#include <windows.h>

#include "design/card_design.h"
#include "design/settings_file.h"

// Writes the design in the scope to fileName. The content goes to a temporary file in
// the target's folder, which replaces the target only once everything was written, so a
// failure leaves an existing file as it was. Any failure (folder not writable, disk full,
// target locked, read-only or a folder) removes the temporary file and shows
// "ﾌｧｲﾙが開けません" captioned "CreateFile", owned by owner (which may be null).
// True when the file was written.
bool WriteSettingsFile(HWND owner, SettingsScope scope, const wchar_t* fileName);

// Shows the front, resets the design (ResetDesign with the scope), then reads fileName
// into it. The file is
// opened without sharing; reading never creates it. A file that cannot be opened shows
// "ﾌｧｲﾙが開けません", an empty or missing one "文字列をワイド文字ではありません", both captioned
// "CreateFile" and owned by owner; the design then holds the load defaults. A file that
// is not a settings file this program can read (another encoding, binary data) is moved
// aside before anything can write over it (KeepUnreadableFile), and the message says
// where it went. A file that was read is brought into the ranges the dialogs allow
// (KeepDesignInRange). The file is closed before any message is shown.
void ReadSettingsFile(HWND owner, SettingsScope scope, const wchar_t* fileName);

// Reads fileName into whatever record reader was made for (a template), with the start
// folder current. A file that cannot be opened, is empty or missing, or cannot be read as
// text is only reported ("文字列をワイド文字ではありません" for the last two): nothing is
// moved or written. True when the file was read; false after a message.
bool ReadSettingsInto(HWND owner, SettingsFileReader& reader, const wchar_t* fileName);
