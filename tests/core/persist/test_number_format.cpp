#include <gtest/gtest.h>

#include <cmath>

#include "core/io/NumberFormat.h"

namespace tolvex {
namespace {

TEST(NumberFormat, ExponentHasASignAndThreeDigits) {
    EXPECT_EQ(formatE(154.0, 20, 7), "      1.5400000e+002");
    EXPECT_EQ(formatE(1.0, 20, 7), "      1.0000000e+000");
    EXPECT_EQ(formatE(0.0, 20, 7), "      0.0000000e+000");
    EXPECT_EQ(formatE(-75.53, 20, 5), "       -7.55300e+001");
    EXPECT_EQ(formatE(1e-5, 20, 10), "   1.0000000000e-005");
    EXPECT_EQ(formatE(1e-300, 20, 7), "      1.0000000e-300");
    EXPECT_EQ(formatE(0.01, 9, 2), "1.00e-002");
    EXPECT_EQ(formatE(-0.01, 9, 2), "-1.00e-002");
    EXPECT_EQ(formatE(0.01, 10, 2), " 1.00e-002");
}

TEST(NumberFormat, FloatsArePrintedAsTheirWidenedValue) {
    EXPECT_EQ(formatE(static_cast<double>(75.53f), 20, 7), "      7.5529999e+001");
    EXPECT_EQ(formatE(static_cast<double>(1e-5f), 20, 10), "   9.9999997474e-006");
}

TEST(NumberFormat, FixedAndIntegerAndPadding) {
    EXPECT_EQ(formatF(5.0, 20, 7), "           5.0000000");
    EXPECT_EQ(formatF(-0.5, 8, 4), " -0.5000");
    EXPECT_EQ(formatD(30, 10), "        30");
    EXPECT_EQ(formatD(1234567890123LL, 10), "1234567890123");
    EXPECT_EQ(padLeft("abc", 2), "abc");
    EXPECT_EQ(padRight("No.", 12), "No.         ");
}

TEST(NumberFormat, NonFiniteValues) {
    EXPECT_EQ(formatE(HUGE_VAL, 20, 7), "                 inf");
    EXPECT_EQ(formatE(-HUGE_VAL, 6, 7), "  -inf");
    EXPECT_EQ(formatE(std::nan(""), 5, 7), "  nan");
    EXPECT_EQ(fixedText(HUGE_VAL, 4), "inf");
}

}  // namespace
}  // namespace tolvex
