// Joint fits of several observation wells against scipy's joint least squares of the same data
// (tests/reference/joint_fit_reference.py), and the classic single series left exactly as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "SeriesFixtures.h"
#include "core/commands/EstimationCommands.h"
#include "core/estimation/JacobStraightLine.h"
#include "core/estimation/JointSeries.h"
#include "core/estimation/Uncertainty.h"
#include "core/input/SampleSets.h"
#include "core/numerics/Constants.h"
#include "core/state/FieldTable.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using testing::kLeakyWells;
using testing::kTheisWells;
using testing::loadSeries;
using testing::threeWellState;

struct Expected {
    double value = 0.0;
    double tolerance = 0.0;
};

// joint_fits.csv: case -> field -> expected value and relative tolerance.
std::map<std::string, std::map<std::string, Expected>> referenceFits() {
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/reference/joint_fits.csv");
    std::map<std::string, std::map<std::string, Expected>> table;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::stringstream row(line);
        std::string name, model, field, value, tolerance;
        std::getline(row, name, ',');
        std::getline(row, model, ',');
        std::getline(row, field, ',');
        std::getline(row, value, ',');
        std::getline(row, tolerance, ',');
        table[name][field] = {std::stod(value), std::stod(tolerance)};
    }
    return table;
}

float fieldOf(const AnalysisState& s, const std::string& name) {
    return s.*std::get<float AnalysisState::*>(findField(name)->member);
}

// A least-squares run through the command, from a start away from the truth.
AnalysisState fitted(AnalysisState s) {
    s.maxIterations = 200;
    s.storativity = 3e-4f;
    s.transmissivity = 40.0f;
    s.upperBedConductivity = 0.002f;
    testing::ScriptedInteraction ui;
    EXPECT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Done);
    return s;
}

struct Case {
    const char* name;
    const char* data;
    testing::ThreeWells wells;
};

TEST(JointFit, ThreeWellsGiveScipysJointOptimum) {
    const auto reference = referenceFits();
    const Case cases[] = {
        {"theis_3", "theis", kTheisWells},
        {"theis_3_w", "theis", {0, 500.0f, {20.0, 60.0, 150.0}, {1.0, 4.0, 0.25}}},
        {"leaky_3", "leaky", kLeakyWells},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AnalysisState s = fitted(threeWellState(c.data, c.wells));
        ASSERT_EQ(reference.count(c.name), 1u);
        for (const auto& [field, expected] : reference.at(c.name)) {
            const double value = field == "rmsError" ? s.rmsError : fieldOf(s, field);
            EXPECT_NEAR(value / expected.value, 1.0, expected.tolerance) << field << " = " << value;
        }
    }
}

TEST(JointFit, SplitsTheDrawdownsBackToTheirSeries) {
    const AnalysisState start = threeWellState("theis", kTheisWells);
    const AnalysisState s = fitted(start);
    EXPECT_FALSE(s.joint.joined());
    EXPECT_EQ(s.usedCount, 14);
    EXPECT_EQ(s.times, start.times);
    EXPECT_EQ(s.measured, start.measured);
    ASSERT_EQ(s.calculated.size(), 14u);
    for (const ObservationSeries& x : s.extraSeries) {
        ASSERT_EQ(x.calculated.size(), 14u);
        for (std::size_t i = 0; i < 14; ++i)
            EXPECT_NEAR(x.calculated[i], x.values[i], 0.05 * x.values[i] + 1e-3);
    }
}

TEST(JointFit, TheisDrawdownAtAFurtherWellIsE1AtItsDistance) {
    AnalysisState s = threeWellState("theis", kTheisWells);
    s.storativity = 2e-4f;
    s.transmissivity = 50.0f;
    calculateFurtherSeries(s);
    const double T = 50.0f, S = 2e-4f, Q = 500.0f;
    for (std::size_t k = 0; k < 2; ++k) {
        const ObservationSeries& x = s.extraSeries[k];
        ASSERT_EQ(x.calculated.size(), x.times.size());
        for (std::size_t i = 0; i < x.times.size(); ++i) {
            const double r = x.radialDistance;
            const double u = r * r * S / (4.0 * T * x.times[i]);
            const double e1 = -std::expint(-u);  // E1(u) = -Ei(-u)
            EXPECT_NEAR(x.calculated[i], Q / (4.0 * kProgramPi * T) * e1, 2e-6 * x.calculated[i] + 1e-9);
        }
    }
}

