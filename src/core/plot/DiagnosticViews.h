// The diagnostic views beside the main plot: the residuals of the last estimation (against time, against
// the calculated drawdowns, on normal probability paper) and the straight-line plots that identify a flow
// regime (semi-log, square root and fourth root of time). Each is a scene of its own in the clear style,
// drawn by the same backends as the main plot.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/plot/PlotCanvas.h"
#include "core/plot/Scene.h"
#include "core/state/AnalysisState.h"

namespace tolvex::plot {

enum class DiagnosticView {
    ResidualsTime,
    ResidualsCalculated,
    NormalProbability,
    SemiLog,
    SquareRoot,
    QuarterPower,
};

inline constexpr std::array<DiagnosticView, 6> kDiagnosticViews{
    DiagnosticView::ResidualsTime, DiagnosticView::ResidualsCalculated, DiagnosticView::NormalProbability,
    DiagnosticView::SemiLog,       DiagnosticView::SquareRoot,          DiagnosticView::QuarterPower,
};

// The command-line name: residuals-time, residuals-calculated, normal, semilog, sqrt, quarter.
[[nodiscard]] std::string_view diagnosticViewName(DiagnosticView view);
[[nodiscard]] std::optional<DiagnosticView> diagnosticViewFromName(std::string_view name);
// The heading written above the view and offered in the window's list.
[[nodiscard]] std::string_view diagnosticViewTitle(DiagnosticView view);

// The view of the document as a scene, the data in the document's units. Without an estimation (residual
// views) or without measurements the scene holds a note saying so.
[[nodiscard]] Scene buildDiagnosticScene(const AnalysisState& state, DiagnosticView view,
                                         const TextMeasure& measure = {});

inline constexpr const char* kNoEstimationNote = "No estimation yet";
inline constexpr const char* kNoMeasurementsNote = "No measurements";

// Parts the views share: a note in the middle of the frame, a heading above the plot rectangle, a footnote
// below it, and a
// title with its unit in brackets when the document has units ("[-]" for a unit-less quantity).
void drawViewNote(PlotCanvas& canvas, const std::string& note);
void drawViewHeading(PlotCanvas& canvas, const std::string& heading);
// A line of text below the horizontal axis title, at the left of the plot rectangle.
void drawViewFootnote(PlotCanvas& canvas, const std::string& text);
[[nodiscard]] std::string titleWithUnit(const std::string& title, const std::string& unit, bool unitsSet);

}  // namespace tolvex::plot
