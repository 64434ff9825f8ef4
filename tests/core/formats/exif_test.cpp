#include "core/formats/exif.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "core/formats/jpeg_codec.h"
#include "core/formats/jpeg_segments.h"
#include "core/image/filter.h"
#include "core/image/resample.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::Append;
using test::Bytes;
using test::Quote;
using test::ReadAll;
using test::ScratchDir;
using test::Segment;
using test::Text;
using test::TiffWriter;

Bytes FakeThumbnail(std::size_t size) {
    Bytes t(size, 0x5A);
    t[0] = 0xFF, t[1] = 0xD8, t[size - 2] = 0xFF, t[size - 1] = 0xD9;
    return t;
}

Bytes FrameHeader(int width, int height, std::uint8_t marker = 0xC0) {
    return Segment(
        marker,
        {8, static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
         static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width), 1, 1, 0x11, 0});
}

// SOI, the given segments, a frame header and a scan.
Bytes JpegWith(const std::vector<Bytes>& segments, int width = 64, int height = 48) {
    Bytes f = {0xFF, 0xD8};
    for (const Bytes& s : segments) Append(f, s);
    Append(f, FrameHeader(width, height));
    Append(f, Segment(0xDA, {1, 1, 0, 0, 63, 0}));
    Append(f, {0x12, 0x34, 0xFF, 0x00, 0xFF, 0xD9});
    return f;
}

// IFD0 (orientation, Exif IFD pointer) at 8, Exif IFD (pixel size as SHORT and LONG) at
// 38, IFD1 (thumbnail offset and length) at 68, and a 40-byte thumbnail at 98.
Bytes HandMadeExif(bool big, int orientation) {
    TiffWriter w(big);
    w.Directory({{274, 3, static_cast<std::uint32_t>(orientation)}, {34665, 4, 38}}, 68)
        .Directory({{40962, 3, 11}, {40963, 4, 22}}, 0)
        .Directory({{513, 4, 98}, {514, 4, 40}}, 0);
    Append(w.Raw(), FakeThumbnail(40));
    return w.App1();
}

ExifFacts Scan(Bytes& file, ExifToolMode mode, const ExifValues& values = {},
               bool* changed = nullptr) {
    return ScanExifHeader(file, mode, values, changed);
}

TEST(MakeExifBlock, PatchesLengthDatesSizeAndThumbnail) {
    std::tm local{};
    local.tm_year = 2023 - 1900, local.tm_mday = 5, local.tm_hour = 7, local.tm_min = 8;
    local.tm_sec = 9, local.tm_isdst = -1;
    EXPECT_EQ(ExifDateText(std::mktime(&local)), "2023:01:05 07:08:09");

    // The length field counts the thumbnail; the fields exiftool reads are checked below.
    const Bytes thumb = FakeThumbnail(1000);
    const Bytes block = MakeExifBlock(thumb, 6000, 4000, "2024:02:29 13:05:09");
    ASSERT_EQ(block.size(), 1640u);
    EXPECT_EQ((block[2] << 8) | block[3], 1638);
    EXPECT_TRUE(std::equal(thumb.begin(), thumb.end(), block.begin() + 640));
    EXPECT_TRUE(MakeExifBlock({}, 1, 1, "").empty());
    EXPECT_TRUE(MakeExifBlock(FakeThumbnail(kMaxExifThumbnailSize + 1), 1, 1, "").empty());
    EXPECT_EQ(MakeExifBlock(FakeThumbnail(kMaxExifThumbnailSize), 1, 1, "").size(), 65537u);
}

