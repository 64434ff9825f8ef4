#include "core/formats/exif.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/formats/jpeg_codec.h"
#include "core/formats/jpeg_segments.h"
#include "core/hooks.h"
#include "core/image/filter.h"
#include "core/image/resample.h"
#include "jpeg_file_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::Append;
using test::Bytes;
using test::CollectMessages;
using test::Quote;
using test::Segment;
using test::TempFolder;
using test::Text;

// ---- building blocks ------------------------------------------------------------------

Bytes FakeThumbnail(std::size_t size) {
    Bytes t(size, 0x5A);
    t[0] = 0xFF;
    t[1] = 0xD8;
    t[size - 2] = 0xFF;
    t[size - 1] = 0xD9;
    return t;
}

Bytes FrameHeader(int width, int height) {
    return Segment(
        0xC0, {8, static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height & 0xFF),
               static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width & 0xFF), 1, 1,
               0x11, 0});
}

Bytes ScanTail() {
    Bytes s = Segment(0xDA, {1, 1, 0, 0, 63, 0});
    Append(s, {0x12, 0x34, 0xFF, 0x00, 0xFF, 0xD9});
    return s;
}

// SOI, the given segments, a 64 × 48 frame header and a scan.
Bytes JpegWith(const std::vector<Bytes>& segments, int width = 64, int height = 48) {
    Bytes f = {0xFF, 0xD8};
    for (const Bytes& s : segments) Append(f, s);
    Append(f, FrameHeader(width, height));
    Append(f, ScanTail());
    return f;
}

std::uint32_t Le16(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8);
}

