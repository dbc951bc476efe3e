#include "core/commands/EstimationCommands.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/commands/EstimationForms.h"
#include "core/estimation/BouwerRice.h"
#include "core/estimation/FitChecks.h"
#include "core/estimation/JacobStraightLine.h"
#include "core/estimation/JointSeries.h"
#include "core/estimation/LeastSquares.h"
#include "core/estimation/Marquardt.h"
#include "core/estimation/Simplex.h"
#include "core/estimation/SlugHeadFit.h"
#include "core/estimation/TrialRun.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"
#include "core/typecurves/ForwardModel.h"
#include "core/typecurves/ParameterVector.h"

namespace tolvex {
namespace {

std::string withCount(const char* format, int count) {
    char buffer[200];
    std::snprintf(buffer, sizeof buffer, format, count);
    return buffer;
}

void markEstimation(AnalysisState& s) {
    s.resultKind = 1;
    s.plotContent = 2;
}

// A model the command does not serve: the message, and the bookkeeping the command always does.
CommandOutcome notImplemented(AnalysisState& s, Interaction& ui, int iterations) {
    markEstimation(s);
    s.iterationsDone = iterations;
    ui.message(kNotImplemented);
    s.modified = 1;
    ui.redraw();
    return CommandOutcome::Refused;
}

CommandOutcome refuse(Interaction& ui, const std::string& reason) {
    ui.message(reason);
    return CommandOutcome::Refused;
}

using Estimation = std::function<FitOutcome(AnalysisState&, ProgressSink&, std::stop_token)>;

// Why a finished estimation cannot stand: a fitted parameter or the RMS error that is not a finite
// number, or (models 0..8) a calculated drawdown that is not a number or negative.
std::optional<std::string> failedResult(const AnalysisState& s) {
    const std::string kept = "\nThe parameters are kept as they were before the run.";
    std::vector<std::pair<std::string, double>> results{{"rmsError", s.rmsError}};
    for (std::string_view name : fittedFieldNames(s.modelKind)) {
        const FieldInfo* field = findField(name);
        if (field != nullptr && field->type() == FieldType::Float)
            results.emplace_back(std::string(name), s.*std::get<float AnalysisState::*>(field->member));
    }
    for (const auto& [name, value] : results) {
        if (!std::isfinite(value)) {
            return "The estimation failed: " + name + " came out as " + formatGeneral(value, 6) +
                   ", not a finite number." + kept;
        }
    }
    if (s.modelKind < 0 || s.modelKind > kLastTypeCurveModel) return std::nullopt;
    if (const auto error = calculatedDrawdownsError(s, s.modelKind))
        return "The estimation failed: " + *error + kept;
    for (std::size_t k = 0; k < s.extraSeries.size(); ++k) {
        for (double c : s.extraSeries[k].calculated) {
            if (std::isfinite(c) && c >= 0.0) continue;
            return "The estimation failed: a drawdown of " + seriesLabel(s, static_cast<int>(k) + 1) +
                   " came out as " + formatGeneral(c, 6) + "; check its radial distance and geometry." + kept;
        }
    }
    return std::nullopt;
}

// Tells the user what makes a finished fit doubtful; the fit itself stands.
void warnAboutFit(const AnalysisState& s, Interaction& ui) {
    for (const std::string& warning : fitWarnings(s)) ui.message(warning);
}

// The checks before any estimation runs: measurements the model can take, and enough of them.
std::optional<std::string> estimationInputError(const AnalysisState& s, MisfitForm form,
                                                const FitControls& controls = {}) {
    // Several series are checked as the fit will see them: joined.
    if (!s.joint.joined() && jointFitWanted(s)) return estimationInputError(joinedCopy(s), form, controls);
    if (auto error = checkMisfitInputs(s, s.modelKind, form)) return error;
    return checkDeterminable(s, controls.fixed);
}

// The warnings of a finished run: not converged at the iteration limit, parameters on their bounds.
void addWarnings(FitOutcome& outcome, int iterations) {
    if (outcome.end == FitEnd::IterationLimit && !outcome.converged)
        outcome.warnings.push_back(notConvergedWarning(iterations));
    for (const std::string& name : outcome.atBound)
        outcome.warnings.push_back(name + " ended on a bound; the best fit may lie beyond it");
}

// Runs an estimation as a job on a copy of the state, then tells the user how an early end came about.
CommandOutcome runEstimation(AnalysisState& state, Interaction& ui, const Estimation& estimate,
                             FitOutcome& outcome) {
    outcome = FitOutcome{};
    StateJob job(state, true, StateJob::WhenStopped::Commit,
                 [&outcome, &estimate](AnalysisState& work, ProgressSink& progress, std::stop_token stop) {
                     markEstimation(work);
                     work.iterationsDone = 0;
                     const MeasuredHeads kept = fitOnNormalisedHeads(work);  // slug tests fit H/H0
                     {
                         const JoinedSeries joined(work);  // split again before the copy is committed
                         outcome = estimate(work, progress, stop);
                     }
                     restoreMeasuredHeads(work, kept);
                     work.modified = 1;
                 });
    const AnalysisState before = state;
    const bool completed = ui.runJob(job);
    if (const auto failure = job.committed() ? failedResult(state) : std::nullopt) {
        state = before;
        ui.message(*failure);
        ui.redraw();
        return CommandOutcome::Refused;
    }
    if (!completed || outcome.end == FitEnd::Stopped) {
        outcome.end = FitEnd::Stopped;
        outcome.converged = false;
        ui.message(
            withCount("The estimation was stopped after %d iterations; the best parameters reached are kept.",
                      state.iterationsDone));
    } else if (outcome.end == FitEnd::NoAcceptableStep) {
        ui.message(
            withCount("No acceptable step was found after %d iterations (a parameter is zero or changes sign "
                      "at every step); the fit ends with the current values.",
                      state.iterationsDone));
    }
    warnAboutFit(state, ui);
    addWarnings(outcome, state.iterationsDone);
    ui.redraw();
    return CommandOutcome::Done;
}

Estimation simplexFromFields(const FitControls& controls) {
    return [controls](AnalysisState& s, ProgressSink& progress, std::stop_token stop) {
        s.modelParams = buildParameterVector(s);
        FitOutcome outcome = simplexEstimation(s, progress, stop, vectorControls(s, controls));
        writeParameterVector(s, std::span<const float>(s.modelParams));
        return outcome;
    };
}

void copyCriteria(AnalysisState& s) {
    s.lsMaxIterations = s.maxIterations;
    s.lsConvergenceError = s.convergenceError;
}

Estimation leastSquaresFromFields(const FitControls& controls) {
    return [controls](AnalysisState& s, ProgressSink& progress, std::stop_token stop) {
        copyCriteria(s);
        return leastSquaresEstimation(s, progress, stop, controls);
    };
}

// prepareBouwerRice, the Marquardt iteration of the rate under `controls` (a bound on K is a bound on
// the rate), finishBouwerRice.
Estimation bouwerRiceFromFields(const FitControls& controls) {
    return [controls](AnalysisState& s, ProgressSink& progress, std::stop_token stop) {
        copyCriteria(s);
        prepareBouwerRice(s);
        const VectorControls limits = vectorControls(s, controls);
        if (limits.isFixed(1)) s.lsParamFree[1] = 0;
        FitOutcome outcome{FitEnd::ClosedForm, true, {}, {}};
        if (s.brFitIntercept != 0) {
            fitBouwerRiceLine(s, limits.isFixed(1));
        } else {
            const MarquardtResult result = marquardtFit(s, progress, stop, limits);
            outcome.end = result.end;
            outcome.converged = result.converged;
        }
        finishBouwerRice(s);
        outcome.atBound = parametersAtBound(s, limits, std::span<const double>(s.lsParams.data(), 2));
        return outcome;
    };
}

CommandOutcome jacobCommand(AnalysisState& state, Interaction& ui, FitOutcome& outcome) {
    if (const auto error = estimationInputError(state, MisfitForm::Plain)) return refuse(ui, *error);
    const AnalysisState before = state;
    std::optional<std::string> error;
    {
        const JoinedSeries joined(state);
        error = jacobFit(state);
    }
    if (error) {
        state = before;
        return refuse(ui, *error);
    }
    if (const auto failure = failedResult(state)) {
        state = before;
        return refuse(ui, *failure);
    }
    outcome = FitOutcome{FitEnd::ClosedForm, true, {}, {}};
    warnAboutFit(state, ui);
    markEstimation(state);
    copyCriteria(state);
    state.iterationsDone = 0;
    state.modified = 1;
    ui.redraw();
    return CommandOutcome::Done;
}

// The form, showing `part` of the controls when the dialogs edit them.
Form withControls(Form form, FitControls* edited, FitControlsShown part) {
    if (edited != nullptr) {
        form.fitControlsShown = part;
        form.fitControls = edited;
    }
    return form;
}

CommandOutcome bouwerRiceCommand(CommandScope& scope, AnalysisState& state, Interaction& ui,
                                 FitControls& controls, FitControls* edited, FitOutcome& outcome) {
    if (!scope.edit(ui, withControls(bouwerRiceForm(), edited, FitControlsShown::FixAndBounds)))
        return CommandOutcome::Cancelled;
    if (const auto error = checkBouwerRiceInputs(state)) return refuse(ui, *error);
    if (const auto error = checkDeterminable(state, controls.fixed)) return refuse(ui, *error);
    return runEstimation(state, ui, bouwerRiceFromFields(controls), outcome);
}

// The simplex command; `edited` (the same object as `controls`, or nothing) is what its dialogs edit.
CommandOutcome simplexFlow(AnalysisState& state, Interaction& ui, FitControls& controls, FitControls* edited,
                           FitOutcome& outcome) {
    outcome = FitOutcome{};
    CommandScope scope(state);
    if (!scope.edit(ui, withControls(matchingCriteriaForm(), edited, FitControlsShown::StopWhenConverged)))
        return CommandOutcome::Cancelled;
    const auto guess = initialGuessForm(state.modelKind);
    if (!guess) return notImplemented(state, ui, 0);
    if (const auto error = checkFitControls(state.modelKind, controls)) return refuse(ui, *error);
    if (!scope.edit(ui, withControls(*guess, edited, FitControlsShown::FixAndBounds)))
        return CommandOutcome::Cancelled;
    if (const auto error = estimationInputError(state, MisfitForm::OfForwardModel, controls))
        return refuse(ui, *error);
    return runEstimation(state, ui, simplexFromFields(controls), outcome);
}

// The least-squares command; `edited` (the same object as `controls`, or nothing) is what its dialogs
// edit.
CommandOutcome leastSquaresFlow(AnalysisState& state, Interaction& ui, FitControls& controls,
                                FitControls* edited, FitOutcome& outcome) {
    outcome = FitOutcome{};
    CommandScope scope(state);
    if (!scope.edit(ui, withControls(matchingCriteriaForm(), edited, FitControlsShown::StopWhenConverged)))
        return CommandOutcome::Cancelled;
    if (const auto error = checkFitControls(state.modelKind, controls)) return refuse(ui, *error);
    if (state.modelKind == static_cast<int>(ModelKind::Jacob)) return jacobCommand(state, ui, outcome);
    if (state.modelKind == static_cast<int>(ModelKind::BouwerRice))
        return bouwerRiceCommand(scope, state, ui, controls, edited, outcome);
    const auto guess = initialGuessForm(state.modelKind);
    if (!guess) return notImplemented(state, ui, 0);
    if (!scope.edit(ui, withControls(*guess, edited, FitControlsShown::FixAndBounds)))
        return CommandOutcome::Cancelled;
    if (const auto error = estimationInputError(state, MisfitForm::Plain, controls))
        return refuse(ui, *error);
    return runEstimation(state, ui, leastSquaresFromFields(controls), outcome);
}

}  // namespace

CommandOutcome trialInversion(AnalysisState& state, Interaction& ui) {
    const auto guess = initialGuessForm(state.modelKind);
    if (!guess) {
        const CommandOutcome outcome = notImplemented(state, ui, 1);
        if (!state.errorHistory.empty()) state.errorHistory[0] = state.rmsError;
        return outcome;
    }
    CommandScope scope(state);
    if (!scope.edit(ui, *guess)) return CommandOutcome::Cancelled;
    if (const auto error = checkMisfitInputs(joinedCopy(state), state.modelKind, MisfitForm::OfForwardModel))
        return refuse(ui, *error);
    const AnalysisState before = state;
    markEstimation(state);
    const MeasuredHeads kept = fitOnNormalisedHeads(state);  // slug tests fit H/H0
    {
        const JoinedSeries joined(state);
        trialRun(state);
    }
    restoreMeasuredHeads(state, kept);
    if (const auto failure = failedResult(state)) {
        state = before;
        return refuse(ui, *failure);
    }
    state.modified = 1;
    ui.redraw();
    return CommandOutcome::Done;
}

CommandOutcome simplexInversion(AnalysisState& state, Interaction& ui) {
    FitOutcome outcome;
    return simplexInversionWith(state, ui, FitControls::fullRun(), outcome);
}

CommandOutcome leastSquaresInversion(AnalysisState& state, Interaction& ui) {
    FitOutcome outcome;
    return leastSquaresInversionWith(state, ui, FitControls::fullRun(), outcome);
}

CommandOutcome simplexInversionWith(AnalysisState& state, Interaction& ui, const FitControls& controls,
                                    FitOutcome& outcome) {
    FitControls copy = controls;
    return simplexFlow(state, ui, copy, nullptr, outcome);
}

CommandOutcome leastSquaresInversionWith(AnalysisState& state, Interaction& ui, const FitControls& controls,
                                         FitOutcome& outcome) {
    FitControls copy = controls;
    return leastSquaresFlow(state, ui, copy, nullptr, outcome);
}

CommandOutcome simplexInversionEditing(AnalysisState& state, Interaction& ui, FitControls& controls,
                                       FitOutcome& outcome) {
    return simplexFlow(state, ui, controls, &controls, outcome);
}

CommandOutcome leastSquaresInversionEditing(AnalysisState& state, Interaction& ui, FitControls& controls,
                                            FitOutcome& outcome) {
    return leastSquaresFlow(state, ui, controls, &controls, outcome);
}

}  // namespace tolvex
