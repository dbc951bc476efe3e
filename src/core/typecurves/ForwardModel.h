// Drawdowns of every pumping-test model at the measurement times, for a parameter vector, and their
// root-mean-square misfit against the measurements. This is the objective of the trial run and the
// simplex search, and (through computeDrawdowns) of the least-squares iteration.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "core/state/AnalysisState.h"
#include "core/typecurves/ObservationSite.h"

namespace tolvex {

// Keeps entries 1..clampedCount(modelKind) of the 1-based vector inside [1e-10, 1e10]; a NaN becomes
// 1e-10. Both bounds are applied as floats.
void clampParameters(std::span<float> p, int modelKind);

// Drawdowns of models 0..8 at times[0..out.size()-1] for the 1-based parameters q (already clamped).
// The dimensional factors (u factor, drawdown scale, the model's dimensionless parameters) are rounded
// to float once per call, as the stored parameters are; the drawdowns themselves stay double. When
// several series are joined for a fit (state.joint), each series' stretch of the times is computed at
// that series' site.
void computeDrawdowns(const AnalysisState& state, int modelKind, std::span<const double> q,
                      std::span<double> out);
// The same at `site` (a series' distance and observation geometry) and `times` (out.size() of them).
// With a rate schedule, the drawdowns of that pumping history by superposition in time
// (core/pumping/Superposition.h), NaN where checkRateScheduleInputs refuses the schedule.
void computeDrawdownsAt(const AnalysisState& state, const ObservationSite& site, int modelKind,
                        std::span<const double> q, std::span<const double> times, std::span<double> out);

// Why the state's rate schedule cannot drive the model's drawdowns, or nothing (always nothing without
// one): a bad step (checkRateSchedule), a model that is not superposed in time (only 0, 2, 4, 7 and 8
// are), or a pumping rate of 0, which as the reference rate would divide the drawdowns by 0.
[[nodiscard]] std::optional<std::string> checkRateScheduleInputs(const AnalysisState& state, int modelKind);

// Clamps p in place and fills calculated[0..usedCount-1] for models 0..8; nothing for other models.
void evaluateForward(AnalysisState& state, std::span<float> p, int modelKind);

// evaluateForward, then the RMS misfit over the used measurements, the squares summed into a float
// (joined series: each square times its series' weight, the mean over every joined measurement).
// Model 2 compares log10 of the drawdowns. Returns 0 for models other than 0..8 and for no measurements.
// Allocates nothing when calculated already holds usedCount values.
[[nodiscard]] float forwardMisfit(AnalysisState& state, std::span<float> p, int modelKind);

// The misfit an estimation minimises: forwardMisfit's (the logarithmic one for model 2) in the trial
// run and the simplex search, plain differences of drawdowns in least squares.
enum class MisfitForm { OfForwardModel, Plain };

// Whether the model's drawdown is defined at time 0: models 0-5, whose formulas give drawdown 0
// (slug test: head 1) before the aquifer answers. Models 6-8 invert a Laplace transform at 1/t, and
// Jacob's straight line takes ln t.
[[nodiscard]] bool definedAtTimeZero(int modelKind);

// Why the measurements cannot be fitted with the model, or nothing: no measurement in use, a negative
// time, a time 0 where the model has no value there (definedAtTimeZero), a drawdown that is not a
// number, (model 2 with the logarithmic misfit only) a drawdown that is not positive, or a drawdown
// that the model cannot compute at the starting parameters (checkDrawdownsDefined).
[[nodiscard]] std::optional<std::string> checkMisfitInputs(const AnalysisState& state, int modelKind,
                                                           MisfitForm form = MisfitForm::OfForwardModel);

// Why the model's drawdowns at the used times are undefined or negative for the state's parameters,
// or nothing (calculatedDrawdownsError of a trial evaluation). The clamping keeps S and T positive, but
// a zero casing radius, a screen of no length or a zero storage ratio still make the well functions
// undefined; such a run would only spread NaNs. Too many Stehfest terms make them negative.
[[nodiscard]] std::optional<std::string> checkDrawdownsDefined(const AnalysisState& state, int modelKind);

// Why calculated[0..usedCount-1] of models 0..8 cannot stand, naming the time: a value that is not a
// finite number, or a negative one (WellFunctionValues.h: a well function never is).
[[nodiscard]] std::optional<std::string> calculatedDrawdownsError(const AnalysisState& state, int modelKind);

}  // namespace tolvex