// A TIFF structure written entry by entry, in either byte order.
class TiffWriter {
  public:
    explicit TiffWriter(bool big) : big_(big) {
        Append(bytes_, big ? Text("MM") : Text("II"));
        Put16(42);
        Put32(8);
    }
    void Put16(std::uint32_t v) {
        if (big_)
            Append(bytes_, {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
        else
            Append(bytes_, {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
    }
    void Put32(std::uint32_t v) {
        if (big_) {
            Put16(v >> 16);
            Put16(v & 0xFFFF);
        } else {
            Put16(v & 0xFFFF);
            Put16(v >> 16);
        }
    }
    // One directory; entries are {tag, type, value}. SHORT values sit in the first
    // two bytes of the value field.
    void Directory(const std::vector<std::array<std::uint32_t, 3>>& entries, std::uint32_t next) {
        Put16(static_cast<std::uint32_t>(entries.size()));
        for (const auto& [tag, type, value] : entries) {
            Put16(tag);
            Put16(type);
            Put32(1);
            if (type == 3) {
                Put16(value);
                Put16(0);
            } else {
                Put32(value);
            }
        }
        Put32(next);
    }
    std::size_t Size() const { return bytes_.size(); }
    Bytes App1() const {
        Bytes payload = Text(std::string("Exif\0\0", 6));
        Append(payload, bytes_);
        return Segment(0xE1, payload);
    }
    Bytes& Raw() { return bytes_; }

  private:
    bool big_;
    Bytes bytes_;
};

// IFD0 (orientation, Exif IFD pointer) at 8, Exif IFD (pixel size as SHORT and LONG) at
// 38, IFD1 (thumbnail offset and length) at 68, and a 40-byte thumbnail at 98.
Bytes HandMadeExif(bool big, int orientation) {
    TiffWriter w(big);
    w.Directory({{274, 3, static_cast<std::uint32_t>(orientation)}, {34665, 4, 38}}, 68);
    w.Directory({{40962, 3, 11}, {40963, 4, 22}}, 0);
    w.Directory({{513, 4, 98}, {514, 4, 40}}, 0);
    Append(w.Raw(), FakeThumbnail(40));
    return w.App1();
}

ExifFacts Scan(Bytes& file, ExifToolMode mode, const ExifValues& values = {},
               bool* changed = nullptr) {
    return ScanExifHeader(file, mode, values, changed);
}

// ---- the template and the block --------------------------------------------------------

TEST(MakeExifBlock, PatchesLengthDatesSizeAndThumbnail) {
    const Bytes thumb = FakeThumbnail(1000);
    const Bytes block = MakeExifBlock(thumb, 6000, 4000, "2024:02:29 13:05:09");
    ASSERT_EQ(block.size(), 1640u);
    EXPECT_EQ((block[2] << 8) | block[3], 1638);
    for (std::size_t at : {218u, 436u, 456u})
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&block[at])), "2024:02:29 13:05:09");
    EXPECT_EQ(Le16(block, 284), 6000u);
    EXPECT_EQ(Le16(block, 296), 4000u);
    EXPECT_EQ(Le16(block, 616), 1000u);
    EXPECT_TRUE(std::equal(thumb.begin(), thumb.end(), block.begin() + 640));
    // The remaining bytes are the template's.
    const auto t = ExifTemplate();
    for (std::size_t i = 4; i < 640; ++i) {
        const bool patched = (i >= 218 && i < 237) || (i >= 436 && i < 455) ||
                             (i >= 456 && i < 475) || i == 284 || i == 285 || i == 296 ||
                             i == 297 || i == 616 || i == 617;
        if (!patched) {
            EXPECT_EQ(block[i], t[i]) << i;
        }
    }
    EXPECT_TRUE(MakeExifBlock({}, 1, 1, "").empty());
    EXPECT_TRUE(MakeExifBlock(FakeThumbnail(kMaxExifThumbnailSize + 1), 1, 1, "").empty());
    EXPECT_EQ(MakeExifBlock(FakeThumbnail(kMaxExifThumbnailSize), 1, 1, "").size(), 65537u);
}

TEST(ExifDateText, FormatsLocalTime) {
    std::tm local{};
    local.tm_year = 2023 - 1900;
    local.tm_mon = 0;
    local.tm_mday = 5;
    local.tm_hour = 7;
    local.tm_min = 8;
    local.tm_sec = 9;
    local.tm_isdst = -1;
    EXPECT_EQ(ExifDateText(std::mktime(&local)), "2023:01:05 07:08:09");
}

// ---- reading and patching in memory ----------------------------------------------------

TEST(ScanExifHeader, ReadsOurOwnBlock) {
    Bytes file = JpegWith({MakeExifBlock(FakeThumbnail(300), 64, 48, "2020:01:01 00:00:00")});
    const ExifFacts facts = Scan(file, ExifToolMode::ExtractThumbnail);
    EXPECT_EQ(facts.result, ExifToolResult::Done);
    EXPECT_EQ(facts.orientation, 1);
    EXPECT_EQ(facts.width, 64);
    EXPECT_EQ(facts.height, 48);
    EXPECT_EQ(facts.tiffHeader, 12u);
    EXPECT_EQ(facts.thumbnailOffset, 630u);
    EXPECT_EQ(facts.thumbnailLength, 300u);
    EXPECT_TRUE(facts.thumbnailInside);
}

class ByteOrders : public ::testing::TestWithParam<bool> {};

TEST_P(ByteOrders, ReadAndWriteInTheFilesOrder) {
    const bool big = GetParam();
    Bytes file = JpegWith({HandMadeExif(big, 8)}, 100, 50);
    ExifFacts facts = Scan(file, ExifToolMode::ExtractThumbnail);
    EXPECT_EQ(facts.orientation, 8);
    EXPECT_EQ(facts.thumbnailOffset, 98u);
    EXPECT_EQ(facts.thumbnailLength, 40u);
    EXPECT_TRUE(facts.thumbnailInside);
    EXPECT_EQ(facts.width, 100);

    // TIFF header at 12; IFD0's first entry's value field at 12 + 8 + 2 + 8.
    const std::size_t orientationAt = 30;
    ExifValues values;
    values.orientation = 3;
    bool changed = false;
    Scan(file, ExifToolMode::WriteOrientation, values, &changed);
    EXPECT_TRUE(changed);
    EXPECT_EQ(file[orientationAt], big ? 0 : 3);
    EXPECT_EQ(file[orientationAt + 1], big ? 3 : 0);
    EXPECT_EQ(Scan(file, ExifToolMode::ReadOrientation).orientation, 3);
    Scan(file, ExifToolMode::WriteOrientation, values, &changed);
    EXPECT_FALSE(changed);

    // Exif IFD at 12 + 38: PixelX SHORT, PixelY LONG.
    values.pixelWidth = 0x1234;
    values.pixelHeight = 0x5678;
    Scan(file, ExifToolMode::WriteDimensions, values, &changed);
    EXPECT_TRUE(changed);
    const std::size_t xAt = 12 + 38 + 2 + 8, yAt = xAt + 12;
    const Bytes x(file.begin() + xAt, file.begin() + xAt + 4);
    const Bytes y(file.begin() + yAt, file.begin() + yAt + 4);
    EXPECT_EQ(x, big ? Bytes({0x12, 0x34, 0, 0}) : Bytes({0x34, 0x12, 0, 0}));
    EXPECT_EQ(y, big ? Bytes({0, 0, 0x56, 0x78}) : Bytes({0x78, 0x56, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(ScanExifHeader, ByteOrders, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "MM" : "II"; });

TEST(ScanExifHeader, NoExifAndEarlyEnd) {
    Bytes plain = JpegWith({Segment(0xFE, Text(std::string("hello\0junk", 10)))});
    ExifFacts facts = Scan(plain, ExifToolMode::ExtractThumbnail);
    EXPECT_EQ(facts.result, ExifToolResult::NoExif);
    EXPECT_EQ(facts.orientation, kNoOrientation);
    EXPECT_EQ(facts.comment, "hello");
    EXPECT_EQ(facts.width, 64);

    // An end marker before the scan: nothing counts.
    Bytes ended = {0xFF, 0xD8};
    Append(ended, HandMadeExif(false, 6));
    Append(ended, FrameHeader(64, 48));
    Append(ended, {0xFF, 0xD9});
    facts = Scan(ended, ExifToolMode::ExtractThumbnail);
    EXPECT_EQ(facts.result, ExifToolResult::NoExif);
    EXPECT_EQ(facts.width, 0);
    EXPECT_EQ(facts.thumbnailLength, 0u);

    // An APP1 that is not Exif.
    Bytes xmp = JpegWith({Segment(0xE1, Text("http://ns.adobe.com/xap/1.0/"))});
    EXPECT_EQ(Scan(xmp, ExifToolMode::ReadOrientation).result, ExifToolResult::NoExif);
}

TEST(ScanExifHeader, ProgressiveFrameGivesTheSize) {
    Bytes file = {0xFF, 0xD8};
    Append(file, HandMadeExif(false, 1));
    Bytes frame = FrameHeader(320, 200);
    frame[1] = 0xC2;
    Append(file, frame);
    Append(file, ScanTail());
    const ExifFacts facts = Scan(file, ExifToolMode::ExtractThumbnail);
    EXPECT_EQ(facts.width, 320);
    EXPECT_EQ(facts.height, 200);
}

// Hostile structures: every one must be read without touching a byte outside the buffer
// (the sanitizer build checks that) and give no thumbnail.
struct HostileCase {
    const char* name;
    Bytes app1;
    int orientation;
    bool thumbnail;  // a thumbnail that lies in the bytes read is fine
};

Bytes SelfLoop() {
    TiffWriter w(false);
    w.Directory({{274, 3, 6}}, 8);
    return w.App1();
}

Bytes TwoDirectoryLoop() {
    TiffWriter w(true);
    w.Directory({{274, 3, 3}}, 26);
    w.Directory({{513, 4, 8}}, 8);
    return w.App1();
}

Bytes HugeCount() {
    TiffWriter w(false);
    w.Directory({{274, 3, 8}, {513, 4, 0xFFFF0000u}, {514, 4, 4}}, 0);
    w.Raw()[8] = 0xFF;
    w.Raw()[9] = 0xFF;
    return w.App1();
}

Bytes FarDirectory() {
    TiffWriter w(false);
    w.Raw()[4] = w.Raw()[5] = w.Raw()[6] = 0xF0;
    w.Raw()[7] = 0xFF;
    return w.App1();
}

Bytes OverflowingThumbnail() {
    TiffWriter w(false);
    w.Directory({{274, 3, 6}, {513, 4, 0xFFFFFFF0u}, {514, 4, 0x20}}, 0);
    return w.App1();
}

Bytes ThumbnailPastBlock() {
    TiffWriter w(true);
    w.Directory({{513, 4, 20}, {514, 4, 5000}}, 0);
    return w.App1();
}

Bytes FarExifDirectory() {
    TiffWriter w(false);
    w.Directory({{274, 3, 1}, {34665, 4, 0xFFFFFFF8u}}, 0);
    return w.App1();
}

Bytes ShortTiff() {
    return Segment(0xE1, Text(std::string("Exif\0\0II*\0", 10)));
}

Bytes LyingLength() {
    Bytes s = HandMadeExif(false, 6);
    s[2] = 0xFF;
    s[3] = 0xF0;
    return s;
}

std::vector<HostileCase> HostileCases() {
    return {
        {"SelfLoop", SelfLoop(), 6, false},
        {"TwoDirectoryLoop", TwoDirectoryLoop(), 3, false},
        {"HugeCount", HugeCount(), 8, false},
        {"FarDirectory", FarDirectory(), kNoOrientation, false},
        {"OverflowingThumbnail", OverflowingThumbnail(), 6, false},
        {"ThumbnailPastBlock", ThumbnailPastBlock(), kNoOrientation, false},
        {"FarExifDirectory", FarExifDirectory(), 1, false},
        {"ShortTiff", ShortTiff(), kNoOrientation, false},
        {"LyingLength", LyingLength(), 6, true},
    };
}

class HostileExif : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileExif, FailsCleanly) {
    for (int mode = 0; mode <= 3; ++mode) {
        // The block alone at the end of the buffer, so that any overrun leaves it.
        Bytes file = {0xFF, 0xD8};
        Append(file, GetParam().app1);
        ExifValues values;
        values.orientation = 6;
        values.pixelWidth = values.pixelHeight = 9;
        const ExifFacts facts = Scan(file, static_cast<ExifToolMode>(mode), values);
        EXPECT_EQ(facts.thumbnailInside, GetParam().thumbnail);
        if (mode < 2) {
            EXPECT_EQ(facts.orientation, GetParam().orientation);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ScanExifHeader, HostileExif, ::testing::ValuesIn(HostileCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScanExifHeader, EveryTruncationIsSafe) {
    const Bytes full = JpegWith({HandMadeExif(true, 6)});
    // The thumbnail ends at: SOI 2 + APP1 header 10 + 98 + 40.
    const std::size_t thumbnailEnd = 2 + 10 + 98 + 40;
    for (std::size_t n = 0; n <= full.size(); ++n) {
        for (int mode = 0; mode <= 3; ++mode) {
            Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
            const ExifFacts facts = Scan(cut, static_cast<ExifToolMode>(mode));
            EXPECT_EQ(facts.thumbnailInside, n >= thumbnailEnd) << n;
        }
    }
}

// ---- files ------------------------------------------------------------------------------

TEST(ExifTool, ThumbnailMustLieInsideTheFirst65535Bytes) {
    TempFolder folder;
    const Bytes block = MakeExifBlock(FakeThumbnail(3000), 64, 48, "2020:01:01 00:00:00");
    const std::string thumbPath = folder.File("thumb.jpg");
    struct Case {
        std::size_t padding;
        ExifToolResult expected;
    };
    // The block starts at 2 + padding + 4; its thumbnail ends 3640 bytes later.
    for (const Case& c :
         {Case{10000, ExifToolResult::ThumbnailWritten},
          Case{65535 - 3646, ExifToolResult::ThumbnailWritten},
          Case{65535 - 3645, ExifToolResult::Done}, Case{63000, ExifToolResult::Done}}) {
        const std::string path = folder.File("far.jpg");
        ASSERT_TRUE(
            test::WriteBytes(path, JpegWith({Segment(0xFE, Bytes(c.padding, 'x')), block})));
        std::remove(thumbPath.c_str());
        const ExifFacts facts = ExifTool(path, thumbPath, ExifToolMode::ExtractThumbnail);
        EXPECT_EQ(facts.result, c.expected) << c.padding;
        EXPECT_EQ(facts.orientation, 1);
        EXPECT_EQ(std::filesystem::exists(thumbPath),
                  c.expected == ExifToolResult::ThumbnailWritten);
    }
}

TEST(ExifTool, FileFailures) {
    TempFolder folder;
    EXPECT_EQ(ExifTool(folder.File("none.jpg"), "", ExifToolMode::ReadOrientation).result,
              ExifToolResult::CannotOpen);
    EXPECT_EQ(ExifTool(folder.File("none.jpg"), "", ExifToolMode::WriteOrientation).result,
              ExifToolResult::CannotOpen);

    const std::string path = folder.File("ro.jpg");
    const Bytes file = JpegWith({HandMadeExif(false, 1)});
    ASSERT_TRUE(test::WriteBytes(path, file));
    ::chmod(path.c_str(), 0444);
    const bool immutable = ::geteuid() == 0 && test::SetImmutable(path, true);
    if (::geteuid() != 0 || immutable) {
        ExifValues values;
        values.orientation = 6;
        EXPECT_EQ(ExifTool(path, "", ExifToolMode::WriteOrientation, values).result,
                  ExifToolResult::CannotWrite);
        EXPECT_EQ(test::ReadBytes(path), file);
    }
    if (immutable) test::SetImmutable(path, false);

    // A FIFO is refused at once instead of waiting for a writer.
    const std::string fifo = folder.File("pipe.jpg");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ExifTool(fifo, "", ExifToolMode::ReadOrientation).result, ExifToolResult::CannotOpen);
    EXPECT_EQ(EditJpegSegments(fifo, {}, SegmentEditMode::Rewrite), SegmentEditResult::CannotOpen);
    ::unlink(fifo.c_str());

    // A thumbnail with nowhere to go.
    const std::string withThumb = folder.File("thumb.jpg");
    ASSERT_TRUE(test::WriteBytes(withThumb, JpegWith({HandMadeExif(false, 1)})));
    EXPECT_EQ(ExifTool(withThumb, "", ExifToolMode::ExtractThumbnail).result,
              ExifToolResult::CannotWrite);
    ::unlink(withThumb.c_str());

    // Writing into a file without Exif changes nothing.
    const std::string plain = folder.File("plain.jpg");
    ASSERT_TRUE(test::WriteBytes(plain, JpegWith({})));
    EXPECT_EQ(ExifTool(plain, "", ExifToolMode::WriteOrientation).result, ExifToolResult::NoExif);
    EXPECT_EQ(test::ReadBytes(plain), JpegWith({}));
}

TEST(ExifTool, WritingKeepsTimesAndScan) {
    TempFolder folder;
    const std::string path = folder.File("a.jpg");
    const Bytes original = JpegWith({HandMadeExif(true, 1)});
    ASSERT_TRUE(test::WriteBytes(path, original));
    test::SetOldTimes(path);
    const auto before = test::ModifyTime(path);
    ExifValues values;
    values.orientation = 6;
    EXPECT_EQ(ExifTool(path, "", ExifToolMode::WriteOrientation, values).result,
              ExifToolResult::Done);
    EXPECT_EQ(test::ModifyTime(path), before);
    EXPECT_EQ(ExifTool(path, "", ExifToolMode::ReadOrientation).orientation, 6);
    values.pixelWidth = 640;
    values.pixelHeight = 480;
    EXPECT_EQ(ExifTool(path, "", ExifToolMode::WriteDimensions, values).result,
              ExifToolResult::Done);
    EXPECT_EQ(test::ModifyTime(path), before);
    const Bytes after = test::ReadBytes(path);
    ASSERT_EQ(after.size(), original.size());
    EXPECT_EQ(test::EntropyData(after), test::EntropyData(original));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"a.jpg"});
}

// ---- with exiftool --------------------------------------------------------------------

class WithExiftool : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::HaveTool("exiftool") || !test::HaveTool("convert"))
            GTEST_SKIP() << "exiftool or ImageMagick missing";
    }
    static std::string Tag(const std::string& path, const std::string& tag) {
        return test::Capture("exiftool -n -s -s -s -" + tag + " " + Quote(path));
    }
    TempFolder folder_;
};

