// tolvex-cli wellfn: every function of the catalogue, the table options and the refusals.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "core/solutions/ConfinedLeaky.h"
#include "core/solutions/DoublePorosity.h"
#include "core/solutions/PartialPenetration.h"
#include "core/solutions/SlugTest.h"
#include "core/solutions/Unconfined.h"
#include "core/state/AnalysisState.h"

namespace tolvex::cli {
namespace {

struct WellfnRun {
    int status;
    std::string out;
    std::string err;
};

WellfnRun wellfn(std::vector<std::string> words) {
    words.insert(words.begin(), {"tolvex-cli", "wellfn"});
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(words, out, err);
    return {status, out.str(), err.str()};
}

std::string printed(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.10g\n", value);
    return buffer;
}

AnalysisState tables(int gauss, int stehfest) {
    AnalysisState state = makeDefaultState();
    state.gaussCount = gauss;
    state.stehfestCount = stehfest;
    buildNumericalTables(state);
    return state;
}

TEST(WellfnCatalogue, PrintsEachFunctionWithTenDigits) {
    const AnalysisState state = tables(20, 12);
    const UnconfinedGeometry full;
    const std::vector<std::pair<std::vector<std::string>, double>> cases{
        {{"partial", "0.01", "2", "0.75", "0.5", "-1", "0.3"}, partialW(0.01, 2, 0.75, 0.5, -1, 0.3)},
        {{"partial", "0.01", "0.05", "0.75", "0.5", "0.75", "0.5"},
         partialW(0.01, 0.05, 0.75, 0.5, 0.75, 0.5)},
        {{"partial-leaky", "0.01", "0.1", "0.2", "0.75", "0.25", "-1", "0.5"},
         partialLeakyW(0.01, 0.1, 0.2, 0.75, 0.25, -1, 0.5)},
        {{"slug", "1", "0.001"}, slugF(1, 0.001, state)},
        {{"unconfined", "10", "1", "0.01"}, unconfinedW(10, 1, 0.01, full, state)},
        {{"warren-root", "100", "1", "100"}, doublePorosityW(100, 1, 100, kWarrenRoot, state)},
        {{"slab", "100", "0.5", "100"}, doublePorosityW(100, 0.5, 100, kSlab, state)},
    };
    for (const auto& [words, expected] : cases) {
        const WellfnRun run = wellfn(words);
        EXPECT_EQ(run.status, kExitOk) << words.front() << run.err;
        EXPECT_EQ(run.out, printed(expected)) << words.front();
    }
}

TEST(WellfnUnconfined, GeometryOptionsOverrideTheStateGeometry) {
    const AnalysisState state = tables(20, 12);
    const UnconfinedGeometry piezometer{0.6, 0.2, 0.5, 0.0, 1.0, 1};
    WellfnRun run =
        wellfn({"unconfined", "10", "1", "0.01", "--l", "0.6", "--d", "0.2", "--form", "1", "--z", "0.5"});
    EXPECT_EQ(run.out, printed(unconfinedW(10, 1, 0.01, piezometer, state))) << run.err;
    const UnconfinedGeometry screen{0.6, 0.2, 0.5, 0.3, 0.7, 2};
    run = wellfn({"unconfined", "10", "1", "0.01", "--form", "2", "--z1", "0.3", "--z2", "0.7", "--l", "0.6",
                  "--d", "0.2"});
    EXPECT_EQ(run.out, printed(unconfinedW(10, 1, 0.01, screen, state))) << run.err;
}

TEST(WellfnTables, GaussAndStehfestRebuildTheTablesFirst) {
    WellfnRun run = wellfn({"slug", "1", "1e-10", "--gauss", "4"});
    EXPECT_EQ(run.out, printed(slugF(1, 1e-10, tables(4, 12))));
    EXPECT_NE(run.out, wellfn({"slug", "1", "1e-10"}).out);
    run = wellfn({"warren-root", "100", "1", "100", "--stehfest", "10"});
    EXPECT_EQ(run.out, printed(doublePorosityW(100, 1, 100, kWarrenRoot, tables(20, 10))));
    run = wellfn({"unconfined", "100", "0.1", "0.01", "--stehfest", "20"});
    EXPECT_EQ(run.status, kExitOk) << "the unconfined solution takes any Stehfest count";
}

TEST(WellfnRefusals, UndefinedValuesAndMisplacedOptionsFail) {
    WellfnRun run = wellfn({"partial", "0.01", "2", "0.5", "0.5", "-1", "0.3"});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_EQ(run.err.rfind("tolvex-cli: wellfn partial:", 0), 0u) << run.err;
    run = wellfn({"unconfined", "10", "1", "0.01", "--l", "0.4", "--d", "0.4"});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_EQ(wellfn({"slug", "1", "0"}).status, kExitFailure);
    EXPECT_EQ(wellfn({"slab", "10", "0", "100"}).status, kExitFailure);
    EXPECT_EQ(wellfn({"warren-root", "10", "1", "0"}).status, kExitFailure);
    EXPECT_EQ(wellfn({"theis", "1", "--l", "0.5"}).status, kExitUsage);
    EXPECT_EQ(wellfn({"unconfined", "10", "1", "0.01", "--form", "3"}).status, kExitUsage);
    EXPECT_EQ(wellfn({"partial", "0.01", "2", "0.75"}).status, kExitUsage);
}

}  // namespace
}  // namespace tolvex::cli
