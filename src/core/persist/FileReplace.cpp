#include "core/persist/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "core/io/FileBytes.h"
#include "core/persist/StaleTemporaries.h"

namespace tolvex {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinksFollowed = 40;  // as the kernel's own limit on a path
constexpr std::size_t kMaxWriteChunk = 1u << 30;
constexpr int kTemporaryAttempts = 100;  // names tried before giving up

std::string systemReason(int code) {
    return code != 0 ? std::strerror(code) : "input/output error";
}

// The file that receives the bytes, with what stat says of it when it exists.
struct Target {
    fs::path path;
    std::optional<struct stat> existing;
};

// Follows symbolic links from `path` to the file they name (which need not exist yet).
std::optional<std::string> resolveTarget(const std::string& path, Target& target) {
    target.path = path;
    for (int links = 0; links <= kMaxLinksFollowed; ++links) {
        struct stat info {};
        if (::lstat(target.path.c_str(), &info) != 0) {
            if (errno == ENOENT) return std::nullopt;  // a new file (or a dangling link's target)
            return systemReason(errno);
        }
        if (!S_ISLNK(info.st_mode)) {
            target.existing = info;
            return std::nullopt;
        }
        std::error_code error;
        const fs::path next = fs::read_symlink(target.path, error);
        if (error) return error.message();
        target.path = next.is_absolute() ? next : target.path.parent_path() / next;
    }
    return systemReason(ELOOP);
}

std::optional<std::string> checkTarget(const Target& target) {
    if (!target.existing) return std::nullopt;
    if (!S_ISREG(target.existing->st_mode)) return notRegularFileReason(target.existing->st_mode);
    if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) return systemReason(errno);
    return std::nullopt;
}

// An open temporary file beside the target; removed again unless it was renamed over the target.
class Temporary {
public:
    Temporary() = default;
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    ~Temporary() {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty()) ::unlink(path_.c_str());
    }

    std::optional<std::string> create(const Target& target) {
        static std::atomic<unsigned> counter{0};
        const std::string prefix = temporaryPrefixFor(target.path.string());
        const mode_t mode = target.existing ? S_IRUSR | S_IWUSR : 0666;  // 0666 less the umask for a new file
        for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
            const fs::path name = target.path.parent_path() / (prefix + std::to_string(::getpid()) + "-" +
                                                               std::to_string(counter.fetch_add(1)));
            fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd_ >= 0) {
                path_ = name;
                return target.existing ? takeOwnerAndMode(*target.existing) : std::nullopt;
            }
            if (errno != EEXIST) return systemReason(errno);
        }
        return systemReason(EEXIST);
    }

    std::optional<std::string> write(const std::string& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::write(fd_, bytes.data() + done, std::min(bytes.size() - done, kMaxWriteChunk));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return systemReason(n < 0 ? errno : EIO);
            done += static_cast<std::size_t>(n);
        }
        if (::fsync(fd_) != 0) return systemReason(errno);
        return std::nullopt;
    }

    std::optional<std::string> renameOver(const fs::path& target) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) return systemReason(errno);
        if (::rename(path_.c_str(), target.c_str()) != 0) return systemReason(errno);
        path_.clear();
        return std::nullopt;
    }

private:
    // The owner first: a change of owner may clear the set-id bits that the mode then restores.
    [[nodiscard]] std::optional<std::string> takeOwnerAndMode(const struct stat& old) const {
        if (::fchown(fd_, old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd_, static_cast<uid_t>(-1), old.st_gid);
        if (::fchmod(fd_, old.st_mode & 07777) != 0) return systemReason(errno);
        return std::nullopt;
    }

    int fd_ = -1;
    fs::path path_;
};

// After the rename the new name lives in the folder's entries: those reach the disk with the folder.
std::optional<std::string> syncFolder(const fs::path& file) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;  // a folder that cannot be opened for reading still took the file
    const int result = ::fsync(fd);
    const int code = errno;
    ::close(fd);
    if (result == 0 || code == EINVAL || code == EROFS) return std::nullopt;  // nothing to synchronise
    return "the file was replaced, but its folder could not be synchronised to the disk: " +
           systemReason(code);
}

}  // namespace

std::string temporaryPrefixFor(const std::string& target) {
    constexpr std::size_t kMaxNameKept = 200;  // the temporary's name must stay within the name limit
    const std::string name = fs::path(target).filename().string();
    return "." + name.substr(0, kMaxNameKept) + ".tolvex-tmp-";
}

std::optional<std::string> replaceFileBytes(const std::string& path, const std::string& bytes) {
    if (path.empty()) return "no file name given";
    Target target;
    if (auto error = resolveTarget(path, target)) return error;
    if (auto error = checkTarget(target)) return error;
    removeStaleTemporaries(target.path.string());
    Temporary temporary;
    if (auto error = temporary.create(target)) return error;
    if (auto error = temporary.write(bytes)) return error;
    if (auto error = temporary.renameOver(target.path)) return error;
    return syncFolder(target.path);
}

std::optional<std::string> writeFileOrMessage(const std::string& path, const std::string& bytes) {
    if (auto error = replaceFileBytes(path, bytes))
        return "Not able to create file.\n\"" + path + "\": " + *error;
    return std::nullopt;
}

void ignoreFileSizeLimitSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace tolvex