TEST(ScanExifHeader, ReadsAndWritesInTheFilesByteOrder) {
    for (const bool big : {true, false}) {
        SCOPED_TRACE(big ? "MM" : "II");
        Bytes file = JpegWith({HandMadeExif(big, 8)}, 100, 50);
        ExifFacts facts = Scan(file, ExifToolMode::ExtractThumbnail);
        EXPECT_EQ(facts.orientation, 8);
        EXPECT_EQ(std::pair(facts.thumbnailOffset, facts.thumbnailLength), std::pair(98u, 40u));
        EXPECT_TRUE(facts.thumbnailInside);
        EXPECT_EQ(facts.width, 100);

        // TIFF header at 12; IFD0's first value field at 12 + 8 + 2 + 8.
        ExifValues values{.orientation = 3};
        bool changed = false;
        Scan(file, ExifToolMode::WriteOrientation, values, &changed);
        EXPECT_TRUE(changed);
        EXPECT_EQ(Bytes(file.begin() + 30, file.begin() + 32), (big ? Bytes{0, 3} : Bytes{3, 0}));
        EXPECT_EQ(Scan(file, ExifToolMode::ReadOrientation).orientation, 3);
        Scan(file, ExifToolMode::WriteOrientation, values, &changed);
        EXPECT_FALSE(changed);

        // Exif IFD at 12 + 38: PixelX SHORT, PixelY LONG.
        values.pixelWidth = 0x1234, values.pixelHeight = 0x5678;
        Scan(file, ExifToolMode::WriteDimensions, values, &changed);
        EXPECT_TRUE(changed);
        const std::size_t xAt = 12 + 38 + 2 + 8, yAt = xAt + 12;
        EXPECT_EQ(Bytes(file.begin() + xAt, file.begin() + xAt + 4),
                  big ? Bytes({0x12, 0x34, 0, 0}) : Bytes({0x34, 0x12, 0, 0}));
        EXPECT_EQ(Bytes(file.begin() + yAt, file.begin() + yAt + 4),
                  big ? Bytes({0, 0, 0x56, 0x78}) : Bytes({0x78, 0x56, 0, 0}));
    }
}

TEST(ScanExifHeader, NoExifEarlyEndAndProgressiveFrames) {
    Bytes plain = JpegWith({Segment(0xFE, Text(std::string("hello\0junk", 10)))});
    ExifFacts facts = Scan(plain, ExifToolMode::ExtractThumbnail);
    EXPECT_EQ(facts.result, ExifToolResult::NoExif);
    EXPECT_EQ(std::tuple(facts.orientation, facts.comment), std::tuple(kNoOrientation, "hello"));
    EXPECT_EQ(facts.width, 64);

    // An end marker before the scan: nothing counts.
    Bytes ended = {0xFF, 0xD8};
    Append(ended, HandMadeExif(false, 6));
    Append(ended, FrameHeader(64, 48));
    Append(ended, {0xFF, 0xD9});
    facts = Scan(ended, ExifToolMode::ExtractThumbnail);
    EXPECT_EQ(std::tuple(facts.result, facts.width), std::tuple(ExifToolResult::NoExif, 0));
    EXPECT_EQ(facts.thumbnailLength, 0u);

    Bytes xmp = JpegWith({Segment(0xE1, Text("http://ns.adobe.com/xap/1.0/"))});
    EXPECT_EQ(Scan(xmp, ExifToolMode::ReadOrientation).result, ExifToolResult::NoExif);

    Bytes progressive = {0xFF, 0xD8};
    Append(progressive, FrameHeader(320, 200, 0xC2));
    Append(progressive, Segment(0xDA, {1, 1, 0, 0, 63, 0}));
    facts = Scan(progressive, ExifToolMode::ExtractThumbnail);
    EXPECT_EQ(std::pair(facts.width, facts.height), std::pair(320, 200));
}

// Hostile structures: each is read without touching a byte outside the buffer (the
// sanitizer build checks that) and gives no thumbnail.
struct HostileCase {
    const char* name;
    Bytes app1;
    int orientation;
    bool thumbnail;  // a thumbnail that lies in the bytes read is fine
};

std::vector<HostileCase> HostileCases() {
    Bytes hugeCount =
        TiffWriter(false).Directory({{274, 3, 8}, {513, 4, 0xFFFF0000u}, {514, 4, 4}}, 0).App1();
    hugeCount[10 + 8] = hugeCount[10 + 9] = 0xFF;
    TiffWriter far(false);
    far.Raw()[4] = far.Raw()[5] = far.Raw()[6] = 0xF0, far.Raw()[7] = 0xFF;
    Bytes lying = HandMadeExif(false, 6);
    lying[2] = 0xFF, lying[3] = 0xF0;
    return {
        {"SelfLoop", TiffWriter(false).Directory({{274, 3, 6}}, 8).App1(), 6, false},
        {"TwoDirectoryLoop",
         TiffWriter(true).Directory({{274, 3, 3}}, 26).Directory({{513, 4, 8}}, 8).App1(), 3,
         false},
        {"HugeCount", hugeCount, 8, false},
        {"FarDirectory", far.App1(), kNoOrientation, false},
        {"OverflowingThumbnail",
         TiffWriter(false)
             .Directory({{274, 3, 6}, {513, 4, 0xFFFFFFF0u}, {514, 4, 0x20}}, 0)
             .App1(),
         6, false},
        {"ThumbnailPastBlock", TiffWriter(true).Directory({{513, 4, 20}, {514, 4, 5000}}, 0).App1(),
         kNoOrientation, false},
        {"FarExifDirectory",
         TiffWriter(false).Directory({{274, 3, 1}, {34665, 4, 0xFFFFFFF8u}}, 0).App1(), 1, false},
        {"ShortTiff", Segment(0xE1, Text(std::string("Exif\0\0II*\0", 10))), kNoOrientation, false},
        {"LyingLength", lying, 6, true}};
}

