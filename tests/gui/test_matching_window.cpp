// The "Match type curves" window on the sample pumping test: opened from a deliberately wrong placement
// (T ten times, S a tenth of the least-squares values), a scripted mouse drag of the data cloud to the
// least-squares placement gives T and S within 10 % of least squares (also under a comma locale); arrow
// keys move by 0.05 decade (Shift 0.01); the live parameters show in the results dock as a preview that
// leaves the stored summary alone; Accept is one undo entry that restores the previous parameters
// exactly; Accept and fit runs least squares; Cancel leaves the document as it was; a document without
// measurements shows the reason, and one without type curves offers to compute them.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>
#include <numbers>

#include "core/commands/EstimationCommands.h"
#include "core/diagnostics/MatchPoint.h"
#include "core/input/SampleSets.h"
#include "core/jobs/Job.h"
#include "core/state/CommaLocale.h"
#include "core/typecurves/ParameterVector.h"
#include "core/typecurves/TypeCurveFamily.h"
#include "gui/MainWindow.h"
#include "gui/MatchingWindow.h"
#include "gui/ResultsPanel.h"
#include "gui/ScriptedGuiInteraction.h"
#include "support/ScriptedInteraction.h"

namespace tolvex::gui {
namespace {

// The sample pumping test with the Theis family computed.
AnalysisState samplePumping() {
    AnalysisState s = makeDefaultState();
    installPredefinedSet(s, kSetConfinedAquifer);
    s.modelKind = 0;
    NullProgress progress;
    EXPECT_TRUE(computeTypeCurves(s, progress, {}));
    return s;
}

// T and S of least squares on the sample, run through the core's command flow.
std::pair<double, double> leastSquares(const AnalysisState& start) {
    AnalysisState s = start;
    tolvex::testing::ScriptedInteraction ui;
    FitOutcome outcome;
    EXPECT_EQ(leastSquaresInversionWith(s, ui, FitControls{}, outcome), CommandOutcome::Done);
    return {s.transmissivity, s.storativity};
}

// The number after `label` ("T = ") in a text, read with a decimal point whatever the locale.
double valueAfter(const QString& text, const QString& label) {
    const qsizetype at = text.indexOf(label);
    if (at < 0) return std::nan("");
    const QString rest = text.mid(at + label.size());
    return rest.section(QLatin1Char(' '), 0, 0).section(QLatin1Char('\n'), 0, 0).toDouble();
}

class MatchingWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto [T, S] = leastSquares(state);
        tLs = T;
        sLs = S;
        // The wrong start: a decade up and two to the right of the least-squares placement.
        state.transmissivity = static_cast<float>(10.0 * tLs);
        state.storativity = static_cast<float>(sLs / 10.0);
        auto scripted = std::make_unique<testing::ScriptedGuiInteraction>();
        ui = scripted.get();
        window = std::make_unique<MainWindow>(state, std::move(scripted));
        window->show();
    }

    MatchingWindow* open() {
        auto* action = window->findChild<QAction*>(QStringLiteral("matchTypeCurvesAction"));
        if (action == nullptr) return nullptr;
        action->trigger();
        auto* matching = window->findChild<MatchingWindow*>(QStringLiteral("matchingWindow"));
        if (matching != nullptr) {
            matching->resize(900, 800);
            QApplication::processEvents();
        }
        return matching;
    }

    MatchShift lsShift() const {
        AnalysisState s = state;
        s.transmissivity = static_cast<float>(tLs);
        s.storativity = static_cast<float>(sLs);
        return placementOf(s, buildParameterVectorDouble(s))->shift;
    }

