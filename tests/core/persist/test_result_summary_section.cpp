// The extension block's "results": written only when the document has a summary of an estimation, in
// the layout below, read back field for field, still stale when it was stale, and a malformed section
// refused with the document left as it was. A document without a summary keeps its classic bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>

#include "core/estimation/ResultSummaryBuilder.h"
#include "core/persist/Document.h"
#include "core/persist/DocumentExtension.h"
#include "core/persist/ExtensionBlock.h"
#include "core/persist/GoldenFiles.h"

namespace tolvex {
namespace {

// A summary with every kind of entry: a missing interval, marks, a derived quantity, a warning.
ResultSummary sampleSummary(const AnalysisState& s) {
    ResultSummary r;
    r.modelKind = s.modelKind;
    r.modelName = "Theis";
    r.method = "lsq";
    r.parameters = {ResultParameter{"transmissivity", "T", "m\u00b2/d", 8.42, 0.6855, 6.3867, 11.1008, false,
                                    true, false},
                    ResultParameter{"storativity", "S", "", 1e-5, kNoResultValue, kNoResultValue,
                                    kNoResultValue, true, false, false}};
    r.derived = {ResultQuantity{"brLnReRw", "ln(Re/rw)", "", 6.25}};
    r.rmsError = 0.125;
    r.rmsUnit = "m";
    r.iterations = 7;
    r.converged = true;
    r.stopReason = "converged";
    r.warnings = {"S and T cannot be told apart from these data"};
    r.inputsFingerprint = resultInputsFingerprint(s);
    return r;
}

// The section as written by hand (key order does not matter in JSON).
constexpr const char* kSampleSection = R"json({"results":{
  "model":0, "modelName":"Theis", "method":"lsq",
  "parameters":[
    {"name":"transmissivity","symbol":"T","unit":"m\u00b2/d","value":8.42,"standardError":0.6855,
     "lower":6.3867,"upper":11.1008,"fixed":false,"bounded":true,"atBound":false},
    {"name":"storativity","symbol":"S","unit":"","value":1e-5,"standardError":null,
     "lower":null,"upper":null,"fixed":true,"bounded":false,"atBound":false}],
  "derived":[{"name":"brLnReRw","symbol":"ln(Re/rw)","unit":"","value":6.25}],
  "rmsError":0.125, "rmsUnit":"m", "iterations":7, "converged":true, "stopReason":"converged",
  "warnings":["S and T cannot be told apart from these data"], "stale":false}})json";

void expectSameNumber(double got, double expected, const char* what) {
    if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(got)) << what;
    } else {
        EXPECT_EQ(got, expected) << what;
    }
}

void expectSameSummary(const ResultSummary& got, const ResultSummary& expected) {
    EXPECT_EQ(got.modelKind, expected.modelKind);
    EXPECT_EQ(got.modelName, expected.modelName);
    EXPECT_EQ(got.method, expected.method);
    ASSERT_EQ(got.parameters.size(), expected.parameters.size());
    for (std::size_t i = 0; i < got.parameters.size(); ++i) {
        const ResultParameter &a = got.parameters[i], &b = expected.parameters[i];
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.symbol, b.symbol);
        EXPECT_EQ(a.unit, b.unit);
        expectSameNumber(a.value, b.value, "value");
        expectSameNumber(a.standardError, b.standardError, "standardError");
        expectSameNumber(a.lower, b.lower, "lower");
        expectSameNumber(a.upper, b.upper, "upper");
        EXPECT_EQ(a.fixed, b.fixed);
        EXPECT_EQ(a.bounded, b.bounded);
        EXPECT_EQ(a.atBound, b.atBound);
    }
    ASSERT_EQ(got.derived.size(), expected.derived.size());
    for (std::size_t i = 0; i < got.derived.size(); ++i) {
        EXPECT_EQ(got.derived[i].name, expected.derived[i].name);
        EXPECT_EQ(got.derived[i].symbol, expected.derived[i].symbol);
        EXPECT_EQ(got.derived[i].value, expected.derived[i].value);
    }
    EXPECT_EQ(got.rmsError, expected.rmsError);
    EXPECT_EQ(got.rmsUnit, expected.rmsUnit);
    EXPECT_EQ(got.iterations, expected.iterations);
    EXPECT_EQ(got.converged, expected.converged);
    EXPECT_EQ(got.stopReason, expected.stopReason);
    EXPECT_EQ(got.warnings, expected.warnings);
}

