// Golden files under tests/data: read them, compare bytes, and rewrite them on request.
//
// TOLVEX_UPDATE_GOLDEN=1 makes a golden test write what the program produces over its golden file
// instead of comparing (and fail, so that an update is never mistaken for a pass). The golden documents
// are then rebuilt by tests/reference/document_writer.py --take-pins, which keeps only the pinned
// values of the program's files; the golden reports are pins as a whole and are reviewed by eye.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace tolvex::testing {

[[nodiscard]] inline std::string dataPath(const std::string& relative) {
    return std::string(TOLVEX_TEST_DATA_DIR) + "/" + relative;
}

[[nodiscard]] inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

[[nodiscard]] inline bool updateGoldenRequested() {
    const char* flag = std::getenv("TOLVEX_UPDATE_GOLDEN");
    return flag != nullptr && std::string_view(flag) == "1";
}

// Offset of the first byte where the two differ (the shorter length when one is a prefix of the
// other), or npos when they are equal.
[[nodiscard]] inline std::size_t firstDifference(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return i;
    return a.size() == b.size() ? std::string_view::npos : n;
}

// A few characters around `offset`, with control characters shown as \xNN.
[[nodiscard]] inline std::string excerpt(std::string_view bytes, std::size_t offset) {
    const std::size_t from = offset > 24 ? offset - 24 : 0;
    std::string out;
    for (char c : bytes.substr(from, 48)) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F) {
            out += c;
        } else {
            static const char* hex = "0123456789abcdef";
            out += std::string("\\x") + hex[u >> 4] + hex[u & 15];
        }
    }
    return out;
}

}  // namespace tolvex::testing
