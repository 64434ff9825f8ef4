#include "core/formats/jpeg_segments.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <map>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "core/strings.h"
#include "jpeg_file_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::Append;
using test::Bytes;
using test::CollectMessages;
using test::Segment;
using test::TempFolder;
using test::Text;

// The named pieces of a small hand-made JPEG. The editor never decodes, so the scan data
// only has to look like scan data: stuffed FF 00, a restart marker and the end marker.
std::map<std::string, Bytes> Pieces() {
    return {
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
        {"source", Segment(0xE1, Text(std::string("Exif\0\0from the source", 21)))},
    };
}

Bytes Join(const std::vector<std::string>& names) {
    const auto pieces = Pieces();
    Bytes out;
    for (const auto& name : names) Append(out, pieces.at(name));
    return out;
}

const std::vector<std::string> kInput = {"soi",  "app0", "exif", "com1", "dqt", "xmp",
                                         "com2", "sof",  "dht",  "sos",  "scan"};

struct ModeCase {
    SegmentEditMode mode;
    std::vector<std::string> expected;
};

class SegmentModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(SegmentModes, RewritesHeaderAndKeepsScanBytes) {
    TempFolder folder;
    const std::string path = folder.File("picture.jpg");
    const std::string sourcePath = folder.File("source.jpg");
    ASSERT_TRUE(test::WriteBytes(path, Join(kInput)));
    ASSERT_TRUE(
        test::WriteBytes(sourcePath, Join({"soi", "app0", "source", "dqt", "sos", "scan"})));
    SegmentSource source;
    source.comment = "new text";
    source.block = Pieces().at("block");
    source.path = sourcePath;

    ASSERT_EQ(EditJpegSegments(path, source, GetParam().mode), SegmentEditResult::Ok);
    EXPECT_EQ(test::ReadBytes(path), Join(GetParam().expected));
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"picture.jpg", "source.jpg"}));
}

INSTANTIATE_TEST_SUITE_P(
    EditJpegSegments, SegmentModes,
    ::testing::Values(
        // Every comment goes; the new one stands before the first table segment.
        ModeCase{SegmentEditMode::SetComment,
                 {"soi", "app0", "exif", "newcom", "dqt", "xmp", "sof", "dht", "sos", "scan"}},
        // Every APP1 goes; the block comes first.
        ModeCase{SegmentEditMode::InsertBlock,
                 {"soi", "block", "app0", "com1", "dqt", "com2", "sof", "dht", "sos", "scan"}},
        ModeCase{SegmentEditMode::DropApp0,
                 {"soi", "exif", "com1", "dqt", "xmp", "com2", "sof", "dht", "sos", "scan"}},
        ModeCase{SegmentEditMode::DropApp1,
                 {"soi", "app0", "com1", "dqt", "com2", "sof", "dht", "sos", "scan"}},
        // Only the first APP1 is replaced.
        ModeCase{
            SegmentEditMode::ReplaceApp1,
            {"soi", "app0", "source", "com1", "dqt", "xmp", "com2", "sof", "dht", "sos", "scan"}},
        ModeCase{SegmentEditMode::CopyApp1,
                 {"soi", "source", "app0", "com1", "dqt", "com2", "sof", "dht", "sos", "scan"}},
        ModeCase{SegmentEditMode::Rewrite, kInput}));

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
              Join({"soi", "app0", "exif", "dqt", "xmp", "sof", "dht", "sos", "scan"}));
    // A comment longer than a segment holds is cut to fit: length field FF FF.
    const Bytes cut =
        EditedInMemory(Join(kInput), std::string(70000, 'c'), SegmentEditMode::SetComment);
    const std::size_t at = Join({"soi", "app0", "exif"}).size();
    ASSERT_GT(cut.size(), at + 4);
    EXPECT_EQ(Bytes(cut.begin() + at, cut.begin() + at + 4), (Bytes{0xFF, 0xFE, 0xFF, 0xFF}));
    // Fill bytes before a marker are accepted and dropped.
    Bytes filled = Join({"soi", "app0"});
    filled.push_back(0xFF);
    Append(filled, Join({"com1", "dqt", "sos", "scan"}));
    EXPECT_EQ(EditedInMemory(filled, "", SegmentEditMode::Rewrite),
              Join({"soi", "app0", "com1", "dqt", "sos", "scan"}));
}

// ---- failures leave the file as it was ----------------------------------------------

