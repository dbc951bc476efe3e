#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/persist/Document.h"
#include "core/solutions/ConfinedLeaky.h"
#include "core/solutions/DoublePorosity.h"
#include "core/typecurves/TypeCurveFamily.h"

namespace tolvex {
namespace {

struct Recorder : ProgressSink {
    std::vector<int> steps;
    void step(int k) override { steps.push_back(k); }
};

AnalysisState family(int model, int threads = 0) {
    AnalysisState s = makeDefaultState();
    s.modelKind = model;
    Recorder progress;
    EXPECT_TRUE(computeTypeCurves(s, progress, {}, {threads}));
    return s;
}

TEST(TypeCurves, ConfinedDefaultRange) {
    const AnalysisState s = family(0);
    EXPECT_EQ(s.curveXCount, 51);
    EXPECT_EQ(s.curveYCount, 51);
    EXPECT_FLOAT_EQ(s.curveX[1], 0.1f);
    EXPECT_FLOAT_EQ(s.curveX[50], 10000.0f);
    EXPECT_NEAR(s.curveY[1], 4.16e-6, 0.01e-6);
    EXPECT_EQ(s.familyCount, 1);
    EXPECT_EQ(s.typeCurvesReady, 1);
}

TEST(TypeCurves, WenzelTableOverwritesTheRange) {
    AnalysisState s = makeDefaultState();
    s.tcTheisUniform = 1;
    NullProgress progress;
    ASSERT_TRUE(computeTypeCurves(s, progress, {}));
    EXPECT_EQ(s.curveXCount, 145);
    EXPECT_FLOAT_EQ(s.curveX[1], static_cast<float>(1.0 / 9.0f));
    EXPECT_FLOAT_EQ(s.curveX[144], 1e15f);
    EXPECT_EQ(s.tcTheisCount, 144);
    EXPECT_NEAR(s.tcTheisMin, 0.111111, 1e-6);
    EXPECT_FLOAT_EQ(s.tcTheisMax, 1e15f);
    EXPECT_FLOAT_EQ(s.curveY[144], static_cast<float>(confinedW(1.0 / s.curveX[144])));
}

TEST(TypeCurves, HantushLeakyTable) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 2;
    s.tcLeakyUniform = 1;
    Recorder progress;
    ASSERT_TRUE(computeTypeCurves(s, progress, {}));
    EXPECT_EQ(s.curveXCount, 30);
    EXPECT_EQ(s.familyCount, 20);
    EXPECT_EQ(s.curveYCount, 29 * 20 + 1);
    EXPECT_FLOAT_EQ(s.curveX[1], 0.1f);
    EXPECT_FLOAT_EQ(s.curveX[29], 1e6f);
    EXPECT_FLOAT_EQ(s.familyValues[0], 0.01f);
    EXPECT_FLOAT_EQ(s.familyValues[19], 3.0f);
    EXPECT_EQ(s.tcLeakyCount, 29);
    EXPECT_EQ(s.tcLeakyRbCount, 20);
    EXPECT_FLOAT_EQ(s.tcLeakyMin, 0.1f);
    EXPECT_FLOAT_EQ(s.tcLeakyMax, 1e6f);
    EXPECT_FLOAT_EQ(s.tcLeakyRbMin, 0.01f);
    EXPECT_FLOAT_EQ(s.tcLeakyRbMax, 3.0f);
    // curve k at abscissa i is curveY[k*nx + i]
    EXPECT_FLOAT_EQ(s.curveY[5 * 29 + 7], static_cast<float>(leakyW(1.0 / s.curveX[7], s.familyValues[5])));
    EXPECT_EQ(progress.steps.size(), 29u);  // one step per abscissa
    EXPECT_EQ(progress.steps.back(), 29);
}

TEST(TypeCurves, StorageAndNeumanTables) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 4;
    s.tcStorUniform = 1;
    NullProgress progress;
    ASSERT_TRUE(computeTypeCurves(s, progress, {}));
    EXPECT_EQ(s.curveXCount, 42);
    EXPECT_EQ(s.familyCount, 26);
    EXPECT_FLOAT_EQ(s.tcStorBetaMax, 1000.0f);
    s.modelKind = 6;
    s.tcAltUniform = 1;
    ASSERT_TRUE(computeTypeCurves(s, progress, {}));
    EXPECT_EQ(s.curveXCount, 46);
    EXPECT_EQ(s.familyCount, 20);
    EXPECT_FLOAT_EQ(s.curveX[1], 0.1f);
    EXPECT_FLOAT_EQ(s.curveX[45], 1e11f);
    for (int i = 1; i <= 45; ++i) EXPECT_FALSE(s.curveX[i] > 6000.0f && s.curveX[i] < 1e5f) << i;
    EXPECT_EQ(s.tcMnTdCount, 45);
    EXPECT_FLOAT_EQ(s.tcMnKzMax, 7.0f);
}

