#include "core/formats/das.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
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
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::Bytes;
using test::ReadAll;
using test::ScratchDir;
using test::WriteAll;
using Names = std::vector<std::string>;

Bytes LengthField(std::size_t n) {
    Bytes b(4);
    test::PutLe(b, 0, static_cast<std::uint32_t>(n));
    return b;
}
Bytes Range(const Bytes& b, std::size_t from, std::size_t n) {
    return Bytes(b.begin() + from, b.begin() + from + n);
}

// A container built by hand from the layout: magic, sizes 10×20 / 30×40, alignment 7, -9,
// names "l.jpg" / "r.jpg", and the four entries behind their lengths.
Bytes MakeContainer(const std::array<Bytes, 4>& entries, const char* magic = "DAS   ") {
    Bytes file(kDasHeaderSize, 0);
    std::memcpy(file.data(), magic, 6);
    const std::int32_t fields[6] = {10, 20, 7, -9, 30, 40};
    for (int i = 0; i < 6; ++i)
        test::PutLe(file, 18 + 4 * i, static_cast<std::uint32_t>(fields[i]));
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

TEST(DasFileTime, KnownValuesBothWays) {
    const struct {
        std::int64_t seconds;
        long nanos;
        std::uint64_t fileTime;
    } cases[] = {{0, 0, 116444736000000000ULL},            // 1970
                 {-11644473600LL, 0, 0},                   // 1601
                 {1, 123456700, 116444736011234567ULL},    // 100-ns steps
                 {-1, 999999900, 116444735999999999ULL}};  // before 1970
    for (const auto& c : cases) {
        EXPECT_EQ(PosixToFileTime({static_cast<time_t>(c.seconds), c.nanos}), c.fileTime);
        const timespec back = FileTimeToPosix(c.fileTime);
        EXPECT_EQ(std::pair(std::int64_t{back.tv_sec}, back.tv_nsec),
                  std::pair(c.seconds, c.nanos));
    }
    EXPECT_EQ(PosixToFileTime({-11644473601LL, 0}), 0u);  // before 1601
    EXPECT_EQ(PosixToFileTime({std::numeric_limits<time_t>::max(), 0}),
              std::numeric_limits<std::uint64_t>::max());
}

TEST(DasRead, HandMadeContainerLayoutAndExtraction) {
    ScratchDir dir, out;
    ASSERT_TRUE(WriteAll(dir / "a.das", MakeContainer(kSmallEntries)));
    DasLayout layout;
    ASSERT_TRUE(ReadDasLayout(dir / "a.das", false, layout));
    EXPECT_EQ(layout.count, 4);
    const std::uint64_t offsets[4] = {350, 357, 363, 371};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(layout.entries[i].offset, offsets[i]);
        EXPECT_EQ(layout.entries[i].size, kSmallEntries[i].size());
    }
    const DasHeader& h = layout.header;
    EXPECT_EQ(
        std::vector({h.leftWidth, h.leftHeight, h.alignX, h.alignY, h.rightWidth, h.rightHeight}),
        std::vector({10, 20, 7, -9, 30, 40}));
    EXPECT_EQ(std::pair(h.leftName, h.rightName), test::TwoNames("l.jpg", "r.jpg"));

    DasHeader header;
    EXPECT_EQ(ExtractDasJpegs(dir / "a.das", out.Path(), false, &header), kDasExtracted);
    EXPECT_EQ(ReadAll(out / kDasLeftFileName), kSmallEntries[2]);
    EXPECT_EQ(ReadAll(out / kDasRightFileName), kSmallEntries[3]);
    EXPECT_EQ(header.alignY, -9);
    EXPECT_EQ(ExtractDasJpegs(dir / "a.das", out.Path(), true), kDasExtracted);
    EXPECT_EQ(ReadAll(out / kDasLeftFileName), kSmallEntries[0]);
    // An empty thumbnail still previews.
    ASSERT_TRUE(WriteAll(dir / "e.das", MakeContainer({Bytes{}, Bytes{1}, Bytes{}, Bytes{}})));
    EXPECT_EQ(ExtractDasJpegs(dir / "e.das", out.Path(), true), kDasExtracted);
    EXPECT_TRUE(ReadAll(out / kDasLeftFileName).empty());
}

