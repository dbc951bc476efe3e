// Numbers the command line refuses instead of computing nonsense with exit 0: a float beyond the float
// range, a fit with fewer measurements than parameters, Stehfest terms that make the unconfined model
// negative; and the warnings that a fit that still stands prints.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "cli/Cli.h"
#include "cli/CliArguments.h"
#include "core/persist/ScratchFolder.h"
#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using tolvex::testing::ScratchFolder;

using test::CliRun;
using test::run;

TEST(NumericRefusals, SetRefusesAFloatBeyondTheFloatRange) {
    for (const char* value : {"1e39", "-1e39", "1e400"}) {
        const CliRun r =
            run({"fit", "--model", "0", "--sample", "pumping", "--set", std::string("storativity=") + value});
        EXPECT_EQ(r.status, 1) << value;
        EXPECT_THAT(r.err, StartsWith(std::string("tolvex-cli: --set: storativity: '") + value + "' is "));
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(NumericRefusals, AFloatArgumentKeepsTheFloatRange) {
    EXPECT_EQ(floatArgument("fit", "--convergence", "3.4028235e38"), 3.4028235e38f);
    try {
        (void)floatArgument("fit", "--convergence", "1e39");
        ADD_FAILURE() << "1e39 was taken";
    } catch (const CliError& e) {
        EXPECT_EQ(e.what,
                  "fit: --convergence '1e39' is beyond the float range (magnitude at most 3.40282e+38)");
    }
}

TEST(NumericRefusals, EighteenStehfestTermsOnTheUnconfinedModelFail) {
    const CliRun r = run({"typecurves", "--model", "6", "--set", "stehfestCount=18"});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, StartsWith("tolvex-cli: typecurves: The type curves came out negative ("));
    EXPECT_THAT(r.err, HasSubstr("too many Stehfest terms (18)"));
    EXPECT_EQ(run({"typecurves", "--model", "6", "--set", "stehfestCount=12"}).status, 0);
}

TEST(NumericRefusals, OneMeasurementCannotDetermineTheisParameters) {
    ScratchFolder folder;
    const CliRun r = run({"fit", "--model", "0", "--data", folder.write("one.dat", "5,3.41\n")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "tolvex-cli: fit: Only 1 measurement is in use, fewer than the 2 parameters the fit determines "
              "(storativity, transmissivity): use at least 2 measurements.\n");
}

TEST(NumericRefusals, AllZeroDrawdownsAreFittedWithWarnings) {
    ScratchFolder folder;
    const CliRun r =
        run({"fit", "--model", "0", "--data", folder.write("zero.dat", "5,0\n10,0\n20,0\n40,0\n")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("storativity"));
    EXPECT_THAT(r.err, HasSubstr("tolvex-cli: note: The fitted storativity is "));
    EXPECT_THAT(r.err, HasSubstr("tolvex-cli: note: Every used drawdown is zero"));
}

}  // namespace
}  // namespace tolvex::cli
