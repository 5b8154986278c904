// sheets.ini in the start folder: the card-stock presets the user saved.
#pragma once
#include <windows.h>

#include <vector>

#include "print/sheet_presets.h"

// Reads the saved presets (none for a missing or empty file). A file that cannot be
// opened is reported; one that is not a presets file, or larger than any the program
// writes, is kept aside (KeepUnreadableFile) and reads as none. Messages are owned by owner.
std::vector<SheetPreset> ReadSheetPresets(HWND owner);

// Writes them through a temporary file; false after reporting a failure
// ("ﾌｧｲﾙが開けません", caption "CreateFile").
bool WriteSheetPresets(HWND owner, const std::vector<SheetPreset>& saved);
