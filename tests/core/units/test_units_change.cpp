// Changing a document's units, and the fit that units make right: Q in m³/d with times in minutes gives
// the storativity of consistent units. Reference fits: tests/reference/units_reference.py (scipy's E1,
// each case fitted in its own numbers).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/commands/EstimationCommands.h"
#include "core/input/DisplayUnitsChange.h"
#include "core/input/MeasurementTable.h"
#include "core/state/AnalysisState.h"
#include "core/state/FieldTable.h"
#include "support/CsvTable.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

const DisplayUnits kMinMetreCubicPerDay{"min", "m", "m3/d"};

TEST(UnitsChange, FromNoneTheNumbersEnteredAreReadInTheNewUnits) {
    AnalysisState s = makeDefaultState();
    const AnalysisState before = s;
    changeDisplayUnits(s, kMinMetreCubicPerDay);
    EXPECT_EQ(s.units, kMinMetreCubicPerDay);
    // The numbers as shown (75.53, 8.8) are what is converted, not the floats' binary values.
    EXPECT_EQ(s.pumpingRate, static_cast<float>(75.53 / 86400.0));
    EXPECT_EQ(s.transmissivity, static_cast<float>(8.8 / 60.0));
    EXPECT_EQ(s.radialDistance, before.radialDistance);  // metres
    EXPECT_EQ(s.storativity, before.storativity);
    EXPECT_EQ(s.allTimes[0], before.allTimes[0] * 60.0);
    EXPECT_EQ(s.allDrawdowns, before.allDrawdowns);
    EXPECT_EQ(fieldText(s, *findField("pumpingRate")), "75.53");
    EXPECT_EQ(measurementTableContent(s).cellTexts, measurementTableContent(before).cellTexts);
}

TEST(UnitsChange, BetweenUnitsTheQuantitiesStay) {
    AnalysisState s = makeDefaultState();
    changeDisplayUnits(s, kMinMetreCubicPerDay);
    const AnalysisState si = s;
    changeDisplayUnits(s, DisplayUnits{"h", "ft", "L/s"});
    EXPECT_EQ(s.pumpingRate, si.pumpingRate);
    EXPECT_EQ(s.allTimes, si.allTimes);
    EXPECT_EQ(s.transmissivity, si.transmissivity);
    EXPECT_EQ(fieldText(s, *findField("calcTimeMax")), "16.666667");  // 1000 min in hours
}

TEST(UnitsChange, BackToNoneTheShownNumbersStay) {
    AnalysisState s = makeDefaultState();
    const AnalysisState original = s;
    changeDisplayUnits(s, DisplayUnits{"d", "ft", "gpm"});
    changeDisplayUnits(s, DisplayUnits{});
    EXPECT_FALSE(s.units.set());
    for (const FieldInfo& f : scalarFields()) {
        if (f.type() != FieldType::Float) continue;
        const float was = original.*std::get<float AnalysisState::*>(f.member);
        const float now = s.*std::get<float AnalysisState::*>(f.member);
        EXPECT_EQ(now, was) << f.name;  // the numbers shown are the numbers entered
    }
    for (std::size_t i = 0; i < s.allTimes.size(); ++i) {
        EXPECT_NEAR(s.allTimes[i], original.allTimes[i], 1e-12 * original.allTimes[i]);
        EXPECT_NEAR(s.allDrawdowns[i], original.allDrawdowns[i], 1e-12 * original.allDrawdowns[i]);
    }
}

TEST(UnitsChange, ParameterVectorsFollowTheirParameters) {
    AnalysisState s = makeDefaultState();
    s.modelKind = static_cast<int>(ModelKind::Leaky);
    s.paramVector[0] = 1e-4f;  // S
    s.paramVector[1] = 60.0f;  // T, m²/min
    s.paramVector[2] = 30.0f;  // b'/K', min
    changeDisplayUnits(s, kMinMetreCubicPerDay);
    EXPECT_EQ(s.paramVector[0], 1e-4f);
    EXPECT_FLOAT_EQ(s.paramVector[1], 1.0f);
    EXPECT_FLOAT_EQ(s.paramVector[2], 1800.0f);
    EXPECT_EQ(parameterDimension(s.modelKind, 3), Dimension::Time);
    EXPECT_EQ(parameterDimension(static_cast<int>(ModelKind::Unconfined), 3), Dimension::Conductivity);
}

