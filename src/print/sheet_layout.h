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
