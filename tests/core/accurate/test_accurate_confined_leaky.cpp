// The accurate Theis, Hantush-Jacob and Hantush (1960) functions against 30-digit mpmath references,
// against adaptive Boost.Math quadrature of their defining integrals, against the standard functions
// to within those functions' documented errors, and on their guards.
#include <gtest/gtest.h>

#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/bessel.hpp>
#include <boost/math/special_functions/expint.hpp>
#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>
#include <string>

#include "core/accurate/ReferenceTable.h"
#include "core/solutions/ConfinedLeaky.h"
#include "core/solutions/IndependentReferences.h"
#include "core/solutions/accurate/AccurateLeakyTerms.h"
#include "core/solutions/accurate/AccurateWellFunctions.h"

namespace tolvex {
namespace {

using test::scientific;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Adaptive 61-point Gauss-Kronrod over the decades [lower 10^k, lower 10^(k+1)] until `last`.
template <class F>
double decadeIntegral(F&& f, double lower, double last) {
    double sum = 0.0;
    for (double a = lower; a < last; a *= 10.0) {
        sum += boost::math::quadrature::gauss_kronrod<double, 61>::integrate(f, a, 10.0 * a, 10, 1e-12);
    }
    return sum;
}

// W(u, r/B) by quadrature of its definition; beyond u + 60 the integrand is below exp(-60) of its start.
double referenceLeaky(double u, double rOverB) {
    const double b2 = 0.25 * rOverB * rOverB;
    return decadeIntegral([&](double y) { return std::exp(-y - b2 / y) / y; }, u, u + 60.0);
}

// H(u, beta) in s = y - u, over decades of s from 1e-20 (the erfc factor has long vanished there for
// the betas tested) to 100.
double referenceStorage(double u, double beta) {
    return decadeIntegral(
        [&](double s) { return std::exp(-u - s) / (u + s) * std::erfc(beta * std::sqrt(u / (s * (u + s)))); },
        1e-20, 100.0);
}

template <class F>
test::WorstDeviation compareWithTable(const std::string& file, F&& value) {
    const test::ReferenceTable table = test::readReferenceTable(file);
    EXPECT_FALSE(table.rows.empty()) << file;
    test::WorstDeviation worst;
    for (const auto& row : table.rows) {
        std::string where = file;
        for (double cell : row) where += " " + std::to_string(cell);
        worst.add(value(table, row), row.back(), where);
    }
    return worst;
}

TEST(AccurateTheis, MatchesTheMpmathTable) {
    const auto worst = compareWithTable("theis.csv", [](const test::ReferenceTable& t, const auto& row) {
        return accurate::theisW(row[t.column("u")]);
    });
    EXPECT_LT(worst.relative, 1e-13) << worst.row;
    ::testing::Test::RecordProperty("worst_relative", scientific(worst.relative));
}

// Boost's E1 with its default promotion to long double; A&S Table 5.1 at 1.
TEST(AccurateTheis, MatchesBoostInLongDoubleAndTheContinuation) {
    for (double u = 1e-6; u < 60.0; u *= 1.7) {
        const double expected = boost::math::expint(1, u);
        EXPECT_NEAR(accurate::theisW(u), expected, 4e-16 * expected) << u;
    }
    EXPECT_NEAR(accurate::theisW(1.0), 0.21938393439552027368, 1e-16);
    // -Ei(-x) below 0 and the sentinel at 0, as the standard function gives them.
    EXPECT_NEAR(accurate::theisW(-5.0), -40.185275355803177455, 1e-13);
    EXPECT_EQ(accurate::theisW(0.0), confinedW(0.0));
    EXPECT_TRUE(std::isnan(accurate::theisW(kNaN)));
}

TEST(AccurateTheis, AgreesWithTheStandardToItsSevenDigits) {
    for (double u = 1e-4; u <= 10.0; u *= 1.3) {
        EXPECT_NEAR(confinedW(u), accurate::theisW(u), 2e-7 * accurate::theisW(u)) << u;
    }
}

TEST(AccurateLeaky, MatchesTheMpmathTable) {
    const auto worst = compareWithTable("leaky.csv", [](const test::ReferenceTable& t, const auto& row) {
        return accurate::leakyW(row[t.column("u")], row[t.column("rOverB")]);
    });
    EXPECT_LT(worst.relative, 1e-9) << worst.row;
    ::testing::Test::RecordProperty("worst_relative", scientific(worst.relative));
}

// Both sides of the symmetry switch (q = u), the series' own range and the quadrature beyond
// min(u, q) = 5, against Gauss-Kronrod of the definition.
TEST(AccurateLeaky, MatchesQuadratureOfTheDefinition) {
    test::WorstDeviation worst;
    for (double u = 1e-4; u <= 12.0; u *= 2.2) {
        for (double rOverB : {0.005, 0.03, 0.2, 1.0, 2.5, 5.0}) {
            worst.add(accurate::leakyW(u, rOverB), referenceLeaky(u, rOverB),
                      "u " + std::to_string(u) + " r/B " + std::to_string(rOverB));
        }
    }
    // Either side of the switch from the series to quadrature at min(u, q) = 5 (r/B = 10), and far
    // beyond it.
    for (double u : {4.9, 5.1, 9.9, 14.0}) {
        const double rOverB = 2.0 * std::sqrt(u * (u + 0.05));
        worst.add(accurate::leakyW(u, rOverB), referenceLeaky(u, rOverB), "switch u " + std::to_string(u));
    }
    EXPECT_LT(worst.relative, 1e-11) << worst.row;
    ::testing::Test::RecordProperty("worst_relative", scientific(worst.relative));
}

// W(r/(2B), r/B) = K0(r/B) exactly (the symmetry's fixed point), W(u, 0) = E1(u), and for u -> 0 the
// steady state 2 K0(r/B).
TEST(AccurateLeaky, MeetsItsClosedForms) {
    for (double rOverB : {0.01, 0.3, 1.0, 4.0, 12.0, 30.0}) {
        const double k0 = boost::math::cyl_bessel_k(0, rOverB);
        EXPECT_NEAR(accurate::leakyW(0.5 * rOverB, rOverB), k0, 1e-13 * k0) << rOverB;
        EXPECT_NEAR(accurate::leakyW(1e-12 * rOverB * rOverB, rOverB), 2.0 * k0, 1e-12 * k0) << rOverB;
    }
    for (double u : {1e-5, 0.3, 7.0}) EXPECT_EQ(accurate::leakyW(u, 0.0), accurate::theisW(u));
}

// The standard function's documented absolute error is 1e-5.
TEST(AccurateLeaky, AgreesWithTheStandardToItsDocumentedError) {
    for (double u = 1e-4; u <= 10.0; u *= 1.6) {
        for (double rOverB : {0.005, 0.05, 0.5, 1.0, 2.0, 5.0}) {
            EXPECT_NEAR(leakyW(u, rOverB), accurate::leakyW(u, rOverB), 1e-5) << u << " " << rOverB;
        }
    }
}

TEST(AccurateLeaky, GivesNaNWhereTheStandardDoes) {
    for (const auto& [u, rOverB] :
         {std::pair{0.0, 1.0}, {-1.0, 0.5}, {kNaN, 0.5}, {0.5, kNaN}, {2.0, kNaN}}) {
        EXPECT_TRUE(std::isnan(leakyW(u, rOverB))) << u << " " << rOverB;
        EXPECT_TRUE(std::isnan(accurate::leakyW(u, rOverB))) << u << " " << rOverB;
    }
    // Underflow and infinite leakage give 0, not NaN.
    EXPECT_EQ(accurate::leakyW(800.0, 1.0), 0.0);
    EXPECT_EQ(accurate::leakyW(1.0, std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_GT(accurate::leakyW(1e-300, 1e-100), 0.0);
}

// W(u, b) in the form int_t0^inf exp(-b cosh t) dt, t0 = ln(2u / b), by adaptive Gauss-Kronrod on
// [t0, t0 + 8] after the peak or its start (the integrand has fallen by exp(-b (cosh 8 - 1)) there).
double coshIntegral(double u, double b) {
    const double start = std::log(2.0 * u / b);
    const auto f = [&](double t) { return std::exp(-b * (std::cosh(t) - 1.0)); };
    double sum = 0.0;
    double lower = start;
    for (double upper : {0.0, 0.5, 1.0, 2.0, 4.0, 8.0}) {
        if (upper <= lower) continue;
        sum += boost::math::quadrature::gauss_kronrod<double, 61>::integrate(f, lower, upper, 8, 1e-15);
        lower = upper;
    }
    return std::exp(-b) * sum;
}

// The terms of the partial-penetration series (one u, many r/B) against the mpmath table: within
// 1e-11 of E1(u) (the series' cancellation, AccurateLeakyTerms.h) and 1e-9 of the value.
TEST(AccurateLeakyTerms, MatchTheMpmathTable) {
    const test::ReferenceTable table = test::readReferenceTable("leaky.csv");
    double worst = 0.0;
    for (const auto& row : table.rows) {
        const double u = row[table.column("u")];
        accurate::LeakyTerms terms(u);
        const double error = std::fabs(terms(row[table.column("rOverB")]) - row.back());
        EXPECT_LE(error, 1e-11 * accurate::theisW(u)) << u << " " << row[table.column("rOverB")];
        EXPECT_LE(error, 1e-9 * row.back()) << u << " " << row[table.column("rOverB")];
        if (row.back() > 0.0) worst = std::fmax(worst, error / row.back());
    }
    ::testing::Test::RecordProperty("worst_relative", scientific(worst));
}

// The expansion for b >= 16 and w0 = sqrt(u) - b / (2 sqrt u) <= 1 against quadrature of the cosh
// form, either side of its limits (where the series, the complement or 2 K0 take over).
TEST(AccurateLeakyTerms, MatchQuadratureAcrossTheirMethods) {
    double worst = 0.0;
    for (double b : {15.9, 16.0, 20.0, 30.0, 45.0, 80.0}) {
        for (double w0 : {-6.6, -6.4, -4.0, -2.0, -0.5, 0.0, 0.5, 0.99, 1.01, 2.0}) {
            const double root = 0.5 * (w0 + std::sqrt(w0 * w0 + 2.0 * b));  // sqrt(u) for this w0
            const double u = root * root;
            const double reference = coshIntegral(u, b);
            accurate::LeakyTerms terms(u);
            const double error = std::fabs(terms(b) - reference);
            if (b >= 16.0 && w0 <= 1.0) {
                EXPECT_LT(error, 1e-13 * reference) << "u " << u << " b " << b;
                worst = std::fmax(worst, error / reference);
            } else {
                EXPECT_LT(error, 1e-11 * accurate::theisW(u)) << "u " << u << " b " << b;
            }
        }
    }
    ::testing::Test::RecordProperty("worst_relative_expansion_and_k0", scientific(worst));
}

// W(b/2, b) = K0(b) (the symmetry's fixed point, inside the expansion's range from b = 16), one
// LeakyTerms reused over many arguments in any order, and the guards.
TEST(AccurateLeakyTerms, MeetClosedFormsAndGuards) {
    for (double b : {0.1, 3.0, 16.0, 24.0, 60.0}) {
        accurate::LeakyTerms terms(0.5 * b);
        const double k0 = boost::math::cyl_bessel_k(0, b);
        EXPECT_NEAR(terms(b), k0, 1e-13 * k0) << b;
    }
    accurate::LeakyTerms terms(2.0);
    for (double b : {30.0, 0.5, 8.0, 2.0, 3.9, 4.1, 17.0, 0.05}) {
        EXPECT_NEAR(terms(b), accurate::leakyW(2.0, b), 1e-12 * accurate::leakyW(2.0, b)) << b;
    }
    EXPECT_EQ(terms(0.0), accurate::theisW(2.0));
    EXPECT_EQ(terms(std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_TRUE(std::isnan(terms(kNaN)));
    EXPECT_TRUE(std::isnan(accurate::LeakyTerms(0.0)(1.0)));
    EXPECT_EQ(accurate::LeakyTerms(800.0)(1.0), 0.0);
}

TEST(AccurateStorage, MatchesTheMpmathTable) {
    const auto worst = compareWithTable("storage.csv", [](const test::ReferenceTable& t, const auto& row) {
        return accurate::storageH(row[t.column("u")], row[t.column("beta")]);
    });
    EXPECT_LT(worst.relative, 1e-9) << worst.row;
    ::testing::Test::RecordProperty("worst_relative", scientific(worst.relative));
}

// Including u > 10 and beta^2 u > 700, which the standard function cuts to 0.
TEST(AccurateStorage, MatchesQuadratureOfTheDefinition) {
    test::WorstDeviation worst;
    for (double u = 1e-4; u <= 12.0; u *= 2.9) {
        for (double beta : {0.005, 0.05, 0.5, 1.0, 5.0, 12.0}) {
            worst.add(accurate::storageH(u, beta), referenceStorage(u, beta),
                      "u " + std::to_string(u) + " beta " + std::to_string(beta));
        }
    }
    EXPECT_LT(worst.relative, 1e-11) << worst.row;
    ::testing::Test::RecordProperty("worst_relative", scientific(worst.relative));
}

TEST(AccurateStorage, MeetsItsLimitsAndGuards) {
    for (double u : {1e-4, 0.2, 3.0}) {
        EXPECT_EQ(accurate::storageH(u, 0.0), accurate::theisW(u));
        EXPECT_EQ(accurate::storageH(u, -0.7), accurate::storageH(u, 0.7));  // beta enters squared
        EXPECT_LT(accurate::storageH(u, 0.1), accurate::theisW(u));
        EXPECT_LT(accurate::storageH(u, 1.0), accurate::storageH(u, 0.1));
    }
    EXPECT_GT(accurate::storageH(11.0, 0.1), 0.0);
    EXPECT_EQ(accurate::storageH(0.0, 1.0), storageH(0.0, 1.0, test::stateWithTables(20, 12)));
    EXPECT_EQ(accurate::storageH(-1.0, 1.0), 0.0);
    EXPECT_EQ(accurate::storageH(800.0, 1.0), 0.0);
    EXPECT_TRUE(std::isnan(accurate::storageH(kNaN, 0.0)));
    EXPECT_TRUE(std::isnan(storageH(kNaN, 0.0, test::stateWithTables(20, 12))));
    EXPECT_TRUE(std::isnan(accurate::storageH(kNaN, 1.0)));
    EXPECT_TRUE(std::isnan(accurate::storageH(1.0, kNaN)));
}

// The standard function's documented relative error, 7e-3 up to u = 4, over values >= 1e-2 (20 Gauss
// points; its decade rule cannot resolve the erfc transition, and it cuts the integral at y = 10).
TEST(AccurateStorage, AgreesWithTheStandardToItsMeasuredError) {
    const AnalysisState state = test::stateWithTables(20, 12);
    for (double u = 1e-4; u <= 4.0; u *= 1.9) {
        for (double beta : {0.005, 0.05, 0.5, 1.0, 5.0}) {
            const double accurateValue = accurate::storageH(u, beta);
            if (accurateValue < 1e-2) continue;
            EXPECT_NEAR(storageH(u, beta, state), accurateValue, 7e-3 * accurateValue) << u << " " << beta;
        }
    }
}

}  // namespace
}  // namespace tolvex
