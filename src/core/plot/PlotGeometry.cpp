#include "core/plot/PlotGeometry.h"

#include <algorithm>
#include <cmath>

namespace tolvex::plot {
namespace {

// Far beyond any device, yet well inside int.
constexpr double kCoordinateLimit = 1.0e7;

std::optional<int> mapValue(bool logarithmic, float origin, float scale, int edge, float value) {
    const double v = value;
    if (!std::isfinite(v) || (logarithmic && v <= 0.0)) return std::nullopt;
    const double position = logarithmic ? std::log10(v) : v;
    const double mapped = (position - origin) * static_cast<double>(scale) + edge;
    if (!std::isfinite(mapped)) return std::nullopt;
    return static_cast<int>(std::trunc(std::clamp(mapped, -kCoordinateLimit, kCoordinateLimit)));
}

}  // namespace

std::optional<int> mapX(const AxisMapping& mapping, const LogicalRect& plotRect, float value) {
    return mapValue(mapping.xLog, mapping.xOrigin, mapping.xScale, plotRect.left, value);
}

std::optional<int> mapY(const AxisMapping& mapping, const LogicalRect& plotRect, float value) {
    return mapValue(mapping.yLog, mapping.yOrigin, mapping.yScale, plotRect.lower, value);
}

}  // namespace tolvex::plot
