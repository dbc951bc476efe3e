// The straight-line plots of the measured data that identify a flow regime: drawdown against log time
// (radial flow, Cooper and Jacob), against the square root of time (linear flow, e.g. a fracture of
// infinite conductivity) and against the fourth root of time (bilinear flow in a finite-conductivity
// fracture). A regime shows as a straight stretch of the points.
#pragma once

#include <string>

#include "core/plot/PlotCanvas.h"
#include "core/state/AnalysisState.h"

namespace tolvex::plot {

enum class StraightLine { SemiLog, SquareRoot, QuarterPower };

// The horizontal coordinate of time t: t itself (on a logarithmic axis), sqrt(t) or t^(1/4); NaN for a
// negative or non-finite time.
[[nodiscard]] double straightLineAbscissa(StraightLine kind, double time);

// The horizontal axis title in the document's units: "Time t [min]", "sqrt t [min^1/2]", "t^1/4 [min^1/4]".
[[nodiscard]] std::string straightLineTitle(StraightLine kind, const AnalysisState& state);

// The measured data of the first and every switched-on further series in use, each in its colour and
// marker; a note when there are none.
void drawStraightLinePlot(PlotCanvas& canvas, const AnalysisState& state, StraightLine kind);

}  // namespace tolvex::plot
