#include "core/pumping/Superposition.h"

#include <algorithm>
#include <vector>

namespace tolvex {

void superposeRateSteps(std::span<const RateStep> steps, double referenceRate, std::span<const double> times,
                        std::span<double> out, const ReferenceDrawdowns& reference) {
    std::fill(out.begin(), out.end(), 0.0);
    std::vector<double> elapsed, values;
    std::vector<std::size_t> where;
    double previousRate = 0.0;
    for (const RateStep& step : steps) {
        const double factor = (step.rate - previousRate) / referenceRate;
        previousRate = step.rate;
        if (factor == 0.0) continue;  // the same rate again starts no new well
        elapsed.clear();
        where.clear();
        for (std::size_t i = 0; i < times.size() && i < out.size(); ++i) {
            if (!(times[i] > step.time)) continue;  // the step has not happened yet: it adds nothing
            elapsed.push_back(times[i] - step.time);
            where.push_back(i);
        }
        if (elapsed.empty()) continue;
        values.assign(elapsed.size(), 0.0);
        reference(elapsed, values);
        for (std::size_t k = 0; k < where.size(); ++k) out[where[k]] += factor * values[k];
    }
}

}  // namespace tolvex
