#include "core/formats/bmp_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::Bytes;
using test::ScratchDir;

std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}
void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<unsigned char>(v), b[at + 1] = static_cast<unsigned char>(v >> 8);
}

// A hand-made BMP: file header, info header of `headerSize` bytes, `table`, `gap` spare
// bytes, then the rows.
Bytes MakeBmp(int width, int height, int bits, std::uint32_t headerSize, const Bytes& table,
              const Bytes& rows, std::size_t gap = 0, std::uint32_t compression = 0) {
    Bytes b(14 + headerSize, 0);
    b[0] = 'B', b[1] = 'M';
    Put32(b, 14, headerSize);
    if (headerSize == 12) {
        Put16(b, 18, static_cast<std::uint16_t>(width));
        Put16(b, 20, static_cast<std::uint16_t>(height));
        Put16(b, 22, 1);
        Put16(b, 24, static_cast<std::uint16_t>(bits));
    } else {
        Put32(b, 18, static_cast<std::uint32_t>(width));
        Put32(b, 22, static_cast<std::uint32_t>(height));
        Put16(b, 26, 1);
        Put16(b, 28, static_cast<std::uint16_t>(bits));
        if (headerSize >= 20) Put32(b, 30, compression);
    }
    b.insert(b.end(), table.begin(), table.end());
    b.insert(b.end(), gap, 0xEE);
    Put32(b, 10, static_cast<std::uint32_t>(b.size()));
    b.insert(b.end(), rows.begin(), rows.end());
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

// 2 × 2, 24 bit, bottom-up rows: bottom (blue, white), top (red, green).
const Bytes kRows24 = {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0};

void ExpectQuad(const ImageBuffer& image) {
    ASSERT_TRUE(image);
    ASSERT_EQ(image.BitCount(), 24);
    ASSERT_EQ(image.Width(), 2);
    ASSERT_EQ(image.Height(), 2);
    EXPECT_EQ(test::PixelAt(image, 0, 0), 0xFF0000u);
    EXPECT_EQ(test::PixelAt(image, 1, 0), 0x00FF00u);
    EXPECT_EQ(test::PixelAt(image, 0, 1), 0x0000FFu);
    EXPECT_EQ(test::PixelAt(image, 1, 1), 0xFFFFFFu);
}

TEST(BmpRead, HandMadeForms) {
    ScratchDir dir;
    Bytes mb = MakeBmp(2, 2, 24, 40, {}, kRows24);
    mb[0] = 'M', mb[1] = 'B';  // loads like "BM"
    Bytes topDown(kRows24.begin() + 8, kRows24.end());
    topDown.insert(topDown.end(), kRows24.begin(), kRows24.begin() + 8);
    // Old 12-byte core header with a three-byte colour table.
    Bytes coreTable = {0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF};
    coreTable.resize(256 * 3, 0);
    // 32 bit without masks: B, G, R, unused.
    const Bytes rows32 = {0xFF, 0, 0, 9, 0xFF, 0xFF, 0xFF, 9, 0, 0, 0xFF, 9, 0, 0xFF, 0, 9};
    // 16 bit 5-6-5 through bit fields after a 40-byte header; 5-bit 31 widens to 255.
    Bytes masks(12, 0);
    Put32(masks, 0, 0xF800), Put32(masks, 4, 0x07E0), Put32(masks, 8, 0x001F);
    const Bytes rows16 = {0x1F, 0x00, 0xFF, 0xFF, 0x00, 0xF8, 0xE0, 0x07};
    const std::pair<const char*, Bytes> forms[] = {
        {"plain", MakeBmp(2, 2, 24, 40, {}, kRows24)},
        {"MB", mb},
        {"gap", MakeBmp(2, 2, 24, 40, {}, kRows24, 37)},  // closed between header and pixels
        {"v5-header", MakeBmp(2, 2, 24, 124, {}, kRows24)},
        {"top-down", MakeBmp(2, -2, 24, 40, {}, topDown)},
        {"core", MakeBmp(2, 2, 8, 12, coreTable, {2, 3, 0, 0, 0, 1, 0, 0})},
        {"32-bit", MakeBmp(2, 2, 32, 40, {}, rows32)},
        {"16-bit-565", MakeBmp(2, 2, 16, 40, masks, rows16, 0, 3)},
    };
    for (const auto& [name, bytes] : forms) {
        SCOPED_TRACE(name);
        test::WriteAll(dir / name, bytes);
        ExpectQuad(ReadBmpFile(dir / name));
    }
    // 16 bit 5-5-5 without masks: 0x4210 is 16 in every channel, 16 × 255 / 31 rounds to 132.
    test::WriteAll(dir / "555.bmp", MakeBmp(1, 1, 16, 40, {}, {0x10, 0x42, 0, 0}));
    const ImageBuffer grey = ReadBmpFile(dir / "555.bmp");
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
    const Bytes rle8 = {2, 1, 0, 3, 2, 3, 2, 0, 0, 0,  //
                        2, 2, 0, 0,                    //
                        0, 2, 1, 0, 1, 3, 0, 1};
    const Bytes rle4 = {2, 0x11, 0, 3, 0x23, 0x20, 0, 0,  //
                        2, 0x22, 0, 0,                    //
                        0, 2,    1, 0, 1,    0x30, 0, 1};
    const auto expect = [](const ImageBuffer& image, const char* what) {
        ASSERT_TRUE(image) << what;
        ASSERT_EQ(image.Width(), 5);
        ASSERT_EQ(image.Height(), 3);
        const std::uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, K = 0;
        const std::uint32_t rows[3][5] = {{K, B, K, K, K}, {G, G, K, K, K}, {R, R, G, B, G}};
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(test::PixelAt(image, x, y), rows[y][x]) << what << " " << x << "," << y;
    };
    test::WriteAll(dir / "r8.bmp", MakeBmp(5, 3, 8, 40, table8, rle8, 0, 1));
    expect(ReadBmpFile(dir / "r8.bmp"), "rle8");
    test::WriteAll(dir / "r4.bmp", MakeBmp(5, 3, 4, 40, table4, rle4, 0, 2));
    expect(ReadBmpFile(dir / "r4.bmp"), "rle4");
    // A literal run longer than the data that is left is refused; every cut of the data
    // is read without reaching past it.
    Bytes broken = {0, 40, 1, 2};
    test::WriteAll(dir / "bad.bmp", MakeBmp(5, 3, 8, 40, table8, broken, 0, 1));
    EXPECT_FALSE(ReadBmpFile(dir / "bad.bmp"));
    for (std::size_t n = 0; n < rle8.size(); ++n) {
        Bytes cut(rle8.begin(), rle8.begin() + n);
        test::WriteAll(dir / "cut.bmp", MakeBmp(5, 3, 8, 40, table8, cut, 0, 1));
        const ImageBuffer image = ReadBmpFile(dir / "cut.bmp");
        EXPECT_TRUE(!image || image.Width() == 5);
    }
    // Run-length data cannot be top-down.
    test::WriteAll(dir / "td.bmp", MakeBmp(5, -3, 8, 40, table8, rle8, 0, 1));
    EXPECT_FALSE(ReadBmpFile(dir / "td.bmp"));
}

TEST(BmpRead, BadFilesGiveNone) {
    ScratchDir dir;
    const Bytes good = MakeBmp(2, 2, 24, 40, {}, kRows24);
    const auto patched = [&](std::size_t at, std::uint32_t v, int bytes = 4) {
        Bytes b = good;
        if (bytes == 4)
            Put32(b, at, v);
        else
            Put16(b, at, static_cast<std::uint16_t>(v));
        return b;
    };
    Bytes truncated = good;
    truncated.resize(truncated.size() - 3);
    Bytes used = MakeBmp(2, 2, 4, 40, Bytes(64, 0), {0, 0, 0, 0, 0, 0, 0, 0});
    Put32(used, 46, 17);  // more colours than 4 bits can index
    const std::pair<const char*, Bytes> cases[] = {
        {"empty", {}},
        {"short-header", {'B', 'M', 0, 0}},
        {"not-bmp", Bytes(200, 'x')},
        {"header-13", patched(14, 13)},
        {"truncated", truncated},
        {"too-wide", patched(18, 70000)},
        {"offset-beyond-end", patched(10, 0x7FFFFFF0)},
        {"rle-24-bit", MakeBmp(2, 2, 24, 40, {}, kRows24, 0, 1)},
        {"depth-2", patched(28, 2, 2)},
        {"header-size-huge", patched(14, 0xFFFFFF00u)},
        {"colours-used-17", used},
    };
    for (const auto& [name, bytes] : cases) {
        test::WriteAll(dir / name, bytes);
        EXPECT_FALSE(ReadBmpFile(dir / name)) << name;
    }
    Bytes huge = patched(18, 60000);
    Put32(huge, 22, 60000);
    test::WriteAll(dir / "too-large", huge);
    EXPECT_FALSE(ReadBmpFile(dir / "too-large"));
    EXPECT_FALSE(ReadBmpFile(dir / "missing.bmp"));
    EXPECT_FALSE(ReadBmpFile(dir.Path()));
}

// Pictures of every depth we write are read back by ImageMagick with the same pixels.
TEST(BmpWrite, ImageMagickReadsWhatWeWrite) {
    if (!test::HaveTool("convert")) GTEST_SKIP() << "ImageMagick missing";
    ScratchDir dir;
    for (int bits : {1, 4, 8, 24}) {
        const ImageBuffer image =
            bits == 24 ? test::MakeNoise(33, 17, 5) : test::MakeIndexed(33, 17, bits, 7u + bits);
        const std::string path = dir / ("w" + std::to_string(bits) + ".bmp");
        ASSERT_TRUE(WriteBmpFile(path, image));
        const ImageBuffer expected =
            bits == 24 ? DuplicateImage(image) : test::ExpandForTest(image);
        EXPECT_TRUE(test::SamePixels(test::ReadWithImageMagick(path, dir / "x.ppm"), expected,
                                     "bmp-write-" + std::to_string(bits)));
        // And we read it back as we wrote it.
        EXPECT_TRUE(test::SamePixels(ReadBmpFile(path), expected, "bmp-reread"));
    }
}

// BMPs written by ImageMagick at each depth, bottom-up and turned top-down, read right.
TEST(BmpRead, FilesFromImageMagick) {
    if (!test::HaveTool("convert")) GTEST_SKIP() << "ImageMagick missing";
    ScratchDir dir;
    const ImageBuffer noise = test::MakeNoise(29, 13, 3);
    ASSERT_TRUE(test::WritePpm(noise, dir / "src.ppm"));
    struct Form {
        const char* options;
        int bits;
    };
    // ImageMagick writes 8-bit pictures run-length encoded unless told otherwise.
    const Form forms[] = {{"-monochrome", 1},
                          {"-colors 16 -type palette", 4},
                          {"-colors 200 -type palette", 8},
                          {"-colors 200 -type palette -compress none", 8},
                          {"-type truecolor", 24}};
    int index = 0;
    for (const Form& f : forms) {
        const std::string path = dir / ("im" + std::to_string(index++) + ".bmp");
        ASSERT_TRUE(test::RunQuiet("convert " + test::Quote(dir / "src.ppm") + " " + f.options +
                                   " BMP3:" + test::Quote(path)));
        Bytes bytes = test::ReadAll(path);
        ASSERT_GT(bytes.size(), 54u);
        ASSERT_EQ(bytes[28], f.bits) << f.options;
        const ImageBuffer expected = test::ReadWithImageMagick(path, dir / "x.ppm");
        ASSERT_TRUE(expected);
        EXPECT_TRUE(
            test::SamePixels(ReadBmpFile(path), expected, "bmp-im-" + std::to_string(f.bits)))
            << f.options;
        if (Le32(bytes, 30) != 0) continue;  // compressed: no top-down form exists

        // The same rows stored top-down.
        const std::uint32_t offset = Le32(bytes, 10);
        const std::size_t stride = (std::size_t(29) * f.bits + 31) / 32 * 4;
        Bytes topDown(bytes.begin(), bytes.begin() + offset);
        for (int r = 12; r >= 0; --r)
            topDown.insert(topDown.end(), bytes.begin() + offset + r * stride,
                           bytes.begin() + offset + (r + 1) * stride);
        Put32(topDown, 22, static_cast<std::uint32_t>(-13));
        const std::string tdPath = dir / ("td" + std::to_string(f.bits) + ".bmp");
        test::WriteAll(tdPath, topDown);
        EXPECT_TRUE(test::SamePixels(test::ReadWithImageMagick(tdPath, dir / "y.ppm"), expected,
                                     "bmp-im-topdown-check"));
        EXPECT_TRUE(test::SamePixels(ReadBmpFile(tdPath), expected, "bmp-topdown"));
    }
}

TEST(BmpWrite, FailuresLeaveTheOldFile) {
    ScratchDir dir;
    const std::string target = dir / "old.bmp";
    const Bytes old = {'o', 'l', 'd'};
    test::WriteAll(target, old);
    EXPECT_FALSE(WriteBmpFile(target, ImageBuffer{}));
    {
        // A folder that does not exist: the user is told, with the path as caption.
        test::Dialogue dialogue;
        EXPECT_FALSE(WriteBmpFile(dir / "no-such-folder/x.bmp", test::MakeNoise(4, 4, 1)));
        ASSERT_FALSE(dialogue.shown.empty());
        EXPECT_EQ(dialogue.shown.back().caption, dir / "no-such-folder/x.bmp");
    }
    {
        // The disk refuses the write half way.
        const test::FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.Active());
        EXPECT_FALSE(WriteBmpFile(target, test::MakeNoise(200, 200, 2)));
    }
    EXPECT_EQ(test::ReadAll(target), old);
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"old.bmp"});
}

