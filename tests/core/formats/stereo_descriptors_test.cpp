// The JPS descriptor, the camera Exif carried into outputs, and the layout told from a
// file's content.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/formats/exif.h"
#include "core/formats/exif_carry.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/jps_descriptor.h"
#include "core/formats/layout_detect.h"
#include "core/formats/output_formats.h"
#include "core/formats/stereo_open.h"
#include "core/formats/stereo_save.h"
#include "core/image/convert.h"
#include "core/stereo/display_modes.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::Bytes;

// ---- JPS descriptor ----------------------------------------------------------------------

// What we write for each mode is what exiftool reads, and what we read back.
TEST(JpsDescriptor, WrittenForEachModeAsExiftoolReadsIt) {
    if (!test::HaveTool("exiftool")) GTEST_SKIP() << "exiftool missing";
    test::ScratchDir dir;
    const struct {
        DisplayMode mode;
        const char* layout;
        const char* flags;
    } cases[] = {
        {DisplayMode::SideBySide, "Side By Side", "Left field first"},
        {DisplayMode::OverUnder, "Over Under", "Left field first"},
        {DisplayMode::HalfSideBySide, "Side By Side", "Half width, Left field first"},
        {DisplayMode::HalfOverUnder, "Over Under", "Half height, Left field first"},
        {DisplayMode::Interlace, "Interleaved", "Left field first"},
        {DisplayMode::ColourAnaglyph, "Anaglyph", "Left field first"},
    };
    const ImageBuffer picture = test::MakeGradient(64, 32);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        const std::string path = dir / "out.jps";
        // The thumbnail block comes first, the descriptor after it.
        const PictureWriteOptions options{.exif = true, .mode = c.mode, .cameraExif = {}};
        const Result<Warnings> written =
            FindOutputFormat(OutputFormat::Jps)->write(path, picture, options, NoProgress());
        ASSERT_TRUE(written);
        EXPECT_TRUE(written.Value().empty());
        EXPECT_EQ(test::Capture("exiftool -s3 -JPSLayout -JPSFlags -JPSType " + test::Quote(path)),
                  std::string(c.layout) + "\n" + c.flags + "\nStereo");
        const std::optional<JpsDescriptor> read = ReadJpsDescriptor(path);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->layout, JpsDescriptorForMode(c.mode).layout);
        EXPECT_TRUE(read->leftFirst);
        EXPECT_EQ(read->comment, "Duplora");
        // Still a JPEG with its Exif block that decodes whole.
        EXPECT_TRUE(ReadExifFacts(path).HasExif());
        EXPECT_EQ(test::LoadJpeg(path).Width(), 64);
    }
}

// A JPS in crossed order (no left-first flag) opens with its views exchanged; split another
// way than it says, or without a descriptor, it opens as chosen.
TEST(JpsDescriptor, CrossedOrderOpensTheRightWayRound) {
    test::ScratchDir dir;
    const ImageBuffer picture =
        test::MakeImage(64, 32, [](int x, int) { return x < 32 ? 0xFF0000u : 0x0000FFu; });
    const std::string path = dir / "crossed.jps";
    ASSERT_TRUE(EncodeJpegImage(path, picture, true, 95));
    const StereoOpenResult plain = OpenStereoFile(path, StereoLayout::SideBySide);
    ASSERT_TRUE(plain.loaded);
    ASSERT_TRUE(InsertJpsDescriptor(path, {.leftFirst = false, .comment = ""}));
    const StereoOpenResult opened = OpenStereoFile(path, StereoLayout::SideBySide);
    ASSERT_TRUE(opened.loaded);
    EXPECT_TRUE(test::SamePixels(opened.left, plain.right, "crossed-left"));
    EXPECT_TRUE(test::SamePixels(opened.right, plain.left, "crossed-right"));
    const StereoOpenResult overUnder = OpenStereoFile(path, StereoLayout::OverUnder);
    EXPECT_EQ(overUnder.left.Width(), 64);
}

