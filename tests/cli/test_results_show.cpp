// tolvex-cli show of a document that keeps the summary of its last estimation: "results" in the JSON
// with the values as the document holds them, the summary as text, nothing new for a classic document,
// and a summary the command line's own fit leaves behind marked stale in the document it saves.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "core/estimation/ResultSummaryBuilder.h"
#include "core/persist/Document.h"
#include "core/persist/ScratchFolder.h"
#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

using test::CliRun;
using test::run;
using ::testing::HasSubstr;
using ::testing::Not;
using tolvex::testing::ScratchFolder;

// A document with a summary written field by field (values chosen, not computed).
std::string documentWithResults(const ScratchFolder& folder) {
    AnalysisState s = makeDefaultState();
    ResultSummary r;
    r.modelKind = 0;
    r.modelName = "Theis";
    r.method = "lsq";
    r.parameters = {
        ResultParameter{"transmissivity", "T", "", 8.42, 0.6855, 6.3867, 11.1008, false, false, false},
        ResultParameter{"storativity", "S", "", 3.93e-5, kNoResultValue, kNoResultValue, kNoResultValue, true,
                        false, false}};
    r.rmsError = 0.1347;
    r.iterations = 6;
    r.converged = true;
    r.stopReason = "converged";
    r.warnings = {"S and T cannot be told apart from these data"};
    r.inputsFingerprint = resultInputsFingerprint(s);
    s.lastResults = r;
    const std::string path = folder.file("fitted.tvx");
    EXPECT_FALSE(saveDocument(s, path));
    return path;
}

TEST(ResultsShow, JsonHoldsTheSummaryUnderResults) {
    const ScratchFolder folder;
    const CliRun r = run({"show", documentWithResults(folder), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    ASSERT_TRUE(json.contains("results"));
    const auto& results = json["results"];
    EXPECT_EQ(results["method"], "lsq");
    EXPECT_EQ(results["model"], 0);
    EXPECT_EQ(results["stale"], false);
    ASSERT_EQ(results["parameters"].size(), 2u);
    EXPECT_EQ(results["parameters"][0]["name"], "transmissivity");
    EXPECT_EQ(results["parameters"][0]["value"], 8.42);
    EXPECT_EQ(results["parameters"][0]["lower"], 6.3867);
    EXPECT_TRUE(results["parameters"][1]["standardError"].is_null());
    EXPECT_EQ(results["parameters"][1]["fixed"], true);
    EXPECT_EQ(results["rmsError"], 0.1347);
    EXPECT_EQ(results["warnings"][0], "S and T cannot be told apart from these data");
}

TEST(ResultsShow, TextShowsTheSummaryAfterTheResults) {
    const ScratchFolder folder;
    const CliRun r = run({"show", documentWithResults(folder)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("last estimation\n  Model: Theis\n  Method: least squares\n"));
    EXPECT_THAT(r.out, HasSubstr("  T = 8.42, standard error 0.6855, 95 % interval 6.3867 .. 11.1008\n"));
    EXPECT_THAT(r.out, HasSubstr("  S = 3.93e-05 (fixed)\n"));
    EXPECT_THAT(r.out, HasSubstr("  Iterations: 6 (converged)\n"));
}

TEST(ResultsShow, AClassicDocumentShowsNoResultsKey) {
    const ScratchFolder folder;
    const std::string path = folder.file("classic.tvx");
    ASSERT_FALSE(saveDocument(makeDefaultState(), path));
    const CliRun json = run({"show", path, "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_FALSE(nlohmann::json::parse(json.out).contains("results"));
    EXPECT_THAT(run({"show", path}).out, Not(HasSubstr("last estimation")));
}

TEST(ResultsShow, AFitOfTheCommandLineMarksTheKeptSummaryStale) {
    const ScratchFolder folder;
    const std::string refitted = folder.file("refitted.tvx");
    const CliRun fit = run({"fit", "--model", "0", "--open", documentWithResults(folder), "--method",
                            "simplex", "--save", refitted});
    ASSERT_EQ(fit.status, 0) << fit.err;
    const CliRun r = run({"show", refitted, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["results"]["stale"], true);
    EXPECT_THAT(run({"show", refitted}).out, HasSubstr("(The data or the model changed after this fit.)"));
}

}  // namespace
}  // namespace tolvex::cli
