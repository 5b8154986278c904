// Where card pixels land on a target: the main window's preview, a printed page or a
// half-scale preview. The one card painter draws through such a mapping; everything here
// is arithmetic, with no Windows header.
#pragma once
#include "design/card_design.h"

struct DevicePoint {
    int x, y;
    friend bool operator==(const DevicePoint&, const DevicePoint&) = default;
};

struct DeviceRect {
    int x, y, w, h;
    friend bool operator==(const DeviceRect&, const DeviceRect&) = default;
};

// A card point (x, y) lands at (offset + trunc(origin + x × scale)) on each axis, a card
// length l at trunc(l × scale). The whole offset is added after truncation, so a
// half-scale preview at (5, 5) keeps the integer halving of negative coordinates.
struct CardMapping {
    int offset_x = 0, offset_y = 0;    // device pixels
    double origin_x = 0, origin_y = 0; // device pixels, before truncation
    double scale_x = 1, scale_y = 1;   // device pixels per card pixel
    double card_w = 0, card_h = 0;     // the whole card on the target, device pixels
    bool scale_font_width = false;     // lfWidth scales with lfHeight (half-scale preview)
    int module_cap = 0;                // largest QR module in device pixels; 0: no cap
};

// The main window: one screen pixel per card pixel, the card's top-left corner at client
// point (10, 50); QR modules of 1..20 pixels.
inline constexpr int kCardLeft = 10;
inline constexpr int kCardTop = 50;
inline constexpr int kScreenModuleCap = 20;
CardMapping PreviewMapping(const CardDesign& design);

// Where the main window shows the card: its top-left corner in client pixels and the
// zoom in screen pixels per card pixel (> 0).
struct CardView {
    int left = kCardLeft, top = kCardTop;
    double scale = 1;
};

// The preview at a view: PreviewMapping moved to the view's corner and scaled, fonts in
// height and width, QR modules capped at kScreenModuleCap × scale.
CardMapping ZoomedPreviewMapping(const CardDesign& design, const CardView& view);

// The view of the main window. The corner is (10, 50) at 96 dpi, scaled by dpi / 96, and
// at least 4 scaled pixels below the toolbar (toolbar_bottom, client pixels). zoom is a
// percent of kZoomSteps, or kZoomFit: the largest scale at which the whole card fits the
// client area (client_w × client_h above the status line at status_top) with a scaled
// margin of 10 on the right and bottom, at least kSmallestZoomScale. Any other zoom is
// DefaultZoom(dpi). A card of no size has scale 1 when fitted.
CardView MainCardView(int card_w, int card_h, int zoom, int dpi, int client_w, int toolbar_bottom,
                      int status_top);
inline constexpr double kSmallestZoomScale = 0.1;

// The zoom step nearest to dpi / 96 (a tie goes to the larger step): 96 and below 100,
// 144 150, 192 and above 200.
int DefaultZoom(int dpi);

// The zoom one step larger (direction > 0) or smaller (direction < 0) than a view at
// scale: the next step of kZoomSteps past it, or the last step when there is none past
// it. From a fitted view that lies between steps, the step on that side.
int NextZoom(double scale, int direction);

// A zoom as stored, made known: a step or kZoomFit stays, anything else becomes
// DefaultZoom(dpi).
int KnownZoom(int zoom, int dpi);

// The card pixel under a device point: the one whose span MapPoint gives holds the
// point, on each axis; the inverse of MapPoint for scales of 1 and more.
DevicePoint CardPointAt(const CardMapping& mapping, int x, int y);

// Half scale with the card's corner at (5, 5): point x at x / 2 + 5, length l at l / 2,
// fonts at half height and width.
CardMapping HalfScaleMapping(const CardDesign& design);

DevicePoint MapPoint(const CardMapping& mapping, int x, int y);
DeviceRect MapRect(const CardMapping& mapping, int x, int y, int w, int h);

// The whole card: its corner and trunc(card_w) × trunc(card_h).
DeviceRect MapCard(const CardMapping& mapping);

// A font's lfHeight on the target: trunc(height × scale_y); the sign (character or cell
// height) stays.
int MapFontHeight(const CardMapping& mapping, int height);

// lfWidth on the target: trunc(width × scale_x) when the mapping scales widths, else as
// stored.
int MapFontWidth(const CardMapping& mapping, int width);

// A QR module of sell card pixels on the target: trunc(sell × scale_x), at least 1 and
// at most module_cap when there is one.
int MapModuleSize(const CardMapping& mapping, int sell);
