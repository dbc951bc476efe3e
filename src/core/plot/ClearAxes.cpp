#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/plot/Axes.h"
#include "core/plot/AxisLayout.h"
#include "core/plot/LabelFormat.h"
#include "core/plot/PlotLook.h"

namespace tolvex::plot {
namespace {

constexpr int kEscapementUp = -900;  // reads from bottom to top
constexpr int kLabelGap = 8;         // between a number label and the frame

// A clear axis: its extent and, on a linear axis, the number of intervals between labelled lines.
struct ClearAxis {
    AxisExtent extent;
    int intervals = kLinearIntervals;
};

// A linear range widened to round steps of 1, 2, 2.5 or 5 times a power of ten, the smallest of them
// not below a tenth of the range,
// so that the labels read 0.06, 0.08, 0.1 rather than 0.0567, 0.07611; about ten intervals.
ClearAxis roundedLinear(AxisExtent extent) {
    const double low = extent.range.min;
    const double high = extent.range.max;
    const double wanted = (high - low) / kLinearIntervals;
    if (!(wanted > 0.0) || !std::isfinite(wanted)) return {extent};
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    double step = power * 10.0;
    for (double mantissa : {1.0, 2.0, 2.5, 5.0}) {
        if (mantissa * power >= wanted * (1.0 - 1e-9)) {
            step = mantissa * power;
            break;
        }
    }
    const double first = std::floor(low / step + 1e-9) * step;
    const double last = std::ceil(high / step - 1e-9) * step;
    const int intervals = static_cast<int>(std::lround((last - first) / step));
    if (intervals < 1 || intervals > 2 * kLinearIntervals) return {extent};
    extent.range = {static_cast<float>(first), static_cast<float>(last)};
    return {extent, intervals};
}

ClearAxis clearAxis(AxisRange requested, AxisRange window, bool horizontal, bool logarithmic) {
    if (!askedWindow(window, horizontal, logarithmic)) {
        const AxisExtent extent = extentOf(requested, window, logarithmic);
        return logarithmic ? ClearAxis{extent} : roundedLinear(extent);
    }
    AxisExtent extent;
    extent.logarithmic = logarithmic;
    extent.range = window;
    if (logarithmic) extent.decades = decadeSpan(window);
    return {extent};
}

// The positions of the grid lines along an axis of `length` from `start`, and the label of each that
// carries one (empty for the minor lines of a logarithmic axis).
struct GridLine {
    int position = 0;
    std::string label;
};

std::vector<GridLine> gridLines(const ClearAxis& clear, int start, int length) {
    std::vector<GridLine> lines;
    const AxisExtent& axis = clear.extent;
    const float span = axis.span();
    if (!axis.logarithmic) {
        const double step = static_cast<double>(span) / clear.intervals;
        const double scale = length / static_cast<double>(span);
        for (int i = 0; i <= clear.intervals; ++i) {
            // The float limits leave the zero line of a range across zero at about 1e-9, not 0.
            const double value = axis.range.min + i * step;
            lines.push_back({start + truncToInt(i * step * scale),
                             clearLinearLabel(std::abs(value) < step * 1e-6 ? 0.0 : value)});
        }
        return lines;
    }
    for (int j = 1; j <= axis.decades.count(); ++j) {
        lines.push_back(
            {decadePosition(start, length, span, j, 1), clearDecadeLabel(axis.decades.low + j - 1)});
        for (int k = 2; k <= 9; ++k) lines.push_back({decadePosition(start, length, span, j, k), {}});
    }
    lines.push_back({start + length, clearDecadeLabel(axis.decades.high)});
    return lines;
}

void setMapping(const AxisExtent& axis, int length, float& origin, float& end, float& scale) {
    origin = axis.logarithmic ? static_cast<float>(axis.decades.low) : axis.range.min;
    end = axis.logarithmic ? static_cast<float>(axis.decades.high) : axis.range.max;
    scale = static_cast<float>(length / static_cast<double>(axis.span()));
}

// Returns the width of the widest label, so that the title stands clear of them.
int drawClearVertical(PlotCanvas& c, const ClearAxis& axis, bool labels) {
    const LogicalRect r = c.plotRect;
    int widest = 0;
    for (const GridLine& g : gridLines(axis, r.lower, r.height())) {
        c.line({r.left, g.position}, {r.right, g.position}, kClearGrid);
        if (!labels || g.label.empty()) continue;
        const int width = c.textWidth(g.label);
        widest = std::max(widest, width);
        c.text({r.left - kLabelGap - width, g.position + c.font.height / 2}, g.label);
    }
    return widest;
}

void drawClearHorizontal(PlotCanvas& c, const ClearAxis& axis, bool labels) {
    const LogicalRect r = c.plotRect;
    for (const GridLine& g : gridLines(axis, r.left, r.width())) {
        c.line({g.position, r.lower}, {g.position, r.upper}, kClearGrid);
        if (!labels || g.label.empty()) continue;
        c.text({g.position - c.textWidth(g.label) / 2, r.lower - kLabelGap}, g.label);
    }
}

void drawClearTitles(PlotCanvas& c, const AxisTitles& titles, bool xLabels, bool yLabels, int labelWidth) {
    const LogicalRect r = c.plotRect;
    if (xLabels) {
        const int y = r.lower - 2 * kLabelGap - c.font.height;
        c.text({r.left + r.width() / 2 - c.textWidth(titles.horizontal) / 2, y}, titles.horizontal);
    }
    if (yLabels) {
        // Read from bottom to top, the title's cell lies right of its anchor.
        const int x = r.left - 2 * kLabelGap - labelWidth - c.font.height;
        c.text({x, r.lower + r.height() / 2 - c.textWidth(titles.vertical) / 2}, titles.vertical,
               kEscapementUp);
    }
}

}  // namespace

namespace {

AxisMapping drawBothClearAxes(PlotCanvas& canvas, AxisMapping m, const ClearAxis& x, const ClearAxis& y,
                              const AxisTitles& titles, bool xLabels, bool yLabels) {
    canvas.plotRect = plotRectFor(m.xLog && m.yLog, x.extent.span(), y.extent.span());
    const LogicalRect r = canvas.plotRect;
    setMapping(y.extent, r.height(), m.yOrigin, m.yEnd, m.yScale);
    setMapping(x.extent, r.width(), m.xOrigin, m.xEnd, m.xScale);
    const int labelWidth = drawClearVertical(canvas, y, yLabels);
    drawClearHorizontal(canvas, x, xLabels);
    canvas.scene.add(Polyline{
        {{r.left, r.lower}, {r.left, r.upper}, {r.right, r.upper}, {r.right, r.lower}, {r.left, r.lower}},
        kBlack});
    drawClearTitles(canvas, titles, xLabels, yLabels, labelWidth);
    return m;
}

// No window: any finite value may be drawn (positive ones on a logarithmic axis).
ClearAxis followingAxis(AxisRange requested, bool logarithmic) {
    constexpr float kWide = 1.0e30f;
    const AxisRange window = logarithmic ? AxisRange{1.0f / kWide, kWide} : AxisRange{-kWide, kWide};
    const AxisExtent extent = extentOf(requested, window, logarithmic);
    return logarithmic ? ClearAxis{extent} : roundedLinear(extent);
}

}  // namespace

AxisMapping drawClearAxes(PlotCanvas& canvas, const AnalysisState& state, AxisRange vertical,
                          AxisRange horizontal, const AxisTitles& titles) {
    const AxisTypes types = axisTypes(state);
    AxisMapping m;
    m.xLog = types.xLog;
    m.yLog = types.yLog;
    const ClearAxis y = clearAxis(vertical, {state.plotYMin, state.plotYMax}, false, m.yLog);
    const ClearAxis x = clearAxis(horizontal, {state.plotXMin, state.plotXMax}, true, m.xLog);
    return drawBothClearAxes(canvas, m, x, y, titles, state.xLabelHidden == 0, state.yLabelHidden == 0);
}

AxisMapping drawClearAxesOf(PlotCanvas& canvas, bool xLog, bool yLog, AxisRange vertical,
                            AxisRange horizontal, const AxisTitles& titles) {
    AxisMapping m;
    m.xLog = xLog;
    m.yLog = yLog;
    return drawBothClearAxes(canvas, m, followingAxis(horizontal, xLog), followingAxis(vertical, yLog),
                             titles, true, true);
}

}  // namespace tolvex::plot
