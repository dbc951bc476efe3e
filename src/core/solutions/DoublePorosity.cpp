#include "core/solutions/DoublePorosity.h"

#include <cmath>
#include <limits>

#include "core/solutions/SpecialFunctions.h"
#include "core/solutions/Stehfest.h"

namespace tolvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Pseudo-steady interflow: the matrix adds the storage sigma lambda / (lambda + sigma p) per unit p.
[[nodiscard]] double warrenRootLaplace(double p, double lambda, double sigma) {
    if (!(lambda >= 0.0)) return kNaN;
    return 2.0 * besselK0(std::sqrt(p * (1.0 + 1.0 / (1.0 / sigma + p / lambda)))) / p;
}

// Transient interflow from slabs: diffusion into a slab of half-thickness gives the tanh term.
[[nodiscard]] double slabLaplace(double p, double gamma, double sigma) {
    if (!(gamma > 0.0) || std::isinf(gamma)) return kNaN;
    const double f = std::sqrt(sigma * p);
    return 2.0 * besselK0(std::sqrt(p + gamma * f * std::tanh(f / gamma))) / p;
}

}  // namespace

double doublePorosityLaplace(double p, double param, double sigma, int variant) {
    if (variant != kWarrenRoot && variant != kSlab) return 0.0;
    if (!(sigma > 0.0)) return kNaN;
    return variant == kWarrenRoot ? warrenRootLaplace(p, param, sigma) : slabLaplace(p, param, sigma);
}

double doublePorosityW(double td, double param, double sigma, int variant, const AnalysisState& state) {
    if (!(td > 0.0) || !std::isfinite(td)) return kNaN;
    return stehfestInvert(
        td, [&](double p) { return doublePorosityLaplace(p, param, sigma, variant); }, state);
}

}  // namespace tolvex
