#include "core/commands/CalculateDrawdownsCommand.h"

#include "core/commands/EstimationForms.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/SyntheticDrawdowns.h"

namespace tolvex {

CommandOutcome calculateDrawdownsCommand(AnalysisState& state, Interaction& ui) {
    const auto guess = initialGuessForm(state.modelKind);
    if (!guess) {
        ui.message(kNotImplemented);
        return CommandOutcome::Refused;
    }
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
