// What the plot style changes in a drawing: the axis types actually drawn, the colours, the marker
// shapes, the font and the axis titles. The classic style draws exactly what the program always drew;
// the clear style is for reading on screen and in reports.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "core/plot/AxisRange.h"
#include "core/plot/Scene.h"
#include "core/state/AnalysisState.h"

namespace tolvex::plot {

[[nodiscard]] inline bool clearStyle(const AnalysisState& state) {
    return state.view.style == PlotStyle::Clear;
}

struct AxisTypes {
    bool xLog = true;
    bool yLog = false;
    friend bool operator==(const AxisTypes&, const AxisTypes&) = default;
};

// The axis types the plot draws: the view's choice of axes, or with the automatic choice the switches
// of the Plotting Options (classic style) or the axes that suit the model (clear style).
[[nodiscard]] AxisTypes axisTypes(const AnalysisState& state);

// Semi-log (log time, linear values) suits the straight-line and slug-test models, log-log the others.
[[nodiscard]] AxisTypes automaticAxisTypes(int modelKind);

// The Okabe-Ito palette, safe for the common colour-vision deficiencies; series and curves cycle
// through it. Yellow, weak on white, comes last.
inline constexpr std::array<Rgb, 8> kClearColours{{
    {0, 114, 178},    // blue
    {213, 94, 0},     // vermillion
    {0, 158, 115},    // bluish green
    {204, 121, 167},  // reddish purple
    {230, 159, 0},    // orange
    {86, 180, 233},   // sky blue
    {0, 0, 0},        // black
    {240, 228, 66},   // yellow
}};
inline constexpr Rgb kClearGrid{215, 215, 215};

[[nodiscard]] constexpr Rgb clearColour(int index) {
    const auto n = static_cast<int>(kClearColours.size());
    return kClearColours[static_cast<std::size_t>(((index % n) + n) % n)];
}

// The marker shapes of the clear style, one per series, drawn as outlines so that no marker hides
// another.
enum class MarkerShape { Circle, Square, TriangleUp, Diamond, TriangleDown, Cross, Plus };
inline constexpr int kMarkerShapeCount = 7;
[[nodiscard]] constexpr MarkerShape markerShape(int series) {
    return static_cast<MarkerShape>(((series % kMarkerShapeCount) + kMarkerShapeCount) % kMarkerShapeCount);
}

// The clear style's font: the chosen face, or a sans-serif one while the classic face is set; the
// Font dialog's size (10 points is the classic cell of 23 units) and style.
inline constexpr const char* kClearFace = "Arial";
[[nodiscard]] PlotFont clearFont(const AnalysisState& state);

// Whether an axis of the clear style covers exactly its Plotting Options limits: when they differ from
// the defaults and make an axis (finite, minimum below maximum, positive on a logarithmic axis).
// Otherwise the axis follows the data like the classic one.
[[nodiscard]] bool askedWindow(AxisRange window, bool horizontal, bool logarithmic);

// The data plot's axis titles in the clear style: "Time t [min]", "Drawdown s [m]", "H/H0 [-]" for a
// slug test's normalised heads, "Head H [m]" for its heads; without units no brackets.
struct DataTitles {
    std::string horizontal;
    std::string vertical;
};
[[nodiscard]] DataTitles clearDataTitles(const AnalysisState& state);

}  // namespace tolvex::plot
