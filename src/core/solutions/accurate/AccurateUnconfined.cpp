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
// Tried and dropped (callgrind's instruction counts and interleaved timings over the benchmark): roots
// within 0.02 of a half turn (M = (n - 1/2) pi <= 0.02 |q| or |q| <= 0.02 (n - 1) pi) by Newton's method
// on q tan(gamma) = M - gamma or (eps) tan(delta) = q with tan's Taylor series, no sine of the root per
// step, counted 6 % fewer instructions at beta = 0.001 but took 0-5 % more time (its chains of
// dependent products and divisions), and 13 % against 12 % less time at beta = 0.03 with it than
// without; accepting Newton's step by its curvature (small where |q| is large) saved 1 % of the
// instructions but lost digits against the references (1.8e-8); Halley's step instead counted 2-4 % more.
// Levin's weights written out for k = 6 and its products without the library's checks counted 1 %
// fewer instructions but took 7-9 % more time on the full average at beta = 7 and 1.
//
// Consecutive roots of one node differ by pi plus a small eta wherever n is far from |q|: there the
// sines and cosines of the multiples of the root the term needs (the root itself, the screen's centre
// and half-length, the observation's) follow from the previous term's by the angle-addition formulas
// with a short Taylor series in eta, and Newton's method starts from the predicted root with its sines
// moved the same way; the library's functions restart the recurrence every 32 terms.
//
// The series is summed until the bound on the remaining terms (their K0 factor decays at least
// geometrically) falls below 1e-13 of the sum: de Hoog's weights amplify the transform's error by up to 3e3
// (against the references below 1e-14 gave 5.5e-11, 1e-13 7.2e-11, 1e-12 6.5e-10). Each term's K0 is
// evaluated only to the digits that reach the sum's rounding, and consecutive terms' arguments sqrt(beta
// eps_n^2 + p) lie close together, so that K0 mostly follows from the previous term's by a short Taylor
// series of Bessel's equation (K0Path below; ComplexBessel.h). For the full-thickness average of a fully
// penetrating well (Neuman's type curves) the terms are smooth and of one sign pattern, 2 sin^2(eps_n)
// K0(...) / (eps_n (eps_n + sin eps_n cos eps_n)) = 2 q^2 K0(...) / (eps_n^2 (eps_n^2 + q^2 + q)), nearly
// geometric in n: there the plain sum stops at 1e-12 and adds the geometric remainder t_N^2 / (t_{N-1} -
// t_N) of its last two terms, which measured 30 times more accurate than the bare cut (stopping at 1e-11
// this way gave 2.9e-10, at 1e-10 5.7e-9 against the references). The oscillating screen and observation
// factors of the other geometries are sums of exponentials e^{i c eps_n} with a few frequencies c (sin x =
// (e^{ix} - e^{-ix})/2i): with eps_n = (n - 1) pi + delta_n each product of them with K0 / denominator is
// e^{i c pi (n-1)} times a function smooth in n, a geometric-like sequence that Levin's u transformation
// sums from its last seven terms (LevinComponents.h). Their transformed remainders end the series once they
// are below 1e-5 of the sum and two successive tries agree (the constants below); at beta = 0.001 the
// piezometer's series then stops after some 100 terms a node instead of 270. The smooth series of the full
// average is transformed the same way, as one component: at beta = 0.001 it then stops after 35-210 terms a
// node (some 95 at middle times) instead of 40-300 (once its terms cost less, the transformation paid;
// before, it saved 15 % of the terms at a higher cost a term). The differences of sines are formed as
// products (sin b - sin a = 2 cos((a+b)/2) sin((b-a)/2)), which keeps short screens free of cancellation.
//
// Measured against the 30-digit mpmath tables unconfined.csv (td 0.1..1e7, beta 0.001..7, the three
// observation forms, partial screens) and unconfined_small_beta.csv (beta 0.03 and 0.001, td 0.4..6.7e6):
// worst relative error 8.1e-11 and 4.7e-11, absolute 5.0e-14 and 2.4e-15 below 1e-4.
// Cost per value against the standard function (Release, bench_accurate_laplace, 16 times over
// td 0.1..1e7, median CPU time of five runs interleaved at random on a loaded machine, where the ratios
// vary by some 8 %), full-thickness average / piezometer under a partial screen: 6.2x / 7.8x at
// beta = 7, 6.7x / 9.2x at 1, 8.8x / 11.0x at 0.03, 10.9x / 9.4x at 0.001 (on a quieter machine, not
// interleaved: 5.6x / 7.7x, 6.1x / 8.9x, 7.9x / 10.6x, 9.6x / 8.8x). Before the path of K0 values,
// the grid, the trigonometric-free full average and Levin's transformation of it: 6.6x / 8.4x, 7.2x /
// 10.5x, 10.1x / 15.0x, 16.4x / 13.7x; before the recurrences and any Levin transformation: 7.1x /
// 8.9x, 7.8x / 11.3x, 11.6x / 18.3x, 18.6x / 32.3x. With the components' later windows tried every
// term, interleaved runs against the earlier constants: the piezometer 13 % faster at beta = 0.03 and 7 %
// at 0.001, the full average and the larger beta unchanged within 1 %; the benchmark's ratios (median
// of five interleaved runs, load 2-3 on 2 cores) then 5.8x / 7.7x at beta = 7, 6.2x / 8.9x at 1, 8.2x
// / 9.4x at 0.03, 10.0x / 8.5x at 0.001. What remains is spread over the
// terms: K0 a third (13 Taylor terms from a grid cell, 12 on a path), Newton's method a sixth (1.5 steps a
// root), the sines' recurrences and Levin's windows the rest.
#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <vector>

