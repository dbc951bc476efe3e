#include "core/typecurves/SyntheticDrawdowns.h"

#include <cmath>
#include <cstdio>

#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/LogGrid.h"
#include "core/typecurves/ParameterVector.h"
#include "core/typecurves/TypeCurveFamily.h"

namespace tolvex {
namespace {

std::string named(const char* field, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s = %g", field, value);
    return buffer;
}

}  // namespace

std::optional<std::string> checkSyntheticTimes(const AnalysisState& s) {
    if (s.usedCount < 2)
        return "The number of times must be at least 2 (" + named("usedCount", s.usedCount) + ").";
    if (s.usedCount > kMaxGridPoints) {
        return "The number of times must not exceed 65535 (" + named("usedCount", s.usedCount) + ").";
    }
    if (!(s.calcTimeMin > 0.0f) || !std::isfinite(s.calcTimeMin)) {
        return "The times must be positive numbers (" + named("calcTimeMin", s.calcTimeMin) + ").";
    }
    if (!(s.calcTimeMax > 0.0f) || !std::isfinite(s.calcTimeMax)) {
        return "The times must be positive numbers (" + named("calcTimeMax", s.calcTimeMax) + ").";
    }
    if (s.calcTimeMin > s.calcTimeMax) {
        return "The minimum time must not exceed the maximum (" + named("calcTimeMin", s.calcTimeMin) + ", " +
               named("calcTimeMax", s.calcTimeMax) + ").";
    }
    return std::nullopt;
}

void calculateDrawdowns(AnalysisState& s) {
    s.plotContent = 1;
    s.resultKind = 1;
    s.iterationsDone = 0;
    if (!s.errorHistory.empty()) s.errorHistory[0] = 0.0f;

    const int n = s.usedCount;
    s.allCount = n;
    s.useFrom = 1;
    s.useTo = n;
    s.times.assign(n, 0.0);
    for (int i = 0; i < n; ++i) s.times[i] = logGridValue(s.calcTimeMin, s.calcTimeMax, n, i);
    s.allTimes = s.times;
    s.calculated.assign(n, 0.0);

    s.modelParams = buildParameterVector(s);
    evaluateForward(s, s.modelParams, s.modelKind);
    s.measured = s.calculated;
    s.allDrawdowns = s.calculated;
    s.rmsError = 0.0f;
    s.modified = 1;
}

}  // namespace tolvex
