// The list editor "リスト編集": the people of a batch, one row each, kept in
// "listview.ini" and handed to continuous printing by its "印刷" button.
#pragma once
#include <windows.h>

#include "list/list_file.h"

// The list editor's own list in the start folder.
inline constexpr wchar_t kListViewFile[] = L"listview.ini";

// Opens the list editor modally. Its "印刷" fills the print queue; any other way out
// leaves the queue empty. "listview.ini" is read when it opens and written when it closes.
void ShowListEditor(HWND owner);

// The print queue the editor fills for continuous printing; it outlives the editor.
PrintQueue& ThePrintQueue();

// The copy-and-paste store of the editor (field 1 holds the copies as "%d"); empty
// (no template name) until something is copied. It outlives the editor.
ListRow& RecordBuffer();
