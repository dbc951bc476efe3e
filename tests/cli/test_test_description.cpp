// The JSON test description: every key read as documented, and each bad key refused with a message that
// names the file and the key.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cli/Cli.h"
#include "cli/TestDescription.h"
#include "core/state/AnalysisState.h"

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
        {R"({"series": [{"file": "a.csv", "geometry": {"mnZZ": 0.5}}]})",
         "t.json: series[0].geometry.mnZZ: is no field of the observation geometry"},
        {R"({"series": [{"file": "a.csv", "geometry": {"radialDistance": 5}}]})",
         "t.json: series[0].geometry.radialDistance: is no field of the observation geometry"},
        {R"({"series": [{"file": "a.csv", "geometry": {"mnObsKind": 3}}]})",
         "t.json: series[0].geometry.mnObsKind: is 3; it is 0..2"},
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

// Installing a description: the units, the rate, each series' distance (converted to SI), used range and
// geometry, the first series into the classic records and the second as a further series.
TEST(TestDescription, InstallsSeriesWithTheirUnitsRangesAndGeometry) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tolvex-test-description";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "a.csv") << "# well A\ntime,drawdown\n1,0.1\n2,0.2\n4,0.3\n8,0.4\n";
    std::ofstream(dir / "b.csv") << "1;0.05\n2;0.1\n4;0.15\n";
    const TestDescription d = parseTestDescription(R"({
        "model": 6, "units": {"time": "min", "length": "ft", "rate": "gpm"}, "rate": 540,
        "series": [{"name": "A", "file": "a.csv", "r": 100, "use": [2, 4], "geometry": {"mnObsKind": 1, "mnZ": 0.95}},
                   {"name": "B", "file": "b.csv", "r": 50, "delimiter": "semicolon", "geometry": {"mnZ": 0.9}}]})",
                                                   (dir / "test.json").string());
    AnalysisState s = makeDefaultState();
    applyTestDescription(d, s);
    EXPECT_EQ(s.modelKind, 6);
    EXPECT_FLOAT_EQ(s.pumpingRate, static_cast<float>(540 * 3.785411784e-3 / 60.0));  // m³/s
    EXPECT_FLOAT_EQ(s.radialDistance, static_cast<float>(100 * 0.3048));
    EXPECT_EQ(s.allCount, 4);
    EXPECT_EQ(s.useFrom, 2);
    EXPECT_EQ(s.useTo, 4);
    EXPECT_DOUBLE_EQ(s.allTimes[3], 8 * 60.0);          // s
    EXPECT_DOUBLE_EQ(s.allDrawdowns[3], 0.4 * 0.3048);  // m
    EXPECT_EQ(s.firstSeries.name, "A");
    EXPECT_EQ(s.mnObsKind, 1);
    EXPECT_FLOAT_EQ(s.mnZ, 0.95f);
    ASSERT_EQ(s.extraSeries.size(), 1u);
    const ObservationSeries& b = s.extraSeries[0];
    EXPECT_EQ(b.settings.name, "B");
    EXPECT_FLOAT_EQ(b.radialDistance, static_cast<float>(50 * 0.3048));
    EXPECT_FLOAT_EQ(b.geometry.mnZ, 0.9f);
    EXPECT_EQ(b.geometry.mnObsKind, 0);  // not given: the default
    ASSERT_EQ(b.times.size(), 3u);
    EXPECT_DOUBLE_EQ(b.values[2], 0.15 * 0.3048);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tolvex::cli
