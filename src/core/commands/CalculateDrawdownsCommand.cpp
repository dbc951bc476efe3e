#include "core/commands/CalculateDrawdownsCommand.h"

#include <algorithm>
#include <span>

#include "core/commands/EstimationForms.h"
#include "core/input/SampleSets.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/SyntheticDrawdowns.h"

namespace tolvex {
namespace {

// The first `count` values of a table column (fewer when the column is shorter).
std::span<const double> firstValues(const std::vector<double>& column, int count) {
    return std::span(column).first(std::min(column.size(), static_cast<std::size_t>(std::max(count, 0))));
}

bool sameValues(std::span<const double> a, std::span<const double> b) {
    return std::ranges::equal(a, b);
}

}  // namespace

bool holdsMeasuredData(const AnalysisState& state) {
    const auto times = firstValues(state.allTimes, state.allCount);
    const auto drawdowns = firstValues(state.allDrawdowns, state.allCount);
    if (drawdowns.empty()) return false;
    for (int set : {kSetConfinedAquifer, kSetSlugTest}) {
        AnalysisState sample;
        // The sets enter in the document's units, as they did into the state.
        sample.units = state.units;
        sample.modelKind = state.modelKind;
        sample.firstSeries = state.firstSeries;
        installPredefinedSet(sample, set);
        if (sameValues(times, sample.allTimes) && sameValues(drawdowns, sample.allDrawdowns)) return false;
    }
    const bool calculatedEarlier =
        state.calculated.size() == drawdowns.size() && sameValues(drawdowns, state.calculated);
    return !calculatedEarlier;
}

CommandOutcome calculateDrawdownsCommand(AnalysisState& state, Interaction& ui) {
    const auto guess = initialGuessForm(state.modelKind);
    if (!guess) {
        ui.message(kNotImplemented);
        return CommandOutcome::Refused;
    }
    if (holdsMeasuredData(state) && !ui.askYesNo(kReplaceMeasuredQuestion)) return CommandOutcome::Cancelled;
    CommandScope scope(state);
    if (!scope.edit(ui, timeInputForm()) || !scope.edit(ui, *guess)) return CommandOutcome::Cancelled;
    if (const auto error = checkSyntheticTimes(state)) {
        ui.message(*error);
        return CommandOutcome::Refused;
    }
    calculateDrawdowns(state);
    if (const auto error = checkDrawdownsDefined(state, state.modelKind)) {
        ui.message(*error);
        scope.cancel();
        return CommandOutcome::Refused;
    }
    ui.redraw();
    return CommandOutcome::Done;
}

}  // namespace tolvex
