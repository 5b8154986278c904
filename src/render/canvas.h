// Mouse interaction on the card: pick, drag, drop and the right-button actions.
// Points are the packed client coordinates of the mouse message.
#pragma once
#include <windows.h>

void CanvasPick(LPARAM point);
void CanvasDrag(LPARAM point);
void CanvasDrop(LPARAM point);
void CanvasRightButton(LPARAM point);
