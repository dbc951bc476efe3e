// The extension block's "series": written only when a document has more than the classic series, every
// setting and measurement of a series read back, and a malformed entry refused with nothing loaded.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include <boost/math/special_functions/expint.hpp>

#include "core/persist/Document.h"
#include "core/persist/DocumentExtension.h"
#include "core/persist/ExtensionBlock.h"

namespace tolvex {
namespace {

ObservationSeries wellP2() {
    ObservationSeries x;
    x.settings = {"P2 \xc3\xa9st", false, 2.5, {SlugHead::Reference::Number, 0.75, true, 12.25}};
    x.radialDistance = 30.5f;
    x.geometry.ppObsKind = 1;
    x.geometry.ppObsL = 0.6f;
    x.geometry.lppPiezoZ = 0.125f;
    x.geometry.mnObsKind = 2;
    x.geometry.mnZ1 = 0.2f;
    x.geometry.mnZ2 = 0.9f;
    x.times = {0.1, 1.0, 10.0, 1e-300};
    x.values = {0.3, 1.25, 2.0, 3.0000000000000004};
    x.useFrom = 2;
    x.useTo = 3;
    return x;
}

AnalysisState withSeries() {
    AnalysisState s = makeDefaultState();
    s.firstSeries = {"PW-1", true, 0.5, {SlugHead::Reference::FirstValue, 1.0, false, 0.0}};
    s.extraSeries = {wellP2(), ObservationSeries{}};
    s.extraSeries[1].times = {5.0};
    s.extraSeries[1].values = {0.5};
    return s;
}

TEST(SeriesSection, AClassicDocumentHasNoBlockAndOneSeriesMore) {
    const AnalysisState classic = makeDefaultState();
    EXPECT_EQ(extensionPayload(classic), "");
    AnalysisState s = withSeries();
    EXPECT_NE(documentBytes(s), documentBytes(classic));
    s.extraSeries.clear();
    s.firstSeries = SeriesSettings{};
    s.extraSeries.clear();
    EXPECT_EQ(documentBytes(s), documentBytes(classic));
    AnalysisState onlyFirst = makeDefaultState();
    onlyFirst.firstSeries.weight = 2.0;
    EXPECT_NE(extensionPayload(onlyFirst).find("\"series\""), std::string::npos);
}

TEST(SeriesSection, EverySettingAndMeasurementIsReadBack) {
    AnalysisState s = withSeries();
    s.extraSeries[0].calculated = {1.0, 2.0};  // a run's result: not kept
    AnalysisState back = makeDefaultState();
    ASSERT_FALSE(readDocumentBytes(documentBytes(s), back));
    s.extraSeries[0].calculated.clear();
    EXPECT_EQ(back.firstSeries, s.firstSeries);
    EXPECT_EQ(back.extraSeries, s.extraSeries);

    // The payload's own numbers and words, read by a JSON parser.
    const auto json = nlohmann::json::parse(extensionPayload(s));
    const auto& list = json.at("series");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].at("name"), "PW-1");
    EXPECT_EQ(list[0].at("head").at("reference"), "first");
    EXPECT_EQ(list[1].at("name"), "P2 \xc3\xa9st");
    EXPECT_EQ(list[1].at("on"), false);
    EXPECT_EQ(list[1].at("r"), 30.5);
    EXPECT_EQ(list[1].at("geometry").at("mnObsKind"), 2);
    EXPECT_EQ(list[1].at("times")[3], 1e-300);
    EXPECT_EQ(list[1].at("values")[3], 3.0000000000000004);
    EXPECT_EQ(list[1].at("useTo"), 3);
    EXPECT_EQ(list[1].at("head").at("staticLevel"), 12.25);
}

TEST(SeriesSection, AnEmptyListIsTheClassicSeries) {
    const std::string records = documentBytes(makeDefaultState());
    AnalysisState s = withSeries();
    ASSERT_FALSE(readDocumentBytes(records + extensionBlock(records, R"({"series":[]})"), s));
    EXPECT_EQ(s.firstSeries, SeriesSettings{});
    EXPECT_TRUE(s.extraSeries.empty());
}

