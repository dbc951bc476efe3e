#include <gtest/gtest.h>

#include <string>

#include "RenderFixtures.h"
#include "render/EmfWriter.h"

namespace tolvex::render {
namespace {

using testing::le32;
using testing::sampleScene;

constexpr std::uint32_t kHeaderRecord = 1;
constexpr std::uint32_t kEofRecord = 14;

// The description of the header: UTF-16 code units, here all ASCII.
std::string description(const std::vector<std::uint8_t>& emf) {
    const std::uint32_t count = le32(emf, 60);
    const std::uint32_t offset = le32(emf, 64);
    std::string text;
    for (std::uint32_t i = 0; i < count; ++i) text += static_cast<char>(emf[offset + 2 * i]);
    return text;
}

// The types of all records, walked by their sizes.
std::vector<std::uint32_t> recordTypes(const std::vector<std::uint8_t>& emf) {
    std::vector<std::uint32_t> types;
    for (std::size_t at = 0; at + 8 <= emf.size();) {
        types.push_back(le32(emf, at));
        const std::uint32_t size = le32(emf, at + 4);
        if (size < 8) break;
        at += size;
    }
    return types;
}

TEST(EmfFile, StartsWithAValidHeaderAndEndsWithEndOfFile) {
    const auto emf = emfBytes(sampleScene(), 640, 480, EmfUse::File);
    ASSERT_TRUE(emf);
    ASSERT_GT(emf->size(), 108u);
    EXPECT_EQ(le32(*emf, 0), kHeaderRecord);
    EXPECT_EQ(le32(*emf, 40), 0x464D4520u);  // " EMF"
    EXPECT_EQ(le32(*emf, 48), emf->size());
    // The frame: the picture in hundredths of a millimetre at the reference device's resolution.
    EXPECT_EQ(le32(*emf, 24), 0u);
    EXPECT_EQ(le32(*emf, 28), 0u);
    EXPECT_EQ(le32(*emf, 32), 640u * 320u * 100u / 1024u);
    EXPECT_EQ(le32(*emf, 36), 480u * 240u * 100u / 768u);
    EXPECT_EQ(le32(*emf, 72), static_cast<std::uint32_t>(kEmfDevicePixelsX));
    EXPECT_EQ(le32(*emf, 80), static_cast<std::uint32_t>(kEmfDeviceMillimetresX));
    EXPECT_EQ(description(*emf), std::string("Tolvex\0save\0\0", 13));
    const auto types = recordTypes(*emf);
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.back(), kEofRecord);
    EXPECT_EQ(types.size(), le32(*emf, 52));
}

TEST(EmfFile, TheClipboardCopyCarriesItsOwnDescription) {
    const auto emf = emfBytes(sampleScene(), 640, 480, EmfUse::Clipboard);
    ASSERT_TRUE(emf);
    EXPECT_EQ(description(*emf), std::string("ImageName\0Copy\0\0", 16));
}

TEST(EmfFile, SetsTheIsotropicMappingOfTheScene) {
    const auto emf = emfBytes(sampleScene(), 640, 480, EmfUse::File);
    ASSERT_TRUE(emf);
    constexpr std::uint32_t kSetMapMode = 17;
    constexpr std::uint32_t kSetWindowExtEx = 9;
    constexpr std::uint32_t kSetViewportExtEx = 11;
    constexpr int kIsotropic = 7;
    bool mapMode = false;
    bool window = false;
    bool viewport = false;
    for (std::size_t at = 0; at + 8 <= emf->size(); at += le32(*emf, at + 4)) {
        const std::uint32_t type = le32(*emf, at);
        if (type == kSetMapMode) mapMode = le32(*emf, at + 8) == kIsotropic;
        if (type == kSetWindowExtEx) window = le32(*emf, at + 8) == 1200 && le32(*emf, at + 12) == 1000;
        if (type == kSetViewportExtEx) {
            viewport = le32(*emf, at + 8) == 640 && static_cast<std::int32_t>(le32(*emf, at + 12)) == -480;
        }
        if (le32(*emf, at + 4) < 8) break;
    }
    EXPECT_TRUE(mapMode);
    EXPECT_TRUE(window);
    EXPECT_TRUE(viewport);
}

TEST(EmfFile, RecordCountGrowsWithTheScene) {
    plot::Scene small = sampleScene();
    plot::Scene large = sampleScene();
    for (int i = 0; i < 50; ++i) large.add(plot::Line{{i, 0}, {i, 1000}, plot::kBlack});
    const auto a = emfBytes(small, 640, 480, EmfUse::File);
    const auto b = emfBytes(large, 640, 480, EmfUse::File);
    ASSERT_TRUE(a && b);
    EXPECT_GT(le32(*b, 52), le32(*a, 52) + 50);
    EXPECT_FALSE(emfBytes(small, 0, 480, EmfUse::File));
}

}  // namespace
}  // namespace tolvex::render
