// The layout dialog "印刷の位置設定": card size, grid, origin, spacing and copies on the
// sheet, with a picture of the sheet.
#pragma once
#include <windows.h>

// Copies per print (1..99); set by the layout dialog, read by the print jobs.
int& CopyCount();

// 1 when the last layout dialog was closed with "印刷", else 0.
int& PrintFlag();

// Opens the layout dialog modally, owned by owner; returns when it closes. The caller
// reads PrintFlag() and CopyCount() afterwards.
void ShowLayoutDialog(HWND owner);

// Writes the printer name, the paper size, the copy count and the eight layout fields of
// the design into the dialog's controls (lengths as "%d.%d" millimetres).
void FillLayoutForm(HWND dialog);

// Reads the controls back into the copy count (kept within 1..99) and the layout fields
// of the design (lengths truncated to 0.1 mm; no other limits).
void ReadLayoutForm(HWND dialog);

// Draws the sheet picture into dc from client point (5, 130): "pp.gdt" over the paper,
// the printable area's frame, "ms.gdt" over every card of the grid, both pictures read
// from the start folder. A picture that cannot be read is reported to dialog; the result
// is then false.
bool DrawSheetPreview(HWND dialog, HDC dc);
