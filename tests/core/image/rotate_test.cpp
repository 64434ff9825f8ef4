#include "core/image/rotate.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace duplora {
namespace {

using test::IndexAt;
using test::PixelAt;
using test::SamePixels;

// Colour (24 bits) or index of pixel (x, y), top-down.
std::uint32_t ValueAt(const ImageBuffer& image, int x, int y) {
    return image.BitCount() == 24 ? PixelAt(image, x, y)
                                  : static_cast<std::uint32_t>(IndexAt(image, x, y));
}

TEST(RotateQuarter, HandComputedTurnAndDirections) {
    // a b c / d e f turns right to d a / e b / f c.
    const std::uint32_t v[2][3] = {{0x010203, 0x040506, 0x070809}, {0xA0B0C0, 0xD0E0F0, 0xFFFFFF}};
    ImageBuffer src = test::MakeImage(3, 2, [&](int x, int y) { return v[y][x]; });
    ImageBuffer right = RotateQuarter(src, kRotateClockwise);
    ASSERT_TRUE(right);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(PixelAt(right, x, y), v[1 - x][y]) << x << "," << y;
    // Any direction but 1 turns left.
    for (int direction : {2, -1})
        EXPECT_TRUE(
            SamePixels(RotateQuarter(src, direction), RotateQuarter(src, kRotateCounterClockwise)));
    EXPECT_FALSE(RotateQuarter(ImageBuffer{}, kRotateClockwise));
}

struct Size {
    int w, h;
};

void PrintTo(const Size& c, std::ostream* os) {
    *os << c.w << "x" << c.h;
}

class RotateRoundTrip : public ::testing::TestWithParam<std::tuple<int, Size>> {};

TEST_P(RotateRoundTrip, EveryPixelMovesAndFourTurnsGiveTheSource) {
    const auto [bits, size] = GetParam();
    ImageBuffer src = bits == 24 ? test::MakeNoise(size.w, size.h, 7)
                                 : test::MakeIndexed(size.w, size.h, bits, 7);
    ImageBuffer right = RotateQuarter(src, kRotateClockwise);
    ASSERT_TRUE(right);
    EXPECT_EQ(right.Width(), size.h);
    EXPECT_EQ(right.Height(), size.w);
    EXPECT_EQ(right.BitCount(), bits);
    ASSERT_EQ(right.ColourCount(), src.ColourCount());
    EXPECT_EQ(std::memcmp(right.ColourTable(), src.ColourTable(), 4 * src.ColourCount()), 0);
    // Clockwise: (x, y) goes to (h − 1 − y, x).
    for (int y = 0; y < size.h; ++y)
        for (int x = 0; x < size.w; ++x)
            ASSERT_EQ(ValueAt(right, size.h - 1 - y, x), ValueAt(src, x, y)) << x << "," << y;
    EXPECT_TRUE(SamePixels(RotateQuarter(right, kRotateCounterClockwise), src, "back"));
    ImageBuffer turned = DuplicateImage(src);
    for (int i = 0; i < 4; ++i) turned = RotateQuarter(turned, kRotateClockwise);
    EXPECT_TRUE(SamePixels(turned, src, "four-turns"));
}

// Odd sizes leave partial bytes at every depth; the large one is split over threads.
INSTANTIATE_TEST_SUITE_P(DepthsAndOddSizes, RotateRoundTrip,
                         ::testing::Combine(::testing::Values(1, 4, 8, 24),
                                            ::testing::Values(Size{13, 7}, Size{33, 5}, Size{1, 9},
                                                              Size{9, 1}, Size{1, 1},
                                                              Size{1501, 901})),
                         [](const ::testing::TestParamInfo<RotateRoundTrip::ParamType>& info) {
                             const Size s = std::get<1>(info.param);
                             return std::to_string(std::get<0>(info.param)) + "Bits" +
                                    std::to_string(s.w) + "x" + std::to_string(s.h);
                         });

TEST(RotateQuarter, RealPhotograph) {
    if (!test::SampleExists("pairs/frozenpond_l.jpg")) GTEST_SKIP() << "sample missing";
    ImageBuffer photo = test::LoadSample("pairs/frozenpond_l.jpg");
    ASSERT_TRUE(photo);
    ImageBuffer right = RotateQuarter(photo, kRotateClockwise);
    ASSERT_TRUE(right);
    const int w = photo.Width(), h = photo.Height();
    EXPECT_EQ(PixelAt(right, h - 1, 0), PixelAt(photo, 0, 0));
    EXPECT_EQ(PixelAt(right, 0, w - 1), PixelAt(photo, w - 1, h - 1));
    EXPECT_EQ(PixelAt(right, h - 1 - 100, 200), PixelAt(photo, 200, 100));
    EXPECT_TRUE(SamePixels(RotateQuarter(right, kRotateCounterClockwise), photo, "photo"));
}

}  // namespace
}  // namespace duplora
