// The parts of an axis drawing that the classic and the clear axes share: the extent of an axis after
// clamping and the positions of decades and their mantissas.
#pragma once

#include <cmath>

#include "core/plot/AxisRange.h"
#include "core/plot/PlotCanvas.h"

namespace tolvex::plot {

inline constexpr int kLinearIntervals = 10;

// One axis after clamping: the data range for a linear axis, whole decades for a logarithmic one.
struct AxisExtent {
    bool logarithmic = false;
    AxisRange range;
    DecadeSpan decades;
    [[nodiscard]] float span() const {
        return logarithmic ? static_cast<float>(decades.count())
                           : static_cast<float>(static_cast<double>(range.max) - range.min);
    }
};

inline AxisExtent extentOf(AxisRange requested, AxisRange window, bool logarithmic) {
    AxisExtent extent;
    extent.logarithmic = logarithmic;
    extent.range = drawableRange(clampToWindow(requested, window, logarithmic), window, logarithmic);
    if (logarithmic) extent.decades = decadeSpan(extent.range);
    return extent;
}

// The position of decade j (1-based), mantissa k, along an axis of `length` units from `start`.
inline int decadePosition(int start, int length, float span, int j, int k) {
    return truncToInt(start + (std::log10(static_cast<double>(k)) + j - 1) * length / span);
}

}  // namespace tolvex::plot
