// Unconfined aquifer with delayed water-table response, Moench (1993), Laplace-domain eigenvalue
// series inverted by Stehfest's method.
#pragma once

#include "core/state/AnalysisState.h"

namespace tolvex {

// Geometry of one evaluation, fractions of the saturated thickness b, and the observation form:
// 0 observation-well average over z1..z2, 1 average over the full thickness, 2 piezometer at z.
struct UnconfinedGeometry {
    double l = 1.0;
    double d = 0.0;
    double z = 0.5;
    double z1 = 0.0;
    double z2 = 1.0;
    int form = 1;
};

// The geometry of the state (mnL, mnD, mnZ, mnZ1, mnZ2) with the observation form the program uses:
// the full-thickness average for Neuman's table (tcAltUniform = 1) and for mnObsKind = 0, the point
// value at mnZ for mnObsKind = 1. Type curves and the forward model both go through this rule.
[[nodiscard]] UnconfinedGeometry unconfinedGeometry(const AnalysisState& state);

// Dimensionless drawdown for td = T t/(S r^2), beta = Kz r^2/(Kr b^2), sigma = S/Sy.
[[nodiscard]] double unconfinedW(double td, double beta, double sigma, const UnconfinedGeometry& geometry,
                                 const AnalysisState& state);

}  // namespace tolvex
