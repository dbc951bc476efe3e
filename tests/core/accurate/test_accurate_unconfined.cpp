#include <gtest/gtest.h>

#include <boost/math/quadrature/gauss.hpp>
#include <boost/math/special_functions/expint.hpp>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>

#include "core/accurate/ReferenceTable.h"
#include "core/solutions/IndependentReferences.h"
#include "core/solutions/accurate/AccurateWellFunctions.h"

namespace tolvex::accurate {
namespace {

using test::scientific;

UnconfinedGeometry geometry(double l, double d, int form, double z = 0.5, double z1 = 0.0, double z2 = 1.0) {
    return {l, d, z, z1, z2, form};
}

TEST(AccurateUnconfinedGuards, AsTheStandardFunction) {
    const UnconfinedGeometry full;
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(std::isnan(unconfinedW(10.0, 0.0, 0.01, full)));
    EXPECT_TRUE(std::isnan(unconfinedW(10.0, -1.0, 0.01, full)));
    EXPECT_TRUE(std::isnan(unconfinedW(0.0, 1.0, 0.01, full)));
    EXPECT_TRUE(std::isnan(unconfinedW(infinity, 1.0, 0.01, full)));
    EXPECT_TRUE(std::isnan(unconfinedW(10.0, 1.0, -0.1, full)));
    EXPECT_TRUE(std::isnan(unconfinedW(10.0, 1.0, infinity, full)));
    EXPECT_TRUE(std::isnan(unconfinedW(10.0, 1.0, 0.01, geometry(0.4, 0.4, kFullThicknessAverage))));
    EXPECT_TRUE(
        std::isnan(unconfinedW(10.0, 1.0, 0.01, geometry(1.0, 0.0, kObservationScreen, 0.5, 0.5, 0.5))));
    EXPECT_TRUE(std::isnan(unconfinedW(10.0, 1.0, 0.01, geometry(1.0, 0.0, 3))));
    EXPECT_TRUE(std::isfinite(unconfinedW(10.0, 1.0, 0.0, full)));  // sigma = 0 is a limit, not a fault
}

// Long before the pressure front arrives the drawdown is below any double: 0, in every form, not NaN;
// just after it is a tiny positive value.
TEST(AccurateUnconfinedLimits, VeryEarlyDrawdownsUnderflowToZero) {
    for (const int form : {kFullThicknessAverage, kPiezometer, kObservationScreen}) {
        const UnconfinedGeometry g = geometry(0.6, 0.2, form, 0.3, 0.2, 0.7);
        EXPECT_EQ(unconfinedW(1e-5, 0.1, 0.01, g), 0.0) << form;
        EXPECT_EQ(unconfinedW(1e-9, 7.0, 0.01, g), 0.0) << form;
        const double early = unconfinedW(1e-3, 0.1, 0.01, g);
        EXPECT_GT(early, 0.0) << form;
        EXPECT_LT(early, 1e-30) << form;
    }
}

// Late on the water table's drainage dominates: Theis with S + Sy. At td = 1e7 the delayed response
// has died out to far below 1e-9 for these beta.
TEST(AccurateUnconfinedLimits, LateTimeIsTheisWithTheCombinedStorage) {
    const double sigma = 0.01;
    const double td = 1e7;
    const double reference = boost::math::expint(1, (1.0 + sigma) / (4.0 * sigma * td));
    for (double beta : {0.03, 1.0, 7.0}) {
        EXPECT_NEAR(unconfinedW(td, beta, sigma, UnconfinedGeometry{}), reference, 1e-9 * reference) << beta;
    }
}

// Sources add: a screen d..l pumps what its two parts d..m and m..l pump, and unconfinedW carries the
// factor 1/(l - d), so (l - d) W[d, l] = (m - d) W[d, m] + (l - m) W[m, l] in every observation form
// (to 3e-11: each side carries the inversion's ~1e-11 error).
TEST(AccurateUnconfinedIdentities, ScreenSegmentsAdd) {
    for (int form : {kFullThicknessAverage, kPiezometer, kObservationScreen}) {
        for (double td : {0.3, 30.0, 3e4}) {
            const auto w = [&](double l, double d) {
                return unconfinedW(td, 0.1, 0.01, geometry(l, d, form, 0.35, 0.2, 0.65));
            };
            const double whole = 0.6 * w(0.8, 0.2);
            const double parts = 0.25 * w(0.45, 0.2) + 0.35 * w(0.8, 0.45);
            EXPECT_NEAR(whole, parts, 3e-11 * whole) << form << " " << td;
        }
    }
}

// The fully penetrating well's full-thickness average adds an estimate of its series' geometric
// remainder; its two halves, each a partial screen, sum their series without one. Their weighted sum
// must give the same drawdown to the inversion's rounding (measured 3.8e-11; without the estimate
// 4.6e-10), over the beta whose series run longest.
TEST(AccurateUnconfinedIdentities, FullScreenRemainderEstimateMatchesItsHalves) {
    for (double beta : {0.001, 0.03, 1.0}) {
        for (double td : {0.2, 20.0, 2e3, 2e5}) {
            const auto w = [&](double l, double d) {
                return unconfinedW(td, beta, 0.01, geometry(l, d, kFullThicknessAverage));
            };
            const double whole = w(1.0, 0.0);
            const double halves = 0.5 * w(0.5, 0.0) + 0.5 * w(1.0, 0.5);
            EXPECT_NEAR(whole, halves, 1e-10 * whole) << beta << " " << td;
        }
    }
}

// The fully penetrating well's full-thickness average ends its smooth series by Levin's transformation
// down to beta = 2.6e-4 and by the plain series with its geometric remainder below; the halves sum
// their oscillating series by components. Both sides of that threshold and far below it, the whole
// and the halves agree to the inversion's rounding.
TEST(AccurateUnconfinedIdentities, FullScreenLevinSumMatchesItsHalvesAtTheSmallestBeta) {
    double worst = 0.0;
    for (double beta : {3e-4, 2e-4, 3e-5}) {
        for (double td : {0.2, 2e3, 2e6}) {
            const auto w = [&](double l, double d) {
                return unconfinedW(td, beta, 0.01, geometry(l, d, kFullThicknessAverage));
            };
            const double whole = w(1.0, 0.0);
            const double halves = 0.5 * w(0.5, 0.0) + 0.5 * w(1.0, 0.5);
            EXPECT_NEAR(whole, halves, 1e-10 * whole) << beta << " " << td;
            worst = std::fmax(worst, std::fabs(whole - halves) / whole);
        }
    }
    ::testing::Test::RecordProperty("worst_relative", scientific(worst));
}

// The observation-well screen is the average of the piezometer over it (Gauss-Legendre in z, 15 points,
// exact for the smooth profile to far below the tolerance).
TEST(AccurateUnconfinedIdentities, ScreenAverageIsThePiezometerAveraged) {
    for (double td : {0.5, 50.0}) {
        const double z1 = 0.15, z2 = 0.55;
        const double average =
            boost::math::quadrature::gauss<double, 15>::integrate(
                [&](double z) { return unconfinedW(td, 0.2, 0.01, geometry(0.7, 0.1, kPiezometer, z)); }, z1,
                z2) /
            (z2 - z1);
        const double screen = unconfinedW(td, 0.2, 0.01, geometry(0.7, 0.1, kObservationScreen, 0.5, z1, z2));
        EXPECT_NEAR(screen, average, 1e-10 * screen) << td;
    }
}

// The standard function (Stehfest, polynomial K0, fixed term count) agrees within its own measured
// error (2.5e-2 relative, 1e-5 absolute), in every observation form.
TEST(AccurateUnconfined, AgreesWithTheStandardFunctionWithinItsError) {
    const AnalysisState state = test::stateWithTables(20, 12);
    const UnconfinedGeometry cases[] = {geometry(1.0, 0.0, kFullThicknessAverage),
                                        geometry(0.6, 0.2, kPiezometer),
                                        geometry(0.6, 0.2, kObservationScreen, 0.5, 0.3, 0.7)};
    for (const UnconfinedGeometry& g : cases) {
        for (double td = 0.1; td <= 1.01e7; td *= 100.0) {
            for (double beta : {0.001, 0.1, 7.0}) {
                const double value = unconfinedW(td, beta, 0.01, g);
                EXPECT_NEAR(tolvex::unconfinedW(td, beta, 0.01, g, state), value, 1e-5 + 2.5e-2 * value)
                    << g.form << " " << td << " " << beta;
            }
        }
    }
}

// The worst deviations from a 30-digit mpmath table (columns td, beta, sigma, l, d, z, z1, z2, form,
// value): 1e-9 relative, or 1e-13 absolute for the tiny early values of observations far from the screen.
void expectMatchesTable(const char* name) {
    const test::ReferenceTable table = test::readReferenceTable(name);
    ASSERT_FALSE(table.rows.empty());
    test::WorstDeviation worst;
    double worstAbsolute = 0.0;
    for (const std::vector<double>& row : table.rows) {
        const auto at = [&](const char* column) { return row[table.column(column)]; };
        const UnconfinedGeometry g{at("l"),  at("d"),  at("z"),
                                   at("z1"), at("z2"), static_cast<int>(at("form"))};
        const double reference = row.back();
        const double value = unconfinedW(at("td"), at("beta"), at("sigma"), g);
        const std::string where = "td " + std::to_string(at("td")) + " beta " + std::to_string(at("beta")) +
                                  " form " + std::to_string(g.form) + " l " + std::to_string(g.l);
        EXPECT_NEAR(value, reference, std::fmax(1e-9 * std::fabs(reference), 1e-13)) << where;
        if (std::fabs(reference) >= 1e-4) {
            worst.add(value, reference, where);
        } else {
            worstAbsolute = std::fmax(worstAbsolute, std::fabs(value - reference));
        }
    }
    ::testing::Test::RecordProperty("worst_relative", scientific(worst.relative));
    ::testing::Test::RecordProperty("worst_absolute_below_1e-4", scientific(worstAbsolute));
}

// td = 0.1..1e7, beta = 0.001..7, the three observation forms and partial pumping screens.
TEST(AccurateUnconfinedReference, MatchesMpmath) {
    if (!std::filesystem::exists(TOLVEX_TEST_DATA_DIR "/reference/accurate/unconfined.csv")) {
        GTEST_SKIP() << "unconfined.csv not yet generated";
    }
    expectMatchesTable("unconfined.csv");
}

// beta = 0.03 and 0.001 over td = 0.4..6.7e6, where the series run to 50-300 terms and the sines of
// their roots follow each other by the angle-addition recurrence; the piezometer below a partial screen
// is the slowest series.
TEST(AccurateUnconfinedReference, MatchesMpmathAtSmallBeta) {
    expectMatchesTable("unconfined_small_beta.csv");
}

// The sines and cosines of the roots carried from term to term (restarted every 32 terms) and the
// Levin sums of the partial screens' components (beta = 1e-3, three different sets of frequencies)
// keep the identity of the screen segments, as do series of a thousand terms (beta = 1e-4), in every form.
TEST(AccurateUnconfinedIdentities, ScreenSegmentsAddOverLongSeries) {
    for (double beta : {1e-3, 1e-4}) {
        for (int form : {kFullThicknessAverage, kPiezometer, kObservationScreen}) {
            for (double td : {0.3, 3e3, 3e6}) {
                const auto w = [&](double l, double d) {
                    return unconfinedW(td, beta, 0.01, geometry(l, d, form, 0.35, 0.2, 0.65));
                };
                const double whole = 0.6 * w(0.8, 0.2);
                const double parts = 0.25 * w(0.45, 0.2) + 0.35 * w(0.8, 0.45);
                EXPECT_NEAR(whole, parts, 3e-11 * whole) << beta << " " << form << " " << td;
            }
        }
    }
}

// Where |q| = |p / (sigma beta)| is far above the roots (early times, small sigma beta) or far below
// them (late times, large sigma beta) the roots lie near half turns, their steps from term to term are
// short and Levin's windows start late: the full average's smooth series and the partial screens'
// components keep the identities of the screen's halves and segments to the inversion's rounding.
TEST(AccurateUnconfinedIdentities, HoldWhereQIsFarFromTheRoots) {
    struct Case {
        double beta, sigma, td;
    };
    const Case cases[] = {
        {1e-3, 1e-3, 0.05}, {0.03, 1e-3, 0.5}, {1e-3, 0.01, 5.0}, {7.0, 0.1, 1e7}, {1.0, 0.5, 1e6}};
    double worst = 0.0;
    for (const Case& c : cases) {
        const auto average = [&](double l, double d) {
            return unconfinedW(c.td, c.beta, c.sigma, geometry(l, d, kFullThicknessAverage));
        };
        const double whole = average(1.0, 0.0);
        const double halves = 0.5 * average(0.5, 0.0) + 0.5 * average(1.0, 0.5);
        EXPECT_NEAR(whole, halves, 1e-10 * whole) << c.beta << " " << c.sigma << " " << c.td;
        worst = std::fmax(worst, std::fabs(whole - halves) / whole);
        const auto piezometer = [&](double l, double d) {
            return unconfinedW(c.td, c.beta, c.sigma, geometry(l, d, kPiezometer, 0.35));
        };
        const double screen = 0.6 * piezometer(0.8, 0.2);
        const double parts = 0.25 * piezometer(0.45, 0.2) + 0.35 * piezometer(0.8, 0.45);
        EXPECT_NEAR(screen, parts, 3e-11 * screen) << c.beta << " " << c.sigma << " " << c.td;
        worst = std::fmax(worst, std::fabs(screen - parts) / screen);
    }
    ::testing::Test::RecordProperty("worst_relative", scientific(worst));
}

}  // namespace
}  // namespace tolvex::accurate
