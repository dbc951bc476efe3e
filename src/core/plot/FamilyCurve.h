// One type curve clipped to the plotting window by the index-window rule: the points between the last
// crossings of the window edges, with the two ends moved onto the edges by linear interpolation in the
// data values (not their logarithms). The curve runs from its high end to its low end.
#pragma once

#include <span>
#include <vector>

#include "core/plot/AxisRange.h"

namespace tolvex::plot {

struct CurvePoint {
    float x = 0.0f;
    float y = 0.0f;
    friend bool operator==(const CurvePoint&, const CurvePoint&) = default;
};

// x and y hold the curve 1-based (element 0 unused, as the family arrays keep it), both of the same size.
// Empty when the curve is left out: its last value is not above the window's minimum, or it has fewer
// than two points.
[[nodiscard]] std::vector<CurvePoint> clipFamilyCurve(std::span<const float> x, std::span<const float> y,
                                                      AxisRange horizontalWindow, AxisRange verticalWindow);

}  // namespace tolvex::plot
