// Gauss-Legendre quadrature rules (Press et al., Numerical Recipes, routine gauleg), built once into the
// state's tables and reused by every integral (solutions/GaussLegendre.h).
#pragma once

#include <vector>

namespace tolvex {

// Fills nodes[1..n] and weights[1..n] with the n-point rule on [x1, x2] by Newton iteration on the
// Legendre polynomial (stops when successive roots differ by at most 3e-14). Both vectors must hold
// at least n + 1 elements; element 0 is left as it is.
void gaussLegendreRule(double x1, double x2, std::vector<double>& nodes, std::vector<double>& weights, int n);

}  // namespace tolvex
