// Arithmetic of arranging items on the card with the mouse: which item a point hits, where
// a dragged item's overlay goes, and where it lands on release. Points and rectangles are
// client coordinates of the main window (card point + (10, 50)); no Windows header.
#pragma once
#include "design/card_design.h"

// Pick codes: what the left button holds.
inline constexpr int kPickNone = 0;
inline constexpr int kPickMark = 1;         // 1..5: mark code - 1 moved
inline constexpr int kPickMarkResize = 11;  // 11..15: mark code - 11 resized
inline constexpr int kPickFace = 21;
inline constexpr int kPickFaceResize = 31;
inline constexpr int kPickText = 100;       // 100..114: text item code - 100 moved
inline constexpr int kPickQr = 200;         // 200..203: QR code code - 200 moved

// Width and height of a text item as last drawn (card pixels, unrotated).
struct TextSize {
    int cx = 0, cy = 0;
};
using TextSizes = TextSize[kTextCount];

// A rectangle by its edges; a point hits it only strictly inside.
struct ClientRect {
    int left, top, right, bottom;
    friend bool operator==(const ClientRect&, const ClientRect&) = default;
};
bool StrictlyInside(const ClientRect& rect, int x, int y);

// Hit rectangles. Sums are taken in 64 bits and kept within the int range, so items far
// off the card or hand-edited sizes cannot overflow.
ClientRect BoxRect(int x, int y, int w, int h);  // mark, face, QR code
// A text item: to the right of x when horizontal; to the left of x (cy wide, cx tall)
// when vertical.
ClientRect TextRect(const StrData& item, const LogFont& font, TextSize size);

// The bottom-right third of a w x h box at card point (x, y).
bool InResizeZone(int x, int y, int w, int h, int mx, int my);

// The pick code at client point (mx, my): marks 0..4 (resize in their bottom-right third),
// then texts 0..14, QR codes 0..3 and last the face; only items that are on, the lowest
// index first. kPickNone when nothing is hit.
int HitTest(const CardDesign& design, const TextSizes& sizes, int mx, int my);

// The overlay of a mark or the face being dragged by (dx, dy): moved, or resized from its
// bottom-right corner; kept on the card and at least 1 x 1.
struct Overlay {
    int left, top, width, height;
    friend bool operator==(const Overlay&, const Overlay&) = default;
};
Overlay PictureOverlay(int x, int y, int w, int h, bool resize, int dx, int dy, int card_w, int card_h);

// Where a dragged text item shows: its drawing point (the anchor, right of a vertical
// item's glyphs) and its box, on the card.
struct TextOverlay {
    int draw_x, draw_y;
    ClientRect box;  // inclusive corners
};
TextOverlay TextDragOverlay(const StrData& item, const LogFont& font, TextSize size, int dx, int dy,
                            int card_w, int card_h);

// The frame of a QR code dragged by (dx, dy), its stored size, kept on the card.
Overlay QrOverlay(const QrcodeData& qr, int dx, int dy, int card_w, int card_h);

// Writes the release of pick by (ddx, ddy) into the design, by the design's range rule:
// a moved box's place within 0..card - size (0 when it is larger than the card), a
// vertical text's anchor within its glyphs' width..card; a resized box's size within
// 1..card - place. A release at the press point (0, 0) writes nothing. Returns false
// (nothing written) for kPickNone or an unknown code.
bool DropPick(CardDesign& design, const TextSizes& sizes, int pick, int ddx, int ddy);

// The item a pick code works on, as the code that moves it (a resize code gives its item's
// move code); kPickNone for kPickNone or an unknown code.
int MovePickOf(int pick);

// True when the item of a move pick code is on in the design.
bool PickIsOn(const CardDesign& design, int pick);

// The selection after Tab (direction > 0) or Shift+Tab (< 0) from move pick code
// current: the next item that is on in pick order (marks, texts, QR codes, the face),
// round from the last to the first; from kPickNone the first (or last). kPickNone when
// no item is on.
int NextSelection(const CardDesign& design, int current, int direction);

// Centres the item of a move pick code on the card across (x) or down (y): a box by its
// size, a text by its measured extent (a vertical text's anchor lies at the right of its
// glyphs), at (card - extent) / 2 rounded down, within the range rule of a drop. False,
// nothing written, for no item.
bool CentrePick(CardDesign& design, const TextSizes& sizes, int pick, bool across);

// The hit rectangle of the item of a pick code (client coordinates as HitTest's).
ClientRect PickRect(const CardDesign& design, const TextSizes& sizes, int pick);
