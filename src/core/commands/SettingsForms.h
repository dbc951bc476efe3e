// The dialogs of the shell's own settings as forms: model selection, the project texts and the
// numerical options ("Integration").
#pragma once

#include <string>
#include <vector>

#include "core/commands/Form.h"
#include "core/state/NumericalTableLimits.h"

namespace tolvex {

inline constexpr int kOperatorId = 1000;
inline constexpr int kDescriptionId = 1001;
inline constexpr int kStehfestId = 1000;
inline constexpr int kGaussId = 1001;
inline constexpr int kAccuracyId = 1002;

// "Selection of hydraulic testing methods": the eleven models, into modelKind (control id
// kModelChoiceId of TypeCurveForms.h).
[[nodiscard]] Form modelSelectionForm();
// The group box of each of its buttons, in button order ("" for the untitled box).
[[nodiscard]] std::vector<std::string> modelSelectionGroups();

// "Definition of Project": operatorName and projectDescription.
[[nodiscard]] Form projectForm();

// "Options": stehfestCount (even, 2..20) and gaussCount (2..200); OK rebuilds both numerical tables.
[[nodiscard]] Form integrationForm();

}  // namespace tolvex
