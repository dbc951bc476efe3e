#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <optional>
#include <tuple>

#include "core/input/LeadingNumber.h"
#include "core/input/MeasurementTable.h"

namespace tolvex {
namespace {

std::vector<std::string> cellsOf(const AnalysisState& s) {
    return measurementTableContent(s).cellTexts;
}

// OK with these cells and range; the test fails if a cell is refused.
void confirm(AnalysisState& s, const std::vector<std::string>& cells, int from, int to) {
    const auto refusal = confirmMeasurementTable(s, cells, from, to);
    ASSERT_FALSE(refusal) << refusal->message;
}

// A hexadecimal float as Python's float.hex writes it ("-0x1.8p+1"), read exactly.
double fromHex(std::string text) {
    const bool negative = text.front() == '-';
    text.erase(0, text.find('x') + 1);
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::hex);
    return negative ? -value : value;
}

std::size_t significantDigits(std::string text) {
    text = text.substr(0, text.find_first_of("eE"));
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos) return 1;
    return digits.find_last_not_of('0') - first + 1;
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
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

// "Drawdown(c)" shows only drawdowns calculated for these measurements: none after new data.
TEST(MeasurementTableContent, CalculatedColumnEmptyForDataNeverFitted) {
    AnalysisState s = makeDefaultState();
    s.plotContent = 2;
    s.calculated.assign(14, 0.0);
    EXPECT_FALSE(calculatedShown(s));
    EXPECT_EQ(cellsOf(s)[2], "");
    s.calculated[3] = 4.0;
    EXPECT_TRUE(calculatedShown(s));
    // New values for the used rows: the previous result is cleared.
    auto cells = cellsOf(s);
    cells[0] = "4";
    confirm(s, cells, 1, 14);
    EXPECT_EQ(s.calculated, std::vector<double>(14, 0.0));
    EXPECT_EQ(cellsOf(s)[3 * 3 + 2], "");
    // The same measurements confirmed again keep what was calculated for them.
    s.calculated[3] = 4.0;
    confirm(s, cellsOf(s), 1, 14);
    EXPECT_EQ(s.calculated[3], 4.0);
    confirm(s, cellsOf(s), 2, 14);
    EXPECT_EQ(s.calculated, std::vector<double>(13, 0.0));
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
    confirm(s, cellsOf(s), 3, 10);
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
    confirm(s, cellsOf(s), 5, 5);  // a single measurement is not a range
    EXPECT_EQ(s.useFrom, 5);
    EXPECT_EQ(s.useTo, 14);
    confirm(s, cellsOf(s), 0, 9);
    EXPECT_EQ(s.useFrom, 5);
    EXPECT_EQ(s.useTo, 9);
    confirm(s, cellsOf(s), 2, 15);
    EXPECT_EQ(s.useFrom, 2);
    EXPECT_EQ(s.useTo, 9);
    EXPECT_EQ(s.usedCount, 8);
}

TEST(MeasurementTableConfirm, FromBeyondTheKeptToLeavesTheRange) {
    AnalysisState s = makeDefaultState();
    confirm(s, cellsOf(s), 2, 5);
    confirm(s, cellsOf(s), 8, 3);
    EXPECT_EQ(s.useFrom, 2);
    EXPECT_EQ(s.useTo, 5);
    EXPECT_EQ(s.usedCount, 4);
}

// Each cell text shown reads back as its value, exactly, with no more digits than that needs;
// tests/reference/table_cell_texts.py gives the texts the rule prescribes.
TEST(MeasurementTableContent, CellTextsReadBackExactly) {
    std::ifstream file(TOLVEX_TEST_DATA_DIR "/table_cell_texts.csv");
    ASSERT_TRUE(file) << "table_cell_texts.csv";
    std::string line;
    int rows = 0;
    std::string worst;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#' || line.rfind("value", 0) == 0) continue;
        const auto a = line.find(',');
        const auto b = line.find(',', a + 1);
        const double value = fromHex(line.substr(0, a));
        const std::string fixed = line.substr(a + 1, b - a - 1);
        const std::size_t digits = std::stoul(line.substr(b + 1));
        ++rows;
        const std::string text = tableValueText(value);
        const std::string shown = text.substr(0, text.find(' '));
        double back = 0.0;
        std::from_chars(shown.data(), shown.data() + shown.size(), back);
        const bool ok = sameBits(back, value) && text.size() >= 7 &&
                        (fixed.empty() ? significantDigits(shown) == digits : shown == fixed);
        if (!ok && worst.empty()) worst = line + " -> \"" + text + "\"";
    }
    EXPECT_EQ(rows, 30);
    EXPECT_TRUE(worst.empty()) << "first wrong row: " << worst;
}

