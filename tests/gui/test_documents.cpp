// The file commands in the window (title, recent files, the unsaved-results question on closing), the
// report file and its viewer, and the helpers behind them.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "core/commands/CommandIds.h"
#include "core/persist/Reports.h"
#include "gui/FileFilter.h"
#include "gui/GuiCommands.h"
#include "gui/MainWindow.h"
#include "gui/MeasurementTableDialog.h"
#include "gui/RecentFiles.h"
#include "gui/ReportFile.h"
#include "gui/ScriptedGuiInteraction.h"

namespace tolvex::gui {
namespace {

class Documents : public ::testing::Test {
protected:
    Documents() {
        QSettings().remove(QStringLiteral("recentFiles"));
        auto scripted = std::make_unique<testing::ScriptedGuiInteraction>();
        ui = scripted.get();
        window = std::make_unique<MainWindow>(state, std::move(scripted));
    }
    // The recent-file list names files of this test's folder; the next tests start without it.
    ~Documents() override { QSettings().remove(QStringLiteral("recentFiles")); }
    QString saveAs(const QString& name) {
        const QString path = dir.filePath(name);
        ui->script.fileAnswers.push_back(path.toStdString());
        window->runCommand(kCmdFileSaveAs);
        return path;
    }

    QTemporaryDir dir;
    AnalysisState state = makeDefaultState();
    testing::ScriptedGuiInteraction* ui = nullptr;
    std::unique_ptr<MainWindow> window;
};

TEST_F(Documents, SaveAsNamesTheDocumentInTheTitleAndTheRecentFiles) {
    const QString path = saveAs(QStringLiteral("well.tvx"));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("well.tvx - Tolvex"));
    EXPECT_EQ(state.untitled, 0);
    ASSERT_EQ(window->recentFileActions().size(), 1);
    EXPECT_TRUE(window->recentFileActions().first()->text().endsWith(QStringLiteral("well.tvx")));
    EXPECT_EQ(ui->script.fileDialogs.front().filter, "Tolvex Files (*.tvx)|*.tvx|All Files (*.*)|*.*||");
}

TEST_F(Documents, OpeningASavedDocumentRestoresTheAnalysis) {
    state.modelKind = 4;
    state.transmissivity = 12.25f;
    const QString path = saveAs(QStringLiteral("saved.tvx"));
    state.modelKind = 0;
    state.transmissivity = 1.0f;
    ASSERT_TRUE(window->openDocumentFile(path));
    EXPECT_EQ(state.modelKind, 4);
    EXPECT_FLOAT_EQ(state.transmissivity, 12.25f);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("saved.tvx - Tolvex"));
}

