// The data plot: measured drawdowns against time as a line of marked points, and after an estimation
// the calculated drawdowns as a plain blue line.
#pragma once

#include "core/plot/PlotCanvas.h"
#include "core/state/AnalysisState.h"

namespace tolvex::plot {

// Records the extents of the plotted data (dataTimeMin ... dataDrawdownMax) and lastPlotStyle = 2.
void drawDataPlot(PlotCanvas& canvas, AnalysisState& state);

// One measured point: a blue plus sign under a yellow disc with a blue outline, W/70 of the plot
// rectangle in radius.
void drawMarker(PlotCanvas& canvas, Point at);

}  // namespace tolvex::plot
