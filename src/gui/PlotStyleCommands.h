// The View menu's "Plot style" and "Axes" submenus: the plot style (classic or clear) and the axes
// (automatic, log-log, semi-log) of the document, each choice checked while it holds. A choice is a
// change of the document: it can be undone and is saved with it.
#pragma once

namespace tolvex::gui {

class MainWindow;

void addPlotStyleCommands(MainWindow& window);

}  // namespace tolvex::gui
