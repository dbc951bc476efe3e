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
#include "core/units/Units.h"

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
    // What the value measures: with units set the state holds it in SI and people see it in the
    // document's units (Units.h). Ratios, fractions of b and storage coefficients are Dimension::None.
    Dimension dimension = Dimension::None;

    [[nodiscard]] FieldType type() const { return static_cast<FieldType>(member.index()); }
};

// Every scalar field, in the order of the state's sections.
[[nodiscard]] std::span<const FieldInfo> scalarFields();

// The field of that exact name, or nullptr.
[[nodiscard]] const FieldInfo* findField(std::string_view name);

// Up to `count` known names closest to `name` (edit distance), for "did you mean" messages.
[[nodiscard]] std::vector<std::string_view> closestFieldNames(std::string_view name, std::size_t count = 3);

// The value as text: integers in decimal, floats with up to 9 significant digits (enough to come back
// as the same float), texts as they are. With units set a float that measures something is shown in the
// document's units (shownFloatText).
[[nodiscard]] std::string fieldText(const AnalysisState& state, const FieldInfo& field);

// A float the state holds in SI, as text in `units`: the fewest significant digits, from `minDigits` to 9,
// that read back (through toSI) as the same stored float, so 392 m²/d shows as "392", not "391.999969".
[[nodiscard]] std::string shownFloatText(float stored, Dimension dimension, const DisplayUnits& units,
                                         int minDigits = 6);

// What the measured values of a series are: drawdowns (Length); for the slug tests (Cooper et al. 1967;
// Bouwer and Rice 1976) heads normalised by the initial displacement (None), unless the series' head
// settings say that they are displacements or water levels still to be normalised (Length).
[[nodiscard]] Dimension seriesValueDimension(int modelKind, const SlugHead& head);
// The same for the first series, the one of the classic records.
[[nodiscard]] Dimension measuredDimension(const AnalysisState& state);
// What a fit's misfit (rmsError, the error history) measures: drawdowns (Length), or for the slug tests the
// normalised head H/H0 (None), which the fit compares whatever the measured values are.
[[nodiscard]] Dimension fitErrorDimension(int modelKind);
// What a field measures in this state: its dimension, except for rmsError, which follows the model.
[[nodiscard]] Dimension fieldDimension(const AnalysisState& state, const FieldInfo& field);

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
// positive"); the state is then unchanged. With units set the text is in the document's units and the
// field receives the SI value.
[[nodiscard]] std::optional<std::string> setFieldText(AnalysisState& state, const FieldInfo& field,
                                                      std::string_view text);

}  // namespace tolvex
