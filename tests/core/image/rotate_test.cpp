#include "core/image/rotate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "support/test_support.h"

namespace duplora {
namespace {

using test::IndexAt;
using test::PixelAt;
using test::SamePixels;

void SetIndex(ImageBuffer& image, int x, int y, int v) {
    std::uint8_t* row = image.Line(y);
    switch (image.BitCount()) {
        case 8:
            row[x] = static_cast<std::uint8_t>(v);
            break;
        case 4: {
            const int shift = (x & 1) ? 0 : 4;
            row[x / 2] = static_cast<std::uint8_t>((row[x / 2] & ~(0xF << shift)) | (v << shift));
            break;
        }
        default: {
            const int shift = 7 - (x & 7);
            row[x / 8] = static_cast<std::uint8_t>((row[x / 8] & ~(1 << shift)) | (v << shift));
        }
    }
}

// Values of a picture, top-down, as colours (24 bits) or indices.
std::vector<std::vector<std::uint32_t>> Values(const ImageBuffer& image) {
    std::vector<std::vector<std::uint32_t>> rows;
    for (int y = 0; y < image.Height(); ++y) {
        rows.emplace_back();
        for (int x = 0; x < image.Width(); ++x)
            rows.back().push_back(image.BitCount() == 24
                                      ? PixelAt(image, x, y)
                                      : static_cast<std::uint32_t>(IndexAt(image, x, y)));
    }
    return rows;
}

ImageBuffer FromValues(const std::vector<std::vector<std::uint32_t>>& rows, int bits) {
    const int h = static_cast<int>(rows.size()), w = static_cast<int>(rows[0].size());
    ImageBuffer image = CreateImage(w, h, bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (bits == 24) {
                std::uint8_t* p = image.Line(y) + x * 3;
                p[0] = rows[y][x] & 0xFF;
                p[1] = (rows[y][x] >> 8) & 0xFF;
                p[2] = (rows[y][x] >> 16) & 0xFF;
            } else {
                SetIndex(image, x, y, static_cast<int>(rows[y][x]));
            }
        }
    return image;
}

struct Literal {
    int bits;
    std::uint32_t a, b, c, d, e, f;  // top-down:  a b c / d e f
};

class RotateLiteral : public ::testing::TestWithParam<Literal> {};

TEST_P(RotateLiteral, TurnsRightAndLeft) {
    const Literal& l = GetParam();
    EXPECT_FALSE(RotateQuarter(ImageBuffer{}, kRotateClockwise));
    ImageBuffer src = FromValues({{l.a, l.b, l.c}, {l.d, l.e, l.f}}, l.bits);
    ImageBuffer right = RotateQuarter(src, kRotateClockwise);
    ASSERT_TRUE(right);
    EXPECT_EQ(right.BitCount(), l.bits);
    EXPECT_EQ(Values(right),
              (std::vector<std::vector<std::uint32_t>>{{l.d, l.a}, {l.e, l.b}, {l.f, l.c}}));
    for (int direction : {kRotateCounterClockwise, 2, -1}) {
        ImageBuffer left = RotateQuarter(src, direction);
        ASSERT_TRUE(left);
        EXPECT_EQ(Values(left),
                  (std::vector<std::vector<std::uint32_t>>{{l.c, l.f}, {l.b, l.e}, {l.a, l.d}}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Depths, RotateLiteral,
    ::testing::Values(Literal{24, 0x010203, 0x040506, 0x070809, 0xA0B0C0, 0xD0E0F0, 0xFFFFFF},
                      Literal{8, 1, 2, 3, 250, 5, 6}, Literal{4, 1, 2, 3, 15, 5, 6},
                      Literal{1, 1, 0, 1, 0, 0, 1}));

struct Size {
    int w, h;
};

class RotateRoundTrip : public ::testing::TestWithParam<std::tuple<int, Size>> {};

TEST_P(RotateRoundTrip, BackAndForthAndFourTurns) {
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
    const auto turnedValues = Values(right), sourceValues = Values(src);
    for (int y = 0; y < size.h; ++y)
        for (int x = 0; x < size.w; ++x)
            ASSERT_EQ(turnedValues[x][size.h - 1 - y], sourceValues[y][x]) << x << "," << y;

    EXPECT_TRUE(SamePixels(RotateQuarter(right, kRotateCounterClockwise), src, "back"));
    ImageBuffer turned = DuplicateImage(src);
    for (int i = 0; i < 4; ++i) turned = RotateQuarter(turned, kRotateClockwise);
    EXPECT_TRUE(SamePixels(turned, src, "four-turns"));
    EXPECT_TRUE(SamePixels(RotateQuarter(RotateQuarter(src, 1), 1),
                           RotateQuarter(RotateQuarter(src, 0), 0), "half-turn"));
}

INSTANTIATE_TEST_SUITE_P(DepthsAndOddSizes, RotateRoundTrip,
                         ::testing::Combine(::testing::Values(1, 4, 8, 24),
                                            ::testing::Values(Size{13, 7}, Size{33, 5}, Size{7, 31},
                                                              Size{1, 9}, Size{9, 1}, Size{1, 1},
                                                              Size{70, 45})));

TEST(RotateQuarter, LargePictureSplitOverThreads) {
    for (int bits : {24, 8, 1}) {
        ImageBuffer src =
            bits == 24 ? test::MakeNoise(1501, 901, 3) : test::MakeIndexed(1501, 901, bits, 3);
        ImageBuffer right = RotateQuarter(src, kRotateClockwise);
        ASSERT_TRUE(right);
        EXPECT_TRUE(SamePixels(RotateQuarter(right, kRotateCounterClockwise), src, "large"));
    }
}

TEST(RotateQuarter, RealPhotograph) {
    if (!test::SampleExists("pairs/frozenpond_l.jpg")) GTEST_SKIP() << "sample missing";
    ImageBuffer photo = test::LoadSample("pairs/frozenpond_l.jpg");
    ASSERT_TRUE(photo);
    ImageBuffer right = RotateQuarter(photo, kRotateClockwise);
    ASSERT_TRUE(right);
    const int w = photo.Width(), h = photo.Height();
    EXPECT_EQ(PixelAt(right, h - 1, 0), PixelAt(photo, 0, 0));  // top-left → top-right
    EXPECT_EQ(PixelAt(right, 0, w - 1),
              PixelAt(photo, w - 1, h - 1));  // bottom-right → bottom-left
    EXPECT_EQ(PixelAt(right, h - 1 - 100, 200), PixelAt(photo, 200, 100));
    EXPECT_TRUE(SamePixels(RotateQuarter(right, kRotateCounterClockwise), photo, "photo"));
}

}  // namespace
}  // namespace duplora
