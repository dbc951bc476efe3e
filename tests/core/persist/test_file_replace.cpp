// The file writer behind every save: links, file types, modes, stale temporaries and a write that fails
// half-way (a file-size limit) must leave the old file or the new one, and nothing else beside it.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "core/persist/ChildProcess.h"
#include "core/persist/Document.h"
#include "core/persist/FileReplace.h"
#include "core/persist/ScratchFolder.h"

namespace tolvex {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;

unsigned modeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// The id of a process that has ended (and been reaped), for a temporary whose writer is gone.
pid_t endedProcess() {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

TEST(FileReplace, ALinkedFileGetsTheBytesAndTheLinksStay) {
    ScratchFolder folder;
    fs::create_directory(folder.file("data"));
    folder.write("data/real.tvx", "old");
    fs::create_symlink("data/real.tvx", folder.file("first.tvx"));  // relative to the link's folder
    fs::create_symlink(folder.file("first.tvx"), folder.file("second.tvx"));
    ASSERT_FALSE(replaceFileBytes(folder.file("second.tvx"), "new"));
    EXPECT_TRUE(fs::is_symlink(folder.file("first.tvx")));
    EXPECT_TRUE(fs::is_symlink(folder.file("second.tvx")));
    EXPECT_EQ(ScratchFolder::read(folder.file("data/real.tvx")), "new");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"data", "first.tvx", "second.tvx"}));

    fs::create_symlink("data/later.tvx", folder.file("dangling.tvx"));  // the link names a new file
    ASSERT_FALSE(replaceFileBytes(folder.file("dangling.tvx"), "made"));
    EXPECT_TRUE(fs::is_symlink(folder.file("dangling.tvx")));
    EXPECT_EQ(ScratchFolder::read(folder.file("data/later.tvx")), "made");
}

