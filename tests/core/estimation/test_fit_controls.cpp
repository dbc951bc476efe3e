// Fixed parameters and bounds in the Marquardt iteration and the simplex, against scipy's bounded least
// squares on the 14-point pumping sample (tests/reference/fit_controls_reference.py ->
// tests/data/reference/fit_controls.csv): the free parameters reach the constrained optimum, a fixed one
// keeps its start bit for bit, and exactly the parameters scipy finds active are reported on a bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "core/estimation/FitControls.h"
#include "core/estimation/LeastSquares.h"
#include "core/estimation/Simplex.h"
#include "core/state/FieldTable.h"
#include "core/typecurves/ParameterVector.h"
#include "support/CsvTable.h"

namespace tolvex {
namespace {

using test::CsvRow;
constexpr double kInf = std::numeric_limits<double>::infinity();

// The settings of each reference case, in field units (as --fix and --bounds give them).
FitControls controlsOf(const std::string& name) {
    FitControls c;
    if (name == "theis_fix_S") c.fixed = {"storativity"};
    if (name == "theis_fix_T") c.fixed = {"transmissivity"};
    if (name == "theis_T_upper") c.bounds["transmissivity"] = {-kInf, 8.0};
    if (name == "theis_S_lower") c.bounds["storativity"] = {5e-5, kInf};
    if (name == "theis_inside") c.bounds = {{"storativity", {1e-6, 1e-3}}, {"transmissivity", {1.0, 100.0}}};
    if (name == "leaky_K_lower") c.bounds["upperBedConductivity"] = {5e-6, kInf};
    return c;
}

float field(const AnalysisState& s, const std::string& name) {
    return s.*std::get<float AnalysisState::*>(findField(name)->member);
}

std::map<std::string, std::vector<CsvRow>> referenceCases() {
    std::map<std::string, std::vector<CsvRow>> cases;
    for (const CsvRow& row : test::readCsvTable(TOLVEX_TEST_DATA_DIR "/reference/fit_controls.csv"))
        cases[row.at("case")].push_back(row);
    return cases;
}

AnalysisState sampleState(int model, int iterations) {
    AnalysisState s = makeDefaultState();  // the 14-point pumping sample and the default start
    s.modelKind = model;
    s.maxIterations = iterations;
    s.errorHistory.assign(iterations, 0.0f);
    return s;
}

struct Fit {
    AnalysisState state;
    FitOutcome outcome;
};

Fit leastSquares(int model, const FitControls& c) {
    Fit f{sampleState(model, 100), {}};
    NullProgress progress;
    f.outcome = leastSquaresEstimation(f.state, progress, {}, c);
    return f;
}

Fit simplex(int model, const FitControls& c) {
    Fit f{sampleState(model, 600), {}};
    NullProgress progress;
    f.state.modelParams = buildParameterVector(f.state);
    f.outcome = simplexEstimation(f.state, progress, {}, vectorControls(f.state, c));
    writeParameterVector(f.state, std::span<const float>(f.state.modelParams));
    return f;
}

std::vector<std::string> boundNames(const std::vector<CsvRow>& rows) {
    std::vector<std::string> names;
    for (const CsvRow& row : rows)
        if (row.at("kind") == "bound") names.push_back(row.at("field"));
    return names;
}

TEST(FitControls, LeastSquaresReachesTheConstrainedOptimumOfScipy) {
    const auto cases = referenceCases();
    ASSERT_EQ(cases.size(), 6u);
    for (const auto& [name, rows] : cases) {
        const int model = std::stoi(rows.front().at("model"));
        const Fit f = leastSquares(model, controlsOf(name));
        EXPECT_TRUE(f.outcome.converged) << name;
        EXPECT_EQ(f.outcome.end, FitEnd::Settled) << name;
        EXPECT_EQ(f.outcome.atBound, boundNames(rows)) << name;
        for (const CsvRow& row : rows) {
            const std::string& q = row.at("field");
            const double got = q == "rmsError" ? f.state.rmsError : field(f.state, q);
            const double expected = std::stod(row.at("value"));
            EXPECT_LE(std::fabs(got / expected - 1.0), std::stod(row.at("tolerance")))
                << name << " " << q << ": " << got << ", scipy " << expected;
            if (row.at("kind") == "fixed") {
                EXPECT_EQ(field(f.state, q), field(makeDefaultState(), q)) << name << " " << q;
            }
        }
    }
}

// The simplex under the same settings: it keeps the fixed value and the bounds, and its RMS comes
// within 0.1 % of the constrained optimum (it does not polish as least squares does).
TEST(FitControls, SimplexKeepsFixedValuesAndBoundsAndNearsTheOptimum) {
    for (const auto& [name, rows] : referenceCases()) {
        const int model = std::stoi(rows.front().at("model"));
        if (model != 0) continue;  // the leaky simplex minimises logarithmic residuals, another objective
        const FitControls c = controlsOf(name);
        const Fit f = simplex(model, c);
        EXPECT_EQ(f.outcome.atBound, boundNames(rows)) << name;
        for (const CsvRow& row : rows) {
            const std::string& q = row.at("field");
            const double expected = std::stod(row.at("value"));
            if (q == "rmsError") {
                EXPECT_LE(f.state.rmsError, expected * 1.001) << name;
                EXPECT_GE(f.state.rmsError, expected * (1 - 1e-5)) << name << ": below the optimum";
            } else if (row.at("kind") == "fixed") {
                EXPECT_EQ(field(f.state, q), field(makeDefaultState(), q)) << name << " " << q;
            }
        }
        for (const auto& [q, b] : c.bounds) {
            EXPECT_GE(field(f.state, q), static_cast<float>(b.lower)) << name << " " << q;
            EXPECT_LE(field(f.state, q), static_cast<float>(b.upper)) << name << " " << q;
        }
    }
}

// A start outside the bounds begins on the nearer bound; every parameter fixed leaves the start as is.
TEST(FitControls, StartOutsideTheBoundsAndEverythingFixed) {
    FitControls c;
    c.bounds["transmissivity"] = {9.0, 20.0};  // start 8.8, free optimum 8.42
    Fit f = leastSquares(0, c);
    EXPECT_EQ(f.state.transmissivity, 9.0f);
    EXPECT_EQ(f.outcome.atBound, std::vector<std::string>{"transmissivity"});

    c = FitControls{};
    c.fixed = {"storativity", "transmissivity"};
    for (const Fit& g : {leastSquares(0, c), simplex(0, c)}) {
        EXPECT_EQ(g.state.storativity, 1e-5f);
        EXPECT_EQ(g.state.transmissivity, 8.8f);
        EXPECT_TRUE(g.outcome.converged);
    }
}

TEST(FitControls, VectorControlsTranslateFieldUnits) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 2;  // p3 = b'/K' with b' = 21
    FitControls c;
    c.bounds["upperBedConductivity"] = {0.01, 0.1};
    c.fixed = {"transmissivity"};
    const VectorControls v = vectorControls(s, c);
    EXPECT_DOUBLE_EQ(v.lower[3], 21.0 / 0.1);
    EXPECT_DOUBLE_EQ(v.upper[3], 21.0 / 0.01);
    EXPECT_TRUE(v.isFixed(2));
    EXPECT_FALSE(v.isFixed(1));
    EXPECT_EQ(v.clamp(3, 1e9), 2100.0);
    EXPECT_EQ(v.clamp(1, -5.0), -5.0);  // unbounded

