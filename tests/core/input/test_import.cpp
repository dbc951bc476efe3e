#include <gtest/gtest.h>

#include <tuple>

#include "core/input/Import.h"
#include "core/persist/ScratchFolder.h"

namespace tolvex {
namespace {

using testing::ScratchFolder;

ParsedMeasurements parse(const std::string& text, int delimiter = kDelimiterComma) {
    return parseMeasurementText(text, *delimiterCharacter(delimiter));
}

TEST(ImportParsing, TimeEndsAtTheDelimiterOrTheFirstBlank) {
    const auto m = parse("5,3.41\n5, 3.41\n5 3.41\n   5,3.41\n5 , 3.41\n");
    ASSERT_EQ(m.times.size(), 5u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(m.times[i], 5.0) << i;
        EXPECT_DOUBLE_EQ(m.drawdowns[i], 3.41) << i;
    }
    // The blank ends the time; the drawdown field then starts with the comma.
    EXPECT_DOUBLE_EQ(m.times[4], 5.0);
    EXPECT_DOUBLE_EQ(m.drawdowns[4], 0.0);
}

TEST(ImportParsing, EachDelimiter) {
    EXPECT_DOUBLE_EQ(parse("5;3.41", kDelimiterSemicolon).drawdowns.at(0), 3.41);
    EXPECT_DOUBLE_EQ(parse("5 ;3.41", kDelimiterSemicolon).drawdowns.at(0), 0.0);
    EXPECT_DOUBLE_EQ(parse("5\t3.41", kDelimiterTab).drawdowns.at(0), 3.41);
    EXPECT_DOUBLE_EQ(parse("5 3.41", kDelimiterSpace).drawdowns.at(0), 3.41);
    EXPECT_DOUBLE_EQ(parse("5,3.41", kDelimiterSpace).drawdowns.at(0), 0.0);
    EXPECT_FALSE(delimiterCharacter(4).has_value());
    EXPECT_FALSE(delimiterCharacter(-1).has_value());
}

// An empty time field is no time: the line is skipped, not read as (0, time).
TEST(ImportParsing, TabAtLineStartIsAnEmptyTimeAndSkipped) {
    const auto m = parse("\t5\t3.41\n6\t1\n", kDelimiterTab);
    ASSERT_EQ(m.times.size(), 1u);
    EXPECT_DOUBLE_EQ(m.times[0], 6.0);
    EXPECT_EQ(m.skippedLines, std::vector<std::size_t>{1});
}

TEST(ImportParsing, LastLineWithoutLineEndIsRead) {
    const auto m = parse("5,3.41\n10,3.58");
    ASSERT_EQ(m.times.size(), 2u);
    EXPECT_DOUBLE_EQ(m.times[1], 10.0);
    EXPECT_DOUBLE_EQ(m.drawdowns[1], 3.58);
}

TEST(ImportParsing, ShorterTimeAfterLongerIsReadWhole) {
    const auto m = parse("9.75,1\n10,2\n");
    ASSERT_EQ(m.times.size(), 2u);
    EXPECT_DOUBLE_EQ(m.times[0], 9.75);
    EXPECT_DOUBLE_EQ(m.times[1], 10.0);
    EXPECT_DOUBLE_EQ(m.drawdowns[1], 2.0);
}

TEST(ImportParsing, BlankLinesSkippedSingleFieldReadsZeroCrLfAccepted) {
    const auto m = parse("\n   \n5,3.41\r\n\t\r\n7\r\n\n");
    ASSERT_EQ(m.times.size(), 2u);
    EXPECT_DOUBLE_EQ(m.drawdowns[0], 3.41);
    EXPECT_DOUBLE_EQ(m.times[1], 7.0);
    EXPECT_DOUBLE_EQ(m.drawdowns[1], 0.0);
}

TEST(ImportParsing, ALongLineIsOneLine) {
    const std::string padding(300, ' ');
    const auto m = parse("5," + padding + "3.41" + padding + "\n6,1\n");
    ASSERT_EQ(m.times.size(), 2u);
    EXPECT_DOUBLE_EQ(m.drawdowns[0], 3.41);
    EXPECT_DOUBLE_EQ(m.times[1], 6.0);
}

// Lines whose time is not a number are skipped and counted; the rest keeps the atof reading.
TEST(ImportParsing, LinesWithoutATimeAreSkippedTheRestReadByAtof) {
    const auto m = parse("time,drawdown\n# pumped at 80 m3/d\n\n5x,4y\ninf,1\n7,abc\n-2,3\n");
    EXPECT_EQ(m.skippedLines, (std::vector<std::size_t>{1, 2, 5}));
    EXPECT_EQ(m.firstSkipped, "time,drawdown");
    EXPECT_EQ(m.times, (std::vector<double>{5.0, 7.0, -2.0}));
    EXPECT_EQ(m.drawdowns, (std::vector<double>{4.0, 0.0, 3.0}));
    EXPECT_EQ(m.linesWithDrawdown, 2u);
}

// The import says which lines it skipped, and refuses a file that no line of gives a drawdown with
// the chosen delimiter, naming the delimiter that splits the lines.
TEST(ImportFile, SkippedLinesAreReportedAndAWrongDelimiterIsRefused) {
    ScratchFolder folder;
    AnalysisState state = makeDefaultState();
    std::string notice = "stale";
    ASSERT_FALSE(importMeasurements(folder.write("h.dat", "time,drawdown\n5,3.41\n# end\n10,3.58\n"),
                                    kDelimiterComma, state, &notice));
    EXPECT_EQ(notice,
              "Skipped 2 lines of \"" + folder.file("h.dat") +
                  "\" that do not start with a number (lines 1, 3); the first reads \"time,drawdown\".");
    EXPECT_EQ(state.allCount, 2);
    EXPECT_EQ(state.allTimes, (std::vector<double>{5.0, 10.0}));
    ASSERT_FALSE(importMeasurements(folder.write("ok.dat", "5,3.41\n"), kDelimiterComma, state, &notice));
    EXPECT_EQ(notice, "");

    const std::vector<std::tuple<std::string, int, std::string>> refused{
        {"5;3.41\n10;3.58\n", kDelimiterComma, "delimiter Comma. The delimiter Semicolon splits its lines."},
        {"5\t3.41\n10\t3.58\n", kDelimiterSemicolon,
         "delimiter Semicolon. The delimiter Tab splits its lines."},
        {"5,3.41\n10,3.58\n", kDelimiterSpace, "delimiter Space. The delimiter Comma splits its lines."},
        {"5\n10\n", kDelimiterComma, "delimiter Comma."},
    };
    for (const auto& [text, delimiter, ending] : refused) {
        const auto error = importMeasurements(folder.write("w.dat", text), delimiter, state);
        ASSERT_TRUE(error) << text;
        EXPECT_EQ(error->substr(0, 12), "No line of \"") << *error;
        EXPECT_EQ(error->substr(error->size() - ending.size()), ending) << *error;
        EXPECT_EQ(state.allCount, 1);  // ok.dat stays
    }
    const auto headerOnly =
        importMeasurements(folder.write("t.dat", "time,drawdown\n"), kDelimiterComma, state);
    ASSERT_TRUE(headerOnly);
    EXPECT_NE(headerOnly->find("\"time,drawdown\""), std::string::npos);
}

TEST(ImportFile, HundredTwentyLinesFillTableAndUsedSet) {
    ScratchFolder folder;
    std::string text;
    for (int i = 1; i <= 120; ++i) text += std::to_string(i) + "," + std::to_string(i * 0.5) + "\n";
    AnalysisState state = makeDefaultState();
    ASSERT_FALSE(importMeasurements(folder.write("m.dat", text), kDelimiterComma, state));
    EXPECT_EQ(state.allCount, 120);
    EXPECT_EQ(state.usedCount, 120);
    EXPECT_EQ(state.useFrom, 1);
    EXPECT_EQ(state.useTo, 120);
    ASSERT_EQ(state.times.size(), 120u);
    ASSERT_EQ(state.allDrawdowns.size(), 120u);
    ASSERT_EQ(state.calculated.size(), 120u);
    EXPECT_DOUBLE_EQ(state.allTimes[119], 120.0);
    EXPECT_DOUBLE_EQ(state.measured[119], 60.0);
}

TEST(ImportFile, DataFileWithCrLfAndNoFinalLineEnd) {
    AnalysisState state = makeDefaultState();
    ASSERT_FALSE(importMeasurements(TOLVEX_TEST_DATA_DIR "/import_pumping_crlf.dat", kDelimiterTab, state));
    ASSERT_EQ(state.allCount, 6);
    EXPECT_DOUBLE_EQ(state.allTimes[0], 1.0);
    EXPECT_DOUBLE_EQ(state.allDrawdowns[0], 0.66);
    EXPECT_DOUBLE_EQ(state.allTimes[5], 100.0);
    EXPECT_DOUBLE_EQ(state.allDrawdowns[5], 2.43);
}

TEST(ImportFile, UnreadableOrEmptyFilesChangeNothing) {
    ScratchFolder folder;
    const AnalysisState before = makeDefaultState();
    AnalysisState state = before;
    const auto missing = importMeasurements(folder.file("missing.dat"), kDelimiterComma, state);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->substr(0, missing->find('\n')), "Cannot open input file!");
    EXPECT_NE(missing->find("missing.dat"), std::string::npos);

    const auto empty = importMeasurements(folder.write("empty.dat", "\n  \n"), kDelimiterComma, state);
    ASSERT_TRUE(empty);
    EXPECT_NE(empty->find("empty.dat"), std::string::npos);

    EXPECT_TRUE(importMeasurements(folder.file(""), kDelimiterComma, state));
    EXPECT_TRUE(importMeasurements(folder.write("ok.dat", "1,2\n"), 9, state));
    EXPECT_EQ(state.allCount, 14);
    EXPECT_EQ(state.allTimes, before.allTimes);
    EXPECT_EQ(state.measured, before.measured);
}

TEST(ImportFile, MoreMeasurementsThanADocumentKeepsAreRefused) {
    ScratchFolder folder;
    std::string text;
    text.reserve(70000 * 4);
    for (int i = 0; i < 65536; ++i) text += "1,2\n";
    AnalysisState state = makeDefaultState();
    const auto error = importMeasurements(folder.write("big.dat", text), kDelimiterComma, state);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("65535"), std::string::npos);
    EXPECT_EQ(state.allCount, 14);
}

}  // namespace
}  // namespace tolvex
