#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/Cli.h"
#include "cli/CliState.h"
#include "core/persist/Document.h"
#include "core/persist/Reports.h"
#include "core/persist/ScratchFolder.h"

namespace tolvex::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using tolvex::testing::ScratchFolder;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), "tolvex-cli");
    std::ostringstream out, err;
    const int status = runCli(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(CliImport, FileRangeAndSetsIntoANewDocument) {
    ScratchFolder folder;
    const std::string data = folder.write("m.dat", "5;3.41\n10;3.58\n15;3.97\n20;4.2\n30;4.54");
    const std::string doc = folder.file("m.tvx");
    const CliRun r = run({"import", data, "--delimiter", "semicolon", "--use", "2", "4", "--set",
                          "operatorName=Ann", "--set", "pumpingRate=80", "--save", doc});
    ASSERT_EQ(r.status, 0) << r.err;
    const AnalysisState s = openDocumentOrThrow(doc);
    EXPECT_EQ(s.allCount, 5);
    EXPECT_EQ(s.useFrom, 2);
    EXPECT_EQ(s.useTo, 4);
    EXPECT_EQ(s.usedCount, 3);
    EXPECT_DOUBLE_EQ(s.times[0], 10.0);
    EXPECT_EQ(s.operatorName, "Ann");
    EXPECT_EQ(s.pumpingRate, 80.0f);
    EXPECT_EQ(s.plotContent, 1);
}

TEST(CliImport, BadInputFailsWithOneLineNamingTheFault) {
    ScratchFolder folder;
    const std::string data = folder.write("m.dat", "5,3.41\n10,3.58\n");
    const std::string doc = folder.file("m.tvx");
    CliRun r = run({"import", folder.file("none.dat"), "--save", doc});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, StartsWith("tolvex-cli: import: Cannot open input file! "));
    EXPECT_THAT(r.err, HasSubstr("none.dat"));
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);

    r = run({"import", data, "--use", "2", "3", "--save", doc});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("--use 2 3"));

    r = run({"import", data, "--set", "pumpRate=3", "--save", doc});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("unknown field 'pumpRate'"));
    EXPECT_THAT(r.err, HasSubstr("pumpingRate"));

    r = run({"import", data, "--set", "pumpingRate=fast", "--save", doc});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("pumpingRate"));
    EXPECT_FALSE(std::filesystem::exists(doc));

    EXPECT_EQ(run({"import", data, "--delimiter", "pipe", "--save", doc}).status, 2);
    EXPECT_EQ(run({"import", data}).status, 2);
}

TEST(CliState, ApplySetsIsAllOrNothing) {
    AnalysisState s = makeDefaultState();
    EXPECT_THROW(applySets(s, {"transmissivity=3", "storativity=x"}), CliError);
    EXPECT_EQ(s.transmissivity, 8.8f);
    EXPECT_THROW(applySets(s, {"=3"}), CliError);
    EXPECT_THROW(applySets(s, {"transmissivity"}), CliError);
    applySets(s, {"transmissivity=3", "modelKind=2", "projectDescription=a=b"});
    EXPECT_EQ(s.transmissivity, 3.0f);
    EXPECT_EQ(s.modelKind, 2);
    EXPECT_EQ(s.projectDescription, "a=b");
}

TEST(CliState, TableSizesRebuildTheirTablesAndCountsAreRefused) {
    AnalysisState s = makeDefaultState();
    applySets(s, {"gaussCount=40", "stehfestCount=16", "maxIterations=7"});
    EXPECT_EQ(s.gaussNodes.size(), 41u);
    EXPECT_EQ(s.stehfestWeights.size(), 17u);
    EXPECT_EQ(s.errorHistory.size(), 7u);
    // Sizes the tables cannot be built for, and counts of data the program keeps, change nothing.
    for (const char* bad :
         {"stehfestCount=11", "gaussCount=0", "gaussCount=5000", "maxIterations=-1", "allCount=40",
          "usedCount=3", "curveYCount=9", "familyCount=7", "paramCount=12"}) {
        EXPECT_THROW(applySets(s, {"transmissivity=3", bad}), CliError) << bad;
        EXPECT_EQ(s.transmissivity, 8.8f) << bad;
    }
    EXPECT_EQ(s.gaussCount, 40);
    EXPECT_EQ(s.allCount, 14);
    // A value set exactly stays exactly that value: no dialog rounding on the way.
    applySets(s, {"storativity=1.2345678e-5"});
    EXPECT_EQ(s.storativity, 1.2345678e-5f);
}

TEST(CliReport, WritesTheDocumentsReport) {
    ScratchFolder folder;
    AnalysisState s = makeDefaultState();
    s.resultKind = 1;
    s.reportFileName = folder.file("default.out");
    const std::string doc = folder.file("e.tvx");
    saveDocumentOrThrow(s, doc);

    CliRun r = run({"report", doc, "--out", folder.file("r.out")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ScratchFolder::read(folder.file("r.out")), reportText(openDocumentOrThrow(doc)));
    EXPECT_THAT(ScratchFolder::read(folder.file("r.out")),
                StartsWith("         REPORT OF AQUIFER PARAMETER"));

    r = run({"report", doc});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(folder.file("default.out")));

    r = run({"report", doc, "--out", "-"});
    EXPECT_THAT(r.out, HasSubstr("Final Number of Iterartions= 0\r\n"));

    r = run({"report", doc, "--out", folder.file("none/r.out")});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Not able to create file."));
    EXPECT_THAT(r.err, HasSubstr("none/r.out"));
}

TEST(CliShow, TextAndJson) {
    ScratchFolder folder;
    const std::string doc = folder.file("s.tvx");
    AnalysisState s = makeDefaultState();
    s.modelKind = 2;
    s.transmissivity = 7.25f;
    saveDocumentOrThrow(s, doc);

    CliRun r = run({"show", doc});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("model     2  leaky confined aquifer, fully penetrating well\n"));
    EXPECT_THAT(r.out, HasSubstr("  transmissivity          7.25\n"));
    EXPECT_THAT(r.out, HasSubstr("measurements  14 in the table, rows 1 to 14 used (14)\n"));

    r = run({"show", doc, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["model"], 2);
    EXPECT_EQ(json["parameters"]["transmissivity"], 7.25);
    EXPECT_EQ(json["parameters"]["pumpingRate"], 75.53);
    EXPECT_EQ(json["fields"]["operatorName"], "John Doe");
    EXPECT_EQ(json["times"].size(), 14u);
    EXPECT_EQ(json["measured"][13], 6.47);
    EXPECT_EQ(json["paramVector"][0], 1.0);
}

TEST(CliShow, InvalidDocumentIsRefusedWithItsName) {
    ScratchFolder folder;
    const std::string doc = folder.write("bad.tvx", "\x64");
    const CliRun r = run({"show", doc});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, StartsWith("tolvex-cli: Not able to read file. "));
    EXPECT_THAT(r.err, HasSubstr("bad.tvx"));
    EXPECT_THAT(r.err, HasSubstr("ends early"));
}

}  // namespace
}  // namespace tolvex::cli
