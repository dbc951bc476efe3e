// The rules that say when a fit's result means anything, on states made by hand.
#include <gtest/gtest.h>

#include "core/estimation/FitChecks.h"
#include "core/input/MeasurementTable.h"

namespace tolvex {
namespace {

TEST(FitChecks, DeterminableWhenTheMeasurementsAreAtLeastTheFreeParameters) {
    struct Row {
        int model;
        int used;
        bool refused;
    };
    const std::vector<Row> rows{{0, 1, true},  {0, 2, false},  {1, 2, true},  {1, 3, false}, {4, 5, true},
                                {4, 6, false}, {6, 3, true},   {6, 4, false}, {9, 1, true},  {9, 2, false},
                                {10, 0, true}, {10, 1, false}, {5, 1, true},  {7, 3, true},  {8, 4, false}};
    for (const Row& row : rows) {
        AnalysisState s = makeDefaultState();
        s.modelKind = row.model;
        s.usedCount = row.used;
        EXPECT_EQ(checkDeterminable(s).has_value(), row.refused) << row.model << " with " << row.used;
    }
    // One measurement determines T when S is held.
    AnalysisState s = makeDefaultState();
    s.usedCount = 1;
    EXPECT_FALSE(checkDeterminable(s, {"storativity"}));
    EXPECT_FALSE(checkDeterminable(s, {"transmissivity"}));
    s.usedCount = 0;
    const auto error = checkDeterminable(s, {"transmissivity"});
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("fewer than the 1 parameter the fit determines (storativity)"), std::string::npos)
        << *error;
}

TEST(FitChecks, AquiferStorageOfOneOrMoreIsWarnedAbout) {
    struct Row {
        int model;
        const char* field;
        float value;
        bool warned;
    };
    const std::vector<Row> rows{
        {0, "storativity", 1.0f, true},        {0, "storativity", 0.999f, false},
        {9, "storativity", 201.65f, true},     {6, "specificYield", 1.5f, true},
        {7, "matrixStorativity", 2.0f, false}, {4, "lowerBedStorativity", 1.0f, false},
        {0, "transmissivity", 5000.0f, false}, {10, "storativity", 5.0f, false}};
    for (const Row& row : rows) {
        AnalysisState s = makeDefaultState();
        s.modelKind = row.model;
        s.storativity = row.field == std::string("storativity") ? row.value : 1e-4f;
        if (row.field == std::string("specificYield")) s.specificYield = row.value;
        if (row.field == std::string("matrixStorativity")) s.matrixStorativity = row.value;
        if (row.field == std::string("lowerBedStorativity")) s.lowerBedStorativity = row.value;
        if (row.field == std::string("transmissivity")) s.transmissivity = row.value;
        const std::vector<std::string> warnings = fitWarnings(s);
        ASSERT_EQ(warnings.size(), row.warned ? 1u : 0u) << row.model << " " << row.field;
        if (row.warned) {
            EXPECT_EQ(warnings[0].rfind("The fitted " + std::string(row.field) + " is ", 0), 0u)
                << warnings[0];
        }
    }
}

TEST(FitChecks, OnlyDrawdownsAllZeroInTheUsedRangeAreWarnedAbout) {
    AnalysisState s = makeDefaultState();
    replaceMeasurements(s, {1.0, 2.0, 3.0}, {0.0, 0.0, 0.0});
    EXPECT_EQ(fitWarnings(s).size(), 1u);
    replaceMeasurements(s, {1.0, 2.0, 3.0}, {0.0, 0.0, 1e-9});
    EXPECT_TRUE(fitWarnings(s).empty());
    s.usedCount = 2;  // the non-zero one is not used
    EXPECT_EQ(fitWarnings(s).size(), 1u);
}

}  // namespace
}  // namespace tolvex
