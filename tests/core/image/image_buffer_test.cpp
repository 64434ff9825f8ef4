#include "core/image/image_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/image/luminance.h"
#include "core/image/luminance_row.h"
#include "support/test_support.h"
#include "support/told.h"

namespace duplora {
namespace {

TEST(CreateImage, HeaderZeroedPixelsAndRefusals) {
    ImageBuffer image = CreateImage(13, 3, 24);
    ASSERT_TRUE(image);
    const std::uint8_t header[16] = {40, 0, 0, 0, 13, 0, 0, 0, 3, 0, 0, 0, 1, 0, 24, 0};
    EXPECT_EQ(std::memcmp(image.Data(), header, 16), 0);
    EXPECT_EQ(image.ByteSize(), 40u + 40u * 3);
    for (std::size_t i = 16; i < image.ByteSize(); ++i) ASSERT_EQ(image.Data()[i], 0) << i;
    EXPECT_EQ(CreateImage(4, 4, 16).BitCount(), 24);  // 9 bits or more become 24
    ImageBuffer mono = CreateImage(4, 4, 1);
    EXPECT_EQ(mono.ColourCount(), 2);
    EXPECT_EQ(mono.Pixels(), mono.Data() + 40 + 8);
    for (auto [w, h, bits] : {std::tuple{0, 4, 24},
                              {-3, 4, 24},
                              {4, 4, 2},
                              {65536, 1, 24},
                              {40000, 40000, 24}})  // the last: 4.8 GB of pixels
        EXPECT_FALSE(CreateImage(w, h, bits)) << w << "x" << h << "x" << bits;
    EXPECT_TRUE(CreateImage(65535, 1, 24));
}

TEST(CreateImage, OverwriteVariantClearsHeaderAndPadding) {
    // A reused dirty block must not leak old bytes into header, table or padding.
    {
        ImageBuffer dirty = CreateImage(1001, 1001, 24);
        std::memset(dirty.Data(), 0xAB, dirty.ByteSize());
    }
    ImageBuffer image = CreateImageForOverwrite(1001, 1001, 24);
    ASSERT_TRUE(image);
    EXPECT_EQ(image.Width(), 1001);
    for (int row = 0; row < image.Height(); ++row) ASSERT_EQ(image.StoredRow(row)[3003], 0) << row;
}

TEST(DuplicateImage, CopiesEveryByteAndKeepsDepth) {
    for (int bits : {1, 4, 8}) {
        ImageBuffer src = test::MakeIndexed(37, 11, bits, 7);
        ImageBuffer copy = DuplicateImage(src);
        ASSERT_EQ(copy.ByteSize(), src.ByteSize());
        EXPECT_EQ(std::memcmp(copy.Data(), src.Data(), src.ByteSize()), 0) << bits;
    }
    ImageBuffer src = test::MakeNoise(37, 11, 3);
    EXPECT_TRUE(test::SamePixels(DuplicateImage(src), src));
    EXPECT_TRUE(test::SamePixels(DuplicateTrueColour(src), src));
    EXPECT_FALSE(DuplicateImage(ImageBuffer{}));
    EXPECT_FALSE(DuplicateTrueColour(test::MakeIndexed(4, 4, 8, 1)));
}

TEST(Accessors, MissingPictureHasNoSize) {
    ImageBuffer none;
    EXPECT_EQ(ImageWidth(none), 0);
    EXPECT_EQ(ImageHeight(none), 0);
    EXPECT_EQ(ImagePixels(none), nullptr);
    // Why a picture could not be made, with the size asked for.
    const Failure failure = CannotCreateImage(70000, 3);
    EXPECT_EQ(test::Messages(failure),
              std::vector<std::string>{"FEHLER|Kann BMP Datei nicht erstellen."});
    EXPECT_EQ(failure.detail, "70000 x 3");
    EXPECT_EQ(CannotCreateImage().detail, "");
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
    const std::int32_t huge = 60000;
    std::memcpy(bytes.data() + 4, &huge, 4);
    std::memcpy(bytes.data() + 8, &huge, 4);
    EXPECT_FALSE(ImageBuffer::FromPacked(bytes.data(), bytes.size()));
    const std::uint32_t manyColours = 100000;
    std::memcpy(bytes.data() + 4, src.Data() + 4, 8);
    std::memcpy(bytes.data() + 32, &manyColours, 4);
    EXPECT_FALSE(ImageBuffer::FromPacked(bytes.data(), bytes.size()));
}

TEST(FromPacked, TopDownRowsAreTurned) {
    ImageBuffer src = test::MakeNoise(6, 4, 5);
    std::vector<std::uint8_t> bytes(src.Data(), src.Data() + src.ByteSize());
    const std::int32_t negative = -4;
    std::memcpy(bytes.data() + 8, &negative, 4);
    ImageBuffer turned = ImageBuffer::FromPacked(bytes.data(), bytes.size());
    ASSERT_TRUE(turned);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(test::PixelAt(turned, x, y), test::PixelAt(src, x, 3 - y));
}

// The table method and the row routine both equal the double rule, for every colour.
TEST(Luminance, BitExactForAllColours) {
    constexpr int kColours = 1 << 24;  // blue varies fastest
    std::vector<std::uint8_t> bgr(std::size_t{kColours} * 3), row(kColours);
    for (std::size_t c = 0; c < kColours; ++c)
        for (int k = 0; k < 3; ++k) bgr[3 * c + k] = static_cast<std::uint8_t>(c >> (8 * k));
    LuminanceRow(bgr.data(), row.data(), kColours);
    const LuminanceTables& t = GetLuminanceTables();
    int wrong = 0;
    for (int c = 0; c < kColours && wrong < 10; ++c) {
        const int b = c & 0xFF, g = (c >> 8) & 0xFF, r = c >> 16;
        const int want = static_cast<int>(0.587 * g + 0.114 * b + 0.299 * r);
        if (Luminance(t, b, g, r) == want && row[c] == want) continue;
        ++wrong;
        ADD_FAILURE() << "colour " << std::hex << c << std::dec << ": " << Luminance(t, b, g, r)
                      << " and " << int{row[c]} << " instead of " << want;
    }
}

// Rows that leave tails after whole vectors, or hold nothing; nothing is written past the row.
TEST(LuminanceRow, TailsOfShortRows) {
    for (const int count : {0, 7, 31, 269}) {
        std::vector<std::uint8_t> in(std::size_t(count) * 3), out(count + 1, 7);
        for (std::size_t i = 0; i < in.size(); ++i) in[i] = static_cast<std::uint8_t>(i * 37);
        LuminanceRow(in.data(), out.data(), count);
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(out[i], LuminanceDouble(in[3 * i], in[3 * i + 1], in[3 * i + 2])) << i;
        EXPECT_EQ(out[count], 7);
    }
}

}  // namespace
}  // namespace duplora
