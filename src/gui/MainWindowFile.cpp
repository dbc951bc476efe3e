// The file commands New, Open, Save, Save As and Exit, run through the core's flows; the window adds the
// recent-file list, the title and the Undo history (a new or opened document starts a fresh one, a save
// marks the point Undo counts as unchanged).
#include "core/commands/CommandIds.h"
#include "core/commands/FileCommands.h"
#include "core/commands/SettingsCommands.h"
#include "core/commands/TypeCurveCommands.h"
#include "core/persist/Document.h"
#include "gui/AccuracySetting.h"
#include "gui/MainWindow.h"

namespace tolvex::gui {

bool MainWindow::dispatchFileCommand(int id) {
    DocumentInfo& doc = document_.info();
    switch (id) {
        case kCmdFileNew:
            newDocument();
            return true;
        case kCmdFileOpen: {
            const bool opened = fileOpen(state_, *interaction_, doc);
            if (opened) rememberDocument();
            settleHistory(opened);
            return true;
        }
        case kCmdFileSave:
            if (fileSave(state_, *interaction_, doc)) rememberDocument();
            settleHistory(false);
            return true;
        case kCmdFileSaveAs:
            if (fileSaveAs(state_, *interaction_, doc)) rememberDocument();
            settleHistory(false);
            return true;
        case kCmdExit:
            closeRequestedByExit_ = true;
            close();
            closeRequestedByExit_ = false;
            return true;
        default:
            return false;
    }
}

void MainWindow::rememberDocument() {
    if (document_.path().isEmpty()) return;
    recent_.add(document_.path());
    rebuildRecentFiles();
}

void MainWindow::settleHistory(bool newDocument) {
    if (newDocument)
        undo_.clear();
    else if (!document_.info().changed)
        undo_.markSaved();
}

bool MainWindow::settleUnsavedResults() {
    const bool mayClose = fileExit(state_, *interaction_, document_.info());
    rememberDocument();
    settleHistory(false);
    return mayClose;
}

void MainWindow::newDocument() {
    NewDocumentSteps steps;
    // A new document computes in the accuracy last chosen in the Integration dialog.
    steps.selectModel = [accuracy = storedAccuracy(settings_)](AnalysisState& state, Interaction& ui) {
        state.accuracy = accuracy;
        return modelSelection(state, ui) == CommandOutcome::Done;
    };
    // The type-curve calculation shows the confined initial guess itself when guessOnNew is 1.
    steps.generateTypeCurves = [](AnalysisState& state, Interaction& ui) {
        return typeCurveCalculation(state, ui) != CommandOutcome::Cancelled;
    };
    settleHistory(fileNew(state_, *interaction_, document_.info(), steps));
}

bool MainWindow::openRecentFile(const QString& path) {
    const bool allowed = confirmDiscard(state_, *interaction_, document_.info());
    settleHistory(false);
    if (!allowed) return false;
    if (openDocumentFile(path)) return true;
    // A file that can no longer be read leaves the list, so that it does not fail again.
    recent_.remove(path);
    rebuildRecentFiles();
    return false;
}

bool MainWindow::openDocumentFile(const QString& path) {
    if (const auto failure = loadDocumentFile(path)) {
        interaction_->message(*failure);
        refreshAfterCommand();
        return false;
    }
    rememberDocument();
    refreshAfterCommand();
    return true;
}

std::optional<std::string> MainWindow::loadDocumentFile(const QString& path) {
    if (auto failure = loadDocument(path.toStdString(), state_)) return failure;
    // What is in memory is what is on disk: nothing is unsaved.
    state_.untitled = 0;
    state_.modified = 0;
    document_.info().path = path.toStdString();
    document_.info().title = path.toStdString();
    document_.info().changed = false;
    undo_.clear();
    return std::nullopt;
}

}  // namespace tolvex::gui
