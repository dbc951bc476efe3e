// Slug-test heads: raw displacements with H0 given or taken from the first value, and water levels
// around a static level, become H/H0 (hand-computed tables); the Cooper et al. (1967) and the Bouwer
// and Rice (1976) fits of raw heads with H0 give what the same fits of the normalised heads give.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/commands/EstimationCommands.h"
#include "core/estimation/SlugHeadFit.h"
#include "core/input/MeasurementTable.h"
#include "core/input/SampleSets.h"
#include "core/series/SlugHeads.h"
#include "core/state/ModelKind.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using ::testing::HasSubstr;

SlugHead head(SlugHead::Reference reference, double h0 = 1.0, bool levels = false, double staticLevel = 0.0) {
    SlugHead h;
    h.reference = reference;
    h.h0 = h0;
    h.waterLevels = levels;
    h.staticLevel = staticLevel;
    return h;
}

struct HeadCase {
    const char* name;
    std::vector<double> values;
    SlugHead head;
    std::vector<double> expected;
};

TEST(SlugHeads, ValuesBecomeHOverH0AsTheSettingSays) {
    using R = SlugHead::Reference;
    const std::vector<HeadCase> cases = {
        {"classic: kept as they are", {0.816, -0.25, 1.5}, {}, {0.816, -0.25, 1.5}},
        {"H0 from the first value", {2.0, 1.0, 0.5}, head(R::FirstValue), {1.0, 0.5, 0.25}},
        {"H0 given", {0.8, 0.4, 0.1}, head(R::Number, 0.4), {2.0, 1.0, 0.25}},
        {"levels above the static level",
         {12.0, 11.0, 10.5},
         head(R::FirstValue, 1.0, true, 10.0),
         {1.0, 0.5, 0.25}},
        {"levels below it (rising head)",
         {8.0, 9.0, 9.5},
         head(R::Number, 4.0, true, 10.0),
         {0.5, 0.25, 0.125}},
        {"levels with H0 one", {9.5, 10.25}, head(R::One, 1.0, true, 10.0), {0.5, 0.25}},
        {"nothing to normalise", {}, head(R::FirstValue), {}},
    };
    for (const HeadCase& c : cases) EXPECT_EQ(normalisedHeads(c.values, c.head), c.expected) << c.name;
    EXPECT_EQ(initialDisplacement(std::vector<double>{}, head(R::FirstValue)), 0.0);
}

TEST(SlugHeads, ComputedHeadsGoBackToTheMeasuredKind) {
    using R = SlugHead::Reference;
    const std::vector<double> measured{8.0, 12.0};
    EXPECT_EQ(
        headsAsMeasured(std::vector<double>{0.5, 0.25}, 4.0, measured, head(R::Number, 4.0, true, 10.0)),
        (std::vector<double>{8.0, 11.0}));
    EXPECT_EQ(headsAsMeasured(std::vector<double>{0.5, 0.25}, 4.0, measured, head(R::Number, 4.0)),
              (std::vector<double>{2.0, 1.0}));
    EXPECT_EQ(headsAsMeasured(std::vector<double>{0.5}, 4.0, measured, SlugHead{}),
              (std::vector<double>{0.5}));
}

struct FitResult {
    float transmissivity, storativity, conductivity, rms;
    std::vector<double> measured;
};

// The slug-test sample (H/H0) written as `raw(h)` with `setting`, fitted by least squares.
FitResult fitSample(ModelKind model, double (*raw)(double), const SlugHead& setting) {
    AnalysisState s = makeDefaultState();
    installPredefinedSet(s, kSetSlugTest);
    s.modelKind = static_cast<int>(model);
    std::vector<double> values = s.allDrawdowns;
    for (double& v : values) v = raw(v);
    replaceMeasurements(s, s.allTimes, values);
    s.firstSeries.head = setting;
    testing::ScriptedInteraction ui;
    EXPECT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Done)
        << (ui.messages.empty() ? "" : ui.messages[0]);
    return {s.transmissivity, s.storativity, s.hydraulicConductivity, s.rmsError, s.measured};
}

double same(double h) {
    return h;
}
double half(double h) {
    return 0.5 * h;
}  // exact in binary
double risingLevel(double h) {
    return 100.0 - 0.5 * h;
}  // depth below a static level of 100
double byFirst(double h) {
    return h / 0.816;
}  // the sample's first head is 0.816

TEST(SlugHeadFit, RawHeadsWithH0GiveTheFitOfTheNormalisedHeads) {
    using R = SlugHead::Reference;
    for (const ModelKind model : {ModelKind::SlugTest, ModelKind::BouwerRice}) {
        const FitResult normalised = fitSample(model, same, {});
        const FitResult given = fitSample(model, half, head(R::Number, 0.5));
        // Dividing by a power of two is exact: the very same run.
        EXPECT_EQ(given.transmissivity, normalised.transmissivity);
        EXPECT_EQ(given.storativity, normalised.storativity);
        EXPECT_EQ(given.conductivity, normalised.conductivity);
        EXPECT_EQ(given.rms, normalised.rms);
        EXPECT_EQ(given.measured[0], 0.5 * 0.816);  // the table keeps the heads as entered

        const FitResult levels = fitSample(model, risingLevel, head(R::Number, 0.5, true, 100.0));
        EXPECT_NEAR(levels.transmissivity, normalised.transmissivity, 1e-4 * normalised.transmissivity);
        EXPECT_NEAR(levels.storativity, normalised.storativity, 1e-4 * normalised.storativity);
        EXPECT_NEAR(levels.conductivity, normalised.conductivity, 1e-4 * normalised.conductivity);
        EXPECT_EQ(levels.measured[0], 100.0 - 0.5 * 0.816);

        const FitResult first = fitSample(model, half, head(R::FirstValue));
        const FitResult firstNormalised = fitSample(model, byFirst, {});
        EXPECT_NEAR(first.transmissivity, firstNormalised.transmissivity,
                    1e-4 * firstNormalised.transmissivity);
        EXPECT_NEAR(first.storativity, firstNormalised.storativity, 1e-4 * firstNormalised.storativity);
        EXPECT_NEAR(first.conductivity, firstNormalised.conductivity, 1e-4 * firstNormalised.conductivity);
    }
}

TEST(SlugHeadFit, AnInitialDisplacementOfZeroIsRefusedAndNothingChanges) {
    AnalysisState s = makeDefaultState();
    installPredefinedSet(s, kSetSlugTest);
    s.modelKind = static_cast<int>(ModelKind::BouwerRice);
    std::vector<double> levels(s.allDrawdowns.size(), 10.0);
    levels[0] = 10.0;  // the first level is the static level: H0 = 0
    for (std::size_t i = 1; i < levels.size(); ++i) levels[i] = 10.0 + s.allDrawdowns[i];
    replaceMeasurements(s, s.allTimes, levels);
    s.firstSeries.head = head(SlugHead::Reference::FirstValue, 1.0, true, 10.0);
    EXPECT_THAT(*slugHeadError(s), HasSubstr("H0 = 0"));
    const AnalysisState before = s;
    testing::ScriptedInteraction ui;
    EXPECT_EQ(leastSquaresInversion(s, ui), CommandOutcome::Refused);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_THAT(ui.messages[0], HasSubstr("H0 = 0"));
    EXPECT_EQ(s.measured, before.measured);
    EXPECT_EQ(s.hydraulicConductivity, before.hydraulicConductivity);
}

}  // namespace
}  // namespace tolvex
