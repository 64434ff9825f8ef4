#include "core/formats/das.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/formats/bmp_codec.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/jpeg_load.h"
#include "core/formats/open_preview.h"
#include "core/formats/stereo_open.h"
#include "core/hooks.h"
#include "jpeg_file_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::Bytes;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::int32_t Get32(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                     std::uint32_t{b[at + 3]} << 24);
}
Bytes LengthField(std::size_t n) {
    Bytes b(4);
    Put32(b, 0, static_cast<std::uint32_t>(n));
    return b;
}

// A container built by hand from the layout: magic, sizes 10×20 / 30×40, alignment 7, -9,
// names "l.jpg" / "r.jpg", and the four entries behind their lengths.
Bytes MakeContainer(const std::array<Bytes, 4>& entries, const char* magic = "DAS   ") {
    Bytes file(kDasHeaderSize, 0);
    std::memcpy(file.data(), magic, 6);
    const std::int32_t fields[6] = {10, 20, 7, -9, 30, 40};
    for (int i = 0; i < 6; ++i) Put32(file, 18 + 4 * i, static_cast<std::uint32_t>(fields[i]));
    std::memcpy(file.data() + 42, "l.jpg", 5);
    std::memcpy(file.data() + 194, "r.jpg", 5);
    for (const Bytes& entry : entries) {
        test::Append(file, LengthField(entry.size()));
        test::Append(file, entry);
    }
    return file;
}

const std::array<Bytes, 4> kSmallEntries = {Bytes{1, 2, 3}, Bytes{4, 5}, Bytes{6, 7, 8, 9},
                                            Bytes{10}};

Bytes Range(const Bytes& b, std::size_t from, std::size_t n) {
    return Bytes(b.begin() + from, b.begin() + from + n);
}

// Answers every question with `answer` while it lives, counting them.
class Answering {
  public:
    explicit Answering(Answer answer) {
        previous_ = SetQuestionSink(
            [this, answer](std::string_view, std::string_view caption, QuestionKind) {
                captions.emplace_back(caption);
                return answer;
            });
    }
    ~Answering() { SetQuestionSink(std::move(previous_)); }
    std::vector<std::string> captions;

  private:
    QuestionSink previous_;
};

timespec MTime(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mtim;
}

// ---- FILETIME -------------------------------------------------------------------------

struct TimeCase {
    std::int64_t seconds;
    long nanos;
    std::uint64_t fileTime;
};

TEST(DasFileTime, KnownValuesBothWays) {
    const TimeCase cases[] = {
        {0, 0, 116444736000000000ULL},             // 1970-01-01
        {-11644473600LL, 0, 0},                    // 1601-01-01
        {946684800, 0, 125911584000000000ULL},     // 2000-01-01
        {1, 123456700, 116444736011234567ULL},     // 100-ns resolution
        {-1, 999999900, 116444735999999999ULL},    // just before 1970
        {1700000000, 500, 133444736000000005ULL},  // 2023-11-14 22:13:20 and 500 ns
    };
    for (const TimeCase& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(PosixToFileTime({static_cast<time_t>(c.seconds), c.nanos}), c.fileTime);
        const timespec back = FileTimeToPosix(c.fileTime);
        EXPECT_EQ(back.tv_sec, c.seconds);
        EXPECT_EQ(back.tv_nsec, c.nanos / 100 * 100);
    }
    EXPECT_EQ(kFileTimeUnixEpoch, 116444736000000000ULL);
    EXPECT_EQ(PosixToFileTime({-11644473601LL, 0}), 0u);  // before 1601
    EXPECT_EQ(PosixToFileTime({std::numeric_limits<time_t>::max(), 0}),
              std::numeric_limits<std::uint64_t>::max());
}

// ---- alignment values -------------------------------------------------------------------

TEST(DasAlignmentValues, StoredAndShownOffsets) {
    const DasOffset shown = OffsetFromDasAlignment({12, -3});
    EXPECT_EQ(shown.dx, -12);
    EXPECT_EQ(shown.dy, -3);
    const DasAlignment stored = DasAlignmentFromOffset({-5, 4}, false);
    EXPECT_EQ(stored.x, 5);
    EXPECT_EQ(stored.y, 4);
    const DasAlignment swapped = DasAlignmentFromOffset({-5, 4}, true);
    EXPECT_EQ(swapped.x, -5);
    EXPECT_EQ(swapped.y, -4);
}

// ---- reading hand-made containers ------------------------------------------------------

