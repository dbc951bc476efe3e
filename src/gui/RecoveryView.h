// "Recovery as drawdowns (Agarwal)": the measurements of a recovery test, taken since the start of
// pumping, replaced by Agarwal's (1980) view, the recovery s(t_p) - s' at the equivalent time
// t_e = t_p t'/(t_p + t'), so that any model fits them as the drawdowns of the rate before the stop.
// The stop is the last rate step (to rate 0); Edit > Undo brings the readings and the steps back.
#pragma once

#include <optional>
#include <string>

#include "core/state/AnalysisState.h"

namespace tolvex::gui {

class MainWindow;

// Replaces the state's measurements by the Agarwal view and its rate steps by the constant rate before
// the stop; or says why not (no recovery step, no reading before or after the stop), the state then
// unchanged.
[[nodiscard]] std::optional<std::string> convertRecoveryToAgarwal(AnalysisState& state);

// The menu item after "Rate steps...": converts with an Undo entry, or shows why it cannot.
void addAgarwalCommand(MainWindow& window);

}  // namespace tolvex::gui