// Every truncation, lengths running past the end and a wrong magic are refused; so are a
// folder, a missing file and a missing target folder.
TEST(DasRead, CutAndBadContainersFailCleanly) {
    ScratchDir dir, out;
    const Bytes file = MakeContainer(kSmallEntries);
    std::vector<Bytes> bad;
    for (std::size_t n = 0; n < file.size(); ++n) bad.push_back(Range(file, 0, n));
    bad.push_back(MakeContainer(kSmallEntries, "XAS   "));
    const std::size_t fields[4] = {346, 353, 359, 367};
    for (const auto& [entry, length] :
         std::vector<std::pair<int, std::uint32_t>>{{0, 0xFFFFFFFF},
                                                    {0, 0x80000000},
                                                    {1, 2 + 4 + 4 + 4 + 1 + 1},
                                                    {3, 2},
                                                    {3, 0xFFFFFFF0}}) {
        bad.push_back(file);
        test::PutLe(bad.back(), fields[entry], length);
    }
    const std::string path = dir / "d.das";
    // A preview of a cut file needs the first entry and the second entry's length field.
    const std::size_t previewNeeds = kDasHeaderSize + 4 + 3 + 4;
    for (std::size_t i = 0; i < bad.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(WriteAll(path, bad[i]));
        DasLayout layout;
        EXPECT_FALSE(ReadDasLayout(path, false, layout));
        EXPECT_EQ(ExtractDasJpegs(path, out.Path(), false), 0);
        EXPECT_FALSE(LoadDasPicture(path));
        EXPECT_FALSE(RestoreDasFiles(path, out / "x.jpg", OverwritePolicy::Always()));
        EXPECT_TRUE(out.Files().empty());
        if (i >= file.size()) continue;
        EXPECT_EQ(ReadDasLayout(path, true, layout), i >= previewNeeds);
        DasHeader header;
        EXPECT_EQ(ReadDasHeader(path, header), i >= kDasHeaderSize);
    }
    EXPECT_EQ(ExtractDasJpegs(dir.Path(), out.Path(), false), 0);
    EXPECT_EQ(ExtractDasJpegs(dir / "missing.das", out.Path(), false), 0);
    ASSERT_TRUE(WriteAll(dir / "ok.das", file));
    EXPECT_EQ(ExtractDasJpegs(dir / "ok.das", dir / "none", false), 0);
}

TEST(DasRead, PreviewNeedsTheSecondEntryWithin65000Bytes) {
    ScratchDir dir, out;
    for (const std::size_t thumbnail : {64992, 64993}) {
        ASSERT_TRUE(WriteAll(dir / "p.das",
                             MakeContainer({Bytes(thumbnail, 7), Bytes{1}, Bytes{2}, Bytes{3}})));
        EXPECT_EQ(ExtractDasJpegs(dir / "p.das", out.Path(), true),
                  thumbnail <= 64992 ? kDasExtracted : 0);
        // Whatever the thumbnail, the file still opens.
        EXPECT_EQ(ExtractDasJpegs(dir / "p.das", out.Path(), false), kDasExtracted);
    }
}

Bytes SmallJpeg(const ScratchDir& dir, int width, int height, std::uint32_t seed) {
    const std::string path = dir / ("small" + std::to_string(seed) + ".jpg");
    EXPECT_TRUE(EncodeJpegImage(path, test::MakeNoise(width, height, seed), true, 90));
    return ReadAll(path);
}