struct BadCase {
    const char* name;
    Bytes file;
    SegmentEditMode mode;
    SegmentEditResult expected;
    bool message;  // the "Fehler in JPEG Datei" box
};

Bytes WithTruncatedSegment() {
    Bytes f = Join({"soi", "app0"});
    Append(f, {0xFF, 0xFE, 0x40, 0x00, 'a', 'b'});  // comment claims 16382 bytes
    return f;
}

Bytes WithGarbage() {
    Bytes f = Join({"soi", "app0"});
    f.push_back(0x42);
    Append(f, Join({"dqt", "sos", "scan"}));
    return f;
}

Bytes WithShortLength() {
    Bytes f = Join({"soi"});
    Append(f, {0xFF, 0xE0, 0x00, 0x01});
    Append(f, Join({"sos", "scan"}));
    return f;
}

Bytes WithEndBeforeScan() {
    Bytes f = Join({"soi", "app0"});
    Append(f, {0xFF, 0xD9});
    return f;
}

std::vector<BadCase> BadCases() {
    return {
        {"NotJpeg", Text("GIF89a...."), SegmentEditMode::Rewrite, SegmentEditResult::NotJpeg,
         false},
        {"Empty", {}, SegmentEditMode::DropApp1, SegmentEditResult::NotJpeg, false},
        {"TruncatedSegment", WithTruncatedSegment(), SegmentEditMode::SetComment,
         SegmentEditResult::Malformed, true},
        {"GarbageBetweenSegments", WithGarbage(), SegmentEditMode::DropApp0,
         SegmentEditResult::Malformed, true},
        {"LengthBelowTwo", WithShortLength(), SegmentEditMode::Rewrite,
         SegmentEditResult::Malformed, true},
        {"NoScan", Join({"soi", "app0", "dqt"}), SegmentEditMode::DropApp1,
         SegmentEditResult::Malformed, true},
        {"EndBeforeScan", WithEndBeforeScan(), SegmentEditMode::Rewrite,
         SegmentEditResult::Malformed, true},
        {"OnlyStart", {0xFF, 0xD8}, SegmentEditMode::Rewrite, SegmentEditResult::Malformed, true},
    };
}

class SegmentFailures : public ::testing::TestWithParam<BadCase> {};

TEST_P(SegmentFailures, LeaveFileUnchanged) {
    TempFolder folder;
    const std::string path = folder.File("bad.jpg");
    ASSERT_TRUE(test::WriteBytes(path, GetParam().file));
    test::SetOldTimes(path);
    const auto before = test::ModifyTime(path);
    CollectMessages messages;
    EXPECT_EQ(EditJpegSegments(path, {}, GetParam().mode), GetParam().expected);
    EXPECT_EQ(test::ReadBytes(path), GetParam().file);
    EXPECT_EQ(test::ModifyTime(path), before);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"bad.jpg"});
    ASSERT_EQ(messages.shown.size(), GetParam().message ? 1u : 0u);
    if (GetParam().message) {
        EXPECT_EQ(messages.shown[0].caption, LoadResString(2505));
    }
}