TEST_F(WithExiftool, ReadsTheBlockWeAdd) {
    const std::string path = folder_.File("made.jpg");
    ASSERT_TRUE(test::MakeJpeg(path, "64x48"));
    test::SetOldTimes(path);
    const auto before = test::ModifyTime(path);
    const Bytes scan = test::EntropyData(test::ReadBytes(path));

    ASSERT_TRUE(AddExifBlock(path));
    EXPECT_EQ(test::ModifyTime(path), before);
    EXPECT_EQ(test::EntropyData(test::ReadBytes(path)), scan);
    EXPECT_EQ(Tag(path, "Make"), "Ferrowyn&Sol");
    EXPECT_EQ(Tag(path, "Model"), "Duplora Studio1");
    EXPECT_EQ(Tag(path, "Software"), "Ferrowyn & Sol Ver1.00");
    EXPECT_EQ(Tag(path, "Orientation"), "1");
    EXPECT_EQ(Tag(path, "ExifVersion"), "0210");
    const std::string date = ExifDateText(before / 1000000000);
    EXPECT_EQ(Tag(path, "ModifyDate"), date);
    EXPECT_EQ(Tag(path, "DateTimeOriginal"), date);
    EXPECT_EQ(Tag(path, "CreateDate"), date);
    EXPECT_EQ(Tag(path, "ExifImageWidth"), "64");
    EXPECT_EQ(Tag(path, "ExifImageHeight"), "48");
    EXPECT_EQ(Tag(path, "Compression"), "6");
    EXPECT_EQ(test::Capture("exiftool -s -s -s -Warning " + Quote(path)), "");

    // exiftool's thumbnail is the one we read, and it is a 160 × 120 JPEG.
    const std::string ours = folder_.File("ours.jpg");
    EXPECT_EQ(ExifTool(path, ours, ExifToolMode::ExtractThumbnail).result,
              ExifToolResult::ThumbnailWritten);
    const Bytes theirs = test::CaptureBytes("exiftool -b -ThumbnailImage " + Quote(path));
    EXPECT_EQ(test::ReadBytes(ours), theirs);
    EXPECT_EQ(test::Capture("identify -format %wx%h " + Quote(ours)), "160x120");
    const auto markers = test::HeaderMarkers(test::ReadBytes(ours));
    EXPECT_EQ(std::count(markers.begin(), markers.end(), 0xE0), 0);

    // A second block is never added.
    const Bytes once = test::ReadBytes(path);
    EXPECT_FALSE(AddExifBlock(path));
    EXPECT_EQ(test::ReadBytes(path), once);

    // The orientation and size we write are what exiftool reads.
    ExifValues values;
    values.orientation = 8;
    values.pixelWidth = 1234;
    values.pixelHeight = 567;
    EXPECT_EQ(ExifTool(path, "", ExifToolMode::WriteOrientation, values).result,
              ExifToolResult::Done);
    EXPECT_EQ(ExifTool(path, "", ExifToolMode::WriteDimensions, values).result,
              ExifToolResult::Done);
    EXPECT_EQ(Tag(path, "Orientation"), "8");
    EXPECT_EQ(Tag(path, "ExifImageWidth"), "1234");
    EXPECT_EQ(Tag(path, "ExifImageHeight"), "567");
    EXPECT_EQ(test::ModifyTime(path), before);
}

