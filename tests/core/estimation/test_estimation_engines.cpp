#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/estimation/BouwerRice.h"
#include "core/estimation/JacobStraightLine.h"
#include "core/estimation/LeastSquares.h"
#include "core/estimation/Marquardt.h"
#include "core/estimation/Simplex.h"
#include "core/estimation/TrialRun.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"
#include "core/typecurves/SyntheticDrawdowns.h"

namespace tolvex {
namespace {

AnalysisState theisState() {
    AnalysisState s = makeDefaultState();
    s.modelKind = 0;
    return s;
}

// --- trial run -------------------------------------------------------------------------------------------

TEST(TrialRun, UsesTheClampedValuesAndKeepsTheFields) {
    AnalysisState s = theisState();
    s.transmissivity = 0.0f;
    trialRun(s);
    EXPECT_FLOAT_EQ(s.modelParams[2], 1e-10f);
    EXPECT_FLOAT_EQ(s.paramVector[1], 1e-10f);
    EXPECT_EQ(s.transmissivity, 0.0f);
    EXPECT_EQ(s.iterationsDone, 1);
    EXPECT_EQ(s.errorHistory[0], s.rmsError);
}

TEST(TrialRun, LeakyModelCarriesTheRatio) {
    AnalysisState s = theisState();
    s.modelKind = 2;
    trialRun(s);
    EXPECT_EQ(s.paramCount, 3);
    EXPECT_FLOAT_EQ(s.paramVector[2], 21.0f / 0.042f);
}

// --- simplex
// ------------------------------------------------------------------------------------------------

TEST(Simplex, InitialVerticesScaleOneParameterByAHundred) {
    AnalysisState s = theisState();
    s.transmissivity = 10.0f;
    s.maxIterations = 0;
    s.modelParams = buildParameterVector(s);
    NullProgress progress;
    simplexEstimation(s, progress, {});
    ASSERT_EQ(s.simplexVertices.size(), 6u);
    EXPECT_FLOAT_EQ(s.simplexVertices[0], 1e-5f);  // vertex 1 = start
    EXPECT_FLOAT_EQ(s.simplexVertices[1], 10.0f);
    EXPECT_FLOAT_EQ(s.simplexVertices[2], 1e-5f * 100.0f);  // vertex 2: S x 100
    EXPECT_FLOAT_EQ(s.simplexVertices[3], 10.0f);
    EXPECT_FLOAT_EQ(s.simplexVertices[5], 1000.0f);  // vertex 3: T x 100
}

TEST(Simplex, NoIterationsLeaveTheBestInitialVertex) {
    AnalysisState s = theisState();
    s.maxIterations = 0;
    s.modelParams = buildParameterVector(s);
    NullProgress progress;
    EXPECT_EQ(simplexEstimation(s, progress, {}), FitEnd::IterationLimit);
    EXPECT_EQ(s.iterationsDone, 0);
    EXPECT_FLOAT_EQ(s.modelParams[1], 1e-5f);  // the start has the lowest misfit of the three
    EXPECT_FLOAT_EQ(s.modelParams[2], 8.8f);
    EXPECT_EQ(s.paramCount, 2);
}

TEST(Simplex, AStartBelowTheErrorTargetMakesNoMove) {
    AnalysisState s = theisState();
    s.convergenceError = 1e6f;
    s.modelParams = buildParameterVector(s);
    NullProgress progress;
    EXPECT_EQ(simplexEstimation(s, progress, {}), FitEnd::Converged);
    EXPECT_EQ(s.iterationsDone, 0);
    EXPECT_FLOAT_EQ(s.simplexVertices[2], 1e-3f);
}

TEST(Simplex, AStopKeepsTheBestVertexAndCountsThePasses) {
    AnalysisState s = theisState();
    s.storativity = 1e-4f;
    s.modelParams = buildParameterVector(s);
    std::stop_source source;
    struct StopAtThree : ProgressSink {
        std::stop_source& source;
        explicit StopAtThree(std::stop_source& s) : source(s) {}
        void step(int k) override {
            if (k == 3) source.request_stop();
        }
    } progress(source);
    EXPECT_EQ(simplexEstimation(s, progress, source.get_token()), FitEnd::Stopped);
    EXPECT_EQ(s.iterationsDone, 3);
    float lowest = 1e20f;
    for (float v : s.simplexValues) lowest = std::min(lowest, v);
    EXPECT_FLOAT_EQ(s.rmsError, lowest);
}

// --- Marquardt ---------------------------------------------------------------------------------------------

TEST(Marquardt, NoIterationsKeepTheStartingValues) {
    AnalysisState s = theisState();
    s.maxIterations = 0;
    NullProgress progress;
    leastSquaresEstimation(s, progress, {});
    EXPECT_EQ(s.iterationsDone, 0);
    EXPECT_FLOAT_EQ(s.storativity, 1e-5f);
    EXPECT_FLOAT_EQ(s.transmissivity, 8.8f);
    AnalysisState trial = theisState();
    trialRun(trial);
    EXPECT_NEAR(s.rmsError, trial.rmsError, 1e-6);
}

TEST(Marquardt, DampingFallsTenfoldPerIterationDownToItsFloor) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 10;
    for (int i = 0; i < s.usedCount; ++i) s.measured[i] = 0.01 * s.times[i];  // exactly linear
    // The 1 % forward difference is divided by the perturbed value, so each step closes the gap by a
    // factor of about 100 on this linear model; the damping never has to rise.
    for (int k : {1, 3, 25}) {
        AnalysisState run = s;
        run.maxIterations = k;
        run.errorHistory.assign(k, 0.0f);
        run.convergenceError = 0.0f;
        run.lsParamCapacity = 1;
        run.lsParams = {0.0, 0.02, 0.02};
        run.lsParamFree = {1, 1};
        NullProgress progress;
        const MarquardtResult result = marquardtFit(run, progress, {});
        EXPECT_EQ(run.iterationsDone, k);
        EXPECT_NEAR(result.damping, std::max(0.02 * std::pow(0.1, k), 1e-20),
                    1e-12 * 0.02 * std::pow(0.1, k));
    }
}

TEST(Marquardt, AStartAlreadyConvergedStillMakesOneIteration) {
    AnalysisState s = theisState();
    s.convergenceError = 1e6f;
    NullProgress progress;
    EXPECT_EQ(leastSquaresEstimation(s, progress, {}), FitEnd::Converged);
    EXPECT_EQ(s.iterationsDone, 1);
}

TEST(Marquardt, AZeroStartEndsAfterBoundedAttemptsWithTheCurrentValues) {
    AnalysisState s = theisState();
    s.storativity = 0.0f;
    NullProgress progress;
    EXPECT_EQ(leastSquaresEstimation(s, progress, {}), FitEnd::NoAcceptableStep);
    EXPECT_EQ(s.iterationsDone, 0);
    EXPECT_EQ(s.storativity, 0.0f);
    EXPECT_FLOAT_EQ(s.transmissivity, 8.8f);
}

TEST(Marquardt, LeakyFitWritesTheConductivityBackFromTheRatio) {
    AnalysisState s = theisState();
    s.modelKind = 2;
    s.maxIterations = 3;
    NullProgress progress;
    leastSquaresEstimation(s, progress, {});
    EXPECT_FLOAT_EQ(s.upperBedThickness, 21.0f);
    EXPECT_FLOAT_EQ(s.upperBedConductivity, static_cast<float>(21.0 / s.lsParams[3]));
    EXPECT_NEAR(s.paramVector[2], 21.0 / 0.042, 1e-3);
}

TEST(Marquardt, ErrorHistoryHoldsOneEntryPerAcceptedStep) {
    AnalysisState s = theisState();
    s.maxIterations = 4;
    s.errorHistory.assign(4, -1.0f);
    s.convergenceError = 0.0f;
    NullProgress progress;
    leastSquaresEstimation(s, progress, {});
    ASSERT_EQ(s.iterationsDone, 4);
    for (int i = 1; i < 4; ++i) EXPECT_LE(s.errorHistory[i], s.errorHistory[i - 1] + 1e-6f);
    EXPECT_FLOAT_EQ(s.errorHistory[3], s.rmsError);
}

// --- Jacob
// --------------------------------------------------------------------------------------------------

TEST(Jacob, LateTheisDrawdownsGiveTheTheisParameters) {
    AnalysisState s = theisState();
    s.usedCount = 20;
    s.calcTimeMin = 100.0f;  // u < 7e-5: the straight line holds
    s.calcTimeMax = 10000.0f;
    calculateDrawdowns(s);
    s.modelKind = 9;
    s.transmissivity = 1.0f;
    s.storativity = 1.0f;
    ASSERT_FALSE(jacobFit(s));
    EXPECT_NEAR(s.transmissivity, 8.8, 8.8 * 1e-3);
    EXPECT_NEAR(s.storativity, 1e-5, 1e-5 * 1e-2);
    EXPECT_LT(s.rmsError, 1e-3);
}

TEST(Jacob, EqualTimesAndFlatDrawdownsAreRefused) {
    AnalysisState s = theisState();
    s.modelKind = 9;
    const AnalysisState before = s;
    std::fill(s.times.begin(), s.times.end(), 5.0);
    auto error = jacobFit(s);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("times are equal"), std::string::npos);
    EXPECT_EQ(s.transmissivity, before.transmissivity);
    s = before;
    std::fill(s.measured.begin(), s.measured.end(), 2.0);
    EXPECT_TRUE(jacobFit(s));
    // Equal times after the first one still span a time range: the line is fitted.
    s = before;
    std::fill(s.times.begin() + 1, s.times.end(), 50.0);
    EXPECT_FALSE(jacobFit(s));
    s = before;
    s.pumpingRate = -1.234567f;
    EXPECT_EQ(jacobFit(s), "The pumping rate must be positive (pumpingRate = -1.23457).");
}

