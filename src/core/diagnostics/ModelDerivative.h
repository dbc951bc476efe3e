// The logarithmic derivative of the calculated curve: the current model's drawdowns differentiated in
// ln t, drawn and listed beside the measurements' derivative.
#pragma once

#include <span>
#include <vector>

#include "core/diagnostics/LogDerivative.h"
#include "core/state/AnalysisState.h"
#include "core/typecurves/ObservationSite.h"

namespace tolvex {

// ds/d ln t of the state's model (0..8) and parameters at the first series' site, at each of times,
// from the model's drawdowns at four nearby times (ln t +- 0.02 and +- 0.04, Richardson's
// extrapolation): within some 1e-4 of the exact derivative; NaN at t <= 0 and where the model has no
// value.
[[nodiscard]] std::vector<double> calculatedLogDerivative(const AnalysisState& state,
                                                          std::span<const double> times);
// The same at another series' site (distance and observation geometry).
[[nodiscard]] std::vector<double> calculatedLogDerivative(const AnalysisState& state,
                                                          const ObservationSite& site,
                                                          std::span<const double> times);

// The model's drawdowns at the times smoothed as the measurements are (the same window over the same
// times), so that the two derivatives carry the same smoothing bias.
[[nodiscard]] std::vector<double> calculatedLogDerivative(const AnalysisState& state,
                                                          std::span<const double> times,
                                                          const DerivativeSmoothing& smoothing);

}  // namespace tolvex
