// The three inversion commands: "Try and Error Inversion" (32792), "Simplex Inversion" (32794) and
// "Least Square Inversion" (32800).
//
// Each shows its dialogs first (the matching criteria for simplex and least squares, then the model's
// initial-guess dialog, or the Bouwer-Rice dialog for model 10); Cancel in any of them leaves the state
// as it was. The measurements are checked before anything runs (checkMisfitInputs and the Jacob and
// Bouwer-Rice checks; simplex and least squares also refuse fewer used measurements than the model has
// free parameters): a refusal shows the reason and computes nothing. A run whose RMS error, fitted
// parameters or (models 0..8) calculated drawdowns come out non-finite or negative has failed: the
// message says why and the state stays as before. A fitted storage coefficient of 1 or more and
// all-zero drawdowns are warned about, the fit still reported. The simplex and least-squares
// runs are jobs; stopping one keeps the best parameters reached, with iterationsDone telling how many
// iterations ran, and a message says so. On completion: plotContent = 2, resultKind = 1, modified = 1,
// rmsError, calculated, iterationsDone, errorHistory, paramCount/paramVector, and (simplex, least
// squares) the fitted parameters written back (model 2: K' = b'/p3).
#pragma once

#include "core/commands/CommandFlow.h"
#include "core/estimation/FitControls.h"
#include "core/estimation/FitOutcome.h"

namespace tolvex {

CommandOutcome trialInversion(AnalysisState& state, Interaction& ui);
// simplexInversion and leastSquaresInversion without controls run every iteration up to the limit,
// nothing fixed or bounded (FitControls::fullRun()).
CommandOutcome simplexInversion(AnalysisState& state, Interaction& ui);
// Models 0..8 by Marquardt's iteration, 9 by Jacob's straight line (no dialog after the criteria, no
// iteration), 10 by Bouwer and Rice.
CommandOutcome leastSquaresInversion(AnalysisState& state, Interaction& ui);

// simplexInversion and leastSquaresInversion under the program's fit controls (stop when converged, fixed
// parameters, bounds; refused with the reason when they do not fit the model). `outcome` receives why the run
// stopped, whether it converged, the parameters on a bound, and the warnings: "not converged after N
// iterations; raise the limit or improve the start" and "FIELD ended on a bound; the best fit may lie beyond
// it". Model 9 gives FitEnd::ClosedForm.
CommandOutcome simplexInversionWith(AnalysisState& state, Interaction& ui, const FitControls& controls,
                                    FitOutcome& outcome);
CommandOutcome leastSquaresInversionWith(AnalysisState& state, Interaction& ui, const FitControls& controls,
                                         FitOutcome& outcome);

// The same with the dialogs editing `controls` too (the desktop program's settings): the matching
// criteria show "Stop when converged", the initial-guess or Bouwer-Rice dialog a "Fix" box and optional
// bounds beside each fitted field (Form::fitControls). The run uses the controls as the dialogs leave
// them; a dialog's OK keeps its changes to them even when a later dialog is cancelled.
CommandOutcome simplexInversionEditing(AnalysisState& state, Interaction& ui, FitControls& controls,
                                       FitOutcome& outcome);
CommandOutcome leastSquaresInversionEditing(AnalysisState& state, Interaction& ui, FitControls& controls,
                                            FitOutcome& outcome);

}  // namespace tolvex
