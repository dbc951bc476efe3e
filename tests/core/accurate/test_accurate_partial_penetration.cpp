// The accurate Hantush (1961, 1964) partial-penetration functions against 30-digit mpmath references,
// against the series summed over Boost.Math quadrature of the leaky function, against the standard
// functions to within their documented errors, and on their guards.
#include <gtest/gtest.h>

#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <cmath>
#include <iomanip>
#include <limits>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "core/accurate/ReferenceTable.h"
#include "core/solutions/IndependentReferences.h"
#include "core/solutions/PartialPenetration.h"
#include "core/solutions/accurate/AccurateWellFunctions.h"

namespace tolvex {
namespace {

using test::scientific;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

constexpr double kPi = std::numbers::pi;

// W(u, w) by adaptive Gauss-Kronrod over decades of y from u to u + 60.
double quadratureLeaky(double u, double w) {
    const double b2 = 0.25 * w * w;
    double sum = 0.0;
    for (double a = u; a < u + 60.0; a *= 10.0) {
        sum += boost::math::quadrature::gauss_kronrod<double, 61>::integrate(
            [&](double y) { return std::exp(-y - b2 / y) / y; }, a, 10.0 * a, 10, 1e-12);
    }
    return sum;
}

// The piezometer form of the leaky series (rB = 0: the nonleaky one) on quadrature terms, summed until
// 2 K0 of the argument, a bound on the term, is below 1e-18 (at most 80 terms).
double referencePiezometer(double u, double x, double rB, double l, double d, double z) {
    double sum = 0.0;
    for (int n = 1; n <= 80; ++n) {
        const double w = std::sqrt(rB * rB + (n * kPi * x) * (n * kPi * x));
        if (w > 45.0) break;
        const double pumping = std::sin(n * kPi * l) - std::sin(n * kPi * d);
        sum += quadratureLeaky(u, w) * std::cos(n * kPi * z) * pumping / n;
    }
    return quadratureLeaky(u, rB) + 2.0 / (kPi * (l - d)) * sum;
}

// |value - reference| within 1e-9 of the reference, or within 1e-13 where the series nearly cancels
// the fully penetrating value; keeps the worst ratio of the error to that allowance, and the worst
// relative and absolute errors of the rows judged by each.
struct WorstAllowance {
    double ratio = 0.0;
    double relative = 0.0;
    double absolute = 0.0;
    std::string row;
    void add(double value, double reference, const std::string& where) {
        const double error = std::fabs(value - reference);
        const double allowance = std::fmax(1e-9 * std::fabs(reference), 1e-13);
        if (allowance > 1e-13) {
            relative = std::fmax(relative, error / std::fabs(reference));
        } else {
            absolute = std::fmax(absolute, error);
        }
        if (!(error / allowance <= ratio)) {
            ratio = error / allowance;
            row = where + ": " + std::to_string(value) + " against " + std::to_string(reference);
        }
    }
    void record() const {
        ::testing::Test::RecordProperty("worst_relative", scientific(relative));
        ::testing::Test::RecordProperty("worst_absolute_where_cancelling", scientific(absolute));
    }
};

std::string describe(const std::vector<double>& row) {
    std::string text;
    for (double cell : row) text += std::to_string(cell) + " ";
    return text;
}

TEST(AccuratePartial, MatchesTheMpmathTable) {
    const test::ReferenceTable table = test::readReferenceTable("partial.csv");
    EXPECT_FALSE(table.rows.empty());
    WorstAllowance worst;
    for (const auto& row : table.rows) {
        const double value =
            accurate::partialW(row[table.column("u")], row[table.column("x")], row[table.column("l")],
                               row[table.column("d")], row[table.column("lo")], row[table.column("dz")]);
        worst.add(value, row.back(), describe(row));
    }
    EXPECT_LE(worst.ratio, 1.0) << worst.row;
    worst.record();
}

TEST(AccuratePartialLeaky, MatchesTheMpmathTable) {
    const test::ReferenceTable table = test::readReferenceTable("partial_leaky.csv");
    EXPECT_FALSE(table.rows.empty());
    WorstAllowance worst;
    for (const auto& row : table.rows) {
        const double value = accurate::partialLeakyW(
            row[table.column("u")], row[table.column("x")], row[table.column("rB")], row[table.column("l")],
            row[table.column("d")], row[table.column("lo")], row[table.column("dz")]);
        worst.add(value, row.back(), describe(row));
    }
    EXPECT_LE(worst.ratio, 1.0) << worst.row;
    worst.record();
}

// Including u = 10, where the standard count of terms (n pi x >= 20) leaves 1e-4 of the value out.
TEST(AccuratePartial, MatchesTheSeriesOnQuadratureTerms) {
    WorstAllowance worst;
    for (double u : {1e-4, 0.01, 0.5, 3.0, 10.0}) {
        for (double x : {0.3, 1.0, 2.0}) {
            for (double rB : {0.0, 0.05, 1.5}) {
                const double reference = referencePiezometer(u, x, rB, 0.75, 0.25, 0.6);
                const double value = rB > 0.0 ? accurate::partialLeakyW(u, x, rB, 0.75, 0.25, -1.0, 0.6)
                                              : accurate::partialW(u, x, 0.75, 0.25, -1.0, 0.6);
                worst.add(value, reference,
                          "u " + std::to_string(u) + " x " + std::to_string(x) + " rB " + std::to_string(rB));
            }
        }
    }
    EXPECT_LE(worst.ratio, 1.0) << worst.row;
    worst.record();
}

// A fully screened pumping well draws down as the fully penetrating one (sin n pi vanishes to
// rounding); a pumping screen of no length gives the leaky value exactly.
TEST(AccuratePartial, ReducesToTheFullyPenetratingWell) {
    for (double u : {1e-4, 0.1, 5.0}) {
        for (double x : {0.05, 0.4, 2.0}) {
            EXPECT_NEAR(accurate::partialW(u, x, 1.0, 0.0, -1.0, 0.3), accurate::theisW(u), 1e-13) << u;
            EXPECT_NEAR(accurate::partialW(u, x, 1.0, 0.0, 0.8, 0.1), accurate::theisW(u), 1e-13) << u;
            EXPECT_NEAR(accurate::partialLeakyW(u, x, 0.5, 1.0, 0.0, -1.0, 0.3), accurate::leakyW(u, 0.5),
                        1e-13);
            EXPECT_EQ(accurate::partialLeakyW(u, x, 0.5, 0.4, 0.4, -1.0, 0.3), accurate::leakyW(u, 0.5));
        }
    }
}

// The standard functions' terms are leakyW values with 1e-5 absolute error and pi is 3.1415926.
TEST(AccuratePartial, AgreesWithTheStandardToItsDocumentedError) {
    for (double u = 1e-4; u <= 10.0; u *= 4.0) {
        for (double x : {0.05, 0.2, 1.0, 2.0}) {
            const double accurateValue = accurate::partialW(u, x, 0.75, 0.5, -1.0, 0.3);
            EXPECT_NEAR(partialW(u, x, 0.75, 0.5, -1.0, 0.3), accurateValue, 1e-4 + 1e-5 * accurateValue)
                << u << " " << x;
            const double leakyValue = accurate::partialLeakyW(u, x, 0.3, 0.75, 0.5, 0.9, 0.6);
            EXPECT_NEAR(partialLeakyW(u, x, 0.3, 0.75, 0.5, 0.9, 0.6), leakyValue, 1e-4 + 1e-5 * leakyValue)
                << u << " " << x;
        }
    }
}

TEST(AccuratePartial, GivesNaNWhereTheStandardDoes) {
    struct Case {
        double u, x, l, d, lo, dz;
    };
    for (const Case& c : {Case{0.1, 0.0, 0.75, 0.5, -1.0, 0.3}, Case{0.1, -1.0, 0.75, 0.5, -1.0, 0.3},
                          Case{0.1, 0.5, 0.5, 0.5, -1.0, 0.3}, Case{0.1, 0.5, 0.75, 0.5, 0.6, 0.6},
                          Case{0.0, 0.5, 0.75, 0.5, -1.0, 0.3}, Case{kNaN, 0.5, 0.75, 0.5, -1.0, 0.3},
                          Case{0.1, kNaN, 0.75, 0.5, -1.0, 0.3}}) {
        EXPECT_TRUE(std::isnan(partialW(c.u, c.x, c.l, c.d, c.lo, c.dz))) << c.u << " " << c.x;
        EXPECT_TRUE(std::isnan(accurate::partialW(c.u, c.x, c.l, c.d, c.lo, c.dz))) << c.u << " " << c.x;
    }
    for (const Case& c : {Case{0.1, 0.5, 0.75, 0.5, 0.6, 0.6}, Case{0.0, 0.5, 0.75, 0.5, -1.0, 0.3},
                          Case{0.1, kNaN, 0.75, 0.5, -1.0, 0.3}}) {
        EXPECT_TRUE(std::isnan(partialLeakyW(c.u, c.x, 0.2, c.l, c.d, c.lo, c.dz))) << c.u << " " << c.x;
        EXPECT_TRUE(std::isnan(accurate::partialLeakyW(c.u, c.x, 0.2, c.l, c.d, c.lo, c.dz)))
            << c.u << " " << c.x;
    }
}

}  // namespace
}  // namespace tolvex
