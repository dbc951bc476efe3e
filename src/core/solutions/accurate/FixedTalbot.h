// Numerical inversion of Laplace transforms on a fixed Talbot (1979) contour, as in Abate and Valko
// (2004), Int. J. Numer. Meth. Engng 60, 979-993, with the contour shape optimized by Trefethen,
// Weideman and Schmelzer (2006), BIT 46, 653-670:
//   p(theta) = (N/t) (0.5017 theta cot(0.6407 theta) - 0.6122 + 0.2645 i theta), -pi < theta < pi,
// integrated by the midpoint rule in theta. The contour wraps the negative real axis, so the transform
// must be analytic off it (the double-porosity transforms are: their branch cuts and poles lie there),
// real on the positive axis (F(conj p) = conj F(p): half the nodes suffice), and its values on the
// contour need no continuation from the real axis.
//
// N = 24 (12 transform values): error on E1(1/(4t)) = L^-1[2 K0(sqrt p)/p] below 3e-12 relative over
// t = 0.1..1e8 and on (pi t)^-1/2 below 1e-13 (tests); N = 20 gives 6e-10, N = 28 3e-14; the largest weight
// |e^{p t}| is e^{0.17 N}, so rounding stays near 1e-14.
#pragma once

#include <array>
#include <complex>
#include <type_traits>

namespace tolvex::accurate {

inline constexpr int kTalbotNodes = 24;
inline constexpr int kTalbotValues = kTalbotNodes / 2;

// One node of the upper half of the contour at t = 1: f(t) = Re sum weight F(point / t) / t.
// `tolerance` is the relative precision the transform's value needs at that node: the rounding of the
// sum (1e-16 of the largest weight) over the node's weight, between 1e-17 and 1e-3; the far nodes,
// weighted by e^{-10} and less, need few digits.
struct TalbotNode {
    std::complex<double> point;
    std::complex<double> weight;
    double tolerance;
};

[[nodiscard]] const std::array<TalbotNode, kTalbotValues>& talbotNodes();

// f(t) of the transform F, t > 0: F(p) or F(p, tolerance) (complex, double -> complex), which may
// evaluate F only to the relative tolerance of the node.
template <class Transform>
[[nodiscard]] double talbotInvert(double t, Transform&& transform) {
    double sum = 0.0;
    for (const TalbotNode& node : talbotNodes()) {
        const std::complex<double> p = node.point / t;
        if constexpr (std::is_invocable_v<Transform, std::complex<double>, double>) {
            sum += (node.weight * transform(p, node.tolerance)).real();
        } else {
            sum += (node.weight * transform(p)).real();
        }
    }
    return sum / t;
}

}  // namespace tolvex::accurate