INSTANTIATE_TEST_SUITE_P(EditJpegSegments, SegmentFailures, ::testing::ValuesIn(BadCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EditJpegSegments, EveryTruncationFailsCleanlyOrKeepsTheScan) {
    const Bytes input = Join(kInput);
    const std::size_t sos =
        Join({"soi", "app0", "exif", "com1", "dqt", "xmp", "com2", "sof", "dht"}).size();
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

TEST(EditJpegSegments, BlockMustBeOneWholeSegment) {
    TempFolder folder;
    const std::string path = folder.File("a.jpg");
    const Bytes input = Join(kInput);
    ASSERT_TRUE(test::WriteBytes(path, input));
    for (const Bytes& block : {Bytes{}, Bytes{0xFF, 0xE1, 0x00, 0x09, 'E'},
                               Bytes{0xFF, 0xD9, 0x00, 0x02}, Bytes{0x00, 0xE1, 0x00, 0x02}}) {
        SegmentSource source;
        source.block = block;
        EXPECT_EQ(EditJpegSegments(path, source, SegmentEditMode::InsertBlock),
                  SegmentEditResult::BadArguments);
    }
    EXPECT_EQ(EditJpegSegments(path, {}, static_cast<SegmentEditMode>(8)),
              SegmentEditResult::BadArguments);
    EXPECT_EQ(test::ReadBytes(path), input);
}

TEST(EditJpegSegments, SourceWithoutApp1IsRefused) {
    TempFolder folder;
    const std::string path = folder.File("a.jpg");
    const Bytes input = Join(kInput);
    ASSERT_TRUE(test::WriteBytes(path, input));
    ASSERT_TRUE(test::WriteBytes(folder.File("plain.jpg"), Join({"soi", "app0", "sos", "scan"})));
    // A declared length beyond the file.
    ASSERT_TRUE(test::WriteBytes(folder.File("cut.seg"), Bytes{0xFF, 0xE1, 0x10, 0x00, 'E'}));
    // A bare segment file serves as well as a JPEG.
    ASSERT_TRUE(test::WriteBytes(folder.File("bare.seg"), Pieces().at("source")));
    for (const char* name : {"plain.jpg", "cut.seg", "missing.jpg"}) {
        for (auto mode : {SegmentEditMode::ReplaceApp1, SegmentEditMode::CopyApp1}) {
            SegmentSource source;
            source.path = folder.File(name);
            EXPECT_EQ(EditJpegSegments(path, source, mode), SegmentEditResult::SourceUnusable)
                << name;
        }
    }
    EXPECT_EQ(test::ReadBytes(path), input);
    SegmentSource bare;
    bare.path = folder.File("bare.seg");
    ASSERT_EQ(EditJpegSegments(path, bare, SegmentEditMode::CopyApp1), SegmentEditResult::Ok);
    EXPECT_EQ(test::ReadBytes(path),
              Join({"soi", "source", "app0", "com1", "dqt", "com2", "sof", "dht", "sos", "scan"}));
}

TEST(EditJpegSegments, MissingFileShowsTheOpenBox) {
    TempFolder folder;
    CollectMessages messages;
    EXPECT_EQ(EditJpegSegments(folder.File("none.jpg"), {}, SegmentEditMode::DropApp0),
              SegmentEditResult::CannotOpen);
    EXPECT_EQ(EditJpegSegments(folder.File("none.jpg"), {}, SegmentEditMode::Rewrite),
              SegmentEditResult::CannotOpen);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, LoadResString(2645));
    EXPECT_EQ(messages.shown[1].text, "Kann Bild nicht öffnen");
    EXPECT_TRUE(folder.Entries().empty());
}

TEST(EditJpegSegments, KeepsTimesAndPermissionsAndFollowsLinks) {
    TempFolder folder;
    const std::string path = folder.File("real.jpg");
    const std::string link = folder.File("link.jpg");
    ASSERT_TRUE(test::WriteBytes(path, Join(kInput)));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    test::SetOldTimes(path);
    ASSERT_EQ(::symlink("real.jpg", link.c_str()), 0);
    struct stat before;
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    ASSERT_EQ(EditJpegSegments(link, {}, SegmentEditMode::DropApp1), SegmentEditResult::Ok);
    struct stat after, linkStat;
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    ASSERT_EQ(::lstat(link.c_str(), &linkStat), 0);
    EXPECT_TRUE(S_ISLNK(linkStat.st_mode));
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_atim.tv_sec, before.st_atim.tv_sec);
    EXPECT_EQ(test::ReadBytes(path),
              Join({"soi", "app0", "com1", "dqt", "com2", "sof", "dht", "sos", "scan"}));
}

TEST(EditJpegSegments, UnwritableFolderLeavesOldFile) {
    TempFolder folder;
    const std::string sub = folder.File("locked");
    ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
    const std::string path = sub + "/a.jpg";
    const Bytes input = Join(kInput);
    ASSERT_TRUE(test::WriteBytes(path, input));
    CollectMessages messages;
    SegmentEditResult result;
    {
        test::LockedFolder lock(sub);
        if (lock.Unlocked()) GTEST_SKIP() << "cannot make a folder unwritable here";
        result = EditJpegSegments(path, {}, SegmentEditMode::DropApp1);
    }
    EXPECT_EQ(result, SegmentEditResult::CannotCreateTemporary);
    EXPECT_EQ(test::ReadBytes(path), input);
    EXPECT_EQ(std::filesystem::directory_iterator(sub)->path().filename(), "a.jpg");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, LoadResString(2646));
}

