// Changing the units a document is entered and shown in. The state holds SI values whenever units are
// set, so what a change does depends on where it starts and ends:
// - from none to units: the numbers entered so far are read as being in the new units (converted to SI);
// - from units to other units: the quantities stay, only their display changes (nothing is converted);
// - from units to none: the numbers stay as they were shown (converted back from SI), so the document
//   reads as before in consistent units of the user's choice.
// Fields, measurements of every series, the rate schedule, the parameter vectors and the errors of the
// last estimation are converted alike, so results stay consistent with the data.
#pragma once

#include "core/state/AnalysisState.h"
#include "core/units/DisplayUnits.h"
#include "core/units/Units.h"

namespace tolvex {

void changeDisplayUnits(AnalysisState& state, const DisplayUnits& to);

// A copy of the state whose numbers are those the document shows (in its units; units none), for the
// reports and the plot, which print and draw numbers as they stand. Without units: the state itself.
[[nodiscard]] AnalysisState inDisplayUnits(const AnalysisState& state);

// What entry k (1-based) of the model's parameter vector measures (paramVector holds entry k at k - 1).
// The leaky model carries b'/K', a time.
[[nodiscard]] Dimension parameterDimension(int modelKind, std::size_t k);

}  // namespace tolvex
