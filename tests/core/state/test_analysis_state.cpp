#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "core/state/AnalysisState.h"
#include "core/state/FieldTable.h"

namespace tolvex {
namespace {

TEST(AnalysisStateDefaults, FreshStartHoldsTheDefaultPumpingTest) {
    const AnalysisState s = makeDefaultState();
    EXPECT_EQ(s.modelKind, 0);
    EXPECT_EQ(s.allCount, 14);
    EXPECT_EQ(s.usedCount, 14);
    EXPECT_EQ(s.useFrom, 1);
    EXPECT_EQ(s.useTo, 14);
    ASSERT_EQ(s.times.size(), 14u);
    ASSERT_EQ(s.allTimes.size(), 14u);
    ASSERT_EQ(s.calculated.size(), 14u);
    EXPECT_EQ(s.times.front(), 5.0);
    EXPECT_EQ(s.times.back(), 600.0);
    EXPECT_EQ(s.measured.front(), 3.41);
    EXPECT_EQ(s.measured.back(), 6.47);
    EXPECT_EQ(s.allTimes, s.times);
    EXPECT_EQ(s.allDrawdowns, s.measured);
    EXPECT_TRUE(std::is_sorted(s.times.begin(), s.times.end()));

    EXPECT_EQ(s.paramCount, 2);
    EXPECT_EQ(s.paramVector[0], 1.0f);
    EXPECT_EQ(s.paramVector[1], 1.0f);
    EXPECT_TRUE(
        std::all_of(s.paramVector.begin() + 2, s.paramVector.end(), [](float v) { return v == 0.0f; }));

    EXPECT_EQ(s.fileTag, 100);
    EXPECT_EQ(s.untitled, 1);
    EXPECT_EQ(s.modified, 0);
    EXPECT_EQ(s.reportFileName, "test.out");
    EXPECT_EQ(s.projectDescription, "Theis Type Curve");
    EXPECT_EQ(s.operatorName, "John Doe");
    EXPECT_EQ(s.pumpingRate, 75.53f);
    EXPECT_EQ(s.radialDistance, 154.0f);
    EXPECT_EQ(s.errorHistory.size(), 20u);
    EXPECT_EQ(s.lsParams.size(), 4u);
    EXPECT_EQ(s.lsParamFree, std::vector<int>(4, 1));
    EXPECT_EQ(s.curveX.size(), 20u);
    EXPECT_EQ(s.curveY.size(), 20u);
    EXPECT_EQ(s.modelParams.size(), 1u);
    EXPECT_EQ(s.xAxisLog, 1);
    EXPECT_EQ(s.yAxisLog, 0);
}

TEST(AnalysisStateDefaults, NumericalTablesAreBuiltForTheDefaultCounts) {
    const AnalysisState s = makeDefaultState();
    EXPECT_EQ(s.gaussNodes.size(), 21u);
    EXPECT_EQ(s.gaussWeights.size(), 21u);
    EXPECT_EQ(s.stehfestWeights.size(), 13u);
    EXPECT_LT(s.gaussNodes[1], -0.99);
    EXPECT_NEAR(s.stehfestWeights[12], 359251.2, 0.1);

    AnalysisState changed = s;
    changed.gaussCount = 7;
    changed.stehfestCount = 16;
    buildNumericalTables(changed);
    EXPECT_EQ(changed.gaussNodes.size(), 8u);
    EXPECT_EQ(changed.stehfestWeights.size(), 17u);
}

TEST(AnalysisStateDefaults, PublishedTypeCurveTables) {
    const AnalysisState s = makeDefaultState();
    // Wenzel (1942): k * 10^e, e = -15..0.
    ASSERT_EQ(s.uList144.size(), 144u);
    EXPECT_EQ(s.uList144[0], 1e-15f);
    EXPECT_EQ(s.uList144[8], 9e-15f);
    EXPECT_EQ(s.uList144[9], 1e-14f);
    EXPECT_EQ(s.uList144[143], 9.0f);
    EXPECT_EQ(s.uList144[135], 1.0f);

    // Hantush (1956) and (1961).
    ASSERT_EQ(s.leakyRbList.size(), 20u);
    EXPECT_EQ(s.leakyRbList[1], 0.015f);
    EXPECT_EQ(s.leakyRbList[19], 3.0f);
    const std::vector<float> leakyU{1e-6f, 2e-6f, 5e-6f,  8e-6f,  1e-5f,  2e-5f,  5e-5f, 8e-5f, 1e-4f, 2e-4f,
                                    5e-4f, 8e-4f, 0.001f, 0.002f, 0.005f, 0.008f, 0.01f, 0.02f, 0.05f, 0.08f,
                                    0.1f,  0.2f,  0.5f,   0.8f,   1.0f,   2.0f,   5.0f,  8.0f,  10.0f};
    EXPECT_EQ(s.leakyUList, leakyU);
    EXPECT_EQ(s.leakyUCount, 29);
    const std::vector<float> storBeta{0.01f, 0.02f, 0.03f,  0.05f,  0.07f,  0.1f,   0.2f,   0.3f,   0.5f,
                                      0.7f,  1.0f,  2.0f,   3.0f,   5.0f,   7.0f,   10.0f,  20.0f,  30.0f,
                                      50.0f, 70.0f, 100.0f, 200.0f, 300.0f, 500.0f, 700.0f, 1000.0f};
    EXPECT_EQ(s.storBetaList, storBeta);
    ASSERT_EQ(s.storUList.size(), 41u);
    EXPECT_EQ(s.storUList[0], 1e-9f);
    EXPECT_EQ(s.storUList[3], 7e-9f);
    EXPECT_EQ(s.storUList[40], 10.0f);

    // Neuman (1975): the decade 1e4 is absent.
    ASSERT_EQ(s.altTimeList.size(), 45u);
    EXPECT_EQ(s.altTimeCount, 45);
    EXPECT_EQ(s.altTimeList[0], 0.1f);
    EXPECT_EQ(s.altTimeList[2], 0.35f);
    EXPECT_EQ(s.altTimeList[19], 6000.0f);
    EXPECT_EQ(s.altTimeList[20], 1e5f);
    EXPECT_EQ(s.altTimeList[43], 6e10f);
    EXPECT_EQ(s.altTimeList[44], 1e11f);
    EXPECT_TRUE(std::none_of(s.altTimeList.begin(), s.altTimeList.end(),
                             [](float v) { return v > 6000.0f && v < 1e5f; }));
    ASSERT_EQ(s.altParamList.size(), 20u);
    EXPECT_EQ(s.altParamList[0], 1e-4f);
    EXPECT_EQ(s.altParamList[19], 7.0f);
}

TEST(AnalysisStateDefaults, ReservedDataAndBouwerRiceTable) {
    const AnalysisState s = makeDefaultState();
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(s.reservedRowsA[j], 10.0f);
        EXPECT_EQ(s.reservedRowsB[j], 10.0f * j);
        EXPECT_EQ(s.reservedRowsC[j], 10.0f * (j + 1));
    }
    EXPECT_EQ(s.reservedScale[1], 5.0f);
    EXPECT_FLOAT_EQ(s.reservedScale[6], 0.00005f);
    EXPECT_EQ(s.reservedSeriesA[8], 100.0f);
    EXPECT_EQ(s.reservedSeriesB[8], 640.0f);
    EXPECT_EQ(s.reservedSeriesC[8], 0.0390625f);
    EXPECT_EQ(s.spareBlock1[1], 10.0f);
    EXPECT_EQ(s.spareBlock2[6], 1.0e-4f);
    EXPECT_EQ(s.brTableLeRw[0], 3.5f);
    EXPECT_EQ(s.brTableLeRw[12], 2000.0f);
    EXPECT_EQ(s.brTableA[7], 4.4f);
    EXPECT_EQ(s.brTableB[8], 1.13f);
    EXPECT_EQ(s.brTableC[12], 13.0f);
}

TEST(FieldTable, NamesAreUniqueAndResolve) {
    std::set<std::string_view> names;
    for (const FieldInfo& f : scalarFields()) EXPECT_TRUE(names.insert(f.name).second) << f.name;
    ASSERT_NE(findField("pumpingRate"), nullptr);
    EXPECT_EQ(findField("pumpingRate")->type(), FieldType::Float);
    EXPECT_EQ(findField("ppObsKind")->type(), FieldType::Int);
    EXPECT_EQ(findField("operatorName")->type(), FieldType::Text);
    EXPECT_EQ(findField("pumpingrate"), nullptr);
    EXPECT_EQ(findField("pumpingRate")->access, FieldAccess::Settable);
    EXPECT_EQ(findField("gaussCount")->access, FieldAccess::Table);
    EXPECT_EQ(findField("usedCount")->access, FieldAccess::Count);
    const auto close = closestFieldNames("pumpingrate");
    ASSERT_FALSE(close.empty());
    EXPECT_EQ(close.front(), "pumpingRate");
}

TEST(FieldTable, SetAndReadValuesByName) {
    AnalysisState s = makeDefaultState();
    EXPECT_FALSE(setFieldText(s, *findField("transmissivity"), " 12.5 "));
    EXPECT_EQ(s.transmissivity, 12.5f);
    EXPECT_EQ(fieldText(s, *findField("transmissivity")), "12.5");
    EXPECT_FALSE(setFieldText(s, *findField("gaussCount"), "40"));
    EXPECT_EQ(s.gaussCount, 40);
    EXPECT_FALSE(setFieldText(s, *findField("operatorName"), "A. Hydro"));
    EXPECT_EQ(s.operatorName, "A. Hydro");
    EXPECT_EQ(fieldText(s, *findField("storativity")), "9.99999975e-06");

    const AnalysisState before = s;
    const auto notNumber = setFieldText(s, *findField("storativity"), "1e-4x");
    ASSERT_TRUE(notNumber);
    EXPECT_NE(notNumber->find("storativity"), std::string::npos);
    EXPECT_EQ(s.storativity, before.storativity);
    EXPECT_TRUE(setFieldText(s, *findField("gaussCount"), "4.5"));
    EXPECT_TRUE(setFieldText(s, *findField("gaussCount"), "99999999999"));
    EXPECT_EQ(s.gaussCount, 40);
}

}  // namespace
}  // namespace tolvex
