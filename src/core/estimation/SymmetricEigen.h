// Eigenvalues and eigenvectors of a small symmetric matrix by the cyclic Jacobi method (Golub and Van
// Loan, Matrix Computations, 4th ed., section 8.5): plane rotations annihilate the off-diagonal
// elements sweep by sweep until they are negligible against the diagonal. Meant for the few parameters
// of a fit (n <= 6), where its simplicity and its accuracy for tiny eigenvalues matter more than speed.
#pragma once

#include <vector>

namespace tolvex {

struct SymmetricEigen {
    std::vector<double> values;   // n eigenvalues, in no particular order
    std::vector<double> vectors;  // n x n by rows: column k is the eigenvector of values[k]
};

// `a` is n x n by rows and symmetric (only its values are read).
[[nodiscard]] SymmetricEigen symmetricEigen(std::vector<double> a, int n);

}  // namespace tolvex
