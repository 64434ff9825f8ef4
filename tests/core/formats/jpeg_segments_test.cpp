#include "core/formats/jpeg_segments.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::Append;
using test::Bytes;
using test::ReadAll;
using test::ScratchDir;
using test::Segment;
using test::Text;

// The named pieces of a small hand-made JPEG. The editor never decodes, so the scan data
// only has to look like scan data: stuffed FF 00, a restart marker and the end marker.
const std::map<std::string, Bytes>& Pieces() {
    static const std::map<std::string, Bytes> pieces = {
        {"soi", {0xFF, 0xD8}},
        {"app0", Segment(0xE0, Text(std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14)))},
        {"exif", Segment(0xE1, Text(std::string("Exif\0\0old", 9)))},
        {"com1", Segment(0xFE, Text("one"))},
        {"dqt", Segment(0xDB, Bytes(65, 3))},
        {"xmp", Segment(0xE1, Text("http://ns.adobe.com/xap/1.0/"))},
        {"com2", Segment(0xFE, Text("two"))},
        {"sof", Segment(0xC0, {8, 0, 48, 0, 64, 1, 1, 0x11, 0})},
        {"dht", Segment(0xC4, Bytes(20, 5))},
        {"sos", Segment(0xDA, {1, 1, 0, 0, 63, 0})},
        {"scan", {0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD0, 0xFE, 0xE1, 0xFF, 0x00, 0xFF, 0xD9}},
        {"newcom", Segment(0xFE, Text("new text"))},
        {"block", Segment(0xE1, Text(std::string("Exif\0\0inserted", 14)))},
        {"source", Segment(0xE1, Text(std::string("Exif\0\0from the source", 21)))}};
    return pieces;
}

// The pieces named in `names`, separated by spaces, one after the other.
Bytes Join(const std::string& names) {
    Bytes out;
    std::istringstream in(names);
    for (std::string name; in >> name;) Append(out, Pieces().at(name));
    return out;
}

const char* const kInput = "soi app0 exif com1 dqt xmp com2 sof dht sos scan";
const char* const kNoApp1 = "soi app0 com1 dqt com2 sof dht sos scan";  // without APP1

// SetComment: every comment goes, the new one before the first table segment. InsertBlock:
// every APP1 goes, the block comes first. ReplaceApp1: only the first APP1 is replaced.
TEST(EditJpegSegments, EveryModeRewritesTheHeaderAndKeepsTheScanBytes) {
    using M = SegmentEditMode;
    const std::pair<M, const char*> cases[] = {
        {M::SetComment, "soi app0 exif newcom dqt xmp sof dht sos scan"},
        {M::InsertBlock, "soi block app0 com1 dqt com2 sof dht sos scan"},
        {M::DropApp0, "soi exif com1 dqt xmp com2 sof dht sos scan"},
        {M::DropApp1, kNoApp1},
        {M::ReplaceApp1, "soi app0 source com1 dqt xmp com2 sof dht sos scan"},
        {M::CopyApp1, "soi source app0 com1 dqt com2 sof dht sos scan"},
        {M::Rewrite, kInput}};
    ScratchDir dir;
    const std::string path = dir / "picture.jpg";
    ASSERT_TRUE(test::WriteAll(dir / "source.jpg", Join("soi app0 source dqt sos scan")));
    const SegmentSource source{"new text", Pieces().at("block"), dir / "source.jpg"};
    for (const auto& [mode, expected] : cases) {
        SCOPED_TRACE(static_cast<int>(mode));
        ASSERT_TRUE(test::WriteAll(path, Join(kInput)));
        ASSERT_EQ(EditJpegSegments(path, source, mode), SegmentEditResult::Ok);
        EXPECT_EQ(ReadAll(path), Join(expected));
    }
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"picture.jpg", "source.jpg"}));
}

