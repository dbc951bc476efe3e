// Drawdowns of a pumping history by superposition in time (Theis 1935; Kruseman and de Ridder 1990,
// ch. 12): each change of rate at t_i starts a new well whose rate is the change, so
//     s(t) = sum over t_i < t of (Q_i - Q_{i-1}) / Q_ref * s_ref(t - t_i),      Q_{-1} = 0,
// where s_ref is the drawdown of the constant reference rate Q_ref. It holds for every model whose
// drawdown is linear in the rate and whose aquifer does not change with time.
#pragma once

#include <functional>
#include <span>

#include "core/pumping/RateStep.h"

namespace tolvex {

// Fills out[k] with the constant-rate reference drawdown at the elapsed times[k] (all > 0).
using ReferenceDrawdowns = std::function<void(std::span<const double> times, std::span<double> out)>;

// out[i] = s(times[i]) for the steps in time order; times at or before the first step give 0. The
// reference is called once per step that changes the rate, with the times after that step, so that a
// model's own parallel loop over the times stays effective. referenceRate must not be 0.
void superposeRateSteps(std::span<const RateStep> steps, double referenceRate, std::span<const double> times,
                        std::span<double> out, const ReferenceDrawdowns& reference);

}  // namespace tolvex
