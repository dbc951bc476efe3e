#include "core/pumping/RecoveryViews.h"

#include <cmath>
#include <numbers>

namespace tolvex {
namespace {

// Calls add(i, t') for every measurement after the stop.
template <class Add>
void eachRecoveryReading(std::span<const double> times, std::span<const double> drawdowns, double pumpingTime,
                         Add&& add) {
    for (std::size_t i = 0; i < times.size() && i < drawdowns.size(); ++i) {
        const double since = times[i] - pumpingTime;
        if (since > 0.0) add(i, since);
    }
}

}  // namespace

std::optional<double> recoveryStart(std::span<const RateStep> steps) {
    if (steps.size() < 2 || steps.back().rate != 0.0) return std::nullopt;
    for (std::size_t i = 0; i + 1 < steps.size(); ++i)
        if (steps[i].rate != 0.0) return steps.back().time;
    return std::nullopt;
}

std::optional<double> rateBeforeRecovery(std::span<const RateStep> steps) {
    if (!recoveryStart(steps)) return std::nullopt;
    return steps[steps.size() - 2].rate;
}

std::optional<double> drawdownAtStop(std::span<const double> times, std::span<const double> drawdowns,
                                     double pumpingTime) {
    std::optional<double> latestTime, value;
    for (std::size_t i = 0; i < times.size() && i < drawdowns.size(); ++i) {
        if (!(times[i] <= pumpingTime) || (latestTime && times[i] < *latestTime)) continue;
        latestTime = times[i];
        value = drawdowns[i];
    }
    return value;
}

RecoveryView theisResidualView(std::span<const double> times, std::span<const double> drawdowns,
                               double pumpingTime) {
    RecoveryView view;
    eachRecoveryReading(times, drawdowns, pumpingTime, [&](std::size_t i, double since) {
        view.x.push_back(times[i] / since);
        view.y.push_back(drawdowns[i]);
        view.row.push_back(static_cast<int>(i));
    });
    return view;
}

RecoveryView agarwalView(std::span<const double> times, std::span<const double> drawdowns, double pumpingTime,
                         double drawdownAtStop) {
    RecoveryView view;
    eachRecoveryReading(times, drawdowns, pumpingTime, [&](std::size_t i, double since) {
        view.x.push_back(pumpingTime * since / (pumpingTime + since));
        view.y.push_back(drawdownAtStop - drawdowns[i]);
        view.row.push_back(static_cast<int>(i));
    });
    return view;
}

std::optional<RecoveryLine> theisRecoveryLine(const RecoveryView& view, double rate, double maxRatio) {
    double n = 0.0, sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
    for (std::size_t k = 0; k < view.x.size(); ++k) {
        if (!(view.x[k] <= maxRatio) || !(view.x[k] > 0.0) || !std::isfinite(view.y[k])) continue;
        const double x = std::log10(view.x[k]), y = view.y[k];
        n += 1.0;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const double spread = n * sxx - sx * sx;
    if (n < 2.0 || !(spread > 0.0)) return std::nullopt;
    RecoveryLine line;
    line.perLogCycle = (n * sxy - sx * sy) / spread;
    line.intercept = (sy - line.perLogCycle * sx) / n;
    line.points = static_cast<int>(n);
    if (!(line.perLogCycle > 0.0)) return std::nullopt;
    line.transmissivity = std::log(10.0) * rate / (4.0 * std::numbers::pi * line.perLogCycle);
    return line;
}

}  // namespace tolvex