TEST(DasRead, HandMadeContainerLayoutAndExtraction) {
    TempFolder dir;
    const Bytes file = MakeContainer(kSmallEntries);
    ASSERT_TRUE(WriteBytes(dir.File("a.das"), file));
    DasLayout layout;
    ASSERT_TRUE(ReadDasLayout(dir.File("a.das"), false, layout));
    EXPECT_EQ(layout.count, 4);
    const std::uint64_t offsets[4] = {350, 357, 363, 371};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(layout.entries[i].offset, offsets[i]);
        EXPECT_EQ(layout.entries[i].size, kSmallEntries[i].size());
    }
    EXPECT_EQ(layout.header.leftWidth, 10);
    EXPECT_EQ(layout.header.rightHeight, 40);
    EXPECT_EQ(layout.header.alignX, 7);
    EXPECT_EQ(layout.header.alignY, -9);
    EXPECT_EQ(layout.header.leftName, "l.jpg");
    EXPECT_EQ(layout.header.rightName, "r.jpg");

    TempFolder out;
    DasHeader header;
    EXPECT_EQ(ExtractDasJpegs(dir.File("a.das"), out.Path(), false, &header), kDasExtracted);
    EXPECT_EQ(ReadBytes(out.File(kDasLeftFileName)), kSmallEntries[2]);
    EXPECT_EQ(ReadBytes(out.File(kDasRightFileName)), kSmallEntries[3]);
    EXPECT_EQ(header.alignY, -9);
    EXPECT_EQ(ExtractDasJpegs(dir.File("a.das"), out.Path(), true), kDasExtracted);
    EXPECT_EQ(ReadBytes(out.File(kDasLeftFileName)), kSmallEntries[0]);
    // An empty thumbnail still previews.
    ASSERT_TRUE(
        WriteBytes(dir.File("e.das"), MakeContainer({Bytes{}, Bytes{1}, Bytes{}, Bytes{}})));
    EXPECT_EQ(ExtractDasJpegs(dir.File("e.das"), out.Path(), true), kDasExtracted);
    EXPECT_TRUE(ReadBytes(out.File(kDasLeftFileName)).empty());
}

TEST(DasRead, EveryTruncationFailsCleanly) {
    TempFolder dir, out;
    const Bytes file = MakeContainer(kSmallEntries);
    const std::string path = dir.File("t.das");
    // A preview needs the first entry and the second entry's length field.
    const std::size_t previewNeeds = kDasHeaderSize + 4 + 3 + 4;
    for (std::size_t n = 0; n < file.size(); ++n) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(WriteBytes(path, Range(file, 0, n)));
        DasLayout layout;
        EXPECT_FALSE(ReadDasLayout(path, false, layout));
        EXPECT_EQ(ExtractDasJpegs(path, out.Path(), false), 0);
        EXPECT_FALSE(LoadDasPicture(path));
        EXPECT_FALSE(RestoreDasFiles(path, out.File("x.jpg")));
        EXPECT_TRUE(out.Entries().empty());
        EXPECT_EQ(ReadDasLayout(path, true, layout), n >= previewNeeds);
        DasHeader header;
        EXPECT_EQ(ReadDasHeader(path, header), n >= kDasHeaderSize);
    }
}

struct DamageCase {
    const char* what;
    int entry;  // whose length field is patched
    std::uint32_t length;
};

class DasDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DasDamage, LengthsPastTheEndAreRefused) {
    TempFolder dir, out;
    Bytes file = MakeContainer(kSmallEntries);
    const std::size_t fields[4] = {346, 353, 359, 367};
    Put32(file, fields[GetParam().entry], GetParam().length);
    const std::string path = dir.File("d.das");
    ASSERT_TRUE(WriteBytes(path, file));
    DasLayout layout;
    EXPECT_FALSE(ReadDasLayout(path, false, layout));
    EXPECT_EQ(ExtractDasJpegs(path, out.Path(), false), 0);
    EXPECT_FALSE(LoadDasPicture(path));
    EXPECT_TRUE(out.Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(Lengths, DasDamage,
                         ::testing::Values(DamageCase{"first huge", 0, 0xFFFFFFFF},
                                           DamageCase{"first 2^31", 0, 0x80000000},
                                           DamageCase{"second one past", 1, 2 + 4 + 4 + 4 + 1 + 1},
                                           DamageCase{"third huge", 2, 0x7FFFFFFF},
                                           DamageCase{"last one past", 3, 2},
                                           DamageCase{"last huge", 3, 0xFFFFFFF0}),
                         [](const auto& info) {
                             std::string name = info.param.what;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST(DasRead, PreviewNeedsTheSecondEntryWithin65000Bytes) {
    TempFolder dir, out;
    for (const std::size_t thumbnail : {std::size_t{64992}, std::size_t{64993}}) {
        SCOPED_TRACE(thumbnail);
        const Bytes file = MakeContainer({Bytes(thumbnail, 7), Bytes{1}, Bytes{2}, Bytes{3}});
        ASSERT_TRUE(WriteBytes(dir.File("p.das"), file));
        const int expected = thumbnail <= 64992 ? kDasExtracted : 0;
        EXPECT_EQ(ExtractDasJpegs(dir.File("p.das"), out.Path(), true), expected);
        // Whatever the thumbnail, the file still opens.
        EXPECT_EQ(ExtractDasJpegs(dir.File("p.das"), out.Path(), false), kDasExtracted);
    }
}

TEST(DasRead, MagicAndNonFilesAreRefused) {
    TempFolder dir, out;
    Bytes file = MakeContainer(kSmallEntries, "XAS   ");
    ASSERT_TRUE(WriteBytes(dir.File("x.das"), file));
    EXPECT_EQ(ExtractDasJpegs(dir.File("x.das"), out.Path(), false), 0);
    EXPECT_EQ(ExtractDasJpegs(dir.Path(), out.Path(), false), 0);  // a folder
    EXPECT_EQ(ExtractDasJpegs(dir.File("missing.das"), out.Path(), false), 0);
    // A target folder that does not exist.
    ASSERT_TRUE(WriteBytes(dir.File("ok.das"), MakeContainer(kSmallEntries)));
    EXPECT_EQ(ExtractDasJpegs(dir.File("ok.das"), dir.File("none"), false), 0);
}

// ---- IOS ------------------------------------------------------------------------------

Bytes SmallJpeg(const TempFolder& dir, int width, int height, std::uint32_t seed) {
    const std::string path = dir.File("small" + std::to_string(seed) + ".jpg");
    EXPECT_TRUE(EncodeJpegImage(path, test::MakeNoise(width, height, seed), true, 90));
    return ReadBytes(path);
}

TEST(DasIos, StreamsAreFoundByTheirJfifStart) {
    TempFolder dir, out;
    const Bytes streams[4] = {SmallJpeg(dir, 8, 6, 1), SmallJpeg(dir, 6, 8, 2),
                              SmallJpeg(dir, 40, 30, 3), SmallJpeg(dir, 24, 32, 4)};
    ASSERT_EQ(streams[0][6], 'J');  // the encoder writes a JFIF marker
    Bytes file = MakeContainer({Bytes{}, Bytes{}, Bytes{}, Bytes{}}, "IOS   ");
    file.resize(kDasHeaderSize);
    const Bytes junk[4] = {Bytes(7, 0xFF), Bytes{0xFF, 0xD8, 0xFF}, Bytes{}, Bytes(5, 0x11)};
    for (int i = 0; i < 4; ++i) {
        test::Append(file, junk[i]);
        test::Append(file, LengthField(streams[i].size()));
        test::Append(file, streams[i]);
    }
    test::Append(file, Bytes(9, 0));
    const std::string path = dir.File("a.ios");
    ASSERT_TRUE(WriteBytes(path, file));

    DasHeader header;
    ASSERT_EQ(ExtractDasJpegs(path, out.Path(), false, &header), kDasExtracted);
    EXPECT_EQ(header.variant, DasVariant::Ios);
    EXPECT_EQ(ReadBytes(out.File(kDasLeftFileName)), streams[2]);
    EXPECT_EQ(ReadBytes(out.File(kDasRightFileName)), streams[3]);
    ASSERT_EQ(ExtractDasJpegs(path, out.Path(), true), kDasExtracted);
    EXPECT_EQ(ReadBytes(out.File(kDasLeftFileName)), streams[0]);

    const DasPicture picture = LoadDasPicture(path);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture.image.Width(), 80);
    EXPECT_EQ(picture.image.Height(), 32);
    EXPECT_EQ(picture.header.alignX, 7);

    // Three streams: a preview, but nothing to open.
    const std::string three = dir.File("three.ios");
    ASSERT_TRUE(WriteBytes(three, Range(file, 0, file.size() - 9 - streams[3].size() - 2)));
    EXPECT_EQ(ExtractDasJpegs(three, out.Path(), true), kDasExtracted);
    EXPECT_EQ(ExtractDasJpegs(three, out.Path(), false), 0);
    // A length running past the end.
    Bytes broken = file;
    Put32(broken, kDasHeaderSize + 7, 0xFFFFFF00);
    ASSERT_TRUE(WriteBytes(dir.File("broken.ios"), broken));
    EXPECT_EQ(ExtractDasJpegs(dir.File("broken.ios"), out.Path(), true), 0);
    EXPECT_EQ(ExtractDasJpegs(dir.File("broken.ios"), out.Path(), false), 0);
}

// ---- the alignment write ---------------------------------------------------------------

TEST(DasAlignmentWrite, ChangesOnlyBytes26To33) {
    TempFolder dir;
    for (const char* magic : {"DAS   ", "IOS   "}) {
        SCOPED_TRACE(magic);
        const Bytes before = MakeContainer(kSmallEntries, magic);
        const std::string path = dir.File("w");
        ASSERT_TRUE(WriteBytes(path, before));
        const DasAlignment stored = DasAlignmentFromOffset({-5, 4}, false);
        ASSERT_TRUE(WriteDasAlignment(path, stored.x, stored.y));
        const Bytes after = ReadBytes(path);
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (i < 26 || i > 33) {
                ASSERT_EQ(after[i], before[i]) << i;
            }
        }
        EXPECT_EQ(Get32(after, 26), 5);
        EXPECT_EQ(Get32(after, 30), 4);
    }
}

TEST(DasAlignmentWrite, OtherFilesAreLeftAlone) {
    TempFolder dir;
    const Bytes jpeg = SmallJpeg(dir, 8, 8, 5);
    Bytes shortDas = MakeContainer(kSmallEntries);
    shortDas.resize(kDasHeaderSize - 1);  // "DA" but no whole header
    for (const Bytes& bytes : {jpeg, shortDas}) {
        ASSERT_TRUE(WriteBytes(dir.File("f"), bytes));
        EXPECT_FALSE(WriteDasAlignment(dir.File("f"), 1, 2));
        EXPECT_EQ(ReadBytes(dir.File("f")), bytes);
    }
    EXPECT_FALSE(WriteDasAlignment(dir.File("missing"), 1, 2));
}

// ---- a real pair ----------------------------------------------------------------------

class DasSamplePair : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::SampleExists("pairs/gx8_l.jpg") || !test::SampleExists("pairs/gx8_r.jpg"))
            GTEST_SKIP() << "sample pair missing";
        left_ = src_.File("gx8_l.jpg");
        right_ = src_.File("gx8_r.jpg");
        std::filesystem::copy_file(test::SamplePath("pairs/gx8_l.jpg"), left_);
        std::filesystem::copy_file(test::SamplePath("pairs/gx8_r.jpg"), right_);
        const timespec leftTimes[2] = {{1200000000, 100}, {1300000000, 123456700}};
        const timespec rightTimes[2] = {{1200000001, 0}, {1300000002, 987654300}};
        ::utimensat(AT_FDCWD, left_.c_str(), leftTimes, 0);
        ::utimensat(AT_FDCWD, right_.c_str(), rightTimes, 0);
        das_ = src_.File("gx8.das");
        ASSERT_TRUE(CreateDasFile(das_, left_, right_, 12, -3));
    }
    TempFolder src_;
    std::string left_, right_, das_;
};

