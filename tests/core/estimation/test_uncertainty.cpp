// Parameter uncertainty after least squares against the independent scipy computation of
// tests/reference/fit_uncertainty_reference.py (optimum, Jacobian, Student's t all computed there),
// evaluated at the reference's optimum; and the branches the reference cases do not reach: too few
// independent residuals, parameters the data cannot tell apart or do not see at all.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/estimation/SymmetricEigen.h"
#include "core/estimation/Uncertainty.h"
#include "core/input/MeasurementTable.h"
#include "core/typecurves/SyntheticDrawdowns.h"

namespace tolvex {
namespace {

using Quantities = std::map<std::string, double>;

std::map<std::string, Quantities> referenceCases() {
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/reference/fit_uncertainty.csv");
    std::map<std::string, Quantities> cases;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#' || line.rfind("case,", 0) == 0) continue;
        std::stringstream words(line);
        std::string name, quantity, value;
        std::getline(words, name, ',');
        std::getline(words, quantity, ',');
        std::getline(words, value, ',');
        cases[name][quantity] = std::stod(value);
    }
    EXPECT_FALSE(cases.empty()) << "fit_uncertainty.csv is missing or empty";
    return cases;
}

// Tolerances of one case: relative for variances, counts, errors and interval ends; absolute for rho
// and correlations. The point is the reference's optimum rounded to the float fields (rho moves by
// 2e-7); the program's Jacobian (central differences in ln p through the forward model's float-rounded
// factors, Richardson-extrapolated) agrees with the analytic one to about 1e-5. Leaky: W(u, r/B) is
// good to 2e-5 relative and scipy's differences carry their own error (measured: 7e-6).
struct CaseSpec {
    std::string name;
    int model;
    std::string pointOf;  // the case whose optimum is the point
    bool fixS;
    double relative, absolute;
};

const std::vector<CaseSpec> kCases{{"theis_sample", 0, "theis_sample", false, 2e-5, 1e-6},
                                   {"theis_sample_fixed_S", 0, "theis_sample", true, 2e-5, 1e-6},
                                   {"theis_noisy", 0, "theis_noisy", false, 2e-5, 1e-6},
                                   {"theis_noisy_fixed_S", 0, "theis_noisy", true, 2e-5, 1e-6},
                                   {"leaky_sample", 2, "leaky_sample", false, 5e-5, 1e-5}};

AnalysisState stateAt(const Quantities& point, int model, const Quantities& data) {
    AnalysisState s = makeDefaultState();
    s.modelKind = model;
    if (data.count("time_0") != 0) {
        std::vector<double> times, drawdowns;
        for (int j = 0; data.count("time_" + std::to_string(j)) != 0; ++j) {
            times.push_back(data.at("time_" + std::to_string(j)));
            drawdowns.push_back(data.at("drawdown_" + std::to_string(j)));
        }
        replaceMeasurements(s, times, drawdowns);
    }
    s.storativity = static_cast<float>(point.at("value_storativity"));
    s.transmissivity = static_cast<float>(point.at("value_transmissivity"));
    if (model == 2) s.upperBedConductivity = static_cast<float>(point.at("value_upperBedConductivity"));
    return s;
}

void expectRelative(double got, double expected, double tolerance, const std::string& what) {
    EXPECT_NEAR(got / expected, 1.0, tolerance) << what << ": " << got << " expected " << expected;
}

TEST(Uncertainty, MatchesTheIndependentComputation) {
    const auto cases = referenceCases();
    for (const CaseSpec& c : kCases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(cases.count(c.name), 1u);
        const Quantities& ref = cases.at(c.name);
        AnalysisState s = stateAt(cases.at(c.pointOf), c.model, cases.at(c.pointOf));
        if (c.fixS) s.lsParamFree = {1, 0, 1};
        const auto u = estimateUncertainty(s);
        ASSERT_TRUE(u);
        EXPECT_EQ(u->usedCount, static_cast<int>(ref.at("n")));
        EXPECT_EQ(u->freeCount, static_cast<int>(ref.at("k")));
        expectRelative(u->sumSquares, ref.at("ssr"), c.relative, "SSR");
        expectRelative(u->residualVariance, ref.at("sigma2"), c.relative, "sigma^2");
        EXPECT_NEAR(u->lag1Autocorrelation, ref.at("rho"), c.absolute);
        expectRelative(u->effectiveCount, ref.at("neff"), c.relative, "n_eff");
        expectRelative(u->covarianceScale, ref.at("scale"), c.relative, "scale");
        expectRelative(u->degreesOfFreedom, ref.at("nu"), c.relative, "nu");
        EXPECT_TRUE(u->enoughInformation);
        for (const ParameterUncertainty& p : u->parameters) {
            const std::string name(p.name);
            if (ref.count("se_" + name) == 0) {
                EXPECT_TRUE(p.fixed) << name;
                EXPECT_TRUE(std::isnan(p.standardError)) << name;
                continue;
            }
            EXPECT_TRUE(p.determined && !p.fixed && !p.atBound) << name;
            expectRelative(p.standardError, ref.at("se_" + name), c.relative, "se " + name);
            expectRelative(p.lower, ref.at("lo_" + name), c.relative, "lower " + name);
            expectRelative(p.upper, ref.at("hi_" + name), c.relative, "upper " + name);
        }
        const std::size_t k = u->correlationNames.size();
        ASSERT_EQ(k, static_cast<std::size_t>(ref.at("k")));
        for (std::size_t a = 0; a < k; ++a) {
            EXPECT_EQ(u->correlation[a * k + a], 1.0);
            for (std::size_t b = a + 1; b < k; ++b) {
                const std::string key =
                    "corr_" + std::string(u->correlationNames[a]) + "_" + std::string(u->correlationNames[b]);
                ASSERT_EQ(ref.count(key), 1u) << key;
                EXPECT_NEAR(u->correlation[a * k + b], ref.at(key), c.absolute) << key;
                EXPECT_EQ(u->correlation[a * k + b], u->correlation[b * k + a]);
            }
        }
        EXPECT_TRUE(u->warnings.empty()) << u->warnings.front();
    }
}

TEST(Uncertainty, LagOneAutocorrelationOfShortSeries) {
    // mean 0: (1*-1 + -1*1 + 1*-1) / 4; mean 2.5 of 1..4: (-1.5*-0.5 + -0.5*0.5 + 0.5*1.5) / 5
    EXPECT_DOUBLE_EQ(lag1Autocorrelation({1.0, -1.0, 1.0, -1.0}), -0.75);
    EXPECT_DOUBLE_EQ(lag1Autocorrelation({1.0, 2.0, 3.0, 4.0}), 0.25);
    EXPECT_EQ(lag1Autocorrelation({2.0, 2.0, 2.0}), 0.0);
    EXPECT_EQ(lag1Autocorrelation({1.0}), 0.0);
}

TEST(Uncertainty, ResidualsInTimeOrderNotTableOrder) {
    const auto cases = referenceCases();
    const Quantities& point = cases.at("theis_noisy");
    AnalysisState s = stateAt(point, 0, point);
    const double inOrder = estimateUncertainty(s)->lag1Autocorrelation;
    std::swap(s.times[3], s.times[12]);
    std::swap(s.measured[3], s.measured[12]);
    EXPECT_NEAR(estimateUncertainty(s)->lag1Autocorrelation, inOrder, 1e-12);
}

// Drawdowns of the Theis model plus a ramp: residuals so smooth (rho ~ 0.8) that 14 measurements
// hold fewer than two independent ones.
TEST(Uncertainty, SmoothResidualsLeaveNotEnoughInformation) {
    AnalysisState s = makeDefaultState();
    AnalysisState synthetic = s;
    synthetic.usedCount = 14;
    calculateDrawdowns(synthetic);
    for (int i = 0; i < 14; ++i) synthetic.measured[i] += 0.01 * i;
    const auto u = estimateUncertainty(synthetic);
    ASSERT_TRUE(u);
    EXPECT_GT(u->lag1Autocorrelation, 0.6);
    EXPECT_LE(u->effectiveCount, 2.0);
    EXPECT_FALSE(u->enoughInformation);
    for (const ParameterUncertainty& p : u->parameters) EXPECT_TRUE(std::isnan(p.lower)) << p.name;
    ASSERT_EQ(u->correlation.size(), 4u);
    ASSERT_FALSE(u->warnings.empty());
    EXPECT_NE(u->warnings.back().find("not enough independent information"), std::string::npos);
}

// Late drawdowns close to a well: the Jacob straight line over a tenth of a log cycle, where a
// larger T with a smaller S gives nearly the same drawdowns.
TEST(Uncertainty, WarnsWhenTwoParametersCannotBeToldApart) {
    AnalysisState s = makeDefaultState();
    s.radialDistance = 1.0f;
    s.usedCount = 10;
    s.calcTimeMin = 100.0f;
    s.calcTimeMax = 125.0f;
    calculateDrawdowns(s);
    for (int i = 0; i < s.usedCount; ++i) s.measured[i] += i % 2 == 0 ? 1e-3 : -1e-3;
    const auto u = estimateUncertainty(s);
    ASSERT_TRUE(u);
    EXPECT_LT(u->correlation[1], -0.99);
    ASSERT_EQ(u->warnings.size(), 1u);
    EXPECT_EQ(u->warnings[0], "T and S cannot be told apart from these data");
}

// Model 4's confining beds reach the drawdown only through beta: four parameters in one direction
// the data do not see. S and T keep their intervals.
TEST(Uncertainty, ParametersTheDataDoNotSeeAreNotDetermined) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 4;
    s.usedCount = 25;
    s.calcTimeMin = 0.01f;
    s.calcTimeMax = 1000.0f;
    calculateDrawdowns(s);
    for (int i = 0; i < s.usedCount; ++i) s.measured[i] *= 1.0 + (i % 2 == 0 ? 1e-3 : -1e-3);
    const auto u = estimateUncertainty(s);
    ASSERT_TRUE(u);
    ASSERT_EQ(u->parameters.size(), 6u);
    for (int j = 0; j < 6; ++j) EXPECT_EQ(u->parameters[j].determined, j < 2) << u->parameters[j].name;
    EXPECT_TRUE(std::isfinite(u->parameters[1].standardError));
    EXPECT_TRUE(std::isnan(u->parameters[2].standardError));
    EXPECT_EQ(u->correlationNames.size(), 2u);
    ASSERT_FALSE(u->warnings.empty());
    EXPECT_NE(u->warnings.back().find("K', K'', S' and S'' are not determined"), std::string::npos);
}

