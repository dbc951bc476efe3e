// Whole-file reads of the documents and the measurement files, which refuse anything but a regular file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tolvex {

struct FileRead {
    std::optional<std::string> bytes;  // nothing when the file could not be read
    std::string error;                 // why not, in the system's words
};

// Reads the whole file, refusing files larger than `maxBytes` before reading them. The file's type is
// checked before it is opened, and the open never waits: a folder, a named pipe (which would block
// until some other program writes to it) or a device is refused with what it is.
[[nodiscard]] FileRead readFileBytes(const std::string& path, std::size_t maxBytes);

// Why a file of this type (the st_mode of stat) is not read or written as a file: "is a folder, not a
// file", "is a named pipe, not a regular file", "is a device, not a regular file", ...
[[nodiscard]] std::string notRegularFileReason(unsigned int mode);

}  // namespace tolvex
