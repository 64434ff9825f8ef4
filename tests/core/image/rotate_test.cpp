#include "core/image/rotate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "support/test_support.h"

namespace duplora {
namespace {

using test::PixelAt;
using test::SamePixels;

TEST(RotateQuarter, HandComputedTurnAndDirections) {
    // a b c / d e f turns right to d a / e b / f c.
    const std::uint32_t v[2][3] = {{0x010203, 0x040506, 0x070809}, {0xA0B0C0, 0xD0E0F0, 0xFFFFFF}};
    const ImageBuffer src = test::MakeImage(3, 2, [&](int x, int y) { return v[y][x]; });
    EXPECT_TRUE(SamePixels(RotateQuarter(src, kRotateClockwise),
                           test::MakeImage(2, 3, [&](int x, int y) { return v[1 - x][y]; })));
    // Any direction but 1 turns left.
    for (int direction : {2, -1})
        EXPECT_TRUE(
            SamePixels(RotateQuarter(src, direction), RotateQuarter(src, kRotateCounterClockwise)));
    EXPECT_FALSE(RotateQuarter(ImageBuffer{}, kRotateClockwise));
}

// Odd sizes leave partial bytes at every depth; the large one is split over threads.
TEST(RotateQuarter, EveryPixelMovesAndFourTurnsGiveTheSourceAtEveryDepth) {
    for (const int bits : {1, 4, 8, 24})
        for (const auto [w, h] : {std::pair{13, 7}, {33, 5}, {1, 9}, {9, 1}, {1, 1}, {1501, 901}}) {
            SCOPED_TRACE(testing::Message() << bits << " bits " << w << "x" << h);
            const ImageBuffer src =
                bits == 24 ? test::MakeNoise(w, h, 7) : test::MakeIndexed(w, h, bits, 7);
            const auto value = [bits](const ImageBuffer& image, int x, int y) {
                return bits == 24 ? PixelAt(image, x, y)
                                  : std::uint32_t(test::IndexAt(image, x, y));
            };
            const ImageBuffer right = RotateQuarter(src, kRotateClockwise);
            ASSERT_EQ(right.Width(), h);
            ASSERT_EQ(right.Height(), w);
            ASSERT_EQ(right.BitCount(), bits);
            ASSERT_EQ(right.ColourCount(), src.ColourCount());
            EXPECT_EQ(std::memcmp(right.ColourTable(), src.ColourTable(), 4 * src.ColourCount()),
                      0);
            // Clockwise: (x, y) goes to (h − 1 − y, x).
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(value(right, h - 1 - y, x), value(src, x, y)) << x << "," << y;
            EXPECT_TRUE(SamePixels(RotateQuarter(right, kRotateCounterClockwise), src, "back"));
            ImageBuffer turned = DuplicateImage(src);
            for (int i = 0; i < 4; ++i) turned = RotateQuarter(turned, kRotateClockwise);
            EXPECT_TRUE(SamePixels(turned, src, "four-turns"));
        }
}

TEST(RotateQuarter, RealPhotograph) {
    if (!test::SampleExists("pairs/frozenpond_l.jpg")) GTEST_SKIP() << "sample missing";
    const ImageBuffer photo = test::LoadSample("pairs/frozenpond_l.jpg");
    const ImageBuffer right = RotateQuarter(photo, kRotateClockwise);
    ASSERT_TRUE(right);
    const int w = photo.Width(), h = photo.Height();
    EXPECT_EQ(PixelAt(right, h - 1, 0), PixelAt(photo, 0, 0));
    EXPECT_EQ(PixelAt(right, 0, w - 1), PixelAt(photo, w - 1, h - 1));
    EXPECT_EQ(PixelAt(right, h - 1 - 100, 200), PixelAt(photo, 200, 100));
    EXPECT_TRUE(SamePixels(RotateQuarter(right, kRotateCounterClockwise), photo, "photo"));
}

}  // namespace
}  // namespace duplora
