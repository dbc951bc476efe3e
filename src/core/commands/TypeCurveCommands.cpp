#include "core/commands/TypeCurveCommands.h"

#include "core/commands/EstimationForms.h"
#include "core/commands/TypeCurveForms.h"

namespace tolvex {
namespace {

constexpr const char* kNoTypeCurves = "No implementation of the type curves!.";

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
    ui.redraw();
    return CommandOutcome::Done;
}

CommandOutcome typeCurveSelection(AnalysisState& state, Interaction& ui) {
    return editCommand(state, ui, typeCurveSelectionForm());
}

}  // namespace tolvex
