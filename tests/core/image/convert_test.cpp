#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/image/convert.h"
#include "core/image/image_buffer.h"
#include "support/test_support.h"

namespace duplora {
namespace {

std::uint32_t TableColour(const ImageBuffer& image, int index) {
    const std::uint8_t* e = image.ColourTable() + index * 4;
    return e[0] | (e[1] << 8) | (e[2] << 16);
}

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
        case 1: {
            const int shift = 7 - (x & 7);
            row[x / 8] = static_cast<std::uint8_t>((row[x / 8] & ~(1 << shift)) | (v << shift));
            break;
        }
    }
}

void SetTableColour(ImageBuffer& image, int index, std::uint32_t rgb) {
    std::uint8_t* e = image.ColourTable() + index * 4;
    e[0] = rgb & 0xFF;
    e[1] = (rgb >> 8) & 0xFF;
    e[2] = (rgb >> 16) & 0xFF;
}

// Nearest neighbour in 22.10 fixed point, pixel by pixel, as the oracle for the row
// routines. Rows are counted from the bottom.
ImageBuffer ReferenceScale(const ImageBuffer& src24, int x0, int y0, int areaW, int areaH, int outW,
                           int outH) {
    ImageBuffer out = CreateImage(outW, outH, 24);
    const std::int64_t stepX = std::int64_t{areaW} * 1024 / outW;
    const std::int64_t stepY = std::int64_t{areaH} * 1024 / outH;
    for (int j = 0; j < outH; ++j) {
        const int sy = static_cast<int>((std::int64_t{y0} * 1024 + j * stepY) >> 10);
        for (int i = 0; i < outW; ++i) {
            const int sx = static_cast<int>((std::int64_t{x0} * 1024 + i * stepX) >> 10);
            std::memcpy(out.StoredRow(j) + i * 3, src24.StoredRow(sy) + sx * 3, 3);
        }
    }
    return out;
}

// ---- ToTrueColour -------------------------------------------------------------------

class IndexedDepth : public ::testing::TestWithParam<int> {};

