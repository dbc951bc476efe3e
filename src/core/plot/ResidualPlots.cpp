#include "core/plot/ResidualPlots.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>
#include <span>

#include "core/estimation/Uncertainty.h"
#include "core/io/NumberFormat.h"
#include "core/plot/Axes.h"
#include "core/plot/ClearDataPlot.h"
#include "core/plot/DataPlot.h"
#include "core/plot/DiagnosticViews.h"
#include "core/plot/PlotExtent.h"
#include "core/series/UsedRange.h"
#include "core/state/FieldTable.h"
#include "core/units/Units.h"

namespace tolvex::plot {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Residuals where both values exist, pairing the i-th value in use with the i-th calculated one.
SeriesResiduals residualsOf(std::string name, std::span<const double> times, std::span<const double> measured,
                            std::span<const double> calculated) {
    SeriesResiduals r{std::move(name), {}, {}, {}};
    const std::size_t n = std::min({times.size(), measured.size(), calculated.size()});
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(measured[i]) || !std::isfinite(calculated[i])) continue;
        r.times.push_back(times[i]);
        r.calculated.push_back(calculated[i]);
        r.residuals.push_back(measured[i] - calculated[i]);
    }
    return r;
}

std::span<const double> slice(const std::vector<double>& values, std::size_t first, std::size_t count) {
    if (first >= values.size()) return {};
    return std::span<const double>(values).subspan(first, std::min(count, values.size() - first));
}

// The vertical title: "Residual [m]" in the unit of the measured values.
std::string residualTitle(const AnalysisState& state) {
    return titleWithUnit("Residual", unitLabel(measuredDimension(state), state.units), state.units.set());
}

std::vector<ClearSeries> asClearSeries(const std::vector<SeriesResiduals>& series, bool againstTime) {
    std::vector<ClearSeries> clear;
    for (const SeriesResiduals& s : series)
        clear.push_back({s.name, againstTime ? s.times : s.calculated, s.residuals, {}});
    return clear;
}

AxisRange rangeOf(const std::vector<ClearSeries>& series, bool horizontal, bool positiveOnly) {
    Extent extent;
    for (const ClearSeries& s : series) {
        for (double v : horizontal ? s.times : s.values)
            if (std::isfinite(v) && (!positiveOnly || v > 0.0)) extent.widen(v);
    }
    return {extent.min, extent.max};
}

// A straight line between two data points, clipped to the plot rectangle by running it through many
// points and keeping those inside (the lines are straight on the axes they are drawn on).
void drawDataLine(PlotCanvas& c, const AxisMapping& m, double x0, double y0, double x1, double y1, Rgb pen) {
    constexpr int kSteps = 200;
    Polyline run{{}, pen};
    const LogicalRect r = c.plotRect;
    for (int i = 0; i <= kSteps; ++i) {
        const double f = static_cast<double>(i) / kSteps;
        const double x = m.xLog ? x0 * std::pow(x1 / x0, f) : x0 + (x1 - x0) * f;
        const auto px = mapX(m, r, static_cast<float>(x));
        const auto py = mapY(m, r, static_cast<float>(y0 + (y1 - y0) * f));
        if (!px || !py || *px < r.left || *px > r.right || *py < r.lower || *py > r.upper) continue;
        run.points.push_back({*px, *py});
    }
    if (run.points.size() > 1) c.scene.add(run);
}

