#include "core/plot/TypeCurvePlot.h"

#include <algorithm>
#include <cstddef>
#include <span>

#include "core/plot/Axes.h"
#include "core/plot/CurveColours.h"
#include "core/plot/FamilyCurve.h"
#include "core/plot/Legend.h"
#include "core/plot/PlotExtent.h"
#include "core/plot/PlotLook.h"
#include "core/state/ModelKind.h"

namespace tolvex::plot {
namespace {

// The family as the arrays actually hold it. The counts of the range fields describe the last run; when
// they have been changed since (or the arrays are short), only what the arrays hold is read.
struct StoredFamily {
    std::size_t points = 0;  // nx; abscissa i = 1..nx
    std::size_t curves = 0;
};

StoredFamily storedFamily(const AnalysisState& s, const FamilyDescription& family) {
    const auto xCount = static_cast<std::size_t>(std::max(s.curveXCount, 0));
    const std::size_t nx = std::min(xCount, s.curveX.size());
    if (nx < 2 || family.curves <= 0) return {};
    const std::size_t points = nx - 1;
    const std::size_t held = (s.curveY.size() - 1) / points;
    return {points, std::min(static_cast<std::size_t>(family.curves), held)};
}

void recordExtents(AnalysisState& s, const StoredFamily& f) {
    Extent horizontal;
    Extent vertical;
    for (std::size_t i = 1; i <= f.points; ++i) {
        horizontal.widen(s.curveX[i]);
        for (std::size_t j = 0; j < f.curves; ++j) vertical.widen(s.curveY[j * f.points + i]);
    }
    s.dataTimeMin = horizontal.min;
    s.dataTimeMax = horizontal.max;
    s.dataDrawdownMin = vertical.min;
    s.dataDrawdownMax = vertical.max;
}

void drawFamilyCurve(PlotCanvas& c, const AnalysisState& s, const AxisMapping& m, const StoredFamily& f,
                     std::size_t j) {
    if (s.dataHidden == 1) return;
    // The curve as a 1-based run of its own: element 0 of each span is never read.
    const std::span<const float> x(s.curveX.data(), f.points + 1);
    const std::span<const float> y(s.curveY.data() + j * f.points, f.points + 1);
    const auto clipped = clipFamilyCurve(x, y, {s.plotXMin, s.plotXMax}, {s.plotYMin, s.plotYMax});
    const auto index = static_cast<int>(j);
    Polyline line{{}, c.clear ? clearColour(index) : curveColour(index)};
    for (const CurvePoint& p : clipped) {
        const auto px = mapX(m, c.plotRect, p.x);
        const auto py = mapY(m, c.plotRect, p.y);
        if (px && py) line.points.push_back({*px, *py});
    }
    if (line.points.size() > 1) c.scene.add(std::move(line));
}

}  // namespace

FamilyDescription familyDescription(const AnalysisState& s) {
    switch (static_cast<ModelKind>(s.modelKind)) {
        case ModelKind::Theis:
            return {"1/u", "w(u)", "", 1, s.tcTheisCount};
        case ModelKind::PartialPenetration:
            return {"1/u", "w(u)+f(u,ar/b,d/b,l/b,z/b)", "ar/b", s.tcPpAnisCount, s.tcPpCount};
        case ModelKind::Leaky:
            return {"1/u", "w(u,r/B)", "r/B", s.tcLeakyRbCount, s.tcLeakyCount};
        case ModelKind::LeakyPartial:
            return {"1/u", "W(u,beta)+f(u,ar/b,beta,d/b,l/b,z/b)", "beta", s.tcLppBetaCount, s.tcLppCount};
        case ModelKind::LeakyStorage:
            return {"1/u", "H(u,beta)", "beta", s.tcStorBetaCount, s.tcStorCount};
        case ModelKind::SlugTest:
            return {"beta", "F(beta,alpha)", "alpha", s.tcSlugAlphaCount, s.tcSlugBetaCount};
        case ModelKind::Unconfined:
            return {"td", "hd(beta,td)", "beta", s.tcMnKzCount, s.tcMnTdCount};
        case ModelKind::WarrenRoot:
            return {"td/rd2", "hd", "lambda", s.tcWrLambdaCount, s.tcWrTdCount};
        case ModelKind::BoultonStreltsova:
            return {"td/rd2", "hd", "(Gamma*rd)^2", s.tcBsGammaCount, s.tcBsTdCount};
        default:
            return {};
    }
}

void drawTypeCurvePlot(PlotCanvas& canvas, AnalysisState& state) {
    const FamilyDescription family = familyDescription(state);
    const StoredFamily stored = storedFamily(state, family);
    recordExtents(state, stored);
    state.lastPlotStyle = 1;
    const AxisMapping mapping =
        drawAxes(canvas, state, {state.dataDrawdownMin, state.dataDrawdownMax},
                 {state.dataTimeMin, state.dataTimeMax}, {family.horizontalTitle, family.verticalTitle});
    for (std::size_t j = 0; j < stored.curves; ++j) drawFamilyCurve(canvas, state, mapping, stored, j);
    if (state.dataHidden == 0 && state.familyCount > 1) drawLegend(canvas, family.familyName, state);
}

}  // namespace tolvex::plot
