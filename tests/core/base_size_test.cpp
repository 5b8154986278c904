#include "editors/base_size.h"

#include <gtest/gtest.h>

#include <string>

TEST(BaseSize, TypedSidesReadLikeTheRuntime) {
    EXPECT_EQ(ReadCardSide(u"600", 455), 600);
    EXPECT_EQ(ReadCardSide(u" 320px", 455), 320);
    EXPECT_EQ(ReadCardSide(u"1", 455), 1);
    EXPECT_EQ(ReadCardSide(u"10000", 455), 10000);
}

TEST(BaseSize, SidesBelowOnePixelKeepThePreviousValue) {
    for (const char16_t* typed : {u"0", u"-5", u"", u"abc", u"-2147483649", u"０"})
        EXPECT_EQ(ReadCardSide(typed, 275), 275);
}

TEST(BaseSize, LargeSidesStopAtTheBound) {
    EXPECT_EQ(ReadCardSide(u"10001", 455), kMaxCardPixels);
    EXPECT_EQ(ReadCardSide(u"100000", 455), kMaxCardPixels);
    EXPECT_EQ(ReadCardSide(u"99999999999999999999", 455), kMaxCardPixels);
}

TEST(BaseSize, OnlyTheFirst31UnitsAreRead) {
    // 30 zeros and a 7 are read as 7; the digit after the 31st unit is not.
    EXPECT_EQ(ReadCardSide(std::u16string(30, u'0') + u"78", 455), 7);
    EXPECT_EQ(ReadCardSide(std::u16string(31, u' ') + u"9", 455), 455);
}
