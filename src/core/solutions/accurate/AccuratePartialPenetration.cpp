// Hantush (1961) partially penetrating wells, nonleaky and leaky, on the accurate Theis and
// Hantush-Jacob functions (the terms by LeakyTerms, AccurateLeakyTerms.h,
// which shares the work that depends on u alone across the terms) with full pi: the same Fourier
// series as partialW and partialLeakyW (see PartialPenetration.h for the terms and the screen forms).
//
// Terms: at least as many as the standard functions sum (partialTermCount(x), or 200 for the leaky
// one), and beyond them until a bound on the rest is below 1e-14 of the fully penetrating value. The
// extra terms are needed at late dimensionless times: the standard count stops at n pi x >= 20, where
// W(u, 20) / W(u) is about exp(-100 / u), 5e-5 at u = 10 (and the 200 leaky terms stop at
// r/B = 200 pi x, short for x < 0.03). Up to kPartialMaxTerms terms, as the standard function: below
// x = 3e-4 that cap, not the terms, limits the accuracy.
// Measured against the 30-digit mpmath references (u up to 10, x = 0.01..5, r/B = 0.01..2):
// worst relative error 1.2e-12 (nonleaky) and 1.7e-12 (leaky) where the value exceeds 1e-4, worst
// absolute 2.6e-16 and 9.6e-17 where the series cancels the fully penetrating value.
// Cost (Release, the benchmark's grid u = 1e-4..10, x = 0.05..2): 1.6 times the standard function's
// over the grid; 1.1-1.5 times up to u = 0.4 and about 2.4 times at u = 2 and u = 10, where up to 1.8
// times as many terms are needed and the terms with q = (n pi x)^2 / (4u) between u and 42 take
// Hantush's series at q. The leaky function costs about as much as the standard one.
#include <cmath>
#include <limits>
#include <numbers>

#include "core/solutions/PartialPenetration.h"
#include "core/solutions/PartialPenetrationScreens.h"
#include "core/solutions/accurate/AccurateLeakyTerms.h"
#include "core/solutions/accurate/AccurateWellFunctions.h"

namespace tolvex::accurate {
namespace {

using partial::degenerate;
using partial::kScreenTolerance;
using partial::normalisation;
using partial::Screens;
using partial::verticalFactor;

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kLeakyTerms = 200;
// The series ends, once the standard count is reached, when a bound on the rest is below this fraction
// of the fully penetrating value (at most 9.2 on the type curves: 1e-13 absolute).
constexpr double kNegligible = 1e-14;

// The largest |verticalFactor(n, s, kPi)| can be: 2 / n, or 4 / n^2 in the observation-well form.
[[nodiscard]] double factorBound(int n, const Screens& s) {
    return s.piezometer() ? 2.0 / n : 4.0 / (static_cast<double>(n) * n);
}

// The correction series with leakage argument(n) for the n-th term, `full` the fully penetrating
// value. Beyond leastTerms it ends once a bound on the rest, the last term's leaky function times the
// largest vertical factor summed as a geometric series with the last ratio of the leaky functions
// (which decrease ever faster), is below kNegligible of the fully penetrating value.
template <class Argument>
[[nodiscard]] double correction(double u, const Screens& s, int leastTerms, double full,
                                Argument&& argument) {
    const double scale = std::fabs(normalisation(s, kPi));
    double sum = 0.0;
    double previous = 0.0;
    LeakyTerms terms(u);
    for (int n = 1; n <= kPartialMaxTerms; ++n) {
        const double w = terms(argument(n));
        sum += w * verticalFactor(n, s, kPi);
        if (std::isnan(w)) break;
        if (n >= leastTerms && w < previous) {
            const double rest = scale * w * factorBound(n, s) / (1.0 - w / previous);
            if (rest <= kNegligible * full) break;
        }
        if (w == 0.0) break;
        previous = w;
    }
    return normalisation(s, kPi) * sum;
}

}  // namespace

double partialW(double u, double x, double l, double d, double lo, double dz) {
    const Screens screens{l, d, lo, dz};
    if (!(x > 0.0) || degenerate(screens) || !(u > 0.0)) return kNaN;
    const double full = theisW(u);
    const double a = kPi * x;
    return full + correction(u, screens, partialTermCount(x), full, [a](int n) { return n * a; });
}

double partialLeakyW(double u, double x, double rB, double l, double d, double lo, double dz) {
    const Screens screens{l, d, lo, dz};
    const double full = leakyW(u, rB);
    // A pumping screen of no length is read as the fully penetrating well, as the standard function
    // does; an observation screen of no length has no average at all.
    if (std::fabs(l - d) <= kScreenTolerance) return full;
    if (degenerate(screens)) return kNaN;
    const double c = rB * rB;
    const double q = kPi * kPi * x * x;
    return full + correction(u, screens, kLeakyTerms, full, [&](int n) { return std::sqrt(c + q * n * n); });
}

}  // namespace tolvex::accurate
