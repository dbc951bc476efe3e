// Closed-form approximations of the special functions the well functions need.
//
// besselI0, besselK0: Abramowitz and Stegun (1964) 9.8.1, 9.8.2, 9.8.5 and 9.8.6; measured relative
//   error against Boost.Math over 1e-6..700: below 3e-7 for K0 and 5e-7 for I0.
// erfcApprox: A&S 7.1.28 (|x| <= 3, absolute error below 3e-7) and a six-level continued fraction
//   beyond; exactly 0 above 6 and 2 below -6.
// J0, J1, Y0, Y1: the C library's Bessel functions of the first and second kind.
#pragma once

#include <cmath>

namespace tolvex {

[[nodiscard]] double besselI0(double x);
// Modified Bessel function of the second kind of order 0, x > 0.
[[nodiscard]] double besselK0(double x);
[[nodiscard]] double erfcApprox(double x);

[[nodiscard]] inline double besselJ0(double x) {
    return ::j0(x);
}
[[nodiscard]] inline double besselJ1(double x) {
    return ::j1(x);
}
[[nodiscard]] inline double besselY0(double x) {
    return ::y0(x);
}
[[nodiscard]] inline double besselY1(double x) {
    return ::y1(x);
}

}  // namespace tolvex
