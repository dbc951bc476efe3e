#include "core/plot/MatchingPlot.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/estimation/Uncertainty.h"
#include "core/plot/Axes.h"
#include "core/plot/ClearDataPlot.h"
#include "core/plot/DiagnosticViews.h"
#include "core/plot/PlotLook.h"
#include "core/plot/TypeCurvePlot.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/ParameterVector.h"
#include "core/units/Units.h"

namespace tolvex::plot {
namespace {

constexpr Rgb kOtherCurve{185, 185, 185};  // the curves the data do not follow stay in the background
constexpr int kMarkerDivisor = 110;
constexpr int kMatchCrossRadius = 16;
constexpr int kLabelGap = 8;
constexpr double kVerticalDecades = 5.0;  // the family's ordinate shown below its largest value

struct Family {
    int points = 0;  // nx: abscissa i = 1..nx
    int curves = 0;
};

Family familyOf(const AnalysisState& s) {
    const int nx = s.curveXCount - 1, nf = std::max(s.familyCount, 1);
    if (s.typeCurvesReady != 1 || nx < 2 || static_cast<int>(s.curveX.size()) <= nx ||
        s.curveY.size() < static_cast<std::size_t>(nx) * nf + 1)
        return {};
    return {nx, nf};
}

float curveValue(const AnalysisState& s, const Family& f, int k, int i) {
    return s.curveY[static_cast<std::size_t>(k) * f.points + i];
}

// log10 of curve k at decade lx, read linearly in the logarithms; NaN outside or at a node <= 0.
double curveDecadeAt(const AnalysisState& s, const Family& f, int k, double lx) {
    for (int i = 2; i <= f.points; ++i) {
        const double x0 = std::log10(s.curveX[i - 1]), x1 = std::log10(s.curveX[i]);
        if (lx < x0 || lx > x1 || !(x1 > x0)) continue;
        const double y0 = curveValue(s, f, k, i - 1), y1 = curveValue(s, f, k, i);
        if (!(y0 > 0.0) || !(y1 > 0.0)) return std::nan("");
        return std::log10(y0) + (lx - x0) / (x1 - x0) * (std::log10(y1) - std::log10(y0));
    }
    return std::nan("");
}

// The first series' used measurements with a positive time and value, as decades.
struct DataDecades {
    std::vector<double> x;
    std::vector<double> y;
};

DataDecades dataDecades(const AnalysisState& s) {
    DataDecades d;
    const auto n =
        std::min({static_cast<std::size_t>(std::max(s.usedCount, 0)), s.times.size(), s.measured.size()});
    for (std::size_t i = 0; i < n; ++i) {
        if (!(s.times[i] > 0.0) || !(s.measured[i] > 0.0) || !std::isfinite(s.times[i]) ||
            !std::isfinite(s.measured[i]))
            continue;
        d.x.push_back(std::log10(s.times[i]));
        d.y.push_back(std::log10(s.measured[i]));
    }
    return d;
}

bool isSlugTest(const AnalysisState& s) {
    return s.modelKind == static_cast<int>(ModelKind::SlugTest);
}

std::span<const double> usedPart(const std::vector<double>& v, int count) {
    return {v.data(), std::min(v.size(), static_cast<std::size_t>(std::max(count, 0)))};
}

bool inside(const LogicalRect& r, double x, double y) {
    return x >= r.left && x <= r.right && y >= r.lower && y <= r.upper;
}

Point pointAt(const MatchMapping& m, double lx, double ly) {
    return {truncToInt(m.logicalX(lx)), truncToInt(m.logicalY(ly))};
}

// "%.3g" with a decimal point whatever the process locale (the desktop program runs under the user's).
std::string shortNumber(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 3);
    return std::string(text, result.ptr);
}

// The family's ranges: its abscissa, and its ordinate down to kVerticalDecades below the largest value.
struct FamilyRanges {
    AxisRange x;
    AxisRange y;
};

FamilyRanges familyRanges(const AnalysisState& s, const Family& f) {
    float high = 0.0f, low = 0.0f;
    for (int k = 0; k < f.curves; ++k) {
        for (int i = 1; i <= f.points; ++i) {
            const float v = curveValue(s, f, k, i);
            if (!(v > 0.0f) || !std::isfinite(v)) continue;
            high = std::max(high, v);
            low = low > 0.0f ? std::min(low, v) : v;
        }
    }
    const auto floor = static_cast<float>(high * std::pow(10.0, -kVerticalDecades));
    return {{s.curveX[1], s.curveX[f.points]}, {std::max(low, floor), high}};
}

// The curve as runs of points inside the axes.
std::vector<Polyline> curveRuns(const AnalysisState& s, const Family& f, const MatchMapping& m, int k,
                                Rgb pen) {
    std::vector<Polyline> runs;
    Polyline run{{}, pen};
    const auto flush = [&] {
        if (run.points.size() > 1) runs.push_back(run);
        run.points.clear();
    };
    for (int i = 1; i <= f.points; ++i) {
        const float v = curveValue(s, f, k, i);
        const double x = std::log10(s.curveX[i]), y = v > 0.0f ? std::log10(v) : std::nan("");
        if (std::isnan(y) || !inside(m.plotRect, m.logicalX(x), m.logicalY(y))) {
            flush();
            continue;
        }
        run.points.push_back(pointAt(m, x, y));
    }
    flush();
    return runs;
}

std::string curveLabel(const AnalysisState& s, const FamilyDescription& d, const MatchResult& r) {
    if (s.modelKind == static_cast<int>(ModelKind::Theis) || d.familyName.empty()) return d.verticalTitle;
    return d.familyName + " = " + shortNumber(r.placement.familyValue);
}

void drawFamily(PlotCanvas& c, const AnalysisState& s, const Family& f, const MatchMapping& m,
                const MatchResult& r) {
    const int nearest = r.nearest ? r.nearest->index : -1;
    for (int k = 0; k < f.curves; ++k) {
        if (k == nearest) continue;
        for (Polyline& run : curveRuns(s, f, m, k, kOtherCurve)) c.scene.add(std::move(run));
    }
    if (nearest < 0) return;
    // Emphasised: three strokes side by side, as the scene's pens are all one pixel wide.
    const Rgb pen = clearColour(1);
    Point labelAt{-1, -1};
    for (const int offset : {-1, 0, 1}) {
        for (Polyline run : curveRuns(s, f, m, nearest, pen)) {
            for (Point& p : run.points) p.y += offset;
            if (offset == 0) labelAt = run.points.back();
            c.scene.add(std::move(run));
        }
    }
    if (labelAt.x < 0) return;
    // In the right-hand margin, level with the curve's last point inside the axes.
    const std::string label = curveLabel(s, familyDescription(s), r);
    c.scene.add(
        Text{{m.plotRect.right + kLabelGap, labelAt.y + c.font.height / 2}, label, 0, c.font, pen, kWhite});
    c.scene.width = std::max(c.scene.width, m.plotRect.right + 2 * kLabelGap + c.textWidth(label));
}

void drawData(PlotCanvas& c, const DataDecades& d, const MatchMapping& m, MatchShift shift) {
    const int radius = m.plotRect.width() / kMarkerDivisor;
    for (std::size_t i = 0; i < d.x.size(); ++i) {
        const double x = d.x[i] + shift.dx, y = d.y[i] + shift.dy;
        if (!inside(m.plotRect, m.logicalX(x), m.logicalY(y))) continue;
        drawShapeMarker(c, pointAt(m, x, y), MarkerShape::Circle, clearColour(0), radius);
    }
}

// The cross at the curves' (1, 1) and, below the axes, the data's time and value there.
void drawMatchPoint(PlotCanvas& c, const AnalysisState& s, const MatchMapping& m, MatchShift shift) {
    if (inside(m.plotRect, m.logicalX(0.0), m.logicalY(0.0))) {
        const Point at = pointAt(m, 0.0, 0.0);
        drawShapeMarker(c, at, MarkerShape::Plus, kBlack, kMatchCrossRadius);
        drawShapeMarker(c, at, MarkerShape::Circle, kBlack, kMatchCrossRadius / 2);
        c.text({at.x + kLabelGap, at.y - kLabelGap}, kMatchPointLabel);
    }
    const FamilyDescription d = familyDescription(s);
    const double t = fromSI(std::pow(10.0, -shift.dx), Dimension::Time, s.units);
    const double v = isSlugTest(s) ? 1.0 : fromSI(std::pow(10.0, -shift.dy), Dimension::Length, s.units);
    const std::string time = unitLabel(Dimension::Time, s.units);
    const std::string length = isSlugTest(s) ? std::string() : unitLabel(Dimension::Length, s.units);
    drawViewFootnote(c, "Match point " + d.horizontalTitle + " = 1, " + d.verticalTitle +
                            " = 1 at t = " + shortNumber(t) + (time.empty() ? "" : " " + time) + ", " +
                            (isSlugTest(s) ? "H/H0 = " : "s = ") + shortNumber(v) +
                            (length.empty() ? "" : " " + length));
}

MatchMapping mappingOf(const AxisMapping& a, const LogicalRect& rect) {
    return {rect, a.xOrigin, a.yOrigin, a.xScale, a.yScale};
}

}  // namespace