// The classic sample fitted as it always was, and the same with further series that take no part: the
// parameters, RMS and drawdowns bit for bit.
TEST(JointFit, SeriesThatTakeNoPartLeaveTheClassicFitBitForBit) {
    AnalysisState classic = makeDefaultState();
    testing::ScriptedInteraction ui;
    ASSERT_EQ(leastSquaresInversion(classic, ui), CommandOutcome::Done);

    ObservationSeries wild = loadSeries("theis", 2, 60.0);
    for (double& v : wild.values) v *= 50.0;  // data no fit could reconcile with the sample
    ObservationSeries off = wild;
    off.settings.on = false;
    ObservationSeries weightless = wild;
    weightless.settings.weight = 0.0;
    ObservationSeries emptyRange = wild;
    emptyRange.useFrom = 5;
    emptyRange.useTo = 4;
    for (const ObservationSeries& extra : {off, weightless, emptyRange}) {
        AnalysisState s = makeDefaultState();
        s.extraSeries.push_back(extra);
        ASSERT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Done);
        EXPECT_EQ(s.transmissivity, classic.transmissivity);
        EXPECT_EQ(s.storativity, classic.storativity);
        EXPECT_EQ(s.rmsError, classic.rmsError);
        EXPECT_EQ(s.iterationsDone, classic.iterationsDone);
        EXPECT_EQ(s.calculated, classic.calculated);
        EXPECT_TRUE(s.extraSeries[0].calculated.empty());
    }
}

// The classic series given again as a further series, the first switched off: the joined path with
// weight 1 does the classic arithmetic, so the fits agree bit for bit.
TEST(JointFit, OneJoinedSeriesOfWeightOneIsTheClassicFit) {
    for (int model : {0, 2}) {
        SCOPED_TRACE(model);
        AnalysisState classic = makeDefaultState();
        classic.modelKind = model;
        testing::ScriptedInteraction ui;
        ASSERT_EQ(leastSquaresInversion(classic, ui), CommandOutcome::Done);

        AnalysisState s = makeDefaultState();
        s.modelKind = model;
        ObservationSeries same;
        same.radialDistance = s.radialDistance;
        same.times.assign(s.times.begin(), s.times.begin() + s.usedCount);
        same.values.assign(s.measured.begin(), s.measured.begin() + s.usedCount);
        s.extraSeries.push_back(same);
        s.firstSeries.on = false;
        ASSERT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Done);
        EXPECT_EQ(s.transmissivity, classic.transmissivity);
        EXPECT_EQ(s.storativity, classic.storativity);
        EXPECT_EQ(s.rmsError, classic.rmsError);
        EXPECT_EQ(s.extraSeries[0].calculated, classic.calculated);
        ASSERT_EQ(s.calculated.size(), classic.calculated.size());
        for (std::size_t i = 0; i < s.calculated.size(); ++i)  // the first series: the model at the fit
            EXPECT_NEAR(s.calculated[i], classic.calculated[i], 1e-5 * classic.calculated[i]);
    }
}

TEST(JointFit, ASwitchedOffOrWeightlessWellDoesNotCount) {
    const AnalysisState base = fitted(threeWellState("theis", kTheisWells));
    for (bool switchedOff : {true, false}) {
        AnalysisState s = threeWellState("theis", kTheisWells);
        ObservationSeries wild = loadSeries("theis", 3, 150.0);
        for (double& v : wild.values) v = 100.0 - v;
        if (switchedOff)
            wild.settings.on = false;
        else
            wild.settings.weight = 0.0;
        s.extraSeries.push_back(wild);
        s = fitted(s);
        EXPECT_EQ(s.transmissivity, base.transmissivity);
        EXPECT_EQ(s.storativity, base.storativity);
        EXPECT_EQ(s.rmsError, base.rmsError);
    }
}

TEST(JointFit, SimplexAndTrialRunSeeEverySeries) {
    AnalysisState s = threeWellState("theis", kTheisWells);
    s.storativity = 2e-4f;
    s.transmissivity = 50.0f;
    testing::ScriptedInteraction ui;
    ASSERT_EQ(trialInversion(s, ui), CommandOutcome::Done);
    // The RMS over all 42 points of the true parameters: the noise (0.5 %) of the data.
    double sum = 0.0;
    std::size_t n = 0;
    const auto add = [&](const std::vector<double>& m, const std::vector<double>& c) {
        for (std::size_t i = 0; i < c.size(); ++i, ++n) sum += (m[i] - c[i]) * (m[i] - c[i]);
    };
    add(s.measured, s.calculated);
    for (const ObservationSeries& x : s.extraSeries) add(x.values, x.calculated);
    ASSERT_EQ(n, 42u);
    EXPECT_NEAR(s.rmsError, std::sqrt(sum / 42.0), 1e-6 * s.rmsError);

    AnalysisState simplex = threeWellState("theis", kTheisWells);
    simplex.maxIterations = 400;
    simplex.storativity = 3e-4f;
    simplex.transmissivity = 40.0f;
    ASSERT_EQ(simplexInversion(simplex, ui), CommandOutcome::Done);
    const auto reference = referenceFits().at("theis_3");
    EXPECT_NEAR(simplex.transmissivity / reference.at("transmissivity").value, 1.0, 1e-3);
    EXPECT_NEAR(simplex.storativity / reference.at("storativity").value, 1.0, 3e-3);
}

