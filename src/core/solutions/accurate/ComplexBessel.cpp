#include "core/solutions/accurate/ComplexBessel.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "core/solutions/accurate/ComplexK0Centres.h"
#include "core/solutions/accurate/ComplexK0Grid.h"

namespace tolvex::accurate {
namespace {

constexpr double kSeriesLimit = 2.0;
constexpr double kAsymptoticLimit = 24.0;
// Relative size of the last term kept at full precision: below the rounding of the sum.
constexpr double kTermTolerance = 1e-17;
// For a coarser tolerance the asymptotic expansion serves from the modulus where 30 times its smallest
// term, below e^{-2|z| - 1.29} for |z| >= 4, stays below the tolerance (the factor covers the remainder
// bound off the real axis, DLMF 10.40.11, at most about 12 for arg z <= pi/2).
constexpr double kCoarsestFullTolerance = 1e-16;
constexpr double kAsymptoticMargin = 1.1;  // (ln 30 - 1.29) / 2, rounded up

// 1/z without the library's scaled division (|z| stays far inside the range where |z|^2 is finite).
[[nodiscard]] Complex reciprocal(Complex z) {
    const double n = std::norm(z);
    return {z.real() / n, -z.imag() / n};
}
// The product without the library's checks for infinite factors (the operands are finite here), which
// keep it from being inlined.
[[nodiscard]] Complex times(Complex a, Complex b) {
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}
// The Taylor series needs at most 35 terms; the cap only bounds a NaN.
constexpr int kTaylorTermCap = 80;
constexpr int kAsymptoticTermCap = 60;

// The principal square root for Re z >= 0, z != 0, without the library's hypot.
[[nodiscard]] Complex rightHalfSqrt(Complex z) {
    const double s = std::sqrt(0.5 * (std::sqrt(std::norm(z)) + z.real()));
    return {s, 0.5 * z.imag() / s};
}

// A&S 9.6.13 with I0 summed alongside: the harmonic numbers H_k weight the same powers.
[[nodiscard]] Complex ascendingSeries(Complex z, double tolerance2) {
    const Complex y = 0.25 * times(z, z);
    Complex power = 1.0;  // (z^2/4)^k / (k!)^2
    Complex i0 = 1.0;
    Complex weighted = 0.0;
    double harmonic = 0.0;
    for (int k = 1; k < 100; ++k) {
        power = times(power, y) * (1.0 / (static_cast<double>(k) * k));
        harmonic += 1.0 / k;
        i0 += power;
        weighted += harmonic * power;
        if (std::norm(power) * harmonic * harmonic < tolerance2 * std::norm(weighted)) break;
    }
    const Complex logHalfZ(0.5 * std::log(0.25 * std::norm(z)), std::atan2(z.imag(), z.real()));
    return weighted - times(logHalfZ + std::numbers::egamma, i0);
}

// The quarter-annulus sector (ComplexK0Centres.h) whose centre expands K0 at z, 0 <= arg z <= pi/2.
[[nodiscard]] const k0centres::Centre& nearestCentre(Complex z) {
    const double r = std::sqrt(std::norm(z));
    std::size_t i = 0;
    if (r >= k0centres::kMiddle) {
        i = k0centres::kGeometricRings +
            static_cast<std::size_t>((r - k0centres::kMiddle) / k0centres::kLinearStep);
        i = std::min(i, k0centres::kRings.size() - 1);
    }
    while (i + 1 < k0centres::kRings.size() && r >= k0centres::kRings[i].outer) ++i;
    while (i > 0 && r < k0centres::kRings[i].inner) --i;
    const k0centres::Ring& ring = k0centres::kRings[i];
    const double angle = std::atan2(z.imag(), z.real());
    const int sector =
        std::clamp(static_cast<int>(angle * ring.sectors / (0.5 * std::numbers::pi)), 0, ring.sectors - 1);
    return k0centres::kCentres[static_cast<std::size_t>(ring.first + sector)];
}

// The Taylor series of K0 about a point c in u = (z - c)/c, from K0(c) and K1(c). Bessel's equation
// z^2 y'' + z y' - z^2 y = 0 gives the coefficients b_n = c^n K0^(n)(c)/n! from b_0 = K0(c) and
// b_1 = -c K1(c) by
//   (m + 1)(m + 2) b_{m+2} = -(m + 1)(2m + 1) b_{m+1} - m^2 b_m + c^2 (b_m + 2 b_{m-1} + b_{m-2}),
// one complex product a term; the rounding grows at most like e^{2|z - c|} (the I0 solution it
// excites). `derivative` (when not null) receives the series of c K0'(z) = sum n b_n u^(n-1), so that
// K1(z) = -derivative / c.
[[nodiscard]] Complex taylorAbout(Complex c, Complex k0, Complex k1, Complex z, double tolerance2,
                                  Complex* derivative) {
    const Complex c2 = times(c, c);
    const Complex u = times(z - c, reciprocal(c));
    Complex before2 = 0.0, before1 = 0.0;  // b_{m-2}, b_{m-1}
    Complex current = k0;
    Complex next = -times(c, k1);
    Complex power = u;  // u^(m+1) at the start of step m
    Complex sum = current + times(next, u);
    Complex slope = next;  // the derivative's sum
    int small = 0;
    for (int m = 0; m < kTaylorTermCap && small < 2; ++m) {
        const double m1 = m + 1.0;
        const Complex following = (times(c2, current + 2.0 * before1 + before2) -
                                   (m1 * (2.0 * m + 1.0)) * next - (static_cast<double>(m) * m) * current) *
                                  (1.0 / (m1 * (m + 2.0)));
        before2 = before1;
        before1 = current;
        current = next;
        next = following;
        if (derivative != nullptr) slope += times(following, power) * (m + 2.0);
        power = times(power, u);
        const Complex term = times(following, power);
        sum += term;
        small = std::norm(term) < tolerance2 * std::norm(sum) ? small + 1 : 0;
    }
    if (derivative != nullptr) *derivative = slope;
    return sum;
}

// K0 by the Taylor series about the nearest tabulated centre (ComplexK0Centres.h). Every point lies
// within min(0.35 |c|, 1.6) of its centre: |u| <= 0.35, 20-35 terms.
[[nodiscard]] Complex taylorSeries(Complex z, double tolerance2) {
    const bool lower = z.imag() < 0.0;
    const Complex upper = lower ? std::conj(z) : z;
    const k0centres::Centre& centre = nearestCentre(upper);
    const Complex c(centre.re, centre.im);
    const Complex sum =
        taylorAbout(c, {centre.k0Re, centre.k0Im}, {centre.k1Re, centre.k1Im}, upper, tolerance2, nullptr);
    if (z.imag() == 0.0) return sum.real();  // the centres lie off the axis, where K0 is real
    return lower ? std::conj(sum) : sum;
}

// K0 (and K1 when `k1` is not null) by the Taylor series about the centre of the grid cell holding z
// (ComplexK0Grid.h), |z - c| <= 0.354: about 13 terms and no arctangent, for 2 <= |z| < 24.
[[nodiscard]] Complex gridSeries(Complex z, double tolerance2, Complex* k1) {
    const bool lower = z.imag() < 0.0;
    const Complex upper = lower ? std::conj(z) : z;
    const auto index = [](double x) {
        return std::clamp(static_cast<int>(x * (1.0 / k0grid::kStep)), 0, k0grid::kCells - 1);
    };
    const int i = index(upper.real());
    const int j = index(upper.imag());
    const k0grid::Cell& cell = k0grid::kCentres[static_cast<std::size_t>(i * k0grid::kCells + j)];
    const Complex c((i + 0.5) * k0grid::kStep, (j + 0.5) * k0grid::kStep);
    Complex derivative;
    const Complex sum = taylorAbout(c, {cell.k0Re, cell.k0Im}, {cell.k1Re, cell.k1Im}, upper, tolerance2,
                                    k1 != nullptr ? &derivative : nullptr);
    if (k1 != nullptr) {
        *k1 = -times(derivative, reciprocal(c));
        if (lower) *k1 = std::conj(*k1);
    }
    if (z.imag() == 0.0) return sum.real();  // the centres lie off the axis, where K0 is real
    return lower ? std::conj(sum) : sum;
}

// A&S 9.7.2 for order 0: the k-th coefficient is the previous one times -(2k - 1)^2 / (8 k z).
[[nodiscard]] Complex asymptoticExpansion(Complex z, double tolerance2) {
    const Complex inverse = reciprocal(8.0 * z);
    Complex term = 1.0;
    Complex sum = 1.0;
    for (int k = 1; k < kAsymptoticTermCap; ++k) {
        const double odd = 2.0 * k - 1.0;
        term = times(term, inverse) * (-(odd * odd / k));
        sum += term;
        if (std::norm(term) < tolerance2) break;
    }
    // sqrt(pi / (2 z)) e^{-z} with one real exp and one sincos.
    const double decay = std::exp(-z.real());
    const Complex phase(std::cos(z.imag()), -std::sin(z.imag()));
    const Complex root = rightHalfSqrt(reciprocal(z)) * std::sqrt(0.5 * std::numbers::pi);
    return times(times(root, phase), sum) * decay;
}

// Where the asymptotic expansion takes over from the Taylor series at a tolerance. ilogb rounds the
// tolerance down to a power of two, which errs towards the Taylor series.
[[nodiscard]] double asymptoticLimit(double tolerance) {
    if (tolerance <= kCoarsestFullTolerance) return kAsymptoticLimit;
    return std::min(kAsymptoticLimit, -0.5 * std::numbers::ln2 * std::ilogb(tolerance) + kAsymptoticMargin);
}

}  // namespace

Complex complexK0(Complex z) {
    return complexK0(z, kTermTolerance);
}

Complex complexK0(Complex z, double tolerance) {
    const double tolerance2 = tolerance * tolerance;
    const double modulus = std::sqrt(std::norm(z));  // hypot would be slower
    if (modulus < kSeriesLimit) return ascendingSeries(z, tolerance2);
    if (modulus < asymptoticLimit(tolerance)) return taylorSeries(z, tolerance2);
    return asymptoticExpansion(z, tolerance2);
}

bool complexK0K1(Complex z, double tolerance, BesselK01& out, bool withK1) {
    const double modulus = std::sqrt(std::norm(z));
    if (!(modulus >= kSeriesLimit && modulus < asymptoticLimit(tolerance)) || z.real() < 0.0) return false;
    out.k0 = gridSeries(z, tolerance * tolerance, withK1 ? &out.k1 : nullptr);
    return true;
}

BesselK01 complexK0K1Step(Complex c, const BesselK01& at, Complex z, double tolerance) {
    BesselK01 result;
    Complex derivative;
    result.k0 = taylorAbout(c, at.k0, at.k1, z, tolerance * tolerance, &derivative);
    result.k1 = -times(derivative, reciprocal(c));
    return result;
}

}  // namespace tolvex::accurate
