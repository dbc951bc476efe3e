// What a command prints must get out, or the run fails: `fit --json > result.json` on a full disk.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <sstream>

#include "cli/Cli.h"
#include "cli/StandardOutput.h"

namespace tolvex::cli {
namespace {

using ::testing::HasSubstr;

struct FullDeviceRun {
    int status;
    std::string err;
};

// Runs the command line with standard output on /dev/full, as `tolvex-cli ... > /dev/full` would.
FullDeviceRun runOnFullDevice(const std::vector<std::string>& words) {
    const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (fd < 0) return {-1, "no /dev/full"};
    std::ostringstream err;
    int status = 0;
    {
        DescriptorOutputBuffer buffer(fd);
        std::ostream out(&buffer);
        std::vector<std::string> args{"tolvex-cli"};
        args.insert(args.end(), words.begin(), words.end());
        status = runCli(args, out, err);
    }
    ::close(fd);
    return {status, err.str()};
}

TEST(StandardOutput, AFullDiskEndsTheRunWithTheReason) {
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    // A short output fails when it is flushed at the end; a long one already while the command prints.
    for (const auto& words :
         std::vector<std::vector<std::string>>{{"wellfn", "theis", "0.1"},
                                               {"simulate", "--model", "0", "--times", "2000", "1", "1000"},
                                               {"fit", "--model", "0", "--sample", "pumping", "--json"},
                                               {"--help"}}) {
        const FullDeviceRun r = runOnFullDevice(words);
        EXPECT_EQ(r.status, kExitFailure) << words.front();
        EXPECT_EQ(r.err, "tolvex-cli: cannot write standard output: No space left on device\n")
            << words.front();
    }
}

TEST(StandardOutput, AStreamThatFailedWithoutAReasonSaysInputOutputError) {
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    std::ostringstream err;
    EXPECT_EQ(runCli({"tolvex-cli", "wellfn", "theis", "0.1"}, out, err), kExitFailure);
    EXPECT_EQ(err.str(), "tolvex-cli: cannot write standard output: input/output error\n");
}

TEST(StandardOutput, AFailedCommandStillSaysWhyAndOutputThatGotOutPasses) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runCli({"tolvex-cli", "wellfn", "theis", "0.1"}, out, err), kExitOk);
    EXPECT_THAT(out.str(), ::testing::MatchesRegex("1\\.82292[0-9]+\n"));
    EXPECT_EQ(err.str(), "");

    const FullDeviceRun r = runOnFullDevice({"wellfn", "nosuch", "1"});
    EXPECT_EQ(r.status, kExitUsage);  // nothing went to standard output, so nothing failed there
    EXPECT_THAT(r.err, HasSubstr("unknown function 'nosuch'"));
}

TEST(StandardOutput, TheBufferPassesEverythingToItsDescriptor) {
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    {
        DescriptorOutputBuffer buffer(channel[1]);
        std::ostream out(&buffer);
        out << std::string(20000, 'a') << "end";
        ASSERT_FALSE(outputFailure(out));
        EXPECT_EQ(buffer.error(), 0);
    }
    ::close(channel[1]);
    std::string got;
    char chunk[4096];
    for (ssize_t n; (n = ::read(channel[0], chunk, sizeof chunk)) > 0;)
        got.append(chunk, static_cast<std::size_t>(n));
    ::close(channel[0]);
    EXPECT_EQ(got, std::string(20000, 'a') + "end");
}

}  // namespace
}  // namespace tolvex::cli