TEST_F(DasSamplePair, ContainerHoldsSourcesSizesNamesAndTimes) {
    DasLayout layout;
    ASSERT_TRUE(ReadDasLayout(das_, false, layout));
    const Bytes file = ReadBytes(das_);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 6), "DAS   ");
    EXPECT_EQ(Range(file, 6, 12), Bytes(12, 0));
    const DasHeader& h = layout.header;
    EXPECT_EQ(h.leftWidth, 1824);
    EXPECT_EQ(h.leftHeight, 1367);
    EXPECT_EQ(h.rightWidth, 1824);
    EXPECT_EQ(h.rightHeight, 1367);
    EXPECT_EQ(h.alignX, 12);
    EXPECT_EQ(h.alignY, -3);
    EXPECT_EQ(h.leftName, "gx8_l.jpg");
    EXPECT_EQ(h.rightName, "gx8_r.jpg");
    EXPECT_EQ(h.leftTimes.write, PosixToFileTime(MTime(left_)));
    EXPECT_EQ(h.rightTimes.write, PosixToFileTime(MTime(right_)));
    EXPECT_EQ(Range(file, layout.entries[2].offset, layout.entries[2].size), ReadBytes(left_));
    EXPECT_EQ(Range(file, layout.entries[3].offset, layout.entries[3].size), ReadBytes(right_));
    EXPECT_EQ(layout.entries[3].offset + layout.entries[3].size, file.size());
    // The thumbnails: colour JPEGs of at most 160 pixels, aspect kept.
    for (int i = 0; i < 2; ++i) {
        const Bytes thumb = Range(file, layout.entries[i].offset, layout.entries[i].size);
        const ImageBuffer t = DecodeJpegMemory(thumb.data(), thumb.size(), false);
        ASSERT_TRUE(t);
        EXPECT_EQ(t.Width(), 160);
        EXPECT_NEAR(t.Height(), 1367 * 160 / 1824, 1);
    }
    // The preview extraction gives the left thumbnail.
    TempFolder out;
    ASSERT_EQ(ExtractDasJpegs(das_, out.Path(), true), kDasExtracted);
    EXPECT_EQ(ReadBytes(out.File(kDasLeftFileName)),
              Range(file, layout.entries[0].offset, layout.entries[0].size));
}

