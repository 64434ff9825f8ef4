#include "core/formats/tiff_codec.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/formats/load_chain.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::Bytes;
using test::ScratchDir;

const CodecOptions kWithLzw{.allowLzw = true};

// Every photometric and depth the main reader knows, written by ImageMagick and recompressed
// by tiffcp in every compression we read, gives ImageMagick's pixels (CMYK within our K
// formula's rounding, 16-bit samples within a step: we take the high byte, ImageMagick
// rounds). LZW opens only with the switch on; Group 4, JPEG, tiles and separate planes only
// through the RGBA reader.
TEST(TiffRead, EveryCompressionOfEveryPhotometricFromTools) {
    if (!test::HaveTool("convert") || !test::HaveTool("tiffcp"))
        GTEST_SKIP() << "ImageMagick or libtiff tools missing";
    ScratchDir dir;
    ASSERT_TRUE(test::WritePpm(test::MakeNoise(37, 23, 6), dir / "noise.ppm"));
    ASSERT_TRUE(test::WritePpm(test::MakeGradient(37, 23), dir / "smooth.ppm"));
    enum Kind { kOther = 1, kRgb = 2, kBilevel = 4, kFourBit = 8 };
    struct Form {
        const char* name;
        const char* options;
        Kind kind;
        int mainBits;  // the depth the main reader gives
        int tolerance;
    };
    const Form forms[] = {{"white-is-zero", "-colorspace gray -depth 8", kOther, 8, 0},
                          {"black-is-zero", "-colorspace gray -depth 8", kOther, 8, 0},
                          {"grey-16", "-colorspace gray -depth 16", kOther, 8, 1},
                          {"white-is-zero-16", "-colorspace gray -depth 16", kOther, 8, 1},
                          {"grey-4", "-colorspace gray -depth 4", kFourBit, 4, 0},
                          {"rgb", "-depth 8", kRgb, 24, 0},
                          {"rgb-16", "-depth 16", kOther, 24, 1},
                          {"palette-4", "-colors 12 -type palette", kFourBit, 4, 0},
                          {"palette-8", "-colors 200 -type palette", kOther, 8, 0},
                          {"separated", "-colorspace cmyk -depth 8", kOther, 24, 2},
                          {"bilevel", "-monochrome -depth 1", kBilevel, 1, 0},
                          {"white-is-zero-bilevel", "-monochrome -depth 1", kBilevel, 1, 0}};
    struct Coding {
        const char* options;
        int kinds;  // the forms it applies to
        bool byMain, lzw;
        int tolerance;  // on top of the form's
    };
    const int all = kOther | kRgb | kBilevel | kFourBit;
    const Coding codings[] = {
        {"-c none", all, true, false, 0},
        {"-c packbits", all, true, false, 0},
        {"-c zip", all, true, false, 0},
        {"-c lzw", all, true, true, 0},
        {"-c lzw:2", kOther | kRgb, true, true, 0},  // a predictor needs 8 bits or more
        {"-c g3", kBilevel, true, false, 0},
        {"-c g3:2d", kBilevel, true, false, 0},
        {"-c g4", kBilevel, false, false, 0},
        {"-c jpeg", kRgb, false, false, 12},
        {"-c none -t", kRgb, false, false, 0},
        {"-c none -p separate", kRgb, false, false, 0}};
    for (const Form& form : forms) {
        SCOPED_TRACE(form.name);
        // RGB goes through JPEG as well, which needs a smooth picture.
        const std::string source = dir / (form.kind == kRgb ? "smooth.ppm" : "noise.ppm");
        const std::string plain = dir / (std::string(form.name) + ".tif");
        const bool white = std::string(form.name).find("white") != std::string::npos;
        ASSERT_TRUE(test::RunQuiet(
            "convert " + test::Quote(source) + " -compress none " + form.options +
            (white ? " -define quantum:polarity=min-is-white " : " ") + test::Quote(plain)));
        const ImageBuffer expected = test::ReadWithImageMagick(plain, dir / "x.ppm");
        ASSERT_TRUE(expected);
        const ImageBuffer main = ReadTiffFile(plain);
        ASSERT_TRUE(main);
        EXPECT_EQ(main.BitCount(), form.mainBits);
        // libtiff's RGBA conversion rounds palette and 16-bit values its own way.
        EXPECT_LE(test::MaxDifference(ReadTiffRgba(plain), expected), 1);
        for (const Coding& coding : codings) {
            if (!(coding.kinds & form.kind)) continue;
            SCOPED_TRACE(coding.options);
            const std::string path = dir / "coded.tif";
            ASSERT_TRUE(test::RunQuiet("tiffcp " + std::string(coding.options) + " " +
                                       test::Quote(plain) + " " + test::Quote(path)));
            ImageBuffer image = ReadTiffFile(path, kWithLzw);
            EXPECT_EQ(static_cast<bool>(image), coding.byMain);
            if (!image) image = ReadTiffRgba(path, kWithLzw);
            if (image && image.BitCount() != 24) image = test::ExpandForTest(image);
            EXPECT_LE(test::MaxDifference(image, expected), form.tolerance + coding.tolerance);
            if (coding.lzw) {
                EXPECT_FALSE(ReadTiffFile(path));
                EXPECT_FALSE(ReadTiffRgba(path));
            }
        }
    }
}

