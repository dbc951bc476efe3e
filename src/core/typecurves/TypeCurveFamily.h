// Families of dimensionless type curves for models 0..8: one abscissa grid shared by every curve and
// one curve per value of the family parameter, either on logarithmic grids from the state's ranges or
// on the published tables of Wenzel (1942), Hantush (1956, 1961) and Neuman (1975).
//
// Layout in the state: curveX[1..nx] ascending; curve k (0..nf-1) at abscissa i (1..nx) is
// curveY[k*nx + i]; familyValues[k] labels curve k.
#pragma once

#include <optional>
#include <stop_token>
#include <string>

#include "core/jobs/Job.h"
#include "core/state/AnalysisState.h"

namespace tolvex {

inline constexpr int kMaxGridPoints = 65535;  // counts are stored as 16-bit words in the document
// The document stores curveXCount = nx + 1 and curveYCount = nx * nf + 1 as 16-bit words: a family of
// nf curves of nx points can be saved when nx * nf + 1 <= 65535 (nx + 1 <= 65535 follows).
inline constexpr int kMaxFamilyValues = 65534;

struct TypeCurveOptions {
    // OpenMP threads for the points of a family: 1 serial, n > 1 that many, 0 every core for the
    // families of series and numerical inversions and one thread for the closed-form models 0 and 2.
    int threads = 0;
};

// Whether the model has a type-curve family (0..8).
[[nodiscard]] bool hasTypeCurves(int modelKind);
// Whether the model's family is taken from a published table with the current spacing option.
[[nodiscard]] bool usesPublishedTable(const AnalysisState& state);
// Whether the run shows the progress counter (every family but the confined one).
[[nodiscard]] bool typeCurvesShowProgress(int modelKind);

// Why the current ranges cannot give a family, naming the field at fault: a count below 2, a family of
// more than 100 curves, more points than the document can save (naming the largest count that can be
// saved), a bound that is not a positive number, or a minimum above its maximum. Nothing when the
// family can be computed and saved (table runs need no ranges).
[[nodiscard]] std::optional<std::string> checkTypeCurveRanges(const AnalysisState& state);

// The same check field by field, for a dialog that refuses the fault before it closes: the state field
// at fault, what to enter there instead (a phrase that follows the field's caption, "enter a number
// greater than 0") and the message of checkTypeCurveRanges.
struct TypeCurveRangeFault {
    std::string field;
    std::string remedy;
    std::string message;
};
[[nodiscard]] std::optional<TypeCurveRangeFault> typeCurveRangeFault(const AnalysisState& state);

// Computes the family of state.modelKind into the state, stepping the progress counter as the
// published program did: by abscissa for models 2-4, by curve for the others, none for model 0. A
// table run also overwrites the model's range fields with the table's extent and counts. The points
// are spread over the cores with OpenMP; the result is the same bit for bit as a serial run.
// Returns false when `stop` was requested: the state's family is then incomplete, so callers run this
// on a copy. The ranges must have passed checkTypeCurveRanges.
bool computeTypeCurves(AnalysisState& state, ProgressSink& progress, std::stop_token stop,
                       const TypeCurveOptions& options = {});

}  // namespace tolvex
