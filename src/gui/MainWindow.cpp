#include "gui/MainWindow.h"
#include "gui/AccuracySetting.h"
#include "gui/RateTableDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "core/commands/CommandIds.h"
#include "core/estimation/ResultSummaryBuilder.h"
#include "core/state/Accuracy.h"
#include "core/state/ModelKind.h"
#include "gui/CommandPrompts.h"
#include "gui/DiagnosticsWindow.h"
#include "gui/GuiCommands.h"
#include "gui/KeyStateIndicators.h"
#include "gui/MatchingWindow.h"
#include "gui/MenuLayout.h"
#include "gui/PictureExport.h"
#include "gui/PlotStyleCommands.h"
#include "gui/PlotView.h"
#include "gui/ResultsPanel.h"
#include "gui/SeriesPanel.h"

// The icon and the user guide are compiled into the library; a static library has to register them.
static void registerResources() {
    Q_INIT_RESOURCE(tolvex);
}

namespace tolvex::gui {

MainWindow::MainWindow(AnalysisState& state, std::unique_ptr<GuiInteraction> interaction, QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      interaction_(interaction ? std::move(interaction) : std::make_unique<GuiInteraction>()),
      recent_(settings_),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    registerResources();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowIcon(QIcon(QStringLiteral(":/tolvex/tolvex.svg")));
    // The plot goes on paper in landscape unless the user picks another orientation in the print dialog.
    printer_->setPageOrientation(QPageLayout::Landscape);
    interaction_->setParentWidget(this);
    state_.accuracy = storedAccuracy(settings_);  // the untitled document at start-up
    interaction_->onRedraw = [this] { view_->update(); };

    view_ = new PlotView(state_, this);
    view_->setWhatsThis(
        QStringLiteral("The plot: type curves, or the measured drawdowns with the calculated ones. "
                       "Options > Plotting options sets its axes."));
    setCentralWidget(view_);
    buildSeriesPanel();
    buildMenus();
    buildToolBar();
    buildStatusBar();
    buildHiddenCommands();
    buildUndoCommands();
    addPumpingHistoryCommands(*this);
    addPictureExportCommands(*this);
    addPlotStyleCommands(*this);
    addDiagnosticsCommand(*this);
    addMatchingCommand(*this);
    resultsPanel_ = addResultsPanel(*this);
    rebuildRecentFiles();
    refreshAfterCommand();
    resize(1000, 780);
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::action(int id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* MainWindow::makeAction(int id, const QString& text, const QString& shortcut) {
    auto* created = new QAction(text, this);
    created->setData(id);
    created->setStatusTip(commandPrompt(id));
    created->setWhatsThis(commandPrompt(id));
    if (!shortcut.isEmpty()) created->setShortcut(QKeySequence(shortcut));
    connect(created, &QAction::triggered, this, [this, id] { runCommand(id); });
    actions_[id] = created;
    return created;
}

void MainWindow::addMenuItems(QMenu* menu, const std::vector<MenuNode>& items) {
    for (const MenuNode& node : items) {
        if (node.isSeparator()) {
            menu->addSeparator();
        } else if (node.isMenu()) {
            addMenuItems(menu->addMenu(QString::fromStdString(node.text)), node.children);
        } else {
            menu->addAction(makeAction(node.id, QString::fromStdString(itemCaption(node.text)),
                                       QString::fromStdString(itemShortcut(node.text))));
        }
    }
}

void MainWindow::buildMenus() {
    for (const MenuNode& top : mainMenuLayout()) {
        QMenu* menu = menuBar()->addMenu(QString::fromStdString(top.text));
        // Enabling follows the model, which can change between two openings of a menu.
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::updateCommandStates);
        addMenuItems(menu, top.children);
        if (fileMenu_ == nullptr) fileMenu_ = menu;
    }
    action(kCmdHelpTopics)->setShortcut(QKeySequence(Qt::Key_F1));
    for (int id : {kCmdViewToolbar, kCmdViewStatusBar}) {
        action(id)->setCheckable(true);
        action(id)->setChecked(true);
    }
}

void MainWindow::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Standard"));
    bar->setObjectName(QStringLiteral("toolbar"));
    bar->setMovable(false);
    struct Slot {
        int id;
        const char* theme;
        QStyle::StandardPixmap fallback;
    };
    const Slot buttons[] = {
        {kCmdFileNew, "document-new", QStyle::SP_FileIcon},
        {kCmdFileOpen, "document-open", QStyle::SP_DialogOpenButton},
        {kCmdFileSave, "document-save", QStyle::SP_DialogSaveButton},
        {0, nullptr, {}},
        {kCmdEditCut, "edit-cut", QStyle::SP_TrashIcon},
        {kCmdEditCopy, "edit-copy", QStyle::SP_FileDialogContentsView},
        {kCmdEditPaste, "edit-paste", QStyle::SP_FileDialogDetailedView},
        {0, nullptr, {}},
        {kCmdPrint, "document-print", QStyle::SP_ComputerIcon},
        {kCmdAbout, "help-about", QStyle::SP_MessageBoxInformation},
        {kCmdContextHelp, "help-contextual", QStyle::SP_TitleBarContextHelpButton},
    };
    // Cut, Copy and Paste have no handler: their buttons exist and stay disabled.
    makeAction(kCmdEditCut, QStringLiteral("Cut"))->setEnabled(false);
    makeAction(kCmdEditCopy, QStringLiteral("Copy"))->setEnabled(false);
    makeAction(kCmdEditPaste, QStringLiteral("Paste"))->setEnabled(false);
    QAction* help = makeAction(kCmdContextHelp, QStringLiteral("Help"), QStringLiteral("Shift+F1"));
    addAction(help);
    for (const Slot& slot : buttons) {
        if (slot.id == 0) {
            bar->addSeparator();
            continue;
        }
        QAction* button = action(slot.id);
        button->setIcon(
            QIcon::fromTheme(QString::fromLatin1(slot.theme), style()->standardIcon(slot.fallback)));
        button->setToolTip(QString(button->text()).remove(QLatin1Char('&')));
        bar->addAction(button);
    }
    connect(action(kCmdViewToolbar), &QAction::toggled, bar, &QToolBar::setVisible);
    connect(bar, &QToolBar::visibilityChanged, action(kCmdViewToolbar), &QAction::setChecked);
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    // The message pane holds the idle text; a highlighted command's prompt replaces it while shown.
    messagePane_ = new QLabel(idlePrompt(), bar);
    messagePane_->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(messagePane_, 1);
    // Which model the analysis uses and how its well functions are evaluated, always in view.
    modelPane_ = new QLabel(bar);
    modelPane_->setObjectName(QStringLiteral("modelPane"));
    bar->addPermanentWidget(modelPane_);
    keys_ = new KeyStateIndicators(bar);
    connect(action(kCmdViewStatusBar), &QAction::toggled, bar, &QStatusBar::setVisible);
}

void MainWindow::buildHiddenCommands() {
    // Commands without menu item, toolbar button or accelerator; reachable through runCommand().
    for (int id : {kCmdViewToggleOn, kCmdViewToggleOff, kCmdPredefinedSet})
        addAction(makeAction(id, QString{}));
    action(kCmdViewToggleOn)->setCheckable(true);
    action(kCmdViewToggleOff)->setCheckable(true);
}

void MainWindow::buildUndoCommands() {
    // Undo and Redo head the Edit menu, above "Copy As"; the specified items keep their ids and order.
    QMenu* edit = nullptr;
    for (QAction* top : menuBar()->actions())
        if (top->text() == QStringLiteral("Edit")) edit = top->menu();
    QAction* undo = makeAction(kCmdEditUndo, QStringLiteral("&Undo"), QStringLiteral("Ctrl+Z"));
    QAction* redo = makeAction(kCmdEditRedo, QStringLiteral("&Redo"), QStringLiteral("Ctrl+Shift+Z"));
    undo->setStatusTip(QStringLiteral("Undo the last change of the measurements or parameters"));
    redo->setStatusTip(QStringLiteral("Redo the change undone last"));
    QAction* first = edit->actions().value(0);
    edit->insertAction(first, undo);
    edit->insertAction(first, redo);
    edit->insertSeparator(first);
}

void MainWindow::updateCommandStates() {
    for (auto& [id, act] : actions_) {
        if (id == kCmdEditCut || id == kCmdEditCopy || id == kCmdEditPaste) continue;
        act->setEnabled(isCommandEnabled(id, state_.modelKind));
    }
    // "&Undo Calculate drawdowns": the item names what it takes back.
    const auto label = [](const QString& verb, const QString& name) {
        return name.isEmpty() ? verb : QStringLiteral("%1 %2").arg(verb, name);
    };
    action(kCmdEditUndo)->setEnabled(undo_.canUndo() && !busy_);
    action(kCmdEditUndo)->setText(label(QStringLiteral("&Undo"), undo_.undoName()));
    action(kCmdEditRedo)->setEnabled(undo_.canRedo() && !busy_);
    action(kCmdEditRedo)->setText(label(QStringLiteral("&Redo"), undo_.redoName()));
    action(kCmdViewToggleOn)->setChecked(state_.viewToggle == 1);
    action(kCmdViewToggleOff)->setChecked(state_.viewToggle == 0);
}

void MainWindow::rebuildRecentFiles() {
    for (QAction* old : recentActions_) {
        fileMenu_->removeAction(old);
        old->deleteLater();
    }
    recentActions_.clear();
    if (recentSeparator_ == nullptr) {
        // The list sits between "P&rint Setup..." and the separator before "E&xit".
        const QList<QAction*> items = fileMenu_->actions();
        const auto exitIndex = items.indexOf(action(kCmdExit));
        recentSeparator_ = fileMenu_->insertSeparator(items.at(exitIndex - 1));
    }
    const QList<QAction*> items = fileMenu_->actions();
    QAction* before = items.at(items.indexOf(recentSeparator_) + 1);
    int number = 1;
    for (const QString& path : recent_.files()) {
        auto* entry = new QAction(QStringLiteral("&%1 %2").arg(number++).arg(path), this);
        entry->setStatusTip(QStringLiteral("Open this document"));
        connect(entry, &QAction::triggered, this, [this, path] { openRecentFile(path); });
        fileMenu_->insertAction(before, entry);
        recentActions_ << entry;
    }
    recentSeparator_->setVisible(!recentActions_.isEmpty());
}

void MainWindow::buildSeriesPanel() {
    seriesPanel_ = new SeriesPanel(state_, this);
    addDockWidget(Qt::RightDockWidgetArea, seriesPanel_);
    seriesPanel_->hide();
    connect(seriesPanel_, &SeriesPanel::changed, this, [this] {
        document_.info().changed = true;
        refreshAfterCommand();
    });
    connect(seriesPanel_, &SeriesPanel::refused, this,
            [this](const QString& reason) { interaction_->message(reason.toStdString()); });
}

void MainWindow::refreshAfterCommand() {
    seriesPanel_->refresh();
    if (resultsPanel_ != nullptr) resultsPanel_->refresh();
    setWindowTitle(windowTitleFor(document_));
    QString modelText = QStringLiteral("%1 \u00b7 %2 accuracy")
                            .arg(QString::fromUtf8(modelName(state_.modelKind)),
                                 QString::fromUtf8(accuracyName(state_.accuracy)));
    // The method of the last estimation, once there is one.
    if (state_.lastResults)
        modelText +=
            QStringLiteral(" \u00b7 ") + QString::fromStdString(methodNameOfKey(state_.lastResults->method));
    modelPane_->setText(modelText);
    interaction_->setBaseFolder(document_.folder());
    updateCommandStates();
    view_->update();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Exit comes here from inside its own command; any other close waits until a running command ends.
    const bool exitCommand = busy_ && closeRequestedByExit_;
    if ((!busy_ || exitCommand) && settleUnsavedResults()) {
        event->accept();
        return;
    }
    event->ignore();
}

}  // namespace tolvex::gui
