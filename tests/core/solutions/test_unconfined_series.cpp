// The eigenvalue series of the unconfined transform against the same series in 40-digit arithmetic
// (tests/reference/unconfined_series_reference.py, with the same polynomial K0 so that only the
// double-precision rounding differs). The roots' sines and cosines are carried from one root to the
// next and from the last Newton iterate to the root; an error there (a wrong sign, a lost rounding
// term) would show first where the sines are small (q = 1e-6) and the series long (beta = 1e-4).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/solutions/Unconfined.h"
#include "support/CsvTable.h"

namespace tolvex {
namespace {

// Rounding allowed: a few units in the last place per term over up to 120 terms, relative to the sum
// of the terms' magnitudes, plus four times the change that rounding the roots to doubles brings (the
// reference's rootRounding; it dominates where cos(eps) is tiny, at a piezometer at the water table).
constexpr double kRounding = 1e-13;
constexpr double kRootRoundings = 4.0;

double number(const test::CsvRow& row, const char* key) {
    return std::stod(row.at(key));
}

TEST(UnconfinedSeries, MatchesTheFortyDigitSeriesToRounding) {
    const auto rows = test::readCsvTable(TOLVEX_TEST_DATA_DIR "/reference/unconfined_series.csv");
    ASSERT_EQ(rows.size(), 35u);
    double worst = 0.0;
    for (const test::CsvRow& row : rows) {
        UnconfinedGeometry g;
        g.l = number(row, "l");
        g.d = number(row, "d");
        g.z = number(row, "z");
        g.z1 = number(row, "z1");
        g.z2 = number(row, "z2");
        g.form = std::stoi(row.at("form"));
        const double expected = number(row, "value");
        const double got = unconfinedLaplace(number(row, "p"), number(row, "beta"), number(row, "sigma"), g);
        const double scale = number(row, "absolute");
        EXPECT_NEAR(got, expected, kRounding * scale + kRootRoundings * number(row, "rootRounding"))
            << "p " << row.at("p") << " beta " << row.at("beta") << " sigma " << row.at("sigma") << " form "
            << g.form << " l " << g.l << " d " << g.d << " z " << g.z;
        worst = std::fmax(worst, std::fabs(got - expected) / scale);
    }
    RecordProperty("worstRelativeToTermSum", std::to_string(worst));
}

// The full-thickness average of a fully penetrating well sums positive terms: there the value itself
// is held to rounding.
TEST(UnconfinedSeries, FullyPenetratingValuesHoldToRoundingRelative) {
    const auto rows = test::readCsvTable(TOLVEX_TEST_DATA_DIR "/reference/unconfined_series.csv");
    int checked = 0;
    for (const test::CsvRow& row : rows) {
        if (row.at("form") != "0" || row.at("l") != "1" || row.at("d") != "0") continue;
        const UnconfinedGeometry full;
        const double expected = number(row, "value");
        const double got =
            unconfinedLaplace(number(row, "p"), number(row, "beta"), number(row, "sigma"), full);
        EXPECT_LE(std::fabs(got - expected), 1e-14 * std::fabs(expected)) << "p " << row.at("p");
        ++checked;
    }
    EXPECT_EQ(checked, 7);
}

}  // namespace
}  // namespace tolvex
