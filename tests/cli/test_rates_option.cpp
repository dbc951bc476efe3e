// --rates on simulate and fit, "rates" in show --json and the recovery subcommand: drawdowns of a
// pumping history against the sum of Boost's E1 (Theis 1935 superposed in time), a recovery record
// fitted directly and through Agarwal's (1980) time, the Theis recovery line's T, and refusals that
// name the entry, line or model at fault and write nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <boost/math/special_functions/expint.hpp>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "core/persist/ScratchFolder.h"
#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

using test::CliRun;
using test::run;
using ::testing::HasSubstr;
using tolvex::testing::ScratchFolder;

struct Step {
    double time, rate;
};

// s(t) = sum (Q_i - Q_{i-1})/(4 pi T) E1(r^2 S/(4 T (t - t_i))) over the steps before t.
double theisHistory(double t, const std::vector<Step>& steps, double T, double S, double r) {
    double sum = 0.0, previous = 0.0;
    for (const Step& step : steps) {
        if (t > step.time) {
            sum += (step.rate - previous) / (4.0 * std::numbers::pi * T) *
                   boost::math::expint(1, r * r * S / (4.0 * T * (t - step.time)));
        }
        previous = step.rate;
    }
    return sum;
}

struct Point {
    double t, s;
};

std::vector<Point> printedPoints(const std::string& out) {
    std::vector<Point> points;
    std::istringstream lines(out);
    for (Point p{}; lines >> p.t >> p.s;) points.push_back(p);
    return points;
}

const std::vector<std::string> kAquifer{"--set", "transmissivity=0.005", "storativity=1e-4",
                                        "radialDistance=30", "pumpingRate=0.005"};

std::vector<std::string> simulateArgs(const std::string& rates, std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"simulate", "--model", "0",       "--times", "41",
                                  "1",        "10000",   "--rates", rates};
    args.insert(args.end(), kAquifer.begin(), kAquifer.end());
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

TEST(RatesOption, SimulateSuperposesTwoStepsAndARecovery) {
    const CliRun r = run(simulateArgs("0:0.004,600:0.007,1800:0"));
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const std::vector<Point> points = printedPoints(r.out);
    ASSERT_EQ(points.size(), 41u);
    const std::vector<Step> steps{{0.0, 0.004}, {600.0, 0.007}, {1800.0, 0.0}};
    for (const Point& p : points) {
        const double expected = theisHistory(p.t, steps, 0.005, 1e-4, 30.0);
        // The standard W is a polynomial fit good to some 1e-5; nine printed digits.
        EXPECT_NEAR(p.s, expected, 1e-4 * std::max(expected, 1e-2)) << "t " << p.t;
    }
    EXPECT_LT(points.back().s, 0.1 * points[24].s) << "the water level recovers after 1800 s";
}

TEST(RatesOption, AFileOfTwoColumnsGivesTheSameSchedule) {
    ScratchFolder folder;
    const std::string file = folder.write("rates.txt", "# time rate\n\n0 0.004\n600;0.007\r\n 1800,\t0 \n");
    const CliRun fromFile = run(simulateArgs(file));
    ASSERT_EQ(fromFile.status, kExitOk) << fromFile.err;
    EXPECT_EQ(fromFile.out, run(simulateArgs("0:0.004,600:0.007,1800:0")).out);
}

struct Refusal {
    std::vector<std::string> args;
    const char* message;
};

