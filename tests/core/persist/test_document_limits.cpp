// A document from someone else cannot carry numerical-table sizes that the Integration options refuse:
// the loader refuses the file naming the field, before reading the table, and changes nothing.
#include <gtest/gtest.h>

#include <functional>

#include "core/persist/Document.h"

namespace tolvex {
namespace {

// The offset of the 16-bit count changed by `change`: the first byte in which the two documents differ
// (everything before the count is the same; the count's low byte differs).
std::size_t countOffset(const std::function<void(AnalysisState&)>& change) {
    const AnalysisState a = makeDefaultState();
    AnalysisState b = a;
    change(b);
    buildNumericalTables(b);
    const std::string x = documentBytes(a), y = documentBytes(b);
    std::size_t i = 0;
    while (i < x.size() && x[i] == y[i]) ++i;
    return i;
}

std::string withWord(std::size_t offset, int value) {
    std::string bytes = documentBytes(makeDefaultState());
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>(value >> 8);
    return bytes;
}

TEST(DocumentLimits, TableSizesOutsideTheDialogsRangesAreRefusedByName) {
    const std::size_t gauss = countOffset([](AnalysisState& s) { s.gaussCount = 21; });
    const std::size_t stehfest = countOffset([](AnalysisState& s) { s.stehfestCount = 14; });
    ASSERT_EQ(withWord(gauss, 20), documentBytes(makeDefaultState()));  // the offsets hold the counts
    ASSERT_EQ(withWord(stehfest, 12), documentBytes(makeDefaultState()));
    struct Row {
        std::size_t offset;
        int value;
        const char* message;
    };
    const std::vector<Row> rows{
        {gauss, 0, "gaussCount = 0 is outside the range 2 to 200 of the Integration options"},
        {gauss, 1, "gaussCount = 1 is outside the range 2 to 200"},
        {gauss, 201, "gaussCount = 201 is outside the range 2 to 200"},
        {gauss, 65535, "gaussCount = 65535 is outside the range 2 to 200"},
        {stehfest, 0, "stehfestCount = 0 is outside the range 2 to 20 of the Integration options"},
        {stehfest, 1, "stehfestCount = 1 is outside the range 2 to 20"},
        {stehfest, 3, "stehfestCount = 3 is odd; it must be even"},
        {stehfest, 22, "stehfestCount = 22 is outside the range 2 to 20"},
        {stehfest, 40, "stehfestCount = 40 is outside the range 2 to 20"},
    };
    for (const Row& row : rows) {
        AnalysisState state = makeDefaultState();
        state.operatorName = "kept";
        const std::string before = documentBytes(state);
        const auto error = readDocumentBytes(withWord(row.offset, row.value), state);
        ASSERT_TRUE(error) << row.message;
        EXPECT_EQ(error->rfind(row.message, 0), 0u) << *error;
        EXPECT_EQ(documentBytes(state), before) << row.message;
    }
}

TEST(DocumentLimits, TheRangesEndsAreAccepted) {
    for (const auto& [gauss, stehfest] : {std::pair{2, 2}, std::pair{200, 20}, std::pair{20, 12}}) {
        AnalysisState s = makeDefaultState();
        s.gaussCount = gauss;
        s.stehfestCount = stehfest;
        buildNumericalTables(s);
        AnalysisState loaded = makeDefaultState();
        const auto error = readDocumentBytes(documentBytes(s), loaded);
        ASSERT_FALSE(error) << *error;
        EXPECT_EQ(loaded.gaussCount, gauss);
        EXPECT_EQ(loaded.stehfestCount, stehfest);
    }
}

// 65535 Gauss points with all their values in the file (unusable ones, which the loader would rebuild in
// O(n^2) time): refused by name.
TEST(DocumentLimits, AHugeGaussTableIsRefusedWithoutBuildingIt) {
    AnalysisState s = makeDefaultState();
    s.gaussCount = 65535;
    s.gaussNodes.assign(65536, 0.0);
    s.gaussWeights.assign(65536, 0.0);
    const std::string bytes = documentBytes(s);
    AnalysisState loaded = makeDefaultState();
    const auto error = readDocumentBytes(bytes, loaded);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->rfind("gaussCount = 65535", 0), 0u) << *error;
    EXPECT_EQ(loaded.gaussCount, 20);
}

}  // namespace
}  // namespace tolvex
