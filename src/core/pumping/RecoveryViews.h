// The classic views of a recovery test, in which the pump stops at t_p (a last step to rate 0) and
// the residual drawdown s' is read at t' = t - t_p:
// - Theis (1935) residual drawdown: s' against t/t' on a logarithmic axis. Late in the recovery
//   (small t/t') it is the straight line s' = 2.3 Q/(4 pi T) log10(t/t') (Cooper and Jacob 1946), so
//   the change of s' over one log cycle gives T, with Q the rate before the stop.
// - Agarwal (1980) equivalent time: t_e = t_p t'/(t_p + t') and the recovery s_r = s(t_p) - s'. Where
//   Jacob's approximation holds at t', s_r(t_e) is the drawdown a constant rate causes at time t_e, so
//   a recovery record is fitted as a drawdown record of any model.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "core/pumping/RateStep.h"

namespace tolvex {

// A view's points in the order of the measurements they come from; row holds each point's 0-based
// measurement index. Only measurements after the stop (t' > 0) enter a view.
struct RecoveryView {
    std::vector<double> x, y;
    std::vector<int> row;
};

// The time the pump stopped: the last step, when its rate is 0 and it follows a step that pumped.
[[nodiscard]] std::optional<double> recoveryStart(std::span<const RateStep> steps);
// The rate before that stop (the Q of the Theis recovery line); nothing without a recovery.
[[nodiscard]] std::optional<double> rateBeforeRecovery(std::span<const RateStep> steps);

// The drawdown when the pump stopped: the measurement with the latest time at or before t_p. Readings
// after t_p are recovery and never enter it. Nothing when no measurement is that early.
[[nodiscard]] std::optional<double> drawdownAtStop(std::span<const double> times,
                                                   std::span<const double> drawdowns, double pumpingTime);

// x = t/t', y = s'.
[[nodiscard]] RecoveryView theisResidualView(std::span<const double> times, std::span<const double> drawdowns,
                                             double pumpingTime);
// x = t_e, y = s(t_p) - s'.
[[nodiscard]] RecoveryView agarwalView(std::span<const double> times, std::span<const double> drawdowns,
                                       double pumpingTime, double drawdownAtStop);

// The Theis recovery line through the points with t/t' <= maxRatio (least squares of s' on
// log10(t/t')): its change of s' per log cycle and the transmissivity 2.3 Q/(4 pi change).
struct RecoveryLine {
    double perLogCycle = 0.0;
    double intercept = 0.0;  // s' at t/t' = 1, 0 for an ideal aquifer
    double transmissivity = 0.0;
    int points = 0;
};
// Nothing when fewer than two distinct ratios are in range or the line does not fall towards t/t' = 1.
[[nodiscard]] std::optional<RecoveryLine> theisRecoveryLine(const RecoveryView& view, double rate,
                                                            double maxRatio);

}  // namespace tolvex
