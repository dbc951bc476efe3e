// The curve of the current family that the shifted measurements follow best: in the matching view the
// user moves the data cloud, and the curve under it supplies the shape parameter (r/B, beta, alpha,
// ...) of the match (core/diagnostics/MatchPoint.h).
#pragma once

#include <optional>
#include <span>

#include "core/diagnostics/MatchPoint.h"
#include "core/state/AnalysisState.h"

namespace tolvex {

struct NearestCurve {
    int index = 0;             // curve k of the state's family (TypeCurveFamily.h layout)
    double familyValue = 0.0;  // its label, as parametersFromMatch takes it (0 for a single curve)
    double rmsLog10 = 0.0;     // RMS of log10(y data / y curve) over the points inside the curves
    int points = 0;            // measurements that fell inside the curves' abscissa range
};

// The curve of the state's computed family (typeCurvesReady) nearest the measurements (t, s) moved by
// `shift`, measured in log10 of the ordinate, each curve read linearly in log10 x between its nodes.
// Only measurements with t > 0 and s > 0 whose shifted abscissa lies inside the family's range count,
// and only curve nodes with positive values. Nothing when no family is computed or no measurement
// lands inside it.
[[nodiscard]] std::optional<NearestCurve> nearestCurve(const AnalysisState& state,
                                                       std::span<const double> times,
                                                       std::span<const double> values,
                                                       const MatchShift& shift);

}  // namespace tolvex
