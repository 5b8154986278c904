// State of the main window that only the application shell keeps.
#pragma once
#include <windows.h>

#include "win/process.h"

struct AppState {
    HWND toolbar = nullptr;
    HWND status_bar = nullptr;
    HWND about_box = nullptr;  // the modeless About box while it is shown
    bool changed = false;      // the design was edited since load, new or save
};

AppState& App();