TEST_P(IndexedDepth, ToTrueColourLooksUpEveryPixel) {
    const int bits = GetParam();
    for (const int width : {1, 7, 9, 33}) {
        ImageBuffer src = test::MakeIndexed(width, 5, bits, 40 + width);
        ImageBuffer out = ToTrueColour(src);
        ASSERT_TRUE(out);
        ASSERT_EQ(out.BitCount(), 24);
        ASSERT_EQ(out.Width(), width);
        ASSERT_EQ(out.Height(), 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(test::PixelAt(out, x, y), TableColour(src, test::IndexAt(src, x, y)))
                    << bits << " bits, " << x << "," << y;
        // Row padding of the result stays zero.
        const std::size_t used = static_cast<std::size_t>(width) * 3;
        for (int r = 0; r < 5; ++r)
            for (std::size_t b = used; b < static_cast<std::size_t>(out.Stride()); ++b)
                ASSERT_EQ(out.StoredRow(r)[b], 0);
    }
}

TEST_P(IndexedDepth, ScaleToTrueColourGdiMatchesScalingTheLookedUpPicture) {
    const int bits = GetParam();
    ImageBuffer src = test::MakeIndexed(37, 23, bits, 7);
    ImageBuffer full = ToTrueColour(src);
    struct Case {
        int refW, refH, secondX, secondY, firstX, firstY;
        bool second;
    };
    for (const Case& c : {Case{37, 23, 0, 0, 0, 0, false}, Case{18, 11, 3, 1, 2, 4, true},
                          Case{60, 50, 5, 2, 1, 0, false}, Case{9, 23, 0, 0, 0, 0, true}}) {
        ImageBuffer a = ScaleToTrueColourGdi(src, c.refW, c.refH, c.secondX, c.secondY, c.firstX,
                                             c.firstY, c.second);
        ImageBuffer b =
            CropScaleView(full, c.refW, c.refH, c.secondX, c.secondY, c.firstX, c.firstY, c.second);
        ASSERT_TRUE(a);
        EXPECT_TRUE(test::SamePixels(a, b, "gdi_scale_" + std::to_string(bits)));
        // The indexed source goes the same way through CropScaleView.
        EXPECT_TRUE(test::SamePixels(
            CropScaleView(src, c.refW, c.refH, c.secondX, c.secondY, c.firstX, c.firstY, c.second),
            b, "crop_scale_indexed"));
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, IndexedDepth, ::testing::Values(1, 4, 8));

TEST(ToTrueColour, HandComputedOneBitRowAcrossAByte) {
    ImageBuffer src = CreateImage(10, 1, 1);
    SetTableColour(src, 0, 0x102030);
    SetTableColour(src, 1, 0xA0B0C0);
    src.Line(0)[0] = 0b10000001;  // pixels 0 and 7
    src.Line(0)[1] = 0b01000000;  // pixel 9
    ImageBuffer out = ToTrueColour(src);
    ASSERT_TRUE(out);
    const std::uint32_t expect[10] = {0xA0B0C0, 0x102030, 0x102030, 0x102030, 0x102030,
                                      0x102030, 0x102030, 0xA0B0C0, 0x102030, 0xA0B0C0};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(test::PixelAt(out, x, 0), expect[x]) << x;
}

TEST(ToTrueColour, IndicesPastAShortTableAreBlack) {
    ImageBuffer src = CreateImage(3, 1, 8);
    SetTableColour(src, 0, 0x112233);
    SetTableColour(src, 1, 0x445566);
    SetTableColour(src, 200, 0x778899);
    src.SetColoursUsed(2);  // the table now holds two entries; the pixels follow them
    src.Pixels()[0] = 1;
    src.Pixels()[1] = 0;
    src.Pixels()[2] = 200;
    ImageBuffer out = ToTrueColour(src);
    ASSERT_TRUE(out);
    EXPECT_EQ(test::PixelAt(out, 0, 0), 0x445566u);
    EXPECT_EQ(test::PixelAt(out, 1, 0), 0x112233u);
    EXPECT_EQ(test::PixelAt(out, 2, 0), 0u);
}

TEST(ToTrueColour, OnlyForIndexedPictures) {
    EXPECT_FALSE(ToTrueColour(ImageBuffer{}));
    EXPECT_FALSE(ToTrueColour(test::MakeNoise(4, 4, 1)));
}

// ---- CropRect ------------------------------------------------------------------------

class CropRectDepth : public ::testing::TestWithParam<int> {};

TEST_P(CropRectDepth, CopiesTheRectangleAndTheTable) {
    const int bits = GetParam();
    ImageBuffer src = bits == 24 ? test::MakeNoise(21, 9, 3) : test::MakeIndexed(21, 9, bits, 3);
    // Every start column modulo 8, so every bit alignment of 1- and 4-bit rows is met.
    for (int left = 0; left < 9; ++left) {
        for (const int right : {left + 1, left + 5, left + 12, 21}) {
            if (right > 21 || right <= left) continue;
            ImageBuffer out = CropRect(src, left, 2, right, 7);
            ASSERT_TRUE(out);
            ASSERT_EQ(out.BitCount(), bits);
            ASSERT_EQ(out.Width(), right - left);
            ASSERT_EQ(out.Height(), 5);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < right - left; ++x) {
                    if (bits == 24)
                        ASSERT_EQ(test::PixelAt(out, x, y), test::PixelAt(src, left + x, 2 + y));
                    else
                        ASSERT_EQ(test::IndexAt(out, x, y), test::IndexAt(src, left + x, 2 + y))
                            << left << ".." << right << " at " << x << "," << y;
                }
            if (bits <= 8) {
                EXPECT_EQ(std::memcmp(out.ColourTable(), src.ColourTable(), 4u << bits), 0);
                // Bits after the last pixel of each row stay zero.
                const std::size_t usedBits = static_cast<std::size_t>(right - left) * bits;
                for (int r = 0; r < 5; ++r) {
                    const std::uint8_t* row = out.StoredRow(r);
                    for (std::size_t b = usedBits; b < static_cast<std::size_t>(out.Stride()) * 8;
                         ++b)
                        ASSERT_EQ((row[b / 8] >> (7 - b % 8)) & 1, 0) << "bit " << b;
                }
            }
        }
    }
}

TEST_P(CropRectDepth, PartPastTheRightAndBottomEdgesIsIndexZero) {
    const int bits = GetParam();
    ImageBuffer src = bits == 24 ? test::MakeNoise(6, 4, 5) : test::MakeIndexed(6, 4, bits, 5);
    ImageBuffer out = CropRect(src, 3, 1, 10, 7);
    ASSERT_TRUE(out);
    ASSERT_EQ(out.Width(), 7);
    ASSERT_EQ(out.Height(), 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x) {
            const bool inside = x < 3 && y < 3;
            if (bits == 24)
                EXPECT_EQ(test::PixelAt(out, x, y), inside ? test::PixelAt(src, 3 + x, 1 + y) : 0u);
            else
                EXPECT_EQ(test::IndexAt(out, x, y), inside ? test::IndexAt(src, 3 + x, 1 + y) : 0);
        }
}

INSTANTIATE_TEST_SUITE_P(Depths, CropRectDepth, ::testing::Values(1, 4, 8, 24));

TEST(CropRect, HandComputedSubBytePixels) {
    // 4 bits: indices 1 2 3 4 5 are bytes 12 34 50; columns 1..3 become 23 40.
    ImageBuffer four = CreateImage(5, 1, 4);
    four.Line(0)[0] = 0x12;
    four.Line(0)[1] = 0x34;
    four.Line(0)[2] = 0x50;
    ImageBuffer a = CropRect(four, 1, 0, 4, 1);
    ASSERT_TRUE(a);
    EXPECT_EQ(a.Line(0)[0], 0x23);
    EXPECT_EQ(a.Line(0)[1], 0x40);
    // 1 bit: 1011 0011 1100; columns 3..11 are 1 0011 1100 = 1001 1110 0.......
    ImageBuffer one = CreateImage(12, 1, 1);
    one.Line(0)[0] = 0b10110011;
    one.Line(0)[1] = 0b11000000;
    ImageBuffer b = CropRect(one, 3, 0, 12, 1);
    ASSERT_TRUE(b);
    EXPECT_EQ(b.Line(0)[0], 0b10011110);
    EXPECT_EQ(b.Line(0)[1], 0);
}

TEST(CropRect, RectanglesThatCannotBeCutGiveNothing) {
    ImageBuffer src = test::MakeIndexed(8, 8, 4, 1);
    EXPECT_FALSE(CropRect(ImageBuffer{}, 0, 0, 2, 2));
    EXPECT_FALSE(CropRect(src, 3, 3, 3, 5));   // no width
    EXPECT_FALSE(CropRect(src, 3, 5, 6, 2));   // upside down
    EXPECT_FALSE(CropRect(src, -1, 0, 4, 4));  // negative
    EXPECT_FALSE(CropRect(src, 0, -2, 4, 4));
    EXPECT_FALSE(CropRect(src, 8, 0, 12, 4));     // starts past the right edge
    EXPECT_FALSE(CropRect(src, 0, 9, 4, 12));     // starts below the picture
    EXPECT_FALSE(CropRect(src, 0, 0, 70000, 4));  // beyond the size limit
}

// ---- CentreOnCanvas ------------------------------------------------------------------

TEST(CentreOnCanvas, LargerCanvasIsBlackAroundThePicture) {
    ImageBuffer src = test::MakeImage(3, 2, [](int x, int y) { return 0x100000u | (x << 8) | y; });
    ImageBuffer out = CentreOnCanvas(src, 8, 5);
    ASSERT_TRUE(out);
    ASSERT_EQ(out.BitCount(), 24);
    // Corner at ((8 - 3) / 2, (5 - 2) / 2) = (2, 1).
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
            EXPECT_EQ(test::PixelAt(out, x, y), inside ? test::PixelAt(src, x - 2, y - 1) : 0u)
                << x << "," << y;
        }
}

