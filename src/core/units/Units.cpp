#include "core/units/Units.h"

#include <array>
#include <string>

namespace tolvex {
namespace {

constexpr double kMinute = 60.0;
constexpr double kHour = 3600.0;
constexpr double kDay = 86400.0;
constexpr double kFoot = 0.3048;  // international foot (1959)
constexpr double kInch = 0.0254;
constexpr double kUsGallon = 3.785411784e-3;  // 231 cubic inches
constexpr double kCubicFoot = kFoot * kFoot * kFoot;

constexpr std::array kTimeUnits{
    UnitChoice{"s", "s", 1.0},
    UnitChoice{"min", "min", kMinute},
    UnitChoice{"h", "h", kHour},
    UnitChoice{"d", "d", kDay},
};
constexpr std::array kLengthUnits{
    UnitChoice{"m", "m", 1.0},     UnitChoice{"mm", "mm", 1e-3},  UnitChoice{"cm", "cm", 1e-2},
    UnitChoice{"ft", "ft", kFoot}, UnitChoice{"in", "in", kInch},
};
constexpr std::array kRateUnits{
    UnitChoice{"m3/s", "m³/s", 1.0},
    UnitChoice{"m3/h", "m³/h", 1.0 / kHour},
    UnitChoice{"m3/d", "m³/d", 1.0 / kDay},
    UnitChoice{"L/s", "L/s", 1e-3},
    UnitChoice{"L/min", "L/min", 1e-3 / kMinute},
    UnitChoice{"gpm", "US gpm", kUsGallon / kMinute},
    UnitChoice{"ft3/d", "ft³/d", kCubicFoot / kDay},
};

double factorOf(std::span<const UnitChoice> choices, const std::string& name) {
    const UnitChoice* unit = name.empty() ? &choices.front() : findUnit(choices, name);
    return unit ? unit->toSI : 1.0;
}

std::string labelOf(std::span<const UnitChoice> choices, const std::string& name) {
    const UnitChoice* unit = name.empty() ? &choices.front() : findUnit(choices, name);
    return unit ? std::string(unit->label) : std::string();
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::string namesOf(std::span<const UnitChoice> choices) {
    std::string names;
    for (const UnitChoice& c : choices) names += (names.empty() ? "" : ", ") + std::string(c.name);
    return names;
}

}  // namespace

std::span<const UnitChoice> timeUnits() {
    return kTimeUnits;
}
std::span<const UnitChoice> lengthUnits() {
    return kLengthUnits;
}
std::span<const UnitChoice> rateUnits() {
    return kRateUnits;
}

const UnitChoice* findUnit(std::span<const UnitChoice> choices, std::string_view name) {
    for (const UnitChoice& c : choices) {
        if (c.name == name || c.label == name) return &c;
    }
    return nullptr;
}

double siFactor(Dimension dimension, const DisplayUnits& units) {
    if (!units.set()) return 1.0;
    const double t = factorOf(kTimeUnits, units.time);
    const double l = factorOf(kLengthUnits, units.length);
    switch (dimension) {
        case Dimension::None:
            return 1.0;
        case Dimension::Length:
            return l;
        case Dimension::Time:
            return t;
        case Dimension::Rate:
            return factorOf(kRateUnits, units.rate);
        case Dimension::Transmissivity:
            return l * l / t;
        case Dimension::Conductivity:
            return l / t;
        case Dimension::PerTime:
            return 1.0 / t;
    }
    return 1.0;
}

namespace {

void scale(std::span<double> values, double factor) {
    if (factor == 1.0) return;
    for (double& v : values) v *= factor;
}

}  // namespace

void measurementsToSI(std::span<double> times, std::span<double> values, Dimension valueDimension,
                      const DisplayUnits& units) {
    scale(times, siFactor(Dimension::Time, units));
    scale(values, siFactor(valueDimension, units));
}

void measurementsFromSI(std::span<double> times, std::span<double> values, Dimension valueDimension,
                        const DisplayUnits& units) {
    // Division, not multiplication by the reciprocal: 90 min stored as 5400 s shows as exactly 90.
    const auto divide = [](std::span<double> v, double factor) {
        if (factor == 1.0) return;
        for (double& x : v) x /= factor;
    };
    divide(times, siFactor(Dimension::Time, units));
    divide(values, siFactor(valueDimension, units));
}

std::string unitLabel(Dimension dimension, const DisplayUnits& units) {
    if (!units.set()) return {};
    const std::string l = labelOf(kLengthUnits, units.length);
    const std::string t = labelOf(kTimeUnits, units.time);
    switch (dimension) {
        case Dimension::None:
            return {};
        case Dimension::Length:
            return l;
        case Dimension::Time:
            return t;
        case Dimension::Rate:
            return labelOf(kRateUnits, units.rate);
        case Dimension::Transmissivity:
            return l + "²/" + t;
        case Dimension::Conductivity:
            return l + "/" + t;
        case Dimension::PerTime:
            return "1/" + t;
    }
    return {};
}

UnitsParse parseUnits(std::string_view text) {
    text = trimmed(text);
    if (text == "none") return {DisplayUnits{}, {}};
    DisplayUnits units;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view part = trimmed(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos) {
            return {std::nullopt, "\"" + std::string(part) + "\" is not KIND=UNIT (time, length or rate)"};
        }
        const std::string_view kind = trimmed(part.substr(0, equals));
        const std::string_view name = trimmed(part.substr(equals + 1));
        std::span<const UnitChoice> choices;
        std::string* target = nullptr;
        if (kind == "time")
            choices = kTimeUnits, target = &units.time;
        else if (kind == "length")
            choices = kLengthUnits, target = &units.length;
        else if (kind == "rate")
            choices = kRateUnits, target = &units.rate;
        else
            return {std::nullopt, "\"" + std::string(kind) + "\" is no kind of unit: time, length or rate"};
        const UnitChoice* unit = findUnit(choices, name);
        if (!unit) {
            return {std::nullopt, "\"" + std::string(name) + "\" is no unit of " + std::string(kind) + ": " +
                                      namesOf(choices)};
        }
        *target = std::string(unit->name);
    }
    if (!units.set()) return {std::nullopt, "no units given: KIND=UNIT,... or none"};
    return {units, {}};
}

std::string unitsText(const DisplayUnits& units) {
    if (!units.set()) return "none";
    const auto name = [](std::span<const UnitChoice> choices, const std::string& n) {
        return n.empty() ? std::string(choices.front().name) : n;
    };
    return "time=" + name(kTimeUnits, units.time) + ",length=" + name(kLengthUnits, units.length) +
           ",rate=" + name(kRateUnits, units.rate);
}

}  // namespace tolvex