TEST_F(DasSamplePair, RestoreUnderStoredNamesGivesFilesAndTimesBack) {
    TempFolder out;
    ASSERT_TRUE(RestoreDasFiles(das_, out.File("GX8_L.JPG")));  // case does not matter
    EXPECT_EQ(out.Entries(), (std::vector<std::string>{"gx8_l.jpg", "gx8_r.jpg"}));
    for (const std::string& name : {std::string("gx8_l.jpg"), std::string("gx8_r.jpg")}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadBytes(out.File(name)), ReadBytes(src_.File(name)));
        const timespec restored = MTime(out.File(name)), original = MTime(src_.File(name));
        EXPECT_EQ(restored.tv_sec, original.tv_sec);
        EXPECT_EQ(restored.tv_nsec, original.tv_nsec);
    }
}

TEST_F(DasSamplePair, RestoreUnderAnotherNameAndOverExistingFiles) {
    TempFolder out;
    ASSERT_TRUE(RestoreDasFiles(das_, out.File("pair.jpeg")));
    EXPECT_EQ(out.Entries(), (std::vector<std::string>{"pair_L.jpeg", "pair_R.jpeg"}));
    EXPECT_EQ(ReadBytes(out.File("pair_R.jpeg")), ReadBytes(right_));

    ASSERT_TRUE(WriteBytes(out.File("pair_L.jpeg"), Bytes{1, 2, 3}));
    {
        Answering cancel(Answer::Cancel);
        EXPECT_FALSE(RestoreDasFiles(das_, out.File("pair.jpeg")));
        EXPECT_EQ(cancel.captions, std::vector<std::string>{out.File("pair_L.jpeg")});
        EXPECT_EQ(ReadBytes(out.File("pair_L.jpeg")), (Bytes{1, 2, 3}));
    }
    EXPECT_FALSE(RestoreDasFiles(das_, out.File("pair.jpeg")));  // nobody answers: Cancel
    {
        Answering ok(Answer::Ok);
        EXPECT_TRUE(RestoreDasFiles(das_, out.File("pair.jpeg")));
        EXPECT_EQ(ok.captions.size(), 2u);
        EXPECT_EQ(ReadBytes(out.File("pair_L.jpeg")), ReadBytes(left_));
    }
    EXPECT_EQ(out.Entries().size(), 2u);
}

TEST_F(DasSamplePair, LoadGivesBothViewsAndTheAlignment) {
    const DasPicture picture = LoadDasPicture(das_);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture.header.alignX, 12);
    EXPECT_EQ(picture.header.alignY, -3);
    ASSERT_EQ(picture.image.Width(), 2 * 1824);
    ASSERT_EQ(picture.image.Height(), 1367);
    const JpegLoadResult views[2] = {LoadJpegImage(left_), LoadJpegImage(right_)};
    for (int side = 0; side < 2; ++side) {
        ASSERT_EQ(views[side].image.Width(), 1824);
        ASSERT_EQ(views[side].image.Height(), 1367);
        for (int y = 0; y < 1367; ++y) {
            ASSERT_EQ(std::memcmp(picture.image.Line(y) + side * 1824 * 3,
                                  views[side].image.Line(y), 1824 * 3),
                      0)
                << side << " row " << y;
        }
    }
}

