#include "core/state/ModelKind.h"

#include <array>

namespace tolvex {
namespace {

constexpr std::array<const char*, kModelCount> kModelNames{
    "confined aquifer, fully penetrating well (Theis)",
    "confined aquifer, partially penetrating well",
    "leaky confined aquifer, fully penetrating well",
    "leaky confined aquifer, partially penetrating well",
    "leaky confined aquifer with storage of water in the confining beds",
    "slug test (Cooper, Bredehoeft and Papadopulos, 1967)",
    "unconfined aquifer (Moench, 1993)",
    "fractured aquifer (Warren and Root)",
    "fractured aquifer (Boulton and Streltsova)",
    "straight line (Cooper and Jacob, 1946)",
    "slug test (Bouwer and Rice, 1976)",
};

}  // namespace

std::string_view modelName(int kind) {
    return kind >= 0 && kind < kModelCount ? kModelNames[static_cast<std::size_t>(kind)] : "unknown model";
}

}  // namespace tolvex
