#include "NumberText.h"
#include "RuntimeError.h"

#include <gtest/gtest.h>

namespace tonara::test {

namespace {
int errorOf(auto&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}
} // namespace

TEST(NumberText, SignedTextPutsABlankOrAMinusBeforeTheDigits) {
    EXPECT_EQ(signedNumberText(1000), " 1000");
    EXPECT_EQ(signedNumberText(0), " 0");
    EXPECT_EQ(signedNumberText(-5), "-5");
}

TEST(NumberText, RoundingHalvesToEvenAndOverflow) {
    EXPECT_EQ(toInt16(267.5), 268);
    EXPECT_EQ(toInt16(266.5), 266);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toInt32(2.5000001), 3);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(errorOf([] { toInt16(32767.5); }), err::Overflow);
    EXPECT_EQ(errorOf([] { toInt16(-32769); }), err::Overflow);
    EXPECT_EQ(errorOf([] { toInt32(3e9); }), err::Overflow);
}

TEST(NumberText, StrictReadingAndIntegerPart) {
    EXPECT_DOUBLE_EQ(integerPart(" 7"), 7);
    EXPECT_DOUBLE_EQ(integerPart("7.9"), 7);
    EXPECT_DOUBLE_EQ(integerPart("-0.5"), -1);
    EXPECT_DOUBLE_EQ(toNumber("1e3"), 1000);
    EXPECT_EQ(errorOf([] { toNumber(""); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([] { toNumber("12abc"); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([] { toNumber("-"); }), err::TypeMismatch);
}

TEST(NumberText, LeadingNumberValueTakesTheLongestPrefix) {
    EXPECT_DOUBLE_EQ(leadingNumberValue("  440 Hz"), 440);
    EXPECT_DOUBLE_EQ(leadingNumberValue("3.5e2x"), 350);
    EXPECT_DOUBLE_EQ(leadingNumberValue("12e"), 12);
    EXPECT_DOUBLE_EQ(leadingNumberValue("abc"), 0);
}

TEST(NumberText, KeyFilterAcceptsWhatStillReadsAsANumber) {
    EXPECT_TRUE(readsAsNumber("12"));
    EXPECT_TRUE(readsAsNumber("1."));
    EXPECT_TRUE(readsAsNumber(".5"));
    EXPECT_FALSE(readsAsNumber("1a"));
    EXPECT_FALSE(readsAsNumber(""));
    EXPECT_FALSE(readsAsNumber("1.2.3"));
}

} // namespace tonara::test
