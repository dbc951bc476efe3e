// Partially penetrating pumping wells with vertical anisotropy (Hantush 1961, 1964): the fully
// penetrating well function plus a Fourier series over the aquifer thickness,
//   nonleaky: W(u) + 2/(pi (l - d)) sum_n W(u, n pi x) cos(n pi z) (sin n pi l - sin n pi d) / n,
//   leaky:    W(u, r/B) + the same series with W(u, sqrt((r/B)^2 + (n pi x)^2)),
// or, for an observation well screened from dz to lo, the screen average with the factor
// (sin n pi lo - sin n pi dz) / (n pi (lo - dz)) in place of the cosine.
// Depths l, d (pumping-well screen bottom and top), lo, dz (observation-well screen bottom and top,
// or lo <= 0 and dz = z/b for a piezometer) are fractions of the aquifer thickness from its top;
// x = a r / b with a = sqrt(Kz/Kr). pi is the program's 3.1415926.
//
// Accuracy: the terms are leakyW values (5-6 significant digits); the series itself is summed until
// n pi x >= 20, where the remaining terms are below 1e-8 of W(u). A fully screened well (l = 1, d = 0)
// gives the fully penetrating value to about 1e-8 (sin n pi is not exactly 0 with this pi). Against
// Hantush's steady-state correction with Boost.Math K0 the late-time correction agrees to 2e-7 (tests).
#pragma once

namespace tolvex {

// Cap on the number of terms of partialW. The series needs about 20/(pi x) terms; measured against the
// uncapped sum, 10000 terms keep the truncation error below 1e-8 of W(u) for x >= 3e-4, below 1e-5 of
// W(u) at x = 1e-4 and below 7e-4 of W(u) for every smaller x down to 1e-6 (where the series has
// become a plain Fourier series of the screen and converges only like 1/n). One term costs one leakyW.
inline constexpr int kPartialMaxTerms = 10000;

// Number of Fourier terms partialW sums: the first n with n pi x >= 20, at most kPartialMaxTerms;
// 0 for x <= 0.
[[nodiscard]] int partialTermCount(double x);

// W(u) + the nonleaky partial-penetration correction, partialTermCount(x) terms.
// NaN when x <= 0, when the pumping screen has no length (|l - d| <= 1e-8) or, in the observation-well
// form, when the observation screen has none (|lo - dz| <= 1e-8): the correction divides by them.
[[nodiscard]] double partialW(double u, double x, double l, double d, double lo, double dz);
// W(u, r/B) + the leaky partial-penetration correction (200 terms). Exactly leakyW(u, rB) when
// |l - d| <= 1e-8; NaN when the observation-well form has |lo - dz| <= 1e-8.
[[nodiscard]] double partialLeakyW(double u, double x, double rB, double l, double d, double lo, double dz);

}  // namespace tolvex
