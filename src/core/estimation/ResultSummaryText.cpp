#include "core/estimation/ResultSummaryText.h"

#include <cmath>

#include "core/estimation/ResultSummaryBuilder.h"
#include "core/state/FieldTable.h"

namespace tolvex {
namespace {

constexpr int kShownDigits = 6;
constexpr int kTableDigits = 9;

std::string withUnit(const std::string& number, const std::string& unit) {
    return unit.empty() ? number : number + " " + unit;
}

std::string tableNumber(double value) {
    return std::isfinite(value) ? formatGeneral(value, kTableDigits) : std::string();
}

// A text cell: tabs and line ends would split the row, so they become spaces.
std::string cell(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

void addRow(std::string& table, const std::vector<std::string>& cells) {
    const std::size_t columns = resultTableColumns().size();
    for (std::size_t i = 0; i < columns; ++i) {
        if (i > 0) table += '\t';
        if (i < cells.size()) table += cell(cells[i]);
    }
    table += '\n';
}

std::string parameterLine(const ResultParameter& p) {
    std::string line = "  " + p.symbol + " = " + withUnit(resultNumberText(p.value), p.unit);
    if (std::isfinite(p.standardError)) line += ", standard error " + resultNumberText(p.standardError);
    if (std::isfinite(p.lower) && std::isfinite(p.upper))
        line += ", 95 % interval " + resultNumberText(p.lower) + " .. " + resultNumberText(p.upper);
    const std::string marks = parameterMarks(p);
    if (!marks.empty()) line += " (" + marks + ")";
    return line + "\n";
}

}  // namespace

std::string resultNumberText(double value) {
    return std::isfinite(value) ? formatGeneral(value, kShownDigits) : std::string("-");
}

std::string parameterMarks(const ResultParameter& p) {
    std::string marks;
    const auto add = [&marks](const char* mark) { marks += (marks.empty() ? "" : ", ") + std::string(mark); };
    if (p.fixed) add("fixed");
    if (p.atBound)
        add("at a bound");
    else if (p.bounded)
        add("bounded");
    return marks;
}

std::string convergenceText(const ResultSummary& summary) {
    if (summary.stopReason == "closed form" || summary.stopReason == "nothing fitted")
        return summary.stopReason;
    return summary.converged ? "converged" : "not converged";
}

std::string resultSummaryText(const ResultSummary& summary) {
    std::string text = "Model: " + summary.modelName + "\n";
    text += "Method: " + methodNameOfKey(summary.method) + "\n";
    if (summary.stale) text += "(The data or the model changed after this fit.)\n";
    text += "Parameters:\n";
    for (const ResultParameter& p : summary.parameters) text += parameterLine(p);
    for (const ResultQuantity& q : summary.derived)
        text += "  " + q.symbol + " = " + withUnit(resultNumberText(q.value), q.unit) + "\n";
    text += "RMS error: " + withUnit(resultNumberText(summary.rmsError), summary.rmsUnit) + "\n";
    text += "Iterations: " + std::to_string(summary.iterations) + " (" + convergenceText(summary) + ")\n";
    for (const std::string& w : summary.warnings) text += "Warning: " + w + "\n";
    return text;
}

const std::vector<std::string>& resultTableColumns() {
    static const std::vector<std::string> kColumns{"Quantity",       "Symbol",     "Value",      "Unit",
                                                   "Standard error", "95 % lower", "95 % upper", "Note"};
    return kColumns;
}

std::string resultSummaryTable(const ResultSummary& summary) {
    std::string table;
    addRow(table, resultTableColumns());
    addRow(table, {"model", "", summary.modelName});
    addRow(table, {"method", "", methodNameOfKey(summary.method), "", "", "", "",
                   summary.stale ? "stale: the data or the model changed after this fit" : ""});
    for (const ResultParameter& p : summary.parameters) {
        addRow(table, {p.name, p.symbol, tableNumber(p.value), p.unit, tableNumber(p.standardError),
                       tableNumber(p.lower), tableNumber(p.upper), parameterMarks(p)});
    }
    for (const ResultQuantity& q : summary.derived)
        addRow(table, {q.name, q.symbol, tableNumber(q.value), q.unit});
    addRow(table, {"rmsError", "RMS", tableNumber(summary.rmsError), summary.rmsUnit});
    addRow(table,
           {"iterations", "", std::to_string(summary.iterations), "", "", "", "", convergenceText(summary)});
    for (const std::string& w : summary.warnings) addRow(table, {"warning", "", "", "", "", "", "", w});
    return table;
}

}  // namespace tolvex
