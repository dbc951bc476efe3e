// Composite Gauss-Legendre quadrature on caller-chosen panels with the 12-point rule, whose nodes and
// weights are written out here to 20 digits (computed by Newton iteration on P12 in 40-digit
// arithmetic), so that the accurate well functions need no table from the analysis state.
#pragma once

#include <array>
#include <cmath>

namespace tolvex::accurate {

// The positive nodes of the 12-point rule on [-1, 1] and their weights; the rule is symmetric.
inline constexpr std::array<double, 6> kPanelNodes{0.98156063424671925069, 0.90411725637047485668,
                                                   0.76990267419430468704, 0.5873179542866174473,
                                                   0.36783149899818019375, 0.12523340851146891547};
inline constexpr std::array<double, 6> kPanelWeights{0.047175336386511827195, 0.10693932599531843096,
                                                     0.16007832854334622633,  0.20316742672306592175,
                                                     0.23349253653835480876,  0.249147045813402785};
inline constexpr int kPanelPoints = 12;

// The integral of f over [a, b] by the 12-point rule.
template <class Integrand>
[[nodiscard]] double panelIntegral(double a, double b, Integrand&& f) {
    const double half = 0.5 * (b - a);
    const double mid = 0.5 * (a + b);
    double sum = 0.0;
    for (std::size_t i = 0; i < kPanelNodes.size(); ++i) {
        const double offset = half * kPanelNodes[i];
        sum += kPanelWeights[i] * (f(mid - offset) + f(mid + offset));
    }
    return half * sum;
}

// The integral over [a, b] of f(t) dt with t = ln s: panels chosen in s, the rule applied in t, which
// suits integrands whose structure scales with s (f receives s and must return the integrand times s).
template <class Integrand>
[[nodiscard]] double logPanelIntegral(double a, double b, Integrand&& f) {
    return panelIntegral(std::log(a), std::log(b), [&](double t) { return f(std::exp(t)); });
}

}  // namespace tolvex::accurate
