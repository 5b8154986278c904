// The record editor "文字列の設定": one list row's template, copies and fifteen strings.
#pragma once
#include <windows.h>

#include "list/list_file.h"

// Runs the record editor modally over record (field 1 holds the copies as "%d"). Only OK
// writes back, and returns true; the close box (its only cancel) leaves record as it was.
bool EditRecord(HWND owner, ListRow& record);
