// The type-curve plot: the family of the current model, each curve clipped to the plotting window and
// drawn in its own colour, with a legend of the family values in the right-hand margin.
#pragma once

#include <string>

#include "core/plot/PlotCanvas.h"
#include "core/state/AnalysisState.h"

namespace tolvex::plot {

// Axis titles, the family name of the legend, and the curve and point counts of a model's family.
struct FamilyDescription {
    std::string horizontalTitle;
    std::string verticalTitle;
    std::string familyName;
    int curves = 0;
    int points = 0;
};

// By modelKind; a model without type curves has empty texts and no curves.
[[nodiscard]] FamilyDescription familyDescription(const AnalysisState& state);

// Records the curve extents (dataTimeMin ... dataDrawdownMax) and lastPlotStyle = 1.
void drawTypeCurvePlot(PlotCanvas& canvas, AnalysisState& state);

}  // namespace tolvex::plot
