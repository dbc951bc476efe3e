#include "core/estimation/TypeCurveMatching.h"

#include <cmath>
#include <limits>

namespace tolvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kGridPerNode = 2;  // shifts tried per table node
constexpr int kGoldenSteps = 30;
const double kGolden = (std::sqrt(5.0) - 1.0) / 2.0;

struct Overlay {
    const TypeCurveTable& table;
    std::span<const double> lnTimes;
    std::span<const double> values;
    bool amplitudeFree;

    // The match at shift ln U, with sumSquares NaN when a time falls outside the table.
    [[nodiscard]] CurveMatch at(double lnU) const {
        double sw = 0.0, ww = 0.0;
        std::vector<double> w(values.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            w[i] = table.at(lnTimes[i] - lnU);
            if (!std::isfinite(w[i])) return {1.0, std::exp(lnU), kNaN};
            sw += values[i] * w[i];
            ww += w[i] * w[i];
        }
        const double c = amplitudeFree ? (ww > 0.0 ? sw / ww : kNaN) : 1.0;
        double ssr = 0.0;
        for (std::size_t i = 0; i < values.size(); ++i)
            ssr += (values[i] - c * w[i]) * (values[i] - c * w[i]);
        return {c, std::exp(lnU), c > 0.0 ? ssr : kNaN};
    }
};

bool better(const CurveMatch& a, const std::optional<CurveMatch>& best) {
    return std::isfinite(a.sumSquares) && (!best || a.sumSquares < best->sumSquares);
}

}  // namespace

double TypeCurveTable::at(double lnX) const {
    if (values.size() < 2 || !(lnX >= lnFirst) || !(lnX <= lnLast())) return kNaN;
    const double position = (lnX - lnFirst) / step;
    const auto k = std::min(static_cast<std::size_t>(position), values.size() - 2);
    const double f = position - static_cast<double>(k);
    return values[k] + f * (values[k + 1] - values[k]);
}

TypeCurveTable tabulateTypeCurve(const std::function<void(std::span<const double>, std::span<double>)>& curve,
                                 double xFirst, double xLast, int perDecade) {
    TypeCurveTable table;
    table.lnFirst = std::log(xFirst);
    table.step = std::log(10.0) / perDecade;
    const auto count =
        static_cast<std::size_t>(std::ceil((std::log(xLast) - table.lnFirst) / table.step)) + 1;
    std::vector<double> x(count);
    for (std::size_t k = 0; k < count; ++k)
        x[k] = std::exp(table.lnFirst + table.step * static_cast<double>(k));
    table.values.assign(count, kNaN);
    curve(x, table.values);
    return table;
}

std::optional<CurveMatch> matchTypeCurve(const TypeCurveTable& table, std::span<const double> times,
                                         std::span<const double> values, bool amplitudeFree) {
    if (times.empty() || table.values.size() < 2) return std::nullopt;
    std::vector<double> lnTimes(times.size());
    double lnMin = std::numeric_limits<double>::infinity(), lnMax = -lnMin;
    for (std::size_t i = 0; i < times.size(); ++i) {
        lnTimes[i] = std::log(times[i]);
        lnMin = std::min(lnMin, lnTimes[i]);
        lnMax = std::max(lnMax, lnTimes[i]);
    }
    const Overlay overlay{table, lnTimes, values, amplitudeFree};
    // every ln t - ln U inside [lnFirst, lnLast]
    const double lo = lnMax - table.lnLast(), hi = lnMin - table.lnFirst;
    if (!(lo <= hi)) return std::nullopt;
    const double h = table.step / kGridPerNode;
    std::optional<CurveMatch> best;
    double bestLn = lo;
    for (double lnU = lo; lnU <= hi; lnU += h) {
        const CurveMatch m = overlay.at(lnU);
        if (better(m, best)) best = m, bestLn = lnU;
    }
    if (!best) return std::nullopt;
    double a = std::max(lo, bestLn - h), b = std::min(hi, bestLn + h);
    for (int k = 0; k < kGoldenSteps; ++k) {
        const double x1 = b - kGolden * (b - a), x2 = a + kGolden * (b - a);
        const CurveMatch m1 = overlay.at(x1), m2 = overlay.at(x2);
        if (better(m1, best)) best = m1;
        if (better(m2, best)) best = m2;
        if (!(m2.sumSquares < m1.sumSquares)) {
            b = x2;
        } else {
            a = x1;
        }
    }
    return best;
}

}  // namespace tolvex
