// Routing of command ids to their handlers, in the order the desktop framework looks for one: the view's
// picture commands, the document's analysis and file commands, then the window's own.
#include <QMessageBox>
#include <QWhatsThis>
#include <exception>

#include "core/commands/CommandIds.h"
#include "gui/AccuracySetting.h"
#include "gui/GuiCommands.h"
#include "gui/MainWindow.h"

namespace tolvex::gui {

void MainWindow::runCommand(int id) {
    // While a command waits for a run, the window still repaints; a second command must not start then.
    if (busy_ || !isCommandEnabled(id, state_.modelKind)) return;
    if (id == kCmdEditUndo || id == kCmdEditRedo) {
        undoOrRedo(id == kCmdEditUndo);
        return;
    }
    busy_ = true;
    // What the command may replace, kept for Undo.
    std::optional<AnalysisState> before;
    if (changesAnalysis(id)) before = state_;
    try {
        dispatch(id);
        if (id == kCmdIntegration) storeAccuracy(settings_, state_.accuracy);
    } catch (const std::exception& failure) {
        // Bad input or a failing computation ends the command with a message; the state keeps what the
        // command had committed before.
        interaction_->message(failure.what());
    }
    busy_ = false;
    if (before && undo_.record(commandName(id), std::move(*before))) document_.info().changed = true;
    refreshAfterCommand();
}

bool MainWindow::changesAnalysis(int id) {
    switch (id) {
        // The file commands replace or write the whole document; they settle the history themselves.
        case kCmdFileNew:
        case kCmdFileOpen:
        case kCmdFileSave:
        case kCmdFileSaveAs:
        case kCmdExit:
        // Pictures, printing, help and the window's bars leave the analysis alone.
        case kCmdPrint:
        case kCmdPrintPreview:
        case kCmdPrintSetup:
        case kCmdCopyAsBmp:
        case kCmdCopyAsMetafile:
        case kCmdExportBmp:
        case kCmdExportMetafile:
        case kCmdAbout:
        case kCmdHelpTopics:
        case kCmdContextHelp:
        case kCmdViewToolbar:
        case kCmdViewStatusBar:
            return false;
        default:
            return true;
    }
}

QString MainWindow::commandName(int id) const {
    switch (id) {
        case kCmdPredefinedSet:
            return QStringLiteral("Predefined data set");
        case kCmdViewToggleOn:
        case kCmdViewToggleOff:
            return QStringLiteral("View switch");
        default:
            break;
    }
    const QAction* act = action(id);
    if (act == nullptr) return QString::number(id);
    return QString(act->text()).remove(QLatin1Char('&')).remove(QStringLiteral("...")).trimmed();
}

void MainWindow::undoOrRedo(bool undo) {
    if (undo ? !undo_.canUndo() : !undo_.canRedo()) return;
    if (undo)
        undo_.undo();
    else
        undo_.redo();
    document_.info().changed = !undo_.atSavedState();
    refreshAfterCommand();
}

void MainWindow::dispatch(int id) {
    if (dispatchViewCommand(id) || dispatchFileCommand(id) || dispatchAnalysisCommand(id) ||
        dispatchWindowCommand(id))
        return;
    notAvailable(id);
}

void MainWindow::notAvailable(int id) {
    const QAction* act = action(id);
    const QString name = act != nullptr ? QString(act->text()).remove(QLatin1Char('&')) : QString::number(id);
    interaction_->message(
        QStringLiteral("\"%1\" is not available in this version of Tolvex.").arg(name).toStdString());
}

bool MainWindow::dispatchViewCommand(int id) {
    switch (id) {
        case kCmdPlottingOptions:
            showPlottingOptions();
            return true;
        case kCmdFont:
            chooseFont();
            return true;
        case kCmdViewToggleOn:
            setViewToggle(1);
            return true;
        case kCmdViewToggleOff:
            setViewToggle(0);
            return true;
        case kCmdPrint:
            print();
            return true;
        case kCmdPrintPreview:
            printPreview();
            return true;
        case kCmdCopyAsBmp:
            copyAsBitmap();
            return true;
        case kCmdCopyAsMetafile:
            copyAsMetafile();
            return true;
        case kCmdExportBmp:
            exportBitmap();
            return true;
        case kCmdExportMetafile:
            exportMetafile();
            return true;
        default:
            return false;
    }
}

bool MainWindow::dispatchWindowCommand(int id) {
    switch (id) {
        case kCmdPrintSetup:
            printSetup();
            return true;
        case kCmdAbout:
            showAbout();
            return true;
        case kCmdHelpTopics:
            showHelp();
            return true;
        case kCmdContextHelp:
            QWhatsThis::enterWhatsThisMode();
            return true;
        // The two view switches act through their toggled() connections.
        case kCmdViewToolbar:
        case kCmdViewStatusBar:
            return true;
        default:
            return false;
    }
}

}  // namespace tolvex::gui
