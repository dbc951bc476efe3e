#include "core/estimation/FitChecks.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/state/FieldTable.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {
namespace {

// The fitted aquifer storage coefficients: the storativity S and the specific yield Sy, volumes of
// water per unit area and unit head, below 1 for every real aquifer. (The confining beds' and the
// double-porosity storativities are left out: fitted to data of another aquifer, such as the Theis
// sample fitted with Warren and Root, they wander far above 1 without making S or T wrong.)
constexpr std::array<std::string_view, 2> kStorageFields{"storativity", "specificYield"};

std::string plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

bool everyUsedDrawdownZero(const AnalysisState& s) {
    const std::size_t n = std::min(static_cast<std::size_t>(std::max(s.usedCount, 0)), s.measured.size());
    return n > 0 && std::all_of(s.measured.begin(), s.measured.begin() + static_cast<std::ptrdiff_t>(n),
                                [](double m) { return m == 0.0; });
}

}  // namespace

std::optional<std::string> checkDeterminable(const AnalysisState& s, const std::set<std::string>& fixed) {
    std::vector<std::string_view> fitted;
    for (std::string_view name : fittedFieldNames(s.modelKind))
        if (!fixed.count(std::string(name))) fitted.push_back(name);
    const std::size_t used = static_cast<std::size_t>(std::max(s.usedCount, 0));
    if (used >= fitted.size()) return std::nullopt;
    std::string names;
    for (std::string_view name : fitted) names += (names.empty() ? "" : ", ") + std::string(name);
    return "Only " + plural(used, "measurement is", "measurements are") + " in use, fewer than the " +
           plural(fitted.size(), "parameter", "parameters") + " the fit determines (" + names +
           "): use at least " + std::to_string(fitted.size()) + " measurements.";
}

std::vector<std::string> fitWarnings(const AnalysisState& s) {
    std::vector<std::string> warnings;
    for (std::string_view name : fittedFieldNames(s.modelKind)) {
        if (std::find(kStorageFields.begin(), kStorageFields.end(), name) == kStorageFields.end()) continue;
        const float value = s.*std::get<float AnalysisState::*>(findField(name)->member);
        if (value >= 1.0f) {
            warnings.push_back("The fitted " + std::string(name) + " is " + formatGeneral(value, 6) +
                               ": a storage coefficient of 1 or more is not physical, so the measurements "
                               "do not determine it (are the drawdowns and the pumping rate in matching "
                               "units?).");
        }
    }
    if (everyUsedDrawdownZero(s)) {
        warnings.push_back(
            "Every used drawdown is zero: the measurements show no response to the test, so the fitted "
            "parameters are not determined by them.");
    }
    return warnings;
}

}  // namespace tolvex
