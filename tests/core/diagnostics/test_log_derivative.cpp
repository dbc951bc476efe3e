// ds/d ln t of measured data against analytic derivatives: Theis (1935) ds/d ln t = Q/(4 pi T) exp(-u),
// Hantush and Jacob (1955) Q/(4 pi T) exp(-u - (r/B)^2 / (4 u)); parabolas and lines in ln t, which the
// three-point and regression forms differentiate exactly at any spacing; and an unequally spaced record
// differentiated by tests/reference/log_derivative_reference.py (numpy).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/diagnostics/DiagnosticsFixtures.h"
#include "core/diagnostics/LogDerivative.h"
#include "core/diagnostics/ModelDerivative.h"
#include "support/CsvTable.h"

namespace tolvex {
namespace {

using Kind = DerivativeSmoothing::Kind;
constexpr double kPi = 3.14159265358979323846;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

DerivativeSmoothing bourdet(double l) {
    return {Kind::LSpacing, l, 3};
}
DerivativeSmoothing window(int points) {
    return {Kind::MovingWindow, 0.0, points};
}

// T = 1e-3 m^2/s, S = 1e-4 at r = 30 m: u = 22.5 s / t.
constexpr double kT = 1e-3, kS = 1e-4;
using test::kDistance;
using test::kRate;
constexpr double kU = kDistance * kDistance * kS / (4.0 * kT);

struct AnalyticCase {
    const char* name;
    int model;
    double rB;  // 0: Theis
    DerivativeSmoothing smoothing;
};

class AnalyticDerivative : public ::testing::TestWithParam<AnalyticCase> {};

// Ten points a decade from 1 s to 1e6 s; away from the ends: three points in from either end and
// where u <= 0.5. The three-point error is h^2/6 g''/g of the derivative g = exp(phi), phi = -u - a/u,
// a = (r/B)^2 / 4, in x = ln t: g''/g = (u - a/u)^2 - u - a/u; for Theis (a = 0) below 1 % at u <= 0.5
// with L = 0.2 (h = 0.46). The leaky tail, where g falls like exp(-a/u), is checked where that
// estimate stays below 0.5 % (a denser record reaches further).
TEST_P(AnalyticDerivative, AgreesWithinOnePercentAwayFromTheEnds) {
    const AnalyticCase& c = GetParam();
    std::vector<double> p{0.0, kS, kT};
    if (c.model == 2) p.push_back(kDistance * kDistance / (c.rB * c.rB * kT));  // b'/K'
    const AnalysisState s = test::pumpingState(c.model, p);
    const std::vector<double> t = test::logTimes(1.0, 6, 10);
    const std::vector<double> d = logDerivative(t, test::simulated(s, t), c.smoothing);
    ASSERT_EQ(d.size(), t.size());
    int checked = 0;
    for (std::size_t i = 3; i + 3 < t.size(); ++i) {
        const double u = kU / t[i];
        if (u > 0.5) continue;
        const double exact = kRate / (4.0 * kPi * kT) * std::exp(-u - c.rB * c.rB / (4.0 * u));
        const double a = c.rB * c.rB / 4.0, h = std::max(c.smoothing.lSpacing, 0.1) * std::log(10.0);
        const double curvature = (u - a / u) * (u - a / u) - u - a / u;
        if (c.rB > 0.0 && h * h / 6.0 * std::fabs(curvature) > 0.005) continue;
        EXPECT_NEAR(d[i], exact, 0.01 * exact) << c.name << " t=" << t[i];
        ++checked;
    }
    EXPECT_GE(checked, 8) << c.name;
}

INSTANTIATE_TEST_SUITE_P(TheisAndLeaky, AnalyticDerivative,
                         ::testing::Values(AnalyticCase{"Theis L=0", 0, 0.0, bourdet(0.0)},
                                           AnalyticCase{"Theis L=0.2", 0, 0.0, bourdet(0.2)},
                                           AnalyticCase{"leaky r/B=0.1 L=0", 2, 0.1, bourdet(0.0)},
                                           AnalyticCase{"leaky r/B=0.1 L=0.2", 2, 0.1, bourdet(0.2)},
                                           AnalyticCase{"leaky r/B=0.3 L=0", 2, 0.3, bourdet(0.0)},
                                           AnalyticCase{"Theis window 3", 0, 0.0, window(3)}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

// Times at irregular steps in ln t (0.05 to 0.9), one of them repeated.
std::vector<double> irregularTimes() {
    std::vector<double> t{0.2};
    const double steps[] = {0.05, 0.9, 0.3, 0.12, 0.6, 0.07, 0.45, 0.2, 0.8, 0.15, 0.33};
    for (double h : steps) t.push_back(t.back() * std::exp(h));
    t.insert(t.begin() + 5, t[5]);
    return t;
}

TEST(LogDerivative, ThreePointFormIsExactForParabolasInLnTAtAnySpacing) {
    const double a = 0.3, b = 1.7, c = -0.25;  // s = a + b x + c x^2, ds/dx = b + 2 c x
    const std::vector<double> t = irregularTimes();
    std::vector<double> s;
    for (double ti : t) s.push_back(a + b * std::log(ti) + c * std::log(ti) * std::log(ti));
    for (double l : {0.0, 0.1, 0.2, 0.3, 0.5}) {
        const std::vector<double> d = logDerivative(t, s, bourdet(l));
        for (std::size_t i = 1; i + 1 < t.size(); ++i)
            EXPECT_NEAR(d[i], b + 2.0 * c * std::log(t[i]), 1e-12) << "L=" << l << " i=" << i;
        // One-sided at the ends: the slope of the first and of the last step.
        EXPECT_NEAR(d.front(), (s[1] - s[0]) / std::log(t[1] / t[0]), 1e-12) << "L=" << l;
        EXPECT_NEAR(d.back(), (s.back() - s[s.size() - 2]) / std::log(t.back() / t[t.size() - 2]), 1e-12);
    }
}

TEST(LogDerivative, MovingWindowIsExactForLinesInLnTEverywhere) {
    const std::vector<double> t = irregularTimes();
    std::vector<double> s;
    for (double ti : t) s.push_back(2.0 - 0.8 * std::log(ti));
    for (int points : {3, 5, 7, 9}) {
        for (double v : logDerivative(t, s, window(points))) EXPECT_NEAR(v, -0.8, 1e-12) << points;
    }
}

TEST(LogDerivative, MatchesTheNumpyReferenceOnAnUnequallySpacedRecord) {
    const auto rows = test::readCsvTable(TOLVEX_TEST_DATA_DIR "/reference/log_derivative_unequal.csv");
    std::vector<double> t, s;
    for (const auto& row : rows) {
        t.push_back(std::stod(row.at("time")));
        s.push_back(std::stod(row.at("drawdown")));
    }
    const struct {
        const char* column;
        DerivativeSmoothing smoothing;
    } columns[] = {{"bourdet_L0", bourdet(0.0)}, {"bourdet_L02", bourdet(0.2)}, {"window5", window(5)}};
    for (const auto& c : columns) {
        const std::vector<double> d = logDerivative(t, s, c.smoothing);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::string& text = rows[i].at(c.column);
            if (text == "nan") {
                EXPECT_TRUE(std::isnan(d[i])) << c.column << " row " << i;
                continue;
            }
            const double expected = std::stod(text);
            EXPECT_NEAR(d[i], expected, 1e-9 * std::fabs(expected) + 1e-300) << c.column << " t=" << t[i];
        }
    }
}

struct ShortCase {
    const char* name;
    std::vector<double> t, s;
};

// Fewer than three distinct usable times: no derivative, and no crash.
TEST(LogDerivative, GivesNoDerivativeForFewerThanThreeUsableTimes) {
    const ShortCase cases[] = {
        {"empty", {}, {}},
        {"one", {1.0}, {0.5}},
        {"two", {1.0, 2.0}, {0.5, 0.7}},
        {"three with a repeated time", {1.0, 2.0, 2.0}, {0.5, 0.7, 0.8}},
        {"three with t = 0", {0.0, 1.0, 2.0}, {0.0, 0.5, 0.7}},
        {"three with a negative time", {-1.0, 1.0, 2.0}, {0.1, 0.5, 0.7}},
        {"three with a NaN drawdown", {1.0, 2.0, 3.0}, {0.5, kNaN, 0.7}},
        {"fewer values than times", {1.0, 2.0, 3.0}, {0.5, 0.6}},
    };
    for (const ShortCase& c : cases) {
        for (const DerivativeSmoothing& smoothing : {bourdet(0.0), bourdet(0.5), window(5)}) {
            const std::vector<double> d = logDerivative(c.t, c.s, smoothing);
            ASSERT_EQ(d.size(), c.t.size()) << c.name;
            for (double v : d) EXPECT_TRUE(std::isnan(v)) << c.name;
        }
    }
}

TEST(LogDerivative, LeavesOutUnusableTimesAndSharesRepeatedOnes) {
    // s = 2 ln t at usable times; t = 0, t < 0 and a NaN drawdown are left out; the repeated time 4
    // carries the mean of 2 ln 4 +- 0.1.
    const double l4 = 2.0 * std::log(4.0);
    const std::vector<double> t{0.0, 1.0, 2.0, -3.0, 4.0, 4.0, 8.0, 16.0, 32.0};
    const std::vector<double> s{0.0,
                                0.0,
                                2.0 * std::log(2.0),
                                1.0,
                                l4 + 0.1,
                                l4 - 0.1,
                                2.0 * std::log(8.0),
                                kNaN,
                                2.0 * std::log(32.0)};
    for (const DerivativeSmoothing& smoothing : {bourdet(0.0), bourdet(0.3), window(3), window(5)}) {
        const std::vector<double> d = logDerivative(t, s, smoothing);
        for (std::size_t i : {0u, 3u, 7u}) EXPECT_TRUE(std::isnan(d[i])) << i;
        for (std::size_t i : {1u, 2u, 4u, 5u, 6u, 8u}) EXPECT_NEAR(d[i], 2.0, 1e-12) << i;
    }
}

TEST(LogDerivative, DoesNotDependOnTheOrderOfTheMeasurements) {
    const std::vector<double> t = irregularTimes();
    std::vector<double> s;
    for (double ti : t) s.push_back(std::sin(std::log(ti)));
    std::vector<double> rt(t.rbegin(), t.rend()), rs(s.rbegin(), s.rend());
    for (const DerivativeSmoothing& smoothing : {bourdet(0.0), bourdet(0.2), window(5)}) {
        const std::vector<double> d = logDerivative(t, s, smoothing);
        const std::vector<double> r = logDerivative(rt, rs, smoothing);
        for (std::size_t i = 0; i < t.size(); ++i) EXPECT_DOUBLE_EQ(d[i], r[t.size() - 1 - i]) << i;
    }
}

TEST(LogDerivative, RefusesSmoothingsOutsideTheirRange) {
    const struct {
        DerivativeSmoothing smoothing;
        bool accepted;
    } cases[] = {{bourdet(0.0), true},   {bourdet(0.5), true},   {bourdet(-0.01), false},
                 {bourdet(0.51), false}, {bourdet(kNaN), false}, {window(3), true},
                 {window(11), true},     {window(4), false},     {window(1), false},
                 {window(-3), false}};
    for (const auto& c : cases) {
        const std::string message = checkDerivativeSmoothing(c.smoothing);
        EXPECT_EQ(message.empty(), c.accepted) << message;
    }
}

TEST(ModelDerivative, FollowsTheTheisDerivativeAtEveryTime) {
    const AnalysisState s = test::pumpingState(0, {0.0, kS, kT});
    const std::vector<double> t{0.0, 2.0, 5.0, 22.5, 100.0, 1e4, 1e6};
    const std::vector<double> d = calculatedLogDerivative(s, t);
    EXPECT_TRUE(std::isnan(d[0]));
    // The state's fields are floats: the exact derivative with the stored T and S.
    const double T = s.transmissivity, S = s.storativity, r = s.radialDistance;
    for (std::size_t i = 1; i < t.size(); ++i) {
        const double u = r * r * S / (4.0 * T * t[i]);
        const double exact = s.pumpingRate / (4.0 * kPi * T) * std::exp(-u);
        EXPECT_NEAR(d[i], exact, 1e-3 * exact + 1e-12) << "t=" << t[i];
    }
}

TEST(ModelDerivative, SmoothedLikeTheMeasurementsWhenAsked) {
    const AnalysisState s = test::pumpingState(0, {0.0, kS, kT});
    const std::vector<double> t = test::logTimes(1.0, 3, 10);
    const std::vector<double> expected = logDerivative(t, test::simulated(s, t), bourdet(0.2));
    const std::vector<double> d = calculatedLogDerivative(s, t, bourdet(0.2));
    for (std::size_t i = 0; i < t.size(); ++i) EXPECT_DOUBLE_EQ(d[i], expected[i]);
}

}  // namespace
}  // namespace tolvex