TEST_F(WithExiftool, TallPictureGetsATallThumbnail) {
    const std::string path = folder_.File("tall.jpg");
    ASSERT_TRUE(test::MakeJpeg(path, "30x200"));
    ASSERT_TRUE(AddExifBlock(path));
    const std::string thumb = folder_.File("t.jpg");
    ASSERT_EQ(ExifTool(path, thumb, ExifToolMode::ExtractThumbnail).result,
              ExifToolResult::ThumbnailWritten);
    EXPECT_EQ(test::Capture("identify -format %wx%h " + Quote(thumb)), "24x160");
}

class ExiftoolByteOrders : public WithExiftool, public ::testing::WithParamInterface<bool> {};

TEST_P(ExiftoolByteOrders, WeReadAndWriteWhatExiftoolWrote) {
    const std::string order = GetParam() ? "MM" : "II";
    const std::string path = folder_.File("their.jpg");
    const std::string thumb = folder_.File("small.jpg");
    ASSERT_TRUE(test::MakeJpeg(path, "64x48"));
    ASSERT_TRUE(test::MakeJpeg(thumb, "16x12"));
    ASSERT_EQ(test::Run("exiftool -overwrite_original -ExifByteOrder=" + order +
                        " -Orientation#=6 -ExifImageWidth=64 -ExifImageHeight=48"
                        " '-ThumbnailImage<=" +
                        thumb + "' " + Quote(path)),
              0);
    ASSERT_EQ(Tag(path, "ExifByteOrder"), GetParam() ? "MM" : "II");

    const std::string out = folder_.File("out.jpg");
    const ExifFacts facts = ExifTool(path, out, ExifToolMode::ExtractThumbnail);
    EXPECT_EQ(facts.result, ExifToolResult::ThumbnailWritten);
    EXPECT_EQ(facts.orientation, 6);
    EXPECT_EQ(facts.width, 64);
    EXPECT_EQ(facts.height, 48);
    EXPECT_EQ(test::ReadBytes(out), test::ReadBytes(thumb));

    ExifValues values;
    values.orientation = 3;
    values.pixelWidth = 4000;
    values.pixelHeight = 3000;
    EXPECT_EQ(ExifTool(path, "", ExifToolMode::WriteOrientation, values).result,
              ExifToolResult::Done);
    EXPECT_EQ(ExifTool(path, "", ExifToolMode::WriteDimensions, values).result,
              ExifToolResult::Done);
    EXPECT_EQ(Tag(path, "Orientation"), "3");
    EXPECT_EQ(Tag(path, "ExifImageWidth"), "4000");
    EXPECT_EQ(Tag(path, "ExifImageHeight"), "3000");
}

