// The program's one top-level window: menu, toolbar with tooltips, status bar, the
// command dispatch and the start-up and exit sequence.
#pragma once
#include <windows.h>

#include <string>

inline constexpr wchar_t kMainWindowClass[] = L"Main Window";

// The whole program: registers the class, creates and shows the window, runs the message
// loop, saves at exit. Returns the quit code, or 0 when the class cannot be registered.
int RunProgram(HINSTANCE instance, int show);

bool RegisterMainWindowClass(HINSTANCE instance);

// Creates the main window centred on the screen (its WM_CREATE runs the start-up steps).
HWND CreateMainWindow(HINSTANCE instance);

// What the program does after the message loop: auto-save and printer settings.
void SaveOnExit();

// Invalidates the whole client area (erasing) and updates it at once.
void RepaintMainWindow();

// Hands a message of the main loop to the modeless dialog it belongs to (the About box),
// so that Tab, Enter and Escape work there as in a modal dialog; true when the dialog
// took it.
bool PassToModelessDialog(MSG& msg);

// Hands a key message of the main window (not of its edit box) to its accelerators: undo
// and redo. True when it became a command.
bool TranslateMainWindowKeys(MSG& msg);

// Where the card shows: the view from the window's client area, toolbar, status line,
// the design's zoom and the DPI (render/card_preview.h SetScreenCardView).
void UpdateCardView(HWND window);

// Shows the card at zoom (a percent step or kZoomFit; anything else is the DPI's
// default), which the design keeps for the next start; not an undo step.
void SetCardZoom(HWND window, int zoom);

// The title bar's text: the program and its version, with "（裏）" while the back is shown.
std::wstring MainWindowTitle(bool back_shown);

// The tooltip of a toolbar button id (330..339); nullptr for any other id.
const wchar_t* ToolbarTooltip(int id);