TEST(DasIos, StreamsAreFoundByTheirJfifStart) {
    ScratchDir dir, out;
    const Bytes streams[4] = {SmallJpeg(dir, 8, 6, 1), SmallJpeg(dir, 6, 8, 2),
                              SmallJpeg(dir, 40, 30, 3), SmallJpeg(dir, 24, 32, 4)};
    ASSERT_EQ(streams[0][6], 'J');  // the encoder writes a JFIF marker
    Bytes file = MakeContainer({}, "IOS   ");
    file.resize(kDasHeaderSize);
    const Bytes junk[4] = {Bytes(7, 0xFF), Bytes{0xFF, 0xD8, 0xFF}, Bytes{}, Bytes(5, 0x11)};
    for (int i = 0; i < 4; ++i) {
        test::Append(file, junk[i]);
        test::Append(file, LengthField(streams[i].size()));
        test::Append(file, streams[i]);
    }
    test::Append(file, Bytes(9, 0));
    const std::string path = dir / "a.ios";
    ASSERT_TRUE(WriteAll(path, file));

    DasHeader header;
    ASSERT_EQ(ExtractDasJpegs(path, out.Path(), false, &header), kDasExtracted);
    EXPECT_EQ(header.variant, DasVariant::Ios);
    EXPECT_EQ(ReadAll(out / kDasLeftFileName), streams[2]);
    EXPECT_EQ(ReadAll(out / kDasRightFileName), streams[3]);
    ASSERT_EQ(ExtractDasJpegs(path, out.Path(), true), kDasExtracted);
    EXPECT_EQ(ReadAll(out / kDasLeftFileName), streams[0]);
    const DasPicture picture = LoadDasPicture(path);
    EXPECT_EQ(std::pair(picture.image.Width(), picture.image.Height()), std::pair(80, 32));

    // Three streams: a preview, but nothing to open.
    const std::string three = dir / "three.ios";
    ASSERT_TRUE(WriteAll(three, Range(file, 0, file.size() - 9 - streams[3].size() - 2)));
    EXPECT_EQ(ExtractDasJpegs(three, out.Path(), true), kDasExtracted);
    EXPECT_EQ(ExtractDasJpegs(three, out.Path(), false), 0);
    // A length running past the end.
    test::PutLe(file, kDasHeaderSize + 7, 0xFFFFFF00);
    ASSERT_TRUE(WriteAll(dir / "broken.ios", file));
    EXPECT_EQ(ExtractDasJpegs(dir / "broken.ios", out.Path(), true), 0);
    EXPECT_EQ(ExtractDasJpegs(dir / "broken.ios", out.Path(), false), 0);
}

TEST(DasAlignmentWrite, ChangesOnlyBytes26To33) {
    ScratchDir dir;
    for (const char* magic : {"DAS   ", "IOS   "}) {
        Bytes expected = MakeContainer(kSmallEntries, magic);
        ASSERT_TRUE(WriteAll(dir / "w", expected));
        // Stored: the shown offset with x negated.
        const DasAlignment stored = DasAlignmentFromOffset({-5, 4}, false);
        ASSERT_TRUE(WriteDasAlignment(dir / "w", stored.x, stored.y));
        test::PutLe(expected, 26, 5), test::PutLe(expected, 30, 4);
        EXPECT_EQ(ReadAll(dir / "w"), expected) << magic;
    }
    // Both negated for swapped views.
    const DasAlignment swapped = DasAlignmentFromOffset({-5, 4}, true);
    EXPECT_EQ(std::pair(swapped.x, swapped.y), std::pair(-5, -4));
    // Other files are left alone: a JPEG, and "DA" without a whole header.
    const Bytes shortDas = Range(MakeContainer(kSmallEntries), 0, kDasHeaderSize - 1);
    for (const Bytes& bytes : {SmallJpeg(dir, 8, 8, 5), shortDas}) {
        ASSERT_TRUE(WriteAll(dir / "f", bytes));
        EXPECT_FALSE(WriteDasAlignment(dir / "f", 1, 2));
        EXPECT_EQ(ReadAll(dir / "f"), bytes);
    }
    EXPECT_FALSE(WriteDasAlignment(dir / "missing", 1, 2));
}

class DasSamplePair : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::SampleExists("pairs/gx8_l.jpg") || !test::SampleExists("pairs/gx8_r.jpg"))
            GTEST_SKIP() << "sample pair missing";
        std::filesystem::copy_file(test::SamplePath("pairs/gx8_l.jpg"), left_);
        std::filesystem::copy_file(test::SamplePath("pairs/gx8_r.jpg"), right_);
        const timespec leftTimes[2] = {{1200000000, 100}, {1300000000, 123456700}};
        const timespec rightTimes[2] = {{1200000001, 0}, {1300000002, 987654300}};
        ::utimensat(AT_FDCWD, left_.c_str(), leftTimes, 0);
        ::utimensat(AT_FDCWD, right_.c_str(), rightTimes, 0);
        ASSERT_TRUE(CreateDasFile(das_, left_, right_, 12, -3));
    }
    ScratchDir src_;
    const std::string left_ = src_ / "gx8_l.jpg", right_ = src_ / "gx8_r.jpg",
                      das_ = src_ / "gx8.das";
};

