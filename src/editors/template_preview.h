// Where the template browser draws a two-sided template: the front and the back at one
// scale, each under its label, either one above the other or side by side, whichever
// shows them larger. Arithmetic only, no Windows header.
#pragma once
#include "render/card_mapping.h"

// One side's place: the card's top-left corner and the label's, device pixels, and the
// scale in device pixels per card pixel.
struct PreviewSide {
    DevicePoint card;
    DevicePoint label;
    double scale = 0;
};

struct TwoSidePreview {
    PreviewSide front, back;
};

// The largest scale the browser draws at: half size, as a one-sided template.
inline constexpr double kLargestPreviewScale = 0.5;

// The two cards of front_w x front_h and back_w x back_h card pixels (sides below 1 count
// as 1) inside area (device pixels), each under a label line of label_h pixels, gap
// pixels apart. Both sides share one scale, at most kLargestPreviewScale, so that a back
// of the other orientation shows at the front's printed size; stacked when that scale is
// at least the side-by-side one, else side by side. Each label sits at its card's left
// edge, label_h above the card. An area too small for both gives a scale of no less than
// 0.01 and cards that may reach past it.
TwoSidePreview PlaceTwoSides(int front_w, int front_h, int back_w, int back_h, const DeviceRect& area, int label_h,
                             int gap);