struct ReferenceFit {
    double transmissivity = 0.0;
    double storativity = 0.0;
};

ReferenceFit referenceFit(const std::string& name) {
    for (const test::CsvRow& row :
         test::readCsvTable(std::string(TOLVEX_TEST_DATA_DIR) + "/units/units_fit_values.csv")) {
        if (row.at("case") == name)
            return {std::stod(row.at("transmissivity")), std::stod(row.at("storativity"))};
    }
    ADD_FAILURE() << "no reference case " << name;
    return {};
}

// The default pumping test (times in minutes, drawdowns in metres, r = 154 m, Q = 75.53 m³/min) entered
// in the given units: times divided by `minutesPerUnit`, lengths by `metresPerUnit`, the rate and r as
// texts; then fitted by least squares.
struct Entered {
    DisplayUnits units;
    double minutesPerUnit = 1.0;
    double metresPerUnit = 1.0;
    std::string rate;
    std::string radius = "154";
};

AnalysisState fitted(const Entered& e) {
    AnalysisState s = makeDefaultState();
    std::vector<double> times = s.allTimes;
    std::vector<double> drawdowns = s.allDrawdowns;
    for (double& t : times) t /= e.minutesPerUnit;
    for (double& d : drawdowns) d /= e.metresPerUnit;
    changeDisplayUnits(s, e.units);
    replaceMeasurements(s, times, drawdowns);
    EXPECT_FALSE(setFieldText(s, *findField("pumpingRate"), e.rate));
    EXPECT_FALSE(setFieldText(s, *findField("radialDistance"), e.radius));
    testing::ScriptedInteraction ui;
    EXPECT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Done);
    return s;
}

double shown(const AnalysisState& s, const char* name) {
    return std::stod(fieldText(s, *findField(name)));
}

void expectFit(const AnalysisState& s, const ReferenceFit& reference) {
    EXPECT_NEAR(shown(s, "storativity"), reference.storativity, 1e-4 * reference.storativity);
    EXPECT_NEAR(shown(s, "transmissivity"), reference.transmissivity, 1e-4 * reference.transmissivity);
}

TEST(UnitsFit, RateInCubicMetresPerDayWithMinutesGivesTheStorativityOfConsistentUnits) {
    // 75.53 m³/min = 108763.2 m³/d; T shown in m²/min.
    expectFit(fitted({kMinMetreCubicPerDay, 1.0, 1.0, "108763.2"}), referenceFit("minutes"));
    // Times in days: T shown in m²/d, 1440 times the m²/min above.
    expectFit(fitted({DisplayUnits{"d", "m", "m3/d"}, 1440.0, 1.0, "108763.2"}), referenceFit("days"));
}

TEST(UnitsFit, FeetGiveTheSameStorativityAndTheTransmissivityInSquareFeet) {
    constexpr double kFoot = 0.3048;
    const std::string rate = std::to_string(75.53 * 1440.0 / (kFoot * kFoot * kFoot));  // ft³/d
    const std::string radius = std::to_string(154.0 / kFoot);
    expectFit(fitted({DisplayUnits{"min", "ft", "ft3/d"}, 1.0, kFoot, rate, radius}), referenceFit("feet"));
}

TEST(UnitsFit, WithoutUnitsTheMixedUpRateGivesTheSilentlyWrongStorativity) {
    const ReferenceFit wrong = referenceFit("mixed-up");
    const AnalysisState s = fitted({DisplayUnits{}, 1.0, 1.0, "108763.2"});
    EXPECT_NEAR(s.storativity, wrong.storativity, 1e-4 * wrong.storativity);
}

}  // namespace
}  // namespace tolvex