TEST(CentreOnCanvas, SmallerCanvasShowsTheCentre) {
    ImageBuffer src = test::MakeImage(9, 7, [](int x, int y) { return (x << 8) | y; });
    // (4 - 9) / 2 = -2 and (3 - 7) / 2 = -2 (toward zero): canvas (0, 0) is picture (2, 2).
    ImageBuffer out = CentreOnCanvas(src, 4, 3);
    ASSERT_TRUE(out);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(test::PixelAt(out, x, y), test::PixelAt(src, x + 2, y + 2));
    // Odd differences round toward zero: (2 - 5) / 2 = -1.
    ImageBuffer small =
        CentreOnCanvas(test::MakeImage(5, 5, [](int x, int y) { return (x << 8) | y; }), 2, 2);
    ASSERT_TRUE(small);
    EXPECT_EQ(test::PixelAt(small, 0, 0), (1u << 8) | 1u);
    EXPECT_EQ(test::PixelAt(small, 1, 1), (2u << 8) | 2u);
}

TEST(CentreOnCanvas, IndexedPictureIsLookedUpAndMixedSizesClip) {
    ImageBuffer src = test::MakeIndexed(5, 2, 4, 11);
    // Wider than the canvas, lower than it: clipped left and right, black above and below.
    ImageBuffer out = CentreOnCanvas(src, 3, 6);
    ASSERT_TRUE(out);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 3; ++x) {
            const bool inside = y >= 2 && y < 4;
            EXPECT_EQ(test::PixelAt(out, x, y),
                      inside ? TableColour(src, test::IndexAt(src, x + 1, y - 2)) : 0u);
        }
}

