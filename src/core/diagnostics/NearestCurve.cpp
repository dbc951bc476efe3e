#include "core/diagnostics/NearestCurve.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tolvex {
namespace {

// log10 of curve k at log10 x, NaN outside the curve or next to a node that is not positive.
double curveLog10(const AnalysisState& s, int k, int nx, double lx) {
    const auto first = s.curveX.begin() + 1, last = s.curveX.begin() + 1 + nx;
    const auto above = std::upper_bound(first, last, static_cast<float>(std::pow(10.0, lx)));
    int i = static_cast<int>(above - s.curveX.begin());  // 1-based node above
    if (i > nx) i = nx;
    if (i < 2) i = 2;
    const double x0 = std::log10(s.curveX[i - 1]), x1 = std::log10(s.curveX[i]);
    if (lx < x0 - 1e-12 || lx > x1 + 1e-12 || !(x1 > x0)) return std::nan("");
    const double y0 = s.curveY[static_cast<std::size_t>(k) * nx + i - 1];
    const double y1 = s.curveY[static_cast<std::size_t>(k) * nx + i];
    if (!(y0 > 0.0) || !(y1 > 0.0)) return std::nan("");
    const double f = (lx - x0) / (x1 - x0);
    return std::log10(y0) + f * (std::log10(y1) - std::log10(y0));
}

}  // namespace

std::optional<NearestCurve> nearestCurve(const AnalysisState& s, std::span<const double> times,
                                         std::span<const double> values, const MatchShift& shift) {
    const int nx = s.curveXCount - 1, nf = std::max(s.familyCount, 1);
    if (s.typeCurvesReady != 1 || nx < 2 || static_cast<int>(s.curveX.size()) <= nx ||
        s.curveY.size() < static_cast<std::size_t>(nx) * nf + 1)
        return std::nullopt;
    const double lo = std::log10(s.curveX[1]), hi = std::log10(s.curveX[nx]);
    std::optional<NearestCurve> best;
    for (int k = 0; k < nf; ++k) {
        double sum = 0.0;
        int count = 0;
        for (std::size_t i = 0; i < std::min(times.size(), values.size()); ++i) {
            if (!(times[i] > 0.0) || !(values[i] > 0.0)) continue;
            const double lx = std::log10(times[i]) + shift.dx;
            if (!(lx >= lo && lx <= hi)) continue;
            const double curve = curveLog10(s, k, nx, lx);
            if (std::isnan(curve)) continue;
            const double d = std::log10(values[i]) + shift.dy - curve;
            sum += d * d;
            ++count;
        }
        if (count == 0) continue;
        const double rms = std::sqrt(sum / count);
        // A curve read at fewer points (nodes of 0 in its tail) must not win by leaving them out.
        if (!best || count > best->points || (count == best->points && rms < best->rmsLog10)) {
            const double label = s.modelKind == 0 ? 0.0 : s.familyValues[static_cast<std::size_t>(k)];
            best = NearestCurve{k, label, rms, count};
        }
    }
    return best;
}

}  // namespace tolvex
