// Visual type-curve matching: the measurements (t, s) laid over the current model's family in its
// dimensionless axes, moved by a shift of (dx, dy) decades so that (t, s) lands on
// (t 10^dx, s 10^dy). The shift and the chosen curve give the parameters in closed form, the classic
// match-point reading (Theis 1935; Hantush and Jacob 1955; Cooper, Bredehoeft and Papadopulos 1967;
// Neuman 1975; Moench 1984):
//
//   models 0-4  x = 1/u = 4 T t / (r^2 S), y = W = 4 pi T s / Q:
//               T = Q 10^dy / (4 pi), S = 4 T 10^-dx / r^2
//   model 5     x = beta = T t / rc^2, y = H/H0 (not shifted): T = rc^2 10^dx, S = alpha rc^2 / rw^2
//   models 6-8  x = td = T t / (S r^2), y = 4 pi T s / Q: T = Q 10^dy / (4 pi), S = T 10^-dx / r^2
//
// and from the curve's family value: Kz = (a r/b)^2 T b / r^2 (model 1, and model 3 from the state's
// fixed a r/b), K' = b' (r/B)^2 T / r^2 (models 2 and 3), beta of model 4 by scaling K' and K'' (the
// beds keep their ratio and their storativities), Kz = beta b T / r^2 and Sy = S / sigma (model 6),
// Sm = sigma Sf with Tm = lambda Tf bs^2 / (12 r^2) (model 7) or Tm = Tf (gamma bs / (2 r))^2 with the
// family labelled by gamma^2 (model 8). The state's sigma fields are those the family was drawn with.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/state/AnalysisState.h"

namespace tolvex {

struct MatchShift {
    double dx = 0.0;  // decades: type-curve abscissa = t 10^dx
    double dy = 0.0;  // decades: type-curve ordinate = s 10^dy
};

// Where the shift puts the measurements and which curve they lie on.
struct MatchPlacement {
    MatchShift shift;
    double familyValue = 0.0;  // the curve's label (r/B, beta, alpha, ...); 0 for the Theis curve
};

// The shift that moves the data point (t, s) onto the curve point (x, y).
[[nodiscard]] MatchShift shiftThrough(double t, double s, double x, double y);

// The parameter vector (1-based, as buildParameterVectorDouble) of the state's model 0..8 for the
// placement, the state's other fields (Q, r, thicknesses, radii, model 4's beds) as they are. Nothing,
// with the reason, for another model, a shift or family value that is not a finite number (a family
// value of 0 or below for models 1-8), or a state whose Q, r or needed thickness or radius is not
// positive.
[[nodiscard]] std::optional<std::vector<double>> parametersFromMatch(const AnalysisState& state,
                                                                     const MatchPlacement& placement,
                                                                     std::string* reason = nullptr);

// The inverse: the placement on which drawdowns of the parameter vector p lie (the shift, and the
// family value of the curve they follow). Nothing, with the reason, as above.
[[nodiscard]] std::optional<MatchPlacement> placementOf(const AnalysisState& state, std::span<const double> p,
                                                        std::string* reason = nullptr);

}  // namespace tolvex