bool familyReady(const AnalysisState& s) {
    const Family f = familyOf(s);
    if (f.points == 0) return false;
    const FamilyDescription d = familyDescription(s);
    return d.curves == (s.modelKind == 0 ? 1 : s.familyCount) && d.points + 1 == s.curveXCount;
}

std::optional<std::string> matchProblem(const AnalysisState& s) {
    if (s.modelKind < 0 || s.modelKind > kLastTypeCurveModel)
        return std::string("Only the models with type curves (0 to 8) can be matched.");
    if (dataDecades(s).x.empty())
        return std::string(
            "No measurements to match: enter or import drawdowns with positive times and values.");
    std::string reason;
    if (!parametersFromMatch(s, {{0.0, 0.0}, 1.0}, &reason)) return reason;
    if (!familyReady(s)) return std::string(kNoFamilyNote);
    return std::nullopt;
}

MatchResult evaluateMatch(const AnalysisState& s, MatchShift shift, std::optional<double> curveValue) {
    MatchResult r;
    if (isSlugTest(s)) shift.dy = 0.0;
    r.placement.shift = shift;
    if (curveValue) {
        r.placement.familyValue = *curveValue;
    } else if (familyReady(s)) {
        r.nearest = nearestCurve(s, usedPart(s.times, s.usedCount), usedPart(s.measured, s.usedCount), shift);
        if (r.nearest) r.placement.familyValue = r.nearest->familyValue;
    }
    if (!curveValue && !r.nearest && s.modelKind != static_cast<int>(ModelKind::Theis)) {
        r.problem = "The data lie beside the type curves: move them onto the curves.";
        return r;
    }
    if (auto p = parametersFromMatch(s, r.placement, &r.problem)) {
        r.parameters = std::move(*p);
        r.problem.clear();
    }
    return r;
}

