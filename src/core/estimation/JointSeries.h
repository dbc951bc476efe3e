// The joint fit of several observation series: before a run, the used measurements of every series
// that takes part are joined into the fit's working arrays (times, measured, calculated, usedCount),
// the first series first, and state.joint records where each series' stretch lies, its site and its
// weight; after the run the calculated drawdowns are split back to their series and the first series'
// arrays are restored. The estimation methods work on the joined arrays unchanged, the forward model
// computes each stretch at its own series' site, and the misfit weighs each squared residual.
//
// Nothing is joined when only the classic series takes part with weight 1: the state then stays the
// classic one, so the classic fits' arithmetic is untouched.
#pragma once

#include <string>
#include <vector>

#include "core/state/AnalysisState.h"

namespace tolvex {

// Whether a fit needs the joined arrays: a further series takes part (switched on, a positive weight,
// a measurement in use), or the first series is switched off or weighted other than 1.
[[nodiscard]] bool jointFitWanted(const AnalysisState& state);

// Joins the series when jointFitWanted and not joined already. Slug-test series (model 5) enter as
// normalised heads H/H0.
void joinSeries(AnalysisState& state);

// Puts the calculated drawdowns back into their series (the first series' calculated, the others'
// ObservationSeries::calculated, empty for a series that took no part) and restores the first series'
// working arrays. A first series that took no part gets the model at the state's parameters (models
// 0..8). Nothing happens when the state is not joined.
void splitSeries(AnalysisState& state);

// Fills every further series' calculated with the model (0..8) at its used times and site for the
// state's parameters: the drawdowns a simulation gives there. Other models leave them empty.
void calculateFurtherSeries(AnalysisState& state);

// A copy of the state, joined when a fit would join it.
[[nodiscard]] AnalysisState joinedCopy(const AnalysisState& state);

// The segment holding joined point `index`, or nothing when not joined.
[[nodiscard]] const JointSegment* segmentOf(const AnalysisState& state, int index);

// The name of series `series` (0 the first) as messages show it: its own name, or "series N".
[[nodiscard]] std::string seriesLabel(const AnalysisState& state, int series);

// The squared radial distance of every used point: each series' own in a joined state.
[[nodiscard]] std::vector<double> pointRadiiSquared(const AnalysisState& state);

// The weight of used point `index`: 1 unless joined.
[[nodiscard]] double pointWeight(const AnalysisState& state, int index);

// Joins the state for the lifetime of the object and splits it again at the end.
class JoinedSeries {
public:
    explicit JoinedSeries(AnalysisState& state) : state_(state) { joinSeries(state_); }
    ~JoinedSeries() { splitSeries(state_); }
    JoinedSeries(const JoinedSeries&) = delete;
    JoinedSeries& operator=(const JoinedSeries&) = delete;

private:
    AnalysisState& state_;
};

}  // namespace tolvex
