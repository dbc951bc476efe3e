// Any bytes given to the measurement-file reader (the encoding check, then the line parser), with each
// of the four delimiters: one time and one drawdown per non-blank line, and never a crash or a
// sanitizer report.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/input/Import.h"
#include "core/input/ImportText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto delimiter = tolvex::delimiterCharacter(data[0] % 4);
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const tolvex::ImportText decoded = tolvex::decodeImportText(bytes);
    if (!decoded.text) return 0;
    const std::string_view text = *decoded.text;
    if (text.size() > bytes.size()) std::abort();
    const tolvex::ParsedMeasurements parsed = tolvex::parseMeasurementText(text, *delimiter);
    if (parsed.times.size() != parsed.drawdowns.size()) std::abort();
    if (parsed.times.size() > text.size()) std::abort();
    return 0;
}
