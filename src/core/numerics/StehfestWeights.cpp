#include "core/numerics/StehfestWeights.h"

#include <algorithm>
#include <cmath>

namespace tolvex {

void stehfestCoefficients(int n, std::vector<double>& v) {
    const int half = n / 2;
    // factorial[k] = k!; 0! is never looked up: factors with a zero argument are left out instead.
    std::vector<double> factorial(2 * n + 2, 1.0);
    for (int k = 1; k <= n; ++k) factorial[k] = factorial[k - 1] * k;
    auto factorialOrOne = [&](int k) { return k == 0 ? 1.0 : factorial[k]; };

    // g[k] = k^half (2k)! / ((half - k)! k! (k - 1)!)
    std::vector<double> g(2 * n + 2, 0.0);
    for (int k = 1; k <= half; ++k) {
        g[k] = std::pow(static_cast<double>(k), half) * factorialOrOne(2 * k) /
               (factorialOrOne(half - k) * factorial[k] * factorialOrOne(k - 1));
    }
    double sign = (half % 2 == 0) ? -1.0 : 1.0;  // (-1)^(half + 1) for i = 1
    for (int i = 1; i <= n; ++i) {
        double sum = 0.0;
        for (int k = (i + 1) / 2; k <= std::min(i, half); ++k) {
            sum += g[k] / (factorialOrOne(i - k) * factorialOrOne(2 * k - i));
        }
        v[i] = sign * sum;
        sign = -sign;
    }
}

}  // namespace tolvex
