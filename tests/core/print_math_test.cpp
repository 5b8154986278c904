#include "print/print_math.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "render/bitmap_file.h"

namespace {

std::unique_ptr<CardDesign> DefaultSheet() {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);  // 455 x 275 card, 91 x 55 mm, 2 x 3 grid
    return d;
}

// 2 pixels per 0.1 mm across, 3 down, printable area 50 and 60 pixels in from the edges.
constexpr PrintPage kEvenPage{508, 762, 50, 60};

constexpr PrintPage k300Dpi{300, 300, 0, 0};
constexpr PrintPage k600Dpi{600, 600, 0, 0};

TEST(PrintScale, ValuesFromResolutionAndLayout) {
    auto d = DefaultSheet();
    const PrintScale s = ComputePrintScale(*d, kEvenPage);
    EXPECT_DOUBLE_EQ(s.sx, 2.0);
    EXPECT_DOUBLE_EQ(s.sy, 3.0);
    EXPECT_DOUBLE_EQ(s.ox, 8 * 2.0 - 50);
    EXPECT_DOUBLE_EQ(s.oy, 10 * 3.0 - 60);
    EXPECT_DOUBLE_EQ(s.cw, 1820.0);
    EXPECT_DOUBLE_EQ(s.ch, 1650.0);
    EXPECT_DOUBLE_EQ(s.px, 6 * 2.0 + 1820);
    EXPECT_DOUBLE_EQ(s.py, 12 * 3.0 + 1650);
    EXPECT_DOUBLE_EQ(s.fx, 2.0);
    EXPECT_DOUBLE_EQ(s.fy, 2.0);
}

TEST(PrintScale, UnmeasuredPrinterOrEmptyCardGivesZeroNotInfinity) {
    auto d = DefaultSheet();
    d->base_w = 0;
    const PrintScale s = ComputePrintScale(*d, PrintPage{});
    for (double v : {s.sx, s.sy, s.ox, s.oy, s.cw, s.ch, s.px, s.py, s.fx}) {
        EXPECT_TRUE(std::isfinite(v));
        EXPECT_EQ(v, 0.0);
    }
    EXPECT_DOUBLE_EQ(s.fy, 2.0);
}

TEST(PrintScale, CardsOfTheGridAndPointsOnThem) {
    auto d = DefaultSheet();
    const PrintScale s = ComputePrintScale(*d, kEvenPage);
    const CardOrigin first = CardOriginAt(s, 0, 0);
    EXPECT_EQ(PrintedCardRect(s, first), (DeviceRect{-34, -30, 1820, 1650}));
    const CardOrigin last = CardOriginAt(s, 1, 2);  // column 1, row 2
    EXPECT_DOUBLE_EQ(last.x, 1832 - 34.0);
    EXPECT_DOUBLE_EQ(last.y, 2 * 1686 - 30.0);
    EXPECT_EQ(MapCardPoint(s, last, 100, 50), (DevicePoint{1798 + 400, 3342 + 300}));
    EXPECT_EQ(MapCardRect(s, last, 100, 50, 80, 100), (DeviceRect{2198, 3642, 320, 600}));
}

TEST(PrintScale, CoordinatesAreTruncatedTowardZero) {
    auto d = DefaultSheet();
    d->base_px = 0;
    d->base_py = 0;
    const PrintScale s = ComputePrintScale(*d, k300Dpi);  // sx = 1.1811
    const CardOrigin o = CardOriginAt(s, 0, 0);
    // 1 card pixel is 2 x 1.1804 = 2.36 device pixels: 2 and -2, not 2 and -3.
    EXPECT_EQ(MapCardPoint(s, o, 1, 0).x, 2);
    EXPECT_EQ(MapCardPoint(s, o, -1, 0).x, -2);
    EXPECT_EQ(MapCardRect(s, o, 0, 0, 3, 3).w, 7);  // 7.08
}

TEST(PrintScale, FontHeightAndModuleSizeOnPaper) {
    auto d = DefaultSheet();
    const PrintScale s600 = ComputePrintScale(*d, k600Dpi);
    EXPECT_EQ(PrintedFontHeight(-13, s600), -61);  // -13 x 2 x 2.3622
    EXPECT_EQ(PrintedFontHeight(20, s600), 94);
    // Not capped at 20 device pixels: the printed code keeps the card's proportions.
    EXPECT_EQ(PrintedModuleSize(2, s600), 9);   // 2 x 2 x 2.3622 = 9.45
    EXPECT_EQ(PrintedModuleSize(6, s600), 28);  // 28.3
    const PrintScale s300 = ComputePrintScale(*d, k300Dpi);
    EXPECT_EQ(PrintedModuleSize(2, s300), 4);  // 4.72
    EXPECT_EQ(PrintedModuleSize(0, s300), 0);
}

