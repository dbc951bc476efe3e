#include "core/commands/SettingsCommands.h"

#include "core/commands/SettingsForms.h"
#include "core/state/Accuracy.h"
#include "core/state/NumericalTableLimits.h"

namespace tolvex {

CommandOutcome modelSelection(AnalysisState& state, Interaction& ui) {
    return editCommand(state, ui, modelSelectionForm());
}

CommandOutcome projectDefinition(AnalysisState& state, Interaction& ui) {
    return editCommand(state, ui, projectForm());
}

CommandOutcome integrationOptions(AnalysisState& state, Interaction& ui) {
    const CommandOutcome outcome = editCommand(state, ui, integrationForm());
    if (outcome != CommandOutcome::Done) return outcome;
    // The accurate evaluations do not use the Stehfest table; only the standard inversion suffers.
    if (highAccuracy(state)) return outcome;
    if (const auto warning = stehfestAccuracyWarning(state.stehfestCount)) ui.message(*warning);
    return outcome;
}

}  // namespace tolvex
