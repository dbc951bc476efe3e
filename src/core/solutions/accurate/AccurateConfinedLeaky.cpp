// The Theis, Hantush-Jacob and Hantush (1960) well functions to full double precision.
//
// theisW: E1 by Boost.Math's rational approximations (expint), in double without promotion to long
//   double; the continuation -Ei(-x) below 0 and -1e30 at 0 as confinedW gives them.
// leakyW: the convergent series of Hantush (1956),
//     W(u, r/B) = sum_n (-q)^n / n! E_{n+1}(u),  q = (r/B)^2 / (4u),
//   summed where q <= u; where q > u the symmetry W(u, r/B) = 2 K0(r/B) - W(q, r/B) swaps the roles
//   of u and q (Boost's K0 in double; the subtraction loses nothing, W(q) <= K0 <= the result). The
//   E_{n+1} come from the recurrence n E_{n+1} = e^-u - u E_n run in its stable direction from an
//   accurate start. The alternating terms sum to at most exp(2 min(u, q)) <= exp(r/B) times the
//   value, so the rounding error is about 1e-16 exp(r/B), a few units in 1e-14 for r/B <= 5. Where
//   min(u, q) exceeds 5 (r/B > 10, beyond the type curves) the series would lose more, and the form
//   W = int_t0^inf exp(-(r/B) cosh t) dt of the substitution y = (r/2B) e^t, t0 = ln(2 max(u, q)/(r/B)),
//   a positive integrand, is integrated by panels instead. The series costs a few dozen multiplications
//   where composite Gauss-Legendre panels of the defining integral would cost a hundred exponentials.
// LeakyTerms (AccurateLeakyTerms.h): W(u, r/B) for the partial-penetration series, one u and many r/B.
// storageH: Gauss-Legendre panels in ln s, s = y - u, with the exact erfc: panels over which the
//   erfc argument z = beta sqrt(u / (s (u + s))) falls from 8 to 1 by factors of sqrt 2 and then to
//   1/16 by halves (they resolve the transition near y = u at any u and beta), then decades up to
//   s = 1 and doublings to 45 beyond the centre of the transition (no panel longer than 10), where
//   the integrand has fallen by exp(-45): no cut at y = 10 remains.
// Measured worst relative errors against the 30-digit mpmath references (tests), whose ranges contain
// the type-curve grids: theisW 3.8e-16 (u = 1e-10..500), leakyW 1.1e-14 (u = 1e-8..20,
// r/B = 0..80), storageH 5.6e-16 (u = 1e-8..30, beta up to 50); against adaptive Gauss-Kronrod of
// the definitions 1.6e-12 and 8.8e-16.
#include <algorithm>
#include <array>
#include <boost/math/policies/policy.hpp>
#include <boost/math/special_functions/bessel.hpp>
#include <boost/math/special_functions/expint.hpp>
#include <cmath>
#include <limits>
#include <numbers>

#include "core/solutions/accurate/AccurateLeakyTerms.h"
#include "core/solutions/accurate/AccurateWellFunctions.h"
#include "core/solutions/accurate/PanelQuadrature.h"

