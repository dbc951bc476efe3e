// Long runs through the real window: the job runs on a worker thread behind the progress dialog, the
// result is committed on the UI thread, and Cancel really stops the run.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <cmath>
#include <stdexcept>

#include "core/commands/CommandIds.h"
#include "gui/MainWindow.h"
#include "gui/ProgressDialog.h"
#include "gui/ScriptedGuiInteraction.h"

namespace tolvex::gui {
namespace {

class Runs : public ::testing::Test {
protected:
    Runs() {
        auto scripted = std::make_unique<testing::ScriptedGuiInteraction>();
        ui = scripted.get();
        window = std::make_unique<MainWindow>(state, std::move(scripted));
        ui->jobs().onProgressDialog = [this](ProgressDialog& dialog) {
            ++dialogsShown;
            titles << dialog.windowTitle();
            captions << dialog.captionText();
            QObject::connect(&dialog, &ProgressDialog::stepped, [this](int k) { steps << k; });
            if (cancelAtOnce) dialog.reject();
        };
    }

    AnalysisState state = makeDefaultState();
    testing::ScriptedGuiInteraction* ui = nullptr;
    std::unique_ptr<MainWindow> window;
    int dialogsShown = 0;
    QStringList titles;
    QStringList captions;
    QList<int> steps;
    bool cancelAtOnce = false;
};

TEST_F(Runs, TypeCurveFamilyRunsBehindTheProgressDialogAndIsCommitted) {
    state.modelKind = 2;  // the leaky family shows progress
    window->runCommand(kCmdTypeCurveCalculation);
    EXPECT_EQ(dialogsShown, 1);
    EXPECT_EQ(titles, QStringList{QStringLiteral("Simulation is progressing !!!")});
    EXPECT_EQ(captions, QStringList{QStringLiteral("Number of iterations")});
    EXPECT_FALSE(steps.isEmpty());
    EXPECT_EQ(state.typeCurvesReady, 1);
    EXPECT_EQ(state.plotContent, 0);
    EXPECT_GT(state.familyCount, 1);
    EXPECT_EQ(state.modified, 1);
    EXPECT_TRUE(ui->script.messages.empty());
}

TEST_F(Runs, ConfinedFamilyRunsWithoutProgressDialog) {
    state.modelKind = 0;
    window->runCommand(kCmdTypeCurveCalculation);
    EXPECT_EQ(dialogsShown, 0);
    EXPECT_EQ(state.typeCurvesReady, 1);
}

TEST_F(Runs, LeastSquaresRunCountsItsIterationsAndShowsTheFit) {
    state.modelKind = 0;
    window->runCommand(kCmdLeastSquaresInversion);
    EXPECT_EQ(dialogsShown, 1);
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(state.plotContent, 2);
    EXPECT_EQ(state.resultKind, 1);
    EXPECT_GE(state.iterationsDone, 1);
    EXPECT_TRUE(std::isfinite(state.rmsError));
    EXPECT_EQ(state.calculated.size(), static_cast<std::size_t>(state.usedCount));
}

TEST_F(Runs, CancelledTypeCurveRunLeavesTheAnalysisAsItWas) {
    state.modelKind = 2;
    cancelAtOnce = true;
    const int familyBefore = state.familyCount;
    window->runCommand(kCmdTypeCurveCalculation);
    EXPECT_EQ(dialogsShown, 1);
    EXPECT_EQ(state.typeCurvesReady, 0);
    EXPECT_EQ(state.familyCount, familyBefore);
    EXPECT_EQ(state.modified, 0);
    // The window is usable again: the next run goes through.
    cancelAtOnce = false;
    window->runCommand(kCmdTypeCurveCalculation);
    EXPECT_EQ(state.typeCurvesReady, 1);
}

TEST_F(Runs, TheWindowDoesNotCloseUnderARunningCommand) {
    state.modelKind = 2;
    bool closeAccepted = true;
    ui->jobs().onProgressDialog = [&](ProgressDialog&) {
        QCloseEvent event;
        QCoreApplication::sendEvent(window.get(), &event);
        closeAccepted = event.isAccepted();
    };
    window->runCommand(kCmdTypeCurveCalculation);
    EXPECT_FALSE(closeAccepted);
    EXPECT_TRUE(ui->script.questions.empty());
    EXPECT_EQ(state.typeCurvesReady, 1);
}

TEST_F(Runs, ExitAsksAboutUnsavedResultsAndCloses) {
    window->show();
    state.modelKind = 0;
    window->runCommand(kCmdTypeCurveCalculation);
    window->runCommand(kCmdExit);
    EXPECT_EQ(ui->script.questions, std::vector<std::string>{"Save existing data?"});
    EXPECT_FALSE(window->isVisible());
}

// A job whose steps the test controls.
class CountingJob : public Job {
public:
    explicit CountingJob(int count, bool fail = false) : count_(count), fail_(fail) {}
    [[nodiscard]] bool showsProgress() const override { return true; }
    void run(ProgressSink& progress, std::stop_token stop) override {
        for (int k = 1; k <= count_ && !stop.stop_requested(); ++k) progress.step(k);
        if (fail_) throw std::runtime_error("the computation failed");
    }
    void finish(bool cancelled) override {
        finished = true;
        finishedCancelled = cancelled;
    }
    bool finished = false;
    bool finishedCancelled = false;

private:
    int count_;
    bool fail_;
};

TEST(JobRunnerTest, TheCounterEndsOnTheLastStepAndFinishRunsOnce) {
    JobRunner runner(nullptr);
    QString lastCounter;
    runner.onProgressDialog = [&](ProgressDialog& dialog) {
        QObject::connect(&dialog, &ProgressDialog::stepped,
                         [&, d = &dialog](int) { lastCounter = d->counterText(); });
    };
    CountingJob job(500);
    EXPECT_TRUE(runner.run(job));
    EXPECT_EQ(lastCounter, QStringLiteral("500"));
    EXPECT_TRUE(job.finished);
    EXPECT_FALSE(job.finishedCancelled);
}

TEST(JobRunnerTest, CancelStopsTheJobAndFinishKnowsIt) {
    JobRunner runner(nullptr);
    runner.onProgressDialog = [](ProgressDialog& dialog) { dialog.reject(); };
    CountingJob job(1000000000);
    EXPECT_FALSE(runner.run(job));
    EXPECT_TRUE(job.finished);
    EXPECT_TRUE(job.finishedCancelled);
}

TEST(JobRunnerTest, AFailureOfTheComputationReachesTheCallerAndNothingIsCommitted) {
    JobRunner runner(nullptr);
    CountingJob job(3, true);
    EXPECT_THROW(runner.run(job), std::runtime_error);
    EXPECT_FALSE(job.finished);
}

TEST(ProgressDialogTest, ShowsTheDateTheCaptionAndTheCounter) {
    ProgressDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Simulation is progressing !!!"));
    EXPECT_EQ(dialog.counterText(), QStringLiteral("0"));
    dialog.step(1);
    EXPECT_EQ(dialog.counterText(), QStringLiteral("1"));
    EXPECT_EQ(dialog.captionText(), QStringLiteral("Number of iterations"));
    // "Mon Dec  7 21:26:07 2026": weekday, month, day, time, year.
    EXPECT_EQ(dialog.timeText().split(QLatin1Char(' '), Qt::SkipEmptyParts).size(), 5);
}

}  // namespace
}  // namespace tolvex::gui
