#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/Cli.h"

namespace tolvex::cli {
namespace {

struct CliRun {
    int status = 0;
    std::string out, err;
};

CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), "tolvex-cli");
    std::ostringstream out, err;
    const int status = runCli(args, out, err);
    return {status, out.str(), err.str()};
}

std::filesystem::path scratch(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / "tolvex_engine_cli";
    std::filesystem::create_directories(dir);
    return dir / name;
}

TEST(FitCli, TheisFitOfThePumpingSampleAsJson) {
    const CliRun r = run({"fit", "--model", "0", "--sample", "pumping", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["model"], 0);
    EXPECT_EQ(j["method"], "lsq");
    EXPECT_GT(j["parameters"]["transmissivity"].get<double>(), 0.0);
    EXPECT_TRUE(j["parameters"].contains("storativity"));
    EXPECT_EQ(j["iterations"], 20);
    EXPECT_EQ(j["errorHistory"].size(), 20u);
    EXPECT_EQ(j["times"].size(), 14u);
    EXPECT_EQ(j["calculated"].size(), 14u);
    EXPECT_LT(j["rmsError"].get<double>(), 0.2);
}

TEST(FitCli, EveryModelCanBeFitted) {
    for (int m = 0; m <= 10; ++m) {
        const std::string sample = (m == 5 || m == 10) ? "slug" : "pumping";
        const CliRun r =
            run({"fit", "--model", std::to_string(m), "--sample", sample, "--max-iterations", "3"});
        EXPECT_EQ(r.status, 0) << "model " << m << ": " << r.err;
        EXPECT_NE(r.out.find("rmsError"), std::string::npos);
    }
}

TEST(FitCli, SimplexTrialReportAndSave) {
    const auto report = scratch("fit.out");
    const auto doc = scratch("fit.tvx");
    CliRun r = run({"fit", "--model", "2", "--method", "simplex", "--sample", "pumping", "--report",
                    report.string(), "--save", doc.string(), "--set", "maxIterations=10"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(report));
    EXPECT_TRUE(std::filesystem::exists(doc));
    r = run({"fit", "--model", "0", "--method", "trial", "--open", doc.string(), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["iterations"], 1);
}

TEST(FitCli, BadInputIsRefusedWithAReason) {
    CliRun r = run({"fit", "--model", "11", "--sample", "pumping"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--model 11"), std::string::npos);
    r = run({"fit", "--model", "0"});
    EXPECT_EQ(r.status, 1);
    r = run({"fit", "--model", "9", "--method", "simplex", "--sample", "pumping"});
    EXPECT_EQ(r.status, 1);
    r = run({"fit", "--model", "10", "--sample", "pumping", "--set", "screenLength=0"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("screenLength"), std::string::npos);
    r = run({"fit", "--model", "0", "--sample", "pumping", "--use", "3", "40"});
    EXPECT_EQ(r.status, 1);
    r = run({"fit", "--model", "0", "--sample", "pumping", "--method", "newton"});
    EXPECT_EQ(r.status, 2);
}

TEST(FitCli, UsedRangeAndDataFile) {
    const auto data = scratch("data.csv");
    std::ofstream(data) << "1,0.5\n2,0.9\n4,1.3\n8,1.7\n16,2.1\n";
    const CliRun r = run({"fit", "--model", "0", "--data", data.string(), "--use", "2", "5", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["times"].size(), 4u);
}

TEST(TypecurvesCli, NeumanTableWithReportAndCsv) {
    const auto report = scratch("tc.out");
    const auto csv = scratch("tc.csv");
    const CliRun r =
        run({"typecurves", "--model", "6", "--table", "--report", report.string(), "--csv", csv.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("20 curve(s) of 45 points"), std::string::npos);
    std::ifstream in(csv);
    std::string header;
    std::getline(in, header);
    EXPECT_EQ(header.substr(0, 9), "x,0.0001,");
    EXPECT_GT(std::filesystem::file_size(report), 100u);
}

TEST(TypecurvesCli, RangesAndModelsWithoutAFamilyAreRefused) {
    CliRun r = run({"typecurves", "--model", "1", "--table"});
    EXPECT_EQ(r.status, 1);
    r = run({"typecurves", "--model", "7", "--set", "tcWrTdCount=1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("tcWrTdCount"), std::string::npos);
    r = run({"typecurves", "--model", "9"});
    EXPECT_EQ(r.status, 1);
    r = run({"typecurves", "--model", "2", "--set", "tcLeakyRbCount=5"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("5 curve(s) of 30 points"), std::string::npos);
}

TEST(SimulateCli, SyntheticDrawdownsAtLogSpacedTimes) {
    const auto csv = scratch("sim.csv");
    CliRun r = run({"simulate", "--model", "0", "--times", "14", "0.1", "1000", "--csv", csv.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 14);
    EXPECT_EQ(r.out.substr(0, 4), "0.10");
    r = run({"simulate", "--model", "0", "--times", "1", "0.1", "1000"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("usedCount"), std::string::npos);
    r = run({"simulate", "--model", "10", "--times", "5", "1", "10"});
    EXPECT_EQ(r.status, 1);
}

}  // namespace
}  // namespace tolvex::cli
