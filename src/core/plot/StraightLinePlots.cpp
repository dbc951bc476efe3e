#include "core/plot/StraightLinePlots.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "core/plot/Axes.h"
#include "core/plot/ClearDataPlot.h"
#include "core/plot/DataPlot.h"
#include "core/plot/DiagnosticViews.h"
#include "core/plot/PlotExtent.h"
#include "core/plot/PlotLook.h"
#include "core/series/UsedRange.h"
#include "core/units/Units.h"

namespace tolvex::plot {
namespace {

// A series' measured values in use with their horizontal coordinates.
struct ShownSeries {
    std::string name;
    std::vector<double> abscissas;
    std::vector<double> values;
};

ShownSeries shownSeries(std::string name, StraightLine kind, const std::vector<double>& times,
                        const std::vector<double>& values, std::size_t first, std::size_t count) {
    ShownSeries s{std::move(name), {}, {}};
    const std::size_t end = std::min({first + count, times.size(), values.size()});
    for (std::size_t i = first; i < end; ++i) {
        const double x = straightLineAbscissa(kind, times[i]);
        if (!std::isfinite(x) || !std::isfinite(values[i])) continue;
        s.abscissas.push_back(x);
        s.values.push_back(values[i]);
    }
    return s;
}

std::vector<ShownSeries> seriesShown(const AnalysisState& s, StraightLine kind) {
    const std::vector<SeriesLegendEntry> names = dataPlotSeries(s);
    std::vector<ShownSeries> series{shownSeries(names.front().name, kind, s.times, s.measured, 0,
                                                static_cast<std::size_t>(std::max(s.usedCount, 0)))};
    std::size_t next = 1;
    for (const ObservationSeries& x : s.extraSeries) {
        const UsedRange range = usedRange(x);
        if (!x.settings.on || range.count == 0) continue;
        const std::string name = next < names.size() ? names[next].name : std::string("series");
        ++next;
        series.push_back(shownSeries(name, kind, x.times, x.values, range.first, range.count));
    }
    std::erase_if(series, [](const ShownSeries& shown) { return shown.values.empty(); });
    return series;
}

}  // namespace

double straightLineAbscissa(StraightLine kind, double time) {
    if (!std::isfinite(time) || time < 0.0) return std::numeric_limits<double>::quiet_NaN();
    switch (kind) {
        case StraightLine::SemiLog:
            return time > 0.0 ? time : std::numeric_limits<double>::quiet_NaN();
        case StraightLine::SquareRoot:
            return std::sqrt(time);
        case StraightLine::QuarterPower:
            return std::sqrt(std::sqrt(time));
    }
    return std::numeric_limits<double>::quiet_NaN();
}

std::string straightLineTitle(StraightLine kind, const AnalysisState& state) {
    const std::string unit = unitLabel(Dimension::Time, state.units);
    switch (kind) {
        case StraightLine::SemiLog:
            return clearDataTitles(state).horizontal;
        case StraightLine::SquareRoot:
            return titleWithUnit("sqrt t", unit + "^1/2", state.units.set());
        case StraightLine::QuarterPower:
            return titleWithUnit("t^1/4", unit + "^1/4", state.units.set());
    }
    return {};
}

void drawStraightLinePlot(PlotCanvas& c, const AnalysisState& state, StraightLine kind) {
    const std::vector<ShownSeries> shown = seriesShown(state, kind);
    if (shown.empty()) {
        drawViewNote(c, kNoMeasurementsNote);
        return;
    }
    std::vector<ClearSeries> clear;
    Extent horizontal;
    Extent vertical;
    for (const ShownSeries& s : shown) {
        clear.push_back({s.name, s.abscissas, s.values, {}});
        for (double x : s.abscissas) horizontal.widen(x);
        for (double v : s.values) vertical.widen(v);
    }
    const AxisTitles titles{straightLineTitle(kind, state), clearDataTitles(state).vertical};
    const AxisMapping m =
        drawClearAxesOf(c, kind == StraightLine::SemiLog, false, {vertical.min, vertical.max},
                        {horizontal.min, horizontal.max}, titles);
    drawClearSeries(c, m, clear);
    constexpr std::array<const char*, 3> kHeadings{"Semi-log plot (radial flow)",
                                                   "Square root of time (linear flow)",
                                                   "Fourth root of time (bilinear flow)"};
    drawViewHeading(c, kHeadings[static_cast<std::size_t>(kind)]);
}

}  // namespace tolvex::plot
