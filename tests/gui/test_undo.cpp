// Every change of the analysis marks the document (the title shows it, and New, Open and Exit ask before
// dropping it) and can be taken back with Edit > Undo and repeated with Redo, whatever changed it: the
// table, an import, a predefined set, "Calculate drawdowns", an estimation or a parameter dialog.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "core/commands/CommandIds.h"
#include "core/commands/SettingsForms.h"
#include "core/commands/TypeCurveCommands.h"
#include "core/commands/TypeCurveForms.h"
#include "core/persist/Document.h"
#include "gui/MainWindow.h"
#include "gui/MeasurementGrid.h"
#include "gui/MeasurementTableDialog.h"
#include "gui/ScriptedGuiInteraction.h"

namespace tolvex::gui {
namespace {

using Script = tolvex::testing::ScriptedInteraction;
using Texts = std::map<int, std::string>;

// The measurement-table dialog, edited as the user does, then OK.
std::function<bool(AnalysisState&)> editTable(std::function<void(MeasurementTableDialog&)> edit) {
    return [edit](AnalysisState& s) {
        MeasurementTableDialog table(s);
        edit(table);
        table.accept();
        return table.result() == QDialog::Accepted;
    };
}

struct Change {
    const char* what;
    int command;
    // Scripts the dialogs of the command; may also put data into the state before it runs.
    std::function<void(AnalysisState&, Script&, const QTemporaryDir&)> prepare;
};

const std::vector<Change>& changes() {
    static const std::vector<Change> rows{
        {"typing in the table", kCmdInputDrawdowns,
         [](AnalysisState&, Script& ui, const QTemporaryDir&) {
             ui.formAnswers = {Texts{{211, "1"}}};
             ui.tableEditor = editTable([](MeasurementTableDialog& t) {
                 t.grid()->item(2, kColumnMeasured)->setText(QStringLiteral("7.5"));
             });
         }},
        {"pasting into the table", kCmdInputDrawdowns,
         [](AnalysisState&, Script& ui, const QTemporaryDir&) {
             ui.formAnswers = {Texts{{211, "1"}}};
             ui.tableEditor = editTable([](MeasurementTableDialog& t) {
                 t.grid()->setCurrentCell(0, kColumnTime);
                 t.grid()->pasteText(QStringLiteral("0.5\t0.25\n0.75\t0.5\n"));
             });
         }},
        {"importing a file", kCmdInputDrawdowns,
         [](AnalysisState&, Script& ui, const QTemporaryDir& dir) {
             QFile file(dir.filePath(QStringLiteral("m.dat")));
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("1;2\n3;4\n5;6\n");
             file.close();
             ui.formAnswers = {Texts{{211, "0"}}, Texts{{215, "3"}}};
             ui.fileAnswers = {file.fileName().toStdString()};
         }},
        {"a predefined set", kCmdPredefinedSet,
         [](AnalysisState&, Script& ui, const QTemporaryDir&) {
             ui.formAnswers = {Texts{{214, "4"}}};
         }},
        {"calculate drawdowns", kCmdCalculateDrawdowns, [](AnalysisState&, Script&, const QTemporaryDir&) {}},
        {"calculate drawdowns over measured data", kCmdCalculateDrawdowns,
         [](AnalysisState& s, Script& ui, const QTemporaryDir&) {
             s.allDrawdowns[0] = s.measured[0] = 0.125;
             ui.yesNoAnswers = {true};
         }},
        {"trial run", kCmdTrialInversion, [](AnalysisState&, Script&, const QTemporaryDir&) {}},
        {"simplex", kCmdSimplexInversion, [](AnalysisState&, Script&, const QTemporaryDir&) {}},
        {"least squares", kCmdLeastSquaresInversion, [](AnalysisState&, Script&, const QTemporaryDir&) {}},
        {"model selection", kCmdModelSelection,
         [](AnalysisState&, Script& ui, const QTemporaryDir&) {
             ui.formAnswers = {Texts{{kModelChoiceId, "2"}}};
         }},
        {"integration dialog", kCmdIntegration,
         [](AnalysisState&, Script& ui, const QTemporaryDir&) {
             ui.formAnswers = {Texts{{kGaussId, "24"}}};
         }},
        {"project dialog", kCmdProject,
         [](AnalysisState&, Script& ui, const QTemporaryDir&) {
             ui.formAnswers = {Texts{{kOperatorId, "R. Moench"}}};
         }},
    };
    return rows;
}

class WindowUnderTest {
public:
    WindowUnderTest() {
        auto scripted = std::make_unique<testing::ScriptedGuiInteraction>();
        ui = scripted.get();
        window = std::make_unique<MainWindow>(state, std::move(scripted));
    }
    // Sends the window a close request, as the title bar's button does; true when it closed.
    bool close() {
        QCloseEvent event;
        QCoreApplication::sendEvent(window.get(), &event);
        return event.isAccepted();
    }
    [[nodiscard]] std::string bytes() const { return documentBytes(state); }

