#include "core/solutions/Unconfined.h"

#include <cmath>
#include <limits>

#include "core/solutions/Constants.h"
#include "core/solutions/SpecialFunctions.h"
#include "core/solutions/Stehfest.h"

namespace tolvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kPi = kFullPi;
// Moench's dimensionless drainage constant: 1e9 makes the drainage from the water table instantaneous
// (Neuman's 1974 boundary condition).
constexpr double kDrainage = 1e9;
constexpr double kRootTolerance = 1e-10;
// K0 of a larger argument underflows; exp(-708) is the smallest exponential a double still holds.
constexpr double kGammaCap = 708.0;
constexpr double kLengthTolerance = 1e-8;

// A root of eps tan(eps) = q with its sine.
struct Eigenvalue {
    double eps, sin;
};

// The n-th positive root of eps tan(eps) = q by Newton's method on eps sin(eps) - q cos(eps), which
// has no poles. Started at sqrt(q) or atan(q) for the first root and one period above the previous root
// otherwise, it converges in a handful of steps for every q > 0; the cap only bounds a pathological input.
// Each step takes the sine and cosine of one argument, which the compiler makes one sincos call. The
// root's sine is taken once for every factor of its term that needs it.
[[nodiscard]] Eigenvalue eigenvalue(double guess, double q) {
    double eps = guess;
    double old = 1e10;
    for (int step = 0; step < kUnconfinedNewtonCap && std::fabs(eps - old) > kRootTolerance * eps; ++step) {
        old = eps;
        const double s = std::sin(old);
        const double c = std::cos(old);
        eps = old - (old * s - q * c) / (old * c + s + q * s);
    }
    return {eps, std::sin(eps)};
}

// sin(f eps): for the common ends f = 0 and f = 1 taken from the root's sine, the same double.
[[nodiscard]] double sinOfMultiple(double f, const Eigenvalue& e) {
    if (f == 0.0) return 0.0;
    if (f == 1.0) return e.sin;
    return std::sin(f * e.eps);
}

// The eigenfunction at the piezometer, or its average over the observation screen or the thickness.
[[nodiscard]] double observationFactor(const Eigenvalue& e, const UnconfinedGeometry& g) {
    if (g.form == kObservationScreen)
        return (sinOfMultiple(g.z2, e) - sinOfMultiple(g.z1, e)) / ((g.z2 - g.z1) * e.eps);
    if (g.form == kPiezometer) return std::cos(g.z * e.eps);
    return e.sin / e.eps;
}

[[nodiscard]] bool invalid(double beta, double sigma, const UnconfinedGeometry& g) {
    if (!(beta > 0.0) || !std::isfinite(beta) || !(sigma >= 0.0) || !std::isfinite(sigma)) return true;
    if (g.form != kFullThicknessAverage && g.form != kPiezometer && g.form != kObservationScreen) return true;
    if (std::fabs(g.l - g.d) <= kLengthTolerance) return true;
    return g.form == kObservationScreen && std::fabs(g.z2 - g.z1) <= kLengthTolerance;
}

// The eigenvalue series of Moench (1993) at one Laplace variable p, without the 2/(l - d) factor.
[[nodiscard]] double laplaceSum(double p, double beta, double sigma, const UnconfinedGeometry& g, int terms) {
    const double a = 1.0 - g.l;  // screen ends as heights above the aquifer base
    const double b = 1.0 - g.d;
    const double q = p / (sigma * beta + p / kDrainage);
    double sum = 0.0;
    double eps = 0.0;
    for (int n = 1; n <= terms; ++n) {
        double guess = eps + kPi;
        if (n == 1) guess = q < 1.0 ? std::sqrt(q) : std::atan(q);
        const Eigenvalue e = eigenvalue(guess, q);
        eps = e.eps;
        const double gamma = std::fmin(std::sqrt(beta * eps * eps + p), kGammaCap);
        const double screen = sinOfMultiple(b, e) - sinOfMultiple(a, e);
        sum += besselK0(gamma) * screen * observationFactor(e, g) / ((0.5 * std::sin(2.0 * eps) + eps) * 0.5);
    }
    return sum / p;
}

}  // namespace

const char* unconfinedObservationName(int kind) {
    switch (kind) {
        case kFullThicknessAverage:
            return "Fully penetrating observation well";
        case kPiezometer:
            return "Piezometer at z/b";
        case kObservationScreen:
            return "Observation well screened from z1/b to z2/b";
        default:
            return "Unknown observation kind";
    }
}

UnconfinedGeometry unconfinedGeometry(const AnalysisState& state) {
    UnconfinedGeometry g;
    g.l = state.mnL;
    g.d = state.mnD;
    g.z = state.mnZ;
    g.z1 = state.mnZ1;
    g.z2 = state.mnZ2;
    g.form = state.mnObsKind;
    return g;
}

UnconfinedGeometry unconfinedTypeCurveGeometry(const AnalysisState& state) {
    UnconfinedGeometry g = unconfinedGeometry(state);
    if (state.tcAltUniform == 1) g.form = kFullThicknessAverage;
    return g;
}

int unconfinedTermCount(double beta) {
    const double count = 30.0 * std::pow(2.0, -std::log10(beta) - 2.0);
    if (!(count < kUnconfinedMaxTerms)) return kUnconfinedMaxTerms;  // also catches NaN
    return count < 4.0 ? 4 : static_cast<int>(count);
}

double unconfinedLaplace(double p, double beta, double sigma, const UnconfinedGeometry& geometry) {
    if (invalid(beta, sigma, geometry) || !(p > 0.0)) return kNaN;
    const int terms = unconfinedTermCount(beta);
    return 2.0 * laplaceSum(p, beta, sigma, geometry, terms) / (geometry.l - geometry.d);
}

double unconfinedW(double td, double beta, double sigma, const UnconfinedGeometry& geometry,
                   const AnalysisState& state) {
    if (invalid(beta, sigma, geometry) || !(td > 0.0) || !std::isfinite(td)) return kNaN;
    const int terms = unconfinedTermCount(beta);
    // Each Laplace value is added into the Stehfest sum as it is computed: nothing is stored, so any
    // stehfestCount works.
    const double sum = stehfestInvert(
        td, [&](double p) { return laplaceSum(p, beta, sigma, geometry, terms); }, state);
    return 2.0 * sum / (geometry.l - geometry.d);
}

}  // namespace tolvex