TEST(RatesOption, BadSchedulesAreRefusedNamingTheFaultAndNothingIsSaved) {
    ScratchFolder folder;
    const std::string badLine = folder.write("bad.txt", "0 1\n100 0\n200 two\n");
    const std::string empty = folder.write("empty.txt", "# nothing\n");
    const std::string saved = folder.file("out.tvx");
    const Refusal cases[] = {
        {simulateArgs("0:1,abc"), "simulate: --rates: entry 2 'abc' is not TIME:RATE"},
        {simulateArgs("0:1,10:x"), "entry 2 '10:x' is not TIME:RATE"},
        {simulateArgs("0:1,10:0,5:2"), "Rate step 3 starts at the time 5, not after step 2 (10)"},
        {simulateArgs("0:1,10:inf"), "Rate step 2 has the rate inf"},
        {simulateArgs("rates.txt"), "--rates rates.txt: no such file"},
        {simulateArgs(badLine), "line 3 '200 two' is not two numbers"},
        {simulateArgs(empty), "holds no rate step"},
        {simulateArgs("0:1,10:0", {"pumpingRate=0"}), "pumpingRate must be positive"},
        {{"simulate", "--model", "1", "--times", "5", "1", "10", "--rates", "0:1,10:0"}, "Model 1"},
        {{"fit", "--model", "9", "--sample", "pumping", "--rates", "0:1,10:0"}, "superposition in time"},
        {{"fit", "--model", "5", "--sample", "slug", "--rates", "0:1"}, "Model 5"},
    };
    for (Refusal c : cases) {
        c.args.insert(c.args.end(), {"--save", saved});
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, kExitFailure) << c.message;
        EXPECT_THAT(r.err, HasSubstr(c.message));
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
        EXPECT_FALSE(std::filesystem::exists(saved)) << c.message;
    }
}

// Pumping 10 L/s for an hour at r = 10 m, then recovery: times 36 s to 36000 s, 61 of them, so that
// row 41 is the stop at 3600 s.
constexpr double kT = 5.0e-3, kS = 1.0e-4;

std::string simulatedRecovery(const ScratchFolder& folder) {
    const std::string doc = folder.file("recovery.tvx");
    const CliRun r = run({"simulate", "--model", "0", "--times", "61", "36", "36000", "--rates",
                          "0:0.01,3600:0", "--set", "transmissivity=0.005", "storativity=1e-4",
                          "radialDistance=10", "pumpingRate=0.01", "--save", doc});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NEAR(printedPoints(r.out).at(40).t, 3600.0, 1e-6);
    return doc;
}

nlohmann::json fitted(const std::vector<std::string>& args) {
    const CliRun r = run(args);
    EXPECT_EQ(r.status, kExitOk) << r.err;
    return r.status == kExitOk ? nlohmann::json::parse(r.out) : nlohmann::json::object();
}

TEST(RatesOption, AFitOfASimulatedRecoveryRecordReturnsTAndS) {
    ScratchFolder folder;
    const std::string doc = simulatedRecovery(folder);
    const CliRun shown = run({"show", doc, "--json"});
    ASSERT_EQ(shown.status, kExitOk) << shown.err;
    EXPECT_EQ(nlohmann::json::parse(shown.out)["rates"], nlohmann::json::parse("[[0.0,0.01],[3600.0,0.0]]"));
    struct Range {
        std::vector<std::string> use;
        double sTolerance;
    };
    // The whole record, and the recovery readings only (rows 42..61): late in the recovery s' tends to
    // Q/(4 pi T) ln(t/t'), which S no longer changes, so S is held by the early recovery alone and the
    // polynomial W's 1e-5 moves it more. The document's rate steps drive the forward model.
    for (const Range& range : {Range{{}, 1e-3}, Range{{"--use", "42", "61"}, 1e-2}}) {
        std::vector<std::string> args{
            "fit",   "--model", "0", "--open", doc, "--set", "transmissivity=0.001", "storativity=0.001",
            "--json"};
        args.insert(args.end(), range.use.begin(), range.use.end());
        const nlohmann::json fit = fitted(args);
        ASSERT_TRUE(fit.contains("parameters"));
        EXPECT_NEAR(fit["parameters"]["transmissivity"].get<double>(), kT, 1e-3 * kT);
        EXPECT_NEAR(fit["parameters"]["storativity"].get<double>(), kS, range.sTolerance * kS);
        EXPECT_EQ(fit["times"].size(), range.use.empty() ? 61u : 20u);
    }
}

