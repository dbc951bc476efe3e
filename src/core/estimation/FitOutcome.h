// What an estimation leaves besides the state: why it stopped, whether it converged, parameters on
// their bounds, and warnings for the user.
#pragma once

#include <string>
#include <vector>

#include "core/estimation/FitEnd.h"

namespace tolvex {

struct FitOutcome {
    FitEnd end = FitEnd::IterationLimit;
    // The method's convergence test was met by the last iteration (also when the run went on to its
    // limit), or the error fell below convergenceError, or the estimate is in closed form.
    bool converged = false;
    std::vector<std::string> atBound;   // fitted fields that ended on a bound
    std::vector<std::string> warnings;  // one line each
};

// "not converged after N iterations; raise the limit or improve the start"
[[nodiscard]] std::string notConvergedWarning(int iterations);

}  // namespace tolvex
