#include "cli/TestDescription.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/Cli.h"
#include "cli/CliState.h"
#include "core/io/FileBytes.h"
#include "core/series/GeometryFields.h"
#include "core/solutions/Unconfined.h"
#include "core/state/FieldTable.h"
#include "core/units/Units.h"

namespace tolvex::cli {
namespace {

using Json = nlohmann::json;

// A JSON test description is a few kilobytes; anything far larger is no test description.
constexpr std::size_t kMaxDescriptionBytes = 4u << 20;

class Reader {
public:
    explicit Reader(std::string path) : path_(std::move(path)) {}

    [[noreturn]] void fail(const std::string& key, const std::string& what) const {
        throw CliError{path_ + ": " + key + ": " + what};
    }

    double number(const Json& value, const std::string& key) const {
        if (!value.is_number()) fail(key, "is " + value.dump() + ", not a number");
        const double v = value.get<double>();
        if (!std::isfinite(v)) fail(key, "is not a finite number");
        return v;
    }
    double positive(const Json& value, const std::string& key) const {
        const double v = number(value, key);
        if (!(v > 0.0)) fail(key, "is " + formatGeneral(v, 9) + " and must be positive");
        return v;
    }
    int integer(const Json& value, const std::string& key, int lowest) const {
        if (!value.is_number_integer()) fail(key, "is " + value.dump() + ", not a whole number");
        const long long v = value.get<long long>();
        if (v < lowest || v > 1000000000) fail(key, "is " + std::to_string(v) + ", out of range");
        return static_cast<int>(v);
    }
    std::string text(const Json& value, const std::string& key) const {
        if (!value.is_string()) fail(key, "is " + value.dump() + ", not a text");
        return value.get<std::string>();
    }
    std::array<int, 2> pair(const Json& value, const std::string& key, bool ordered) const {
        if (!value.is_array() || value.size() != 2) fail(key, "is " + value.dump() + ", not [FROM, TO]");
        const std::array<int, 2> p{integer(value[0], key + "[0]", 1), integer(value[1], key + "[1]", 1)};
        if (ordered && p[1] < p[0]) fail(key, "ends before it starts");
        return p;
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void checkKeys(const Reader& in, const Json& object, const std::string& where,
               std::initializer_list<std::string_view> known) {
    for (const auto& [key, value] : object.items()) {
        bool found = false;
        for (std::string_view k : known) found = found || k == key;
        if (!found) {
            std::string names;
            for (std::string_view k : known) names += (names.empty() ? "" : ", ") + std::string(k);
            in.fail(where.empty() ? key : where + "." + key,
                    "is no key of a test description here (" + names + ")");
        }
    }
}

DisplayUnits readUnits(const Reader& in, const Json& value) {
    if (!value.is_object())
        in.fail("units", "is " + value.dump() + ", not an object such as {\"time\": \"min\"}");
    checkKeys(in, value, "units", {"time", "length", "rate"});
    std::string text;
    for (const auto& [kind, name] : value.items()) {
        text += (text.empty() ? "" : ",") + kind + "=" + in.text(name, "units." + kind);
    }
    if (text.empty()) return {};
    const UnitsParse parsed = parseUnits(text);
    if (!parsed.units) in.fail("units", parsed.error);
    return *parsed.units;
}

std::vector<RateStep> readRates(const Reader& in, const Json& value) {
    if (!value.is_array() || value.empty()) in.fail("rates", "is not a list of [time, rate] steps");
    std::vector<RateStep> steps;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const std::string key = "rates[" + std::to_string(i) + "]";
        const Json& step = value[i];
        if (!step.is_array() || step.size() != 2) in.fail(key, "is " + step.dump() + ", not [time, rate]");
        const RateStep s{in.number(step[0], key + "[0]"), in.number(step[1], key + "[1]")};
        if (!steps.empty() && !(s.time > steps.back().time))
            in.fail(key, "does not come after the step before it");
        if (s.time < 0.0) in.fail(key, "starts before time 0");
        steps.push_back(s);
    }
    return steps;
}

std::string resolved(const std::string& descriptionPath, const std::string& file) {
    const std::filesystem::path p(file);
    if (p.is_absolute()) return file;
    return (std::filesystem::path(descriptionPath).parent_path() / p).lexically_normal().string();
}

// The observation geometry of a series: fields of ObservationGeometry by name, numbers (the kinds among
// their choices).
std::vector<std::pair<std::string, std::string>> readGeometry(const Reader& in, const Json& value,
                                                              const std::string& where) {
    if (!value.is_object()) in.fail(where, "is " + value.dump() + ", not an object {\"mnZ\": 0.5, ...}");
    std::vector<std::pair<std::string, std::string>> fields;
    for (const auto& [name, v] : value.items()) {
        bool known = false;
        ObservationGeometry g;
        forEachGeometryField(g, [&](const char* field, auto&) { known = known || name == field; });
        const FieldInfo* field = findField(name);
        if (!known || field == nullptr)
            in.fail(where + "." + name, "is no field of the observation geometry");
        if (field->type() == FieldType::Int) {
            // Piezometer or screen; the unconfined model also has the full-thickness average.
            const int choices = name == "mnObsKind" ? kUnconfinedObservationCount : 2;
            const int kind = in.integer(v, where + "." + name, 0);
            if (kind >= choices)
                in.fail(where + "." + name,
                        "is " + std::to_string(kind) + "; it is 0.." + std::to_string(choices - 1));
            fields.emplace_back(name, std::to_string(kind));
        } else {
            fields.emplace_back(name, formatGeneral(in.number(v, where + "." + name), 9));
        }
    }
    return fields;
}

SeriesDescription readSeries(const Reader& in, const Json& value, std::size_t index) {
    const std::string where = "series[" + std::to_string(index) + "]";
    if (!value.is_object()) in.fail(where, "is " + value.dump() + ", not an object");
    checkKeys(
        in, value, where,
        {"name", "file", "r", "H0", "delimiter", "columns", "header_lines", "use", "weight", "geometry"});
    SeriesDescription s;
    s.name = value.contains("name") ? in.text(value["name"], where + ".name")
                                    : "Series " + std::to_string(index + 1);
    if (!value.contains("file")) in.fail(where + ".file", "is missing: the measurements' file");
    s.file = in.text(value["file"], where + ".file");
    if (s.file.empty()) in.fail(where + ".file", "names no file");
    s.file = resolved(in.path(), s.file);
    if (value.contains("r")) s.r = in.positive(value["r"], where + ".r");
    if (value.contains("H0")) {
        const Json& h = value["H0"];
        if (h.is_string() && h.get<std::string>() == "first")
            s.h0 = FirstValue{};
        else
            s.h0 = in.positive(h, where + ".H0");
    }
    if (value.contains("delimiter")) {
        s.delimiter = in.text(value["delimiter"], where + ".delimiter");
        if (*s.delimiter != "comma" && *s.delimiter != "semicolon" && *s.delimiter != "tab" &&
            *s.delimiter != "space")
            in.fail(where + ".delimiter", "is \"" + *s.delimiter + "\", not comma, semicolon, tab or space");
    }
    if (value.contains("columns")) s.columns = in.pair(value["columns"], where + ".columns", false);
    if (value.contains("header_lines"))
        s.headerLines = in.integer(value["header_lines"], where + ".header_lines", 0);
    if (value.contains("use")) s.use = in.pair(value["use"], where + ".use", true);
    if (value.contains("geometry")) s.geometry = readGeometry(in, value["geometry"], where + ".geometry");
    if (value.contains("weight")) {
        s.weight = in.number(value["weight"], where + ".weight");
        if (s.weight < 0.0) in.fail(where + ".weight", "is negative");
    }
    return s;
}

std::vector<std::pair<std::string, std::string>> readSets(const Reader& in, const Json& value) {
    if (!value.is_object()) in.fail("set", "is " + value.dump() + ", not an object {\"FIELD\": value}");
    std::vector<std::pair<std::string, std::string>> sets;
    for (const auto& [field, v] : value.items()) {
        if (!findField(field)) in.fail("set." + field, "is no field of the analysis");
        if (v.is_string())
            sets.emplace_back(field, v.get<std::string>());
        else if (v.is_number())
            sets.emplace_back(field, v.dump());
        else
            in.fail("set." + field, "is " + v.dump() + ", not a number or a text");
    }
    return sets;
}

}  // namespace

TestDescription parseTestDescription(const std::string& text, const std::string& path) {
    const Reader in(path);
    const Json json = Json::parse(text, nullptr, false);
    if (json.is_discarded()) throw CliError{path + ": is not JSON (check commas, quotes and brackets)"};
    if (!json.is_object()) throw CliError{path + ": holds no JSON object {...}"};
    checkKeys(in, json, "", {"model", "units", "rate", "rates", "series", "set"});
    TestDescription d;
    d.path = path;
    if (json.contains("model")) {
        d.model = in.integer(json["model"], "model", 0);
        if (*d.model > 10) in.fail("model", "is " + std::to_string(*d.model) + "; the models are 0..10");
    }
    if (json.contains("units")) d.units = readUnits(in, json["units"]);
    if (json.contains("rate") && json.contains("rates"))
        in.fail("rates", "and \"rate\" both given: give one");
    if (json.contains("rate")) d.rate = in.positive(json["rate"], "rate");
    if (json.contains("rates")) d.rates = readRates(in, json["rates"]);
    if (json.contains("series")) {
        const Json& list = json["series"];
        if (!list.is_array() || list.empty()) in.fail("series", "is not a list of series objects");
        for (std::size_t i = 0; i < list.size(); ++i) d.series.push_back(readSeries(in, list[i], i));
    }
    if (json.contains("set")) d.sets = readSets(in, json["set"]);
    return d;
}

TestDescription readTestDescription(const std::string& path) {
    const FileRead file = readFileBytes(path, kMaxDescriptionBytes);
    if (!file.bytes) throw CliError{"--test " + path + ": " + file.error};
    return parseTestDescription(*file.bytes, path);
}

void addTestOption(CLI::App& command, std::string& path) {
    command.add_option("--test", path, "A test description (JSON: model, units, rates, series, set)")
        ->check(nonEmptyFileName());
}

std::optional<TestDescription> testOption(const std::string& path) {
    if (path.empty()) return std::nullopt;
    return readTestDescription(path);
}

int runModel(const std::string& command, int model, const std::optional<TestDescription>& test) {
    if (model >= 0) return model;
    if (test && test->model) return *test->model;
    throw CliError{command + ": give --model or a test description with \"model\""};
}

}  // namespace tolvex::cli
