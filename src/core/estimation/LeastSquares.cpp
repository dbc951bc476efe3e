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

}  // namespace tolvex
