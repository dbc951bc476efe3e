#include "core/estimation/JacobStraightLine.h"

#include <cmath>

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
    if (!(s.radialDistance > 0.0f)) {
        return "The radial distance must be positive (radialDistance = " +
               formatGeneral(s.radialDistance, 6) + ").";
    }
    if (!(s.pumpingRate > 0.0f))
        return "The pumping rate must be positive (pumpingRate = " + formatGeneral(s.pumpingRate, 6) + ").";
    return std::nullopt;
}

Line regression(const AnalysisState& s) {
    const double r2 = static_cast<double>(s.radialDistance) * s.radialDistance;
    const int n = s.usedCount;
    double sx = 0.0, sxx = 0.0, sxy = 0.0, sy = 0.0;
    for (int i = 0; i < n; ++i) {
        const double x = -std::log(r2 / (4.0 * s.times[i]));
        sx += x;
        sxx += x * x;
        sxy += s.measured[i] * x;
        sy += s.measured[i];
    }
    Line line;
    line.slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    line.intercept = (sy - line.slope * sx) / n;
    return line;
}

}  // namespace

std::optional<std::string> jacobFit(AnalysisState& s) {
    if (auto error = checkInputs(s)) return error;
    const Line line = regression(s);
    if (!(line.slope > 0.0) || !std::isfinite(line.slope)) {
        return std::string(
            "The drawdowns do not rise with time: Jacob's straight line has no positive slope.");
    }
    const double q = s.pumpingRate;
    const double r2 = static_cast<double>(s.radialDistance) * s.radialDistance;
    s.transmissivity = static_cast<float>(q / (4.0 * kProgramPi * line.slope));
    const double t = s.transmissivity;
    s.storativity =
        static_cast<float>(t * std::exp(-kEulerGamma - 4.0 * kProgramPi * t * line.intercept / q));
    const double storativity = s.storativity;

    const int n = s.usedCount;
    if (static_cast<int>(s.calculated.size()) < n) s.calculated.resize(n);
    float sum = 0.0f;
    for (int i = 0; i < n; ++i) {
        const double u = r2 * storativity / (4.0 * t * s.times[i]);
        s.calculated[i] = q / (4.0 * kProgramPi * t) * (-kEulerGamma - std::log(u));
        const double r = s.measured[i] - s.calculated[i];
        sum = static_cast<float>(sum + r * r);
    }
    s.rmsError = static_cast<float>(std::sqrt(static_cast<double>(sum) / n));
    return std::nullopt;
}

}  // namespace tolvex
