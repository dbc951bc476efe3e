#include "core/plot/DataPlot.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "core/input/DisplayUnitsChange.h"
#include "core/plot/Axes.h"
#include "core/plot/CurveColours.h"
#include "core/plot/PlotExtent.h"

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

std::size_t usedPoints(const AnalysisState& s) {
    const auto used = static_cast<std::size_t>(std::max(s.usedCount, 0));
    return std::min({used, s.times.size(), s.measured.size()});
}

void recordExtents(AnalysisState& s, std::size_t count, bool withCalculated) {
    Extent time;
    Extent drawdown;
    for (std::size_t i = 0; i < count; ++i) {
        time.widen(s.times[i]);
        drawdown.widen(s.measured[i]);
        if (withCalculated && i < s.calculated.size()) drawdown.widen(s.calculated[i]);
    }
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

}  // namespace

void drawMarker(PlotCanvas& c, Point at) {
    const int d = c.plotRect.width() / kMarkerDivisor;
    c.line({at.x - d, at.y}, {at.x + d, at.y}, kMarkerOutline);
    c.line({at.x, at.y - d}, {at.x, at.y + d}, kMarkerOutline);
    c.scene.add(Ellipse{{at.x - d, at.y - d}, {at.x + d, at.y + d}, kMarkerOutline, kMarkerFill});
}

namespace {

void drawDataPlotAsShown(PlotCanvas& canvas, AnalysisState& state) {
    canvas.plotRect = kPlotFrame;
    const std::size_t count = usedPoints(state);
    const bool withCalculated = state.plotContent == 2;
    recordExtents(state, count, withCalculated);
    state.lastPlotStyle = 2;
    const AxisMapping mapping = drawAxes(canvas, state, {state.dataDrawdownMin, state.dataDrawdownMax},
                                         {state.dataTimeMin, state.dataTimeMax}, {"t", "s"});
    drawMeasuredLine(canvas, state, mapping, count);
    if (withCalculated) drawCalculatedLine(canvas, state, mapping, count);
}

}  // namespace

// The data are drawn as the document shows them, in its units, so a document converted to units draws
// the picture it drew before. The extents kept in the state are the drawn ones.
void drawDataPlot(PlotCanvas& canvas, AnalysisState& state) {
    if (!state.units.set()) {
        drawDataPlotAsShown(canvas, state);
        return;
    }
    AnalysisState shown = inDisplayUnits(state);
    drawDataPlotAsShown(canvas, shown);
    state.dataTimeMin = shown.dataTimeMin;
    state.dataTimeMax = shown.dataTimeMax;
    state.dataDrawdownMin = shown.dataDrawdownMin;
    state.dataDrawdownMax = shown.dataDrawdownMax;
    state.lastPlotStyle = shown.lastPlotStyle;
}

}  // namespace tolvex::plot
