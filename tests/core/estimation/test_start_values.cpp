// Start values computed from the measurements: from the start-up document, the start values and then
// least squares (every one of its 20 iterations) must reach the least-squares optimum, on the two
// sample sets (the optimum's RMS from the independent scipy minimisations of
// tests/reference/fit_reference_0_4.py and fit_reference_5_10.py) and on synthetic drawdowns of every
// model (simulated with one parameter set: the optimum is the truth, RMS 0).
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/estimation/LeastSquares.h"
#include "core/estimation/StartValues.h"
#include "core/input/SampleSets.h"
#include "core/state/FieldTable.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"
#include "core/typecurves/SyntheticDrawdowns.h"
#include "support/SyntheticCases.h"

namespace tolvex {
namespace {

constexpr double kRmsMargin = 1e-4;

// A value of an independent reference table: column `column` of the row whose first field is `key`
// (and, when given, whose third field is `quantity`).
double referenceValue(const std::string& file, const std::string& key, const std::string& column,
                      const std::string& quantity = "") {
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/reference/" + file);
    std::vector<std::string> header;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::stringstream words(line);
        for (std::string f; std::getline(words, f, ',');) fields.push_back(f);
        if (header.empty()) {
            header = fields;
            continue;
        }
        if (fields[0] != key || (!quantity.empty() && fields[2] != quantity)) continue;
        for (std::size_t k = 0; k < header.size(); ++k) {
            if (header[k] == column) return std::stod(fields[k]);
        }
    }
    ADD_FAILURE() << file << ": no " << column << " of " << key << " " << quantity;
    return NAN;
}

// The default state's values of the model's fitted fields: "from defaults".
void resetToDefaults(AnalysisState& s) {
    const AnalysisState defaults = makeDefaultState();
    for (std::string_view name : fittedFieldNames(s.modelKind)) {
        const FieldInfo* field = findField(name);
        s.*std::get<float AnalysisState::*>(field->member) =
            defaults.*std::get<float AnalysisState::*>(field->member);
    }
}

float fitWithStartValues(AnalysisState& s) {
    const auto failure = applyStartValues(s);
    EXPECT_FALSE(failure) << *failure;
    NullProgress progress;
    leastSquaresEstimation(s, progress, std::stop_token{});
    return s.rmsError;
}

std::string caseName(const ::testing::TestParamInfo<test::SyntheticCase>& info) {
    return "Model" + std::to_string(info.param.model);
}

class StartValuesOnSyntheticData : public ::testing::TestWithParam<test::SyntheticCase> {};

TEST_P(StartValuesOnSyntheticData, LeadLeastSquaresToTheOptimum) {
    const test::SyntheticCase& c = GetParam();
    AnalysisState s = makeDefaultState();
    s.modelKind = c.model;
    s.usedCount = c.count;
    s.calcTimeMin = c.tMin;
    s.calcTimeMax = c.tMax;
    for (const auto& [name, value] : c.truth) ASSERT_FALSE(setFieldText(s, *findField(name), value)) << name;
    calculateDrawdowns(s);
    const std::vector<double> truth = buildParameterVectorDouble(s);
    resetToDefaults(s);
    const float rms = fitWithStartValues(s);
    EXPECT_LT(rms, kRmsMargin) << "model " << c.model;
    // S and T are determined by every set (model 4: its beds act only through beta)
    const std::vector<double> got = buildParameterVectorDouble(s);
    for (int k = 1; k <= 2; ++k)
        EXPECT_NEAR(got[k] / truth[k], 1.0, 1e-4) << "model " << c.model << " entry " << k;
}

INSTANTIATE_TEST_SUITE_P(EveryModel, StartValuesOnSyntheticData, ::testing::ValuesIn(test::syntheticCases()),
                         caseName);

TEST(StartValues, PumpingSampleReachesTheTheisOptimum) {
    AnalysisState s = makeDefaultState();
    const double optimum = referenceValue("fits_0_4.csv", "m0_sample", "value", "rms");
    EXPECT_LE(fitWithStartValues(s), optimum + kRmsMargin);
}

TEST(StartValues, SlugSampleReachesTheCooperOptimum) {
    AnalysisState s = makeDefaultState();
    installPredefinedSet(s, kSetSlugTest);
    s.modelKind = 5;
    const double optimum = referenceValue("fits_5_10.csv", "132", "rms");
    EXPECT_LE(fitWithStartValues(s), optimum + kRmsMargin);
    EXPECT_NEAR(s.storativity / referenceValue("fits_5_10.csv", "132", "e1"), 1.0, 0.05);
}

TEST(StartValues, RefuseModelsWithoutTypeCurvesAndTooFewMeasurements) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 9;
    std::string reason;
    EXPECT_FALSE(estimateStartValues(s, &reason));
    EXPECT_NE(reason.find("models 0 to 8"), std::string::npos);
    s.modelKind = 0;
    s.times[1] = 0.0;
    s.usedCount = 2;
    const AnalysisState before = s;
    const auto failure = applyStartValues(s);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find("at least two"), std::string::npos);
    EXPECT_EQ(s.transmissivity, before.transmissivity);
}

}  // namespace
}  // namespace tolvex
