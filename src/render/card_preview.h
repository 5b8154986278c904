// The card in the main window: the whole design at the window's view (its corner and
// zoom, by default one screen pixel per card pixel at client point (10, 50)), the
// selected item framed; every text item is measured in card pixels for hit-testing.
#pragma once
#include <windows.h>

#include "design/card_design.h"
#include "render/canvas_math.h"
#include "render/card_mapping.h"
#include "render/pictures.h"
#include "win/paint_report.h"

// Pick codes of the item being dragged: 0 none, 1..5 mark i+1, 11..15 mark resize,
// 21 face, 31 face resize, 100 + j text item j.
int PickCode();
void SetPickCode(int code);

// The selected item as its move pick code (kPickNone: none); a resize code selects its item.
int SelectedItem();
void SetSelectedItem(int pick);

// Where the main window shows the card now (the main window sets it as its size, zoom and
// DPI change), and the mapping of the program's design there.
const CardView& ScreenCardView();
void SetScreenCardView(const CardView& view);
CardMapping ScreenMapping();

// A hit rectangle of the card arithmetic (card point + (10, 50)) on the screen through
// mapping, grown by margin device pixels on each side.
RECT ScreenRectOf(const CardMapping& mapping, const ClientRect& rect, int margin);

// The card arithmetic's point (card pixel + (10, 50)) under a screen point of the window.
POINT CardClientPoint(const CardMapping& mapping, POINT screen);

// Paints the layers bottom to top (base, outline, face, marks, texts, QR codes) of
// `design` with `pictures` into dc, the item of pickCode left out. Stores the text
// extents. The pictures keep their working copies for the next paint. Failures are noted
// in report, never shown.
void PaintCardLayers(HDC dc, const CardDesign& design, DesignPictures& pictures, int pickCode,
                     PaintReport& report);

// The card of the program (the global design and pictures) into the window's paint
// context, with a dotted frame around the selected item unless an item is dragged;
// returns what failed. The window shows the failures after the paint
// (ShowCardPaintFailures) and refreshes its status line.
PaintReport PaintCard(HDC dc);

// The card alone at one device pixel per card pixel with its corner at (0, 0): pictures,
// texts and QR codes, no outline and no selection (a picture of the card to save).
void PaintCardAtOneToOne(HDC dc, const CardDesign& design, DesignPictures& pictures, PaintReport& report);

// Shows the failures of a paint of the program's card, owned by window: each one once,
// and again only after the design has changed since it was shown.
void ShowCardPaintFailures(HWND window, const PaintReport& report);

// Width and height of text item j (0..14) as last drawn; {0, 0} before the first paint.
SIZE TextExtent(int item);
