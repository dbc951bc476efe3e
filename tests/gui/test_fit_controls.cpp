// The fit controls of the window: "Stop when converged" in the matching criteria (on by default,
// remembered with the program's settings), a Fix box and optional bounds beside each fitted field of the
// initial-guess dialog, the window's fits running under them, and "Estimate start values" with Undo.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSettings>
#include <fstream>
#include <map>
#include <string>

#include "core/commands/CommandIds.h"
#include "core/commands/EstimationForms.h"
#include "gui/FormDialog.h"
#include "gui/MainWindow.h"
#include "gui/ScriptedGuiInteraction.h"

namespace tolvex::gui {
namespace {

constexpr int kMaxIterationsId = 146;  // "Maximum Number of Iteration" of the matching criteria

// The Theis least-squares optimum of the default pumping test as scipy finds it
// (tests/reference/cli_references.py, tests/data/render/cli_fit_values.csv).
double referenceTransmissivity() {
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/render/cli_fit_values.csv");
    for (std::string line; std::getline(in, line);) {
        const QStringList fields = QString::fromStdString(line).split(QLatin1Char(','));
        if (fields.size() >= 3 && fields[0] == QLatin1String("theis-lsq") &&
            fields[1] == QLatin1String("transmissivity"))
            return fields[2].toDouble();
    }
    ADD_FAILURE() << "no Theis least-squares transmissivity in cli_fit_values.csv";
    return 0.0;
}

// Every test starts and ends with the program's fit settings unset (the defaults).
class FitSettingsReset : public ::testing::Test {
protected:
    FitSettingsReset() { QSettings().remove(QStringLiteral("fit")); }
    ~FitSettingsReset() override { QSettings().remove(QStringLiteral("fit")); }
};

class FitControlsWindow : public FitSettingsReset {
protected:
    FitControlsWindow() {
        auto scripted = std::make_unique<testing::ScriptedGuiInteraction>();
        ui = scripted.get();
        window = std::make_unique<MainWindow>(state, std::move(scripted));
    }

    AnalysisState state = makeDefaultState();
    testing::ScriptedGuiInteraction* ui = nullptr;
    std::unique_ptr<MainWindow> window;
};

// --- Stop when converged ---------------------------------------------------------------------------

TEST_F(FitSettingsReset, StopWhenConvergedIsOnByDefaultAndRemembered) {
    QSettings settings;
    EXPECT_TRUE(FitSettings(settings).stopWhenConverged());
    FitSettings(settings).setStopWhenConverged(false);
    QSettings reopened;  // as the program's next start reads them
    EXPECT_FALSE(FitSettings(reopened).stopWhenConverged());
    EXPECT_FALSE(FitSettings(reopened).controls(0).stopWhenConverged);
}

TEST_F(FitSettingsReset, TheMatchingCriteriaShowTheBoxAndStoreItOnOk) {
    AnalysisState state = makeDefaultState();
    FitControls controls;  // as FitSettings gives them by default
    Form form = matchingCriteriaForm();
    form.fitControlsShown = FitControlsShown::StopWhenConverged;
    form.fitControls = &controls;
    FormDialog dialog(form, state);
    ASSERT_NE(dialog.stopWhenConvergedBox(), nullptr);
    EXPECT_TRUE(dialog.stopWhenConvergedBox()->isChecked());
    EXPECT_EQ(dialog.stopWhenConvergedBox()->text(), QStringLiteral("Stop when converged"));
    dialog.stopWhenConvergedBox()->setChecked(false);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(controls.stopWhenConverged);
    // The same form without the program's controls (the command line's) shows no box.
    FormDialog plain(matchingCriteriaForm(), state);
    EXPECT_EQ(plain.stopWhenConvergedBox(), nullptr);
}

struct StopCase {
    const char* name;
    int command;
    int limit;
};

class StopWhenConverged : public FitControlsWindow, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StopWhenConverged, OnStopsBeforeTheLimitAndOffRunsEveryIteration) {
    const StopCase& c = GetParam();
    state.modelKind = 0;
    const AnalysisState start = state;
    ui->script.formAnswers.push_back(std::map<int, std::string>{{kMaxIterationsId, std::to_string(c.limit)}});
    window->runCommand(c.command);
    const int convergedAfter = state.iterationsDone;
    const float convergedT = state.transmissivity;
    EXPECT_GT(convergedAfter, 0);
    EXPECT_LT(convergedAfter, c.limit);