// The whole new file of an edit in memory; empty on failure.
Bytes EditedInMemory(const Bytes& input, const std::string& comment, SegmentEditMode mode) {
    std::vector<std::uint8_t> head;
    std::size_t tail = 0;
    if (EditSegmentsInMemory(input, {}, comment, mode, head, tail) != SegmentEditResult::Ok)
        return {};
    Append(head, Bytes(input.begin() + static_cast<std::ptrdiff_t>(tail), input.end()));
    return head;
}

TEST(EditJpegSegments, CommentEdgesAndFillBytes) {
    // An empty comment only removes the old ones.
    EXPECT_EQ(EditedInMemory(Join(kInput), "", SegmentEditMode::SetComment),
              Join("soi app0 exif dqt xmp sof dht sos scan"));
    // A comment longer than a segment holds is cut to fit: length field FF FF.
    const Bytes cut =
        EditedInMemory(Join(kInput), std::string(70000, 'c'), SegmentEditMode::SetComment);
    const std::size_t at = Join("soi app0 exif").size();
    ASSERT_GT(cut.size(), at + 4);
    EXPECT_EQ(Bytes(cut.begin() + at, cut.begin() + at + 4), (Bytes{0xFF, 0xFE, 0xFF, 0xFF}));
    // Fill bytes before a marker are accepted and dropped.
    Bytes filled = Join("soi app0");
    filled.push_back(0xFF);
    Append(filled, Join("com1 dqt sos scan"));
    EXPECT_EQ(EditedInMemory(filled, "", SegmentEditMode::Rewrite),
              Join("soi app0 com1 dqt sos scan"));
}

Bytes Joined(const std::string& before, const Bytes& middle, const std::string& after) {
    Bytes f = Join(before);
    Append(f, middle);
    Append(f, Join(after));
    return f;
}

TEST(EditJpegSegments, FailuresLeaveTheFileUnchanged) {
    using M = SegmentEditMode;
    const SegmentEditResult bad = SegmentEditResult::Malformed;
    const struct {
        const char* name;
        Bytes file;
        SegmentEditMode mode;
        SegmentEditResult expected;
    } cases[] = {
        {"NotJpeg", Text("GIF89a...."), M::Rewrite, SegmentEditResult::NotJpeg},
        {"Empty", {}, M::DropApp1, SegmentEditResult::NotJpeg},
        // A comment claiming 16382 bytes.
        {"TruncatedSegment", Joined("soi app0", {0xFF, 0xFE, 0x40, 0x00, 'a', 'b'}, ""),
         M::SetComment, bad},
        {"GarbageBetweenSegments", Joined("soi app0", {0x42}, "dqt sos scan"), M::DropApp0, bad},
        {"LengthBelowTwo", Joined("soi", {0xFF, 0xE0, 0x00, 0x01}, "sos scan"), M::Rewrite, bad},
        {"NoScan", Join("soi app0 dqt"), M::DropApp1, bad},
        {"EndBeforeScan", Joined("soi app0", {0xFF, 0xD9}, ""), M::Rewrite, bad}};
    ScratchDir dir;
    const std::string path = dir / "bad.jpg";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(test::WriteAll(path, c.file));
        test::SetOldTimes(path);
        const auto before = test::ModifyTime(path);
        const SegmentEditResult result = EditJpegSegments(path, {}, c.mode);
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(ReadAll(path), c.file);
        EXPECT_EQ(test::ModifyTime(path), before);
        EXPECT_EQ(dir.Files(), std::vector<std::string>{"bad.jpg"});
        // Only a broken JPEG gets a box.
        EXPECT_EQ(test::Messages(SegmentEditFailure(result, c.mode)),
                  c.expected == bad ? std::vector<std::string>{"FEHLER|Fehler in JPEG Datei. "
                                                               "Kann Kommentar nicht hinzufügen."}
                                    : std::vector<std::string>{});
    }
}

