#include "core/plot/FamilyCurve.h"

#include <cstddef>

namespace tolvex::plot {
namespace {

// The indices of the last crossings into and out of [low, high]; the whole curve when none is found.
struct IndexWindow {
    std::size_t lo;
    std::size_t hi;
};

IndexWindow crossings(std::span<const float> v, float low, float high) {
    const std::size_t last = v.size() - 1;
    IndexWindow window{1, last};
    for (std::size_t i = 2; i + 1 <= last; ++i) {
        if (v[i] > low && v[i - 1] <= low) window.lo = i - 1;
        if (v[i] < high && v[i + 1] >= high) window.hi = i + 1;
    }
    return window;
}

// a + (b - a) * fraction, with a zero denominator giving a itself instead of a division by zero.
float along(double a, double b, double numerator, double denominator) {
    if (denominator == 0.0) return static_cast<float>(a);
    return static_cast<float>(a + numerator / denominator * (b - a));
}

}  // namespace

std::vector<CurvePoint> clipFamilyCurve(std::span<const float> x, std::span<const float> y, AxisRange h,
                                        AxisRange v) {
    if (x.size() != y.size() || x.size() < 3) return {};
    const std::size_t last = x.size() - 1;
    if (!(y[last] > v.min)) return {};

    IndexWindow hw = crossings(x, h.min, h.max);
    const IndexWindow vw = crossings(y, v.min, v.max);

    CurvePoint end{x[hw.hi], y[hw.hi]};
    if (x[hw.hi] > h.max) {
        const std::size_t i = hw.hi;
        end = {h.max, along(y[i], y[i - 1], x[i] - static_cast<double>(h.max),
                            x[i] - static_cast<double>(x[i - 1]))};
    }
    if (end.y > v.max) {
        const std::size_t i = vw.hi;
        end = {along(x[i], x[i - 1], y[i] - static_cast<double>(v.max), y[i] - static_cast<double>(y[i - 1])),
               v.max};
        hw.hi = i;
    }

    CurvePoint start{x[hw.lo], y[hw.lo]};
    if (x[hw.lo] < h.min) {
        const std::size_t i = hw.lo;
        start = {h.min, along(y[i], y[i + 1], h.min - static_cast<double>(x[i]),
                              x[i + 1] - static_cast<double>(x[i]))};
    }
    if (start.y < v.min) {
        const std::size_t i = vw.lo;
        start = {
            along(x[i], x[i + 1], v.min - static_cast<double>(y[i]), y[i + 1] - static_cast<double>(y[i])),
            v.min};
        hw.lo = i;
    }

    std::vector<CurvePoint> points{end};
    for (std::size_t i = hw.hi - 1; i > hw.lo; --i) points.push_back({x[i], y[i]});
    points.push_back(start);
    return points;
}

}  // namespace tolvex::plot
