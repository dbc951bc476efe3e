#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "cli/Cli.h"
#include "core/input/SampleSets.h"
#include "core/solutions/Unconfined.h"
#include "core/state/AnalysisState.h"
#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

using test::CliRun;
using test::run;

std::filesystem::path scratch(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / "tolvex_engine_cli";
    std::filesystem::create_directories(dir);
    return dir / name;
}

// Rows of a reference table of tests/data/render (written by tests/reference/cli_fit_references.py)
// whose first column is `name`.
std::vector<std::vector<std::string>> referenceRows(const std::string& file, const std::string& name) {
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/render/" + file);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::stringstream words(line);
        for (std::string field; std::getline(words, field, ',');) fields.push_back(field);
        if (!fields.empty() && fields[0] == name) rows.push_back(fields);
    }
    EXPECT_FALSE(rows.empty()) << file << ": no rows of " << name;
    return rows;
}

bool near(double value, double expected, double relative) {
    return std::abs(value - expected) <= relative * std::abs(expected);
}

// The fitted parameters, RMS error and drawdowns of `json` against the reference `fitCase`.
void expectReferenceFit(const nlohmann::json& j, const std::string& fitCase) {
    for (const auto& row : referenceRows("cli_fit_values.csv", fitCase)) {
        const double expected = std::stod(row[2]);
        const double tolerance = std::stod(row[3]);
        const double value =
            row[1] == "rmsError" ? j["rmsError"].get<double>() : j["parameters"][row[1]].get<double>();
        EXPECT_TRUE(near(value, expected, tolerance))
            << fitCase << " " << row[1] << " = " << value << ", expected " << expected << " +- " << tolerance;
    }
    const auto drawdowns = referenceRows("cli_fit_drawdowns.csv", fitCase);
    ASSERT_EQ(j["times"].size(), drawdowns.size());
    double worst = 0.0;
    std::size_t worstRow = 0;
    for (std::size_t i = 0; i < drawdowns.size(); ++i) {
        EXPECT_EQ(j["times"][i].get<double>(), std::stod(drawdowns[i][1])) << fitCase << " row " << i;
        EXPECT_EQ(j["measured"][i].get<double>(), std::stod(drawdowns[i][2])) << fitCase << " row " << i;
        const double expected = std::stod(drawdowns[i][3]);
        const double error = std::abs(j["calculated"][i].get<double>() / expected - 1.0);
        if (error > worst) worst = error, worstRow = i;
    }
    EXPECT_LT(worst, 1e-5) << fitCase << ": worst calculated drawdown at row " << worstRow << ", "
                           << j["calculated"][worstRow] << " against " << drawdowns[worstRow][3];
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
    // Every allowed iteration run, none stopped at convergence: the run these pins were taken from.
    const CliRun r = run({"fit", "--model", "0", "--sample", "pumping", "--json", "--run-all-iterations"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["model"], 0);
    EXPECT_EQ(j["method"], "lsq");
    // The known reference of this fit, to the digits of the float it is stored in.
    EXPECT_EQ(j["parameters"]["transmissivity"].get<double>(), 8.4200735);
    EXPECT_EQ(j["parameters"].size(), 2u);
    expectReferenceFit(j, "theis-lsq");
    // Regression pins of a reviewed run: the Marquardt iteration uses all 20 iterations allowed
    // (maxIterations), its misfit falls 0.3495, 0.1526, 0.1348, ... and ends on the final RMS error.
    EXPECT_EQ(j["iterations"], 20);
    ASSERT_EQ(j["errorHistory"].size(), 20u);
    EXPECT_FLOAT_EQ(j["errorHistory"][0].get<float>(), 0.34949443f);
    EXPECT_FLOAT_EQ(j["errorHistory"][1].get<float>(), 0.15261859f);
    for (std::size_t i = 1; i < 20; ++i)
        EXPECT_LE(j["errorHistory"][i].get<double>(), j["errorHistory"][i - 1].get<double>()) << i;
    EXPECT_EQ(j["errorHistory"][19], j["rmsError"]);
}

TEST(FitCli, TheisFitPrintsItsValuesToSevenDigits) {
    const CliRun r = run({"fit", "--model", "0", "--sample", "pumping", "--run-all-iterations"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "model 0, method lsq\n"
              "storativity              3.932805e-05\n"
              "transmissivity           8.420074\n"
              "rmsError                 0.1347323\n"
              "iterations               20\n");
}

TEST(FitCli, TrialAndJacobFitsGiveTheirClosedFormValues) {
    CliRun r = run({"fit", "--model", "0", "--method", "trial", "--sample", "pumping", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto j = nlohmann::json::parse(r.out);
    expectReferenceFit(j, "theis-trial");
    EXPECT_EQ(j["iterations"], 1);
    EXPECT_EQ(j["errorHistory"], nlohmann::json::array({j["rmsError"]}));

    r = run({"fit", "--model", "9", "--sample", "pumping", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    j = nlohmann::json::parse(r.out);
    expectReferenceFit(j, "jacob-lsq");
    EXPECT_EQ(j["iterations"], 0);  // a straight line in closed form
    EXPECT_TRUE(j["errorHistory"].empty());
}

TEST(FitCli, EveryModelCanBeFitted) {
    for (int m = 0; m <= 10; ++m) {
        const std::string model = std::to_string(m);
        const std::string sample = (m == 5 || m == 10) ? "slug" : "pumping";
        const CliRun r =
            run({"fit", "--model", model, "--sample", sample, "--max-iterations", "3", "--json"});
        ASSERT_EQ(r.status, 0) << "model " << m << ": " << r.err;
        const auto j = nlohmann::json::parse(r.out);
        const double rms = j["rmsError"].get<double>();
        EXPECT_TRUE(std::isfinite(rms) && rms > 0.0) << "model " << m << ": " << rms;
        EXPECT_EQ(j["iterations"], m == 9 ? 0 : 3) << "model " << m;
        for (const auto& [name, value] : j["parameters"].items())
            EXPECT_TRUE(std::isfinite(value.get<double>())) << "model " << m << " " << name;
        if (m > 8 || m == 2) continue;  // no trial run; model 2's trial misfit is taken on logarithms
        // Least squares accepts only steps that lower the misfit: it ends at or below the trial run
        // from the same starting values.
        const CliRun trial =
            run({"fit", "--model", model, "--sample", sample, "--method", "trial", "--json"});
        ASSERT_EQ(trial.status, 0) << trial.err;
        EXPECT_LE(rms, nlohmann::json::parse(trial.out)["rmsError"].get<double>()) << "model " << m;
    }
}

TEST(FitCli, SimplexTrialReportAndSave) {
    const auto report = scratch("fit.out");
    const auto doc = scratch("fit.tvx");
    CliRun r = run({"fit", "--model", "2", "--method", "simplex", "--sample", "pumping", "--report",
                    report.string(), "--save", doc.string(), "--set", "maxIterations=10"});
    ASSERT_EQ(r.status, 0) << r.err;
    // The report states the run that was printed: ten passes and the same final misfit.
    std::stringstream printed(r.out.substr(r.out.find("rmsError")));
    std::string word;
    double rms = 0.0;
    printed >> word >> rms;
    std::ifstream in(report);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto final = text.find("Final Root Mean Square Error=");
    ASSERT_NE(final, std::string::npos) << text;
    EXPECT_TRUE(near(std::stod(text.substr(final + 29)), rms, 1e-6))
        << text.substr(final, 60) << " vs " << rms;
    EXPECT_NE(text.find("Final Number of Iterartions= 10"), std::string::npos);
    EXPECT_NE(text.find("Iteration No= 10 Error ="), std::string::npos);
    // The simplex of the leaky model left T and S at their starting values (8.8, 1e-5) and the
    // document keeps them with the measurements: a Theis trial on it is the Theis trial on the sample.
    r = run({"fit", "--model", "0", "--method", "trial", "--open", doc.string(), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["iterations"], 1);
    expectReferenceFit(j, "theis-trial");
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
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["times"], nlohmann::json::parse("[2.0, 4.0, 8.0, 16.0]"));
    EXPECT_EQ(j["measured"], nlohmann::json::parse("[0.9, 1.3, 1.7, 2.1]"));
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
    std::ifstream reportFile(report);
    const std::string text((std::istreambuf_iterator<char>(reportFile)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind("         REPORT FOR THE CALCULATION OF WELL FUNCTIONS", 0), 0u)
        << text.substr(0, 80);
    EXPECT_NE(text.find("Unconfined aquifer (moench, 1993)"), std::string::npos);
}

TEST(TypecurvesCli, TheisCurveIsTheExponentialIntegral) {
    const auto csv = scratch("theis.csv");
    const CliRun r = run({"typecurves", "--model", "0", "--csv", csv.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "model 0: 1 curve(s) of 50 points\n");
    // W(u) = E1(u) at 1/u on the default grid 0.1 .. 10000 (tests/reference/cli_references.py).
    std::ifstream in(csv);
    std::ifstream reference(std::string(TOLVEX_TEST_DATA_DIR) + "/render/cli_theis_type_curve.csv");
    std::string line, expected;
    std::getline(in, line);
    EXPECT_EQ(line, "x,W");
    while (std::getline(reference, expected) &&
           (expected.empty() || expected[0] == '#' || expected[0] == 'x')) {
    }
    int rows = 0;
    double worst = 0.0;
    std::string worstRow;
    for (; std::getline(in, line); std::getline(reference, expected)) {
        ++rows;
        const double x = std::stod(line), w = std::stod(line.substr(line.find(',') + 1));
        const double ex = std::stod(expected), ew = std::stod(expected.substr(expected.find(',') + 1));
        const double error = std::max(std::abs(x / ex - 1.0), std::abs(w / ew - 1.0));
        if (error > worst) worst = error, worstRow = line + " against " + expected;
    }
    EXPECT_EQ(rows, 50);
    // The curve is stored in floats: a float abscissa moves W by up to u times its relative error.
    EXPECT_LT(worst, 1e-6) << worstRow;
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
    // Theis drawdowns at the default T = 8.8, S = 1e-5, one line "time drawdown" per time.
    const auto expected = referenceRows("cli_fit_drawdowns.csv", "theis-simulate");
    std::istringstream lines(r.out);
    std::size_t count = 0;
    for (double t = 0, s = 0; lines >> t >> s; ++count) {
        ASSERT_LT(count, expected.size());
        EXPECT_TRUE(near(t, std::stod(expected[count][1]), 1e-7)) << "time " << count << ": " << t;
        EXPECT_TRUE(near(s, std::stod(expected[count][3]), 1e-6)) << "drawdown " << count << ": " << s;
    }
    EXPECT_EQ(count, expected.size());
    r = run({"simulate", "--model", "0", "--times", "1", "0.1", "1000"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("usedCount"), std::string::npos);
    r = run({"simulate", "--model", "10", "--times", "5", "1", "10"});
    EXPECT_EQ(r.status, 1);
}

}  // namespace
}  // namespace tolvex::cli
