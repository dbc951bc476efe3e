#include "core/commands/SettingsCommands.h"

#include "core/commands/SettingsForms.h"

namespace tolvex {

CommandOutcome modelSelection(AnalysisState& state, Interaction& ui) {
    return editCommand(state, ui, modelSelectionForm());
}

CommandOutcome projectDefinition(AnalysisState& state, Interaction& ui) {
    return editCommand(state, ui, projectForm());
}

CommandOutcome integrationOptions(AnalysisState& state, Interaction& ui) {
    return editCommand(state, ui, integrationForm());
}

}  // namespace tolvex
