#include "editors/mark_rows.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "design/fixed_text.h"

namespace {

constexpr int kCardW = 600;
constexpr int kCardH = 360;

MarkRowInput Row(std::u16string_view x, std::u16string_view y, std::u16string_view w, std::u16string_view h) {
    return {true, x, y, w, h, false, u"mark\\logo.bmp"};
}

MarkData Stored(const MarkRowInput& row, int card_w = kCardW, int card_h = kCardH) {
    MarkData mark{};
    StoreMarkRow(mark, row, card_w, card_h);
    return mark;
}

TEST(MarkRows, StoresFlagsNumbersAndPath) {
    MarkRowInput row = Row(u" 12abc", u"-0", u"+200", u"120");
    row.m = true;
    const MarkData mark = Stored(row);
    EXPECT_EQ(mark.on, 1);
    EXPECT_EQ(mark.m, 1);
    EXPECT_EQ(mark.x, 12);
    EXPECT_EQ(mark.y, 0);
    EXPECT_EQ(mark.w, 200);
    EXPECT_EQ(mark.h, 120);
    EXPECT_EQ(TextOf(mark.fm), u"mark\\logo.bmp");

    row.on = false;
    row.m = false;
    const MarkData off = Stored(row);
    EXPECT_EQ(off.on, 0);
    EXPECT_EQ(off.m, 0);
}

TEST(MarkRows, NumbersReadOnlyTheFirst31Units) {
    // The 32nd digit does not count.
    const std::u16string long_number = std::u16string(29, u'0') + u"10" + u"7";
    const MarkData mark = Stored(Row(long_number, u"", u"5", u"5"));
    EXPECT_EQ(mark.x, 10);
}

TEST(MarkRows, PositionsStayOnTheCard) {
    // Negative positions go to 0; past the edge they stop where the mark ends at the edge.
    MarkData mark = Stored(Row(u"-5", u"-1", u"100", u"50"));
    EXPECT_EQ(mark.x, 0);
    EXPECT_EQ(mark.y, 0);
    mark = Stored(Row(u"590", u"400", u"100", u"50"));
    EXPECT_EQ(mark.x, 500);
    EXPECT_EQ(mark.y, 310);
    // Exactly at the edge is kept.
    mark = Stored(Row(u"500", u"310", u"100", u"50"));
    EXPECT_EQ(mark.x, 500);
    EXPECT_EQ(mark.y, 310);
}

TEST(MarkRows, SizesStayWithinOneAndTheCard) {
    // Wider or taller than the card: the card's size, at its corner.
    MarkData mark = Stored(Row(u"40", u"30", u"601", u"1000"));
    EXPECT_EQ(mark.w, kCardW);
    EXPECT_EQ(mark.h, kCardH);
    EXPECT_EQ(mark.x, 0);
    EXPECT_EQ(mark.y, 0);
    // Zero, negative or not a number at all: 1, and the position still fits.
    mark = Stored(Row(u"600", u"360", u"0", u"-20"));
    EXPECT_EQ(mark.w, 1);
    EXPECT_EQ(mark.h, 1);
    EXPECT_EQ(mark.x, 599);
    EXPECT_EQ(mark.y, 359);
    mark = Stored(Row(u"x", u"y", u"幅", u""));
    EXPECT_EQ(mark.w, 1);
    EXPECT_EQ(mark.h, 1);
    EXPECT_EQ(mark.x, 0);
    EXPECT_EQ(mark.y, 0);
}

TEST(MarkRows, ExtremeValuesDoNotOverflow) {
    MarkData mark{};
    mark.x = INT_MIN;
    mark.y = INT_MAX;
    mark.w = INT_MIN;
    mark.h = INT_MAX;
    ClampMarkOntoCard(mark, kCardW, kCardH);
    EXPECT_EQ(mark.x, 0);
    EXPECT_EQ(mark.w, 1);
    EXPECT_EQ(mark.h, kCardH);
    EXPECT_EQ(mark.y, 0);

    // Typed numbers past the int range saturate and are clamped the same way.
    mark = Stored(Row(u"99999999999999", u"-99999999999999", u"99999999999", u"5"));
    EXPECT_EQ(mark.w, kCardW);
    EXPECT_EQ(mark.x, 0);
    EXPECT_EQ(mark.y, 0);

    // A card of no size, or a negative one, still leaves a 1 x 1 mark at its corner.
    mark = MarkData{};
    mark.x = 30;
    mark.y = -30;
    mark.w = 10;
    mark.h = 10;
    ClampMarkOntoCard(mark, 0, INT_MIN);
    EXPECT_EQ(mark.w, 1);
    EXPECT_EQ(mark.h, 1);
    EXPECT_EQ(mark.x, 0);
    EXPECT_EQ(mark.y, 0);
}

TEST(MarkRows, APathTooLongForTheFieldIsRefused) {
    const std::u16string fits(255, u'a');
    MarkRowInput row = Row(u"0", u"0", u"1", u"1");
    row.path = fits;
    MarkData mark = Stored(row);
    EXPECT_EQ(TextOf(mark.fm), fits);

    const std::u16string too_long = std::u16string(256, u'b');
    row.path = too_long;
    StoreMarkRow(mark, row, kCardW, kCardH);
    EXPECT_EQ(TextOf(mark.fm), fits);  // kept, not cut

    row.path = u"";
    StoreMarkRow(mark, row, kCardW, kCardH);
    EXPECT_EQ(TextLength(mark.fm), 0u);
}

TEST(MarkRows, PreviewsAreSqueezedInto80By50DownTheRight) {
    EXPECT_EQ(MarkPreviewRect(0, 300, 300), (DeviceRect{390, 5, 80, 50}));
    EXPECT_EQ(MarkPreviewRect(4, 300, 300), (DeviceRect{390, 225, 80, 50}));
    EXPECT_EQ(MarkPreviewRect(2, 40, 20), (DeviceRect{390, 115, 40, 20}));
}

}  // namespace
