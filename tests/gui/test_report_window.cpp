// The report inside the program: View > Report writes the report beside the document under the
// document's name and shows that file's bytes in the report window, with Save As, Print and Copy.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextCursor>

#include "core/commands/CommandIds.h"
#include "core/persist/Reports.h"
#include "gui/GuiCommands.h"
#include "gui/MainWindow.h"
#include "gui/ReportFile.h"
#include "gui/ReportWindow.h"
#include "gui/ScriptedGuiInteraction.h"

namespace tolvex::gui {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray{};
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The scripted dialogs, but a report opens in the real report window as in the program.
class ReportShowingInteraction : public testing::ScriptedGuiInteraction {
public:
    bool showFile(const QString& path) override {
        shownFiles.push_back(path);
        return GuiInteraction::showFile(path);
    }
};

class ReportWindowTest : public ::testing::Test {
protected:
    ReportWindowTest() {
        QSettings().remove(QStringLiteral("recentFiles"));
        auto scripted = std::make_unique<ReportShowingInteraction>();
        ui = scripted.get();
        window = std::make_unique<MainWindow>(state, std::move(scripted));
    }
    ~ReportWindowTest() override { QSettings().remove(QStringLiteral("recentFiles")); }

    [[nodiscard]] QString file(const QString& name) const { return dir.filePath(name); }
    void saveAs(const QString& name) {
        ui->script.fileAnswers.push_back(file(name).toStdString());
        window->runCommand(kCmdFileSaveAs);
    }
    [[nodiscard]] ReportWindow* reportWindow() const {
        return window->findChild<ReportWindow*>(QString(), Qt::FindDirectChildrenOnly);
    }

    QTemporaryDir dir;
    AnalysisState state = makeDefaultState();
    ReportShowingInteraction* ui = nullptr;
    std::unique_ptr<MainWindow> window;
};

TEST_F(ReportWindowTest, ReportIsNamedAfterTheDocumentAndShownInTheProgram) {
    saveAs(QStringLiteral("pumping-well.tvx"));
    const QByteArray document = readAll(file(QStringLiteral("pumping-well.tvx")));
    window->runCommand(kCmdReport);
    const QString report = file(QStringLiteral("pumping-well.out"));
    ASSERT_TRUE(QFile::exists(report));
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("test.out"))));
    const QByteArray bytes = readAll(report);
    EXPECT_EQ(bytes.toStdString(), reportText(state));
    ReportWindow* shown = reportWindow();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->path(), report);
    EXPECT_EQ(shown->bytes(), bytes);
    // The lines of the file as they are; CR LF ends a line.
    EXPECT_EQ(shown->textView()->toPlainText(),
              QString::fromLatin1(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_TRUE(shown->textView()->isReadOnly());
    EXPECT_EQ(shown->textView()->font().family(),
              QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    EXPECT_TRUE(ui->script.messages.empty());
    // The document keeps its name of the report and its bytes: nothing to save.
    EXPECT_EQ(state.reportFileName, kDefaultReportName);
    EXPECT_FALSE(window->document().changed());
    EXPECT_EQ(readAll(file(QStringLiteral("pumping-well.tvx"))), document);
}

TEST_F(ReportWindowTest, ASecondReportReusesTheWindow) {
    saveAs(QStringLiteral("site.tvx"));
    window->runCommand(kCmdReport);
    ReportWindow* first = reportWindow();
    ASSERT_NE(first, nullptr);
    state.projectDescription = "Second run";
    window->runCommand(kCmdReport);
    EXPECT_EQ(reportWindow(), first);
    EXPECT_EQ(window->findChildren<ReportWindow*>().size(), 1);
    EXPECT_TRUE(first->textView()->toPlainText().contains(QStringLiteral("Second run")));
}

TEST_F(ReportWindowTest, ANameChosenWithReportAsIsKeptEvenTheDefaultOne) {
    saveAs(QStringLiteral("site.tvx"));
    // Report As proposes the name after the document.
    ui->script.fileAnswers.push_back(file(QStringLiteral("test.out")).toStdString());
    window->runCommand(kCmdReportAs);
    EXPECT_EQ(ui->script.fileDialogs.back().initialName, file(QStringLiteral("site.out")).toStdString());
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("test.out"))));
    // Chosen on purpose, the default name stays: the next report goes there too.
    EXPECT_EQ(state.reportFileName, "./test.out");
    QFile::remove(file(QStringLiteral("test.out")));
    window->runCommand(kCmdReport);
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("test.out"))));
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("site.out"))));
}

