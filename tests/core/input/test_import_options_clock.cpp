// Clock times of logger exports: parsed with and without dates, across midnight, from the first row or
// a given start, in the document's time unit or minutes. Expected elapsed times from
// tests/reference/import_clock_times.py (Python's datetime).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/input/ClockTime.h"
#include "core/input/ImportOptions.h"

namespace tolvex {
namespace {

using ::testing::HasSubstr;

struct ClockCase {
    const char* text;
    bool valid;
    double secondOfDay;
    bool dated;
};

TEST(ClockTime, ParsesTheFormsLoggersWrite) {
    const std::vector<ClockCase> cases = {
        {"08:05", true, 8 * 3600.0 + 300.0, false},
        {"8:05", true, 8 * 3600.0 + 300.0, false},
        {" 23:59:59 ", true, 86399.0, false},
        {"12:00:30.25", true, 43230.25, false},
        {"2024-02-29 00:00:01", true, 1.0, true},
        {"2024-02-29T13:30", true, 48600.0, true},
        {"2023-02-29 10:00", false, 0, false},  // no 29 February in 2023
        {"24:00", false, 0, false},
        {"12:60", false, 0, false},
        {"12:00:60", false, 0, false},
        {"12", false, 0, false},
        {"12:5", false, 0, false},
        {"12:00:-1", false, 0, false},
        {"12:00 pm", false, 0, false},
        {"2024-13-01 10:00", false, 0, false},
        {"", false, 0, false},
    };
    for (const ClockCase& c : cases) {
        const auto t = parseClockTime(c.text);
        ASSERT_EQ(t.has_value(), c.valid) << c.text;
        if (!c.valid) continue;
        EXPECT_EQ(t->secondOfDay, c.secondOfDay) << c.text;
        EXPECT_EQ(t->day.has_value(), c.dated) << c.text;
    }
    // 1970-01-01 is day 0; 2000-03-01 is day 11017 (datetime.date(2000, 3, 1) - date(1970, 1, 1)).
    EXPECT_EQ(parseClockTime("1970-01-01 00:00")->day, 0);
    EXPECT_EQ(parseClockTime("2000-03-01 00:00")->day, 11017);
    EXPECT_TRUE(isDateOnly("2024-05-06"));
    EXPECT_FALSE(isDateOnly("2024-05-06 10:00"));
}

void expectTimes(const ImportReading& r, const std::vector<double>& expected, const char* what) {
    ASSERT_EQ(r.error, "") << what;
    ASSERT_EQ(r.times.size(), expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(r.times[i], expected[i], 1e-12 * (1.0 + expected[i])) << what << " row " << i;
}

const char* kAcrossMidnight =
    "Date Time,Level\n2024-02-28 23:58:30,0.1\n2024-02-29 00:00:00,0.2\n2024-02-29 23:59:59,0.3\n"
    "2024-03-01 00:00:01,0.4\n";

TEST(ImportClockTimes, DatedTimesRunAcrossMidnightInMinutesByDefault) {
    ImportOptions o;
    o.timeFormat = ImportTimeFormat::Clock;
    expectTimes(readImportText(kAcrossMidnight, o, {}), {0.0, 1.5, 1441.4833333333333, 1441.5166666666667},
                "minutes");
    // From a start given without a date (the first row's day), in the document's hours.
    o.start = "23:55";
    DisplayUnits hours;
    hours.time = "h";
    expectTimes(readImportText(kAcrossMidnight, o, hours),
                {0.058333333333333334, 0.08333333333333333, 24.083055555555557, 24.08361111111111}, "hours");
}

TEST(ImportClockTimes, UndatedTimesThatGoBackAreTheNextDay) {
    ImportOptions o;
    o.timeFormat = ImportTimeFormat::Clock;
    o.delimiter = '\t';
    expectTimes(readImportText("22:30\t0.1\n23:45:15\t0.2\n00:10\t0.3\n01:00\t0.4\n", o, {}),
                {0.0, 75.25, 100.0, 150.0}, "undated");
}

TEST(ImportClockTimes, DateAndTimeInTwoBlankSeparatedColumnsAreOneTime) {
    ImportOptions o;
    o.timeFormat = ImportTimeFormat::Clock;
    o.valueColumn = 3;  // the clock time is column 2
    DisplayUnits seconds;
    seconds.time = "s";
    const ImportReading r =
        readImportText("date time level\n2023-12-31 23:59:00 0.5\n2024-01-01 00:01:30 0.7\n", o, seconds);
    expectTimes(r, {0.0, 150.0}, "year end");
    EXPECT_EQ(r.delimiter, kBlanksDelimiter);
    EXPECT_EQ(r.drawdowns, (std::vector<double>{0.5, 0.7}));
}

TEST(ImportClockTimes, RowsBeforeTheStartAreLeftOutAndABadStartIsRefused) {
    ImportOptions o;
    o.timeFormat = ImportTimeFormat::Clock;
    o.start = "2024-02-29 00:00";
    const ImportReading r = readImportText(kAcrossMidnight, o, {});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.beforeStart, 1u);
    EXPECT_EQ(r.lines, (std::vector<std::size_t>{3, 4, 5}));
    EXPECT_EQ(r.times.front(), 0.0);
    o.start = "midnight";
    EXPECT_THAT(readImportText(kAcrossMidnight, o, {}).error, HasSubstr("\"midnight\" is not a clock time"));
    o.start = "2024-03-02 00:00";
    EXPECT_THAT(readImportText(kAcrossMidnight, o, {}).error, HasSubstr("Every measurement lies before"));
    ImportOptions undated;
    undated.timeFormat = ImportTimeFormat::Clock;
    undated.start = "2024-01-01 10:00";
    EXPECT_THAT(readImportText("10:00,1\n", undated, {}).error, HasSubstr("has a date but the clock times"));
}

}  // namespace
}  // namespace tolvex
