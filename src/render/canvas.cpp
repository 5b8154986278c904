#include "render/canvas.h"

// Picking, dragging and the right-button actions arrive with the canvas editing; until
// then the card only shows the design.
void CanvasPick(LPARAM) {}
void CanvasDrag(LPARAM) {}
void CanvasDrop(LPARAM) {}
void CanvasRightButton(LPARAM) {}