// A strip TIFF of 8-bit samples written by libtiff: the same `row` over and over, the
// last strip cut to `lastStrip` bytes when given, the colour map for a palette.
bool WriteTiff(const std::string& path, int width, int height, int samples, int photometric,
               int rowsPerStrip, const Bytes& row, std::uint16_t* map = nullptr,
               tmsize_t lastStrip = -1) {
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t) return false;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    if (map) TIFFSetField(t, TIFFTAG_COLORMAP, map, map + 256, map + 512);
    Bytes strip;
    for (int r = 0; r < rowsPerStrip; ++r) test::Append(strip, row);
    const int strips = (height + rowsPerStrip - 1) / rowsPerStrip;
    bool ok = true;
    for (int s = 0; s < strips; ++s) {
        const tmsize_t size =
            s == strips - 1 && lastStrip >= 0 ? lastStrip : tmsize_t(strip.size());
        ok = ok && TIFFWriteRawStrip(t, s, strip.data(), size) == size;
    }
    TIFFClose(t);
    return ok;
}

// A palette of 16-bit entries is scaled to 8 bits.
TEST(TiffRead, SixteenBitPaletteIsScaled) {
    ScratchDir dir;
    std::vector<std::uint16_t> map(3 * 256, 0);
    map[1] = 65535, map[256 + 1] = 32896, map[512 + 1] = 257;  // → 255, 128, 1
    map[2] = 1000, map[256 + 2] = 300;                         // → 3, 1, 0
    ASSERT_TRUE(WriteTiff(dir / "pal.tif", 2, 1, 1, PHOTOMETRIC_PALETTE, 1, {1, 2}, map.data()));
    const ImageBuffer image = ReadTiffFile(dir / "pal.tif");
    ASSERT_TRUE(image);
    ASSERT_EQ(image.BitCount(), 8);
    const ImageBuffer colour = test::ExpandForTest(image);
    EXPECT_EQ(test::PixelAt(colour, 0, 0), 0xFF8001u);
    EXPECT_EQ(test::PixelAt(colour, 1, 0), 0x030100u);
}

// A little-endian TIFF made by hand: one directory of {tag, type, value} entries and
// `pixels` bytes of strip data after it.
Bytes HandMadeTiff(std::vector<std::array<std::uint32_t, 3>> entries, std::size_t pixels) {
    entries.push_back({279, 4, static_cast<std::uint32_t>(pixels)});  // StripByteCounts
    const std::uint32_t data = 8 + 2 + 12 * static_cast<std::uint32_t>(entries.size() + 1) + 4;
    entries.push_back({273, 4, data});  // StripOffsets
    std::sort(entries.begin(), entries.end());
    Bytes out = test::TiffWriter(false).Directory(entries, 0).Raw();
    out.resize(out.size() + pixels, 0x80);
    return out;
}

