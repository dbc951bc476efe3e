// Recovery of known aquifer parameters: drawdowns are simulated for every pumping-test model with the
// forward model, the fit starts from other values, and the fitted parameters must come back to within
// the stated tolerance. The test conditions are chosen so that each model's parameters are
// identifiable: observation points close to a partially penetrating well (r/b = 0.2), early times for
// the elastic response of the unconfined aquifer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/estimation/LeastSquares.h"
#include "core/estimation/Simplex.h"
#include "core/state/FieldTable.h"
#include "core/typecurves/ParameterVector.h"
#include "core/typecurves/SyntheticDrawdowns.h"

namespace tolvex {
namespace {

struct RecoveryCase {
    int model;
    int count;
    float tMin, tMax;
    std::vector<std::pair<std::string, std::string>> settings;
    double startSpread;  // the start is truth * (1 + spread * (f - 1)) with f = 2, 0.5, 3, 0.4, 2.5, 0.6
    int perturbed;       // how many leading parameters start away from the truth
    double lsqTolerance;
    double simplexTolerance;  // 0: the simplex is not asked to recover this model
    int identifiable;         // how many leading parameters the data determine
};

AnalysisState synthetic(const RecoveryCase& c) {
    AnalysisState s = makeDefaultState();
    s.modelKind = c.model;
    s.usedCount = c.count;
    s.calcTimeMin = c.tMin;
    s.calcTimeMax = c.tMax;
    for (const auto& [name, value] : c.settings) EXPECT_FALSE(setFieldText(s, *findField(name), value));
    calculateDrawdowns(s);
    return s;
}

AnalysisState startingFrom(const AnalysisState& truth, const RecoveryCase& c, int iterations) {
    AnalysisState s = truth;
    constexpr double kFactors[] = {2.0, 0.5, 3.0, 0.4, 2.5, 0.6};
    std::vector<double> p = buildParameterVectorDouble(s);
    const int n = static_cast<int>(p.size()) - 1;
    for (int k = 1; k <= std::min(c.perturbed, n); ++k) p[k] *= 1.0 + c.startSpread * (kFactors[k - 1] - 1.0);
    writeParameterVector(s, std::span<const double>(p));
    s.maxIterations = iterations;
    s.errorHistory.assign(iterations, 0.0f);
    s.convergenceError = 1e-7f;
    return s;
}

void expectRecovered(const AnalysisState& fitted, const std::vector<double>& truth, const RecoveryCase& c,
                     double tolerance, const char* method) {
    const std::vector<double> got = buildParameterVectorDouble(fitted);
    for (int k = 1; k <= c.identifiable; ++k) {
        EXPECT_NEAR(got[k] / truth[k], 1.0, tolerance)
            << method << " model " << c.model << " parameter " << k;
    }
}

class Recovery : public ::testing::TestWithParam<RecoveryCase> {};

TEST_P(Recovery, LeastSquaresRecoversTheParameters) {
    const RecoveryCase& c = GetParam();
    const AnalysisState truth = synthetic(c);
    AnalysisState fit = startingFrom(truth, c, 100);
    NullProgress progress;
    leastSquaresEstimation(fit, progress, std::stop_token{});
    expectRecovered(fit, buildParameterVectorDouble(truth), c, c.lsqTolerance, "least squares");
    EXPECT_GT(fit.iterationsDone, 0);
}

class SimplexRecovery : public Recovery {};

TEST_P(SimplexRecovery, SimplexRecoversTheParameters) {
    const RecoveryCase& c = GetParam();
    const AnalysisState truth = synthetic(c);
    AnalysisState fit = startingFrom(truth, c, 600);
    fit.modelParams = buildParameterVector(fit);
    NullProgress progress;
    simplexEstimation(fit, progress, std::stop_token{});
    writeParameterVector(fit, std::span<const float>(fit.modelParams));
    expectRecovered(fit, buildParameterVectorDouble(truth), c, c.simplexTolerance, "simplex");
}

// Model 4's six parameters reach the drawdown only through S, T and beta, so S and T are checked and
// the four bed parameters start at the truth. In the slug test S and T are strongly correlated: the
// 1 % forward differences of the Marquardt derivatives leave S within 10 %, while the simplex finds it.
// The float simplex does not resolve the vertical conductivity of the partially penetrating models
// (1 and 3) within a few hundred passes; only least squares is asked to recover them.
const std::vector<RecoveryCase> kCases{
    RecoveryCase{0, 20, 0.1f, 1000.0f, {}, 1.0, 6, 1e-4, 1e-4, 2},
    RecoveryCase{1, 25, 1e-5f, 100.0f, {{"radialDistance", "2"}}, 1.0, 6, 1e-4, 0.0, 3},
    RecoveryCase{2, 25, 1e-4f, 1000.0f, {{"radialDistance", "20"}}, 1.0, 6, 1e-4, 1e-4, 3},
    RecoveryCase{3, 25, 1e-5f, 100.0f, {{"radialDistance", "2"}}, 1.0, 6, 1e-4, 0.0, 4},
    RecoveryCase{4, 25, 0.01f, 1000.0f, {}, 0.1, 2, 1e-4, 1e-4, 2},
    RecoveryCase{5, 20, 0.01f, 100.0f, {{"storativity", "0.001"}}, 1.0, 6, 0.1, 1e-4, 2},
    RecoveryCase{6, 30, 1e-6f, 1000.0f, {{"radialDistance", "20"}}, 0.3, 6, 1e-4, 1e-3, 4},
    RecoveryCase{7, 25, 1e-3f, 1e4f, {}, 0.3, 6, 1e-4, 1e-4, 4},
    RecoveryCase{8, 25, 1e-3f, 1e4f, {}, 0.3, 6, 1e-4, 1e-3, 4}};

std::vector<RecoveryCase> simplexCases() {
    std::vector<RecoveryCase> cases;
    for (const RecoveryCase& c : kCases) {
        if (c.simplexTolerance > 0.0) cases.push_back(c);
    }
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<RecoveryCase>& info) {
    return "Model" + std::to_string(info.param.model);
}

INSTANTIATE_TEST_SUITE_P(EveryPumpingModel, Recovery, ::testing::ValuesIn(kCases), caseName);
INSTANTIATE_TEST_SUITE_P(EveryPumpingModel, SimplexRecovery, ::testing::ValuesIn(simplexCases()), caseName);

}  // namespace
}  // namespace tolvex
