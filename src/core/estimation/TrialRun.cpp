#include "core/estimation/TrialRun.h"

#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {

void trialRun(AnalysisState& s) {
    s.iterationsDone = 1;
    s.modelParams = buildParameterVector(s);
    s.rmsError = forwardMisfit(s, s.modelParams, s.modelKind);
    const int n = parameterCount(s.modelKind);
    s.paramCount = n;
    for (int i = 1; i <= n && i <= kParamVectorCapacity; ++i) s.paramVector[i - 1] = s.modelParams[i];
    if (!s.errorHistory.empty()) s.errorHistory[0] = s.rmsError;
}

}  // namespace tolvex
