// The rows of the list editor live in its list view; these helpers read and write them
// as ListRow values, mark rows, and move the whole list to and from list files.
#pragma once
#include <windows.h>

#include <vector>

#include "list/list_file.h"

int RowCount(HWND view);

// The cells of a row: the template name up to kListNameUnits + 1 units (one more than a
// usable name, so a longer one is seen and refused), the copies and strings as they stand
// (at most 127 units each).
ListRow ReadRow(HWND view, int row);

// Writes all seventeen cells of an existing row.
void WriteRow(HWND view, int row, const ListRow& cells);

// Inserts a row at index (clamped to the end) and returns where it went.
int InsertRow(HWND view, int index, const ListRow& cells);

// The selected rows, in list order.
std::vector<int> SelectedRows(HWND view);

// Selected, focused and drop-highlighted together, so selected rows stay visibly marked
// while the list has no focus; off clears all three.
void MarkRow(HWND view, int row, bool on);
void MarkAllRows(HWND view, bool on);

// Replaces every row of the view by rows.
void FillRows(HWND view, const std::vector<ListRow>& rows);

// Writes every row of the view to fileName (relative to the start folder) through a
// temporary file. A failure shows "ﾌｧｲﾙが開けません" captioned "CreateFile" and leaves an
// existing file as it was. True when written.
bool WriteListFile(HWND owner, HWND view, const wchar_t* fileName);

// Reads fileName (relative to the start folder; never created) and, only when it could
// be read, replaces the rows of the view by its rows. A missing or unreadable file, and
// one that holds no text (IsListText), shows "ﾌｧｲﾙが開けません" captioned "CreateFile" and
// leaves the rows as they were. True when read.
bool ReadListFile(HWND owner, HWND view, const wchar_t* fileName);

// ReadListFile for the list editor's own file, which it writes over when it closes: one
// that holds no text (binary data, another program's file) is moved aside first
// (KeepUnreadableFile, whose message names the backup) and gives no rows.
bool ReadOwnListFile(HWND owner, HWND view, const wchar_t* fileName);

// "ファイル書込": the save dialog (asking before replacing a file), ".csv" forced on the
// chosen name, then WriteListFile. Cancel does nothing.
void SaveListAs(HWND owner, HWND view);

// "ファイル読込": the open dialog, ".csv" forced on the chosen name, then ReadListFile.
void OpenList(HWND owner, HWND view);

// The file names of the templates in the start folder's "temp" folder, added to a combo box.
void ListTemplateNames(HWND combo);
