// The field table's rules that every front end shares: which fields only a positive value describes,
// and numbers written with a decimal point whatever the process locale.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/state/AnalysisState.h"
#include "core/state/CommaLocale.h"
#include "core/state/FieldTable.h"

namespace tolvex {
namespace {

TEST(FieldTable, PositiveFieldsAreThePhysicalQuantities) {
    // Rates, distances, thicknesses, radii, transmissivities, storage coefficients, conductivities.
    const std::set<std::string_view> expected{
        "pumpingRate",          "radialDistance",         "transmissivity",       "storativity",
        "verticalConductivity", "aquiferThickness",       "upperBedConductivity", "upperBedThickness",
        "lowerBedThickness",    "lowerBedConductivity",   "upperBedStorativity",  "lowerBedStorativity",
        "wellRadius",           "casingRadius",           "specificYield",        "slabThickness",
        "fractureStorativity",  "fractureTransmissivity", "matrixStorativity",    "matrixTransmissivity",
        "screenLength",         "wellDepthInAquifer",     "brAquiferThickness",   "hydraulicConductivity"};
    std::set<std::string_view> positive;
    const AnalysisState defaults = makeDefaultState();
    for (const FieldInfo& f : scalarFields()) {
        if (!f.positive) continue;
        positive.insert(f.name);
        EXPECT_EQ(f.type(), FieldType::Float) << f.name;
        EXPECT_GT(std::stod(fieldText(defaults, f)), 0.0) << f.name << ": the default must be admitted";
    }
    EXPECT_EQ(positive, expected);
}

TEST(FieldTable, SettingAPositiveFieldRefusesWhatNoQuantityHas) {
    struct Row {
        const char* field;
        const char* text;
        bool accepted;
    };
    const std::vector<Row> rows{
        {"transmissivity", "-5", false},
        {"transmissivity", "0", false},
        {"transmissivity", "-0", false},
        {"radialDistance", "1e-50", false},  // rounds to the float 0
        {"pumpingRate", "nan", false},
        {"pumpingRate", "inf", false},
        {"casingRadius", "-inf", false},
        {"storativity", "1e-5", true},
        {"wellRadius", "0.05", true},
        {"plotXMin", "-3", true},
        {"mnZ", "0", true},
        {"ppPiezoD", "-0.5", true},
    };
    for (const Row& row : rows) {
        AnalysisState s = makeDefaultState();
        const AnalysisState before = s;
        const FieldInfo& field = *findField(row.field);
        const auto error = setFieldText(s, field, row.text);
        EXPECT_EQ(!error, row.accepted) << row.field << " = " << row.text;
        if (error) {
            EXPECT_EQ(*error, std::string(row.field) + " must be positive, got '" + row.text + "'");
            EXPECT_EQ(fieldText(s, field), fieldText(before, field)) << row.field << ": the state changed";
        }
    }
}

TEST(FieldTable, NumbersAreWrittenWithAPointUnderACommaLocale) {
    const testing::CommaLocale locale;
    ASSERT_TRUE(locale.active()) << testing::kCommaLocale << " cannot be set: run scripts/install-deps";
    struct Row {
        double value;
        int digits;
        const char* text;
    };
    const std::vector<Row> rows{{75.53, 6, "75.53"},  {static_cast<float>(75.53), 9, "75.5299988"},
                                {1.0e-5, 6, "1e-05"}, {1234567.0, 6, "1.23457e+06"},
                                {-0.5, 6, "-0.5"},    {0.0, 6, "0"}};
    for (const Row& row : rows) EXPECT_EQ(formatGeneral(row.value, row.digits), row.text) << row.value;
    AnalysisState s = makeDefaultState();
    EXPECT_EQ(fieldText(s, *findField("transmissivity")), "8.80000019");
    EXPECT_FALSE(setFieldText(s, *findField("transmissivity"), "12.5"));
    EXPECT_EQ(s.transmissivity, 12.5f);
}

}  // namespace
}  // namespace tolvex

namespace tolvex {
namespace {

// A fit's misfit is a drawdown, except for the slug tests, which compare H/H0: in feet the pumping test's
// RMS of 0.3048 m reads 1 ft, the slug test's 0.3048 stays 0.3048 whatever the length unit.
TEST(FieldTable, TheMisfitOfASlugTestHasNoLengthUnit) {
    AnalysisState s = makeDefaultState();
    s.units = DisplayUnits{"min", "ft", "m3/d"};
    s.rmsError = 0.3048f;
    const FieldInfo& rms = *findField("rmsError");
    struct Case {
        int model;
        const char* text;
    };
    for (const Case c : {Case{0, "1"}, Case{2, "1"}, Case{5, "0.304800004"}, Case{10, "0.304800004"}}) {
        s.modelKind = c.model;
        EXPECT_EQ(fieldText(s, rms), c.text) << "model " << c.model;
    }
    EXPECT_EQ(fitErrorDimension(5), Dimension::None);
    EXPECT_EQ(fitErrorDimension(6), Dimension::Length);
}

}  // namespace
}  // namespace tolvex

namespace tolvex {
namespace {

// The Bouwer-Rice decay rate 2 K Le / (ln(Re/rw) rc^2) is per time: 1/86400 per second is 1 per day.
TEST(FieldTable, TheBouwerRiceRateIsShownPerTimeUnit) {
    AnalysisState s = makeDefaultState();
    s.units = DisplayUnits{"d", "m", "m3/d"};
    s.brRate = static_cast<float>(2.0 / 86400.0);
    EXPECT_EQ(fieldText(s, *findField("brRate")), "2");
    EXPECT_EQ(unitLabel(findField("brRate")->dimension, s.units), "1/d");
}

}  // namespace
}  // namespace tolvex
