// Jacob's straight-line method (Cooper and Jacob 1946): for small u the Theis drawdown is linear in
// ln t, s = Q/(4 pi T) (-0.5772 - ln(r^2 S/(4 T t))), so a regression of s on -ln(r^2/(4t)) gives T from
// the slope and S from the intercept in closed form.
#pragma once

#include <optional>
#include <string>

#include "core/state/AnalysisState.h"

namespace tolvex {

// Fits T and S to the used measurements and sets calculated and rmsError. Refuses, changing nothing,
// measurements that give no line (all times equal, fewer than two) or no positive slope, a time that
// is not positive, and a radial distance or pumping rate that is not positive; the reason is returned.
[[nodiscard]] std::optional<std::string> jacobFit(AnalysisState& state);

}  // namespace tolvex