TEST(CutMarks, FourCornersStandTheGapOutsideAndRunTheLength) {
    auto d = DefaultSheet();
    const PrintScale s = ComputePrintScale(*d, kEvenPage);  // sx 2, sy 3
    const CardOrigin o{100, 200};
    const auto marks = CutMarks(s, o, 50, 1);  // 5 mm long, 0.1 mm away
    // lx 100, ly 150, gx 2, gy 3; card 1820 x 1650.
    const int r = 100 + 1820, b = 200 + 1650;
    EXPECT_EQ(marks[0], (CutMark{{{98, 350}, {98, 197}, {200, 197}}}));
    EXPECT_EQ(marks[1], (CutMark{{{r - 100, 197}, {r + 2, 197}, {r + 2, 350}}}));
    EXPECT_EQ(marks[2], (CutMark{{{98, b - 150}, {98, b + 3}, {200, b + 3}}}));
    EXPECT_EQ(marks[3], (CutMark{{{r + 2, b - 150}, {r + 2, b + 3}, {r - 100, b + 3}}}));
}

TEST(BaseCrop, MatchesTheScreenCropForTheSameCardShape) {
    const int pictures[][2] = {{455, 275}, {1000, 550}, {300, 900}, {640, 480}, {911, 551}};
    for (const auto& p : pictures) {
        for (int mode = 0; mode <= 3; ++mode) {
            EXPECT_EQ(BaseCrop(p[0], p[1], 455 * 4.0, 275 * 4.0, mode),
                      PlacementSourceRect(455, 275, p[0], p[1], mode))
                << p[0] << "x" << p[1] << " mode " << mode;
        }
    }
}

TEST(BaseCrop, TheTopAndBottomPartsOfATallPicture) {
    EXPECT_EQ(BaseCrop(300, 900, 1820, 1100, 2), (SourceRect{0, 0, 300, 181}));
    EXPECT_EQ(BaseCrop(300, 900, 1820, 1100, 3), (SourceRect{0, 900 - 181, 300, 181}));
}

TEST(PrintScale, ValuesFromAFileOrAPrinterBeyondTheDrawableRangeStopAtItsEnds) {
    auto d = DefaultSheet();
    d->base_w = 1;
    d->base_h = 1;
    d->base_pw = d->base_ph = INT_MAX;
    d->base_px = d->base_py = INT_MAX;
    d->base_spx = d->base_spy = INT_MIN;
    for (const PrintPage& page : {PrintPage{INT_MAX, INT_MAX, INT_MIN, INT_MIN}, PrintPage{INT_MIN, 1, 0, INT_MAX}}) {
        const PrintScale s = ComputePrintScale(*d, page);
        for (int k : {0, 1, INT_MAX, INT_MIN}) {
            const CardOrigin o = CardOriginAt(s, k, k);
            const DeviceRect card = PrintedCardRect(s, o);
            EXPECT_TRUE(card.x == INT_MAX || card.x == INT_MIN || std::abs(card.x) < INT_MAX);
            MapCardRect(s, o, INT_MAX, INT_MIN, INT_MAX, INT_MAX);
            MapCardPoint(s, o, INT_MIN, INT_MAX);
            CutMarks(s, o, INT_MAX, INT_MIN);
        }
        EXPECT_EQ(PrintedFontHeight(INT_MIN, s), page.dpi_y > 0 ? INT_MIN : INT_MAX);
        PrintedModuleSize(INT_MAX, s);
    }
    const PrintScale s = ComputePrintScale(*d, k600Dpi);
    EXPECT_EQ(PrintedCardRect(s, CardOriginAt(s, 1, 0)).x, INT_MAX);
    EXPECT_EQ(PrintedModuleSize(INT_MAX, s), INT_MAX);
    EXPECT_EQ(PrintedFontHeight(-INT_MAX, s), INT_MIN);
}

