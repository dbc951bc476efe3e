// Moench (1993) / Neuman (1974) unconfined drawdown, the eigenvalue series of Unconfined.h, evaluated
// at complex Laplace variables and inverted by de Hoog, Knight and Stokes (1982) (DeHoog.h).
//
// Why de Hoog and not a Talbot contour: the roots eps_n of eps tan(eps) = q are labelled by the strip
// (n - 1) pi < Re eps_n < (n - 1/2) pi they occupy for real q; that labelling holds throughout
// Re q > 0 (checked numerically by following the roots from the real axis), but the roots meet in
// pairs at branch points q = -1.65 +- 2.06i, ... in the left half-plane, which a Talbot contour
// crosses. De Hoog's nodes p = gamma + i k pi/T keep Re q > 0.
//
// Each root is found by Newton's method on eps sin(eps) - q cos(eps), started from the roots at the
// three previous nodes extrapolated by a parabola (the nodes climb the line in equal steps; 1.4-1.9
// steps a root) and accepted only inside its strip; otherwise started again from the guess (pi/2) sqrt(q/(q +
// pi^2/4)) (n = 1) or (n - 1) pi + (pi/2) q/(q + (n - 1) pi^2/2), which is exact in both limits q -> 0 and q
// -> inf, and as a last resort followed from the real axis along q |q|^(s-1) arg, s = 0..1. The term reuses
// the sine and cosine of Newton's last step, moved by that step with the angle-difference formulas.
//
// The series is summed until the bound on the remaining terms (their K0 factor decays at least
// geometrically) falls below 1e-14 of the sum: de Hoog's weights amplify the transform's error by up
// to 3e3 (1e-12 gave 6.5e-10 against the references). Each term's K0 is evaluated only to the digits
// that reach the sum's rounding. For the full-thickness average of a fully penetrating well (Neuman's
// type curves) the terms are smooth and of one sign pattern, sin^2(eps_n) K0(...) / (eps_n (eps_n +
// sin eps_n cos eps_n)), nearly geometric in n: there the sum stops at 1e-12 and adds the geometric
// remainder t_N^2 / (t_{N-1} - t_N) of its last two terms, which measured 30 times more accurate than
// the bare cut (stopping at 1e-11 this way gave 2.9e-10, at 1e-10 5.7e-9 against the references);
// this saves some 20 % of the terms. The oscillating screen and observation factors of the other
// geometries leave the remainder without such a pattern. The differences of sines are formed as products
// (sin b - sin a = 2 cos((a+b)/2) sin((b-a)/2)), which keeps short screens free of cancellation.
//
// Measured against the 30-digit mpmath table unconfined.csv (td 0.1..1e7, beta 0.001..7, the three
// observation forms, partial screens): worst relative error 6.9e-11, absolute 3.7e-14 below 1e-4.
// Cost per value against the standard function (Release, bench_accurate_laplace, 16 times over
// td 0.1..1e7), full-thickness average / piezometer under a partial screen: 6.9x / 8.6x at beta = 7,
// 7.7x / 10.7x at 1, 11.9x / 18.2x at 0.03, 18.8x / 32x at 0.001. The series' length sets it: its
// terms decay like exp(-pi sqrt(beta) n), some 150 (full average) and 290 (piezometer) terms a node
// at beta = 0.001, each a Newton root, up to three screen sines and a complex K0 (about 100 ns).
#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <vector>

#include "core/solutions/accurate/AccurateWellFunctions.h"
#include "core/solutions/accurate/ComplexBessel.h"
#include "core/solutions/accurate/DeHoog.h"

