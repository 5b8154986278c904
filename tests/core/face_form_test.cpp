#include "editors/face_form.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "design/fixed_text.h"

namespace {

constexpr int kCardW = 600;
constexpr int kCardH = 360;

PhotData Stored(std::u16string_view x, std::u16string_view y, std::u16string_view w, std::u16string_view h,
                std::u16string_view path = u"phot\\phot-01.bmp") {
    PhotData face{};
    SetText(face.fm, u"phot\\before.bmp");
    StoreFaceForm(face, {true, x, y, w, h, path}, kCardW, kCardH);
    return face;
}

TEST(FaceForm, ReadsNumbersLikeTheEditsShowThem) {
    const PhotData face = Stored(u" 12abc", u"+7", u"80", u"120");
    EXPECT_EQ(face.on, 1);
    EXPECT_EQ(face.x, 12);
    EXPECT_EQ(face.y, 7);
    EXPECT_EQ(face.w, 80);
    EXPECT_EQ(face.h, 120);
    EXPECT_EQ(TextOf(face.fm), u"phot\\phot-01.bmp");

    // Only the first 31 units of an edit count: a digit beyond them is not read.
    const PhotData long_x = Stored(std::u16string(31, u' ') + u"9", u"0", u"1", u"1");
    EXPECT_EQ(long_x.x, 0);
    const PhotData letters = Stored(u"abc", u"", u"w", u"h");
    EXPECT_EQ(letters.x, 0);
    EXPECT_EQ(letters.w, 0);  // a face may have no size; it is simply not seen
}

TEST(FaceForm, KeepsTheFaceWhollyOnTheCard) {
    // Larger than the card: the card's size at its top-left corner.
    const PhotData big = Stored(u"50", u"40", u"1000", u"900");
    EXPECT_EQ(big.w, kCardW);
    EXPECT_EQ(big.h, kCardH);
    EXPECT_EQ(big.x, 0);
    EXPECT_EQ(big.y, 0);
    // Negative positions and sizes come to 0; a face past the right edge comes back.
    const PhotData negative = Stored(u"-5", u"-100", u"-1", u"-20");
    EXPECT_EQ(negative.x, 0);
    EXPECT_EQ(negative.y, 0);
    EXPECT_EQ(negative.w, 0);
    EXPECT_EQ(negative.h, 0);
    const PhotData right = Stored(u"590", u"350", u"80", u"100");
    EXPECT_EQ(right.x, kCardW - 80);
    EXPECT_EQ(right.y, kCardH - 100);
}

TEST(FaceForm, ExtremeValuesDoNotOverflow) {
    PhotData face{INT_MIN, INT_MAX, INT_MIN, INT_MAX, INT_MIN, {}};
    ClampFaceOntoCard(face, kCardW, kCardH);
    EXPECT_EQ(face.w, kCardW);
    EXPECT_EQ(face.h, 0);
    EXPECT_EQ(face.x, 0);
    EXPECT_EQ(face.y, 0);
    // A card of no width leaves no room: the upper bound wins over the lower one.
    PhotData on_nothing{1, 10, 10, 10, 10, {}};
    ClampFaceOntoCard(on_nothing, -4, 0);
    EXPECT_EQ(on_nothing.w, -4);
    EXPECT_EQ(on_nothing.h, 0);
    EXPECT_EQ(on_nothing.x, 0);
    EXPECT_EQ(on_nothing.y, 0);
}

TEST(FaceForm, RefusesAPathTooLongAndKeepsItsOwn) {
    const std::u16string longest(255, u'a');
    EXPECT_EQ(TextOf(Stored(u"0", u"0", u"1", u"1", longest).fm), longest);
    const PhotData refused = Stored(u"0", u"0", u"1", u"1", std::u16string(256, u'a'));
    EXPECT_EQ(TextOf(refused.fm), u"phot\\before.bmp");
    EXPECT_EQ(TextOf(Stored(u"0", u"0", u"1", u"1", u"").fm), u"");
}

}  // namespace
