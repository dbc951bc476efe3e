// tolvex-cli import with the options of logger exports (header lines, columns, clock times, levels,
// --delimiter auto, --preview), and the slug-test options of fit and simulate (--h0, --static-level,
// --intercept). Expected values: the fixture's own numbers (static - level by hand), the fit of the
// normalised sample for raw heads with H0.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/CliState.h"
#include "core/input/SampleSets.h"
#include "core/persist/ScratchFolder.h"
#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

using test::CliRun;
using test::run;
using ::testing::HasSubstr;
using tolvex::testing::ScratchFolder;

const char* kLogger =
    "Instrument;Levelogger\nSerial;2087\nWell;OW-1\nUnits;m\nDate and time;Temperature;Level\n"
    "2024-06-01 23:59:00;11,2;25,40\n2024-06-02 00:00:30;11,2;25,15\n2024-06-02 00:02:00;11,3;24,90\n";

TEST(CliImportOptions, ALoggerExportWithClockTimesAndLevels) {
    ScratchFolder folder;
    const std::string data = folder.write("logger.csv", kLogger);
    const std::string doc = folder.file("m.tvx");
    const CliRun r = run({"import", data, "--delimiter", "auto", "--columns", "1,3", "--time-format", "clock",
                          "--values", "level", "--static-level", "25.40", "--save", doc});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("delimiter semicolon detected, 5 header lines skipped"));
    const AnalysisState s = openDocumentOrThrow(doc);
    ASSERT_EQ(s.allCount, 3);
    EXPECT_EQ(s.allTimes, (std::vector<double>{0.0, 1.5, 3.0}));  // minutes from 23:59
    EXPECT_NEAR(s.allDrawdowns[0], 0.0, 1e-12);
    EXPECT_NEAR(s.allDrawdowns[1], 0.25, 1e-12);
    EXPECT_NEAR(s.allDrawdowns[2], 0.50, 1e-12);
}

TEST(CliImportOptions, TheClassicDefaultStaysTheCommaAndAutoDetects) {
    ScratchFolder folder;
    const std::string semicolons = folder.write("s.dat", "5;3.41\n10;3.58\n");
    const std::string doc = folder.file("m.tvx");
    EXPECT_EQ(run({"import", semicolons, "--save", doc}).status, 1);  // as it always was
    ASSERT_EQ(run({"import", semicolons, "--delimiter", "auto", "--save", doc}).status, 0);
    EXPECT_EQ(openDocumentOrThrow(doc).allDrawdowns, (std::vector<double>{3.41, 3.58}));
    // A classic comma file gives the same table either way.
    const std::string commas = folder.write("c.dat", "time,drawdown\n5,3.41\n10,3.58\n15,3.97\n");
    const std::string classic = folder.file("classic.tvx");
    ASSERT_EQ(run({"import", commas, "--save", classic}).status, 0);
    ASSERT_EQ(run({"import", commas, "--delimiter", "auto", "--save", doc}).status, 0);
    EXPECT_EQ(openDocumentOrThrow(doc).allTimes, openDocumentOrThrow(classic).allTimes);
    EXPECT_EQ(openDocumentOrThrow(doc).allDrawdowns, openDocumentOrThrow(classic).allDrawdowns);
}

TEST(CliImportOptions, PreviewPrintsTheLinesAndImportsNothing) {
    ScratchFolder folder;
    const std::string data = folder.write("logger.csv", kLogger);
    const CliRun r = run({"import", data, "--columns", "1,3", "--time-format", "clock", "--delimiter",
                          "semicolon", "--preview"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("delimiter: semicolon, header lines: 5 (detected), measurements: 3"));
    EXPECT_THAT(r.out, HasSubstr("5: header (skipped)  <-  Date and time | Temperature | Level"));
    EXPECT_THAT(r.out, HasSubstr("7: t = 1.5, s = 25.15  <-  2024-06-02 00:00:30 | 11,2 | 25,15"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.file("")), {}), 1);
}

struct Refusal {
    std::vector<std::string> args;
    int status;
    std::string message;
};

