// --units on fit, simulate, import and typecurves; "units" in show --json. Reference fits:
// tests/reference/units_reference.py (scipy, each case fitted in its own numbers).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/CliRun.h"
#include "support/CsvTable.h"

namespace tolvex::cli {
namespace {

using test::run;
namespace fs = std::filesystem;

// The default pumping test, times in days (minutes / 1440).
constexpr const char* kDaysData =
    "0.003472222222222222,3.41\n0.006944444444444444,3.58\n0.010416666666666666,3.97\n"
    "0.013888888888888888,4.2\n0.020833333333333332,4.54\n0.03125,4.88\n0.041666666666666664,5.13\n"
    "0.052083333333333336,5.35\n0.0625,5.55\n0.07291666666666667,5.63\n0.16666666666666666,6.21\n"
    "0.25,6.36\n0.3333333333333333,6.44\n0.4166666666666667,6.47\n";

fs::path scratch(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / "tolvex_units_cli";
    fs::create_directories(dir);
    return dir / name;
}

std::pair<double, double> reference(const std::string& name) {
    for (const test::CsvRow& row :
         test::readCsvTable(std::string(TOLVEX_TEST_DATA_DIR) + "/units/units_fit_values.csv")) {
        if (row.at("case") == name)
            return {std::stod(row.at("transmissivity")), std::stod(row.at("storativity"))};
    }
    ADD_FAILURE() << name;
    return {};
}

nlohmann::json fitJson(std::vector<std::string> args) {
    args.insert(args.begin(), {"fit", "--model", "0", "--json"});
    const auto r = run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return nlohmann::json::parse(r.out, nullptr, false);
}

void expectFit(const nlohmann::json& j, const std::string& name) {
    const auto [t, s] = reference(name);
    EXPECT_NEAR(j["parameters"]["storativity"].get<double>(), s, 1e-4 * s) << name;
    EXPECT_NEAR(j["parameters"]["transmissivity"].get<double>(), t, 1e-4 * t) << name;
}

TEST(UnitsOption, RateInCubicMetresPerDayWithMinutesFitsTheStorativityOfConsistentUnits) {
    // The sample's times are minutes; 75.53 m³/min = 108763.2 m³/d.
    const auto minutes = fitJson(
        {"--sample", "pumping", "--units", "time=min,length=m,rate=m3/d", "--set", "pumpingRate=108763.2"});
    expectFit(minutes, "minutes");
    EXPECT_EQ(minutes["units"], nlohmann::json::parse(R"({"time":"min","length":"m","rate":"m3/d"})"));
    EXPECT_EQ(minutes["parameterUnits"]["transmissivity"], "m²/min");
    EXPECT_EQ(minutes["times"][0], 5.0);  // shown in minutes, as entered

    const fs::path days = scratch("days.csv");
    std::ofstream(days) << kDaysData;
    const auto inDays = fitJson(
        {"--data", days.string(), "--units", "time=d,length=m,rate=m3/d", "--set", "pumpingRate=108763.2"});
    expectFit(inDays, "days");  // T in m²/d
    EXPECT_NEAR(inDays["times"][0].get<double>(), 5.0 / 1440.0, 1e-15);

    // The intervals speak the same units as the values: they bracket T, and the relative standard error
    // is the same whatever the time unit.
    const auto relative = [](const nlohmann::json& j) {
        const double t = j["parameters"]["transmissivity"].get<double>();
        const auto& u = j["uncertainty"]["transmissivity"];
        EXPECT_LT(u["interval"][0].get<double>(), t);
        EXPECT_GT(u["interval"][1].get<double>(), t);
        return u["standardError"].get<double>() / t;
    };
    EXPECT_NEAR(relative(minutes) / relative(inDays), 1.0, 1e-3);

    // Without units the same numbers fit a storativity 1440 times too large, silently.
    const auto mixed = fitJson({"--sample", "pumping", "--set", "pumpingRate=108763.2"});
    expectFit(mixed, "mixed-up");
    EXPECT_FALSE(mixed.contains("units"));
}

TEST(UnitsOption, BadNamesAreRefusedAndTheDocumentIsUntouched) {
    const fs::path doc = scratch("untouched.tvx");
    ASSERT_EQ(run({"fit", "--model", "0", "--sample", "pumping", "--save", doc.string()}).status, 0);
    std::ifstream in(doc, std::ios::binary);
    const std::string before((std::istreambuf_iterator<char>(in)), {});
    struct Case {
        std::string units, message;
    };
    const std::vector<Case> cases = {
        {"time=fortnight", "fit: --units: \"fortnight\" is no unit of time: s, min, h, d"},
        {"speed=m", "\"speed\" is no kind of unit"},
        {"length", "is not KIND=UNIT"},
        {"rate=m3", "no unit of rate: m3/s, m3/h, m3/d, L/s, L/min, gpm, ft3/d"},
    };
    for (const Case& c : cases) {
        const auto r =
            run({"fit", "--model", "0", "--open", doc.string(), "--units", c.units, "--save", doc.string()});
        EXPECT_EQ(r.status, 1) << c.units;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        std::ifstream again(doc, std::ios::binary);
        EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), {}), before) << c.units;
    }
    for (const char* command : {"simulate", "import", "typecurves"}) {
        std::vector<std::string> args{command, "--units", "time=year"};
        if (std::string(command) == "simulate")
            args.insert(args.end(), {"--model", "0", "--times", "3", "1", "10"});
        if (std::string(command) == "import") args.insert(args.end(), {doc.string(), "--save", doc.string()});
        if (std::string(command) == "typecurves") args.insert(args.end(), {"--model", "0"});
        const auto r = run(args);
        EXPECT_EQ(r.status, 1) << command << r.err;
        EXPECT_NE(r.err.find(std::string(command) + ": --units: \"year\""), std::string::npos) << r.err;
    }
}

