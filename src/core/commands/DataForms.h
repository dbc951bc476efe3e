// The small dialogs of "Input drawdowns" as forms: input options, delimiter, predefined set and the
// number of measurements. A radio group is one form field whose id is that of its first button; the
// ids of all buttons, in the group's order, are listed for the front ends.
#pragma once

#include <array>

#include "core/commands/Form.h"

namespace tolvex {

inline constexpr int kInputOptionsDialogId = 158;
inline constexpr std::array<int, 3> kInputOptionButtonIds{211, 212, 213};
inline constexpr int kDelimiterDialogId = 161;
inline constexpr std::array<int, 4> kDelimiterButtonIds{215, 114, 115, 116};
inline constexpr int kPredefinedSetDialogId = 160;
inline constexpr std::array<int, 6> kPredefinedSetButtonIds{214, 215, 216, 218, 219, 217};
inline constexpr int kMeasurementCountDialogId = 126;
inline constexpr int kMeasurementCountEditId = 102;
inline constexpr int kMeasurementTableDialogId = 130;

// drawdownInputMode: import a text file, type the values, or a predefined set.
enum DrawdownInputMode : int { kInputImport = 0, kInputTyped = 1, kInputPredefined = 2 };

// "Options for inputing drawdowns": drawdownInputMode.
[[nodiscard]] Form inputOptionsForm();
// "Data input format": importDelimiter, in the group "Delimiters".
[[nodiscard]] Form delimiterForm();
// "Select predefined values of time and drawdown": predefinedSetChoice.
[[nodiscard]] Form predefinedSetForm();
// "Drawdown-time from pumping test": the number of measurements, 1..65535. On OK the table is
// resized by the count rules (changeMeasurementCount) from `currentCount` rows.
[[nodiscard]] Form measurementCountForm(int currentCount);

}  // namespace tolvex
