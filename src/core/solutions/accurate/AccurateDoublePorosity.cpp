// Double porosity (Warren and Root 1963; slabs after Boulton and Streltsova 1977), the transforms of
// Moench (1984) as in DoublePorosity.h, inverted on the fixed Talbot contour (FixedTalbot.h) with the
// complex K0 of ComplexBessel.h. Both transforms are analytic off the negative real axis, where their
// branch cuts (sqrt p, sqrt(sigma p)) and poles (p = -lambda/sigma; the zeros of cosh(f/gamma)) lie.
//
// The far contour nodes, weighted by e^{-10} and less, take K0 only to the digits that reach the sum.
// Measured against 30-digit mpmath references (double_porosity.csv, td 0.1..1e6, lambda 1e-5..1e2,
// gamma^2 1e-5..1e2): worst relative error 9.1e-11 (Warren and Root) and 8.8e-11 (slabs), absolute
// 5.2e-14 below 1e-4.
#include <cmath>
#include <complex>
#include <limits>

#include "core/solutions/DoublePorosity.h"
#include "core/solutions/accurate/AccurateWellFunctions.h"
#include "core/solutions/accurate/ComplexBessel.h"
#include "core/solutions/accurate/FixedTalbot.h"

namespace tolvex::accurate {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// 1/z without the library's scaled division, which is not inlined (|z| is far inside the range where
// |z|^2 is finite: the contour's nodes lie within 1e3/t of the origin).
[[nodiscard]] Complex reciprocal(Complex z) {
    const double n = std::norm(z);
    return {z.real() / n, -z.imag() / n};
}

// p (1 + 1/(1/sigma + p/lambda)): the matrix adds the storage sigma lambda / (lambda + sigma p) per
// unit p; lambda = 0 (no exchange) and lambda = inf (instant exchange) are the limits.
[[nodiscard]] Complex warrenRootArgument(Complex p, double lambda, double sigma) {
    if (lambda == 0.0) return p;
    if (std::isinf(lambda)) return p * (1.0 + sigma);
    return p + p * reciprocal(1.0 / sigma + p / lambda);
}

// p + gamma f tanh(f/gamma), f = sqrt(sigma p): diffusion into slabs.
[[nodiscard]] Complex slabArgument(Complex p, double gamma, double sigma) {
    const Complex f = std::sqrt(sigma * p);
    return p + gamma * f * std::tanh(f / gamma);
}

}  // namespace

double doublePorosityW(double td, double param, double sigma, int variant) {
    if (!(td > 0.0) || !std::isfinite(td)) return kNaN;
    if (variant != kWarrenRoot && variant != kSlab) return 0.0;
    if (!(sigma > 0.0)) return kNaN;
    if (variant == kWarrenRoot && !(param >= 0.0)) return kNaN;
    if (variant == kSlab && (!(param > 0.0) || std::isinf(param))) return kNaN;
    return talbotInvert(td, [&](Complex p, double tolerance) {
        const Complex w =
            variant == kWarrenRoot ? warrenRootArgument(p, param, sigma) : slabArgument(p, param, sigma);
        return 2.0 * complexK0(std::sqrt(w), tolerance) * reciprocal(p);
    });
}

}  // namespace tolvex::accurate
