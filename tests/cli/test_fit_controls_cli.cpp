// fit: stopping at convergence, --run-all-iterations, --fix and --bounds, and the "converged",
// "stopReason", "warnings" and "atBound" of --json. Fixed and bounded fits are checked against scipy's
// bounded least squares (tests/reference/fit_controls_reference.py -> fit_controls.csv).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "support/CliRun.h"
#include "support/CsvTable.h"

namespace tolvex::cli {
namespace {

using test::CliRun;
using test::run;

const std::string kNotConverged = "not converged after 20 iterations; raise the limit or improve the start";

TEST(FitStopCli, TheTheisFitStopsWhenConvergedAndGivesTheFullRunsResult) {
    const CliRun early = run({"fit", "--model", "0", "--sample", "pumping", "--json"});
    const CliRun full = run({"fit", "--model", "0", "--sample", "pumping", "--json", "--run-all-iterations"});
    ASSERT_EQ(early.status, 0) << early.err;
    ASSERT_EQ(full.status, 0) << full.err;
    const auto e = nlohmann::json::parse(early.out), f = nlohmann::json::parse(full.out);
    EXPECT_EQ(e["converged"], true);
    EXPECT_EQ(e["stopReason"], "converged");
    EXPECT_EQ(e["warnings"], nlohmann::json::array());
    EXPECT_EQ(e["atBound"], nlohmann::json::array());
    EXPECT_LT(e["iterations"].get<int>(), 10);
    EXPECT_EQ(e["errorHistory"].size(), e["iterations"].get<std::size_t>());
    // the full run: all 20 iterations, converged on the way
    EXPECT_EQ(f["iterations"], 20);
    EXPECT_EQ(f["stopReason"], "iteration limit");
    EXPECT_EQ(f["converged"], true);
    EXPECT_EQ(f["parameters"]["transmissivity"].get<double>(), 8.4200735);
    EXPECT_EQ(e["parameters"], f["parameters"]);
    EXPECT_EQ(e["rmsError"], f["rmsError"]);
    EXPECT_EQ(e["calculated"], f["calculated"]);
    for (const CliRun* r : {&early, &full})
        EXPECT_EQ(r->err.find("not converged"), std::string::npos) << r->err;
}

// The leaky fit of the sample needs more than the default 20 iterations: the result is the best point
// reached, the exit status 0, and stderr and the JSON say that it did not converge.
TEST(FitStopCli, AFitEndingAtTheLimitUnconvergedSaysSo) {
    CliRun r = run({"fit", "--model", "2", "--sample", "pumping", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["converged"], false);
    EXPECT_EQ(j["stopReason"], "iteration limit");
    EXPECT_EQ(j["warnings"], nlohmann::json::array({kNotConverged}));
    EXPECT_NE(r.err.find("tolvex-cli: warning: " + kNotConverged + "\n"), std::string::npos) << r.err;
    r = run({"fit", "--model", "2", "--sample", "pumping"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find(kNotConverged), std::string::npos) << r.err;
    r = run({"fit", "--model", "2", "--sample", "pumping", "--max-iterations", "60", "--json"});
    EXPECT_EQ(nlohmann::json::parse(r.out)["converged"], true);
    EXPECT_EQ(nlohmann::json::parse(r.out)["stopReason"], "converged");
}

TEST(FitStopCli, TheReportCountsTheIterationsActuallyRun) {
    const auto report = std::filesystem::temp_directory_path() / "tolvex_fit_stop.out";
    const CliRun r =
        run({"fit", "--model", "0", "--sample", "pumping", "--json", "--report", report.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream in(report);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const int n = nlohmann::json::parse(r.out)["iterations"].get<int>();
    EXPECT_NE(text.find("Final Number of Iterartions= " + std::to_string(n) + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("Iteration No= " + std::to_string(n) + " Error ="), std::string::npos);
    EXPECT_EQ(text.find("Iteration No= " + std::to_string(n + 1) + " Error ="), std::string::npos);
}

// The options of each reference case of fit_controls.csv.
const std::map<std::string, std::vector<std::string>> kCaseOptions{
    {"theis_fix_S", {"--fix", "storativity"}},
    {"theis_fix_T", {"--fix", "transmissivity"}},
    {"theis_T_upper", {"--bounds", "transmissivity=:8"}},
    {"theis_S_lower", {"--bounds", "storativity=5e-5:"}},
    {"theis_inside", {"--bounds", "storativity=1e-6:1e-3", "--bounds", "transmissivity=1:100"}},
    {"leaky_K_lower", {"--bounds", "upperBedConductivity=5e-6:"}},
};

TEST(FitStopCli, FixAndBoundsReachScipysConstrainedOptimum) {
    std::map<std::string, std::vector<test::CsvRow>> cases;
    for (const auto& row : test::readCsvTable(TOLVEX_TEST_DATA_DIR "/reference/fit_controls.csv"))
        cases[row.at("case")].push_back(row);
    ASSERT_EQ(cases.size(), kCaseOptions.size());
    for (const auto& [name, rows] : cases) {
        std::vector<std::string> args{"fit",      "--model", rows.front().at("model"),
                                      "--sample", "pumping", "--max-iterations",
                                      "100",      "--json"};
        const auto& options = kCaseOptions.at(name);
        args.insert(args.end(), options.begin(), options.end());
        const CliRun r = run(args);
        ASSERT_EQ(r.status, 0) << name << ": " << r.err;
        const auto j = nlohmann::json::parse(r.out);
        nlohmann::json atBound = nlohmann::json::array();
        for (const auto& row : rows) {
            const std::string& field = row.at("field");
            const double got =
                field == "rmsError" ? j["rmsError"].get<double>() : j["parameters"][field].get<double>();
            const double expected = std::stod(row.at("value"));
            EXPECT_LE(std::fabs(got / expected - 1.0), std::stod(row.at("tolerance")))
                << name << " " << field << ": " << got << ", scipy " << expected;
            if (row.at("kind") == "bound") atBound.push_back(field);
        }
        EXPECT_EQ(j["atBound"], atBound) << name;
        EXPECT_EQ(j["converged"], true) << name;
        EXPECT_EQ(r.err.find("ended on a bound") != std::string::npos, !atBound.empty()) << name << r.err;
    }
}

TEST(FitStopCli, TheSimplexKeepsAFixedParameterAndItsBounds) {
    const CliRun r =
        run({"fit", "--model", "0", "--sample", "pumping", "--method", "simplex", "--fix", "storativity",
             "--bounds", "transmissivity=1:9.5", "--max-iterations", "200", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["parameters"]["storativity"].get<double>(), 1e-5);
    const double t = j["parameters"]["transmissivity"].get<double>();
    EXPECT_LE(t, 9.5);
    EXPECT_NEAR(t, 9.5, 1e-6 * 9.5);  // the optimum with S = 1e-5 is T = 10.19, beyond the bound
    EXPECT_EQ(j["atBound"], nlohmann::json::array({"transmissivity"}));
}

TEST(FitStopCli, ControlsThatDoNotApplyAreRefusedWithTheReason) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {{"--model", "0", "--fix", "verticalConductivity"},
         1,
         "verticalConductivity is not a fitted parameter"},
        {{"--model", "0", "--bounds", "transmissivity=9"}, 1, "give FIELD=LO:HI"},
        {{"--model", "0", "--bounds", "transmissivity=9:1"},
         1,
         "lower bound of transmissivity must lie below"},
        {{"--model", "0", "--bounds", "transmissivity=a:1"}, 1, "--bounds"},
        {{"--model", "9", "--fix", "transmissivity"}, 1, "Jacob's straight line has no parameter to fix"},
        {{"--model", "0", "--method", "trial", "--fix", "storativity"}, 1, "the trial run fits nothing"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"fit", "--sample", "pumping"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun r = run(args);
        EXPECT_EQ(r.status, c.status) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
}

TEST(FitStopCli, JacobAndTheTrialRunReportTheirKind) {
    CliRun r = run({"fit", "--model", "9", "--sample", "pumping", "--json"});
    EXPECT_EQ(nlohmann::json::parse(r.out)["stopReason"], "closed form");
    EXPECT_EQ(nlohmann::json::parse(r.out)["converged"], true);
    r = run({"fit", "--model", "0", "--method", "trial", "--sample", "pumping", "--json"});
    EXPECT_EQ(nlohmann::json::parse(r.out)["stopReason"], "nothing fitted");
    EXPECT_EQ(nlohmann::json::parse(r.out)["converged"], false);
    EXPECT_EQ(r.err.find("not converged"), std::string::npos);
}

}  // namespace
}  // namespace tolvex::cli
