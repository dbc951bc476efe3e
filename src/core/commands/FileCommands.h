// The file commands New, Open, Save, Save As and Exit, and the Report command.
//
// The document's file name is not part of the analysis: the caller keeps it in a DocumentInfo (the
// desktop program's Document object holds one) and the commands update it. `untitled` in the state
// says whether the document has a file name yet.
//
// "Save existing data?" is asked before New, Open and Exit when the analysis changed since it was last
// opened or saved (DocumentInfo::changed, which the front end sets for every command that changed it),
// and also where the document format's own flags call for it: before New and Open when type curves were
// generated and results are unsaved, before Exit whenever results are unsaved. Yes saves (asking for a
// name if the document has none); if that save is cancelled or fails, the command stops, so unsaved
// results are never dropped. No clears `modified` and `typeCurvesReady` and the command goes on.
// Cancel, Escape or closing the box ends the command with nothing changed.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/commands/Interaction.h"
#include "core/state/AnalysisState.h"

namespace tolvex {

inline constexpr const char* kDocumentFileFilter = "Tolvex Files (*.tvx)|*.tvx|All Files (*.*)|*.*||";
inline constexpr const char* kProposedDocumentName = "test.tvx";
inline constexpr const char* kUntitledTitle = "Untitled";
inline constexpr const char* kSaveQuestion = "Save existing data?";

struct DocumentInfo {
    std::string path;                    // file the document was last saved to or opened from
    std::string title = kUntitledTitle;  // the main window's document title
    // The analysis changed since the document was last opened, saved or made new. The file's own
    // `modified` record does not say this: calculations set it, but typed, imported or pasted data
    // do not.
    bool changed = false;
};

// The steps of File New that belong to the type-curve commands. Each returns false when the user
// cancelled it; an empty step is skipped. They run on a copy of the state that is kept only when
// every step went through.
struct NewDocumentSteps {
    std::function<bool(AnalysisState&, Interaction&)>
        selectModel;  // "Selection of hydraulic testing methods"
    std::function<bool(AnalysisState&, Interaction&)> confinedGuess;       // only when guessOnNew is 1
    std::function<bool(AnalysisState&, Interaction&)> generateTypeCurves;  // the type-curve calculation
};

// The prompt before New and Open. True when the command may go on.
bool confirmDiscard(AnalysisState& state, Interaction& ui, DocumentInfo& doc);

// New: prompt, then the default document (as at start-up: every field of makeDefaultState, so no
// measurement or parameter of the old analysis stays in view), with `newRequested` set, goes through
// the model selection, the optional initial guess and the type curves. The document becomes untitled,
// so that Save asks for a name. True when the new document replaced the old one.
bool fileNew(AnalysisState& state, Interaction& ui, DocumentInfo& doc, const NewDocumentSteps& steps);

// Open: prompt, file dialog, read. A file that cannot be read is refused with a message naming it,
// and the analysis and the document stay as they were. True when a document was read.
bool fileOpen(AnalysisState& state, Interaction& ui, DocumentInfo& doc);

// Save: to the document's file without a dialog; a document that has no file name yet is saved as
// with Save As. True when written.
bool fileSave(AnalysisState& state, Interaction& ui, DocumentInfo& doc);

// Save As: file dialog (proposing the current name, or "test.tvx"), then write. On success the
// document takes the new name, `untitled` and `modified` are cleared. A failed write shows "Not able
// to create file." and leaves the state, the document and any existing file as they were.
bool fileSaveAs(AnalysisState& state, Interaction& ui, DocumentInfo& doc);

// Exit: the prompt when results are unsaved. True when the program may close.
bool fileExit(AnalysisState& state, Interaction& ui, DocumentInfo& doc);

// Report: writes the report that resultKind selects to reportFileName. Returns the file written, for
// the front end to show in a text viewer; on failure shows the message and returns nothing.
std::optional<std::string> reportCommand(const AnalysisState& state, Interaction& ui);

}  // namespace tolvex
