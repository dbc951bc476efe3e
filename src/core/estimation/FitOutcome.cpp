#include "core/estimation/FitOutcome.h"

namespace tolvex {

std::string stopReasonText(FitEnd end) {
    switch (end) {
        case FitEnd::Converged:
            return "error below the convergence error";
        case FitEnd::IterationLimit:
            return "iteration limit";
        case FitEnd::Stopped:
            return "stopped by the user";
        case FitEnd::NoAcceptableStep:
            return "no acceptable step";
        case FitEnd::Settled:
            return "converged";
        case FitEnd::ClosedForm:
            return "closed form";
        case FitEnd::NothingFitted:
            return "nothing fitted";
    }
    return "unknown";
}

std::string notConvergedWarning(int iterations) {
    return "not converged after " + std::to_string(iterations) +
           " iterations; raise the limit or improve the start";
}

}  // namespace tolvex
