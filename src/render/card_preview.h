// The card in the main window: the whole design at one screen pixel per card pixel, the
// card's top-left corner at client point (10, 50); every text item is measured for
// hit-testing.
#pragma once
#include <windows.h>

#include "design/card_design.h"
#include "render/card_mapping.h"
#include "render/pictures.h"
#include "win/paint_report.h"

// Pick codes of the item being dragged: 0 none, 1..5 mark i+1, 11..15 mark resize,
// 21 face, 31 face resize, 100 + j text item j.
int PickCode();
void SetPickCode(int code);

// Paints the layers bottom to top (base, outline, face, marks, texts, QR codes) of
// `design` with `pictures` into dc, the item of pickCode left out. Stores the text
// extents. The pictures keep their working copies for the next paint. Failures are noted
// in report, never shown.
void PaintCardLayers(HDC dc, const CardDesign& design, DesignPictures& pictures, int pickCode,
                     PaintReport& report);

// The card of the program (the global design and pictures) into the window's paint
// context; returns what failed. The window shows the failures after the paint
// (ShowCardPaintFailures) and refreshes its status line.
PaintReport PaintCard(HDC dc);

// Shows the failures of a paint of the program's card, owned by window: each one once,
// and again only after the design has changed since it was shown.
void ShowCardPaintFailures(HWND window, const PaintReport& report);

// Width and height of text item j (0..14) as last drawn; {0, 0} before the first paint.
SIZE TextExtent(int item);
