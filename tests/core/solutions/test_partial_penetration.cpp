#include "core/solutions/PartialPenetration.h"

#include <gtest/gtest.h>

#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/bessel.hpp>
#include <cmath>

#include "core/numerics/Constants.h"
#include "core/solutions/ConfinedLeaky.h"

namespace tolvex {
namespace {

constexpr double kPiezometer = -1.0;  // lo <= 0 selects the piezometer form

TEST(PartialTermCount, StopsWhenTheLeakageArgumentReachesTwenty) {
    EXPECT_EQ(partialTermCount(2.0), 4);     // 3 * 6.283 < 20 <= 4 * 6.283
    EXPECT_EQ(partialTermCount(0.05), 128);  // 127 * 0.15708 < 20 <= 128 * 0.15708
    EXPECT_EQ(partialTermCount(10.0), 1);
    EXPECT_EQ(partialTermCount(1e-3), 6367);
    EXPECT_EQ(partialTermCount(1e-5), kPartialMaxTerms);
    EXPECT_EQ(partialTermCount(0.0), 0);
    EXPECT_EQ(partialTermCount(-1.0), 0);
}

TEST(PartialGuards, ScreensOfNoLengthGiveNaN) {
    EXPECT_TRUE(std::isnan(partialW(0.01, 0.5, 0.5, 0.5, kPiezometer, 0.3)));
    EXPECT_TRUE(std::isnan(partialW(0.01, 0.5, 0.75, 0.5, 0.6, 0.6)));
    EXPECT_TRUE(std::isnan(partialW(0.01, 0.0, 0.75, 0.5, kPiezometer, 0.3)));
    EXPECT_TRUE(std::isnan(partialW(0.01, -0.5, 0.75, 0.5, kPiezometer, 0.3)));
    EXPECT_TRUE(std::isnan(partialLeakyW(0.01, 0.1, 0.2, 0.75, 0.25, 0.6, 0.6)));
    EXPECT_TRUE(std::isfinite(partialW(0.01, 1e-7, 0.75, 0.5, kPiezometer, 0.6)));  // capped, not endless
}

TEST(PartialLeaky, PumpingScreenOfNoLengthIsTheFullyPenetratingValueExactly) {
    EXPECT_EQ(partialLeakyW(0.01, 0.1, 0.2, 0.5, 0.5, kPiezometer, 0.3), leakyW(0.01, 0.2));
    EXPECT_EQ(partialLeakyW(0.3, 0.1, 1.0, 0.4, 0.4 + 5e-9, 0.75, 0.25), leakyW(0.3, 1.0));
}

// With pi = 3.1415926, sin(n pi) is about n * 5e-8 rather than 0, so the correction of a fully
// screened well is of order 1e-8 instead of vanishing.
TEST(PartialFullyScreened, EqualsTheFullyPenetratingValue) {
    for (double u : {1e-6, 0.01, 1.0}) {
        for (double x : {0.05, 0.5, 2.0}) {
            EXPECT_NEAR(partialW(u, x, 1.0, 0.0, kPiezometer, 0.3), confinedW(u), 1e-6) << u << " " << x;
            EXPECT_NEAR(partialW(u, x, 1.0, 0.0, 0.8, 0.2), confinedW(u), 1e-6) << u << " " << x;
            EXPECT_NEAR(partialLeakyW(u, x, 0.3, 1.0, 0.0, kPiezometer, 0.7), leakyW(u, 0.3), 1e-6);
            EXPECT_NEAR(partialLeakyW(u, x, 0.3, 0.7, 0.2, 1.0, 0.0), leakyW(u, 0.3), 1e-6);
        }
    }
}

// Hantush's steady-state correction: for small u every W(u, n pi x) has reached 2 K0(n pi x), so the
// correction is a series of Boost's K0. Measured: 2e-7 (piezometer) and 9e-8 (observation well).
TEST(PartialReference, LateTimeCorrectionIsHantushSteadyState) {
    const double u = 1e-7;
    const double l = 0.75;
    const double d = 0.5;
    for (double x : {0.2, 0.5, 1.5}) {
        for (double z : {0.1, 0.6, 0.8}) {
            double piezometer = 0.0;
            double well = 0.0;
            for (int n = 1; n <= 400; ++n) {
                const double k0 = 2.0 * boost::math::cyl_bessel_k(0, n * kProgramPi * x);
                const double pumping = std::sin(n * kProgramPi * l) - std::sin(n * kProgramPi * d);
                piezometer += k0 * std::cos(n * kProgramPi * z) * pumping / n;
                well +=
                    k0 * pumping * (std::sin(n * kProgramPi * 0.9) - std::sin(n * kProgramPi * z)) / (n * n);
            }
            piezometer *= 2.0 / kProgramPi / (l - d);
            well *= 2.0 / (kProgramPi * kProgramPi) / (l - d) / (0.9 - z);
            EXPECT_NEAR(partialW(u, x, l, d, kPiezometer, z) - confinedW(u), piezometer, 1e-6)
                << x << " " << z;
            EXPECT_NEAR(partialW(u, x, l, d, 0.9, z) - confinedW(u), well, 1e-6) << x << " " << z;
        }
    }
}

// The leaky correction is Hantush's series cut after 200 terms. For a short screen right beside the
// well (l/b = 0.002, a r/b = 0.0005) the terms beyond the cut are all of one sign and large, so the
// steady state is checked against exactly those 200 terms of Boost's K0. The tolerance is the leaky
// function's 1e-5 error carried through the coefficients.
TEST(PartialReference, LeakyCorrectionIsTwoHundredTermsOfHantushSteadyState) {
    const double u = 1e-10, x = 0.0005, rB = 0.05, l = 0.002, d = 0.0, z = 0.001;
    const double norm = 2.0 / kProgramPi / (l - d);
    double firstTerms = 0.0, laterTerms = 0.0, tolerance = 0.0;
    for (int n = 1; n <= 400; ++n) {
        const double w = std::sqrt(rB * rB + std::pow(n * kProgramPi * x, 2));
        const double pumping = std::sin(n * kProgramPi * l) - std::sin(n * kProgramPi * d);
        const double coefficient = norm * std::cos(n * kProgramPi * z) * pumping / n;
        (n <= 200 ? firstTerms : laterTerms) += coefficient * 2.0 * boost::math::cyl_bessel_k(0, w);
        if (n <= 200) tolerance += 1e-5 * std::fabs(coefficient);
    }
    ASSERT_GT(std::fabs(laterTerms), 100.0 * tolerance) << "the cut must show here";
    EXPECT_NEAR(partialLeakyW(u, x, rB, l, d, kPiezometer, z) - leakyW(u, rB), firstTerms, tolerance)
        << "the 200 terms: " << firstTerms << ", the next 200: " << laterTerms;
}

// The observation-well form is the piezometer form averaged over the observation screen, and the
// piezometer form averaged over the whole thickness is the fully penetrating W(u).
TEST(PartialIdentities, ScreenAveragesOfThePiezometerForm) {
    using Quadrature = boost::math::quadrature::gauss_kronrod<double, 61>;
    const double u = 0.01;
    const double x = 0.3;
    const auto piezometer = [&](double z) { return partialW(u, x, 0.75, 0.5, kPiezometer, z); };
    const double screen = Quadrature::integrate(piezometer, 0.2, 0.6, 10, 1e-10) / 0.4;
    EXPECT_NEAR(partialW(u, x, 0.75, 0.5, 0.6, 0.2), screen, 1e-6);
    const double thickness = Quadrature::integrate(piezometer, 0.0, 1.0, 10, 1e-10);
    EXPECT_NEAR(thickness, confinedW(u), 1e-6);
}

TEST(PartialIdentities, PumpingAndObservationScreensAreReciprocal) {
    for (double u : {1e-4, 0.1}) {
        EXPECT_NEAR(partialW(u, 0.4, 0.75, 0.5, 0.3, 0.1), partialW(u, 0.4, 0.3, 0.1, 0.75, 0.5), 1e-9);
        EXPECT_NEAR(partialLeakyW(u, 0.4, 0.2, 0.75, 0.5, 0.3, 0.1),
                    partialLeakyW(u, 0.4, 0.2, 0.3, 0.1, 0.75, 0.5), 1e-9);
    }
}

// Without leakage the leaky correction (200 terms) is the nonleaky one: the terms beyond n pi x = 20
// add less than 1e-8. (The fully penetrating parts differ: leakyW(u, 0) reaches E1(u) only to the
// 5e-7 tolerance of its series.)
TEST(PartialIdentities, LeakyCorrectionWithoutLeakageIsTheNonleakyCorrection) {
    for (double u : {1e-5, 0.05, 2.0}) {
        for (double z : {0.2, 0.6}) {
            const double leaky = partialLeakyW(u, 0.5, 0.0, 0.75, 0.5, kPiezometer, z) - leakyW(u, 0.0);
            const double nonleaky = partialW(u, 0.5, 0.75, 0.5, kPiezometer, z) - confinedW(u);
            EXPECT_NEAR(leaky, nonleaky, 1e-8) << u << " " << z;
        }
    }
}

// Leakage only lowers the drawdown, and the correction raises it inside the screened layer.
TEST(PartialPhysics, DrawdownIsLargestBesideTheScreen) {
    const double inside = partialW(0.01, 0.2, 0.75, 0.5, kPiezometer, 0.6);
    const double outside = partialW(0.01, 0.2, 0.75, 0.5, kPiezometer, 0.1);
    EXPECT_GT(inside, confinedW(0.01));
    EXPECT_LT(outside, confinedW(0.01));
    EXPECT_LT(partialLeakyW(0.01, 0.2, 0.5, 0.75, 0.5, kPiezometer, 0.6), inside);
}

}  // namespace
}  // namespace tolvex