#include "core/solutions/accurate/AccurateWellFunctions.h"
#include "core/solutions/accurate/ComplexBessel.h"
#include "core/solutions/accurate/DeHoog.h"
#include "core/solutions/accurate/LevinComponents.h"

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
constexpr double kSeriesTolerance = 1e-13;
constexpr double kSmoothSeriesTolerance = 1e-12;
// K0 of a term to the sum's rounding relative to the term, between full precision and 1e-3.
constexpr double kRounding = 1e-16;
constexpr double kFullPrecision = 1e-17;
constexpr double kCoarsest = 1e-3;
// Levin's transformation of the series' components (LevinComponents.h; the full-thickness average of a
// fully penetrating well has one, its smooth term): the components enter from
// term kLevinFirst or the first later one where K0 decays exponentially (UnconfinedTransform::asymptotic);
// the last k + 1 terms before a try, from where the terms' bound falls below kLevinWindowStart of the
// sum (kSmoothWindowStart for the smooth series), fill its window (their K0 to kLevinDigits of the plain
// series' tolerance: the transformation differences them). It is tried every kLevinCheckInterval terms
// (kSmoothCheckInterval on the smooth series) and its sum accepted when the remainder it adds is below
// kLevinRemainder of the sum and two successive tries agree to kLevinAgreement times the terms' decay over
// the interval (successive estimates differ by about their error times it). Measured (instructions counted by
// callgrind over the benchmark's 16 times, in millions, with the half-turn roots tried above; the
// reference and identity tests pass throughout):
// with the window started where the bound falls below 1e-4 of the sum, trying every 2 terms instead of 4
// saved 8 % at beta = 0.03 and every term cost 10 % more on the smooth series; starting at term 6 or 8
// instead of 10 costs 7-13 % at beta = 1 (7: 10.4 against 9.4 at beta = 1, 13: 33.8 against 31.6 at 0.03);
// order 8 instead of 6 or accepting the first agreement loses digits. Starting the window later pays once
// fewer, cheaper terms precede it: trying every 2 terms, the components' window from 1e-4 / 3e-5 / 1e-5 /
// 3e-6 / 1e-6 of the sum cost 37.3 / 35.9 / 34.7 / 34.0 / 35.0 at beta = 0.03 under a partial screen, the
// smooth series' from 1e-5 / 1e-6 / 1e-7 / 3e-8 / 1e-8 / 3e-9 / 1e-9 cost 61.2 / 59.6 / 57.9 / 57.0 / 55.9
// / 56.9 / 59.5 at beta = 0.001; then trying every term costs 31.6 and 54.8 (every 3 terms 36.8 and 58.6),
// and the window's start again at 1e-5 / 3e-6 / 1e-6 of the sum 32.9 / 31.6 / 32.3 at beta = 0.03 and 84.0
// / 85.7 / 94.1 at 0.001 under the partial screen, the smooth series' at 1e-7 / 3e-8 / 1e-8 / 3e-9 57.6
// / 56.3 / 54.8 / 55.0. The remainder's bound no longer binds (1e-3 to 1e-5 alike); the window's K0 to 1e-1
// or 1e-3 of the tolerance instead of 1e-2 changed the cost by 1 % or less. Instructions and time part
// ways on the smooth series: its later windows and every-term tries counted up to 18 % fewer instructions
// but took 2-12 % more time at every beta (interleaved runs against the earlier constants), so it keeps
// 1e-4 and every 2 terms; on the components the time fell with the count (13 % at beta = 0.03, 7 % at
// 0.001).
constexpr int kLevinFirst = 10;
constexpr double kLevinArgument = 3.0;
constexpr double kLevinWindowStart = 3e-6;
constexpr double kSmoothWindowStart = 1e-4;
constexpr double kLevinDigits = 1e-2;
constexpr int kLevinCheckInterval = 1;
constexpr int kSmoothCheckInterval = 2;
constexpr double kLevinRemainder = 1e-5;
constexpr double kLevinAgreement = 3e-14;
// Below this beta the terms decay by less than 5 % a term (e^{-pi sqrt(beta)} > 0.95) and successive
// estimates agree before they are right (measured at beta = 1e-4); the plain series serves there.
constexpr double kLevinSmallestBeta = 2.6e-4;
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