TEST(RatesOption, AgarwalsViewOfARecoveryIsFittedAsADrawdownRecord) {
    ScratchFolder folder;
    const std::string doc = simulatedRecovery(folder);
    const std::string agarwal = folder.file("agarwal.tvx");
    const CliRun view = run({"recovery", "--open", doc, "--view", "agarwal", "--save", agarwal, "--json"});
    ASSERT_EQ(view.status, kExitOk) << view.err;
    const nlohmann::json json = nlohmann::json::parse(view.out);
    EXPECT_EQ(json["x"].size(), 20u);
    EXPECT_NEAR(json["drawdownAtStop"].get<double>(), theisHistory(3600.0, {{0.0, 0.01}}, kT, kS, 10.0),
                1e-4);
    EXPECT_EQ(nlohmann::json::parse(run({"show", agarwal, "--json"}).out)["rates"], nlohmann::json::array());
    // The equivalent time is exact where Jacob's approximation holds; here the recovery differs from
    // the drawdown at t_e by some 2e-4 of it (u(t_p) = 1.4e-4 and u(t') t'/t_p), and since s changes by
    // Q/(4 pi T) = 0.16 m per unit of ln S, S may move by some 3e-3.
    const nlohmann::json fit = fitted({"fit", "--model", "0", "--open", agarwal, "--set",
                                       "transmissivity=0.001", "storativity=0.001", "--json"});
    ASSERT_TRUE(fit.contains("parameters"));
    EXPECT_NEAR(fit["parameters"]["transmissivity"].get<double>(), kT, 2e-3 * kT);
    EXPECT_NEAR(fit["parameters"]["storativity"].get<double>(), kS, 1e-2 * kS);
}

TEST(RatesOption, TheisRecoveryLineGivesTheTransmissivity) {
    ScratchFolder folder;
    const std::string doc = simulatedRecovery(folder);
    const CliRun r = run({"recovery", "--open", doc, "--max-ratio", "20", "--json"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const nlohmann::json json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["view"], "theis");
    EXPECT_EQ(json["pumpingTime"].get<double>(), 3600.0);
    const double perCycle = std::log(10.0) * 0.01 / (4.0 * std::numbers::pi * kT);  // Cooper-Jacob
    EXPECT_NEAR(json["line"]["perLogCycle"].get<double>(), perCycle, 3e-3 * perCycle);
    EXPECT_NEAR(json["line"]["transmissivity"].get<double>(), kT, 3e-3 * kT);
    const CliRun text = run({"recovery", "--open", doc, "--max-ratio", "20"});
    EXPECT_THAT(text.err, HasSubstr("per log cycle, T 0.00"));
    EXPECT_EQ(printedPoints(text.out).size(), 20u);
}

TEST(RatesOption, RecoveryRefusesWhatItCannotView) {
    ScratchFolder folder;
    const std::string doc = simulatedRecovery(folder);
    const std::string classic = folder.file("classic.tvx");
    ASSERT_EQ(run({"simulate", "--model", "0", "--times", "10", "1", "100", "--save", classic}).status,
              kExitOk);
    const Refusal cases[] = {
        {{"recovery", "--open", classic}, "recovery: give --pumping-time"},
        {{"recovery", "--open", classic, "--pumping-time", "10"}, "recovery: give --rate"},
        {{"recovery", "--open", classic, "--pumping-time", "1000", "--rate", "1"}, "no measurement is later"},
        {{"recovery", "--open", doc, "--pumping-time", "-5"}, "--pumping-time must be positive"},
        {{"recovery", "--open", doc, "--save", folder.file("x.tvx")}, "--save keeps the agarwal view"},
        {{"recovery", "--open", doc, "--view", "agarwal", "--pumping-time", "10"}, "give --drawdown-at-stop"},
    };
    for (const Refusal& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, kExitFailure) << c.message;
        EXPECT_THAT(r.err, HasSubstr(c.message));
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("x.tvx")));
}

}  // namespace
}  // namespace tolvex::cli
