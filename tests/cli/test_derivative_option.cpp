// --derivative on simulate (CSV columns "derivative" and "calculatedDerivative") and fit (JSON keys
// "derivative" and "calculatedDerivative"): the Theis derivative ds/d ln t = Q/(4 pi T) exp(-u) in closed
// form, the drawdowns' unit with the time unit cancelling, and refusals that name the option and write
// nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "core/persist/ScratchFolder.h"
#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

using test::run;
using ::testing::HasSubstr;
using tolvex::testing::ScratchFolder;

constexpr double kT = 1e-3, kS = 1e-4, kQ = 0.01, kR = 30.0;  // SI
const std::vector<std::string> kAquifer{"--set", "transmissivity=1e-3", "storativity=1e-4",
                                        "radialDistance=30", "pumpingRate=0.01"};

double theisDerivative(double t, double T = kT, double S = kS) {
    return kQ / (4.0 * std::numbers::pi * T) * std::exp(-kR * kR * S / (4.0 * T * t));
}

struct Table {
    std::vector<std::string> header;
    std::vector<std::vector<double>> rows;
    [[nodiscard]] std::size_t column(const std::string& name) const {
        for (std::size_t i = 0; i < header.size(); ++i) {
            if (header[i] == name) return i;
        }
        ADD_FAILURE() << "no column " << name;
        return 0;
    }
};

Table readCsv(const std::string& path) {
    Table table;
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    std::stringstream names(line);
    for (std::string cell; std::getline(names, cell, ',');) table.header.push_back(cell);
    while (std::getline(in, line)) {
        std::vector<double> row;
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');)
            row.push_back(std::strtod(cell.c_str(), nullptr));
        table.rows.push_back(row);
    }
    return table;
}

// 61 times, ten a decade from 1 s to 1e6 s, simulated with the Theis model.
Table simulateTheis(const ScratchFolder& scratch, const std::vector<std::string>& derivative) {
    std::vector<std::string> args{"simulate", "--model", "0", "--times", "61", "1", "1e6"};
    args.insert(args.end(), kAquifer.begin(), kAquifer.end());
    args.insert(args.end(), derivative.begin(), derivative.end());
    args.insert(args.end(), {"--csv", scratch.file("theis.csv")});
    const auto result = run(args);
    EXPECT_EQ(result.status, 0) << result.err;
    return readCsv(scratch.file("theis.csv"));
}

struct SmoothingCase {
    std::vector<std::string> option;
};

class SimulatedTheis : public ::testing::TestWithParam<SmoothingCase> {};

// Away from the ends: three rows in from either end and u <= 0.5, where the three-point error stays
// below 1 % even with L = 0.2; the model's own derivative everywhere within 0.1 % or 1e-9 Q/(4 pi T)
// (at u = 22.5 it is 1e-10 m, below the fast well function's own accuracy).
TEST_P(SimulatedTheis, CsvDerivativesFollowTheAnalyticOne) {
    ScratchFolder scratch;
    const Table table = simulateTheis(scratch, GetParam().option);
    ASSERT_EQ(table.header,
              (std::vector<std::string>{"time", "drawdown", "derivative", "calculatedDerivative"}));
    ASSERT_EQ(table.rows.size(), 61u);
    const std::size_t measured = table.column("derivative"), model = table.column("calculatedDerivative");
    int checked = 0;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const double t = table.rows[i][0], exact = theisDerivative(t);
        EXPECT_NEAR(table.rows[i][model], exact, 1e-3 * exact + 1e-9 * theisDerivative(1e300)) << "t=" << t;
        if (i < 3 || i + 3 >= table.rows.size() || kR * kR * kS / (4.0 * kT * t) > 0.5) continue;
        EXPECT_NEAR(table.rows[i][measured], exact, 0.01 * exact) << "t=" << t;
        ++checked;
    }
    EXPECT_GT(checked, 30);
}

INSTANTIATE_TEST_SUITE_P(Smoothings, SimulatedTheis,
                         ::testing::Values(SmoothingCase{{"--derivative", "0"}},
                                           SmoothingCase{{"--derivative"}},
                                           SmoothingCase{{"--derivative", "0.2"}},
                                           SmoothingCase{{"--derivative", "window:3"}}));

TEST(DerivativeOption, WithoutItTheCsvKeepsItsTwoColumns) {
    ScratchFolder scratch;
    EXPECT_EQ(simulateTheis(scratch, {}).header, (std::vector<std::string>{"time", "drawdown"}));
}

