#include "core/solutions/SlugTest.h"

#include <cmath>
#include <limits>

#include "core/solutions/Constants.h"
#include "core/solutions/GaussLegendre.h"
#include "core/solutions/SpecialFunctions.h"

namespace tolvex {
namespace {

// Break points 1e-6 * q^k up to 20: below 1e-6 the integrand is negligible (it vanishes like y as
// y -> 0), above 20 exp(-beta y^2/alpha) has killed it for every beta of interest.
constexpr double kFirstBreak = 1e-6;
constexpr double kLastBreak = 20.0;
constexpr int kBreakCount = 125;
constexpr double kRelativeChange = 0.001;

}  // namespace

double slugIntegrand(double y, double alpha, double beta) {
    const double twoAlpha = 2.0 * alpha;
    const double first = y * besselJ0(y) - twoAlpha * besselJ1(y);
    const double second = y * besselY0(y) - twoAlpha * besselY1(y);
    return std::exp(-y * y * beta / alpha) / y / (second * second + first * first);
}

SlugEvaluation slugEvaluate(double beta, double alpha, const AnalysisState& state) {
    if (!(alpha > 0.0) || !std::isfinite(alpha) || !(beta >= 0.0)) {
        return {std::numeric_limits<double>::quiet_NaN(), 0};
    }
    const double ratio = std::exp((std::log(kLastBreak) - std::log(kFirstBreak)) / (kBreakCount - 1));
    const auto integrand = [alpha, beta](double y) { return slugIntegrand(y, alpha, beta); };
    double sum = 0.0;
    double previous = 0.0;
    double lower = 0.0;
    double upper = kFirstBreak;
    int intervals = 0;
    while (upper < kLastBreak) {
        sum += gaussLegendreIntegral(lower, upper, integrand, state);
        ++intervals;
        // Never true on the first interval, where previous is 0.
        if (std::fabs(previous) * kRelativeChange > std::fabs(previous - sum)) break;
        previous = sum;
        lower = upper;
        upper *= ratio;
    }
    return {(8.0 / kProgramPi / kProgramPi) * alpha * sum, intervals};
}

double slugF(double beta, double alpha, const AnalysisState& state) {
    return slugEvaluate(beta, alpha, state).value;
}

}  // namespace tolvex
