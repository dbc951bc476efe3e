// The colour table of the plot. Curve j of a family is drawn in colour j; families of more than eleven
// curves cycle through the table, in the curves and in the legend alike.
#pragma once

#include <array>
#include <cstddef>

#include "core/plot/Scene.h"

namespace tolvex::plot {

inline constexpr std::array<Rgb, 11> kCurveColours{{
    {255, 0, 0},      // red
    {0, 255, 0},      // green
    {0, 0, 255},      // blue
    {255, 255, 0},    // yellow
    {255, 0, 255},    // magenta
    {0, 255, 255},    // cyan
    {0, 0, 0},        // black
    {128, 128, 128},  // grey
    {128, 128, 0},    // olive
    {128, 0, 128},    // purple
    {0, 128, 128},    // teal
}};

inline constexpr Rgb kMarkerOutline = kCurveColours[2];
inline constexpr Rgb kMarkerFill = kCurveColours[3];
inline constexpr Rgb kCalculatedLine = kCurveColours[2];

[[nodiscard]] constexpr Rgb curveColour(int curve) {
    const auto n = static_cast<int>(kCurveColours.size());
    return kCurveColours[static_cast<std::size_t>(((curve % n) + n) % n)];
}

}  // namespace tolvex::plot
