// The logarithmic grid shared by the type-curve families and the synthetic times: n values spaced
// uniformly on a log10 scale from `min` to `max` ("exponentially uniform intervals").
#pragma once

#include <cmath>

namespace tolvex {

// Value j (0..n-1) of the grid; the first is min and the last is max. Needs min, max > 0 and n >= 2.
[[nodiscard]] inline double logGridValue(double min, double max, int n, int j) {
    return std::pow(10.0, std::log10(min) + j * std::log10(max / min) / (n - 1));
}

}  // namespace tolvex