TEST(SeriesSection, AMalformedSeriesIsRefusedAndNothingIsLoaded) {
    const struct {
        const char* payload;
        const char* message;
    } cases[] = {
        {R"({"series":{}})", "series are not a JSON list"},
        {R"({"series":[{"name":3}]})", R"(series 1 gives "name" as 3, not a text)"},
        {R"({"series":[{"on":1}]})", R"("on" as 1, not true or false)"},
        {R"({"series":[{"weight":-2}]})", "series 1 is refused: the weight -2 is not a number of 0 or more"},
        {R"({"series":[{"head":{"reference":"middle"}}]})", R"(head reference "middle")"},
        {R"({"series":[{"head":[]}]})", R"("head" that is not a JSON object)"},
        {R"({"series":[{},{"times":[1,2],"values":[1,2]}]})", R"(series 2 has no "r")"},
        {R"({"series":[{},{"r":5,"values":[1,2]}]})", R"(series 2 has no "times")"},
        {R"({"series":[{},{"r":-1,"times":[1],"values":[1]}]})",
         "the radial distance -1 is not a positive number"},
        {R"({"series":[{},{"r":"far","times":[1],"values":[1]}]})", R"(gives "r" as "far", not a number)"},
        {R"({"series":[{},{"r":5,"times":[1,2],"values":[1]}]})", "holds 2 times but 1 values"},
        {R"({"series":[{},{"r":5,"times":[1,"x"],"values":[1,2]}]})", R"(has "x" in "times", not a number)"},
        {R"({"series":[{},{"r":5,"times":[1,null],"values":[1,2]}]})", R"(has null in "times")"},
        {R"({"series":[{},{"r":5,"times":[1],"values":[1],"useTo":3}]})", "the used range 1 to 3"},
        {R"({"series":[{},{"r":5,"times":[1],"values":[1],"useFrom":0}]})", "the used range 0 to 0"},
        {R"({"series":[{},{"r":5,"times":[1],"values":[1],"useFrom":1.5}]})",
         R"("useFrom" as 1.5, not a whole)"},
        {R"({"series":[{},{"r":5,"times":[1],"values":[1],"geometry":{"mnZ":"deep"}}]})",
         R"("mnZ" as "deep")"},
        {R"({"series":[{},{"r":5,"times":[1],"values":[1],"geometry":{"ppObsKind":1e12}}]})",
         R"("ppObsKind")"},
        {R"({"series":[{},7]})", "series 2 is not a JSON object"},
    };
    const AnalysisState original = withSeries();
    const std::string records = documentBytes(makeDefaultState());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.payload);
        AnalysisState s = original;
        const auto error = readDocumentBytes(records + extensionBlock(records, c.payload), s);
        ASSERT_TRUE(error);
        EXPECT_NE(error->find(c.message), std::string::npos) << *error;
        EXPECT_EQ(s.firstSeries, original.firstSeries);
        EXPECT_EQ(s.extraSeries, original.extraSeries);
        EXPECT_EQ(documentBytes(s), documentBytes(original));
    }
}

}  // namespace
}  // namespace tolvex

namespace tolvex {
namespace {

// A reopened joint fit draws every series' curve: the further series' calculated drawdowns, which the
// document does not keep, are the model at the saved parameters again. Theis (1935) with Boost's E1.
TEST(SeriesSection, AReopenedFitHasEverySeriesCalculatedAgain) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 0;
    s.pumpingRate = 2.0f;
    s.transmissivity = 0.5f;
    s.storativity = 1e-4f;
    s.plotContent = 2;
    ObservationSeries on;
    on.settings.name = "P60";
    on.radialDistance = 60.0f;
    on.times = {1.0, 10.0, 100.0, 1000.0};
    on.values = {0.1, 0.2, 0.3, 0.4};
    ObservationSeries off = on;
    off.settings.name = "off";
    off.settings.on = false;
    s.extraSeries = {on, off};
    AnalysisState back = makeDefaultState();
    ASSERT_FALSE(readDocumentBytes(documentBytes(s), back));
    ASSERT_EQ(back.extraSeries.size(), 2u);
    const std::vector<double>& calculated = back.extraSeries[0].calculated;
    ASSERT_EQ(calculated.size(), on.times.size());
    const double q = s.pumpingRate, t = s.transmissivity, storage = s.storativity;
    for (std::size_t i = 0; i < calculated.size(); ++i) {
        const double u = 60.0 * 60.0 * storage / (4.0 * t * on.times[i]);
        const double exact = q / (4.0 * 3.14159265358979 * t) * -boost::math::expint(-u);
        EXPECT_NEAR(calculated[i] / exact, 1.0, 1e-5) << "t = " << on.times[i];
    }
    EXPECT_TRUE(back.extraSeries[1].calculated.empty()) << "a switched-off series took no part";
    s.plotContent = 1;  // measurements only: nothing to draw
    ASSERT_FALSE(readDocumentBytes(documentBytes(s), back));
    EXPECT_TRUE(back.extraSeries[0].calculated.empty());
}

}  // namespace
}  // namespace tolvex
