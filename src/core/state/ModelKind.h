// The aquifer models of the catalogue, numbered as the model-selection dialog lists them.
#pragma once

#include <string_view>

namespace tolvex {

enum class ModelKind : int {
    Theis = 0,               // confined, fully penetrating well (Theis 1935)
    PartialPenetration = 1,  // confined, partially penetrating well (Hantush 1961)
    Leaky = 2,               // leaky confined, fully penetrating (Hantush and Jacob 1955)
    LeakyPartial = 3,        // leaky confined, partially penetrating (Hantush 1964)
    LeakyStorage = 4,        // leaky with storage in the confining beds (Hantush 1960)
    SlugTest = 5,            // Cooper, Bredehoeft and Papadopulos (1967)
    Unconfined = 6,          // Moench (1993)
    WarrenRoot = 7,          // double porosity, pseudo-steady interflow (Warren and Root 1963)
    BoultonStreltsova = 8,   // double porosity, slab matrix blocks (Boulton and Streltsova 1977)
    Jacob = 9,               // straight line (Cooper and Jacob 1946)
    BouwerRice = 10,         // slug test (Bouwer and Rice 1976)
};

inline constexpr int kModelCount = 11;
inline constexpr int kLastTypeCurveModel = 8;  // type curves, trial run and simplex exist for 0..8

// The model in words ("slug test (Cooper, Bredehoeft and Papadopulos, 1967)"), "unknown model" outside
// 0..10: for the command line's show and the window's status bar.
[[nodiscard]] std::string_view modelName(int kind);

}  // namespace tolvex
