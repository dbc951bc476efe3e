// Double-porosity aquifers: pseudo-steady interflow (Warren and Root 1963, variant 1, param = lambda)
// and transient interflow from slabs (Boulton and Streltsova 1977, variant 2, param = gamma), in the
// Laplace domain after Moench (1984), inverted by Stehfest's method:
//   variant 1: F(p) = 2 K0(sqrt(p (1 + 1/(1/sigma + p/lambda)))) / p
//   variant 2: F(p) = 2 K0(sqrt(p + gamma f tanh(f/gamma))) / p, f = sqrt(sigma p)
// with td = Tf t/(Sf r^2) and sigma = Sm/Sf; the result is in the Theis normalization.
//
// Accuracy: against a fixed-Talbot inversion of the same transforms (complex K0 written independently),
// 12 Stehfest terms are within 8.4e-3 (Warren-Root) and 2.5e-3 (slabs) relative over td = 0.1..1e6 and
// the type-curve ranges of lambda and gamma^2 (1e-5..100, sigma = 100) where the drawdown is at least
// 0.01; below that, at early times, only an absolute 1e-6. The limits lambda -> 0 (W(1/(4 td))) and
// lambda, gamma -> inf (Theis with Sf + Sm) hold to 2e-3 (tests). With the program's polynomial K0
// (1e-7) more than 12 terms make the inversion worse: 14 terms give about 15 %.
#pragma once

#include "core/state/AnalysisState.h"

namespace tolvex {

inline constexpr int kWarrenRoot = 1;
inline constexpr int kSlab = 2;

// One Laplace value per Stehfest term (stehfestCount K0 evaluations). NaN when td <= 0 (or infinite) or under
// the guards of doublePorosityLaplace.
[[nodiscard]] double doublePorosityW(double td, double param, double sigma, int variant,
                                     const AnalysisState& state);
// NaN when sigma <= 0, when lambda < 0 (variant 1; lambda = 0 is the limit without interflow) or when
// gamma <= 0 or infinite (variant 2): the formulas divide by them. 0 for any other variant.
[[nodiscard]] double doublePorosityLaplace(double p, double param, double sigma, int variant);

}  // namespace tolvex
