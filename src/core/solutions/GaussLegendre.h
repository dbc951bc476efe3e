// Gauss-Legendre quadrature with a user-chosen number of points (Press et al., Numerical Recipes,
// routine gauleg). The rule is built once into the state's tables and reused by every integral.
#pragma once

#include <vector>

#include "core/state/AnalysisState.h"

namespace tolvex {

// Fills nodes[1..n] and weights[1..n] with the n-point rule on [x1, x2] by Newton iteration on the
// Legendre polynomial (stops when successive roots differ by at most 3e-14). Both vectors must hold
// at least n + 1 elements; element 0 is left as it is.
void gaussLegendreRule(double x1, double x2, std::vector<double>& nodes, std::vector<double>& weights, int n);

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