namespace tolvex::accurate {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// -ln of a value below the smallest double even after the largest geometric factor.
constexpr double kUnderflowExponent = 800.0;
constexpr double kPi = std::numbers::pi;
constexpr double kDrainage = 1e9;
constexpr double kLengthTolerance = 1e-8;
constexpr double kNewtonTolerance = 1e-7;  // the step after this one is below about 1e-14 relative
constexpr int kNewtonCap = 40;
constexpr int kHomotopySteps = 64;
constexpr double kSeriesTolerance = 1e-14;
constexpr double kSmoothSeriesTolerance = 1e-12;
// K0 of a term to the sum's rounding relative to the term, between full precision and 1e-3.
constexpr double kRounding = 1e-16;
constexpr double kFullPrecision = 1e-17;
constexpr double kCoarsest = 1e-3;
// Bounds a pathological input only: beta = 1e-6 at p ~ 400 needs about 16000 terms.
constexpr int kMaxTerms = 40000;

[[nodiscard]] bool invalid(double beta, double sigma, const UnconfinedGeometry& g) {
    if (!(beta > 0.0) || !std::isfinite(beta) || !(sigma >= 0.0) || !std::isfinite(sigma)) return true;
    if (g.form != kFullThicknessAverage && g.form != kPiezometer && g.form != kObservationScreen) return true;
    if (std::fabs(g.l - g.d) <= kLengthTolerance) return true;
    return g.form == kObservationScreen && std::fabs(g.z2 - g.z1) <= kLengthTolerance;
}

struct SinCos {
    Complex sin, cos;
};

// sin and cos of a complex argument from one sincos and one expm1 (the library's complex sine and
// cosine each take four real transcendental functions and cannot be inlined).
[[nodiscard]] SinCos sinCos(Complex x) {
    const double s = std::sin(x.real());
    const double c = std::cos(x.real());
    const double em = std::expm1(x.imag());
    const double inverse = 1.0 / (1.0 + em);  // e^-y
    const double sh = 0.5 * em * (1.0 + inverse);
    const double ch = sh + inverse;
    return {{s * ch, c * sh}, {c * ch, -s * sh}};
}

// Products and quotients without the library's checks for infinite operands (all are finite here).
[[nodiscard]] Complex times(Complex a, Complex b) {
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}
// |a| without hypot's guard against overflow (the moduli here are far inside the range of doubles).
[[nodiscard]] double modulus(Complex a) {
    return std::sqrt(std::norm(a));
}
// The principal square root of w != 0 without the library's hypot (the moduli here are moderate),
// each branch free of cancellation.
[[nodiscard]] Complex squareRoot(Complex w) {
    if (w.real() >= 0.0) {
        const double s = std::sqrt(0.5 * (modulus(w) + w.real()));
        return {s, 0.5 * w.imag() / s};
    }
    const double s = std::sqrt(0.5 * (modulus(w) - w.real()));
    return {0.5 * std::fabs(w.imag()) / s, std::copysign(s, w.imag())};
}
[[nodiscard]] Complex over(Complex a, Complex b) {
    const double inverse = 1.0 / std::norm(b);
    return times(a, Complex(b.real() * inverse, -b.imag() * inverse));
}

// A root with the sine and cosine of it, which the term reuses.
struct Root {
    Complex eps;
    SinCos trig;
};

// Steps below this use the angle-difference formulas with a short Taylor series for sin and cos of
// the step (its sixth power over 720 is below 1e-20).
constexpr double kSmallStep = 1e-3;

// sin and cos of eps - delta from those of eps.
[[nodiscard]] SinCos stepped(const SinCos& at, Complex delta) {
    if (std::norm(delta) > kSmallStep * kSmallStep) return {kNaN, kNaN};
    const Complex d2 = times(delta, delta);
    const Complex cosDelta = 1.0 - times(d2, 0.5 - d2 * (1.0 / 24.0));
    const Complex sinDelta = times(delta, 1.0 - times(d2, 1.0 / 6.0 - d2 * (1.0 / 120.0)));
    return {times(at.sin, cosDelta) - times(at.cos, sinDelta),
            times(at.cos, cosDelta) + times(at.sin, sinDelta)};
}

// Newton's method on eps sin(eps) - q cos(eps) from `root.eps`; false when it does not settle in root
// n's strip (n - 1) pi <= Re eps <= (n - 1/2) pi. The last step's sine and cosine, moved by that step,
// give those of the root.
[[nodiscard]] bool newtonRoot(Complex q, int n, Root& root) {
    Complex& eps = root.eps;
    for (int step = 0; step < kNewtonCap; ++step) {
        const SinCos sc = sinCos(eps);
        const Complex delta =
            over(times(eps, sc.sin) - times(q, sc.cos), times(eps, sc.cos) + times(1.0 + q, sc.sin));
        eps -= delta;
        if (!std::isfinite(eps.real()) || !std::isfinite(eps.imag())) return false;
        if (std::norm(delta) <= kNewtonTolerance * kNewtonTolerance * std::norm(eps)) {
            root.trig = stepped(sc, delta);
            if (!std::isfinite(root.trig.sin.real())) root.trig = sinCos(eps);
            const double slack = 1e-9 * n;
            return eps.real() >= (n - 1) * kPi - slack && eps.real() <= (n - 0.5) * kPi + slack;
        }
    }
    return false;
}

[[nodiscard]] Complex rootGuess(Complex q, int n) {
    if (n == 1) return 0.5 * kPi * std::sqrt(q / (q + 0.25 * kPi * kPi));
    const double m = (n - 1) * kPi;
    return m + 0.5 * kPi * q / (q + 0.5 * kPi * m);
}

// Root n of eps tan(eps) = q, Re q > 0 or q real, starting from `start` when it is a guess (finite).
[[nodiscard]] Root eigenvalue(Complex q, int n, Complex start) {
    Root root{start, {}};
    if (std::isfinite(start.real()) && newtonRoot(q, n, root)) return root;
    root.eps = rootGuess(q, n);
    if (newtonRoot(q, n, root)) return root;
    // Follow the root from the real axis, where Newton from the guess always converges.
    const double modulus = std::abs(q);
    const double angle = std::arg(q);
    root.eps = rootGuess(modulus, n);
    for (int s = 0; s <= kHomotopySteps; ++s) {
        const Complex qs = std::polar(modulus, angle * s / kHomotopySteps);
        if (!newtonRoot(qs, n, root)) return {{kNaN, kNaN}, sinCos({kNaN, kNaN})};
    }
    return root;
}

// A root at the last three nodes. The nodes climb the line in equal steps, so the roots extrapolate
// by a parabola to a start that Newton's method accepts after one or two steps.
class RootHistory {
public:
    [[nodiscard]] Complex predicted() const {
        if (std::isfinite(earliest_.real())) return 3.0 * (last_ - before_) + earliest_;
        if (std::isfinite(before_.real())) return 2.0 * last_ - before_;
        return last_;
    }
    void add(Complex eps) {
        earliest_ = before_;
        before_ = last_;
        last_ = eps;
    }

private:
    Complex last_{kNaN, kNaN}, before_{kNaN, kNaN}, earliest_{kNaN, kNaN};
};

// The Laplace transform at complex p with the roots of the previous node as starting points (grown
// and updated as terms are added).
class UnconfinedTransform {
public:
    UnconfinedTransform(double beta, double sigma, const UnconfinedGeometry& g)
        : beta_(beta),
          sigma_(sigma),
          g_(g),
          smoothTerms_(g.l == 1.0 && g.d == 0.0 &&
                       (g.form == kFullThicknessAverage ||
                        (g.form == kObservationScreen && g.z1 == 0.0 && g.z2 == 1.0))) {}

