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
// two previous nodes extrapolated (the nodes climb the line in equal steps) and accepted only inside
// its strip; otherwise started again from the guess (pi/2) sqrt(q/(q + pi^2/4)) (n = 1) or
// (n - 1) pi + (pi/2) q/(q + (n - 1) pi^2/2), which is exact in both limits q -> 0 and q -> inf, and
// as a last resort followed from the real axis along q |q|^(s-1) arg, s = 0..1.
//
// The series is summed until the bound on the remaining terms (their K0 factor decays at least
// geometrically) falls below 1e-14 of the sum: de Hoog's weights amplify the transform's error by up
// to 3e3 (1e-12 gave 6.5e-10 against the references). Each term's K0 is evaluated only to the digits
// that reach the sum's rounding. The differences of sines are formed as products
// (sin b - sin a = 2 cos((a+b)/2) sin((b-a)/2)), which keeps short screens free of cancellation.
//
// Measured against the 30-digit mpmath table unconfined.csv (td 0.1..1e7, beta 0.001..7, the three
// observation forms, partial screens): worst relative error 4.7e-11, absolute 3.7e-14 below 1e-4.
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
constexpr double kPi = std::numbers::pi;
constexpr double kDrainage = 1e9;
constexpr double kLengthTolerance = 1e-8;
constexpr double kNewtonTolerance = 1e-7;  // the step after this one is below about 1e-14 relative
constexpr int kNewtonCap = 40;
constexpr int kHomotopySteps = 64;
constexpr double kSeriesTolerance = 1e-14;
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
[[nodiscard]] Complex over(Complex a, Complex b) {
    const double n = std::norm(b);
    return times(a, Complex(b.real() / n, -b.imag() / n));
}

// Newton's method on eps sin(eps) - q cos(eps) from `eps`; false when it does not settle in root n's
// strip (n - 1) pi <= Re eps <= (n - 1/2) pi.
[[nodiscard]] bool newtonRoot(Complex q, int n, Complex& eps) {
    for (int step = 0; step < kNewtonCap; ++step) {
        const SinCos sc = sinCos(eps);
        const Complex delta =
            over(times(eps, sc.sin) - times(q, sc.cos), times(eps, sc.cos) + times(1.0 + q, sc.sin));
        eps -= delta;
        if (!std::isfinite(eps.real()) || !std::isfinite(eps.imag())) return false;
        if (std::norm(delta) <= kNewtonTolerance * kNewtonTolerance * std::norm(eps)) {
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

// Root n of eps tan(eps) = q, Re q > 0 or q real, starting from `eps` when it is a guess (finite).
[[nodiscard]] Complex eigenvalue(Complex q, int n, Complex eps) {
    if (std::isfinite(eps.real()) && newtonRoot(q, n, eps)) return eps;
    eps = rootGuess(q, n);
    if (newtonRoot(q, n, eps)) return eps;
    // Follow the root from the real axis, where Newton from the guess always converges.
    const double modulus = std::abs(q);
    const double angle = std::arg(q);
    eps = rootGuess(modulus, n);
    for (int s = 0; s <= kHomotopySteps; ++s) {
        const Complex qs = std::polar(modulus, angle * s / kHomotopySteps);
        if (!newtonRoot(qs, n, eps)) return {kNaN, kNaN};
    }
    return eps;
}

// The Laplace transform at complex p with the roots of the previous node as starting points (grown
// and updated as terms are added).
class UnconfinedTransform {
public:
    UnconfinedTransform(double beta, double sigma, const UnconfinedGeometry& g)
        : beta_(beta), sigma_(sigma), g_(g) {}

    [[nodiscard]] Complex operator()(Complex p) {
        const Complex q = p / (sigma_ * beta_ + p / kDrainage);
        Complex sum = 0.0;
        double previousBound = std::numeric_limits<double>::infinity();
        for (int n = 1; n <= kMaxTerms; ++n) {
            if (roots_.size() < static_cast<std::size_t>(n)) {
                roots_.push_back({kNaN, kNaN});
                earlierRoots_.push_back({kNaN, kNaN});
            }
            Complex& eps = roots_[n - 1];
            Complex& earlier = earlierRoots_[n - 1];
            // The nodes are equally spaced, so the roots at the two previous nodes extrapolate to a
            // start one Newton step closer than the previous root alone.
            const Complex start = std::isfinite(earlier.real()) ? 2.0 * eps - earlier : eps;
            earlier = eps;
            eps = eigenvalue(q, n, start);
            double bound = 0.0;
            // The term is at most about the previous bound, so K0 needs only the digits that reach
            // the sum's rounding.
            const double k0Tolerance = n > 1 ? kRounding * modulus(sum) / previousBound : 0.0;
            sum += term(p, eps, std::fmax(k0Tolerance, kFullPrecision), bound);
            const double ratio = bound / previousBound;
            previousBound = bound;
            if (n > 1 && ratio < 1.0 && bound / (1.0 - ratio) < kSeriesTolerance * modulus(sum)) break;
        }
        return 2.0 * sum / (p * (g_.l - g_.d));
    }

private:
    // Term n of the series; `bound` receives a bound on its modulus that does not vanish where a
    // factor happens to (the oscillating screen and observation factors are bounded by their
    // envelopes).
    [[nodiscard]] Complex term(Complex p, Complex eps, double k0Tolerance, double& bound) const {
        const SinCos sc = sinCos(eps);
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
            complexK0(std::sqrt(beta_ * times(eps, eps) + p), std::fmin(k0Tolerance, kCoarsest));
        bound = modulus(k0) * screenBound * observationBound / modulus(denominator);
        return over(times(k0, times(screen, observation)), denominator);
    }

    double beta_, sigma_;
    UnconfinedGeometry g_;
    std::vector<Complex> roots_;         // at the previous node
    std::vector<Complex> earlierRoots_;  // at the node before that
};

}  // namespace

double unconfinedW(double td, double beta, double sigma, const UnconfinedGeometry& geometry) {
    if (invalid(beta, sigma, geometry) || !(td > 0.0) || !std::isfinite(td)) return kNaN;
    UnconfinedTransform transform(beta, sigma, geometry);
    return deHoogInvert(td, transform);
}

}  // namespace tolvex::accurate
