#include "core/estimation/JacobStraightLine.h"

#include <cmath>
#include <vector>

#include "core/estimation/JointSeries.h"
#include "core/numerics/Constants.h"
#include "core/state/FieldTable.h"
#include "core/typecurves/ForwardModel.h"

namespace tolvex {
namespace {

constexpr double kEulerGamma = 0.5772;  // four decimals, as in Cooper and Jacob's formula

struct Line {
    double slope = 0.0;
    double intercept = 0.0;
};

std::optional<std::string> checkInputs(const AnalysisState& s) {
    if (auto error = checkMisfitInputs(s, s.modelKind, MisfitForm::Plain)) return error;
    bool allEqual = true;
    for (int i = 1; i < s.usedCount; ++i) allEqual = allEqual && s.times[i] == s.times[0];
    if (allEqual)
        return std::string(
            "All measurement times are equal: Jacob's straight line needs two different times.");
    if (!(s.radialDistance > 0.0f) && !s.joint.joined()) {
        return "The radial distance must be positive (radialDistance = " +
               formatGeneral(s.radialDistance, 6) + ").";
    }
    for (const JointSegment& segment : s.joint.segments) {
        const float r = segment.series == 0
                            ? s.radialDistance
                            : s.extraSeries[static_cast<std::size_t>(segment.series - 1)].radialDistance;
        if (!(r > 0.0f))
            return "The radial distance of " + seriesLabel(s, segment.series) + " must be positive (it is " +
                   formatGeneral(r, 6) + ").";
    }
    if (!(s.pumpingRate > 0.0f))
        return "The pumping rate must be positive (pumpingRate = " + formatGeneral(s.pumpingRate, 6) + ").";
    return std::nullopt;
}

// The line through (x, s) with x = -ln(r^2/(4t)), each point at its own series' distance r: on
// several wells the drawdowns fall on one line in t/r^2 (Cooper and Jacob 1946). Joined series weigh
// their points (weighted least squares); the classic series has weight 1 everywhere, which leaves the
// plain regression's arithmetic exactly as it was.
Line regression(const AnalysisState& s, const std::vector<double>& r2) {
    const int n = s.usedCount;
    double sw = 0.0, sx = 0.0, sxx = 0.0, sxy = 0.0, sy = 0.0;
    for (int i = 0; i < n; ++i) {
        const double w = pointWeight(s, i);
        const double x = -std::log(r2[i] / (4.0 * s.times[i]));
        sw += w;
        sx += w * x;
        sxx += w * x * x;
        sxy += w * s.measured[i] * x;
        sy += w * s.measured[i];
    }
    Line line;
    line.slope = (sw * sxy - sx * sy) / (sw * sxx - sx * sx);
    line.intercept = (sy - line.slope * sx) / sw;
    return line;
}

}  // namespace

std::optional<std::string> jacobFit(AnalysisState& s) {
    if (auto error = checkInputs(s)) return error;
    const std::vector<double> r2 = pointRadiiSquared(s);
    const Line line = regression(s, r2);
    if (!(line.slope > 0.0) || !std::isfinite(line.slope)) {
        return std::string(
            "The drawdowns do not rise with time: Jacob's straight line has no positive slope.");
    }
    const double q = s.pumpingRate;
    s.transmissivity = static_cast<float>(q / (4.0 * kProgramPi * line.slope));
    const double t = s.transmissivity;
    s.storativity =
        static_cast<float>(t * std::exp(-kEulerGamma - 4.0 * kProgramPi * t * line.intercept / q));
    const double storativity = s.storativity;

    const int n = s.usedCount;
    if (static_cast<int>(s.calculated.size()) < n) s.calculated.resize(n);
    float sum = 0.0f;
    for (int i = 0; i < n; ++i) {
        const double u = r2[i] * storativity / (4.0 * t * s.times[i]);
        s.calculated[i] = q / (4.0 * kProgramPi * t) * (-kEulerGamma - std::log(u));
        const double r = s.measured[i] - s.calculated[i];
        sum = static_cast<float>(sum + pointWeight(s, i) * r * r);
    }
    s.rmsError = static_cast<float>(std::sqrt(static_cast<double>(sum) / n));
    return std::nullopt;
}

}  // namespace tolvex
