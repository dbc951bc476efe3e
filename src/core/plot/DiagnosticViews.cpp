#include "core/plot/DiagnosticViews.h"

#include "core/input/DisplayUnitsChange.h"
#include "core/plot/PlotGeometry.h"
#include "core/plot/PlotLook.h"
#include "core/plot/ResidualPlots.h"
#include "core/plot/StraightLinePlots.h"

namespace tolvex::plot {
namespace {

struct ViewNames {
    DiagnosticView view;
    std::string_view name;
    std::string_view title;
};

constexpr std::array<ViewNames, kDiagnosticViews.size()> kNames{{
    {DiagnosticView::ResidualsTime, "residuals-time", "Residuals against time"},
    {DiagnosticView::ResidualsCalculated, "residuals-calculated", "Residuals against calculated drawdown"},
    {DiagnosticView::NormalProbability, "normal", "Normal probability plot of the residuals"},
    {DiagnosticView::SemiLog, "semilog", "Semi-log plot (radial flow)"},
    {DiagnosticView::SquareRoot, "sqrt", "Drawdown against square root of time (linear flow)"},
    {DiagnosticView::QuarterPower, "quarter", "Drawdown against fourth root of time (bilinear flow)"},
}};

constexpr int kHeadingGap = 12;

const ViewNames& namesOf(DiagnosticView view) {
    for (const ViewNames& names : kNames)
        if (names.view == view) return names;
    return kNames.front();
}

void drawView(PlotCanvas& canvas, const AnalysisState& shown, DiagnosticView view) {
    switch (view) {
        case DiagnosticView::ResidualsTime:
            drawResidualsAgainstTime(canvas, shown);
            return;
        case DiagnosticView::ResidualsCalculated:
            drawResidualsAgainstCalculated(canvas, shown);
            return;
        case DiagnosticView::NormalProbability:
            drawNormalProbability(canvas, shown);
            return;
        case DiagnosticView::SemiLog:
            drawStraightLinePlot(canvas, shown, StraightLine::SemiLog);
            return;
        case DiagnosticView::SquareRoot:
            drawStraightLinePlot(canvas, shown, StraightLine::SquareRoot);
            return;
        case DiagnosticView::QuarterPower:
            drawStraightLinePlot(canvas, shown, StraightLine::QuarterPower);
            return;
    }
}

}  // namespace

std::string_view diagnosticViewName(DiagnosticView view) {
    return namesOf(view).name;
}

std::string_view diagnosticViewTitle(DiagnosticView view) {
    return namesOf(view).title;
}

std::optional<DiagnosticView> diagnosticViewFromName(std::string_view name) {
    for (const ViewNames& names : kNames)
        if (names.name == name) return names.view;
    return std::nullopt;
}

Scene buildDiagnosticScene(const AnalysisState& state, DiagnosticView view, const TextMeasure& measure) {
    Scene scene;
    PlotCanvas canvas{scene, kPlotFrame, clearFont(state), measure, true};
    // The views show the data as the document does, in its units (the titles name them).
    if (state.units.set()) {
        AnalysisState shown = inDisplayUnits(state);
        shown.units = state.units;  // for the titles: the values are now in these units
        drawView(canvas, shown, view);
    } else {
        drawView(canvas, state, view);
    }
    return scene;
}

void drawViewNote(PlotCanvas& canvas, const std::string& note) {
    const LogicalRect r = kPlotFrame;
    canvas.text({r.left + r.width() / 2 - canvas.textWidth(note) / 2,
                 r.lower + r.height() / 2 + canvas.font.height / 2},
                note);
}

void drawViewHeading(PlotCanvas& canvas, const std::string& heading) {
    const LogicalRect r = canvas.plotRect;
    canvas.text({r.left, r.upper + kHeadingGap + canvas.font.height}, heading);
}

void drawViewFootnote(PlotCanvas& canvas, const std::string& text) {
    const LogicalRect r = canvas.plotRect;
    // Below the number labels and the axis title (each a cell high with a gap).
    canvas.text({r.left, r.lower - 3 * kHeadingGap - 2 * canvas.font.height - kHeadingGap}, text);
}

std::string titleWithUnit(const std::string& title, const std::string& unit, bool unitsSet) {
    if (!unitsSet) return title;
    return title + " [" + (unit.empty() ? "-" : unit) + "]";
}

}  // namespace tolvex::plot