TEST_F(DasSamplePair, RepackingAContainerKeepsSourcesAndTimes) {
    const std::string again = src_.File("again.das");
    ASSERT_TRUE(CreateDasFile(again, das_, das_, 0, 0));
    DasLayout first, second;
    ASSERT_TRUE(ReadDasLayout(das_, false, first));
    ASSERT_TRUE(ReadDasLayout(again, false, second));
    EXPECT_EQ(second.header.leftName, "gx8_L.JPG");
    EXPECT_EQ(second.header.rightName, "gx8_R.JPG");
    EXPECT_EQ(second.header.leftTimes.write, first.header.leftTimes.write);
    EXPECT_EQ(second.header.alignX, 0);
    EXPECT_EQ(second.fileSize, first.fileSize);
    const Bytes a = ReadBytes(das_), b = ReadBytes(again);
    EXPECT_EQ(Range(a, kDasHeaderSize, a.size() - kDasHeaderSize),
              Range(b, kDasHeaderSize, b.size() - kDasHeaderSize));
}

TEST_F(DasSamplePair, FailedCreateLeavesTheOldFile) {
    const Bytes old = ReadBytes(das_);
    EXPECT_FALSE(CreateDasFile(das_, left_, src_.File("missing.jpg"), 1, 1));
    EXPECT_FALSE(CreateDasFile(das_, src_.File("missing.jpg"), right_, 1, 1));
    ASSERT_TRUE(WriteBytes(src_.File("text.jpg"), test::Text("no picture")));
    EXPECT_FALSE(CreateDasFile(das_, left_, src_.File("text.jpg"), 1, 1));
    EXPECT_EQ(ReadBytes(das_), old);

    test::LockedFolder lock(src_.Path());
    if (lock.Unlocked()) GTEST_SKIP() << "cannot make the folder read-only";
    const auto entries = src_.Entries();
    EXPECT_FALSE(CreateDasFile(das_, left_, right_, 5, 5));
    EXPECT_EQ(ReadBytes(das_), old);
    EXPECT_EQ(src_.Entries(), entries);
}

// The container opens through the stereo opener in any layout as the pair side by side with
// its stored alignment; the alignment written back changes bytes 26–33 and nothing else, and
// the next opening brings the new offset. The open dialog shows its thumbnail and sizes.
TEST_F(DasSamplePair, OpensAsAPairAndTakesANewAlignment) {
    const StereoOpenResult opened = OpenStereoFile(das_, StereoLayout::OverUnder);
    ASSERT_TRUE(opened.loaded);
    EXPECT_TRUE(opened.fromDas);
    EXPECT_EQ(opened.dx, -12);
    EXPECT_EQ(opened.dy, -3);
    EXPECT_EQ(opened.leftName, "gx8.das - Links");
    ASSERT_EQ(opened.left.Width(), 1824);
    ASSERT_EQ(opened.left.Height(), 1367);
    EXPECT_TRUE(test::SamePixels(opened.left, LoadJpegImage(left_).image, "das-open-left"));
    EXPECT_TRUE(test::SamePixels(opened.right, LoadJpegImage(right_).image, "das-open-right"));

    const Bytes before = ReadBytes(das_);
    const DasAlignment stored = DasAlignmentFromOffset({-5, 4}, false);
    ASSERT_TRUE(WriteDasAlignment(das_, stored.x, stored.y));
    const Bytes after = ReadBytes(das_);
    ASSERT_EQ(after.size(), before.size());
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < after.size(); ++i)
        if (after[i] != before[i]) changed.push_back(i);
    for (std::size_t i : changed) EXPECT_TRUE(i >= 26 && i <= 33) << i;
    EXPECT_FALSE(changed.empty());
    const StereoOpenResult again = OpenStereoFile(das_, StereoLayout::SideBySide);
    ASSERT_TRUE(again.loaded);
    EXPECT_EQ(again.dx, -5);
    EXPECT_EQ(again.dy, 4);
    // Restoring still gives the sources back byte for byte.
    TempFolder out;
    ASSERT_TRUE(RestoreDasFiles(das_, out.File("gx8_l.jpg")));
    EXPECT_EQ(ReadBytes(out.File("gx8_l.jpg")), ReadBytes(left_));
    EXPECT_EQ(ReadBytes(out.File("gx8_r.jpg")), ReadBytes(right_));

    const std::optional<OpenPreview> preview = LoadOpenPreview(das_);
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->das);
    EXPECT_EQ(preview->typeText, "Dateityp : DAS File");
    EXPECT_EQ(preview->colourText, "Bildgröße: 1824x1367 - 1824x1367  Farben: Volle Farbanzahl ");
    ASSERT_TRUE(preview->image);
    EXPECT_EQ(std::max(preview->image.Width(), preview->image.Height()), 160);
}

