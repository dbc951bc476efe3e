// The documents' extension block: absent when nothing differs from a classic document (the file is then
// the classic records byte for byte), present with the high accuracy, read back, and a damaged, newer
// or malformed block refused with the state left as it was.
#include <gtest/gtest.h>

#include <string>

#include "core/persist/Crc32.h"
#include "core/persist/Document.h"
#include "core/persist/ExtensionBlock.h"
#include "core/state/Accuracy.h"

namespace tolvex {
namespace {

AnalysisState highAccuracyState() {
    AnalysisState s = makeDefaultState();
    s.accuracy = static_cast<int>(Accuracy::High);
    return s;
}

TEST(Crc32, GivesThePublishedCheckValue) {
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u);  // the CRC-32/ISO-HDLC check value
    EXPECT_EQ(crc32(""), 0u);
}

TEST(ExtensionBlock, IsWrittenOnlyWhenTheDocumentHoldsSomethingNew) {
    const std::string classic = documentBytes(makeDefaultState());
    EXPECT_EQ(classic.find(kExtensionTag), std::string::npos);
    const std::string high = documentBytes(highAccuracyState());
    ASSERT_GT(high.size(), classic.size());
    EXPECT_EQ(high.substr(0, classic.size()), classic) << "the classic records keep their bytes";
    EXPECT_EQ(high.substr(classic.size(), 4), "TVXX");

    AnalysisState back = makeDefaultState();
    ASSERT_FALSE(readDocumentBytes(high, back));
    EXPECT_EQ(back.accuracy, static_cast<int>(Accuracy::High));
    EXPECT_EQ(documentBytes(back), high);
    // A classic document means the standard accuracy, whatever the state held before.
    ASSERT_FALSE(readDocumentBytes(classic, back));
    EXPECT_EQ(back.accuracy, static_cast<int>(Accuracy::Standard));
}

TEST(ExtensionBlock, EveryDamagedByteIsRefusedAndNothingIsLoaded) {
    const std::string good = documentBytes(highAccuracyState());
    AnalysisState target = makeDefaultState();
    target.pumpingRate = 12.5f;
    const std::string before = documentBytes(target);
    int refused = 0, tried = 0;
    for (std::size_t i = 0; i < good.size(); i += (i + 64 < good.size() ? 7 : 1)) {
        for (const unsigned char flip : {0x01, 0x80, 0xFF}) {
            std::string damaged = good;
            damaged[i] = static_cast<char>(static_cast<unsigned char>(damaged[i]) ^ flip);
            ++tried;
            if (readDocumentBytes(damaged, target)) ++refused;
            ASSERT_EQ(documentBytes(target), before) << "byte " << i;
        }
    }
    EXPECT_EQ(refused, tried);
}

TEST(ExtensionBlock, NewerTruncatedAndMalformedBlocksAreRefusedWithTheirReason) {
    const std::string records = documentBytes(makeDefaultState());
    AnalysisState s = makeDefaultState();

    std::string newer = documentBytes(highAccuracyState());
    newer[records.size() + 4] = 2;  // version 2; the checksum is not even looked at
    auto error = readDocumentBytes(newer, s);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("version 2, written by a newer Tolvex"), std::string::npos) << *error;

    const std::string high = documentBytes(highAccuracyState());
    error = readDocumentBytes(high.substr(0, high.size() - 1), s);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("damaged"), std::string::npos) << *error;

    error = readDocumentBytes(records + extensionBlock(records, R"({"settings":{"accuracy":"best"}})"), s);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find(R"(accuracy "best", not "standard" or "high")"), std::string::npos) << *error;
    error = readDocumentBytes(records + extensionBlock(records, "[1, 2"), s);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("does not hold a JSON object"), std::string::npos) << *error;
    EXPECT_EQ(s.accuracy, static_cast<int>(Accuracy::Standard));

    // Keys of newer features this reader does not know are left alone.
    EXPECT_FALSE(readDocumentBytes(
        records + extensionBlock(records, R"({"settings":{"accuracy":"high","units":"m"},"series":[]})"), s));
    EXPECT_EQ(s.accuracy, static_cast<int>(Accuracy::High));
    // Bytes after the records that are no block keep their old message.
    error = readDocumentBytes(records + "junk", s);
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "4 bytes follow the last record");
}

}  // namespace
}  // namespace tolvex
