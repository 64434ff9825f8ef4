// The half-width and half-height outputs (pixel means of neighbours within each view) and
// their views stretched back to full size.
#include "core/stereo/half_views.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/image/convert.h"
#include "core/stereo/display_modes.h"
#include "support/test_support.h"

namespace duplora {
namespace {

std::uint32_t Mean(std::uint32_t a, std::uint32_t b) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= (((a >> shift & 255) + (b >> shift & 255) + 1) / 2) << shift;
    return out;
}

struct HalfCase {
    int viewWidth, viewHeight;
    bool sideBySide;
};

class HalfViews : public ::testing::TestWithParam<HalfCase> {};

// Views of odd and even sizes: the halves never mix the two views, and an odd last column or
// row of a view is dropped.
TEST_P(HalfViews, EachOutputPixelIsTheRoundedMeanOfTwoNeighboursOfItsView) {
    const HalfCase c = GetParam();
    const int w = c.sideBySide ? 2 * c.viewWidth : c.viewWidth;
    const int h = c.sideBySide ? c.viewHeight : 2 * c.viewHeight;
    const ImageBuffer picture = test::MakeNoise(w, h, 3);
    const ImageBuffer half = HalveViews(picture, c.sideBySide);
    ASSERT_TRUE(half);
    const int hw = c.sideBySide ? 2 * (c.viewWidth / 2) : w;
    const int hh = c.sideBySide ? h : 2 * (c.viewHeight / 2);
    ASSERT_EQ(half.Width(), hw);
    ASSERT_EQ(half.Height(), hh);
    for (int y = 0; y < hh; ++y) {
        for (int x = 0; x < hw; ++x) {
            std::uint32_t expected;
            if (c.sideBySide) {
                const int view = x / (hw / 2), k = x % (hw / 2);
                const int sx = view * c.viewWidth + 2 * k;
                expected = Mean(test::PixelAt(picture, sx, y), test::PixelAt(picture, sx + 1, y));
            } else {
                const int view = y / (hh / 2), k = y % (hh / 2);
                const int sy = view * c.viewHeight + 2 * k;
                expected = Mean(test::PixelAt(picture, x, sy), test::PixelAt(picture, x, sy + 1));
            }
            ASSERT_EQ(test::PixelAt(half, x, y), expected) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, HalfViews,
                         ::testing::Values(HalfCase{8, 5, true}, HalfCase{9, 4, true},
                                           HalfCase{7, 6, false}, HalfCase{5, 9, false}));

class StretchedViews : public ::testing::TestWithParam<HalfCase> {};

// Each source pixel becomes two, each three quarters of itself and one quarter of its
// neighbour on that side, the edge pixel standing in for the missing neighbour.
TEST_P(StretchedViews, EachPairIsInterpolatedAQuarterPixelAroundItsSource) {
    const HalfCase c = GetParam();
    const ImageBuffer view = test::MakeNoise(c.viewWidth, c.viewHeight, 5);
    const ImageBuffer stretched = StretchView(view, c.sideBySide);
    ASSERT_TRUE(stretched);
    ASSERT_EQ(stretched.Width(), c.sideBySide ? 2 * c.viewWidth : c.viewWidth);
    ASSERT_EQ(stretched.Height(), c.sideBySide ? c.viewHeight : 2 * c.viewHeight);
    for (int y = 0; y < stretched.Height(); ++y) {
        for (int x = 0; x < stretched.Width(); ++x) {
            const int along = c.sideBySide ? x : y,
                      size = c.sideBySide ? c.viewWidth : c.viewHeight;
            const int k = along / 2;
            const int n = std::clamp(along % 2 == 0 ? k - 1 : k + 1, 0, size - 1);
            const std::uint32_t near =
                c.sideBySide ? test::PixelAt(view, k, y) : test::PixelAt(view, x, k);
            const std::uint32_t far =
                c.sideBySide ? test::PixelAt(view, n, y) : test::PixelAt(view, x, n);
            std::uint32_t expected = 0;
            for (int shift = 0; shift < 24; shift += 8)
                expected |= ((3 * (near >> shift & 255) + (far >> shift & 255) + 2) / 4) << shift;
            ASSERT_EQ(test::PixelAt(stretched, x, y), expected) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, StretchedViews,
                         ::testing::Values(HalfCase{5, 3, true}, HalfCase{1, 2, true},
                                           HalfCase{4, 5, false}, HalfCase{3, 1, false}));

// Halving and stretching again gives back a linear ramp, apart from the rounding and the
// outermost pixels.
TEST(StretchedViewsRamp, HalvedAndStretchedRampComesBack) {
    const auto ramp = [](int x, int y) {
        return std::uint32_t(4 * x) << 16 | std::uint32_t(3 * y) << 8 | std::uint32_t(x + y);
    };
    const ImageBuffer pair =
        test::MakeImage(2 * 40, 30, [&](int x, int y) { return ramp(x % 40, y); });
    const ImageBuffer half = HalveViews(pair, true);
    ASSERT_TRUE(half);
    const ImageBuffer left = StretchView(CropRect(half, 0, 0, 20, 30), true);
    ASSERT_TRUE(left);
    for (int y = 0; y < 30; ++y)
        for (int x = 1; x < 39; ++x)
            for (int shift = 0; shift < 24; shift += 8)
                ASSERT_NEAR(int(test::PixelAt(left, x, y) >> shift & 255),
                            int(ramp(x, y) >> shift & 255), 1)
                    << x << "," << y;
    EXPECT_FALSE(StretchView(test::MakeIndexed(4, 4, 8, 1), true));
}

// Neither half-size output has a place in the lists stored by position; the batch offers both.
TEST(HalfViewsModes, OfferedToTheBatchOnly) {
    EXPECT_EQ(FindDisplayMode(DisplayMode::HalfSideBySide)->listIndex, -1);
    EXPECT_EQ(BatchOutputModes().size(), ListedDisplayModes().size() + 2);
    EXPECT_FALSE(HalveViews(test::MakeNoise(3, 4, 1), true));  // views of one pixel
}

}  // namespace
}  // namespace duplora
