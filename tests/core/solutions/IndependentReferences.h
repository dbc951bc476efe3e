// Independent references for the well-function tests: the modified Bessel function K0 of a complex
// argument, the fixed-Talbot inversion of Abate and Valko (2004), Int. J. Numer. Meth. Engng 60,
// 979-993, and a tracker of the worst deviation over a grid. Talbot's contour needs the transform off
// the real axis, so the tests write each transform again in complex arithmetic; nothing here shares
// code with the Stehfest path or the program's polynomial K0.
#pragma once

#include <cmath>
#include <complex>
#include <numbers>
#include <sstream>
#include <string>

#include "core/state/AnalysisState.h"

namespace tolvex::test {

using Complex = std::complex<double>;

// K0(z) for Re z >= 0, z != 0: the ascending series (Abramowitz and Stegun 9.6.13) for |z| < 2, and
// Steed's continued fraction for the Tricomi function (Temme 1975; Numerical Recipes 6.7, CF2)
// beyond. About 1e-14 relative on the real axis against Boost.Math (checked by the tests).
inline Complex complexK0(Complex z) {
    if (std::abs(z) < 2.0) {
        const Complex y = z * z / 4.0;
        Complex term = 1.0;
        Complex i0 = 1.0;
        Complex harmonicSum = 0.0;
        double harmonic = 0.0;
        for (int k = 1; k < 40; ++k) {
            term *= y / (static_cast<double>(k) * k);
            harmonic += 1.0 / k;
            i0 += term;
            harmonicSum += term * harmonic;
        }
        return -(std::log(z / 2.0) + std::numbers::egamma) * i0 + harmonicSum;
    }
    Complex b = 2.0 * (1.0 + z);
    Complex d = 1.0 / b;
    Complex delh = d;
    Complex q1 = 0.0;
    Complex q2 = 1.0;
    const double a1 = 0.25;
    Complex q = a1;
    Complex c = a1;
    double a = -a1;
    Complex s = 1.0 + q * delh;
    for (int i = 2; i < 100000; ++i) {
        a -= 2.0 * (i - 1);
        c = -a * c / static_cast<double>(i);
        const Complex qnew = (q1 - b * q2) / a;
        q1 = q2;
        q2 = qnew;
        q += c * qnew;
        b += 2.0;
        d = 1.0 / (b + a * d);
        delh = (b * d - 1.0) * delh;
        const Complex dels = q * delh;
        s += dels;
        if (std::abs(dels) < 1e-16 * std::abs(s)) break;
    }
    return std::sqrt(std::numbers::pi / (2.0 * z)) * std::exp(-z) / s;
}

// f(t) from its transform F by the fixed Talbot contour with m nodes; in double precision the error is
// about 1e-10 for m = 24 with an exact F (roundoff grows like exp(0.4 m)).
template <class Transform>
double talbotInvert(double t, Transform&& transform, int m = 24) {
    const double r = 2.0 * m / (5.0 * t);
    double sum = 0.5 * std::real(transform(Complex(r, 0.0))) * std::exp(r * t);
    for (int k = 1; k < m; ++k) {
        const double theta = k * std::numbers::pi / m;
        const double cot = 1.0 / std::tan(theta);
        const Complex s = r * theta * Complex(cot, 1.0);
        const double sigma = theta + (theta * cot - 1.0) * cot;
        sum += std::real(std::exp(t * s) * transform(s) * Complex(1.0, sigma));
    }
    return r / m * sum;
}

// The default state with its numerical tables built for the given counts.
inline AnalysisState stateWithTables(int gaussCount, int stehfestCount) {
    AnalysisState state = makeDefaultState();
    state.gaussCount = gaussCount;
    state.stehfestCount = stehfestCount;
    buildNumericalTables(state);
    return state;
}

// The worst relative deviation |value - reference| / |reference| over a grid, with the row it came from,
// so that a failing comparison prints the row at fault.
struct WorstDeviation {
    double relative = 0.0;
    std::string row;

    void add(double value, double reference, const std::string& where) {
        const double deviation = std::fabs(value - reference) / std::fabs(reference);
        if (!(deviation <= relative)) {  // also records a NaN
            relative = deviation;
            std::ostringstream text;
            text.precision(10);
            text << where << ": " << value << " against " << reference;
            row = text.str();
        }
    }
};

}  // namespace tolvex::test
