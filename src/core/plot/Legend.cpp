#include "core/plot/Legend.h"

#include <algorithm>

#include "core/plot/CurveColours.h"
#include "core/plot/LabelFormat.h"
#include "core/plot/PlotLook.h"

namespace tolvex::plot {
namespace {

// Gap between a title moved above the plot rectangle and the rectangle's upper edge.
constexpr int kTitleLift = 4;

}  // namespace

Point legendTitleAnchor(const LogicalRect& r, int titleWidth, int fontHeight) {
    const Point beside{r.right + r.width() / 30, r.upper - 2 * (r.height() / 50)};
    if (beside.x + titleWidth <= kLogicalWidth) return beside;
    const int x = std::max(kLogicalWidth - titleWidth, 0);
    const int y = std::min(r.upper + kTitleLift + fontHeight, kLogicalHeight);
    return {x, y};
}

int legendRowPitch(const LogicalRect& plotRect) {
    return std::max(2 * (plotRect.height() / 50), 2 * (kPlotFrame.height() / 50));
}

int legendRowsPerColumn(const LogicalRect& plotRect, int fontHeight) {
    const int pitch = legendRowPitch(plotRect);
    // Row j stands at upper - pitch * (j + 2); its text cell reaches fontHeight further down.
    const int rows = (plotRect.upper - fontHeight) / pitch - 1;
    return std::max(rows, 1);
}

void drawLegend(PlotCanvas& c, const std::string& familyName, const AnalysisState& s) {
    const LogicalRect r = c.plotRect;
    const int w = r.width();
    const std::string title = familyName + "=";
    const int titleWidth = c.textWidth(title);
    const Point titleAnchor = legendTitleAnchor(r, titleWidth, c.font.height);
    c.text(titleAnchor, title);
    c.scene.width = std::max(c.scene.width, titleAnchor.x + titleWidth);
    const int count = std::min(s.familyCount, kFamilyCapacity);
    const int pitch = legendRowPitch(r);
    const int rowsPerColumn = legendRowsPerColumn(r, c.font.height);
    for (int j = 0; j < count; ++j) {
        const int column = j / rowsPerColumn;
        const int row = j % rowsPerColumn;
        const int shift = column * kLegendColumnPitch;
        const int y = r.upper - pitch * (row + 2);
        c.text({r.right + shift + w / 15, y}, legendValue(s.familyValues[static_cast<std::size_t>(j)]));
        c.line({r.right + shift + w / 50, y - pitch / 2}, {r.right + shift + w / 16, y - pitch / 2},
               c.clear ? clearColour(j) : curveColour(j));
    }
    const int columns = count == 0 ? 1 : (count - 1) / rowsPerColumn + 1;
    c.scene.width = std::max(c.scene.width, r.right + columns * kLegendColumnPitch);
}

}  // namespace tolvex::plot
