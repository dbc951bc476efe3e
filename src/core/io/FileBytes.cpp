#include "core/io/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tolvex {
namespace {

std::string systemReason() {
    const int code = errno;
    return code != 0 ? std::strerror(code) : "input/output error";
}

// Closes the descriptor when the read ends, however it ends.
struct ReadDescriptor {
    int fd;
    ~ReadDescriptor() { ::close(fd); }
};

FileRead readAll(int fd, std::size_t size, std::size_t maxBytes) {
    std::string bytes(size, '\0');
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (bytes.size() > maxBytes) break;  // the file grew while it was read
            bytes.resize(bytes.size() + 4096);
        }
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {std::nullopt, systemReason()};
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    if (done > maxBytes)
        return {std::nullopt, "the file is too large (more than " + std::to_string(maxBytes) + " bytes)"};
    bytes.resize(done);
    return {std::move(bytes), {}};
}

}  // namespace

std::string notRegularFileReason(unsigned int mode) {
    if (S_ISDIR(mode)) return "is a folder, not a file";
    if (S_ISFIFO(mode)) return "is a named pipe, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a regular file";
    if (S_ISSOCK(mode)) return "is a socket, not a regular file";
    return "is not a regular file";
}

FileRead readFileBytes(const std::string& path, std::size_t maxBytes) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {std::nullopt, systemReason()};
    if (!S_ISREG(info.st_mode)) return {std::nullopt, notRegularFileReason(info.st_mode)};
    // Not waiting in open: the name may have been given to a named pipe since the check above.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return {std::nullopt, systemReason()};
    const ReadDescriptor file{fd};
    if (::fstat(fd, &info) != 0) return {std::nullopt, systemReason()};
    if (!S_ISREG(info.st_mode)) return {std::nullopt, notRegularFileReason(info.st_mode)};
    const auto size = static_cast<unsigned long long>(info.st_size);
    if (size > maxBytes) return {std::nullopt, "the file is too large (" + std::to_string(size) + " bytes)"};
    return readAll(fd, static_cast<std::size_t>(size), maxBytes);
}

}  // namespace tolvex
