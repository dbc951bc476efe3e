// Benchmark arguments: values equally spaced in the logarithm.
#pragma once

#include <array>
#include <cmath>

namespace tolvex::bench {

// N values from low to high inclusive, equally spaced in the logarithm.
template <int N>
std::array<double, N> logSpread(double low, double high) {
    std::array<double, N> values{};
    for (int i = 0; i < N; ++i) values[i] = low * std::pow(high / low, i / (N - 1.0));
    return values;
}

}  // namespace tolvex::bench
