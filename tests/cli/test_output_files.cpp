// The files the subcommands write and read: empty names refused, the report of a document kept beside
// it, pictures that replace a file only when complete, named pipes refused without waiting.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <sstream>

#include "cli/Cli.h"
#include "cli/CliState.h"
#include "core/persist/ChildProcess.h"
#include "core/persist/Document.h"
#include "core/persist/FileReplace.h"
#include "core/persist/Reports.h"
#include "core/persist/ScratchFolder.h"
#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using tolvex::testing::ScratchFolder;

using test::CliRun;
using test::run;

// A document with estimation results whose report name is `reportName`.
std::string documentWithReportName(const ScratchFolder& folder, const std::string& reportName) {
    AnalysisState state = makeDefaultState();
    state.resultKind = 1;
    state.plotContent = 1;
    state.reportFileName = reportName;
    const std::string path = folder.file("site.tvx");
    EXPECT_FALSE(saveDocument(state, path));
    return path;
}

TEST(OutputFiles, AnEmptyFileNameIsAUsageErrorNamingTheOption) {
    ScratchFolder folder;
    const std::string doc = documentWithReportName(folder, "r.out");
    const std::string data = folder.write("data.txt", "1,2\n2,3\n3,4\n");
    const struct {
        std::vector<std::string> words;
        std::string option;
    } cases[] = {
        {{"typecurves", "--model", "0", "--save", ""}, "--save"},
        {{"typecurves", "--model", "0", "--report", ""}, "--report"},
        {{"typecurves", "--model", "0", "--plot", ""}, "--plot"},
        {{"typecurves", "--model", "0", "--csv", ""}, "--csv"},
        {{"typecurves", "--model", "0", "--open", ""}, "--open"},
        {{"simulate", "--model", "0", "--times", "5", "1", "10", "--csv", ""}, "--csv"},
        {{"simulate", "--model", "0", "--times", "5", "1", "10", "--save", ""}, "--save"},
        {{"fit", "--model", "0", "--sample", "pumping", "--save", ""}, "--save"},
        {{"fit", "--model", "0", "--sample", "pumping", "--report", ""}, "--report"},
        {{"fit", "--model", "0", "--sample", "pumping", "--plot", ""}, "--plot"},
        {{"fit", "--model", "0", "--data", ""}, "--data"},
        {{"import", data, "--save", ""}, "--save"},
        {{"report", doc, "--out", ""}, "--out"},
        {{"plot", doc, "--out", ""}, "--out"},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.words);
        EXPECT_EQ(r.status, kExitUsage) << c.words.front() << " " << c.option;
        EXPECT_THAT(r.err, HasSubstr("tolvex-cli: " + c.option + ": an empty value names no file"))
            << c.words.front();
        EXPECT_EQ(r.out, "") << c.words.front() << " " << c.option;
    }
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"data.txt", "site.tvx"}));
}

// Without --out the report goes beside the document under the file-name part of its report name.
TEST(OutputFiles, TheDocumentsReportNameCannotLeaveItsFolder) {
    ScratchFolder outside;
    ScratchFolder folder;
    fs::create_directory(folder.file("sub"));
    const struct {
        std::string reportName;
        std::string written;
    } cases[] = {
        {outside.file("victim.out"), "victim.out"},
        {"../victim.out", "victim.out"},
        {"sub/../../../victim.out", "victim.out"},
        {"sub/r.out", "r.out"},
        {"plain.out", "plain.out"},
    };
    for (const auto& c : cases) {
        const std::string doc = documentWithReportName(folder, c.reportName);
        const CliRun r = run({"report", doc});
        ASSERT_EQ(r.status, kExitOk) << r.err;
        EXPECT_EQ(r.out, "report written to " + folder.file(c.written) + "\n") << c.reportName;
        EXPECT_EQ(ScratchFolder::read(folder.file(c.written)), reportText(openDocumentOrThrow(doc)));
        fs::remove(folder.file(c.written));
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"site.tvx", "sub"})) << c.reportName;
    }
    EXPECT_TRUE(fs::is_empty(outside.file("")));
    EXPECT_FALSE(fs::exists(folder.file("../victim.out")));
}

TEST(OutputFiles, AReportNameWithoutAFileNameOrNamingTheDocumentIsRefused) {
    ScratchFolder folder;
    for (const std::string name : {"", "..", "sub/", "site.tvx", "./site.tvx"}) {
        const std::string doc = documentWithReportName(folder, name);
        const std::string before = ScratchFolder::read(doc);
        const CliRun r = run({"report", doc});
        EXPECT_EQ(r.status, kExitFailure) << name;
        EXPECT_THAT(r.err, HasSubstr("report: the document's report name '" + name + "'")) << name;
        EXPECT_THAT(r.err, HasSubstr("give --out FILE")) << name;
        EXPECT_EQ(ScratchFolder::read(doc), before) << name;
        EXPECT_EQ(folder.names(), std::vector<std::string>{"site.tvx"}) << name;
    }
}