TEST_F(DasSamplePair, ContainerHoldsSourcesSizesNamesAndTimes) {
    DasLayout layout;
    ASSERT_TRUE(ReadDasLayout(das_, false, layout));
    const Bytes file = ReadAll(das_);
    EXPECT_EQ(Range(file, 0, 18), test::Text(std::string("DAS   ") + std::string(12, '\0')));
    const DasHeader& h = layout.header;
    EXPECT_EQ(
        std::vector({h.leftWidth, h.leftHeight, h.alignX, h.alignY, h.rightWidth, h.rightHeight}),
        std::vector({1824, 1367, 12, -3, 1824, 1367}));
    EXPECT_EQ(std::tuple(h.leftName, h.rightName), std::tuple("gx8_l.jpg", "gx8_r.jpg"));
    EXPECT_EQ(h.leftTimes.write, PosixToFileTime({1300000000, 123456700}));
    EXPECT_EQ(h.rightTimes.write, PosixToFileTime({1300000002, 987654300}));
    const auto entry = [&](int i) {
        return Range(file, layout.entries[i].offset, layout.entries[i].size);
    };
    EXPECT_EQ(entry(kDasLeftSource), ReadAll(left_));
    EXPECT_EQ(entry(kDasRightSource), ReadAll(right_));
    EXPECT_EQ(layout.entries[3].offset + layout.entries[3].size, file.size());
    // The thumbnails: colour JPEGs of 160 pixels on the longer side, aspect kept.
    for (int i : {kDasLeftThumbnail, kDasRightThumbnail}) {
        const Bytes thumb = entry(i);
        const ImageBuffer t = DecodeJpegMemory(thumb.data(), thumb.size(), false);
        ASSERT_TRUE(t);
        EXPECT_EQ(t.Width(), 160);
        EXPECT_NEAR(t.Height(), 1367 * 160 / 1824, 1);
    }
}

TEST_F(DasSamplePair, RestoreGivesFilesAndTimesBack) {
    ScratchDir out;
    // Under the stored names (the case of the chosen name does not matter).
    ASSERT_TRUE(RestoreDasFiles(das_, out / "GX8_L.JPG", OverwritePolicy::Never()));
    EXPECT_EQ(out.Files(), (Names{"gx8_l.jpg", "gx8_r.jpg"}));
    for (const std::string name : {"gx8_l.jpg", "gx8_r.jpg"}) {
        EXPECT_EQ(ReadAll(out / name), ReadAll(src_ / name)) << name;
        EXPECT_EQ(test::ModifyTime(out / name), test::ModifyTime(src_ / name)) << name;
    }
    // Under another name, and over existing files only when the user agrees to each.
    ScratchDir other;
    ASSERT_TRUE(RestoreDasFiles(das_, other / "pair.jpeg", OverwritePolicy::Never()));
    EXPECT_EQ(other.Files(), (Names{"pair_L.jpeg", "pair_R.jpeg"}));
    EXPECT_EQ(ReadAll(other / "pair_R.jpeg"), ReadAll(right_));
    ASSERT_TRUE(WriteAll(other / "pair_L.jpeg", Bytes{1, 2, 3}));
    test::QuestionRecorder cancel;
    cancel.fallback = false;
    EXPECT_FALSE(RestoreDasFiles(das_, other / "pair.jpeg", cancel.Policy()));
    EXPECT_EQ(cancel.questions,
              std::vector<std::string>{other / "pair_L.jpeg" +
                                       "|Datei bereits vorhanden! Diese Datei ersetzen ?"});
    EXPECT_EQ(cancel.kinds, std::vector<QuestionKind>{QuestionKind::OkCancel});
    EXPECT_EQ(ReadAll(other / "pair_L.jpeg"), (Bytes{1, 2, 3}));
    EXPECT_FALSE(RestoreDasFiles(das_, other / "pair.jpeg", OverwritePolicy()));  // nobody asked
    test::QuestionRecorder ok;
    EXPECT_TRUE(RestoreDasFiles(das_, other / "pair.jpeg", ok.Policy()));
    EXPECT_EQ(ok.questions.size(), 2u);
    EXPECT_EQ(ReadAll(other / "pair_L.jpeg"), ReadAll(left_));
    EXPECT_EQ(other.Files().size(), 2u);
}

