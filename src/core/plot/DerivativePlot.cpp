#include "core/plot/DerivativePlot.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "core/diagnostics/LogDerivative.h"
#include "core/diagnostics/ModelDerivative.h"
#include "core/series/UsedRange.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/ObservationSite.h"
#include "core/units/Units.h"

namespace tolvex::plot {
namespace {

constexpr int kModelPoints = 41;  // model derivative nodes over the series' time range
constexpr int kDotDivisor = 160;  // dot radius W/160 of the plot rectangle
constexpr int kDash = 14;         // dash and gap of the model's line, logical units
constexpr int kKeySample = 40;    // the key's stroke length
constexpr const char* kMeasuredKey = "ds/d ln t";
constexpr const char* kModelKey = "model ds/d ln t";

DerivativeSmoothing smoothingOf(const ViewSettings& view) {
    DerivativeSmoothing smoothing;
    if (view.derivativeWindow >= 3) {
        smoothing.kind = DerivativeSmoothing::Kind::MovingWindow;
        smoothing.window = view.derivativeWindow;
    } else {
        smoothing.lSpacing = view.derivativeLSpacing;
    }
    // A document edited by hand may carry any numbers: an unusable smoothing falls back to the default.
    if (*checkDerivativeSmoothing(smoothing) != '\0') smoothing = DerivativeSmoothing{};
    return smoothing;
}

bool slugTest(const AnalysisState& s) {
    return s.modelKind == static_cast<int>(ModelKind::SlugTest) ||
           s.modelKind == static_cast<int>(ModelKind::BouwerRice);
}

// n log-spaced times over the positive times of `times`.
std::vector<double> spreadOver(const std::vector<double>& times, int n) {
    double low = HUGE_VAL, high = 0.0;
    for (double t : times) {
        if (!(t > 0.0) || !std::isfinite(t)) continue;
        low = std::min(low, t);
        high = std::max(high, t);
    }
    if (!(high > low)) return {};
    std::vector<double> spread;
    for (int i = 0; i < n; ++i)
        spread.push_back(low * std::pow(high / low, static_cast<double>(i) / (n - 1)));
    return spread;
}

// One series from its SI times, measurements and calculated drawdowns (at those times).
DerivativeSeries seriesDerivative(const AnalysisState& s, const ObservationSite& site,
                                  std::vector<double> times, std::vector<double> values,
                                  std::vector<double> calculated, bool withModel) {
    const DerivativeSmoothing smoothing = smoothingOf(s.view);
    const Dimension dimension = measuredDimension(s);
    const double sign = slugTest(s) ? -1.0 : 1.0;
    const auto shown = [&](std::vector<double> v) {
        for (double& x : v) x = sign * fromSI(x, dimension, s.units);
        return v;
    };
    DerivativeSeries d;
    d.values = shown(logDerivative(times, values, smoothing));
    if (withModel && s.modelKind >= 0 && s.modelKind <= 8) {
        d.modelTimes = spreadOver(times, kModelPoints);
        d.modelValues = shown(calculatedLogDerivative(s, site, d.modelTimes));
    } else if (withModel && calculated.size() == times.size()) {
        d.modelTimes = times;
        d.modelValues = shown(logDerivative(times, calculated, smoothing));
    }
    for (double& t : d.modelTimes) t = fromSI(t, Dimension::Time, s.units);
    for (double& t : times) t = fromSI(t, Dimension::Time, s.units);
    d.times = std::move(times);
    return d;
}

std::optional<Point> placed(const AxisMapping& m, const LogicalRect& r, double x, double y) {
    const auto px = mapX(m, r, static_cast<float>(x));
    const auto py = mapY(m, r, static_cast<float>(y));
    if (!px || !py || *px < r.left || *px > r.right || *py < r.lower || *py > r.upper) return std::nullopt;
    return Point{*px, *py};
}

void drawDot(PlotCanvas& c, Point at, Rgb colour) {
    const int d = std::max(c.plotRect.width() / kDotDivisor, 2);
    c.scene.add(Ellipse{{at.x - d, at.y - d}, {at.x + d, at.y + d}, colour, colour});
}

// A dashed stroke from a to b, the dash phase carried in `travelled`.
void dashedSegment(PlotCanvas& c, Point a, Point b, Rgb colour, double& travelled) {
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    double at = 0.0;
    while (at < length) {
        const double phase = std::fmod(travelled, 2.0 * kDash);
        const double step = std::min(length - at, (phase < kDash ? kDash : 2.0 * kDash) - phase);
        if (phase < kDash) {
            const auto point = [&](double d) {
                return Point{a.x + static_cast<int>(std::lround((b.x - a.x) * d / length)),
                             a.y + static_cast<int>(std::lround((b.y - a.y) * d / length))};
            };
            c.line(point(at), point(at + step), colour);
        }
        at += step;
        travelled += step;
    }
}

void drawModelLine(PlotCanvas& c, const AxisMapping& m, const DerivativeSeries& d, Rgb colour) {
    std::optional<Point> previous;
    double travelled = 0.0;
    for (std::size_t i = 0; i < d.modelTimes.size() && i < d.modelValues.size(); ++i) {
        const auto p = placed(m, c.plotRect, d.modelTimes[i], d.modelValues[i]);
        if (p && previous) dashedSegment(c, *previous, *p, colour, travelled);
        previous = p;
    }
}

void drawKey(PlotCanvas& c, int legendRows, bool withModel) {
    const LogicalRect r = c.plotRect;
    const int pitch = std::max(c.font.height + 8, 2 * (kPlotFrame.height() / 50));
    const int left = r.right + r.width() / 50;
    const auto row = [&](int k, const char* text, bool dot) {
        const int top = r.upper - pitch * (legendRows + k);
        const int middle = top - c.font.height / 2;
        if (dot) {
            drawDot(c, {left + kKeySample / 2, middle}, kBlack);
        } else {
            double travelled = 0.0;
            dashedSegment(c, {left, middle}, {left + kKeySample, middle}, kBlack, travelled);
        }
        const int textLeft = left + kKeySample + 8;
        c.text({textLeft, top}, text);
        c.scene.width = std::max(c.scene.width, textLeft + c.textWidth(text));
    };
    row(0, kMeasuredKey, true);
    if (withModel) row(1, kModelKey, false);
}

}  // namespace

std::vector<DerivativeSeries> derivativeSeries(const AnalysisState& s) {
    if (!s.view.derivative) return {};
    const bool withModel = s.plotContent == 2;
    const UsedRange first{0, static_cast<std::size_t>(std::max(s.usedCount, 0))};
    std::vector<DerivativeSeries> series{seriesDerivative(s, firstSeriesSite(s), usedValues(s.times, first),
                                                          usedValues(s.measured, first),
                                                          usedValues(s.calculated, first), withModel)};
    for (const ObservationSeries& x : s.extraSeries) {
        const UsedRange used = usedRange(x);
        if (!x.settings.on || used.count == 0) continue;
        series.push_back(seriesDerivative(s, seriesSite(x), usedValues(x.times, used),
                                          usedValues(x.values, used), x.calculated, withModel));
    }
    return series;
}

void widenByDerivatives(Extent& drawdown, const std::vector<DerivativeSeries>& series) {
    const auto widen = [&](const std::vector<double>& values) {
        for (double v : values)
            if (v > 0.0 && std::isfinite(v)) drawdown.widen(v);
    };
    for (const DerivativeSeries& d : series) {
        widen(d.values);
        widen(d.modelValues);
    }
}

void drawDerivatives(PlotCanvas& c, const AxisMapping& m, const std::vector<DerivativeSeries>& series,
                     std::span<const Rgb> colours, int legendRows) {
    if (series.empty()) return;
    bool withModel = false;
    for (std::size_t j = 0; j < series.size(); ++j) {
        const Rgb colour = j < colours.size() ? colours[j] : kBlack;
        const DerivativeSeries& d = series[j];
        drawModelLine(c, m, d, colour);
        withModel = withModel || !d.modelValues.empty();
        for (std::size_t i = 0; i < d.times.size() && i < d.values.size(); ++i)
            if (const auto p = placed(m, c.plotRect, d.times[i], d.values[i])) drawDot(c, *p, colour);
    }
    drawKey(c, legendRows, withModel);
}

}  // namespace tolvex::plot
