#include "core/plot/PlotLook.h"

#include <cmath>

#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"
#include "core/units/Units.h"

namespace tolvex::plot {
namespace {

constexpr int kClassicCell = 23;  // the classic cell height in logical units, 10 points in the clear style
constexpr int kClassicCharWidth = 14;
constexpr int kPointsOfClassicCell = 10;
constexpr int kNormalWeight = 400;
constexpr int kBoldWeight = 700;
constexpr int kSmallestCell = 8;
constexpr int kLargestCell = 80;

bool slugTest(int modelKind) {
    const auto kind = static_cast<ModelKind>(modelKind);
    return kind == ModelKind::SlugTest || kind == ModelKind::BouwerRice;
}

std::string withUnit(const std::string& title, const std::string& unit, bool unitsSet) {
    if (!unitsSet) return title;
    return title + " [" + (unit.empty() ? "-" : unit) + "]";
}

}  // namespace

AxisTypes automaticAxisTypes(int modelKind) {
    const bool semiLog = slugTest(modelKind) || static_cast<ModelKind>(modelKind) == ModelKind::Jacob;
    return {true, !semiLog};
}

AxisTypes axisTypes(const AnalysisState& state) {
    switch (state.view.axes) {
        case AxesChoice::LogLog:
            return {true, true};
        case AxesChoice::SemiLog:
            return {true, false};
        case AxesChoice::Auto:
            break;
    }
    if (clearStyle(state)) return automaticAxisTypes(state.modelKind);
    return {state.xAxisLog == 1, state.yAxisLog == 1};
}

PlotFont clearFont(const AnalysisState& state) {
    PlotFont font;
    const PlotFont classic;
    font.face = state.plotFontFace == classic.face ? std::string(kClearFace) : state.plotFontFace;
    font.height = kClassicCell;
    if (state.view.fontPoints > 0) {
        const int cell =
            (state.view.fontPoints * kClassicCell + kPointsOfClassicCell / 2) / kPointsOfClassicCell;
        font.height = cell < kSmallestCell ? kSmallestCell : (cell > kLargestCell ? kLargestCell : cell);
    }
    font.width = (font.height * kClassicCharWidth + kClassicCell / 2) / kClassicCell;
    font.weight = state.view.fontBold ? kBoldWeight : kNormalWeight;
    font.italic = state.view.fontItalic;
    return font;
}

bool askedWindow(AxisRange window, bool horizontal, bool logarithmic) {
    static const AnalysisState kDefaults{};
    const AxisRange standard = horizontal ? AxisRange{kDefaults.plotXMin, kDefaults.plotXMax}
                                          : AxisRange{kDefaults.plotYMin, kDefaults.plotYMax};
    if (window.min == standard.min && window.max == standard.max) return false;
    const bool finite = std::isfinite(window.min) && std::isfinite(window.max);
    return finite && window.min < window.max && (!logarithmic || window.min > 0.0f);
}

DataTitles clearDataTitles(const AnalysisState& state) {
    const bool set = state.units.set();
    DataTitles titles;
    titles.horizontal = withUnit("Time t", unitLabel(Dimension::Time, state.units), set);
    const Dimension values = measuredDimension(state);
    const std::string unit = unitLabel(values, state.units);
    if (slugTest(state.modelKind)) {
        titles.vertical =
            values == Dimension::None ? withUnit("H/H0", "", set) : withUnit("Head H", unit, set);
    } else {
        titles.vertical = withUnit("Drawdown s", unit, set);
    }
    return titles;
}

}  // namespace tolvex::plot
