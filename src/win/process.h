// What the whole process shares, touched only by the user-interface thread: the program's
// instance, its main window, the start folder and the one design record.
#pragma once
#include <windows.h>

#include <string>

#include "design/card_design.h"

struct ProcessState {
    HINSTANCE instance = nullptr;
    HWND main_window = nullptr;  // owner of start-up and paint messages; null in tests
    std::wstring start_folder;   // empty until recorded, once the main window is shown
};

ProcessState& Process();

// The one design record, edited in place by every command, as the main window shows it:
// while the back is shown, the back is the record's own card (and the front is in
// `back`), so that every editor, the canvas and the picture tools work on the side shown.
CardDesign& Design();

// True while the back is shown.
bool BackShown();

// Shows the front (false) or the back: the sides of Design() are exchanged when the side
// changes (SwapSides). Nothing else is touched: the caller reloads pictures and repaints.
void ShowSide(bool back);

// The design as it is kept in files, printed and recorded for undo: the front as its card,
// the back in `back`, whichever side is shown.
CardDesign StoredDesign();

// Replaces the design with one in its stored form, keeping the side shown when the new
// design still uses its back (otherwise the front is shown).
void SetStoredDesign(const CardDesign& stored);

// Records the current directory as the start folder, whatever its length. False (and
// the folder stays unrecorded) when the system cannot tell the current directory.
bool RecordStartFolder();

// Makes the start folder the current directory, so relative names resolve there.
// Before the folder is recorded (during start-up) the current directory is kept.
void EnterStartFolder();

// The start folder, or the current directory while none is recorded.
std::wstring StartFolderOrCurrent();

// Sent to the main window when what its status line shows may have changed (the printer
// after a print dialog); the window refreshes the line.
inline constexpr UINT kStatusChangedMessage = WM_APP + 1;
