// The slug test of Bouwer and Rice (1976): the head in the well declines as ln(h0/h) = p t with
// p = 2 K Le / (ln(Re/rw) rc^2). ln(Re/rw) follows from the well geometry and the empirical
// coefficients A, B, C of their Fig. 3 (interpolated in Le/rw); the rate p is fitted to -ln h by the
// Marquardt iteration, and K follows from p. Optionally the line ln(H/H0) = a - p t is fitted with an
// intercept a (by linear least squares), for records whose first heads are disturbed (the "double
// straight line" effect of a gravel pack, Bouwer 1989): the slope, and so K, then comes from the
// straight part alone, while the classic line is held through the origin.
#pragma once

#include <optional>
#include <stop_token>
#include <string>

#include "core/estimation/FitEnd.h"
#include "core/jobs/Job.h"
#include "core/state/AnalysisState.h"

namespace tolvex {

struct BouwerRiceCoefficients {
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
};

// A, B, C at Le/rw = ratio: the first row below 3.5, the last above 2000, linear in between.
[[nodiscard]] BouwerRiceCoefficients interpolateBouwerRice(const AnalysisState& state, float ratio);

// ln(Re/rw) = 1 / (1.1/ln(Lw/rw) + (A + B min(ln((H - Lw)/rw), 6)) rw/Le) for a partially
// penetrating well (H > Lw), and 1 / (1.1/ln(Lw/rw) + C rw/Le) for a well reaching the aquifer base.
[[nodiscard]] float bouwerRiceLnReRw(const AnalysisState& state, const BouwerRiceCoefficients& coefficients);

// Why the measurements or the well geometry admit no fit, naming the value: no measurement in use,
// a measured value that is not positive (its logarithm is taken), Lw <= rw, Le <= 0, rw <= 0, rc <= 0.
[[nodiscard]] std::optional<std::string> checkBouwerRiceInputs(const AnalysisState& state);

// lsParamCapacity = 1 with both flags 1; brLeOverRw, brCoefA/B/C, brLnReRw and the starting rate
// brRate (also lsParams[1] and [2]); the measurements replaced by -ln of themselves.
void prepareBouwerRice(AnalysisState& state);

// The line -ln(H/H0) = -a + p t through the prepared measurements by least squares: p (lsParams[1]
// and [2]) and a (brInterceptValue), or a alone when the rate is held (`rateFixed`); calculated on the
// line. Needs two different times.
void fitBouwerRiceLine(AnalysisState& state, bool rateFixed);

// brRate and hydraulicConductivity from the fitted rate; measured and calculated transformed back by
// exp(-x), and rmsError of the heads.
void finishBouwerRice(AnalysisState& state);

// prepareBouwerRice, marquardtFit (or fitBouwerRiceLine when brFitIntercept is 1), finishBouwerRice, on
// H/H0 of the measured heads (SlugHeadFit.h). The inputs must pass checkBouwerRiceInputs.
FitEnd bouwerRiceEstimation(AnalysisState& state, ProgressSink& progress, std::stop_token stop);

}  // namespace tolvex