// Our half-width (half-height) JPS opens with full-width (full-height) views, the odd last
// column (row) dropped, close to the views it was made of; split another way than its
// descriptor says, nothing is stretched.
TEST(JpsDescriptor, HalvedViewsOpenAtFullSize) {
    // A smooth ramp; the right view is the left one mirrored across the seam, so that the
    // views meet without an edge that JPEG would blur across it.
    const int w = 81, h = 61;
    const auto ramp = [](int x, int y) {
        return std::uint32_t(2 * x) << 16 | std::uint32_t(3 * y) << 8 | std::uint32_t(20 + x / 4);
    };
    const ImageBuffer left = test::MakeImage(w, h, ramp);
    const struct {
        DisplayMode mode;
        StereoLayout layout;
        int width, height;
    } cases[] = {
        {DisplayMode::HalfSideBySide, StereoLayout::SideBySide, w - 1, h},
        {DisplayMode::HalfOverUnder, StereoLayout::OverUnder, w, h - 1},
    };
    test::ScratchDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        const bool sideBySide = c.layout == StereoLayout::SideBySide;
        const ImageBuffer right = test::MakeImage(w, h, [&](int x, int y) {
            return sideBySide ? ramp(w - 1 - x, y) : ramp(x, h - 1 - y);
        });
        const ImageBuffer picture =
            test::Made(FindDisplayMode(c.mode)->compose(left, right, {}, AnaglyphChoice{}));
        const std::string path = dir / "half.jps";
        SaveSettings settings;
        settings.type = OutputFormat::Jps;
        settings.quality = 98;
        ASSERT_TRUE(SaveStereoPicture(path, picture, settings, NoProgress(), c.mode));
        const StereoOpenResult opened = OpenStereoFile(path, c.layout);
        ASSERT_TRUE(opened.loaded);
        ASSERT_EQ(opened.left.Width(), c.width);
        ASSERT_EQ(opened.left.Height(), c.height);
        ASSERT_EQ(opened.right.Width(), c.width);
        ASSERT_EQ(opened.right.Height(), c.height);
        EXPECT_LE(test::MaxDifference(opened.left, CropRect(left, 0, 0, c.width, c.height)), 6);
        EXPECT_LE(test::MaxDifference(opened.right, CropRect(right, 0, 0, c.width, c.height)), 6);
        const StereoLayout other = sideBySide ? StereoLayout::OverUnder : StereoLayout::SideBySide;
        const StereoOpenResult asIs = OpenStereoFile(path, other);
        ASSERT_TRUE(asIs.loaded);
        EXPECT_LE(asIs.left.Width(), picture.Width());
        EXPECT_LE(asIs.left.Height(), picture.Height());
    }
}

// Cut-short and foreign APP3 segments are no descriptor; a bare segment round-trips.
TEST(JpsDescriptor, ParsesOnlyWholeDescriptors) {
    const JpsDescriptor d{
        .layout = StereoLayout::OverUnder, .halfHeight = true, .separation = 12, .comment = "x"};
    Bytes jpeg{0xFF, 0xD8};
    const std::vector<std::uint8_t> segment = MakeJpsSegment(d);
    test::Append(jpeg, Bytes(segment.begin(), segment.end()));
    test::Append(jpeg, {0xFF, 0xDA, 0, 2});
    const std::optional<JpsDescriptor> read = ReadJpsDescriptor(jpeg);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->layout, StereoLayout::OverUnder);
    EXPECT_TRUE(read->halfHeight);
    EXPECT_FALSE(read->halfWidth);
    EXPECT_EQ(read->separation, 12);
    EXPECT_EQ(read->comment, "x");
    for (std::size_t cut = 3; cut < segment.size() - 3; ++cut) {
        Bytes shortened{0xFF, 0xD8};
        Bytes s(segment.begin(), segment.end());
        s[2] = static_cast<std::uint8_t>((cut - 2) >> 8);
        s[3] = static_cast<std::uint8_t>(cut - 2);
        s.resize(cut);
        test::Append(shortened, s);
        const auto got = ReadJpsDescriptor(shortened);
        // Up to the descriptor word it is none; after it only the comment is cut.
        if (cut < 4 + 8 + 2 + 4) {
            EXPECT_FALSE(got) << cut;
        }
    }
    EXPECT_FALSE(ReadJpsDescriptor(test::Segment(0xE3, test::Text("_JPSJPX_\0\4abcd"))));
}

