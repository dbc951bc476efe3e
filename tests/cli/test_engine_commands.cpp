#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "cli/Cli.h"
#include "core/input/SampleSets.h"
#include "core/solutions/Unconfined.h"
#include "core/state/AnalysisState.h"

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

// A data file of "time,value" lines.
std::string dataFile(const std::string& name, const std::vector<double>& t, const std::vector<double>& v) {
    const auto path = scratch(name);
    std::ofstream out(path);
    out.precision(17);
    for (std::size_t i = 0; i < t.size(); ++i) out << t[i] << "," << v[i] << "\n";
    return path.string();
}

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Least squares fits plain drawdown differences, also for the leaky model: zero and negative drawdowns
// are data there. Only the trial run and the simplex search, whose misfit of model 2 compares
// logarithms, refuse them.
TEST(FitCli, LeastSquaresOnTheLeakyModelTakesZeroAndNegativeDrawdowns) {
    const AnalysisState start = makeDefaultState();
    std::vector<double> drawdowns = start.allDrawdowns;
    drawdowns[0] = 0.0;
    drawdowns[1] = -0.01;
    const std::string data = dataFile("leaky_zero.csv", start.allTimes, drawdowns);
    CliRun r = run({"fit", "--model", "2", "--data", data, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["measured"][0], 0.0);
    EXPECT_GT(j["parameters"]["transmissivity"].get<double>(), 0.0);
    for (const char* method : {"simplex", "trial"}) {
        r = run({"fit", "--model", "2", "--method", method, "--data", data});
        EXPECT_EQ(r.status, 1) << method;
        EXPECT_NE(r.err.find("Measurement 1 has the drawdown 0: the logarithmic misfit"), std::string::npos)
            << r.err;
    }
}

// A measurement at time 0 (drawdown 0, slug-test head 1) is taken by models 0-5, whose formulas give
// exactly that value there: it adds nothing to the sum of squares, so least squares ends on the same
// parameters as without it. Models 6-9 have no value at time 0 and refuse it, saying why.
TEST(FitCli, AMeasurementAtTimeZeroWhereTheModelHasAValueThere) {
    AnalysisState slug = makeDefaultState();
    installPredefinedSet(slug, kSetSlugTest);
    const AnalysisState pumping = makeDefaultState();
    for (int model = 0; model <= 9; ++model) {
        const AnalysisState& set = model == 5 ? slug : pumping;
        const double atZero = model == 5 ? 1.0 : 0.0;
        std::vector<double> times{0.0}, values{atZero};
        times.insert(times.end(), set.allTimes.begin(), set.allTimes.end());
        values.insert(values.end(), set.allDrawdowns.begin(), set.allDrawdowns.end());
        const std::string withZero = dataFile("zero.csv", times, values);
        const std::string without = dataFile("nozero.csv", set.allTimes, set.allDrawdowns);
        const std::vector<std::string> fit{
            "fit", "--model", std::to_string(model), "--max-iterations", "5", "--json", "--data"};
        std::vector<std::string> args = fit;
        args.push_back(withZero);
        const CliRun r = run(args);
        if (model >= 6) {
            EXPECT_EQ(r.status, 1) << model;
            EXPECT_NE(r.err.find("Measurement 1 has the time 0"), std::string::npos)
                << model << ": " << r.err;
            continue;
        }
        ASSERT_EQ(r.status, 0) << model << ": " << r.err;
        args.back() = without;
        const CliRun reference = run(args);
        ASSERT_EQ(reference.status, 0) << reference.err;
        const auto j = nlohmann::json::parse(r.out);
        EXPECT_EQ(j["times"][0], 0.0);
        EXPECT_EQ(j["calculated"][0], atZero) << model;
        EXPECT_EQ(j["parameters"], nlohmann::json::parse(reference.out)["parameters"]) << model;
    }
}

// Unconfined observation kinds: 0 the full-thickness average, 1 the point value at z/b, 2 the average
// over the screen z1/b..z2/b; wellfn --form takes the same numbers, the forward model computes the
// chosen one and the reports name it (Neuman's table: the full-thickness average whatever the kind).
TEST(UnconfinedCli, ObservationKindsComputeAndReportTheirGeometry) {
    AnalysisState tables = makeDefaultState();
    buildNumericalTables(tables);
    const std::vector<std::string> geometry{"--set", "mnL=0.6",  "--set", "mnD=0.2",
                                            "--set", "mnZ=0.3",  "--set", "mnZ1=0.2",
                                            "--set", "mnZ2=0.5", "--set", "tcAltUniform=1"};
    const char* lines[] = {nullptr, "Coordinate of Piezometer (z/b) =", "(z1/b) ="};
    std::set<double> drawdowns;
    for (int kind = 0; kind < 3; ++kind) {
        CliRun r = run({"wellfn", "unconfined", "10", "0.5", "0.01", "--l", "0.6", "--d", "0.2", "--z", "0.3",
                        "--z1", "0.2", "--z2", "0.5", "--form", std::to_string(kind)});
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.10g\n",
                      unconfinedW(10, 0.5, 0.01, UnconfinedGeometry{0.6, 0.2, 0.3, 0.2, 0.5, kind}, tables));
        EXPECT_EQ(r.out, expected) << "form " << kind << r.err;

        const auto report = scratch("unconfined.out");
        std::vector<std::string> args{"fit",
                                      "--model",
                                      "6",
                                      "--sample",
                                      "pumping",
                                      "--report",
                                      report.string(),
                                      "--set",
                                      "mnObsKind=" + std::to_string(kind),
                                      "--json",
                                      "--max-iterations",
                                      "0"};
        args.insert(args.end(), geometry.begin(), geometry.end());
        r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        drawdowns.insert(nlohmann::json::parse(r.out)["calculated"][3].get<double>());
        std::string text = readText(report);
        EXPECT_NE(text.find(std::string("Observation: ") + unconfinedObservationName(kind) + "\r\n"),
                  std::string::npos)
            << text;
        for (int other = 1; other < 3; ++other) {
            EXPECT_EQ(text.find(lines[other]) != std::string::npos, other == kind) << kind << " " << other;
        }
        args = {"typecurves", "--model",       "6",     "--table",
                "--report",   report.string(), "--set", "mnObsKind=" + std::to_string(kind)};
        r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        text = readText(report);
        EXPECT_NE(text.find("Observation: Fully penetrating observation well\r\n"), std::string::npos)
            << kind;
        EXPECT_NE(text.find("|W(u,Kz*r^2/Kr/b^2,l/b,d/b)\r\n"), std::string::npos) << kind;
    }
    EXPECT_EQ(drawdowns.size(), 3u) << "each kind computes its own geometry, whatever tcAltUniform holds";
}

// The fitted K of Bouwer and Rice with ln((H - Lw)/rw) capped at 6 (tests/data/bouwer_rice_reference.csv,
// row 2: rw 0.1, rc 0.05, Le 2, Lw 5, H 100, heads exp(-0.1 t)).
TEST(FitCli, BouwerRiceConductivityInJson) {
    std::vector<double> times, heads;
    for (int i = 1; i <= 20; ++i) {
        times.push_back(i);
        heads.push_back(std::exp(-static_cast<double>(0.1f) * i));
    }
    const CliRun r = run({"fit", "--model", "10", "--data", dataFile("br.csv", times, heads), "--json",
                          "--set", "wellRadius=0.1", "--set", "casingRadius=0.05", "--set", "screenLength=2",
                          "--set", "wellDepthInAquifer=5", "--set", "brAquiferThickness=100"});
    ASSERT_EQ(r.status, 0) << r.err;
    const double k = nlohmann::json::parse(r.out)["parameters"]["hydraulicConductivity"].get<double>();
    EXPECT_NEAR(k, 0.00012596123001860148, 1e-5 * 0.00012596123001860148);
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