void drawResidualView(PlotCanvas& c, const AnalysisState& state, bool againstTime,
                      const std::string& heading) {
    const std::vector<SeriesResiduals> series = seriesResiduals(state);
    if (series.empty()) {
        drawViewNote(c, kNoEstimationNote);
        return;
    }
    const std::vector<ClearSeries> clear = asClearSeries(series, againstTime);
    AxisRange vertical = rangeOf(clear, false, false);
    vertical = {std::min(vertical.min, 0.0f), std::max(vertical.max, 0.0f)};  // the zero line shows
    const AxisRange horizontal = rangeOf(clear, true, againstTime);
    const std::string xTitle =
        againstTime ? clearDataTitles(state).horizontal
                    : titleWithUnit("Calculated s(c)", unitLabel(measuredDimension(state), state.units),
                                    state.units.set());
    const AxisMapping m =
        drawClearAxesOf(c, againstTime, false, vertical, horizontal, {xTitle, residualTitle(state)});
    const double low = m.xLog ? std::pow(10.0, m.xOrigin) : m.xOrigin;
    const double high = m.xLog ? std::pow(10.0, m.xEnd) : m.xEnd;
    drawDataLine(c, m, low, 0.0, high, 0.0, kBlack);
    drawClearSeries(c, m, clear);
    drawViewHeading(c, heading + ", " + autocorrelationText(residualsLag1(series)));
}

// Acklam's coefficients (central region a, b; tails c, d).
constexpr std::array<double, 6> kA{-3.969683028665376e+01, 2.209460984245205e+02,  -2.759285104469687e+02,
                                   1.383577518672690e+02,  -3.066479806614716e+01, 2.506628277459239e+00};
constexpr std::array<double, 5> kB{-5.447609879822406e+01, 1.615858368580409e+02, -1.556989798598866e+02,
                                   6.680131188771972e+01, -1.328068155288572e+01};
constexpr std::array<double, 6> kC{-7.784894002430293e-03, -3.223964580411365e-01, -2.400758277161838e+00,
                                   -2.549732539343734e+00, 4.374664141464968e+00,  2.938163982698783e+00};
constexpr std::array<double, 4> kD{7.784695709041462e-03, 3.224671290700398e-01, 2.445134137142996e+00,
                                   3.754408661907416e+00};
constexpr double kLowRegion = 0.02425;

double tailQuantile(double p) {
    const double q = std::sqrt(-2.0 * std::log(p));
    return (((((kC[0] * q + kC[1]) * q + kC[2]) * q + kC[3]) * q + kC[4]) * q + kC[5]) /
           ((((kD[0] * q + kD[1]) * q + kD[2]) * q + kD[3]) * q + 1.0);
}

double acklam(double p) {
    if (p < kLowRegion) return tailQuantile(p);
    if (p > 1.0 - kLowRegion) return -tailQuantile(1.0 - p);
    const double q = p - 0.5;
    const double r = q * q;
    return (((((kA[0] * r + kA[1]) * r + kA[2]) * r + kA[3]) * r + kA[4]) * r + kA[5]) * q /
           (((((kB[0] * r + kB[1]) * r + kB[2]) * r + kB[3]) * r + kB[4]) * r + 1.0);
}

}  // namespace

std::vector<SeriesResiduals> seriesResiduals(const AnalysisState& s) {
    if (s.plotContent != 2 || s.calculated.empty()) return {};
    const std::vector<SeriesLegendEntry> names = dataPlotSeries(s);
    const auto used =
        std::min({static_cast<std::size_t>(std::max(s.usedCount, 0)), s.times.size(), s.measured.size()});
    std::vector<SeriesResiduals> series{residualsOf(names.front().name, slice(s.times, 0, used),
                                                    slice(s.measured, 0, used),
                                                    slice(s.calculated, 0, used))};
    std::size_t next = 1;
    for (const ObservationSeries& x : s.extraSeries) {
        const UsedRange range = usedRange(x);
        if (!x.settings.on || range.count == 0) continue;
        const std::string name = next < names.size() ? names[next].name : std::string("series");
        ++next;
        series.push_back(residualsOf(name, slice(x.times, range.first, range.count),
                                     slice(x.values, range.first, range.count),
                                     slice(x.calculated, 0, range.count)));
    }
    std::erase_if(series, [](const SeriesResiduals& r) { return r.residuals.empty(); });
    return series;
}

