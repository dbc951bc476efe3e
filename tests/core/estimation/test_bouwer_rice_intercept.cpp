// Bouwer and Rice with an intercept: ln(H/H0) = a - b t through heads whose straight part does not pass
// through the origin. Reference: numpy.polyfit in tests/reference/bouwer_rice_intercept.py.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/commands/EstimationCommands.h"
#include "core/estimation/BouwerRice.h"
#include "core/input/MeasurementTable.h"
#include "core/state/ModelKind.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

const std::vector<double> kTimes{2.0, 5.0, 10.0, 20.0, 30.0, 45.0, 60.0, 90.0, 120.0};
const std::vector<double> kHeads{0.6903200143462891, 0.6606705334016293,  0.6243775784114112,
                                 0.5482630987723047, 0.4877267346257312,  0.40636642572346715,
                                 0.3362164937067333, 0.23293402966303192, 0.16089553106195606};
constexpr double kSlope = 0.012308962036281252;     // numpy.polyfit: b
constexpr double kIntercept = -0.3497307224600628;  // a
constexpr double kSlopeThroughOrigin = 0.016829403803207688;

AnalysisState offsetHeads(int intercept) {
    AnalysisState s = makeDefaultState();
    s.modelKind = static_cast<int>(ModelKind::BouwerRice);
    replaceMeasurements(s, kTimes, kHeads);
    s.brFitIntercept = intercept;
    return s;
}

TEST(BouwerRiceIntercept, TheLineWithAnInterceptHasTheSlopeOfPolyfit) {
    AnalysisState s = offsetHeads(1);
    ASSERT_FALSE(checkBouwerRiceInputs(s).has_value());
    NullProgress progress;
    EXPECT_EQ(bouwerRiceEstimation(s, progress, {}), FitEnd::ClosedForm);
    EXPECT_NEAR(s.lsParams[1], kSlope, 1e-13);
    EXPECT_NEAR(s.brInterceptValue, kIntercept, 1e-13);
    // K from the rate as Bouwer and Rice give it: K = b rc^2 ln(Re/rw) / (2 Le).
    const double k = kSlope * s.brLnReRw * s.casingRadius * s.casingRadius / 2.0 / s.screenLength;
    EXPECT_NEAR(s.hydraulicConductivity, k, 1e-6 * k);
    // The measurements stay as entered, the computed heads lie on the line.
    for (std::size_t i = 0; i < kHeads.size(); ++i) EXPECT_NEAR(s.measured[i], kHeads[i], 1e-15);
    EXPECT_NEAR(s.calculated[3], std::exp(kIntercept - kSlope * kTimes[3]), 1e-12);
}

TEST(BouwerRiceIntercept, TheDefaultStaysTheLineThroughTheOrigin) {
    AnalysisState s = offsetHeads(0);
    s.maxIterations = s.lsMaxIterations = 50;
    NullProgress progress;
    (void)bouwerRiceEstimation(s, progress, {});
    EXPECT_NEAR(s.lsParams[1], kSlopeThroughOrigin, 1e-4 * kSlopeThroughOrigin);
    EXPECT_EQ(s.brInterceptValue, 0.0);
}

TEST(BouwerRiceIntercept, TheCommandFitsTheInterceptAndAHeldRateMovesOnlyTheIntercept) {
    AnalysisState s = offsetHeads(1);
    testing::ScriptedInteraction ui;
    FitOutcome outcome;
    ASSERT_EQ(leastSquaresInversionWith(s, ui, FitControls::fullRun(), outcome), CommandOutcome::Done)
        << ::testing::PrintToString(ui.messages);
    EXPECT_EQ(outcome.end, FitEnd::ClosedForm);
    EXPECT_NEAR(s.brRate, kSlope, 1e-7);
    EXPECT_NEAR(s.brInterceptValue, kIntercept, 1e-13);

    // With the rate held, only the intercept moves: a = mean(ln h + b t).
    AnalysisState held = offsetHeads(1);
    prepareBouwerRice(held);
    const double rate = held.lsParams[1];
    fitBouwerRiceLine(held, true);
    EXPECT_EQ(held.lsParams[1], rate);
    double a = 0.0;
    for (std::size_t i = 0; i < kTimes.size(); ++i) a += (std::log(kHeads[i]) + rate * kTimes[i]) / 9.0;
    EXPECT_NEAR(held.brInterceptValue, a, 1e-12 * std::fabs(a));
}

TEST(BouwerRiceIntercept, OneTimeOnlyIsRefused) {
    AnalysisState s = makeDefaultState();
    s.modelKind = static_cast<int>(ModelKind::BouwerRice);
    replaceMeasurements(s, {5.0, 5.0}, {0.5, 0.4});
    s.brFitIntercept = 1;
    EXPECT_THAT(*checkBouwerRiceInputs(s), ::testing::HasSubstr("two different times"));
    s.brFitIntercept = 0;
    EXPECT_FALSE(checkBouwerRiceInputs(s).has_value());
}

}  // namespace
}  // namespace tolvex
