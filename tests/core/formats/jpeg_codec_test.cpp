#include "core/formats/jpeg_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/formats/exif.h"
#include "core/formats/jpeg_load.h"
#include "core/formats/load_chain.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ScratchDir;

// What djpeg (libjpeg-turbo's own tool, default settings) makes of a file.
ImageBuffer Djpeg(const std::string& jpeg, const ScratchDir& dir) {
    const std::string out = dir / "djpeg.pnm";
    if (!test::RunQuiet("djpeg -pnm -outfile " + test::Quote(out) + " " + test::Quote(jpeg)))
        return {};
    return test::ReadPnm(out);
}

TEST(EncoderGrey, MatchesDoubleFormulaForEveryColour) {
    long mismatches = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) {
                volatile double v = 0.299 * r;
                v = v + 0.587 * g;
                v = v + 0.114 * b;
                if (EncoderGrey(r, g, b) != static_cast<int>(v)) ++mismatches;
            }
    EXPECT_EQ(mismatches, 0);
}

// Widths around the four-pixel steps, and a picture big enough to be split in bands.
TEST(DibToPackedRgb, FlipsRowsAndSwapsBytes) {
    for (const auto& [w, h] : {std::pair{1, 1}, {5, 3}, {7, 2}, {13, 5}, {1501, 701}}) {
        const ImageBuffer noise = test::MakeNoise(w, h, static_cast<std::uint32_t>(w));
        const PackedRgb packed = DibToPackedRgb(noise);
        ASSERT_EQ(std::pair(packed.width, packed.height), std::pair(w, h));
        EXPECT_TRUE(test::SamePixels(
            test::MakeImage(w, h,
                            [&](int x, int y) {
                                const std::uint8_t* p =
                                    packed.data.get() + (std::size_t(y) * w + x) * 3;
                                return std::uint32_t(p[0] << 16 | p[1] << 8 | p[2]);
                            }),
            noise, "packed"));
    }
    EXPECT_FALSE(DibToPackedRgb(test::MakeIndexed(4, 4, 8, 1)));
    EXPECT_FALSE(DibToPackedRgb(ImageBuffer{}));
}

// What we encode is read by ImageMagick at our size, decodes exactly as djpeg decodes it,
// and stays close to what went in. Picture rows give the very file packed pixels give.
TEST(JpegEncode, ColourAndGreyFilesReadElsewhere) {
    if (!test::HaveTool("djpeg") || !test::HaveTool("identify")) GTEST_SKIP() << "tools missing";
    ScratchDir dir;
    const ImageBuffer source = test::MakeGradient(61, 35);
    const PackedRgb rgb = DibToPackedRgb(source);
    for (bool colour : {true, false}) {
        const std::string path = dir / (colour ? "c.jpg" : "g.jpg");
        ASSERT_TRUE(EncodeJpegFile(path, rgb.data.get(), rgb.width, rgb.height, colour, 90));
        ASSERT_TRUE(EncodeJpegImage(dir / "rows.jpg", source, colour, 90));
        EXPECT_EQ(test::ReadAll(dir / "rows.jpg"), test::ReadAll(path));
        const ImageBuffer ours = DecodeJpegFile(path, false);
        EXPECT_TRUE(test::SamePixels(ours, Djpeg(path, dir), colour ? "enc-colour" : "enc-grey"));
        const std::string text =
            test::Capture("identify -format '%w %h %[channels]' " + test::Quote(path));
        EXPECT_EQ(text.substr(0, 5), "61 35") << text;
        EXPECT_NE(text.find(colour ? "srgb" : "gray"), std::string::npos) << text;
        // ImageMagick's pixels: its libjpeg settings may round a step apart from ours.
        if (test::HaveTool("convert")) {
            EXPECT_LE(test::MaxDifference(test::ReadWithImageMagick(path, dir / "i.ppm"), ours), 2);
        }
        // Grey pixels come back near the encoder's grey value.
        const ImageBuffer grey = test::MakeImage(61, 35, [&](int x, int y) {
            const std::uint32_t s = test::PixelAt(source, x, y);
            return 0x010101u * EncoderGrey(s >> 16, (s >> 8) & 0xFF, s & 0xFF);
        });
        EXPECT_LE(test::MaxDifference(ours, colour ? source : grey), colour ? 12 : 16);
    }
}

