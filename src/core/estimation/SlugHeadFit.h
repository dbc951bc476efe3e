// The slug-test fits (Cooper, Bredehoeft and Papadopulos 1967; Bouwer and Rice 1976) work on H/H0.
// When the first series holds raw displacements or water levels (state.firstSeries.head), the used
// measurements are replaced by H/H0 for the run and put back after it, with the computed heads turned
// into the measurements' own kind, so the table, the plot and the document keep what was entered.
// With the classic setting (values are H/H0 already) nothing is touched.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/state/AnalysisState.h"

namespace tolvex {

struct MeasuredHeads {
    bool replaced = false;
    std::vector<double> measured;  // the used measurements as entered
    double h0 = 1.0;
};

// H0 of the first series: 1, its first measurement's displacement (of all, not only the used ones), or
// the number given.
[[nodiscard]] double firstSeriesH0(const AnalysisState& state);

// Why the heads cannot be normalised (H0 not a positive number), or nothing.
[[nodiscard]] std::optional<std::string> slugHeadError(const AnalysisState& state);

// For models 5 and 10 with a head setting other than the classic one: measured becomes H/H0.
[[nodiscard]] MeasuredHeads fitOnNormalisedHeads(AnalysisState& state);

// measured as entered again, calculated in the same kind.
void restoreMeasuredHeads(AnalysisState& state, const MeasuredHeads& kept);

}  // namespace tolvex
