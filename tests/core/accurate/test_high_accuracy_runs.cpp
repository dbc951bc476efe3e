// Type-curve families and fits with the accurate well functions: every model's default family
// computes, agrees with the standard family within the standard algorithms' documented errors, and a
// least-squares fit in high accuracy finds the parameters of drawdowns simulated in high accuracy.
#include <gtest/gtest.h>

#include <cmath>
#include <stop_token>
#include <string>

#include "core/estimation/LeastSquares.h"
#include "core/input/SampleSets.h"
#include "core/jobs/Job.h"
#include "core/state/Accuracy.h"
#include "core/state/FieldTable.h"
#include "core/typecurves/ParameterVector.h"
#include "core/typecurves/SyntheticDrawdowns.h"
#include "core/typecurves/TypeCurveFamily.h"
#include "support/SyntheticCases.h"

namespace tolvex {
namespace {

AnalysisState familyOf(int model, Accuracy accuracy) {
    AnalysisState s = makeDefaultState();
    s.modelKind = model;
    s.accuracy = static_cast<int>(accuracy);
    NullProgress progress;
    EXPECT_TRUE(computeTypeCurves(s, progress, std::stop_token{}));
    return s;
}

// Worst relative difference of the standard algorithms from the exact functions over the default
// families, where the value is at least 0.01 (the documented errors of each, with a margin): the
// partial-penetration sums carry the 5-6 digits of their leaky terms (measured 1.8e-4); H(u, beta)
// cuts its integral at y = 10 and resolves the erfc transition coarsely; the slug test stops at 0.1 %;
// the Laplace inversions carry Stehfest's error.
constexpr double kStandardError[9] = {1e-6, 1e-3, 1e-4, 1e-3, 2e-2, 1e-2, 5e-2, 2e-2, 1e-2};

TEST(HighAccuracyFamilies, EveryModelsFamilyIsFiniteAndNearTheStandardOne) {
    for (int model = 0; model <= 8; ++model) {
        const AnalysisState high = familyOf(model, Accuracy::High);
        const AnalysisState standard = familyOf(model, Accuracy::Standard);
        ASSERT_EQ(high.curveY.size(), standard.curveY.size()) << model;
        double worst = 0.0;
        for (std::size_t i = 0; i < high.curveY.size(); ++i) {
            ASSERT_TRUE(std::isfinite(high.curveY[i])) << "model " << model << " value " << i;
            if (std::fabs(high.curveY[i]) < 0.01f) continue;
            worst = std::max(worst, std::fabs(standard.curveY[i] / high.curveY[i] - 1.0));
        }
        EXPECT_LT(worst, kStandardError[model]) << "model " << model;
        ::testing::Test::RecordProperty("model" + std::to_string(model) + "_standard_vs_high",
                                        std::to_string(worst));
    }
}

class HighAccuracyFit : public ::testing::TestWithParam<test::SyntheticCase> {};

TEST_P(HighAccuracyFit, FindsTheParametersOfDataSimulatedInHighAccuracy) {
    const test::SyntheticCase& c = GetParam();
    AnalysisState s = makeDefaultState();
    s.modelKind = c.model;
    s.accuracy = static_cast<int>(Accuracy::High);
    // The accurate unconfined function costs some 100 us a value: fewer times keep the test short.
    s.usedCount = c.model == 6 ? 12 : c.count;
    s.calcTimeMin = c.tMin;
    s.calcTimeMax = c.tMax;
    for (const auto& [name, value] : c.truth) ASSERT_FALSE(setFieldText(s, *findField(name), value)) << name;
    calculateDrawdowns(s);
    const std::vector<double> truth = buildParameterVectorDouble(s);
    // A start 20 % off in S and T, the other parameters at the truth.
    std::vector<double> start = truth;
    start[1] *= 1.2;
    start[2] *= 0.8;
    writeParameterVector(s, std::span<const double>(start));
    s.maxIterations = 60;
    NullProgress progress;
    leastSquaresEstimation(s, progress, std::stop_token{}, FitControls{});
    EXPECT_LT(s.rmsError, 1e-4) << "model " << c.model;
    const std::vector<double> got = buildParameterVectorDouble(s);
    for (int k = 1; k <= 2; ++k)
        EXPECT_NEAR(got[k] / truth[k], 1.0, 1e-4) << "model " << c.model << " entry " << k;
}

std::string caseName(const ::testing::TestParamInfo<test::SyntheticCase>& info) {
    return "Model" + std::to_string(info.param.model);
}

INSTANTIATE_TEST_SUITE_P(EveryModel, HighAccuracyFit, ::testing::ValuesIn(test::syntheticCases()), caseName);

// The exact least-squares optima of the sample sets (scipy on the accurate models,
// tests/reference/fit_reference_5_10.py): with the standard functions a fit lands within the first-order
// shift their errors cause (up to 0.6 % in RMS); with the accurate ones it reaches the exact optimum.
// (The unconfined model on the pumping sample is left out: from that start the accurate fit walks to a
// lower RMS, 0.109, with an unphysical specific yield, away from the optimum scipy settled in.)
struct SampleOptimum {
    int model;
    bool slugSet;
    std::vector<double> start;  // 1-based parameter vector
    double rms;                 // of the exact optimum
};

TEST(HighAccuracyFit, ReachesTheExactOptimaOfTheSampleSets) {
    const std::vector<SampleOptimum> cases{
        {5, true, {0.0, 1e-5, 8.8}, 0.00724446665},            // case 132 of fits_5_10.csv
        {8, false, {0.0, 1e-4, 10.0, 0.1, 1.0}, 0.116506737},  // case 112
    };
    for (const SampleOptimum& c : cases) {
        AnalysisState s = makeDefaultState();
        if (c.slugSet) installPredefinedSet(s, kSetSlugTest);
        s.modelKind = c.model;
        s.accuracy = static_cast<int>(Accuracy::High);
        writeParameterVector(s, std::span<const double>(c.start));
        s.maxIterations = 60;
        NullProgress progress;
        leastSquaresEstimation(s, progress, std::stop_token{}, FitControls{});
        EXPECT_NEAR(s.rmsError / c.rms, 1.0, 2e-5) << "model " << c.model;
    }
}

}  // namespace
}  // namespace tolvex
