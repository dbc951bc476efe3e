// Settings of the iterative estimations beyond the matching criteria: whether a run stops as soon as
// it has converged, parameters held fixed and bounds on the fitted parameters. They belong to the
// program's settings, not to the document.
//
// Fixed parameters use the free flags of the least-squares block (lsParamFree = 0) and are left out of
// the simplex (it searches the free parameters only). Bounds are kept by projection: every trial point
// of either method is clamped into [lower, upper]. In Marquardt's iteration a parameter that sits on a
// bound while the gradient of the misfit points outwards is held for that iteration (its row and column
// of the normal equations are decoupled), so the step of the others is the step of the reduced problem;
// this is the projected Levenberg-Marquardt scheme (cf. Kanzow, Yamashita and Fukushima, 2004). The
// simplex builds its initial vertex of a parameter as 100 times the start, or the start / 100 when
// 100 times lies beyond the upper bound, both clamped into the bounds.
#pragma once

#include <limits>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "core/state/AnalysisState.h"

namespace tolvex {

struct ParameterBounds {
    double lower = -std::numeric_limits<double>::infinity();
    double upper = std::numeric_limits<double>::infinity();
};

// The user's settings, by the names of the fitted fields (fittedFieldNames) and in their units.
struct FitControls {
    // Off: every run goes on to maxIterations, as the methods were first written.
    bool stopWhenConverged = true;
    std::set<std::string> fixed;
    std::map<std::string, ParameterBounds> bounds;

    // Every iteration up to maxIterations, nothing fixed or bounded: the methods as first written.
    [[nodiscard]] static FitControls fullRun() {
        FitControls c;
        c.stopWhenConverged = false;
        return c;
    }
};

// The settings in the units of the model's parameter vector, entries 1..n (entry 0 unused).
struct VectorControls {
    bool stopWhenConverged = false;
    std::vector<char> fixed;
    std::vector<double> lower, upper;

    [[nodiscard]] bool isFixed(int k) const { return k < static_cast<int>(fixed.size()) && fixed[k] != 0; }
    [[nodiscard]] double clamp(int k, double value) const;
};

// Why the settings do not fit the model: a name that is not one of its fitted fields, a lower bound
// not below the upper one, or Jacob's straight line (nothing iterated).
[[nodiscard]] std::optional<std::string> checkFitControls(int modelKind, const FitControls& controls);

// The settings for the state's model. Model 2 carries b'/K', so bounds on K' become [b'/upper, b'/lower];
// model 10 carries the rate p = 2 K Le / (ln(Re/rw) rc^2), so its bounds on K scale by that factor
// (brLnReRw must be prepared).
[[nodiscard]] VectorControls vectorControls(const AnalysisState& state, const FitControls& controls);

// The fitted fields whose vector entry ended on a bound (to 1e-6 relative), in vector order.
[[nodiscard]] std::vector<std::string> parametersAtBound(const AnalysisState& state,
                                                         const VectorControls& controls,
                                                         std::span<const double> p);

}  // namespace tolvex