TEST(ResultsSection, IsWrittenInItsLayoutOnlyWhenThereIsASummary) {
    AnalysisState s = makeDefaultState();
    EXPECT_EQ(extensionPayload(s), "");
    const std::string classic = documentBytes(s);
    s.lastResults = sampleSummary(s);
    EXPECT_EQ(nlohmann::json::parse(extensionPayload(s)), nlohmann::json::parse(kSampleSection));
    const std::string withResults = documentBytes(s);
    EXPECT_EQ(withResults.substr(0, classic.size()), classic) << "the classic records keep their bytes";
}

TEST(ResultsSection, ReadsBackFieldForFieldAndDescribesTheDataReadWith) {
    AnalysisState s = makeDefaultState();
    s.lastResults = sampleSummary(s);
    AnalysisState back = makeDefaultState();
    back.modelKind = 4;
    ASSERT_FALSE(readDocumentBytes(documentBytes(s), back));
    ASSERT_TRUE(back.lastResults.has_value());
    expectSameSummary(*back.lastResults, *s.lastResults);
    EXPECT_FALSE(back.lastResults->stale);
    EXPECT_TRUE(resultsCurrent(back));
    EXPECT_EQ(documentBytes(back), documentBytes(s)) << "saved again unchanged";
}

TEST(ResultsSection, ASummaryFoundStaleStaysStaleWhenReopened) {
    AnalysisState s = makeDefaultState();
    s.lastResults = sampleSummary(s);
    s.allDrawdowns[0] = 3.5;  // the data changed after the fit
    AnalysisState back = makeDefaultState();
    ASSERT_FALSE(readDocumentBytes(documentBytes(s), back));
    ASSERT_TRUE(back.lastResults.has_value());
    EXPECT_TRUE(back.lastResults->stale);
    EXPECT_FALSE(resultsCurrent(back));
}

TEST(ResultsSection, AClassicDocumentClearsTheSummaryAndKeepsItsBytes) {
    for (const char* name : {"documents/default.tvx", "documents/fit_pumping_theis.tvx"}) {
        SCOPED_TRACE(name);
        const std::string golden = testing::readBytes(testing::dataPath(name));
        ASSERT_FALSE(golden.empty());
        AnalysisState s = makeDefaultState();
        s.lastResults = sampleSummary(s);  // the window's previous document had one
        ASSERT_FALSE(readDocumentBytes(golden, s));
        EXPECT_FALSE(s.lastResults.has_value());
        EXPECT_EQ(documentBytes(s), golden);
    }
}

struct Malformed {
    const char* results;
    const char* message;
};

TEST(ResultsSection, MalformedResultsAreRefusedAndNothingIsLoaded) {
    const std::string good = nlohmann::json::parse(kSampleSection)["results"].dump();
    const auto with = [&good](const char* key, const char* value) {
        nlohmann::json j = nlohmann::json::parse(good);
        j[key] = nlohmann::json::parse(value);
        return nlohmann::json{{"results", j}}.dump();
    };
    const std::pair<std::string, const char*> cases[] = {
        {R"({"results":[1,2]})", "results are not a JSON object"},
        {with("model", "12"), "results name the model 12, not 0 to 10"},
        {with("model", "\"Theis\""), "results has no whole number \"model\""},
        {with("method", "\"newton\""), "results name the method \"newton\""},
        {with("parameters", "{}"), "results has no list \"parameters\""},
        {with("parameters", "[3]"), "a parameter that is not a JSON object"},
        {with("parameters", R"([{"name":"T","symbol":"T","unit":"","value":"8","standardError":null,
            "lower":null,"upper":null,"fixed":false,"bounded":false,"atBound":false}])"),
         "parameter has no number \"value\""},
        {with("derived", R"([{"name":"x","symbol":"x","unit":""}])"), "quantity has no number \"value\""},
        {with("warnings", "[1]"), "a warning that is not a text"},
        {with("stale", "\"no\""), "results has no true or false \"stale\""},
    };
    AnalysisState target = makeDefaultState();
    target.lastResults = sampleSummary(target);
    target.transmissivity = 5.5f;
    const std::string before = documentBytes(target);
    const std::string records = documentBytes(makeDefaultState());
    for (const auto& [payload, message] : cases) {
        const auto error = readDocumentBytes(records + extensionBlock(records, payload), target);
        ASSERT_TRUE(error) << payload;
        EXPECT_NE(error->find(message), std::string::npos) << *error;
        EXPECT_EQ(documentBytes(target), before) << payload;
    }
}

}  // namespace
}  // namespace tolvex
