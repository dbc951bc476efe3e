// Slug test in a finite-diameter well, Cooper, Bredehoeft and Papadopulos (1967):
// normalized head F(beta, alpha) with beta = T t / rc^2 and alpha = rw^2 S / rc^2.
#pragma once

#include "core/state/AnalysisState.h"

namespace tolvex {

[[nodiscard]] double slugF(double beta, double alpha, const AnalysisState& state);
[[nodiscard]] double slugIntegrand(double y, double alpha, double beta);

}  // namespace tolvex
