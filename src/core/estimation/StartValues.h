// Start values of an estimation, computed from the measurements, for the pumping-test and slug-test
// models 0..8. Several candidates are formed and the one whose drawdowns fit the measurements best
// (plain residuals, as least squares measures them) is taken:
//
// - the straight line of Cooper and Jacob (1946) through the late half of the measurements: for small
//   u the Theis drawdown is s = Q/(4 pi T) ln(2.25 T t / (r^2 S)), so the slope per ln t gives T and
//   the time where the line crosses s = 0 gives S (models 0-4; the unconfined and double-porosity
//   models take the early third for S, Sf and the late third for Sy, Sm, the late Theis segment
//   of Neuman 1975 and Moench 1984);
// - the log-linear decline of the slug-test head, ln H = a - t / t0 (Hvorslev 1951), whose basic time
//   lag t0 sets T ~ rc^2 / t0 (model 5);
// - type-curve matching (Theis 1935; Cooper, Bredehoeft and Papadopulos 1967) against a grid of each
//   model's shape parameters: r/B of Hantush and Jacob (1955), a r / b of Hantush (1961), beta of
//   Hantush (1960), alpha of Cooper et al. (1967), beta and sigma of Neuman (1974) and Moench (1993),
//   lambda (Warren and Root 1963) or gamma (Moench 1984) and sigma of the double-porosity models. The
//   match gives the shape, the amplitude C = Q/(4 pi T) and the time factor (r^2 S/(4 T) and its
//   analogues), from which the model's parameters follow in closed form.
//
// Parameters the drawdown does not see separately (model 4's confining beds, which act through
// beta only) keep the ratios of their current values.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/state/AnalysisState.h"

namespace tolvex {

// The start vector (1-based, as buildParameterVectorDouble) for the state's model from its used
// measurements, or why there is none: a model other than 0..8, fewer than two measurements with a
// positive time and a finite value, or no candidate with finite drawdowns.
struct StartValues {
    std::vector<double> vector;
    std::string method;  // which candidate won: "Cooper-Jacob line", "type-curve match", ...
};
[[nodiscard]] std::optional<StartValues> estimateStartValues(const AnalysisState& state,
                                                             std::string* reason = nullptr);

// estimateStartValues written into the model's fields (model 2: K' = b'/p3). Returns why it could
// not, leaving the state unchanged.
[[nodiscard]] std::optional<std::string> applyStartValues(AnalysisState& state);

}  // namespace tolvex
