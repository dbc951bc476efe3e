// Numerical inversion of Laplace transforms after Stehfest (1970), Communications of the ACM 13(1),
// algorithm 368. With N terms the inversion is exact for F(p) = 1/p (sum of V_i / i = 1) and loses
// about N/2 decimal digits to cancellation, so N = 10..16 suits double precision.
#pragma once

#include <cmath>
#include <numbers>
#include <vector>

#include "core/numerics/StehfestWeights.h"
#include "core/state/AnalysisState.h"

namespace tolvex {

// f(td) = (ln 2 / td) * sum_i V_i F(i ln 2 / td) with the state's coefficients.
template <class LaplaceFunction>
[[nodiscard]] double stehfestInvert(double td, LaplaceFunction&& laplace, const AnalysisState& state) {
    const double step = std::numbers::ln2 / td;
    double sum = 0.0;
    for (int i = 1; i <= state.stehfestCount; ++i) sum += state.stehfestWeights[i] * laplace(i * step);
    return step * sum;
}

}  // namespace tolvex
