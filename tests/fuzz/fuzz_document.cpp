// Any bytes given to the document reader: it must refuse or accept them without a crash, a sanitizer
// report or an allocation beyond what the bytes can hold, and an accepted document must write and
// read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/persist/Document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tolvex::AnalysisState state = tolvex::makeDefaultState();
    if (tolvex::readDocumentBytes(bytes, state)) return 0;
    const std::string written = tolvex::documentBytes(state);
    tolvex::AnalysisState again = tolvex::makeDefaultState();
    if (tolvex::readDocumentBytes(written, again)) std::abort();
    return 0;
}