TEST(OutputFiles, APictureThatCannotBeWrittenFailsAndLeavesNoFile) {
    ScratchFolder folder;
    const std::string doc = documentWithReportName(folder, "r.out");
    fs::create_directory(folder.file("taken.png"));
    for (const std::string out : {"missing/p.png", "missing/p.svg", "taken.png"}) {
        const CliRun r = run({"plot", doc, "--out", folder.file(out)});
        EXPECT_EQ(r.status, kExitFailure) << out;
        EXPECT_THAT(r.err, HasSubstr("plot: Not able to create file. \"" + folder.file(out) + "\": ")) << out;
    }
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"site.tvx", "taken.png"}));
    EXPECT_TRUE(fs::is_empty(folder.file("taken.png")));
}

// A picture that cannot be written whole (here: beyond the file-size limit) leaves the old one.
TEST(OutputFiles, AFailedPictureLeavesTheOldPicture) {
    ScratchFolder folder;
    const std::string doc = documentWithReportName(folder, "r.out");
    for (const std::string name : {"p.svg", "p.png", "p.pdf", "p.bmp", "p.emf"}) {
        const std::string old = folder.write(name, "the old picture");
        const auto end = tolvex::testing::runInChild([&](std::string& text) {
            ignoreFileSizeLimitSignal();
            const rlimit limit{2000, 2000};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
            const CliRun r = run({"plot", doc, "--out", old});
            text = r.err;
            return r.status;
        });
        ASSERT_TRUE(end.exited) << name << " ended by signal " << end.status;
        EXPECT_EQ(end.status, kExitFailure) << name;
        // The bitmaps and vector pictures are made in memory and fail when written; the metafile library
        // writes a temporary file of its own, which fails already.
        const std::string reason =
            name == "p.emf" ? "the picture could not be made completely" : std::strerror(EFBIG);
        EXPECT_EQ(end.text, "tolvex-cli: plot: Not able to create file. \"" + old + "\": " + reason + "\n");
        EXPECT_EQ(ScratchFolder::read(old), "the old picture") << name;
    }
    EXPECT_EQ(folder.names(),
              (std::vector<std::string>{"p.bmp", "p.emf", "p.pdf", "p.png", "p.svg", "site.tvx"}));
}

TEST(OutputFiles, ATableGoesThroughTheSameWriter) {
    ScratchFolder folder;
    fs::create_directory(folder.file("table.csv"));
    CliRun r =
        run({"simulate", "--model", "0", "--times", "3", "1", "100", "--csv", folder.file("table.csv")});
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_THAT(r.err, HasSubstr("--csv: Not able to create file. \"" + folder.file("table.csv") +
                                 "\": is a folder, not a file"));
    const std::string csv = folder.write("t.csv", "old");
    ::chmod(csv.c_str(), 0640);
    r = run({"simulate", "--model", "0", "--times", "3", "1", "100", "--csv", csv});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_THAT(ScratchFolder::read(csv), ::testing::StartsWith("time,drawdown\n1,"));
    struct stat info {};
    ::stat(csv.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(OutputFiles, ANamedPipeAsDataOrDocumentIsRefusedWithoutWaiting) {
    ScratchFolder folder;
    const std::string pipe = folder.file("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::vector<std::vector<std::string>> commands{
        {"fit", "--model", "0", "--data", pipe},
        {"show", pipe},
        {"report", pipe},
        {"plot", pipe, "--out", folder.file("p.png")},
        {"typecurves", "--model", "0", "--open", pipe},
        {"import", pipe, "--save", folder.file("x.tvx")},
    };
    for (const auto& words : commands) {
        const auto end = tolvex::testing::runInChild(
            [&](std::string& text) {
                const CliRun r = run(words);
                text = r.err;
                return r.status;
            },
            10);
        ASSERT_TRUE(end.exited) << words.front() << " blocked";
        EXPECT_EQ(end.status, kExitFailure) << words.front();
        EXPECT_THAT(end.text, HasSubstr("\"" + pipe + "\": is a named pipe, not a regular file"))
            << words.front();
    }
    EXPECT_EQ(folder.names(), std::vector<std::string>{"pipe"});
}

}  // namespace
}  // namespace tolvex::cli
