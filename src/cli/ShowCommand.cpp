// tolvex-cli show DOC [--json]: the model, parameters, measurements and results of a document.
#include <CLI/CLI.hpp>
#include <array>
#include <charconv>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/Cli.h"
#include "cli/CliState.h"
#include "core/estimation/ResultSummaryBuilder.h"
#include "core/estimation/ResultSummaryText.h"
#include "core/input/DisplayUnitsChange.h"
#include "core/io/NumberFormat.h"
#include "core/persist/Archive.h"
#include "core/persist/ExtensionSections.h"
#include "core/state/Accuracy.h"
#include "core/state/FieldTable.h"
#include "core/state/ModelKind.h"

namespace tolvex::cli {
namespace {

struct ShowOptions {
    std::string document;
    bool json = false;
};

// A document's text for a terminal: its Latin-1 bytes in UTF-8, with every control character (C0,
// DEL and the C1 range 0x80-0x9F) written as an escape (\t, \n, \r, else \x1b and the like), so that
// a document from someone else cannot move the cursor, rewrite the screen or talk to the terminal.
std::string terminalText(std::string_view latin1) {
    std::string safe;
    for (const char c : latin1) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 0x20 && code != 0x7F && (code < 0x80 || code > 0x9F)) {
            safe += latin1ToUtf8(std::string_view(&c, 1));
        } else if (c == '\t' || c == '\n' || c == '\r') {
            safe += c == '\t' ? "\\t" : c == '\n' ? "\\n" : "\\r";
        } else {
            constexpr std::string_view kHex = "0123456789abcdef";
            safe += {'\\', 'x', kHex[code >> 4], kHex[code & 0xF]};
        }
    }
    return safe;
}

// A float as the shortest decimal that reads back as the same float, so 75.53f shows as 75.53.
double shortestDouble(float value) {
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    double result = value;
    std::from_chars(buffer.data(), end, result);
    return result;
}

nlohmann::json fieldJson(const AnalysisState& state, const FieldInfo& field) {
    return std::visit(
        [&](auto member) -> nlohmann::json {
            const auto& value = state.*member;
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, float>) {
                if (state.units.set()) return shownFloat(state, value, fieldDimension(state, field));
                return shortestDouble(value);
            } else if constexpr (std::is_same_v<T, std::string>) {
                return latin1ToUtf8(value);  // the document's texts are Latin-1 bytes
            } else {
                return value;
            }
        },
        field.member);
}

// The fields from `first` to `last` in the field table's order: the aquifer, well and slug-test values.
std::vector<const FieldInfo*> parameterFields() {
    std::vector<const FieldInfo*> fields;
    bool inside = false;
    for (const FieldInfo& f : scalarFields()) {
        if (f.name == "pumpingRate") inside = true;
        if (inside) fields.push_back(&f);
        if (f.name == "brLeOverRw") break;
    }
    return fields;
}

// A field as text, floats in their shortest form, texts in UTF-8 with control characters escaped.
std::string displayText(const AnalysisState& state, const FieldInfo& field) {
    if (field.type() == FieldType::Text) return terminalText(fieldText(state, field));
    if (field.type() != FieldType::Float) return fieldText(state, field);
    if (state.units.set() && fieldDimension(state, field) != Dimension::None) return fieldText(state, field);
    std::array<char, 32> buffer{};
    const float value = state.*std::get<float AnalysisState::*>(field.member);
    return std::string(buffer.data(), std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr);
}

template <class Values>
nlohmann::json arrayJson(const Values& values, std::size_t first, std::size_t end) {
    nlohmann::json array = nlohmann::json::array();
    for (std::size_t i = first; i < end && i < values.size(); ++i) {
        if constexpr (std::is_same_v<typename Values::value_type, float>) {
            array.push_back(shortestDouble(values[i]));
        } else {
            array.push_back(values[i]);
        }
    }
    return array;
}

