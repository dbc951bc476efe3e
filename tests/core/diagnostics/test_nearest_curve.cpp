// The curve under the shifted measurements: data simulated with the r/B of one curve of the computed
// Hantush-Jacob family (and Theis data on the single Theis curve), placed by placementOf, must pick that
// curve, and its label must give the parameters back.
#include <gtest/gtest.h>

#include <cmath>
#include <stop_token>
#include <vector>

#include "core/diagnostics/DiagnosticsFixtures.h"
#include "core/diagnostics/NearestCurve.h"
#include "core/jobs/Job.h"
#include "core/typecurves/TypeCurveFamily.h"

namespace tolvex {
namespace {

AnalysisState withFamily(int model) {
    AnalysisState s = makeDefaultState();
    s.modelKind = model;
    NullProgress progress;
    EXPECT_TRUE(computeTypeCurves(s, progress, {}));
    return s;
}

TEST(NearestCurve, PicksTheLeakyCurveTheDataWereSimulatedWith) {
    const AnalysisState family = withFamily(2);
    ASSERT_GT(family.familyCount, 4);
    const double T = 2e-3, S = 5e-5, r = test::kDistance;
    for (int k : {1, family.familyCount / 2, family.familyCount - 2}) {
        const double rB = family.familyValues[static_cast<std::size_t>(k)];
        AnalysisState s = test::pumpingState(2, {0.0, S, T, r * r / (rB * rB * T)});
        s.curveX = family.curveX;
        s.curveXCount = family.curveXCount;
        s.curveY = family.curveY;
        s.familyCount = family.familyCount;
        s.familyValues = family.familyValues;
        s.typeCurvesReady = 1;
        const auto placed = placementOf(s, buildParameterVectorDouble(s));
        ASSERT_TRUE(placed);
        const std::vector<double> t = test::logTimes(1.0, 5, 5);
        const auto nearest = nearestCurve(s, t, test::simulated(s, t), placed->shift);
        ASSERT_TRUE(nearest) << k;
        EXPECT_EQ(nearest->index, k);
        EXPECT_LT(nearest->rmsLog10, 0.03) << k;  // the family's coarse grid read linearly
        const auto p = parametersFromMatch(s, {placed->shift, nearest->familyValue});
        ASSERT_TRUE(p);
        EXPECT_NEAR((*p)[1], S, 1e-6 * S) << k;
        EXPECT_NEAR((*p)[2], T, 1e-6 * T) << k;
        EXPECT_NEAR(r / std::sqrt(T * (*p)[3]), rB, 1e-6 * rB) << k;
    }
}

TEST(NearestCurve, TheisDataLieOnTheSingleTheisCurve) {
    AnalysisState s = withFamily(0);
    writeParameterVector(s, std::vector<double>{0.0, 1e-4, 1e-3});
    s.radialDistance = static_cast<float>(test::kDistance);
    s.pumpingRate = static_cast<float>(test::kRate);
    const auto placed = placementOf(s, buildParameterVectorDouble(s));
    ASSERT_TRUE(placed);
    const std::vector<double> t = test::logTimes(10.0, 4, 5);
    const auto nearest = nearestCurve(s, t, test::simulated(s, t), placed->shift);
    ASSERT_TRUE(nearest);
    EXPECT_EQ(nearest->index, 0);
    EXPECT_EQ(nearest->familyValue, 0.0);
    EXPECT_LT(nearest->rmsLog10, 0.03);
    EXPECT_GT(nearest->points, 10);
}

TEST(NearestCurve, NothingWithoutAFamilyOrWithTheDataOutsideIt) {
    const std::vector<double> t{1.0, 10.0, 100.0}, s{0.1, 0.5, 1.0};
    AnalysisState none = makeDefaultState();
    none.typeCurvesReady = 0;
    EXPECT_FALSE(nearestCurve(none, t, s, {0.0, 0.0}));
    const AnalysisState family = withFamily(0);
    EXPECT_FALSE(nearestCurve(family, t, s, {40.0, 0.0}));   // far right of every curve
    EXPECT_FALSE(nearestCurve(family, t, s, {-40.0, 0.0}));  // far left
    const std::vector<double> unusable{0.0, -1.0, 0.0};
    EXPECT_FALSE(nearestCurve(family, unusable, s, {0.0, 0.0}));
    EXPECT_FALSE(nearestCurve(family, {}, {}, {0.0, 0.0}));
}

}  // namespace
}  // namespace tolvex
