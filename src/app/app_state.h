// Process-wide state of the program, touched only by the user-interface thread.
#pragma once
#include <windows.h>

#include "design/card_design.h"

struct AppState {
    HINSTANCE instance = nullptr;
    HWND main_window = nullptr;
    HWND toolbar = nullptr;
    HWND status_bar = nullptr;
    wchar_t start_folder[257] = {};  // recorded once the main window is shown
    bool changed = false;            // the design was edited since load, new or save
};

AppState& App();

// The one design record, edited in place by every command.
CardDesign& Design();

// Makes the start folder the current directory, so relative names resolve there.
// Before the folder is recorded (during start-up) the current directory is kept.
void EnterStartFolder();
