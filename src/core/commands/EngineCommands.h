// The analysis commands of the engine by command id, for the menu of the desktop program.
#pragma once

#include <optional>

#include "core/commands/CommandFlow.h"

namespace tolvex {

// Runs the command when it is one of the engine's (type curves, their selection, calculate drawdowns,
// the start values, the three inversions, model selection, project, integration) and enabled for the model;
// nothing when the id belongs to another part of the program or the command is disabled.
std::optional<CommandOutcome> runEngineCommand(int commandId, AnalysisState& state, Interaction& ui);

}  // namespace tolvex
