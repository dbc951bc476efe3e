// "series": [{first series' settings}, {settings, "r", "geometry", "times", "values", "useFrom", "useTo"},
// ...], one entry per series in order. The first series' measurements, distance and geometry are the
// classic records'; only its settings are kept here. An empty list is the classic single series. A series'
// calculated drawdowns are results of a run and are not kept (the classic records keep the first series'
// own).
#include <cmath>
#include <functional>
#include <utility>

#include "core/io/ValidUtf8.h"
#include "core/persist/ExtensionSections.h"
#include "core/series/GeometryFields.h"
#include "core/series/SeriesChecks.h"

namespace tolvex {
namespace {

using nlohmann::json;

constexpr const char* kReferenceNames[] = {"one", "first", "number"};

json headJson(const SlugHead& h) {
    return {{"reference", kReferenceNames[static_cast<int>(h.reference)]},
            {"h0", h.h0},
            {"waterLevels", h.waterLevels},
            {"staticLevel", h.staticLevel}};
}

json settingsJson(const SeriesSettings& s) {
    return {{"name", validUtf8(s.name)}, {"on", s.on}, {"weight", s.weight}, {"head", headJson(s.head)}};
}

json seriesJson(const ObservationSeries& x) {
    json geometry = json::object();
    forEachGeometryField(x.geometry, [&](const char* name, const auto& v) { geometry[name] = v; });
    json out = settingsJson(x.settings);
    out["r"] = x.radialDistance;
    out["geometry"] = geometry;
    out["times"] = x.times;
    out["values"] = x.values;
    out["useFrom"] = x.useFrom;
    out["useTo"] = x.useTo;
    return out;
}

// Reading: every key of an object checked for its type; the first fault ends the read with its words.
struct Reader {
    std::string where;  // "series 2", named in every message
    std::optional<std::string> error;

    bool fail(const std::string& what) {
        if (!error) error = "its extension block's " + where + " " + what;
        return false;
    }
    bool number(const json& o, const char* key, double& out, bool required) {
        const auto it = o.find(key);
        if (it == o.end()) return required ? fail(std::string("has no \"") + key + "\"") : true;
        if (!it->is_number())
            return fail(std::string("gives \"") + key + "\" as " + it->dump() + ", not a number");
        out = it->get<double>();
        return true;
    }
    bool floatNumber(const json& o, const char* key, float& out, bool required) {
        double v = out;
        if (!number(o, key, v, required)) return false;
        out = static_cast<float>(v);
        return true;
    }
    bool integer(const json& o, const char* key, int& out, bool required) {
        const auto it = o.find(key);
        if (it == o.end()) return required ? fail(std::string("has no \"") + key + "\"") : true;
        if (!it->is_number_integer() || it->get<long long>() < -1000000000LL ||
            it->get<long long>() > 1000000000LL)
            return fail(std::string("gives \"") + key + "\" as " + it->dump() + ", not a whole number");
        out = it->get<int>();
        return true;
    }
    bool boolean(const json& o, const char* key, bool& out) {
        const auto it = o.find(key);
        if (it == o.end()) return true;
        if (!it->is_boolean())
            return fail(std::string("gives \"") + key + "\" as " + it->dump() + ", not true or false");
        out = it->get<bool>();
        return true;
    }
    bool text(const json& o, const char* key, std::string& out) {
        const auto it = o.find(key);
        if (it == o.end()) return true;
        if (!it->is_string())
            return fail(std::string("gives \"") + key + "\" as " + it->dump() + ", not a text");
        out = it->get<std::string>();
        return true;
    }
    bool numbers(const json& o, const char* key, std::vector<double>& out) {
        const auto it = o.find(key);
        if (it == o.end()) return fail(std::string("has no \"") + key + "\"");
        if (!it->is_array()) return fail(std::string("gives \"") + key + "\" that is not a list of numbers");
        out.clear();
        for (const json& v : *it) {
            if (!v.is_number())
                return fail(std::string("has ") + v.dump() + " in \"" + key + "\", not a number");
            out.push_back(v.get<double>());
        }
        return true;
    }
    bool head(const json& o, SlugHead& h) {
        const auto it = o.find("head");
        if (it == o.end()) return true;
        if (!it->is_object()) return fail("gives a \"head\" that is not a JSON object");
        std::string reference = kReferenceNames[static_cast<int>(h.reference)];
        if (!text(*it, "reference", reference)) return false;
        bool known = false;
        for (int k = 0; k < 3; ++k) {
            if (reference != kReferenceNames[k]) continue;
            h.reference = static_cast<SlugHead::Reference>(k);
            known = true;
        }
        if (!known) return fail("gives the head reference \"" + reference + "\", not one, first or number");
        return number(*it, "h0", h.h0, false) && boolean(*it, "waterLevels", h.waterLevels) &&
               number(*it, "staticLevel", h.staticLevel, false);
    }
    bool settings(const json& o, SeriesSettings& s) {
        if (!o.is_object()) return fail("is not a JSON object");
        if (!(text(o, "name", s.name) && boolean(o, "on", s.on) && number(o, "weight", s.weight, false) &&
              head(o, s.head)))
            return false;
        if (auto bad = checkWeight(s.weight)) return fail("is refused: " + *bad);
        return true;
    }
    bool geometry(const json& o, ObservationGeometry& g) {
        const auto it = o.find("geometry");
        if (it == o.end()) return true;
        if (!it->is_object()) return fail("gives a \"geometry\" that is not a JSON object");
        bool ok = true;
        forEachGeometryField(g, [&](const char* name, auto& v) {
            if (!ok) return;
            if constexpr (std::is_same_v<std::decay_t<decltype(v)>, int>) {
                ok = integer(*it, name, v, false);
            } else {
                ok = floatNumber(*it, name, v, false);
            }
        });
        return ok;
    }
    bool series(const json& o, ObservationSeries& x) {
        if (!settings(o, x.settings)) return false;
        if (!(floatNumber(o, "r", x.radialDistance, true) && geometry(o, x.geometry) &&
              numbers(o, "times", x.times) && numbers(o, "values", x.values) &&
              integer(o, "useFrom", x.useFrom, false) && integer(o, "useTo", x.useTo, false)))
            return false;
        if (auto bad = checkSeries(x)) return fail("is refused: " + *bad);
        return true;
    }
};

}  // namespace

void writeSeriesSection(const AnalysisState& state, nlohmann::json& payload) {
    if (state.extraSeries.empty() && state.firstSeries == SeriesSettings{}) return;
    json list = json::array();
    list.push_back(settingsJson(state.firstSeries));
    for (const ObservationSeries& x : state.extraSeries) list.push_back(seriesJson(x));
    payload["series"] = list;
}

std::optional<std::string> readSeriesSection(const nlohmann::json& payload, AnalysisState& state) {
    const auto section = payload.find("series");
    if (section == payload.end()) return std::nullopt;
    if (!section->is_array()) return "its extension block's series are not a JSON list";
    SeriesSettings first;
    std::vector<ObservationSeries> extra;
    for (std::size_t k = 0; k < section->size(); ++k) {
        Reader reader{"series " + std::to_string(k + 1), {}};
        if (k == 0) {
            if (!reader.settings((*section)[0], first)) return reader.error;
            continue;
        }
        ObservationSeries x;
        if (!reader.series((*section)[k], x)) return reader.error;
        extra.push_back(std::move(x));
    }
    state.firstSeries = std::move(first);
    state.extraSeries = std::move(extra);
    return std::nullopt;
}

}  // namespace tolvex