TEST_F(DasSamplePair, RepackingAContainerKeepsSourcesAndTimes) {
    const std::string again = src_ / "again.das";
    ASSERT_TRUE(CreateDasFile(again, das_, das_, 0, 0));
    DasLayout first, second;
    ASSERT_TRUE(ReadDasLayout(das_, false, first));
    ASSERT_TRUE(ReadDasLayout(again, false, second));
    EXPECT_EQ(second.header.leftName, "gx8_L.JPG");
    EXPECT_EQ(second.header.leftTimes.write, first.header.leftTimes.write);
    EXPECT_EQ(second.header.alignX, 0);
    const Bytes a = ReadAll(das_), b = ReadAll(again);
    EXPECT_EQ(Range(a, kDasHeaderSize, a.size() - kDasHeaderSize),
              Range(b, kDasHeaderSize, b.size() - kDasHeaderSize));
}

// The container opens in any layout as the pair side by side with its stored alignment
// (x negated, as DasAlignmentWrite stores it). The open dialog shows its thumbnail.
TEST_F(DasSamplePair, OpensAsAPairInAnyLayout) {
    const StereoOpenResult opened = OpenStereoFile(das_, StereoLayout::OverUnder);
    ASSERT_TRUE(opened.loaded);
    EXPECT_TRUE(opened.fromDas);
    EXPECT_EQ(std::pair(opened.dx, opened.dy), std::pair(-12, -3));
    EXPECT_EQ(opened.leftName, "gx8.das - Links");
    EXPECT_TRUE(test::SamePixels(opened.left, LoadJpegImage(left_).image, "das-open-left"));
    EXPECT_TRUE(test::SamePixels(opened.right, LoadJpegImage(right_).image, "das-open-right"));
    EXPECT_EQ(OpenStereoFile(das_, StereoLayout::SideBySide).right.Width(), 1824);

    const std::optional<OpenPreview> preview = LoadOpenPreview(das_);
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->das);
    EXPECT_EQ(preview->kind, PreviewKind::Das);
    EXPECT_EQ((std::vector{preview->dasSizes.leftWidth, preview->dasSizes.leftHeight,
                           preview->dasSizes.rightWidth, preview->dasSizes.rightHeight}),
              (std::vector{1824, 1367, 1824, 1367}));
    ASSERT_TRUE(preview->image);
    EXPECT_EQ(std::max(preview->image.Width(), preview->image.Height()), 160);
}

TEST(DasPictures, BmpSourcesOfDifferentSizesSitTopLeftOnBlack) {
    ScratchDir dir;
    const ImageBuffer left = test::MakeNoise(6, 3, 11), right = test::MakeNoise(4, 5, 12);
    ASSERT_TRUE(WriteBmpFile(dir / "a_l.bmp", left));
    ASSERT_TRUE(WriteBmpFile(dir / "a_r.bmp", right));
    ASSERT_TRUE(CreateDasFile(dir / "a.das", dir / "a_l.bmp", dir / "a_r.bmp", -1, 2));
    const DasPicture picture = LoadDasPicture(dir / "a.das");
    EXPECT_EQ(std::pair(picture.header.leftWidth, picture.header.rightHeight), std::pair(6, 5));
    const ImageBuffer expected = test::MakeImage(12, 5, [&](int x, int y) {
        return x < 6 ? (y < 3 ? test::PixelAt(left, x, y) : 0u)
                     : (x < 10 ? test::PixelAt(right, x - 6, y) : 0u);
    });
    EXPECT_TRUE(test::SamePixels(picture.image, expected, "das-bmp"));
}

