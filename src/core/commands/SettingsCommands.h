// "Model Selection" (32796), "Project " (32807) and "Integration" (32802): dialogs that only store.
#pragma once

#include "core/commands/CommandFlow.h"

namespace tolvex {

CommandOutcome modelSelection(AnalysisState& state, Interaction& ui);
CommandOutcome projectDefinition(AnalysisState& state, Interaction& ui);
// OK rebuilds the Gauss-Legendre and Stehfest tables for the new counts, and warns (without refusing)
// when more Stehfest terms are chosen than double precision keeps accurate.
CommandOutcome integrationOptions(AnalysisState& state, Interaction& ui);

}  // namespace tolvex