TEST(Uncertainty, ParameterOnTheClampingFloorIsAtABound) {
    AnalysisState s = makeDefaultState();
    s.storativity = 1e-10f;
    const auto u = estimateUncertainty(s);
    ASSERT_TRUE(u);
    EXPECT_TRUE(u->parameters[0].atBound);
    EXPECT_FALSE(u->parameters[1].atBound);
    EXPECT_EQ(u->freeCount, 1);
    ParameterRanges ranges{{0.0, 0.0, 1.0}, {0.0, 1.0, 8.8}};
    s.storativity = 1e-5f;
    EXPECT_TRUE(estimateUncertainty(s, ranges)->parameters[1].atBound);
}

TEST(Uncertainty, NothingForModelsWithoutTheForwardModel) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 9;
    EXPECT_FALSE(estimateUncertainty(s));
    s.modelKind = 0;
    s.usedCount = 0;
    EXPECT_FALSE(estimateUncertainty(s));
}

TEST(SymmetricEigen, DecomposesAKnownMatrix) {
    // [[2, 1], [1, 2]]: eigenvalues 1 and 3, eigenvectors (1, -1) and (1, 1) / sqrt 2
    const SymmetricEigen e = symmetricEigen({2.0, 1.0, 1.0, 2.0}, 2);
    const double small = std::min(e.values[0], e.values[1]), large = std::max(e.values[0], e.values[1]);
    EXPECT_NEAR(small, 1.0, 1e-14);
    EXPECT_NEAR(large, 3.0, 1e-14);
    const int k = e.values[0] < e.values[1] ? 0 : 1;
    EXPECT_NEAR(std::fabs(e.vectors[0 * 2 + k]), std::sqrt(0.5), 1e-14);
    EXPECT_NEAR(e.vectors[0 * 2 + k], -e.vectors[1 * 2 + k], 1e-14);
}

TEST(SymmetricEigen, ReconstructsASymmetricMatrix) {
    const std::vector<double> a{4, 1, 2, 0.5, 1, 3, 0, 1, 2, 0, 5, 2, 0.5, 1, 2, 6};
    const SymmetricEigen e = symmetricEigen(a, 4);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += e.vectors[i * 4 + k] * e.values[k] * e.vectors[j * 4 + k];
            EXPECT_NEAR(sum, a[i * 4 + j], 1e-12);
        }
    }
}

}  // namespace
}  // namespace tolvex
