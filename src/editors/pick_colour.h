#pragma once
#include <windows.h>

// The system colour dialog, owned by owner, starting at the low bytes of (r, g, b). On
// confirmation r, g and b receive the chosen components (0..255); on cancel they are
// left alone. The keyboard focus goes back to owner either way.
void PickColour(HWND owner, int& r, int& g, int& b);
