#include "core/formats/jpeg_load.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/formats/exif.h"
#include "core/formats/jpeg_codec.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ScratchDir;

// Expected turns, written pixel by pixel: (x, y) of the result from the source.
ImageBuffer Turned(const ImageBuffer& s, int orientation) {
    const int w = s.Width(), h = s.Height();
    const bool quarter = orientation == 6 || orientation == 8;
    return test::MakeImage(quarter ? h : w, quarter ? w : h, [&](int x, int y) {
        switch (orientation) {
            case 3:
                return test::PixelAt(s, w - 1 - x, h - 1 - y);
            case 6:
                return test::PixelAt(s, y, h - 1 - x);
            case 8:
                return test::PixelAt(s, w - 1 - y, x);
            default:
                return test::PixelAt(s, x, y);
        }
    });
}

TEST(ExifOrientation, TurnsByHand) {
    // 3 × 2: A B C / D E F.
    const ImageBuffer s =
        test::MakeImage(3, 2, [](int x, int y) { return std::uint32_t(1 + x + 3 * y); });
    const ImageBuffer right = ApplyExifOrientation(s, 6);
    ASSERT_TRUE(right);
    ASSERT_EQ(right.Width(), 2);
    ASSERT_EQ(right.Height(), 3);
    // Turned to the right: D A / E B / F C.
    EXPECT_EQ(test::PixelAt(right, 0, 0), 4u);
    EXPECT_EQ(test::PixelAt(right, 1, 0), 1u);
    EXPECT_EQ(test::PixelAt(right, 0, 2), 6u);
    EXPECT_EQ(test::PixelAt(right, 1, 2), 3u);
    // Turned to the left: C F / B E / A D.
    const ImageBuffer left = ApplyExifOrientation(s, 8);
    EXPECT_EQ(test::PixelAt(left, 0, 0), 3u);
    EXPECT_EQ(test::PixelAt(left, 1, 0), 6u);
    EXPECT_EQ(test::PixelAt(left, 0, 2), 1u);
    // Half turn: F E D / C B A.
    const ImageBuffer half = ApplyExifOrientation(s, 3);
    EXPECT_EQ(test::PixelAt(half, 0, 0), 6u);
    EXPECT_EQ(test::PixelAt(half, 2, 1), 1u);
    EXPECT_TRUE(test::SamePixels(ApplyExifOrientation(s, 1), s, "orient-1"));
    EXPECT_FALSE(ApplyExifOrientation(test::MakeIndexed(3, 3, 8, 1), 6));
    EXPECT_FALSE(ApplyExifOrientation(ImageBuffer{}, 6));
    // Larger than a tile and a band, odd sizes: right then left gives the source back.
    const ImageBuffer big = test::MakeNoise(1203, 917, 4);
    EXPECT_TRUE(test::SamePixels(ApplyExifOrientation(big, 6), Turned(big, 6), "orient-big-6"));
    EXPECT_TRUE(test::SamePixels(ApplyExifOrientation(big, 8), Turned(big, 8), "orient-big-8"));
    EXPECT_TRUE(test::SamePixels(ApplyExifOrientation(ApplyExifOrientation(big, 6), 8), big,
                                 "orient-back"));
}

TEST(LoadJpegImage, OrientationWrittenByExiftool) {
    if (!test::HaveTool("exiftool")) GTEST_SKIP() << "exiftool missing";
    ScratchDir dir;
    const std::string plain = dir / "plain.jpg";
    ASSERT_TRUE(EncodeJpegImage(plain, test::MakeNoise(40, 24, 8), true, 90));
    const ImageBuffer decoded = DecodeJpegFile(plain, false);
    const JpegLoadResult none = LoadJpegImage(plain);
    EXPECT_EQ(none.orientation, kNoOrientation);
    EXPECT_TRUE(test::SamePixels(none.image, decoded, "orient-none"));

    for (const char* order : {"MM", "II"}) {
        for (int orientation : {1, 3, 6, 8}) {
            const std::string path = dir / ("o" + std::to_string(orientation) + order + ".jpg");
            ASSERT_TRUE(test::RunQuiet("exiftool -n -ExifByteOrder=" + std::string(order) +
                                       " -Orientation=" + std::to_string(orientation) + " -o " +
                                       test::Quote(path) + " " + test::Quote(plain)));
            const JpegLoadResult result = LoadJpegImage(path);
            EXPECT_EQ(result.orientation, orientation) << order;
            EXPECT_EQ(result.width, 40);
            EXPECT_EQ(result.height, 24);
            EXPECT_TRUE(test::SamePixels(result.image, Turned(decoded, orientation),
                                         "orient-" + std::to_string(orientation)));
            const ExifFacts facts = ReadExifFacts(path);
            EXPECT_TRUE(facts.HasExif());
            EXPECT_EQ(facts.width, 40);
            EXPECT_EQ(facts.height, 24);
        }
    }
}

