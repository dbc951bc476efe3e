// When computed well-function values count as a failure: not a number, or negative beyond the rounding
// noise that the series of the partially penetrating well leave around zero.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/typecurves/WellFunctionValues.h"

namespace tolvex {
namespace {

TEST(WellFunctionValues, NegativeBeyondNoiseOrNotANumber) {
    struct Row {
        std::vector<double> values;
        std::optional<std::size_t> bad;
    };
    const std::vector<Row> rows{
        {{0.1, 1.0, 8.6}, std::nullopt},
        {{-9.6e-11, 1.0, 8.6}, std::nullopt},  // the noise of model 1's default family
        {{-8.7e-6, 1.0, 8.6}, 0},              // just beyond 1e-6 of the largest value
        {{-8.5e-6, 1.0, 8.6}, std::nullopt},
        {{0.5, 0.6, -983.0}, 2},
        {{0.0, 0.0}, std::nullopt},
        {{0.0, -1e-300}, 1},    // the scale is the values' own, however small
        {{1.0, NAN, -5.0}, 1},  // not a number is reported first
        {{1.0, -5.0, INFINITY}, 2},
        {{}, std::nullopt},
    };
    for (const Row& row : rows) {
        const auto bad = firstBadValue(std::span<const double>(row.values));
        ASSERT_EQ(bad.has_value(), row.bad.has_value()) << ::testing::PrintToString(row.values);
        if (bad) {
            EXPECT_EQ(bad->index, *row.bad) << ::testing::PrintToString(row.values);
        }
    }
    const std::vector<float> floats{1.0f, -2.0f};
    EXPECT_EQ(firstBadValue(std::span<const float>(floats))->value, -2.0);
}

TEST(WellFunctionValues, TheCauseNamesTheStehfestTermsForTheLaplaceModels) {
    for (int model : {6, 7, 8}) {
        EXPECT_EQ(
            negativeValueCause(model, 18, 20),
            "too many Stehfest terms (18) for the Laplace inversion in double precision; choose at most "
            "12 in the Integration options");
    }
    const std::string general =
        "the numerical method does not hold for these settings (12 Stehfest terms, 20 Gauss points in the "
        "Integration options)";
    EXPECT_EQ(negativeValueCause(6, 12, 20), general);
    EXPECT_EQ(negativeValueCause(1, 12, 20), general);
    EXPECT_EQ(negativeValueCause(5, 18, 20).rfind("the numerical method", 0), 0u);
}

}  // namespace
}  // namespace tolvex
