#include "core/formats/bmp_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::Bytes;
using test::PutLe;
using test::ScratchDir;

// A hand-made BMP: file header, info header of `headerSize` bytes, `table`, `gap` spare
// bytes, then the rows.
Bytes MakeBmp(int width, int height, int bits, std::uint32_t headerSize, const Bytes& table,
              const Bytes& rows, std::size_t gap = 0, std::uint32_t compression = 0) {
    Bytes b(14 + headerSize, 0);
    b[0] = 'B', b[1] = 'M';
    PutLe(b, 14, headerSize);
    const bool core = headerSize == 12;  // 16-bit sizes
    PutLe(b, 18, static_cast<std::uint32_t>(width), core ? 2 : 4);
    PutLe(b, core ? 20 : 22, static_cast<std::uint32_t>(height), core ? 2 : 4);
    PutLe(b, core ? 22 : 26, 1, 2);
    PutLe(b, core ? 24 : 28, static_cast<std::uint32_t>(bits), 2);
    if (headerSize >= 20) PutLe(b, 30, compression);
    test::Append(b, table);
    b.insert(b.end(), gap, 0xEE);
    PutLe(b, 10, static_cast<std::uint32_t>(b.size()));
    test::Append(b, rows);
    PutLe(b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

ImageBuffer ReadBytesAsBmp(const ScratchDir& dir, const Bytes& bytes) {
    test::WriteAll(dir / "t.bmp", bytes);
    return ReadBmpFile(dir / "t.bmp");
}

// 2 × 2, 24 bit, bottom-up rows: bottom (blue, white), top (red, green).
const Bytes kRows24 = {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0};

TEST(BmpRead, HandMadeForms) {
    ScratchDir dir;
    const std::uint32_t colours[2][2] = {{0xFF0000, 0x00FF00}, {0x0000FF, 0xFFFFFF}};
    const ImageBuffer quad = test::MakeImage(2, 2, [&](int x, int y) { return colours[y][x]; });
    Bytes mb = MakeBmp(2, 2, 24, 40, {}, kRows24);
    mb[0] = 'M', mb[1] = 'B';  // loads like "BM"
    // The 12-byte core header has a three-byte colour table.
    Bytes coreTable = {0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF};
    coreTable.resize(256 * 3, 0);
    const Bytes rows32 = {0xFF, 0, 0, 9, 0xFF, 0xFF, 0xFF, 9, 0, 0, 0xFF, 9, 0, 0xFF, 0, 9};
    // 16 bit 5-6-5 through bit fields; a 5-bit 31 widens to 255.
    Bytes masks(12, 0);
    PutLe(masks, 0, 0xF800), PutLe(masks, 4, 0x07E0), PutLe(masks, 8, 0x001F);
    const Bytes rows16 = {0x1F, 0x00, 0xFF, 0xFF, 0x00, 0xF8, 0xE0, 0x07};
    const std::pair<const char*, Bytes> forms[] = {
        {"plain", MakeBmp(2, 2, 24, 40, {}, kRows24)},
        {"MB", mb},
        {"gap", MakeBmp(2, 2, 24, 40, {}, kRows24, 37)},  // between header and pixels
        {"v5-header", MakeBmp(2, 2, 24, 124, {}, kRows24)},
        {"core", MakeBmp(2, 2, 8, 12, coreTable, {2, 3, 0, 0, 0, 1, 0, 0})},
        {"32-bit", MakeBmp(2, 2, 32, 40, {}, rows32)},
        {"16-bit-565", MakeBmp(2, 2, 16, 40, masks, rows16, 0, 3)}};
    for (const auto& [name, bytes] : forms)
        EXPECT_TRUE(test::SamePixels(ReadBytesAsBmp(dir, bytes), quad, name));
    // 5-5-5 without masks: 0x4210 is 16 in every channel, 16 × 255 / 31 rounds to 132.
    const ImageBuffer grey = ReadBytesAsBmp(dir, MakeBmp(1, 1, 16, 40, {}, {0x10, 0x42, 0, 0}));
    ASSERT_TRUE(grey);
    EXPECT_EQ(test::PixelAt(grey, 0, 0), 0x848484u);
}

TEST(BmpRead, RunLengthEncoded) {
    ScratchDir dir;
    // Colour table: 0 black, 1 red, 2 green, 3 blue.
    Bytes table4 = {0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};
    table4.resize(64, 0);
    Bytes table8(table4);
    table8.resize(1024, 0);
    // 5 × 3, bottom row first: a run of two red and a literal green, blue, green; a run
    // of two green and the end of the line; a move one to the right, one blue, the end.
    const Bytes rle8 = {2, 1, 0, 3, 2, 3, 2, 0, 0, 0, 2, 2, 0, 0, 0, 2, 1, 0, 1, 3, 0, 1};
    const Bytes rle4 = {2, 0x11, 0, 3, 0x23, 0x20, 0, 0, 2, 0x22, 0, 0, 0, 2, 1, 0, 1, 0x30, 0, 1};
    const std::uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, K = 0;
    const std::uint32_t rows[3][5] = {{K, B, K, K, K}, {G, G, K, K, K}, {R, R, G, B, G}};
    const ImageBuffer expected = test::MakeImage(5, 3, [&](int x, int y) { return rows[y][x]; });
    EXPECT_TRUE(test::SamePixels(ReadBytesAsBmp(dir, MakeBmp(5, 3, 8, 40, table8, rle8, 0, 1)),
                                 expected, "rle8"));
    EXPECT_TRUE(test::SamePixels(ReadBytesAsBmp(dir, MakeBmp(5, 3, 4, 40, table4, rle4, 0, 2)),
                                 expected, "rle4"));
    // A literal run longer than the data left, and top-down run-length data, are refused;
    // every cut of the data is read without reaching past it.
    EXPECT_FALSE(ReadBytesAsBmp(dir, MakeBmp(5, 3, 8, 40, table8, {0, 40, 1, 2}, 0, 1)));
    EXPECT_FALSE(ReadBytesAsBmp(dir, MakeBmp(5, -3, 8, 40, table8, rle8, 0, 1)));
    for (std::size_t n = 0; n < rle8.size(); ++n) {
        const Bytes cut(rle8.begin(), rle8.begin() + n);
        const ImageBuffer image = ReadBytesAsBmp(dir, MakeBmp(5, 3, 8, 40, table8, cut, 0, 1));
        EXPECT_TRUE(!image || image.Width() == 5);
    }
}

TEST(BmpRead, BadFilesGiveNone) {
    ScratchDir dir;
    const Bytes good = MakeBmp(2, 2, 24, 40, {}, kRows24);
    const auto patched = [&](std::size_t at, std::uint32_t v, int bytes = 4) {
        Bytes b = good;
        PutLe(b, at, v, bytes);
        return b;
    };
    Bytes used = MakeBmp(2, 2, 4, 40, Bytes(64, 0), Bytes(8, 0));
    PutLe(used, 46, 17);  // more colours than 4 bits can index
    Bytes huge = patched(18, 60000);
    PutLe(huge, 22, 60000);
    const std::pair<const char*, Bytes> cases[] = {
        {"empty", {}},
        {"short-header", {'B', 'M', 0, 0}},
        {"not-bmp", Bytes(200, 'x')},
        {"header-13", patched(14, 13)},
        {"truncated", Bytes(good.begin(), good.end() - 3)},
        {"too-wide", patched(18, 70000)},
        {"too-large", huge},
        {"offset-beyond-end", patched(10, 0x7FFFFFF0)},
        {"rle-24-bit", MakeBmp(2, 2, 24, 40, {}, kRows24, 0, 1)},
        {"depth-2", patched(28, 2, 2)},
        {"header-size-huge", patched(14, 0xFFFFFF00u)},
        {"colours-used-17", used}};
    for (const auto& [name, bytes] : cases) EXPECT_FALSE(ReadBytesAsBmp(dir, bytes)) << name;
    EXPECT_FALSE(ReadBmpFile(dir / "missing.bmp"));
    EXPECT_FALSE(ReadBmpFile(dir.Path()));
}

// Every depth we write is read back by ImageMagick with the same pixels; a 24-bit file has
// its plain layout.
TEST(BmpWrite, ImageMagickReadsWhatWeWrite) {
    ScratchDir dir;
    ASSERT_TRUE(WriteBmpFile(dir / "p.bmp", test::MakeNoise(5, 3, 9)));
    const Bytes bytes = test::ReadAll(dir / "p.bmp");
    ASSERT_EQ(bytes.size(), 14u + 40 + 16 * 3);
    EXPECT_EQ(test::Le(bytes, 2), bytes.size());
    EXPECT_EQ(test::Le(bytes, 10), 54u);
    if (!test::HaveTool("convert")) GTEST_SKIP() << "ImageMagick missing";
    for (int bits : {1, 4, 8, 24}) {
        const ImageBuffer image =
            bits == 24 ? test::MakeNoise(33, 17, 5) : test::MakeIndexed(33, 17, bits, 7u + bits);
        const std::string path = dir / ("w" + std::to_string(bits) + ".bmp");
        ASSERT_TRUE(WriteBmpFile(path, image));
        const ImageBuffer expected =
            bits == 24 ? DuplicateImage(image) : test::ExpandForTest(image);
        EXPECT_TRUE(test::SamePixels(test::ReadWithImageMagick(path, dir / "x.ppm"), expected,
                                     "bmp-write-" + std::to_string(bits)));
    }
}

// BMPs written by ImageMagick at each depth, bottom-up and turned top-down, read right.
TEST(BmpRead, FilesFromImageMagick) {
    if (!test::HaveTool("convert")) GTEST_SKIP() << "ImageMagick missing";
    ScratchDir dir;
    ASSERT_TRUE(test::WritePpm(test::MakeNoise(29, 13, 3), dir / "src.ppm"));
    // ImageMagick writes 8-bit pictures run-length encoded unless told otherwise.
    const std::pair<const char*, int> forms[] = {{"-monochrome", 1},
                                                 {"-colors 16 -type palette", 4},
                                                 {"-colors 200 -type palette", 8},
                                                 {"-colors 200 -type palette -compress none", 8},
                                                 {"-type truecolor", 24}};
    for (const auto& [options, bits] : forms) {
        SCOPED_TRACE(options);
        const std::string path = dir / "im.bmp", tdPath = dir / "td.bmp";
        ASSERT_TRUE(test::RunQuiet("convert " + test::Quote(dir / "src.ppm") + " " + options +
                                   " BMP3:" + test::Quote(path)));
        const Bytes bytes = test::ReadAll(path);
        ASSERT_GT(bytes.size(), 54u);
        ASSERT_EQ(bytes[28], bits);
        const ImageBuffer expected = test::ReadWithImageMagick(path, dir / "x.ppm");
        ASSERT_TRUE(expected);
        EXPECT_TRUE(test::SamePixels(ReadBmpFile(path), expected, "bmp-im"));
        if (test::Le(bytes, 30) != 0) continue;  // compressed: no top-down form

        // The same rows stored top-down.
        const std::uint32_t offset = test::Le(bytes, 10);
        const std::size_t stride = (std::size_t(29) * bits + 31) / 32 * 4;
        Bytes topDown(bytes.begin(), bytes.begin() + offset);
        for (int r = 12; r >= 0; --r)
            topDown.insert(topDown.end(), bytes.begin() + offset + r * stride,
                           bytes.begin() + offset + (r + 1) * stride);
        PutLe(topDown, 22, static_cast<std::uint32_t>(-13));
        test::WriteAll(tdPath, topDown);
        EXPECT_TRUE(test::SamePixels(test::ReadWithImageMagick(tdPath, dir / "y.ppm"), expected,
                                     "bmp-im-topdown-check"));
        EXPECT_TRUE(test::SamePixels(ReadBmpFile(tdPath), expected, "bmp-topdown"));
    }
}

TEST(BmpCodec, ProgressRisesWhileWritingAndReading) {
    ScratchDir dir;
    const ImageBuffer picture = test::MakeNoise(300, 200, 24);
    EXPECT_TRUE(test::RisingProgress(
        [&](const Progress& p) { return WriteBmpFile(dir / "big.bmp", picture, p).Ok(); },
        ProgressDirection::Writing, 2));
    EXPECT_TRUE(
        test::RisingProgress([&](const Progress& p) { return !!ReadBmpFile(dir / "big.bmp", p); },
                             ProgressDirection::Reading, 2));
}

}  // namespace
}  // namespace duplora