TEST(TypeCurves, BoultonStreltsovaLabelIsTheSquareOfTheArgument) {
    const AnalysisState s = family(8);
    const int nx = s.curveXCount - 1;
    for (int k : {0, 9}) {
        const double label = s.familyValues[k];
        const double expected = doublePorosityW(s.curveX[3], std::sqrt(label), s.tcBsSigma, kSlab, s);
        EXPECT_NEAR(s.curveY[k * nx + 3], expected, std::fabs(expected) * 1e-5 + 1e-12);
    }
    EXPECT_FLOAT_EQ(s.familyValues[0], 1e-5f);
    EXPECT_FLOAT_EQ(s.familyValues[9], 100.0f);
}

TEST(TypeCurves, ProgressFollowsTheCurvesOrTheAbscissae) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 7;
    Recorder byCurve;
    ASSERT_TRUE(computeTypeCurves(s, byCurve, {}));
    EXPECT_EQ(byCurve.steps, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    s.modelKind = 0;
    Recorder none;
    ASSERT_TRUE(computeTypeCurves(s, none, {}));
    EXPECT_TRUE(none.steps.empty());
    EXPECT_FALSE(typeCurvesShowProgress(0));
    EXPECT_TRUE(typeCurvesShowProgress(5));
}

TEST(TypeCurves, AStopLeavesTheRunIncomplete) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 5;
    std::stop_source source;
    source.request_stop();
    NullProgress progress;
    EXPECT_FALSE(computeTypeCurves(s, progress, source.get_token()));
}

TEST(TypeCurves, RangesWithoutAFamilyAreRefusedByName) {
    AnalysisState s = makeDefaultState();
    EXPECT_FALSE(checkTypeCurveRanges(s));
    s.tcTheisCount = 1;
    EXPECT_NE(checkTypeCurveRanges(s)->find("tcTheisCount"), std::string::npos);
    s.tcTheisUniform = 1;  // the table needs no range
    EXPECT_FALSE(checkTypeCurveRanges(s));
    s = makeDefaultState();
    s.modelKind = 1;
    s.tcPpAnisCount = 101;
    EXPECT_NE(checkTypeCurveRanges(s)->find("at most 100 curves"), std::string::npos);
    s.tcPpAnisCount = 100;
    s.tcPpMin = 0.0f;
    EXPECT_NE(checkTypeCurveRanges(s)->find("tcPpMin"), std::string::npos);
    s.tcPpMin = 10.0f;
    s.tcPpMax = 1.0f;
    EXPECT_NE(checkTypeCurveRanges(s)->find("tcPpMax"), std::string::npos);
    s = makeDefaultState();
    s.modelKind = 8;
    s.tcBsGammaMax = -1.0f;
    EXPECT_NE(checkTypeCurveRanges(s)->find("tcBsGammaMax"), std::string::npos);
}

// Every family with a range checks its own count fields: two points are the fewest a log grid takes, one
// is refused naming the field, whichever model the range belongs to.
TEST(TypeCurves, EachModelChecksItsOwnAxisAndFamilyCounts) {
    struct Row {
        int model;
        int AnalysisState::*count;
        const char* name;
    };
    const Row rows[] = {{0, &AnalysisState::tcTheisCount, "tcTheisCount"},
                        {1, &AnalysisState::tcPpCount, "tcPpCount"},
                        {1, &AnalysisState::tcPpAnisCount, "tcPpAnisCount"},
                        {2, &AnalysisState::tcLeakyRbCount, "tcLeakyRbCount"},
                        {3, &AnalysisState::tcLppBetaCount, "tcLppBetaCount"},
                        {4, &AnalysisState::tcStorCount, "tcStorCount"},
                        {5, &AnalysisState::tcSlugBetaCount, "tcSlugBetaCount"},
                        {5, &AnalysisState::tcSlugAlphaCount, "tcSlugAlphaCount"},
                        {6, &AnalysisState::tcMnKzCount, "tcMnKzCount"},
                        {7, &AnalysisState::tcWrLambdaCount, "tcWrLambdaCount"},
                        {8, &AnalysisState::tcBsTdCount, "tcBsTdCount"}};
    for (const Row& row : rows) {
        AnalysisState s = makeDefaultState();
        s.modelKind = row.model;
        s.tcTheisUniform = s.tcLeakyUniform = s.tcStorUniform = s.tcAltUniform = 0;
        s.*row.count = 2;
        EXPECT_FALSE(checkTypeCurveRanges(s)) << row.name << " = 2";
        s.*row.count = 1;
        const auto error = checkTypeCurveRanges(s);
        ASSERT_TRUE(error) << row.name << " = 1";
        EXPECT_NE(error->find(std::string(row.name) + " = 1"), std::string::npos) << *error;
    }
}

