// The modified Bessel function K0 of a complex argument, for the Laplace-domain well functions, whose
// transforms are inverted along complex contours. Neither the standard library nor Boost.Math has it.
//
// complexK0(z), Re z >= 0, z != 0, in three regions of |z|:
//   |z| < 2        the ascending series K0 = -(ln(z/2) + Euler's gamma) I0(z) + sum (z^2/4)^k/(k!)^2 H_k
//                  (Abramowitz and Stegun 1964, 9.6.13), summed until the terms vanish;
//   2 <= |z| < 24  the Taylor series about the nearest of 104 centres of the quarter annulus, with K0 and
//                  K1 at the centres tabulated from mpmath (ComplexK0Centres.h) and the higher
//                  coefficients from Bessel's equation (20-35 terms);
//   |z| >= 24      the asymptotic expansion sqrt(pi/(2z)) e^-z sum (-1)^k ((2k-1)!!)^2 / (k! (8z)^k)
//                  (A&S 9.7.2), whose smallest term at this modulus is below 1e-20.
// Measured against mpmath's besselk at 30 digits on moduli 1e-8..700 and arguments 0..pi/2 (the
// imaginary axis included), denser in 2..24: relative error below 2e-15; the Taylor expansions of
// neighbouring centres differ by up to 1.2e-14 at the outer sectors' corners (tests). For Re z > 745 the
// value underflows to 0.
#pragma once

#include <complex>

namespace tolvex::accurate {

using Complex = std::complex<double>;

[[nodiscard]] Complex complexK0(Complex z);
// K0 to about the relative `tolerance` (at least 1e-17), cheaper for a coarse one: for the far terms of
// a series whose sum needs only their leading digits. Above 1e-16 the asymptotic expansion serves from
// |z| = min(24, ln(1/tolerance)/2 + 1.1), where 30 times its smallest term is below the tolerance
// (12.6 for 1e-10, 6.9 for 1e-5); the series and the Taylor sums stop at the tolerance.
[[nodiscard]] Complex complexK0(Complex z, double tolerance);

}  // namespace tolvex::accurate
