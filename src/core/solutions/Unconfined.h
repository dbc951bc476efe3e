// Unconfined aquifer with delayed water-table response, Moench (1993), Laplace-domain eigenvalue
// series inverted by Stehfest's method. With the drainage constant 1e9 the water table drains
// instantaneously, which is Neuman's (1974) solution for a partially penetrating well:
//   s(p) = 2/(l - d) * 1/p * sum_n K0(sqrt(beta eps_n^2 + p)) (sin eps_n (1-d) - sin eps_n (1-l)) O(eps_n)
//                                  / ((sin(2 eps_n)/2 + eps_n) / 2),
// with eps_n the roots of eps tan(eps) = p / (sigma beta + p / 1e9) and O the observation form: the
// eigenfunction cos(eps z) at a piezometer at height z above the base, its average over the thickness
// sin(eps)/eps, or its average over an observation-well screen from z1 to z2,
//   (1/(z2 - z1)) int_z1^z2 cos(eps z) dz = (sin(eps z2) - sin(eps z1)) / ((z2 - z1) eps),
// the drawdown an observation well screened there shows (Moench 1993, 1997).
// The result is in the Theis normalization (drawdown = Q/(4 pi T) times it); pi is the full value.
//
// Accuracy: against a fixed-Talbot inversion of the same transform written independently in complex
// arithmetic, 12 Stehfest terms are within 1e-2 relative on decades of td = 0.1..1e7, beta = 0.001..7
// (worst 2e-2 at the delayed-yield bend, td ~ 3, beta ~ 1); the early-time limit W(1/(4 td)) holds to
// 2e-3 and the late-time limit W((1 + sigma)/(4 sigma td)) to 1e-4 (tests). The 1e-7 error of the
// polynomial K0 is amplified by the Stehfest weights: beyond 12 terms the inversion gets worse, not
// better (14 terms: about 15 % in the double-porosity comparison).
#pragma once

#include "core/state/AnalysisState.h"

namespace tolvex {

// Where the drawdown is observed; the values are those the document stores in mnObsKind.
enum UnconfinedObservation : int {
    kFullThicknessAverage = 0,  // fully penetrating observation well: average over the thickness
    kPiezometer = 1,            // point value at z/b
    kObservationScreen = 2,     // observation well screened from z1/b to z2/b: average over the screen
};

inline constexpr int kUnconfinedObservationCount = 3;
// The observation kinds as the dialogs and the reports name them, in the order of their values.
[[nodiscard]] const char* unconfinedObservationName(int kind);

// Geometry of one evaluation, fractions of the saturated thickness b: the pumping-well screen from
// depth d to depth l below the water table, and the observation (form, an UnconfinedObservation) at
// height z, or over the screen from height z1 to height z2, above the aquifer base.
struct UnconfinedGeometry {
    double l = 1.0;
    double d = 0.0;
    double z = 0.5;
    double z1 = 0.0;
    double z2 = 1.0;
    int form = kFullThicknessAverage;
};

// The geometry of the state (mnL, mnD, mnZ, mnZ1, mnZ2) observed as mnObsKind says: what the forward
// model computes.
[[nodiscard]] UnconfinedGeometry unconfinedGeometry(const AnalysisState& state);
// The geometry of the type curves: Neuman's (1975) table (tcAltUniform = 1) is the full-thickness
// average whatever mnObsKind holds; a uniform grid observes as unconfinedGeometry.
[[nodiscard]] UnconfinedGeometry unconfinedTypeCurveGeometry(const AnalysisState& state);

// Cap on the number of eigenvalue terms, reached only for beta below about 4e-10. Measured against the
// uncapped count it changes the Laplace values by less than 2e-11 (full-thickness average) and 1e-4
// relative (piezometer inside the screen, whose series converges only like 1/n).
inline constexpr int kUnconfinedMaxTerms = 5000;
// Cap on the Newton steps of one eigenvalue; measured over q = 1e-14..1e10 and the first 3000 roots,
// no root needs more than 5.
inline constexpr int kUnconfinedNewtonCap = 50;

// Number of eigenvalue terms M = trunc(30 * 2^(-log10 beta - 2)), at least 4, at most
// kUnconfinedMaxTerms. beta = 1 gives 7, beta = 0.01 gives 30, beta = 7 gives 4.
[[nodiscard]] int unconfinedTermCount(double beta);

// The Laplace transform of unconfinedW at p > 0 (including the factor 2/(l - d)). NaN under the same
// guards as unconfinedW and for p <= 0.
[[nodiscard]] double unconfinedLaplace(double p, double beta, double sigma,
                                       const UnconfinedGeometry& geometry);

// Dimensionless drawdown for td = T t/(S r^2), beta = Kz r^2/(Kr b^2), sigma = S/Sy, with the state's
// Stehfest table (any stehfestCount). Costs stehfestCount * unconfinedTermCount(beta) eigenvalues and
// K0 evaluations; the series of the Stehfest points are advanced side by side, which gives the same
// values as summing them one after another, faster.
// NaN when td <= 0, beta <= 0, sigma < 0 (or any of them not finite), the screen has no length (|l - d| <=
// 1e-8), the observation screen has no length (|z2 - z1| <= 1e-8), or form is not 0, 1 or 2.
[[nodiscard]] double unconfinedW(double td, double beta, double sigma, const UnconfinedGeometry& geometry,
                                 const AnalysisState& state);

}  // namespace tolvex
