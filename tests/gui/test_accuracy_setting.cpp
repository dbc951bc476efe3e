// The accuracy of the well functions in the window: a choice in the Integration dialog, remembered with
// the program's settings for new documents and kept in the document, and the Stehfest warning only where
// the standard inversion is used.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QLabel>
#include <QSettings>
#include <boost/math/special_functions/expint.hpp>
#include <map>
#include <string>

#include "core/commands/CommandIds.h"
#include "core/commands/SettingsForms.h"
#include "core/persist/Document.h"
#include "gui/AccuracySetting.h"
#include "gui/MainWindow.h"
#include "gui/ScriptedGuiInteraction.h"

namespace tolvex::gui {
namespace {

class AccuracyWindow : public ::testing::Test {
protected:
    AccuracyWindow() {
        QSettings().remove(QLatin1String(kAccuracyKey));
        auto scripted = std::make_unique<testing::ScriptedGuiInteraction>();
        ui = scripted.get();
        window = std::make_unique<MainWindow>(state, std::move(scripted));
    }
    ~AccuracyWindow() override { QSettings().remove(QLatin1String(kAccuracyKey)); }

    AnalysisState state = makeDefaultState();
    testing::ScriptedGuiInteraction* ui = nullptr;
    std::unique_ptr<MainWindow> window;
};

TEST_F(AccuracyWindow, HighAccuracyIsChosenInTheIntegrationDialogAndKept) {
    EXPECT_EQ(storedAccuracy(QSettings()), 0) << "standard by default";
    ui->script.formAnswers.push_back(std::map<int, std::string>{{kAccuracyId, "1"}, {kStehfestId, "16"}});
    window->runCommand(kCmdIntegration);
    EXPECT_EQ(storedAccuracy(QSettings()), 1);
    EXPECT_TRUE(ui->script.messages.empty()) << "no Stehfest warning: the accurate functions take no table";

    // The document now computes with the accurate functions and keeps the choice when saved; the status
    // bar says which model and which accuracy are in use.
    EXPECT_EQ(state.accuracy, 1);
    const auto* pane = window->findChild<QLabel*>(QStringLiteral("modelPane"));
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->text(),
              QStringLiteral("confined aquifer, fully penetrating well (Theis) \u00b7 high accuracy"));
    state.modelKind = 0;
    window->runCommand(kCmdTypeCurveCalculation);
    ASSERT_GT(state.curveXCount, 2);
    const double x = state.curveX[1];
    EXPECT_NEAR(state.curveY[1], boost::math::expint(1, 1.0 / x), 1e-7 * state.curveY[1]);
    AnalysisState reopened = makeDefaultState();
    ASSERT_FALSE(readDocumentBytes(documentBytes(state), reopened));
    EXPECT_EQ(reopened.accuracy, 1);
    EXPECT_TRUE(ui->script.messages.empty());
    ui->script.messages.clear();

    ui->script.formAnswers.push_back(std::map<int, std::string>{{kAccuracyId, "0"}});
    window->runCommand(kCmdIntegration);
    EXPECT_EQ(storedAccuracy(QSettings()), 0);
    ASSERT_EQ(ui->script.messages.size(), 1u) << "16 terms with the standard inversion";
    EXPECT_EQ(ui->script.messages[0].rfind("More than 12 Stehfest terms lose accuracy", 0), 0u);
}

}  // namespace
}  // namespace tolvex::gui
