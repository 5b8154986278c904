#include "print/calibration_math.h"

#include <algorithm>
#include <cmath>

#include "design/saturating.h"

namespace {

// Lengths of the page in 0.1 mm.
constexpr int kArmBeyond = 10;
constexpr int kZeroTick = 30, kWholeTick = 20, kHalfTick = 10;
constexpr int kLabelGap = 5;         // between the longest tick and the numbers
constexpr int kLabelHeight = 14;
constexpr int kSecondColumn = 12;    // how much further out the odd numbers stand
constexpr int kNoteInset = 80;       // the explanation from the first card's corner
constexpr int kNoteHeight = 25;

int Trunc(double value) { return TruncateToInt(value); }

std::u16string Number(int whole_mm) {
    if (whole_mm > kCalibrationReach / kCalibrationNumberStep) return u"+";
    if (whole_mm < -kCalibrationReach / kCalibrationNumberStep) return u"-";
    return std::u16string(1, static_cast<char16_t>(u'0' + std::abs(whole_mm)));
}

int TickLength(int tenths) {
    if (tenths == 0) return kZeroTick;
    return tenths % kCalibrationNumberStep == 0 ? kWholeTick : kHalfTick;
}

// The cross at corner; out is -1 at the first corner (outside the card is up and left),
// +1 at the last. Each half of a scale has a quadrant of its own, turning around the
// corner, so that ticks and numbers of the two scales never meet: the across scale's
// positive half stands outward, its negative half the other way; the down scale's
// negative half outward, its positive half the other way.
int AcrossSide(int t, int out) { return t >= 0 ? out : -out; }
int DownSide(int t, int out) { return t < 0 ? out : -out; }

CalibrationCross Cross(const PrintScale& s, DevicePoint corner, int out) {
    CalibrationCross cross;
    cross.corner = corner;
    const double cx = corner.x, cy = corner.y;
    const int reach = kCalibrationReach + kArmBeyond;
    cross.lines.push_back({{Trunc(cx - reach * s.sx), corner.y}, {Trunc(cx + reach * s.sx), corner.y}});
    cross.lines.push_back({{corner.x, Trunc(cy - reach * s.sy)}, {corner.x, Trunc(cy + reach * s.sy)}});
    for (int t = -kCalibrationReach; t <= kCalibrationReach; t += kCalibrationTick) {
        const int x = Trunc(cx + t * s.sx), y = Trunc(cy + t * s.sy);
        cross.lines.push_back({{x, corner.y}, {x, Trunc(cy + AcrossSide(t, out) * TickLength(t) * s.sy)}});
        cross.lines.push_back({{corner.x, y}, {Trunc(cx + DownSide(t, out) * TickLength(t) * s.sx), y}});
    }
    const int steps = kCalibrationReach / kCalibrationNumberStep + 1;  // one past the ends for the signs
    for (int n = -steps; n <= steps; ++n) {
        const int t = n * kCalibrationNumberStep;
        const int across_side = AcrossSide(t, out), down_side = DownSide(t, out);
        const int across = across_side * (kZeroTick + kLabelGap);
        const int along = down_side * (kZeroTick + kLabelGap + (n % 2 != 0 ? kSecondColumn : 0));
        cross.labels.push_back({{Trunc(cx + t * s.sx), Trunc(cy + across * s.sy)},
                                across_side < 0 ? LabelSide::Above : LabelSide::Below, Number(n)});
        cross.labels.push_back({{Trunc(cx + along * s.sx), Trunc(cy + t * s.sy)},
                                down_side < 0 ? LabelSide::Left : LabelSide::Right, Number(n)});
    }
    return cross;
}

}  // namespace

CalibrationSheet CalibrationMarks(const PrintScale& s, int columns, int rows) {
    CalibrationSheet sheet;
    sheet.line_width = std::max(1, Trunc(s.sx + 0.5));
    sheet.label_height = std::max(1, Trunc(kLabelHeight * s.sy));
    sheet.note_height = std::max(1, Trunc(kNoteHeight * s.sy));
    if (columns <= 0 || rows <= 0) return sheet;
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k < columns; ++k) sheet.cards.push_back(PrintedCardRect(s, CardOriginAt(s, k, r)));
    const DeviceRect& first = sheet.cards.front();
    const DeviceRect& last = sheet.cards.back();
    sheet.crosses.push_back(Cross(s, {first.x, first.y}, -1));
    sheet.crosses.push_back(Cross(s, {SaturatingIntAdd(last.x, last.w), SaturatingIntAdd(last.y, last.h)}, +1));
    sheet.note_at = {Trunc(first.x + kNoteInset * s.sx), Trunc(first.y + kNoteInset * s.sy)};
    return sheet;
}
