// The calibration page: the sheet's card outlines and, at the top-left corner of the first
// card and the bottom-right corner of the last, a cross with millimetre scales along both
// edges. The user folds the sheet at the stock's real edge and reads on the scale how far
// the print lies from it. Everything here is where things go, in device pixels; nothing
// is drawn.
#pragma once
#include <string>
#include <vector>

#include "print/print_math.h"

struct DeviceLine {
    DevicePoint from, to;
    friend bool operator==(const DeviceLine&, const DeviceLine&) = default;
};

// Which side of its anchor a label lies on; it is centred on the anchor along the other
// axis.
enum class LabelSide { Above, Below, Left, Right };

struct CalibrationLabel {
    DevicePoint at;
    LabelSide side;
    std::u16string text;
};

struct CalibrationCross {
    DevicePoint corner;            // the card's corner, where the two arms meet
    std::vector<DeviceLine> lines;  // the arms, then the ticks
    std::vector<CalibrationLabel> labels;
};

struct CalibrationSheet {
    std::vector<DeviceRect> cards;          // every card of the grid, row by row
    std::vector<CalibrationCross> crosses;  // top-left, bottom-right; none for an empty grid
    int line_width = 1;                     // device pixels, about 0.1 mm
    int label_height = 1;                   // scale numbers, device pixels
    DevicePoint note_at{};                  // top-left of the explanation, inside the first card
    int note_height = 1;                    // its lines, device pixels
};

// The scale reaches this far either side of the corner, in 0.1 mm, ticked every
// kCalibrationTick and numbered every kCalibrationNumberStep.
inline constexpr int kCalibrationReach = 50;
inline constexpr int kCalibrationTick = 5;
inline constexpr int kCalibrationNumberStep = 10;

// The page for the grid of columns x rows cards (the design's counts, already limited)
// at the scale of the page, correction included. Corners are those of the printed card
// rectangles (PrintedCardRect): the first card's top-left, the last card's bottom-right.
// Each arm runs along the card's edge 1 mm past the scale's ends; ticks of 3 mm at 0, 2 mm
// at whole and 1 mm at half millimetres; the numbers 0..5 beyond them, with "+" past the
// positive end (right, down) and "-" past the negative one. The four half scales take a
// quadrant around the corner each, so that the two scales never cross: across, the
// positive half stands outward (up at the first corner, down at the last) and the negative
// half the other way; down, the negative half outward (left at the first, right at the
// last) and the positive half the other way. The numbers along the vertical arm alternate
// between two columns so that they do not touch.
CalibrationSheet CalibrationMarks(const PrintScale& scale, int columns, int rows);
