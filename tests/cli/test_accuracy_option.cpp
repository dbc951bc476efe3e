// --accuracy standard|high on wellfn, typecurves, simulate and fit; the Stehfest warning of wellfn; the
// accuracy in show --json; the range of --set accuracy.
#include <gtest/gtest.h>

#include <boost/math/special_functions/expint.hpp>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "core/solutions/ConfinedLeaky.h"
#include "core/state/AnalysisState.h"
#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

using test::run;

// The Theis least-squares optimum of the pumping sample with scipy's exact E1, by field name: the value
// and the relative tolerance of a fit whose parameters are kept in float.
std::map<std::string, std::pair<double, double>> referenceFit() {
    std::map<std::string, std::pair<double, double>> values;
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/render/cli_fit_values.csv");
    for (std::string line; std::getline(in, line);) {
        std::stringstream cells(line);
        std::string name, field, value, tolerance;
        std::getline(cells, name, ',');
        std::getline(cells, field, ',');
        std::getline(cells, value, ',');
        std::getline(cells, tolerance, ',');
        if (name == "theis-lsq" && field != "rmsError")
            values[field] = {std::stod(value), std::stod(tolerance)};
    }
    EXPECT_EQ(values.size(), 2u);
    return values;
}

// The value wellfn printed, read back.
double printedValue(const test::CliRun& r) {
    return std::stod(r.out);
}

TEST(AccuracyOption, WellfnGivesTheStandardOrTheExactValue) {
    const double exact = boost::math::expint(1, 0.01);  // E1(0.01) = 4.0379295765...
    const test::CliRun standard = run({"wellfn", "theis", "0.01"});
    const test::CliRun high = run({"wellfn", "theis", "0.01", "--accuracy", "high"});
    ASSERT_EQ(high.status, kExitOk) << high.err;
    EXPECT_NEAR(printedValue(high), exact, 1e-9 * exact);  // ten printed digits
    EXPECT_EQ(printedValue(standard),
              printedValue(run({"wellfn", "theis", "0.01", "--accuracy", "standard"})));
    EXPECT_NEAR(printedValue(standard), confinedW(0.01), 1e-9 * exact);
    EXPECT_GT(std::fabs(printedValue(standard) - exact), 1e-8) << "the standard W differs in the 8th digit";
    EXPECT_EQ(run({"wellfn", "theis", "0.01", "--accuracy", "best"}).status, kExitUsage);
}

TEST(AccuracyOption, WellfnWarnsOfManyStehfestTermsInStandardModeOnly) {
    const test::CliRun many = run({"wellfn", "warren-root", "100", "1", "100", "--stehfest", "16"});
    EXPECT_EQ(many.status, kExitOk);
    EXPECT_NE(many.err.find("More than 12 Stehfest terms lose accuracy"), std::string::npos) << many.err;
    EXPECT_EQ(run({"wellfn", "warren-root", "100", "1", "100", "--stehfest", "12"}).err, "");
    EXPECT_EQ(run({"wellfn", "theis", "0.1", "--stehfest", "16"}).err, "") << "no Laplace inversion there";
    const test::CliRun high =
        run({"wellfn", "warren-root", "100", "1", "100", "--stehfest", "16", "--accuracy", "high"});
    EXPECT_EQ(high.err.find("Stehfest"), std::string::npos) << high.err;
}

TEST(AccuracyOption, SimulateAndTypecurvesUseTheExactTheisFunction) {
    // Drawdown Q/(4 pi T) W(r^2 S/(4 T t)) with the default Q, r, S and T, at t = 10.
    const AnalysisState d = makeDefaultState();
    const double u = static_cast<double>(d.radialDistance) * d.radialDistance * d.storativity /
                     (4.0 * d.transmissivity * 10.0);
    const double scale = d.pumpingRate / (4.0 * 3.1415926 * d.transmissivity);
    const test::CliRun sim =
        run({"simulate", "--model", "0", "--times", "2", "10", "100", "--accuracy", "high"});
    ASSERT_EQ(sim.status, kExitOk) << sim.err;
    const double first = std::stod(sim.out.substr(sim.out.find(' ') + 1));
    EXPECT_NEAR(first, scale * boost::math::expint(1, static_cast<double>(static_cast<float>(u))),
                1e-8 * first);

    const auto csv = std::filesystem::temp_directory_path() / "tolvex_accuracy_typecurves.csv";
    const test::CliRun curves =
        run({"typecurves", "--model", "0", "--accuracy", "high", "--csv", csv.string()});
    ASSERT_EQ(curves.status, kExitOk) << curves.err;
    std::ifstream in(csv);
    std::string line;
    std::getline(in, line);  // header
    int rows = 0;
    while (std::getline(in, line)) {
        const double x = static_cast<float>(std::stod(line));  // the abscissa is kept in float
        const double w = std::stod(line.substr(line.find(',') + 1));
        EXPECT_NEAR(w, boost::math::expint(1, 1.0 / x), 1e-7 * w) << x;  // the family is kept in float
        ++rows;
    }
    EXPECT_GT(rows, 10);
    std::filesystem::remove(csv);
}

TEST(AccuracyOption, FitShowAndSetKnowTheSetting) {
    const test::CliRun fit =
        run({"fit", "--model", "0", "--sample", "pumping", "--accuracy", "high", "--json"});
    ASSERT_EQ(fit.status, kExitOk) << fit.err;
    const nlohmann::json result = nlohmann::json::parse(fit.out);
    EXPECT_TRUE(result.at("converged").get<bool>());
    // scipy's least squares with the exact E1 (tests/reference/cli_references.py): the fit with the
    // accurate Theis function reaches that optimum.
    for (const auto& [field, reference] : referenceFit()) {
        const double fitted = result.at("parameters").at(field).get<double>();
        EXPECT_NEAR(fitted, reference.first, reference.second * reference.first) << field;
    }

    const auto doc = std::filesystem::temp_directory_path() / "tolvex_accuracy_show.aqt";
    ASSERT_EQ(run({"typecurves", "--model", "0", "--save", doc.string()}).status, kExitOk);
    const test::CliRun show = run({"show", doc.string(), "--json"});
    EXPECT_EQ(nlohmann::json::parse(show.out).at("accuracy"), "standard");
    // A document saved in high accuracy keeps it (in its extension block) for the next command.
    ASSERT_EQ(run({"typecurves", "--model", "0", "--accuracy", "high", "--save", doc.string()}).status,
              kExitOk);
    EXPECT_EQ(nlohmann::json::parse(run({"show", doc.string(), "--json"}).out).at("accuracy"), "high");
    const test::CliRun opened = run({"fit", "--model", "0", "--open", doc.string(), "--json"});
    EXPECT_EQ(opened.status, kExitOk) << opened.err;
    std::filesystem::remove(doc);

    const test::CliRun refused =
        run({"simulate", "--model", "0", "--times", "2", "1", "10", "--set", "accuracy=2"});
    EXPECT_EQ(refused.status, kExitFailure);
    EXPECT_NE(refused.err.find("accuracy: '2' is not one of 0 to 1"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace tolvex::cli
