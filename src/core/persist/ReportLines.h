// Pieces shared by the two reports.
#pragma once

#include <string>
#include <vector>

#include "core/io/NumberFormat.h"
#include "core/state/AnalysisState.h"
#include "core/state/ModelKind.h"

namespace tolvex::report {

// Element i of a report array, or 0 where the array is shorter: a report prints what is there.
template <class Values>
[[nodiscard]] double valueAt(const Values& values, long long i) {
    if (i < 0 || static_cast<unsigned long long>(i) >= values.size()) return 0.0;
    return static_cast<double>(values[static_cast<std::size_t>(i)]);
}

// "<label>%20.<precision>e<ending>", the shape of every labelled value line.
[[nodiscard]] inline std::string valueLine(const std::string& label, double value, int precision,
                                           const char* ending) {
    return label + formatE(value, 20, precision) + ending;
}

// The five model titles that both reports share.
[[nodiscard]] inline const char* sharedModelTitle(int modelKind) {
    switch (static_cast<ModelKind>(modelKind)) {
        case ModelKind::Theis:
            return "Constant Discharge From A Fully Penetrating Well In A Nonleaky Aquifer";
        case ModelKind::PartialPenetration:
            return "Constant Discharge From A Partially Penetrating Well In A Nonleaky Aquifer";
        case ModelKind::Leaky:
            return "Constant Discharge From A Well In A Leaky Aquifer";
        case ModelKind::LeakyPartial:
            return "Constant Discharge From A Partially Penetrating Well In A Leaky Aquifer";
        case ModelKind::LeakyStorage:
            return "Constant Discharge From A Well In A Leaky Aquifer With Storage Of Water In The Confining "
                   "Beds";
        default:
            return nullptr;
    }
}

inline constexpr const char* kDefaultTitle = "Default one";

}  // namespace tolvex::report
