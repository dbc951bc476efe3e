#include "core/solutions/ConfinedLeaky.h"

#include <array>
#include <cmath>
#include <limits>

#include "core/solutions/GaussLegendre.h"
#include "core/solutions/SpecialFunctions.h"

namespace tolvex {
namespace {

// The standard 12-point Gauss-Laguerre rule (weight e^-s on [0, inf)), Abramowitz and Stegun Table 25.9.
constexpr std::array<double, 12> kLaguerreNodes{0.1157221173580207, 0.6117574845151307, 1.512610269776419,
                                                2.833751337743507,  4.599227639418348,  6.844525453115177,
                                                9.621316842456867,  13.00605499330635,  17.11685518746226,
                                                22.15109037939701,  28.48796725098400,  37.09912104446692};
constexpr std::array<double, 12> kLaguerreWeights{
    2.647313710554432e-1, 3.777592758731380e-1, 2.440820113198776e-1,  9.044922221168093e-2,
    2.010238115463410e-2, 2.663973541865316e-3, 2.032315926629994e-4,  8.365055856819799e-6,
    1.668493876540910e-7, 1.342391030515004e-9, 3.061601635035021e-12, 8.148077467426242e-16};

constexpr double kSeriesTolerance = 5e-7;
// leakySeries is only called with b^2/x < 1, where both series converge within a few dozen terms.
// The caps bound the work on the paths no caller takes (b^2/x >= 1, where terms first grow).
constexpr int kSeriesMaxTerms = 500;
constexpr int kInnerMaxTerms = 500;

}  // namespace

double confinedW(double x) {
    if (x >= 1.0) {
        const double e = 1.0 / x;
        const double n = e * (e * (e * (e + 3.377358) + 2.052156) + 0.2709479);
        const double d = e * (e * (e * (1.072553 * e + 5.716943) + 6.945239) + 2.593888) + 0.2709496;
        return std::exp(-x) * e * (1.0 - n / d);
    }
    if (x > -3.0) {
        if (x == 0.0) return -1e30;
        const double p =
            0.9999999 +
            x * (-0.2500001 +
                 x * (0.05555682 +
                      x * (-0.01041576 +
                           x * (0.001664156 +
                                x * (-0.0002335379 +
                                     x * (2.928433e-5 + x * (-1.766345e-6 + x * 7.122452e-7)))))));
        return x * p - std::log(std::fabs(x)) - 0.5772157;
    }
    if (x >= -9.0) {
        const double n = (((0.05176245 * x + 3.061037) * x + 32.43665) * x + 224.4234) * x + 248.6697;
        const double d = (((x + 3.995161) * x + 38.93944) * x + 22.63818) * x + 180.7837;
        return std::exp(-x) * (1.0 - n / d) / x;
    }
    const double f = 9.0 / x;
    const double n = f * (f * (f * (f + 0.7659824) - 0.7271015) - 1.080693);
    const double d = (((2.51875 * f + 11.22927) * f + 5.921405) * f - 8.666702) * f - 9.724216;
    return std::exp(-x) * (1.0 - n / d) / x;
}

double leakyTail(double lower, double b) {
    const double b2 = b * b;
    double sum = 0.0;
    // From the largest abscissa down, so that the small far-tail terms are added first.
    for (int i = 11; i >= 0; --i) {
        const double s = kLaguerreNodes[i];
        const double y = lower + s;
        const double exponent = lower + b2 / y;
        if (s < 0.0 || exponent >= 200.0) continue;
        sum += kLaguerreWeights[i] * std::exp(-exponent) / y;
    }
    return sum;
}

double leakySeries(double x, double b) {
    const double b2 = b * b;
    const double q = b2 / x;
    double a = 1.0;   // x^n
    double bn = 1.0;  // (b^2/x)^n
    double f = 1.0;   // 1/n!
    double sign = -1.0;
    double sum = 0.0;
    for (int n = 0; n <= kSeriesMaxTerms; ++n) {
        double e = 0.0;
        if (n == 0) {
            e = std::log(x);
            f = 1.0;
        } else {
            a *= x;
            if (bn < 1e-50) bn = 0.0;
            bn *= q;
            e = (a - bn) / n;
            f /= n;
        }
        sign = -sign;
        double t = f;
        double term = f;
        for (int m = 1; m <= kInnerMaxTerms; ++m) {
            term = term * b2 / ((m + n) * static_cast<double>(m));
            t += term;
            if (std::fabs(e * m * term) < kSeriesTolerance) break;
        }
        sum += sign * e * t;
        if (n >= 1 && std::fabs(e * t) < kSeriesTolerance) break;
    }
    return sum;
}

double leakyW(double u, double rOverB) {
    if (!(u > 0.0)) return std::numeric_limits<double>::quiet_NaN();
    const double b = rOverB / 2.0;
    if (u >= 1.0) return leakyTail(u, b);
    const double q = b * b / u;
    if (q >= 1.0) return 2.0 * besselK0(2.0 * b) - leakyTail(q, b);
    return leakySeries(1.0, b) - leakySeries(u, b) + leakyTail(1.0, b);
}

double storageIntegrand(double y, double u, double beta) {
    return erfcApprox(std::sqrt(beta * beta * u / (y * y - y * u))) * std::exp(-y) / y;
}

double storageH(double u, double beta, const AnalysisState& state) {
    if (u < 1e-60) return 0.0;
    if (beta == 0.0) return confinedW(u);
    if (u > 10.0) return 0.0;
    if (u > 1.0 && beta * beta * u > 700.0) return 0.0;
    double upper = 10.0;
    double tail = 0.0;
    // Below a the erfc factor is smaller than erfc(sqrt(160)) and the integrand is neglected.
    double a = 0.5 * u * (std::sqrt(0.025 * beta * beta / u + 1.0) + 1.0);
    if (a > 10.0) return 0.0;
    // Above h the erfc factor is 1 to within 1e-9: the rest of the integral is E1(h).
    const double h = 0.5 * u * (std::sqrt(1e20 * beta * beta / u + 1.0) + 1.0);
    if (h < 10.0) {
        tail = confinedW(h);
        upper = h;
    }
    double sum = 0.0;
    while (a < upper) {
        const double e = (10.0 * a > upper) ? upper : 10.0 * a;
        sum += gaussLegendreIntegral(
            a, e, [&](double y) { return storageIntegrand(y, u, beta); }, state);
        a = e;
    }
    return tail + sum;
}

double jacobW(double u) {
    return -0.5772 - std::log(u);
}

}  // namespace tolvex
