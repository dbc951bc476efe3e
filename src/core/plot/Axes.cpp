#include "core/plot/Axes.h"

#include <cmath>

#include "core/plot/AxisLayout.h"
#include "core/plot/LabelFormat.h"
#include "core/plot/PlotLook.h"

namespace tolvex::plot {
namespace {

constexpr int kEscapementDown = 900;  // reads from top to bottom in this y-up space
constexpr int kEscapementUp = -900;   // reads from bottom to top

void drawVertical(PlotCanvas& c, const AxisExtent& axis, bool labels, AxisMapping& m) {
    const LogicalRect r = c.plotRect;
    const int w = r.width();
    const int h = r.height();
    const float span = axis.span();
    if (!axis.logarithmic) {
        m.yScale = static_cast<float>(h / static_cast<double>(span));
        const auto step = static_cast<float>(static_cast<double>(span) / kLinearIntervals);
        for (int i = 0; i <= kLinearIntervals; ++i) {
            const int y = r.lower + truncToInt(static_cast<double>(i) * step * m.yScale);
            c.line({r.left, y}, {r.right, y});
            if (labels)
                c.text({r.left - w / 8, y + h / 75},
                       linearLabel(axis.range.min + static_cast<double>(i) * step));
        }
        m.yOrigin = axis.range.min;
        m.yEnd = axis.range.max;
        return;
    }
    for (int j = 1; j <= axis.decades.count(); ++j) {
        const int bottom = decadePosition(r.lower, h, span, j, 1);
        c.line({r.left, bottom}, {r.right, bottom});
        for (int k = 2; k <= 9; ++k) {
            const int y = decadePosition(r.lower, h, span, j, k);
            c.line({r.left, y}, {r.left + w / 80, y});
            c.line({r.right, y}, {r.right - w / 80, y});
        }
        const int top = decadePosition(r.lower, h, span, j, 10);
        c.line({r.left, top}, {r.right, top});
    }
    if (labels) {
        const int pitch = truncToInt(h / static_cast<double>(span));
        for (int j = 0; j <= axis.decades.count(); ++j) {
            c.text({r.left - w / 10, r.lower + pitch * j + h / 50}, decadeLabel(axis.decades.low + j));
        }
    }
    m.yOrigin = static_cast<float>(axis.decades.low);
    m.yEnd = static_cast<float>(axis.decades.high);
    m.yScale = static_cast<float>(h / static_cast<double>(span));
}

void drawFrame(PlotCanvas& c) {
    const LogicalRect r = c.plotRect;
    c.scene.add(Polyline{
        {{r.left, r.lower}, {r.left, r.upper}, {r.right, r.upper}, {r.right, r.lower}, {r.left, r.lower}},
        kBlack});
}

void drawHorizontal(PlotCanvas& c, const AxisExtent& axis, bool labels, AxisMapping& m) {
    const LogicalRect r = c.plotRect;
    const int w = r.width();
    const int h = r.height();
    const float span = axis.span();
    if (!axis.logarithmic) {
        m.xScale = static_cast<float>(w / static_cast<double>(span));
        const auto step = static_cast<float>(static_cast<double>(span) / kLinearIntervals);
        const int labelPitch = w / kLinearIntervals;
        for (int i = 0; i <= kLinearIntervals; ++i) {
            const int x = r.left + truncToInt(static_cast<double>(i) * step * m.xScale);
            c.line({x, r.lower}, {x, r.lower + h / 50});
            c.line({x, r.upper}, {x, r.upper - h / 50});
            if (labels) {
                c.text({r.left + labelPitch * i + w / 50, r.lower - h / 50},
                       linearLabel(axis.range.min + static_cast<double>(i) * step), kEscapementDown);
            }
        }
        m.xOrigin = axis.range.min;
        m.xEnd = axis.range.max;
        return;
    }
    for (int j = 1; j <= axis.decades.count(); ++j) {
        const int first = decadePosition(r.left, w, span, j, 1);
        c.line({first, r.upper}, {first, r.lower});
        for (int k = 2; k <= 9; ++k) {
            const int x = decadePosition(r.left, w, span, j, k);
            c.line({x, r.lower}, {x, r.lower + h / 80});
            c.line({x, r.upper}, {x, r.upper - h / 80});
        }
        const int last = decadePosition(r.left, w, span, j, 10);
        c.line({last, r.upper}, {last, r.lower});
    }
    if (labels) {
        const int pitch = truncToInt(w / static_cast<double>(span));
        for (int j = 0; j <= axis.decades.count(); ++j) {
            c.text({r.left - w / 50 + pitch * j, r.lower - h / 50}, decadeLabel(axis.decades.low + j));
        }
    }
    m.xOrigin = static_cast<float>(axis.decades.low);
    m.xEnd = static_cast<float>(axis.decades.high);
    m.xScale = static_cast<float>(w / static_cast<double>(span));
}

void drawTitles(PlotCanvas& c, const AxisTitles& titles, bool xLog, bool xLabels, bool yLabels) {
    const LogicalRect r = c.plotRect;
    const int w = r.width();
    const int h = r.height();
    if (xLabels) c.text({r.left + w / 2, r.lower - (xLog ? h / 10 : h / 5)}, titles.horizontal);
    if (yLabels) {
        // Centred on the axis height with a character pitch of H/50, left of the number labels.
        const int length = static_cast<int>(titles.vertical.size());
        c.text({r.left - w / 6, r.lower + h / 2 - (h / 50 * length) / 2}, titles.vertical, kEscapementUp);
    }
}

}  // namespace

LogicalRect plotRectFor(bool bothLogarithmic, float horizontalDecades, float verticalDecades) {
    LogicalRect rect = kPlotFrame;
    if (!bothLogarithmic) return rect;
    const int w = kPlotFrame.width();
    const int h = kPlotFrame.height();
    const int a = truncToInt(w * static_cast<double>(verticalDecades) / horizontalDecades);
    const int b = truncToInt(h * static_cast<double>(horizontalDecades) / verticalDecades);
    if (b < w) {
        rect.left = kPlotFrame.left + w / 2 - b / 2;
        rect.right = kPlotFrame.left + w / 2 + b / 2;
    } else {
        rect.lower = kPlotFrame.lower + h / 2 - a / 2;
        rect.upper = kPlotFrame.lower + h / 2 + a / 2;
    }
    return rect;
}

AxisMapping drawAxes(PlotCanvas& canvas, const AnalysisState& state, AxisRange vertical, AxisRange horizontal,
                     const AxisTitles& titles) {
    if (canvas.clear) return drawClearAxes(canvas, state, vertical, horizontal, titles);
    AxisMapping mapping;
    const AxisTypes types = axisTypes(state);
    mapping.xLog = types.xLog;
    mapping.yLog = types.yLog;
    const AxisExtent y = extentOf(vertical, {state.plotYMin, state.plotYMax}, mapping.yLog);
    const AxisExtent x = extentOf(horizontal, {state.plotXMin, state.plotXMax}, mapping.xLog);
    canvas.plotRect = plotRectFor(mapping.xLog && mapping.yLog, x.span(), y.span());
    drawVertical(canvas, y, state.yLabelHidden == 0, mapping);
    drawFrame(canvas);
    drawHorizontal(canvas, x, state.xLabelHidden == 0, mapping);
    drawTitles(canvas, titles, mapping.xLog, state.xLabelHidden == 0, state.yLabelHidden == 0);
    return mapping;
}

}  // namespace tolvex::plot
