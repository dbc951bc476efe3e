// The logarithmic derivative ds/d ln t drawn on the data plot with the drawdowns it comes from, the
// practitioner's diagnostic plot (Bourdet, Whittle, Douglas and Pirard 1983): on log-log axes radial
// flow shows as a flat derivative at Q/(4 pi T), leakage or a recharge boundary as a falling one, a
// no-flow boundary as a rising one. The measurements' derivative is a filled dot of the series' colour,
// the model's a dashed line of it. A slug test's heads fall, so its derivative is drawn negated
// (-d(H/H0)/d ln t), which puts it on logarithmic axes too.
#pragma once

#include <span>
#include <vector>

#include "core/plot/PlotCanvas.h"
#include "core/plot/PlotExtent.h"
#include "core/plot/PlotGeometry.h"
#include "core/state/AnalysisState.h"

namespace tolvex::plot {

// One series' derivatives as the plot shows them, in the document's units.
struct DerivativeSeries {
    std::vector<double> times;  // the measurements' derivative at the used measurements' times
    std::vector<double> values;
    std::vector<double> modelTimes;  // the model's derivative, on its own times (empty before a fit)
    std::vector<double> modelValues;
};

// The derivatives of the series the data plot draws (the first, then each switched-on further series
// with measurements in use), with the smoothing of state.view; empty when the view does not ask for
// them. `state` holds SI values as the document does.
[[nodiscard]] std::vector<DerivativeSeries> derivativeSeries(const AnalysisState& state);

// Takes the positive derivatives into the drawdown axis' extent (the others cannot be drawn on a
// logarithmic axis and would only stretch a linear one).
void widenByDerivatives(Extent& drawdown, const std::vector<DerivativeSeries>& series);

// Draws each series in colours[j]; points outside the axes are left out, and the model's line is cut
// where it leaves them. Then a key of the two marks below `legendRows` rows of the plot's legend.
void drawDerivatives(PlotCanvas& canvas, const AxisMapping& mapping,
                     const std::vector<DerivativeSeries>& series, std::span<const Rgb> colours,
                     int legendRows);

}  // namespace tolvex::plot