TEST(UnitsOption, ShowNamesTheUnitsAndSpeaksInThem) {
    const fs::path data = scratch("minutes.csv");
    std::ofstream(data) << "1,0.5\n2,0.75\n90,1.5\n";
    const fs::path doc = scratch("imported.tvx");
    const auto imported = run({"import", data.string(), "--units", "time=min,length=cm,rate=L/s", "--set",
                               "pumpingRate=12.5", "--save", doc.string()});
    ASSERT_EQ(imported.status, 0) << imported.err;
    const auto shown = run({"show", doc.string(), "--json"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const auto j = nlohmann::json::parse(shown.out);
    EXPECT_EQ(j["units"], nlohmann::json::parse(R"({"time":"min","length":"cm","rate":"L/s"})"));
    EXPECT_EQ(j["allTimes"], nlohmann::json::parse("[1.0, 2.0, 90.0]"));
    EXPECT_EQ(j["allDrawdowns"], nlohmann::json::parse("[0.5, 0.75, 1.5]"));
    EXPECT_EQ(j["parameters"]["pumpingRate"], 12.5);
    EXPECT_EQ(j["fields"]["radialDistance"], 154.0);  // the default 154 entered as 154 cm

    // The classic records hold SI: back to consistent units, the numbers are metres and seconds.
    const fs::path si = scratch("si.tvx");
    ASSERT_EQ(run({"fit", "--model", "0", "--open", doc.string(), "--method", "trial", "--units",
                   "time=s,length=m,rate=m3/s", "--save", si.string()})
                  .status,
              0);
    const auto siJson = nlohmann::json::parse(run({"show", si.string(), "--json"}).out);
    EXPECT_EQ(siJson["allTimes"], nlohmann::json::parse("[60.0, 120.0, 5400.0]"));
    EXPECT_NEAR(siJson["parameters"]["pumpingRate"].get<double>(), 0.0125, 1e-9);
    EXPECT_NEAR(siJson["parameters"]["radialDistance"].get<double>(), 1.54, 1e-7);

    const fs::path classic = scratch("classic.tvx");
    ASSERT_EQ(run({"import", data.string(), "--save", classic.string()}).status, 0);
    EXPECT_TRUE(nlohmann::json::parse(run({"show", classic.string(), "--json"}).out)["units"].is_null());
}

TEST(UnitsOption, SimulateTakesAndPrintsTimesInTheDocumentsUnits) {
    const auto minutes =
        run({"simulate", "--model", "0", "--times", "3", "1", "100", "--units", "time=min,length=m,rate=m3/d",
             "--set", "pumpingRate=108763.2", "transmissivity=8.42", "storativity=3.93e-5"});
    ASSERT_EQ(minutes.status, 0) << minutes.err;
    const auto consistent = run({"simulate", "--model", "0", "--times", "3", "1", "100", "--set",
                                 "pumpingRate=75.53", "transmissivity=8.42", "storativity=3.93e-5"});
    ASSERT_EQ(consistent.status, 0) << consistent.err;
    std::istringstream a(minutes.out), b(consistent.out);
    for (int i = 0; i < 3; ++i) {
        double ta = 0, sa = 0, tb = 0, sb = 0;
        a >> ta >> sa;
        b >> tb >> sb;
        EXPECT_NEAR(ta, tb, 1e-6 * tb);
        EXPECT_NEAR(sa, sb, 1e-5 * sb);
    }
}

}  // namespace
}  // namespace tolvex::cli