// ---- pictures of other sizes and kinds ------------------------------------------------

TEST(DasPictures, BmpSourcesOfDifferentSizesSitTopLeftOnBlack) {
    TempFolder dir;
    const ImageBuffer left = test::MakeNoise(6, 3, 11);
    const ImageBuffer right = test::MakeNoise(4, 5, 12);
    ASSERT_TRUE(WriteBmpFile(dir.File("a_l.bmp"), left));
    ASSERT_TRUE(WriteBmpFile(dir.File("a_r.bmp"), right));
    ASSERT_TRUE(CreateDasFile(dir.File("a.das"), dir.File("a_l.bmp"), dir.File("a_r.bmp"), -1, 2));
    DasHeader header;
    ASSERT_TRUE(ReadDasHeader(dir.File("a.das"), header));
    EXPECT_EQ(header.leftWidth, 6);
    EXPECT_EQ(header.rightHeight, 5);

    const DasPicture picture = LoadDasPicture(dir.File("a.das"));
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture.image.Width(), 12);
    ASSERT_EQ(picture.image.Height(), 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ(test::PixelAt(picture.image, x, y), y < 3 ? test::PixelAt(left, x, y) : 0u);
            EXPECT_EQ(test::PixelAt(picture.image, 6 + x, y),
                      x < 4 ? test::PixelAt(right, x, y) : 0u);
        }
    }
}

TEST(DasPictures, LongUtf8NamesAreCutOnACharacterBoundary) {
    TempFolder dir;
    std::string stem;
    for (int i = 0; i < 70; ++i) stem += "ä";  // 140 bytes
    const std::string name = stem + ".bmp";
    ASSERT_TRUE(WriteBmpFile(dir.File(name), test::MakeNoise(3, 3, 1)));
    ASSERT_TRUE(CreateDasFile(dir.File("u.das"), dir.File(name), dir.File(name), 0, 0));
    const Bytes file = ReadBytes(dir.File("u.das"));
    EXPECT_EQ(file[42 + 127], 0);
    DasHeader header;
    ASSERT_TRUE(ReadDasHeader(dir.File("u.das"), header));
    EXPECT_EQ(header.leftName, FitDasName(name));
    EXPECT_EQ(header.leftName.size(), 126u);  // 61 characters of two bytes and ".bmp"
    EXPECT_EQ(header.leftName, stem.substr(0, 122) + ".bmp");
}

// ---- names -----------------------------------------------------------------------------

struct NameCase {
    std::string in;
    std::string out;
};

TEST(DasNames, FitDasName) {
    const std::string a127(127, 'a');
    const NameCase cases[] = {
        {"short.jpg", "short.jpg"},
        {a127, a127},
        {std::string(200, 'b') + ".jpg", std::string(123, 'b') + ".jpg"},
        {std::string(130, 'c'), std::string(127, 'c')},
        {std::string(126, 'd') + "€", std::string(126, 'd')},  // no half character
        {"x." + std::string(140, 'e'), ("x." + std::string(140, 'e')).substr(0, 127)},
    };
    for (const NameCase& c : cases) EXPECT_EQ(FitDasName(c.in), c.out) << c.in;
}

