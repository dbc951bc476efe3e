#include "core/series/SlugHeads.h"

#include <cmath>

namespace tolvex {

double slugDisplacement(double value, const SlugHead& head) {
    return head.waterLevels ? std::fabs(value - head.staticLevel) : value;
}

double initialDisplacement(std::span<const double> values, const SlugHead& head) {
    switch (head.reference) {
        case SlugHead::Reference::FirstValue:
            return values.empty() ? 0.0 : slugDisplacement(values.front(), head);
        case SlugHead::Reference::Number:
            return head.h0;
        case SlugHead::Reference::One:
            break;
    }
    return 1.0;
}

std::vector<double> normalisedHeads(std::span<const double> values, const SlugHead& head) {
    std::vector<double> heads(values.begin(), values.end());
    if (head == SlugHead{}) return heads;  // already H/H0: kept to the last bit
    const double h0 = initialDisplacement(values, head);
    for (double& h : heads) h = slugDisplacement(h, head) / h0;
    return heads;
}

std::vector<double> headsAsMeasured(std::span<const double> normalised, double h0,
                                    std::span<const double> measured, const SlugHead& head) {
    std::vector<double> values(normalised.begin(), normalised.end());
    if (head == SlugHead{}) return values;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double displacement = values[i] * h0;
        if (!head.waterLevels) {
            values[i] = displacement;
            continue;
        }
        const bool below = i < measured.size() && measured[i] < head.staticLevel;
        values[i] = head.staticLevel + (below ? -displacement : displacement);
    }
    return values;
}

}  // namespace tolvex