    AnalysisState state = makeDefaultState();
    testing::ScriptedGuiInteraction* ui = nullptr;
    std::unique_ptr<MainWindow> window;
};

TEST(Changes, EveryChangeMarksTheDocumentAndUndoAndRedoTakeItBackAndRepeatIt) {
    for (const Change& change : changes()) {
        SCOPED_TRACE(change.what);
        QTemporaryDir dir;
        WindowUnderTest w;
        change.prepare(w.state, w.ui->script, dir);
        const std::string before = w.bytes();
        EXPECT_FALSE(w.window->action(kCmdEditUndo)->isEnabled());
        w.window->runCommand(change.command);
        // The simplex's 20 iterations end without convergence, which the window warns about; nothing
        // else may be said.
        std::erase_if(w.ui->script.messages, [](const std::string& m) {
            return m.rfind("The fit may not be the best one:\n- not converged after", 0) == 0;
        });
        EXPECT_TRUE(w.ui->script.messages.empty()) << w.ui->script.messages.front();
        const std::string after = w.bytes();
        ASSERT_NE(after, before) << "the command changed nothing";
        EXPECT_TRUE(w.window->document().changed());
        EXPECT_EQ(w.window->windowTitle(), QStringLiteral("*Untitled - Tolvex"));

        QAction* undo = w.window->action(kCmdEditUndo);
        ASSERT_TRUE(undo->isEnabled());
        EXPECT_TRUE(undo->text().startsWith(QStringLiteral("&Undo "))) << undo->text().toStdString();
        undo->trigger();
        EXPECT_EQ(w.bytes(), before);
        EXPECT_FALSE(w.window->document().changed());
        EXPECT_EQ(w.window->windowTitle(), QStringLiteral("Untitled - Tolvex"));
        EXPECT_FALSE(undo->isEnabled());

        w.window->action(kCmdEditRedo)->trigger();
        EXPECT_EQ(w.bytes(), after);
        EXPECT_EQ(w.window->windowTitle(), QStringLiteral("*Untitled - Tolvex"));
        EXPECT_FALSE(w.window->action(kCmdEditRedo)->isEnabled());

        // Closing asks before the change is lost; Cancel keeps the window and the change.
        w.ui->script.questions.clear();
        w.ui->script.replies = {Reply::Cancel};
        EXPECT_FALSE(w.close());
        EXPECT_EQ(w.ui->script.questions, std::vector<std::string>{"Save existing data?"});
        EXPECT_EQ(w.bytes(), after);
    }
}

TEST(Changes, ADialogConfirmedWithoutAChangeLeavesNothingToUndo) {
    WindowUnderTest w;
    w.window->runCommand(kCmdProject);
    EXPECT_FALSE(w.window->document().changed());
    EXPECT_FALSE(w.window->action(kCmdEditUndo)->isEnabled());
    EXPECT_EQ(w.window->windowTitle(), QStringLiteral("Untitled - Tolvex"));
}

// A save is the point Undo counts as unchanged; undoing past it keeps the file name, so Save still
// writes to the file without asking.
TEST(Changes, SaveClearsTheMarkAndUndoPastItKeepsTheFile) {
    QTemporaryDir dir;
    WindowUnderTest w;
    w.ui->script.formAnswers = {Texts{{214, "4"}}};
    w.window->runCommand(kCmdPredefinedSet);
    const QString path = dir.filePath(QStringLiteral("slug.tvx"));
    w.ui->script.fileAnswers = {path.toStdString()};
    w.window->runCommand(kCmdFileSaveAs);
    EXPECT_FALSE(w.window->document().changed());
    EXPECT_EQ(w.window->windowTitle(), QStringLiteral("slug.tvx - Tolvex"));

    w.window->runCommand(kCmdEditUndo);
    EXPECT_EQ(w.window->windowTitle(), QStringLiteral("*slug.tvx - Tolvex"));
    EXPECT_EQ(w.state.untitled, 0);
    EXPECT_EQ(w.state.allCount, 14);
    w.window->runCommand(kCmdEditRedo);
    EXPECT_EQ(w.window->windowTitle(), QStringLiteral("slug.tvx - Tolvex"));
    w.window->runCommand(kCmdEditUndo);
    w.window->runCommand(kCmdFileSave);
    EXPECT_EQ(w.ui->script.fileDialogs.size(), 1u);  // only the Save As
    EXPECT_EQ(w.window->windowTitle(), QStringLiteral("slug.tvx - Tolvex"));
    AnalysisState saved = makeDefaultState();
    ASSERT_FALSE(loadDocument(path.toStdString(), saved));
    EXPECT_EQ(saved.allCount, 14);

    // A document opened from its file starts a history of its own.
    w.window->runCommand(kCmdEditRedo);
    ASSERT_TRUE(w.window->openDocumentFile(path));
    EXPECT_FALSE(w.window->action(kCmdEditUndo)->isEnabled());
    EXPECT_FALSE(w.window->action(kCmdEditRedo)->isEnabled());
    EXPECT_EQ(w.window->windowTitle(), QStringLiteral("slug.tvx - Tolvex"));
}

// Cancel in "Save existing data?" ends New, Open and Exit: no dialog follows and nothing changes.
TEST(Changes, CancelInTheSaveQuestionEndsNewOpenAndExit) {
    for (int command : {kCmdFileNew, kCmdFileOpen, kCmdExit}) {
        SCOPED_TRACE(command);
        WindowUnderTest w;
        w.window->show();
        w.ui->script.formAnswers = {Texts{{214, "4"}}};
        w.window->runCommand(kCmdPredefinedSet);
        const std::string changed = w.bytes();
        const std::size_t forms = w.ui->script.formTitles.size();
        w.ui->script.replies = {Reply::Cancel};
        w.window->runCommand(command);
        EXPECT_EQ(w.ui->script.questions, std::vector<std::string>{"Save existing data?"});
        EXPECT_EQ(w.ui->script.formTitles.size(), forms);
        EXPECT_TRUE(w.ui->script.fileDialogs.empty());
        EXPECT_EQ(w.bytes(), changed);
        EXPECT_TRUE(w.window->isVisible());
        EXPECT_EQ(w.window->windowTitle(), QStringLiteral("*Untitled - Tolvex"));
        EXPECT_TRUE(w.window->action(kCmdEditUndo)->isEnabled());
    }
}

// After New the window shows the document the program starts with, whatever was there before.
TEST(Changes, NewLeavesTheDefaultDocument) {
    WindowUnderTest w;
    w.state.transmissivity = 3.0f;
    w.state.operatorName = "R. Moench";
    w.ui->script.formAnswers = {Texts{{214, "4"}}};
    w.window->runCommand(kCmdPredefinedSet);
    w.ui->script.yesNoAnswers = {false};  // do not save
    w.window->runCommand(kCmdFileNew);
    // The new document went through the model selection and the confined type curves, as after
    // start-up followed by these two commands.
    AnalysisState expected = makeDefaultState();
    expected.newRequested = 1;
    Script reference;
    ASSERT_EQ(typeCurveCalculation(expected, reference), CommandOutcome::Done);
    EXPECT_EQ(w.bytes(), documentBytes(expected));
    EXPECT_EQ(w.state.untitled, 1);
    EXPECT_EQ(w.window->windowTitle(), QStringLiteral("Untitled - Tolvex"));
    EXPECT_FALSE(w.window->action(kCmdEditUndo)->isEnabled());
}

}  // namespace
}  // namespace tolvex::gui