double residualsLag1(const std::vector<SeriesResiduals>& series) {
    std::vector<double> all;
    for (const SeriesResiduals& s : series) {
        std::vector<std::size_t> order(s.times.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return s.times[a] < s.times[b]; });
        for (std::size_t i : order) all.push_back(s.residuals[i]);
    }
    return lag1Autocorrelation(all);
}

double blomPosition(int i, int n) {
    return (i - 0.375) / (n + 0.25);
}

double standardNormalQuantile(double p) {
    if (!(p > 0.0 && p < 1.0)) return kNaN;
    const double x = acklam(p);
    // One Halley step on Phi(x) - p, Phi through erfc for accuracy in both tails.
    const double e = 0.5 * std::erfc(-x / std::numbers::sqrt2) - p;
    const double u = e * std::sqrt(2.0 * std::numbers::pi) * std::exp(x * x / 2.0);
    return x - u / (1.0 + x * u / 2.0);
}

NormalProbabilityPoints normalProbabilityPoints(std::vector<double> residuals) {
    std::erase_if(residuals, [](double r) { return !std::isfinite(r); });
    std::sort(residuals.begin(), residuals.end());
    NormalProbabilityPoints points;
    const auto n = static_cast<int>(residuals.size());
    for (int i = 1; i <= n; ++i) points.quantiles.push_back(standardNormalQuantile(blomPosition(i, n)));
    points.sorted = std::move(residuals);
    if (n == 0) return points;
    points.mean = std::accumulate(points.sorted.begin(), points.sorted.end(), 0.0) / n;
    double squares = 0.0;
    for (double r : points.sorted) squares += (r - points.mean) * (r - points.mean);
    points.deviation = n > 1 ? std::sqrt(squares / (n - 1)) : 0.0;
    return points;
}

std::string autocorrelationText(double rho) {
    return "lag-1 autocorrelation " + fixedText(rho, 3);
}

void drawResidualsAgainstTime(PlotCanvas& c, const AnalysisState& state) {
    drawResidualView(c, state, true, "Residuals against time");
}

void drawResidualsAgainstCalculated(PlotCanvas& c, const AnalysisState& state) {
    drawResidualView(c, state, false, "Residuals against calculated drawdown");
}

void drawNormalProbability(PlotCanvas& c, const AnalysisState& state) {
    const std::vector<SeriesResiduals> series = seriesResiduals(state);
    std::vector<double> all;
    for (const SeriesResiduals& s : series) all.insert(all.end(), s.residuals.begin(), s.residuals.end());
    if (all.empty()) {
        drawViewNote(c, kNoEstimationNote);
        return;
    }
    const NormalProbabilityPoints p = normalProbabilityPoints(all);
    const std::vector<ClearSeries> clear{{"residuals", p.quantiles, p.sorted, {}}};
    AxisRange vertical = rangeOf(clear, false, false);
    const AxisRange horizontal = rangeOf(clear, true, false);
    const double zLow = p.quantiles.front(), zHigh = p.quantiles.back();
    vertical.min = std::min(vertical.min, static_cast<float>(p.mean + p.deviation * zLow));
    vertical.max = std::max(vertical.max, static_cast<float>(p.mean + p.deviation * zHigh));
    const AxisMapping m = drawClearAxesOf(c, false, false, vertical, horizontal,
                                          {"Standard normal quantile z", residualTitle(state)});
    drawDataLine(c, m, zLow, p.mean + p.deviation * zLow, zHigh, p.mean + p.deviation * zHigh,
                 clearColour(1));
    drawClearSeries(c, m, clear);
    drawViewHeading(c, "Normal probability plot, " + autocorrelationText(residualsLag1(series)));
    // Rounded first so that a mean a little below zero reads 0.0000, not -0.0000 (+ 0.0 drops the sign).
    const double mean = std::round(p.mean * 1e4) / 1e4 + 0.0;
    drawViewFootnote(
        c, "Line: mean " + fixedText(mean, 4) + ", standard deviation " + fixedText(p.deviation, 4));
}

}  // namespace tolvex::plot
