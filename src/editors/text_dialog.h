// The text dialog "文字の設定": the fifteen text items of the design, five to a page, each
// with its use flag, position, string, background box, vertical writing, font and
// colours, and a live sample of the page's items.
#pragma once
#include <windows.h>

// Opens the dialog modally, owned by owner, and returns when it closes. The dialog
// edits the design in place; the caller repaints and marks the design changed.
// It reopens on the page shown last.
void ShowTextDialog(HWND owner);