TEST(CentreOnCanvas, NoCanvasOrNoPictureGivesNothing) {
    ImageBuffer src = test::MakeNoise(4, 4, 2);
    EXPECT_FALSE(CentreOnCanvas(src, 0, 4));
    EXPECT_FALSE(CentreOnCanvas(src, 4, -1));
    EXPECT_FALSE(CentreOnCanvas(ImageBuffer{}, 4, 4));
}

// ---- CropMargins ---------------------------------------------------------------------

TEST(CropMargins, AreaStartsAtTheChosenViewsMarginsCountedFromTheBottom) {
    ImageBuffer src = test::MakeImage(6, 5, [](int x, int y) { return (x << 8) | y; });
    // Area (6 - 2 - 1) × (5 - 0 - 2) = 3 × 3.
    ImageBuffer second = CropMargins(src, 1, 2, 2, 0, true);
    ImageBuffer first = CropMargins(src, 1, 2, 2, 0, false);
    ASSERT_TRUE(second);
    ASSERT_TRUE(first);
    ASSERT_EQ(second.Width(), 3);
    ASSERT_EQ(second.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            // Column 1, stored rows 2..4 = picture rows 0..2.
            EXPECT_EQ(test::PixelAt(second, x, y), test::PixelAt(src, 1 + x, y));
            // Column 2, stored rows 0..2 = picture rows 2..4.
            EXPECT_EQ(test::PixelAt(first, x, y), test::PixelAt(src, 2 + x, 2 + y));
        }
}

