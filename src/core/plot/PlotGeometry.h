// The rectangles of the plot, the result of an axis drawing, and the mapping from data values to
// logical coordinates.
#pragma once

#include <optional>

namespace tolvex::plot {

// A rectangle in logical units; y grows upwards, so `upper` > `lower`.
struct LogicalRect {
    int left = 0;
    int lower = 0;
    int right = 0;
    int upper = 0;
    [[nodiscard]] int width() const { return right - left; }
    [[nodiscard]] int height() const { return upper - lower; }
    friend bool operator==(const LogicalRect&, const LogicalRect&) = default;
};

// The area reserved for the plot; the margins hold the labels, the titles and the legend.
inline constexpr LogicalRect kPlotFrame{200, 250, 1000, 950};

// What drawAxes hands to the curves: for a linear axis the data range and logical units per data unit,
// for a logarithmic one the decade exponents and logical units per decade.
struct AxisMapping {
    float xOrigin = 0.0f;
    float xEnd = 0.0f;
    float xScale = 1.0f;
    float yOrigin = 0.0f;
    float yEnd = 0.0f;
    float yScale = 1.0f;
    bool xLog = false;
    bool yLog = false;
};

// Logical x of a data value, truncated toward zero; nothing for a value that has no place on the axis
// (non-positive on a logarithmic axis, not finite). Far-off values are held to a range that every
// backend can draw, so a wild point cannot overflow an integer.
[[nodiscard]] std::optional<int> mapX(const AxisMapping& mapping, const LogicalRect& plotRect, float value);
[[nodiscard]] std::optional<int> mapY(const AxisMapping& mapping, const LogicalRect& plotRect, float value);

}  // namespace tolvex::plot