// Hours and centimetres: the derivative is in cm (100 times the SI one), whatever the time unit.
TEST(DerivativeOption, SpeaksTheDrawdownUnitWhateverTheTimeUnit) {
    ScratchFolder scratch;
    const Table si = simulateTheis(scratch, {"--derivative", "0"});
    const auto result = run({"simulate", "--model", "0", "--times", "61", "0.000277777777777778",
                             "277.777777777778", "--units", "time=h,length=cm,rate=m3/h", "--set",
                             "transmissivity=36000", "storativity=1e-4", "radialDistance=3000",
                             "pumpingRate=36", "--derivative", "0", "--csv", scratch.file("hours.csv")});
    ASSERT_EQ(result.status, 0) << result.err;
    const Table hours = readCsv(scratch.file("hours.csv"));
    ASSERT_EQ(hours.rows.size(), si.rows.size());
    for (std::size_t i = 3; i + 3 < si.rows.size(); ++i) {
        for (std::size_t c : {2u, 3u}) {
            const double expected = 100.0 * si.rows[i][c];
            EXPECT_NEAR(hours.rows[i][c], expected, 1e-5 * std::fabs(expected) + 1e-12) << i << " " << c;
        }
    }
}

TEST(DerivativeOption, AFitListsBothDerivativesInItsJson) {
    ScratchFolder scratch;
    // The measurements: Theis drawdowns from 10 s to 1e5 s, ten a decade (the simulate output).
    std::vector<std::string> args{"simulate", "--model", "0", "--times", "41", "10", "1e5"};
    args.insert(args.end(), kAquifer.begin(), kAquifer.end());
    const auto simulated = run(args);
    ASSERT_EQ(simulated.status, 0) << simulated.err;
    const std::string data = scratch.write("theis.txt", simulated.out);
    const auto result =
        run({"fit", "--model", "0", "--data", data, "--set", "radialDistance=30", "pumpingRate=0.01",
             "transmissivity=2e-3", "storativity=3e-4", "--json", "--derivative", "0.1"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    const double T = json["parameters"]["transmissivity"], S = json["parameters"]["storativity"];
    EXPECT_NEAR(T, kT, 1e-3 * kT);
    const auto& times = json["times"];
    ASSERT_EQ(json["derivative"].size(), times.size());
    ASSERT_EQ(json["calculatedDerivative"].size(), times.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        const double t = times[i], exact = theisDerivative(t, T, S);
        EXPECT_NEAR(json["calculatedDerivative"][i].get<double>(), exact, 1e-3 * exact) << "t=" << t;
        if (i >= 3 && i + 3 < times.size() && kR * kR * kS / (4.0 * kT * t) <= 0.5) {
            EXPECT_NEAR(json["derivative"][i].get<double>(), theisDerivative(t), 0.01 * theisDerivative(t));
        }
    }
    // Without --derivative the keys are absent.
    const auto plain = run(
        {"fit", "--model", "0", "--data", data, "--set", "radialDistance=30", "pumpingRate=0.01", "--json"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_FALSE(nlohmann::json::parse(plain.out).contains("derivative"));
}

// A further series at 150 m: its rows carry their own derivatives, the model's at its own distance.
TEST(DerivativeOption, EachSeriesHasItsOwnDerivative) {
    ScratchFolder scratch;
    const std::string times = scratch.write("far.txt", "10 0\n20 0\n50 0\n100 0\n200 0\n500 0\n1000 0\n");
    std::vector<std::string> args{"simulate", "--model", "0", "--times", "21", "10", "1000"};
    args.insert(args.end(), kAquifer.begin(), kAquifer.end());
    args.insert(args.end(), {"--derivative", "0", "--csv", scratch.file("series.csv"), "--series",
                             "far:" + times + ":150"});
    const auto result = run(args);
    ASSERT_EQ(result.status, 0) << result.err;
    const Table table = readCsv(scratch.file("series.csv"));
    ASSERT_EQ(table.header,
              (std::vector<std::string>{"series", "time", "drawdown", "derivative", "calculatedDerivative"}));
    ASSERT_EQ(table.rows.size(), 28u);
    for (const auto& row : table.rows) {
        const double r = row[0] == 1.0 ? kR : 150.0, t = row[1];
        const double exact = kQ / (4.0 * std::numbers::pi * kT) * std::exp(-r * r * kS / (4.0 * kT * t));
        EXPECT_NEAR(row[4], exact, 1e-3 * exact + 1e-9) << "series " << row[0] << " t=" << t;
    }
    // The far series' derivative comes from its own seven rows: its first and last rows are one-sided.
    const auto& first = table.rows[21];
    const auto& second = table.rows[22];
    EXPECT_NEAR(first[3], (second[2] - first[2]) / std::log(second[1] / first[1]),
                1e-6 * std::fabs(first[3]));
}

// A joint fit in minutes and centimetres: each further series lists its times and drawdowns in the
// document's units like the first series (its file's numbers), and carries its own derivatives, the
// model's at its own distance: Q/(4 pi T) exp(-r^2 S/(4 T t)) in cm.
TEST(DerivativeOption, AJointFitListsEachSeriesInTheDocumentsUnitsWithItsDerivative) {
    ScratchFolder scratch;
    const std::string first = scratch.write("near.txt", "1 2\n2 4\n5 7\n10 9\n20 11\n50 14\n");
    const std::string far = scratch.write("far.txt", "1 0.5\n3 1\n10 3\n30 5\n100 7\n");
    const auto result = run({"fit",
                             "--model",
                             "0",
                             "--method",
                             "trial",
                             "--data",
                             first,
                             "--units",
                             "time=min,length=cm,rate=m3/d",
                             "--set",
                             "transmissivity=6000",
                             "--set",
                             "storativity=1e-4",
                             "--set",
                             "radialDistance=3000",
                             "--set",
                             "pumpingRate=864",
                             "--series",
                             "far:" + far + ":15000",
                             "--json",
                             "--derivative",
                             "0"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    ASSERT_EQ(json["series"].size(), 1u);
    const auto& series = json["series"][0];
    EXPECT_EQ(series["radialDistance"], 15000.0);
    EXPECT_EQ(series["times"], (std::vector<double>{1, 3, 10, 30, 100}));
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_NEAR(series["measured"][i].get<double>(), (std::vector<double>{0.5, 1, 3, 5, 7})[i], 1e-12);
    ASSERT_EQ(series["calculatedDerivative"].size(), 5u);
    // SI: T = 1e-2 m2/s (6000 cm2/min), Q = 1e-2 m3/s, r = 150 m; derivative in cm.
    const double T = 1e-2, S = 1e-4, Q = 1e-2, r = 150.0;
    for (std::size_t i = 0; i < 5; ++i) {
        const double t = 60.0 * series["times"][i].get<double>();
        const double exact = 100.0 * Q / (4.0 * std::numbers::pi * T) * std::exp(-r * r * S / (4.0 * T * t));
        EXPECT_NEAR(series["calculatedDerivative"][i].get<double>(), exact, 1e-3 * exact) << "t=" << t;
    }
    // The measured derivative of the far well's own points: one-sided at its first time.
    EXPECT_NEAR(series["derivative"][0].get<double>(), 0.5 / std::log(3.0), 1e-12);
    EXPECT_EQ(json["derivative"].size(), 6u);
}

// Two times: no derivative of the measurements (null in JSON, nan in CSV), and no crash.
TEST(DerivativeOption, TooShortARecordHasNoMeasuredDerivative) {
    ScratchFolder scratch;
    std::vector<std::string> args{"simulate", "--model", "0", "--times", "2", "10", "100"};
    args.insert(args.end(), kAquifer.begin(), kAquifer.end());
    args.insert(args.end(), {"--derivative", "--csv", scratch.file("two.csv")});
    const auto result = run(args);
    ASSERT_EQ(result.status, 0) << result.err;
    const Table table = readCsv(scratch.file("two.csv"));
    ASSERT_EQ(table.rows.size(), 2u);
    for (const auto& row : table.rows) {
        EXPECT_TRUE(std::isnan(row[2]));
        EXPECT_NEAR(row[3], theisDerivative(row[0]), 1e-3 * theisDerivative(row[0]));
    }
    const std::string data = scratch.write("two.txt", "10 0.1\n100 0.5\n");
    const auto fit =
        run({"fit", "--model", "0", "--method", "trial", "--data", data, "--json", "--derivative"});
    ASSERT_EQ(fit.status, 0) << fit.err;
    const auto json = nlohmann::json::parse(fit.out);
    for (const auto& v : json["derivative"]) EXPECT_TRUE(v.is_null());
}

TEST(DerivativeOption, RefusesABadSmoothingNamingItAndWritesNothing) {
    const struct {
        std::vector<std::string> option;
        const char* says;
    } cases[] = {
        {{"--derivative", "0.6"}, "between 0 and 0.5"},  {{"--derivative", "-0.1"}, "between 0 and 0.5"},
        {{"--derivative", "abc"}, "is not a number"},    {{"--derivative", "window:4"}, "odd number"},
        {{"--derivative", "window:1"}, "odd number"},    {{"--derivative", "window:x"}, "is not a number"},
        {{"--derivative", "window:2.5"}, "odd integer"},
    };
    for (const auto& c : cases) {
        ScratchFolder scratch;
        std::vector<std::string> args{"simulate", "--model", "0", "--times", "11", "1", "1e3"};
        args.insert(args.end(), c.option.begin(), c.option.end());
        args.insert(args.end(), {"--csv", scratch.file("out.csv")});
        const auto result = run(args);
        EXPECT_NE(result.status, 0) << c.option.back();
        EXPECT_THAT(result.err, HasSubstr("--derivative")) << c.option.back();
        EXPECT_THAT(result.err, HasSubstr(c.says)) << result.err;
        EXPECT_TRUE(scratch.names().empty()) << c.option.back();
    }
    const auto fit = run({"fit", "--model", "0", "--sample", "pumping", "--derivative", "0.1"});
    EXPECT_NE(fit.status, 0);
    EXPECT_THAT(fit.err, HasSubstr("--derivative adds to the --json result"));
    EXPECT_TRUE(fit.out.empty());
}

}  // namespace
}  // namespace tolvex::cli
