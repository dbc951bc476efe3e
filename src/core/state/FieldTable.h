// One description of every scalar field of AnalysisState: its name and where it lives. The command
// line's --set, the JSON dump and the dialog forms all bind to fields through this table, so a name is
// spelled in one place only.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/state/AnalysisState.h"

namespace tolvex {

using FieldMember = std::variant<int AnalysisState::*, float AnalysisState::*, std::string AnalysisState::*>;

enum class FieldType { Int, Float, Text };

// Who may write a field from outside a command:
// Settable - any value of its type;
// Table    - a size from which the program builds arrays of its own (the Gauss-Legendre and Stehfest
//            tables, the error history): whoever sets it rebuilds them;
// Count    - the length or range of an array the program keeps (measurements, curves, reserved rows):
//            only the commands that fill the array set it.
enum class FieldAccess { Settable, Table, Count };

struct FieldInfo {
    std::string_view name;
    FieldMember member;
    FieldAccess access;
    // Only a value above zero describes the quantity (rates, distances, thicknesses, radii, T, S, K):
    // every dialog and --set refuse zero, negative and non-finite values for it.
    bool positive = false;
    // An integer that picks one of `choices` options, 0..choices - 1 (0: any integer).
    int choices = 0;

    [[nodiscard]] FieldType type() const { return static_cast<FieldType>(member.index()); }
};

// Every scalar field, in the order of the state's sections.
[[nodiscard]] std::span<const FieldInfo> scalarFields();

// The field of that exact name, or nullptr.
[[nodiscard]] const FieldInfo* findField(std::string_view name);

// Up to `count` known names closest to `name` (edit distance), for "did you mean" messages.
[[nodiscard]] std::vector<std::string_view> closestFieldNames(std::string_view name, std::size_t count = 3);

// The value as text: integers in decimal, floats with up to 9 significant digits (enough to come back
// as the same float), texts as they are.
[[nodiscard]] std::string fieldText(const AnalysisState& state, const FieldInfo& field);

// Whether `value` may be stored into the field: any number, or for a positive field a finite one above zero.
[[nodiscard]] bool admitsValue(const FieldInfo& field, double value);

// Whether `value` keeps a float's range when rounded to float: |value| below the point where rounding
// gives infinity (a little above FLT_MAX). 1e39, infinities and NaN do not.
[[nodiscard]] bool fitsFloat(double value);
// A finite double that rounds to a float infinity: 1e39, but not inf or NaN themselves.
[[nodiscard]] bool overflowsFloat(double value);

// "%.*g" of the C library in the "C" locale: the decimal separator is a point whatever locale the
// process runs under (the desktop program takes the user's).
[[nodiscard]] std::string formatGeneral(double value, int significantDigits);

// A float or double value parsed from the whole of `text` (surrounding blanks allowed), or nothing.
[[nodiscard]] std::optional<double> parseNumber(std::string_view text);
// A number a person typed into a dialog: as parseNumber, and a comma that is the text's only separator
// reads as the decimal point ("75,53", typed under a comma locale); "1,234.5" and "1,2,3" are no number.
[[nodiscard]] std::optional<double> parseTypedNumber(std::string_view text);
// An integer parsed from the whole of `text`, or nothing.
[[nodiscard]] std::optional<long long> parseInteger(std::string_view text);

// Stores `text` into the field. Returns an error message naming the field when the text does not
// parse ("... is not a number"), a float field gets a value beyond the float range ("... is beyond the
// float range", 1e39 or inf) or a positive field a value that is not above zero ("... must be
// positive"); the state is then unchanged.
[[nodiscard]] std::optional<std::string> setFieldText(AnalysisState& state, const FieldInfo& field,
                                                      std::string_view text);

}  // namespace tolvex
