// Double-porosity aquifers: pseudo-steady interflow (Warren and Root 1963, variant 1, param = lambda)
// and transient interflow from slabs (Boulton and Streltsova 1977, variant 2, param = gamma), in the
// Laplace domain after Moench (1984), inverted by Stehfest's method.
#pragma once

#include "core/state/AnalysisState.h"

namespace tolvex {

inline constexpr int kWarrenRoot = 1;
inline constexpr int kSlab = 2;

[[nodiscard]] double doublePorosityW(double td, double param, double sigma, int variant, const AnalysisState& state);
[[nodiscard]] double doublePorosityLaplace(double p, double param, double sigma, int variant);

}  // namespace tolvex
