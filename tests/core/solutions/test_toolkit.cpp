#include <gtest/gtest.h>

#include <boost/math/special_functions/bessel.hpp>
#include <cmath>
#include <numeric>

#include "core/solutions/GaussLegendre.h"
#include "core/solutions/SpecialFunctions.h"
#include "core/solutions/Stehfest.h"
#include "core/state/AnalysisState.h"

namespace tolvex {
namespace {

TEST(GaussLegendre, TwentyPointRuleIsSymmetricAndExact) {
    const AnalysisState s = makeDefaultState();
    double weightSum = 0.0;
    for (int i = 1; i <= 20; ++i) {
        weightSum += s.gaussWeights[i];
        EXPECT_NEAR(s.gaussNodes[i], -s.gaussNodes[21 - i], 1e-15) << i;
        EXPECT_EQ(s.gaussWeights[i], s.gaussWeights[21 - i]) << i;
        if (i > 1) {
            EXPECT_LT(s.gaussNodes[i - 1], s.gaussNodes[i]);
        }
    }
    EXPECT_NEAR(weightSum, 2.0, 5e-14);
    // An n-point rule integrates polynomials of degree 2n - 1 exactly.
    EXPECT_NEAR(gaussLegendreIntegral(
                    0.0, 2.0, [](double x) { return std::pow(x, 39); }, s),
                std::pow(2.0, 40) / 40, 1e-3);
    EXPECT_NEAR(gaussLegendreIntegral(
                    1.0, 3.0, [](double x) { return 1.0 / x; }, s),
                std::log(3.0), 5e-14);
}

TEST(GaussLegendre, OddAndSmallRules) {
    for (int n : {1, 2, 3, 7, 64}) {
        std::vector<double> nodes(n + 1, 0.0), weights(n + 1, 0.0);
        gaussLegendreRule(-1.0, 1.0, nodes, weights, n);
        EXPECT_NEAR(std::accumulate(weights.begin() + 1, weights.end(), 0.0), 2.0, 1e-13) << n;
        if (n % 2 == 1) {
            EXPECT_NEAR(nodes[(n + 1) / 2], 0.0, 1e-15) << n;
        }
    }
    std::vector<double> nodes(3), weights(3);
    gaussLegendreRule(-1.0, 1.0, nodes, weights, 2);
    EXPECT_NEAR(nodes[2], 1.0 / std::sqrt(3.0), 1e-15);
}

TEST(Stehfest, CoefficientsForTwelveTerms) {
    const AnalysisState s = makeDefaultState();
    const auto& v = s.stehfestWeights;
    EXPECT_NEAR(v[1], -1.0 / 60.0, 1e-12);
    EXPECT_NEAR(v[2], 16.01667, 1e-5);
    EXPECT_NEAR(v[3], -1247.0, 1e-9);
    EXPECT_NEAR(v[12], 359251.2, 1e-6);
    EXPECT_NEAR(std::accumulate(v.begin() + 1, v.end(), 0.0), 0.0, 1e-6);
    double inverseSum = 0.0;
    for (int i = 1; i <= 12; ++i) inverseSum += v[i] / i;
    EXPECT_NEAR(inverseSum, 1.0, 1e-10);
}

TEST(Stehfest, InvertsKnownTransforms) {
    AnalysisState s = makeDefaultState();
    for (double td : {1e-3, 0.5, 1.0, 70.0, 1e6}) {
        // sum V_i / i = 1 up to the rounding of coefficients as large as 4e5.
        EXPECT_NEAR(stehfestInvert(
                        td, [](double p) { return 1.0 / p; }, s),
                    1.0, 3e-10)
            << td;
        // L{e^-t} = 1/(p + 1): about 4 digits with 12 terms.
        EXPECT_NEAR(stehfestInvert(
                        td, [](double p) { return 1.0 / (p + 1.0); }, s),
                    std::exp(-td), 2e-3)
            << td;
    }
    // L{t} = 1/p^2: exact in exact arithmetic, about 1e-6 after cancellation.
    EXPECT_NEAR(stehfestInvert(
                    3.0, [](double p) { return 1.0 / (p * p); }, s),
                3.0, 1e-5);
    // Larger counts lose about N/2 digits to cancellation of coefficients of alternating sign.
    for (int n : {2, 8, 16, 20}) {
        s.stehfestCount = n;
        buildNumericalTables(s);
        EXPECT_NEAR(stehfestInvert(
                        2.0, [](double p) { return 1.0 / p; }, s),
                    1.0, 1e-5)
            << n;
    }
}

TEST(SpecialFunctions, ModifiedBesselAgainstBoost) {
    // The two K0 branches meet at x = 2.
    EXPECT_NEAR(besselK0(2.0), 0.11389, 1e-5);
    EXPECT_NEAR(besselK0(2.0000001), 0.11389, 1e-5);
    EXPECT_NEAR(besselK0(2.0), besselK0(2.0000001), 1e-6);
    double worstK0 = 0.0, worstI0 = 0.0;
    for (double x = 1e-6; x < 700.0; x *= 1.2) {
        worstK0 = std::max(worstK0, std::fabs(besselK0(x) / boost::math::cyl_bessel_k(0, x) - 1.0));
        worstI0 = std::max(worstI0, std::fabs(besselI0(x) / boost::math::cyl_bessel_i(0, x) - 1.0));
    }
    // Abramowitz and Stegun bound the polynomial part by 1.9e-7 (I0, 9.8.2) and 2.2e-7 (K0, 9.8.6);
    // relative to the function that is up to 5e-7 for I0.
    EXPECT_LT(worstK0, 3e-7);
    EXPECT_LT(worstI0, 5e-7);
    EXPECT_EQ(besselI0(-1.5), besselI0(1.5));
}

TEST(SpecialFunctions, ComplementaryErrorFunction) {
    EXPECT_EQ(erfcApprox(6.0), 0.0);
    EXPECT_EQ(erfcApprox(-6.0), 2.0);
    EXPECT_EQ(erfcApprox(7.5), 0.0);
    EXPECT_NEAR(erfcApprox(3.0), 2.2264e-5, 1e-9);
    EXPECT_NEAR(erfcApprox(std::nextafter(3.0, 4.0)), 2.2091e-5, 1e-9);
    EXPECT_LT(std::fabs(erfcApprox(3.0) - erfcApprox(std::nextafter(3.0, 4.0))), 2e-7);
    EXPECT_NEAR(erfcApprox(4.0), 1.5417e-8, 1e-12);
    EXPECT_EQ(erfcApprox(0.0), 1.0);
    for (double x = -5.9; x < 6.0; x += 0.01) {
        EXPECT_NEAR(erfcApprox(x), std::erfc(x), 3e-7) << x;
        EXPECT_NEAR(erfcApprox(-x), 2.0 - erfcApprox(x), 1e-15) << x;
    }
}

TEST(SpecialFunctions, OrdinaryBesselFromTheCLibrary) {
    EXPECT_NEAR(besselJ0(1.0), boost::math::cyl_bessel_j(0, 1.0), 1e-15);
    EXPECT_NEAR(besselJ1(2.5), boost::math::cyl_bessel_j(1, 2.5), 1e-15);
    EXPECT_NEAR(besselY0(0.3), boost::math::cyl_neumann(0, 0.3), 1e-14);
    EXPECT_NEAR(besselY1(4.0), boost::math::cyl_neumann(1, 4.0), 1e-14);
}

}  // namespace
}  // namespace tolvex
