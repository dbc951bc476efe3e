#include <gtest/gtest.h>

#include <boost/math/special_functions/expint.hpp>
#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>
#include <string>

#include "core/accurate/ReferenceTable.h"
#include "core/solutions/accurate/ComplexBessel.h"
#include "core/solutions/accurate/DeHoog.h"
#include "core/solutions/accurate/FixedTalbot.h"

namespace tolvex::accurate {
namespace {

using test::scientific;

// Transforms with known inverses: an exponential decay, t^-1/2, and Theis's W(1/(4t)) = E1 through
// the complex K0 (so the inversion and K0 are checked together).
struct KnownPair {
    const char* name;  // as a test property
    Complex (*transform)(Complex);
    double (*inverse)(double);
};

const KnownPair kPairs[] = {
    {"exponential", [](Complex p) { return 1.0 / (p + 0.3); }, [](double t) { return std::exp(-0.3 * t); }},
    {"inverse_sqrt", [](Complex p) { return 1.0 / std::sqrt(p); },
     [](double t) { return 1.0 / std::sqrt(std::numbers::pi * t); }},
    {"theis", [](Complex p) { return 2.0 * complexK0(std::sqrt(p)) / p; },
     [](double t) { return boost::math::expint(1, 1.0 / (4.0 * t)); }},
};

template <class Invert>
double worstError(const KnownPair& pair, double low, double high, Invert&& invert) {
    double worst = 0.0;
    for (double t = low; t <= high * 1.0001; t *= std::sqrt(10.0)) {
        const double reference = pair.inverse(t);
        worst = std::fmax(worst, std::fabs(invert(t, pair.transform) - reference) / reference);
    }
    return worst;
}

TEST(DeHoogInversion, RecoversKnownInverses) {
    // Beyond t = 30 the exponential is below 1e-4 and E1(1/(4t)) below t = 0.1 is below 0.025: relative
    // errors there measure the absolute rounding (about 1e-14), not the method.
    const double limits[] = {30.0, 1e8, 1e8};
    for (std::size_t i = 0; i < std::size(kPairs); ++i) {
        const double worst = worstError(kPairs[i], 0.1, limits[i],
                                        [](double t, auto transform) { return deHoogInvert(t, transform); });
        EXPECT_LT(worst, 3e-10) << kPairs[i].name;
        ::testing::Test::RecordProperty(std::string("worst_relative_") + kPairs[i].name, scientific(worst));
    }
}

TEST(FixedTalbotInversion, RecoversKnownInverses) {
    const double limits[] = {30.0, 1e8, 1e8};
    for (std::size_t i = 0; i < std::size(kPairs); ++i) {
        const double worst = worstError(kPairs[i], 0.1, limits[i],
                                        [](double t, auto transform) { return talbotInvert(t, transform); });
        EXPECT_LT(worst, 5e-12) << kPairs[i].name;
        ::testing::Test::RecordProperty(std::string("worst_relative_") + kPairs[i].name, scientific(worst));
    }
}

// The nodes climb the line Re p = gamma > 0 in equal steps, as the unconfined model's root tracking
// assumes; gamma shrinks with t so that gamma t stays fixed.
TEST(DeHoogInversion, NodesLieOnAVerticalLineInTheRightHalfPlane) {
    for (double t : {0.1, 1e4}) {
        const DeHoogInversion inversion(t);
        EXPECT_GT(inversion.node(0).real(), 0.0);
        EXPECT_EQ(inversion.node(0).imag(), 0.0);
        EXPECT_NEAR(inversion.node(0).real() * t, std::log(1e14) / 4.0, 1e-12);
        for (int k = 1; k < kDeHoogNodeCount; ++k) {
            EXPECT_EQ(inversion.node(k).real(), inversion.node(0).real());
            EXPECT_NEAR(inversion.node(k).imag() - inversion.node(k - 1).imag(), std::numbers::pi / (2.0 * t),
                        1e-12 / t);
        }
    }
}

TEST(FixedTalbotInversion, NodesAreTheUpperHalfOfTheContour) {
    for (const TalbotNode& node : talbotNodes()) EXPECT_GT(node.point.imag(), 0.0);
    EXPECT_GT(talbotNodes().front().point.real(), 0.0);   // crosses the positive axis near theta = 0
    EXPECT_LT(talbotNodes().back().point.real(), -20.0);  // ends far left, where e^{p t} is small
}

}  // namespace
}  // namespace tolvex::accurate
