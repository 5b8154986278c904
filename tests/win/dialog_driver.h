// Drives modal dialogs in tests: the code under test opens its dialog and runs the
// dialog's own message loop; the script runs inside that loop once the dialog shows.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Calls show() (which opens a modal dialog on this thread and returns when it closes) and,
// as soon as a new dialog window of this thread appears, calls script(dialog) from within
// the dialog's message loop. The script ends the dialog (for example ClickButton(dialog,
// IDOK)). If no dialog appears within timeout_ms, or the script leaves it open for longer
// than timeout_ms, the dialog is ended with IDCANCEL and *timed_out is set.
INT_PTR DriveModal(const std::function<INT_PTR()>& show, const std::function<void(HWND)>& script,
                   bool* timed_out = nullptr, int timeout_ms = 10000);

// Dispatches this thread's messages for about ms milliseconds (lets dialog timers run).
void PumpFor(int ms);

// Sends BM_CLICK to the control, as a user's click does (the WM_COMMAND follows).
void ClickButton(HWND dialog, int id);

void SetControlText(HWND dialog, int id, const std::wstring& text);
std::wstring ControlText(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
void SetChecked(HWND dialog, int id, bool checked);
