#include <gtest/gtest.h>

#include <boost/math/special_functions/expint.hpp>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>

#include "core/accurate/ReferenceTable.h"
#include "core/solutions/DoublePorosity.h"
#include "core/solutions/IndependentReferences.h"
#include "core/solutions/accurate/AccurateWellFunctions.h"

namespace tolvex::accurate {
namespace {

using test::scientific;

constexpr double kSigma = 100.0;  // the type curves' default sigma = Sm/Sf

double theis(double u) {
    return boost::math::expint(1, u);
}

TEST(AccurateDoublePorosityGuards, AsTheStandardFunction) {
    const double infinity = std::numeric_limits<double>::infinity();
    struct Case {
        double td, param, sigma;
        int variant;
    };
    const Case nanCases[] = {
        {10.0, 1.0, 0.0, kWarrenRoot}, {10.0, 1.0, -1.0, kSlab},          {10.0, 0.0, kSigma, kSlab},
        {10.0, -1.0, kSigma, kSlab},   {10.0, -1.0, kSigma, kWarrenRoot}, {0.0, 1.0, kSigma, kWarrenRoot},
        {-5.0, 1.0, kSigma, kSlab},    {infinity, 1.0, kSigma, kSlab},    {10.0, infinity, kSigma, kSlab}};
    for (const Case& c : nanCases) {
        EXPECT_TRUE(std::isnan(doublePorosityW(c.td, c.param, c.sigma, c.variant))) << c.td << " " << c.param;
    }
    EXPECT_EQ(doublePorosityW(10.0, 1.0, kSigma, 0), 0.0);
    EXPECT_EQ(doublePorosityW(10.0, 1.0, kSigma, 3), 0.0);
}

// Without exchange the fractures alone respond, W(1/(4 td)); with instant exchange (lambda = inf) the
// combined storage does, W((1 + sigma)/(4 td)). Both transforms are then 2 K0(sqrt(c p))/p exactly.
TEST(AccurateDoublePorosityLimits, TheisOfTheFracturesAndOfTheCombinedStorage) {
    double worst = 0.0;
    for (double td = 0.1; td <= 1.01e6; td *= std::sqrt(10.0)) {
        const double fractures = theis(1.0 / (4.0 * td));
        worst = std::fmax(worst, std::fabs(doublePorosityW(td, 0.0, kSigma, kWarrenRoot) / fractures - 1.0));
        const double combined = theis((1.0 + kSigma) / (4.0 * td));
        if (combined > 1e-3) {
            const double value =
                doublePorosityW(td, std::numeric_limits<double>::infinity(), kSigma, kWarrenRoot);
            worst = std::fmax(worst, std::fabs(value / combined - 1.0));
        }
    }
    EXPECT_LT(worst, 1e-11);
    ::testing::Test::RecordProperty("worst_relative_theis_limits", scientific(worst));
    // Slabs: gamma f tanh(f/gamma) -> 0 as gamma -> 0 and -> sigma p as gamma -> inf.
    for (double td : {1.0, 1e3}) {
        EXPECT_NEAR(doublePorosityW(td, 1e-12, kSigma, kSlab), theis(1.0 / (4.0 * td)), 1e-9);
        EXPECT_NEAR(doublePorosityW(td, 1e9, kSigma, kSlab), theis((1.0 + kSigma) / (4.0 * td)), 1e-9);
    }
}

// The standard functions (Stehfest, polynomial K0) agree within their own measured error (8.4e-3
// Warren-Root, 2.5e-3 slabs where the drawdown is at least 0.01).
TEST(AccurateDoublePorosity, AgreesWithTheStandardFunctionsWithinTheirError) {
    const AnalysisState state = test::stateWithTables(20, 12);
    for (int variant : {kWarrenRoot, kSlab}) {
        for (double td = 0.1; td <= 1.01e6; td *= 10.0) {
            for (double family = 1e-5; family <= 101.0; family *= 10.0) {
                const double param = variant == kWarrenRoot ? family : std::sqrt(family);
                const double value = doublePorosityW(td, param, kSigma, variant);
                EXPECT_NEAR(tolvex::doublePorosityW(td, param, kSigma, variant, state), value,
                            1e-6 + 1e-2 * value)
                    << variant << " " << td << " " << family;
            }
        }
    }
}

// The tests' own inversion (Abate and Valko's fixed Talbot contour with 24 nodes and a separately
// written complex K0): a different contour, node set and K0, good to about 1e-10.
TEST(AccurateDoublePorosity, AgreesWithAnIndependentTalbotInversion) {
    for (int variant : {kWarrenRoot, kSlab}) {
        test::WorstDeviation worst;
        double worstAbsolute = 0.0;
        for (double td = 0.1; td <= 1.01e6; td *= std::sqrt(10.0)) {
            for (double family = 1e-5; family <= 101.0; family *= 10.0) {
                const double param = variant == kWarrenRoot ? family : std::sqrt(family);
                const double reference = test::talbotInvert(td, [&](test::Complex p) {
                    const test::Complex w =
                        variant == kWarrenRoot
                            ? p * (1.0 + 1.0 / (1.0 / kSigma + p / param))
                            : p + param * std::sqrt(kSigma * p) * std::tanh(std::sqrt(kSigma * p) / param);
                    return 2.0 * test::complexK0(std::sqrt(w)) / p;
                });
                const double value = doublePorosityW(td, param, kSigma, variant);
                const std::string row = "td " + std::to_string(td) + " family " + std::to_string(family);
                if (reference >= 0.01) {
                    worst.add(value, reference, row);
                } else {
                    worstAbsolute = std::fmax(worstAbsolute, std::fabs(value - reference));
                }
            }
        }
        EXPECT_LT(worst.relative, 1e-9) << worst.row;
        EXPECT_LT(worstAbsolute, 1e-11);
        ::testing::Test::RecordProperty("worst_relative_variant_" + std::to_string(variant),
                                        scientific(worst.relative));
    }
}

// 30-digit mpmath references over the type-curve ranges (tests/reference/, columns
// td, param, sigma, variant, value): 1e-9 relative, or 1e-13 absolute for the tiny early values.
TEST(AccurateDoublePorosityReference, MatchesMpmath) {
    if (!std::filesystem::exists(TOLVEX_TEST_DATA_DIR "/reference/accurate/double_porosity.csv")) {
        GTEST_SKIP() << "double_porosity.csv not yet generated";
    }
    const test::ReferenceTable table = test::readReferenceTable("double_porosity.csv");
    ASSERT_FALSE(table.rows.empty());
    test::WorstDeviation worst[3];
    double worstAbsolute = 0.0;
    for (const std::vector<double>& row : table.rows) {
        const double td = row[table.column("td")], param = row[table.column("param")];
        const double sigma = row[table.column("sigma")], reference = row.back();
        const int variant = static_cast<int>(row[table.column("variant")]);
        const double value = doublePorosityW(td, param, sigma, variant);
        const std::string where =
            std::to_string(variant) + " td " + std::to_string(td) + " param " + std::to_string(param);
        EXPECT_NEAR(value, reference, std::fmax(1e-9 * std::fabs(reference), 1e-13)) << where;
        if (std::fabs(reference) >= 1e-4) {
            worst[variant == kSlab ? 2 : 1].add(value, reference, where);
        } else {
            worstAbsolute = std::fmax(worstAbsolute, std::fabs(value - reference));
        }
    }
    ::testing::Test::RecordProperty("worst_relative_warren_root", scientific(worst[1].relative));
    ::testing::Test::RecordProperty("worst_relative_slab", scientific(worst[2].relative));
    ::testing::Test::RecordProperty("worst_absolute_below_1e-4", scientific(worstAbsolute));
}

}  // namespace
}  // namespace tolvex::accurate
