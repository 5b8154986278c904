#include "editors/text_page.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "design/fixed_text.h"

namespace {

StrData Item(int on, std::u16string_view text) {
    StrData item{};
    item.on = on;
    SetText(item.s64, text);
    return item;
}

TextRowInput Row(bool on, std::u16string_view text, bool vertical = false) {
    return {on, u"12", u"-7", true, text, vertical};
}

TEST(TextPage, PositionsReadOnlyTheFirst31UnitsOfTheirEdits) {
    LogFont font{};
    StrData item{};
    // The 32nd digit does not count.
    const std::u16string long_number = std::u16string(30, u'0') + u"12";
    StoreTextRow(item, font, {true, long_number, u"  -45abc", false, u"x", false});
    EXPECT_EQ(item.x, 1);
    EXPECT_EQ(item.y, -45);
}

TEST(TextPage, UseFlagFollowsTheString) {
    LogFont font{};
    // Typing into an empty item switches it on, whatever the check box said.
    StrData item = Item(0, u"");
    StoreTextRow(item, font, Row(false, u"山田"));
    EXPECT_EQ(item.on, 1);
    EXPECT_EQ(TextOf(item.s64), u"山田");
    EXPECT_EQ(item.x, 12);
    EXPECT_EQ(item.y, -7);
    EXPECT_EQ(item.bk, 1);
    // An item with text follows its check box.
    StoreTextRow(item, font, Row(false, u"山田"));
    EXPECT_EQ(item.on, 0);
    StoreTextRow(item, font, Row(true, u"山田"));
    EXPECT_EQ(item.on, 1);
    // Emptying switches it off even with the box ticked.
    StoreTextRow(item, font, Row(true, u""));
    EXPECT_EQ(item.on, 0);
    EXPECT_EQ(TextLength(item.s64), 0u);
    // An empty item stays off when nothing is typed.
    StoreTextRow(item, font, Row(true, u""));
    EXPECT_EQ(item.on, 0);
}

TEST(TextPage, LongStringsAreCutAndTheFieldCleared) {
    LogFont font{};
    StrData item = Item(1, std::u16string(63, u'x'));
    StoreTextRow(item, font, Row(true, std::u16string(70, u'あ')));
    EXPECT_EQ(TextOf(item.s64), std::u16string(63, u'あ'));
    StoreTextRow(item, font, Row(true, u"ab"));
    EXPECT_EQ(TextOf(item.s64), u"ab");
    for (int k = 2; k < 64; ++k) EXPECT_EQ(item.s64[k], u'\0') << k;
}

TEST(TextPage, VerticalFlagSetsBothAnglesAndEitherAngleCounts) {
    LogFont font{};
    StrData item = Item(1, u"a");
    StoreTextRow(item, font, Row(true, u"a", true));
    EXPECT_EQ(font.lfEscapement, -900);
    EXPECT_EQ(font.lfOrientation, -900);
    StoreTextRow(item, font, Row(true, u"a", false));
    EXPECT_EQ(font.lfEscapement, 0);
    EXPECT_EQ(font.lfOrientation, 0);
    // A hand-edited file may set only one of the two.
    font.lfOrientation = -900;
    EXPECT_TRUE(IsVertical(font));
    font = {};
    font.lfEscapement = -900;
    EXPECT_TRUE(IsVertical(font));
    font.lfEscapement = 900;
    EXPECT_FALSE(IsVertical(font));
}

TEST(TextPage, HorizontalTextIsClampedIntoTheCard) {
    StrData item{};
    item.x = -5, item.y = -9;
    ClampIntoCard(item, false, 100, 20, 455, 275);
    EXPECT_EQ(item.x, 0);
    EXPECT_EQ(item.y, 0);
    item.x = 400, item.y = 270;
    ClampIntoCard(item, false, 100, 20, 455, 275);
    EXPECT_EQ(item.x, 355);
    EXPECT_EQ(item.y, 255);
    item.x = 355, item.y = 255;  // exactly fitting stays
    ClampIntoCard(item, false, 100, 20, 455, 275);
    EXPECT_EQ(item.x, 355);
    EXPECT_EQ(item.y, 255);
    // Wider than the card: the upper bound wins and the text starts left of the card.
    item.x = 10, item.y = 10;
    ClampIntoCard(item, false, 600, 300, 455, 275);
    EXPECT_EQ(item.x, -145);
    EXPECT_EQ(item.y, -25);
}

TEST(TextPage, VerticalTextSwapsTheBounds) {
    StrData item{};
    item.x = 1000, item.y = 1000;
    // A downward run 300 long and 40 thick on a 455 x 275 card.
    ClampIntoCard(item, true, 300, 40, 455, 275);
    EXPECT_EQ(item.x, 455 - 40);
    EXPECT_EQ(item.y, 275 - 300);
}

TEST(TextPage, ExtremeCardsAndExtentsStopAtTheEndsOfTheRange) {
    StrData item{};
    item.x = item.y = INT_MAX;
    ClampIntoCard(item, false, INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    EXPECT_EQ(item.x, INT_MIN);
    EXPECT_EQ(item.y, INT_MIN);
    item.x = item.y = INT_MAX;
    ClampIntoCard(item, true, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(item.x, INT_MAX);
    EXPECT_EQ(item.y, INT_MAX);
    EXPECT_EQ(SampleOrigin(INT_MAX, true).x, INT_MAX);
}

}  // namespace
