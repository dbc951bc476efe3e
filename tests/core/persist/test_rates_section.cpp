// The extension block's "rates": [[t, Q], ...] written only for a pumping history, every value read
// back to the bit, and a malformed section refused with the document left as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/persist/Document.h"
#include "core/persist/DocumentExtension.h"
#include "core/persist/ExtensionBlock.h"

namespace tolvex {
namespace {

TEST(RatesSection, IsWrittenOnlyForAPumpingHistory) {
    AnalysisState s = makeDefaultState();
    EXPECT_EQ(extensionPayload(s), "") << "a constant rate from time 0 is a classic document";
    const std::string classic = documentBytes(s);
    EXPECT_EQ(classic.find(kExtensionTag), std::string::npos);
    s.rateSchedule = {{0.0, 0.004}, {600.0, 0.007}, {1800.0, 0.0}};
    // Written by hand: nlohmann-json writes a double's shortest round-trip text, "0.0" for zero.
    EXPECT_EQ(extensionPayload(s), R"({"rates":[[0.0,0.004],[600.0,0.007],[1800.0,0.0]]})");
    const std::string withRates = documentBytes(s);
    EXPECT_EQ(withRates.substr(0, classic.size()), classic) << "the classic records keep their bytes";
}

TEST(RatesSection, EveryValueReadsBackToTheBit) {
    AnalysisState s = makeDefaultState();
    const std::vector<RateStep> steps{{-1.5e-300, 0.1}, {1.0 / 3.0, -2.0 / 7.0}, {6.02e23, 0.0}};
    s.rateSchedule = steps;
    AnalysisState back = makeDefaultState();
    back.rateSchedule = {{9.0, 9.0}};
    ASSERT_FALSE(readDocumentBytes(documentBytes(s), back));
    EXPECT_EQ(back.rateSchedule, steps);
    ASSERT_FALSE(readDocumentBytes(documentBytes(makeDefaultState()), back));
    EXPECT_TRUE(back.rateSchedule.empty()) << "a classic document means the constant rate";
}

struct Malformed {
    const char* payload;
    const char* message;
};

TEST(RatesSection, MalformedRatesAreRefusedAndNothingIsLoaded) {
    const Malformed cases[] = {
        {R"({"rates":{"0":1}})", "rates are not a list of [time, rate] pairs"},
        {R"({"rates":[[0,1],[5]]})", "rate step 2 is [5], not a pair [time, rate] of numbers"},
        {R"({"rates":[[0,1,2]]})", "rate step 1 is [0,1,2]"},
        {R"({"rates":[[0,"1"]]})", "rate step 1 is [0,\"1\"]"},
        {R"({"rates":[[0,1],[null,0]]})", "rate step 2 is [null,0]"},
        {R"({"rates":[[0,1],[10,0],[10,2]]})", "rate step 3 starts at the time 10, not after step 2"},
        {R"({"rates":[[0,1],[1e999,0]]})", ""},  // not JSON: the number is out of range
    };
    AnalysisState target = makeDefaultState();
    target.pumpingRate = 12.5f;
    target.rateSchedule = {{0.0, 3.0}, {50.0, 0.0}};
    const std::string before = documentBytes(target);
    const std::string records = documentBytes(makeDefaultState());
    for (const Malformed& c : cases) {
        const auto error = readDocumentBytes(records + extensionBlock(records, c.payload), target);
        ASSERT_TRUE(error) << c.payload;
        EXPECT_NE(error->find(c.message), std::string::npos) << *error;
        EXPECT_EQ(documentBytes(target), before) << c.payload;
    }
}

}  // namespace
}  // namespace tolvex
