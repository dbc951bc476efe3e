#include "core/series/SlugHeads.h"

namespace tolvex {

std::vector<double> normalisedHeads(std::span<const double> values, const SlugHead&) {
    return {values.begin(), values.end()};
}

}  // namespace tolvex
