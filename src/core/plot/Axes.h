// The two axes of a plot: range clamping, decade extents, the plot rectangle (equal decades on log-log
// paper), grid lines, ticks, number labels, the frame and the rotated titles.
#pragma once

#include <string>

#include "core/plot/AxisRange.h"
#include "core/plot/PlotCanvas.h"
#include "core/state/AnalysisState.h"

namespace tolvex::plot {

struct AxisTitles {
    std::string horizontal;
    std::string vertical;
};

// Draws both axes for the requested data ranges, leaves canvas.plotRect set and returns the mapping the
// curves use. Reads the plotting window, the axis types and the label switches of the state.
AxisMapping drawAxes(PlotCanvas& canvas, const AnalysisState& state, AxisRange vertical, AxisRange horizontal,
                     const AxisTitles& titles);

// The same in the clear style (drawAxes turns to it): light grid lines at every tick, horizontal number
// labels centred on their ticks, centred titles, a linear axis that follows the data widened to round
// steps, and on an axis whose Plotting Options limits were set the range exactly as asked (askedWindow),
// wider or narrower than the data.
AxisMapping drawClearAxes(PlotCanvas& canvas, const AnalysisState& state, AxisRange vertical,
                          AxisRange horizontal, const AxisTitles& titles);

// The clear axes of a view of its own (residuals, straight-line plots): the axis types given, both axes
// following the data ranges (no plotting window), labels and titles always drawn.
AxisMapping drawClearAxesOf(PlotCanvas& canvas, bool xLog, bool yLog, AxisRange vertical,
                            AxisRange horizontal, const AxisTitles& titles);

// The rectangle the axes use: on log-log paper the frame shrinks in one direction so that a decade has
// the same length on both axes; otherwise the whole frame.
[[nodiscard]] LogicalRect plotRectFor(bool bothLogarithmic, float horizontalDecades, float verticalDecades);

}  // namespace tolvex::plot