// Times in days and small drawdowns, a document's non-finite value: OK on the unedited table
// keeps every value to the bit.
TEST(MeasurementTableConfirm, UneditedCellsKeepTheirValues) {
    AnalysisState s = makeDefaultState();
    const std::vector<double> times{5.8e-5, 1.2e-4, 1.0 / 3.0, 0.1 + 0.2, 7.0};
    const std::vector<double> drawdowns{1e-5, 2.5e-7, -0.0, std::nan(""), 1e300};
    s.allTimes = times;
    s.allDrawdowns = drawdowns;
    s.allCount = 5;
    s.useFrom = 1;
    s.useTo = 5;
    confirm(s, cellsOf(s), 1, 5);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_TRUE(sameBits(s.allTimes[i], times[i])) << i;
        EXPECT_TRUE(sameBits(s.allDrawdowns[i], drawdowns[i])) << i;
    }
    EXPECT_EQ(s.usedCount, 5);
    EXPECT_TRUE(sameBits(s.times[1], 1.2e-4));
}

// A cell is one complete number or it is refused, naming row and column; nothing is stored then.
TEST(MeasurementTableConfirm, ACellThatIsNotANumberIsRefused) {
    AnalysisState s = makeDefaultState();
    const AnalysisState before = s;
    const std::vector<std::tuple<int, int, std::string, std::string>> refused{
        {1, 1, "abc", "Row 1, column \"Time\": \"abc\" is not a number."},
        {3, 2, "3,41,2", "Row 3, column \"Drawdown(m)\": \"3,41,2\" is not a number."},
        {14, 2, " 2.5abc", ""},
        {7, 1, "", ""},
        {2, 1, "inf", ""},
    };
    for (const auto& [row, column, text, message] : refused) {
        auto cells = cellsOf(s);
        cells[static_cast<std::size_t>((row - 1) * 3 + column - 1)] = text;
        const auto refusal = confirmMeasurementTable(s, cells, 3, 10);
        ASSERT_TRUE(refusal) << text;
        EXPECT_EQ(refusal->row, row) << text;
        EXPECT_EQ(refusal->column, column) << text;
        if (!message.empty()) {
            EXPECT_EQ(refusal->message, message);
        }
        EXPECT_EQ(s.allTimes, before.allTimes) << text;
        EXPECT_EQ(s.allDrawdowns, before.allDrawdowns) << text;
        EXPECT_EQ(s.useFrom, 1) << text;
    }
    // A lone comma is a decimal comma; "Drawdown(c)" is never read.
    auto cells = cellsOf(s);
    cells[1] = "3,5";
    cells[2] = "junk";
    confirm(s, cells, 1, 14);
    EXPECT_EQ(s.allDrawdowns[0], 3.5);
}

// Rows pasted beyond the table's end extend it; their cells must all be numbers.
TEST(MeasurementTableConfirm, RowsBeyondTheTableExtendIt) {
    AnalysisState s = makeDefaultState();
    auto cells = cellsOf(s);
    cells.insert(cells.end(), {"700", "6.6", "", "800", "", ""});
    const auto refusal = confirmMeasurementTable(s, cells, 1, 16);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->row, 16);
    EXPECT_EQ(refusal->column, 2);
    EXPECT_EQ(s.allCount, 14);
    cells[16 * 3 - 2] = "6,7";
    confirm(s, cells, 1, 16);
    EXPECT_EQ(s.allCount, 16);
    EXPECT_EQ(s.usedCount, 16);
    EXPECT_EQ(s.allTimes[14], 700.0);
    EXPECT_EQ(s.measured[15], 6.7);
}

TEST(CompleteNumber, TakesOneWholeDecimalNumber) {
    const std::vector<std::pair<std::string, std::optional<double>>> cases{
        {"3.41", 3.41}, {" 3,41 ", 3.41}, {"-2.5e-3", -2.5e-3}, {"+7", 7.0},
        {"5.", 5.0},    {".5", 0.5},      {"5,8e-5", 5.8e-5},   {"1e-400", 0.0},
        {"abc", {}},    {"3,41,2", {}},   {"1,234.5", {}},      {"5 m", {}},
        {"", {}},       {"inf", {}},      {"nan", {}},          {"1e999", {}},
        {"-", {}},      {"e5", {}},       {"5e", {}},           {"3 4", {}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(completeNumber(text), expected) << '"' << text << '"';
    EXPECT_TRUE(startsWithNumber(" -5x"));
    EXPECT_TRUE(startsWithNumber(".5"));
    EXPECT_FALSE(startsWithNumber("time"));
    EXPECT_FALSE(startsWithNumber("# 5"));
    EXPECT_FALSE(startsWithNumber("inf"));
    EXPECT_FALSE(startsWithNumber(""));
}

TEST(MeasurementTableConfirm, ZeroTimesDroppedExceptInFirstPlace) {
    AnalysisState s = makeDefaultState();
    auto cells = cellsOf(s);
    cells[0] = "0";
    cells[3 * 4] = "0";
    cells[3 * 6] = "-1";
    confirm(s, cells, 1, 14);
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
    confirm(s, cellsOf(s), 5, 14);
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
    confirm(s, cellsOf(s), 1, 3);
    EXPECT_EQ(s.usedCount, 1);  // three zero times: only the first stays
}

}  // namespace
}  // namespace tolvex
