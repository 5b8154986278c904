// Arithmetic of the layout dialog: the scale of the sheet picture, the rectangles it
// draws, and how the typed copy count and lengths are read.
#pragma once
#include <string_view>

struct CardDesign;

// The sheet picture's top-left corner in the dialog's client area, in pixels.
inline constexpr int kSheetLeft = 5;
inline constexpr int kSheetTop = 160;

inline constexpr int kMinCopies = 1;
inline constexpr int kMaxCopies = 99;

// Only this many characters of a typed value are read.
inline constexpr int kFormTextLength = 31;

// The paper as the printer reports it (PrinterMetrics), lengths in 0.1 mm.
struct SheetPaper {
    int paper_width, paper_height;
    int printable_width, printable_height;
    int printable_width_px, printable_height_px;  // decide portrait or landscape
};

struct PreviewRect {
    int left, top, width, height;
    friend bool operator==(const PreviewRect&, const PreviewRect&) = default;
};

// The picture's scale c: 1000 draws one millimetre as one pixel, larger values shrink the
// picture so that the printable width fits about 210 pixels on portrait paper (printable
// pixels narrower than tall) or 297 on landscape paper. Never below 1000.
int PreviewScale(const SheetPaper& paper);

// The whole paper, from (kSheetLeft, kSheetTop). c is PreviewScale (> 0).
PreviewRect PaperPicture(const SheetPaper& paper, int c);

// The printable area's frame, centred in the paper.
PreviewRect PrintableFrame(const SheetPaper& paper, int c);

// Card in column k, row r of the design's grid (base_px ... base_spy), any k and r.
PreviewRect CardPicture(const CardDesign& design, int k, int r, int c);

// A typed number read as a decimal and truncated toward zero: "2.7" -> 2, "-3" -> -3.
// Only the first kFormTextLength characters count; anything that is not a number reads 0.
int ReadWholeNumber(std::u16string_view text);

// A typed length in 0.1 mm: the decimal times ten, truncated ("91.09" -> 910), first
// kFormTextLength characters only; not a number reads 0.
int ReadTenths(std::u16string_view text);

// The copy count a number stands for: 100 or more is 99, 0 or less is 1.
int LimitCopies(int copies);

// The copy count after "+" (step 1) or "-" (step -1): the typed number plus step, kept
// within 1..99, so "+" at 99 stays 99 and "-" at 1 stays 1.
int StepCopies(std::u16string_view typed, int step);
