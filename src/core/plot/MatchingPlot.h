// The matching view: the current model's type-curve family in its dimensionless axes on equal-decade
// log-log paper, with the first series' measurements laid over it, moved by a match shift. The curve
// nearest the moved data is drawn emphasised with its label, and the match point (1, 1) of the curves
// is marked with the data's time and drawdown there. The axes follow the family only, so that they
// stay still while the user moves the data: the window maps its pixels to decades through the
// mapping the view hands out.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/diagnostics/MatchPoint.h"
#include "core/diagnostics/NearestCurve.h"
#include "core/plot/PlotCanvas.h"
#include "core/plot/Scene.h"
#include "core/state/AnalysisState.h"

namespace tolvex::plot {

// Between the view's logical space and decades (log10 of the type-curve abscissa and ordinate).
struct MatchMapping {
    LogicalRect plotRect;
    double xLow = 0.0;        // decade at the left edge
    double yLow = 0.0;        // decade at the lower edge
    double xPerDecade = 1.0;  // logical units per decade (equal decades: the two agree to a unit's
    double yPerDecade = 1.0;  // fraction, as the rectangle has whole units)

    [[nodiscard]] double logicalX(double decadeX) const {
        return plotRect.left + (decadeX - xLow) * xPerDecade;
    }
    [[nodiscard]] double logicalY(double decadeY) const {
        return plotRect.lower + (decadeY - yLow) * yPerDecade;
    }
    [[nodiscard]] double decadeX(double logicalX) const {
        return xLow + (logicalX - plotRect.left) / xPerDecade;
    }
    [[nodiscard]] double decadeY(double logicalY) const {
        return yLow + (logicalY - plotRect.lower) / yPerDecade;
    }
};

// Why the state cannot be matched, or nothing: a model without type curves, no measurement with a
// positive time and value, a pumping rate, radius or thickness the closed forms need that is not
// positive, or no family computed for the model.
[[nodiscard]] std::optional<std::string> matchProblem(const AnalysisState& state);

// Whether the state holds a computed family that fits its model's description (curve and point counts).
[[nodiscard]] bool familyReady(const AnalysisState& state);

// What a shift gives: the placement (shift and the family value of the nearest curve), that curve,
// and the parameter vector (1-based, as buildParameterVectorDouble), or the reason there is none.
struct MatchResult {
    MatchPlacement placement;
    std::optional<NearestCurve> nearest;
    std::vector<double> parameters;
    std::string problem;  // empty when `parameters` holds the match
};

// The match of the state's first series moved by `shift`. `curveValue` chooses the family value
// instead of the nearest curve (the command line's --curve). A slug test's heads are not shifted
// vertically: its dy is taken as 0.
[[nodiscard]] MatchResult evaluateMatch(const AnalysisState& state, MatchShift shift,
                                        std::optional<double> curveValue = std::nullopt);

// Where the view opens: the placement of the state's current parameters, or, when they give none,
// the data's middle (in log time and log value) on the middle of the family's middle curve.
[[nodiscard]] std::optional<MatchShift> openingShift(const AnalysisState& state);
[[nodiscard]] std::optional<MatchShift> middleShift(const AnalysisState& state);

// A parameter of the match as the document shows it.
struct MatchRow {
    std::string name;    // the state field ("transmissivity")
    std::string symbol;  // "T"
    std::string unit;    // the document's unit label, empty without units
    double value = 0.0;  // in the document's units
};
// The fitted fields of the model as the parameter vector p would set them, in the document's units.
[[nodiscard]] std::vector<MatchRow> matchRows(const AnalysisState& state, const std::vector<double>& p);

struct MatchView {
    Scene scene;
    std::optional<MatchMapping> mapping;  // nothing when the view holds only a note
    MatchResult result;
};

inline constexpr const char* kMatchPointLabel = "match point";
// The problem of a state that only lacks its family (the window offers to compute it; the menu item is
// Type-curves > Type-curve Calculation). Short enough to fit the picture's width on one line.
inline constexpr const char* kNoFamilyNote = "No type curves of this model yet: compute them first.";

// The view of the state for `shift`: the family, the moved data, the nearest curve and the match
// point; a note saying what is missing when the state cannot be matched.
[[nodiscard]] MatchView buildMatchingView(const AnalysisState& state, MatchShift shift,
                                          const TextMeasure& measure = {});

}  // namespace tolvex::plot
