#include <gtest/gtest.h>

#include "core/persist/Archive.h"

namespace tolvex {
namespace {

std::string textRecord(const std::string& value) {
    ArchiveWriter writer;
    writer.text("t", value);
    return writer.bytes();
}

TEST(ArchiveWords, LittleEndianAndRangeChecked) {
    ArchiveWriter writer;
    writer.word("a", 100);
    writer.word("b", 65535);
    writer.word("c", 2.0f);
    EXPECT_EQ(writer.bytes(), std::string("\x64\x00\xFF\xFF\x02\x00", 6));
    EXPECT_THROW(writer.word("count", 65536), ArchiveError);
    EXPECT_THROW(writer.word("count", -1), ArchiveError);
    EXPECT_THROW(writer.word("spare", -1.0f), ArchiveError);

    ArchiveReader reader(writer.bytes());
    int a = 0, b = 0;
    float c = 0;
    reader.word("a", a);
    reader.word("b", b);
    reader.word("c", c);
    EXPECT_EQ(a, 100);
    EXPECT_EQ(b, 65535);
    EXPECT_EQ(c, 2.0f);
    EXPECT_THROW(reader.word("d", a), ArchiveError);
}

TEST(ArchiveWords, ErrorNamesTheField) {
    ArchiveWriter writer;
    try {
        writer.word("usedCount", 70000);
        FAIL();
    } catch (const ArchiveError& e) {
        EXPECT_NE(std::string(e.what()).find("usedCount = 70000"), std::string::npos);
    }
}

TEST(ArchiveText, LengthPrefixOfEachSize) {
    EXPECT_EQ(textRecord("abc"), std::string("\x03"
                                             "abc"));
    EXPECT_EQ(textRecord(std::string(254, 'x')).substr(0, 1), "\xFE");
    EXPECT_EQ(textRecord(std::string(255, 'x')).substr(0, 3), std::string("\xFF\xFF\x00", 3));
    EXPECT_EQ(textRecord(std::string(0xFFFD, 'x')).substr(0, 3), std::string("\xFF\xFD\xFF", 3));
    EXPECT_EQ(textRecord(std::string(0xFFFE, 'x')).substr(0, 7),
              std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7));
    for (std::size_t length : {0u, 254u, 255u, 0xFFFDu, 0xFFFEu, 70000u}) {
        const std::string value(length, 'q');
        const std::string bytes = textRecord(value);
        ArchiveReader reader(bytes);
        std::string back;
        reader.text("t", back);
        EXPECT_EQ(back, value) << length;
        EXPECT_EQ(reader.remaining(), 0u);
    }
}

TEST(ArchiveText, InvalidOrOverlongPrefixesAreRefusedBeforeAllocating) {
    std::string value;
    ArchiveReader unicodeMark(std::string_view("\xFF\xFE\xFF\x01x", 5));
    EXPECT_THROW(unicodeMark.text("t", value), ArchiveError);
    const std::string hugeLength(
        "\xFF\xFF\xFF\xF0\xFF\xFF\xFF"
        "abc",
        10);
    ArchiveReader huge(hugeLength);
    EXPECT_THROW(huge.text("t", value), ArchiveError);
    const std::string truncated = std::string(1, 5) + "abc";
    ArchiveReader shortText(truncated);
    EXPECT_THROW(shortText.text("t", value), ArchiveError);
    ArchiveReader nothing(std::string_view{});
    EXPECT_THROW(nothing.text("t", value), ArchiveError);
}

TEST(ArchiveNumbers, TwentyCharactersWithThreeDigitExponent) {
    ArchiveWriter writer;
    writer.number("r", 154.0f);
    writer.number("d", 3.4100000001);
    EXPECT_EQ(writer.bytes(), "\x14      1.5400000e+002\x14      3.4100000e+000");
    ArchiveReader reader(writer.bytes());
    float r = 0;
    double d = 0;
    reader.number("r", r);
    reader.number("d", d);
    EXPECT_EQ(r, 154.0f);
    EXPECT_EQ(d, 3.41);
}

TEST(ArchiveNumbers, ReaderAcceptsAnyTextUpTo83Characters) {
    double value = -1;
    ArchiveReader empty(std::string_view("\x00", 1));
    empty.number("n", value);
    EXPECT_EQ(value, 0.0);
    ArchiveReader text(std::string_view("\x07 2.5abc"));
    text.number("n", value);
    EXPECT_EQ(value, 2.5);
    const std::string longest = std::string(1, static_cast<char>(83)) + std::string(80, ' ') + "1.5";
    ArchiveReader limit(longest);
    limit.number("n", value);
    EXPECT_EQ(value, 1.5);
    const std::string tooLong = std::string(1, static_cast<char>(84)) + std::string(81, ' ') + "1.5";
    ArchiveReader over(tooLong);
    EXPECT_THROW(over.number("n", value), ArchiveError);
}

TEST(ArchiveCounts, CapacityAndRemainingDataChecked) {
    EXPECT_NO_THROW(ArchiveReader::checkCapacity("familyCount", 100, 100));
    EXPECT_THROW(ArchiveReader::checkCapacity("familyCount", 101, 100), ArchiveError);
    ArchiveReader reader(std::string_view("abc"));
    EXPECT_NO_THROW(reader.expectNumbers("x", 3));
    EXPECT_THROW(reader.expectNumbers("x", 4), ArchiveError);
}

}  // namespace
}  // namespace tolvex
