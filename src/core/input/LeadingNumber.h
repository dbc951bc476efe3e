// Numbers read the way the C library's atof reads them: leading white space skipped, the longest
// prefix that forms a decimal number taken, the rest ignored, 0.0 when there is none. Measurement
// files, the cells of the measurement table and the Number records of a document are all read so.
// Unlike atof this never depends on the process locale (the desktop front end sets one), and it also
// takes back the "inf" and "nan" texts that the document writer produces for non-finite values.
//
// Text a person typed is held to more: completeNumber takes a cell of the measurement table only when
// the whole of it is one finite decimal number.
#pragma once

#include <optional>
#include <string_view>

namespace tolvex {

[[nodiscard]] double leadingNumber(std::string_view text);

// Whether the text, after white space and a sign, starts with a decimal number (digits, with or
// without a point); "inf", "nan" and words do not count.
[[nodiscard]] bool startsWithNumber(std::string_view text);

// The value of a text that is one finite decimal number and nothing else, blanks around it allowed.
// A comma that is the only separator in the text is taken as the decimal point ("3,41" is 3.41), as
// in the dialogs; any other text ("abc", "3,41,2", "1,234.5", "5 m", "inf", "") gives nothing.
[[nodiscard]] std::optional<double> completeNumber(std::string_view text);

}  // namespace tolvex
