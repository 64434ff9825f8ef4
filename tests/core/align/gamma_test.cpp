#include "core/align/gamma.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "support/test_support.h"

namespace duplora {
namespace {

using test::MakeImage;

TEST(BuildGammaTable, WorkedOutEntriesAndTheRange) {
    // trunc(255 × (i × 0.00392156862745098)^(100 / g)).
    EXPECT_EQ(BuildGammaTable(200)[128], 180);
    EXPECT_EQ(BuildGammaTable(50)[128], 64);
    EXPECT_EQ(BuildGammaTable(500)[1], 84);
    EXPECT_EQ(BuildGammaTable(1)[254], 172);
    EXPECT_EQ(BuildGammaTable(1)[128], 0);
    EXPECT_EQ(BuildGammaTable(137)[77], 106);
    // Out of range is brought to the nearest end.
    EXPECT_EQ(BuildGammaTable(0), BuildGammaTable(1));
    EXPECT_EQ(BuildGammaTable(-250), BuildGammaTable(1));
    EXPECT_EQ(BuildGammaTable(501), BuildGammaTable(500));
    EXPECT_EQ(BuildGammaTable(1 << 30), BuildGammaTable(500));
    // Every table keeps black and white and rises.
    for (int g = kMinGamma; g <= kMaxGamma; ++g) {
        const auto t = BuildGammaTable(g);
        ASSERT_TRUE(t[0] == 0 && t[255] == 255 && std::is_sorted(t.begin(), t.end())) << g;
    }
    // 1.00 keeps the rule of the decimal constant: i × 0.00392156862745098 × 255 falls
    // just below i for 24 levels.
    const auto table = BuildGammaTable(100);
    int lower = 0;
    for (int i = 0; i < 256; ++i) {
        EXPECT_TRUE(table[i] == i || table[i] == i - 1) << i;
        lower += table[i] == i - 1;
    }
    EXPECT_EQ(lower, 24);
    EXPECT_EQ(table[33], 32);
}

// Every channel goes through the table: checked on the large picture below.
TEST(ApplyGamma, DensityFromIntegerMeansOfTheTableValues) {
    const struct {
        std::vector<std::uint32_t> pixels;  // one row, 0xRRGGBB
        int gamma, density;
    } cases[] = {// means R 127, G 127, B 0 (255 / 2 each): 0.587·127 + 0.299·127 = 112.5
                 {{0xFF0000, 0x00FF00}, 100, 112},
                 // 0.587·20 + 0.299·10 + 0.114·30 = 18.15
                 {{0x0A141E, 0x0A141E, 0x0A141E}, 100, 18},
                 // gamma 2.00 gives (50, 71, 87), (127, 180, 0), (255, 0, 180): means R 144,
                 // G 83, B 89: 48.721 + 43.056 + 10.146 = 101.9
                 {{0x0A141E, 0x408000, 0xFF0080}, 200, 101},
                 {{0xFFFFFF}, 37, 255},
                 {{0x000000}, 500, 0}};
    for (const auto& c : cases) {
        const ImageBuffer row =
            MakeImage(int(c.pixels.size()), 1, [&](int x, int) { return c.pixels[x]; });
        EXPECT_EQ(ApplyGamma(row, c.gamma, true).density, c.density) << c.gamma;
        EXPECT_EQ(ApplyGamma(row, c.gamma, false).density, 0) << c.gamma;
    }
}

// Big enough to be split over the cores (the bands are compared with one thread in the
// worker pool's tests); 1.00 goes through the table too. The densities are those the
// integer means of the table's values give.
TEST(ApplyGamma, LargePicturesInBandsAndSumsBeyond32Bits) {
    const ImageBuffer src = test::MakeNoise(1500, 800, 12);
    for (const auto& [gamma, density] : {std::pair{73, 107}, {100, 126}}) {
        const GammaResult result = ApplyGamma(src, gamma, true);
        ASSERT_TRUE(result.image);
        EXPECT_EQ(result.density, density) << gamma;
        const auto table = BuildGammaTable(gamma);
        for (const int y : {0, 399, 799})
            for (int x = 0; x < 4500; x += 7)
                ASSERT_EQ(result.image.Line(y)[x], table[src.Line(y)[x]]) << x << "," << y;
    }
    // 17.2 million white pixels sum to more than 2^32 per channel.
    ImageBuffer white = CreateImageForOverwrite(4200, 4100, 24);
    ASSERT_TRUE(white);
    std::memset(white.Pixels(), 255, static_cast<std::size_t>(white.Stride()) * white.Height());
    EXPECT_EQ(ApplyGamma(white, 100, true).density, 255);
}

TEST(ApplyGamma, KeepsHeaderAndRefusesOtherDepths) {
    ImageBuffer src = test::MakeNoise(5, 4, 1);
    const std::int32_t resolution = 2835;
    std::memcpy(src.Data() + 28, &resolution, 4);
    const GammaResult result = ApplyGamma(src, 180, true);
    ASSERT_TRUE(result.image);
    EXPECT_EQ(std::memcmp(result.image.Data(), src.Data(), kBitmapHeaderSize), 0);
    EXPECT_FALSE(ApplyGamma(ImageBuffer(), 100, true).image);
    const GammaResult indexed = ApplyGamma(test::MakeIndexed(5, 4, 8, 2), 150, true);
    EXPECT_FALSE(indexed.image);
    EXPECT_EQ(indexed.density, 0);
}

}  // namespace
}  // namespace duplora