TEST(FileReplace, WhatIsNoRegularFileIsRefusedAndStaysAsItWas) {
    ScratchFolder folder;
    fs::create_directory(folder.file("folder.tvx"));
    ASSERT_EQ(::mkfifo(folder.file("pipe.tvx").c_str(), 0600), 0);
    const bool device = ::mknod(folder.file("null.tvx").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    fs::create_symlink("pipe.tvx", folder.file("to-pipe.tvx"));
    const struct {
        const char* name;
        const char* reason;
        bool (*stillThere)(const fs::path&);
    } cases[] = {
        {"folder.tvx", "is a folder", [](const fs::path& p) { return fs::is_directory(p); }},
        {"pipe.tvx", "is a named pipe", [](const fs::path& p) { return fs::is_fifo(p); }},
        {"to-pipe.tvx", "is a named pipe", [](const fs::path& p) { return fs::is_symlink(p); }},
        {"null.tvx", "is a device", [](const fs::path& p) { return fs::is_character_file(p); }},
    };
    for (const auto& c : cases) {
        if (std::string(c.name) == "null.tvx" && !device) continue;  // no device nodes allowed here
        const auto error = writeFileOrMessage(folder.file(c.name), "bytes");
        ASSERT_TRUE(error) << c.name;
        EXPECT_EQ(*error,
                  "Not able to create file.\n\"" + folder.file(c.name) + "\": " + c.reason +
                      (std::string(c.reason) == "is a folder" ? ", not a file" : ", not a regular file"));
        EXPECT_TRUE(c.stillThere(folder.file(c.name))) << c.name;
    }
    EXPECT_TRUE(fs::is_fifo(folder.file("pipe.tvx")));
    EXPECT_EQ(folder.names().size(), device ? 4u : 3u);  // no temporaries
}

TEST(FileReplace, TheOldFileKeepsItsModeAndANewFileFollowsTheUmask) {
    ScratchFolder folder;
    for (const unsigned mode : {0600u, 0640u, 0604u, 0660u}) {
        const std::string path = folder.write("kept.tvx", "old");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        ASSERT_FALSE(replaceFileBytes(path, "new"));
        EXPECT_EQ(modeOf(path), mode) << std::oct << mode;
        EXPECT_EQ(ScratchFolder::read(path), "new");
    }
    const mode_t mask = ::umask(022);
    ASSERT_FALSE(replaceFileBytes(folder.file("fresh.tvx"), "new"));
    ::umask(mask);
    EXPECT_EQ(modeOf(folder.file("fresh.tvx")), 0644u);
}

TEST(FileReplace, AFileTheUserMayNotWriteIsRefused) {
    if (::geteuid() == 0) GTEST_SKIP() << "mode bits do not stop the superuser";
    ScratchFolder folder;
    const std::string path = folder.write("locked.tvx", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const auto error = writeFileOrMessage(path, "new");
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Not able to create file.\n\"" + path + "\": Permission denied");
    EXPECT_EQ(ScratchFolder::read(path), "old");
    EXPECT_EQ(modeOf(path), 0444u);
}

TEST(FileReplace, TemporariesOfAKilledSaveAreRemovedOthersKept) {
    ScratchFolder folder;
    const std::string target = folder.write("site.tvx", "old");
    EXPECT_EQ(temporaryPrefixFor(target), ".site.tvx.tolvex-tmp-");
    const std::string dead = std::to_string(endedProcess());
    const std::string alive = std::to_string(::getppid());  // another save that may be running now
    folder.write(".site.tvx.tolvex-tmp-" + dead + "-0", "half");
    folder.write(".site.tvx.tolvex-tmp-" + dead + "-17", "half");
    folder.write(".site.tvx.tolvex-tmp-" + alive + "-0", "running");
    folder.write(".other.tvx.tolvex-tmp-" + dead + "-0", "another target's");
    folder.write(".site.tvx.tolvex-tmp-notes", "not a temporary");
    ASSERT_FALSE(replaceFileBytes(target, "new"));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{".other.tvx.tolvex-tmp-" + dead + "-0",
                                                        ".site.tvx.tolvex-tmp-" + alive + "-0",
                                                        ".site.tvx.tolvex-tmp-notes", "site.tvx"}));
    EXPECT_EQ(ScratchFolder::read(target), "new");
}

// Under a file-size limit the write fails (the signal that would end the process is ignored, as both
// programs do at start): the message says why, the old document stays and no temporary remains.
TEST(FileReplace, AWriteBeyondTheFileSizeLimitFailsAndKeepsTheOldFile) {
    ScratchFolder folder;
    const std::string path = folder.file("limited.tvx");
    const AnalysisState state = makeDefaultState();
    const std::string old = documentBytes(state).substr(0, 1000);
    folder.write("limited.tvx", old);
    ASSERT_GT(documentBytes(state).size(), 4096u);
    const auto end = testing::runInChild([&](std::string& text) {
        ignoreFileSizeLimitSignal();
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
        const auto error = saveDocument(state, path);
        text = error.value_or("");
        return error ? 0 : 1;
    });
    ASSERT_TRUE(end.exited) << "ended by signal " << end.status;
    ASSERT_EQ(end.status, 0) << "the save went through the limit";
    EXPECT_EQ(end.text, "Not able to create file.\n\"" + path + "\": " + std::strerror(EFBIG));
    EXPECT_EQ(ScratchFolder::read(path), old);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"limited.tvx"});
}

TEST(FileReplace, AMissingFolderOrNameIsRefused) {
    ScratchFolder folder;
    EXPECT_EQ(replaceFileBytes(folder.file("missing/x.tvx"), "x"), std::strerror(ENOENT));
    EXPECT_EQ(replaceFileBytes("", "x"), "no file name given");
    const std::string file = folder.write("plain", "x");
    EXPECT_EQ(replaceFileBytes(file + "/x.tvx", "x"), std::strerror(ENOTDIR));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"plain"});
}

}  // namespace
}  // namespace tolvex
