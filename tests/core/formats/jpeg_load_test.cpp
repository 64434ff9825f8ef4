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
    const auto rows = [](const ImageBuffer& image) {
        std::vector<std::uint32_t> out;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) out.push_back(test::PixelAt(image, x, y));
        return out;
    };
    using V = std::vector<std::uint32_t>;
    EXPECT_EQ(rows(ApplyExifOrientation(s, 6)), (V{4, 1, 5, 2, 6, 3}));  // D A / E B / F C
    EXPECT_EQ(rows(ApplyExifOrientation(s, 8)), (V{3, 6, 2, 5, 1, 4}));  // C F / B E / A D
    EXPECT_EQ(rows(ApplyExifOrientation(s, 3)), (V{6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(rows(ApplyExifOrientation(s, 1)), rows(s));
    EXPECT_FALSE(ApplyExifOrientation(test::MakeIndexed(3, 3, 8, 1), 6));
    EXPECT_FALSE(ApplyExifOrientation(ImageBuffer{}, 6));
    // Larger than a tile and a band, odd sizes.
    const ImageBuffer big = test::MakeNoise(1203, 917, 4);
    EXPECT_TRUE(test::SamePixels(ApplyExifOrientation(big, 6), Turned(big, 6), "orient-big-6"));
    EXPECT_TRUE(test::SamePixels(ApplyExifOrientation(big, 8), Turned(big, 8), "orient-big-8"));
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
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(ReadExifFacts(both, &bytes).orientation, 6);
    EXPECT_EQ(bytes, test::ReadAll(thumb));

    // Without a thumbnail: the 160-pixel reduction, and the full size reported.
    const JpegLoadResult reduced = LoadJpegImage(main, JpegLoadMode::Preview);
    EXPECT_FALSE(reduced.fromThumbnail);
    EXPECT_EQ(reduced.width, 320);
    EXPECT_EQ(reduced.height, 200);
    ASSERT_TRUE(reduced.image);
    EXPECT_EQ(reduced.image.Width(), 160);
    EXPECT_EQ(reduced.image.Height(), 100);
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
