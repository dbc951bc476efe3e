// Everything a command asks of the user, as one interface. The command flows are written once
// against it and run the same in the desktop program (real dialogs), the command line (forms keep
// the values already in the state) and the tests (scripted answers).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/commands/Form.h"
#include "core/jobs/Job.h"
#include "core/state/AnalysisState.h"

namespace tolvex {

// A file dialog: title, filter in the "Text (*.ext)|*.ext|All Files (*.*)|*.*||" form, default
// extension without the dot, and the name proposed when it opens.
struct FileDialog {
    bool save = false;
    std::string title;
    std::string filter;
    std::string defaultExtension;
    std::string initialName;
};

// The answer to a question that can also be withdrawn ("Save existing data?").
enum class Reply { Yes, No, Cancel };

class Interaction {
public:
    virtual ~Interaction() = default;

    // Shows a modal form over the state; stores into it only on OK (see acceptForm). True on OK.
    virtual bool edit(const Form& form, AnalysisState& state) = 0;
    // An exclamation box with an OK button.
    virtual void message(std::string_view text) = 0;
    // A question box with Yes and No; true for Yes.
    virtual bool askYesNo(std::string_view question) = 0;
    // A question box with Yes, No and Cancel; Escape and closing the box are Cancel. A front end that
    // cannot withdraw a command answers as askYesNo does.
    virtual Reply askYesNoCancel(std::string_view question) {
        return askYesNo(question) ? Reply::Yes : Reply::No;
    }
    // A file dialog; nothing when the user cancels.
    virtual std::optional<std::string> chooseFile(const FileDialog& dialog) = 0;
    // The measurement-table dialog ("Time-drawdown input dialog box"); true on OK. It edits the table
    // arrays and the used range of the state as the table rules say.
    virtual bool editMeasurementTable(AnalysisState& state) = 0;
    // Runs a long computation and then calls its finish(); returns false when the user cancelled it.
    virtual bool runJob(Job& job) = 0;
    // Asks every view to redraw after a command changed what is shown.
    virtual void redraw() {}
};

}  // namespace tolvex
