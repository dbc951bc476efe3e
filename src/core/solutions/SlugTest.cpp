#include "core/solutions/SlugTest.h"

#include <cmath>
#include <limits>
#include <vector>

#include "core/numerics/Constants.h"
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

// The integrand is evaluated through its beta-free factors on both paths, dividing in one order, so
// the direct and the tabled values agree to the last bit.
using NodeFactors = SlugKernel::Node;

NodeFactors nodeFactors(double y, double alpha) {
    const double twoAlpha = 2.0 * alpha;
    const double first = y * besselJ0(y) - twoAlpha * besselJ1(y);
    const double second = y * besselY0(y) - twoAlpha * besselY1(y);
    return {-y * y, y, second * second + first * first};
}

double integrandAt(const NodeFactors& f, double alpha, double beta) {
    return std::exp(f.negativeYSquared * beta / alpha) / f.y / f.denominator;
}

bool invalid(double alpha) {
    return !(alpha > 0.0) || !std::isfinite(alpha);
}

double intervalRatio() {
    return std::exp((std::log(kLastBreak) - std::log(kFirstBreak)) / (kBreakCount - 1));
}

// The march over the geometric intervals, with `integral(k, lower, upper)` the Gauss-Legendre integral
// over the k-th: the one loop behind both the direct evaluation and the tabled one.
template <class Integral>
SlugEvaluation march(double alpha, Integral&& integral) {
    const double ratio = intervalRatio();
    double sum = 0.0;
    double previous = 0.0;
    double lower = 0.0;
    double upper = kFirstBreak;
    int intervals = 0;
    while (upper < kLastBreak) {
        sum += integral(intervals, lower, upper);
        ++intervals;
        // Never true on the first interval, where previous is 0.
        if (std::fabs(previous) * kRelativeChange > std::fabs(previous - sum)) break;
        previous = sum;
        lower = upper;
        upper *= ratio;
    }
    return {(8.0 / kProgramPi / kProgramPi) * alpha * sum, intervals};
}

}  // namespace

double slugIntegrand(double y, double alpha, double beta) {
    return integrandAt(nodeFactors(y, alpha), alpha, beta);
}

SlugEvaluation slugEvaluate(double beta, double alpha, const AnalysisState& state) {
    if (invalid(alpha) || !(beta >= 0.0)) return {std::numeric_limits<double>::quiet_NaN(), 0};
    const auto integrand = [alpha, beta](double y) { return slugIntegrand(y, alpha, beta); };
    return march(alpha, [&](int, double lower, double upper) {
        return gaussLegendreIntegral(lower, upper, integrand, state);
    });
}

double slugF(double beta, double alpha, const AnalysisState& state) {
    return slugEvaluate(beta, alpha, state).value;
}

SlugKernel::SlugKernel(double alpha, const AnalysisState& state) : alpha_(alpha) {
    if (invalid(alpha)) return;
    nodesPerInterval_ = state.gaussCount;
    const double ratio = intervalRatio();
    // The same nodes and weights as gaussLegendreIntegral computes for each interval.
    for (double lower = 0.0, upper = kFirstBreak; upper < kLastBreak; lower = upper, upper *= ratio) {
        const double half = (upper - lower) / 2.0;
        for (int i = 1; i <= state.gaussCount; ++i) {
            const double y = ((upper - lower) * state.gaussNodes[i] + upper + lower) / 2.0;
            nodes_.push_back(nodeFactors(y, alpha));
            weights_.push_back(half * state.gaussWeights[i]);
        }
    }
}

double SlugKernel::value(double beta) const {
    if (invalid(alpha_) || !(beta >= 0.0)) return std::numeric_limits<double>::quiet_NaN();
    return march(alpha_,
                 [&](int k, double, double) {
                     double sum = 0.0;
                     const std::size_t first = static_cast<std::size_t>(k) * nodesPerInterval_;
                     for (std::size_t i = first; i < first + nodesPerInterval_; ++i) {
                         sum += integrandAt(nodes_[i], alpha_, beta) * weights_[i];
                     }
                     return sum;
                 })
        .value;
}

}  // namespace tolvex
