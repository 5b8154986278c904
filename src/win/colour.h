// Colours of the design meeting GDI, and the system colour dialog.
#pragma once
#include <windows.h>

// The colour of three stored components, of which only the low bytes count.
inline COLORREF DesignColour(int r, int g, int b) { return RGB(r & 0xFF, g & 0xFF, b & 0xFF); }

// The system colour dialog (through the seam) starting at initial; true with the chosen
// colour when the user confirms. The focus goes back to owner either way.
bool ChooseColour(HWND owner, COLORREF initial, COLORREF& chosen);

// ChooseColour over three stored components: on confirmation they receive the chosen
// colour, else they stay as they were.
void PickColour(HWND owner, int& r, int& g, int& b);
