// The weights of Stehfest's (1970) numerical Laplace inversion (Communications of the ACM 13(1),
// algorithm 368), built once into the state's table and used by solutions/Stehfest.h.
#pragma once

#include <vector>

namespace tolvex {

// Fills v[1..n] with the Stehfest coefficients V_1..V_N; v must hold at least n + 1 elements.
// n is expected even and at least 2.
void stehfestCoefficients(int n, std::vector<double>& v);

}  // namespace tolvex
