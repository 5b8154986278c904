#include "design/numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(Numbers, WholeNumbersReadLikeTheRuntime) {
    EXPECT_EQ(ParseWholeNumber(u"123"), 123);
    EXPECT_EQ(ParseWholeNumber(u"  -45abc"), -45);
    EXPECT_EQ(ParseWholeNumber(u"+8"), 8);
    EXPECT_EQ(ParseWholeNumber(u"\t\r\n 7"), 7);
    EXPECT_EQ(ParseWholeNumber(u"\u3000" u"12"), 12);  // ideographic space, as typed with an IME
    EXPECT_EQ(ParseWholeNumber(u"abc"), 0);
    EXPECT_EQ(ParseWholeNumber(u""), 0);
    EXPECT_EQ(ParseWholeNumber(u"- 5"), 0);
    EXPECT_EQ(ParseWholeNumber(u"--5"), 0);
    EXPECT_EQ(ParseWholeNumber(u"１２"), 0);  // full-width digits are not digits here
    EXPECT_EQ(ParseWholeNumber(u"12.9"), 12);
}

TEST(Numbers, WholeNumbersSaturateAtTheIntRange) {
    EXPECT_EQ(ParseWholeNumber(u"2147483647"), INT_MAX);
    EXPECT_EQ(ParseWholeNumber(u"2147483648"), INT_MAX);
    EXPECT_EQ(ParseWholeNumber(u"-2147483648"), INT_MIN);
    EXPECT_EQ(ParseWholeNumber(u"-2147483649"), INT_MIN);
    EXPECT_EQ(ParseWholeNumber(u"99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseWholeNumber(u"-99999999999999999999"), INT_MIN);
    EXPECT_EQ(ParseWholeNumber(std::u16string(5000, u'9')), INT_MAX);
    EXPECT_EQ(ParseWholeNumber(u"000000000000000000000000042"), 42);
}

TEST(Numbers, ScanTellsWhereTheDigitsEnd) {
    const LeadingNumber n = ScanLeadingNumber(u"  -91.5mm");
    EXPECT_TRUE(n.negative);
    EXPECT_TRUE(n.has_digits);
    EXPECT_EQ(n.magnitude, 91);
    EXPECT_EQ(n.end, 5u);
    const LeadingNumber none = ScanLeadingNumber(u" + ");
    EXPECT_FALSE(none.has_digits);
    EXPECT_EQ(none.magnitude, 0);
}
