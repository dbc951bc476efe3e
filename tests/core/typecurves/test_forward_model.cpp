#include <gtest/gtest.h>

#include <cmath>

#include "core/solutions/ConfinedLeaky.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"
#include "core/typecurves/SyntheticDrawdowns.h"

namespace tolvex {
namespace {

TEST(ForwardModel, TheisDrawdownAtFiveWithTheDefaults) {
    AnalysisState s = makeDefaultState();
    const float U = static_cast<float>(154.0 * 154.0 * 1e-5 / (4.0 * 8.8));
    EXPECT_NEAR(U, 0.0067375, 1e-7);
    EXPECT_NEAR(confinedW(U / 5.0), 6.03364, 1e-4);
    std::vector<float> p = buildParameterVector(s);
    evaluateForward(s, p, 0);
    EXPECT_NEAR(s.calculated[0], 4.12103, 1e-4);
    EXPECT_NEAR(s.calculated[0] / confinedW(U / 5.0), 0.683010, 1e-6);
}

TEST(ForwardModel, ClampsTheVectorInPlace) {
    AnalysisState s = makeDefaultState();
    std::vector<float> p{0.0f, 0.0f, 8.8f};
    evaluateForward(s, p, 0);
    EXPECT_EQ(p[1], 1e-10f);
    p = {0.0f, 1e-5f, 0.0f};
    evaluateForward(s, p, 0);
    EXPECT_EQ(p[2], 1e-10f);
    p = {0.0f, NAN, 1e12f};
    evaluateForward(s, p, 0);
    EXPECT_EQ(p[1], 1e-10f);
    EXPECT_EQ(p[2], 1e10f);
}

TEST(ForwardModel, ConfiningBedStorativitiesAreNotClamped) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 4;
    s.upperBedStorativity = 0.0f;
    s.lowerBedStorativity = 0.0f;
    std::vector<float> p = buildParameterVector(s);
    ASSERT_EQ(p.size(), 7u);
    evaluateForward(s, p, 4);
    EXPECT_EQ(p[5], 0.0f);
    EXPECT_EQ(p[6], 0.0f);
    // With no storage in the beds H(u, 0) is the Theis function.
    AnalysisState theis = makeDefaultState();
    std::vector<float> q = buildParameterVector(theis);
    evaluateForward(theis, q, 0);
    EXPECT_NEAR(s.calculated[5], theis.calculated[5], 1e-4);
}

TEST(ForwardModel, MisfitIsTheRmsOfTheResiduals) {
    AnalysisState s = makeDefaultState();
    std::vector<float> p = buildParameterVector(s);
    const float rms = forwardMisfit(s, p, 0);
    double sum = 0.0;
    for (int i = 0; i < s.usedCount; ++i) sum += std::pow(s.measured[i] - s.calculated[i], 2);
    EXPECT_NEAR(rms, std::sqrt(sum / s.usedCount), 1e-6);
    s.modelKind = 2;
    p = buildParameterVector(s);
    const float logRms = forwardMisfit(s, p, 2);
    sum = 0.0;
    for (int i = 0; i < s.usedCount; ++i) sum += std::pow(std::log10(s.measured[i] / s.calculated[i]), 2);
    EXPECT_NEAR(logRms, std::sqrt(sum / s.usedCount), 1e-6);
}

TEST(ForwardModel, ModelsWithoutAForwardModelReturnZero) {
    AnalysisState s = makeDefaultState();
    std::vector<float> p{0.0f, 0.0f, 0.0f};
    EXPECT_EQ(forwardMisfit(s, p, 9), 0.0f);
    EXPECT_EQ(forwardMisfit(s, p, 10), 0.0f);
    EXPECT_EQ(p[1], 0.0f);
    s.usedCount = 0;
    p = buildParameterVector(s);
    EXPECT_EQ(forwardMisfit(s, p, 0), 0.0f);
}

TEST(ForwardModel, InputsWithoutAMisfitAreNamed) {
    AnalysisState s = makeDefaultState();
    EXPECT_FALSE(checkMisfitInputs(s, 2));
    s.measured[3] = 0.0;
    ASSERT_TRUE(checkMisfitInputs(s, 2));
    EXPECT_NE(checkMisfitInputs(s, 2)->find("Measurement 4"), std::string::npos);
    EXPECT_NE(checkMisfitInputs(s, 2)->find("logarithmic"), std::string::npos);
    // Least squares compares plain drawdowns, also for the leaky model: zero and negative ones are data.
    EXPECT_FALSE(checkMisfitInputs(s, 2, MisfitForm::Plain));
    s.measured[4] = -0.02;
    EXPECT_FALSE(checkMisfitInputs(s, 2, MisfitForm::Plain));
    EXPECT_FALSE(checkMisfitInputs(s, 0));  // the plain misfit takes a zero drawdown
    s.measured[4] = NAN;
    EXPECT_TRUE(checkMisfitInputs(s, 2, MisfitForm::Plain));
    s.measured[4] = 1.0;
    s.times[2] = -1.5;
    EXPECT_EQ(checkMisfitInputs(s, 0), "Measurement 3 has the time -1.5: times must not be negative.");
    s.times[0] = -1.0;
    EXPECT_TRUE(checkMisfitInputs(s, 0));
    s.usedCount = 0;
    EXPECT_TRUE(checkMisfitInputs(s, 0));
}

// A measurement at time 0: models 0-5 answer drawdown 0 (slug test: head 1), the Laplace inversions of
// models 6-8 and Jacob's ln t have no value there and are refused with a message saying so.
TEST(ForwardModel, TimeZeroIsAcceptedWhereTheFormulasHaveAValue) {
    for (int model = 0; model <= 9; ++model) {
        AnalysisState s = makeDefaultState();
        s.modelKind = model;
        s.times[0] = 0.0;
        const auto error = checkMisfitInputs(s, model, MisfitForm::Plain);
        EXPECT_EQ(definedAtTimeZero(model), model <= 5) << model;
        if (model >= 6) {
            ASSERT_TRUE(error) << model;
            EXPECT_NE(error->find("Measurement 1 has the time 0"), std::string::npos) << *error;
            continue;
        }
        EXPECT_FALSE(error) << model << ": " << *error;
        std::vector<float> p = buildParameterVector(s);
        evaluateForward(s, p, model);
        EXPECT_EQ(s.calculated[0], model == 5 ? 1.0 : 0.0) << model;
        EXPECT_GT(s.calculated[1], 0.0) << model;
    }
}

// Hantush and Jacob (1955) and Hantush (1964): the leakage of models 2 and 3 comes through the upper
// confining bed only, r/B = r / sqrt(T b'/K'); the lower bed's thickness (model 4's b'') must not enter.
TEST(ForwardModel, LeakyModelsLeakThroughTheUpperBedOnly) {
    for (int model : {2, 3}) {
        AnalysisState s = makeDefaultState();
        s.modelKind = model;
        s.upperBedThickness = 21.0f;
        s.lowerBedThickness = 21.0f;
        std::vector<float> p = buildParameterVector(s);
        evaluateForward(s, p, model);
        const std::vector<double> reference = s.calculated;
        s.lowerBedThickness = 5.0f;
        evaluateForward(s, p, model);
        EXPECT_EQ(s.calculated, reference) << model;
        s.upperBedThickness = 5.0f;
        p = buildParameterVector(s);
        evaluateForward(s, p, model);
        EXPECT_NE(s.calculated, reference) << model;
    }
}

TEST(ParameterVector, LayoutAndWriteBack) {
    AnalysisState s = makeDefaultState();
    const int counts[] = {2, 3, 3, 4, 6, 2, 4, 4, 4, 0, 1};
    for (int m = 0; m <= 10; ++m) EXPECT_EQ(parameterCount(m), counts[m]);
    EXPECT_EQ(parameterCount(11), 0);
    // Every fitted model names one field per entry of its parameter vector (Jacob's line has no vector).
    for (int m = 0; m <= 10; ++m) {
        if (m == 9) continue;
        EXPECT_EQ(fittedFieldNames(m).size(), static_cast<std::size_t>(counts[m])) << m;
    }
    EXPECT_EQ(parameterCount(-1), 0);
    EXPECT_EQ(clampedCount(4), 4);
    s.modelKind = 2;
    std::vector<double> p = buildParameterVectorDouble(s);
    EXPECT_DOUBLE_EQ(p[3], 21.0 / static_cast<double>(0.042f));
    p[3] = 700.0;
    writeParameterVector(s, std::span<const double>(p));
    EXPECT_FLOAT_EQ(s.upperBedConductivity, 0.03f);
    EXPECT_FLOAT_EQ(s.upperBedThickness, 21.0f);
    s.modelKind = 7;
    p = {0.0, 1.0, 2.0, 3.0, 4.0};
    writeParameterVector(s, std::span<const double>(p));
    EXPECT_EQ(s.fractureStorativity, 1.0f);
    EXPECT_EQ(s.matrixTransmissivity, 4.0f);
}

TEST(SyntheticDrawdowns, FourteenTimesFromATenthToAThousand) {
    AnalysisState s = makeDefaultState();
    calculateDrawdowns(s);
    ASSERT_EQ(s.times.size(), 14u);
    EXPECT_EQ(s.times[0], static_cast<double>(0.1f));  // the stored float limit
    EXPECT_NEAR(s.times[1], 0.2031, 1e-4);
    EXPECT_NEAR(s.times[13], 1000.0, 1e-9);
    EXPECT_EQ(s.measured, s.calculated);
    EXPECT_EQ(s.allDrawdowns, s.calculated);
    EXPECT_EQ(s.allTimes, s.times);
    EXPECT_EQ(s.plotContent, 1);
    EXPECT_EQ(s.resultKind, 1);
    EXPECT_EQ(s.useTo, 14);
    EXPECT_EQ(s.rmsError, 0.0f);
    EXPECT_EQ(s.modified, 1);
}

TEST(SyntheticDrawdowns, TimeRangesWithoutAGridAreRefused) {
    EXPECT_FALSE(checkSyntheticTimeRange(2, 0.1f, 0.1f));
    EXPECT_EQ(checkSyntheticTimeRange(1, 0.1f, 10.0f)->field, 0u);
    EXPECT_EQ(checkSyntheticTimeRange(70000, 0.1f, 10.0f)->field, 0u);
    EXPECT_EQ(checkSyntheticTimeRange(5, 0.0f, 10.0f)->field, 1u);
    EXPECT_EQ(checkSyntheticTimeRange(5, 1.0f, -1.0f)->field, 2u);
    EXPECT_EQ(checkSyntheticTimeRange(5, 10.0f, 1.0f)->field, 1u);
    EXPECT_NE(checkSyntheticTimeRange(1, 0.1f, 10.0f)->message.find("usedCount"), std::string::npos);
}

}  // namespace
}  // namespace tolvex