    // Drags with the mouse so that the data move from the window's placement to `target`: press at
    // the canvas' middle, three moves, release.
    void dragTo(MatchingWindow& m, MatchShift target) {
        const MatchShift now = m.shift();
        const QPointF from = m.pixelOf(0.0, 0.0);
        const QPointF to = m.pixelOf(target.dx - now.dx, target.dy - now.dy);
        const QPointF delta = to - from;
        QWidget* canvas = m.canvas();
        const QPoint start = canvas->rect().center();
        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, start);
        for (double part : {0.3, 0.7}) QTest::mouseMove(canvas, start + (delta * part).toPoint());
        QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, start + delta.toPoint());
    }

    void acceptanceDrag() {
        MatchingWindow* m = open();
        ASSERT_NE(m, nullptr);
        ASSERT_TRUE(m->view().mapping) << m->view().result.problem;
        const MatchShift wrong = m->shift();
        const MatchShift target = lsShift();
        EXPECT_NEAR(target.dx - wrong.dx, -2.0, 1e-5);  // the wrong placement: S/10, T*10
        EXPECT_NEAR(target.dy - wrong.dy, -1.0, 1e-5);
        dragTo(*m, target);
        EXPECT_NEAR(m->shift().dx, target.dx, 0.03);
        EXPECT_NEAR(m->shift().dy, target.dy, 0.03);
        m->acceptButton()->click();
        EXPECT_NEAR(state.transmissivity, tLs, 0.1 * tLs);
        EXPECT_NEAR(state.storativity, sLs, 0.1 * sLs);
    }

    AnalysisState state = samplePumping();
    double tLs = 0.0, sLs = 0.0;
    testing::ScriptedGuiInteraction* ui = nullptr;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MatchingWindowTest, DraggingTheDataToTheLeastSquaresPlacementGivesItsParameters) {
    acceptanceDrag();
}

TEST_F(MatchingWindowTest, DraggingWorksUnderACommaLocale) {
    tolvex::testing::CommaLocale locale;
    ASSERT_TRUE(locale.active()) << "the comma locale is not installed";
    acceptanceDrag();
}

TEST_F(MatchingWindowTest, ParametersShowLiveWithADecimalPointAndAsAPreview) {
    tolvex::testing::CommaLocale locale;
    ASSERT_TRUE(locale.active());
    MatchingWindow* m = open();
    ASSERT_NE(m, nullptr);
    const QString text = m->parameters()->text();
    EXPECT_NEAR(valueAfter(text, QStringLiteral("T = ")), 10.0 * tLs, 1e-2 * tLs) << text.toStdString();
    EXPECT_NEAR(valueAfter(text, QStringLiteral("S = ")), sLs / 10.0, 1e-4 * sLs) << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1Char(','))) << text.toStdString();
    QLabel* preview = window->resultsPanel()->preview();
    EXPECT_TRUE(preview->isVisible());
    EXPECT_TRUE(preview->text().startsWith(QStringLiteral("Visual match (not accepted)")));
    QTest::keyClick(m->canvas(), Qt::Key_Up);  // a twentieth of a decade up: T x 10^0.05
    EXPECT_NEAR(valueAfter(preview->text(), QStringLiteral("T = ")), 10.0 * tLs * std::pow(10.0, 0.05),
                1e-2 * tLs)
        << preview->text().toStdString();
    EXPECT_FALSE(state.lastResults.has_value());  // a preview is no estimation
    m->reject();
    EXPECT_FALSE(preview->isVisible());
}

TEST_F(MatchingWindowTest, ArrowKeysMoveByAStep) {
    MatchingWindow* m = open();
    ASSERT_NE(m, nullptr);
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        double dx, dy;
    };
    const Case cases[] = {
        {Qt::Key_Right, Qt::NoModifier, 0.05, 0.0},    {Qt::Key_Left, Qt::NoModifier, -0.05, 0.0},
        {Qt::Key_Up, Qt::NoModifier, 0.0, 0.05},       {Qt::Key_Down, Qt::NoModifier, 0.0, -0.05},
        {Qt::Key_Right, Qt::ShiftModifier, 0.01, 0.0}, {Qt::Key_Down, Qt::ShiftModifier, 0.0, -0.01},
    };
    for (const Case& c : cases) {
        const MatchShift before = m->shift();
        QTest::keyClick(m->canvas(), c.key, c.modifiers);
        EXPECT_NEAR(m->shift().dx - before.dx, c.dx, 1e-12) << c.key;
        EXPECT_NEAR(m->shift().dy - before.dy, c.dy, 1e-12) << c.key;
    }
    // The parameters follow the closed forms: T = Q 10^dy / (4 pi).
    const plot::MatchResult& r = m->view().result;
    ASSERT_GE(r.parameters.size(), 3u);
    // (within the eight digits of the program's pi)
    EXPECT_NEAR(r.parameters[2], state.pumpingRate * std::pow(10.0, m->shift().dy) / (4.0 * std::numbers::pi),
                1e-7 * r.parameters[2]);
}