TEST(JpegDecode, FilesFromOtherEncodersMatchDjpeg) {
    if (!test::HaveTool("djpeg") || !test::HaveTool("cjpeg")) GTEST_SKIP() << "tools missing";
    ScratchDir dir;
    ASSERT_TRUE(test::WritePpm(test::MakeGradient(45, 31), dir / "src.ppm"));
    const std::string src = test::Quote(dir / "src.ppm");
    for (const std::string options : {"", "-grayscale", "-sample 1x1", "-sample 2x1",
                                      "-progressive", "-restart 1", "-arithmetic"}) {
        const std::string path = dir / "c.jpg";
        ASSERT_TRUE(
            test::RunQuiet("cjpeg " + options + " -outfile " + test::Quote(path) + " " + src));
        const ImageBuffer ours = DecodeJpegFile(path, false);
        ASSERT_TRUE(ours) << options;
        EXPECT_TRUE(test::SamePixels(ours, Djpeg(path, dir), "dec" + options));
    }
    const std::string photo = test::SamplePath("pairs/frozenpond_l.jpg");  // a camera's
    if (test::SampleExists("pairs/frozenpond_l.jpg")) {
        EXPECT_TRUE(test::SamePixels(DecodeJpegFile(photo, false), Djpeg(photo, dir), "photo"));
    }
}

TEST(JpegDecode, AdobeCmykUsesTheBlackThirdRule) {
    if (!test::HaveTool("convert")) GTEST_SKIP() << "ImageMagick missing";
    ScratchDir dir;
    // Flat colours survive JPEG nearly unchanged, so each decoded pixel can be checked
    // against the rule applied to the CMYK values ImageMagick stored.
    struct Case {
        int c, m, y, k;  // percent
    };
    const Case cases[] = {{0, 0, 0, 0}, {0, 0, 0, 100}, {20, 40, 60, 30}};
    for (const Case& cs : cases) {
        const std::string path = dir / "cmyk.jpg";
        char colour[64];
        std::snprintf(colour, sizeof colour, "cmyk(%d%%,%d%%,%d%%,%d%%)", cs.c, cs.m, cs.y, cs.k);
        ASSERT_TRUE(test::RunQuiet("convert -size 16x16 -colorspace cmyk xc:'" +
                                   std::string(colour) + "' -quality 100 " + test::Quote(path)));
        const ImageBuffer image = DecodeJpegFile(path, false);
        ASSERT_TRUE(image) << colour;
        // ImageMagick stores Adobe-inverted bytes, stored = 255 − ink, so the rule's
        // 255 − c is the ink and w = 255 − k is the black ink.
        const auto ink = [](int percent) { return (percent * 255 + 50) / 100; };
        const int third = ink(cs.k) / 3;
        const auto expect = [&](int inkValue) { return 255 - std::min(255, inkValue + third); };
        const std::uint32_t p = test::PixelAt(image, 8, 8);
        EXPECT_NEAR(static_cast<int>(p >> 16), expect(ink(cs.c)), 3) << colour;
        EXPECT_NEAR(static_cast<int>((p >> 8) & 0xFF), expect(ink(cs.m)), 3) << colour;
        EXPECT_NEAR(static_cast<int>(p & 0xFF), expect(ink(cs.y)), 3) << colour;
    }
}

// The reduction rule: output row t is the first source row at or beyond t × H / h; output
// column t' averages the source columns after the previous output
// column's up to t' × W / w; column 0 is source column 0 alone.
ImageBuffer ReducedByRule(const ImageBuffer& full, int w, int h) {
    const int W = full.Width(), H = full.Height();
    ImageBuffer out = CreateImage(w, h, 24);
    for (int t = 0; t < h; ++t) {
        const int y = t * H / h;
        int from = 0;
        for (int u = 0; u < w; ++u) {
            const int to = u * W / w;
            int sum[3] = {0, 0, 0};
            for (int x = from; x <= to; ++x)
                for (int c = 0; c < 3; ++c) sum[c] += full.Line(y)[x * 3 + c];
            for (int c = 0; c < 3; ++c)
                out.Line(t)[u * 3 + c] = static_cast<std::uint8_t>(sum[c] / (to - from + 1));
            from = to + 1;
        }
    }
    return out;
}

TEST(JpegDecode, PreviewReducesByTheRule) {
    ScratchDir dir;
    struct Size {
        int w, h, pw, ph;
    };
    const Size sizes[] = {{300, 400, 120, 160},
                          {333, 97, 160, 46},
                          {100, 50, 100, 50},
                          {1000, 3, 160, 1},
                          {4000, 3000, 160, 120}};
    for (const Size& s : sizes) {
        const std::string path = dir / "p.jpg";
        ASSERT_TRUE(EncodeJpegImage(path, test::MakeNoise(s.w, s.h, 3), true, 85));
        int fw = -1, fh = -1;
        const ImageBuffer preview = DecodeJpegFile(path, true, &fw, &fh);
        ASSERT_TRUE(preview);
        EXPECT_EQ(std::pair(fw, fh), std::pair(s.w, s.h));
        const ImageBuffer full = DecodeJpegFile(path, false);
        EXPECT_TRUE(test::SamePixels(preview, ReducedByRule(full, s.pw, s.ph), "preview"));
        // Full decoding leaves the size arguments alone.
        int untouched = -7;
        ASSERT_TRUE(DecodeJpegFile(path, false, &untouched, &untouched));
        EXPECT_EQ(untouched, -7);
    }
}

