// Where the window's Report command and picture export may write: a report name brought by the document
// that points outside the document's folder is asked about first, and a picture replaces a file only
// through the checked writer.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "core/commands/CommandIds.h"
#include "gui/GuiCommands.h"
#include "gui/MainWindow.h"
#include "gui/ReportFile.h"
#include "gui/ScriptedGuiInteraction.h"

namespace tolvex::gui {
namespace {

class ReportFolder : public ::testing::Test {
protected:
    ReportFolder() {
        QSettings().remove(QStringLiteral("recentFiles"));
        auto scripted = std::make_unique<testing::ScriptedGuiInteraction>();
        ui = scripted.get();
        window = std::make_unique<MainWindow>(state, std::move(scripted));
        window->resize(800, 600);
        window->show();
        QDir(root.path()).mkdir(QStringLiteral("site"));
        ui->script.fileAnswers.push_back(site(QStringLiteral("well.tvx")).toStdString());
        window->runCommand(kCmdFileSaveAs);
    }
    ~ReportFolder() override { QSettings().remove(QStringLiteral("recentFiles")); }

    [[nodiscard]] QString site(const QString& name) const {
        return root.filePath(QStringLiteral("site/") + name);
    }
    [[nodiscard]] QString outside(const QString& name) const { return root.filePath(name); }

    QTemporaryDir root;
    AnalysisState state = makeDefaultState();
    testing::ScriptedGuiInteraction* ui = nullptr;
    std::unique_ptr<MainWindow> window;
};

TEST_F(ReportFolder, ANameOutsideTheDocumentsFolderIsAskedAboutAndNoWritesNothing) {
    for (const QString& name : {QStringLiteral("../victim.out"), outside(QStringLiteral("victim.out"))}) {
        state.reportFileName = name.toStdString();
        ui->script.questions.clear();
        window->runCommand(kCmdReport);
        ASSERT_EQ(ui->script.questions.size(), 1u) << name.toStdString();
        EXPECT_NE(ui->script.questions.front().find(outside(QStringLiteral("victim.out")).toStdString()),
                  std::string::npos)
            << ui->script.questions.front();
        EXPECT_FALSE(QFile::exists(outside(QStringLiteral("victim.out"))));
        EXPECT_TRUE(ui->shownFiles.empty());
    }
    ui->script.yesNoAnswers.push_back(true);
    window->runCommand(kCmdReport);
    EXPECT_TRUE(QFile::exists(outside(QStringLiteral("victim.out"))));
    ASSERT_EQ(ui->shownFiles.size(), 1u);
}

TEST_F(ReportFolder, ANameInTheFolderOrChosenNowIsWrittenWithoutAQuestion) {
    state.reportFileName = "r.out";
    window->runCommand(kCmdReport);
    EXPECT_TRUE(QFile::exists(site(QStringLiteral("r.out"))));
    ui->script.fileAnswers.push_back(outside(QStringLiteral("chosen.out")).toStdString());
    window->runCommand(kCmdReportAs);
    EXPECT_TRUE(QFile::exists(outside(QStringLiteral("chosen.out"))));
    EXPECT_TRUE(ui->script.questions.empty());
    EXPECT_EQ(ui->shownFiles.size(), 2u);
}

TEST_F(ReportFolder, TheDocumentItselfIsNeverOverwrittenByItsReport) {
    QFile document(site(QStringLiteral("well.tvx")));
    ASSERT_TRUE(document.open(QIODevice::ReadOnly));
    const QByteArray before = document.readAll();
    document.close();
    state.reportFileName = "well.tvx";
    window->runCommand(kCmdReport);
    ASSERT_EQ(ui->script.messages.size(), 1u);
    EXPECT_NE(ui->script.messages.front().find("is the document itself"), std::string::npos);
    ASSERT_TRUE(document.open(QIODevice::ReadOnly));
    EXPECT_EQ(document.readAll(), before);
    EXPECT_TRUE(ui->shownFiles.empty());
}

TEST_F(ReportFolder, AnExportOverAFolderIsRefusedAndAnExportOverALinkKeepsIt) {
    QDir(root.path()).mkdir(QStringLiteral("plot.bmp"));
    ui->script.fileAnswers.push_back(outside(QStringLiteral("plot.bmp")).toStdString());
    window->runCommand(kCmdExportBmp);
    ASSERT_EQ(ui->script.messages.size(), 1u);
    EXPECT_EQ(ui->script.messages.front(), "Not able to create file.\n\"" +
                                               outside(QStringLiteral("plot.bmp")).toStdString() +
                                               "\": is a folder, not a file");
    EXPECT_TRUE(QFileInfo(outside(QStringLiteral("plot.bmp"))).isDir());

    ASSERT_TRUE(QFile::link(QStringLiteral("real.emf"), outside(QStringLiteral("link.emf"))));
    ui->script.fileAnswers.push_back(outside(QStringLiteral("link.emf")).toStdString());
    window->runCommand(kCmdExportMetafile);
    EXPECT_EQ(ui->script.messages.size(), 1u);
    EXPECT_TRUE(QFileInfo(outside(QStringLiteral("link.emf"))).isSymLink());
    EXPECT_GT(QFileInfo(outside(QStringLiteral("real.emf"))).size(), 100);
}

TEST(ReportPlace, AFileLiesInAFolderOnlyDirectly) {
    EXPECT_TRUE(liesInFolder(QStringLiteral("/data/site/r.out"), QStringLiteral("/data/site")));
    EXPECT_TRUE(liesInFolder(QStringLiteral("/data/site/./r.out"), QStringLiteral("/data/site/")));
    EXPECT_FALSE(liesInFolder(QStringLiteral("/data/site/sub/r.out"), QStringLiteral("/data/site")));
    EXPECT_FALSE(liesInFolder(QStringLiteral("/data/site/../r.out"), QStringLiteral("/data/site")));
    EXPECT_FALSE(liesInFolder(QStringLiteral("/data/sites/r.out"), QStringLiteral("/data/site")));
}

}  // namespace
}  // namespace tolvex::gui