TEST(CliImportOptions, BadFilesAndOptionsAreRefusedAndNoDocumentIsWritten) {
    ScratchFolder folder;
    const std::string data = folder.write("bad.csv", "t,s\n1,0.1\n2,0.2\n3,x\n");
    const std::string doc = folder.file("m.tvx");
    const std::vector<Refusal> cases = {
        {{"--header-lines", "1"}, 1, "import: Cannot import \"" + data + "\": Line 4 \"3,x\""},
        {{"--values", "level"}, 1, "--values level needs --static-level"},
        {{"--static-level", "3"}, 1, "--static-level serves --values level or depth"},
        {{"--columns", "0,2"}, 2, ""},
        {{"--time-format", "hours"}, 2, ""},
        {{"--h0", "-1"}, 1, "--h0 must be positive"},
    };
    for (const Refusal& c : cases) {
        std::vector<std::string> args{"import", data};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), {"--save", doc});
        const CliRun r = run(args);
        EXPECT_EQ(r.status, c.status) << c.args[0];
        EXPECT_THAT(r.err, HasSubstr(c.message)) << c.args[0];
        EXPECT_FALSE(std::filesystem::exists(doc)) << c.args[0];
    }
    EXPECT_EQ(run({"import", data, "--header-lines", "1"}).status, 2);  // no --save, no --preview
}

nlohmann::json fitJson(std::vector<std::string> args) {
    args.insert(args.begin(), "fit");
    args.push_back("--json");
    const CliRun r = run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.status == 0 ? nlohmann::json::parse(r.out) : nlohmann::json{};
}

// The slug sample's normalised heads times 0.5 (exact in binary), one per line.
std::string halfSlugSample(ScratchFolder& folder) {
    AnalysisState s = makeDefaultState();
    installPredefinedSet(s, kSetSlugTest);
    std::ostringstream text;
    text.precision(17);
    for (std::size_t i = 0; i < s.allTimes.size(); ++i)
        text << s.allTimes[i] << "," << 0.5 * s.allDrawdowns[i] << "\n";
    return folder.write("raw.dat", text.str());
}

TEST(CliSlugOptions, RawHeadsWithH0FitAsTheNormalisedSample) {
    ScratchFolder folder;
    const std::string raw = halfSlugSample(folder);
    for (const char* model : {"5", "10"}) {
        const nlohmann::json normalised = fitJson({"--model", model, "--sample", "slug"});
        const nlohmann::json given = fitJson({"--model", model, "--data", raw, "--h0", "0.5"});
        EXPECT_EQ(given["parameters"], normalised["parameters"]) << model;
        EXPECT_EQ(given["rmsError"], normalised["rmsError"]) << model;
        EXPECT_EQ(given["measured"][0], 0.5 * 0.816) << model;  // raw heads shown as entered
    }
    const CliRun wrong = run({"fit", "--model", "0", "--data", raw, "--h0", "first"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_THAT(wrong.err, HasSubstr("--h0 and --static-level serve the slug tests"));
}

TEST(CliSlugOptions, InterceptServesBouwerRiceOnly) {
    ScratchFolder folder;
    const std::string raw = halfSlugSample(folder);
    const nlohmann::json line = fitJson({"--model", "10", "--data", raw, "--h0", "first", "--intercept"});
    EXPECT_EQ(line["stopReason"], "closed form");
    const nlohmann::json origin = fitJson({"--model", "10", "--data", raw, "--h0", "first"});
    EXPECT_NE(line["parameters"]["hydraulicConductivity"], origin["parameters"]["hydraulicConductivity"]);
    const CliRun wrong = run({"fit", "--model", "5", "--sample", "slug", "--intercept"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_THAT(wrong.err, HasSubstr("--intercept serves the Bouwer and Rice fit"));
}

TEST(CliSlugOptions, SimulateWritesDisplacementsAndLevels) {
    const CliRun plain = run({"simulate", "--model", "5", "--times", "3", "1", "100"});
    const CliRun half = run({"simulate", "--model", "5", "--times", "3", "1", "100", "--h0", "0.5"});
    const CliRun levels =
        run({"simulate", "--model", "5", "--times", "3", "1", "100", "--h0", "2", "--static-level", "10"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    ASSERT_EQ(half.status, 0) << half.err;
    ASSERT_EQ(levels.status, 0) << levels.err;
    std::istringstream p(plain.out), h(half.out), l(levels.out);
    double tp, sp, th, sh, tl, sl;
    while (p >> tp >> sp && h >> th >> sh && l >> tl >> sl) {
        EXPECT_EQ(th, tp);
        EXPECT_NEAR(sh, 0.5 * sp, 1e-8 * sp);
        EXPECT_NEAR(sl, 10.0 + 2.0 * sp, 1e-8 * (10.0 + sp));
    }
    EXPECT_EQ(run({"simulate", "--model", "0", "--times", "3", "1", "100", "--h0", "2"}).status, 1);
}

}  // namespace
}  // namespace tolvex::cli
