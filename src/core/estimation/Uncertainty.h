// Uncertainty of least-squares parameters, linearised at the optimum (Bates and Watts 1988, ch. 2;
// Draper and Smith 1998, ch. 24), in the logarithms theta = ln p of the positive parameters:
//
//   sigma^2 = SSR / (n - k)               n used measurements, k free parameters
//   C       = sigma^2 (J^T J)^-1          J: Jacobian of the residuals in theta at the optimum
//   se(p)   = p sqrt(C_ii)                interval exp(theta_i -/+ t(0.975, nu) sqrt(C_ii))
//
// Residuals of a pumping test are serially correlated (the model misses a smooth trend, not random
// noise), which makes these intervals far too narrow. The lag-1 autocorrelation rho of the residuals in
// time order gives an effective number of independent measurements n_eff = n (1 - rho) / (1 + rho) for
// rho > 0 (the AR(1) variance inflation of the mean; Bayley and Hammersley 1946, Zieba 2010); C is then
// scaled by (n - k) / (n_eff - k) and nu = n_eff - k. When n_eff <= k the data hold no interval.
//
// J is formed here from the forward model by central differences in theta with Richardson
// extrapolation, independently of the derivatives the Marquardt iteration uses. Directions of theta
// that the data do not see (model 4's confining beds enter only through beta) are found from the
// eigenvalues of the column-scaled J^T J; parameters with a share in them are "not determined" and the
// others' covariance is the pseudo-inverse's, which is exact for such estimable parameters.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/state/AnalysisState.h"

namespace tolvex {

struct ParameterUncertainty {
    std::string_view name;            // the state field (model 2's third entry is reported as K')
    std::string_view symbol;          // "T", "S", "K'", ...
    double value = 0.0;               // as the field stores it
    bool fixed = false;               // its free flag is not set
    bool atBound = false;             // on a bound of its range: held there, like a fixed one
    bool determined = false;          // free, inside its range, positive, and seen by the data
    double standardError = 0.0;       // p sqrt(C_ii); NaN when not determined or no interval exists
    double lower = 0.0, upper = 0.0;  // the 95 % interval; NaN likewise
};

struct FitUncertainty {
    int usedCount = 0;
    int freeCount = 0;  // k: parameters in the covariance (free, inside their range, positive)
    double sumSquares = 0.0;
    double residualVariance = 0.0;  // SSR / (n - k), NaN for n <= k
    double lag1Autocorrelation = 0.0;
    double effectiveCount = 0.0;                     // n_eff (n when rho <= 0)
    double covarianceScale = 1.0;                    // (n - k) / (n_eff - k)
    double degreesOfFreedom = 0.0;                   // nu = n_eff - k
    bool enoughInformation = false;                  // n_eff > k: intervals exist
    std::vector<ParameterUncertainty> parameters;    // in the order of the model's vector
    std::vector<std::string_view> correlationNames;  // the determined parameters
    std::vector<double> correlation;                 // their correlation matrix by rows
    std::vector<std::string> warnings;
};

// Ranges of the vector entries (1-based, as the parameter vector); an empty vector keeps the forward
// model's clamping range [1e-10, 1e10] for the entries it clamps.
struct ParameterRanges {
    std::vector<double> lower, upper;
};

// The uncertainty of the state's model parameters (models 0..8) at the values in its fields, with the
// free flags of lsParamFree (all free when it does not match the model); nothing for other models or
// no measurements in use. Residuals are the plain drawdown differences least squares minimises.
[[nodiscard]] std::optional<FitUncertainty> estimateUncertainty(const AnalysisState& state,
                                                                const ParameterRanges& ranges = {});

// The lag-1 autocorrelation of a series: sum (r_i - m)(r_i+1 - m) / sum (r_i - m)^2 (Box and Jenkins
// 1976, eq. 2.1.12), 0 for fewer than two values or a constant series.
[[nodiscard]] double lag1Autocorrelation(const std::vector<double>& series);

// The short symbol of a vector entry (1-based) in warnings: "T", "S", "Kz", "K'", ...
[[nodiscard]] std::string_view parameterSymbol(int modelKind, int entry);

}  // namespace tolvex