// ---- camera Exif ---------------------------------------------------------------------------

// The camera, date and exposure of the left source reach a JPEG, a JPS and both pictures of
// an MPO, with the sizes of what was written and orientation 1; no thumbnail.
TEST(CameraExif, CarriedIntoJpegJpsAndMpoWithSizesAndOrientationMadeRight) {
    if (!test::HaveTool("exiftool") || !test::SampleExists("pairs/frozenpond_l.jpg")) GTEST_SKIP();
    test::ScratchDir dir;
    // A source that says it is to be turned: the views were turned when they were read.
    const std::string source = dir / "source.jpg";
    std::filesystem::copy_file(test::SamplePath("pairs/frozenpond_l.jpg"), source);
    ASSERT_TRUE(
        test::RunQuiet("exiftool -q -n -Orientation=6 -overwrite_original " + test::Quote(source)));
    const std::string tags = "-s3 -Model -DateTimeOriginal";
    const std::string camera = test::Capture("exiftool " + tags + " " + test::Quote(source));
    ASSERT_FALSE(camera.empty());
    const std::vector<std::uint8_t> segment = ReadExifSegment(source);
    ASSERT_FALSE(segment.empty());
    const ImageBuffer picture = test::MakeGradient(120, 40);
    for (const OutputFormat format : {OutputFormat::Jpeg, OutputFormat::Jps, OutputFormat::Mpo}) {
        const OutputFormatRow* row = FindOutputFormat(format);
        SCOPED_TRACE(std::string(row->key));
        const std::string path = dir / ("out" + std::string(row->extension));
        // The camera's block takes the place of the thumbnail block.
        const SaveSettings settings{.type = format, .exifThumbnail = true, .keepExif = true};
        ASSERT_TRUE(SaveStereoPicture(path, picture, settings, NoProgress(),
                                      DisplayMode::SideBySide, segment));
        EXPECT_EQ(test::Capture("exiftool " + tags + " " + test::Quote(path)), camera);
        const std::string size = format == OutputFormat::Mpo ? "60\n40" : "120\n40";
        EXPECT_EQ(
            test::Capture("exiftool -s3 -ExifImageWidth -ExifImageHeight " + test::Quote(path)),
            size);
        EXPECT_EQ(test::Capture("exiftool -s3 -n -Orientation " + test::Quote(path)), "1");
        EXPECT_EQ(test::Capture("exiftool -s3 -ThumbnailLength " + test::Quote(path)), "");
    }
    // Off, the file gets the program's own block as before.
    const std::string plain = dir / "plain.jpg";
    ASSERT_TRUE(SaveStereoPicture(plain, picture, {.exifThumbnail = true}, NoProgress(),
                                  DisplayMode::SideBySide, segment));
    EXPECT_EQ(test::Capture("exiftool -s3 -Model " + test::Quote(plain)), "Duplora Studio1");
}

TEST(CameraExif, UnsoundSegmentsAreNotCarried) {
    EXPECT_TRUE(AdaptExifSegment({}, 10, 10).empty());
    const Bytes notExif = test::Segment(0xE1, test::Text("http://ns.adobe.com/xap/1.0/"));
    EXPECT_TRUE(AdaptExifSegment(notExif, 10, 10).empty());
    Bytes cut = test::Segment(0xE1, test::Text(std::string("Exif\0\0MM\0*\0\0\0\x08", 14)));
    EXPECT_TRUE(FindFirstExifSegment(Bytes{0xFF, 0xD8, 0xFF, 0xDA}).empty());
    (void)AdaptExifSegment(cut, 10, 10);  // a block without IFD entries: whatever, no crash
}

// ---- layout detection ------------------------------------------------------------------------

