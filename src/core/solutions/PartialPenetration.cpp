#include "core/solutions/PartialPenetration.h"

#include <cmath>
#include <limits>

#include "core/numerics/Constants.h"
#include "core/solutions/ConfinedLeaky.h"
#include "core/solutions/PartialPenetrationScreens.h"

namespace tolvex {
namespace {

using partial::degenerate;
using partial::kScreenTolerance;
using partial::normalisation;
using partial::Screens;
using partial::verticalFactor;

constexpr double kPi = kProgramPi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The nonleaky series stops after the first term whose leakage argument n pi x reaches 20: beyond it
// W(u, n pi x) <= 2 K0(20) ~ 5e-9 and the rest of the series is negligible.
constexpr double kArgumentLimit = 20.0;
constexpr int kLeakyTerms = 200;

}  // namespace

int partialTermCount(double x) {
    if (!(x > 0.0)) return 0;
    const double a = kPi * x;
    int n = 1;
    while (n < kPartialMaxTerms && n * a < kArgumentLimit) ++n;
    return n;
}

double partialW(double u, double x, double l, double d, double lo, double dz) {
    const Screens screens{l, d, lo, dz};
    if (!(x > 0.0) || degenerate(screens)) return kNaN;
    const double a = kPi * x;
    const int terms = partialTermCount(x);
    double sum = 0.0;
    for (int n = 1; n <= terms; ++n) sum += leakyW(u, n * a) * verticalFactor(n, screens, kPi);
    return confinedW(u) + normalisation(screens, kPi) * sum;
}

double partialLeakyW(double u, double x, double rB, double l, double d, double lo, double dz) {
    const Screens screens{l, d, lo, dz};
    // A pumping screen of no length is read as the fully penetrating well, as Hantush's leaky
    // solution was always evaluated; an observation screen of no length has no average at all.
    if (std::fabs(l - d) <= kScreenTolerance) return leakyW(u, rB);
    if (degenerate(screens)) return kNaN;
    const double c = rB * rB;
    const double q = kPi * kPi * x * x;
    double sum = 0.0;
    for (int n = 1; n <= kLeakyTerms; ++n) {
        sum += leakyW(u, std::sqrt(c + q * n * n)) * verticalFactor(n, screens, kPi);
    }
    return leakyW(u, rB) + normalisation(screens, kPi) * sum;
}

}  // namespace tolvex
