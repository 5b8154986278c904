// The new item dialog "新規に登録する": offered where a right-click on the card hits no
// item, it puts a mark or text item that is not yet in use at the clicked point.
#pragma once
#include <windows.h>

// Opens the dialog modally, owned by owner, for packed_point, a client point of the main
// window as mouse messages pack it (x in the low 16 bits, y in the next 16). Only the
// buttons of items that are off are enabled. A mark button asks for the mark's picture
// and switches the mark on at its natural size when the picture loads; a text button
// switches the item on with the default font, black on white and its sample text.
// Returns i + 1 after the button of text item i, else 0 (mark buttons, the close box).
INT_PTR ShowNewItemDialog(HWND owner, LPARAM packed_point);