// The printer's correction moves the whole sheet: every card, every item on it and every
// cut mark lands the same distance away, and nothing else changes.
TEST(PrintScale, CorrectionMovesEveryPrintedPosition) {
    auto d = DefaultSheet();
    d->p_outline_len = 50;
    d->p_outline_size = 10;
    PrintPage corrected = kEvenPage;
    corrected.correction = {15, -8};  // +1.5 mm right, 0.8 mm up: 30 and -24 pixels
    const PrintScale plain = ComputePrintScale(*d, kEvenPage);
    const PrintScale moved = ComputePrintScale(*d, corrected);
    EXPECT_DOUBLE_EQ(moved.cw, plain.cw);
    EXPECT_DOUBLE_EQ(moved.px, plain.px);
    EXPECT_DOUBLE_EQ(moved.fy, plain.fy);
    const auto shifted = [](DevicePoint p) { return DevicePoint{p.x + 30, p.y - 24}; };
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < 2; ++k) {
            const CardOrigin a = CardOriginAt(plain, k, r), b = CardOriginAt(moved, k, r);
            const DeviceRect card = PrintedCardRect(plain, a);
            EXPECT_EQ(PrintedCardRect(moved, b), (DeviceRect{card.x + 30, card.y - 24, card.w, card.h}));
            EXPECT_EQ(MapCardPoint(moved, b, 100, 37), shifted(MapCardPoint(plain, a, 100, 37)));
            const auto plain_marks = CutMarks(plain, a, d->p_outline_len, d->p_outline_size);
            const auto moved_marks = CutMarks(moved, b, d->p_outline_len, d->p_outline_size);
            for (std::size_t m = 0; m < plain_marks.size(); ++m)
                for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(moved_marks[m][i], shifted(plain_marks[m][i]));
        }
    }
    // Beyond the dialog's range a stored correction counts as its end, 99.9 mm.
    corrected.correction = {INT_MAX, INT_MIN};
    const PrintScale far = ComputePrintScale(*d, corrected);
    EXPECT_DOUBLE_EQ(far.ox, (8 + 999) * 2.0 - 50);
    EXPECT_DOUBLE_EQ(far.oy, (10 - 999) * 3.0 - 60);
}

TEST(PrintComposition, StepKeepsThePicturesDetailAndNoMore) {
    // 1200 dpi on a 91 mm card of 455 pixels: 9.45 printer pixels per card pixel.
    const double device = 1200 / 254.0 * 910 / 455;
    EXPECT_EQ(CompositionStep(1200, device, 0), 1);     // no picture
    EXPECT_EQ(CompositionStep(1200, device, 1), 4);     // a screen-sized picture: 300 dpi at least
    EXPECT_EQ(CompositionStep(1200, device, 3), 3);     // a 381 dpi picture: 400 dpi
    EXPECT_EQ(CompositionStep(1200, device, 4.2), 2);
    EXPECT_EQ(CompositionStep(1200, device, 13.2), 1);  // finer than the printer
    EXPECT_EQ(CompositionStep(600, device / 2, 1), 2);
    EXPECT_EQ(CompositionStep(300, device / 4, 0.1), 1);  // never coarser than 300 dpi
    EXPECT_EQ(CompositionStep(1200, 0, 1), 1);
    EXPECT_EQ(CompositionStep(INT_MAX, 1e12, 1e-12), INT_MAX / 300);
}

TEST(PrintComposition, MappingPutsTheCardAtTheCornerAtTheStep) {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    const PrintScale s = ComputePrintScale(*d, k600Dpi);
    const CardMapping one = CompositionMapping(s, 1), three = CompositionMapping(s, 3);
    EXPECT_EQ(MapCard(one), (DeviceRect{0, 0, static_cast<int>(s.cw), static_cast<int>(s.ch)}));
    EXPECT_EQ(MapCard(three).w, static_cast<int>(s.cw / 3));
    EXPECT_EQ(MapRect(three, 30, 60, 90, 30), (DeviceRect{static_cast<int>(30 * s.fx * s.sx / 3),
                                                         static_cast<int>(60 * s.fy * s.sy / 3),
                                                         static_cast<int>(90 * s.fx * s.sx / 3),
                                                         static_cast<int>(30 * s.fy * s.sy / 3)}));
    EXPECT_EQ(MapCard(CompositionMapping(s, 0)), MapCard(one));
}

TEST(BitmapFile, RowsAndHeader) {
    EXPECT_EQ(BitmapRowSize(1), 4);
    EXPECT_EQ(BitmapRowSize(4), 12);
    EXPECT_EQ(BitmapRowSize(5), 16);
    EXPECT_EQ(BitmapFileSize(44, 44), 54 + 44 * 132);
    const auto h = MakeBitmapHeader(3, 0x102).value();
    const std::array<std::uint8_t, 54> expected = {
        'B', 'M', 0x4E, 0x0C, 0, 0,  // 54 + 258 x 12 = 3150
        0, 0, 0, 0, 54, 0, 0, 0,
        40, 0, 0, 0, 3, 0, 0, 0, 0x02, 0x01, 0, 0, 1, 0, 24, 0};  // the rest zero
    EXPECT_EQ(h, expected);
}

}  // namespace