// The pumping history as [[time, rate], ...] in the document's units; empty for the classic constant rate
// from time 0.
nlohmann::json ratesJson(const AnalysisState& s) {
    nlohmann::json rates = nlohmann::json::array();
    for (const RateStep& step : s.rateSchedule)
        rates.push_back({shownMeasurement(s, step.time, Dimension::Time),
                         shownMeasurement(s, step.rate, Dimension::Rate)});
    return rates;
}

// The errors of the iterations (RMS drawdown errors) in the document's length unit.
nlohmann::json shownErrors(const AnalysisState& s) {
    nlohmann::json array = nlohmann::json::array();
    for (int i = 0; i < s.iterationsDone && static_cast<std::size_t>(i) < s.errorHistory.size(); ++i)
        array.push_back(shownFloat(s, s.errorHistory[static_cast<std::size_t>(i)], Dimension::Length));
    return array;
}

// Measurements in the document's units.
nlohmann::json shownArray(const AnalysisState& s, const std::vector<double>& values, int count,
                          Dimension dimension) {
    nlohmann::json array = arrayJson(values, 0, static_cast<std::size_t>(std::max(count, 0)));
    for (auto& v : array) v = shownMeasurement(s, v.get<double>(), dimension);
    return array;
}

// The starting values of the last run in the document's units.
nlohmann::json shownParamVector(const AnalysisState& s) {
    nlohmann::json array = nlohmann::json::array();
    for (std::size_t i = 0; i < s.paramVector.size(); ++i)
        array.push_back(shownFloat(s, s.paramVector[i], parameterDimension(s.modelKind, i + 1)));
    return array;
}

nlohmann::json headJson(const SlugHead& h) {
    constexpr const char* kReferences[] = {"one", "first", "number"};
    return {{"reference", kReferences[static_cast<int>(h.reference)]},
            {"h0", h.h0},
            {"waterLevels", h.waterLevels},
            {"staticLevel", h.staticLevel}};
}

// Every observation series, the first (the classic records) first: its settings, distance and used
// range; the further series with their measurements too.
nlohmann::json seriesJson(const AnalysisState& s) {
    const auto settings = [](const SeriesSettings& x) {
        return nlohmann::json{{"name", x.name},  // UTF-8: the extension block keeps it so
                              {"on", x.on},
                              {"weight", x.weight},
                              {"head", headJson(x.head)}};
    };
    nlohmann::json list = nlohmann::json::array();
    nlohmann::json first = settings(s.firstSeries);
    first["radialDistance"] = shortestDouble(s.radialDistance);
    first["count"] = std::max(s.allCount, 0);
    first["useFrom"] = s.useFrom;
    first["useTo"] = s.useTo;
    list.push_back(first);
    for (const ObservationSeries& x : s.extraSeries) {
        nlohmann::json entry = settings(x.settings);
        entry["radialDistance"] = shortestDouble(x.radialDistance);
        entry["count"] = x.times.size();
        entry["useFrom"] = x.useFrom;
        entry["useTo"] = x.useTo;
        entry["times"] = x.times;
        entry["values"] = x.values;
        list.push_back(entry);
    }
    return list;
}

