// The progress window says what it counts: the computations tell what their counter counts and how far
// it goes, and the window shows "curve 7 of 20" or "iteration 12 of 50" above a bar, keeping the
// classic caption as its title.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <memory>
#include <vector>

#include "core/commands/CommandIds.h"
#include "core/typecurves/TypeCurveFamily.h"
#include "gui/MainWindow.h"
#include "gui/ProgressDialog.h"
#include "gui/ScriptedGuiInteraction.h"

namespace tolvex::gui {
namespace {

TEST(ProgressCountText, SaysTheUnitTheNumberAndTheTotal) {
    struct Row {
        ProgressCount count;
        int k;
        const char* text;
    };
    const Row rows[] = {
        {{ProgressUnit::Curve, 20, 0}, 7, "curve 7 of 20"},
        {{ProgressUnit::Iteration, 50, 0}, 12, "iteration 12 of 50"},
        {{ProgressUnit::Point, 30, 0}, 3, "point 3 of 30"},
        {{ProgressUnit::Curve, 10, 1}, 0, "curve 1 of 10"},  // a counter that starts at 0
        {{ProgressUnit::Curve, 10, 1}, 9, "curve 10 of 10"},
        {{ProgressUnit::Iteration, 50, 0}, 51, "iteration 50 of 50"},  // the search's final check
        {{ProgressUnit::Iteration, 0, 0}, 4, "iteration 4"},           // no total known
        {{ProgressUnit::Unknown, 10, 0}, 3, ""},
    };
    for (const Row& row : rows) EXPECT_EQ(progressCountText(row.count, row.k), QString::fromLatin1(row.text));
}

TEST(ProgressDialogCount, ReplacesTheCounterRowWithTheCountAndABar) {
    ProgressDialog dialog;
    dialog.show();
    const auto* counterRow = dialog.findChild<QLabel*>(QStringLiteral("counter"));
    ASSERT_NE(counterRow, nullptr);
    // Before the run says what it counts: the classic counter and a busy bar.
    EXPECT_TRUE(counterRow->isVisible());
    EXPECT_EQ(dialog.bar().maximum(), 0);
    dialog.setCount({ProgressUnit::Curve, 20, 0});
    dialog.step(7);
    EXPECT_EQ(dialog.countText(), QStringLiteral("curve 7 of 20"));
    EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("count"))->isVisible());
    EXPECT_FALSE(counterRow->isVisible());
    EXPECT_EQ(dialog.bar().minimum(), 0);
    EXPECT_EQ(dialog.bar().maximum(), 20);
    EXPECT_EQ(dialog.bar().value(), 7);
    // The classic texts stay: the title, and the counter for whoever reads it.
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Simulation is progressing !!!"));
    EXPECT_EQ(dialog.counterText(), QStringLiteral("7"));
}

// What the families tell their sink: the unit and the number of units, by model.
struct Recorder final : ProgressSink {
    std::vector<ProgressCount> begins;
    std::vector<int> steps;
    void begin(const ProgressCount& count) override { begins.push_back(count); }
    void step(int k) override { steps.push_back(k); }
};

TEST(FamilyProgress, EachFamilyTellsWhatItsCounterCounts) {
    struct Row {
        int model;
        ProgressUnit unit;
        int total;
        int offset;
        int lastStep;
    };
    // Small families: model 1 by curve (counter 0..nf-1), 2 by abscissa, 5 by curve (1..nf).
    const Row rows[] = {
        {1, ProgressUnit::Curve, 3, 1, 2},
        {2, ProgressUnit::Point, 6, 0, 6},
        {5, ProgressUnit::Curve, 4, 0, 4},
    };
    for (const Row& row : rows) {
        AnalysisState state = makeDefaultState();
        state.modelKind = row.model;
        state.tcPpCount = 6;
        state.tcPpAnisCount = 3;
        state.tcLeakyCount = 6;
        state.tcSlugAlphaCount = 4;
        Recorder recorder;
        std::stop_source never;
        ASSERT_TRUE(computeTypeCurves(state, recorder, never.get_token())) << row.model;
        ASSERT_EQ(recorder.begins.size(), 1u) << row.model;
        EXPECT_EQ(recorder.begins[0].unit, row.unit) << row.model;
        EXPECT_EQ(recorder.begins[0].total, row.total) << row.model;
        EXPECT_EQ(recorder.begins[0].offset, row.offset) << row.model;
        ASSERT_FALSE(recorder.steps.empty());
        EXPECT_EQ(recorder.steps.back(), row.lastStep) << row.model;
        EXPECT_EQ(recorder.steps.back() + row.offset, row.total) << row.model;  // ends on the last unit
    }
    // The confined family counts nothing.
    AnalysisState state = makeDefaultState();
    state.modelKind = 0;
    Recorder recorder;
    std::stop_source never;
    ASSERT_TRUE(computeTypeCurves(state, recorder, never.get_token()));
    EXPECT_TRUE(recorder.begins.empty());
    EXPECT_TRUE(recorder.steps.empty());
}

