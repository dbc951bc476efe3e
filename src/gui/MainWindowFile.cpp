// The file commands: New, Open, Save, Save As, Exit, and the question asked before results are dropped.
#include "core/commands/CommandIds.h"
#include "core/persist/Document.h"
#include "gui/MainWindow.h"

namespace tolvex::gui {
namespace {

constexpr char kDocumentFilter[] = "Tolvex Files (*.tvx)|*.tvx|All Files (*.*)|*.*||";

}  // namespace

bool MainWindow::dispatchFileCommand(int id) {
    switch (id) {
        case kCmdFileNew:
            newDocument();
            return true;
        case kCmdFileOpen:
            openDocument();
            return true;
        case kCmdFileSave:
            saveDocument(state_.untitled == 1);
            return true;
        case kCmdFileSaveAs:
            saveDocument(true);
            return true;
        case kCmdExit:
            close();
            return true;
        default:
            return false;
    }
}

bool MainWindow::settleUnsavedResults() {
    if (state_.modified != 1) return true;
    if (!interaction_->askYesNo("Save existing data?")) {
        state_.modified = 0;
        state_.typeCurvesReady = 0;
        return true;
    }
    saveDocument(state_.untitled == 1);
    // A save that was cancelled or failed keeps the results, and the window with them.
    return state_.modified == 0;
}

void MainWindow::saveDocument(bool askName) {
    QString path = document_.path();
    if (askName || path.isEmpty()) {
        const std::string initial = path.isEmpty() ? std::string("test.tvx") : path.toStdString();
        const auto chosen = interaction_->chooseFile({true, "Save As", kDocumentFilter, "tvx", initial});
        if (!chosen) return;
        path = QString::fromStdString(*chosen);
    }
    if (const auto failure = tolvex::saveDocument(state_, path.toStdString())) {
        interaction_->message(*failure);
        return;
    }
    document_.setPath(path);
    state_.untitled = 0;
    state_.modified = 0;
    recent_.add(path);
    rebuildRecentFiles();
}

void MainWindow::openDocument() {
    if (!settleUnsavedResults()) return;
    const std::string initial = document_.path().toStdString();
    const auto chosen = interaction_->chooseFile({false, "Open", kDocumentFilter, "tvx", initial});
    if (chosen) openDocumentFile(QString::fromStdString(*chosen));
}

bool MainWindow::openDocumentFile(const QString& path) {
    if (const auto failure = loadDocument(path.toStdString(), state_)) {
        interaction_->message(*failure);
        refreshAfterCommand();
        return false;
    }
    document_.setPath(path);
    state_.untitled = 0;
    state_.modified = 0;
    recent_.add(path);
    rebuildRecentFiles();
    refreshAfterCommand();
    return true;
}

void MainWindow::newDocument() {
    if (!settleUnsavedResults()) return;
    document_.clear();
    state_.untitled = 1;
    notAvailable(kCmdFileNew);
}

}  // namespace tolvex::gui
