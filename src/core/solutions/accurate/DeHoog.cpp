#include "core/solutions/accurate/DeHoog.h"

#include <cmath>
#include <numbers>

namespace tolvex::accurate {
namespace {

using Complex = DeHoogInversion::Complex;

// T = kPeriodFactor t: the series is periodic in 2T, so aliasing comes from f(2T + t) e^{-2 gamma T}.
constexpr double kPeriodFactor = 2.0;
constexpr double kAliasingTolerance = 1e-14;

// The coefficients d_0..d_2M of the continued fraction d_0 / (1 + d_1 z / (1 + d_2 z / ...)) that
// matches the power series sum a_k z^k, by the quotient-difference algorithm (rhombus rules), one
// column of e and q at a time, overwritten in place.
[[nodiscard]] DeHoogInversion::Values continuedFraction(const DeHoogInversion::Values& a) {
    constexpr int m = kDeHoogOrder;
    DeHoogInversion::Values d{};
    DeHoogInversion::Values e{};
    DeHoogInversion::Values q{};
    d[0] = a[0];
    for (int i = 0; i < 2 * m; ++i) q[i] = a[i + 1] / a[i];
    d[1] = -q[0];
    for (int r = 1; r <= m; ++r) {
        for (int i = 0; i <= 2 * (m - r); ++i) e[i] = q[i + 1] - q[i] + e[i + 1];
        d[2 * r] = -e[0];
        if (r == m) break;
        for (int i = 0; i < 2 * (m - r); ++i) q[i] = q[i + 1] * e[i + 1] / e[i];
        d[2 * r + 1] = -q[0];
    }
    return d;
}

}  // namespace

DeHoogInversion::DeHoogInversion(double t)
    : t_(t),
      period_(kPeriodFactor * t),
      gamma_(-std::log(kAliasingTolerance) / (2.0 * period_)),
      step_(std::numbers::pi / period_) {}

double DeHoogInversion::invert(const Values& values) const {
    Values a = values;
    a[0] *= 0.5;
    const Values d = continuedFraction(a);
    const Complex z = std::polar(1.0, std::numbers::pi * t_ / period_);
    // Numerators and denominators of the successive convergents, A_n = A_{n-1} + d_n z A_{n-2}.
    Complex aBefore = 0.0, aLast = d[0];
    Complex bBefore = 1.0, bLast = 1.0;
    constexpr int last = 2 * kDeHoogOrder;
    for (int n = 1; n < last; ++n) {
        const Complex aNext = aLast + d[n] * z * aBefore;
        const Complex bNext = bLast + d[n] * z * bBefore;
        aBefore = aLast;
        aLast = aNext;
        bBefore = bLast;
        bLast = bNext;
    }
    // The remainder of the fraction beyond d_2M in closed form (de Hoog et al., eq. 20).
    const Complex h = 0.5 * (1.0 + (d[last - 1] - d[last]) * z);
    const Complex remainder = -h * (1.0 - std::sqrt(1.0 + d[last] * z / (h * h)));
    const Complex numerator = aLast + remainder * aBefore;
    const Complex denominator = bLast + remainder * bBefore;
    return std::exp(gamma_ * t_) / period_ * (numerator / denominator).real();
}

}  // namespace tolvex::accurate
