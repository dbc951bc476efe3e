// The data plot: measured drawdowns against time as a line of marked points, and after an estimation
// the calculated drawdowns as a plain blue line. Further observation series (switched on) are drawn
// the same way, each in its own colour, with their names in a legend down the right-hand margin. The
// clear style draws the series as ClearDataPlot.h says, with the axis titles of clearDataTitles.
#pragma once

#include <string>
#include <vector>

#include "core/plot/PlotCanvas.h"
#include "core/state/AnalysisState.h"

namespace tolvex::plot {

// Records the extents of the plotted data (dataTimeMin ... dataDrawdownMax) and lastPlotStyle = 2.
void drawDataPlot(PlotCanvas& canvas, AnalysisState& state);

// A series as the data plot shows it: its name (or "series N") and its colour. The first series keeps
// the classic blue and yellow; the further ones take the curve colours other than those two.
struct SeriesLegendEntry {
    std::string name;
    Rgb colour;
};

// The series the data plot draws, in order: the first, then every switched-on further series with
// measurements in use. A single entry means the classic plot (no legend).
[[nodiscard]] std::vector<SeriesLegendEntry> dataPlotSeries(const AnalysisState& state);

// The colour of further series k (1-based, extraSeries[k - 1]).
[[nodiscard]] Rgb furtherSeriesColour(int k);

// One measured point: a blue plus sign under a yellow disc with a blue outline, W/70 of the plot
// rectangle in radius.
void drawMarker(PlotCanvas& canvas, Point at);
// The same in other colours.
void drawMarker(PlotCanvas& canvas, Point at, Rgb outline, Rgb fill);

}  // namespace tolvex::plot
