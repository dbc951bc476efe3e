#include "core/plot/AxisRange.h"

#include <cmath>
#include <utility>

namespace tolvex::plot {
namespace {

constexpr double kDecadeTolerance = 0.00001;
constexpr float kZeroWidthWidening = 0.1f;
constexpr AxisRange kFallbackDecade{1.0f, 10.0f};
constexpr AxisRange kFallbackLinear{0.0f, 1.0f};

bool finite(AxisRange r) {
    return std::isfinite(r.min) && std::isfinite(r.max);
}

bool usable(AxisRange r, bool logarithmic) {
    return finite(r) && r.min < r.max && (!logarithmic || r.min > 0.0f);
}

AxisRange ordered(AxisRange r, AxisRange window, bool logarithmic) {
    if (finite(r) && r.min <= r.max) return r;
    if (usable(window, logarithmic)) return window;
    if (finite(r)) return {r.max, r.min};
    return logarithmic ? kFallbackDecade : kFallbackLinear;
}

}  // namespace

AxisRange clampToWindow(AxisRange data, AxisRange window, bool logarithmic) {
    if (data.min < window.min) data.min = window.min;
    if (data.max > window.max) data.max = window.max;
    const auto decadeAboveMinimum = static_cast<float>(static_cast<double>(window.min) * 10.0);
    if (logarithmic && decadeAboveMinimum > data.max) data.max = decadeAboveMinimum;
    return data;
}

AxisRange drawableRange(AxisRange clamped, AxisRange window, bool logarithmic) {
    AxisRange r = ordered(clamped, window, logarithmic);
    if (logarithmic) {
        if (!(r.max > 0.0f)) return kFallbackDecade;
        if (!(r.min > 0.0f)) r.min = static_cast<float>(static_cast<double>(r.max) / 10.0);
        return r;
    }
    if (static_cast<double>(r.max) - r.min > 0.0) return r;
    const double centre = r.min;
    const double half = centre == 0.0 ? 1.0 : std::abs(centre) * kZeroWidthWidening;
    return {static_cast<float>(centre - half), static_cast<float>(centre + half)};
}

DecadeSpan decadeSpan(AxisRange positive) {
    const double logMin = std::log10(static_cast<double>(positive.min));
    const double logMax = std::log10(static_cast<double>(positive.max));
    auto low = static_cast<int>(std::floor(logMin + kDecadeTolerance));
    auto high = static_cast<int>(std::ceil(logMax - kDecadeTolerance));
    if (high <= low) high = low + 1;
    return {low, high};
}

}  // namespace tolvex::plot