// Models 0, 2, 4 and 6 can take their family from a published table; no other model has one.
TEST(TypeCurves, PublishedTablesBelongToTheirOwnModels) {
    for (int model = 0; model <= 10; ++model) {
        AnalysisState s = makeDefaultState();
        s.modelKind = model;
        s.tcTheisUniform = s.tcLeakyUniform = s.tcStorUniform = s.tcAltUniform = 0;
        EXPECT_FALSE(usesPublishedTable(s)) << model;
        s.tcTheisUniform = s.tcLeakyUniform = s.tcStorUniform = s.tcAltUniform = 1;
        EXPECT_EQ(usesPublishedTable(s), model == 0 || model == 2 || model == 4 || model == 6) << model;
    }
    AnalysisState s = makeDefaultState();
    s.modelKind = 4;
    s.tcStorUniform = 1;
    NullProgress progress;
    ASSERT_TRUE(computeTypeCurves(s, progress, {}));
    // The stored abscissae are the table's plus the unused element 0 of the 1-based layout.
    EXPECT_EQ(s.curveX.size(), static_cast<std::size_t>(s.curveXCount));
}

// Cancel in the progress window must reach a family computed on one thread while it runs, not only
// after its last point.
TEST(TypeCurves, ASerialFamilyStopsWhenAskedDuringTheRun) {
    struct StopAtFirstStep : ProgressSink {
        std::stop_source source;
        void step(int) override { source.request_stop(); }
    };
    AnalysisState s = makeDefaultState();
    s.modelKind = 1;
    StopAtFirstStep progress;
    EXPECT_FALSE(computeTypeCurves(s, progress, progress.source.get_token(), {1}));
}

// curveXCount = nx + 1 and curveYCount = nx * nf + 1 are 16-bit words of the document: a family that
// could not be saved is refused before computing, naming the largest count that can be saved.
TEST(TypeCurves, FamiliesTooLargeToSaveAreRefusedBeforeComputing) {
    struct Row {
        int model;
        int AnalysisState::*count;
        int value;
        int AnalysisState::*curves;
        int curveCount;
        const char* refusal;  // nullptr: accepted
    };
    using S = AnalysisState;
    const Row rows[] = {
        {0, &S::tcTheisCount, 65534, &S::tcTheisCount, 65534, nullptr},
        {0, &S::tcTheisCount, 65535, &S::tcTheisCount, 65535,
         "at most 65534 points per curve (tcTheisCount = 65535)"},
        {0, &S::tcTheisCount, 100000, &S::tcTheisCount, 100000,
         "at most 65534 points per curve (tcTheisCount"},
        {6, &S::tcMnTdCount, 3276, &S::tcMnKzCount, 20, nullptr},
        {6, &S::tcMnTdCount, 3277, &S::tcMnKzCount, 20,
         "at most 3276 points per curve for 20 curves (tcMnTdCount = 3277)"},
        {5, &S::tcSlugBetaCount, 655, &S::tcSlugAlphaCount, 100, nullptr},
        {5, &S::tcSlugBetaCount, 656, &S::tcSlugAlphaCount, 100,
         "at most 655 points per curve for 100 curves"},
        {1, &S::tcPpCount, 2, &S::tcPpAnisCount, 100, nullptr},
    };
    for (const Row& row : rows) {
        AnalysisState s = makeDefaultState();
        s.modelKind = row.model;
        s.*row.curves = row.curveCount;
        s.*row.count = row.value;
        const auto error = checkTypeCurveRanges(s);
        const std::string where =
            "model " + std::to_string(row.model) + " count " + std::to_string(row.value);
        if (row.refusal == nullptr) {
            EXPECT_FALSE(error) << where << ": " << *error;
        } else {
            ASSERT_TRUE(error) << where;
            EXPECT_NE(error->find(row.refusal), std::string::npos) << where << ": " << *error;
        }
    }
    // The largest Theis family that is accepted is also saved.
    AnalysisState s = makeDefaultState();
    s.tcTheisCount = 65534;
    NullProgress progress;
    ASSERT_TRUE(computeTypeCurves(s, progress, {}));
    EXPECT_EQ(s.curveXCount, 65535);
    EXPECT_NO_THROW((void)documentBytes(s));
}

// The points of a family are shared among the threads; the values must not depend on it.
class ParallelFamily : public ::testing::TestWithParam<int> {};

TEST_P(ParallelFamily, IsBitIdenticalToTheSerialRun) {
    AnalysisState serial = makeDefaultState();
    serial.modelKind = GetParam();
    // Small grids keep the expensive families quick; the split among threads is what is tested.
    serial.tcPpCount = serial.tcLppCount = serial.tcMnTdCount = 12;
    serial.tcLppBetaCount = serial.tcMnKzCount = 5;
    AnalysisState parallel = serial;
    NullProgress progress;
    ASSERT_TRUE(computeTypeCurves(serial, progress, {}, {1}));
    ASSERT_TRUE(computeTypeCurves(parallel, progress, {}, {4}));
    ASSERT_EQ(serial.curveY.size(), parallel.curveY.size());
    EXPECT_EQ(std::memcmp(serial.curveY.data(), parallel.curveY.data(), serial.curveY.size() * sizeof(float)),
              0);
    EXPECT_EQ(serial.curveX, parallel.curveX);
    EXPECT_EQ(serial.familyValues, parallel.familyValues);
}

INSTANTIATE_TEST_SUITE_P(EveryFamily, ParallelFamily, ::testing::Range(0, 9));

}  // namespace
}  // namespace tolvex