// An upper bound on e^y, y >= 0, tight to 4e-9 relative below 0.01 without the exponential (the
// roots' imaginary parts are mostly that small): 1 + y + y^2/2 + 0.17 y^3 exceeds e^y there, whose
// further terms sum to below y^4/24 (1 + y) < (0.17 - 1/6) y^3.
[[nodiscard]] double expBound(double y) {
    if (y >= 0.01) return std::exp(y);
    return 1.0 + y * (1.0 + y * (0.5 + 0.17 * y));
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
// n's strip (n - 1) pi <= Re eps <= (n - 1/2) pi. Each step's sine and cosine are the previous ones
// moved by the previous step (stepped) where it is short, and the last of them give those of the root.
// `known` says that root.trig already holds the sine and cosine of the start.
[[nodiscard]] bool newtonRoot(Complex q, int n, Root& root, bool known = false) {
    Complex& eps = root.eps;
    SinCos sc = known ? root.trig : sinCos(eps);
    for (int step = 0; step < kNewtonCap; ++step) {
        const Complex delta =
            over(times(eps, sc.sin) - times(q, sc.cos), times(eps, sc.cos) + times(1.0 + q, sc.sin));
        eps -= delta;
        if (!std::isfinite(eps.real()) || !std::isfinite(eps.imag())) return false;
        sc = stepped(sc, delta);
        if (!std::isfinite(sc.sin.real())) sc = sinCos(eps);
        if (std::norm(delta) <= kNewtonTolerance * kNewtonTolerance * std::norm(eps)) {
            root.trig = sc;
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

// Consecutive roots of one node differ by pi plus a small eta = delta_n - delta_{n-1} wherever n is far
// from |q| (eps_n ~ (n - 1) pi + q/((n - 1) pi) for n >> |q|, ~ (n - 1/2) pi - (n - 1/2) pi/q for n << |q|):
// there the sines and cosines of the multiples a eps (a in 0..1) the term needs follow from the previous
// term's by the angle-addition formulas with sin and cos of a pi (constants) and of a eta (a short Taylor
// series), with no transcendental function. Its tenth power over 10! is below 3e-20 for |eta| <= 0.05.
constexpr double kShortEta = 0.05;
// The recurrence restarts from the library's functions every this many terms, which bounds the rounding
// it accumulates (about 1e-16 a term, on terms far below the sum by then).
constexpr int kRestartInterval = 32;
// The multiples a of the root: 1, the pumping screen's centre and half-length, the observation's.
constexpr int kMaxMultiples = 5;

// sin and cos of x + y from those of x and y.
[[nodiscard]] inline SinCos added(const SinCos& x, const SinCos& y) {
    return {times(x.sin, y.cos) + times(x.cos, y.sin), times(x.cos, y.cos) - times(x.sin, y.sin)};
}

// Below this |x| the Taylor series of sin x and cos x stop at x^5 and x^4: x^6/720 < 6e-18. Most steps
// are that short (eta ~ q/n^2 or pi/q far from n ~ |q|), and the shorter series saves half the products.
constexpr double kShorterEta = 4e-3;

// sin and cos of a pi + x for a small complex x (|x| <= kShortEta), from the real sin and cos of a pi
// and the Taylor series of x's to x^9; `x2` is x^2.
[[nodiscard]] inline SinCos halfTurnsPlus(double sinTurn, double cosTurn, Complex x, Complex x2) {
    Complex c, s;
    if (std::norm(x2) <= kShorterEta * kShorterEta * kShorterEta * kShorterEta) {
        c = 1.0 - times(x2, 0.5 - x2 * (1.0 / 24));
        s = times(x, 1.0 - times(x2, 1.0 / 6 - x2 * (1.0 / 120)));
    } else {
        c = 1.0 - times(x2, 0.5 - times(x2, 1.0 / 24 - times(x2, 1.0 / 720 - x2 * (1.0 / 40320))));
        s = times(
            x, 1.0 - times(x2, 1.0 / 6 - times(x2, 1.0 / 120 - times(x2, 1.0 / 5040 - x2 * (1.0 / 362880)))));
    }
    return {sinTurn * c + cosTurn * s, cosTurn * c - sinTurn * s};
}

// K0 of the terms' arguments x_n = sqrt(beta eps_n^2 + p), one after the other: consecutive arguments
// lie close together wherever beta eps_n^2 is small against |p| or beta is small (their distance is
// about beta eps_n pi / |x_n| <= sqrt(beta) pi), and there K0 and K1 follow from the previous
// argument's by a short Taylor series of Bessel's equation (complexK0K1Step) instead of a series about
// a grid cell's centre (complexK0K1). A path restarts from a cell after kPathLength of steps, which
// bounds the growth of its rounding (e^{2 kPathLength}, through the increasing solution I0). Measured:
// steps up to 1 and paths of 2 cost 5 % more at beta = 0.001 and gained nothing at 0.03.
constexpr double kPathStep = 0.5;
constexpr double kPathLength = 1.5;
class K0Path {
public:
    [[nodiscard]] Complex operator()(Complex x, double tolerance) {
        const double step = started_ ? modulus(x - point_) : 0.0;
        started_ = true;
        point_ = x;
        // (Within 0.35 |c| of the previous point c the step's series converges like a centre's.)
        if (valid_ && step <= kPathStep && length_ + step <= kPathLength &&
            step * step <= 0.1225 * std::norm(previous_)) {
            values_ = complexK0K1Step(previous_, values_, x, tolerance);
            previous_ = x;
            length_ += step;
            return values_.k0;
        }
        // K1 is worth its cost only where the next step will be short too (the steps grow along the
        // series, towards sqrt(beta) pi).
        const bool withK1 = step <= kPathStep;
        valid_ = complexK0K1(x, tolerance, values_, withK1);
        if (!valid_) return complexK0(x, tolerance);
        valid_ = withK1;
        previous_ = x;
        length_ = 0.0;
        return values_.k0;
    }

private:
    bool started_ = false, valid_ = false;
    Complex point_, previous_;  // the last argument, the last one with K1
    BesselK01 values_{};
    double length_ = 0.0;
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
                        (g.form == kObservationScreen && g.z1 == 0.0 && g.z2 == 1.0))) {
        const double lower = 1.0 - g_.l;  // screen ends as heights above the base
        const double upper = 1.0 - g_.d;
        addMultiple(1.0);
        if (lower != 0.0 || upper != 1.0) {
            screenCentre_ = addMultiple(0.5 * (lower + upper));
            screenHalf_ = addMultiple(0.5 * (upper - lower));
        }
        if (g_.form == kPiezometer) {
            observation_ = addMultiple(g_.z);
        } else if (g_.form == kObservationScreen && (g_.z1 != 0.0 || g_.z2 != 1.0)) {
            observationCentre_ = addMultiple(0.5 * (g_.z1 + g_.z2));
            observationHalf_ = addMultiple(0.5 * (g_.z2 - g_.z1));
        }
        if (!smoothTerms_) buildComponents();
    }

    [[nodiscard]] Complex operator()(Complex p) {
        const Complex q = p / (sigma_ * beta_ + p / kDrainage);
        k0_ = K0Path{};
        Complex sum = 0.0;
        double sumSize = 0.0;  // |sum|
        double previousBound = std::numeric_limits<double>::infinity();
        Complex previousTerm = 0.0;
        const double tolerance = smoothTerms_ ? kSmoothSeriesTolerance : kSeriesTolerance;
        const double windowStart = smoothTerms_ ? kSmoothWindowStart : kLevinWindowStart;
        const int interval = smoothTerms_ ? kSmoothCheckInterval : kLevinCheckInterval;
        Trig trig{};
        Complex previousRoot{kNaN, kNaN};
        // The components' Levin sums start at term `first` (0: not yet).
        LevinComponents levin(beta_ < kLevinSmallestBeta ? 0 : smoothTerms_ ? 1 : components_.size());
        int first = 0;
        Complex accelerated{kNaN, kNaN};
        int agreements = 0;
        Complex factor = 1.0, previousFactor = 1.0;  // K of the last two terms
        for (int n = 1; n <= kMaxTerms; ++n) {
            if (history_.size() < static_cast<std::size_t>(n)) history_.emplace_back();
            RootHistory& h = history_[static_cast<std::size_t>(n - 1)];
            const bool recur = n % kRestartInterval != 0;
            const Complex root = nextRoot(q, n, h.predicted(), previousRoot, recur, trig);
            previousRoot = root;
            h.add(root);
            double bound = 0.0;
            previousFactor = factor;
            // The term is at most about the previous bound, so K0 needs only the digits that reach
            // the sum's rounding; Levin's transformation, which differences the terms, some more.
            const double k0Tolerance =
                n > 1 ? (first == 0 || previousBound > windowStart * sumSize ? 1.0 : kLevinDigits) *
                            kRounding * sumSize / previousBound
                      : 0.0;
            const double k0Digits = std::max(k0Tolerance, kFullPrecision);
            Complex t;
            if (smoothTerms_) {
                t = smoothTerm(p, q, root, k0Digits, bound);
                factor = t;  // the one component is the term itself
            } else {
                t = term(p, root, trig, k0Digits, bound, factor);
            }
            if (first == 0 && levin.count() > 0 && n >= kLevinFirst && asymptotic(p, root)) {
                first = n;
            }
            sum += t;
            sumSize = modulus(sum);
            const double ratio = bound / previousBound;
            previousBound = bound;
            if (n > 1 && ratio < 1.0 && bound / (1.0 - ratio) < tolerance * sumSize) {
                if (smoothTerms_) sum += t * (t / (previousTerm - t));  // scaled division: tiny terms
                break;
            }
            previousTerm = t;
            // Only the last terms before a check enter Levin's window: from where the remainder
            // (about ten terms) may be small enough to accept.
            if (first == 0 || bound > windowStart * sumSize) continue;
            if (smoothTerms_) {
                levin.add(n - first, &t);
            } else {
                addComponents(levin, n - first, trig, factor);
            }
            if (!levin.ready() || (n - first) % interval != 0) continue;
            const Complex remainder = levin.remainder();
            const Complex estimate = sum + remainder;
            // Successive estimates differ by about their error times the terms' decay over the interval.
            const double factorRatio = modulus(factor) / modulus(previousFactor);
            double power = factorRatio;  // to the interval's power, without pow's general case
            for (int k = 1; k < interval; ++k) power *= factorRatio;
            const double decay = 1.0 - power;
            const bool agree =
                modulus(estimate - accelerated) <= kLevinAgreement * decay * modulus(estimate) &&
                modulus(remainder) <= kLevinRemainder * modulus(estimate);
            agreements = agree ? agreements + 1 : 0;
            accelerated = estimate;
            if (agreements == 2) {
                sum = estimate;
                break;
            }
        }
        return 2.0 * sum / (p * (g_.l - g_.d));
    }

private:
    using Trig = std::array<SinCos, kMaxMultiples>;  // sin and cos of each multiple of the root

    // Whether K0(x), x = sqrt(beta eps^2 + p), has reached its exponential decay in n, where the terms'
    // components are geometric sequences times asymptotic series in 1/n (the model of Levin's
    // transformation): beta eps^2 is at least |p|/4 and |x| >= kLevinArgument. (From 4 |p|, as first
    // chosen, the transformation started later where |p| is large; the references and identities
    // measured the same errors from |p|/4, with 9 % fewer operations at beta = 0.001.)
    [[nodiscard]] bool asymptotic(Complex p, Complex eps) const {
        const double square = beta_ * std::norm(eps);
        return square >= 0.25 * modulus(p) &&
               std::norm(beta_ * times(eps, eps) + p) >= kLevinArgument * kLevinArgument;
    }

    // e^{i (s1 a_i1 + s2 a_i2) eps} of the multiples a_i of the root (i2 < 0: the first alone), times
    // a coefficient: the exponentials that sum to the screen factor or the observation factor.
    struct Exponential {
        Complex coefficient;
        int i1, s1, i2, s2;
        [[nodiscard]] double frequency(const std::array<double, kMaxMultiples>& a) const {
            return s1 * a[static_cast<std::size_t>(i1)] +
                   (i2 < 0 ? 0.0 : s2 * a[static_cast<std::size_t>(i2)]);
        }
    };
    // sin((a_c + a_h) eps) - sin((a_c - a_h) eps), or sin(a_c eps) alone (h < 0), times `scale`, as
    // exponentials (sin x = (e^{ix} - e^{-ix}) / 2i).
    [[nodiscard]] static std::vector<Exponential> sines(int c, int h, double scale) {
        const Complex k(0.0, -0.5 * scale);
        if (h < 0) return {{k, c, 1, -1, 0}, {-k, c, -1, -1, 0}};
        return {{k, c, 1, h, 1}, {-k, c, -1, h, -1}, {-k, c, 1, h, -1}, {k, c, -1, h, 1}};
    }
    // The products of the screen's and the observation's exponentials, grouped by their frequency c:
    // the components u_c(n) = (sum of the products) K(n) of the term, each e^{i c eps_n} K(n) times a
    // constant, which Levin's transformation sums one by one.
    void buildComponents() {
        screenExponentials_ = screenCentre_ < 0 ? sines(0, -1, 1.0) : sines(screenCentre_, screenHalf_, 1.0);
        if (observation_ >= 0) {
            observationExponentials_ = {{0.5, observation_, 1, -1, 0}, {0.5, observation_, -1, -1, 0}};
        } else if (observationCentre_ >= 0) {
            observationExponentials_ = sines(observationCentre_, observationHalf_, 1.0 / (g_.z2 - g_.z1));
        } else {
            observationExponentials_ = sines(0, -1, 1.0);
        }
        std::vector<double> frequencies;
        for (std::size_t i = 0; i < screenExponentials_.size(); ++i) {
            for (std::size_t j = 0; j < observationExponentials_.size(); ++j) {
                const double f = screenExponentials_[i].frequency(multiples_) +
                                 observationExponentials_[j].frequency(multiples_);
                std::size_t c = 0;
                while (c < frequencies.size() && std::fabs(frequencies[c] - f) > 1e-12) ++c;
                if (c == frequencies.size()) frequencies.push_back(f);
                products_.push_back(
                    {c, i, j, screenExponentials_[i].coefficient * observationExponentials_[j].coefficient});
            }
        }
        components_.assign(frequencies.size(), 0.0);
    }

    [[nodiscard]] static Complex exponential(const Exponential& e, const Trig& trig) {
        const auto one = [&](int i, int sign) {
            const SinCos& sc = trig[static_cast<std::size_t>(i)];
            // e^{+-i a eps} = cos +- i sin, without the library's complex product
            return Complex(sc.cos.real() - sign * sc.sin.imag(), sc.cos.imag() + sign * sc.sin.real());
        };
        const Complex first = one(e.i1, e.s1);
        return e.i2 < 0 ? first : times(first, one(e.i2, e.s2));
    }

    // The components of the term (its root's sines in `trig`, its factor K) to Levin's sums.
    void addComponents(LevinComponents& levin, int index, const Trig& trig, Complex factor) {
        std::array<Complex, 4> screen{}, observation{};
        for (std::size_t i = 0; i < screenExponentials_.size(); ++i)
            screen[i] = exponential(screenExponentials_[i], trig);
        for (std::size_t j = 0; j < observationExponentials_.size(); ++j) {
            observation[j] = exponential(observationExponentials_[j], trig);
        }
        std::fill(components_.begin(), components_.end(), Complex(0.0));
        for (const Product& p : products_) {
            components_[p.component] +=
                times(p.coefficient, times(screen[p.screen], observation[p.observation]));
        }
        for (Complex& c : components_) c = times(c, factor);
        levin.add(index, components_.data());
    }

    int addMultiple(double a) {
        multiples_[static_cast<std::size_t>(count_)] = a;
        sinTurns_[static_cast<std::size_t>(count_)] = std::sin(kPi * a);
        cosTurns_[static_cast<std::size_t>(count_)] = std::cos(kPi * a);
        return count_++;
    }

    // Root n from the predicted start with `trig` (holding the previous root's sines and cosines) moved
    // on to it: by the recurrence when `recur` and the step from the previous root is pi + a short eta,
    // else from the library's functions.
    [[nodiscard]] Complex nextRoot(Complex q, int n, Complex start, Complex previous, bool recur,
                                   Trig& trig) {
        const auto near = [&](Complex x) {
            return recur && std::isfinite(x.real()) && std::norm(x - previous - kPi) <= kShortEta * kShortEta;
        };
        Root root{start, {}};
        bool found = false;
        if (near(start) && std::isfinite(previous.real())) {
            const Complex x = start - previous - kPi;
            root.trig = added(trig[0], halfTurnsPlus(0.0, -1.0, x, times(x, x)));
            found = newtonRoot(q, n, root, true);
        }
        if (!found) root = eigenvalue(q, n, start);
        trig[0] = root.trig;
        const bool shortStep = near(root.eps);
        const Complex eta = root.eps - previous - kPi;
        const Complex eta2 = times(eta, eta);
        for (std::size_t i = 1; i < static_cast<std::size_t>(count_); ++i) {
            const double a = multiples_[i];
            trig[i] = shortStep
                          ? added(trig[i], halfTurnsPlus(sinTurns_[i], cosTurns_[i], a * eta, (a * a) * eta2))
                          : sinCos(a * root.eps);
        }
        return root.eps;
    }

    // Term n of the full-thickness average of a fully penetrating well, 2 sin^2(eps) K0 / (eps (eps + sin
    // eps cos eps)) with the sines eliminated by eps tan eps = q (sin^2 eps = q^2/(eps^2 + q^2), sin eps
    // cos eps = q eps/(eps^2 + q^2)): 2 q^2 K0 / (eps^2 (eps^2 + q^2 + q)), which needs no sine, no
    // envelope and one division, and stays accurate where sin eps ~ q/eps is small; `bound` receives
    // its modulus.
    [[nodiscard]] Complex smoothTerm(Complex p, Complex q, Complex eps, double k0Tolerance, double& bound) {
        const Complex e2 = times(eps, eps);
        const Complex k0 = k0_(squareRoot(beta_ * e2 + p), std::min(k0Tolerance, kCoarsest));
        const Complex t = over(2.0 * times(times(q, q), k0), times(e2, e2 + times(q, q) + q));
        bound = modulus(t);
        return t;
    }

    // Term n of the series; `bound` receives a bound on its modulus that does not vanish where a
    // factor happens to (the oscillating screen and observation factors are bounded by their
    // envelopes); `factor` receives K0 over the denominator (and over eps for the averages): the term
    // without its screen and observation sines.
    [[nodiscard]] Complex term(Complex p, Complex eps, const Trig& trig, double k0Tolerance, double& bound,
                               Complex& factor) {
        const SinCos& sc = trig[0];
        const double envelope = expBound(std::fabs(eps.imag()));
        Complex screen = sc.sin;
        double screenBound = modulus(sc.sin);
        if (screenCentre_ > 0) {
            screen = 2.0 * times(trig[static_cast<std::size_t>(screenCentre_)].cos,
                                 trig[static_cast<std::size_t>(screenHalf_)].sin);
            screenBound = 2.0 * envelope;
        }
        Complex observation;
        double observationBound;
        if (observation_ > 0) {
            observation = trig[static_cast<std::size_t>(observation_)].cos;
            observationBound = envelope;
        } else if (observationCentre_ > 0) {
            observation = 2.0 * over(times(trig[static_cast<std::size_t>(observationCentre_)].cos,
                                           trig[static_cast<std::size_t>(observationHalf_)].sin),
                                     (g_.z2 - g_.z1) * eps);
            observationBound = 2.0 * envelope / std::fabs((g_.z2 - g_.z1) * modulus(eps));
        } else {
            observation = over(sc.sin, eps);
            observationBound = modulus(observation);
        }
        const Complex denominator = 0.5 * (times(sc.sin, sc.cos) + eps);
        const Complex k0 = k0_(squareRoot(beta_ * times(eps, eps) + p), std::min(k0Tolerance, kCoarsest));
        const Complex k0Over = over(k0, denominator);
        bound = modulus(k0Over) * screenBound * observationBound;
        factor = g_.form != kPiezometer ? over(k0Over, eps) : k0Over;
        return times(k0Over, times(screen, observation));
    }

    double beta_, sigma_;
    K0Path k0_;
    UnconfinedGeometry g_;
    bool smoothTerms_;
    std::array<double, kMaxMultiples> multiples_{};
    std::array<double, kMaxMultiples> sinTurns_{}, cosTurns_{};  // of pi a
    int count_ = 0;
    struct Product {
        std::size_t component, screen, observation;
        Complex coefficient;
    };
    std::vector<Exponential> screenExponentials_, observationExponentials_;
    std::vector<Product> products_;
    std::vector<Complex> components_;  // of the current term, by frequency
    int screenCentre_ = -1, screenHalf_ = -1, observation_ = -1, observationCentre_ = -1,
        observationHalf_ = -1;
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
