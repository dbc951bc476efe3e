// The accurate slug-test function F(beta, alpha) of Cooper, Bredehoeft and Papadopulos (1967) against
// 30-digit mpmath references, against adaptive Boost.Math quadrature with Boost's Bessel functions,
// against the standard function to within its documented error, and on its guards and limits.
#include <gtest/gtest.h>

#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/bessel.hpp>
#include <cmath>
#include <iomanip>
#include <limits>
#include <numbers>
#include <sstream>
#include <string>

#include "core/accurate/ReferenceTable.h"
#include "core/solutions/IndependentReferences.h"
#include "core/solutions/SlugTest.h"
#include "core/solutions/accurate/AccurateWellFunctions.h"

namespace tolvex {
namespace {

using test::scientific;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Boost's Bessel functions in double: its default promotion to long double makes the reference
// quadrature ten times slower.
using DoublePolicy = boost::math::policies::policy<boost::math::policies::promote_double<false>>;

// F by adaptive Gauss-Kronrod over half decades from 1e-16 to 300 with Boost's Bessel functions and
// full pi. The half decades keep the resonance of small alpha (width about 0.07 in ln y) inside few
// panels; for beta / alpha >= 0.01 the integrand beyond 300 is below exp(-900).
double referenceF(double beta, double alpha) {
    using boost::math::cyl_bessel_j;
    using boost::math::cyl_neumann;
    const DoublePolicy policy;
    const auto integrand = [&](double y) {
        const double damping = beta * y * y / alpha;
        if (damping > 700.0) return 0.0;
        const double first = y * cyl_bessel_j(0, y, policy) - 2.0 * alpha * cyl_bessel_j(1, y, policy);
        const double second = y * cyl_neumann(0, y, policy) - 2.0 * alpha * cyl_neumann(1, y, policy);
        return std::exp(-damping) / (y * (first * first + second * second));
    };
    double sum = 0.0;
    const double step = std::sqrt(10.0);
    for (double a = 1e-16; a < 300.0; a *= step) {
        sum +=
            boost::math::quadrature::gauss_kronrod<double, 61>::integrate(integrand, a, step * a, 10, 1e-12);
    }
    return 8.0 * alpha / (std::numbers::pi * std::numbers::pi) * sum;
}

TEST(AccurateSlug, MatchesTheMpmathTable) {
    const test::ReferenceTable table = test::readReferenceTable("slug.csv");
    EXPECT_FALSE(table.rows.empty());
    test::WorstDeviation worst;
    for (const auto& row : table.rows) {
        const double beta = row[table.column("beta")];
        const double alpha = row[table.column("alpha")];
        worst.add(accurate::slugF(beta, alpha), row.back(),
                  "beta " + std::to_string(beta) + " alpha " + std::to_string(alpha));
    }
    EXPECT_LT(worst.relative, 1e-9) << worst.row;
    ::testing::Test::RecordProperty("worst_relative", scientific(worst.relative));
}

// Over the type-curve ranges, with the resonance of the smallest alpha and the broad one of 0.03..0.1.
TEST(AccurateSlug, MatchesBoostQuadrature) {
    test::WorstDeviation worst;
    for (double alpha : {1e-10, 1e-7, 1e-4, 0.01, 0.03, 0.06, 0.1}) {
        for (double beta : {0.002, 0.03, 0.3, 3.0, 100.0}) {
            worst.add(accurate::slugF(beta, alpha), referenceF(beta, alpha),
                      "alpha " + std::to_string(alpha) + " beta " + std::to_string(beta));
        }
    }
    EXPECT_LT(worst.relative, 1e-10) << worst.row;
    ::testing::Test::RecordProperty("worst_relative", scientific(worst.relative));
}

// F(0) = 1 exactly, F decreases in beta and tends to 0; the limit beta -> 0 is reached continuously.
TEST(AccurateSlug, MeetsItsLimits) {
    for (double alpha : {1e-10, 1e-5, 1e-3, 0.1, 0.5}) {
        EXPECT_EQ(accurate::slugF(0.0, alpha), 1.0);
        EXPECT_NEAR(accurate::slugF(1e-9 * alpha, alpha), 1.0, 1e-3) << alpha;
        double previous = 1.0;
        for (double beta = 1e-6; beta < 1e4; beta *= 3.0) {
            const double value = accurate::slugF(beta, alpha);
            EXPECT_LT(value, previous) << alpha << " " << beta;
            EXPECT_GT(value, 0.0) << alpha << " " << beta;
            previous = value;
        }
    }
}

// The standard function's documented worst relative error, 3.8e-3 where F > 1e-3 (its 0.1 % stop).
TEST(AccurateSlug, AgreesWithTheStandardToItsDocumentedError) {
    const AnalysisState state = test::stateWithTables(20, 12);
    for (double alpha = 1e-10; alpha <= 0.11; alpha *= 10.0) {
        for (double beta = 2e-3; beta <= 101.0; beta *= 3.0) {
            const double value = accurate::slugF(beta, alpha);
            if (value < 1e-3) continue;
            EXPECT_NEAR(slugF(beta, alpha, state), value, 4e-3 * value) << alpha << " " << beta;
        }
    }
}

TEST(AccurateSlug, GivesNaNWhereTheStandardDoes) {
    const AnalysisState state = test::stateWithTables(20, 12);
    const double infinity = std::numeric_limits<double>::infinity();
    for (const auto& [beta, alpha] :
         {std::pair{1.0, 0.0}, {1.0, -1e-3}, {-0.1, 1e-3}, {1.0, infinity}, {kNaN, 1e-3}, {1.0, kNaN}}) {
        EXPECT_TRUE(std::isnan(slugF(beta, alpha, state))) << beta << " " << alpha;
        EXPECT_TRUE(std::isnan(accurate::slugF(beta, alpha))) << beta << " " << alpha;
    }
    EXPECT_EQ(accurate::slugF(1e30, 1e-10), 0.0);
}

}  // namespace
}  // namespace tolvex
