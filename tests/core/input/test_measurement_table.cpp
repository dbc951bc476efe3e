#include <gtest/gtest.h>

#include "core/input/MeasurementTable.h"

namespace tolvex {
namespace {

std::vector<std::string> cellsOf(const AnalysisState& s) {
    return measurementTableContent(s).cellTexts;
}

TEST(MeasurementTableContent, DefaultTableShowsFourDecimalsLeftAligned) {
    const AnalysisState s = makeDefaultState();
    const auto content = measurementTableContent(s);
    EXPECT_EQ(content.count, 14);
    ASSERT_EQ(content.cellTexts.size(), 42u);
    EXPECT_EQ(content.cellTexts[0], "5.0000 ");
    EXPECT_EQ(content.cellTexts[1], "3.4100 ");
    EXPECT_EQ(content.cellTexts[2], "");
    EXPECT_EQ(content.cellTexts[39], "600.0000");
    EXPECT_EQ(content.cellTexts[40], "6.4700 ");
    EXPECT_EQ(content.rangeFrom, 1);
    EXPECT_EQ(content.rangeTo, 14);
    EXPECT_EQ(tableHeaderText(0), "No.         ");
    EXPECT_EQ(tableHeaderText(2), "Drawdown(m) ");
    EXPECT_EQ(tableHeaderText(3), "Drawdown(c) ");
    EXPECT_EQ(tableRowNumberText(7), "7");
}

TEST(MeasurementTableContent, CalculatedColumnOnlyAfterAnEstimationInUsedRows) {
    AnalysisState s = makeDefaultState();
    s.useFrom = 3;
    s.useTo = 4;
    s.usedCount = 2;
    s.calculated = {1.5, 2.25};
    EXPECT_EQ(cellsOf(s)[3 * 2 + 2], "");
    s.plotContent = 2;
    const auto cells = cellsOf(s);
    EXPECT_EQ(cells[3 * 1 + 2], "");
    EXPECT_EQ(cells[3 * 2 + 2], "1.5000 ");
    EXPECT_EQ(cells[3 * 3 + 2], "2.2500 ");
    EXPECT_EQ(cells[3 * 4 + 2], "");
}

TEST(MeasurementTableOpening, ShortTableBecomesTheUsedSet) {
    AnalysisState s = makeDefaultState();
    s.usedCount = 20;
    s.times.assign(20, 7.0);
    s.measured.assign(20, 1.0);
    prepareMeasurementTable(s);
    EXPECT_EQ(s.allCount, 20);
    EXPECT_EQ(s.useFrom, 1);
    EXPECT_EQ(s.useTo, 20);
    EXPECT_EQ(s.allTimes, s.times);
    EXPECT_EQ(s.allDrawdowns, s.measured);
}

TEST(MeasurementTableConfirm, RangeThreeToTenSelectsEight) {
    AnalysisState s = makeDefaultState();
    confirmMeasurementTable(s, cellsOf(s), 3, 10);
    EXPECT_EQ(s.useFrom, 3);
    EXPECT_EQ(s.useTo, 10);
    EXPECT_EQ(s.usedCount, 8);
    ASSERT_EQ(s.times.size(), 8u);
    EXPECT_DOUBLE_EQ(s.times[0], s.allTimes[2]);
    EXPECT_DOUBLE_EQ(s.measured[7], s.allDrawdowns[9]);
    EXPECT_EQ(s.calculated.size(), 8u);
}

TEST(MeasurementTableConfirm, InvalidBoundsAreIgnored) {
    AnalysisState s = makeDefaultState();
    confirmMeasurementTable(s, cellsOf(s), 5, 5);  // a single measurement is not a range
    EXPECT_EQ(s.useFrom, 5);
    EXPECT_EQ(s.useTo, 14);
    confirmMeasurementTable(s, cellsOf(s), 0, 9);
    EXPECT_EQ(s.useFrom, 5);
    EXPECT_EQ(s.useTo, 9);
    confirmMeasurementTable(s, cellsOf(s), 2, 15);
    EXPECT_EQ(s.useFrom, 2);
    EXPECT_EQ(s.useTo, 9);
    EXPECT_EQ(s.usedCount, 8);
}

TEST(MeasurementTableConfirm, FromBeyondTheKeptToLeavesTheRange) {
    AnalysisState s = makeDefaultState();
    confirmMeasurementTable(s, cellsOf(s), 2, 5);
    confirmMeasurementTable(s, cellsOf(s), 8, 3);
    EXPECT_EQ(s.useFrom, 2);
    EXPECT_EQ(s.useTo, 5);
    EXPECT_EQ(s.usedCount, 4);
}

TEST(MeasurementTableConfirm, CellsAreReadWithAtofRules) {
    AnalysisState s = makeDefaultState();
    auto cells = cellsOf(s);
    cells[0] = " 2.5abc";
    cells[1] = "x";
    confirmMeasurementTable(s, cells, 1, 14);
    EXPECT_DOUBLE_EQ(s.allTimes[0], 2.5);
    EXPECT_DOUBLE_EQ(s.allDrawdowns[0], 0.0);
    EXPECT_DOUBLE_EQ(s.times[0], 2.5);
}

TEST(MeasurementTableConfirm, ZeroTimesDroppedExceptInFirstPlace) {
    AnalysisState s = makeDefaultState();
    auto cells = cellsOf(s);
    cells[0] = "0";
    cells[3 * 4] = "0";
    cells[3 * 6] = "-1";
    confirmMeasurementTable(s, cells, 1, 14);
    EXPECT_EQ(s.usedCount, 12);
    ASSERT_EQ(s.times.size(), 12u);
    EXPECT_EQ(s.times[0], 0.0);
    EXPECT_DOUBLE_EQ(s.times[4], 45.0);  // row 6 moved up past the dropped row 5
    EXPECT_EQ(s.useFrom, 1);
    EXPECT_EQ(s.useTo, 14);
    EXPECT_EQ(s.allCount, 14);
    EXPECT_EQ(s.allTimes[4], 0.0);
}

TEST(MeasurementCount, GrowthRepeatsTheLastRow) {
    AnalysisState s = makeDefaultState();
    ASSERT_FALSE(changeMeasurementCount(s, 16));
    EXPECT_EQ(s.allCount, 16);
    ASSERT_EQ(s.allTimes.size(), 16u);
    EXPECT_DOUBLE_EQ(s.allTimes[14], 600.0);
    EXPECT_DOUBLE_EQ(s.allTimes[15], 600.0);
    EXPECT_DOUBLE_EQ(s.allDrawdowns[15], 6.47);
    EXPECT_EQ(s.usedCount, 14);
    EXPECT_EQ(s.useTo, 14);
}

TEST(MeasurementCount, ShrinkingCutsTheUsedRangeToTheTable) {
    AnalysisState s = makeDefaultState();
    confirmMeasurementTable(s, cellsOf(s), 5, 14);
    ASSERT_FALSE(changeMeasurementCount(s, 8));
    EXPECT_EQ(s.allCount, 8);
    EXPECT_EQ(s.useFrom, 5);
    EXPECT_EQ(s.useTo, 8);
    EXPECT_EQ(s.usedCount, 4);
    ASSERT_EQ(s.times.size(), 4u);
    EXPECT_DOUBLE_EQ(s.times[3], 75.0);
    ASSERT_FALSE(changeMeasurementCount(s, 2));
    EXPECT_EQ(s.useFrom, 1);
    EXPECT_EQ(s.useTo, 2);
    EXPECT_EQ(s.usedCount, 2);
}

TEST(MeasurementCount, EmptyTableGrowsWithZerosAndBadCountsAreRefused) {
    AnalysisState s = makeDefaultState();
    EXPECT_TRUE(changeMeasurementCount(s, 0));
    EXPECT_TRUE(changeMeasurementCount(s, 65536));
    EXPECT_EQ(s.allCount, 14);
    s.allCount = s.usedCount = s.useTo = 0;
    s.allTimes.clear();
    s.allDrawdowns.clear();
    s.times.clear();
    s.measured.clear();
    ASSERT_FALSE(changeMeasurementCount(s, 3));
    EXPECT_EQ(s.allTimes, std::vector<double>(3, 0.0));
    confirmMeasurementTable(s, cellsOf(s), 1, 3);
    EXPECT_EQ(s.usedCount, 1);  // three zero times: only the first stays
}

}  // namespace
}  // namespace tolvex
