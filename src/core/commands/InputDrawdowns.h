// "Input drawdowns" and the predefined-set command: how measurements enter an analysis.
#pragma once

#include <string>

#include "core/commands/Interaction.h"
#include "core/state/AnalysisState.h"

namespace tolvex {

// The file dialog of the measurement import.
inline constexpr const char* kMeasurementFileFilter = "Tolvex Files (*.dat)|*.dat|All Files (*.*)|*.*||";

// Input options -> (import: file -> delimiter -> import | predefined: set) -> the table dialog.
//
// `importPath` is the name the import's file dialog proposes; it is the caller's to keep between
// runs (it is not the document's path) and is updated when a file is chosen.
//
// Cancel in the input options, the file dialog, the delimiter or the predefined-set dialog ends the
// command and changes nothing. An import that fails shows its message and the table dialog opens on
// the data as they were; an import that skipped lines shows the message that says which. The table
// dialog (Interaction::editMeasurementTable) opens on a prepared table (prepareMeasurementTable has
// run); on OK it has stored the cells and range through confirmMeasurementTable. Cancel in the table
// keeps what was there before the command: after an import or a predefined set it drops the data
// read, otherwise it keeps nothing but a count change made in the dialog. Afterwards the view shows
// the measurements (plotContent 1) whenever the table dialog was confirmed or the measurements changed.
struct InputOutcome {
    bool importFailed = false;  // the file could not be imported (its message was shown)
    bool changed = false;       // the measurements or the used range changed
};
InputOutcome inputDrawdowns(AnalysisState& state, Interaction& ui, std::string& importPath);

// The command without a menu entry: the predefined-set dialog, then the chosen set is installed. The
// view is not switched or redrawn. Returns false when the dialog was cancelled (nothing installed).
bool predefinedSetCommand(AnalysisState& state, Interaction& ui);

}  // namespace tolvex
