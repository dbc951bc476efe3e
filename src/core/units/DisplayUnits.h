// The units a document is entered and shown in. None set (the default) means consistent units of the
// user's choice: numbers are used as they stand. With units set, the state holds SI values (m, s, m³/s,
// m²/s) and every number is converted on its way in and out (core/units/Units.h).
#pragma once

#include <string>

namespace tolvex {

struct DisplayUnits {
    std::string time;    // "s", "min", "h", "d", or empty
    std::string length;  // "mm", "cm", "m", "ft", "in", or empty
    std::string rate;    // "m3/s", "m3/h", "m3/d", "L/s", "L/min", "gpm", "ft3/d", or empty

    [[nodiscard]] bool set() const { return !time.empty() || !length.empty() || !rate.empty(); }
    friend bool operator==(const DisplayUnits&, const DisplayUnits&) = default;
};

}  // namespace tolvex
