// Files for print shops: the card alone at a print resolution, with bleed (background
// reaching past the trim so a cut a little off shows no paper) and, in the PDF, trim
// marks around it. Here is the arithmetic: sizes in pixels of the chosen resolution, the
// base picture's crop over the bleed, the marks, the PDF page, and which items lie too
// near the trim. No Windows header.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "design/card_design.h"
#include "render/canvas_math.h"
#include "render/card_mapping.h"
#include "render/pdf_file.h"

enum class PrintDataFormat { kPdf, kPng };

// What the save dialog of print data asks.
struct PrintDataOptions {
    PrintDataFormat format = PrintDataFormat::kPdf;
    int dpi = 600;           // 350, 600 or 1200
    int bleed_tenths = 30;   // 0 or 30 (0.1 mm)
    bool trim_marks = true;  // PDF only
};

inline constexpr int kPrintDataResolutions[] = {350, 600, 1200};
inline constexpr int kPrintDataBleeds[] = {0, 30};

// How far inside the trim text and QR codes should stay, and how far the double lines of
// a trim mark stand apart: 3 mm.
inline constexpr int kSafetyTenths = 30;

// The largest width or height of the written picture, pixels.
inline constexpr int kLargestPrintDataSide = 20000;

// The picture and page of print data, in pixels of the chosen resolution: the card
// (base_pw × base_ph rounded to whole pixels), bleed pixels beyond each of its edges, and
// the page reaching margin pixels beyond each edge (the bleed, or room for the marks).
struct PrintDataLayout {
    int dpi = 0;
    int card_w = 0, card_h = 0;
    int bleed = 0;
    int margin = 0;
    int image_w = 0, image_h = 0;  // card + 2 × bleed
    int page_w = 0, page_h = 0;    // card + 2 × margin
};

// The layout for the design's printed size and the options. False when the card has no
// size on paper or card design pixels, when the dpi is below 1, or when the picture
// would be wider or taller than kLargestPrintDataSide (checked before any allocation).
bool MakePrintDataLayout(const CardDesign& design, const PrintDataOptions& options, PrintDataLayout& layout);

// Card pixels to picture pixels: the card's corner at (bleed, bleed), base_w × base_h
// stretched over card_w × card_h, QR modules without a cap.
CardMapping PrintDataMapping(const CardDesign& design, const PrintDataLayout& layout);

// The part of a picture of picture_w × picture_h pixels stretched over the card
// (card_w × card_h device pixels) and bleed_x, bleed_y device pixels beyond each of its
// edges. The card's own crop (BaseCrop) already takes the picture whole along at least one
// axis, so no picture has pixels beyond it on every side: the crop is the cover-fit to card
// plus bleed by the same mode. Centre, top-left and bottom-right take the largest part
// with those proportions from the same place, reaching outward into the pixels the card's
// crop left aside; fit stretches the whole picture over card and bleed, as it stretches
// it over the card. No bleed gives BaseCrop.
SourceRect BleedCrop(int picture_w, int picture_h, double card_w, double card_h, double bleed_x, double bleed_y,
                     int mode);

// Trim marks in page pixels (top-down, from the page's top-left corner), as pairs of
// points: at each corner two marks, each a double line along the trim and 3 mm outside
// it, running outward from 3 mm beyond the trim; at the middle of each edge a centre mark
// (a line on the card's axis and a short cross bar). All lie outside the bleed.
struct MarkSegment {
    double x0, y0, x1, y1;
};
std::vector<MarkSegment> TrimMarks(const PrintDataLayout& layout);

// The page margin that holds the marks: 3 mm, then the marks' length, then 1 mm clear.
inline constexpr int kMarkLengthTenths = 100;
inline constexpr int kMarkMarginTenths = kSafetyTenths + kMarkLengthTenths + 10;

// The PDF page of the layout: MediaBox the page, TrimBox the card, BleedBox card plus
// bleed, the picture over the bleed box, the trim marks when asked; points are pixels ×
// 72 / dpi, so the page renders pixel for pixel at the chosen resolution.
PdfPage PrintDataPage(const PrintDataLayout& layout, bool trim_marks);

// True when a text item in use (with text) or a QR code in use lies less than 3 mm
// (kSafetyTenths on paper) inside the trim or beyond it. Texts take their drawn extents
// (card pixels, unrotated): horizontal text reaches right and down from its point,
// vertical text left and down.
bool ItemsNearTrim(const CardDesign& design, const TextSizes& sizes);

// The name of the back's PNG beside the front's: "_裏" before the file name's extension
// ("山田.png" gives "山田_裏.png"), or at its end when the name has no extension. Folders
// ('\\' or '/') are kept as they are.
std::u16string BackPictureFileName(std::u16string_view front);
