// Numbers read the way the C library's atof reads them: leading white space skipped, the longest
// prefix that forms a decimal number taken, the rest ignored, 0.0 when there is none. Measurement
// files, the cells of the measurement table and the Number records of a document are all read so.
// Unlike atof this never depends on the process locale (the desktop front end sets one), and it also
// takes back the "inf" and "nan" texts that the document writer produces for non-finite values.
#pragma once

#include <string_view>

namespace tolvex {

[[nodiscard]] double leadingNumber(std::string_view text);

}  // namespace tolvex