TEST(ScanExifHeader, HostileStructuresFailCleanly) {
    for (const HostileCase& c : HostileCases()) {
        SCOPED_TRACE(c.name);
        for (int mode = 0; mode <= 3; ++mode) {
            // The block alone at the end of the buffer, so that any overrun leaves it.
            Bytes file = {0xFF, 0xD8};
            Append(file, c.app1);
            const ExifValues values{.orientation = 6, .pixelWidth = 9, .pixelHeight = 9};
            const ExifFacts facts = Scan(file, static_cast<ExifToolMode>(mode), values);
            EXPECT_EQ(facts.thumbnailInside, c.thumbnail);
            if (mode < 2) {
                EXPECT_EQ(facts.orientation, c.orientation);
            }
        }
    }
}

TEST(ScanExifHeader, EveryTruncationIsSafe) {
    const Bytes full = JpegWith({HandMadeExif(true, 6)});
    const std::size_t thumbnailEnd = 2 + 10 + 98 + 40;  // SOI, APP1 header, offset, length
    for (std::size_t n = 0; n <= full.size(); ++n) {
        for (int mode = 0; mode <= 3; ++mode) {
            Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
            EXPECT_EQ(Scan(cut, static_cast<ExifToolMode>(mode)).thumbnailInside, n >= thumbnailEnd)
                << n;
        }
    }
}

TEST(ExifTool, ThumbnailMustLieInsideTheFirst65535Bytes) {
    ScratchDir dir;
    const Bytes block = MakeExifBlock(FakeThumbnail(3000), 64, 48, "2020:01:01 00:00:00");
    // The block starts at 2 + padding + 4; its thumbnail ends 3640 bytes later.
    for (const std::size_t padding : {65535 - 3646, 65535 - 3645}) {
        const bool inside = padding == 65535 - 3646;
        ASSERT_TRUE(
            test::WriteAll(dir / "far.jpg", JpegWith({Segment(0xFE, Bytes(padding, 'x')), block})));
        std::filesystem::remove(dir / "thumb.jpg");
        const ExifFacts facts =
            ExifTool(dir / "far.jpg", dir / "thumb.jpg", ExifToolMode::ExtractThumbnail);
        EXPECT_EQ(facts.result, inside ? ExifToolResult::ThumbnailWritten : ExifToolResult::Done);
        EXPECT_EQ(facts.orientation, 1);
        EXPECT_EQ(std::filesystem::exists(dir / "thumb.jpg"), inside);
    }
}

TEST(ExifTool, FileFailures) {
    ScratchDir dir;
    EXPECT_EQ(ExifTool(dir / "none.jpg", "", ExifToolMode::WriteOrientation).result,
              ExifToolResult::CannotOpen);

    const std::string path = dir / "ro.jpg";
    const Bytes file = JpegWith({HandMadeExif(false, 1)});
    ASSERT_TRUE(test::WriteAll(path, file));
    ::chmod(path.c_str(), 0444);
    const bool immutable = ::geteuid() == 0 && test::SetImmutable(path, true);
    if (::geteuid() != 0 || immutable) {
        EXPECT_EQ(ExifTool(path, "", ExifToolMode::WriteOrientation, {.orientation = 6}).result,
                  ExifToolResult::CannotWrite);
        EXPECT_EQ(ReadAll(path), file);
    }
    if (immutable) test::SetImmutable(path, false);
    // A thumbnail with nowhere to go.
    EXPECT_EQ(ExifTool(path, "", ExifToolMode::ExtractThumbnail).result,
              ExifToolResult::CannotWrite);

    // A FIFO is refused at once instead of waiting for a writer.
    const std::string fifo = dir / "pipe.jpg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ExifTool(fifo, "", ExifToolMode::ReadOrientation).result, ExifToolResult::CannotOpen);
    EXPECT_EQ(EditJpegSegments(fifo, {}, SegmentEditMode::Rewrite), SegmentEditResult::CannotOpen);

    // Writing into a file without Exif changes nothing.
    ASSERT_TRUE(test::WriteAll(dir / "plain.jpg", JpegWith({})));
    EXPECT_EQ(ExifTool(dir / "plain.jpg", "", ExifToolMode::WriteOrientation).result,
              ExifToolResult::NoExif);
    EXPECT_EQ(ReadAll(dir / "plain.jpg"), JpegWith({}));
}

