#include "core/estimation/LinearSystem.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace tolvex {
namespace {

constexpr double kTinyPivot = 1e-20;

// 1-based views, so that the decomposition reads as its textbook form.
struct Square {
    std::span<double> data;
    int n;
    double& operator()(int i, int j) const { return data[static_cast<std::size_t>(i - 1) * n + (j - 1)]; }
};

std::vector<double> rowScales(const Square& m) {
    std::vector<double> scale(m.n + 1, 0.0);
    for (int i = 1; i <= m.n; ++i) {
        for (int j = 1; j <= m.n; ++j) scale[i] = std::max(scale[i], std::fabs(m(i, j)));
    }
    return scale;
}

std::vector<int> decompose(const Square& m) {
    const int n = m.n;
    std::vector<double> scale = rowScales(m);
    std::vector<int> pivot(n + 1, 0);
    for (int j = 1; j <= n; ++j) {
        for (int i = 1; i < j; ++i) {
            double sum = m(i, j);
            for (int k = 1; k < i; ++k) sum -= m(i, k) * m(k, j);
            m(i, j) = sum;
        }
        double best = 0.0;
        int row = j;
        for (int i = j; i <= n; ++i) {
            double sum = m(i, j);
            for (int k = 1; k < j; ++k) sum -= m(i, k) * m(k, j);
            m(i, j) = sum;
            const double weight = scale[i] * std::fabs(sum);
            if (weight >= best) {
                best = weight;
                row = i;
            }
        }
        if (row != j) {
            for (int k = 1; k <= n; ++k) std::swap(m(row, k), m(j, k));
            scale[row] = scale[j];
        }
        pivot[j] = row;
        if (j < n) {
            if (m(j, j) == 0.0) m(j, j) = kTinyPivot;
            const double factor = 1.0 / m(j, j);
            for (int i = j + 1; i <= n; ++i) m(i, j) *= factor;
        }
    }
    if (m(n, n) == 0.0) m(n, n) = kTinyPivot;
    return pivot;
}

void substitute(const Square& m, const std::vector<int>& pivot, std::span<double> rhs) {
    const int n = m.n;
    auto b = [&](int i) -> double& { return rhs[i - 1]; };
    int first = 0;  // first non-zero element of the permuted right-hand side
    for (int i = 1; i <= n; ++i) {
        double x = b(pivot[i]);
        b(pivot[i]) = b(i);
        if (first != 0) {
            for (int k = first; k < i; ++k) x -= m(i, k) * b(k);
        } else if (x != 0.0) {
            first = i;
        }
        b(i) = x;
    }
    for (int i = n; i >= 1; --i) {
        double x = b(i);
        for (int k = i + 1; k <= n; ++k) x -= m(i, k) * b(k);
        b(i) = x / m(i, i);
    }
}

}  // namespace

void solveLinearSystem(std::span<double> matrix, std::span<double> rhs, int n) {
    if (n < 1) return;
    const Square m{matrix, n};
    const std::vector<int> pivot = decompose(m);
    substitute(m, pivot, rhs);
}

}  // namespace tolvex
