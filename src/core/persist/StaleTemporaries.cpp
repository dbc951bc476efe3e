#include "core/persist/StaleTemporaries.h"

#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <optional>
#include <string_view>

#include "core/persist/FileReplace.h"

namespace tolvex {
namespace {

namespace fs = std::filesystem;

// The saving process's id in a temporary's name, after the prefix: "<pid>-<n>".
std::optional<pid_t> writerOf(std::string_view rest) {
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (error != std::errc{} || end == rest.data() || pid <= 0) return std::nullopt;
    if (end == rest.data() + rest.size() || *end != '-') return std::nullopt;
    return pid;
}

bool processEnded(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

void removeStaleTemporaries(const std::string& target) {
    const fs::path path(target);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string prefix = temporaryPrefixFor(target);
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const auto pid = writerOf(std::string_view(name).substr(prefix.size()));
        if (!pid || *pid == ::getpid() || !processEnded(*pid)) continue;
        std::error_code ignored;
        if (entry->is_regular_file(ignored) && !entry->is_symlink(ignored))
            fs::remove(entry->path(), ignored);
    }
}

}  // namespace tolvex
