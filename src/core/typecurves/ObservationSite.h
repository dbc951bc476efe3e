// Where a series' drawdowns are computed: its radial distance and observation geometry. The pumping
// well, the aquifer and the parameters are the state's; only these differ from series to series.
#pragma once

#include "core/series/ObservationSeries.h"
#include "core/state/AnalysisState.h"

namespace tolvex {

struct ObservationSite {
    float radialDistance = 1.0f;
    ObservationGeometry geometry;
};

// The first series' site: the state's own radialDistance and observation fields.
[[nodiscard]] ObservationGeometry stateGeometry(const AnalysisState& state);
[[nodiscard]] ObservationSite firstSeriesSite(const AnalysisState& state);
[[nodiscard]] inline ObservationSite seriesSite(const ObservationSeries& series) {
    return {series.radialDistance, series.geometry};
}

}  // namespace tolvex
