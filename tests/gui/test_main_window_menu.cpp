// The main window's menu bar, toolbar, status bar and command enabling, as the user sees them.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "core/commands/CommandIds.h"
#include "gui/GuiCommands.h"
#include "gui/MainWindow.h"
#include "gui/ScriptedGuiInteraction.h"

namespace tolvex::gui {
namespace {

// One line per menu entry: "menu>item|id|shortcut", separators as "menu>-".
void describe(const QMenu* menu, const QString& path, QStringList& out) {
    for (const QAction* action : menu->actions()) {
        if (!action->isVisible()) continue;
        if (action->isSeparator()) {
            out << path + QStringLiteral(">-");
        } else if (action->menu() != nullptr) {
            describe(action->menu(), path + QLatin1Char('>') + action->text(), out);
        } else {
            out << QStringLiteral("%1>%2|%3|%4")
                       .arg(path, action->text(), action->data().toString(), action->shortcut().toString());
        }
    }
}

QStringList menuDescription(const MainWindow& window) {
    QStringList lines;
    for (const QAction* top : window.menuBar()->actions()) describe(top->menu(), top->text(), lines);
    return lines;
}

class MainWindowMenu : public ::testing::Test {
protected:
    AnalysisState state = makeDefaultState();
    MainWindow window{state, std::make_unique<testing::ScriptedGuiInteraction>()};
};

TEST_F(MainWindowMenu, EveryItemInOrderWithItsIdShortcutAndSeparators) {
    const QStringList expected = {
        "&File>&New|57600|Ctrl+N",
        "&File>&Open...|57601|Ctrl+O",
        "&File>&Save|57603|Ctrl+S",
        "&File>Save &As...|57604|",
        "&File>Export graphic as>BMP file|32813|",
        "&File>Export graphic as>Metafile file|32814|",
        "&File>Export graphic as>PNG file||",
        "&File>Export graphic as>SVG file||",
        "&File>Export graphic as>PDF file||",
        "&File>-",
        "&File>&Print...|57607|Ctrl+P",
        "&File>Print Pre&view|57609|",
        "&File>P&rint Setup...|57606|",
        "&File>Title block||",
        "&File>-",
        "&File>E&xit|57665|",
        "Edit>&Undo|57643|Ctrl+Z",
        "Edit>&Redo|57644|Ctrl+Shift+Z",
        "Edit>-",
        "Edit>Copy As>BMP|32810|",
        "Edit>Copy As>Metafile|32811|",
        "Type-curves>Type-curve selection|32806|",
        "Type-curves>Type-curve Calculation|32771|",
        "Interpretattion>Model Selection|32796|",
        "Interpretattion>-",
        "Interpretattion>Units...|32825|",
        "Interpretattion>Input drawdowns|32790|",
        "Interpretattion>Rate steps...||",
        "Interpretattion>Recovery as drawdowns (Agarwal)||",
        "Interpretattion>Calculate drawdowns|32805|",
        "Interpretattion>-",
        "Interpretattion>Estimate start values|32816|",
        "Interpretattion>Match type curves...||",
        "Interpretattion>Try and Error Inversion|32792|",
        "Interpretattion>Simplex Inversion|32794|",
        "Interpretattion>Least Square Inversion|32800|",
        "&Options>-",
        "&Options>Project |32807|",
        "&Options>Integration|32802|",
        "&Options>Plotting options|32785|",
        "&Options>Font|32804|",
        "&View>&Toolbar|59392|",
        "&View>&Status Bar|59393|",
        "&View>Results||",
        "&View>-",
        "&View>Report|32795|",
        "&View>Report As...|32815|",
        "&View>-",
        "&View>Plot style>Classic||",
        "&View>Plot style>Clear||",
        "&View>Axes>Automatic||",
        "&View>Axes>Log-log||",
        "&View>Axes>Semi-log||",
        "&View>Derivative>Show ds/d ln t||",
        "&View>Derivative>Smoothing...||",
        "&View>Diagnostic plots...||",
        "&Help>&Help Topics|57667|F1",
        "&Help>-",
        "&Help>&About Tolvex|57664|",
    };
    EXPECT_EQ(menuDescription(window), expected);
}

TEST_F(MainWindowMenu, ModelsNineAndTenEnableOnlyLeastSquaresAmongTheGuardedCommands) {
    const int guarded[] = {kCmdTypeCurveCalculation, kCmdTrialInversion, kCmdSimplexInversion};
    for (int model = 0; model <= 10; ++model) {
        state.modelKind = model;
        window.updateCommandStates();
        SCOPED_TRACE(model);
        EXPECT_TRUE(window.action(kCmdLeastSquaresInversion)->isEnabled());
        for (int id : guarded) EXPECT_EQ(window.action(id)->isEnabled(), model <= 8);
        EXPECT_TRUE(window.action(kCmdInputDrawdowns)->isEnabled());
        EXPECT_TRUE(window.action(kCmdReport)->isEnabled());
    }
    state.modelKind = 11;
    window.updateCommandStates();
    EXPECT_FALSE(window.action(kCmdLeastSquaresInversion)->isEnabled());
}

TEST_F(MainWindowMenu, ADisabledCommandDoesNothingWhenRunAnyway) {
    state.modelKind = 9;
    const int before = state.typeCurvesReady;
    window.runCommand(kCmdTypeCurveCalculation);
    EXPECT_EQ(state.typeCurvesReady, before);
    EXPECT_EQ(state.plotContent, 0);
}

TEST_F(MainWindowMenu, ToolbarHoldsElevenSlotsWithCutCopyPasteAlwaysDisabled) {
    const auto* bar = window.findChild<QToolBar*>(QStringLiteral("toolbar"));
    ASSERT_NE(bar, nullptr);
    QList<int> ids;
    for (const QAction* action : bar->actions()) ids << (action->isSeparator() ? 0 : action->data().toInt());
    const QList<int> expected = {kCmdFileNew, kCmdFileOpen, kCmdFileSave,   0,
                                 kCmdEditCut, kCmdEditCopy, kCmdEditPaste,  0,
                                 kCmdPrint,   kCmdAbout,    kCmdContextHelp};
    EXPECT_EQ(ids, expected);
    for (int model : {0, 9, 10}) {
        state.modelKind = model;
        window.updateCommandStates();
        for (int id : {kCmdEditCut, kCmdEditCopy, kCmdEditPaste})
            EXPECT_FALSE(window.action(id)->isEnabled());
    }
}

TEST_F(MainWindowMenu, StatusBarShowsTheIdleTextThePromptsAndTheKeyPanes) {
    EXPECT_EQ(window.messagePane()->text(), QStringLiteral("For Help, press F1"));
    EXPECT_EQ(window.action(kCmdFileNew)->statusTip(), QStringLiteral("Create a new document"));
    for (const auto& [id, action] : window.actions()) {
        if (id == kCmdViewToggleOn || id == kCmdViewToggleOff) continue;
        EXPECT_FALSE(action->statusTip().isEmpty()) << id;
    }
    for (const char* pane : {"CAP", "NUM", "SCRL"}) {
        const auto* label = window.statusBar()->findChild<QLabel*>(QString::fromLatin1(pane));
        ASSERT_NE(label, nullptr) << pane;
        EXPECT_EQ(label->text(), QString::fromLatin1(pane));
    }
}

TEST_F(MainWindowMenu, HighlightingAMenuItemShowsItsPromptInTheMessagePane) {
    window.show();
    EXPECT_TRUE(window.messagePane()->isVisible());
    QAction* newItem = window.action(kCmdFileNew);
    QMenu* file = window.menuBar()->actions().first()->menu();
    file->popup(window.mapToGlobal(QPoint(0, 0)));
    file->setActiveAction(newItem);
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("Create a new document"));
    file->hide();
}

TEST_F(MainWindowMenu, TitleNamesTheDocumentAndTheProgram) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Untitled - Tolvex"));
}

TEST_F(MainWindowMenu, HiddenViewTogglesSetTheSwitchAndTheirCheckMarks) {
    // 32789 sets the switch to 1, 32788 back to 0; each is checked while its value holds.
    window.runCommand(32789);
    EXPECT_EQ(state.viewToggle, 1);
    EXPECT_TRUE(window.action(kCmdViewToggleOn)->isChecked());
    EXPECT_FALSE(window.action(kCmdViewToggleOff)->isChecked());
    window.runCommand(32788);
    EXPECT_EQ(state.viewToggle, 0);
    EXPECT_TRUE(window.action(kCmdViewToggleOff)->isChecked());
}

TEST_F(MainWindowMenu, ToolbarAndStatusBarItemsShowAndHideThem) {
    window.show();
    auto* bar = window.findChild<QToolBar*>(QStringLiteral("toolbar"));
    window.action(kCmdViewToolbar)->trigger();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(window.action(kCmdViewToolbar)->isChecked());
    window.action(kCmdViewStatusBar)->trigger();
    EXPECT_FALSE(window.statusBar()->isVisible());
    window.action(kCmdViewToolbar)->trigger();
    EXPECT_TRUE(bar->isVisible());
}

}  // namespace
}  // namespace tolvex::gui
