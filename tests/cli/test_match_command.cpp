// tolvex-cli match: the placement of the document's parameters fed back as --shift gives them back; a
// shift gives T = Q 10^dy / (4 pi) and S = 4 T 10^-dx / r^2 (Theis 1935); a leaky match names the
// nearest curve and its r/B gives K'; --save keeps the match as start values; bad numbers and missing
// options are refused with exit 1 and a message naming the option, nothing printed on stdout.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <numbers>

#include "core/input/SampleSets.h"
#include "core/persist/Document.h"
#include "core/persist/ScratchFolder.h"
#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

using test::CliRun;
using test::run;
using ::testing::HasSubstr;
using ::testing::StartsWith;

AnalysisState samplePumping() {
    AnalysisState s = makeDefaultState();
    installPredefinedSet(s, kSetConfinedAquifer);
    return s;
}

nlohmann::json jsonOf(const CliRun& r) {
    EXPECT_EQ(r.status, 0) << r.err;
    return nlohmann::json::parse(r.out, nullptr, false);
}

// A float field as the document shows it: the shortest decimal that reads back as the float.
double shown(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::stod(std::string(text, end));
}

std::string exact(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

TEST(MatchCommand, PlacementFedBackGivesTheStateParameters) {
    const nlohmann::json placed = jsonOf(run({"match", "--sample", "pumping", "--placement", "--json"}));
    ASSERT_TRUE(placed.contains("shift")) << placed.dump();
    EXPECT_EQ(placed["model"], 0);
    EXPECT_EQ(placed["familyValue"], 0.0);
    const double dx = placed["shift"]["dx"], dy = placed["shift"]["dy"];
    const nlohmann::json matched =
        jsonOf(run({"match", "--sample", "pumping", "--shift", exact(dx), exact(dy), "--json"}));
    const AnalysisState s = samplePumping();
    const double T = matched["parameters"]["transmissivity"], S = matched["parameters"]["storativity"];
    EXPECT_NEAR(T, shown(s.transmissivity), 1e-9 * shown(s.transmissivity));
    EXPECT_NEAR(S, shown(s.storativity), 1e-9 * shown(s.storativity));
    // The text form prints the same shift.
    const CliRun text = run({"match", "--sample", "pumping", "--placement"});
    EXPECT_THAT(text.out, HasSubstr("shift " + exact(dx) + " " + exact(dy)));
}

TEST(MatchCommand, ShiftGivesTheTheisClosedForms) {
    const AnalysisState s = samplePumping();
    struct Case {
        double dx, dy;
    };
    for (const Case c : {Case{1.0, 0.5}, Case{-0.25, 2.0}, Case{3.5, -1.0}}) {
        const nlohmann::json r =
            jsonOf(run({"match", "--sample", "pumping", "--shift", exact(c.dx), exact(c.dy), "--json"}));
        const double T = s.pumpingRate * std::pow(10.0, c.dy) / (4.0 * std::numbers::pi);
        const double r2 = static_cast<double>(s.radialDistance) * s.radialDistance;
        const double S = 4.0 * T * std::pow(10.0, -c.dx) / r2;
        EXPECT_NEAR(r["parameters"]["transmissivity"].get<double>(), T, 1e-6 * T) << c.dx;
        EXPECT_NEAR(r["parameters"]["storativity"].get<double>(), S, 1e-6 * S) << c.dx;
        EXPECT_EQ(r["shift"]["dx"].get<double>(), c.dx);
    }
}

TEST(MatchCommand, LeakyMatchNamesTheNearestCurveOrTheChosenOne) {
    const nlohmann::json nearest =
        jsonOf(run({"match", "--sample", "pumping", "--model", "2", "--shift", "1", "0.5", "--json"}));
    ASSERT_TRUE(nearest.contains("nearestCurve"));
    EXPECT_TRUE(nearest["nearestCurve"].is_number_integer()) << nearest.dump();
    EXPECT_GT(nearest["familyValue"].get<double>(), 0.0);
    // --curve: K' = b' (r/B)^2 T / r^2 (Hantush and Jacob 1955).
    const AnalysisState s = samplePumping();
    const nlohmann::json chosen = jsonOf(run(
        {"match", "--sample", "pumping", "--model", "2", "--shift", "1", "0.5", "--curve", "0.2", "--json"}));
    EXPECT_TRUE(chosen["nearestCurve"].is_null());
    const double T = chosen["parameters"]["transmissivity"];
    const double r = s.radialDistance;
    const double K = s.upperBedThickness * 0.04 * T / (r * r);
    EXPECT_NEAR(chosen["parameters"]["upperBedConductivity"].get<double>(), K, 1e-6 * K);
}

TEST(MatchCommand, SaveKeepsTheMatchAsStartValues) {
    tolvex::testing::ScratchFolder folder;
    const std::string path = folder.file("matched.tvx");
    const CliRun r = run({"match", "--sample", "pumping", "--shift", "2", "1", "--save", path});
    ASSERT_EQ(r.status, 0) << r.err;
    AnalysisState saved = makeDefaultState();
    ASSERT_FALSE(loadDocument(path, saved));
    const AnalysisState s = samplePumping();
    const double T = s.pumpingRate * 10.0 / (4.0 * std::numbers::pi);
    EXPECT_NEAR(saved.transmissivity, T, 1e-6 * T);
    EXPECT_EQ(saved.usedCount, s.usedCount);  // the measurements stay
}

TEST(MatchCommand, BadInputIsRefusedNamingIt) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--shift", "nan", "0"}, "tolvex-cli: match: --shift 'nan' is not a number"},
        {{"--shift", "1", "abc"}, "tolvex-cli: match: --shift 'abc' is not a number"},
        {{"--shift", "inf", "1"}, "tolvex-cli: match: --shift 'inf' is not a number"},
        {{}, "tolvex-cli: match: give --shift DX DY"},
        {{"--shift", "1", "1", "--curve", "-2"}, "tolvex-cli: match: --curve must be positive"},
        {{"--shift", "1", "1", "--set", "pumpingRate=0"}, "tolvex-cli: --set: pumpingRate"},
        {{"--placement", "--shift", "1", "1"}, "tolvex-cli: match: --placement prints"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"match", "--sample", "pumping"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 1) << c.message;
        EXPECT_THAT(r.err, StartsWith(c.message));
        EXPECT_TRUE(r.out.empty()) << c.message;
    }
    const CliRun none = run({"match", "--shift", "1", "1"});
    EXPECT_EQ(none.status, 1);
    EXPECT_THAT(none.err, HasSubstr("give exactly one of --open, --sample"));
}

}  // namespace
}  // namespace tolvex::cli
