// A document can come from anyone: `show` must not pass its texts' control characters to the terminal.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "cli/Cli.h"
#include "core/persist/Document.h"
#include "core/persist/ScratchFolder.h"
#include "support/CliRun.h"

namespace tolvex::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using tolvex::testing::ScratchFolder;

using test::CliRun;
using test::run;

bool holdsControlCharacters(const std::string& text) {
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if ((code < 0x20 && c != '\n') || code == 0x7F) return true;
    }
    return false;
}

std::string documentWithTexts(const ScratchFolder& folder) {
    AnalysisState s = makeDefaultState();
    s.projectDescription = "Well 7\x1b[2J\x1b]0;owned\x07 done\r\nline 2\tend";
    s.operatorName = std::string(
        "Ann\x7f\x9b"
        "31m\xe9",
        9);  // DEL, the C1 CSI, then a Latin-1 e-acute
    const std::string path = folder.file("texts.tvx");
    EXPECT_FALSE(saveDocument(s, path));
    return path;
}

TEST(ShowEscapes, TextOutputEscapesControlCharacters) {
    ScratchFolder folder;
    const CliRun r = run({"show", documentWithTexts(folder)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(holdsControlCharacters(r.out));
    EXPECT_THAT(r.out, HasSubstr("project   Well 7\\x1b[2J\\x1b]0;owned\\x07 done\\r\\nline 2\\tend\n"));
    EXPECT_THAT(r.out, HasSubstr("operator  Ann\\x7f\\x9b31m\xc3\xa9\n"));
    EXPECT_THAT(r.out, Not(HasSubstr("\xc2\x9b")));  // U+009B, a CSI to some terminals
}

TEST(ShowEscapes, JsonOutputEscapesThemByItsOwnRules) {
    ScratchFolder folder;
    const CliRun r = run({"show", documentWithTexts(folder), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(holdsControlCharacters(r.out));
    EXPECT_THAT(
        r.out,
        HasSubstr(R"("projectDescription": "Well 7\u001b[2J\u001b]0;owned\u0007 done\r\nline 2\tend")"));
    EXPECT_THAT(r.out, HasSubstr(R"("operatorName": "Ann\u007f\u009b31m\u00e9")"));
}

}  // namespace
}  // namespace tolvex::cli
