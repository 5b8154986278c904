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
