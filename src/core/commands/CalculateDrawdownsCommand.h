// "Calculate drawdowns" (32805): a synthetic measurement set from the current parameters.
#pragma once

#include "core/commands/CommandFlow.h"

namespace tolvex {

inline constexpr const char* kReplaceMeasuredQuestion =
    "Replace the measured drawdowns with calculated ones?";

// Whether the measurement table holds data the program cannot give back by itself: anything but one of
// the predefined sample sets (the pumping test is also the start-up set) and the drawdowns an earlier
// "Calculate drawdowns" made, which stay equal to the calculated ones until something is computed or
// typed over them.
[[nodiscard]] bool holdsMeasuredData(const AnalysisState& state);

// When the table holds measured data (holdsMeasuredData), first the question "Replace the measured
// drawdowns with calculated ones?": No ends the command with nothing changed. Then the time-input
// dialog and the model's initial-guess dialog; then the drawdowns at usedCount log-spaced times
// replace the measurements (calculateDrawdowns of SyntheticDrawdowns.h). Cancel in either dialog leaves
// the state as it was. Models 9 and 10 have no forward model: the message "This function has not yet
// implemented!." and the measurements stay as they are.
CommandOutcome calculateDrawdownsCommand(AnalysisState& state, Interaction& ui);

}  // namespace tolvex