TEST(JpegDecode, BadFilesGiveNone) {
    ScratchDir dir;
    ASSERT_TRUE(EncodeJpegImage(dir / "good.jpg", test::MakeNoise(64, 48, 1), true, 90));
    const test::Bytes good = test::ReadAll(dir / "good.jpg");
    std::vector<std::pair<std::string, test::Bytes>> cases = {
        {"empty", {}},
        {"soi-only", {0xFF, 0xD8}},
        {"garbage", test::Bytes(4096, 0x5A)},
        {"header-cut", test::Bytes(good.begin(), good.begin() + 120)},
        {"tables-only", test::Bytes(good.begin(), good.begin() + good.size() / 8)}};
    // A frame header claiming 65535 × 65535, past the limits.
    test::Bytes wide = good;
    for (std::size_t i = 0; i + 8 < wide.size(); ++i)
        if (wide[i] == 0xFF && wide[i + 1] == 0xC0) {
            std::fill(wide.begin() + i + 5, wide.begin() + i + 9, 0xFF);
            break;
        }
    cases.push_back({"too-large", wide});
    for (const auto& [name, bytes] : cases) {
        test::WriteAll(dir / name, bytes);
        EXPECT_FALSE(DecodeJpegFile(dir / name, false)) << name;
        EXPECT_FALSE(DecodeJpegFile(dir / name, true)) << name;
        EXPECT_FALSE(DecodeJpegMemory(bytes.data(), bytes.size(), false)) << name;
    }
    EXPECT_FALSE(DecodeJpegFile(dir / "missing.jpg", false));
    EXPECT_FALSE(DecodeJpegFile(dir.Path(), false));
    EXPECT_FALSE(DecodeJpegMemory(nullptr, 10, false));
}

// A file cut inside its picture data decodes as far as it goes, the rest grey, like every
// viewer shows a half-downloaded photograph: the library treats it as a warning, and the
// decoder reports the picture as partial. Stray bytes between segments lose nothing.
TEST(JpegDecode, CutInsideTheDataKeepsWhatIsThere) {
    ScratchDir dir;
    ASSERT_TRUE(EncodeJpegImage(dir / "good.jpg", test::MakeNoise(64, 64, 1), true, 90));
    const test::Bytes good = test::ReadAll(dir / "good.jpg");
    test::Bytes stray = good;
    stray.insert(stray.begin() + 2, {0x12, 0x34, 0x56});  // between two segments
    const struct {
        const char* name;
        test::Bytes bytes;
        bool partial;
    } cases[] = {{"good.jpg", good, false},
                 {"cut.jpg", test::Bytes(good.begin(), good.begin() + good.size() * 2 / 3), true},
                 {"stray.jpg", stray, false}};
    for (const auto& c : cases) {
        test::WriteAll(dir / c.name, c.bytes);
        for (const bool preview : {false, true}) {
            bool partial = !c.partial;
            const ImageBuffer image =
                DecodeJpegFile(dir / c.name, preview, nullptr, nullptr, &partial);
            ASSERT_TRUE(image) << c.name;
            EXPECT_EQ(partial, c.partial) << c.name;
        }
        EXPECT_EQ(LoadJpegImage(dir / c.name).partial, c.partial) << c.name;
        EXPECT_EQ(LoadImageFile(dir / c.name).partial, c.partial) << c.name;
    }
    const ImageBuffer image = DecodeJpegFile(dir / "cut.jpg", false);
    EXPECT_EQ(std::pair(image.Width(), image.Height()), std::pair(64, 64));
}

TEST(JpegCodec, ProgressRisesWhileWritingAndReading) {
    ScratchDir dir;
    const std::string path = dir / "p.jpg";
    const ImageBuffer picture = test::MakeNoise(80, 300, 2);
    EXPECT_TRUE(test::RisingProgress(
        [&](const Progress& p) { return EncodeJpegImage(path, picture, true, 80, p).Ok(); },
        ProgressDirection::Writing, 90));
    EXPECT_TRUE(test::RisingProgress(
        [&](const Progress& p) {
            return !!DecodeJpegFile(path, false, nullptr, nullptr, nullptr, p);
        },
        ProgressDirection::Reading, 90));
}

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

    for (int orientation : {1, 3, 6, 8}) {
        const std::string path = dir / ("o" + std::to_string(orientation) + ".jpg");
        ASSERT_TRUE(test::RunQuiet("exiftool -n -Orientation=" + std::to_string(orientation) +
                                   " -o " + test::Quote(path) + " " + test::Quote(plain)));
        const JpegLoadResult result = LoadJpegImage(path);
        EXPECT_EQ(result.orientation, orientation);
        EXPECT_EQ(std::pair(result.width, result.height), std::pair(40, 24));
        EXPECT_TRUE(test::SamePixels(result.image, Turned(decoded, orientation),
                                     "orient-" + std::to_string(orientation)));
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

}  // namespace
}  // namespace duplora
