// Arithmetic of a printed sheet: how card pixels become printer pixels, where each card
// of the grid lies on the page, the cut marks around a card, the crop of the base
// picture at printed size, and the font heights and QR module sizes on paper.
#pragma once
#include <array>

#include "design/card_design.h"
#include "render/card_mapping.h"

// How far a printer's print lands from where it should, corrected by moving every printed
// position the other way: tenths of a millimetre, positive to the right and down.
struct SheetCorrection {
    int x = 0, y = 0;
    friend bool operator==(const SheetCorrection&, const SheetCorrection&) = default;
};

// The correction the layout dialog accepts: -99.9 .. 99.9 mm.
inline constexpr int kLargestCorrection = 999;

// A correction value kept within -kLargestCorrection..kLargestCorrection.
int LimitCorrection(int tenths);

// The printer as measured after the print dialog (PrinterMetrics), and the correction of
// the printer and side being printed.
struct PrintPage {
    int dpi_x, dpi_y;        // device pixels per inch
    int offset_x, offset_y;  // device pixels from the paper's edges to the printable area
    SheetCorrection correction{};
    int paper_w = 0, paper_h = 0;  // the whole sheet, device pixels (the backs mirror on it)
};

// Scale values of one page, all in double precision.
struct PrintScale {
    double sx, sy;  // device pixels per 0.1 mm
    double ox, oy;  // top-left of the first card on the page, device pixels
    double cw, ch;  // printed card size, device pixels
    double px, py;  // distance from one card to the next, device pixels
    double fx, fy;  // 0.1 mm per card pixel
};

// From the printer's resolution and the design's card size (base_w, base_h) and sheet
// layout (base_pw ... base_spy), the first card moved by the page's correction, so that
// every position derived from the scale (cards, their items, cut marks) moves with it.
// sx and sy are dpi / 254: the printable size in whole millimetres (HORZSIZE) would put
// the far cards of an A4 sheet most of a millimetre off. A zero resolution or card size
// gives a zero scale on that axis instead of an infinite one, so nothing is drawn rather
// than garbage.
PrintScale ComputePrintScale(const CardDesign& design, const PrintPage& page);

// Top-left corner of the card in column k, row r, device pixels (not yet truncated).
struct CardOrigin {
    double x, y;
};
CardOrigin CardOriginAt(const PrintScale& scale, int column, int row);

// The mapping of the card at origin on the page: card pixels to device pixels by
// fx × sx and fy × sy, QR modules without a cap.
CardMapping PrintMapping(const PrintScale& scale, CardOrigin origin);

// The mapping at which the pictures of a card are composed in memory for the page: the
// card's own corner at (0, 0), each composed pixel `step` printer pixels on each side
// (a step below 1 counts as 1).
CardMapping CompositionMapping(const PrintScale& scale, int step);

// The step of CompositionMapping: how many whole printer pixels per card pixel
// (device_per_card_pixel) the finest picture of the card leaves for each of its own pixels
// (finest_per_card_pixel, picture pixels per card pixel), at least 1 and at most
// printer_dpi / 300. So a picture finer than the printer is composed at the printer's
// resolution, a coarse one is not blown up in memory past what it holds, and no edge of a
// picture lands further than 1/300 inch from its place. No picture (0 or less) gives 1.
int CompositionStep(int printer_dpi, double device_per_card_pixel, double finest_per_card_pixel);

// A card point (x, y) on the card at origin, truncated toward zero.
DevicePoint MapCardPoint(const PrintScale& scale, CardOrigin origin, int x, int y);

// A card item's place and size (x, y, w, h in card pixels) on the page.
DeviceRect MapCardRect(const PrintScale& scale, CardOrigin origin, int x, int y, int w, int h);

// The whole card at origin: (trunc X, trunc Y, trunc cw, trunc ch).
DeviceRect PrintedCardRect(const PrintScale& scale, CardOrigin origin);

// lfHeight on paper: trunc(height x fy x sy); the sign (character or cell height) stays.
int PrintedFontHeight(int lf_height, const PrintScale& scale);

// QR module size on paper: trunc(Sell x fx x sx), not capped.
int PrintedModuleSize(int sell, const PrintScale& scale);

// Where the back of the card in column k, row r is printed on the back page, so that once
// the sheet is turned over it lies behind its front: a cell of the front card's printed
// size, and how the back card is turned in it.
struct BackPlacement {
    CardOrigin origin;   // top-left corner of the cell, device pixels of the back page
    double w, h;         // the cell, device pixels: the front card's printed size
    int quarter_turns;   // the back card turned clockwise by 0..3 quarter turns to fill it
};

// From the design's card size, sheet layout, duplex choice and back, for a back page of
// the printer (page.correction is the back's correction, applied after the mirroring, and
// paper_w / paper_h the sheet). The sheet turns over its binding edge: with the edge
// upright on the page (長辺とじ on upright paper, 短辺とじ on paper wider than tall) the
// columns are mirrored on the paper's width; with the edge across the page the rows are
// mirrored on its height and the card turned by a half turn, so that each back reads
// upright when its card is turned over sideways. A back whose orientation differs from the
// front's (IsLandscape) is turned one quarter more, clockwise, into the same cell.
// kDuplexNone counts as long-edge binding. A zero paper size mirrors on zero: the cells
// then lie off the page.
BackPlacement PlaceBackCard(const CardDesign& design, const PrintPage& page, int column, int row);

// How the sides of a design reach the paper: fronts only; the printer's duplex unit turning
// each sheet (front and back pages interleaved in one document); or the user turning the
// printed fronts over by hand before the backs.
enum class DuplexRun { kOneSided, kDevice, kManual };

// Two-sided when the back is in use and a binding edge is chosen (kDuplexLongEdge or
// kDuplexShortEdge; any other value is one-sided); by the device when the design asks for
// it (duplex_device) and the printer has a duplex unit, by hand otherwise.
DuplexRun ChooseDuplexRun(const CardDesign& design, bool printer_duplexes);

// Four corner marks of three points each, to be joined by two lines, in the order top
// left, top right, bottom left, bottom right. Each stands `gap` (p_outline_size, 0.1 mm)
// outside the card's edges and runs `length` (p_outline_len, 0.1 mm) along them.
using CutMark = std::array<DevicePoint, 3>;
std::array<CutMark, 4> CutMarks(const PrintScale& scale, CardOrigin origin, int length, int gap);

