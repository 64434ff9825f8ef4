#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "core/image/convert.h"
#include "core/image/image_buffer.h"
#include "core/image/luminance.h"
#include "support/test_support.h"

namespace duplora {
namespace {

TEST(RowBytes, StrideForEveryDepth) {
    EXPECT_EQ(RowBytes(13, 24), 40);
    EXPECT_EQ(RowBytes(13, 1), 4);
    EXPECT_EQ(RowBytes(33, 1), 8);
    EXPECT_EQ(RowBytes(9, 4), 8);
    EXPECT_EQ(RowBytes(5, 8), 8);
    EXPECT_EQ(RowBytes(4, 24), 12);
    EXPECT_EQ(RowBytes(10, 16), 0);
    EXPECT_EQ(RowBytes(10, 32), 0);
    EXPECT_EQ(RowBytes(0, 24), 0);
}

TEST(CreateImage, WritesHeaderAndZeroedPixels) {
    ImageBuffer image = CreateImage(13, 3, 24);
    ASSERT_TRUE(image);
    const std::uint8_t* p = image.Data();
    std::uint32_t headerSize;
    std::int32_t width, height;
    std::uint16_t planes, bits;
    std::memcpy(&headerSize, p, 4);
    std::memcpy(&width, p + 4, 4);
    std::memcpy(&height, p + 8, 4);
    std::memcpy(&planes, p + 12, 2);
    std::memcpy(&bits, p + 14, 2);
    EXPECT_EQ(headerSize, 40u);
    EXPECT_EQ(width, 13);
    EXPECT_EQ(height, 3);
    EXPECT_EQ(planes, 1);
    EXPECT_EQ(bits, 24);
    for (int i = 16; i < 40; ++i) EXPECT_EQ(p[i], 0) << i;
    EXPECT_EQ(image.Pixels(), p + 40);
    EXPECT_EQ(image.ByteSize(), 40u + 40u * 3);
    for (std::size_t i = 40; i < image.ByteSize(); ++i) ASSERT_EQ(p[i], 0);
}

TEST(CreateImage, DepthsAndRefusals) {
    EXPECT_EQ(CreateImage(4, 4, 32).BitCount(), 24);  // 9 bits or more become 24
    EXPECT_EQ(CreateImage(4, 4, 16).BitCount(), 24);
    EXPECT_EQ(CreateImage(4, 4, 8).ColourCount(), 256);
    EXPECT_EQ(CreateImage(4, 4, 4).ColourCount(), 16);
    EXPECT_EQ(CreateImage(4, 4, 1).ColourCount(), 2);
    ImageBuffer mono = CreateImage(4, 4, 1);
    EXPECT_EQ(mono.Pixels(), mono.Data() + 40 + 8);
    EXPECT_FALSE(CreateImage(0, 4, 24));
    EXPECT_FALSE(CreateImage(4, 0, 24));
    EXPECT_FALSE(CreateImage(-3, 4, 24));
    EXPECT_FALSE(CreateImage(4, 4, 2));
    EXPECT_FALSE(CreateImage(4, 4, 0));
    EXPECT_FALSE(CreateImage(65536, 1, 24));
    EXPECT_FALSE(CreateImage(40000, 40000, 24));  // 4.8 GB of pixels
    EXPECT_TRUE(CreateImage(65535, 1, 24));
}

TEST(CreateImage, OverwriteVariantClearsHeaderAndPadding) {
    // Reuse of a dirty block must not leak old bytes into header, table or padding.
    {
        ImageBuffer dirty = CreateImage(1001, 1001, 24);
        std::memset(dirty.Data(), 0xAB, dirty.ByteSize());
    }
    ImageBuffer image = CreateImageForOverwrite(1001, 1001, 24);
    ASSERT_TRUE(image);
    EXPECT_EQ(image.Width(), 1001);
    for (int row = 0; row < image.Height(); ++row)
        ASSERT_EQ(image.StoredRow(row)[3003], 0) << row;
}

TEST(DuplicateImage, CopiesEveryByteAndKeepsDepth) {
    for (int bits : {1, 4, 8}) {
        ImageBuffer src = test::MakeIndexed(37, 11, bits, 7);
        ImageBuffer copy = DuplicateImage(src);
        ASSERT_TRUE(copy);
        ASSERT_EQ(copy.ByteSize(), src.ByteSize());
        EXPECT_EQ(std::memcmp(copy.Data(), src.Data(), src.ByteSize()), 0) << bits;
    }
    ImageBuffer src = test::MakeNoise(37, 11, 3);
    EXPECT_TRUE(test::SamePixels(DuplicateImage(src), src));
    EXPECT_TRUE(test::SamePixels(DuplicateTrueColour(src), src));
    EXPECT_FALSE(DuplicateImage(ImageBuffer{}));
    EXPECT_FALSE(DuplicateTrueColour(test::MakeIndexed(4, 4, 8, 1)));
}

TEST(ImageBuffer, MoveTransfersOwnership) {
    ImageBuffer a = CreateImage(5, 5, 24);
    const std::uint8_t* data = a.Data();
    ImageBuffer b = std::move(a);
    EXPECT_FALSE(a);
    EXPECT_EQ(b.Data(), data);
    a = std::move(b);
    EXPECT_EQ(a.Data(), data);
    a = CreateImage(2, 2, 8);
    EXPECT_EQ(a.BitCount(), 8);
}

TEST(Accessors, MissingPictureTellsOnlyForWidth) {
    std::vector<std::string> shown;
    auto old = SetMessageSink([&](std::string_view text, std::string_view caption, MessageIcon) {
        shown.push_back(std::string(text) + "|" + std::string(caption));
    });
    ImageBuffer none;
    EXPECT_EQ(ImageWidth(none), 0);
    EXPECT_EQ(ImageHeight(none), 0);
    EXPECT_EQ(ImageBitCount(none), 0);
    EXPECT_EQ(ImageHeaderSize(none), 0u);
    EXPECT_EQ(ImagePixels(none), nullptr);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Kann BMP Datei nicht erstellen.|FEHLER");
    EXPECT_EQ(ImageWidth(none), 0);
    EXPECT_EQ(shown.size(), 2u);
    SetMessageSink(old);
}

TEST(FromPacked, AcceptsWellFormedAndRefusesLiesAboutSize) {
    ImageBuffer src = test::MakeIndexed(9, 5, 4, 11);
    ImageBuffer copy = ImageBuffer::FromPacked(src.Data(), src.ByteSize());
    ASSERT_TRUE(copy);
    EXPECT_EQ(std::memcmp(copy.Data(), src.Data(), src.ByteSize()), 0);
    EXPECT_FALSE(ImageBuffer::FromPacked(src.Data(), src.ByteSize() - 1));
    EXPECT_FALSE(ImageBuffer::FromPacked(src.Data(), 39));
    EXPECT_FALSE(ImageBuffer::FromPacked(nullptr, 1000));

    std::vector<std::uint8_t> bytes(src.Data(), src.Data() + src.ByteSize());
    std::int32_t huge = 60000;
    std::memcpy(bytes.data() + 4, &huge, 4);
    std::memcpy(bytes.data() + 8, &huge, 4);
    EXPECT_FALSE(ImageBuffer::FromPacked(bytes.data(), bytes.size()));
    std::uint32_t manyColours = 100000;
    std::memcpy(bytes.data() + 4, &(src.Data()[4]), 8);
    std::memcpy(bytes.data() + 32, &manyColours, 4);
    EXPECT_FALSE(ImageBuffer::FromPacked(bytes.data(), bytes.size()));
}

TEST(FromPacked, TopDownRowsAreTurned) {
    ImageBuffer src = test::MakeNoise(6, 4, 5);
    std::vector<std::uint8_t> bytes(src.Data(), src.Data() + src.ByteSize());
    std::int32_t negative = -4;
    std::memcpy(bytes.data() + 8, &negative, 4);
    ImageBuffer turned = ImageBuffer::FromPacked(bytes.data(), bytes.size());
    ASSERT_TRUE(turned);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(test::PixelAt(turned, x, y), test::PixelAt(src, x, 3 - y));
}

// Every colour: the table method must equal the double evaluation bit for bit.
TEST(Luminance, BitExactForAllColours) {
    const LuminanceTables& t = GetLuminanceTables();
    long mismatches = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) {
                const double y = 0.587 * g + 0.114 * b + 0.299 * r;
                if (Luminance(t, b, g, r) != static_cast<int>(y)) ++mismatches;
            }
    EXPECT_EQ(mismatches, 0);
    // A colour whose exact value is an integer but whose double sum falls just below it.
    EXPECT_EQ(Luminance(24, 72, 0), 44);
    EXPECT_EQ(Luminance(255, 255, 255), 255);
}

TEST(CropScaleView, ZeroMarginsGiveIdenticalCopy) {
    ImageBuffer src = test::MakeNoise(123, 77, 9);
    EXPECT_TRUE(test::SamePixels(CropScaleView(src, 123, 77, 0, 0, 0, 0, false), src));
    EXPECT_TRUE(test::SamePixels(CropScaleView(src, 123, 77, 0, 0, 0, 0, true), src));
}

TEST(CropScaleView, NearestNeighbourInFixedPoint) {
    ImageBuffer src = test::MakeImage(10, 6, [](int x, int y) { return (x << 8) | y; });
    // 2 px margins on both sides, 1 px at the bottom: area 6 × 5, taken from column 2.
    ImageBuffer out = CropScaleView(src, 5, 3, 2, 0, 2, 1, false);
    // W = trunc(6 * 5 / 10) = 3, H = trunc(5 * 3 / 6) = 2.
    ASSERT_TRUE(out);
    ASSERT_EQ(out.Width(), 3);
    ASSERT_EQ(out.Height(), 2);
    // stepX = 6*1024/3 = 2048 from column 2: columns 2, 4, 6. stepY = 5*1024/2 = 2560 from
    // stored row 1: stored rows 1 and 3, i.e. picture rows 4 and 2.
    EXPECT_EQ(test::PixelAt(out, 0, 1), (2u << 8) | 4u);
    EXPECT_EQ(test::PixelAt(out, 2, 1), (6u << 8) | 4u);
    EXPECT_EQ(test::PixelAt(out, 1, 0), (4u << 8) | 2u);
}

TEST(CropScaleView, BadInputGivesNothing) {
    ImageBuffer src = test::MakeNoise(20, 10, 1);
    EXPECT_FALSE(CropScaleView(ImageBuffer{}, 20, 10, 0, 0, 0, 0, false));
    EXPECT_FALSE(CropScaleView(src, 20, 10, 15, 0, 15, 0, false));  // margins beyond width
    EXPECT_FALSE(CropScaleView(src, 0, 10, 0, 0, 0, 0, false));     // output width 0
    EXPECT_FALSE(CropScaleView(src, 20, 10, 0, 0, 5000, 0, true));   // far beyond
    EXPECT_FALSE(CropScaleView(src, 20, 10, -5, 0, 0, 0, true));     // negative start
}

}  // namespace
}  // namespace duplora
