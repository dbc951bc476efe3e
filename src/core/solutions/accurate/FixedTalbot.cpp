#include "core/solutions/accurate/FixedTalbot.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tolvex::accurate {
namespace {

// Shape of the contour (Trefethen, Weideman and Schmelzer 2006, section 3).
constexpr double kScale = 0.5017;
constexpr double kAngle = 0.6407;
constexpr double kShift = -0.6122;
constexpr double kSlope = 0.2645;
// The precision of a node's transform value: the sum's rounding relative to the node's weight.
constexpr double kRounding = 1e-16;
constexpr double kFinest = 1e-17;
constexpr double kCoarsest = 1e-3;

[[nodiscard]] std::array<TalbotNode, kTalbotValues> computeNodes() {
    constexpr double n = kTalbotNodes;
    std::array<TalbotNode, kTalbotValues> nodes{};
    for (int k = 0; k < kTalbotValues; ++k) {
        // Midpoints theta_k = (k + 1/2) 2 pi / N of the upper half; the lower half are their conjugates.
        const double theta = (k + 0.5) * 2.0 * std::numbers::pi / n;
        const double cot = 1.0 / std::tan(kAngle * theta);
        const double sine = std::sin(kAngle * theta);
        const std::complex<double> point =
            n * std::complex<double>(kScale * theta * cot + kShift, kSlope * theta);
        const std::complex<double> derivative =
            n * std::complex<double>(kScale * (cot - kAngle * theta / (sine * sine)), kSlope);
        // (1/(2 pi i)) e^{z} dz over the step 2 pi / N, doubled for the conjugate half.
        nodes[k] = {point, 2.0 / n * std::exp(point) * derivative / std::complex<double>(0.0, 1.0), 0.0};
    }
    double largest = 0.0;
    for (const TalbotNode& node : nodes) largest = std::fmax(largest, std::abs(node.weight));
    for (TalbotNode& node : nodes) {
        node.tolerance = std::clamp(kRounding * largest / std::abs(node.weight), kFinest, kCoarsest);
    }
    return nodes;
}

}  // namespace

const std::array<TalbotNode, kTalbotValues>& talbotNodes() {
    static const std::array<TalbotNode, kTalbotValues> nodes = computeNodes();
    return nodes;
}

}  // namespace tolvex::accurate
