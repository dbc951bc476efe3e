// Drawdowns of a pumping history by superposition in time: the Theis drawdowns of two rate steps and a
// recovery against scipy's E1 (tests/reference/rate_schedule_reference.py), the superposition itself
// against a reference whose sum is known in closed form, the other superposed models against sums of
// their own constant-rate drawdowns, and the models that refuse a schedule.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/pumping/Superposition.h"
#include "core/state/Accuracy.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"
#include "support/CsvTable.h"

namespace tolvex {
namespace {

// The case of the reference script: T 5e-3 m2/s, S 1e-4, r 30 m; 4, then 7 L/s from 600 s, recovery
// from 1800 s. The reference rate is another rate again: the schedule's rates are absolute.
AnalysisState theisHistory(Accuracy accuracy) {
    AnalysisState s = makeDefaultState();
    s.modelKind = 0;
    s.pumpingRate = 0.005f;
    s.radialDistance = 30.0f;
    s.accuracy = static_cast<int>(accuracy);
    s.rateSchedule = {{0.0, 0.004}, {600.0, 0.007}, {1800.0, 0.0}};
    return s;
}

constexpr double kTheisQ[] = {0.0, 1.0e-4, 5.0e-3};  // 1-based: S, T

std::vector<double> drawdownsAt(const AnalysisState& s, int model, std::span<const double> q,
                                const std::vector<double>& times) {
    std::vector<double> out(times.size(), -1.0);
    computeDrawdownsAt(s, firstSeriesSite(s), model, q, times, out);
    return out;
}

struct AccuracyCase {
    Accuracy accuracy;
    double relative;  // the standard W is a polynomial fit (some 1e-5); the high one is exact in float
};

TEST(Superposition, TheisStepsAndRecoveryMatchTheSumOfExponentialIntegrals) {
    const auto rows =
        test::readCsvTable(std::string(TOLVEX_TEST_DATA_DIR) + "/reference/rate_schedule_theis.csv");
    std::vector<double> times, expected;
    for (const auto& row : rows) {
        times.push_back(std::stod(row.at("time")));
        expected.push_back(std::stod(row.at("drawdown")));
    }
    for (const AccuracyCase c :
         {AccuracyCase{Accuracy::Standard, 1e-4}, AccuracyCase{Accuracy::High, 1e-6}}) {
        const std::vector<double> got = drawdownsAt(theisHistory(c.accuracy), 0, kTheisQ, times);
        double worst = 0.0;
        std::size_t worstRow = 0;
        for (std::size_t i = 0; i < times.size(); ++i) {
            const double error = std::fabs(got[i] - expected[i]) / std::max(expected[i], 1e-3);
            if (error > worst) worst = error, worstRow = i;
        }
        EXPECT_LE(worst, c.relative) << "time " << times[worstRow] << ": " << got[worstRow] << " against "
                                     << expected[worstRow];
    }
}

TEST(Superposition, NoScheduleAndOneStepOfTheReferenceRateAreTheClassicTest) {
    AnalysisState s = theisHistory(Accuracy::Standard);
    const std::vector<double> times{0.0, 1.0, 10.0, 100.0, 1000.0, 1.0e4};
    s.rateSchedule.clear();
    const std::vector<double> classic = drawdownsAt(s, 0, kTheisQ, times);
    s.rateSchedule = {{0.0, s.pumpingRate}};
    EXPECT_EQ(drawdownsAt(s, 0, kTheisQ, times), classic);
    s.rateSchedule = {{0.0, 2.0 * s.pumpingRate}};
    const std::vector<double> doubled = drawdownsAt(s, 0, kTheisQ, times);
    for (std::size_t i = 0; i < times.size(); ++i) EXPECT_DOUBLE_EQ(doubled[i], 2.0 * classic[i]);
}

// A reference s_ref(t) = t makes the sum a polyline: s(t) = sum (Q_i - Q_{i-1})/Q_ref (t - t_i)^+.
TEST(Superposition, SumsTheRateChangesOverTheElapsedTimes) {
    const std::vector<RateStep> steps{{10.0, 2.0}, {20.0, 2.0}, {30.0, 5.0}, {40.0, 0.0}};
    const std::vector<double> times{50.0, 0.0, 10.0, 15.0, 20.0, 30.0, 35.0, 45.0};
    std::vector<double> out(times.size(), -1.0);
    int calls = 0;
    superposeRateSteps(steps, 4.0, times, out,
                       [&](std::span<const double> elapsed, std::span<double> values) {
                           ++calls;
                           for (std::size_t k = 0; k < elapsed.size(); ++k) {
                               EXPECT_GT(elapsed[k], 0.0);
                               values[k] = elapsed[k];
                           }
                       });
    const auto expected = [&](double t) {
        double sum = 0.0, previous = 0.0;
        for (const RateStep& step : steps) {
            if (t > step.time) sum += (step.rate - previous) / 4.0 * (t - step.time);
            previous = step.rate;
        }
        return sum;
    };
    for (std::size_t i = 0; i < times.size(); ++i) EXPECT_DOUBLE_EQ(out[i], expected(times[i])) << times[i];
    EXPECT_EQ(out[2], 0.0) << "at the first step's own time nothing has happened yet";
    EXPECT_EQ(calls, 3) << "a step to the same rate starts no well";
}

// The other superposed models: two steps are the sum of two constant-rate evaluations.
class SuperposedModel : public ::testing::TestWithParam<int> {};

TEST_P(SuperposedModel, TwoStepsAreTheSumOfShiftedConstantRateDrawdowns) {
    const int model = GetParam();
    AnalysisState s = makeDefaultState();
    s.modelKind = model;
    const std::vector<float> p = buildParameterVector(s);
    const std::vector<double> q(p.begin(), p.end());
    const std::vector<double> times{0.5, 1.0, 3.0, 10.0, 30.0};
    const double shift = 2.0, q0 = s.pumpingRate;
    const std::vector<double> single = drawdownsAt(s, model, q, times);
    std::vector<double> shifted;
    for (double t : times)
        if (t > shift) shifted.push_back(t - shift);
    const std::vector<double> late = drawdownsAt(s, model, q, shifted);
    s.rateSchedule = {{0.0, q0}, {shift, 3.0 * q0}};
    ASSERT_FALSE(checkRateScheduleInputs(s, model));
    const std::vector<double> got = drawdownsAt(s, model, q, times);
    for (std::size_t i = 0, k = 0; i < times.size(); ++i) {
        const double expected = single[i] + (times[i] > shift ? 2.0 * late[k++] : 0.0);
        EXPECT_NEAR(got[i], expected, 1e-12 * std::fabs(expected)) << "model " << model << ", t " << times[i];
        EXPECT_GT(got[i], 0.0);
    }
}

INSTANTIATE_TEST_SUITE_P(TheisLeakyStorageDoublePorosity, SuperposedModel, ::testing::Values(0, 2, 4, 7, 8));

TEST(Superposition, ModelsWithoutSuperpositionRefuseASchedule) {
    for (int model : {1, 3, 5, 6, 9, 10}) {
        AnalysisState s = makeDefaultState();
        s.modelKind = model;
        s.rateSchedule = {{0.0, 1.0}, {100.0, 0.0}};
        const auto error = checkRateScheduleInputs(s, model);
        ASSERT_TRUE(error) << model;
        EXPECT_NE(error->find("Model " + std::to_string(model)), std::string::npos) << *error;
        EXPECT_NE(error->find("superposition"), std::string::npos) << *error;
        EXPECT_EQ(checkDrawdownsDefined(s, model), error) << "the simulation and the fits say the same";
        if (model > 8) continue;
        const std::vector<float> p = buildParameterVector(s);
        const std::vector<double> q(p.begin(), p.end());
        for (double v : drawdownsAt(s, model, q, {1.0, 200.0})) EXPECT_TRUE(std::isnan(v)) << "never classic";
    }
}

TEST(Superposition, AZeroReferenceRateAndBadStepsAreRefused) {
    AnalysisState s = theisHistory(Accuracy::Standard);
    EXPECT_FALSE(checkRateScheduleInputs(s, 0));
    s.pumpingRate = 0.0f;
    ASSERT_TRUE(checkRateScheduleInputs(s, 0));
    EXPECT_NE(checkRateScheduleInputs(s, 0)->find("pumping rate is 0"), std::string::npos);
    s = theisHistory(Accuracy::Standard);
    s.rateSchedule[2].time = 100.0;
    ASSERT_TRUE(checkRateScheduleInputs(s, 0));
    EXPECT_NE(checkRateScheduleInputs(s, 0)->find("Rate step 3"), std::string::npos);
    for (double v : drawdownsAt(s, 0, kTheisQ, {1.0, 2000.0})) EXPECT_TRUE(std::isnan(v));
}

}  // namespace
}  // namespace tolvex
