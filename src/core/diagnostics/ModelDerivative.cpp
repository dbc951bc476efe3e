#include "core/diagnostics/ModelDerivative.h"

#include <cmath>
#include <limits>

#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ObservationSite.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {
namespace {

// The step in ln t. The fast well functions are approximations accurate to some 1e-7 (and joined at
// u = 1), so a tiny step would differentiate their error: Richardson's extrapolation of central
// differences over 0.02 and 0.04 keeps the truncation at O(h^4) with that error divided by 0.02 only.
constexpr double kStep = 0.02;

std::vector<double> modelDrawdowns(const AnalysisState& state, const ObservationSite& site,
                                   std::span<const double> times) {
    std::vector<double> out(times.size(), std::numeric_limits<double>::quiet_NaN());
    if (times.empty() || state.modelKind < 0 || state.modelKind > 8) return out;
    std::vector<float> p = buildParameterVector(state);
    clampParameters(p, state.modelKind);
    const std::vector<double> q(p.begin(), p.end());
    computeDrawdownsAt(state, site, state.modelKind, q, times, out);
    return out;
}

}  // namespace

std::vector<double> calculatedLogDerivative(const AnalysisState& state, std::span<const double> times) {
    return calculatedLogDerivative(state, firstSeriesSite(state), times);
}

std::vector<double> calculatedLogDerivative(const AnalysisState& state, const ObservationSite& site,
                                            std::span<const double> times) {
    constexpr double kOffsets[] = {-2.0 * kStep, -kStep, kStep, 2.0 * kStep};
    std::vector<double> shifted;
    shifted.reserve(4 * times.size());
    for (double t : times) {
        const bool usable = t > 0.0 && std::isfinite(t);
        for (double h : kOffsets) shifted.push_back(usable ? t * std::exp(h) : 0.0);
    }
    const std::vector<double> s = modelDrawdowns(state, site, shifted);
    std::vector<double> out(times.size(), std::numeric_limits<double>::quiet_NaN());
    for (std::size_t i = 0; i < times.size(); ++i) {
        if (!(times[i] > 0.0 && std::isfinite(times[i]))) continue;
        const double* v = &s[4 * i];
        const double narrow = (v[2] - v[1]) / (2.0 * kStep), wide = (v[3] - v[0]) / (4.0 * kStep);
        out[i] = (4.0 * narrow - wide) / 3.0;
    }
    return out;
}

std::vector<double> calculatedLogDerivative(const AnalysisState& state, std::span<const double> times,
                                            const DerivativeSmoothing& smoothing) {
    return logDerivative(times, modelDrawdowns(state, firstSeriesSite(state), times), smoothing);
}

}  // namespace tolvex
