// How an iterative estimation ended.
#pragma once

#include <string>

namespace tolvex {

enum class FitEnd {
    Converged,         // the error fell below convergenceError
    IterationLimit,    // maxIterations passes were made
    Stopped,           // the user stopped the run; the best parameters reached are kept
    NoAcceptableStep,  // Marquardt found no admissible trial point (a parameter at zero or changing sign)
    Settled,           // the method's own convergence test was met and the run stopped there
    ClosedForm,        // an estimate in closed form (Jacob's straight line): nothing to iterate
    NothingFitted,     // the trial run: the misfit of the values as entered
};

// The stop reason as the command line reports it: "converged", "iteration limit", "stopped by the
// user", "error below the convergence error", "no acceptable step", "closed form", "nothing fitted".
[[nodiscard]] std::string stopReasonText(FitEnd end);

}  // namespace tolvex
