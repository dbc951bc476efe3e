// Automatic type-curve matching: the classic overlay of the measurements on a type curve in log-log
// coordinates (Theis 1935; Cooper, Bredehoeft and Papadopulos 1967 for slug tests) done by search.
// A measurement s(t) matches the curve W where s = C W(t / U): the overlay's horizontal shift gives
// the time factor U, its vertical shift the amplitude C. For each U the best C is linear least
// squares, C = sum s W / sum W^2; U is searched over the whole table, then refined by golden section.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace tolvex {

// A type curve tabulated at x = exp(lnFirst + k step), k = 0..values.size()-1; read between the nodes
// linearly in ln x.
struct TypeCurveTable {
    double lnFirst = 0.0;
    double step = 0.0;
    std::vector<double> values;

    [[nodiscard]] double lnLast() const { return lnFirst + step * static_cast<double>(values.size() - 1); }
    // NaN outside the table or between nodes of which one is not finite.
    [[nodiscard]] double at(double lnX) const;
};

// The table of `curve` (called once with all nodes) from xFirst to xLast, `perDecade` nodes a decade.
[[nodiscard]] TypeCurveTable tabulateTypeCurve(
    const std::function<void(std::span<const double> x, std::span<double> w)>& curve, double xFirst,
    double xLast, int perDecade);

struct CurveMatch {
    double amplitude = 1.0;   // C
    double timeFactor = 1.0;  // U
    double sumSquares = 0.0;  // of s - C W(t / U)
};

// The best overlay of (times, values) (times > 0) on the table; a fixed amplitude of 1 when
// `amplitudeFree` is false (normalised heads of a slug test). Nothing when no shift keeps every time
// inside the table with finite values.
[[nodiscard]] std::optional<CurveMatch> matchTypeCurve(const TypeCurveTable& table,
                                                       std::span<const double> times,
                                                       std::span<const double> values, bool amplitudeFree);

}  // namespace tolvex
