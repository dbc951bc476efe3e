// The extension block's "units" section: written only when units are set, with every kind named; the
// classic records before it hold SI values, so a reader of the classic records computes correctly; an
// unknown unit name is refused with a message and the state left as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/input/DisplayUnitsChange.h"
#include "core/persist/Document.h"
#include "core/persist/ExtensionBlock.h"

namespace tolvex {
namespace {

const DisplayUnits kMinMetreCubicPerDay{"min", "m", "m3/d"};

AnalysisState withUnits(const DisplayUnits& units) {
    AnalysisState s = makeDefaultState();
    changeDisplayUnits(s, units);
    return s;
}

// The classic records of a state: its bytes with no units (and nothing else new) set.
std::string recordsOf(AnalysisState s) {
    s.units = DisplayUnits{};
    return documentBytes(s);
}

TEST(UnitsSection, IsTheOnlyPayloadOfADocumentWithUnits) {
    const AnalysisState s = withUnits(kMinMetreCubicPerDay);
    const std::string records = recordsOf(s);
    // Written out by hand: the JSON object with the keys in nlohmann's sorted order.
    const std::string expected =
        records + extensionBlock(records, R"({"units":{"length":"m","rate":"m3/d","time":"min"}})");
    EXPECT_EQ(documentBytes(s), expected);
}

TEST(UnitsSection, AKindLeftEmptyIsWrittenAsItsSIUnit) {
    AnalysisState s = makeDefaultState();
    s.units = DisplayUnits{"h", "", ""};
    const std::string records = recordsOf(s);
    EXPECT_EQ(documentBytes(s),
              records + extensionBlock(records, R"({"units":{"length":"m","rate":"m3/s","time":"h"}})"));
}

TEST(UnitsSection, SavesAndLoadsWithTheClassicRecordsInSI) {
    const AnalysisState s = withUnits(DisplayUnits{"d", "ft", "gpm"});
    AnalysisState back = makeDefaultState();
    ASSERT_FALSE(readDocumentBytes(documentBytes(s), back));
    EXPECT_EQ(back.units, s.units);
    EXPECT_EQ(back.pumpingRate, s.pumpingRate);
    EXPECT_EQ(back.allTimes, s.allTimes);
    EXPECT_EQ(documentBytes(back), documentBytes(s));

    // A reader of the classic records alone sees SI: 75.53 US gpm in m³/s, 5 days in seconds.
    AnalysisState classic = makeDefaultState();
    ASSERT_FALSE(readDocumentBytes(recordsOf(s), classic));
    EXPECT_FALSE(classic.units.set());
    EXPECT_EQ(classic.pumpingRate, static_cast<float>(75.53 * 0.003785411784 / 60.0));
    EXPECT_EQ(classic.radialDistance, static_cast<float>(154.0 * 0.3048));
    EXPECT_EQ(classic.allTimes[0], 5.0 * 86400.0);
}

TEST(UnitsSection, ADocumentWithoutUnitsHasNoBlock) {
    const std::string bytes = documentBytes(makeDefaultState());
    EXPECT_EQ(bytes.find(kExtensionTag), std::string::npos);
    // Back to none: the block goes again.
    AnalysisState s = withUnits(kMinMetreCubicPerDay);
    changeDisplayUnits(s, DisplayUnits{});
    EXPECT_EQ(documentBytes(s), bytes);
}

TEST(UnitsSection, UnknownNamesAreRefusedAndNothingIsLoaded) {
    const std::string records = documentBytes(makeDefaultState());
    const std::vector<std::pair<std::string, std::string>> cases = {
        {R"({"units":{"time":"fortnight"}})", R"(time unit "fortnight", not one of s, min, h, d)"},
        {R"({"units":{"rate":"m³/d"}})", "rate unit"},  // the window's label is no name of the file
        {R"({"units":{"length":3}})", "length unit 3"},
        {R"({"units":"m"})", "units are not a JSON object"},
    };
    for (const auto& [payload, message] : cases) {
        AnalysisState target = withUnits(kMinMetreCubicPerDay);
        target.pumpingRate = 0.25f;
        const std::string before = documentBytes(target);
        const auto error = readDocumentBytes(records + extensionBlock(records, payload), target);
        ASSERT_TRUE(error) << payload;
        EXPECT_NE(error->find(message), std::string::npos) << *error;
        EXPECT_EQ(documentBytes(target), before) << payload;
    }
}

}  // namespace
}  // namespace tolvex
