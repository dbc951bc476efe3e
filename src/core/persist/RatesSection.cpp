#include <cctype>
#include <cmath>

#include "core/persist/ExtensionSections.h"
#include "core/pumping/RateScheduleChecks.h"

namespace tolvex {

// "rates": [[t, Q], ...] in the units of the document's records, as the state holds them.
void writeRatesSection(const AnalysisState& state, nlohmann::json& payload) {
    if (state.rateSchedule.empty()) return;
    nlohmann::json rates = nlohmann::json::array();
    for (const RateStep& step : state.rateSchedule) rates.push_back({step.time, step.rate});
    payload["rates"] = rates;
}

std::optional<std::string> readRatesSection(const nlohmann::json& payload, AnalysisState& state) {
    const auto rates = payload.find("rates");
    if (rates == payload.end()) return std::nullopt;
    if (!rates->is_array()) return "its extension block's rates are not a list of [time, rate] pairs";
    std::vector<RateStep> steps;
    for (std::size_t i = 0; i < rates->size(); ++i) {
        const nlohmann::json& pair = (*rates)[i];
        if (!pair.is_array() || pair.size() != 2 || !pair[0].is_number() || !pair[1].is_number()) {
            return "its extension block's rate step " + std::to_string(i + 1) + " is " + pair.dump() +
                   ", not a pair [time, rate] of numbers";
        }
        steps.push_back({pair[0].get<double>(), pair[1].get<double>()});
    }
    if (auto error = checkRateSchedule(steps)) {
        std::string reason = *error;
        if (!reason.empty())
            reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
        return "its extension block's rates are wrong: " + reason;
    }
    state.rateSchedule = std::move(steps);
    return std::nullopt;
}

}  // namespace tolvex
