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

// K0 and K1 together, to step along a path of nearby arguments (the terms of a series whose arguments
// move by small steps): each step is the Taylor series of Bessel's equation about the previous point
// (the Taylor-series method for ordinary differential equations, DLMF 3.7(ii)),
// which needs about 12 terms for a step of 0.1 at full precision (0.1^n/n!), against the 20-35 of a
// sector centre's (ComplexK0Centres.h) and the 13 of a grid cell's.
struct BesselK01 {
    Complex k0, k1;
};
// K0 (and K1 when `withK1`; else out.k1 is left as it was) at z by the Taylor series about the centre
// of a square grid's cell (ComplexK0Grid.h, within 0.354 of z: about 13 terms, no arctangent); false
// (and `out` untouched) where complexK0 at this tolerance uses another method (|z| < 2, or beyond
// where its asymptotic expansion serves). Measured against mpmath: 4.7e-16 relative (tests).
[[nodiscard]] bool complexK0K1(Complex z, double tolerance, BesselK01& out, bool withK1 = true);
// K0 and K1 at z from their values `at` a point c, |z - c| <= 0.35 |c|, to about the relative tolerance
// (at least 1e-17) times e^{2|z - c|}: the rounding of the values at c grows by that factor too (the
// increasing solution I0 it excites), so a path of steps must restart from complexK0K1 within a few units.
[[nodiscard]] BesselK01 complexK0K1Step(Complex c, const BesselK01& at, Complex z, double tolerance);

}  // namespace tolvex::accurate
