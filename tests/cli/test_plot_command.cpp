#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/Cli.h"
#include "core/persist/Document.h"
#include "core/state/AnalysisState.h"

namespace tolvex::cli {
namespace {

struct PlotRun {
    int status;
    std::string out;
    std::string err;
};

PlotRun plot(const std::vector<std::string>& words) {
    std::vector<std::string> args{"tolvex-cli", "plot"};
    args.insert(args.end(), words.begin(), words.end());
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(args, out, err);
    return {status, out.str(), err.str()};
}

class PlotCommand : public ::testing::Test {
protected:
    void SetUp() override {
        // One folder per test and process: ctest runs tests side by side.
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder_ = std::filesystem::temp_directory_path() /
                  ("tolvex-cli-plot-" + test + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        AnalysisState state = makeDefaultState();
        state.plotContent = 1;
        ASSERT_FALSE(saveDocument(state, document()));
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    [[nodiscard]] std::string document() const { return (folder_ / "test.tvx").string(); }
    [[nodiscard]] std::string file(const std::string& name) const { return (folder_ / name).string(); }

private:
    std::filesystem::path folder_;
};

std::size_t sizeOf(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<std::size_t>(size);
}

TEST_F(PlotCommand, WritesAllFivePictureFormats) {
    for (const char* name : {"p.png", "p.svg", "p.pdf", "p.bmp", "p.emf"}) {
        const PlotRun run = plot({document(), "--out", file(name)});
        EXPECT_EQ(run.status, kExitOk) << name << ": " << run.err;
        EXPECT_GT(sizeOf(file(name)), 100u) << name;
    }
    EXPECT_EQ(sizeOf(file("p.bmp")), 14u + 40u + 1024u + 1200u * 1000u);  // the default size
}

TEST_F(PlotCommand, TakesThePictureSize) {
    const PlotRun run = plot({document(), "--out", file("p.bmp"), "--size", "640x480"});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(sizeOf(file("p.bmp")), 308278u);
}

TEST_F(PlotCommand, RefusesBadInputWithOneLineNamingIt) {
    for (const char* size : {"640", "x480", "640x", "0x480", "-5x3", "640x480x2", "wide"}) {
        const PlotRun run = plot({document(), "--out", file("p.png"), "--size", size});
        EXPECT_EQ(run.status, kExitFailure) << size;
        EXPECT_EQ(run.err.rfind("tolvex-cli: plot: --size '", 0), 0u) << run.err;
    }
    const PlotRun extension = plot({document(), "--out", file("p.jpg")});
    EXPECT_EQ(extension.status, kExitFailure);
    EXPECT_NE(extension.err.find("p.jpg"), std::string::npos);
    const PlotRun missing = plot({file("nothing.tvx"), "--out", file("p.png")});
    EXPECT_EQ(missing.status, kExitFailure);
    EXPECT_NE(missing.err.find("nothing.tvx"), std::string::npos);
    const PlotRun folder = plot({document(), "--out", file("no/such/folder/p.png")});
    EXPECT_EQ(folder.status, kExitFailure);
    EXPECT_EQ(sizeOf(file("p.png")), 0u);
}

TEST_F(PlotCommand, NeedsADocumentAndAnOutput) {
    EXPECT_EQ(plot({document()}).status, kExitUsage);
    EXPECT_EQ(plot({"--out", file("p.png")}).status, kExitUsage);
}

}  // namespace
}  // namespace tolvex::cli