nlohmann::json documentJson(const AnalysisState& s, const std::string& path) {
    nlohmann::json fields = nlohmann::json::object();
    for (const FieldInfo& f : scalarFields()) fields[std::string(f.name)] = fieldJson(s, f);
    nlohmann::json parameters = nlohmann::json::object();
    for (const FieldInfo* f : parameterFields()) parameters[std::string(f->name)] = fieldJson(s, *f);
    const auto size = [](int count) { return static_cast<std::size_t>(std::max(count, 0)); };
    const Dimension drawdown = measuredDimension(s);
    if (s.units.set()) {
        return {
            {"document", path},
            {"model", s.modelKind},
            {"modelName", std::string(modelName(s.modelKind))},
            {"accuracy", std::string(accuracyName(s.accuracy))},
            {"units", unitsJson(s.units)},
            {"parameters", parameters},
            {"paramVector", shownParamVector(s)},
            {"allTimes", shownArray(s, s.allTimes, s.allCount, Dimension::Time)},
            {"allDrawdowns", shownArray(s, s.allDrawdowns, s.allCount, drawdown)},
            {"times", shownArray(s, s.times, s.usedCount, Dimension::Time)},
            {"measured", shownArray(s, s.measured, s.usedCount, drawdown)},
            {"calculated", shownArray(s, s.calculated, s.usedCount, drawdown)},
            {"errorHistory", shownErrors(s)},
            {"familyValues", arrayJson(s.familyValues, 0, size(s.familyCount))},
            {"curveX", arrayJson(s.curveX, 1, size(s.curveXCount))},
            {"curveY", arrayJson(s.curveY, 1, size(s.curveYCount))},
            {"fields", fields},
        };
    }
    return {
        {"document", path},
        {"units", nullptr},
        {"model", s.modelKind},
        {"modelName", std::string(modelName(s.modelKind))},
        {"accuracy", std::string(accuracyName(s.accuracy))},
        {"parameters", parameters},
        {"paramVector", arrayJson(s.paramVector, 0, s.paramVector.size())},
        {"allTimes", arrayJson(s.allTimes, 0, size(s.allCount))},
        {"allDrawdowns", arrayJson(s.allDrawdowns, 0, size(s.allCount))},
        {"times", arrayJson(s.times, 0, size(s.usedCount))},
        {"measured", arrayJson(s.measured, 0, size(s.usedCount))},
        {"calculated", arrayJson(s.calculated, 0, size(s.usedCount))},
        {"errorHistory", arrayJson(s.errorHistory, 0, size(s.iterationsDone))},
        {"familyValues", arrayJson(s.familyValues, 0, size(s.familyCount))},
        {"curveX", arrayJson(s.curveX, 1, size(s.curveXCount))},
        {"curveY", arrayJson(s.curveY, 1, size(s.curveYCount))},
        {"rates", ratesJson(s)},
        {"fields", fields},
        {"series", seriesJson(s)},
    };
}

template <class Values>
double at(const Values& values, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < values.size()
               ? static_cast<double>(values[static_cast<std::size_t>(i)])
               : 0.0;
}

// A measurement in the document's units.
double shownAt(const AnalysisState& s, const std::vector<double>& values, int i, Dimension dimension) {
    return shownMeasurement(s, at(values, i), dimension);
}

void printMeasurements(std::ostream& out, const AnalysisState& s) {
    out << "measurements  " << s.allCount << " in the table, rows " << s.useFrom << " to " << s.useTo
        << " used (" << s.usedCount << ")\n";
    out << padLeft("No.", 6) << padLeft("time", 16) << padLeft("drawdown", 16) << padLeft("used", 6) << "\n";
    for (int i = 0; i < s.allCount; ++i) {
        const bool used = i + 1 >= s.useFrom && i + 1 <= s.useTo;
        out << padLeft(std::to_string(i + 1), 6)
            << padLeft(scientificText(shownAt(s, s.allTimes, i, Dimension::Time), 6), 16)
            << padLeft(scientificText(shownAt(s, s.allDrawdowns, i, measuredDimension(s)), 6), 16)
            << padLeft(used ? "*" : "", 6) << "\n";
    }
}

// A series name (UTF-8) for a terminal: control characters shown as '?'.
std::string controlsEscaped(std::string text) {
    for (char& c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || code == 0x7F) c = '?';
    }
    return text;
}

void printFurtherSeries(std::ostream& out, const AnalysisState& s) {
    for (std::size_t k = 0; k < s.extraSeries.size(); ++k) {
        const ObservationSeries& x = s.extraSeries[k];
        std::array<char, 32> r{};
        const auto end = std::to_chars(r.data(), r.data() + r.size(), x.radialDistance).ptr;
        out << "series " << k + 2 << "  " << controlsEscaped(x.settings.name) << ", r "
            << std::string(r.data(), end) << ", weight " << formatGeneral(x.settings.weight, 6)
            << (x.settings.on ? "" : ", off") << ", " << x.times.size() << " measurements\n";
    }
}

