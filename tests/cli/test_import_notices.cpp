// tolvex-cli import: lines that are not measurements are skipped with a notice on stderr, and a file
// that the chosen delimiter does not split is refused, naming the delimiter that does.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "cli/Cli.h"
#include "cli/CliState.h"
#include "core/persist/ScratchFolder.h"

namespace tolvex::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using tolvex::testing::ScratchFolder;

TEST(CliImportNotices, SkippedLinesGoToStderrAndAWrongDelimiterFails) {
    ScratchFolder folder;
    const std::string doc = folder.file("m.tvx");
    std::ostringstream out, err;
    const std::string header = folder.write("h.dat", "time,drawdown\n5,3.41\n10,3.58\n15,3.97\n");
    ASSERT_EQ(runCli({"tolvex-cli", "import", header, "--save", doc}, out, err), 0) << err.str();
    EXPECT_THAT(err.str(), StartsWith("tolvex-cli: import: Skipped 1 line of \"" + header + "\""));
    EXPECT_THAT(err.str(), HasSubstr("\"time,drawdown\""));
    EXPECT_EQ(openDocumentOrThrow(doc).allCount, 3);

    std::ostringstream out2, err2;
    const std::string semicolons = folder.write("s.dat", "5;3.41\n10;3.58\n");
    EXPECT_EQ(runCli({"tolvex-cli", "import", semicolons, "--use", "1", "2", "--save", doc}, out2, err2), 1);
    EXPECT_THAT(err2.str(), StartsWith("tolvex-cli: import: No line of \"" + semicolons + "\""));
    EXPECT_THAT(err2.str(), HasSubstr("The delimiter Semicolon splits its lines."));
    EXPECT_EQ(openDocumentOrThrow(doc).allCount, 3);
}

// fit --data reads its file as import does and says the same about the lines it skips.
TEST(CliImportNotices, FitDataNamesTheSkippedLines) {
    ScratchFolder folder;
    const std::string data = folder.write("h.dat", "# pumping test\n5,3.41\n10,3.58\n15,3.97\n20,4.1\n");
    std::ostringstream out, err;
    ASSERT_EQ(
        runCli({"tolvex-cli", "fit", "--model", "0", "--data", data, "--max-iterations", "1"}, out, err), 0)
        << err.str();
    EXPECT_THAT(err.str(), StartsWith("tolvex-cli: fit: --data " + data + ": Skipped 1 line of \""));
    EXPECT_THAT(err.str(), HasSubstr("\"# pumping test\""));
}

}  // namespace
}  // namespace tolvex::cli
