// Units of time, length and pumping rate, and the conversion of a quantity between the units a document
// shows (DisplayUnits) and the SI units the state holds when units are set. Without units nothing is
// converted: the numbers are in consistent units of the user's choice.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/units/DisplayUnits.h"

namespace tolvex {

// What a number measures, as powers of length and time (a rate is length^3/time).
enum class Dimension {
    None,            // dimensionless: storativity, ratios, H/H0
    Length,          // m: distances, thicknesses, radii, drawdowns
    Time,            // s
    Rate,            // m³/s: pumping rates
    Transmissivity,  // m²/s
    Conductivity,    // m/s: hydraulic conductivities
    PerTime,         // 1/s: decay rates (the Bouwer-Rice slope of ln H against t)
};

// The unit names a document may use, SI first; their factors to the SI unit.
struct UnitChoice {
    std::string_view name;   // as the command line, the JSON and the extension block spell it
    std::string_view label;  // as the window shows it ("m³/d")
    double toSI;             // one unit in SI units
};
[[nodiscard]] std::span<const UnitChoice> timeUnits();
[[nodiscard]] std::span<const UnitChoice> lengthUnits();
[[nodiscard]] std::span<const UnitChoice> rateUnits();

// The unit of that name (ASCII name or label), or nothing.
[[nodiscard]] const UnitChoice* findUnit(std::span<const UnitChoice> choices, std::string_view name);

// Factor from the document's unit of `dimension` to SI: 1 when no units are set or for Dimension::None.
// A unit left empty in units that are set counts as the SI unit.
[[nodiscard]] double siFactor(Dimension dimension, const DisplayUnits& units);

[[nodiscard]] inline double toSI(double value, Dimension dimension, const DisplayUnits& units) {
    return value * siFactor(dimension, units);
}
[[nodiscard]] inline double fromSI(double value, Dimension dimension, const DisplayUnits& units) {
    return value / siFactor(dimension, units);
}

// Measurements as a person enters them (display units) into the SI units the state holds, in place, and
// back for showing them. Every way measurements enter (the table, an import, a predefined set, a further
// series) converts through measurementsToSI, every way they leave (the table, CSV and JSON output,
// reports, the plot) through measurementsFromSI. `valueDimension` is Dimension::Length for drawdowns and
// heads, Dimension::None for a slug test's normalised heads H/H0. Nothing changes without units.
void measurementsToSI(std::span<double> times, std::span<double> values, Dimension valueDimension,
                      const DisplayUnits& units);
void measurementsFromSI(std::span<double> times, std::span<double> values, Dimension valueDimension,
                        const DisplayUnits& units);

// The unit label of a dimension in the document's units ("m", "min", "m³/d", "m²/d", "m/d"), or an
// empty text when no units are set or the quantity has none.
[[nodiscard]] std::string unitLabel(Dimension dimension, const DisplayUnits& units);

// Parses "time=min,length=m,rate=m3/d" (any order, any subset; "none" clears all). Returns the units or
// a message naming the part that is wrong and the names allowed.
struct UnitsParse {
    std::optional<DisplayUnits> units;
    std::string error;
};
[[nodiscard]] UnitsParse parseUnits(std::string_view text);

// "time=min,length=m,rate=m3/d" of set units (the SI name for a part left empty), "none" otherwise.
[[nodiscard]] std::string unitsText(const DisplayUnits& units);

}  // namespace tolvex
