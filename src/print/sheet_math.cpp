#include "print/sheet_math.h"

#include "design/card_design.h"
#include "design/numbers.h"
#include "design/saturating.h"
#include "design/tenths.h"

namespace {

// Reference printable widths in 0.1 mm: A4 across (portrait) and A4 along (landscape).
constexpr long long kPortraitReference = 2100;
constexpr long long kLandscapeReference = 2970;

// Lengths in 0.1 mm to preview pixels: value × factor div c, in 64 bits and saturating,
// so that no length from a printer, a file or a typed value overflows on the way.
int Scaled(long long tenths, long long factor, int c) {
    return SaturateToInt(SaturatingMultiply(tenths, factor) / c);
}

// A paper length in 0.1 mm to pixels: value × 1000 div c div 10.
int PaperPixels(int tenths, int c) { return Scaled(tenths, 1000, c) / 10; }

std::u16string_view FormText(std::u16string_view text) {
    return text.substr(0, kFormTextLength);
}

}  // namespace

int PreviewScale(const SheetPaper& paper) {
    const long long a = paper.printable_width;
    const long long reference = paper.printable_width_px < paper.printable_height_px
                                    ? kPortraitReference
                                    : kLandscapeReference;
    long long c = a * 1000 / reference;
    if (a % reference != 0) ++c;
    return c < 1000 ? 1000 : static_cast<int>(c);
}

PreviewRect PaperPicture(const SheetPaper& paper, int c) {
    return {kSheetLeft, kSheetTop, PaperPixels(paper.paper_width, c),
            PaperPixels(paper.paper_height, c)};
}

PreviewRect PrintableFrame(const SheetPaper& paper, int c) {
    const long long margin_x = static_cast<long long>(paper.paper_width) - paper.printable_width;
    const long long margin_y = static_cast<long long>(paper.paper_height) - paper.printable_height;
    return {kSheetLeft + Scaled(margin_x, 50, c), kSheetTop + Scaled(margin_y, 50, c),
            PaperPixels(paper.printable_width, c), PaperPixels(paper.printable_height, c)};
}

PreviewRect CardPicture(const CardDesign& d, int k, int r, int c) {
    const long long step_x = static_cast<long long>(d.base_pw) + d.base_spx;
    const long long step_y = static_cast<long long>(d.base_ph) + d.base_spy;
    const long long left = SaturatingAdd(SaturatingMultiply(k, step_x), static_cast<long long>(d.base_px));
    const long long top = SaturatingAdd(SaturatingMultiply(r, step_y), static_cast<long long>(d.base_py));
    return {SaturatingIntAdd(kSheetLeft, Scaled(left, 100, c)), SaturatingIntAdd(kSheetTop, Scaled(top, 100, c)),
            Scaled(d.base_pw, 100, c), Scaled(d.base_ph, 100, c)};
}

int ReadWholeNumber(std::u16string_view text) { return ParseWholeNumber(FormText(text)); }

int ReadTenths(std::u16string_view text) { return ParseTenths(FormText(text)); }

int LimitCopies(int copies) {
    if (copies > kMaxCopies) return kMaxCopies;
    if (copies < kMinCopies) return kMinCopies;
    return copies;
}

int StepCopies(std::u16string_view typed, int step) {
    // Saturating: "-2147483648" and "-" must not overflow on the way to 1.
    return LimitCopies(SaturatingIntAdd(ReadWholeNumber(typed), step));
}
