// The JSON test description: every key read as documented, and each bad key refused with a message that
// names the file and the key.
#include <gtest/gtest.h>

#include <string>

#include "cli/Cli.h"
#include "cli/TestDescription.h"

namespace tolvex::cli {
namespace {

TEST(TestDescription, ReadsEveryDocumentedKey) {
    const TestDescription d = parseTestDescription(R"({
        "model": 2, "units": {"time": "min", "length": "m", "rate": "m3/d"}, "rate": 761,
        "series": [{"name": "H30", "file": "h30.csv", "r": 30, "delimiter": "semicolon", "columns": [1, 3],
                    "header_lines": 2, "use": [3, 20], "weight": 0.5},
                   {"file": "/data/slug.csv", "H0": "first"}, {"file": "s.csv", "H0": 0.47}],
        "set": {"aquiferThickness": 7, "projectDescription": "Dalem"}})",
                                                   "/tests/dalem/test.json");
    EXPECT_EQ(d.model, 2);
    ASSERT_TRUE(d.units);
    EXPECT_EQ(d.units->time, "min");
    EXPECT_EQ(d.units->rate, "m3/d");
    EXPECT_EQ(d.rate, 761.0);
    ASSERT_EQ(d.series.size(), 3u);
    const SeriesDescription& s = d.series[0];
    EXPECT_EQ(s.name, "H30");
    EXPECT_EQ(s.file, "/tests/dalem/h30.csv");  // relative to the description
    EXPECT_EQ(s.r, 30.0);
    EXPECT_EQ(s.delimiter, "semicolon");
    EXPECT_EQ(s.columns, (std::array<int, 2>{1, 3}));
    EXPECT_EQ(s.headerLines, 2);
    EXPECT_EQ(s.use, (std::array<int, 2>{3, 20}));
    EXPECT_EQ(s.weight, 0.5);
    EXPECT_EQ(d.series[1].name, "Series 2");
    EXPECT_EQ(d.series[1].file, "/data/slug.csv");
    EXPECT_TRUE(std::holds_alternative<FirstValue>(*d.series[1].h0));
    EXPECT_EQ(std::get<double>(*d.series[2].h0), 0.47);
    EXPECT_FALSE(d.series[2].headerLines);  // detected from the file
    ASSERT_EQ(d.sets.size(), 2u);
    EXPECT_EQ(d.sets[0].first, "aquiferThickness");
    EXPECT_EQ(d.sets[1].second, "Dalem");

    const TestDescription steps =
        parseTestDescription(R"({"rates": [[0, 500], [120, 800], [300, 0]]})", "t.json");
    ASSERT_EQ(steps.rates.size(), 3u);
    EXPECT_EQ(steps.rates[1].time, 120.0);
    EXPECT_EQ(steps.rates[2].rate, 0.0);
}

TEST(TestDescription, RefusesEachBadKeyNamingIt) {
    const struct {
        const char* json;
        const char* expected;
    } cases[] = {
        {"{", "t.json: is not JSON"},
        {"[1, 2]", "t.json: holds no JSON object"},
        {R"({"modle": 0})", "t.json: modle: is no key"},
        {R"({"model": 11})", "t.json: model: is 11; the models are 0..10"},
        {R"({"model": 1.5})", "t.json: model: is 1.5, not a whole number"},
        {R"({"units": {"time": "fortnight"}})", "t.json: units: \"fortnight\" is no unit of time"},
        {R"({"units": {"speed": "m/s"}})", "t.json: units.speed: is no key"},
        {R"({"rate": -5})", "t.json: rate: is -5 and must be positive"},
        {R"({"rate": 5, "rates": [[0, 5]]})", "t.json: rates: and \"rate\" both given"},
        {R"({"rates": [[0, 5], [0, 6]]})", "t.json: rates[1]: does not come after"},
        {R"({"rates": [[0, 5], [10]]})", "t.json: rates[1]: is [10], not [time, rate]"},
        {R"({"series": []})", "t.json: series: is not a list"},
        {R"({"series": [{"r": 30}]})", "t.json: series[0].file: is missing"},
        {R"({"series": [{"file": "a.csv", "r": 0}]})", "t.json: series[0].r: is 0 and must be positive"},
        {R"({"series": [{"file": "a.csv", "H0": "last"}]})",
         "t.json: series[0].H0: is \"last\", not a number"},
        {R"({"series": [{"file": "a.csv", "delimiter": "pipe"}]})",
         "t.json: series[0].delimiter: is \"pipe\""},
        {R"({"series": [{"file": "a.csv", "use": [5, 2]}]})", "t.json: series[0].use: ends before it starts"},
        {R"({"series": [{"file": "a.csv", "columns": [0, 2]}]})",
         "t.json: series[0].columns[0]: is 0, out of range"},
        {R"({"series": [{"file": "a.csv", "weight": -1}]})", "t.json: series[0].weight: is negative"},
        {R"({"series": [{"file": "a.csv", "radius": 3}]})", "t.json: series[0].radius: is no key"},
        {R"({"set": {"transmisivity": 5}})", "t.json: set.transmisivity: is no field"},
        {R"({"set": {"transmissivity": [5]}})", "t.json: set.transmissivity: is [5], not a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        try {
            (void)parseTestDescription(c.json, "t.json");
            ADD_FAILURE() << "accepted";
        } catch (const CliError& e) {
            EXPECT_NE(e.what.find(c.expected), std::string::npos) << e.what;
        }
    }
    try {
        (void)readTestDescription("/nonexistent/test.json");
        ADD_FAILURE() << "accepted a missing file";
    } catch (const CliError& e) {
        EXPECT_NE(e.what.find("--test /nonexistent/test.json: "), std::string::npos) << e.what;
    }
}

}  // namespace
}  // namespace tolvex::cli