// Every single-file sample and every multi-picture file, copied under a name that says
// nothing, is told by its content.
TEST(LayoutDetection, EverySampleUnderANeutralName) {
    const std::pair<const char*, StereoLayout> samples[] = {
        {"single-file/GOPR0.left-right.jpg", StereoLayout::SideBySide},
        {"single-file/calf-left-right.jpg", StereoLayout::SideBySide},
        {"single-file/capoda.left-right.jpg", StereoLayout::SideBySide},
        {"single-file/stereograph.left-right.jpg", StereoLayout::SideBySide},
        {"single-file/walrus-360.top-bottom.jpg", StereoLayout::OverUnder},
        {"single-file/persepolis.anaglyph.jpg", StereoLayout::Anaglyph},
        {"single-file/wikipedia.anaglyph.jpg", StereoLayout::Anaglyph},
        {"mpo/frozenpond.mpo", StereoLayout::Mpo},
        {"mpo/sugarshack.mpo", StereoLayout::Mpo},
        {"mpo/gx8.mpo", StereoLayout::Mpo},
        {"mpo/ignore_frame_size.mpo", StereoLayout::Mpo},
    };
    test::ScratchDir dir;
    for (const auto& [sample, layout] : samples) {
        SCOPED_TRACE(sample);
        if (!test::SampleExists(sample)) GTEST_SKIP();
        const std::string neutral = dir / "picture";
        std::filesystem::copy_file(test::SamplePath(sample), neutral,
                                   std::filesystem::copy_options::overwrite_existing);
        EXPECT_EQ(DetectStereoLayout(neutral), layout);
    }
}

// Synthetic pictures: the same scene twice side by side, over/under, and a red/cyan mix of
// a scene with a shifted copy; a JPS descriptor decides before the pixels.
TEST(LayoutDetection, SyntheticLayoutsAndTheDescriptorFirst) {
    const auto scene = [](int x, int y) {
        const int v = (x * 7 + y * 3) % 256, w = ((x / 8 + y / 8) % 2) * 200;
        return std::uint32_t((v + w) / 2) << 16 | std::uint32_t(v) << 8 | std::uint32_t(w);
    };
    const ImageBuffer sbs =
        test::MakeImage(400, 150, [&](int x, int y) { return scene(x % 200 + (x >= 200), y); });
    EXPECT_EQ(LayoutFromFacts(MeasurePictureLayout(sbs)), StereoLayout::SideBySide);
    const ImageBuffer ou =
        test::MakeImage(200, 300, [&](int x, int y) { return scene(x, y % 150); });
    EXPECT_EQ(LayoutFromFacts(MeasurePictureLayout(ou)), StereoLayout::OverUnder);
    // A saturated red disc on a blue ground: its edges change red and blue the opposite way,
    // yet it is no anaglyph.
    const auto disc = [](int x, int y, int cx) {
        const int dx = x - cx, dy = y - 75;
        return dx * dx + dy * dy < 40 * 40 ? 0xD04020u : 0x2A4A7Au + std::uint32_t(y / 2);
    };
    const ImageBuffer discs = test::MakeImage(
        400, 150, [&](int x, int y) { return x < 200 ? disc(x, y, 105) : disc(x - 200, y, 95); });
    EXPECT_EQ(LayoutFromFacts(MeasurePictureLayout(discs)), StereoLayout::SideBySide);
    // Its red/cyan mix of the two halves is one.
    const ImageBuffer anaglyph = test::MakeImage(200, 150, [&](int x, int y) {
        return (disc(x, y, 105) & 0xFF0000u) | (disc(x, y, 95) & 0x00FFFFu);
    });
    EXPECT_EQ(LayoutFromFacts(MeasurePictureLayout(anaglyph)), StereoLayout::Anaglyph);
    test::ScratchDir dir;
    const std::string path = dir / "x";
    ASSERT_TRUE(EncodeJpegImage(path, sbs, true, 90));
    ASSERT_TRUE(InsertJpsDescriptor(path, {.layout = StereoLayout::OverUnder, .comment = ""}));
    EXPECT_EQ(DetectStereoLayout(path), StereoLayout::OverUnder);
    EXPECT_EQ(DetectStereoLayout(dir / "missing"), std::nullopt);
    // A plain photograph says nothing clear.
    if (test::SampleExists("pairs/gx8_l.jpg")) {
        EXPECT_EQ(DetectStereoLayout(test::SamplePath("pairs/gx8_l.jpg")), std::nullopt);
    }
}

}  // namespace
}  // namespace duplora