INSTANTIATE_TEST_SUITE_P(ExifTool, ExiftoolByteOrders, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "MM" : "II"; });

TEST_F(WithExiftool, RealPhotoThumbnailAndOrientation) {
    if (!test::SampleExists("pairs/frozenpond_l.jpg") || !test::SampleExists("pairs/gx8_l.jpg"))
        GTEST_SKIP() << "samples missing";
    const std::string sample = test::SamplePath("pairs/frozenpond_l.jpg");
    const std::string out = folder_.File("thumb.jpg");
    const ExifFacts facts = ExifTool(sample, out, ExifToolMode::ExtractThumbnail);
    EXPECT_EQ(facts.result, ExifToolResult::ThumbnailWritten);
    EXPECT_EQ(facts.width, 640);
    EXPECT_EQ(facts.height, 480);
    EXPECT_EQ(facts.orientation, kNoOrientation);
    EXPECT_EQ(test::ReadBytes(out),
              test::CaptureBytes("exiftool -b -ThumbnailImage " + Quote(sample)));

    // Big-endian orientation rewritten in a copy of a camera file.
    const std::string copy = folder_.File("gx8.jpg");
    const Bytes original = test::ReadBytes(test::SamplePath("pairs/gx8_l.jpg"));
    ASSERT_TRUE(test::WriteBytes(copy, original));
    EXPECT_EQ(ExifTool(copy, "", ExifToolMode::ReadOrientation).orientation, 1);
    ExifValues values;
    values.orientation = 6;
    EXPECT_EQ(ExifTool(copy, "", ExifToolMode::WriteOrientation, values).result,
              ExifToolResult::Done);
    EXPECT_EQ(Tag(copy, "Orientation"), "6");
    const Bytes rewritten = test::ReadBytes(copy);
    ASSERT_EQ(rewritten.size(), original.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < original.size(); ++i) differing += original[i] != rewritten[i];
    EXPECT_EQ(differing, 1u);
}