TEST_F(MatchingWindowTest, AcceptIsOneUndoEntryThatRestoresTheParametersExactly) {
    const float T0 = state.transmissivity, S0 = state.storativity;
    MatchingWindow* m = open();
    ASSERT_NE(m, nullptr);
    QTest::keyClick(m->canvas(), Qt::Key_Down);
    QTest::keyClick(m->canvas(), Qt::Key_Left);
    m->acceptButton()->click();
    EXPECT_NE(state.transmissivity, T0);
    EXPECT_EQ(window->undoHistory().undoName(), QStringLiteral("Accept match"));
    window->undoHistory().undo();
    EXPECT_EQ(state.transmissivity, T0);
    EXPECT_EQ(state.storativity, S0);
    EXPECT_FALSE(window->undoHistory().canUndo());
}

TEST_F(MatchingWindowTest, AcceptAndFitRunsLeastSquaresFromTheMatch) {
    MatchingWindow* m = open();
    ASSERT_NE(m, nullptr);
    m->setShift(lsShift());
    m->acceptAndFitButton()->click();
    ASSERT_TRUE(state.lastResults.has_value());
    EXPECT_EQ(state.lastResults->method, "lsq");
    EXPECT_NEAR(state.transmissivity, tLs, 1e-3 * tLs);
}

// The view is exported like the main plot: the picture as the window shows it.
TEST_F(MatchingWindowTest, TheExportButtonWritesThePictureOfTheMatch) {
    MatchingWindow* m = open();
    ASSERT_NE(m, nullptr);
    auto* button = m->findChild<QPushButton*>(QStringLiteral("matchExport"));
    ASSERT_NE(button, nullptr);
    ASSERT_NE(m->findChild<QPushButton*>(QStringLiteral("matchPrint")), nullptr);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString svg = folder.filePath(QStringLiteral("match.svg"));
    ui->script.fileAnswers.push_back(svg.toStdString());
    button->click();
    ASSERT_EQ(ui->script.fileDialogs.size(), 1U);
    EXPECT_EQ(ui->script.fileDialogs[0].initialName, "type-curve-match.png");
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray picture = file.readAll();
    EXPECT_TRUE(picture.contains(">match point<"));
    EXPECT_TRUE(picture.contains(">1/u<"));
}

TEST_F(MatchingWindowTest, CancelLeavesTheDocumentAsItWas) {
    MatchingWindow* m = open();
    ASSERT_NE(m, nullptr);
    // After the first paint: the main plot records the extents it drew into the document.
    const AnalysisState before = state;
    dragTo(*m, lsShift());
    QTest::keyClick(m->canvas(), Qt::Key_Right);
    m->findChild<QPushButton*>(QStringLiteral("matchingCancel"))->click();
    EXPECT_TRUE(sameDocument(before, state));
    EXPECT_EQ(state.transmissivity, before.transmissivity);
    EXPECT_EQ(state.storativity, before.storativity);
    EXPECT_FALSE(window->undoHistory().canUndo());
}

TEST_F(MatchingWindowTest, ADocumentWithoutMeasurementsShowsWhy) {
    state.allCount = state.usedCount = state.useTo = 0;
    resizeMeasurementArrays(state);
    MatchingWindow* m = open();
    ASSERT_NE(m, nullptr);
    EXPECT_FALSE(m->view().mapping);
    EXPECT_TRUE(m->note()->text().startsWith(QStringLiteral("No measurements")))
        << m->note()->text().toStdString();
    EXPECT_FALSE(m->acceptButton()->isEnabled());
    const MatchShift opened = m->shift();
    QTest::keyClick(m->canvas(), Qt::Key_Right);  // nothing to move, nothing breaks
    dragTo(*m, {1.0, 1.0});
    EXPECT_EQ(m->shift().dx, opened.dx);
    EXPECT_EQ(m->shift().dy, opened.dy);
}

TEST_F(MatchingWindowTest, WithoutTypeCurvesTheWindowOffersToComputeThem) {
    state.typeCurvesReady = 0;
    MatchingWindow* m = open();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->note()->text(), QString::fromUtf8(plot::kNoFamilyNote));
    EXPECT_FALSE(m->computeButton()->isHidden());
    m->computeButton()->click();  // the Type-curve Calculation flow, its dialogs answered OK
    EXPECT_EQ(state.typeCurvesReady, 1);
    EXPECT_TRUE(m->view().mapping);
    EXPECT_TRUE(m->computeButton()->isHidden());
    EXPECT_TRUE(m->acceptButton()->isEnabled());
}

}  // namespace
}  // namespace tolvex::gui
