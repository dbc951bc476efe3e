// The legend of a type-curve family: the family name and, for each curve, its value with a short stroke
// of its colour, one row every legendRowPitch units down the right-hand margin.
#pragma once

#include <string>

#include "core/plot/PlotCanvas.h"
#include "core/state/AnalysisState.h"

namespace tolvex::plot {

// Rows that would leave the drawing space at the bottom continue in a further column to the right; the
// scene then grows wider so that every column, and a long family name, stays in the picture.
void drawLegend(PlotCanvas& canvas, const std::string& familyName, const AnalysisState& state);

// Where the family name and its "=" stand: beside the upper edge of the plot rectangle at
// (right + W/30, upper - 2 * (H/50)) when a title `titleWidth` wide (as the backend measures it) ends
// within the drawing space there; a longer one ("(Gamma*rd)^2=") stands right-aligned at the drawing
// space's right edge, just above the rectangle, so the picture keeps its width and the title stays whole.
[[nodiscard]] Point legendTitleAnchor(const LogicalRect& plotRect, int titleWidth, int fontHeight);

// The distance between legend rows: 2 * (H/50) of the plot rectangle, but never less than on the full
// frame (28 units), so that the rows of a flat log-log rectangle do not overwrite each other.
[[nodiscard]] int legendRowPitch(const LogicalRect& plotRect);

// How many legend rows fit in one column below a plot rectangle whose upper edge is `upper`.
[[nodiscard]] int legendRowsPerColumn(const LogicalRect& plotRect, int fontHeight);

// The horizontal distance between legend columns: the stroke, the 8-character value and a gap.
inline constexpr int kLegendColumnPitch = 200;

}  // namespace tolvex::plot
