#include <gtest/gtest.h>

#include <boost/math/special_functions/bessel.hpp>
#include <cmath>
#include <complex>
#include <numbers>
#include <sstream>
#include <string>

#include "core/accurate/ReferenceTable.h"
#include "core/solutions/accurate/ComplexBessel.h"

namespace tolvex::accurate {
namespace {

using test::scientific;

[[nodiscard]] double relativeError(Complex value, Complex reference) {
    return std::abs(value - reference) / std::abs(reference);
}

// K0 by the grid's Taylor series against mpmath's besselk at 30 digits, on the rows of the quadrant
// table inside 2 <= |z| < 24 and their mirror images below the axis (conjugates).
TEST(ComplexK0Grid, MatchesMpmathInTheMiddleRange) {
    const test::ReferenceTable table = test::readReferenceTable("complex_k0.csv");
    double worst = 0.0;
    int rows = 0;
    for (const std::vector<double>& row : table.rows) {
        const Complex z(row[table.column("re")], row[table.column("im")]);
        if (std::abs(z) < 2.0 + 1e-12 || std::abs(z) >= 24.0) continue;  // the boundary rows round either way
        const Complex reference(row[table.column("k0_re")], row[table.column("k0_im")]);
        for (const bool mirrored : {false, true}) {
            BesselK01 values;
            ASSERT_TRUE(complexK0K1(mirrored ? std::conj(z) : z, 1e-17, values)) << z;
            const double error = relativeError(values.k0, mirrored ? std::conj(reference) : reference);
            EXPECT_LT(error, 1e-15) << z << " mirrored " << mirrored;
            worst = std::fmax(worst, error);
        }
        ++rows;
    }
    EXPECT_GE(rows, 60);
    ::testing::Test::RecordProperty("worst_relative", scientific(worst));
}

// On the real axis K0 and K1 against Boost.Math's cyl_bessel_k, an independent reference; K1 is what a
// path of steps carries on, so an error in it shows in every later K0.
TEST(ComplexK0Grid, GivesK0AndK1OnTheRealAxis) {
    double worst0 = 0.0, worst1 = 0.0;
    for (double x = 2.0; x < 24.0; x *= 1.03) {
        BesselK01 values;
        ASSERT_TRUE(complexK0K1(Complex(x, 0.0), 1e-17, values)) << x;
        EXPECT_EQ(values.k0.imag(), 0.0) << x;
        worst0 = std::fmax(worst0, std::fabs(values.k0.real() / boost::math::cyl_bessel_k(0, x) - 1.0));
        worst1 = std::fmax(worst1, std::fabs(values.k1.real() / boost::math::cyl_bessel_k(1, x) - 1.0));
        EXPECT_LT(std::fabs(values.k1.imag()), 1e-15 * std::fabs(values.k1.real())) << x;
    }
    EXPECT_LT(worst0, 2e-15);  // both functions' rounding
    EXPECT_LT(worst1, 2e-15);
    ::testing::Test::RecordProperty("worst_relative_k1", scientific(worst1));
}

// Outside the middle range, or where a coarse tolerance lets complexK0 take its asymptotic expansion
// (from |z| = 6.9 at 1e-5), the grid declines and leaves its output as it was.
TEST(ComplexK0Grid, DeclinesOutsideItsRange) {
    const struct {
        Complex z;
        double tolerance;
    } cases[] = {{{1.9, 0.3}, 1e-17},  {{0.0, 1.5}, 1e-17}, {{24.0, 0.0}, 1e-17}, {{17.0, 17.0}, 1e-17},
                 {{-0.5, 5.0}, 1e-17}, {{9.0, 3.0}, 1e-5},  {{7.0, 0.0}, 1e-5}};
    for (const auto& c : cases) {
        BesselK01 values{{1.0, 2.0}, {3.0, 4.0}};
        EXPECT_FALSE(complexK0K1(c.z, c.tolerance, values)) << c.z;
        EXPECT_EQ(values.k0, Complex(1.0, 2.0)) << c.z;
        EXPECT_EQ(values.k1, Complex(3.0, 4.0)) << c.z;
    }
    BesselK01 values;
    EXPECT_TRUE(complexK0K1({6.0, 0.5}, 1e-5, values));
}

// A path of short steps from a grid value, each step's K0 and K1 from the previous point's, against
// complexK0 at every point: straight out along the real axis (where the rounding grows fastest, like
// e^{2|z - z0|}), along an arc, and along the arguments sqrt(beta eps^2 + p) of a series' terms.
TEST(ComplexK0Path, StepsFollowK0) {
    struct Path {
        const char* name;
        Complex start, step;
        int steps;
    };
    const Path paths[] = {{"outwards", {2.5, 0.0}, {0.05, 0.0}, 30},
                          {"inwards", {8.0, 3.0}, {-0.1, -0.04}, 15},
                          {"upwards", {4.0, 0.5}, {0.0, 0.3}, 5},
                          {"far out", {18.0, 6.0}, {0.5, 0.0}, 3}};
    double worst = 0.0;
    for (const Path& path : paths) {
        BesselK01 values;
        ASSERT_TRUE(complexK0K1(path.start, 1e-17, values)) << path.name;
        Complex at = path.start;
        for (int k = 1; k <= path.steps; ++k) {
            const Complex next = path.start + static_cast<double>(k) * path.step;
            values = complexK0K1Step(at, values, next, 1e-17);
            at = next;
            const double error = relativeError(values.k0, complexK0(next));
            EXPECT_LT(error, 1e-14) << path.name << " step " << k;
            worst = std::fmax(worst, error);
        }
    }
    // The arguments of an unconfined series' terms at beta = 0.001, p = 0.02 + 0.05i: eps_n ~ (n - 1/2) pi.
    const Complex p(0.02, 0.05);
    const auto argument = [&](int n) {
        return std::sqrt(0.001 * std::pow((n - 0.5) * std::numbers::pi, 2) + p);
    };
    int n = 1;
    while (std::abs(argument(n)) < 2.0) ++n;
    BesselK01 values;
    ASSERT_TRUE(complexK0K1(argument(n), 1e-17, values));
    for (int k = n + 1; k < n + 15; ++k) {
        values = complexK0K1Step(argument(k - 1), values, argument(k), 1e-17);
        const double error = relativeError(values.k0, complexK0(argument(k)));
        EXPECT_LT(error, 1e-14) << "series term " << k;
        worst = std::fmax(worst, error);
    }
    ::testing::Test::RecordProperty("worst_relative", scientific(worst));
}

// A coarse tolerance shortens a step's series and holds: within 3 times the tolerance of complexK0.
TEST(ComplexK0Path, HoldsACoarseTolerance) {
    for (double tolerance : {1e-12, 1e-8, 1e-5}) {
        for (const Complex z : {Complex(3.0, 1.0), Complex(10.0, 4.0), Complex(5.0, 14.0)}) {
            BesselK01 values;
            ASSERT_TRUE(complexK0K1(z, 1e-17, values));
            const Complex next = z + Complex(0.3, -0.2);
            const BesselK01 stepped = complexK0K1Step(z, values, next, tolerance);
            EXPECT_LT(relativeError(stepped.k0, complexK0(next)), 3.0 * tolerance) << z << " " << tolerance;
        }
    }
}

}  // namespace
}  // namespace tolvex::accurate