// --- Bouwer and Rice
// -----------------------------------------------------------------------------------------

TEST(BouwerRice, CoefficientsAreInterpolatedInLeOverRw) {
    const AnalysisState s = makeDefaultState();
    const BouwerRiceCoefficients half = interpolateBouwerRice(s, 7.5f);
    EXPECT_FLOAT_EQ(half.a, 1.7f);
    EXPECT_FLOAT_EQ(half.b, 0.255f);
    EXPECT_FLOAT_EQ(half.c, 1.025f);
    const BouwerRiceCoefficients first = interpolateBouwerRice(s, 3.5f);
    EXPECT_FLOAT_EQ(first.a, 1.6f);
    EXPECT_FLOAT_EQ(first.c, 0.7f);
    EXPECT_FLOAT_EQ(interpolateBouwerRice(s, 1.0f).b, 0.25f);
    EXPECT_FLOAT_EQ(interpolateBouwerRice(s, 5000.0f).c, 13.0f);
    EXPECT_FLOAT_EQ(interpolateBouwerRice(s, 2000.0f).a, 9.75f);
}

// Well geometries against an independent evaluation of Bouwer and Rice (1976) (tests/reference/
// bouwer_rice_reference.py): A, B, C at Le/rw, ln(Re/rw) with ln((H - Lw)/rw) capped at 6 (not the ratio),
// C for a well reaching the base, and K fitted to heads exp(-rate t) at t = 1..20.
TEST(BouwerRice, ConductivityOfPublishedGeometriesCapsTheLogarithmAtSix) {
    std::ifstream file(TOLVEX_TEST_DATA_DIR "/bouwer_rice_reference.csv");
    ASSERT_TRUE(file) << "bouwer_rice_reference.csv";
    double worst = 0.0;
    std::string worstRow;
    int rows = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#' || line[0] == 'r') continue;
        std::vector<double> v;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, ',');) v.push_back(std::stod(field));
        ASSERT_EQ(v.size(), 12u) << line;
        AnalysisState s = makeDefaultState();
        s.modelKind = 10;
        s.wellRadius = static_cast<float>(v[0]);
        s.casingRadius = static_cast<float>(v[1]);
        s.screenLength = static_cast<float>(v[2]);
        s.wellDepthInAquifer = static_cast<float>(v[3]);
        s.brAquiferThickness = static_cast<float>(v[4]);
        s.usedCount = 20;
        s.times.resize(20);
        s.measured.resize(20);
        s.calculated.resize(20);
        for (int i = 0; i < 20; ++i) {
            s.times[i] = i + 1.0;
            s.measured[i] = std::exp(-v[5] * s.times[i]);
        }
        ASSERT_FALSE(checkBouwerRiceInputs(s)) << line;
        NullProgress progress;
        bouwerRiceEstimation(s, progress, {});
        const double got[] = {s.brCoefA, s.brCoefB, s.brCoefC, s.brLnReRw, s.hydraulicConductivity};
        for (int k = 0; k < 5; ++k) {
            const double deviation = std::fabs(got[k] - v[6 + k]) / std::fabs(v[6 + k]);
            if (!(deviation <= worst)) {
                worst = deviation;
                worstRow = "column " + std::to_string(6 + k) + " got " + std::to_string(got[k]) + ": " + line;
            }
        }
        ++rows;
    }
    EXPECT_EQ(rows, 6);
    EXPECT_LT(worst, 1e-5) << worstRow;
}