TEST_F(Documents, AFileThatIsNoDocumentIsRefusedAndChangesNothing) {
    const QString path = dir.filePath(QStringLiteral("broken.tvx"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("no document");
    file.close();
    state.transmissivity = 3.5f;
    EXPECT_FALSE(window->openDocumentFile(path));
    ASSERT_EQ(ui->script.messages.size(), 1u);
    EXPECT_FLOAT_EQ(state.transmissivity, 3.5f);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Untitled - Tolvex"));
}

TEST_F(Documents, ARecentFileThatIsGoneIsReportedAndLeavesTheList) {
    const QString path = saveAs(QStringLiteral("gone.tvx"));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(window->recentFileActions().size(), 1);
    window->recentFileActions().first()->trigger();
    EXPECT_EQ(ui->script.messages.size(), 1u);
    EXPECT_TRUE(window->recentFileActions().isEmpty());
}

TEST_F(Documents, ClosingWithUnsavedResultsAsksAndNoCloses) {
    state.modified = 1;
    QCloseEvent event;
    QCoreApplication::sendEvent(window.get(), &event);
    EXPECT_EQ(ui->script.questions, std::vector<std::string>{"Save existing data?"});
    EXPECT_TRUE(event.isAccepted());
}

TEST_F(Documents, ClosingStaysWhenTheSaveIsCancelled) {
    state.modified = 1;
    ui->script.yesNoAnswers.push_back(true);  // Yes, save ... then cancel the file dialog
    QCloseEvent event;
    QCoreApplication::sendEvent(window.get(), &event);
    EXPECT_FALSE(event.isAccepted());
    EXPECT_EQ(state.modified, 1);
}

TEST_F(Documents, ClosingWithoutUnsavedResultsAsksNothing) {
    QCloseEvent event;
    QCoreApplication::sendEvent(window.get(), &event);
    EXPECT_TRUE(event.isAccepted());
    EXPECT_TRUE(ui->script.questions.empty());
}

TEST_F(Documents, ReportGoesBesideTheDocumentAndOpensInTheViewer) {
    saveAs(QStringLiteral("site.tvx"));
    window->runCommand(kCmdReport);
    // A saved document's report is named after it (site.tvx: site.out); only an untitled one writes test.out.
    const QString report = dir.filePath(QStringLiteral("site.out"));
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string text = file.readAll().toStdString();
    // No estimation has run: the type-curve report of the current state.
    EXPECT_EQ(text.rfind("         REPORT FOR THE CALCULATION OF WELL FUNCTIONS", 0), 0u)
        << text.substr(0, 80);
    EXPECT_EQ(text, reportText(state));
    ASSERT_EQ(ui->shownFiles.size(), 1u);
    EXPECT_EQ(ui->shownFiles.front(), report);
    EXPECT_TRUE(ui->script.messages.empty());
}

TEST_F(Documents, AReportNoProgramCanOpenIsNamedInAMessage) {
    saveAs(QStringLiteral("site.tvx"));
    ui->viewerAvailable = false;
    window->runCommand(kCmdReport);
    ASSERT_EQ(ui->script.messages.size(), 1u);
    EXPECT_NE(ui->script.messages.front().find(dir.filePath(QStringLiteral("site.out")).toStdString()),
              std::string::npos);
}

TEST_F(Documents, ReportAsStoresTheChosenFile) {
    saveAs(QStringLiteral("site.tvx"));
    ui->script.fileAnswers.push_back(dir.filePath(QStringLiteral("pumping.out")).toStdString());
    window->runCommand(kCmdReportAs);
    EXPECT_EQ(state.reportFileName, "pumping.out");
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("pumping.out"))));
    // Cancelling the dialog keeps the name and writes nothing.
    window->runCommand(kCmdReportAs);
    EXPECT_EQ(state.reportFileName, "pumping.out");
    EXPECT_EQ(ui->shownFiles.size(), 1u);
}

TEST_F(Documents, InputDrawdownsEndsInTheTableDialogAndShowsTheUsedMeasurements) {
    state.drawdownInputMode = 1;  // type the values: the flow goes straight to the table
    ui->script.tableEditor = [](AnalysisState& s) {
        MeasurementTableDialog table(s);
        table.fromEdit()->setText(QStringLiteral("3"));
        table.toEdit()->setText(QStringLiteral("10"));
        table.accept();
        return table.result() == QDialog::Accepted;
    };
    window->runCommand(kCmdInputDrawdowns);
    EXPECT_EQ(ui->script.formTitles, std::vector<std::string>{"Options for inputing drawdowns"});
    EXPECT_EQ(state.usedCount, 8);
    EXPECT_EQ(state.plotContent, 1);
}

// The command line's --print on a machine without a printer says why and fails, instead of ending
// without a word.
TEST_F(Documents, PrintingFromTheCommandLineWithoutAPrinterSaysWhy) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    const QString path = saveAs(QStringLiteral("print.tvx"));
    const auto failure = window->printDocument(path);
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->startsWith(QStringLiteral("no printer is installed"))) << failure->toStdString();
    const auto missing = window->printDocument(dir.filePath(QStringLiteral("none.tvx")));
    ASSERT_TRUE(missing.has_value());
    EXPECT_TRUE(missing->startsWith(QStringLiteral("Not able to open file. "))) << missing->toStdString();
    EXPECT_TRUE(ui->script.messages.empty());  // nobody is there to close a message box

    // The program itself writes the reason to stderr and exits with a failure.
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../../src/gui/tolvex");
    if (!QFile::exists(program)) GTEST_SKIP() << "the program is not built beside the tests";
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    run.setProcessEnvironment(environment);
    run.start(program, {QStringLiteral("--print"), path});
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.exitCode(), 1);
    const QString stderrText = QString::fromLocal8Bit(run.readAllStandardError());
    EXPECT_TRUE(stderrText.contains(QStringLiteral("tolvex: cannot print ") + path +
                                    QStringLiteral(": no printer is installed")))
        << stderrText.toStdString();
}

