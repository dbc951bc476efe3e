// The numerical-table sizes that every path into the state shares (dialog, --set, document).
#include <gtest/gtest.h>

#include "core/state/NumericalTableLimits.h"

namespace tolvex {
namespace {

TEST(NumericalTableLimits, RangesAndParity) {
    struct Row {
        const char* field;
        int value;
        const char* error;  // empty: admitted
    };
    const std::vector<Row> rows{
        {"gaussCount", 2, ""},
        {"gaussCount", 200, ""},
        {"gaussCount", 7, ""},
        {"gaussCount", 1, "gaussCount = 1 is outside the range 2 to 200 of the Integration options"},
        {"gaussCount", 201, "gaussCount = 201 is outside the range 2 to 200 of the Integration options"},
        {"stehfestCount", 2, ""},
        {"stehfestCount", 20, ""},
        {"stehfestCount", 0, "stehfestCount = 0 is outside the range 2 to 20 of the Integration options"},
        {"stehfestCount", 22, "stehfestCount = 22 is outside the range 2 to 20 of the Integration options"},
        {"stehfestCount", 13, "stehfestCount = 13 is odd; it must be even"},
        {"maxIterations", 0, ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(numericalTableSizeError(row.field, row.value).value_or(""), row.error)
            << row.field << " = " << row.value;
    }
}

TEST(NumericalTableLimits, MoreThanTwelveStehfestTermsAreWarnedAbout) {
    EXPECT_FALSE(stehfestAccuracyWarning(12));
    EXPECT_FALSE(stehfestAccuracyWarning(8));
    const auto warning = stehfestAccuracyWarning(14);
    ASSERT_TRUE(warning);
    EXPECT_EQ(
        warning->rfind("More than 12 Stehfest terms lose accuracy: the Laplace inversion with 14 terms", 0),
        0u)
        << *warning;
}

}  // namespace
}  // namespace tolvex