TEST(LoadJpegImage, PreviewUsesTheExifThumbnail) {
    if (!test::HaveTool("exiftool")) GTEST_SKIP() << "exiftool missing";
    ScratchDir dir;
    const std::string main = dir / "main.jpg", thumb = dir / "thumb.jpg", both = dir / "both.jpg";
    ASSERT_TRUE(EncodeJpegImage(main, test::MakeGradient(320, 200), true, 80));
    ASSERT_TRUE(EncodeJpegImage(thumb, test::MakeNoise(16, 10, 2), true, 80));
    ASSERT_TRUE(test::RunQuiet("exiftool -n -Orientation=6 \"-ThumbnailImage<=" + thumb + "\" -o " +
                               test::Quote(both) + " " + test::Quote(main)));
    const JpegLoadResult preview = LoadJpegImage(both, JpegLoadMode::Preview);
    EXPECT_TRUE(preview.fromThumbnail);
    EXPECT_EQ(preview.orientation, 6);
    EXPECT_EQ(preview.width, 320);
    EXPECT_EQ(preview.height, 200);
    EXPECT_TRUE(test::SamePixels(preview.image, Turned(DecodeJpegFile(thumb, false), 6), "thumb"));

    // Without a thumbnail: the 160-pixel reduction, and the full size reported.
    const JpegLoadResult reduced = LoadJpegImage(main, JpegLoadMode::Preview);
    EXPECT_FALSE(reduced.fromThumbnail);
    EXPECT_EQ(reduced.width, 320);
    EXPECT_EQ(reduced.height, 200);
    ASSERT_TRUE(reduced.image);
    EXPECT_EQ(reduced.image.Width(), 160);
    EXPECT_EQ(reduced.image.Height(), 100);
}

// Exif blocks built by hand: both byte orders, and every way a length or an offset can
// point outside the block.
std::vector<std::uint8_t> JpegWithExif(bool little, std::uint16_t orientation,
                                       std::uint32_t thumbOffset, std::uint32_t thumbLength,
                                       std::uint32_t ifd0Offset = 8, std::size_t thumbBytes = 0) {
    std::vector<std::uint8_t> tiff;
    const auto put16 = [&](std::uint16_t v) {
        if (little)
            tiff.push_back(v & 0xFF), tiff.push_back(v >> 8);
        else
            tiff.push_back(v >> 8), tiff.push_back(v & 0xFF);
    };
    const auto put32 = [&](std::uint32_t v) {
        if (little)
            put16(v & 0xFFFF), put16(v >> 16);
        else
            put16(v >> 16), put16(v & 0xFFFF);
    };
    tiff.push_back(little ? 'I' : 'M'), tiff.push_back(little ? 'I' : 'M');
    put16(42);
    put32(ifd0Offset);
    // IFD0 at 8: one entry (orientation), link to IFD1 at 26.
    put16(1);
    put16(0x0112), put16(3), put32(1), put16(orientation), put16(0);
    put32(26);
    // IFD1 at 26: thumbnail offset and length, no further IFD.
    put16(2);
    put16(0x0201), put16(4), put32(1), put32(thumbOffset);
    put16(0x0202), put16(4), put32(1), put32(thumbLength);
    put32(0);
    tiff.insert(tiff.end(), thumbBytes, 0xAB);

    std::vector<std::uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE1};
    const std::size_t length = 2 + 6 + tiff.size();
    jpeg.push_back(static_cast<std::uint8_t>(length >> 8));
    jpeg.push_back(static_cast<std::uint8_t>(length));
    for (char c : std::string("Exif\0\0", 6)) jpeg.push_back(static_cast<std::uint8_t>(c));
    jpeg.insert(jpeg.end(), tiff.begin(), tiff.end());
    // A frame header: 8 bits, height 300, width 500.
    const std::uint8_t sof[] = {0xFF, 0xC0, 0, 11, 8, 0x01, 0x2C, 0x01, 0xF4, 1, 1, 0x11, 0};
    jpeg.insert(jpeg.end(), std::begin(sof), std::end(sof));
    // The scan header ends the walk (an end of image before it would void the block).
    jpeg.push_back(0xFF), jpeg.push_back(0xDA);
    return jpeg;
}

