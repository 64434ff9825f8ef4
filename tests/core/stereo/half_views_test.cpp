// The half-width and half-height outputs: pixel means of neighbours within each view.
#include "core/stereo/half_views.h"

#include <gtest/gtest.h>

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

// Neither half-size output has a place in the lists stored by position; the batch offers both.
TEST(HalfViewsModes, OfferedToTheBatchOnly) {
    EXPECT_EQ(FindDisplayMode(DisplayMode::HalfSideBySide)->listIndex, -1);
    EXPECT_EQ(BatchOutputModes().size(), ListedDisplayModes().size() + 2);
    EXPECT_FALSE(HalveViews(test::MakeNoise(3, 4, 1), true));  // views of one pixel
}

}  // namespace
}  // namespace duplora