TEST(BmpWrite, ReplacesKeepingPermissionsAndReportsProgress) {
    ScratchDir dir;
    const std::string target = dir / "p.bmp";
    test::WriteAll(target, {'x'});
    using std::filesystem::perms;
    std::filesystem::permissions(target,
                                 perms::owner_read | perms::owner_write | perms::group_read);
    const ImageBuffer image = test::MakeNoise(5, 3, 9);
    ASSERT_TRUE(WriteBmpFile(target, image));
    EXPECT_EQ(std::filesystem::status(target).permissions() & perms::all,
              perms::owner_read | perms::owner_write | perms::group_read);
    const Bytes bytes = test::ReadAll(target);
    ASSERT_EQ(bytes.size(), 14u + 40 + 16 * 3);
    EXPECT_EQ(Le32(bytes, 2), bytes.size());
    EXPECT_EQ(Le32(bytes, 10), 54u);
    EXPECT_TRUE(test::SamePixels(ReadBmpFile(target), image, "bmp-replace"));
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"p.bmp"});

    ASSERT_TRUE(WriteBmpFile(dir / "big.bmp", test::MakeNoise(300, 200, 4)));
    std::vector<int> seen;
    {
        const ScopedProgressSink sink([&](ProgressDirection d, int p) {
            EXPECT_EQ(d, ProgressDirection::Reading);
            seen.push_back(p);
        });
        ASSERT_TRUE(ReadBmpFile(dir / "big.bmp"));
    }
    ASSERT_GE(seen.size(), 2u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.front(), 0);
    EXPECT_GT(seen.back(), 90);
}

}  // namespace
}  // namespace duplora
