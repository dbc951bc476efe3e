// Slug test in a finite-diameter well, Cooper, Bredehoeft and Papadopulos (1967):
// normalized head F(beta, alpha) with beta = T t / rc^2 and alpha = rw^2 S / rc^2,
//   F = (8 alpha / pi^2) int_0^inf exp(-beta y^2 / alpha) dy
//                            / (y [(y J0(y) - 2 alpha J1(y))^2 + (y Y0(y) - 2 alpha Y1(y))^2]),
// integrated by Gauss-Legendre rules (the state's table) over 124 geometric intervals from 1e-6 to 20,
// stopping at the first interval that changes the sum by less than 0.1 %. pi is 3.1415926.
//
// Accuracy: that stopping test governs it. Against adaptive Boost.Math quadrature of the same integral
// with Boost's Bessel functions, the worst relative error is 3.8e-3 over alpha = 1e-10..0.1 and
// beta = 1e-3..100 where F > 1e-3 (tests); F(0, alpha), exactly 1, comes out as 0.9936..0.9971.
#pragma once

#include <cstddef>
#include <vector>

#include "core/state/AnalysisState.h"

namespace tolvex {

// One evaluation with its cost: the number of Gauss-Legendre intervals integrated (each costs
// gaussCount integrand evaluations of four Bessel functions).
struct SlugEvaluation {
    double value;
    int intervals;
};

// NaN when alpha <= 0 (the exponent divides by it) or beta < 0 (the integrand then grows without
// bound), and for non-finite alpha.
[[nodiscard]] SlugEvaluation slugEvaluate(double beta, double alpha, const AnalysisState& state);
[[nodiscard]] double slugF(double beta, double alpha, const AnalysisState& state);
[[nodiscard]] double slugIntegrand(double y, double alpha, double beta);

// F at one alpha for many beta, as a slug test's forward model needs it (alpha comes from S, beta from
// T and the time): the four Bessel functions at every node of every interval, which depend on alpha
// alone, are computed once, so a value costs an exponential per node instead of four Bessel functions.
// value(beta) is slugF(beta, alpha, state) to the last bit.
class SlugKernel {
public:
    SlugKernel(double alpha, const AnalysisState& state);
    [[nodiscard]] double value(double beta) const;

    // The integrand's factors that do not depend on beta at one node y: the integrand is
    // exp(negativeYSquared beta / alpha) / y / denominator.
    struct Node {
        double negativeYSquared;  // -y * y
        double y;
        double denominator;  // (y Y0 - 2 alpha Y1)^2 + (y J0 - 2 alpha J1)^2
    };

private:
    double alpha_;
    std::size_t nodesPerInterval_ = 0;
    std::vector<Node> nodes_;
    std::vector<double> weights_;  // half the interval's width times the rule's weight
};

}  // namespace tolvex
