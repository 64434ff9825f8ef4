#include "core/image/palette.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/test_support.h"

namespace duplora {
namespace {

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

TEST(CreateImagePalette, TrueColourGetsTheFixedCubeAndOldHeadersThreeByteEntries) {
    const std::vector<PaletteEntry> cube = CreateImagePalette(test::MakeNoise(3, 3, 1), 2);
    ASSERT_EQ(cube.size(), 224u);
    EXPECT_EQ(cube.back(), (PaletteEntry{255, 255, 255, 2}));
    // Blue varies fastest (4 levels), then green (8), then red (7).
    EXPECT_EQ(cube[3 * 32 + 5 * 4 + 2], (PaletteEntry{128, 182, 170, 2}));

    ImageBuffer image = CreateImage(4, 4, 4);
    std::uint8_t* p = image.Data();
    p[0] = 12;  // a 12-byte header, 4 bits at offset 10
    p[10] = 4;
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
    odd.Data()[14] = 16;
    EXPECT_TRUE(CreateImagePalette(odd, 0).empty());
    EXPECT_FALSE(BuildPopularPalette(ImageBuffer{}).valid);
    EXPECT_FALSE(BuildPopularPalette(test::MakeIndexed(4, 4, 8, 1)).valid);
    EXPECT_TRUE(BuildPopularPalette(test::MakeNoise(1, 1, 1)).valid);
}

// The 256 entries as 0xRRGGBB; entries not listed must be black.
::testing::AssertionResult EntriesAre(const PopularPalette& p, std::vector<std::uint32_t> rgb) {
    if (!p.valid) return ::testing::AssertionFailure() << "no palette";
    rgb.resize(256, 0);
    for (std::size_t k = 0; k < 256; ++k) {
        const std::uint32_t got = p.red[k] << 16 | p.green[k] << 8 | p.blue[k];
        if (got != rgb[k])
            return ::testing::AssertionFailure()
                   << "entry " << k << " is " << std::hex << got << " expected " << rgb[k];
    }
    return ::testing::AssertionSuccess();
}

TEST(BuildPopularPalette, OrdersReducedColoursByCountInSamplingOrder) {
    // 10 × 10, every pixel sampled: 40 red, 30 green, 20 blue, 6 white, 4 of 0x123456.
    // White is reduced to F0 F0 F0, counted on the second seed entry, which ends as white.
    const ImageBuffer image = test::MakeImage(10, 10, [](int x, int y) -> std::uint32_t {
        const int n = y * 10 + x;
        return n < 4    ? 0x123456
               : n < 10 ? 0xFFFFFF
               : n < 30 ? 0x0000FF
               : n < 60 ? 0x00FF00
                        : 0xFF0000;
    });
    EXPECT_TRUE(
        EntriesAre(BuildPopularPalette(image), {0xF00000, 0x00F000, 0x0000F0, 0xFFFFFF, 0x103050}));
    // Equal counts keep the sampling order, from the bottom row.
    const ImageBuffer halves = test::MakeImage(
        8, 8, [](int, int y) -> std::uint32_t { return y < 4 ? 0x808080 : 0x404040; });
    EXPECT_TRUE(EntriesAre(BuildPopularPalette(halves), {0x404040, 0x808080}));
}

TEST(BuildPopularPalette, SamplesOnlyTheGrid) {
    // 401 × 400: every third column (401 / 200 + 1) of every third row (400 / 200 + 1).
    const ImageBuffer image = test::MakeImage(401, 400, [](int x, int y) -> std::uint32_t {
        return x % 3 == 0 && (399 - y) % 3 == 0 ? 0x0000FF : 0xFF0000;
    });
    EXPECT_TRUE(EntriesAre(BuildPopularPalette(image), {0x0000F0}));
}

TEST(BuildPopularPalette, TooManyColoursCoarsenTheMask) {
    // 4096 colours, one of every 4-bit combination: more than 1500, so the mask becomes
    // E0 and each of the 512 reduced colours is counted 8 times. Equal counts are taken
    // in list order: black, the second seed (white), then first appearances.
    const ImageBuffer image = test::MakeImage(64, 64, [](int x, int y) -> std::uint32_t {
        const int n = (63 - y) * 64 + x;  // sampling order: bottom row first
        return static_cast<std::uint32_t>((n & 0xF) << 20 | ((n >> 4) & 0xF) << 12 |
                                          ((n >> 8) & 0xF) << 4);
    });
    std::vector<std::uint32_t> expected = {0, 0xFFFFFF};
    for (int key = 1; key < 255; ++key)
        expected.push_back(
            std::uint32_t((key & 7) << 21 | ((key >> 3) & 7) << 13 | ((key >> 6) & 7) << 5));
    EXPECT_TRUE(EntriesAre(BuildPopularPalette(image), expected));
}

}  // namespace
}  // namespace duplora