// The embedded thumbnail is the file's preview resized to 160 on its longer side (here an
// enlargement of a small picture), sharpened with divisor 30 and encoded in colour at
// quality 60 without its JFIF segment; the sizes are the full picture's.
TEST(AddExifBlock, ThumbnailIsThePreviewResizedAndSharpened) {
    struct Case {
        int width, height, thumbWidth, thumbHeight;
    };
    for (const Case c : {Case{96, 40, 160, 66}, Case{300, 420, 114, 160}, Case{1, 200, 1, 160}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        ScratchDir dir;
        const std::string path = dir / "a.jpg", expected = dir / "expected.jpg";
        ASSERT_TRUE(EncodeJpegImage(path, test::MakeNoise(c.width, c.height, 7), true, 90));
        const ImageBuffer preview = DecodeJpegFile(path, true);
        ASSERT_TRUE(preview);
        ASSERT_TRUE(EncodeJpegImage(
            expected, SharpenImage(ResizeImage(preview, c.thumbWidth, c.thumbHeight), 30), true,
            60));
        ASSERT_EQ(EditJpegSegments(expected, {}, SegmentEditMode::DropApp0), SegmentEditResult::Ok);

        ASSERT_TRUE(AddExifBlock(path));
        ASSERT_EQ(ExifTool(path, dir / "thumb.jpg", ExifToolMode::ExtractThumbnail).result,
                  ExifToolResult::ThumbnailWritten);
        EXPECT_EQ(ReadAll(dir / "thumb.jpg"), ReadAll(expected));
        const Bytes file = ReadAll(path);
        EXPECT_EQ(test::Le(file, 2 + kExifTemplatePixelXAt, 2),
                  static_cast<std::uint32_t>(c.width));
        EXPECT_EQ(test::Le(file, 2 + kExifTemplatePixelYAt, 2),
                  static_cast<std::uint32_t>(c.height));
    }
}

TEST(AddExifBlock, UndecodableFileShowsItsBoxAndStays) {
    ScratchDir dir;
    const std::string broken = dir / "broken.jpg";
    ASSERT_TRUE(test::WriteAll(broken, JpegWith({})));  // headers only, no decodable scan
    EXPECT_EQ(test::Messages(AddExifBlock(broken)),
              std::vector<std::string>{broken + "|Error make a thumbnail image"});
    EXPECT_EQ(ReadAll(broken), JpegWith({}));
    const Status missing = AddExifBlock(dir / "missing.jpg");
    EXPECT_FALSE(missing);
    EXPECT_TRUE(test::Messages(missing).empty());
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"broken.jpg"});
}

class WithExiftool : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::HaveTool("exiftool") || !test::HaveTool("convert"))
            GTEST_SKIP() << "exiftool or ImageMagick missing";
    }
    // The values of the tags, given as "-Tag -Tag", one a line as exiftool reads them.
    static std::string Tag(const std::string& path, const std::string& tags) {
        return test::Capture("exiftool -n -s -s -s " + tags + " " + Quote(path));
    }
    static void Write(const std::string& path, int orientation, int width, int height) {
        const ExifValues values{orientation, width, height};
        EXPECT_EQ(ExifTool(path, "", ExifToolMode::WriteOrientation, values).result,
                  ExifToolResult::Done);
        EXPECT_EQ(ExifTool(path, "", ExifToolMode::WriteDimensions, values).result,
                  ExifToolResult::Done);
        EXPECT_EQ(Tag(path, "-Orientation -ExifImageWidth -ExifImageHeight"),
                  std::to_string(orientation) + "\n" + std::to_string(width) + "\n" +
                      std::to_string(height));
    }
    ScratchDir dir_;
};

