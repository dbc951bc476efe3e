#include "core/plot/PlotScene.h"

#include "core/plot/DataPlot.h"
#include "core/plot/PlotCanvas.h"
#include "core/plot/PlotLook.h"
#include "core/plot/TypeCurvePlot.h"

namespace tolvex::plot {
namespace {

// The font size follows the frame: a cell H/30 high with characters H/50 wide (23 and 14 units).
PlotFont plotFont(const AnalysisState& state) {
    PlotFont font;
    font.face = state.plotFontFace;
    font.height = kPlotFrame.height() / 30;
    font.width = kPlotFrame.height() / 50;
    return font;
}

}  // namespace

Scene buildPlotScene(AnalysisState& state, const TextMeasure& measure) {
    Scene scene;
    const bool clear = clearStyle(state);
    PlotCanvas canvas{scene, kPlotFrame, clear ? clearFont(state) : plotFont(state), measure, clear};
    switch (state.plotContent) {
        case 0:
            if (state.typeCurvesReady == 1) drawTypeCurvePlot(canvas, state);
            break;
        case 1:
        case 2:
            if (state.usedCount > 0) drawDataPlot(canvas, state);
            if (state.resultKind == 2) drawTypeCurvePlot(canvas, state);
            break;
        default:
            break;
    }
    return scene;
}

}  // namespace tolvex::plot
