#include "core/persist/FileBytes.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace tolvex {
namespace {

std::string systemReason() {
    const int code = errno;
    return code != 0 ? std::strerror(code) : "input/output error";
}

// A name in the target's folder, so that the final rename never crosses file systems.
std::filesystem::path temporaryBeside(const std::filesystem::path& target) {
    std::random_device random;
    const auto tag = std::to_string(std::uniform_int_distribution<unsigned>(0, 0xFFFFFFu)(random));
    std::filesystem::path temporary = target;
    temporary += ".tmp" + tag;
    return temporary;
}

}  // namespace

FileRead readFileBytes(const std::string& path, std::size_t maxBytes) {
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) return {std::nullopt, "is a folder, not a file"};
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return {std::nullopt, systemReason()};
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return {std::nullopt, "cannot determine the file size"};
    if (static_cast<unsigned long long>(size) > maxBytes) {
        return {std::nullopt, "the file is too large (" + std::to_string(size) + " bytes)"};
    }
    in.seekg(0, std::ios::beg);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), size);
    if (in.gcount() != size) return {std::nullopt, "the file could not be read completely"};
    return {std::move(bytes), {}};
}

std::optional<std::string> replaceFileBytes(const std::string& path, const std::string& bytes) {
    if (path.empty()) return "no file name given";
    const std::filesystem::path target(path);
    std::error_code code;
    if (std::filesystem::is_directory(target, code)) return "is a folder, not a file";
    const std::filesystem::path temporary = temporaryBeside(target);
    {
        errno = 0;
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return systemReason();
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            const std::string reason = systemReason();
            out.close();
            std::filesystem::remove(temporary, code);
            return reason;
        }
        out.close();
        if (!out) {
            std::filesystem::remove(temporary, code);
            return "the file could not be closed";
        }
    }
    std::filesystem::rename(temporary, target, code);
    if (code) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return code.message();
    }
    return std::nullopt;
}

}  // namespace tolvex
