// Shared set-up of the diagnostics tests: a pumping test of known parameters, its drawdowns from the
// forward model, and log-spaced times.
#pragma once

#include <cmath>
#include <span>
#include <vector>

#include "core/state/AnalysisState.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ObservationSite.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex::test {

inline constexpr double kRate = 0.01;      // m^3/s
inline constexpr double kDistance = 30.0;  // m

// The model's state with Q, r and the parameter vector p (1-based) written into its fields.
inline AnalysisState pumpingState(int model, const std::vector<double>& p) {
    AnalysisState s = makeDefaultState();
    s.modelKind = model;
    s.pumpingRate = static_cast<float>(kRate);
    s.radialDistance = static_cast<float>(kDistance);
    writeParameterVector(s, std::span<const double>(p));
    return s;
}

// `perDecade` log-spaced times from `first` over `decades` decades.
inline std::vector<double> logTimes(double first, int decades, int perDecade) {
    std::vector<double> t;
    for (int k = 0; k <= decades * perDecade; ++k) t.push_back(first * std::pow(10.0, double(k) / perDecade));
    return t;
}

// The state's drawdowns at the times, from its own (float) fields.
inline std::vector<double> simulated(const AnalysisState& s, const std::vector<double>& times) {
    const std::vector<double> q = buildParameterVectorDouble(s);
    std::vector<double> out(times.size());
    computeDrawdownsAt(s, firstSeriesSite(s), s.modelKind, q, times, out);
    return out;
}

}  // namespace tolvex::test
