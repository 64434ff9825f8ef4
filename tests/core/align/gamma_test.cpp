#include "core/align/gamma.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstring>
#include <vector>

#include "support/test_support.h"

namespace duplora {
namespace {

using test::MakeImage;
using test::MakeNoise;
using test::PixelAt;
using test::SamePixels;

TEST(BuildGammaTable, WorkedOutEntries) {
    // trunc(255 × (i × 0.00392156862745098)^(100 / g)).
    EXPECT_EQ(BuildGammaTable(200)[128], 180);
    EXPECT_EQ(BuildGammaTable(50)[128], 64);
    EXPECT_EQ(BuildGammaTable(500)[1], 84);
    EXPECT_EQ(BuildGammaTable(1)[254], 172);
    EXPECT_EQ(BuildGammaTable(1)[128], 0);
    EXPECT_EQ(BuildGammaTable(137)[77], 106);
}

TEST(BuildGammaTable, EndsFixedAndRising) {
    for (int g = kMinGamma; g <= kMaxGamma; ++g) {
        const auto table = BuildGammaTable(g);
        ASSERT_EQ(table[0], 0) << g;
        ASSERT_EQ(table[255], 255) << g;
        for (int i = 1; i < 256; ++i) ASSERT_LE(table[i - 1], table[i]) << g << " " << i;
        // Above 1.00 every level gets brighter or stays, below it darker or stays.
        for (int i = 0; i < 256; ++i) {
            if (g > 100) {
                ASSERT_GE(table[i], i) << g;
            } else if (g < 100) {
                ASSERT_LE(table[i], i) << g;
            }
        }
    }
}

TEST(BuildGammaTable, HundredKeepsTheRuleOfTheDecimalConstant) {
    // i × 0.00392156862745098 × 255 falls just below i for 24 levels.
    const auto table = BuildGammaTable(100);
    int lower = 0;
    for (int i = 0; i < 256; ++i) {
        EXPECT_TRUE(table[i] == i || table[i] == i - 1) << i;
        lower += table[i] == i - 1;
    }
    EXPECT_EQ(lower, 24);
    EXPECT_EQ(table[33], 32);
    EXPECT_EQ(table[255], 255);
}

TEST(BuildGammaTable, OutOfRangeIsBroughtToTheNearestEnd) {
    EXPECT_EQ(BuildGammaTable(0), BuildGammaTable(1));
    EXPECT_EQ(BuildGammaTable(-250), BuildGammaTable(1));
    EXPECT_EQ(BuildGammaTable(501), BuildGammaTable(500));
    EXPECT_EQ(BuildGammaTable(1 << 30), BuildGammaTable(500));
}

TEST(ApplyGamma, EveryChannelThroughTheTable) {
    ImageBuffer src = MakeImage(3, 2, [](int x, int y) {
        const std::uint32_t colours[2][3] = {{0x800AFF, 0x14401E, 0x000000},
                                             {0xFFFFFF, 0x0A1480, 0xC86440}};
        return colours[y][x];
    });
    GammaResult result = ApplyGamma(src, 200, false);
    ASSERT_TRUE(result.image);
    // gamma 2.00: 10 → 50, 20 → 71, 30 → 87, 64 → 127, 100 → 159, 128 → 180, 200 → 225.
    EXPECT_EQ(PixelAt(result.image, 0, 0), 0xB432FFu);
    EXPECT_EQ(PixelAt(result.image, 1, 0), 0x477F57u);
    EXPECT_EQ(PixelAt(result.image, 2, 0), 0x000000u);
    EXPECT_EQ(PixelAt(result.image, 0, 1), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(result.image, 1, 1), 0x3247B4u);
    EXPECT_EQ(PixelAt(result.image, 2, 1), 0xE19F7Fu);
}

struct DensityCase {
    std::vector<std::uint32_t> pixels;  // one row, 0xRRGGBB
    int gamma;
    int density;
};

void PrintTo(const DensityCase& c, std::ostream* os) {
    *os << c.pixels.size() << " pixels at gamma " << c.gamma;
}

class GammaDensity : public ::testing::TestWithParam<DensityCase> {};

TEST_P(GammaDensity, FromIntegerMeansOfTheResult) {
    const DensityCase& c = GetParam();
    ImageBuffer src = MakeImage(static_cast<int>(c.pixels.size()), 1,
                                [&](int x, int) { return c.pixels[static_cast<std::size_t>(x)]; });
    EXPECT_EQ(ApplyGamma(src, c.gamma, true).density, c.density);
    EXPECT_EQ(ApplyGamma(src, c.gamma, false).density, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GammaDensity,
    ::testing::Values(
        // means R 127, G 127, B 0 (255 / 2 each): 0.587·127 + 0.299·127 = 112.5
        DensityCase{{0xFF0000, 0x00FF00}, 100, 112},
        // 0.587·20 + 0.299·10 + 0.114·30 = 18.15
        DensityCase{{0x0A141E, 0x0A141E, 0x0A141E}, 100, 18},
        // gamma 2.00 gives (50, 71, 87), (127, 180, 0), (255, 0, 180): means R 144,
        // G 83, B 89: 48.721 + 43.056 + 10.146 = 101.9
        DensityCase{{0x0A141E, 0x408000, 0xFF0080}, 200, 101}, DensityCase{{0xFFFFFF}, 37, 255},
        DensityCase{{0x000000}, 500, 0}));

TEST(ApplyGamma, DensityOfALargeWhitePicture) {
    // 17.2 million white pixels sum to more than 2^32 per channel.
    ImageBuffer src = CreateImageForOverwrite(4200, 4100, 24);
    ASSERT_TRUE(src);
    std::memset(src.Pixels(), 255, static_cast<std::size_t>(src.Stride()) * src.Height());
    EXPECT_EQ(ApplyGamma(src, 100, true).density, 255);
}

TEST(ApplyGamma, KeepsHeaderAndRefusesOtherDepths) {
    ImageBuffer src = MakeNoise(5, 4, 1);
    const std::int32_t resolution = 2835;
    std::memcpy(src.Data() + 28, &resolution, 4);
    GammaResult result = ApplyGamma(src, 180, true);
    ASSERT_TRUE(result.image);
    EXPECT_EQ(std::memcmp(result.image.Data(), src.Data(), kBitmapHeaderSize), 0);
    EXPECT_FALSE(ApplyGamma(ImageBuffer(), 100, true).image);
    GammaResult indexed = ApplyGamma(test::MakeIndexed(5, 4, 8, 2), 150, true);
    EXPECT_FALSE(indexed.image);
    EXPECT_EQ(indexed.density, 0);
}

class GammaOnALargePicture : public ::testing::TestWithParam<int> {};

TEST_P(GammaOnALargePicture, EveryByteFromTheTableAndDensityFromTheMeans) {
    // Big enough to be split over the cores. 1.00 goes through the table too (it is not
    // the identity).
    ImageBuffer src = MakeNoise(1500, 800, 12);
    const auto table = BuildGammaTable(GetParam());
    GammaResult result = ApplyGamma(src, GetParam(), true);
    ASSERT_TRUE(result.image);
    std::uint64_t sums[3] = {0, 0, 0};
    for (int y = 0; y < src.Height(); ++y)
        for (int x = 0; x < src.Width() * 3; ++x) {
            const std::uint8_t v = result.image.Line(y)[x];
            ASSERT_EQ(v, table[src.Line(y)[x]]) << x << "," << y;
            sums[x % 3] += v;
        }
    const std::uint64_t n = 1500 * 800;
    const int density = static_cast<int>(0.587 * static_cast<double>(sums[1] / n) +
                                         0.299 * static_cast<double>(sums[2] / n) +
                                         0.114 * static_cast<double>(sums[0] / n));
    EXPECT_EQ(result.density, density);
}

INSTANTIATE_TEST_SUITE_P(Gammas, GammaOnALargePicture, ::testing::Values(73, 100));

}  // namespace
}  // namespace duplora
