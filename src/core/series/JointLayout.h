// How the measurements of several observation series sit side by side during a joint fit. The fit's
// working arrays (times, measured, calculated) then hold the used measurements of every switched-on
// series one after another, the first series first; each stretch is computed at its own series' site
// and its squared residuals count with the series' weight. An empty layout is the classic single series.
#pragma once

#include <vector>

namespace tolvex {

// One series' stretch of the joined arrays.
struct JointSegment {
    int series = 0;  // 0 the first series (the classic records), k the extra series k (extraSeries[k - 1])
    int offset = 0;  // first index in the joined arrays
    int count = 0;
    double weight = 1.0;
    friend bool operator==(const JointSegment&, const JointSegment&) = default;
};

struct JointLayout {
    std::vector<JointSegment> segments;  // empty: not joined
    std::vector<double> rootWeights;     // sqrt(weight) of every joined point, for weighted residuals
    // The first series' working arrays as they were before the join, put back by the split.
    std::vector<double> firstTimes, firstMeasured, firstCalculated;
    int firstUsedCount = 0;
    [[nodiscard]] bool joined() const { return !segments.empty(); }
    friend bool operator==(const JointLayout&, const JointLayout&) = default;
};

}  // namespace tolvex