TEST(EditJpegSegments, EveryTruncationFailsCleanlyOrKeepsTheScan) {
    const Bytes input = Join(kInput);
    const std::size_t sos = input.size() - Join("sos scan").size();
    for (std::size_t n = 0; n <= input.size(); ++n) {
        const Bytes cut(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(n));
        for (int mode = 1; mode <= 7; ++mode) {
            std::vector<std::uint8_t> head;
            std::size_t tail = 0;
            const auto result = EditSegmentsInMemory(
                cut, Pieces().at("block"), "c", static_cast<SegmentEditMode>(mode), head, tail);
            if (n > sos + 1) {
                ASSERT_EQ(result, SegmentEditResult::Ok) << n << " " << mode;
                EXPECT_EQ(tail, sos);
            } else {
                ASSERT_NE(result, SegmentEditResult::Ok) << n << " " << mode;
                EXPECT_TRUE(head.empty());
            }
        }
    }
}

TEST(EditJpegSegments, UnusableBlocksAndSourcesAreRefused) {
    ScratchDir dir;
    const std::string path = dir / "a.jpg";
    const Bytes input = Join(kInput);
    ASSERT_TRUE(test::WriteAll(path, input));
    for (const Bytes& block : {Bytes{}, Bytes{0xFF, 0xE1, 0x00, 0x09, 'E'},
                               Bytes{0xFF, 0xD9, 0x00, 0x02}, Bytes{0x00, 0xE1, 0x00, 0x02}})
        EXPECT_EQ(EditJpegSegments(path, {"", block, ""}, SegmentEditMode::InsertBlock),
                  SegmentEditResult::BadArguments);
    EXPECT_EQ(EditJpegSegments(path, {}, static_cast<SegmentEditMode>(8)),
              SegmentEditResult::BadArguments);

    ASSERT_TRUE(test::WriteAll(dir / "plain.jpg", Join("soi app0 sos scan")));
    // A declared length beyond the file.
    ASSERT_TRUE(test::WriteAll(dir / "cut.seg", Bytes{0xFF, 0xE1, 0x10, 0x00, 'E'}));
    for (const char* name : {"plain.jpg", "cut.seg", "missing.jpg"}) {
        for (auto mode : {SegmentEditMode::ReplaceApp1, SegmentEditMode::CopyApp1})
            EXPECT_EQ(EditJpegSegments(path, {"", {}, dir / name}, mode),
                      SegmentEditResult::SourceUnusable)
                << name;
    }
    EXPECT_EQ(ReadAll(path), input);
    // A bare segment file serves as well as a JPEG.
    ASSERT_TRUE(test::WriteAll(dir / "bare.seg", Pieces().at("source")));
    ASSERT_EQ(EditJpegSegments(path, {"", {}, dir / "bare.seg"}, SegmentEditMode::CopyApp1),
              SegmentEditResult::Ok);
    EXPECT_EQ(ReadAll(path), Join("soi source app0 com1 dqt com2 sof dht sos scan"));
}

TEST(EditJpegSegments, MissingOrReadOnlyFileShowsTheOpenBox) {
    ScratchDir dir;
    const std::string cannotWrite = "FEHLER|Kann Datei nicht schreiben, eventuell nur lesen?";
    for (const auto& [mode, told] :
         {std::pair{SegmentEditMode::DropApp0, cannotWrite},
          std::pair{SegmentEditMode::Rewrite, std::string("FEHLER|Kann Bild nicht öffnen")}}) {
        const SegmentEditResult result = EditJpegSegments(dir / "none.jpg", {}, mode);
        EXPECT_EQ(result, SegmentEditResult::CannotOpen);
        EXPECT_EQ(test::Messages(SegmentEditFailure(result, mode)), std::vector<std::string>{told});
    }
    EXPECT_TRUE(dir.Files().empty());
    const std::string path = dir / "ro.jpg";
    const Bytes input = Join(kInput);
    ASSERT_TRUE(test::WriteAll(path, input));
    ::chmod(path.c_str(), 0444);
    const bool immutable = ::geteuid() == 0 && test::SetImmutable(path, true);
    if (::geteuid() == 0 && !immutable) GTEST_SKIP() << "cannot make a file read-only here";
    const auto result = EditJpegSegments(path, {}, SegmentEditMode::DropApp1);
    if (immutable) test::SetImmutable(path, false);
    EXPECT_EQ(result, SegmentEditResult::CannotOpen);
    EXPECT_EQ(ReadAll(path), input);
    EXPECT_EQ(test::Messages(SegmentEditFailure(result, SegmentEditMode::DropApp1)),
              std::vector<std::string>{cannotWrite});
}

