// Rate steps between the document's units, in which they are entered and shown, and SI, in which the
// state keeps them when units are set.
#pragma once

#include <vector>

#include "core/pumping/RateStep.h"
#include "core/units/Units.h"

namespace tolvex {

[[nodiscard]] inline RateStep rateStepToSI(const RateStep& step, const DisplayUnits& units) {
    return {toSI(step.time, Dimension::Time, units), toSI(step.rate, Dimension::Rate, units)};
}
[[nodiscard]] inline RateStep rateStepFromSI(const RateStep& step, const DisplayUnits& units) {
    return {fromSI(step.time, Dimension::Time, units), fromSI(step.rate, Dimension::Rate, units)};
}

// A schedule as entered in SI, and a schedule the state keeps as shown.
[[nodiscard]] inline std::vector<RateStep> rateStepsToSI(std::vector<RateStep> steps,
                                                         const DisplayUnits& units) {
    for (RateStep& step : steps) step = rateStepToSI(step, units);
    return steps;
}
[[nodiscard]] inline std::vector<RateStep> rateStepsFromSI(std::vector<RateStep> steps,
                                                           const DisplayUnits& units) {
    for (RateStep& step : steps) step = rateStepFromSI(step, units);
    return steps;
}

}  // namespace tolvex
