// The extent of plotted values, started at +-1e20 as the recorded extents are, so that a plot without
// values records the start values.
#pragma once

#include <cmath>

namespace tolvex::plot {

inline constexpr float kExtentStart = 1.0e20f;

struct Extent {
    float min = kExtentStart;
    float max = -kExtentStart;

    // Values are taken as the 32-bit floats the extents are stored in; NaN is passed over.
    void widen(double value) {
        const auto v = static_cast<float>(value);
        if (std::isnan(v)) return;
        if (v < min) min = v;
        if (v > max) max = v;
    }
};

}  // namespace tolvex::plot
