#include "core/commands/EngineCommands.h"

#include "core/commands/CalculateDrawdownsCommand.h"
#include "core/commands/CommandIds.h"
#include "core/commands/EstimationCommands.h"
#include "core/commands/SettingsCommands.h"
#include "core/commands/StartValuesCommand.h"
#include "core/commands/TypeCurveCommands.h"

namespace tolvex {

std::optional<CommandOutcome> runEngineCommand(int commandId, AnalysisState& state, Interaction& ui) {
    if (!isCommandEnabled(commandId, state.modelKind)) return std::nullopt;
    switch (commandId) {
        case kCmdTypeCurveCalculation:
            return typeCurveCalculation(state, ui);
        case kCmdTypeCurveSelection:
            return typeCurveSelection(state, ui);
        case kCmdCalculateDrawdowns:
            return calculateDrawdownsCommand(state, ui);
        case kCmdTrialInversion:
            return trialInversion(state, ui);
        case kCmdSimplexInversion:
            return simplexInversion(state, ui);
        case kCmdLeastSquaresInversion:
            return leastSquaresInversion(state, ui);
        case kCmdEstimateStartValues:
            return estimateStartValuesCommand(state, ui);
        case kCmdModelSelection:
            return modelSelection(state, ui);
        case kCmdProject:
            return projectDefinition(state, ui);
        case kCmdIntegration:
            return integrationOptions(state, ui);
        default:
            return std::nullopt;
    }
}

}  // namespace tolvex
