// The whole plot of the document as a scene, built from the analysis state alone. Everything is drawn
// from scratch on every call; the only state written back is what the plot records of itself (the
// extents dataTimeMin ... dataDrawdownMax and lastPlotStyle).
#pragma once

#include "core/plot/PlotCanvas.h"
#include "core/plot/Scene.h"
#include "core/state/AnalysisState.h"

namespace tolvex::plot {

// By plotContent: 0 the type curves (when they are ready); 1 and 2 the measured data (when there are
// any), with the type curves drawn over them on their own axes when resultKind is 2. The plot font is
// the face of plotFontFace at the fixed size; in the clear style (state.view) the font of clearFont.
// An empty scene when there is nothing to show. `measure` gives the width of a text as the backend will
// draw it (render::sceneTextMeasure); without it widths are estimated.
[[nodiscard]] Scene buildPlotScene(AnalysisState& state, const TextMeasure& measure = {});

}  // namespace tolvex::plot
