#include "core/solutions/SpecialFunctions.h"

#include <cmath>

namespace tolvex {

double besselI0(double x) {
    const double a = std::fabs(x);
    if (a < 3.75) {
        const double y = (x / 3.75) * (x / 3.75);
        return 1.0 +
               y * (3.5156229 +
                    y * (3.0899424 + y * (1.2067492 + y * (0.2659732 + y * (0.0360768 + y * 0.0045813)))));
    }
    const double y = 3.75 / a;
    return (std::exp(a) / std::sqrt(a)) *
           (0.39894228 +
            y * (0.01328592 +
                 y * (0.00225319 +
                      y * (-0.00157565 +
                           y * (0.00916281 + y * (-0.02057706 +
                                                  y * (0.02635537 + y * (-0.01647633 + y * 0.00392377))))))));
}

double besselK0(double x) {
    if (x <= 2.0) {
        const double y = x * x / 4.0;
        return (-std::log(x / 2.0) * besselI0(x)) +
               (-0.57721566 +
                y * (0.42278420 +
                     y * (0.23069756 +
                          y * (0.3488590e-1 + y * (0.262698e-2 + y * (0.10750e-3 + y * 0.74e-5))))));
    }
    const double t = 2.0 / x;
    return (std::exp(-x) / std::sqrt(x)) *
           (1.25331414 +
            t * (-0.7832358e-1 +
                 t * (0.2189568e-1 +
                      t * (-0.1062446e-1 + t * (0.587872e-2 + t * (-0.251540e-2 + t * 0.53208e-3))))));
}

double erfcApprox(double x) {
    if (x <= -6.0) return 2.0;
    if (x >= 6.0) return 0.0;
    const double a = std::fabs(x);
    double r = 0.0;
    if (a <= 3.0) {
        const double poly =
            1.0 + a * (0.0705230784 +
                       a * (0.0422820123 +
                            a * (0.0092705272 + a * (0.0001520143 + a * (0.0002765672 + a * 0.0000430638)))));
        r = 1.0 / std::pow(poly, 16);
    } else {
        r = 0.56419 * std::exp(-a * a) /
            (a + 0.5 / (a + 1.0 / (a + 1.5 / (a + 2.0 / (a + 2.5 / (a + 1.0))))));
    }
    return x >= 0.0 ? r : 2.0 - r;
}

}  // namespace tolvex
