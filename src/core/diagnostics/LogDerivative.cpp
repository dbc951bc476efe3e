#include "core/diagnostics/LogDerivative.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numeric>

namespace tolvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The usable measurements merged by time: ln t ascending, the mean drawdown of each time, and for each
// input index the merged point it belongs to (npos when left out).
struct MergedSeries {
    std::vector<double> lnT;
    std::vector<double> s;
    std::vector<std::size_t> pointOf;
};

MergedSeries merge(std::span<const double> times, std::span<const double> values) {
    const std::size_t n = std::min(times.size(), values.size());
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < n; ++i) {
        if (times[i] > 0.0 && std::isfinite(times[i]) && std::isfinite(values[i])) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return times[a] < times[b]; });
    MergedSeries m;
    m.pointOf.assign(times.size(), static_cast<std::size_t>(-1));
    std::vector<int> counts;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t i = order[k];
        if (k == 0 || times[i] != times[order[k - 1]]) {
            m.lnT.push_back(std::log(times[i]));
            m.s.push_back(0.0);
            counts.push_back(0);
        }
        m.s.back() += values[i];
        ++counts.back();
        m.pointOf[i] = m.lnT.size() - 1;
    }
    for (std::size_t j = 0; j < m.s.size(); ++j) m.s[j] /= counts[j];
    return m;
}

double slope(const MergedSeries& m, std::size_t a, std::size_t b) {
    return (m.s[b] - m.s[a]) / (m.lnT[b] - m.lnT[a]);
}

// Bourdet's weighted central derivative with neighbours at least `reach` (in ln t) away; the last point
// on a side when none lies that far; one-sided at the first and last time.
double bourdetAt(const MergedSeries& m, std::size_t i, double reach) {
    const std::size_t n = m.lnT.size();
    if (i == 0) return slope(m, 0, 1);
    if (i == n - 1) return slope(m, n - 2, n - 1);
    std::size_t left = i - 1;
    while (left > 0 && m.lnT[i] - m.lnT[left] < reach) --left;
    std::size_t right = i + 1;
    while (right < n - 1 && m.lnT[right] - m.lnT[i] < reach) ++right;
    const double dl = m.lnT[i] - m.lnT[left], dr = m.lnT[right] - m.lnT[i];
    return (slope(m, left, i) * dr + slope(m, i, right) * dl) / (dl + dr);
}

// The least-squares slope of s on ln t over the points [first, last].
double regressionSlope(const MergedSeries& m, std::size_t first, std::size_t last) {
    const double count = static_cast<double>(last - first + 1);
    double mx = 0.0, my = 0.0;
    for (std::size_t k = first; k <= last; ++k) {
        mx += m.lnT[k];
        my += m.s[k];
    }
    mx /= count;
    my /= count;
    double sxy = 0.0, sxx = 0.0;
    for (std::size_t k = first; k <= last; ++k) {
        sxy += (m.lnT[k] - mx) * (m.s[k] - my);
        sxx += (m.lnT[k] - mx) * (m.lnT[k] - mx);
    }
    return sxy / sxx;
}

double windowAt(const MergedSeries& m, std::size_t i, int window) {
    const auto half = static_cast<std::size_t>(window / 2);
    const std::size_t first = i >= half ? i - half : 0;
    const std::size_t last = std::min(i + half, m.lnT.size() - 1);
    return regressionSlope(m, first, last);
}

}  // namespace

const char* checkDerivativeSmoothing(const DerivativeSmoothing& smoothing) {
    if (smoothing.kind == DerivativeSmoothing::Kind::LSpacing) {
        if (!(smoothing.lSpacing >= 0.0 && smoothing.lSpacing <= kMaxLSpacing))
            return "The L-spacing must lie between 0 and 0.5 log cycles.";
        return "";
    }
    if (smoothing.window < 3 || smoothing.window % 2 == 0)
        return "The moving window must hold an odd number of at least 3 points.";
    return "";
}

std::vector<double> logDerivative(std::span<const double> times, std::span<const double> values,
                                  const DerivativeSmoothing& smoothing) {
    std::vector<double> out(times.size(), kNaN);
    const MergedSeries m = merge(times, values);
    if (m.lnT.size() < 3) return out;
    std::vector<double> d(m.lnT.size());
    // A grid of exactly 10 points a decade must find its neighbours 0.2 cycles away although ln t
    // carries rounding: the reach is shortened by far less than any real spacing.
    const double reach = smoothing.lSpacing * std::log(10.0) * (1.0 - 1e-9);
    for (std::size_t j = 0; j < d.size(); ++j) {
        d[j] = smoothing.kind == DerivativeSmoothing::Kind::LSpacing ? bourdetAt(m, j, reach)
                                                                     : windowAt(m, j, smoothing.window);
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (m.pointOf[i] != static_cast<std::size_t>(-1)) out[i] = d[m.pointOf[i]];
    }
    return out;
}

}  // namespace tolvex
