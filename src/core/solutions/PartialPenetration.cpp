#include "core/solutions/PartialPenetration.h"

#include <cmath>
#include <limits>

#include "core/solutions/ConfinedLeaky.h"
#include "core/solutions/Constants.h"

namespace tolvex {
namespace {

constexpr double kPi = kProgramPi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Screens shorter than this are treated as points of zero length (the correction divides by it).
constexpr double kScreenTolerance = 1e-8;
// The nonleaky series stops after the first term whose leakage argument n pi x reaches 20: beyond it
// W(u, n pi x) <= 2 K0(20) ~ 5e-9 and the rest of the series is negligible.
constexpr double kArgumentLimit = 20.0;
constexpr int kLeakyTerms = 200;

// Depths of one evaluation, fractions of the aquifer thickness from its top.
struct Screens {
    double l;   // bottom of the pumping-well screen
    double d;   // top of the pumping-well screen
    double lo;  // bottom of the observation-well screen; <= 0 selects the piezometer
    double dz;  // top of the observation-well screen, or the piezometer depth
    [[nodiscard]] bool piezometer() const { return lo <= 0.0; }
};

[[nodiscard]] bool degenerate(const Screens& s) {
    if (std::fabs(s.l - s.d) <= kScreenTolerance) return true;
    return !s.piezometer() && std::fabs(s.lo - s.dz) <= kScreenTolerance;
}

// The vertical factor of the n-th Fourier term: the pumping screen's source term times the cosine at
// the piezometer (Hantush 1961, eq. for a point), or times the screen average of the observation well.
[[nodiscard]] double verticalFactor(int n, const Screens& s) {
    const double pumping = std::sin(n * (kPi * s.l)) - std::sin(n * (kPi * s.d));
    if (s.piezometer()) return std::cos(n * (kPi * s.dz)) * pumping / n;
    const double observation = std::sin(n * (kPi * s.lo)) - std::sin(n * (kPi * s.dz));
    return pumping * observation / (static_cast<double>(n) * n);
}

[[nodiscard]] double normalisation(const Screens& s) {
    if (s.piezometer()) return (2.0 / kPi) / (s.l - s.d);
    return (2.0 / (kPi * kPi)) / (s.l - s.d) / (s.lo - s.dz);
}

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
    for (int n = 1; n <= terms; ++n) sum += leakyW(u, n * a) * verticalFactor(n, screens);
    return confinedW(u) + normalisation(screens) * sum;
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
        sum += leakyW(u, std::sqrt(c + q * n * n)) * verticalFactor(n, screens);
    }
    return leakyW(u, rB) + normalisation(screens) * sum;
}

}  // namespace tolvex
