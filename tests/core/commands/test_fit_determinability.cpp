// A fit needs at least as many used measurements as it has free parameters; a fitted storage
// coefficient of 1 or more and all-zero drawdowns are warned about (the fit is still reported); and a
// Jacob fit whose RMS error overflows has failed.
#include <gtest/gtest.h>

#include <cmath>

#include "core/commands/EstimationCommands.h"
#include "core/input/MeasurementTable.h"
#include "core/state/FieldTable.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using testing::ScriptedInteraction;

AnalysisState withMeasurements(int model, const std::vector<double>& times,
                               const std::vector<double>& drawdowns) {
    AnalysisState s = makeDefaultState();
    s.modelKind = model;
    replaceMeasurements(s, times, drawdowns);
    return s;
}

TEST(FitDeterminability, FewerMeasurementsThanParametersAreRefused) {
    using Command = CommandOutcome (*)(AnalysisState&, Interaction&);
    struct Row {
        int model;
        Command command;
        std::size_t measurements;
        const char* message;
    };
    const std::vector<Row> rows{
        {0, leastSquaresInversion, 1,
         "Only 1 measurement is in use, fewer than the 2 parameters the fit determines (storativity, "
         "transmissivity): use at least 2 measurements."},
        {0, simplexInversion, 1, "Only 1 measurement is in use, fewer than the 2 parameters"},
        {9, leastSquaresInversion, 1, "Only 1 measurement is in use, fewer than the 2 parameters"},
        {4, leastSquaresInversion, 5, "Only 5 measurements are in use, fewer than the 6 parameters"},
    };
    for (const Row& row : rows) {
        std::vector<double> times, drawdowns;
        for (std::size_t i = 0; i < row.measurements; ++i) {
            times.push_back(5.0 * static_cast<double>(i + 1));
            drawdowns.push_back(3.0 + 0.1 * static_cast<double>(i));
        }
        AnalysisState s = withMeasurements(row.model, times, drawdowns);
        const AnalysisState before = s;
        ScriptedInteraction ui;
        EXPECT_EQ(row.command(s, ui), CommandOutcome::Refused) << row.model;
        ASSERT_EQ(ui.messages.size(), 1u) << row.model;
        EXPECT_EQ(ui.messages[0].rfind(row.message, 0), 0u) << ui.messages[0];
        EXPECT_EQ(s.storativity, before.storativity);
        EXPECT_EQ(s.resultKind, before.resultKind);
    }
    AnalysisState enough = withMeasurements(0, {5.0, 10.0}, {3.41, 3.58});
    ScriptedInteraction ui;
    EXPECT_NE(leastSquaresInversion(enough, ui), CommandOutcome::Refused);
}

TEST(FitDeterminability, AllZeroDrawdownsAndAStorativityOfOneOrMoreAreWarnedAbout) {
    AnalysisState s = withMeasurements(0, {5.0, 10.0, 20.0, 40.0}, {0.0, 0.0, 0.0, 0.0});
    ScriptedInteraction ui;
    ASSERT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Done);
    ASSERT_GE(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages.back(),
              "Every used drawdown is zero: the measurements show no response to the test, so the fitted "
              "parameters are not determined by them.");
    // Nothing to fit drives S far beyond any aquifer's.
    EXPECT_GE(s.storativity, 1.0f);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].rfind("The fitted storativity is " + formatGeneral(s.storativity, 6) +
                                       ": a storage coefficient of 1 or more is not physical",
                                   0),
              0u)
        << ui.messages[0];

    AnalysisState good = makeDefaultState();
    ScriptedInteraction quiet;
    ASSERT_EQ(leastSquaresInversion(good, quiet), CommandOutcome::Done);
    EXPECT_TRUE(quiet.messages.empty()) << quiet.messages.front();
}

TEST(FitDeterminability, JacobWithAnOverflowingRmsErrorFails) {
    AnalysisState s = withMeasurements(9, {1.0, 10.0, 100.0, 1000.0}, {1e30, 3e30, 4e30, 8e30});
    s.rmsError = 0.5f;
    const AnalysisState before = s;
    ScriptedInteraction ui;
    EXPECT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Refused);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("The estimation failed: rmsError came out as inf", 0), 0u)
        << ui.messages[0];
    EXPECT_EQ(s.transmissivity, before.transmissivity);
    EXPECT_EQ(s.rmsError, 0.5f);
}

}  // namespace
}  // namespace tolvex