TEST(BouwerRice, RecoversTheConductivityOfAnExponentialRecovery) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 10;
    prepareBouwerRice(s);  // the geometry terms of the defaults
    const double rate = 2.0 * 5.0 * s.screenLength / s.brLnReRw / s.casingRadius / s.casingRadius;
    s = makeDefaultState();
    s.modelKind = 10;
    for (int i = 0; i < s.usedCount; ++i) s.measured[i] = std::exp(-rate * s.times[i] * 1e-3);
    for (int i = 0; i < s.usedCount; ++i) s.times[i] *= 1e-3;
    ASSERT_FALSE(checkBouwerRiceInputs(s));
    const std::vector<double> heads = s.measured;
    NullProgress progress;
    bouwerRiceEstimation(s, progress, {});
    EXPECT_NEAR(s.hydraulicConductivity, 5.0, 5e-4);
    EXPECT_EQ(s.lsParams.size(), 3u) << "the document keeps 2 * 1 + 1 least-squares values";
    EXPECT_LT(s.rmsError, 1e-6);
    for (int i = 0; i < s.usedCount; ++i) EXPECT_NEAR(s.measured[i], heads[i], 1e-12);
}

TEST(BouwerRice, RefusesValuesWithoutALogarithmOrGeometry) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 10;
    s.measured[3] = 0.0;
    auto error = checkBouwerRiceInputs(s);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("Measurement 4"), std::string::npos);
    s = makeDefaultState();
    s.wellDepthInAquifer = s.wellRadius;
    ASSERT_TRUE(checkBouwerRiceInputs(s));
    EXPECT_NE(checkBouwerRiceInputs(s)->find("wellDepthInAquifer"), std::string::npos);
    s = makeDefaultState();
    s.screenLength = 0.0f;
    EXPECT_NE(checkBouwerRiceInputs(s)->find("screenLength"), std::string::npos);
    s = makeDefaultState();
    s.casingRadius = -0.5f;
    EXPECT_EQ(checkBouwerRiceInputs(s),
              "The radius of the well case must be positive (casingRadius = -0.5).");
}

}  // namespace
}  // namespace tolvex
