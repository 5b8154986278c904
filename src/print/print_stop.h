// The stop dialog of a print job, and the abort procedure that keeps the program
// answering (the stop dialog included) while pages are spooled.
#pragma once
#include <windows.h>

// The dialog template, named by a string.
inline constexpr wchar_t kStopDialogTemplate[] = L"PRNSTOP";

// 1 once the user cancelled through the stop dialog; cleared by OpenStopDialog.
int& StopFlag();

// The stop dialog while it is shown, else nullptr.
HWND StopDialog();

// Clears the stop flag and shows the modeless stop dialog owned by owner, painted at once.
void OpenStopDialog(HWND owner);

// Destroys the stop dialog if it is still shown.
void CloseStopDialog();

// The abort procedure for SetAbortProc: dispatches every queued message (the stop
// dialog's through IsDialogMessageW) and returns FALSE once the stop flag is set.
BOOL CALLBACK PrintAbortProc(HDC printer_dc, int error);
