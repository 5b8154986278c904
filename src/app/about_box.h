#pragma once
#include <windows.h>

// Creates the modeless About box owned by owner and shows it; returns its window.
HWND ShowAboutBox(HWND owner);
