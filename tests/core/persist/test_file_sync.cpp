// A save reaches the disk before it counts as done: the new file is synchronised before it is renamed
// over the old one, and the folder after the rename. This program's fsync stands in front of the C
// library's (the test program's own definition wins at link time) to watch and to fail it.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/persist/FileReplace.h"
#include "core/persist/ScratchFolder.h"

namespace {

std::string syncedKinds;  // one letter per fsync: f for a file, d for a folder
int failFileSyncWith = 0;

}  // namespace

extern "C" int fsync(int fd) {
    struct stat info {};
    const bool folder = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
    syncedKinds += folder ? 'd' : 'f';
    if (!folder && failFileSyncWith != 0) {
        errno = failFileSyncWith;
        return -1;
    }
    using Sync = int (*)(int);
    static const auto real = reinterpret_cast<Sync>(::dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

namespace tolvex {
namespace {

using testing::ScratchFolder;

TEST(FileSync, TheFileIsSynchronisedBeforeTheRenameAndTheFolderAfter) {
    ScratchFolder folder;
    const std::string path = folder.write("site.tvx", "old");
    syncedKinds.clear();
    ASSERT_FALSE(replaceFileBytes(path, "new"));
    EXPECT_EQ(syncedKinds, "fd");
    EXPECT_EQ(ScratchFolder::read(path), "new");
}

TEST(FileSync, AFileThatCannotBeSynchronisedDoesNotReplaceTheOldOne) {
    ScratchFolder folder;
    const std::string path = folder.write("site.tvx", "old");
    failFileSyncWith = EIO;
    const auto error = replaceFileBytes(path, "new");
    failFileSyncWith = 0;
    EXPECT_EQ(error, std::strerror(EIO));
    EXPECT_EQ(ScratchFolder::read(path), "old");
    int names = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.file(""))) ++names;
    EXPECT_EQ(names, 1);  // the temporary is gone
}

}  // namespace
}  // namespace tolvex
