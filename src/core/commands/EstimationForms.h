// The dialogs of the estimation commands as forms: one initial-guess dialog per model (the geometry of
// the test and the starting parameters), the Bouwer-Rice slug-test dialog, the matching criteria and
// the time input of "Calculate drawdowns".
#pragma once

#include <optional>
#include <vector>

#include "core/commands/Form.h"

namespace tolvex {

// Control ids of the forms whose dialogs carry none of their own.
inline constexpr int kTimeCountId = 1000;
inline constexpr int kTimeMinId = 1001;
inline constexpr int kTimeMaxId = 1002;

// The initial-guess dialog of model 0..8 (models 7 and 8 share one); nothing for other models.
// "Theis confined aquifer" also sets paramCount = 2 and paramVector = (S, T) on OK; "Leaky confined
// Aquifer" sets paramCount = 4 and paramVector = (S, T, K', b').
[[nodiscard]] std::optional<Form> initialGuessForm(int modelKind);

// Moench's (1993) geometry as dialog fields with the control ids `ids`, in this order: the observation
// radio group (mnObsKind: fully penetrating observation well, piezometer at z/b, observation well
// screened from z1/b to z2/b) and l/b, d/b of the pumping-well screen, z/b (enabled for a piezometer
// only), z1/b and z2/b (enabled for a screened observation well only). Used by the initial-guess
// dialog and the type-curve range dialog of the unconfined aquifer.
[[nodiscard]] std::vector<FormField> unconfinedGeometryFields(const std::vector<int>& ids);

// "Slug test  (Bower and Rice, 1976)".
[[nodiscard]] Form bouwerRiceForm();

// "Drawdown curve matching criteria": maxIterations (0..65535, a 16-bit word in the document) and
// convergenceError; OK resizes errorHistory to maxIterations entries, keeping those that fit.
[[nodiscard]] Form matchingCriteriaForm();

// "Time input for calculation of drawdowns": usedCount, calcTimeMin, calcTimeMax. Refuses, keeping
// the dialog open, fewer than 2 or more than 65535 times, a limit that is not positive, and a
// minimum above the maximum.
[[nodiscard]] Form timeInputForm();

}  // namespace tolvex
