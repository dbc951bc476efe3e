// Well functions of fully penetrating wells in confined and leaky aquifers.
//
// confinedW: Theis (1935) well function W(u) = E1(u), by the rational and polynomial approximations
//   of Abramowitz and Stegun (1964) 5.1.53/5.1.56 with their continuation to negative arguments
//   (-Ei(-x)). Relative error about 1e-7 against boost::math::expint over 1e-6..50.
// leakyW: Hantush and Jacob (1955) leaky well function W(u, r/B), as a power series below u = 1,
//   12-point Gauss-Laguerre quadrature of the tail, and the symmetry
//   W(u, r/B) = 2 K0(r/B) - W(r^2/(4 B^2 u), r/B) (Hantush 1956). Measured absolute error below
//   1e-5 against double-exponential quadrature of the defining integral (u = 1e-6..10, r/B = 0..3).
// storageH: Hantush (1960) H(u, beta) of a leaky aquifer with storage in the confining beds, by
//   Gauss-Legendre quadrature over decades. Measured against double-exponential quadrature with the
//   default 20 points: relative error below 1e-4 for u < 1e-3, 2e-3 for u < 0.3, 7e-3 up to u = 4.
// jacobW: the Cooper and Jacob (1946) straight line, -0.5772 - ln u.
#pragma once

#include "core/state/AnalysisState.h"

namespace tolvex {

// W(u) for u > 0; the continuation -Ei(-x) for x < 0; -1e30 for x = 0 exactly.
[[nodiscard]] double confinedW(double x);

// W(u, r/B) for u > 0 and rOverB >= 0. Returns NaN for u <= 0 (no logarithm of a non-positive number
// is taken).
[[nodiscard]] double leakyW(double u, double rOverB);

// G(x, b), with G(1, b) - G(u, b) = integral from u to 1 of exp(-y - b^2/y)/y dy.
[[nodiscard]] double leakySeries(double x, double b);

// Integral from lower to infinity of exp(-y - b^2/y)/y dy by the 12-point Gauss-Laguerre rule.
[[nodiscard]] double leakyTail(double lower, double b);

// H(u, beta) with the state's Gauss-Legendre table.
[[nodiscard]] double storageH(double u, double beta, const AnalysisState& state);

// The integrand erfc(beta sqrt(u) / sqrt(y (y - u))) exp(-y) / y of H(u, beta).
[[nodiscard]] double storageIntegrand(double y, double u, double beta);

[[nodiscard]] double jacobW(double u);

}  // namespace tolvex
