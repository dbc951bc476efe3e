// How an iterative estimation ended.
#pragma once

namespace tolvex {

enum class FitEnd {
    Converged,         // the error fell below convergenceError
    IterationLimit,    // maxIterations passes were made
    Stopped,           // the user stopped the run; the best parameters reached are kept
    NoAcceptableStep,  // Marquardt found no admissible trial point (a parameter at zero or changing sign)
};

}  // namespace tolvex
