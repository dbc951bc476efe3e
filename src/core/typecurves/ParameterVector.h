// The parameter vector of each model: which fields of the state an estimation varies, in which order,
// and which of them the forward model keeps inside [1e-10, 1e10]. The vector is 1-based (element 0
// unused), as the forward model and the estimation formulas index it.
//
//   model  n  p1  p2  p3      p4   p5  p6
//   0      2  S   T
//   1      3  S   T   Kz
//   2      3  S   T   b'/K'
//   3      4  S   T   Kz      K'
//   4      6  S   T   K'      K''  S'  S''   (S' and S'' are not clamped)
//   5      2  S   T
//   6      4  S   T   Kz      Sy
//   7, 8   4  Sf  Tf  Sm      Tm
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "core/state/AnalysisState.h"

namespace tolvex {

inline constexpr int kMaxParameters = 6;
inline constexpr double kParameterFloor = 1e-10;
inline constexpr double kParameterCeiling = 1e10;

// n of the model (0 for models without a parameter vector: 9 and anything unknown).
[[nodiscard]] int parameterCount(int modelKind);
// How many leading entries of the vector the forward model clamps.
[[nodiscard]] int clampedCount(int modelKind);

// The state fields an estimation of the model writes back, in vector order (model 2 gives back K'
// as upperBedConductivity; Jacob's method T and S; Bouwer and Rice K).
[[nodiscard]] std::vector<std::string_view> fittedFieldNames(int modelKind);

// The vector of the model from the current fields, n + 1 floats. For model 2 the ratio b'/K' is
// formed in double from the two stored floats and rounded to float.
[[nodiscard]] std::vector<float> buildParameterVector(const AnalysisState& state);
// The same in double precision (the least-squares block keeps b'/K' unrounded).
[[nodiscard]] std::vector<double> buildParameterVectorDouble(const AnalysisState& state);

// Writes entries 1..n back into their fields as floats. Model 2 carries b'/K' and gives back
// K' = b'/p3; the bed thickness b' itself never changes.
void writeParameterVector(AnalysisState& state, std::span<const double> p);
void writeParameterVector(AnalysisState& state, std::span<const float> p);

}  // namespace tolvex
