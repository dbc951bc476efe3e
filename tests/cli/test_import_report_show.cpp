#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/Cli.h"
#include "cli/CliState.h"
#include "core/persist/Document.h"
#include "core/persist/Reports.h"
#include "core/persist/ScratchFolder.h"
#include "core/state/CommaLocale.h"
#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using tolvex::testing::ScratchFolder;

using test::CliRun;
using test::run;

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

// The document keeps one Latin-1 byte per character: the command line stores its UTF-8 words so, refuses
// what Latin-1 cannot hold, and shows such texts back as UTF-8 (JSON: escaped, plain ASCII).
TEST(CliState, TextsAreStoredAsLatinOneBytes) {
    ScratchFolder folder;
    AnalysisState s = makeDefaultState();
    applySets(s, {"operatorName=M\xC3\xBCller",
                  "projectDescription=Pumpversuch 12 \xC2\xB0"
                  "C, \xC3\xBF"});
    EXPECT_EQ(s.operatorName, "M\xFCller");
    EXPECT_EQ(s.projectDescription,
              "Pumpversuch 12 \xB0"
              "C, \xFF");
    saveDocumentOrThrow(s, folder.file("t.tvx"));
    EXPECT_THAT(ScratchFolder::read(folder.file("t.tvx")), HasSubstr("\x06M\xFCller"));
    for (const char* bad : {"operatorName=\xC5\x99", "operatorName=M\xFCller", "operatorName=\xE2\x82\xAC"}) {
        AnalysisState t = s;
        try {
            applySets(t, {"transmissivity=3", bad});
            ADD_FAILURE() << bad << " was taken";
        } catch (const CliError& e) {
            EXPECT_THAT(e.what, HasSubstr("operatorName")) << bad;
            EXPECT_THAT(e.what, HasSubstr("Latin-1")) << bad;
        }
        EXPECT_EQ(t.operatorName, s.operatorName);
        EXPECT_EQ(t.transmissivity, s.transmissivity);
    }
}

TEST(CliState, PositiveFieldsRefuseZeroNegativeAndNonFiniteValuesByName) {
    const std::vector<std::pair<std::string, std::string>> refused{
        {"transmissivity", "-1"}, {"radialDistance", "0"}, {"pumpingRate", "nan"}, {"wellRadius", "1e-60"}};
    for (const auto& [field, value] : refused) {
        AnalysisState s = makeDefaultState();
        try {
            applySets(s, {"storativity=2e-4", field + "=" + value});
            ADD_FAILURE() << field << "=" << value << " was taken";
        } catch (const CliError& e) {
            EXPECT_EQ(e.what, "--set: " + field + " must be positive, got '" + value + "'");
        }
        EXPECT_EQ(s.storativity, 1e-5f);
    }
    const CliRun r = run({"fit", "--model", "0", "--sample", "pumping", "--set", "transmissivity=-8.8"});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("transmissivity must be positive"));
}

// A fit whose RMS error overflows (a drawdown of 1e300) has not succeeded: exit 1 with the reason.
TEST(CliFit, ANonFiniteResultFailsWithExitOne) {
    ScratchFolder folder;
    const std::string data = folder.write("huge.dat", "1,0.5\n2,0.9\n4,1e300\n8,1.7\n16,2.1\n");
    const CliRun r = run({"fit", "--model", "0", "--data", data, "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("The estimation failed: rmsError came out as inf"));
    EXPECT_EQ(r.out, "");
}

// Drawing a picture starts Qt, which takes the user's locale for the whole process: what the command
// line prints after it still reads with a decimal point.
TEST(CliPlot, NumbersPrintedAfterAPictureKeepTheDecimalPoint) {
    {
        const tolvex::testing::CommaLocale available;
        ASSERT_TRUE(available.active())
            << tolvex::testing::kCommaLocale << " cannot be set: run scripts/install-deps";
    }
    ScratchFolder folder;
    AnalysisState s = makeDefaultState();
    s.plotContent = 1;
    saveDocumentOrThrow(s, folder.file("p.tvx"));
    const std::string previous = std::getenv("LC_ALL") != nullptr ? std::getenv("LC_ALL") : "";
    ::setenv("LC_ALL", tolvex::testing::kCommaLocale, 1);
    const CliRun plot = run({"plot", folder.file("p.tvx"), "--out", folder.file("p.png")});
    const CliRun fit = run({"fit", "--model", "0", "--sample", "pumping"});
    const std::string decimal = std::localeconv()->decimal_point;
    previous.empty() ? ::unsetenv("LC_ALL") : ::setenv("LC_ALL", previous.c_str(), 1);
    std::setlocale(LC_ALL, "C");
    ASSERT_EQ(plot.status, 0) << plot.err;
    ASSERT_EQ(fit.status, 0) << fit.err;
    EXPECT_EQ(decimal, ".");
    EXPECT_THAT(fit.out, ::testing::ContainsRegex("transmissivity +[0-9]+\\.[0-9]+"));
}

TEST(CliShow, LatinOneTextsComeOutAsUnicode) {
    ScratchFolder folder;
    const std::string doc = folder.file("l.tvx");
    AnalysisState s = makeDefaultState();
    s.operatorName = "M\xFCller";
    s.projectDescription = "\xB0\xFF\x80";
    saveDocumentOrThrow(s, doc);

    CliRun r = run({"show", doc, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char c : r.out) ASSERT_LT(static_cast<unsigned char>(c), 0x80u) << "JSON not escaped";
    EXPECT_THAT(r.out, HasSubstr("\"M\\u00fcller\""));
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["fields"]["operatorName"], "M\xC3\xBCller");
    EXPECT_EQ(json["fields"]["projectDescription"], "\xC2\xB0\xC3\xBF\xC2\x80");

    r = run({"show", doc});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("operator  M\xC3\xBCller\n"));
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
