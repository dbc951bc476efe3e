// The measured and calculated series of the data plot in the clear style: outlined markers of a shape
// and a colour per series (never hiding one another), calculated lines in the series' colour, nothing
// outside the axes, and a legend entry for every series and every calculated line.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/plot/PlotCanvas.h"
#include "core/plot/PlotLook.h"

namespace tolvex::plot {

// One series as the clear data plot draws it.
struct ClearSeries {
    std::string name;
    std::span<const double> times;
    std::span<const double> values;
    std::span<const double> calculated;  // empty when no calculated line is drawn
};

void drawClearSeries(PlotCanvas& canvas, const AxisMapping& mapping, const std::vector<ClearSeries>& series);

// An outlined marker of `shape` centred at `at`, `radius` units from centre to corner.
void drawShapeMarker(PlotCanvas& canvas, Point at, MarkerShape shape, Rgb colour, int radius);

// The legend's texts in order: each series' name, then "calculated" (one series) or "NAME calculated"
// for each series with a calculated line.
[[nodiscard]] std::vector<std::string> clearLegendTexts(const std::vector<ClearSeries>& series);

}  // namespace tolvex::plot
