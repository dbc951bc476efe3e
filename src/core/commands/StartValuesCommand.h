// "Estimate start values": the model's parameter fields set from the used measurements (see
// StartValues.h), so that a fit can begin near its optimum.
#pragma once

#include "core/commands/CommandFlow.h"

namespace tolvex {

// Models 0..8. Writes the start values into the fitted fields (model 2: K' = b'/p3) and tells the user
// which method gave them and the values: "Start values estimated from the used measurements (METHOD):"
// followed by one "FIELD = VALUE" line per fitted field. Refused, with the reason and the state
// unchanged, when no start values can be formed (e.g. "Start values need at least two measurements
// with a positive time and a finite value.").
CommandOutcome estimateStartValuesCommand(AnalysisState& state, Interaction& ui);

}  // namespace tolvex
