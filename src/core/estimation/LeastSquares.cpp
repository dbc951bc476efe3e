#include "core/estimation/LeastSquares.h"

#include <span>
#include <vector>

#include "core/estimation/Marquardt.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {

void prepareLeastSquares(AnalysisState& s) {
    const std::vector<double> p = buildParameterVectorDouble(s);
    const int n = static_cast<int>(p.size()) - 1;
    s.lsParamCapacity = n;
    s.lsParams.assign(2 * n + 1, 0.0);
    s.lsParamFree.assign(n + 1, 1);
    for (int k = 1; k <= n; ++k) s.lsParams[k] = s.lsParams[n + k] = p[k];
}

FitEnd leastSquaresEstimation(AnalysisState& s, ProgressSink& progress, std::stop_token stop) {
    prepareLeastSquares(s);
    const FitEnd end = marquardtFit(s, progress, stop).end;
    writeParameterVector(s, std::span<const double>(s.lsParams.data(), s.lsParamCapacity + 1));
    return end;
}

FitOutcome leastSquaresEstimation(AnalysisState& s, ProgressSink& progress, std::stop_token stop,
                                  const FitControls& controls) {
    prepareLeastSquares(s);
    const VectorControls limits = vectorControls(s, controls);
    for (int k = 1; k <= s.lsParamCapacity; ++k) {
        if (limits.isFixed(k)) s.lsParamFree[k] = 0;
    }
    const MarquardtResult result = marquardtFit(s, progress, stop, limits);
    const std::span<const double> p(s.lsParams.data(), s.lsParamCapacity + 1);
    writeParameterVector(s, p);
    FitOutcome outcome;
    outcome.end = result.end;
    outcome.converged = result.converged;
    outcome.atBound = parametersAtBound(s, limits, p);
    return outcome;
}

}  // namespace tolvex
