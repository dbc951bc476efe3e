// The match point: data simulated from known parameters, moved by the shift placementOf gives, must lie
// on the type curve (the well functions evaluated independently of the forward model's factors), and
// the shift must give the parameters back; the closed forms T = Q W / (4 pi s), S = 4 T t u / r^2 read
// at one match point; and the round trips shift -> parameters -> shift for every model 0..8.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/diagnostics/DiagnosticsFixtures.h"
#include "core/diagnostics/MatchPoint.h"
#include "core/solutions/ConfinedLeaky.h"

namespace tolvex {
namespace {

constexpr double kProgramPiValue = 3.1415926;  // the program's pi, as its drawdown scale uses

struct PlacedCase {
    const char* name;
    int model;
    double T, S, rB;  // rB 0: Theis
};

class PlacedData : public ::testing::TestWithParam<PlacedCase> {};

TEST_P(PlacedData, LiesOnItsCurveAndGivesTheParametersBack) {
    const PlacedCase& c = GetParam();
    const double r = test::kDistance;
    std::vector<double> p{0.0, c.S, c.T};
    if (c.model == 2) p.push_back(r * r / (c.rB * c.rB * c.T));
    const AnalysisState s = test::pumpingState(c.model, p);
    const std::vector<double> stored = buildParameterVectorDouble(s);  // the float fields
    std::string reason;
    const auto placed = placementOf(s, stored, &reason);
    ASSERT_TRUE(placed) << reason;
    if (c.model == 2) {
        EXPECT_NEAR(placed->familyValue, c.rB, 1e-6 * c.rB) << c.name;
    }

    const std::vector<double> t = test::logTimes(10.0, 4, 5);
    const std::vector<double> drawdowns = test::simulated(s, t);
    for (std::size_t i = 0; i < t.size(); ++i) {
        const double x = t[i] * std::pow(10.0, placed->shift.dx);  // 1/u
        const double y = drawdowns[i] * std::pow(10.0, placed->shift.dy);
        const double w = c.model == 2 ? leakyW(1.0 / x, c.rB) : confinedW(1.0 / x);
        EXPECT_NEAR(y, w, 1e-5 * w) << c.name << " t=" << t[i];
    }
    const auto back = parametersFromMatch(s, *placed, &reason);
    ASSERT_TRUE(back) << reason;
    EXPECT_NEAR((*back)[1], c.S, 1e-6 * c.S) << c.name;
    EXPECT_NEAR((*back)[2], c.T, 1e-6 * c.T) << c.name;
    if (c.model == 2) {
        EXPECT_NEAR((*back)[3], p[3], 1e-6 * p[3]) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(TheisAndLeaky, PlacedData,
                         ::testing::Values(PlacedCase{"Theis", 0, 1e-3, 1e-4, 0.0},
                                           PlacedCase{"Theis tight", 0, 2.5e-5, 3e-6, 0.0},
                                           PlacedCase{"leaky r/B 0.1", 2, 1e-3, 1e-4, 0.1},
                                           PlacedCase{"leaky r/B 1.5", 2, 4e-2, 2e-3, 1.5}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

// The classic reading at one match point: the data point (t, s) = (100 s, 0.5 m) over the curve point
// (1/u, W) = (10, 2.0) with Q = 0.01 m^3/s and r = 30 m.
TEST(MatchPoint, ReadsTheTheisClosedFormsAtOneMatchPoint) {
    const AnalysisState s = test::pumpingState(0, {0.0, 1e-4, 1e-3});
    const MatchShift shift = shiftThrough(100.0, 0.5, 10.0, 2.0);
    EXPECT_NEAR(shift.dx, -1.0, 1e-15);
    EXPECT_NEAR(shift.dy, std::log10(4.0), 1e-15);
    const auto p = parametersFromMatch(s, {shift, 0.0});
    ASSERT_TRUE(p);
    const double Q = s.pumpingRate;  // 0.01 as a float
    const double T = Q * 2.0 / (4.0 * kProgramPiValue * 0.5);
    const double S = 4.0 * T * 100.0 * (1.0 / 10.0) / (30.0 * 30.0);
    EXPECT_NEAR((*p)[2], T, 1e-12 * T);
    EXPECT_NEAR((*p)[1], S, 1e-12 * S);
}

// A placement of each model and its family value; the state's other fields are the defaults.
struct RoundTripCase {
    int model;
    MatchPlacement placement;
};

TEST(MatchPoint, ShiftToParametersToShiftForEveryModel) {
    const RoundTripCase cases[] = {
        {0, {{1.3, 2.1}, 0.0}},  {1, {{0.7, 1.9}, 0.3}},  {2, {{1.3, 2.1}, 0.05}},
        {3, {{-0.4, 2.5}, 0.2}}, {4, {{2.2, 1.1}, 0.03}}, {5, {{-3.1, 0.0}, 1e-4}},
        {6, {{0.5, 1.7}, 0.01}}, {7, {{1.1, 2.0}, 1e-5}}, {8, {{-0.2, 2.4}, 3.0}},
    };
    for (const RoundTripCase& c : cases) {
        AnalysisState s = makeDefaultState();
        s.modelKind = c.model;
        std::string reason;
        const auto p = parametersFromMatch(s, c.placement, &reason);
        ASSERT_TRUE(p) << "model " << c.model << ": " << reason;
        ASSERT_EQ(p->size(), static_cast<std::size_t>(parameterCount(c.model) + 1)) << c.model;
        for (std::size_t k = 1; k < p->size(); ++k) EXPECT_GT((*p)[k], 0.0) << c.model << " p" << k;
        const auto back = placementOf(s, *p, &reason);
        ASSERT_TRUE(back) << "model " << c.model << ": " << reason;
        EXPECT_NEAR(back->shift.dx, c.placement.shift.dx, 1e-12) << c.model;
        EXPECT_NEAR(back->shift.dy, c.placement.shift.dy, 1e-12) << c.model;
        EXPECT_NEAR(back->familyValue, c.placement.familyValue, 1e-12 * c.placement.familyValue) << c.model;
    }
}

// The model's dimensionless groups from the parameters, written out as the forward model forms them,
// must equal the placement's: the abscissa factor, the drawdown scale and the family value.
TEST(MatchPoint, ParametersReproduceTheDimensionlessGroups) {
    AnalysisState s = makeDefaultState();
    const double r = s.radialDistance, b = s.aquiferThickness, Q = s.pumpingRate;
    const MatchPlacement m{{0.8, 1.6}, 0.4};
    for (int model : {1, 2, 6}) {
        s.modelKind = model;
        const auto p = parametersFromMatch(s, m);
        ASSERT_TRUE(p) << model;
        const double S = (*p)[1], T = (*p)[2];
        EXPECT_NEAR(std::log10(4.0 * kProgramPiValue * T / Q), m.shift.dy, 1e-12) << model;
        const double timeFactor = model == 6 ? T / (S * r * r) : 4.0 * T / (r * r * S);
        EXPECT_NEAR(std::log10(timeFactor), m.shift.dx, 1e-12) << model;
        double family = 0.0;
        if (model == 1) family = std::sqrt((*p)[3] / (T / b)) * r / b;
        if (model == 2) family = r / std::sqrt(T * (*p)[3]);
        if (model == 6) family = (*p)[3] * r * r / (b * T);
        EXPECT_NEAR(family, m.familyValue, 1e-12) << model;
    }
}

TEST(MatchPoint, RefusesWhatItCannotMatchWithAReason) {
    const struct {
        const char* name;
        int model;
        MatchPlacement placement;
        float rate;
    } cases[] = {
        {"Jacob's straight line", 9, {{0.0, 0.0}, 0.0}, 0.01f},
        {"Bouwer and Rice", 10, {{0.0, 0.0}, 0.0}, 0.01f},
        {"NaN shift", 0, {{std::nan(""), 0.0}, 0.0}, 0.01f},
        {"infinite shift", 0, {{0.0, INFINITY}, 0.0}, 0.01f},
        {"no curve chosen", 2, {{0.0, 0.0}, 0.0}, 0.01f},
        {"negative family value", 6, {{0.0, 0.0}, -1.0}, 0.01f},
        {"no pumping rate", 0, {{0.0, 0.0}, 0.0}, 0.0f},
    };
    for (const auto& c : cases) {
        AnalysisState s = makeDefaultState();
        s.modelKind = c.model;
        s.pumpingRate = c.rate;
        std::string reason;
        EXPECT_FALSE(parametersFromMatch(s, c.placement, &reason)) << c.name;
        EXPECT_FALSE(reason.empty()) << c.name;
    }
    AnalysisState s = makeDefaultState();
    std::string reason;
    EXPECT_FALSE(placementOf(s, std::vector<double>{0.0, 1e-4}, &reason));
    EXPECT_FALSE(placementOf(s, std::vector<double>{0.0, -1e-4, 1e-3}, &reason));
    EXPECT_FALSE(placementOf(s, std::vector<double>{0.0, 1e-4, std::nan("")}, &reason));
    EXPECT_FALSE(reason.empty());
}

}  // namespace
}  // namespace tolvex
