// "Calculate drawdowns" (32805): a synthetic measurement set from the current parameters.
#pragma once

#include "core/commands/CommandFlow.h"

namespace tolvex {

// The time-input dialog, then the model's initial-guess dialog; then the drawdowns at usedCount
// log-spaced times replace the measurements (calculateDrawdowns of SyntheticDrawdowns.h). Cancel in
// either dialog leaves the state as it was. Models 9 and 10 have no forward model: the message
// "This function has not yet implemented!." and the measurements stay as they are.
CommandOutcome calculateDrawdownsCommand(AnalysisState& state, Interaction& ui);

}  // namespace tolvex