std::optional<MatchShift> middleShift(const AnalysisState& s) {
    const DataDecades d = dataDecades(s);
    const Family f = familyOf(s);
    if (d.x.empty() || f.points == 0) return std::nullopt;
    double tx = 0.0, ty = 0.0;
    for (std::size_t i = 0; i < d.x.size(); ++i) {
        tx += d.x[i];
        ty += d.y[i];
    }
    tx /= static_cast<double>(d.x.size());
    ty /= static_cast<double>(d.y.size());
    const double cx = (std::log10(s.curveX[1]) + std::log10(s.curveX[f.points])) / 2.0;
    const double cy = curveDecadeAt(s, f, f.curves / 2, cx);
    if (!std::isfinite(cy)) return std::nullopt;
    return MatchShift{cx - tx, isSlugTest(s) ? 0.0 : cy - ty};
}

std::optional<MatchShift> openingShift(const AnalysisState& s) {
    const std::vector<double> p = buildParameterVectorDouble(s);
    if (const auto placement = placementOf(s, p)) return placement->shift;
    return middleShift(s);
}

std::vector<MatchRow> matchRows(const AnalysisState& s, const std::vector<double>& p) {
    AnalysisState set = s;
    writeParameterVector(set, p);
    std::vector<MatchRow> rows;
    int entry = 0;
    for (std::string_view name : fittedFieldNames(s.modelKind)) {
        ++entry;
        const FieldInfo* field = findField(name);
        if (field == nullptr || field->type() != FieldType::Float) continue;
        const float stored = set.*std::get<float AnalysisState::*>(field->member);
        rows.push_back({std::string(name), std::string(parameterSymbol(s.modelKind, entry)),
                        unitLabel(field->dimension, s.units), fromSI(stored, field->dimension, s.units)});
    }
    return rows;
}

MatchView buildMatchingView(const AnalysisState& s, MatchShift shift, const TextMeasure& measure) {
    MatchView view;
    PlotCanvas canvas{view.scene, kPlotFrame, clearFont(s), measure, true};
    if (const auto problem = matchProblem(s)) {
        drawViewNote(canvas, *problem);
        view.result.problem = *problem;
        return view;
    }
    const Family f = familyOf(s);
    const FamilyDescription d = familyDescription(s);
    const FamilyRanges ranges = familyRanges(s, f);
    const AxisMapping axes =
        drawClearAxesOf(canvas, true, true, ranges.y, ranges.x, {d.horizontalTitle, d.verticalTitle});
    const MatchMapping mapping = mappingOf(axes, canvas.plotRect);
    view.result = evaluateMatch(s, shift);
    drawFamily(canvas, s, f, mapping, view.result);
    drawData(canvas, dataDecades(s), mapping, view.result.placement.shift);
    drawMatchPoint(canvas, s, mapping, view.result.placement.shift);
    drawViewHeading(canvas, "Type-curve match");
    view.mapping = mapping;
    return view;
}

}  // namespace tolvex::plot
