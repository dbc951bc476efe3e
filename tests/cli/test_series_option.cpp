// tolvex-cli --series NAME:FILE:R[:WEIGHT] on fit and simulate: a joint fit of three wells against
// scipy's joint optimum (tests/reference/joint_fit_reference.py), the series kept in the document and
// shown, and bad files, distances and weights refused with the option named.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

using test::CliRun;
using test::run;

std::string dataFile(int well) {
    return std::string(TOLVEX_TEST_DATA_DIR) + "/series/joint_theis_" + std::to_string(well) + ".dat";
}

// expected value of `field` in the case's row of joint_fits.csv
double jointReference(const std::string& name, const std::string& field) {
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/reference/joint_fits.csv");
    for (std::string line; std::getline(in, line);) {
        std::stringstream row(line);
        std::string c, model, f, value;
        std::getline(row, c, ',');
        std::getline(row, model, ',');
        std::getline(row, f, ',');
        std::getline(row, value, ',');
        if (c == name && f == field) return std::stod(value);
    }
    ADD_FAILURE() << "no " << field << " of " << name;
    return NAN;
}

std::vector<std::string> theisFit(std::vector<std::string> series) {
    std::vector<std::string> args{"fit",
                                  "--model",
                                  "0",
                                  "--data",
                                  dataFile(1),
                                  "--set",
                                  "radialDistance=20",
                                  "--set",
                                  "pumpingRate=500",
                                  "--set",
                                  "storativity=3e-4",
                                  "--set",
                                  "transmissivity=40",
                                  "--max-iterations",
                                  "200",
                                  "--json"};
    for (const std::string& s : series) {
        args.push_back("--series");
        args.push_back(s);
    }
    return args;
}

TEST(SeriesOption, AJointFitOfThreeWellsGivesScipysOptimum) {
    const struct {
        const char* name;
        std::string p2, p3;
    } cases[] = {
        {"theis_3", "P2:" + dataFile(2) + ":60", "P3:" + dataFile(3) + ":150"},
        {"theis_3_w", "P2:" + dataFile(2) + ":60:4", "P3:" + dataFile(3) + ":150:0.25"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun r = run(theisFit({c.p2, c.p3}));
        ASSERT_EQ(r.status, 0) << r.err;
        const auto j = nlohmann::json::parse(r.out);
        for (const std::string field : {"storativity", "transmissivity"})
            EXPECT_NEAR(j["parameters"][field].get<double>() / jointReference(c.name, field), 1.0, 5e-4);
        EXPECT_NEAR(j["rmsError"].get<double>() / jointReference(c.name, "rmsError"), 1.0, 5e-3);
        ASSERT_EQ(j["series"].size(), 2u);
        EXPECT_EQ(j["series"][0]["name"], "P2");
        EXPECT_EQ(j["series"][1]["radialDistance"], 150.0);
        EXPECT_EQ(j["series"][1]["calculated"].size(), 14u);
        EXPECT_EQ(j["calculated"].size(), 14u);
    }
}

TEST(SeriesOption, SeriesAreSavedAndShown) {
    const auto doc = std::filesystem::temp_directory_path() / "tolvex_series_option.aqt";
    std::vector<std::string> args = theisFit({"P2:" + dataFile(2) + ":60", "P3:" + dataFile(3) + ":150:0.5"});
    args.push_back("--save");
    args.push_back(doc.string());
    ASSERT_EQ(run(args).status, 0);
    const CliRun shown = run({"show", doc.string(), "--json"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const auto j = nlohmann::json::parse(shown.out);
    ASSERT_EQ(j["series"].size(), 3u);
    EXPECT_EQ(j["series"][0]["radialDistance"], 20.0);
    EXPECT_EQ(j["series"][2]["name"], "P3");
    EXPECT_EQ(j["series"][2]["weight"], 0.5);
    EXPECT_EQ(j["series"][2]["count"], 14);
    EXPECT_EQ(j["series"][1]["times"][0], 0.01);
    const CliRun text = run({"show", doc.string()});
    EXPECT_NE(text.out.find("series 3  P3, r 150, weight 0.5, 14 measurements"), std::string::npos)
        << text.out;
    std::filesystem::remove(doc);
}

TEST(SeriesOption, SimulateGivesTheTheisDrawdownAtEachWell) {
    const auto csv = std::filesystem::temp_directory_path() / "tolvex_series_simulate.csv";
    const CliRun r = run({"simulate", "--model", "0", "--times", "3", "1", "100", "--set", "storativity=2e-4",
                          "--set", "transmissivity=50", "--set", "pumpingRate=500", "--series",
                          "far:" + dataFile(3) + ":150", "--csv", csv.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream out(r.out);
    std::string line;
    for (int i = 0; i < 3; ++i) std::getline(out, line);
    std::getline(out, line);
    EXPECT_EQ(line, "# far");
    const double S = 2e-4f, T = 50.0, Q = 500.0, r2 = 150.0 * 150.0;
    int rows = 0;
    while (std::getline(out, line)) {
        double t = 0.0, s = 0.0;
        std::istringstream(line) >> t >> s;
        const double e1 = -std::expint(-r2 * S / (4.0 * T * t));  // E1(u) = -Ei(-u)
        EXPECT_NEAR(s, Q / (4.0 * M_PI * T) * e1, 1e-6 * s + 1e-9) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 14);
    std::ifstream written(csv);
    std::getline(written, line);
    EXPECT_EQ(line, "series,time,drawdown");
    std::filesystem::remove(csv);
}

TEST(SeriesOption, BadSeriesAreRefusedWithTheOptionNamed) {
    const std::string file = dataFile(2);
    const struct {
        std::string option;
        std::string message;
    } cases[] = {
        {"P2:/no/such/file.dat:60", "tolvex-cli: fit: --series P2:/no/such/file.dat:60: "},
        {"P2:" + file + ":0", "the radial distance 0 is not a positive number"},
        {"P2:" + file + ":-5", "the radial distance -5 is not a positive number"},
        {"P2:" + file + ":far", "--series R 'far' is not a number"},
        {"P2:" + file + ":60:-1", "the weight -1 is not a number of 0 or more"},
        {"P2:" + file, "give NAME:FILE:R or NAME:FILE:R:WEIGHT"},
        {":" + file + ":60", "the series has no name"},
        {"P2::60", "no file is named"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        const CliRun r = run(theisFit({c.option}));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.rfind("tolvex-cli: ", 0), 0u) << r.err;
    }
}

}  // namespace
}  // namespace tolvex::cli