namespace tolvex::accurate {
namespace {

// Double precision throughout: Boost's default promotion to long double costs up to 30 times as much
// and adds nothing at the accuracy sought here.
using DoublePolicy = boost::math::policies::policy<boost::math::policies::promote_double<false>>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Above this exp(-x) / x is below the smallest normal double: E1 and W are 0 to double precision.
constexpr double kUnderflow = 700.0;
// The series' terms are dropped once they fall below this fraction of the sum.
constexpr double kSeriesTolerance = 1e-17;
constexpr int kSeriesMaxTerms = kLeakySeriesMaxTerms;
// 1 / n: the recurrences multiply, a division costing several multiplications' time.
constexpr std::array<double, kSeriesMaxTerms + 1> kReciprocals = [] {
    std::array<double, kSeriesMaxTerms + 1> reciprocals{};
    for (int n = 1; n <= kSeriesMaxTerms; ++n) reciprocals[n] = 1.0 / n;
    return reciprocals;
}();
// Beyond this value of min(u, q) the series is replaced by quadrature (see the header comment), and
// beyond the second for the terms of the partial-penetration series (AccurateLeakyTerms.h).
constexpr double kSeriesLimit = 5.0;
constexpr double kTermSeriesLimit = 10.0;
// W(q, b) is below 1e-19 of 2 K0(b) where sqrt(q) - sqrt(u) exceeds this (AccurateLeakyTerms.h).
constexpr double kComplementNegligible = 6.5;
// The expansion of the leaky terms is used from this b = r/B on, where w0 = sqrt(u) - sqrt(q) is at
// most kExpansionStart; its terms fall until about 2b, at most 1 + 2 * 36 beyond b = 16 and w0 <= 1.
constexpr double kExpansionArgument = 16.0;
constexpr double kExpansionStart = 1.0;
constexpr int kExpansionMaxTerms = 80;
// The longest panel of storageH in s = y - u.
constexpr double kStorageWidth = 10.0;
// The quadrature's panel ends, values of the exponent above its start: the steps grow as the
// integrand shrinks, keeping the 12-point rule's error below 1e-17 of the value; exp(-46) ends it.
constexpr std::array<double, 8> kExponentBreaks{2.0, 5.0, 9.0, 14.0, 20.0, 27.0, 35.0, 46.0};

// e^x E_n(x) for x > 2 by the continued fraction of Numerical Recipes (Press et al.) 6.3, evaluated
// by the modified Lentz method.
double scaledExpint(int n, double x) {
    constexpr double tiny = 1e-300;
    double b = x + n;
    double c = 1.0 / tiny;
    double d = 1.0 / b;
    double h = d;
    for (int i = 1; i < 1000; ++i) {
        const double a = -static_cast<double>(i) * (n - 1 + i);
        b += 2.0;
        d = 1.0 / (a * d + b);
        c = b + a / c;
        const double delta = c * d;
        h *= delta;
        if (std::fabs(delta - 1.0) < 4e-16) break;
    }
    return h;
}

// Fills scaled[n] = e^v E_{n+1}(v), n = 0..last, by the recurrence n E_{n+1} = e^-v - v E_n in its
// stable direction: forward from E1 where v <= 2 (each step multiplies an error by v / n), otherwise
// backward from the continued fraction at n + 1 = min(last + 1, v) (each step multiplies an error by
// n / v) and forward above it. The forward recurrence alone from E1 would amplify its rounding by
// about e^v / sqrt(2 pi v).
void scaledExpints(double v, int last, std::array<double, kSeriesMaxTerms + 1>& scaled) {
    int start = 0;
    if (v <= 2.0) {
        scaled[0] = std::exp(v) * boost::math::expint(1, v, DoublePolicy());
    } else {
        start = std::min(last, static_cast<int>(v) - 1);
        scaled[start] = scaledExpint(start + 1, v);
        const double reciprocal = 1.0 / v;
        for (int n = start; n >= 1; --n) scaled[n - 1] = (1.0 - n * scaled[n]) * reciprocal;
    }
    for (int n = start + 1; n <= last; ++n) scaled[n] = (1.0 - v * scaled[n - 1]) * kReciprocals[n];
}

// Fills factors[n] = (-p)^n / n! for n = 0..last and returns last: since the Hantush-Jacob integral
// from v with b^2 = p v is at least e^-p E1(v) and E_{n+1}(v) <= E1(v), its series needs the terms up
// to the first n > p with p^n / n! below 1e-17 e^-p.
int seriesFactors(double p, std::array<double, kSeriesMaxTerms + 1>& factors) {
    factors[0] = 1.0;
    const double negligible = kSeriesTolerance * std::exp(-p);
    int last = 0;
    while (last < kSeriesMaxTerms && (last <= p || std::fabs(factors[last]) > negligible)) {
        ++last;
        factors[last] = factors[last - 1] * -p * kReciprocals[last];
    }
    return last;
}

// sum_n factors[n] E_{n+1}(v), n = 0..last, for v <= kUnderflow.
double seriesSum(double v, int last, const std::array<double, kSeriesMaxTerms + 1>& factors) {
    std::array<double, kSeriesMaxTerms + 1> scaled;
    scaledExpints(v, last, scaled);
    double sum = 0.0;
    for (int n = last; n >= 0; --n) sum += factors[n] * scaled[n];
    return std::exp(-v) * sum;
}

// sum_n (-p)^n / n! E_{n+1}(v) for p <= v: the Hantush-Jacob integral from v to infinity with
// b^2 = p v.
double hantushSeries(double v, double p) {
    if (v > kUnderflow) return 0.0;
    std::array<double, kSeriesMaxTerms + 1> factors;
    const int last = seriesFactors(p, factors);
    return seriesSum(v, last, factors);
}

// The same integral for p <= v, both large, in the form W = int_t0^inf exp(-r cosh t) dt of the
// substitution y = b e^t (r = 2b = r/B, t0 = ln(v / b) >= 0): a positive integrand falling from
// exp(-v - p), taken on panels over which r (cosh t - cosh t0) grows to the next break point.
double hantushQuadrature(double v, double p) {
    if (v + p > kUnderflow) return 0.0;
    const double b = std::sqrt(v * p);
    const double r = 2.0 * b;
    const double start = 0.5 * std::log(v / p);
    const double coshStart = 0.5 * (v + p) / b;
    double sum = 0.0;
    double lower = start;
    for (const double c : kExponentBreaks) {
        const double upper = std::acosh(coshStart + c / r);
        sum +=
            panelIntegral(lower, upper, [&](double t) { return std::exp(-r * (std::cosh(t) - coshStart)); });
        lower = upper;
    }
    return std::exp(-v - p) * sum;
}

// W(u, b) = e^-b int_w0^inf 2 e^(-w^2) / sqrt(2b + w^2) dw, w0 = sqrt(u) - b / (2 sqrt(u)), with
// (1 + w^2 / (2b))^(-1/2) = sum_k (-1)^k (2k-1)!! / (2^k k!) (w^2 / (2b))^k: the moments
// J_k = int_w0^inf w^2k e^(-w^2) dw follow from J_0 = sqrt(pi) / 2 erfc(w0) by
// J_k = (k - 1/2) J_{k-1} + w0^(2k-1) e^(-w0^2) / 2, which adds positive terms for w0 >= 0 and for
// w0 < 0 loses at most the rounding of the full moments Gamma(k + 1/2), 1e-16 of 2 K0(b) in the result.
// The expansion converges only on |w| < sqrt(2b): the terms are summed down to the smallest.
double expandedLeaky(double b, double w0) {
    const double ratio = 0.5 / b;
    double moment = 0.5 * std::sqrt(std::numbers::pi) * std::erfc(w0);
    double power = 0.5 * w0 * std::exp(-w0 * w0);  // w0^(2k-1) e^(-w0^2) / 2 for k = 1
    double coefficient = 1.0;
    double sum = moment;
    double smallest = std::fabs(moment);
    for (int k = 1; k <= kExpansionMaxTerms; ++k) {
        moment = (k - 0.5) * moment + power;
        power *= w0 * w0;
        coefficient *= -(k - 0.5) / k * ratio;
        const double term = coefficient * moment;
        if (!(std::fabs(term) < smallest)) break;
        sum += term;
        smallest = std::fabs(term);
        if (smallest <= kSeriesTolerance * std::fabs(sum)) break;
    }
    return std::exp(-b) * std::sqrt(2.0 / b) * sum;
}

double besselK0(double x) {
    return boost::math::cyl_bessel_k(0, x, DoublePolicy());
}

// W(u, r/B) with the series up to min(u, q) = seriesLimit and quadrature beyond.
double leakyFunction(double u, double rOverB, double seriesLimit) {
    if (!(u > 0.0) || std::isnan(rOverB)) return kNaN;
    const double b = 0.5 * std::fabs(rOverB);
    if (b == 0.0) return theisW(u);
    if (std::isinf(b)) return 0.0;
    const double q = b * b / u;
    const auto integral = [&](double v, double p) {
        return p > seriesLimit ? hantushQuadrature(v, p) : hantushSeries(v, p);
    };
    if (q <= u) return integral(u, q);
    return 2.0 * besselK0(2.0 * b) - integral(q, u);
}

// The point s = y - u at which the erfc argument of H, beta sqrt(u / (s (u + s))), equals z.
double storagePoint(double u, double beta, double z) {
    const double c = (beta / z) * (beta / z) * u;
    if (!(c < 1e300)) return std::numeric_limits<double>::infinity();
    return 2.0 * c / (u + std::sqrt(u * u + 4.0 * c));
}

}  // namespace

double theisW(double u) {
    if (u > 0.0) return boost::math::expint(1, u, DoublePolicy());
    if (u < 0.0) return -boost::math::expint(-u, DoublePolicy());
    if (u == 0.0) return -1e30;
    return kNaN;
}

double leakyW(double u, double rOverB) {
    return leakyFunction(u, rOverB, kSeriesLimit);
}

LeakyTerms::LeakyTerms(double u) : u_(u), expMinusU_(std::exp(-u)) {}

double LeakyTerms::operator()(double rOverB) {
    if (!(u_ > 0.0) || std::isnan(rOverB)) return kNaN;
    const double b = std::fabs(rOverB);
    if (b == 0.0) return theisW(u_);
    if (std::isinf(b)) return 0.0;
    const double root = std::sqrt(u_);
    const double rootQ = 0.5 * b / root;
    const double w0 = root - rootQ;
    if (w0 < -kComplementNegligible) return 2.0 * besselK0(b);
    if (b >= kExpansionArgument && w0 <= kExpansionStart) return expandedLeaky(b, w0);
    const double q = rootQ * rootQ;
    if (q <= u_) return q <= kTermSeriesLimit ? sharedSeries(q) : hantushQuadrature(u_, q);
    if (u_ > kTermSeriesLimit) return 2.0 * besselK0(b) - hantushQuadrature(q, u_);
    return 2.0 * besselK0(b) - complement(q);
}

// Hantush's series at q <= min(u, 10), its coefficients for q up to min(u, 10) computed at the first
// call; summed upwards until, past k = q (from where the alternating terms fall), a term is below
// 1e-17 of the sum.
double LeakyTerms::sharedSeries(double q) {
    if (u_ > kUnderflow) return 0.0;
    if (seriesLast_ < 0) {
        Coefficients factors;
        seriesLast_ = seriesFactors(std::fmin(u_, kTermSeriesLimit), factors);
        scaledExpints(u_, seriesLast_, series_);
        double factorial = 1.0;  // (-1)^k / k!
        for (int k = 0; k <= seriesLast_; ++k) {
            series_[k] *= factorial;
            factorial /= -(k + 1.0);
        }
    }
    double sum = series_[0];
    double power = 1.0;
    for (int k = 1; k <= seriesLast_; ++k) {
        power *= q;
        const double term = series_[k] * power;
        sum += term;
        if (k > q && std::fabs(term) <= kSeriesTolerance * std::fabs(sum)) break;
    }
    return expMinusU_ * sum;
}

// W(q, b) for u < q, u <= 10: Hantush's series with the factors (-u)^k / k! computed at the first call.
double LeakyTerms::complement(double q) {
    if (q > kUnderflow) return 0.0;
    if (complementLast_ < 0) complementLast_ = seriesFactors(u_, complement_);
    return seriesSum(q, complementLast_, complement_);
}

double storageH(double u, double beta) {
    if (std::isnan(u) || std::isnan(beta)) return kNaN;
    if (!(u > 0.0)) return 0.0;
    if (beta == 0.0) return theisW(u);
    if (u > kUnderflow) return 0.0;
    const double b = std::fabs(beta);
    const double end = storagePoint(u, b, 1.0) + 45.0;
    const auto integrand = [&](double s) {
        return s * std::exp(-(u + s)) / (u + s) * std::erfc(b * std::sqrt(u / (s * (u + s))));
    };
    // Below `least` (where the erfc factor is 1 when the transition lies lower still) the integral is
    // below 1e-25 of the integrand's scale e^-u / u.
    const double least = 1e-25 * std::fmin(u, 1.0);
    double lower = std::fmax(storagePoint(u, b, 8.0), least);
    if (!(lower < kUnderflow)) return 0.0;
    double sum = 0.0;
    // A panel is at most kStorageWidth long in s, so that e^-s falls by at most e^-10 across it.
    const auto add = [&](double upper) {
        while (lower < upper) {
            const double next = std::fmin(upper, lower + kStorageWidth);
            sum += logPanelIntegral(lower, next, integrand);
            lower = next;
        }
    };
    // z^2 halves down to z = 1, so that exp(-z^2) changes by at most e^8 across a panel near a peak
    // deep in the erfc tail (large beta^2 u); then z halves.
    for (double z = 8.0; z > 1.0 / 16.0 && lower < end;) {
        z *= z > 1.01 ? 0.5 * std::numbers::sqrt2 : 0.5;
        add(std::clamp(storagePoint(u, b, z), lower, end));
    }
    while (lower < 1.0) add(std::fmin(10.0 * lower, 1.0));
    while (lower < end) add(std::fmin(2.0 * lower, end));
    return sum;
}

}  // namespace tolvex::accurate
