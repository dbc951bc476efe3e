// The residuals of the last estimation (measured minus calculated) as the diagnostic views draw them:
// against time, against the calculated drawdown (each switched-on series in its colour, with a zero line)
// and on normal probability paper, with the lag-1 autocorrelation written above the plot.
#pragma once

#include <string>
#include <vector>

#include "core/plot/PlotCanvas.h"
#include "core/state/AnalysisState.h"

namespace tolvex::plot {

// One series' residuals at its measurements in use that have a calculated value.
struct SeriesResiduals {
    std::string name;
    std::vector<double> times;
    std::vector<double> calculated;
    std::vector<double> residuals;  // measured - calculated
};

// The first series and every switched-on further series with measurements in use, in the order of the
// data plot; empty before an estimation (no calculated drawdowns shown).
[[nodiscard]] std::vector<SeriesResiduals> seriesResiduals(const AnalysisState& state);

// The lag-1 autocorrelation of all residuals, series after series in time order.
[[nodiscard]] double residualsLag1(const std::vector<SeriesResiduals>& series);

// The plotting position of the i-th smallest of n values (1-based), (i - 0.375) / (n + 0.25) (Blom 1958).
[[nodiscard]] double blomPosition(int i, int n);

// The standard normal quantile: z with Phi(z) = p, for 0 < p < 1 (NaN outside). Acklam's rational
// approximation refined by one Halley step on erfc, to about machine precision.
[[nodiscard]] double standardNormalQuantile(double p);

// The points of a normal probability plot: the sorted residuals against the normal quantiles of their
// Blom positions, and the line z -> mean + deviation * z (sample standard deviation, n - 1).
struct NormalProbabilityPoints {
    std::vector<double> quantiles;
    std::vector<double> sorted;
    double mean = 0.0;
    double deviation = 0.0;
};
[[nodiscard]] NormalProbabilityPoints normalProbabilityPoints(std::vector<double> residuals);

// "lag-1 autocorrelation 0.123" with a decimal point whatever the locale.
[[nodiscard]] std::string autocorrelationText(double rho);

void drawResidualsAgainstTime(PlotCanvas& canvas, const AnalysisState& state);
void drawResidualsAgainstCalculated(PlotCanvas& canvas, const AnalysisState& state);
void drawNormalProbability(PlotCanvas& canvas, const AnalysisState& state);

}  // namespace tolvex::plot
