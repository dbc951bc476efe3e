#include "core/commands/TypeCurveCommands.h"

#include <cmath>

#include "core/commands/EstimationForms.h"
#include "core/commands/TypeCurveForms.h"

namespace tolvex {
namespace {

constexpr const char* kNoTypeCurves = "No implementation of the type curves!.";
constexpr const char* kUndefinedFamily =
    "The type curves cannot be computed with these settings (a storage ratio sigma of zero or less, or a "
    "well screen of no length?). The previous curves are kept.";

// Whether every value of the computed family is a number.
bool familyIsDefined(const AnalysisState& s) {
    const std::size_t used =
        static_cast<std::size_t>(s.familyCount) * static_cast<std::size_t>(s.curveXCount - 1);
    for (std::size_t j = 1; j <= used && j < s.curveY.size(); ++j) {
        if (!std::isfinite(s.curveY[j])) return false;
    }
    return true;
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
    if (!familyIsDefined(state)) {
        scope.cancel();
        ui.message(kUndefinedFamily);
        return CommandOutcome::Refused;
    }
    ui.redraw();
    return CommandOutcome::Done;
}

CommandOutcome typeCurveSelection(AnalysisState& state, Interaction& ui) {
    return editCommand(state, ui, typeCurveSelectionForm());
}

}  // namespace tolvex