// Through the window: the text and the bar the dialog ends on.
class ProgressInTheWindow : public ::testing::Test {
protected:
    ProgressInTheWindow() {
        auto scripted = std::make_unique<testing::ScriptedGuiInteraction>();
        ui = scripted.get();
        window = std::make_unique<MainWindow>(state, std::move(scripted));
        ui->jobs().onProgressDialog = [this](ProgressDialog& dialog) {
            QObject::connect(&dialog, &ProgressDialog::stepped, [this, d = &dialog](int) {
                lastText = d->countText();
                lastValue = d->bar().value();
                lastMaximum = d->bar().maximum();
            });
        };
    }

    AnalysisState state = makeDefaultState();
    testing::ScriptedGuiInteraction* ui = nullptr;
    std::unique_ptr<MainWindow> window;
    QString lastText;
    int lastValue = -1;
    int lastMaximum = -1;
};

TEST_F(ProgressInTheWindow, ATypeCurveRunCountsCurves) {
    state.modelKind = 5;  // slug test: one step per curve of alpha, 10 curves by default
    window->runCommand(kCmdTypeCurveCalculation);
    ASSERT_EQ(state.typeCurvesReady, 1);
    EXPECT_EQ(lastText, QStringLiteral("curve 10 of 10"));
    EXPECT_EQ(lastValue, 10);
    EXPECT_EQ(lastMaximum, 10);
}

TEST_F(ProgressInTheWindow, ALeakyFamilyCountsItsAbscissaPoints) {
    state.modelKind = 2;  // 30 values of 1/u by default, all curves at each
    window->runCommand(kCmdTypeCurveCalculation);
    ASSERT_EQ(state.typeCurvesReady, 1);
    EXPECT_EQ(lastText, QStringLiteral("point 30 of 30"));
    EXPECT_EQ(lastValue, 30);
}

TEST_F(ProgressInTheWindow, AFitCountsIterationsUpToItsLimit) {
    state.modelKind = 0;
    // Every iteration up to the limit of 20: "Stop when converged" off for this run.
    window->fitSettings().setStopWhenConverged(false);
    window->runCommand(kCmdLeastSquaresInversion);
    window->fitSettings().setStopWhenConverged(true);
    ASSERT_EQ(state.iterationsDone, 20);
    EXPECT_EQ(lastText, QStringLiteral("iteration 20 of 20"));
    EXPECT_EQ(lastValue, 20);
    EXPECT_EQ(lastMaximum, 20);
}

TEST_F(ProgressInTheWindow, TheSimplexSearchCountsIterationsOfItsLimit) {
    state.modelKind = 0;
    window->runCommand(kCmdSimplexInversion);
    ASSERT_EQ(state.resultKind, 1) << "the search did not finish";
    // The search may converge before the limit of 20; the count never goes beyond it.
    EXPECT_TRUE(lastText.startsWith(QStringLiteral("iteration "))) << lastText.toStdString();
    EXPECT_TRUE(lastText.endsWith(QStringLiteral(" of 20"))) << lastText.toStdString();
    EXPECT_EQ(lastMaximum, 20);
    EXPECT_EQ(lastValue, std::min(state.iterationsDone + 1, 20));
}

}  // namespace
}  // namespace tolvex::gui