    state = start;
    window->fitSettings().setStopWhenConverged(false);
    ui->script.formAnswers.push_back(std::map<int, std::string>{{kMaxIterationsId, std::to_string(c.limit)}});
    window->runCommand(c.command);
    EXPECT_EQ(state.iterationsDone, c.limit);
    // Stopping at convergence gives the full run's answer (least squares: the same float).
    EXPECT_NEAR(state.transmissivity, convergedT, 1e-3 * convergedT);
    EXPECT_TRUE(ui->script.messages.empty()) << ui->script.messages.front();
}

INSTANTIATE_TEST_SUITE_P(Methods, StopWhenConverged,
                         // The simplex from the default start did not settle within 5000 iterations.
                         ::testing::Values(StopCase{"leastSquares", kCmdLeastSquaresInversion, 20}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Fixed parameters and bounds in the window's fits ----------------------------------------------------

TEST_F(FitControlsWindow, AFixedStorativityStaysBitIdentical) {
    state.modelKind = 0;
    state.storativity = 3.0e-4f;
    FitControls controls = window->fitSettings().controls(0);
    controls.fixed.insert("storativity");
    window->fitSettings().store(0, controls);
    const float transmissivityBefore = state.transmissivity;
    window->runCommand(kCmdLeastSquaresInversion);
    EXPECT_EQ(state.storativity, 3.0e-4f);
    EXPECT_NE(state.transmissivity, transmissivityBefore);
    EXPECT_TRUE(ui->script.messages.empty());
}

TEST_F(FitControlsWindow, TransmissivityEndsOnAnUpperBoundBelowTheOptimumAndTheUserIsTold) {
    const double optimum = referenceTransmissivity();
    const double upper = 8.0;
    ASSERT_GT(optimum, upper * 1.01);
    state.modelKind = 0;
    FitControls controls = window->fitSettings().controls(0);
    controls.bounds["transmissivity"] = {1.0, upper};
    window->fitSettings().store(0, controls);
    for (int command : {kCmdLeastSquaresInversion, kCmdSimplexInversion}) {
        SCOPED_TRACE(command);
        state = makeDefaultState();
        ui->script.messages.clear();
        ui->script.formAnswers.push_back(std::map<int, std::string>{{kMaxIterationsId, "200"}});
        window->runCommand(command);
        EXPECT_NEAR(state.transmissivity, upper, 1e-6 * upper);
        ASSERT_EQ(ui->script.messages.size(), 1u);
        // One message; the simplex also says it did not settle within its 200 iterations.
        const std::string& text = ui->script.messages[0];
        EXPECT_EQ(text.rfind("The fit may not be the best one:\n", 0), 0u) << text;
        EXPECT_TRUE(text.ends_with("\n- transmissivity ended on a bound; the best fit may lie beyond it"))
            << text;
    }
}

TEST_F(FitControlsWindow, ARunStoppedByItsLimitIsWarnedAboutInOneMessage) {
    state.modelKind = 0;
    ui->script.formAnswers.push_back(std::map<int, std::string>{{kMaxIterationsId, "2"}});
    window->runCommand(kCmdLeastSquaresInversion);
    EXPECT_EQ(state.iterationsDone, 2);
    ASSERT_EQ(ui->script.messages.size(), 1u);
    EXPECT_EQ(
        ui->script.messages[0],
        "The fit may not be the best one:\n- not converged after 2 iterations; raise the limit or improve "
        "the start");
}

TEST_F(FitSettingsReset, FixedParametersAndBoundsAreKeptPerModelWithTheProgramsSettings) {
    QSettings settings;
    FitControls controls;
    controls.fixed.insert("storativity");
    controls.bounds["transmissivity"] = {0.1 + 0.2, std::numeric_limits<double>::infinity()};
    FitSettings(settings).store(0, controls);
    QSettings reopened;
    const FitControls back = FitSettings(reopened).controls(0);
    EXPECT_EQ(back.fixed, controls.fixed);
    ASSERT_EQ(back.bounds.count("transmissivity"), 1u);
    EXPECT_EQ(back.bounds.at("transmissivity").lower, 0.1 + 0.2);
    EXPECT_EQ(back.bounds.at("transmissivity").upper, std::numeric_limits<double>::infinity());
    // Another model does not inherit them.
    EXPECT_TRUE(FitSettings(reopened).controls(5).fixed.empty());
    EXPECT_TRUE(FitSettings(reopened).controls(5).bounds.empty());
}

// --- The Fix box and the bounds in the initial-guess dialog ----------------------------------------------

class GuessDialogControls : public ::testing::Test {
protected:
    FormDialog& open() {
        form = *initialGuessForm(0);
        form.fitControlsShown = FitControlsShown::FixAndBounds;
        form.fitControls = &controls;
        dialog = std::make_unique<FormDialog>(form, state);
        dialog->showError = [this](QWidget*, const QString& message) { errors << message; };
        return *dialog;
    }
    [[nodiscard]] std::size_t indexOf(const std::string& field) const {
        for (std::size_t i = 0; i < form.fields.size(); ++i)
            if (form.fields[i].field == field) return i;
        throw std::logic_error("no such field");
    }

    AnalysisState state = makeDefaultState();
    FitControls controls;
    Form form;
    std::unique_ptr<FormDialog> dialog;
    QStringList errors;
};

TEST_F(GuessDialogControls, OnlyTheFittedFieldsHaveAFixBoxAndBounds) {
    FormDialog& d = open();
    for (const char* fitted : {"storativity", "transmissivity"}) {
        EXPECT_NE(d.fixBox(indexOf(fitted)), nullptr) << fitted;
        EXPECT_NE(d.lowerEdit(indexOf(fitted)), nullptr) << fitted;
        EXPECT_NE(d.upperEdit(indexOf(fitted)), nullptr) << fitted;
    }
    for (const char* given : {"pumpingRate", "radialDistance"}) EXPECT_EQ(d.fixBox(indexOf(given)), nullptr);
    EXPECT_EQ(d.stopWhenConvergedBox(), nullptr);
    EXPECT_EQ(d.lowerEdit(indexOf("transmissivity"))->placeholderText(), QStringLiteral("lower"));
}

TEST_F(GuessDialogControls, OkStoresTheFixBoxAndTheBounds) {
    controls.bounds["storativity"] = {1e-6, 1e-2};
    FormDialog& d = open();
    EXPECT_EQ(d.lowerEdit(indexOf("storativity"))->text(), QStringLiteral("1e-06"));
    d.fixBox(indexOf("storativity"))->setChecked(true);
    d.lowerEdit(indexOf("storativity"))->clear();
    d.upperEdit(indexOf("storativity"))->clear();
    d.lowerEdit(indexOf("transmissivity"))->setText(QStringLiteral("1,5"));  // a German user's comma
    d.upperEdit(indexOf("transmissivity"))->setText(QStringLiteral(" 20 "));
    d.accept();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(controls.fixed, std::set<std::string>{"storativity"});
    EXPECT_EQ(controls.bounds.count("storativity"), 0u);
    ASSERT_EQ(controls.bounds.count("transmissivity"), 1u);
    EXPECT_EQ(controls.bounds.at("transmissivity").lower, 1.5);
    EXPECT_EQ(controls.bounds.at("transmissivity").upper, 20.0);
}

struct BadBounds {
    const char* lower;
    const char* upper;
    const char* message;
};

class BadBoundTexts : public GuessDialogControls, public ::testing::WithParamInterface<BadBounds> {};

TEST_P(BadBoundTexts, AreRefusedNamingTheFieldAndNothingIsStored) {
    const BadBounds& c = GetParam();
    FormDialog& d = open();
    d.setFieldText(indexOf("transmissivity"), QStringLiteral("12"));
    d.lowerEdit(indexOf("transmissivity"))->setText(QString::fromUtf8(c.lower));
    d.upperEdit(indexOf("transmissivity"))->setText(QString::fromUtf8(c.upper));
    d.fixBox(indexOf("storativity"))->setChecked(true);
    const float transmissivityBefore = state.transmissivity;
    d.accept();
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_EQ(errors, QStringList{QString::fromUtf8(c.message)});
    EXPECT_EQ(state.transmissivity, transmissivityBefore);
    EXPECT_TRUE(controls.fixed.empty());
    EXPECT_TRUE(controls.bounds.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BadBoundTexts,
    ::testing::Values(
        BadBounds{"abc", "",
                  "Please enter a number as the lower bound of \"Transmissivity (T)\", or leave it empty."},
        BadBounds{"", "1e999",
                  "Please enter a number as the upper bound of \"Transmissivity (T)\", or leave it empty."},
        BadBounds{"5", "5", "The lower bound of \"Transmissivity (T)\" must lie below its upper bound."},
        BadBounds{"9", "2", "The lower bound of \"Transmissivity (T)\" must lie below its upper bound."},
        BadBounds{"1.5.", "",
                  "Please enter a number as the lower bound of \"Transmissivity (T)\", or leave it empty."}));

// --- Estimate start values ---------------------------------------------------------------------------------

TEST_F(FitControlsWindow, EstimateStartValuesChangesTheParametersAndUndoBringsThemBack) {
    state.modelKind = 0;
    state.transmissivity = 100.0f;
    state.storativity = 0.5f;
    const AnalysisState before = state;
    window->runCommand(kCmdEstimateStartValues);
    EXPECT_NE(state.transmissivity, before.transmissivity);
    EXPECT_NE(state.storativity, before.storativity);
    // Near the least-squares optimum: a start, not the fit.
    const double optimum = referenceTransmissivity();
    EXPECT_NEAR(state.transmissivity, optimum, 0.5 * optimum);
    ASSERT_EQ(ui->script.messages.size(), 1u);
    EXPECT_EQ(ui->script.messages[0].rfind("Start values estimated from the used measurements (", 0), 0u)
        << ui->script.messages[0];
    EXPECT_NE(ui->script.messages[0].find("\ntransmissivity = "), std::string::npos);
    EXPECT_EQ(window->undoHistory().undoName(), QStringLiteral("Estimate start values"));
    window->runCommand(kCmdEditUndo);
    EXPECT_EQ(state.transmissivity, before.transmissivity);
    EXPECT_EQ(state.storativity, before.storativity);
}

TEST_F(FitControlsWindow, EstimateStartValuesIsInTheInterpretationMenuForModelsZeroToEight) {
    QAction* item = window->action(kCmdEstimateStartValues);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Estimate start values"));
    for (int model = 0; model <= 10; ++model) {
        state.modelKind = model;
        window->updateCommandStates();
        EXPECT_EQ(item->isEnabled(), model <= 8) << model;
    }
}

}  // namespace
}  // namespace tolvex::gui
