// The template files of the start folder on disk: the scan of the "temp" folder into the
// picture list and the reading of one template into the program's template record.
#pragma once
#include <windows.h>

#include "design/template_design.h"

// The program's one template record, overwritten by every template read.
TemplateDesign& TheTemplate();

// Fills the picture list (win/picture_list.h) with the templates of the start folder's
// "temp" folder, from entry 0: "temp\" + the long name of each regular file whose name
// ends in ".tep" (sub-folders and names too long for an entry left out), sorted as
// TemplateNameBefore says, at most 299. The index is set to 0. Nothing is opened. The start
// folder is the current directory afterwards. Returns the number of entries (0 when the
// folder is missing or holds no template).
int ScanTemplates();

// Reads the template named by entry index of the picture list into TheTemplate(): the
// record is reset to the empty template first (ResetTemplate), then takes the card keys of
// the file, as the settings reader reads them. A file that cannot be opened or is not
// wide text is reported as the settings reader reports it ("ﾌｧｲﾙが開けません" /
// "文字列をワイド文字ではありません", "CreateFile"), owned by owner, and leaves the empty
// template. Returns true when the file was read; false after a message, or for an index
// outside the list (no message then).
bool ReadTemplateFile(HWND owner, int index);

// The same for a template named by path (relative to the start folder, or absolute).
bool ReadTemplatePath(HWND owner, const wchar_t* path);
