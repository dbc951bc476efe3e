// Long runs through the real window: the job runs on a worker thread behind the progress dialog, the
// result is committed on the UI thread, and Cancel really stops the run.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <cmath>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>

#include "core/commands/CommandIds.h"
#include "gui/MainWindow.h"
#include "gui/ProgressDialog.h"
#include "gui/ScriptedGuiInteraction.h"

namespace tolvex::gui {
namespace {

// The values of the Theis least-squares fit in tests/data/render/cli_fit_values.csv, by quantity.
std::map<std::string, double> theisFitReference() {
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/render/cli_fit_values.csv");
    std::map<std::string, double> values;
    for (std::string line; std::getline(in, line);) {
        const QStringList fields = QString::fromStdString(line).split(QLatin1Char(','));
        if (fields.size() >= 3 && fields[0] == QLatin1String("theis-lsq"))
            values[fields[1].toStdString()] = fields[2].toDouble();
    }
    EXPECT_EQ(values.size(), 3u);
    return values;
}

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
    EXPECT_EQ(state.modified, 1);
    EXPECT_TRUE(ui->script.messages.empty());
    // The committed family: the r/B values on the logarithmic grid 0.005 .. 5 of 20 values, 30 points each.
    ASSERT_EQ(state.familyCount, 20);
    EXPECT_EQ(state.curveXCount, 31);
    for (int k = 0; k < 20; ++k) {
        const double expected = std::pow(10.0, std::log10(0.005) + k * std::log10(5.0 / 0.005) / 19);
        EXPECT_NEAR(state.familyValues[static_cast<std::size_t>(k)], expected, 1e-6 * expected) << k;
    }
}

TEST_F(Runs, ConfinedFamilyRunsWithoutProgressDialog) {
    state.modelKind = 0;
    window->runCommand(kCmdTypeCurveCalculation);
    EXPECT_EQ(dialogsShown, 0);
    EXPECT_EQ(state.typeCurvesReady, 1);
}

TEST_F(Runs, LeastSquaresRunCountsItsIterationsAndShowsTheFit) {
    state.modelKind = 0;
    // The run the method was first written for: every iteration up to the limit of 20 ("Stop when
    // converged" off; the setting is read when the run starts and is put back at once).
    window->fitSettings().setStopWhenConverged(false);
    window->runCommand(kCmdLeastSquaresInversion);
    window->fitSettings().setStopWhenConverged(true);
    EXPECT_EQ(dialogsShown, 1);
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(state.plotContent, 2);
    EXPECT_EQ(state.resultKind, 1);
    EXPECT_EQ(state.calculated.size(), static_cast<std::size_t>(state.usedCount));
    // The Theis least-squares fit of the default pumping test, committed from the worker thread: the
    // known reference T = 8.4200735, S and the RMS misfit as scipy's least squares finds them
    // (tests/reference/cli_references.py). The run uses all 20 iterations allowed and the counter ends
    // on the last (regression pins; the dialog may show fewer of the steps than the run made).
    EXPECT_EQ(state.transmissivity, 8.4200735f);
    const std::map<std::string, double> reference = theisFitReference();
    EXPECT_NEAR(state.storativity, reference.at("storativity"), 1e-5 * reference.at("storativity"));
    EXPECT_NEAR(state.rmsError, reference.at("rmsError"), 1e-6 * reference.at("rmsError"));
    EXPECT_EQ(state.iterationsDone, 20);
    EXPECT_EQ(steps.last(), 20);
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
