// Dense linear systems of the normal equations: Crout's LU decomposition with row interchanges and
// forward and back substitution (after Press et al., Numerical Recipes, ludcmp/lubksb).
#pragma once

#include <span>

namespace tolvex {

// Solves M x = b for an n x n matrix stored by rows (element (i, j), 1-based, at (i-1)*n + j-1).
// The solution replaces b; the LU factors replace M. The pivot of each column is the row with the
// largest weight s_i |M_ij|, s_i being the row's largest magnitude (ties go to the later row); a zero
// pivot is replaced by 1e-20, so a singular system still yields a finite answer.
void solveLinearSystem(std::span<double> matrix, std::span<double> rhs, int n);

}  // namespace tolvex
