#include "core/align/preview.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <random>
#include <vector>

#include "align_test_util.h"
#include "core/image/filter.h"
#include "core/image/luminance.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::GreyAt;
using test::IndexAt;
using test::MakeGrey;
using test::PixelAt;
using test::SamePixels;

TEST(PreviewGrey, LuminanceWithAGreyPaletteInTwoOrSixteenLevels) {
    const std::uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x1E140A, 0xFFFFFF};
    const int expected[] = {76, 149, 29, 21, LuminanceDouble(255, 255, 255)};
    const ImageBuffer src = test::MakeImage(5, 2, [&](int x, int) { return colours[x]; });
    const ImageBuffer grey = PreviewGrey(src);
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey.BitCount(), 8);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(IndexAt(grey, x, 0), expected[x]) << x;
    EXPECT_EQ(std::memcmp(grey.ColourTable() + 4 * 77, "\x4D\x4D\x4D\x00", 4), 0);
    // Levels 4, 9, 1, 1, 15: two pixels per byte, the odd last one leaves the low nibble 0.
    const ImageBuffer sixteen = PreviewGrey(src, 16);
    ASSERT_TRUE(sixteen);
    EXPECT_EQ(sixteen.BitCount(), 4);
    EXPECT_EQ(sixteen.Line(0)[0], 0x49);
    EXPECT_EQ(sixteen.Line(1)[2], 0xF0);
    EXPECT_EQ(sixteen.ColourTable()[4 * 15 + 1], 255);
    EXPECT_FALSE(PreviewGrey(ImageBuffer{}));
    EXPECT_FALSE(PreviewGrey(test::MakeIndexed(5, 5, 8, 1)));
    EXPECT_FALSE(PreviewGrey(src, 8));
    EXPECT_FALSE(PreviewGrey(src, 0));
}

TEST(PreviewScale, MappingByHand) {
    // 200 %: the central half, the last column and row black. 50 %: a half-size picture
    // on black; of two pixels on one place the later wins. 0 %: everything lands on the
    // centre pixel, the last source pixel wins. Far beyond the picture: the centre pixel
    // fills all but the last row and column.
    const struct {
        int width, height, percent;
        std::vector<int> columns, rows;  // source of each output column / stored row, -1 black
    } cases[] = {{8, 8, 200, {2, 2, 3, 3, 4, 4, 5, -1}, {2, 2, 3, 3, 4, 4, 5, -1}},
                 {8, 8, 50, {-1, -1, 1, 3, 5, 7, -1, -1}, {-1, -1, 1, 3, 5, 7, -1, -1}},
                 {8, 6, 150, {1, 1, 2, 2, 3, 4, 4, -1}, {1, 1, 2, 3, 3, -1}},
                 {8, 6, 0, {-1, -1, -1, -1, 7, -1, -1, -1}, {-1, -1, -1, 5, -1, -1}},
                 {4, 3, 100000, {2, 2, 2, -1}, {1, 1, -1}}};
    for (const auto& c : cases) {
        // Pixel value = 1 + column + 16 · stored row: every source pixel is told apart.
        const auto value = [](int x, int r) { return 1 + x + 16 * r; };
        const ImageBuffer out = PreviewScale(MakeGrey(c.width, c.height, value), c.percent);
        ASSERT_TRUE(out) << c.percent;
        ASSERT_EQ(out.Width(), c.width);
        ASSERT_EQ(out.Height(), c.height);
        for (int r = 0; r < c.height; ++r)
            for (int x = 0; x < c.width; ++x) {
                const int sx = c.columns[x], sr = c.rows[r];
                ASSERT_EQ(GreyAt(out, x, r), sx < 0 || sr < 0 ? 0 : value(sx, sr))
                    << c.percent << " %: " << x << "," << r;
            }
    }
}

TEST(PreviewScale, RefusesOtherDepthsAndNegativeSizes) {
    EXPECT_FALSE(PreviewScale(ImageBuffer{}, 100));
    EXPECT_FALSE(PreviewScale(test::MakeNoise(8, 8, 1), 100));
    EXPECT_FALSE(PreviewScale(MakeGrey(8, 8, [](int, int) { return 9; }), -1));
    EXPECT_FALSE(PreviewScale(MakeGrey(8, 8, [](int, int) { return 9; }), INT_MIN));
    EXPECT_TRUE(PreviewScale(MakeGrey(1, 1, [](int, int) { return 9; }), INT_MAX));
}

class PreviewComposeTest : public ::testing::Test {
  protected:
    const ImageBuffer left = MakeGrey(20, 15, [](int x, int y) { return 200 + x + y; });
    const ImageBuffer right = MakeGrey(20, 15, [](int x, int y) { return 3 * x + 7 * y; });
};

