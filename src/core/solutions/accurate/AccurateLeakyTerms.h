// The Hantush-Jacob function W(u, r/B) at one u for the many r/B of the partial-penetration series,
// sharing what depends on u alone. With b = r/B, q = b^2 / (4u) and w0 = sqrt(u) - sqrt(q):
//   w0 < -6.5:           2 K0(b); the rest, W(q, b), is below 1e-19 of it;
//   b >= 16, w0 <= 1:    the form W = e^-b int_w0^inf 2 e^(-w^2) / sqrt(2b + w^2) dw (the
//                        substitution w = sqrt(2b) sinh(t/2) in int exp(-b cosh t) dt) with the root
//                        expanded in powers of w^2 / (2b): moments of e^(-w^2) from erfc(w0) by their
//                        recurrence, summed to the smallest term (about e^(-2b), 1e-14 of 2 K0(b));
//   q <= min(u, 10):     Hantush's series sum_k (-q)^k / k! E_{k+1}(u) on coefficients computed once
//                        per u (the E_{k+1}(u) by leakyW's recurrence);
//   otherwise:           leakyW's methods, with the series up to min(u, q) = 10 instead of 5, and
//                        (-u)^k / k! computed once per u where q > u.
// Between 5 and 10 the series' alternating terms cancel to a relative error of about
// 1e-16 exp(2 min(u, q)), up to 5e-8 of the term, while its absolute error stays below 1e-16 E1(u)
// times exp(min(u, q) - max(u, q) + u), a few units in 1e-12 of the fully penetrating value for
// u <= 10: what a term of the series needs. Measured (tests): within 1e-11 E1(u) and 1e-9 of the
// value against the mpmath table of W, worst relative 1.0e-14; the expansion and 2 K0 within 5.2e-15
// of Gauss-Kronrod quadrature of the cosh form.
#pragma once

#include <array>

namespace tolvex::accurate {

// The most terms Hantush's series takes: enough for min(u, q) = 10, which needs 60.
inline constexpr int kLeakySeriesMaxTerms = 72;

class LeakyTerms {
public:
    explicit LeakyTerms(double u);
    // W(u, rOverB); NaN for u <= 0 or a NaN argument.
    [[nodiscard]] double operator()(double rOverB);

private:
    using Coefficients = std::array<double, kLeakySeriesMaxTerms + 1>;
    [[nodiscard]] double sharedSeries(double q);
    [[nodiscard]] double complement(double q);

    double u_;
    double expMinusU_;
    // (-1)^k e^u E_{k+1}(u) / k! up to seriesLast_, and (-u)^k / k! up to complementLast_; each
    // computed at its first use (-1 before).
    int seriesLast_ = -1;
    int complementLast_ = -1;
    Coefficients series_{};
    Coefficients complement_{};
};

}  // namespace tolvex::accurate
