// The layout dialog "印刷の位置設定": card size, grid, origin, spacing and copies on the
// sheet, with a picture of the sheet.
#pragma once
#include <windows.h>

#include "win/paint_report.h"

// How the layout dialog was left: print is set only by "印刷"; copies is 1..99.
struct LayoutChoice {
    bool print = false;
    int copies = 1;
};

// Opens the layout dialog modally, owned by owner, and returns how it was left. The
// dialog edits the eight layout fields of the design in place; cancel puts them back.
// "印刷" also takes the 両面 choice (duplex) and the printer's duplex unit (duplex_device)
// from those of their controls that are not grey.
LayoutChoice ShowLayoutDialog(HWND owner);

// Draws the sheet picture into dc from client point (5, 130): "pp.gdt" over the paper,
// the printable area's frame, "ms.gdt" over every card of the grid, both pictures read
// from the start folder. A picture that cannot be read is noted in report; the result is
// then false and the dialog ends once its paint is over.
bool DrawSheetPreview(HDC dc, PaintReport& report);
