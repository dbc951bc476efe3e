// Edit > Undo and Redo. Every command that changed the analysis leaves one entry holding a whole
// AnalysisState (the state is small: a few measurement and curve arrays), so undo brings back exactly
// what the command replaced: typed, pasted or imported measurements, a predefined set, the drawdowns
// "Calculate drawdowns" overwrote, the parameters of an estimation or of a dialog.
//
// The document's identity is not part of an entry: `untitled` stays as it is, so that undoing past a
// save does not make Save ask for a name again. Opening or starting a document clears the history.
#pragma once

#include <QString>
#include <QUndoStack>

#include "core/state/AnalysisState.h"

namespace tolvex::gui {

// The framework's standard ids of the editing commands.
enum UndoCommandId : int {
    kCmdEditUndo = 57643,
    kCmdEditRedo = 57644,
};

class UndoHistory {
public:
    explicit UndoHistory(AnalysisState& state);

    // Records a command named `name` that has already turned `before` into the current state. Nothing is
    // recorded when the document would be saved exactly as before (the command changed nothing that
    // lasts). True when an entry was recorded.
    bool record(const QString& name, AnalysisState before);

    [[nodiscard]] bool canUndo() const { return stack_.canUndo(); }
    [[nodiscard]] bool canRedo() const { return stack_.canRedo(); }
    // The command the next undo or redo takes back or repeats; empty when there is none.
    [[nodiscard]] QString undoName() const { return stack_.undoText(); }
    [[nodiscard]] QString redoName() const { return stack_.redoText(); }
    void undo() { stack_.undo(); }
    void redo() { stack_.redo(); }

    // The state now is the one on disk (after a save).
    void markSaved() { stack_.setClean(); }
    // Whether the state is the one last saved, opened or started (undo can come back to it).
    [[nodiscard]] bool atSavedState() const { return stack_.isClean(); }
    // A new document: nothing to undo.
    void clear() { stack_.clear(); }

    [[nodiscard]] QUndoStack& stack() { return stack_; }

private:
    AnalysisState& state_;
    QUndoStack stack_;
};

// Whether two states would be written as the same document file.
[[nodiscard]] bool sameDocument(const AnalysisState& a, const AnalysisState& b);

}  // namespace tolvex::gui
