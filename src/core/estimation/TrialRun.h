// The trial-and-error run: the misfit of the parameters as entered, with nothing fitted.
#pragma once

#include "core/state/AnalysisState.h"

namespace tolvex {

// For models 0..8: builds modelParams from the fields, sets rmsError (filling calculated), paramCount
// and paramVector (the clamped values actually used), iterationsDone = 1 and errorHistory[0]. The
// model's fields stay as entered.
void trialRun(AnalysisState& state);

}  // namespace tolvex
