// Import options: the delimiter, the header lines and the columns of data-logger exports detected or
// given, water levels and depths turned into drawdowns, and bad files refused by their line number.
// Expected values are the numbers written in each fixture (and static - level by hand).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/input/Import.h"
#include "core/input/ImportOptions.h"
#include "core/input/ImportPreview.h"
#include "core/persist/ScratchFolder.h"
#include "core/state/AnalysisState.h"

namespace tolvex {
namespace {

using ::testing::HasSubstr;

struct MessyFile {
    const char* name;
    std::string text;
    int timeColumn, valueColumn;
    char delimiter;  // expected, detected
    int headerLines;
    std::vector<double> times, drawdowns;
};

std::vector<MessyFile> messyFiles() {
    return {
        {"logger export, 5 header lines, tabs",
         "Logger\tDiver-Office\nSerial\tAB123\nLocation\tPW-2\nUnits\tm, min\nNo\tTime\tPressure\tDrawdown\n"
         "1\t0.5\t10.21\t0.12\n2\t1\t10.20\t0.25\n3\t2\t10.19\t0.41\n",
         2,
         4,
         '\t',
         5,
         {0.5, 1.0, 2.0},
         {0.12, 0.25, 0.41}},
        {"semicolons with a decimal comma",
         "Zeit;Absenkung\n0,5;0,12\n1;0,25\n2,5;0,41\n",
         1,
         2,
         ';',
         1,
         {0.5, 1.0, 2.5},
         {0.12, 0.25, 0.41}},
        {"runs of blanks, value in column 3",
         "  time    temp  s\n 1    12.1   0.3\n2 12.0 0.45\n\n 4 11.9 0.6\n",
         1,
         3,
         ' ',
         1,
         {1.0, 2.0, 4.0},
         {0.3, 0.45, 0.6}},
        {"comma file with blanks around fields",
         "t , s\n 1 , 0.3\n2,0.45\n",
         1,
         2,
         ',',
         1,
         {1.0, 2.0},
         {0.3, 0.45}},
        {"blank lines and a title before the header",
         "\nPumping test PW-1\n\ntime,drawdown\n1,0.1\n2,0.2\n",
         1,
         2,
         ',',
         4,
         {1.0, 2.0},
         {0.1, 0.2}},
        {"value before time, CR line ends", "s;t\r0.7;10\r0.9;20\r", 2, 1, ';', 1, {10.0, 20.0}, {0.7, 0.9}},
        {"no header at all, classic two columns",
         "5,3.41\n10,3.58\n",
         1,
         2,
         ',',
         0,
         {5.0, 10.0},
         {3.41, 3.58}},
    };
}

TEST(ImportOptions, DetectsTheDelimiterHeaderAndReadsTheChosenColumns) {
    for (const MessyFile& f : messyFiles()) {
        ImportOptions options;
        options.timeColumn = f.timeColumn;
        options.valueColumn = f.valueColumn;
        const ImportReading r = readImportText(f.text, options, {});
        ASSERT_EQ(r.error, "") << f.name;
        EXPECT_EQ(r.delimiter, f.delimiter) << f.name;
        EXPECT_EQ(r.headerLines, f.headerLines) << f.name;
        EXPECT_EQ(r.times, f.times) << f.name;
        EXPECT_EQ(r.drawdowns, f.drawdowns) << f.name;
    }
}

TEST(ImportOptions, GivenDelimiterAndHeaderLinesAreUsedAsGiven) {
    ImportOptions options;
    options.delimiter = ';';
    options.headerLines = 2;
    // Line 2 would be a measurement, but two header lines were asked for.
    const ImportReading r = readImportText("a;b\n1;2\n3;4\n", options, {});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.times, (std::vector<double>{3.0}));
    // The comma asked for on a semicolon file splits nothing: refused at the first line after the header.
    options.delimiter = ',';
    options.headerLines = 0;
    EXPECT_THAT(readImportText("1;2\n3;4\n", options, {}).error, HasSubstr("Line 1 \"1;2\""));
}

struct ValueCase {
    ImportValues values;
    const char* text;
};

TEST(ImportOptions, LevelsAndDepthsGiveTheDrawdownsOfTheDrawdownFile) {
    // Static level 25.40 m above datum, i.e. static depth 4.60 m below a top of casing at 30.00 m.
    const std::string drawdowns = "1,0.25\n2,0.5\n4,1.75\n";
    const std::vector<ValueCase> cases = {{ImportValues::Level, "1,25.15\n2,24.9\n4,23.65\n"},
                                          {ImportValues::Depth, "1,4.85\n2,5.1\n4,6.35\n"}};
    ImportOptions plain;
    plain.delimiter = ',';
    const ImportReading expected = readImportText(drawdowns, plain, {});
    ASSERT_EQ(expected.error, "");
    for (const ValueCase& c : cases) {
        ImportOptions options = plain;
        options.values = c.values;
        options.staticLevel = c.values == ImportValues::Level ? 25.40 : 4.60;
        const ImportReading r = readImportText(c.text, options, {});
        ASSERT_EQ(r.error, "");
        ASSERT_EQ(r.drawdowns.size(), expected.drawdowns.size());
        for (std::size_t i = 0; i < r.drawdowns.size(); ++i)
            EXPECT_NEAR(r.drawdowns[i], expected.drawdowns[i], 1e-12) << c.text;
    }
    ImportOptions missing = plain;
    missing.values = ImportValues::Level;
    EXPECT_THAT(readImportText(cases[0].text, missing, {}).error, HasSubstr("static level"));
}

struct BadFile {
    const char* text;
    ImportOptions options;
    const char* message;
};

ImportOptions withClock() {
    ImportOptions o;
    o.timeFormat = ImportTimeFormat::Clock;
    return o;
}

ImportOptions withColumns(int t, int v) {
    ImportOptions o;
    o.timeColumn = t;
    o.valueColumn = v;
    return o;
}

TEST(ImportOptions, BadFilesAreRefusedByTheirLineNumber) {
    const std::vector<BadFile> cases = {
        {"time,s\n1,0.1\n2,0.2\n3,oops\n4,0.4\n", {}, "Line 4 \"3,oops\" is not a measurement: column 2"},
        {"1,0.1\n2\n", {}, "Line 2 \"2\" is not a measurement: it has no column 2"},
        {"t;s\n08:00;0.1\n25:10;0.2\n", withClock(), "Line 3 \"25:10;0.2\" is not a measurement: column 1"},
        {"2024-01-01 08:00,0.1\n08:05,0.2\n", withClock(), "Line 2 has a clock time without a date"},
        {"1,0.1\n", withColumns(2, 2), "cannot both be column 2"},
        {"1,0.1\n", withColumns(0, 2), "counted from 1"},
        {"header only\n", {}, "No line has numbers in columns 1 and 2"},
        {"a,b\n1,2\n",
         [] {
             ImportOptions o;
             o.headerLines = 5;
             o.delimiter = ',';
             return o;
         }(),
         "No measurements after the header lines"},
    };
    for (const BadFile& c : cases) {
        const ImportReading r = readImportText(c.text, c.options, {});
        EXPECT_THAT(r.error, HasSubstr(c.message)) << c.text;
        EXPECT_TRUE(r.times.empty()) << c.text;
    }
}

TEST(ImportOptions, ARefusedFileLeavesTheStateAsItWas) {
    testing::ScratchFolder folder;
    const std::string path = folder.write("bad.csv", "Logger\ntime;level\n1;10,5\n2;x\n");
    AnalysisState state = makeDefaultState();
    const AnalysisState before = state;
    ImportOptions options;
    options.values = ImportValues::Level;
    options.staticLevel = 11.0;
    const auto error = importWithOptions(path, options, state);
    ASSERT_TRUE(error.has_value());
    EXPECT_THAT(*error, HasSubstr("Line 4"));
    EXPECT_THAT(*error, HasSubstr(path));
    EXPECT_EQ(state.allTimes, before.allTimes);
    EXPECT_EQ(state.allDrawdowns, before.allDrawdowns);
    EXPECT_EQ(state.allCount, before.allCount);

    const std::string good = folder.write("good.csv", "Logger\ntime;level\n1;10,5\n2;10,25\n");
    std::string notice;
    ASSERT_FALSE(importWithOptions(good, options, state, &notice).has_value());
    EXPECT_EQ(state.allTimes, (std::vector<double>{1.0, 2.0}));
    EXPECT_EQ(state.allDrawdowns, (std::vector<double>{0.5, 0.75}));
    EXPECT_EQ(state.usedCount, 2);
    EXPECT_THAT(notice, HasSubstr("delimiter semicolon detected, 2 header lines skipped"));
}

TEST(ImportOptions, ThePreviewShowsWhatEachLineBecomes) {
    ImportOptions options;
    options.timeColumn = 2;
    options.valueColumn = 3;
    options.start = "1";
    const ImportPreview p = previewImport("No;t;s\n1;0,5;0,1\n\n2;2;0,2\n3;3;0,3\n", options, {}, 4);
    ASSERT_EQ(p.lines.size(), 4u);
    EXPECT_TRUE(p.delimiterDetected);
    EXPECT_EQ(p.lines[0].role, PreviewLine::Role::Header);
    EXPECT_EQ(p.lines[0].fields, (std::vector<std::string>{"No", "t", "s"}));
    EXPECT_EQ(p.lines[1].role, PreviewLine::Role::LeftOut);  // t = 0.5 - 1 lies before the start
    EXPECT_EQ(p.lines[2].role, PreviewLine::Role::Blank);
    EXPECT_EQ(p.lines[3].role, PreviewLine::Role::Measurement);
    EXPECT_EQ(p.lines[3].time, 1.0);
    EXPECT_EQ(p.lines[3].drawdown, 0.2);
    EXPECT_EQ(p.reading.beforeStart, 1u);
    EXPECT_THAT(previewText(p), HasSubstr("4: t = 1, s = 0.2  <-  2 | 2 | 0,2"));
    // A file that cannot be read still shows its lines, marked as not read, with the reason.
    ImportOptions comma;
    comma.delimiter = ',';
    comma.headerLines = 0;
    const ImportPreview bad = previewImport("1,a\n", comma, {}, 4);
    EXPECT_EQ(bad.lines[0].role, PreviewLine::Role::NotRead);
    EXPECT_THAT(previewText(bad), HasSubstr("cannot import: Line 1"));
}

TEST(ImportOptions, SplitsFieldsAtTheDelimiterOrAtRunsOfBlanks) {
    EXPECT_EQ(splitImportFields(" a ; b;;c ", ';'), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(splitImportFields(" a \t b  c ", kBlanksDelimiter), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(splitImportFields("   ", kBlanksDelimiter).empty());
    EXPECT_EQ(importDelimiterNamed("semicolon"), ';');
    EXPECT_FALSE(importDelimiterNamed("pipe"));
    EXPECT_EQ(importValuesNamed("depth"), ImportValues::Depth);
    EXPECT_EQ(importTimeFormatNamed("clock"), ImportTimeFormat::Clock);
}

}  // namespace
}  // namespace tolvex
