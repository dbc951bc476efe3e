#include <gtest/gtest.h>

#include <cmath>

#include "core/input/LeadingNumber.h"

namespace tolvex {
namespace {

TEST(LeadingNumber, TakesTheLongestDecimalPrefixAfterWhiteSpace) {
    EXPECT_DOUBLE_EQ(leadingNumber("5"), 5.0);
    EXPECT_DOUBLE_EQ(leadingNumber("  \t3.41\r"), 3.41);
    EXPECT_DOUBLE_EQ(leadingNumber("5,3.41"), 5.0);
    EXPECT_DOUBLE_EQ(leadingNumber("-.5x"), -0.5);
    EXPECT_DOUBLE_EQ(leadingNumber("+2."), 2.0);
    EXPECT_DOUBLE_EQ(leadingNumber("1.5e3abc"), 1500.0);
    EXPECT_DOUBLE_EQ(leadingNumber("1.5E-2"), 0.015);
    EXPECT_DOUBLE_EQ(leadingNumber("      1.5400000e+002"), 154.0);
}

TEST(LeadingNumber, StopsBeforeAnIncompleteExponent) {
    EXPECT_DOUBLE_EQ(leadingNumber("2e"), 2.0);
    EXPECT_DOUBLE_EQ(leadingNumber("2e+"), 2.0);
    EXPECT_DOUBLE_EQ(leadingNumber("2e+x5"), 2.0);
}

TEST(LeadingNumber, GivesZeroWhenThereIsNoNumber) {
    EXPECT_EQ(leadingNumber(""), 0.0);
    EXPECT_EQ(leadingNumber("   "), 0.0);
    EXPECT_EQ(leadingNumber("abc"), 0.0);
    EXPECT_EQ(leadingNumber(".e5"), 0.0);
    EXPECT_EQ(leadingNumber(", 3.41"), 0.0);
    EXPECT_EQ(leadingNumber("-"), 0.0);
    EXPECT_EQ(leadingNumber("0x10"), 0.0);  // decimal only: the 0 before the x
}

TEST(LeadingNumber, OverflowAndUnderflowAsAtofGivesThem) {
    EXPECT_EQ(leadingNumber("1e999"), HUGE_VAL);
    EXPECT_EQ(leadingNumber("-1e999"), -HUGE_VAL);
    EXPECT_EQ(leadingNumber("123456e99999999999"), HUGE_VAL);
    EXPECT_EQ(leadingNumber("1e-999"), 0.0);
    EXPECT_EQ(leadingNumber("0.0001e-400"), 0.0);
}

TEST(LeadingNumber, ReadsBackTheNonFiniteTextsTheWriterProduces) {
    EXPECT_EQ(leadingNumber("inf"), HUGE_VAL);
    EXPECT_EQ(leadingNumber("  -inf"), -HUGE_VAL);
    EXPECT_TRUE(std::isnan(leadingNumber("nan")));
}

}  // namespace
}  // namespace tolvex
