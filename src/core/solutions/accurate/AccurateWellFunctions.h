// The well functions evaluated to nine digits or better: the same mathematical functions as the
// program's standard algorithms (ConfinedLeaky.h, PartialPenetration.h, SlugTest.h, Unconfined.h,
// DoublePorosity.h), with the same arguments and the same guards (NaN where those give NaN), computed
// by methods whose error is far below what a measurement can resolve. Each definition cites its method
// and its measured error against 30-digit references. Full pi throughout.
#pragma once

#include "core/solutions/Unconfined.h"

namespace tolvex::accurate {

// Theis (1935) W(u) = E1(u), u > 0.
[[nodiscard]] double theisW(double u);
// Hantush and Jacob (1955) W(u, r/B), u > 0, rOverB >= 0.
[[nodiscard]] double leakyW(double u, double rOverB);
// Hantush (1960) H(u, beta), u > 0, beta >= 0.
[[nodiscard]] double storageH(double u, double beta);
// Hantush (1961) partial penetration, nonleaky and leaky, arguments as partialW and partialLeakyW.
[[nodiscard]] double partialW(double u, double x, double l, double d, double lo, double dz);
[[nodiscard]] double partialLeakyW(double u, double x, double rB, double l, double d, double lo, double dz);
// Cooper, Bredehoeft and Papadopulos (1967) F(beta, alpha), as slugF.
[[nodiscard]] double slugF(double beta, double alpha);
// Moench (1993) / Neuman (1974) unconfined drawdown, as unconfinedW.
[[nodiscard]] double unconfinedW(double td, double beta, double sigma, const UnconfinedGeometry& geometry);
// Warren and Root (1963) (variant kWarrenRoot) and slab (kSlab) double porosity, as doublePorosityW.
[[nodiscard]] double doublePorosityW(double td, double param, double sigma, int variant);

}  // namespace tolvex::accurate
