#include "core/input/SampleSets.h"

#include <array>

#include "core/input/MeasurementTable.h"

namespace tolvex {
namespace {

// Normalised heads of the slug test, one every 3 time units from 3.01 on. The set was recorded from
// 0.01 with the head 1.0 there; that first point is not part of it.
constexpr std::array<double, 21> kSlugHeads{0.816, 0.7,   0.616, 0.55,  0.5,   0.45,  0.4,
                                            0.366, 0.334, 0.3,   0.266, 0.25,  0.234, 0.2,
                                            0.193, 0.166, 0.159, 0.146, 0.134, 0.127, 0.116};

void installSlugTest(AnalysisState& state) {
    std::vector<double> times;
    for (std::size_t k = 1; k <= kSlugHeads.size(); ++k) times.push_back(3.0 * static_cast<double>(k) + 0.01);
    replaceMeasurements(state, times, std::vector<double>(kSlugHeads.begin(), kSlugHeads.end()));
}

// The pumping test is the set the program starts with.
void installPumpingTest(AnalysisState& state) {
    AnalysisState start;
    initialiseAnalysisState(start);
    replaceMeasurements(state, start.allTimes, start.allDrawdowns);
}

}  // namespace

void installPredefinedSet(AnalysisState& state, int set) {
    if (set == kSetSlugTest) {
        installSlugTest(state);
    } else {
        installPumpingTest(state);
    }
}

}  // namespace tolvex
