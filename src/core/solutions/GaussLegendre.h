// Gauss-Legendre quadrature with a user-chosen number of points (Press et al., Numerical Recipes,
// routine gauleg). The rule is built once into the state's tables and reused by every integral.
#pragma once

#include <vector>

#include "core/numerics/GaussLegendreRule.h"
#include "core/state/AnalysisState.h"

namespace tolvex {

// The integral of f over [a, b] with the state's rule (gaussCount points).
template <class Integrand>
[[nodiscard]] double gaussLegendreIntegral(double a, double b, Integrand&& f, const AnalysisState& state) {
    double sum = 0.0;
    const double half = (b - a) / 2.0;
    for (int i = 1; i <= state.gaussCount; ++i) {
        const double y = ((b - a) * state.gaussNodes[i] + b + a) / 2.0;
        sum += f(y) * (half * state.gaussWeights[i]);
    }
    return sum;
}

}  // namespace tolvex
