// Measurement files as other programs write them: a UTF-8 byte-order mark, UTF-16 ("Unicode text" of
// spreadsheet programs) in both byte orders with or without a mark, CR-only line ends; and what is not
// text (NUL bytes, UTF-16 beyond ASCII) refused with a message naming the file and the line.
#include <gtest/gtest.h>

#include "core/input/Import.h"
#include "core/input/ImportText.h"
#include "core/persist/ScratchFolder.h"

namespace tolvex {
namespace {

using testing::ScratchFolder;
using namespace std::string_literals;

// The bytes of `ascii` as UTF-16, little- or big-endian, with or without the byte-order mark.
std::string utf16(std::string_view ascii, bool littleEndian, bool mark) {
    std::string bytes = mark ? (littleEndian ? "\xFF\xFE" : "\xFE\xFF") : "";
    for (const char c : ascii) {
        bytes += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
    }
    return bytes;
}

TEST(ImportEncodings, TextOfEveryWriterGivesTheSameMeasurements) {
    const std::string lines = "5,3.41\r\n10,3.58\r\n20,3.97\r\n";
    struct Row {
        const char* what;
        std::string bytes;
    };
    const std::vector<Row> rows{
        {"UTF-8 mark",
         "\xEF\xBB\xBF"
         "5,3.41\n10,3.58\n20,3.97\n"},
        {"CR only", "5,3.41\r10,3.58\r20,3.97\r"},
        {"CR only, no last line end", "5,3.41\r10,3.58\r20,3.97"},
        {"mixed line ends", "5,3.41\r\n10,3.58\r20,3.97\n"},
        {"UTF-16 LE with mark", utf16(lines, true, true)},
        {"UTF-16 BE with mark", utf16(lines, false, true)},
        {"UTF-16 LE without mark", utf16(lines, true, false)},
        {"UTF-16 BE without mark", utf16(lines, false, false)},
    };
    for (const Row& row : rows) {
        const ImportText decoded = decodeImportText(row.bytes);
        ASSERT_TRUE(decoded.text) << row.what << ": " << decoded.error;
        const ParsedMeasurements parsed = parseMeasurementText(*decoded.text, ',');
        EXPECT_EQ(parsed.times, (std::vector<double>{5.0, 10.0, 20.0})) << row.what;
        EXPECT_EQ(parsed.drawdowns, (std::vector<double>{3.41, 3.58, 3.97})) << row.what;
        EXPECT_TRUE(parsed.skippedLines.empty()) << row.what;
    }
}

TEST(ImportEncodings, CrOnlyLinesAreNumberedOneByOne) {
    const ParsedMeasurements parsed = parseMeasurementText("5,1\rtime\r\r7,2\r\n# x\n8,3", ',');
    EXPECT_EQ(parsed.times, (std::vector<double>{5.0, 7.0, 8.0}));
    EXPECT_EQ(parsed.skippedLines, (std::vector<std::size_t>{2, 5}));
}

TEST(ImportEncodings, WhatIsNotTextIsRefusedNamingTheLine) {
    struct Row {
        const char* what;
        std::string bytes;
        const char* error;
    };
    const std::vector<Row> rows{
        {"NUL byte", "5,3.41\n10,3.58\n20\0,4\n"s, "is not plain text: it holds a NUL byte on line 3"},
        {"NUL after CR-only lines", "5,1\r6,2\r\0"s, "is not plain text: it holds a NUL byte on line 3"},
        {"NUL first", "\0\0\0"s, "is not plain text: it holds a NUL byte on line 1"},
        {"UTF-16 beyond ASCII",
         "\xFF\xFE"
         "5\0,\0"
         "1\0\n\0"
         "\xE9\0"s,
         "is UTF-16 text with characters beyond ASCII (the first on line 2)"},
        {"UTF-16 BE beyond ASCII",
         "\xFE\xFF\0"
         "5\x20\xAC"s,
         "is UTF-16 text with characters beyond ASCII (the first on line 1)"},
        {"UTF-16 NUL character",
         "\xFF\xFE"
         "5\0\r\0\0\0"s,
         "is not plain text: it holds a NUL character on line 2"},
        {"UTF-16 odd length",
         "\xFF\xFE"
         "5\0,"s,
         "is UTF-16 text that ends in the middle of a character"},
    };
    for (const Row& row : rows) {
        const ImportText decoded = decodeImportText(row.bytes);
        EXPECT_FALSE(decoded.text) << row.what;
        EXPECT_EQ(decoded.error.rfind(row.error, 0), 0u) << row.what << ": " << decoded.error;
    }
}

TEST(ImportEncodings, ARefusedFileNamesItselfAndChangesNothing) {
    ScratchFolder folder;
    AnalysisState state = makeDefaultState();
    const AnalysisState before = state;
    const std::string path = folder.write("binary.dat", "5,3.41\n\0\0\0\x01"s);
    const auto error = importMeasurements(path, kDelimiterComma, state);
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "\"" + path + "\" is not plain text: it holds a NUL byte on line 2.");
    EXPECT_EQ(state.allTimes, before.allTimes);
    EXPECT_EQ(state.allCount, before.allCount);

    ASSERT_FALSE(importMeasurements(folder.write("u16.dat", utf16("1;2\n3;4\n", false, true)),
                                    kDelimiterSemicolon, state));
    EXPECT_EQ(state.allTimes, (std::vector<double>{1.0, 3.0}));
    EXPECT_EQ(state.allDrawdowns, (std::vector<double>{2.0, 4.0}));
}

}  // namespace
}  // namespace tolvex
