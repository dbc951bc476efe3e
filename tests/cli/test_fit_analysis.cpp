// tolvex-cli fit --auto-start and the uncertainty of a least-squares fit, against the independent
// scipy references: tests/reference/fit_uncertainty_reference.py (intervals, correlation,
// autocorrelation of the Theis fit of the pumping sample) and fit_reference_0_4.py / 5_10.py (the
// optima's RMS errors).
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/Cli.h"
#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

using test::CliRun;
using test::run;

// quantity of `name` in fit_uncertainty.csv
double uncertaintyReference(const std::string& name, const std::string& quantity) {
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/reference/fit_uncertainty.csv");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(name + "," + quantity + ",", 0) == 0)
            return std::stod(line.substr(line.rfind(',') + 1));
    }
    ADD_FAILURE() << "no " << quantity << " of " << name;
    return NAN;
}

constexpr double kTheisOptimumRms = 0.1347323431;  // fits_0_4.csv, m0_sample (scipy)
constexpr double kSlugOptimumRms = 0.00724446665;  // fits_5_10.csv, case 132 (scipy)

TEST(FitAnalysis, AutoStartTheisFitReportsIntervalsCorrelationAndAutocorrelation) {
    const CliRun r = run({"fit", "--model", "0", "--sample", "pumping", "--auto-start", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("start values ("), std::string::npos) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_LE(j["rmsError"].get<double>(), kTheisOptimumRms + 1e-4);
    // the Marquardt optimum lies within 1e-5 of the exact one: its intervals agree to 1e-3
    for (const std::string name : {"storativity", "transmissivity"}) {
        const auto& u = j["uncertainty"][name];
        EXPECT_NEAR(u["standardError"].get<double>() / uncertaintyReference("theis_sample", "se_" + name),
                    1.0, 1e-3);
        EXPECT_NEAR(u["interval"][0].get<double>() / uncertaintyReference("theis_sample", "lo_" + name), 1.0,
                    1e-3);
        EXPECT_NEAR(u["interval"][1].get<double>() / uncertaintyReference("theis_sample", "hi_" + name), 1.0,
                    1e-3);
        EXPECT_FALSE(u["fixed"].get<bool>());
        EXPECT_FALSE(u["atBound"].get<bool>());
    }
    EXPECT_EQ(j["correlation"]["parameters"], nlohmann::json({"storativity", "transmissivity"}));
    const double r12 = uncertaintyReference("theis_sample", "corr_storativity_transmissivity");
    EXPECT_NEAR(j["correlation"]["matrix"][0][1].get<double>(), r12, 1e-3);
    EXPECT_NEAR(j["correlation"]["matrix"][1][0].get<double>(), r12, 1e-3);
    EXPECT_EQ(j["correlation"]["matrix"][0][0].get<double>(), 1.0);
    const auto& a = j["residualAutocorrelation"];
    EXPECT_NEAR(a["lag1"].get<double>(), uncertaintyReference("theis_sample", "rho"), 1e-3);
    EXPECT_NEAR(a["effectiveCount"].get<double>(), uncertaintyReference("theis_sample", "neff"), 1e-2);
    EXPECT_NEAR(a["degreesOfFreedom"].get<double>(), uncertaintyReference("theis_sample", "nu"), 1e-2);
    EXPECT_TRUE(j["warnings"].is_array());
}

TEST(FitAnalysis, PlainOutputPrintsTheUncertaintyOnStderr) {
    const CliRun r = run({"fit", "--model", "0", "--sample", "pumping"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("uncertainty"), std::string::npos);
    EXPECT_NE(r.err.find("uncertainty (95 % intervals; residuals' lag-1 autocorrelation 0.4976"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("  transmissivity         standard error 0.6855"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("correlation\n  storativity              1.000  -0.975"), std::string::npos)
        << r.err;
}

// A parameter held on the user's bound and a fixed one are marked as such in the uncertainty.
TEST(FitAnalysis, BoundsAndFixedParametersAreMarked) {
    CliRun r = run({"fit", "--model", "0", "--sample", "pumping", "--bounds", "transmissivity=:8", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto j = nlohmann::json::parse(r.out);
    EXPECT_TRUE(j["uncertainty"]["transmissivity"]["atBound"].get<bool>()) << j["uncertainty"];
    EXPECT_FALSE(j["uncertainty"]["storativity"]["atBound"].get<bool>());
    r = run({"fit", "--model", "0", "--sample", "pumping", "--fix", "storativity", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    j = nlohmann::json::parse(r.out);
    EXPECT_TRUE(j["uncertainty"]["storativity"]["fixed"].get<bool>()) << j["uncertainty"];
    EXPECT_FALSE(j["uncertainty"]["transmissivity"]["fixed"].get<bool>());
}

TEST(FitAnalysis, OnlyLeastSquaresGivesAnUncertainty) {
    const CliRun r = run({"fit", "--model", "0", "--sample", "pumping", "--method", "simplex", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_FALSE(j.contains("uncertainty"));
    EXPECT_FALSE(j.contains("correlation"));
}

TEST(FitAnalysis, AutoStartSlugFitReachesTheOptimum) {
    const CliRun r = run({"fit", "--model", "5", "--sample", "slug", "--auto-start", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_LE(j["rmsError"].get<double>(), kSlugOptimumRms + 1e-4);
}

TEST(FitAnalysis, AutoStartRefusesModelsWithoutTypeCurves) {
    const CliRun r = run({"fit", "--model", "9", "--sample", "pumping", "--auto-start"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tolvex-cli: fit: --auto-start: Start values are computed for models 0 to 8.\n");
}

}  // namespace
}  // namespace tolvex::cli