TEST(ReportNames, TheDefaultFollowsTheDocumentAndAChosenNameStays) {
    struct Case {
        const char* stored;
        const char* document;
        const char* expected;
    };
    const Case cases[] = {
        {"test.out", "", "test.out"},                    // untitled: the classic name
        {"", "", "test.out"},                            // no name at all
        {"test.out", "/data/foo.tvx", "foo.out"},        // the document's name
        {"  test.out ", "/data/foo.tvx", "foo.out"},     // as the dialog would trim it
        {"test.out", "/data/well.2.tvx", "well.2.out"},  // only the last extension goes
        {"test.out", "/data/noext", "noext.out"},
        {"test.out", "/data/run.out", "run.out.out"},   // never the document itself
        {"./test.out", "/data/foo.tvx", "./test.out"},  // chosen on purpose
        {"pumping.out", "/data/foo.tvx", "pumping.out"},
        {"/tmp/r.out", "/data/foo.tvx", "/tmp/r.out"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(effectiveReportName(QString::fromLatin1(c.stored), QString::fromLatin1(c.document)),
                  QString::fromLatin1(c.expected))
            << c.stored << " / " << c.document;
    }
    // Choosing the default name in the document's folder keeps it as chosen.
    EXPECT_EQ(storedReportName(QStringLiteral("/data/site/test.out"), QStringLiteral("/data/site")),
              QStringLiteral("./test.out"));
    EXPECT_EQ(resolveReportPath(QStringLiteral("./test.out"), QStringLiteral("/data/site")),
              QStringLiteral("/data/site/test.out"));
}

class ReportWindowAlone : public ::testing::Test {
protected:
    ReportWindowAlone() : window(ui, &owner) {}
    [[nodiscard]] QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    QWidget owner;
    testing::ScriptedGuiInteraction ui;
    ReportWindow window;
};

TEST_F(ReportWindowAlone, ShowsTheFilesBytesLatin1OrUtf8) {
    struct Case {
        QByteArray bytes;
        QString shown;
    };
    const Case cases[] = {
        {"Transmissivity =   1.23450E-03\r\nS = 1\r\n",
         QStringLiteral("Transmissivity =   1.23450E-03\nS = 1\n")},
        {"Project: Brunnen M\xfcller\n", QStringLiteral("Project: Brunnen M\u00fcller\n")},      // Latin-1
        {"Project: Brunnen M\xc3\xbcller\n", QStringLiteral("Project: Brunnen M\u00fcller\n")},  // UTF-8
    };
    for (const Case& c : cases) {
        writeFile(file("r.out"), c.bytes);
        ASSERT_FALSE(window.load(file("r.out")).has_value());
        EXPECT_EQ(window.bytes(), c.bytes);
        EXPECT_EQ(reportFileText(c.bytes), c.shown);
    }
    // QPlainTextEdit keeps lines, not line ends: the text matches line by line.
    EXPECT_EQ(window.textView()->toPlainText(), QStringLiteral("Project: Brunnen M\u00fcller\n"));
}

TEST_F(ReportWindowAlone, AFileThatCannotBeReadKeepsWhatWasShown) {
    writeFile(file("r.out"), "first report\n");
    ASSERT_FALSE(window.load(file("r.out")).has_value());
    const auto failure = window.load(file("gone.out"));
    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->find("gone.out"), std::string::npos);
    EXPECT_EQ(window.path(), file("r.out"));
    EXPECT_EQ(window.textView()->toPlainText(), QStringLiteral("first report\n"));
}

TEST_F(ReportWindowAlone, SaveAsWritesTheExactBytes) {
    const QByteArray bytes("     REPORT\r\n\xe9t\xe9 1,5\n\n   end  \n");
    writeFile(file("r.out"), bytes);
    ASSERT_FALSE(window.load(file("r.out")).has_value());
    ui.script.fileAnswers.push_back(file("copy.out").toStdString());
    window.saveAsAction()->trigger();
    EXPECT_EQ(readAll(file("copy.out")), bytes);
    ASSERT_EQ(ui.script.fileDialogs.size(), 1u);
    EXPECT_TRUE(ui.script.fileDialogs.back().save);
    EXPECT_EQ(ui.script.fileDialogs.back().initialName, file("r copy.out").toStdString());
    EXPECT_TRUE(ui.script.messages.empty());
    // Cancelled: nothing written.
    window.saveAsAction()->trigger();
    EXPECT_FALSE(QFile::exists(file("r copy.out")));
}

TEST_F(ReportWindowAlone, SaveAsOverAFolderSaysSoAndChangesNothing) {
    writeFile(file("r.out"), "report\n");
    ASSERT_FALSE(window.load(file("r.out")).has_value());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.out")));
    writeFile(file("old.out"), "old\n");
    ui.script.fileAnswers.push_back(file("taken.out").toStdString());
    window.saveAsAction()->trigger();
    ASSERT_EQ(ui.script.messages.size(), 1u);
    EXPECT_EQ(ui.script.messages.front().rfind("Not able to create file.", 0), 0u);
    EXPECT_TRUE(QFileInfo(file("taken.out")).isDir());
    EXPECT_EQ(readAll(file("old.out")), QByteArray("old\n"));
}

TEST_F(ReportWindowAlone, CopyTakesTheSelectionOrTheWholeReport) {
    writeFile(file("r.out"), "line one\nline two\n");
    ASSERT_FALSE(window.load(file("r.out")).has_value());
    window.copyAction()->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("line one\nline two\n"));
    QTextCursor cursor = window.textView()->textCursor();
    cursor.setPosition(5);
    cursor.setPosition(13, QTextCursor::KeepAnchor);
    window.textView()->setTextCursor(cursor);
    window.copyAction()->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("one\nline"));
}

TEST_F(ReportWindowAlone, PrintsTheReportIntoAPdf) {
    writeFile(file("r.out"), QByteArray(" REPORT\n").repeated(200));
    ASSERT_FALSE(window.load(file("r.out")).has_value());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file("r.pdf"));
    ASSERT_TRUE(window.printOn(printer));
    const QByteArray pdf = readAll(file("r.pdf"));
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    // 200 lines do not fit one page.
    EXPECT_GT(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page/"), 1);
}

}  // namespace
}  // namespace tolvex::gui
