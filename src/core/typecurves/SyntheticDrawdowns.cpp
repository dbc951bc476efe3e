#include "core/typecurves/SyntheticDrawdowns.h"

#include <cmath>
#include <utility>

#include "core/state/FieldTable.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/LogGrid.h"
#include "core/typecurves/ParameterVector.h"
#include "core/typecurves/TypeCurveFamily.h"

namespace tolvex {
namespace {

std::string named(const char* field, double value) {
    return std::string(field) + " = " + formatGeneral(value, 6);
}

}  // namespace

std::optional<TimeRangeError> checkSyntheticTimeRange(long long count, float min, float max) {
    const auto countText = [&] { return " (usedCount = " + std::to_string(count) + ")."; };
    if (count < 2) return TimeRangeError{0, "The number of times must be at least 2" + countText()};
    if (count > kMaxGridPoints)
        return TimeRangeError{0, "The number of times must not exceed 65535" + countText()};
    if (!(min > 0.0f) || !std::isfinite(min)) {
        return TimeRangeError{1, "The times must be positive numbers (" + named("calcTimeMin", min) + ")."};
    }
    if (!(max > 0.0f) || !std::isfinite(max)) {
        return TimeRangeError{2, "The times must be positive numbers (" + named("calcTimeMax", max) + ")."};
    }
    if (min > max) {
        return TimeRangeError{1, "The minimum time must not exceed the maximum (" +
                                     named("calcTimeMin", min) + ", " + named("calcTimeMax", max) + ")."};
    }
    return std::nullopt;
}

std::optional<std::string> checkSyntheticTimes(const AnalysisState& s) {
    auto error = checkSyntheticTimeRange(s.usedCount, s.calcTimeMin, s.calcTimeMax);
    if (!error) return std::nullopt;
    return std::move(error->message);
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