TEST(EditJpegSegments, FailedWriteLeavesOldFileAndNoTemporary) {
    TempFolder folder;
    const std::string path = folder.File("big.jpg");
    Bytes input = Join({"soi", "app0", "exif", "dqt", "sos"});
    input.resize(input.size() + 200000, 0x55);  // scan data
    ASSERT_TRUE(test::WriteBytes(path, input));

    // A file-size limit makes the write fail part way even for a privileged user.
    struct rlimit old;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 100000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto result = EditJpegSegments(path, {}, SegmentEditMode::DropApp1);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(result, SegmentEditResult::WriteFailed);
    EXPECT_EQ(test::ReadBytes(path), input);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"big.jpg"});
}

TEST(EditJpegSegments, ReadOnlyFileIsRefused) {
    TempFolder folder;
    const std::string path = folder.File("ro.jpg");
    const Bytes input = Join(kInput);
    ASSERT_TRUE(test::WriteBytes(path, input));
    ::chmod(path.c_str(), 0444);
    const bool immutable = ::geteuid() == 0 && test::SetImmutable(path, true);
    if (::geteuid() == 0 && !immutable) GTEST_SKIP() << "cannot make a file read-only here";
    CollectMessages messages;
    const auto result = EditJpegSegments(path, {}, SegmentEditMode::DropApp1);
    if (immutable) test::SetImmutable(path, false);
    EXPECT_EQ(result, SegmentEditResult::CannotOpen);
    EXPECT_EQ(test::ReadBytes(path), input);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, LoadResString(2645));
}

// ---- real photographs ----------------------------------------------------------------

TEST(EditJpegSegments, RealPhotosKeepScanDataInEveryMode) {
    const char* samples[] = {"pairs/gx8_l.jpg", "pairs/frozenpond_r.jpg", "pairs/sugarshack_l.jpg"};
    TempFolder folder;
    const std::string donor = folder.File("donor.jpg");
    ASSERT_TRUE(test::WriteBytes(donor, Join({"soi", "source", "sos", "scan"})));
    int tried = 0;
    for (const char* sample : samples) {
        if (!test::SampleExists(sample)) continue;
        const Bytes original = test::ReadBytes(test::SamplePath(sample));
        const Bytes scan = test::EntropyData(original);
        ASSERT_FALSE(scan.empty()) << sample;
        for (int mode = 1; mode <= 7; ++mode) {
            const std::string path = folder.File("photo.jpg");
            ASSERT_TRUE(test::WriteBytes(path, original));
            SegmentSource source;
            source.comment = "Kommentar äöü";
            source.block = Pieces().at("block");
            source.path = donor;
            ASSERT_EQ(EditJpegSegments(path, source, static_cast<SegmentEditMode>(mode)),
                      SegmentEditResult::Ok)
                << sample << " mode " << mode;
            const Bytes edited = test::ReadBytes(path);
            EXPECT_EQ(test::EntropyData(edited), scan) << sample << " mode " << mode;
            const auto markers = test::HeaderMarkers(edited);
            if (mode == 1) {
                EXPECT_EQ(std::count(markers.begin(), markers.end(), 0xFE), 1);
                if (test::HaveTool("exiftool")) {
                    EXPECT_EQ(test::Capture("exiftool -s -s -s -Comment " + test::Quote(path)),
                              "Kommentar äöü");
                }
            }
            if (mode == 4) {
                EXPECT_EQ(std::count(markers.begin(), markers.end(), 0xE1), 0);
            }
            if (mode == 7) {
                EXPECT_EQ(edited, original);
            }
        }
        ++tried;
    }
    if (tried == 0) GTEST_SKIP() << "no sample photographs";
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"donor.jpg", "photo.jpg"}));
}

TEST(EditJpegSegments, CopiesExifBetweenRealPhotos) {
    if (!test::SampleExists("pairs/frozenpond_l.jpg") || !test::HaveTool("exiftool"))
        GTEST_SKIP() << "sample or exiftool missing";
    TempFolder folder;
    const std::string path = folder.File("target.jpg");
    ASSERT_TRUE(test::MakeJpeg(path, "80x60"));
    const Bytes scan = test::EntropyData(test::ReadBytes(path));
    SegmentSource source;
    source.path = test::SamplePath("pairs/frozenpond_l.jpg");
    ASSERT_EQ(EditJpegSegments(path, source, SegmentEditMode::CopyApp1), SegmentEditResult::Ok);
    EXPECT_EQ(test::Capture("exiftool -s -s -s -Model " + test::Quote(path)), "Nintendo 3DS");
    EXPECT_EQ(test::EntropyData(test::ReadBytes(path)), scan);
    EXPECT_EQ(test::Run("convert " + test::Quote(path) + " null:"), 0);
}

}  // namespace
}  // namespace duplora
