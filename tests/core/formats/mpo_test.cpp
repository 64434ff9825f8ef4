// Multi-picture files: the camera samples read through their index, a damaged index read
// by scanning, and what we write read back by exiftool and by us.
#include "core/formats/mpo.h"

#include <gtest/gtest.h>

#include <string>

#include "core/formats/jpeg_codec.h"
#include "core/formats/stereo_open.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::Bytes;

constexpr const char* kSamples[] = {"mpo/frozenpond.mpo", "mpo/sugarshack.mpo", "mpo/gx8.mpo",
                                    "mpo/ignore_frame_size.mpo"};

ImageBuffer Decode(const Bytes& jpeg) {
    return DecodeJpegMemory(jpeg.data(), jpeg.size(), false);
}

// Each sample opens with its first picture left and its second right; the right one is the
// very picture exiftool extracts through the index.
TEST(Mpo, CameraSamplesOpenAsTheirTwoPictures) {
    if (!test::HaveTool("exiftool")) GTEST_SKIP() << "exiftool missing";
    test::ScratchDir dir;
    for (const char* sample : kSamples) {
        SCOPED_TRACE(sample);
        if (!test::SampleExists(sample)) GTEST_SKIP();
        const std::string path = test::SamplePath(sample);
        const Bytes file = test::ReadAll(path);
        const std::vector<MpoPicture> index = ReadMpoIndex(file);
        ASSERT_EQ(index.size(), 2u);
        EXPECT_NE(index[0].attribute & 0x20000000u, 0u);  // representative
        const StereoOpenResult opened = OpenStereoFile(path, StereoLayout::Mpo);
        ASSERT_TRUE(opened.loaded);
        const Bytes second = test::CaptureBytes("exiftool -b -MPImage2 " + test::Quote(path));
        EXPECT_TRUE(test::SamePixels(opened.right, Decode(second), "mpo-right"));
        EXPECT_TRUE(test::SamePixels(opened.left, Decode(file), "mpo-left"));
        // The scan finds the same two pictures where the index is sound.
        const std::vector<MpoPicture> scanned = ScanJpegStreams(file);
        ASSERT_GE(scanned.size(), 2u);
        EXPECT_EQ(scanned[1].offset, index[1].offset);
    }
}

// Damage of every kind to the index falls back to the scan for the second JPEG start.
TEST(Mpo, DamagedIndexFallsBackToScanning) {
    if (!test::SampleExists("mpo/sugarshack.mpo")) GTEST_SKIP();
    const Bytes good = test::ReadAll(test::SamplePath("mpo/sugarshack.mpo"));
    const ImageBuffer right =
        Decode(Bytes(good.begin() + ReadMpoIndex(good)[1].offset, good.end()));
    ASSERT_TRUE(right);
    // The block "MPF" 00 and its TIFF header (big-endian in this sample).
    std::size_t tiff = 0;
    for (std::size_t i = 0; i + 4 < good.size(); ++i)
        if (good[i] == 'M' && good[i + 1] == 'P' && good[i + 2] == 'F' && good[i + 3] == 0) {
            tiff = i + 4;
            break;
        }
    ASSERT_GT(tiff, 0u);
    const auto damaged = [&](std::size_t at, std::uint8_t value) {
        Bytes b = good;
        b[at] = value;
        return b;
    };
    const std::pair<const char*, Bytes> cases[] = {{"byte order", damaged(tiff, 'X')},
                                                   {"magic", damaged(tiff + 3, 43)},
                                                   {"ifd offset", damaged(tiff + 4, 0x7F)},
                                                   {"identifier", damaged(tiff - 2, 'X')}};
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        EXPECT_TRUE(ReadMpoIndex(bytes).empty());
        const MpoViews views = ReadMpoBytes(bytes);
        ASSERT_TRUE(views.right);
        EXPECT_TRUE(test::SamePixels(views.right, right, "scanned-right"));
    }
    // Every entry is checked against the file: a file cut inside the second picture keeps
    // it (the decoder ends where the bytes do), one cut before it is not a stereo file.
    const std::size_t second = ReadMpoIndex(good)[1].offset;
    Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(second - 10));
    EXPECT_TRUE(ReadMpoIndex(cut).empty());
    EXPECT_FALSE(ReadMpoBytes(cut).right);
    EXPECT_EQ(ScanJpegStreams(cut).size(), 1u);
}

// What we write: exiftool finds the index with both pictures, the first representative, the
// version in both pictures; its extracted second picture is our right view; we read it back.
TEST(Mpo, WrittenFileIsReadByExiftoolAndByUs) {
    if (!test::HaveTool("exiftool")) GTEST_SKIP() << "exiftool missing";
    test::ScratchDir dir;
    const ImageBuffer left = test::MakeGradient(96, 64);
    const ImageBuffer right = test::MakeNoise(96, 64, 9);
    const std::string path = dir / "pair.mpo";
    ASSERT_TRUE(WriteMpoFile(path, left, right, 90));
    const std::string facts = test::Capture("exiftool -a -G1 -s -MPF:all -n " + test::Quote(path));
    EXPECT_NE(facts.find("NumberOfImages                  : 2"), std::string::npos) << facts;
    EXPECT_EQ(test::Capture("exiftool -s3 -MPImage1:MPImageFlags -MPImage2:MPImageType " +
                            test::Quote(path)),
              "Representative image\nMulti-frame Disparity");
    const Bytes file = test::ReadAll(path);
    const std::vector<MpoPicture> index = ReadMpoIndex(file);
    ASSERT_EQ(index.size(), 2u);
    EXPECT_EQ(index[0].size + index[1].size, file.size());
    // exiftool gives the start as a file offset.
    EXPECT_EQ(test::Capture("exiftool -s3 -MPImage2:MPImageStart -MPImage2:MPImageLength " +
                            test::Quote(path)),
              std::to_string(index[1].offset) + "\n" + std::to_string(index[1].size));
    const Bytes second = test::CaptureBytes("exiftool -b -MPImage2 " + test::Quote(path));
    ASSERT_FALSE(second.empty());
    // The second picture carries its own block with the version.
    const std::string secondPath = dir / "second.jpg";
    ASSERT_TRUE(test::WriteAll(secondPath, second));
    EXPECT_EQ(test::Capture("exiftool -s3 -MPFVersion " + test::Quote(secondPath)), "0100");
    const MpoViews read = ReadMpoFile(path);
    ASSERT_TRUE(read.left && read.right);
    EXPECT_TRUE(test::SamePixels(read.right, Decode(second), "written-right"));
    EXPECT_LE(test::MaxDifference(read.left, left), 8);
    // ImageMagick takes the file for the JPEG of its first picture.
    if (test::HaveTool("identify")) {
        EXPECT_EQ(test::Capture("identify -format '%wx%h' " + test::Quote(path) + "'[0]'"),
                  "96x64");
    }
}

}  // namespace
}  // namespace duplora