TEST(CropMargins, IndexedSourceGivesTrueColour) {
    ImageBuffer src = test::MakeIndexed(11, 4, 1, 6);
    ImageBuffer out = CropMargins(src, 3, 1, 2, 0, false);
    ASSERT_TRUE(out);
    ASSERT_EQ(out.Width(), 6);
    ASSERT_EQ(out.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(test::PixelAt(out, x, y), TableColour(src, test::IndexAt(src, 2 + x, 1 + y)));
}

TEST(CropMargins, MarginsOutsideThePictureGiveNothing) {
    ImageBuffer src = test::MakeNoise(10, 10, 4);
    EXPECT_FALSE(CropMargins(src, 5, 0, 5, 0, true));    // nothing left
    EXPECT_FALSE(CropMargins(src, -2, 0, 3, 0, true));   // negative start
    EXPECT_FALSE(CropMargins(src, 0, 0, -3, 0, false));  // area past the right edge
    EXPECT_FALSE(CropMargins(src, 0, 40000, 0, 0, true));
    EXPECT_FALSE(CropMargins(src, 2147483647, 0, 2147483647, 0, true));
    EXPECT_FALSE(CropMargins(ImageBuffer{}, 0, 0, 0, 0, true));
}

// ---- CropScaleView and ScaleToTrueColourGdi ------------------------------------------

TEST(CropScaleView, RowRoutinesMatchThePixelRule) {
    struct Case {
        int width, height, refW, refH, secondX, secondY, firstX, firstY;
        bool second;
    };
    // Half size (every other column), plain copies, other shrinks and enlargements, odd
    // widths that leave tails after the vector steps, and starts inside the picture.
    const Case cases[] = {
        {64, 20, 32, 10, 0, 0, 0, 0, false},
        {67, 9, 33, 4, 0, 0, 0, 0, false},
        {101, 11, 50, 5, 3, 1, 2, 0, true},
        {101, 11, 50, 5, 3, 1, 2, 0, false},
        {40, 30, 27, 13, 0, 0, 0, 0, false},
        {17, 5, 61, 19, 1, 0, 0, 1, true},
        {90, 8, 90, 8, 4, 2, 5, 1, true},
        {3, 3, 1, 1, 0, 0, 0, 0, false},
        {70, 6, 35, 3, 1, 0, 3, 0, false},
        {37, 4, 19, 2, 2, 0, 1, 0, true},
        // Large enough to be split over threads.
        {2800, 1601, 1400, 800, 0, 0, 0, 0, false},
        {1100, 1000, 1100, 1000, 0, 0, 0, 0, true},
    };
    for (const Case& c : cases) {
        ImageBuffer src = test::MakeNoise(c.width, c.height, static_cast<std::uint32_t>(c.width));
        ImageBuffer out =
            CropScaleView(src, c.refW, c.refH, c.secondX, c.secondY, c.firstX, c.firstY, c.second);
        ASSERT_TRUE(out);
        const int areaW = c.width - c.firstX - c.secondX;
        const int areaH = c.height - c.firstY - c.secondY;
        ImageBuffer expected =
            ReferenceScale(src, c.second ? c.secondX : c.firstX, c.second ? c.secondY : c.firstY,
                           areaW, areaH, out.Width(), out.Height());
        EXPECT_EQ(out.Width(), static_cast<int>(static_cast<double>(areaW) * c.refW / c.width));
        EXPECT_TRUE(test::SamePixels(out, expected, "crop_scale_" + std::to_string(c.width)));
        EXPECT_TRUE(test::SamePixels(ScaleToTrueColourGdi(src, c.refW, c.refH, c.secondX, c.secondY,
                                                          c.firstX, c.firstY, c.second),
                                     expected, "gdi_scale_24"));
    }
}

TEST(ScaleToTrueColourGdi, HandComputedFourBitShrink) {
    // Indices 0..7 in the top row, 7..0 in the bottom row.
    ImageBuffer src = CreateImage(8, 2, 4);
    for (int i = 0; i < 8; ++i) SetTableColour(src, i, 0x010101u * (i * 16));
    for (int x = 0; x < 8; ++x) {
        SetIndex(src, x, 0, x);
        SetIndex(src, x, 1, 7 - x);
    }
    // W = trunc((8 - 1 - 1) * 3 / 8) = 2, H = trunc(2 * 1 / 2) = 1: stepX = 6144 / 2 = 3072
    // from column 1: columns 1, 4; stepY = 2048 from stored row 0 (the bottom picture row).
    ImageBuffer out = ScaleToTrueColourGdi(src, 3, 1, 1, 0, 1, 0, true);
    ASSERT_TRUE(out);
    ASSERT_EQ(out.Width(), 2);
    ASSERT_EQ(out.Height(), 1);
    EXPECT_EQ(test::PixelAt(out, 0, 0), 0x606060u);  // bottom row, column 1: index 6
    EXPECT_EQ(test::PixelAt(out, 1, 0), 0x303030u);  // column 4: index 3
}

TEST(ScaleToTrueColourGdi, ZeroSizesAndBadAreasGiveNothing) {
    ImageBuffer src = test::MakeIndexed(20, 10, 8, 2);
    EXPECT_FALSE(ScaleToTrueColourGdi(src, 0, 10, 0, 0, 0, 0, false));
    EXPECT_FALSE(ScaleToTrueColourGdi(src, 20, 1, 0, 5, 0, 0, false));  // trunc(5/10) = 0
    EXPECT_FALSE(ScaleToTrueColourGdi(src, 20, 10, 25, 0, 0, 0, true));
    EXPECT_FALSE(ScaleToTrueColourGdi(src, 20, 10, 0, 0, 2000000000, 0, true));
    EXPECT_FALSE(ScaleToTrueColourGdi(src, -20, 10, 0, 0, 0, 0, true));
    EXPECT_FALSE(ScaleToTrueColourGdi(ImageBuffer{}, 20, 10, 0, 0, 0, 0, true));
}

// ---- WrapView ------------------------------------------------------------------------

TEST(WrapView, WalksRoundBothEdges) {
    // 4 × 3, colour = column << 8 | stored row.
    ImageBuffer src = test::MakeImage(4, 3, [](int x, int y) { return (x << 8) | (2 - y); });
    auto at = [](const ImageBuffer& image, int x, int storedRow) {
        return test::PixelAt(image, x, image.Height() - 1 - storedRow);
    };
    // Start column 6 is past the width: it becomes 2; columns 2 3 0 1. Rows from 1: 1 2 0.
    ImageBuffer out = WrapView(src, 4, 3, 0, 0, 6, 1, false);
    ASSERT_TRUE(out);
    const int cols[4] = {2, 3, 0, 1}, rows[3] = {1, 2, 0};
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(at(out, i, j), static_cast<std::uint32_t>(cols[i] << 8 | rows[j]))
                << i << "," << j;
    // Twice the width from column 3 (the second view's start): step 512, columns
    // 3 3 4 4 5 5 6 6 wrap to 3 3 0 0 1 1 2 2; start row 4 is past the height: row 1.
    ImageBuffer wide = WrapView(src, 8, 1, 3, 4, 0, 0, true);
    ASSERT_TRUE(wide);
    const int wideCols[8] = {3, 3, 0, 0, 1, 1, 2, 2};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(at(wide, i, 0), static_cast<std::uint32_t>(wideCols[i] << 8 | 1));
    // A start of exactly the width is the first column.
    ImageBuffer exact = WrapView(src, 2, 1, 4, 3, 0, 0, true);
    ASSERT_TRUE(exact);
    EXPECT_EQ(at(exact, 0, 0), (0u << 8) | 0u);
    EXPECT_EQ(at(exact, 1, 0), (2u << 8) | 0u);
}

TEST(WrapView, ZeroSizeAndFarStartsGiveNothing) {
    ImageBuffer src = test::MakeNoise(10, 6, 8);
    EXPECT_FALSE(WrapView(src, 0, 6, 0, 0, 0, 0, false));
    EXPECT_FALSE(WrapView(src, 10, 0, 0, 0, 0, 0, false));
    EXPECT_FALSE(WrapView(src, 10, 6, 0, 0, 21, 0, false));  // more than two widths out
    EXPECT_FALSE(WrapView(src, 10, 6, 0, 13, 0, 0, true));
    EXPECT_FALSE(WrapView(src, 10, 6, -1, 0, 0, 0, true));
    EXPECT_FALSE(WrapView(ImageBuffer{}, 10, 6, 0, 0, 0, 0, true));
    EXPECT_TRUE(WrapView(src, 10, 6, 0, 0, 20, 12, false));  // exactly two turns
}

TEST(WrapView, IndexedPicturesAreScaledLikeTheDeviceConversion) {
    ImageBuffer src = test::MakeIndexed(12, 8, 8, 9);
    ImageBuffer out = WrapView(src, 6, 4, 2, 0, 2, 0, false);
    // Same as ScaleToTrueColourGdi with the output size as reference: (12 - 4) × 6 / 12 = 4.
    EXPECT_TRUE(test::SamePixels(out, ScaleToTrueColourGdi(src, 6, 4, 2, 0, 2, 0, false)));
    ASSERT_TRUE(out);
    EXPECT_EQ(out.Width(), 4);
}

// ---- bad pictures --------------------------------------------------------------------

TEST(Conversions, UnsupportedDepthGivesNothing) {
    ImageBuffer odd = CreateImage(8, 8, 8);
    const std::uint16_t sixteen = 16;
    std::memcpy(odd.Data() + 14, &sixteen, 2);
    EXPECT_FALSE(ToTrueColour(odd));
    EXPECT_FALSE(CropRect(odd, 0, 0, 4, 4));
    EXPECT_FALSE(CentreOnCanvas(odd, 4, 4));
    EXPECT_FALSE(CropMargins(odd, 0, 0, 0, 0, true));
    EXPECT_FALSE(ScaleToTrueColourGdi(odd, 8, 8, 0, 0, 0, 0, true));
    EXPECT_FALSE(CropScaleView(odd, 8, 8, 0, 0, 0, 0, true));
    EXPECT_FALSE(WrapView(odd, 8, 8, 0, 0, 0, 0, true));
}

}  // namespace
}  // namespace duplora
