// The main window: the menu bar with every command of the program, the toolbar, the status bar with the
// command prompts and the key-state panes, the plot view, the title and the recent-file list. Commands
// are QActions carrying their command id; runCommand() routes an id to its handler.
#pragma once

#include <QMainWindow>
#include <QSettings>
#include <map>
#include <memory>
#include <optional>

#include "core/state/AnalysisState.h"
#include "gui/Document.h"
#include "gui/FitSettings.h"
#include "gui/GuiInteraction.h"
#include "gui/RecentFiles.h"
#include "gui/UndoHistory.h"

class QLabel;
class QPrinter;

namespace tolvex::gui {

class KeyStateIndicators;
class PlotView;
class ResultsPanel;
class SeriesPanel;
struct MenuNode;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `interaction` replaces the real dialogs (the tests script them); by default the window makes its own.
    explicit MainWindow(AnalysisState& state, std::unique_ptr<GuiInteraction> interaction = nullptr,
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    // The action of a command id, nullptr for an id the window does not have.
    [[nodiscard]] QAction* action(int id) const;
    [[nodiscard]] const std::map<int, QAction*>& actions() const { return actions_; }
    [[nodiscard]] QList<QAction*> recentFileActions() const { return recentActions_; }
    [[nodiscard]] GuiInteraction& interaction() { return *interaction_; }
    [[nodiscard]] Document& document() { return document_; }
    [[nodiscard]] PlotView* plotView() const { return view_; }
    // The observation-series dock: hidden until a document holds further series or the user shows it
    // (the context menu of the toolbar and the menu bar lists it).
    [[nodiscard]] SeriesPanel* seriesPanel() const { return seriesPanel_; }
    // The results of the last estimation: shown after every fit and with a document that keeps them.
    [[nodiscard]] ResultsPanel* resultsPanel() const { return resultsPanel_; }
    [[nodiscard]] QLabel* modelPane() const { return modelPane_; }
    [[nodiscard]] QPrinter& printer() { return *printer_; }
    [[nodiscard]] QLabel* messagePane() const { return messagePane_; }
    [[nodiscard]] AnalysisState& state() { return state_; }
    [[nodiscard]] UndoHistory& undoHistory() { return undo_; }
    // Stop when converged, fixed parameters and bounds of the simplex and least-squares runs.
    [[nodiscard]] FitSettings& fitSettings() { return fitSettings_; }

    // Runs the command of `id` as its menu item does.
    void runCommand(int id);
    // Enables and checks every action as the state says now.
    void updateCommandStates();

    // Opens a document without asking anything (the command line and the recent-file list).
    bool openDocumentFile(const QString& path);
    // Prints the plot on the current printer without a dialog; false when the printer refused it.
    bool printWithoutDialog();
    // The command line's --print: opens the document without a message box and prints its plot on the
    // default printer. Returns why it could not (the file, no printer installed, no default printer,
    // the printer refused the job), or nothing when it printed.
    [[nodiscard]] std::optional<QString> printDocument(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void addMenuItems(QMenu* menu, const std::vector<MenuNode>& items);
    QAction* makeAction(int id, const QString& text, const QString& shortcut = {});
    void buildToolBar();
    void buildStatusBar();
    void buildHiddenCommands();
    void buildUndoCommands();
    void rebuildRecentFiles();
    void refreshAfterCommand();
    void buildSeriesPanel();
    // Whether a command may change the analysis, so that the window keeps what it replaced for Undo.
    [[nodiscard]] static bool changesAnalysis(int id);
    // The name of a command in the Undo and Redo items.
    [[nodiscard]] QString commandName(int id) const;
    void undoOrRedo(bool undo);
    // After a file command: a save or a new document is what Undo counts as unchanged.
    void settleHistory(bool newDocument);

    // Command handlers, one per group of commands.
    void dispatch(int id);
    bool dispatchFileCommand(int id);
    bool dispatchAnalysisCommand(int id);
    bool dispatchViewCommand(int id);
    bool dispatchWindowCommand(int id);
    void notAvailable(int id);

    void newDocument();
    // Reads a document into the window; the message to show when it cannot.
    std::optional<std::string> loadDocumentFile(const QString& path);
    bool openRecentFile(const QString& path);
    // Puts the document's file first in the recent-file list.
    void rememberDocument();
    // Asks "Save existing data?" when there are unsaved results; false when the window must stay.
    [[nodiscard]] bool settleUnsavedResults();
    void writeReport(bool chooseName);
    // Simplex or least squares under the fit settings, which their dialogs edit; then one message with
    // the warnings of a run that did not converge or ended on a bound.
    void runFit(int id);
    void showPlottingOptions();
    void chooseFont();
    void setViewToggle(int value);
    void print();
    void printPreview();
    void printSetup();
    void copyAsBitmap();
    void copyAsMetafile();
    void exportBitmap();
    void exportMetafile();
    void showAbout();
    void showHelp();

    AnalysisState& state_;
    std::unique_ptr<GuiInteraction> interaction_;
    Document document_;
    UndoHistory undo_{state_};
    QSettings settings_;
    RecentFiles recent_;
    FitSettings fitSettings_{settings_};
    std::unique_ptr<QPrinter> printer_;
    PlotView* view_ = nullptr;
    SeriesPanel* seriesPanel_ = nullptr;
    ResultsPanel* resultsPanel_ = nullptr;
    QLabel* messagePane_ = nullptr;
    QLabel* modelPane_ = nullptr;
    KeyStateIndicators* keys_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    std::map<int, QAction*> actions_;
    std::string importPath_;             // the name the measurement import proposes next time
    bool busy_ = false;                  // a command is running
    bool closeRequestedByExit_ = false;  // the close comes from the Exit command
};

}  // namespace tolvex::gui
