// The recovery views against the exact Theis recovery, computed here with Boost's E1 (independent of
// the program's well functions): the residual drawdown's straight line gives T back (Cooper and Jacob
// 1946), and Agarwal's (1980) equivalent time turns the recovery into the constant-rate drawdown curve.
#include <gtest/gtest.h>

#include <boost/math/special_functions/expint.hpp>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "core/pumping/RecoveryViews.h"

namespace tolvex {
namespace {

// Pumping 10 L/s for an hour at r = 10 m, T 5e-3 m2/s, S 1e-4, then recovery for ten hours.
constexpr double kT = 5.0e-3, kS = 1.0e-4, kR = 10.0, kQ = 0.01, kTp = 3600.0;

double theis(double t) {
    if (!(t > 0.0)) return 0.0;
    return kQ / (4.0 * std::numbers::pi * kT) * boost::math::expint(1, kR * kR * kS / (4.0 * kT * t));
}

struct Record {
    std::vector<double> times, drawdowns;
};

// Readings during pumping and recovery, log-spaced in the time since each began.
Record recoveryTest() {
    Record r;
    for (double t = 1.0; t <= kTp; t *= 1.25) r.times.push_back(t);
    r.times.push_back(kTp);
    for (double since = 1.0; since <= 10.0 * kTp; since *= 1.25) r.times.push_back(kTp + since);
    for (double t : r.times) r.drawdowns.push_back(theis(t) - theis(t - kTp));
    return r;
}

TEST(RecoveryViews, TheStopAndItsRateComeFromTheLastStep) {
    const std::vector<RateStep> recovery{{0.0, 4.0}, {600.0, 7.0}, {kTp, 0.0}};
    EXPECT_EQ(recoveryStart(recovery), kTp);
    EXPECT_EQ(rateBeforeRecovery(recovery), 7.0);
    for (const std::vector<RateStep>& none : std::vector<std::vector<RateStep>>{
             {}, {{0.0, 4.0}}, {{0.0, 0.0}, {10.0, 0.0}}, {{0.0, 4.0}, {kTp, 2.0}}}) {
        EXPECT_FALSE(recoveryStart(none));
        EXPECT_FALSE(rateBeforeRecovery(none));
    }
}

TEST(RecoveryViews, TheDrawdownAtTheStopIsTheLastReadingBeforeIt) {
    const std::vector<double> times{100.0, 3000.0, 3700.0, 3500.0, 10.0};
    const std::vector<double> drawdowns{1.0, 3.0, 0.5, 2.5, 0.1};
    EXPECT_EQ(drawdownAtStop(times, drawdowns, kTp), 2.5);
    EXPECT_EQ(drawdownAtStop(times, drawdowns, 3000.0), 3.0) << "a reading at the stop itself counts";
    EXPECT_FALSE(drawdownAtStop(times, drawdowns, 5.0));
}

TEST(RecoveryViews, TheisResidualLineGivesTheTransmissivity) {
    const Record r = recoveryTest();
    const RecoveryView view = theisResidualView(r.times, r.drawdowns, kTp);
    ASSERT_FALSE(view.x.empty());
    for (std::size_t k = 0; k < view.x.size(); ++k) {
        const double t = r.times[view.row[k]];
        EXPECT_GT(t, kTp) << "only recovery readings";
        EXPECT_DOUBLE_EQ(view.x[k], t / (t - kTp));
        EXPECT_EQ(view.y[k], r.drawdowns[view.row[k]]);
    }
    // Late recovery: t/t' <= 20 means t' >= 190 s and u' <= 2.7e-3, where Jacob's line holds to 0.3 %.
    const auto line = theisRecoveryLine(view, kQ, 20.0);
    ASSERT_TRUE(line);
    EXPECT_NEAR(line->perLogCycle, std::log(10.0) * kQ / (4.0 * std::numbers::pi * kT), 3e-3 * 0.366);
    EXPECT_NEAR(line->transmissivity, kT, 3e-3 * kT);
    EXPECT_NEAR(line->intercept, 0.0, 5e-3) << "the line of an ideal aquifer passes through t/t' = 1";
    // All points, the early ones far from the line, give a worse T.
    const auto all = theisRecoveryLine(view, kQ, std::numeric_limits<double>::infinity());
    ASSERT_TRUE(all);
    EXPECT_GT(all->points, line->points);
    EXPECT_GT(std::fabs(all->transmissivity - kT), std::fabs(line->transmissivity - kT));
    EXPECT_FALSE(theisRecoveryLine(view, kQ, 1.0)) << "no point has t/t' <= 1";
}

TEST(RecoveryViews, AgarwalTimeTurnsTheRecoveryIntoTheDrawdownCurve) {
    const Record r = recoveryTest();
    const double sp = theis(kTp);
    const RecoveryView view = agarwalView(r.times, r.drawdowns, kTp, sp);
    ASSERT_FALSE(view.x.empty());
    int compared = 0;
    for (std::size_t k = 0; k < view.x.size(); ++k) {
        const double since = r.times[view.row[k]] - kTp;
        EXPECT_DOUBLE_EQ(view.x[k], kTp * since / (kTp + since));
        EXPECT_DOUBLE_EQ(view.y[k], sp - r.drawdowns[view.row[k]]);
        if (since > kTp) continue;
        // Agarwal's time is exact where Jacob's approximation holds at t_p and t'; the rest is of the
        // order of u(t_p) = 1.4e-4 and of u(t') t'/t_p, below 2e-4 of the drawdown here.
        const double expected = theis(view.x[k]);
        EXPECT_NEAR(view.y[k], expected, 5e-4 * expected) << "t' " << since;
        // The time since the stop itself is no substitute once t' is a sizeable part of t_p.
        if (since > 0.2 * kTp) {
            EXPECT_GT(std::fabs(theis(since) - view.y[k]), 1e-2 * expected);
        }
        ++compared;
    }
    EXPECT_GT(compared, 30);
}

}  // namespace
}  // namespace tolvex
