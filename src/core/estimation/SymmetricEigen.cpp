#include "core/estimation/SymmetricEigen.h"

#include <cmath>

namespace tolvex {
namespace {

constexpr int kMaxSweeps = 100;

double offDiagonalNorm(const std::vector<double>& a, int n) {
    double sum = 0.0;
    for (int j = 0; j < n; ++j) {
        for (int k = 0; k < n; ++k) {
            if (j != k) sum += a[j * n + k] * a[j * n + k];
        }
    }
    return std::sqrt(sum);
}

double diagonalNorm(const std::vector<double>& a, int n) {
    double sum = 0.0;
    for (int j = 0; j < n; ++j) sum += a[j * n + j] * a[j * n + j];
    return std::sqrt(sum);
}

// One rotation in the (p, q) plane that zeroes a[p][q] (Golub and Van Loan, Algorithm 8.5.1).
void rotate(std::vector<double>& a, std::vector<double>& v, int n, int p, int q) {
    const double apq = a[p * n + q];
    if (apq == 0.0) return;
    const double tau = (a[q * n + q] - a[p * n + p]) / (2.0 * apq);
    const double t = (tau >= 0.0 ? 1.0 : -1.0) / (std::fabs(tau) + std::sqrt(1.0 + tau * tau));
    const double c = 1.0 / std::sqrt(1.0 + t * t);
    const double s = t * c;
    for (int k = 0; k < n; ++k) {
        const double akp = a[k * n + p], akq = a[k * n + q];
        a[k * n + p] = c * akp - s * akq;
        a[k * n + q] = s * akp + c * akq;
    }
    for (int k = 0; k < n; ++k) {
        const double apk = a[p * n + k], aqk = a[q * n + k];
        a[p * n + k] = c * apk - s * aqk;
        a[q * n + k] = s * apk + c * aqk;
    }
    for (int k = 0; k < n; ++k) {
        const double vkp = v[k * n + p], vkq = v[k * n + q];
        v[k * n + p] = c * vkp - s * vkq;
        v[k * n + q] = s * vkp + c * vkq;
    }
}

}  // namespace

SymmetricEigen symmetricEigen(std::vector<double> a, int n) {
    std::vector<double> v(static_cast<std::size_t>(n) * n, 0.0);
    for (int j = 0; j < n; ++j) v[j * n + j] = 1.0;
    for (int sweep = 0; sweep < kMaxSweeps; ++sweep) {
        if (offDiagonalNorm(a, n) <= 1e-17 * diagonalNorm(a, n)) break;
        for (int p = 0; p < n - 1; ++p) {
            for (int q = p + 1; q < n; ++q) rotate(a, v, n, p, q);
        }
    }
    SymmetricEigen result;
    result.vectors = std::move(v);
    for (int j = 0; j < n; ++j) result.values.push_back(a[j * n + j]);
    return result;
}

}  // namespace tolvex