// Answers the message box as soon as it is shown (its exec() runs the event loop that calls this).
void answerWhenShown(const std::function<void(QMessageBox&)>& answer) {
    QTimer::singleShot(10, [answer] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box != nullptr && box->isVisible()) return answer(*box);
        }
        answerWhenShown(answer);
    });
}

// The real "Save existing data?" box: three buttons, Yes by default, Escape and closing the box are
// Cancel.
TEST(SaveQuestionBox, EscapeAndClosingTheBoxAreCancel) {
    const std::vector<std::pair<const char*, std::function<void(QMessageBox&)>>> answers{
        {"Escape",
         [](QMessageBox& box) {
             QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QCoreApplication::sendEvent(&box, &escape);
         }},
        {"closing the box", [](QMessageBox& box) { box.close(); }},
        {"No", [](QMessageBox& box) { box.button(QMessageBox::No)->click(); }},
        {"Return", [](QMessageBox& box) {
             QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
             QCoreApplication::sendEvent(&box, &enter);
         }}};
    const Reply expected[] = {Reply::Cancel, Reply::Cancel, Reply::No, Reply::Yes};
    GuiInteraction desktop;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        SCOPED_TRACE(answers[i].first);
        QStringList buttons;
        answerWhenShown([&](QMessageBox& box) {
            for (QAbstractButton* button : box.buttons()) buttons << button->text().remove(QLatin1Char('&'));
            answers[i].second(box);
        });
        EXPECT_EQ(desktop.askYesNoCancel("Save existing data?"), expected[i]);
        EXPECT_EQ(buttons.size(), 3);
    }
}

TEST(ReportPath, RelativeNamesBelongToTheDocumentFolder) {
    EXPECT_EQ(resolveReportPath(QStringLiteral("test.out"), QStringLiteral("/data/site")),
              QStringLiteral("/data/site/test.out"));
    EXPECT_EQ(resolveReportPath(QStringLiteral("/tmp/r.out"), QStringLiteral("/data/site")),
              QStringLiteral("/tmp/r.out"));
    EXPECT_EQ(resolveReportPath(QStringLiteral("  "), QStringLiteral("/data")),
              QStringLiteral("/data/test.out"));
    EXPECT_EQ(storedReportName(QStringLiteral("/data/site/r.out"), QStringLiteral("/data/site")),
              QStringLiteral("r.out"));
    EXPECT_EQ(storedReportName(QStringLiteral("/tmp/r.out"), QStringLiteral("/data/site")),
              QStringLiteral("/tmp/r.out"));
}

TEST(Filters, TheProgramsFiltersBecomeQtFilters) {
    EXPECT_EQ(qtFileFilter(QStringLiteral("Tolvex Files (*.tvx)|*.tvx|All Files (*.*)|*.*||")),
              QStringLiteral("Tolvex Files (*.tvx);;All Files (*)"));
    EXPECT_EQ(
        qtFileFilter(QStringLiteral("BMP Files (*.bmp)|*.bmp|DIB Files (*.dib)|*.dib|All Files (*.*)|*.*||")),
        QStringLiteral("BMP Files (*.bmp);;DIB Files (*.dib);;All Files (*)"));
    EXPECT_EQ(firstFilterExtension(QStringLiteral("emf Files (*.emf)|*.emf|All Files (*.*)|*.*||")),
              QStringLiteral("emf"));
    EXPECT_EQ(firstFilterExtension(QStringLiteral("All Files (*.*)|*.*||")), QString{});
}

TEST(RecentFilesTest, KeepsTheFourLatestWithoutRepeats) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat);
    RecentFiles recent(settings);
    for (const char* name : {"/a.tvx", "/b.tvx", "/c.tvx", "/d.tvx", "/e.tvx", "/c.tvx"})
        recent.add(QString::fromLatin1(name));
    EXPECT_EQ(recent.files(), (QStringList{"/c.tvx", "/e.tvx", "/d.tvx", "/b.tvx"}));
    RecentFiles reread(settings);
    EXPECT_EQ(reread.files(), recent.files());
}

}  // namespace
}  // namespace tolvex::gui
