// The status-bar prompt of each command, shown while its menu item or toolbar button is highlighted.
#pragma once

#include <QString>

namespace tolvex::gui {

// The idle text of the status bar's message pane.
[[nodiscard]] QString idlePrompt();

// The prompt of a command; empty for an id that has none.
[[nodiscard]] QString commandPrompt(int id);

}  // namespace tolvex::gui
