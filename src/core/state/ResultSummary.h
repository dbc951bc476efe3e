// What the last estimation found, as the results panel, the command line's show and the document keep
// it: the model and method, each fitted parameter in the document's units with its standard error and
// 95 % interval (least squares), the marks of the fit settings, the RMS error, how the run ended and its
// warnings, and the quantities a closed-form method derives besides its parameters (Jacob's straight
// line, Bouwer and Rice). A snapshot: values and unit labels are those of the moment of the fit.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace tolvex {

inline constexpr double kNoResultValue = std::numeric_limits<double>::quiet_NaN();

// A fitted parameter. Missing numbers (no interval, not determined) are NaN.
struct ResultParameter {
    std::string name;    // the state field ("transmissivity")
    std::string symbol;  // "T", "S", "K'", ...
    std::string unit;    // the document's unit label, empty without units or for storage coefficients
    double value = 0.0;
    double standardError = kNoResultValue;
    double lower = kNoResultValue;  // 95 % interval
    double upper = kNoResultValue;
    bool fixed = false;    // held at its value by the fit settings
    bool bounded = false;  // the fit settings gave it a lower or an upper bound
    bool atBound = false;  // it ended on a bound
};

// A quantity the method derives besides its parameters (Jacob's slope per log cycle, Bouwer and Rice's
// Re and coefficients).
struct ResultQuantity {
    std::string name;    // "lnReRw"
    std::string symbol;  // "ln(Re/rw)"
    std::string unit;
    double value = 0.0;
};

struct ResultSummary {
    int modelKind = 0;
    std::string modelName;
    std::string method;  // an EstimationMethod key: "trial", "simplex", "lsq", "jacob", "bouwer-rice"
    std::vector<ResultParameter> parameters;
    std::vector<ResultQuantity> derived;
    double rmsError = 0.0;
    std::string rmsUnit;
    int iterations = 0;
    bool converged = false;
    std::string stopReason;  // stopReasonText of the run's end
    std::vector<std::string> warnings;
    // The data or the model changed after the fit (kept with the document once it is known).
    bool stale = false;
    // What the fit's inputs were (resultInputsFingerprint); never written, set again when read.
    std::uint64_t inputsFingerprint = 0;
};

}  // namespace tolvex