// The replacement keeps the file's times and follows a link.
TEST(EditJpegSegments, KeepsTimesAndFollowsLinks) {
    ScratchDir dir;
    const std::string path = dir / "real.jpg", link = dir / "link.jpg";
    ASSERT_TRUE(test::WriteAll(path, Join(kInput)));
    test::SetOldTimes(path);
    const auto before = test::ModifyTime(path);
    ASSERT_EQ(::symlink("real.jpg", link.c_str()), 0);
    ASSERT_EQ(EditJpegSegments(link, {}, SegmentEditMode::DropApp1), SegmentEditResult::Ok);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::ModifyTime(path), before);
    EXPECT_EQ(ReadAll(path), Join(kNoApp1));
}

TEST(EditJpegSegments, RealPhotosKeepScanDataInEveryMode) {
    ScratchDir dir;
    const std::string donor = dir / "donor.jpg";
    ASSERT_TRUE(test::WriteAll(donor, Join("soi source sos scan")));
    int tried = 0;
    for (const char* sample : {"pairs/gx8_l.jpg", "pairs/frozenpond_r.jpg"}) {
        if (!test::SampleExists(sample)) continue;
        const Bytes original = ReadAll(test::SamplePath(sample));
        const Bytes scan = test::EntropyData(original);
        ASSERT_FALSE(scan.empty()) << sample;
        for (int mode = 1; mode <= 7; ++mode) {
            SCOPED_TRACE(std::string(sample) + " mode " + std::to_string(mode));
            const std::string path = dir / "photo.jpg";
            ASSERT_TRUE(test::WriteAll(path, original));
            const SegmentSource source{"Kommentar äöü", Pieces().at("block"), donor};
            ASSERT_EQ(EditJpegSegments(path, source, static_cast<SegmentEditMode>(mode)),
                      SegmentEditResult::Ok);
            const Bytes edited = ReadAll(path);
            EXPECT_EQ(test::EntropyData(edited), scan);
            EXPECT_TRUE(mode != 1 || !test::HaveTool("exiftool") ||
                        test::Capture("exiftool -s3 -Comment " + test::Quote(path)) ==
                            "Kommentar äöü");
            EXPECT_TRUE(mode != 7 || edited == original);
        }
        ++tried;
    }
    if (tried == 0) GTEST_SKIP() << "no sample photographs";
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"donor.jpg", "photo.jpg"}));

    // A camera's Exif copied into another file is what exiftool reads there.
    if (!test::SampleExists("pairs/frozenpond_l.jpg") || !test::HaveTool("exiftool")) return;
    const std::string path = dir / "target.jpg";
    ASSERT_TRUE(test::MakeJpeg(path, "80x60"));
    const Bytes scan = test::EntropyData(ReadAll(path));
    const SegmentSource camera{"", {}, test::SamplePath("pairs/frozenpond_l.jpg")};
    ASSERT_EQ(EditJpegSegments(path, camera, SegmentEditMode::CopyApp1), SegmentEditResult::Ok);
    EXPECT_EQ(test::Capture("exiftool -s -s -s -Model " + test::Quote(path)), "Nintendo 3DS");
    EXPECT_EQ(test::EntropyData(ReadAll(path)), scan);
    EXPECT_TRUE(test::RunQuiet("convert " + test::Quote(path) + " null:"));
}

}  // namespace
}  // namespace duplora
