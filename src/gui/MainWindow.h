// The main window: the menu bar with every command of the program, the toolbar, the status bar with the
// command prompts and the key-state panes, the plot view, the title and the recent-file list. Commands
// are QActions carrying their command id; runCommand() routes an id to its handler.
#pragma once

#include <QMainWindow>
#include <QSettings>
#include <map>
#include <memory>

#include "core/state/AnalysisState.h"
#include "gui/Document.h"
#include "gui/GuiInteraction.h"
#include "gui/RecentFiles.h"

class QLabel;
class QPrinter;

namespace tolvex::gui {

class KeyStateIndicators;
class PlotView;
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
    [[nodiscard]] QPrinter& printer() { return *printer_; }
    [[nodiscard]] QLabel* messagePane() const { return messagePane_; }
    [[nodiscard]] AnalysisState& state() { return state_; }

    // Runs the command of `id` as its menu item does.
    void runCommand(int id);
    // Enables and checks every action as the state says now.
    void updateCommandStates();

    // Opens a document without asking anything (the command line and the recent-file list).
    bool openDocumentFile(const QString& path);
    // Prints the plot on the current printer without a dialog (the command line's --print).
    bool printWithoutDialog();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void addMenuItems(QMenu* menu, const std::vector<MenuNode>& items);
    QAction* makeAction(int id, const QString& text, const QString& shortcut = {});
    void buildToolBar();
    void buildStatusBar();
    void buildHiddenCommands();
    void rebuildRecentFiles();
    void refreshAfterCommand();

    // Command handlers, one per group of commands.
    void dispatch(int id);
    bool dispatchFileCommand(int id);
    bool dispatchAnalysisCommand(int id);
    bool dispatchViewCommand(int id);
    bool dispatchWindowCommand(int id);
    void notAvailable(int id);

    void newDocument();
    bool openRecentFile(const QString& path);
    // Puts the document's file first in the recent-file list.
    void rememberDocument();
    // Asks "Save existing data?" when there are unsaved results; false when the window must stay.
    [[nodiscard]] bool settleUnsavedResults();
    void writeReport(bool chooseName);
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
    QSettings settings_;
    RecentFiles recent_;
    std::unique_ptr<QPrinter> printer_;
    PlotView* view_ = nullptr;
    QLabel* messagePane_ = nullptr;
    KeyStateIndicators* keys_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    std::map<int, QAction*> actions_;
    std::string importPath_;
    bool busy_ = false;                  // a command is running
    bool closeRequestedByExit_ = false;  // the close comes from the Exit command  // the name the measurement
                                         // import proposes next time
};

}  // namespace tolvex::gui
