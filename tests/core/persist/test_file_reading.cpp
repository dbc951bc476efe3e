// Reading a document or a measurement file checks what the name is before opening it: a named pipe
// would block the program until some other program writes to it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>

#include "core/input/Import.h"
#include "core/io/FileBytes.h"
#include "core/persist/ChildProcess.h"
#include "core/persist/Document.h"
#include "core/persist/ScratchFolder.h"

namespace tolvex {
namespace {

using testing::ScratchFolder;

TEST(FileReading, WhatIsNoRegularFileIsRefusedAtOnceWithWhatItIs) {
    ScratchFolder folder;
    ASSERT_EQ(::mkfifo(folder.file("pipe").c_str(), 0600), 0);
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {folder.file("pipe"), "is a named pipe, not a regular file"},
        {folder.file(""), "is a folder, not a file"},
        {"/dev/null", "is a device, not a regular file"},
    };
    for (const auto& c : cases) {
        // In a child with a time limit: a read that waits for a writer would end it by SIGALRM.
        const auto end = testing::runInChild(
            [&](std::string& text) {
                text = readFileBytes(c.path, 1000).error;
                return 0;
            },
            5);
        ASSERT_TRUE(end.exited) << c.path << " blocked";
        EXPECT_EQ(end.text, c.reason) << c.path;
    }
}

TEST(FileReading, ADocumentOrMeasurementFileThatIsAPipeIsNamedInTheMessage) {
    ScratchFolder folder;
    const std::string pipe = folder.file("data.tvx");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const auto end = testing::runInChild(
        [&](std::string& text) {
            AnalysisState state = makeDefaultState();
            text = loadDocument(pipe, state).value_or("") + "|" +
                   importMeasurements(pipe, 0, state, nullptr).value_or("");
            return 0;
        },
        5);
    ASSERT_TRUE(end.exited);
    EXPECT_EQ(end.text, "Not able to open file.\n\"" + pipe + "\": is a named pipe, not a regular file|" +
                            "Cannot open input file!\n\"" + pipe + "\": is a named pipe, not a regular file");
}

TEST(FileReading, ReadsARegularFileWholeAndRefusesOneTooLarge) {
    ScratchFolder folder;
    const std::string bytes(10000, 'x');
    const std::string path = folder.write("big", bytes);
    EXPECT_EQ(readFileBytes(path, 10000).bytes, bytes);
    const FileRead tooLarge = readFileBytes(path, 9999);
    EXPECT_FALSE(tooLarge.bytes);
    EXPECT_EQ(tooLarge.error, "the file is too large (10000 bytes)");
    EXPECT_EQ(readFileBytes(folder.file("none"), 10).error, std::strerror(ENOENT));
    EXPECT_EQ(readFileBytes(folder.write("empty", ""), 10).bytes, "");
}

}  // namespace
}  // namespace tolvex