TEST(DasNames, MakeDasNameProposals) {
    struct Case {
        std::string left, folder;
        DasNameResult result;
        std::string out;
    };
    const Case cases[] = {
        {"/a/b/pair_l.jpg", "", DasNameResult::NewName, "/a/b/pair.das"},
        {"/a/b/pairL.JPG", "/x", DasNameResult::NewName, "/x/pair.das"},
        {"/a/b/pair-L.bmp", "/x/", DasNameResult::NewName, "/x/pair.das"},
        {"/a/b/pair_r.jpg", "", DasNameResult::NewName, "/a/b/pair_r.das"},
        {"/a/b.l/photo.jpg", "", DasNameResult::NewName, "/a/b.l/photo.das"},
        {"/a/b.jpg/photo", "", DasNameResult::NewName, "/a/b.jpg/photo.das"},
        {"/a/ünï.l/bild_l.jpg", "", DasNameResult::NewName, "/a/ünï.l/bild.das"},
        {"/a/schöne_l.tar.jpg", "", DasNameResult::NewName, "/a/schöne_l.tar.das"},
        {"/a/L.jpg", "", DasNameResult::NewName, "/a/L.das"},
        {"pair_l.jpg", "", DasNameResult::NewName, "pair.das"},
        {"/a/b/", "", DasNameResult::Failure, ""},
        {"", "", DasNameResult::Failure, ""},
        {"/missing/x.das", "", DasNameResult::Failure, ""},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(MakeDasName(c.left, out, c.folder), c.result) << c.left;
        if (c.result == DasNameResult::NewName) {
            EXPECT_EQ(out, c.out) << c.left;
        }
    }
    TempFolder dir;
    ASSERT_TRUE(WriteBytes(dir.File("p.DAS"), MakeContainer(kSmallEntries)));
    std::string out;
    EXPECT_EQ(MakeDasName(dir.File("p.DAS"), out), DasNameResult::Restore);
    EXPECT_EQ(out, dir.File("l.jpg"));
}

TEST(DasNames, PartnerNames) {
    const NameCase cases[] = {
        {"/p/img_l.jpg", "/p/img_r.jpg"},
        {"/p/IMG_L.JPG", "/p/IMG_R.JPG"},
        {"/p/foto_l", "/p/foto_r"},
        {"/p/dsc0001.jpg", "/p/dsc0002.jpg"},
        {"/p/dsc0008.jpg", "/p/dsc0009.jpg"},
        {"/p/dsc0019.jpg", "/p/dsc0020.jpg"},
        {"/p/dsc0199.jpg", "/p/dsc0200.jpg"},
        {"/p/shot+9.jpg", "/p/shot,0.jpg"},
        {"/p/ü_l.jpg", "/p/ü_r.jpg"},
        {"/p/x.das", "/p/x.das"},
        {"/p/x.IOS", "/p/x.IOS"},
        {"/p/dsc999.jpg", ""},
        {"/p/a9.jpg", ""},
        {"/p/photo.jpg", ""},
        {"/p.l/photo.jpg", ""},
        {"/p/ab_l.d/name", ""},
        {"/p/a..jpg", ""},  // "." would count up to "/"
        {"/p/ä.jpg", ""},
        {"/p/.jpg", ""},
        {"", ""},
    };
    for (const NameCase& c : cases) EXPECT_EQ(DasPartnerName(c.in), c.out) << c.in;

    TempFolder dir;
    ASSERT_TRUE(WriteBytes(dir.File("a_l.jpg"), Bytes{1}));
    ASSERT_TRUE(WriteBytes(dir.File("b_l.jpg"), Bytes{1}));
    ASSERT_TRUE(WriteBytes(dir.File("b_r.jpg"), Bytes{1}));
    EXPECT_EQ(FindDasPartner(dir.File("a_l.jpg")), "");
    EXPECT_EQ(FindDasPartner(dir.File("b_l.jpg")), dir.File("b_r.jpg"));
}

TEST(DasRestore, StoredNamesNeverLeaveTheChosenFolder) {
    TempFolder dir, out;
    Bytes file = MakeContainer(kSmallEntries);
    const char* names[2] = {"sub\\l.jpg", "../r.jpg"};
    for (int i = 0; i < 2; ++i) {
        std::memset(file.data() + (i ? 194 : 42), 0, 128);
        std::memcpy(file.data() + (i ? 194 : 42), names[i], std::strlen(names[i]));
    }
    ASSERT_TRUE(WriteBytes(dir.File("s.das"), file));
    ASSERT_TRUE(RestoreDasFiles(dir.File("s.das"), out.File("sub\\l.jpg")));
    EXPECT_EQ(out.Entries(), (std::vector<std::string>{"l.jpg", "r.jpg"}));
    EXPECT_EQ(ReadBytes(out.File("r.jpg")), kSmallEntries[3]);

    // Equal stored names fall back to the _L/_R names.
    std::memcpy(file.data() + 194, file.data() + 42, 128);
    ASSERT_TRUE(WriteBytes(dir.File("e.das"), file));
    TempFolder out2;
    ASSERT_TRUE(RestoreDasFiles(dir.File("e.das"), out2.File("sub\\l.jpg")));
    EXPECT_EQ(out2.Entries(), (std::vector<std::string>{"sub\\l_L.jpg", "sub\\l_R.jpg"}));
}

}  // namespace
}  // namespace duplora
