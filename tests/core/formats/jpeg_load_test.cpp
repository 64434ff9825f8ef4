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
    // 3 × 2, A B C / D E F, turned right: D A / E B / F C.
    const ImageBuffer s =
        test::MakeImage(3, 2, [](int x, int y) { return std::uint32_t(1 + x + 3 * y); });
    const std::uint32_t right[3][2] = {{4, 1}, {5, 2}, {6, 3}};
    EXPECT_TRUE(test::SamePixels(Turned(s, 6),
                                 test::MakeImage(2, 3, [&](int x, int y) { return right[y][x]; }),
                                 "turned-by-hand"));
    // Small, and larger than a tile and a band with odd sizes.
    const ImageBuffer images[] = {DuplicateImage(s), test::MakeNoise(1203, 917, 4)};
    for (const ImageBuffer& image : images)
        for (int orientation : {1, 3, 6, 8})
            EXPECT_TRUE(test::SamePixels(ApplyExifOrientation(image, orientation),
                                         Turned(image, orientation),
                                         "orient-" + std::to_string(orientation)));
    EXPECT_FALSE(ApplyExifOrientation(test::MakeIndexed(3, 3, 8, 1), 6));
    EXPECT_FALSE(ApplyExifOrientation(ImageBuffer{}, 6));
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
            EXPECT_EQ(std::pair(result.width, result.height), std::pair(40, 24));
            EXPECT_TRUE(test::SamePixels(result.image, Turned(decoded, orientation),
                                         "orient-" + std::to_string(orientation)));
            const ExifFacts facts = ReadExifFacts(path);
            EXPECT_TRUE(facts.HasExif());
            EXPECT_EQ(std::pair(facts.width, facts.height), std::pair(40, 24));
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
    EXPECT_EQ(std::pair(preview.width, preview.height), std::pair(320, 200));
    EXPECT_TRUE(test::SamePixels(preview.image, Turned(DecodeJpegFile(thumb, false), 6), "thumb"));
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(ReadExifFacts(both, &bytes).orientation, 6);
    EXPECT_EQ(bytes, test::ReadAll(thumb));

    // Without a thumbnail: the decoder's reduction, and the full size reported.
    const JpegLoadResult reduced = LoadJpegImage(main, JpegLoadMode::Preview);
    EXPECT_FALSE(reduced.fromThumbnail);
    EXPECT_EQ(std::pair(reduced.width, reduced.height), std::pair(320, 200));
    EXPECT_TRUE(test::SamePixels(reduced.image, DecodeJpegFile(main, true), "reduced"));
    EXPECT_EQ(ReadExifFacts(main, &bytes).orientation, kNoOrientation);
    EXPECT_TRUE(bytes.empty());
}

TEST(LoadJpegImage, RealPhotographs) {
    struct Sample {
        const char* path;
        int w, h;
    };
    const Sample samples[] = {{"pairs/gx8_l.jpg", 1824, 1367},
                              {"single-file/capoda.left-right.jpg", 8192, 4096},
                              {"single-file/walrus-360.top-bottom.jpg", 4096, 4096}};
    int checked = 0;
    for (const Sample& s : samples) {
        if (!test::SampleExists(s.path)) continue;
        ++checked;
        const std::string path = test::SamplePath(s.path);
        const JpegLoadResult full = LoadJpegImage(path);
        ASSERT_TRUE(full.image) << s.path;
        EXPECT_EQ(std::pair(full.width, full.height), std::pair(s.w, s.h)) << s.path;
        const bool turned = full.orientation == 6 || full.orientation == 8;
        EXPECT_EQ(full.image.Width(), turned ? s.h : s.w) << s.path;
        const JpegLoadResult preview = LoadJpegImage(path, JpegLoadMode::Preview);
        ASSERT_TRUE(preview.image) << s.path;
        EXPECT_EQ(preview.orientation, full.orientation) << s.path;
        if (!preview.fromThumbnail) {
            EXPECT_LE(std::max(preview.image.Width(), preview.image.Height()), 160) << s.path;
            EXPECT_EQ(std::pair(preview.width, preview.height), std::pair(s.w, s.h)) << s.path;
        }
    }
    if (checked == 0) GTEST_SKIP() << "samples missing";
}

}  // namespace
}  // namespace duplora
