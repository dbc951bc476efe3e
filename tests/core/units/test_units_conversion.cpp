// Unit factors, the field table's display of converted values, and the measurements' way in and out.
// Expected factors are the definitions (1 ft = 0.3048 m exactly, 1 US gallon = 231 in³), written out
// here as numbers rather than taken from the program's table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/input/MeasurementTable.h"
#include "core/state/AnalysisState.h"
#include "core/state/FieldTable.h"
#include "core/units/Units.h"

namespace tolvex {
namespace {

const DisplayUnits kMinMetreCubicPerDay{"min", "m", "m3/d"};
const DisplayUnits kDayFootGpm{"d", "ft", "gpm"};

struct FactorCase {
    Dimension dimension;
    DisplayUnits units;
    double expected;  // one display unit in SI
};

TEST(UnitFactors, EveryDimensionConvertsByItsDefinition) {
    const std::vector<FactorCase> cases = {
        {Dimension::Time, kMinMetreCubicPerDay, 60.0},
        {Dimension::Rate, kMinMetreCubicPerDay, 1.0 / 86400.0},
        {Dimension::Transmissivity, kMinMetreCubicPerDay, 1.0 / 60.0},
        {Dimension::Conductivity, kMinMetreCubicPerDay, 1.0 / 60.0},
        {Dimension::Length, kDayFootGpm, 0.3048},
        {Dimension::Transmissivity, kDayFootGpm, 0.09290304 / 86400.0},
        {Dimension::Conductivity, kDayFootGpm, 0.3048 / 86400.0},
        {Dimension::Rate, kDayFootGpm, 0.003785411784 / 60.0},
        {Dimension::Rate, DisplayUnits{"", "", "ft3/d"}, 0.028316846592 / 86400.0},
        {Dimension::Rate, DisplayUnits{"", "", "L/min"}, 0.001 / 60.0},
        {Dimension::Length, DisplayUnits{"", "in", ""}, 0.0254},
        {Dimension::Time, DisplayUnits{"", "mm", ""}, 1.0},  // time left empty: seconds
        {Dimension::None, kDayFootGpm, 1.0},
        {Dimension::Transmissivity, DisplayUnits{}, 1.0},  // no units: nothing converted
    };
    for (const FactorCase& c : cases) {
        EXPECT_NEAR(siFactor(c.dimension, c.units), c.expected, 1e-15 * c.expected)
            << unitsText(c.units) << " dimension " << static_cast<int>(c.dimension);
    }
}

TEST(UnitParsing, NamesAndRefusals) {
    const UnitsParse good = parseUnits("rate=m3/d, time=min,length=m");
    ASSERT_TRUE(good.units);
    EXPECT_EQ(*good.units, kMinMetreCubicPerDay);
    EXPECT_EQ(unitsText(*good.units), "time=min,length=m,rate=m3/d");
    const UnitsParse none = parseUnits("none");
    ASSERT_TRUE(none.units);
    EXPECT_FALSE(none.units->set());
    for (const char* bad : {"time=fortnight", "speed=m", "time", "", "length=m3/d"}) {
        const UnitsParse parsed = parseUnits(bad);
        EXPECT_FALSE(parsed.units) << bad;
        EXPECT_FALSE(parsed.error.empty()) << bad;
    }
    EXPECT_NE(parseUnits("time=fortnight").error.find("s, min, h, d"), std::string::npos);
}

TEST(FieldDimensions, QuantitiesHaveUnitsAndRatiosHaveNone) {
    const std::vector<std::pair<std::string, Dimension>> cases = {
        {"pumpingRate", Dimension::Rate},
        {"radialDistance", Dimension::Length},
        {"transmissivity", Dimension::Transmissivity},
        {"fractureTransmissivity", Dimension::Transmissivity},
        {"matrixTransmissivity", Dimension::Transmissivity},
        {"hydraulicConductivity", Dimension::Conductivity},
        {"verticalConductivity", Dimension::Conductivity},
        {"upperBedConductivity", Dimension::Conductivity},
        {"lowerBedConductivity", Dimension::Conductivity},
        {"upperBedThickness", Dimension::Length},
        {"casingRadius", Dimension::Length},
        {"screenLength", Dimension::Length},
        {"slabThickness", Dimension::Length},
        {"calcTimeMin", Dimension::Time},
        {"storativity", Dimension::None},
        {"specificYield", Dimension::None},
        {"ppPiezoZ", Dimension::None},
        {"mnStorageRatio", Dimension::None},
        {"tcTheisMax", Dimension::None},
        {"brLnReRw", Dimension::None},
    };
    for (const auto& [name, dimension] : cases) {
        const FieldInfo* field = findField(name);
        ASSERT_NE(field, nullptr) << name;
        EXPECT_EQ(field->dimension, dimension) << name;
    }
}

struct TextCase {
    std::string field;
    DisplayUnits units;
    std::string typed;
    double expectedSI;
    std::string shown;  // fieldText afterwards
};

TEST(FieldText, SetAndShownInTheDocumentsUnits) {
    const std::vector<TextCase> cases = {
        {"transmissivity", DisplayUnits{"d", "m", ""}, "392", 392.0 / 86400.0, "392"},
        {"pumpingRate", kMinMetreCubicPerDay, "75.53", 75.53 / 86400.0, "75.53"},
        {"radialDistance", kDayFootGpm, "100", 30.48, "100"},
        {"hydraulicConductivity", DisplayUnits{"d", "m", ""}, "1.5e-3", 1.5e-3 / 86400.0, "0.0015"},
        {"calcTimeMax", DisplayUnits{"h", "", ""}, "2.5", 9000.0, "2.5"},
        {"storativity", kMinMetreCubicPerDay, "1e-4", 1e-4, "9.99999975e-05"},  // dimensionless: as classic
        {"pumpingRate", DisplayUnits{}, "75.53", 75.53, "75.5299988"},          // no units: as classic
    };
    for (const TextCase& c : cases) {
        AnalysisState s = makeDefaultState();
        s.units = c.units;
        const FieldInfo& field = *findField(c.field);
        ASSERT_FALSE(setFieldText(s, field, c.typed)) << c.field;
        EXPECT_EQ(s.*std::get<float AnalysisState::*>(field.member), static_cast<float>(c.expectedSI))
            << c.field;
        EXPECT_EQ(fieldText(s, field), c.shown) << c.field;
    }
}

TEST(FieldText, ARefusedValueLeavesTheStateAsItWas) {
    AnalysisState s = makeDefaultState();
    s.units = kMinMetreCubicPerDay;
    s.pumpingRate = 0.001f;
    for (const char* bad : {"-5", "0", "abc", "inf", "1e-60"}) {
        const auto error = setFieldText(s, *findField("pumpingRate"), bad);
        ASSERT_TRUE(error) << bad;
        EXPECT_NE(error->find("pumpingRate"), std::string::npos) << *error;
        EXPECT_EQ(s.pumpingRate, 0.001f) << bad;
    }
}

TEST(ShownFloatText, FewestDigitsThatGiveTheStoredFloatBack) {
    const DisplayUnits units{"d", "m", ""};
    for (double shown : {392.0, 0.1, 12124.9, 3.3333333, 1e-7, 8.42007}) {
        const float stored = static_cast<float>(shown / 86400.0);
        const std::string text = shownFloatText(stored, Dimension::Transmissivity, units);
        EXPECT_EQ(static_cast<float>(std::stod(text) / 86400.0), stored) << text;
        EXPECT_LE(text.size(), 16u) << text;
    }
    EXPECT_EQ(shownFloatText(static_cast<float>(392.0 / 86400.0), Dimension::Transmissivity, units), "392");
}

TEST(Measurements, EnterInTheDocumentsUnitsAndAreShownInThem) {
    AnalysisState s = makeDefaultState();
    s.units = kMinMetreCubicPerDay;
    s.modelKind = static_cast<int>(ModelKind::Theis);
    replaceMeasurements(s, {1.0, 2.5, 10.0}, {0.5, 0.75, 1.25});
    EXPECT_EQ(s.allTimes, (std::vector<double>{60.0, 150.0, 600.0}));
    EXPECT_EQ(s.times, s.allTimes);
    EXPECT_EQ(s.allDrawdowns, (std::vector<double>{0.5, 0.75, 1.25}));  // metres are SI
    const MeasurementTableContent table = measurementTableContent(s);
    ASSERT_EQ(table.cellTexts.size(), 9u);
    EXPECT_EQ(table.cellTexts[3], "2.5000 ");
    EXPECT_EQ(table.cellTexts[6], "10.0000");

    // A typed cell is in minutes; the unchanged ones keep their stored seconds exactly.
    std::vector<std::string> cells = table.cellTexts;
    cells[3] = "3";
    ASSERT_FALSE(confirmMeasurementTable(s, cells, 1, 3));
    EXPECT_EQ(s.allTimes, (std::vector<double>{60.0, 180.0, 600.0}));
}

TEST(Measurements, FeetAndTheSlugTestsNormalisedHeads) {
    AnalysisState s = makeDefaultState();
    s.units = kDayFootGpm;
    replaceMeasurements(s, {1.0}, {10.0});
    EXPECT_DOUBLE_EQ(s.allTimes[0], 86400.0);
    EXPECT_DOUBLE_EQ(s.allDrawdowns[0], 3.048);
    s.modelKind = static_cast<int>(ModelKind::SlugTest);
    replaceMeasurements(s, {1.0}, {0.8});
    EXPECT_EQ(s.allDrawdowns[0], 0.8);  // H/H0 has no unit
    s.firstSeries.head.reference = SlugHead::Reference::FirstValue;
    replaceMeasurements(s, {1.0}, {0.8});
    EXPECT_DOUBLE_EQ(s.allDrawdowns[0], 0.8 * 0.3048);  // raw displacements do
}

TEST(Measurements, BothDirectionsOfTheSpanFunctions) {
    std::vector<double> times{1.0, 90.0};
    std::vector<double> values{2.0, 4.0};
    measurementsToSI(times, values, Dimension::Length, DisplayUnits{"min", "cm", ""});
    EXPECT_EQ(times, (std::vector<double>{60.0, 5400.0}));
    EXPECT_EQ(values, (std::vector<double>{0.02, 0.04}));
    measurementsFromSI(times, values, Dimension::Length, DisplayUnits{"min", "cm", ""});
    EXPECT_EQ(times, (std::vector<double>{1.0, 90.0}));
    EXPECT_EQ(values, (std::vector<double>{2.0, 4.0}));
    measurementsToSI(times, values, Dimension::Length, DisplayUnits{});
    EXPECT_EQ(times, (std::vector<double>{1.0, 90.0}));
}

}  // namespace
}  // namespace tolvex
