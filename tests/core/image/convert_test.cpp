#include "core/image/convert.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/test_support.h"

namespace duplora {
namespace {

using test::PixelAt;
using test::SamePixels;

std::uint32_t TableColour(const ImageBuffer& image, int index) {
    const std::uint8_t* e = image.ColourTable() + index * 4;
    return e[0] | (e[1] << 8) | (e[2] << 16);
}

// Colour of pixel (x, y) whatever the depth.
std::uint32_t ColourAt(const ImageBuffer& image, int x, int y) {
    return image.BitCount() == 24 ? PixelAt(image, x, y)
                                  : TableColour(image, test::IndexAt(image, x, y));
}

TEST(ToTrueColour, LooksUpEveryPixelAndZeroesThePadding) {
    for (const int bits : {1, 4, 8})
        for (const int width : {1, 9, 33}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, " << width << " wide");
            ImageBuffer src = test::MakeIndexed(width, 5, bits, 40 + width);
            ImageBuffer out = ToTrueColour(src);
            ASSERT_EQ(out.BitCount(), 24);
            for (int y = 0; y < 5; ++y) {
                for (int x = 0; x < width; ++x) ASSERT_EQ(PixelAt(out, x, y), ColourAt(src, x, y));
                for (int b = width * 3; b < out.Stride(); ++b) ASSERT_EQ(out.StoredRow(y)[b], 0);
            }
        }
}

TEST(ToTrueColour, HandMadeRowsAndIndicesPastAShortTable) {
    ImageBuffer mono = CreateImage(10, 1, 1);
    std::memcpy(mono.ColourTable(), "\x30\x20\x10\x00\xC0\xB0\xA0\x00", 8);
    mono.Line(0)[0] = 0b10000001;  // pixels 0 and 7
    mono.Line(0)[1] = 0b01000000;  // pixel 9
    ImageBuffer out = ToTrueColour(mono);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(PixelAt(out, x, 0), (x == 0 || x == 7 || x == 9) ? 0xA0B0C0u : 0x102030u);
    // Two colours used: index 200 is black although the table holds a colour there.
    ImageBuffer src = CreateImage(3, 1, 8);
    std::memcpy(src.ColourTable(), "\x33\x22\x11\x00\x66\x55\x44\x00", 8);
    src.ColourTable()[800] = 0x99;
    src.SetColoursUsed(2);
    std::memcpy(src.Pixels(), "\x01\x00\xC8", 3);
    out = ToTrueColour(src);
    EXPECT_EQ(PixelAt(out, 0, 0), 0x445566u);
    EXPECT_EQ(PixelAt(out, 1, 0), 0x112233u);
    EXPECT_EQ(PixelAt(out, 2, 0), 0u);
}

TEST(ScaleToTrueColourGdi, MatchesScalingTheLookedUpPicture) {
    for (const int bits : {1, 4, 8}) {
        ImageBuffer src = test::MakeIndexed(37, 23, bits, 7), full = ToTrueColour(src);
        for (const bool second : {false, true}) {
            ImageBuffer expected = CropScaleView(full, 18, 11, 3, 1, 2, 4, second);
            ASSERT_TRUE(expected);
            EXPECT_TRUE(SamePixels(ScaleToTrueColourGdi(src, 18, 11, 3, 1, 2, 4, second), expected,
                                   "gdi_scale_" + std::to_string(bits)));
            EXPECT_TRUE(SamePixels(CropScaleView(src, 18, 11, 3, 1, 2, 4, second), expected,
                                   "crop_scale_indexed"));
        }
    }
}

// Every start column modulo 8 meets every bit alignment of 1- and 4-bit rows; rectangles
// reaching past the right and bottom edges get index 0 there, and so do the tail bits.
TEST(CropRect, KeepsPixelsAndTableWithZeroPastTheEdgesAndInTheTail) {
    for (const int bits : {1, 4, 8, 24}) {
        ImageBuffer src =
            bits == 24 ? test::MakeNoise(21, 9, 3) : test::MakeIndexed(21, 9, bits, 3);
        const std::uint32_t outside = bits == 24 ? 0u : TableColour(src, 0);
        for (int left = 0; left < 9; ++left)
            for (const int right : {left + 1, left + 12, 24}) {
                SCOPED_TRACE(testing::Message() << bits << " bits " << left << ".." << right);
                ImageBuffer out = CropRect(src, left, 2, right, 11);
                ASSERT_EQ(out.BitCount(), bits);
                ASSERT_EQ(out.Width(), right - left);
                ASSERT_EQ(out.Height(), 9);
                for (int y = 0; y < 9; ++y)
                    for (int x = 0; x < right - left; ++x)
                        ASSERT_EQ(ColourAt(out, x, y), left + x < 21 && 2 + y < 9
                                                           ? ColourAt(src, left + x, 2 + y)
                                                           : outside)
                            << x << "," << y;
                if (bits == 24) continue;
                EXPECT_EQ(std::memcmp(out.ColourTable(), src.ColourTable(), 4u << bits), 0);
                const std::size_t used = std::size_t(right - left) * bits;
                for (int r = 0; r < 9; ++r)
                    for (std::size_t b = used; b < std::size_t(out.Stride()) * 8; ++b)
                        ASSERT_EQ((out.StoredRow(r)[b / 8] >> (7 - b % 8)) & 1, 0) << "bit " << b;
            }
    }
}

TEST(CropMargins, AreaStartsAtTheChosenViewsMarginsCountedFromTheBottom) {
    ImageBuffer src = test::MakeImage(6, 5, [](int x, int y) { return (x << 8) | y; });
    // Area (6 − 2 − 1) × (5 − 0 − 2) = 3 × 3: the second view from column 1 and stored
    // row 2 (picture rows 0…2), the first from column 2 and stored row 0 (rows 2…4).
    const auto part = [&](int x0, int y0) {
        return test::MakeImage(3, 3, [&](int x, int y) { return PixelAt(src, x0 + x, y0 + y); });
    };
    EXPECT_TRUE(SamePixels(CropMargins(src, 1, 2, 2, 0, true), part(1, 0)));
    EXPECT_TRUE(SamePixels(CropMargins(src, 1, 2, 2, 0, false), part(2, 2)));
}

TEST(CropScaleView, HandComputedFixedPointSteps) {
    ImageBuffer src = test::MakeImage(10, 6, [](int x, int y) { return (x << 8) | y; });
    // Area 6 × 5 from column 2; W = trunc(6 · 5 / 10) = 3, H = trunc(5 · 3 / 6) = 2.
    // stepX = 2048: columns 2, 4, 6. stepY = 2560 from stored row 1: stored rows 1 and 3,
    // i.e. picture rows 4 and 2.
    EXPECT_TRUE(SamePixels(CropScaleView(src, 5, 3, 2, 0, 2, 1, false),
                           test::MakeImage(3, 2, [](int x, int y) {
                               return std::uint32_t((2 + 2 * x) << 8 | (2 + 2 * y));
                           })));
}

// Half size, odd widths that leave tails after the vector steps, enlargement, starts inside
// the picture, and sizes split over threads (the last one a plain copy): each gives what it
// gave when checked against nearest neighbour in 22.10 fixed point, pixel by pixel.
TEST(CropScaleView, RowRoutinesKeepTheirKnownResults) {
    struct Case {
        int width, height, refW, refH, secondX, secondY, firstX, firstY;
        bool second;
        std::uint64_t digest;
    };
    const Case cases[] = {
        {64, 20, 32, 10, 0, 0, 0, 0, false, 0x9314951FC9884E51},
        {101, 11, 50, 5, 3, 1, 2, 0, true, 0xD7416D58FB2F2796},
        {101, 11, 50, 5, 3, 1, 2, 0, false, 0x96727F100BDFAB0F},
        {17, 5, 61, 19, 1, 0, 0, 1, true, 0x67593466942D2612},
        {2800, 1601, 1400, 800, 0, 0, 0, 0, false, 0x47D9D4BA67B07154},
        {1100, 1000, 1100, 1000, 0, 0, 0, 0, true, 0x64E2C977E936F420},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        ImageBuffer src = test::MakeNoise(c.width, c.height, static_cast<std::uint32_t>(c.width));
        ImageBuffer out =
            CropScaleView(src, c.refW, c.refH, c.secondX, c.secondY, c.firstX, c.firstY, c.second);
        ASSERT_TRUE(out);
        const int areaW = c.width - c.firstX - c.secondX;
        EXPECT_EQ(out.Width(), static_cast<int>(static_cast<double>(areaW) * c.refW / c.width));
        EXPECT_EQ(test::PixelDigest(out), c.digest);
        EXPECT_TRUE(SamePixels(ScaleToTrueColourGdi(src, c.refW, c.refH, c.secondX, c.secondY,
                                                    c.firstX, c.firstY, c.second),
                               out, "gdi_scale_24"));
    }
}

TEST(WrapView, WalksRoundBothEdges) {
    // 4 × 3, colour = column << 8 | stored row.
    ImageBuffer src = test::MakeImage(4, 3, [](int x, int y) { return (x << 8) | (2 - y); });
    const auto at = [](const ImageBuffer& image, int x, int storedRow) {
        return PixelAt(image, x, image.Height() - 1 - storedRow);
    };
    // Start column 6 is past the width: it becomes 2; columns 2 3 0 1. Rows from 1: 1 2 0.
    ImageBuffer out = WrapView(src, 4, 3, 0, 0, 6, 1, false);
    ASSERT_TRUE(out);
    const int cols[4] = {2, 3, 0, 1}, rows[3] = {1, 2, 0};
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(at(out, i, j), std::uint32_t(cols[i] << 8 | rows[j])) << i << "," << j;
    // Twice the width from column 3 (the second view's start): step 512, columns
    // 3 3 4 4 5 5 6 6 wrap to 3 3 0 0 1 1 2 2; start row 4 is past the height: row 1.
    ImageBuffer wide = WrapView(src, 8, 1, 3, 4, 0, 0, true);
    ASSERT_TRUE(wide);
    const int wideCols[8] = {3, 3, 0, 0, 1, 1, 2, 2};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(at(wide, i, 0), std::uint32_t(wideCols[i] << 8 | 1));
    // A start of exactly the width is the first column; exactly two turns is still allowed.
    ImageBuffer exact = WrapView(src, 2, 1, 4, 3, 0, 0, true);
    ASSERT_TRUE(exact);
    EXPECT_EQ(at(exact, 0, 0), 0u);
    EXPECT_EQ(at(exact, 1, 0), 2u << 8);
    EXPECT_TRUE(WrapView(src, 4, 3, 0, 0, 8, 6, false));
    // Indexed pictures go as the device conversion: (12 − 4) × 6 / 12 = 4 wide.
    ImageBuffer indexed = test::MakeIndexed(12, 8, 8, 9);
    ImageBuffer scaled = WrapView(indexed, 6, 4, 2, 0, 2, 0, false);
    EXPECT_EQ(scaled.Width(), 4);
    EXPECT_TRUE(SamePixels(scaled, ScaleToTrueColourGdi(indexed, 6, 4, 2, 0, 2, 0, false)));
}

TEST(Conversions, BadInputGivesNothing) {
    const ImageBuffer none, noise = test::MakeNoise(20, 10, 4);
    const ImageBuffer indexed = test::MakeIndexed(20, 10, 4, 1);
    EXPECT_FALSE(ToTrueColour(noise));
    EXPECT_FALSE(CropRect(indexed, 3, 3, 3, 5));      // no width
    EXPECT_FALSE(CropRect(indexed, 3, 5, 6, 2));      // upside down
    EXPECT_FALSE(CropRect(indexed, -1, 0, 4, 4));     // negative
    EXPECT_FALSE(CropRect(indexed, 20, 0, 24, 4));    // starts past the right edge
    EXPECT_FALSE(CropRect(indexed, 0, 0, 70000, 4));  // beyond the size limit
    EXPECT_FALSE(CentreOnCanvas(noise, 0, 4));
    EXPECT_FALSE(CropMargins(noise, 10, 0, 10, 0, true));                  // nothing left
    EXPECT_FALSE(CropMargins(noise, -2, 0, 3, 0, true));                   // negative start
    EXPECT_FALSE(CropMargins(noise, 2147483647, 0, 2147483647, 0, true));  // overflow
    EXPECT_FALSE(CropScaleView(noise, 0, 10, 0, 0, 0, 0, false));          // output width 0
    EXPECT_FALSE(CropScaleView(noise, 20, 1, 0, 5, 0, 0, false));          // trunc(5 / 10) = 0
    EXPECT_FALSE(CropScaleView(noise, 20, 10, 0, 0, 2000000000, 0, true));
    EXPECT_FALSE(ScaleToTrueColourGdi(indexed, 20, 10, 25, 0, 0, 0, true));
    EXPECT_FALSE(WrapView(noise, 10, 0, 0, 0, 0, 0, false));
    EXPECT_FALSE(WrapView(noise, 10, 6, 0, 0, 41, 0, false));  // more than two turns out
    EXPECT_FALSE(WrapView(noise, 10, 6, -1, 0, 0, 0, true));
    // No picture, or a 16-bit one, is refused by every conversion.
    ImageBuffer odd = CreateImage(8, 8, 8);
    odd.Data()[14] = 16;
    for (const ImageBuffer* bad : {&none, static_cast<const ImageBuffer*>(&odd)}) {
        EXPECT_FALSE(ToTrueColour(*bad));
        EXPECT_FALSE(CropRect(*bad, 0, 0, 4, 4));
        EXPECT_FALSE(CentreOnCanvas(*bad, 4, 4));
        EXPECT_FALSE(CropMargins(*bad, 0, 0, 0, 0, true));
        EXPECT_FALSE(ScaleToTrueColourGdi(*bad, 8, 8, 0, 0, 0, 0, true));
        EXPECT_FALSE(CropScaleView(*bad, 8, 8, 0, 0, 0, 0, true));
        EXPECT_FALSE(WrapView(*bad, 8, 8, 0, 0, 0, 0, true));
    }
}

}  // namespace
}  // namespace duplora