TEST_F(WithExiftool, RealPhotoWithoutExifGetsOurs) {
    if (!test::SampleExists("pairs/sugarshack_r.jpg")) GTEST_SKIP() << "sample missing";
    const std::string path = folder_.File("photo.jpg");
    ASSERT_TRUE(
        test::WriteBytes(path, test::ReadBytes(test::SamplePath("pairs/sugarshack_r.jpg"))));
    ASSERT_EQ(EditJpegSegments(path, {}, SegmentEditMode::DropApp1), SegmentEditResult::Ok);
    EXPECT_EQ(ExifTool(path, "", ExifToolMode::ReadOrientation).result, ExifToolResult::NoExif);
    ASSERT_TRUE(AddExifBlock(path));
    EXPECT_EQ(Tag(path, "ExifImageWidth"), "640");
    EXPECT_EQ(Tag(path, "ExifImageHeight"), "480");
    const std::string thumb = folder_.File("t.jpg");
    ASSERT_EQ(ExifTool(path, thumb, ExifToolMode::ExtractThumbnail).result,
              ExifToolResult::ThumbnailWritten);
    EXPECT_EQ(test::Capture("identify -format %wx%h " + Quote(thumb)), "160x120");
    // The thumbnail shows the photograph: its mean colour is close to the photo's.
    const auto mean = [](const std::string& p) {
        return std::stod(test::Capture("convert " + Quote(p) + " -format '%[fx:mean]' info:"));
    };
    EXPECT_NEAR(mean(thumb), mean(path), 0.03);
    EXPECT_EQ(test::Run("convert " + Quote(path) + " null:"), 0);
}