TEST(ReadExifFacts, HandMadeBlocks) {
    for (bool little : {true, false}) {
        // Thumbnail of 5 bytes right after the IFDs (offset 56 from the TIFF header).
        std::vector<std::uint8_t> thumb;
        auto jpeg = JpegWithExif(little, 6, 56, 5, 8, 5);
        ExifFacts facts = ReadExifFacts(jpeg, &thumb);
        EXPECT_TRUE(facts.HasExif());
        EXPECT_EQ(facts.orientation, 6);
        EXPECT_EQ(facts.width, 500);
        EXPECT_EQ(facts.height, 300);
        EXPECT_EQ(facts.thumbnailLength, 5u);
        EXPECT_EQ(thumb, std::vector<std::uint8_t>(5, 0xAB));

        // A thumbnail reaching one byte past the block is not taken.
        jpeg = JpegWithExif(little, 3, 56, 6, 8, 5);
        facts = ReadExifFacts(jpeg, &thumb);
        EXPECT_EQ(facts.orientation, 3);
        EXPECT_FALSE(facts.thumbnailInside);
        EXPECT_TRUE(thumb.empty());
        // Offsets near 2^32 do not wrap around.
        jpeg = JpegWithExif(little, 3, 0xFFFFFFFEu, 4, 8, 5);
        facts = ReadExifFacts(jpeg, &thumb);
        EXPECT_FALSE(facts.thumbnailInside);
        EXPECT_TRUE(thumb.empty());
        // IFD0 pointing outside the block: no orientation, nothing read.
        jpeg = JpegWithExif(little, 8, 56, 5, 0x7FFFFFF0u, 5);
        facts = ReadExifFacts(jpeg, &thumb);
        EXPECT_EQ(facts.orientation, kNoOrientation);
        // Every truncation of a valid block parses without reading past its end (run
        // under the address sanitizer this proves the bounds).
        jpeg = JpegWithExif(little, 8, 56, 5, 8, 5);
        for (std::size_t n = 0; n <= jpeg.size(); ++n) {
            std::vector<std::uint8_t> cut(jpeg.begin(), jpeg.begin() + n);
            facts = ReadExifFacts(cut, &thumb);
            EXPECT_TRUE(facts.orientation == 8 || facts.orientation == kNoOrientation);
        }
    }
    // An IFD that links to itself ends the walk.
    auto loop = JpegWithExif(true, 6, 56, 5, 8, 5);
    loop[12 + 8 + 2 + 12] = 8;  // IFD0's link → IFD0
    loop[12 + 8 + 2 + 13] = 0;
    const ExifFacts facts = ReadExifFacts(loop);
    EXPECT_EQ(facts.orientation, 6);
    EXPECT_EQ(ReadExifFacts(std::span<const std::uint8_t>{}).orientation, kNoOrientation);
}

TEST(LoadJpegImage, RealPhotographs) {
    struct Sample {
        const char* path;
        int w, h;
    };
    const Sample samples[] = {{"pairs/gx8_l.jpg", 1824, 1367},
                              {"pairs/sugarshack_r.jpg", 640, 480},
                              {"single-file/capoda.left-right.jpg", 8192, 4096},
                              {"single-file/walrus-360.top-bottom.jpg", 4096, 4096}};
    int checked = 0;
    for (const Sample& s : samples) {
        if (!test::SampleExists(s.path)) continue;
        ++checked;
        const std::string path = test::SamplePath(s.path);
        const JpegLoadResult full = LoadJpegImage(path);
        ASSERT_TRUE(full.image) << s.path;
        EXPECT_EQ(full.width, s.w) << s.path;
        EXPECT_EQ(full.height, s.h) << s.path;
        const bool turned = full.orientation == 6 || full.orientation == 8;
        EXPECT_EQ(full.image.Width(), turned ? s.h : s.w) << s.path;
        const JpegLoadResult preview = LoadJpegImage(path, JpegLoadMode::Preview);
        ASSERT_TRUE(preview.image) << s.path;
        EXPECT_EQ(preview.orientation, full.orientation) << s.path;
        if (!preview.fromThumbnail) {
            EXPECT_LE(std::max(preview.image.Width(), preview.image.Height()), 160) << s.path;
            EXPECT_EQ(preview.width, s.w) << s.path;
            EXPECT_EQ(preview.height, s.h) << s.path;
        }
    }
    if (checked == 0) GTEST_SKIP() << "samples missing";
}

}  // namespace
}  // namespace duplora