// Cooper-Jacob on several wells: drawdowns exactly on s = Q/(4 pi T) (ln(4 T t/(r^2 S)) - 0.5772) at three
// distances lie on one line in ln(t/r^2); the fit returns T and S.
TEST(JointFit, JacobOnSeveralWellsUsesTimeOverDistanceSquared) {
    const double T = 120.0, S = 3e-4, Q = 900.0;
    const auto jacob = [&](double r, double t) {
        return Q / (4.0 * kProgramPi * T) * (std::log(4.0 * T * t / (r * r * S)) - 0.5772);
    };
    AnalysisState s = makeDefaultState();
    s.modelKind = 9;
    s.pumpingRate = static_cast<float>(Q);
    s.radialDistance = 10.0f;
    for (int i = 0; i < s.usedCount; ++i) {
        s.times[i] = 1.0 + i;
        s.measured[i] = jacob(10.0, s.times[i]);
    }
    for (double r : {40.0, 160.0}) {
        ObservationSeries x;
        x.radialDistance = static_cast<float>(r);
        for (double t : {5.0, 10.0, 20.0, 40.0, 80.0}) {
            x.times.push_back(t);
            x.values.push_back(jacob(r, t));
        }
        s.extraSeries.push_back(x);
    }
    testing::ScriptedInteraction ui;
    ASSERT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Done) << ui.messages.back();
    EXPECT_NEAR(s.transmissivity / T, 1.0, 1e-5);
    EXPECT_NEAR(s.storativity / S, 1.0, 1e-4);
    EXPECT_LT(s.rmsError, 1e-5);
    ASSERT_EQ(s.extraSeries[1].calculated.size(), 5u);
    EXPECT_NEAR(s.extraSeries[1].calculated[2], jacob(160.0, 20.0), 1e-4);
}

TEST(JointFit, JacobRefusesAWellWithoutADistance) {
    AnalysisState s = threeWellState("theis", kTheisWells);
    s.modelKind = 9;
    s.extraSeries[1].radialDistance = 0.0f;
    s.extraSeries[1].settings.name = "P3";
    const AnalysisState before = s;
    testing::ScriptedInteraction ui;
    EXPECT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Refused);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_NE(ui.messages.back().find("P3"), std::string::npos) << ui.messages.back();
    EXPECT_EQ(s.transmissivity, before.transmissivity);
    EXPECT_EQ(s.times, before.times);
    EXPECT_EQ(s.calculated, before.calculated);
}

TEST(JointFit, ABadMeasurementIsNamedByItsSeries) {
    AnalysisState s = threeWellState("theis", kTheisWells);
    s.modelKind = 6;  // no drawdown at time 0
    s.extraSeries[0].settings.name = "P2";
    s.extraSeries[0].times[2] = 0.0;
    const AnalysisState before = s;
    testing::ScriptedInteraction ui;
    EXPECT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Refused);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_NE(ui.messages.back().find("Used measurement 3 of series \"P2\""), std::string::npos)
        << ui.messages.back();
    EXPECT_EQ(s.extraSeries, before.extraSeries);
    EXPECT_EQ(s.usedCount, before.usedCount);
}

TEST(JointFit, NoSeriesInUseIsRefused) {
    AnalysisState s = makeDefaultState();
    s.firstSeries.on = false;
    testing::ScriptedInteraction ui;
    EXPECT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Refused);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_NE(ui.messages.back().find("No measurements are in use"), std::string::npos);
    EXPECT_EQ(s.usedCount, 14);
}

TEST(JointFit, UncertaintyCountsEveryJoinedMeasurement) {
    const AnalysisState s = fitted(threeWellState("theis", kTheisWells));
    const auto u = estimateUncertainty(s);
    ASSERT_TRUE(u);
    EXPECT_EQ(u->usedCount, 42);
    AnalysisState single = s;
    single.extraSeries.clear();
    EXPECT_EQ(estimateUncertainty(single)->usedCount, 14);
}

}  // namespace
}  // namespace tolvex