void printResults(std::ostream& out, const AnalysisState& s) {
    out << "results  resultKind " << s.resultKind << ", plotContent " << s.plotContent << ", rmsError "
        << displayText(s, *findField("rmsError")) << ", iterations " << s.iterationsDone << "\n";
    if (s.plotContent == 2 || s.resultKind == 1) {
        out << padLeft("time", 16) << padLeft("measured", 16) << padLeft("calculated", 16) << "\n";
        for (int i = 0; i < s.usedCount; ++i) {
            out << padLeft(scientificText(shownAt(s, s.times, i, Dimension::Time), 6), 16)
                << padLeft(scientificText(shownAt(s, s.measured, i, measuredDimension(s)), 6), 16)
                << padLeft(scientificText(shownAt(s, s.calculated, i, measuredDimension(s)), 6), 16) << "\n";
        }
    }
    for (int i = 0; i < s.iterationsDone; ++i) {
        out << "  iteration " << i + 1 << "  error "
            << scientificText(shownMeasurement(s, at(s.errorHistory, i), Dimension::Length), 6) << "\n";
    }
    out << "type curves  " << s.familyCount << " curve(s) of " << std::max(s.curveXCount - 1, 0) << " points"
        << (s.typeCurvesReady == 1 ? "" : " (none generated)") << "\n";
}

// The summary the document keeps of its last estimation, marked when the data changed after it.
void printLastEstimation(std::ostream& out, const AnalysisState& s) {
    if (!s.lastResults) return;
    ResultSummary shown = *s.lastResults;
    shown.stale = !resultsCurrent(s);
    out << "last estimation\n";
    std::istringstream lines(resultSummaryText(shown));
    for (std::string line; std::getline(lines, line);) out << "  " << controlsEscaped(line) << "\n";
}

// The "results" key: the summary as the document's extension block keeps it, only when there is one.
void addResultsJson(nlohmann::json& json, const AnalysisState& s) {
    nlohmann::json payload = nlohmann::json::object();
    writeResultsSection(s, payload);
    if (payload.contains("results")) json["results"] = payload["results"];
}

void printDocument(std::ostream& out, const AnalysisState& s, const std::string& path) {
    out << "document  " << path << "\n";
    out << "model     " << s.modelKind << "  " << modelName(s.modelKind) << "\n";
    out << "project   " << terminalText(s.projectDescription) << "\n";
    out << "operator  " << terminalText(s.operatorName) << "\n";
    if (s.units.set()) out << "units     " << unitsText(s.units) << "\n";
    out << "parameters\n";
    for (const FieldInfo* f : parameterFields()) {
        out << "  " << padRight(f->name, 24) << displayText(s, *f) << "\n";
    }
    printMeasurements(out, s);
    printFurtherSeries(out, s);
    printResults(out, s);
    printLastEstimation(out, s);
}

int runShow(CliContext& context, const ShowOptions& options) {
    const AnalysisState state = openDocumentOrThrow(options.document);
    if (options.json) {
        // Plain ASCII out: every character beyond it escaped (\u00e9), and a file name that is not UTF-8
        // shown with U+FFFD rather than refused.
        nlohmann::json json = documentJson(state, options.document);
        addResultsJson(json, state);
        context.out << json.dump(2, ' ', true, nlohmann::json::error_handler_t::replace) << "\n";
    } else {
        printDocument(context.out, state, options.document);
    }
    return kExitOk;
}

}  // namespace

void addShowCommand(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<ShowOptions>();
    CLI::App* sub =
        app.add_subcommand("show", "Show the model, parameters, measurements and results of a document");
    sub->add_option("document", options->document, "Document (.tvx)")->required();
    sub->add_flag("--json", options->json, "One JSON object with every field and array");
    sub->callback([&context, options]() {
        context.action = [&context, options]() { return runShow(context, *options); };
    });
}

}  // namespace tolvex::cli