TEST(DasNames, FitDasNameCutsOnACharacterBoundary) {
    const std::string a127(127, 'a');
    const std::pair<std::string, std::string> cases[] = {
        {a127, a127},
        {std::string(200, 'b') + ".jpg", std::string(123, 'b') + ".jpg"},
        {std::string(130, 'c'), std::string(127, 'c')},
        {std::string(126, 'd') + "€", std::string(126, 'd')}  // no half character
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(FitDasName(in), out) << in;

    // The header of a file made from such a source holds the cut name.
    ScratchDir dir;
    std::string stem;
    for (int i = 0; i < 70; ++i) stem += "ä";  // 140 bytes
    const std::string name = stem + ".bmp";
    ASSERT_TRUE(WriteBmpFile(dir / name, test::MakeNoise(3, 3, 1)));
    ASSERT_TRUE(CreateDasFile(dir / "u.das", dir / name, dir / name, 0, 0));
    EXPECT_EQ(ReadAll(dir / "u.das")[42 + 127], 0);
    DasHeader header;
    ASSERT_TRUE(ReadDasHeader(dir / "u.das", header));
    EXPECT_EQ(header.leftName, stem.substr(0, 122) + ".bmp");  // 61 two-byte characters
}

TEST(DasNames, MakeDasNameProposals) {
    const struct {
        const char *left, *folder, *out;  // "" out: a failure
    } proposals[] = {{"/a/b/pair_l.jpg", "", "/a/b/pair.das"},
                     {"/a/b/pairL.JPG", "/x", "/x/pair.das"},
                     {"/a/b/pair-L.bmp", "/x/", "/x/pair.das"},
                     {"/a/b/pair_r.jpg", "", "/a/b/pair_r.das"},
                     {"/a/b.l/photo.jpg", "", "/a/b.l/photo.das"},
                     {"/a/schöne_l.tar.jpg", "", "/a/schöne_l.tar.das"},
                     {"/a/b/", "", ""},
                     {"/missing/x.das", "", ""}};
    for (const auto& c : proposals) {
        std::string out;
        const DasNameResult result = MakeDasName(c.left, out, c.folder);
        EXPECT_EQ(result, *c.out ? DasNameResult::NewName : DasNameResult::Failure) << c.left;
        EXPECT_EQ(*c.out ? out : std::string(), c.out) << c.left;
    }
    ScratchDir dir;
    ASSERT_TRUE(WriteAll(dir / "p.DAS", MakeContainer(kSmallEntries)));
    std::string out;
    EXPECT_EQ(MakeDasName(dir / "p.DAS", out), DasNameResult::Restore);
    EXPECT_EQ(out, dir / "l.jpg");
}

TEST(DasNames, PartnerNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"/p/IMG_L.JPG", "/p/IMG_R.JPG"},
        {"/p/foto_l", "/p/foto_r"},
        {"/p/dsc0001.jpg", "/p/dsc0002.jpg"},
        {"/p/dsc0199.jpg", "/p/dsc0200.jpg"},
        {"/p/shot+9.jpg", "/p/shot,0.jpg"},
        {"/p/ü_l.jpg", "/p/ü_r.jpg"},
        {"/p/x.IOS", "/p/x.IOS"},
        {"/p/dsc999.jpg", ""},
        {"/p/photo.jpg", ""},
        {"/p.l/photo.jpg", ""},
        {"/p/a..jpg", ""},  // "." would count up to "/"
        {"/p/ä.jpg", ""},
        {"", ""}};
    for (const auto& [in, out] : cases) EXPECT_EQ(DasPartnerName(in), out) << in;

    ScratchDir dir;
    for (const char* name : {"a_l.jpg", "b_l.jpg", "b_r.jpg"})
        ASSERT_TRUE(WriteAll(dir / name, Bytes{1}));
    EXPECT_EQ(FindDasPartner(dir / "a_l.jpg"), "");
    EXPECT_EQ(FindDasPartner(dir / "b_l.jpg"), dir / "b_r.jpg");
}

TEST(DasRestore, StoredNamesNeverLeaveTheChosenFolder) {
    ScratchDir dir, out, out2;
    Bytes file = MakeContainer(kSmallEntries);
    const char* names[2] = {"sub\\l.jpg", "../r.jpg"};
    for (int i = 0; i < 2; ++i) {
        std::memset(file.data() + (i ? 194 : 42), 0, 128);
        std::memcpy(file.data() + (i ? 194 : 42), names[i], std::strlen(names[i]));
    }
    ASSERT_TRUE(WriteAll(dir / "s.das", file));
    ASSERT_TRUE(RestoreDasFiles(dir / "s.das", out / "sub\\l.jpg", OverwritePolicy::Never()));
    EXPECT_EQ(out.Files(), (Names{"l.jpg", "r.jpg"}));
    EXPECT_EQ(ReadAll(out / "r.jpg"), kSmallEntries[3]);

    // Equal stored names fall back to the _L/_R names.
    std::memcpy(file.data() + 194, file.data() + 42, 128);
    ASSERT_TRUE(WriteAll(dir / "e.das", file));
    ASSERT_TRUE(RestoreDasFiles(dir / "e.das", out2 / "sub\\l.jpg", OverwritePolicy::Never()));
    EXPECT_EQ(out2.Files(), (Names{"sub\\l_L.jpg", "sub\\l_R.jpg"}));
}

}  // namespace
}  // namespace duplora
