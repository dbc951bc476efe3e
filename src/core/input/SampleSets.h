// The built-in sample data sets of the "Select predefined values of time and drawdown" dialog: a
// pumping test (the start-up set) and a slug test with normalised heads.
#pragma once

#include "core/state/AnalysisState.h"

namespace tolvex {

// Choices of the dialog, in its order; all but the slug test install the pumping-test set.
enum PredefinedSet : int {
    kSetConfinedAquifer = 0,
    kSetLeakyConfinedAquifer = 1,
    kSetLeakyWithStorage = 2,
    kSetUnconfinedAquifer = 3,
    kSetSlugTest = 4,
    kSetFracturedAquifer = 5,
};

// Installs the set of that choice as the table and the used set (rows 1..n); calculated is zeroed.
void installPredefinedSet(AnalysisState& state, int set);

}  // namespace tolvex
