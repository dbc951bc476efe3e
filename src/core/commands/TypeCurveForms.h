// The type-curve dialogs as forms: the range dialog of each model (the two axes of the family and the
// model's other inputs), the spacing-option dialogs of the four models with a published table, and the
// type-curve selection.
//
// The range dialogs carry no control ids of their own; these forms number them: the first axis group
// kFirstAxisId.. (min, max, count), the second kSecondAxisId.., the other controls from kOtherId on, in
// the order listed. Labels repeat between the groups ("min", "max", "No. of Points"), so address the
// fields by id.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/commands/Form.h"

namespace tolvex {

inline constexpr int kFirstAxisId = 1001;
inline constexpr int kSecondAxisId = 1004;
inline constexpr int kOtherId = 1010;
inline constexpr int kOptionId = 1000;
inline constexpr int kModelChoiceId = 1000;

// The range dialog of model 0..8; nothing for other models.
[[nodiscard]] std::optional<Form> typeCurveRangeForm(int modelKind);

// The spacing-option dialog of models 0, 2, 4 and 6 (0 uniform grid, 1 published table); nothing for
// the others, which always use the grid.
[[nodiscard]] std::optional<Form> typeCurveOptionForm(int modelKind);

// "Type Curve Selection  for Hydraulic Testing": the nine models with type curves, into modelKind.
[[nodiscard]] Form typeCurveSelectionForm();
// The group box of each of its buttons, in button order ("" where a button sits in no titled box).
[[nodiscard]] std::vector<std::string> typeCurveSelectionGroups();

}  // namespace tolvex
