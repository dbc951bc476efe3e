#include "core/commands/TypeCurveCommands.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "core/commands/EstimationForms.h"
#include "core/commands/TypeCurveForms.h"
#include "core/state/FieldTable.h"
#include "core/typecurves/WellFunctionValues.h"

namespace tolvex {
namespace {

constexpr const char* kNoTypeCurves = "No implementation of the type curves!.";
constexpr const char* kUndefinedFamily =
    "The type curves cannot be computed with these settings (a storage ratio sigma of zero or less, or a "
    "well screen of no length?). The previous curves are kept.";

// Why the computed family cannot stand, or nothing: a value that is not a number, or a negative one
// (a well function never is).
std::optional<std::string> familyError(const AnalysisState& s) {
    const std::size_t nx = static_cast<std::size_t>(std::max(s.curveXCount - 1, 0));
    const std::size_t used = std::min(static_cast<std::size_t>(std::max(s.familyCount, 0)) * nx,
                                      s.curveY.empty() ? 0 : s.curveY.size() - 1);
    if (used == 0) return std::nullopt;
    const auto bad = firstBadValue(std::span<const float>(s.curveY).subspan(1, used));
    if (!bad) return std::nullopt;
    if (!std::isfinite(bad->value)) return std::string(kUndefinedFamily);
    const std::size_t curve = bad->index / nx, point = bad->index % nx + 1;
    return "The type curves came out negative (" + formatGeneral(bad->value, 6) + " on the curve " +
           formatGeneral(s.familyValues[curve], 6) + " at abscissa " +
           formatGeneral(point < s.curveX.size() ? s.curveX[point] : 0.0f, 6) +
           "), and a well function is never negative: " +
           negativeValueCause(s.modelKind, s.stehfestCount, s.gaussCount) + ". The previous curves are kept.";
}

void showTypeCurvePlot(AnalysisState& s) {
    s.plotContent = 0;
    s.resultKind = 0;
    s.xAxisLog = 1;
    s.yAxisLog = 1;
}

// The option dialog where the model has one, then the range dialog unless a table was chosen.
bool editFamilyDialogs(CommandScope& scope, AnalysisState& state, Interaction& ui) {
    if (const auto option = typeCurveOptionForm(state.modelKind)) {
        if (!scope.edit(ui, *option)) return false;
        if (usesPublishedTable(state)) return true;
    }
    return scope.edit(ui, *typeCurveRangeForm(state.modelKind));
}

}  // namespace

CommandOutcome typeCurveCalculation(AnalysisState& state, Interaction& ui, const TypeCurveOptions& options) {
    CommandScope scope(state);
    if (state.guessOnNew == 1 && !scope.edit(ui, *initialGuessForm(0))) return CommandOutcome::Cancelled;
    if (!hasTypeCurves(state.modelKind)) {
        showTypeCurvePlot(state);
        state.typeCurvesReady = 0;
        state.modified = 1;
        ui.message(kNoTypeCurves);
        ui.redraw();
        return CommandOutcome::Refused;
    }
    if (!editFamilyDialogs(scope, state, ui)) return CommandOutcome::Cancelled;
    if (const auto error = checkTypeCurveRanges(state)) {
        ui.message(*error);
        return CommandOutcome::Refused;
    }
    StateJob job(state, typeCurvesShowProgress(state.modelKind), StateJob::WhenStopped::Discard,
                 [options](AnalysisState& work, ProgressSink& progress, std::stop_token stop) {
                     if (!computeTypeCurves(work, progress, stop, options)) return;
                     showTypeCurvePlot(work);
                     work.modified = 1;
                 });
    if (!ui.runJob(job) || !job.committed()) return scope.cancel();
    if (const auto error = familyError(state)) {
        scope.cancel();
        ui.message(*error);
        return CommandOutcome::Refused;
    }
    ui.redraw();
    return CommandOutcome::Done;
}

CommandOutcome typeCurveSelection(AnalysisState& state, Interaction& ui) {
    return editCommand(state, ui, typeCurveSelectionForm());
}

}  // namespace tolvex