// ---- the thumbnail we make --------------------------------------------------------------

// The embedded thumbnail is the file's preview resized to 160 on its longer side (here an
// enlargement of a small picture), sharpened with divisor 30 and encoded in colour at
// quality 60 without its JFIF segment; the sizes are the full picture's.
TEST(AddExifBlock, ThumbnailIsThePreviewResizedAndSharpened) {
    struct Case {
        int width, height, thumbWidth, thumbHeight;
    };
    for (const Case c : {Case{96, 40, 160, 66}, Case{300, 420, 114, 160}, Case{1, 200, 1, 160}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        TempFolder folder;
        const std::string path = folder.File("a.jpg");
        ASSERT_TRUE(EncodeJpegImage(path, test::MakeNoise(c.width, c.height, 7), true, 90));

        int w = 0, h = 0;
        const ImageBuffer preview = DecodeJpegFile(path, true, &w, &h);
        ASSERT_TRUE(preview);
        const ImageBuffer sharpened =
            SharpenImage(ResizeImage(preview, c.thumbWidth, c.thumbHeight), 30);
        ASSERT_EQ(sharpened.Width(), c.thumbWidth);
        ASSERT_EQ(sharpened.Height(), c.thumbHeight);
        const std::string expectedPath = folder.File("expected.jpg");
        ASSERT_TRUE(EncodeJpegImage(expectedPath, sharpened, true, 60));
        ASSERT_EQ(EditJpegSegments(expectedPath, {}, SegmentEditMode::DropApp0),
                  SegmentEditResult::Ok);

        ASSERT_TRUE(AddExifBlock(path));
        const std::string thumbPath = folder.File("thumb.jpg");
        const ExifFacts facts = ExifTool(path, thumbPath, ExifToolMode::ExtractThumbnail);
        ASSERT_EQ(facts.result, ExifToolResult::ThumbnailWritten);
        EXPECT_EQ(test::ReadBytes(thumbPath), test::ReadBytes(expectedPath));
        const Bytes file = test::ReadBytes(path);
        EXPECT_EQ(Le16(file, 2 + kExifTemplatePixelXAt), static_cast<std::uint32_t>(c.width));
        EXPECT_EQ(Le16(file, 2 + kExifTemplatePixelYAt), static_cast<std::uint32_t>(c.height));
    }
}

// ---- AddExifBlock failures --------------------------------------------------------------

TEST(AddExifBlock, UndecodableFileGetsTheThumbnailBox) {
    TempFolder folder;
    const std::string path = folder.File("broken.jpg");
    const Bytes file = JpegWith({});  // headers only, no decodable scan
    ASSERT_TRUE(test::WriteBytes(path, file));
    CollectMessages messages;
    EXPECT_FALSE(AddExifBlock(path));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Error make a thumbnail image");
    EXPECT_EQ(messages.shown[0].caption, path);
    EXPECT_EQ(test::ReadBytes(path), file);
    EXPECT_FALSE(AddExifBlock(folder.File("missing.jpg")));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"broken.jpg"});
}

TEST(AddExifBlock, UnwritableFolderGetsTheAddBox) {
    if (!test::HaveTool("convert")) GTEST_SKIP() << "ImageMagick missing";
    TempFolder folder;
    const std::string sub = folder.File("locked");
    ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
    const std::string path = sub + "/a.jpg";
    ASSERT_TRUE(test::MakeJpeg(path));
    const Bytes file = test::ReadBytes(path);
    CollectMessages messages;
    bool added;
    {
        test::LockedFolder lock(sub);
        if (lock.Unlocked()) GTEST_SKIP() << "cannot make a folder unwritable here";
        added = AddExifBlock(path);
    }
    EXPECT_FALSE(added);
    EXPECT_EQ(test::ReadBytes(path), file);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().text, "Error Add Exif info.");
    EXPECT_EQ(messages.shown.back().caption, path);
}

}  // namespace
}  // namespace duplora
