// "Type-curve Calculation" (32771) and "Type-curve selection" (32806).
#pragma once

#include "core/commands/CommandFlow.h"
#include "core/typecurves/TypeCurveFamily.h"

namespace tolvex {

// The Theis initial-guess dialog first when guessOnNew is 1; then the model's option dialog (models
// 0, 2, 4, 6) and, unless a published table was chosen, its range dialog; the ranges are checked; the
// family is computed as a job (progress by curve or abscissa, none for model 0). On success: the
// family, plotContent = 0, resultKind = 0, both axes logarithmic, typeCurvesReady = 1, modified = 1.
// Cancel in a dialog or of the run leaves the state as it was. Ranges that admit no family are
// refused with a message naming the field (the confirmed dialog values stay; the family is kept).
// Models without type curves: "No implementation of the type curves!.", typeCurvesReady = 0.
CommandOutcome typeCurveCalculation(AnalysisState& state, Interaction& ui,
                                    const TypeCurveOptions& options = {});

// The type-curve selection dialog; computes nothing.
CommandOutcome typeCurveSelection(AnalysisState& state, Interaction& ui);

}  // namespace tolvex
