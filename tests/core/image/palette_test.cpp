#include <gtest/gtest.h>

#include <cstring>

#include "core/image/palette.h"
#include "support/test_support.h"

namespace duplora {
namespace {

// ---- CreateImagePalette ---------------------------------------------------------------

TEST(CreateImagePalette, IndexedPictureGivesItsColourTableAsLongAsColoursUsedSays) {
    for (const int bits : {1, 4, 8}) {
        ImageBuffer indexed = test::MakeIndexed(5, 3, bits, 17);
        const std::vector<PaletteEntry> palette = CreateImagePalette(indexed, 4);
        ASSERT_EQ(palette.size(), std::size_t{1} << bits);
        for (std::size_t i = 0; i < palette.size(); ++i) {
            const std::uint8_t* e = indexed.ColourTable() + i * 4;
            EXPECT_EQ(palette[i], (PaletteEntry{e[2], e[1], e[0], 4})) << bits << ": " << i;
        }
    }
    ImageBuffer image = test::MakeIndexed(4, 4, 8, 3);
    image.SetColoursUsed(5);
    const std::vector<PaletteEntry> palette = CreateImagePalette(image, 0);
    ASSERT_EQ(palette.size(), 5u);
    EXPECT_EQ(palette[4].red, image.ColourTable()[4 * 4 + 2]);

    // A true-colour picture that lists colours used has them as its palette.
    ImageBuffer deep = CreateImage(2, 2, 24);
    deep.SetColoursUsed(3);
    deep.ColourTable()[8] = 0x11;   // entry 2, blue
    deep.ColourTable()[10] = 0x99;  // entry 2, red
    const std::vector<PaletteEntry> listed = CreateImagePalette(deep, 1);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[2], (PaletteEntry{0x99, 0, 0x11, 1}));
}

TEST(CreateImagePalette, TrueColourGetsTheFixedCube) {
    const std::vector<PaletteEntry> palette = CreateImagePalette(test::MakeNoise(3, 3, 1), 2);
    ASSERT_EQ(palette.size(), 224u);
    EXPECT_EQ(palette.back(), (PaletteEntry{255, 255, 255, 2}));
    // Blue varies fastest (4 levels), then green (8), then red (7).
    EXPECT_EQ(palette[3 * 32 + 5 * 4 + 2], (PaletteEntry{128, 182, 170, 2}));
}

TEST(CreateImagePalette, TwelveByteHeaderReadsThreeByteEntries) {
    ImageBuffer image = CreateImage(4, 4, 4);
    std::uint8_t* p = image.Data();
    const std::uint32_t headerSize = 12;
    const std::uint16_t bits = 4;
    std::memcpy(p, &headerSize, 4);
    std::memcpy(p + 10, &bits, 2);
    for (int i = 0; i < 16; ++i) {
        p[12 + i * 3] = static_cast<std::uint8_t>(i);          // blue
        p[12 + i * 3 + 1] = static_cast<std::uint8_t>(i * 2);  // green
        p[12 + i * 3 + 2] = static_cast<std::uint8_t>(i * 3);  // red
    }
    const std::vector<PaletteEntry> palette = CreateImagePalette(image, 0);
    ASSERT_EQ(palette.size(), 16u);
    EXPECT_EQ(palette[15], (PaletteEntry{45, 30, 15, 0}));
}

TEST(CreateImagePalette, NoPaletteForBrokenPictures) {
    EXPECT_TRUE(CreateImagePalette(ImageBuffer{}, 0).empty());
    ImageBuffer tooMany = CreateImage(2, 2, 8);
    tooMany.SetColoursUsed(300);
    EXPECT_TRUE(CreateImagePalette(tooMany, 0).empty());
    ImageBuffer odd = CreateImage(2, 2, 8);
    const std::uint16_t sixteen = 16;
    std::memcpy(odd.Data() + 14, &sixteen, 2);
    EXPECT_TRUE(CreateImagePalette(odd, 0).empty());
    EXPECT_FALSE(BuildPopularPalette(ImageBuffer{}).valid);
    EXPECT_FALSE(BuildPopularPalette(test::MakeIndexed(4, 4, 8, 1)).valid);
    EXPECT_TRUE(BuildPopularPalette(test::MakeNoise(1, 1, 1)).valid);
}

// ---- BuildPopularPalette --------------------------------------------------------------

struct Rgb {
    int r, g, b;
};

::testing::AssertionResult EntryIs(const PopularPalette& p, int k, Rgb c) {
    const std::size_t i = static_cast<std::size_t>(k);
    if (p.red[i] == c.r && p.green[i] == c.g && p.blue[i] == c.b)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "entry " << k << " is " << int{p.red[i]} << "," << int{p.green[i]} << ","
           << int{p.blue[i]} << " expected " << c.r << "," << c.g << "," << c.b;
}

TEST(BuildPopularPalette, OrdersReducedColoursByCount) {
    // 10 × 10, every pixel sampled: 40 red, 30 green, 20 blue, 6 white, 4 of 0x123456.
    ImageBuffer image = test::MakeImage(10, 10, [](int x, int y) -> std::uint32_t {
        const int n = y * 10 + x;
        if (n < 4) return 0x123456;
        if (n < 10) return 0xFFFFFF;
        if (n < 30) return 0x0000FF;
        if (n < 60) return 0x00FF00;
        return 0xFF0000;
    });
    const PopularPalette p = BuildPopularPalette(image);
    ASSERT_TRUE(p.valid);
    EXPECT_TRUE(EntryIs(p, 0, {0xF0, 0, 0}));
    EXPECT_TRUE(EntryIs(p, 1, {0, 0xF0, 0}));
    EXPECT_TRUE(EntryIs(p, 2, {0, 0, 0xF0}));
    // White is reduced to F0 F0 F0, counted on the second seed entry, which ends as white.
    EXPECT_TRUE(EntryIs(p, 3, {0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(EntryIs(p, 4, {0x10, 0x30, 0x50}));
    for (int k = 5; k < 256; ++k) ASSERT_TRUE(EntryIs(p, k, {0, 0, 0}));
}

TEST(BuildPopularPalette, EqualCountsKeepSamplingOrderFromTheBottomRow) {
    ImageBuffer image = test::MakeImage(
        8, 8, [](int, int y) -> std::uint32_t { return y < 4 ? 0x808080 : 0x404040; });
    const PopularPalette p = BuildPopularPalette(image);
    ASSERT_TRUE(p.valid);
    EXPECT_TRUE(EntryIs(p, 0, {0x40, 0x40, 0x40}));
    EXPECT_TRUE(EntryIs(p, 1, {0x80, 0x80, 0x80}));
}

TEST(BuildPopularPalette, SamplesOnlyTheGrid) {
    // 401 × 400: every third column (401 / 200 + 1) of every third row (400 / 200 + 1).
    ImageBuffer image = test::MakeImage(401, 400, [](int x, int y) -> std::uint32_t {
        const bool sampled = x % 3 == 0 && (399 - y) % 3 == 0;
        return sampled ? 0x0000FF : 0xFF0000;
    });
    const PopularPalette p = BuildPopularPalette(image);
    ASSERT_TRUE(p.valid);
    EXPECT_TRUE(EntryIs(p, 0, {0, 0, 0xF0}));
    for (int k = 1; k < 256; ++k) ASSERT_TRUE(EntryIs(p, k, {0, 0, 0}));
}

TEST(BuildPopularPalette, TooManyColoursCoarsenTheMask) {
    // 4096 colours, one of every 4-bit combination: more than 1500, so the mask becomes
    // E0 and each of the 512 reduced colours is counted 8 times. Equal counts are taken
    // in list order: black, the second seed (white), then first appearances.
    ImageBuffer image = test::MakeImage(64, 64, [](int x, int y) -> std::uint32_t {
        const int n = (63 - y) * 64 + x;  // sampling order: bottom row first
        return static_cast<std::uint32_t>((n & 0xF) << 20 | ((n >> 4) & 0xF) << 12 |
                                          ((n >> 8) & 0xF) << 4);
    });
    const PopularPalette p = BuildPopularPalette(image);
    ASSERT_TRUE(p.valid);
    EXPECT_TRUE(EntryIs(p, 0, {0, 0, 0}));
    EXPECT_TRUE(EntryIs(p, 1, {0xFF, 0xFF, 0xFF}));
    for (int k = 2; k < 256; ++k) {
        const int key = k - 1;
        ASSERT_TRUE(EntryIs(p, k, {(key & 7) << 5, ((key >> 3) & 7) << 5, ((key >> 6) & 7) << 5}));
    }
}

}  // namespace
}  // namespace duplora