    [[nodiscard]] Complex operator()(Complex p) {
        const Complex q = p / (sigma_ * beta_ + p / kDrainage);
        Complex sum = 0.0;
        double previousBound = std::numeric_limits<double>::infinity();
        Complex previousTerm = 0.0;
        const double tolerance = smoothTerms_ ? kSmoothSeriesTolerance : kSeriesTolerance;
        for (int n = 1; n <= kMaxTerms; ++n) {
            if (history_.size() < static_cast<std::size_t>(n)) history_.emplace_back();
            RootHistory& h = history_[static_cast<std::size_t>(n - 1)];
            const Root root = eigenvalue(q, n, h.predicted());
            h.add(root.eps);
            double bound = 0.0;
            // The term is at most about the previous bound, so K0 needs only the digits that reach
            // the sum's rounding.
            const double k0Tolerance = n > 1 ? kRounding * modulus(sum) / previousBound : 0.0;
            const Complex t = term(p, root, std::max(k0Tolerance, kFullPrecision), bound);
            sum += t;
            const double ratio = bound / previousBound;
            previousBound = bound;
            if (n > 1 && ratio < 1.0 && bound / (1.0 - ratio) < tolerance * modulus(sum)) {
                if (smoothTerms_) sum += t * (t / (previousTerm - t));  // scaled division: tiny terms
                break;
            }
            previousTerm = t;
        }
        return 2.0 * sum / (p * (g_.l - g_.d));
    }

private:
    // Term n of the series; `bound` receives a bound on its modulus that does not vanish where a
    // factor happens to (the oscillating screen and observation factors are bounded by their
    // envelopes).
    [[nodiscard]] Complex term(Complex p, const Root& root, double k0Tolerance, double& bound) const {
        const Complex eps = root.eps;
        const SinCos& sc = root.trig;
        const double envelope = std::exp(std::fabs(eps.imag()));
        const double lower = 1.0 - g_.l;  // screen ends as heights above the base
        const double upper = 1.0 - g_.d;
        Complex screen = sc.sin;
        double screenBound = modulus(sc.sin);
        if (lower != 0.0 || upper != 1.0) {
            screen =
                2.0 * times(sinCos(0.5 * (lower + upper) * eps).cos, sinCos(0.5 * (upper - lower) * eps).sin);
            screenBound = 2.0 * envelope;
        }
        Complex observation = over(sc.sin, eps);
        double observationBound = modulus(observation);
        if (g_.form == kPiezometer) {
            observation = sinCos(g_.z * eps).cos;
            observationBound = envelope;
        } else if (g_.form == kObservationScreen && (g_.z1 != 0.0 || g_.z2 != 1.0)) {
            observation = 2.0 * over(times(sinCos(0.5 * (g_.z1 + g_.z2) * eps).cos,
                                           sinCos(0.5 * (g_.z2 - g_.z1) * eps).sin),
                                     (g_.z2 - g_.z1) * eps);
            observationBound = 2.0 * envelope / std::fabs((g_.z2 - g_.z1) * modulus(eps));
        }
        const Complex denominator = 0.5 * (times(sc.sin, sc.cos) + eps);
        const Complex k0 =
            complexK0(squareRoot(beta_ * times(eps, eps) + p), std::min(k0Tolerance, kCoarsest));
        bound = modulus(k0) * screenBound * observationBound / modulus(denominator);
        return over(times(k0, times(screen, observation)), denominator);
    }

    double beta_, sigma_;
    UnconfinedGeometry g_;
    bool smoothTerms_;
    std::vector<RootHistory> history_;  // per term index
};

}  // namespace

double unconfinedW(double td, double beta, double sigma, const UnconfinedGeometry& geometry) {
    if (invalid(beta, sigma, geometry) || !(td > 0.0) || !std::isfinite(td)) return kNaN;
    // Before the pressure front reaches the observation the drawdown is exp(-1/(4 td)) times factors of
    // the geometry far below 1e40: under exp(-800) no double holds it, and every Laplace value would
    // underflow (the inversion then has nothing to work with).
    if (0.25 / td > kUnderflowExponent) return 0.0;
    UnconfinedTransform transform(beta, sigma, geometry);
    return deHoogInvert(td, transform);
}

}  // namespace tolvex::accurate