    s.modelKind = 10;  // the rate p = 2 K Le / (ln(Re/rw) rc^2)
    s.brLnReRw = 2.0f;
    s.screenLength = 4.0f;
    s.casingRadius = 0.5f;
    c = FitControls{};
    c.bounds["hydraulicConductivity"] = {1e-5, 1e-3};
    const VectorControls r = vectorControls(s, c);
    EXPECT_DOUBLE_EQ(r.lower[1], 1e-5 * 16.0);
    EXPECT_DOUBLE_EQ(r.upper[1], 1e-3 * 16.0);
}

TEST(FitControls, SettingsThatDoNotFitTheModelAreRefusedWithTheReason) {
    struct Case {
        int model;
        FitControls controls;
        const char* says;  // nullptr: accepted
    };
    FitControls unknown, reversed, ok, jacob;
    unknown.fixed = {"verticalConductivity"};
    reversed.bounds["transmissivity"] = {10.0, 1.0};
    ok.bounds["transmissivity"] = {1.0, 10.0};
    jacob.fixed = {"transmissivity"};
    const Case cases[] = {
        {0, unknown,
         "verticalConductivity is not a fitted parameter of model 0 (storativity, transmissivity)"},
        {1, unknown, nullptr},
        {0, reversed, "The lower bound of transmissivity must lie below its upper bound."},
        {0, ok, nullptr},
        {9, jacob, "Jacob's straight line has no parameter to fix or bound"},
        {9, FitControls{}, nullptr},
    };
    for (const Case& c : cases) {
        const auto error = checkFitControls(c.model, c.controls);
        if (c.says == nullptr) {
            EXPECT_FALSE(error) << c.model << ": " << *error;
        } else {
            ASSERT_TRUE(error) << c.model << " " << c.says;
            EXPECT_NE(error->find(c.says), std::string::npos) << *error;
        }
    }
}

}  // namespace
}  // namespace tolvex