// Found by fuzzing: 274 bytes declaring 65535 samples per pixel made libtiff's RGBA reader
// ask for a 9 GB strip buffer. Such files are refused before libtiff makes a buffer; a file
// with a few extra samples still reads.
TEST(TiffRead, DeclaredSampleCountsCannotInflateBuffers) {
    ScratchDir dir;
    const auto file = [&](std::uint32_t spp, std::uint32_t bps, std::uint32_t photometric) {
        return HandMadeTiff({{256, 3, 33},
                             {257, 3, 4352},
                             {258, 3, bps},
                             {259, 3, 32773},  // PackBits
                             {262, 3, photometric},
                             {277, 3, spp}},
                            64);
    };
    const std::pair<const char*, Bytes> refused[] = {{"spp-65535", file(65535, 8, 1)},
                                                     {"spp-9", file(9, 8, 2)},
                                                     {"bps-32", file(1, 32, 1)},
                                                     {"bps-0", file(1, 0, 1)}};
    for (const auto& [name, bytes] : refused) {
        ASSERT_TRUE(test::WriteAll(dir / name, bytes));
        EXPECT_FALSE(ReadTiffFile(dir / name, kWithLzw)) << name;
        EXPECT_FALSE(ReadTiffRgba(dir / name, kWithLzw)) << name;
    }
    // RGB and one unspecified extra sample, uncompressed: the main reader drops the extra.
    Bytes rgbx = HandMadeTiff(
        {{256, 3, 2}, {257, 3, 1}, {258, 3, 8}, {259, 3, 1}, {262, 3, 2}, {277, 3, 4}, {338, 3, 0}},
        8);
    for (int i = 0; i < 8; ++i) rgbx[rgbx.size() - 8 + i] = static_cast<std::uint8_t>(10 * i + 1);
    ASSERT_TRUE(test::WriteAll(dir / "rgbx", rgbx));
    const ImageBuffer image = ReadTiffFile(dir / "rgbx");
    ASSERT_TRUE(image);
    EXPECT_EQ(test::PixelAt(image, 0, 0), 0x010B15u);
    EXPECT_EQ(test::PixelAt(image, 1, 0), 0x29333Du);
}

TEST(TiffRead, BadFilesGiveNoneQuietly) {
    ScratchDir dir;
    const std::string good = dir / "good.tif";
    ASSERT_TRUE(WriteTiff(good, 16, 16, 3, PHOTOMETRIC_RGB, 4, Bytes(48, 0x55)));
    ASSERT_TRUE(ReadTiffFile(good));
    const Bytes bytes = test::ReadAll(good);
    const std::pair<const char*, Bytes> cases[] = {
        {"empty", {}},
        {"garbage", Bytes(3000, 0x49)},
        {"header-only", Bytes(bytes.begin(), bytes.begin() + 8)},
        {"no-pixels", Bytes(bytes.begin(), bytes.begin() + 100)}};
    for (const auto& [name, data] : cases) test::WriteAll(dir / name, data);
    for (const char* name : {"empty", "garbage", "header-only", "no-pixels", "missing"}) {
        EXPECT_FALSE(ReadTiffFile(dir / name)) << name;
        EXPECT_FALSE(ReadTiffRgba(dir / name)) << name;
    }
    // Garbage in every seventh byte past the header, one at a time: never a crash.
    for (std::size_t i = 8; i < bytes.size(); i += 7) {
        Bytes broken = bytes;
        broken[i] ^= 0xFF;
        test::WriteAll(dir / "broken.tif", broken);
        EXPECT_LE(ReadTiffFile(dir / "broken.tif").Width(), 65535);
        EXPECT_LE(ReadTiffRgba(dir / "broken.tif").Width(), 65535);
    }
}

// A strip shorter than its rows: the strips before it are kept, its rows are black, and
// both readers and the load chain say the picture is partial. The whole file is not.
TEST(TiffRead, ShortStripIsReadInPartAndSaysSo) {
    ScratchDir dir;
    for (const bool cut : {false, true}) {
        SCOPED_TRACE(cut);
        const std::string path = dir / (cut ? "short.tif" : "whole.tif");
        ASSERT_TRUE(WriteTiff(path, 16, 16, 3, PHOTOMETRIC_RGB, 4, Bytes(48, 0x55), nullptr,
                              cut ? 48 : -1));
        bool partial = !cut;
        const ImageBuffer image = ReadTiffFile(path, {}, &partial);
        ASSERT_TRUE(image);
        EXPECT_EQ(partial, cut);
        EXPECT_EQ(test::PixelAt(image, 5, 11), 0x555555u);
        EXPECT_EQ(test::PixelAt(image, 5, 12), cut ? 0u : 0x555555u);
        partial = !cut;
        EXPECT_TRUE(ReadTiffRgba(path, {}, &partial));
        EXPECT_EQ(partial, cut);
        EXPECT_EQ(LoadImageFile(path).partial, cut);
    }
}

TEST(TiffRead, ProgressRisesByEveryPercent) {
    ScratchDir dir;
    ASSERT_TRUE(WriteTiff(dir / "p.tif", 10, 200, 1, PHOTOMETRIC_MINISBLACK, 2, Bytes(10, 7)));
    EXPECT_TRUE(test::RisingProgress(
        [&](const Progress& p) { return !!ReadTiffFile(dir / "p.tif", {}, nullptr, p); },
        ProgressDirection::Reading, 100));
}

}  // namespace
}  // namespace duplora