TEST_F(PreviewComposeTest, ShiftedRedCyanAndOneSideModes) {
    const PreviewComposition c = PreviewCompose(left, right, 3, -2, 0);
    ASSERT_TRUE(c.image);
    ASSERT_EQ(c.image.Width(), 17);
    ASSERT_EQ(c.image.Height(), 13);
    EXPECT_EQ(std::tuple(c.leftCutX, c.leftCutY, c.rightCutX, c.rightCutY), std::tuple(3, 0, 0, 2));
    for (int r = 0; r < 13; ++r)
        for (int x = 0; x < 17; ++x) {
            const std::uint8_t* p = c.image.StoredRow(r) + 3 * x;
            const int cyan = GreyAt(right, x, r + 2);
            ASSERT_EQ(p[0], cyan);
            ASSERT_EQ(p[1], cyan);
            ASSERT_EQ(p[2], std::min(255, GreyAt(left, x + 3, r) + 32));
        }
    // Modes 1 and 2 show one side only.
    const PreviewComposition both = PreviewCompose(left, right, 0, 0, 3);
    const PreviewComposition leftOnly = PreviewCompose(left, right, 0, 0, 1);
    const PreviewComposition rightOnly = PreviewCompose(left, right, 0, 0, 2);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x) {
            const std::uint32_t red = PixelAt(both.image, x, y) & 0xFF0000;
            const std::uint32_t cyan = PixelAt(both.image, x, y) & 0x00FFFF;
            ASSERT_EQ(PixelAt(leftOnly.image, x, y), red);
            ASSERT_EQ(PixelAt(rightOnly.image, x, y), 0x200000u | cyan);
        }
}

TEST_F(PreviewComposeTest, ShiftKeepsTenPixelsSizesMeetAndBadInputGivesNothing) {
    const PreviewComposition c = PreviewCompose(left, right, -100, 100, 0);
    ASSERT_EQ(c.image.Width(), 10);
    ASSERT_EQ(c.image.Height(), 10);
    EXPECT_EQ(std::tuple(c.rightCutX, c.leftCutY), std::tuple(10, 5));
    const PreviewComposition extreme = PreviewCompose(left, right, INT_MIN, INT_MAX, 0);
    EXPECT_EQ(std::tuple(extreme.image.Width(), extreme.image.Height()), std::tuple(10, 10));
    // A picture smaller than 10 pixels is not shifted at all.
    const ImageBuffer tiny = MakeGrey(6, 4, [](int x, int) { return x; });
    const PreviewComposition small = PreviewCompose(tiny, tiny, 3, -3, 0);
    EXPECT_EQ(std::tuple(small.image.Width(), small.image.Height()), std::tuple(6, 4));
    EXPECT_EQ(small.leftCutX + small.leftCutY + small.rightCutX + small.rightCutY, 0);
    // Different sizes use the common part.
    const ImageBuffer narrow = MakeGrey(18, 16, [](int x, int y) { return x * y; });
    const PreviewComposition d = PreviewCompose(left, narrow, 2, 1, 0);
    EXPECT_EQ(d.image.Width(), 16);
    ASSERT_EQ(d.image.Height(), 14);
    EXPECT_EQ(d.image.StoredRow(13)[3 * 15], GreyAt(narrow, 15, 13));
    EXPECT_FALSE(PreviewCompose(left, right, 0, 0, 4).image);
    EXPECT_FALSE(PreviewCompose(left, right, 0, 0, -1).image);
    EXPECT_FALSE(PreviewCompose(ImageBuffer{}, right, 0, 0, 0).image);
    EXPECT_FALSE(PreviewCompose(left, test::MakeNoise(20, 15, 1), 0, 0, 0).image);
}

// The edit menu's edge filter follows the same rule (and is checked against it on its
// own); the preview gives its black and white as grey levels.
ImageBuffer EdgesAsGrey(const ImageBuffer& image, int threshold) {
    const ImageBuffer edges = DetectEdges(image, threshold);
    return MakeGrey(image.Width(), image.Height(),
                    [&](int x, int r) { return edges.StoredRow(r)[3 * x]; });
}

TEST(EdgeView, ReportsTensOfPercentInOrderAndRefusesOtherDepths) {
    std::vector<int> seen;
    EdgeView(test::MakeNoise(40, 100, 3), 16, [&](int tens) { seen.push_back(tens); });
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(EdgeView(ImageBuffer{}));
    EXPECT_FALSE(EdgeView(test::MakeIndexed(10, 10, 8, 1)));
}

TEST(EdgeView, EqualsTheEditFilter) {
    std::mt19937 rng(77);
    // Tiny pictures have no full neighbourhood; thresholds outside 1…254 are clamped.
    for (auto [w, h, t] : {std::tuple{1, 1, 16}, {4, 4, 16}, {100, 3, 16}, {30, 20, -5}})
        ASSERT_TRUE(SamePixels(EdgeView(test::MakeNoise(w, h, 5), t),
                               EdgesAsGrey(test::MakeNoise(w, h, 5), t)));
    for (int round = 0; round < 12; ++round) {
        const int w = 5 + static_cast<int>(rng() % 60), h = 5 + static_cast<int>(rng() % 60);
        // Blocks of colour with noise, so that both sides of the threshold occur.
        const ImageBuffer src = test::MakeImage(w, h, [&](int x, int y) {
            const std::uint32_t base = ((x / 6 + y / 5) % 3) * 0x404040u;
            return base + (rng() & 0x0F0F0F);
        });
        const int threshold = static_cast<int>(rng() % 40) - 2;
        ASSERT_TRUE(SamePixels(EdgeView(src, threshold), EdgesAsGrey(src, threshold))) << round;
    }
}

}  // namespace
}  // namespace duplora
