// A pumping history as a schedule of rates: from `time` on the well pumps `rate` until the next step.
// Recovery is a step to rate 0. An empty schedule is the classic test: the constant pumpingRate from
// time 0.
#pragma once

namespace tolvex {

struct RateStep {
    double time = 0.0;
    double rate = 0.0;
    friend bool operator==(const RateStep&, const RateStep&) = default;
};

}  // namespace tolvex
