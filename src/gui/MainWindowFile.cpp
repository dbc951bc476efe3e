// The file commands New, Open, Save, Save As and Exit, run through the core's flows; the window adds the
// recent-file list and the title.
#include "core/commands/CommandIds.h"
#include "core/commands/FileCommands.h"
#include "core/commands/SettingsCommands.h"
#include "core/commands/TypeCurveCommands.h"
#include "core/persist/Document.h"
#include "gui/MainWindow.h"

namespace tolvex::gui {

bool MainWindow::dispatchFileCommand(int id) {
    DocumentInfo& doc = document_.info();
    switch (id) {
        case kCmdFileNew:
            newDocument();
            return true;
        case kCmdFileOpen:
            if (fileOpen(state_, *interaction_, doc)) rememberDocument();
            return true;
        case kCmdFileSave:
            if (fileSave(state_, *interaction_, doc)) rememberDocument();
            return true;
        case kCmdFileSaveAs:
            if (fileSaveAs(state_, *interaction_, doc)) rememberDocument();
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

bool MainWindow::settleUnsavedResults() {
    const bool mayClose = fileExit(state_, *interaction_, document_.info());
    rememberDocument();
    return mayClose;
}

void MainWindow::newDocument() {
    NewDocumentSteps steps;
    steps.selectModel = [](AnalysisState& state, Interaction& ui) {
        return modelSelection(state, ui) == CommandOutcome::Done;
    };
    // The type-curve calculation shows the confined initial guess itself when guessOnNew is 1.
    steps.generateTypeCurves = [](AnalysisState& state, Interaction& ui) {
        return typeCurveCalculation(state, ui) != CommandOutcome::Cancelled;
    };
    fileNew(state_, *interaction_, document_.info(), steps);
}

bool MainWindow::openRecentFile(const QString& path) {
    if (!confirmDiscard(state_, *interaction_, document_.info())) return false;
    if (openDocumentFile(path)) return true;
    // A file that can no longer be read leaves the list, so that it does not fail again.
    recent_.remove(path);
    rebuildRecentFiles();
    return false;
}

bool MainWindow::openDocumentFile(const QString& path) {
    if (const auto failure = loadDocument(path.toStdString(), state_)) {
        interaction_->message(*failure);
        refreshAfterCommand();
        return false;
    }
    // What is in memory is what is on disk: nothing is unsaved.
    state_.untitled = 0;
    state_.modified = 0;
    document_.info().path = path.toStdString();
    document_.info().title = path.toStdString();
    rememberDocument();
    refreshAfterCommand();
    return true;
}

}  // namespace tolvex::gui