TEST_F(WithExiftool, ReadsTheBlockWeAdd) {
    const std::string path = dir_ / "made.jpg";
    ASSERT_TRUE(test::MakeJpeg(path, "64x48"));
    test::SetOldTimes(path);
    const auto before = test::ModifyTime(path);
    const Bytes scan = test::EntropyData(ReadAll(path));

    ASSERT_TRUE(AddExifBlock(path));
    const std::string date = ExifDateText(before / 1000000000);
    EXPECT_EQ(Tag(path,
                  "-Make -Model -Software -Orientation -ExifVersion -ModifyDate "
                  "-DateTimeOriginal -CreateDate -ExifImageWidth -ExifImageHeight "
                  "-Compression -Warning"),
              "Ferrowyn&Sol\nDuplora Studio1\nFerrowyn & Sol Ver1.00\n1\n0210\n" + date + "\n" +
                  date + "\n" + date + "\n64\n48\n6");

    // exiftool's thumbnail is the one we read.
    const std::string ours = dir_ / "ours.jpg";
    EXPECT_EQ(ExifTool(path, ours, ExifToolMode::ExtractThumbnail).result,
              ExifToolResult::ThumbnailWritten);
    EXPECT_EQ(ReadAll(ours), test::CaptureBytes("exiftool -b -ThumbnailImage " + Quote(path)));

    // A second block is never added, and that is no failure to tell.
    const Bytes once = ReadAll(path);
    const Status second = AddExifBlock(path);
    EXPECT_FALSE(second);
    EXPECT_TRUE(test::Messages(second).empty());
    EXPECT_EQ(ReadAll(path), once);

    // The orientation and size we write are what exiftool reads; after all of it times, scan
    // data and the folder are as they were.
    Write(path, 8, 1234, 567);
    EXPECT_EQ(test::ModifyTime(path), before);
    EXPECT_EQ(test::EntropyData(ReadAll(path)), scan);
    EXPECT_EQ(dir_.Files(), (std::vector<std::string>{"made.jpg", "ours.jpg"}));
}

TEST_F(WithExiftool, WeReadAndWriteWhatExiftoolWroteInEitherByteOrder) {
    const std::string path = dir_ / "their.jpg", thumb = dir_ / "small.jpg";
    ASSERT_TRUE(test::MakeJpeg(thumb, "16x12"));
    for (const std::string order : {"MM", "II"}) {
        SCOPED_TRACE(order);
        ASSERT_TRUE(test::MakeJpeg(path, "64x48"));
        ASSERT_TRUE(test::RunQuiet("exiftool -overwrite_original -ExifByteOrder=" + order +
                                   " -Orientation#=6 -ExifImageWidth=64 -ExifImageHeight=48"
                                   " '-ThumbnailImage<=" +
                                   thumb + "' " + Quote(path)));
        ASSERT_EQ(Tag(path, "-ExifByteOrder"), order);

        const ExifFacts facts = ExifTool(path, dir_ / "out.jpg", ExifToolMode::ExtractThumbnail);
        EXPECT_EQ(facts.result, ExifToolResult::ThumbnailWritten);
        EXPECT_EQ(facts.orientation, 6);
        EXPECT_EQ(std::pair(facts.width, facts.height), std::pair(64, 48));
        EXPECT_EQ(ReadAll(dir_ / "out.jpg"), ReadAll(thumb));
        Write(path, 3, 4000, 3000);
    }
}

TEST_F(WithExiftool, RealPhotographs) {
    for (const char* s : {"pairs/frozenpond_l.jpg", "pairs/gx8_l.jpg"})
        if (!test::SampleExists(s)) GTEST_SKIP() << s << " missing";
    // A camera's thumbnail is the one exiftool reads.
    const std::string pond = test::SamplePath("pairs/frozenpond_l.jpg");
    const ExifFacts facts = ExifTool(pond, dir_ / "thumb.jpg", ExifToolMode::ExtractThumbnail);
    EXPECT_EQ(facts.result, ExifToolResult::ThumbnailWritten);
    EXPECT_EQ(std::pair(facts.width, facts.height), std::pair(640, 480));
    EXPECT_EQ(facts.orientation, kNoOrientation);
    EXPECT_EQ(ReadAll(dir_ / "thumb.jpg"),
              test::CaptureBytes("exiftool -b -ThumbnailImage " + Quote(pond)));

    // A big-endian orientation rewritten in a copy of a camera file changes one byte.
    const std::string copy = dir_ / "gx8.jpg";
    const Bytes original = ReadAll(test::SamplePath("pairs/gx8_l.jpg"));
    ASSERT_TRUE(test::WriteAll(copy, original));
    EXPECT_EQ(ExifTool(copy, "", ExifToolMode::ReadOrientation).orientation, 1);
    EXPECT_EQ(ExifTool(copy, "", ExifToolMode::WriteOrientation, {.orientation = 6}).result,
              ExifToolResult::Done);
    EXPECT_EQ(Tag(copy, "-Orientation"), "6");
    const Bytes rewritten = ReadAll(copy);
    ASSERT_EQ(rewritten.size(), original.size());
    EXPECT_EQ(std::inner_product(original.begin(), original.end(), rewritten.begin(), 0,
                                 std::plus<>(), std::not_equal_to<>()),
              1);
}

}  // namespace
}  // namespace duplora
