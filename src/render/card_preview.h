// Paints the whole design at one screen pixel per card pixel, the card's top-left
// corner at client point (10, 50); measures every text item for hit-testing.
#pragma once
#include <windows.h>

#include "design/card_design.h"
#include "render/pictures.h"

constexpr int kCardLeft = 10;
constexpr int kCardTop = 50;

// Pick codes of the item being dragged: 0 none, 1..5 mark i+1, 11..15 mark resize,
// 21 face, 31 face resize, 100 + j text item j.
int PickCode();
void SetPickCode(int code);

// Paints the layers bottom to top (base, outline, face, marks, texts, QR codes) of
// `design` with `pictures` into dc, message boxes owned by window. Stores the text
// extents. Does not refresh the status line (the window's paint does that).
void PaintCardLayers(HWND window, HDC dc, const CardDesign& design, const DesignPictures& pictures,
                     int pickCode);

// The card of the program: the global design and pictures, then the status line.
void PaintCard(HWND window, HDC dc);

// Width and height of text item j (0..14) as last drawn; {0, 0} before the first paint.
SIZE TextExtent(int item);

// The colour of three stored components, of which only the low bytes count.
inline COLORREF DesignColour(int r, int g, int b) {
    return RGB(r & 0xFF, g & 0xFF, b & 0xFF);
}
