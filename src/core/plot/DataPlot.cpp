#include "core/plot/DataPlot.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/input/DisplayUnitsChange.h"
#include "core/plot/Axes.h"
#include "core/plot/ClearDataPlot.h"
#include "core/plot/CurveColours.h"
#include "core/plot/DerivativePlot.h"
#include "core/plot/Legend.h"
#include "core/plot/PlotExtent.h"
#include "core/plot/PlotLook.h"
#include "core/series/UsedRange.h"

namespace tolvex::plot {
namespace {

constexpr int kMarkerDivisor = 70;
constexpr double kDrawdownHeadroom = 1.1;
constexpr double kDrawdownFootroom = 0.9;

std::optional<Point> mapped(const AxisMapping& m, const LogicalRect& r, double x, double y) {
    const auto px = mapX(m, r, static_cast<float>(x));
    const auto py = mapY(m, r, static_cast<float>(y));
    if (!px || !py) return std::nullopt;
    return Point{*px, *py};
}

// The further series' colours: the curve colours other than the first series' blue and yellow.
constexpr std::array<int, 9> kFurtherColourIndices{0, 1, 4, 10, 9, 8, 5, 6, 7};

// The further series the plot draws (switched on, measurements in use), by index into extraSeries.
std::vector<std::size_t> shownFurtherSeries(const AnalysisState& s) {
    std::vector<std::size_t> shown;
    for (std::size_t k = 0; k < s.extraSeries.size(); ++k) {
        if (s.extraSeries[k].settings.on && usedRange(s.extraSeries[k]).count > 0) shown.push_back(k);
    }
    return shown;
}

std::size_t usedPoints(const AnalysisState& s) {
    const auto used = static_cast<std::size_t>(std::max(s.usedCount, 0));
    return std::min({used, s.times.size(), s.measured.size()});
}

void widenByFurther(const AnalysisState& s, const std::vector<std::size_t>& shown, bool withCalculated,
                    Extent& time, Extent& drawdown) {
    for (std::size_t k : shown) {
        const ObservationSeries& x = s.extraSeries[k];
        const UsedRange used = usedRange(x);
        for (std::size_t i = used.first; i < used.first + used.count; ++i) {
            time.widen(x.times[i]);
            drawdown.widen(x.values[i]);
        }
        if (!withCalculated) continue;
        for (double c : x.calculated) drawdown.widen(c);
    }
}

void recordExtents(AnalysisState& s, std::size_t count, bool withCalculated,
                   const std::vector<std::size_t>& shown, const std::vector<DerivativeSeries>& derivatives) {
    Extent time;
    Extent drawdown;
    for (std::size_t i = 0; i < count; ++i) {
        time.widen(s.times[i]);
        drawdown.widen(s.measured[i]);
        if (withCalculated && i < s.calculated.size()) drawdown.widen(s.calculated[i]);
    }
    widenByFurther(s, shown, withCalculated, time, drawdown);
    widenByDerivatives(drawdown, derivatives);
    s.dataTimeMin = time.min;
    s.dataTimeMax = time.max;
    s.dataDrawdownMax = static_cast<float>(drawdown.max * kDrawdownHeadroom);
    s.dataDrawdownMin = static_cast<float>(drawdown.min * kDrawdownFootroom);
}

void drawMeasuredLine(PlotCanvas& c, const AnalysisState& s, const AxisMapping& m, std::size_t count) {
    std::optional<Point> previous;
    for (std::size_t i = 0; i < count; ++i) {
        const auto p = mapped(m, c.plotRect, s.times[i], s.measured[i]);
        if (!p) continue;
        if (previous) c.line(*previous, *p);
        drawMarker(c, *p);
        previous = p;
    }
}

void drawCalculatedLine(PlotCanvas& c, const AnalysisState& s, const AxisMapping& m, std::size_t count) {
    Polyline line{{}, kCalculatedLine};
    for (std::size_t i = 0; i < std::min(count, s.calculated.size()); ++i) {
        if (const auto p = mapped(m, c.plotRect, s.times[i], s.calculated[i])) line.points.push_back(*p);
    }
    if (line.points.size() > 1) c.scene.add(std::move(line));
}

void drawFurtherSeries(PlotCanvas& c, const AnalysisState& s, const AxisMapping& m, std::size_t k,
                       bool withCalculated) {
    const ObservationSeries& x = s.extraSeries[k];
    const Rgb colour = furtherSeriesColour(static_cast<int>(k) + 1);
    const UsedRange used = usedRange(x);
    std::optional<Point> previous;
    for (std::size_t i = used.first; i < used.first + used.count; ++i) {
        const auto p = mapped(m, c.plotRect, x.times[i], x.values[i]);
        if (!p) continue;
        if (previous) c.line(*previous, *p, colour);
        drawMarker(c, *p, colour, kWhite);
        previous = p;
    }
    if (!withCalculated) return;
    Polyline line{{}, colour};
    for (std::size_t i = 0; i < x.calculated.size() && i < used.count; ++i) {
        if (const auto p = mapped(m, c.plotRect, x.times[used.first + i], x.calculated[i]))
            line.points.push_back(*p);
    }
    if (line.points.size() > 1) c.scene.add(std::move(line));
}

// The series' names down the right-hand margin, each after a short stroke of its colour.
void drawSeriesLegend(PlotCanvas& c, const std::vector<SeriesLegendEntry>& entries) {
    const LogicalRect r = c.plotRect;
    const int w = r.width();
    const int pitch = legendRowPitch(r);
    for (std::size_t j = 0; j < entries.size(); ++j) {
        const int y = r.upper - pitch * (static_cast<int>(j) + 1);
        c.line({r.right + w / 50, y - pitch / 2}, {r.right + w / 16, y - pitch / 2}, entries[j].colour);
        c.text({r.right + w / 15, y}, entries[j].name);
        c.scene.width = std::max(c.scene.width, r.right + w / 15 + c.textWidth(entries[j].name));
    }
}

std::string seriesName(const std::string& name, std::size_t index) {
    return name.empty() ? "series " + std::to_string(index + 1) : name;
}

}  // namespace

Rgb furtherSeriesColour(int k) {
    const auto n = static_cast<int>(kFurtherColourIndices.size());
    return curveColour(kFurtherColourIndices[static_cast<std::size_t>(((k - 1) % n + n) % n)]);
}

std::vector<SeriesLegendEntry> dataPlotSeries(const AnalysisState& s) {
    std::vector<SeriesLegendEntry> entries{{seriesName(s.firstSeries.name, 0), kMarkerOutline}};
    for (std::size_t k : shownFurtherSeries(s))
        entries.push_back({seriesName(s.extraSeries[k].settings.name, k + 1),
                           furtherSeriesColour(static_cast<int>(k) + 1)});
    return entries;
}

void drawMarker(PlotCanvas& c, Point at) {
    drawMarker(c, at, kMarkerOutline, kMarkerFill);
}

void drawMarker(PlotCanvas& c, Point at, Rgb outline, Rgb fill) {
    const int d = c.plotRect.width() / kMarkerDivisor;
    c.line({at.x - d, at.y}, {at.x + d, at.y}, outline);
    c.line({at.x, at.y - d}, {at.x, at.y + d}, outline);
    c.scene.add(Ellipse{{at.x - d, at.y - d}, {at.x + d, at.y + d}, outline, fill});
}

namespace {

// Up to `count` values from `first`, no further than the vector holds.
std::span<const double> slice(const std::vector<double>& values, std::size_t first, std::size_t count) {
    if (first >= values.size()) return {};
    return std::span<const double>(values).subspan(first, std::min(count, values.size() - first));
}

std::span<const double> leading(const std::vector<double>& values, std::size_t count) {
    return slice(values, 0, count);
}

std::vector<ClearSeries> clearSeriesOf(const AnalysisState& s, std::size_t count,
                                       const std::vector<std::size_t>& shown, bool withCalculated) {
    std::vector<ClearSeries> series{
        {seriesName(s.firstSeries.name, 0), leading(s.times, count), leading(s.measured, count),
         withCalculated ? leading(s.calculated, count) : std::span<const double>{}}};
    for (std::size_t k : shown) {
        const ObservationSeries& x = s.extraSeries[k];
        const UsedRange used = usedRange(x);
        series.push_back({seriesName(x.settings.name, k + 1), slice(x.times, used.first, used.count),
                          slice(x.values, used.first, used.count),
                          withCalculated ? leading(x.calculated, used.count) : std::span<const double>{}});
    }
    return series;
}

AxisTitles dataTitles(const PlotCanvas& canvas, const AnalysisState& state) {
    if (!canvas.clear) return {"t", "s"};
    const DataTitles titles = clearDataTitles(state);
    return {titles.horizontal, titles.vertical};
}

// The derivatives in the colours of their series, their key below the series' legend.
void drawDerivativesOf(PlotCanvas& canvas, const AnalysisState& state, const AxisMapping& mapping,
                       const std::vector<ClearSeries>& series,
                       const std::vector<DerivativeSeries>& derivatives) {
    if (derivatives.empty()) return;
    std::vector<Rgb> colours;
    int legendRows = 0;
    if (canvas.clear) {
        for (std::size_t j = 0; j < derivatives.size(); ++j)
            colours.push_back(clearColour(static_cast<int>(j)));
        legendRows = static_cast<int>(clearLegendTexts(series).size());
    } else {
        const std::vector<SeriesLegendEntry> entries = dataPlotSeries(state);
        for (const SeriesLegendEntry& entry : entries) colours.push_back(entry.colour);
        legendRows = entries.size() > 1 ? static_cast<int>(entries.size()) + 1 : 1;
    }
    drawDerivatives(canvas, mapping, derivatives, colours, legendRows);
}

void drawDataPlotAsShown(PlotCanvas& canvas, AnalysisState& state, const AxisTitles& titles,
                         const std::vector<DerivativeSeries>& derivatives) {
    canvas.plotRect = kPlotFrame;
    const std::size_t count = usedPoints(state);
    const bool withCalculated = state.plotContent == 2;
    const std::vector<std::size_t> shown = shownFurtherSeries(state);
    recordExtents(state, count, withCalculated, shown, derivatives);
    state.lastPlotStyle = 2;
    const AxisMapping mapping = drawAxes(canvas, state, {state.dataDrawdownMin, state.dataDrawdownMax},
                                         {state.dataTimeMin, state.dataTimeMax}, titles);
    const std::vector<ClearSeries> series = clearSeriesOf(state, count, shown, withCalculated);
    if (canvas.clear) {
        drawClearSeries(canvas, mapping, series);
    } else {
        drawMeasuredLine(canvas, state, mapping, count);
        if (withCalculated) drawCalculatedLine(canvas, state, mapping, count);
        for (std::size_t k : shown) drawFurtherSeries(canvas, state, mapping, k, withCalculated);
        if (!shown.empty()) drawSeriesLegend(canvas, dataPlotSeries(state));
    }
    drawDerivativesOf(canvas, state, mapping, series, derivatives);
}

}  // namespace

// The data are drawn as the document shows them, in its units, so a document converted to units draws
// the picture it drew before. The extents kept in the state are the drawn ones.
void drawDataPlot(PlotCanvas& canvas, AnalysisState& state) {
    // The titles name the document's units, which the state shown in them no longer records.
    const AxisTitles titles = dataTitles(canvas, state);
    // The model's derivative needs the model in SI; the derivatives come back in the document's units.
    const std::vector<DerivativeSeries> derivatives = derivativeSeries(state);
    if (!state.units.set()) {
        drawDataPlotAsShown(canvas, state, titles, derivatives);
        return;
    }
    AnalysisState shown = inDisplayUnits(state);
    drawDataPlotAsShown(canvas, shown, titles, derivatives);
    state.dataTimeMin = shown.dataTimeMin;
    state.dataTimeMax = shown.dataTimeMax;
    state.dataDrawdownMin = shown.dataDrawdownMin;
    state.dataDrawdownMax = shown.dataDrawdownMax;
    state.lastPlotStyle = shown.lastPlotStyle;
}

}  // namespace tolvex::plot
