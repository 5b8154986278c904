// Arranging items on the card with the mouse and the keyboard: pick, drag, drop, the
// selected item, the right-button actions and the in-place edit box of a text item. The
// main window passes its mouse messages here with their packed client points (signed:
// under mouse capture a point may lie outside the window); every point is taken to the
// card pixel under it at the screen's view (render/card_preview.h), so all work is done
// in card pixels at any zoom. The functions report what the window has to do; the window owns
// the changed flag and the dialogs that follow.
#pragma once
#include <windows.h>

// The in-place edit box's control id.
inline constexpr int kTextEditId = 951;

// Left button down. Commits an open edit box and does nothing else; otherwise picks the
// item under the point, selects it (nothing hit: clears the selection), takes the mouse
// capture and returns true. False when nothing was picked.
bool CanvasPick(HWND window, LPARAM point);

// Mouse move with only the left button down: repaints where the picked item was and draws
// its overlay at the new place.
void CanvasDrag(HWND window, LPARAM point);

// Left button up: writes the picked item's new place or size into the design, releases
// the capture and repaints. True when an item was dropped.
bool CanvasDrop(HWND window, LPARAM point);

// The capture went elsewhere while an item was picked: the pick is dropped where it was
// (nothing moves) and the card repainted.
void CanvasCaptureLost(HWND window);

// What the right button asks of the window afterwards.
enum class RightAction {
    kChanged,      // a picture was chosen or an edit box opened: the design is changed
    kOpenNewItem,  // nothing was hit: the window opens the new-item dialog at the point
};

// Right button down: the picture dialogs of the marks and the face under the point, or the
// in-place edit box of the text item under it (only while no box is open).
RightAction CanvasRightButton(HWND window, LPARAM point);

// Commits an open edit box into its text item: the typed text (at most 63 characters) is
// stored, the box closed and its area repainted. True when a box was open (the design
// changed). Called before any command and before the design is saved at exit, so that
// nothing typed is lost or stored into another item later.
bool CanvasCommitEdit(HWND window);

// The open edit box, or null.
HWND CanvasEditBox();

// The point of the card arithmetic (card pixel + (10, 50)) under a packed client point,
// packed: where the new-item dialog puts an item.
LPARAM CanvasCardPoint(LPARAM point);

// The selection (render/card_preview.h SelectedItem): pick's item selected, or none for
// kPickNone; the frame repainted when it changed.
void CanvasSelect(HWND window, int pick);
// Tab (direction > 0) or Shift+Tab: the next item that is on, in pick order.
void CanvasSelectNext(HWND window, int direction);
// True when an item is selected and on.
bool CanvasHasSelection();

// Keyboard work on the selected item, none while an item is dragged; each returns true
// when it wrote into the design. Moved by (dx, dy) card pixels, clamped onto the card as
// a drop is; centred across or down (canvas_math CentrePick); switched off, which clears
// the selection.
bool CanvasMoveSelection(HWND window, int dx, int dy);
bool CanvasCentreSelection(HWND window, bool across);
bool CanvasSwitchOffSelection(HWND window);
