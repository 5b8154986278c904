#include "print/sheet_math.h"

#include <gtest/gtest.h>

#include <climits>

#include "design/card_design.h"

namespace {

// A4 at 300 dpi: 200 x 287 mm printable inside 210 x 297 mm of paper.
constexpr SheetPaper kA4Portrait{2100, 2970, 2000, 2870, 2362, 3390};
constexpr SheetPaper kA4Landscape{2970, 2100, 2870, 2000, 3390, 2362};

SheetPaper Portrait(int printable_width) {
    return {printable_width + 100, 4000, printable_width, 3900, 1000, 2000};
}
SheetPaper Landscape(int printable_width) {
    return {printable_width + 100, 4000, printable_width, 3900, 2000, 1000};
}

TEST(PreviewScale, OneMillimetrePerPixelUpToA4) {
    EXPECT_EQ(PreviewScale(kA4Portrait), 1000);
    EXPECT_EQ(PreviewScale(kA4Landscape), 1000);
    EXPECT_EQ(PreviewScale(Portrait(1000)), 1000);  // small paper is not enlarged
    EXPECT_EQ(PreviewScale(Portrait(0)), 1000);
    EXPECT_EQ(PreviewScale(Portrait(2100)), 1000);  // a multiple of the reference: no +1
}

TEST(PreviewScale, WiderPaperShrinksThePicture) {
    // Portrait reference 2100, landscape 2970; +1 unless the width is a multiple.
    EXPECT_EQ(PreviewScale(Portrait(4200)), 2000);
    EXPECT_EQ(PreviewScale(Portrait(2101)), 1001);
    EXPECT_EQ(PreviewScale(Portrait(2870)), 1367);  // 2870000 / 2100 = 1366.7
    EXPECT_EQ(PreviewScale(Landscape(2870)), 1000);
    EXPECT_EQ(PreviewScale(Landscape(4200)), 1415);  // 4200000 / 2970 = 1414.1
    EXPECT_EQ(PreviewScale(Landscape(5940)), 2000);
    // Equal pixel counts count as landscape.
    EXPECT_EQ(PreviewScale({4300, 4000, 4200, 3900, 1000, 1000}), 1415);
}

TEST(PreviewScale, PictureStaysAboutA4Wide) {
    for (int width : {2200, 3000, 4100, 8000, 20000}) {
        const SheetPaper p = Portrait(width);
        EXPECT_LE(PrintableFrame(p, PreviewScale(p)).width, 210) << width;
        EXPECT_GE(PrintableFrame(p, PreviewScale(p)).width, 208) << width;
        const SheetPaper l = Landscape(width + 1000);
        EXPECT_LE(PrintableFrame(l, PreviewScale(l)).width, 297) << width;
        EXPECT_GE(PrintableFrame(l, PreviewScale(l)).width, 295) << width;
    }
}

TEST(SheetPicture, PaperAndFrameOnA4) {
    EXPECT_EQ(PaperPicture(kA4Portrait, 1000), (PreviewRect{5, 160, 210, 297}));
    // The 5 mm margins split evenly: (2100 - 2000) × 50 / 1000 = 5 pixels.
    EXPECT_EQ(PrintableFrame(kA4Portrait, 1000), (PreviewRect{10, 165, 200, 287}));
    EXPECT_EQ(PaperPicture(kA4Landscape, 1000), (PreviewRect{5, 160, 297, 210}));
    EXPECT_EQ(PrintableFrame(kA4Landscape, 1000), (PreviewRect{10, 165, 287, 200}));
}

TEST(SheetPicture, ScaledPaperTruncatesTwice) {
    // 2970 × 1000 div 1367 = 2172, div 10 = 217; margins 100 × 50 div 1367 = 3.
    const SheetPaper p{2970, 4200, 2870, 4100, 1000, 2000};
    EXPECT_EQ(PaperPicture(p, 1367), (PreviewRect{5, 160, 217, 307}));
    EXPECT_EQ(PrintableFrame(p, 1367), (PreviewRect{8, 163, 209, 299}));
}

CardDesign Grid(int pw, int ph, int px, int py, int spx, int spy) {
    CardDesign d{};
    d.base_pw = pw;
    d.base_ph = ph;
    d.base_px = px;
    d.base_py = py;
    d.base_spx = spx;
    d.base_spy = spy;
    return d;
}

TEST(SheetPicture, CardsFollowTheGrid) {
    const CardDesign d = Grid(910, 550, 80, 100, 60, 120);
    EXPECT_EQ(CardPicture(d, 0, 0, 1000), (PreviewRect{13, 170, 91, 55}));
    // Column 1: (910 + 60) + 80 = 1050 -> 105; row 2: 100 + (550 + 120) × 2 = 1440 -> 144.
    EXPECT_EQ(CardPicture(d, 1, 2, 1000), (PreviewRect{110, 304, 91, 55}));
    // At c = 2000 everything halves, each value truncated on its own.
    EXPECT_EQ(CardPicture(d, 1, 2, 2000), (PreviewRect{57, 232, 45, 27}));
}

TEST(SheetPicture, NegativeAndHugeValuesDoNotOverflow) {
    const CardDesign neg = Grid(910, 550, -95, -15, 0, 0);
    EXPECT_EQ(CardPicture(neg, 0, 0, 1000), (PreviewRect{5 - 9, 160 - 1, 91, 55}));
    const CardDesign huge = Grid(INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
    const PreviewRect r = CardPicture(huge, 1, 1, 1000000);
    EXPECT_EQ(r.width, static_cast<int>(static_cast<long long>(INT_MAX) * 100 / 1000000));
    EXPECT_GT(r.left, 0);
    EXPECT_GT(r.top, 0);
    // The last card of a grid of INT_MAX columns: its place stops at the end of the range.
    const PreviewRect far = CardPicture(huge, INT_MAX, INT_MAX, 1000);
    EXPECT_EQ(far.left, INT_MAX);
    EXPECT_EQ(far.top, INT_MAX);
    EXPECT_EQ(CardPicture(huge, INT_MIN, 0, 1000).left, INT_MIN + 5);
    // Exact wherever the result fits: a step of -1 0.1 mm.
    const CardDesign low = Grid(INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MIN, INT_MIN);
    EXPECT_EQ(CardPicture(low, INT_MIN, INT_MIN, 1000).left, 5);
    EXPECT_EQ(CardPicture(low, INT_MAX, 0, 1000).left, 5 - 429496729);
}

TEST(FormNumbers, LengthsReadAsTenthsTruncated) {
    EXPECT_EQ(ReadTenths(u"91.09"), 910);
    EXPECT_EQ(ReadTenths(u"91.05"), 910);
    EXPECT_EQ(ReadTenths(u"8"), 80);
    EXPECT_EQ(ReadTenths(u"-1.5"), -15);
    EXPECT_EQ(ReadTenths(u"abc"), 0);
    EXPECT_EQ(ReadTenths(u""), 0);
    // Only 31 characters count: the 32nd digit is not read.
    EXPECT_EQ(ReadTenths(std::u16string(30, u' ') + u"12"), 10);
    EXPECT_EQ(ReadTenths(std::u16string(30, u' ') + u"7"), 70);
}

TEST(FormNumbers, WholeNumbersTruncateTowardZero) {
    EXPECT_EQ(ReadWholeNumber(u"3"), 3);
    EXPECT_EQ(ReadWholeNumber(u"2.7"), 2);
    EXPECT_EQ(ReadWholeNumber(u"-2.7"), -2);
    EXPECT_EQ(ReadWholeNumber(u"x5"), 0);
    EXPECT_EQ(ReadWholeNumber(u"10枚"), 10);
    EXPECT_EQ(ReadWholeNumber(std::u16string(31, u' ') + u"9"), 0);
}

TEST(CopyCountRules, TypedValuesAreLimitedTo1To99) {
    EXPECT_EQ(LimitCopies(ReadWholeNumber(u"250")), 99);
    EXPECT_EQ(LimitCopies(ReadWholeNumber(u"100")), 99);
    EXPECT_EQ(LimitCopies(ReadWholeNumber(u"99")), 99);
    EXPECT_EQ(LimitCopies(ReadWholeNumber(u"0")), 1);
    EXPECT_EQ(LimitCopies(ReadWholeNumber(u"-4")), 1);
    EXPECT_EQ(LimitCopies(ReadWholeNumber(u"部数")), 1);
    EXPECT_EQ(LimitCopies(ReadWholeNumber(u"99999999999999")), 99);
}

TEST(CopyCountRules, PlusAndMinusStopAtTheEnds) {
    EXPECT_EQ(StepCopies(u"1", +1), 2);
    EXPECT_EQ(StepCopies(u"98", +1), 99);
    EXPECT_EQ(StepCopies(u"99", +1), 99);
    EXPECT_EQ(StepCopies(u"2", -1), 1);
    EXPECT_EQ(StepCopies(u"1", -1), 1);
    EXPECT_EQ(StepCopies(u"", -1), 1);
    EXPECT_EQ(StepCopies(u"", +1), 1);
    EXPECT_EQ(StepCopies(u"250", -1), 99);
    EXPECT_EQ(StepCopies(u"5.9", +1), 6);
    EXPECT_EQ(StepCopies(u"-2147483648", -1), 1);  // found by fuzzing: overflowed on the way
    EXPECT_EQ(StepCopies(u"2147483647", +1), 99);
}

}  // namespace
