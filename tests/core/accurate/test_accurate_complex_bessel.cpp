#include "core/solutions/accurate/ComplexBessel.h"

#include <gtest/gtest.h>

#include <boost/math/special_functions/bessel.hpp>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <sstream>
#include <string>

#include "core/accurate/ReferenceTable.h"

namespace tolvex::accurate {
namespace {

using test::scientific;

[[nodiscard]] double relativeError(Complex value, Complex reference) {
    return std::abs(value - reference) / std::abs(reference);
}

// mpmath's besselk at 30 digits over moduli 1e-8..700 and arguments 0..pi/2, across the three regions.
TEST(ComplexK0, MatchesMpmathOverTheQuadrant) {
    const test::ReferenceTable table = test::readReferenceTable("complex_k0.csv");
    ASSERT_GE(table.rows.size(), 100u);
    double worst = 0.0;
    std::string worstRow;
    for (const std::vector<double>& row : table.rows) {
        const Complex z(row[table.column("re")], row[table.column("im")]);
        const Complex reference(row[table.column("k0_re")], row[table.column("k0_im")]);
        const double error = relativeError(complexK0(z), reference);
        if (!(error <= worst)) {
            worst = error;
            std::ostringstream text;
            text.precision(17);
            text << "z = " << z << ": " << complexK0(z) << " against " << reference;
            worstRow = text.str();
        }
    }
    EXPECT_LT(worst, 2e-15) << worstRow;
    ::testing::Test::RecordProperty("worst_relative", scientific(worst));
}

// On the real axis Boost.Math's cyl_bessel_k is an independent double-precision reference.
TEST(ComplexK0, MatchesBoostOnTheRealAxis) {
    double worst = 0.0;
    for (double x = 1e-6; x < 700.0; x *= 1.07) {
        const Complex value = complexK0(Complex(x, 0.0));
        EXPECT_EQ(value.imag(), 0.0) << x;
        worst = std::fmax(worst, std::fabs(value.real() / boost::math::cyl_bessel_k(0, x) - 1.0));
    }
    EXPECT_LT(worst, 4e-15);  // both functions' rounding
    ::testing::Test::RecordProperty("worst_relative_real_axis", scientific(worst));
}

// K0 is real on the positive axis, so K0(conj z) = conj K0(z); the regions must join without a step.
TEST(ComplexK0, IsSymmetricAndContinuousAcrossItsRegions) {
    for (double modulus : {0.5, 1.99999999, 2.0, 2.00000001, 11.0, 23.9999999, 24.0, 24.0000001, 60.0}) {
        for (double angle : {0.1, 0.7, 1.3, std::numbers::pi / 2.0}) {
            const Complex z = std::polar(modulus, angle);
            EXPECT_LT(relativeError(complexK0(std::conj(z)), std::conj(complexK0(z))), 1e-15) << z;
        }
    }
    for (double boundary : {2.0, 24.0}) {
        for (double angle : {0.0, 0.6, 1.2, std::numbers::pi / 2.0}) {
            const Complex below = complexK0(std::polar(std::nextafter(boundary, 0.0), angle));
            const Complex above = complexK0(std::polar(boundary, angle));
            EXPECT_LT(relativeError(below, above), 1e-14) << boundary << " " << angle;
        }
    }
}

// The Taylor expansions of 2 <= |z| < 24 change centre at every ring and sector edge of
// ComplexK0Centres.h: the values either side of each edge agree to the rounding, which the
// recurrence amplifies up to e^{2 |z - c|} = 25 times at the outer rings' sector corners.
TEST(ComplexK0, IsContinuousAcrossTheTaylorCentres) {
    double worst = 0.0;
    for (double edge : {2.6321480259049848, 3.4641016151377544, 4.559014113909555, 6.0, 10.0, 16.0, 22.0}) {
        for (double angle = 0.0; angle <= std::numbers::pi / 2.0; angle += 0.0625) {
            const Complex below = complexK0(std::polar(std::nextafter(edge, 0.0), angle));
            worst = std::fmax(worst, relativeError(below, complexK0(std::polar(edge, angle))));
        }
    }
    for (double modulus : {2.3, 5.0, 13.0, 23.0}) {
        for (int sectors : {3, 4, 9, 15}) {  // sector edges of several rings, hit or not
            for (int k = 1; k < sectors; ++k) {
                const double angle = 0.5 * std::numbers::pi * k / sectors;
                const Complex below = complexK0(std::polar(modulus, std::nextafter(angle, 0.0)));
                const Complex above = complexK0(std::polar(modulus, std::nextafter(angle, 2.0)));
                worst = std::fmax(worst, relativeError(below, above));
            }
        }
    }
    EXPECT_LT(worst, 3e-14);
    ::testing::Test::RecordProperty("worst_relative_step", scientific(worst));
}

// A coarse tolerance buys speed for the far terms of a series; the value still holds that many digits,
// also just above the modulus where the asymptotic expansion takes over (ln(1/tolerance)/2 + 1.1,
// with the tolerance rounded down to a power of two) and on the imaginary axis, where its remainder
// is largest.
TEST(ComplexK0, HoldsACoarseTolerance) {
    for (double tolerance : {1e-15, 1e-12, 1e-10, 1e-8, 1e-5, 1e-3}) {
        const double takeover = -0.5 * std::numbers::ln2 * std::ilogb(tolerance) + 1.1;
        for (double modulus :
             {0.7, 1.9, 3.0, 9.0, 11.0, 20.0, 30.0, takeover, takeover + 1e-9, takeover + 0.5}) {
            for (double angle : {0.0, 0.8, std::numbers::pi / 2.0}) {
                const Complex z = std::polar(modulus, angle);
                EXPECT_LT(relativeError(complexK0(z, tolerance), complexK0(z)), 3.0 * tolerance) << z;
            }
        }
    }
}

// K0(i y) = -(pi/2) (Y0(y) + i J0(y)) (A&S 9.6.4) on the imaginary axis, where Temme's continued
// fraction converges slowest; the C library's j0 and y0 are the reference.
TEST(ComplexK0, OnTheImaginaryAxisIsTheHankelFunction) {
    for (double y : {0.3, 1.5, 2.5, 5.0, 12.0, 30.0, 200.0}) {
        const Complex reference = -0.5 * std::numbers::pi * Complex(::y0(y), ::j0(y));
        EXPECT_LT(std::abs(complexK0(Complex(0.0, y)) - reference), 3e-15 * std::abs(reference)) << y;
    }
}

TEST(ComplexK0, UnderflowsToZeroFarRight) {
    EXPECT_EQ(complexK0(Complex(800.0, 3.0)), Complex(0.0, 0.0));
    EXPECT_TRUE(std::isfinite(complexK0(Complex(1e6, 1e6)).real()));
}

}  // namespace
}  // namespace tolvex::accurate
