// The summary of an estimation (ResultSummary.h) as plain text for people and as a tab-separated table
// for spreadsheets. Numbers are written with a decimal point whatever the process's locale: the table is
// data, and a spreadsheet under a comma locale reads a point-decimal column on import as it is told to,
// while a mixture of separators from one file to the next would be read wrong silently.
#pragma once

#include <string>
#include <vector>

#include "core/state/ResultSummary.h"

namespace tolvex {

// A number as the summary shows it: 6 significant digits, "-" when it does not exist (NaN).
[[nodiscard]] std::string resultNumberText(double value);

// What marks a parameter: "fixed", "at a bound", "bounded", joined by ", "; empty for none.
[[nodiscard]] std::string parameterMarks(const ResultParameter& p);

// "converged", "not converged", or the stop reason where a yes or no does not apply (closed form,
// nothing fitted).
[[nodiscard]] std::string convergenceText(const ResultSummary& summary);

// Several lines: model, method, one line per parameter with unit, standard error, interval and marks,
// the derived quantities, RMS error, iterations and convergence, and the warnings.
[[nodiscard]] std::string resultSummaryText(const ResultSummary& summary);

// The columns of the table.
[[nodiscard]] const std::vector<std::string>& resultTableColumns();

// A header row (resultTableColumns) and one row per model, method, parameter, derived quantity, RMS
// error, iterations, convergence and warning; cells separated by tabs, rows ended by "\n". Numbers have
// up to 9 significant digits; a number that does not exist is an empty cell.
[[nodiscard]] std::string resultSummaryTable(const ResultSummary& summary);

}  // namespace tolvex
