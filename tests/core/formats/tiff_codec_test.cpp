#include "core/formats/tiff_codec.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/formats/load_chain.h"
#include "core/hooks.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ScratchDir;

CodecOptions WithLzw() {
    CodecOptions options;
    options.allowLzw = true;
    return options;
}

// Either reader's result as 24 bit.
ImageBuffer ReadAny(const std::string& path, const CodecOptions& options, bool* byMain = nullptr) {
    ImageBuffer image = ReadTiffFile(path, options);
    if (byMain) *byMain = static_cast<bool>(image);
    if (!image) image = ReadTiffRgba(path, options);
    if (image && image.BitCount() != 24) image = test::ExpandForTest(image);
    return image;
}

class TiffFromTools : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::HaveTool("convert") || !test::HaveTool("tiffcp"))
            GTEST_SKIP() << "ImageMagick or libtiff tools missing";
        ASSERT_TRUE(test::WritePpm(test::MakeNoise(37, 23, 6), dir_ / "noise.ppm"));
        ASSERT_TRUE(test::WritePpm(test::MakeGradient(37, 23), dir_ / "smooth.ppm"));
    }
    ScratchDir dir_;
};

// Every photometric interpretation and depth the main reader knows, each written
// uncompressed by ImageMagick and recompressed by tiffcp in every compression we read: the
// pixels are ImageMagick's own reading of the uncompressed file (CMYK within our K formula's
// rounding; 16-bit samples within one step, as we take the high byte and ImageMagick
// rounds). LZW opens only with the switch on. Bilevel pictures also go through the fax
// codings (Group 4 only through the RGBA reader); RGB through JPEG, tiles and separate
// planes, which only the RGBA reader takes.
TEST_F(TiffFromTools, EveryCompressionOfEveryPhotometric) {
    enum Kind { kOther = 1, kRgb = 2, kBilevel = 4, kFourBit = 8 };
    struct Form {
        const char* name;
        const char* options;
        Kind kind;
        int mainBits;  // the depth the main reader gives
        int tolerance;
    };
    const char* minIsWhite = " -define quantum:polarity=min-is-white";
    const Form forms[] = {
        {"white-is-zero", "-colorspace gray -depth 8", kOther, 8, 0},
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
        {"white-is-zero-bilevel", "-monochrome -depth 1", kBilevel, 1, 0},
    };
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
        {"-c none -p separate", kRgb, false, false, 0},
    };
    CodecOptions lzw, noLzw;
    lzw.allowLzw = true;
    int index = 0;
    for (const Form& form : forms) {
        SCOPED_TRACE(form.name);
        // RGB goes through JPEG as well, which needs a smooth picture.
        const std::string source = dir_ / (form.kind == kRgb ? "smooth.ppm" : "noise.ppm");
        const std::string plain = dir_ / (std::string(form.name) + ".tif");
        const bool white = std::string(form.name).find("white") != std::string::npos;
        ASSERT_TRUE(test::RunQuiet("convert " + test::Quote(source) + " -compress none " +
                                   form.options + (white ? minIsWhite : "") + " " +
                                   test::Quote(plain)));
        const ImageBuffer expected = test::ReadWithImageMagick(plain, dir_ / "x.ppm");
        ASSERT_TRUE(expected);
        const ImageBuffer main = ReadTiffFile(plain);
        ASSERT_TRUE(main);
        EXPECT_EQ(main.BitCount(), form.mainBits);
        // libtiff's RGBA conversion rounds palette and 16-bit values its own way.
        EXPECT_LE(test::MaxDifference(ReadTiffRgba(plain), expected), 1);
        for (const Coding& coding : codings) {
            if (!(coding.kinds & form.kind)) continue;
            SCOPED_TRACE(coding.options);
            const std::string path = dir_ / ("m" + std::to_string(index++) + ".tif");
            ASSERT_TRUE(test::RunQuiet("tiffcp " + std::string(coding.options) + " " +
                                       test::Quote(plain) + " " + test::Quote(path)));
            bool byMain = false;
            const ImageBuffer image = ReadAny(path, lzw, &byMain);
            ASSERT_TRUE(image);
            EXPECT_EQ(byMain, coding.byMain);
            EXPECT_LE(test::MaxDifference(image, expected), form.tolerance + coding.tolerance);
            if (coding.lzw) {
                EXPECT_FALSE(ReadTiffFile(path, noLzw));
                EXPECT_FALSE(ReadTiffRgba(path, noLzw));
            }
        }
    }
}

// A small strip TIFF written with libtiff itself; the colour map only for a palette.
bool WriteTiff(const std::string& path, int width, int height, int samples, int photometric,
               int rowsPerStrip, const std::uint8_t* rows, std::uint16_t* map = nullptr) {
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t) return false;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    if (map) TIFFSetField(t, TIFFTAG_COLORMAP, map, map + 256, map + 512);
    bool ok = true;
    for (int y = 0; y < height; ++y)
        ok = ok && TIFFWriteScanline(t, const_cast<std::uint8_t*>(rows), y, 0) == 1;
    TIFFClose(t);
    return ok;
}

// A palette whose entries are 16-bit values is scaled to 8 bits.
TEST(TiffRead, SixteenBitPaletteIsScaled) {
    ScratchDir dir;
    std::vector<std::uint16_t> map(3 * 256, 0);
    map[1] = 65535, map[256 + 1] = 32896, map[512 + 1] = 257;  // → 255, 128, 1
    map[2] = 1000, map[256 + 2] = 300;                         // → 3, 1, 0
    const std::uint8_t row[2] = {1, 2};
    ASSERT_TRUE(WriteTiff(dir / "pal.tif", 2, 1, 1, PHOTOMETRIC_PALETTE, 1, row, map.data()));
    const ImageBuffer image = ReadTiffFile(dir / "pal.tif");
    ASSERT_TRUE(image);
    ASSERT_EQ(image.BitCount(), 8);
    const ImageBuffer colour = test::ExpandForTest(image);
    EXPECT_EQ(test::PixelAt(colour, 0, 0), 0xFF8001u);
    EXPECT_EQ(test::PixelAt(colour, 1, 0), 0x030100u);
}

// A little-endian TIFF made by hand: one directory of SHORT/LONG entries (sorted by tag)
// and `pixels` bytes of strip data after it.
std::vector<unsigned char> HandMadeTiff(std::vector<std::array<std::uint32_t, 3>> entries,
                                        std::size_t pixels) {
    std::vector<unsigned char> out = {'I', 'I', 42, 0, 8, 0, 0, 0};
    const auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    const std::uint32_t data = 8 + 2 + 12 * static_cast<std::uint32_t>(entries.size() + 1) + 4;
    entries.push_back({273, 4, data});  // StripOffsets
    std::sort(entries.begin(), entries.end());
    put(static_cast<std::uint32_t>(entries.size()), 2);
    for (const auto& [tag, type, value] : entries) {
        put(tag, 2), put(type, 2), put(1, 4), put(value, 4);
    }
    put(0, 4);
    out.resize(out.size() + pixels, 0x80);
    return out;
}

// Found by fuzzing: 274 bytes declaring 65535 samples per pixel made libtiff's RGBA reader
// ask for a 9 GB strip buffer. Such files are refused before libtiff makes a buffer; a file
// with a few extra samples still reads.
TEST(TiffRead, DeclaredSampleCountsCannotInflateBuffers) {
    ScratchDir dir;
    const auto file = [&](std::uint32_t spp, std::uint32_t bps, std::uint32_t photometric,
                          std::size_t pixels) {
        return HandMadeTiff({{256, 3, 33},  // width
                             {257, 3, 4352},
                             {258, 3, bps},
                             {259, 3, 32773},  // PackBits
                             {262, 3, photometric},
                             {277, 3, spp},
                             {279, 4, static_cast<std::uint32_t>(pixels)}},
                            pixels);
    };
    const std::pair<const char*, std::vector<unsigned char>> refused[] = {
        {"spp-65535", file(65535, 8, 1, 64)},
        {"spp-9", file(9, 8, 2, 64)},
        {"bps-32", file(1, 32, 1, 64)},
        {"bps-0", file(1, 0, 1, 64)},
    };
    for (const auto& [name, bytes] : refused) {
        ASSERT_TRUE(test::WriteAll(dir / name, bytes));
        EXPECT_FALSE(ReadTiffFile(dir / name, WithLzw())) << name;
        EXPECT_FALSE(ReadTiffRgba(dir / name, WithLzw())) << name;
    }
    // RGB with one extra sample, stored uncompressed: the main reader drops the extra.
    std::vector<unsigned char> rgbx = HandMadeTiff({{256, 3, 2},
                                                    {257, 3, 1},
                                                    {258, 3, 8},
                                                    {259, 3, 1},
                                                    {262, 3, 2},
                                                    {277, 3, 4},
                                                    {279, 4, 8},
                                                    {338, 3, 0}},  // ExtraSamples: unspecified
                                                   8);
    for (int i = 0; i < 8; ++i) rgbx[rgbx.size() - 8 + i] = static_cast<unsigned char>(10 * i + 1);
    ASSERT_TRUE(test::WriteAll(dir / "rgbx", rgbx));
    const ImageBuffer image = ReadTiffFile(dir / "rgbx");
    ASSERT_TRUE(image);
    EXPECT_EQ(test::PixelAt(image, 0, 0), 0x010B15u);
    EXPECT_EQ(test::PixelAt(image, 1, 0), 0x29333Du);
}

TEST(TiffRead, BadFilesGiveNoneQuietly) {
    ScratchDir dir;
    const std::string good = dir / "good.tif";
    const std::vector<std::uint8_t> row(48, 0x55);
    ASSERT_TRUE(WriteTiff(good, 16, 16, 3, PHOTOMETRIC_RGB, 4, row.data()));
    ASSERT_TRUE(ReadTiffFile(good));
    const test::Bytes bytes = test::ReadAll(good);
    const std::pair<const char*, test::Bytes> cases[] = {
        {"empty", {}},
        {"garbage", test::Bytes(3000, 0x49)},
        {"header-only", test::Bytes(bytes.begin(), bytes.begin() + 8)},
        {"no-pixels", test::Bytes(bytes.begin(), bytes.begin() + 100)},
        {"missing.tif", {}},
    };
    for (const auto& [name, data] : cases) {
        if (std::string(name) != "missing.tif") test::WriteAll(dir / name, data);
        EXPECT_FALSE(ReadTiffFile(dir / name)) << name;
        EXPECT_FALSE(ReadTiffRgba(dir / name)) << name;
    }
    // Garbage in every seventh byte past the header, one at a time: never a crash.
    for (std::size_t i = 8; i < bytes.size(); i += 7) {
        test::Bytes broken = bytes;
        broken[i] ^= 0xFF;
        test::WriteAll(dir / "broken.tif", broken);
        EXPECT_LE(ReadTiffFile(dir / "broken.tif").Width(), 65535);
        EXPECT_LE(ReadTiffRgba(dir / "broken.tif").Width(), 65535);
    }
}

// A strip that ends early (its byte count short of its rows): the strips before it are
// kept, its own rows are black, and both readers report the picture as partial, through
// the load chain too. The whole file is not.
TEST(TiffRead, ShortStripIsReadInPartAndSaysSo) {
    ScratchDir dir;
    const std::vector<std::uint8_t> strip(4 * 16 * 3, 0x55);
    for (const bool cut : {false, true}) {
        SCOPED_TRACE(cut);
        const std::string path = dir / (cut ? "short.tif" : "whole.tif");
        TIFF* t = TIFFOpen(path.c_str(), "w");
        ASSERT_TRUE(t);
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 16);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, 16);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 4);
        for (std::uint32_t s = 0; s < 4; ++s)
            TIFFWriteRawStrip(t, s, const_cast<std::uint8_t*>(strip.data()),
                              cut && s == 3 ? 48 : static_cast<tmsize_t>(strip.size()));
        TIFFClose(t);

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

TEST(TiffRead, ProgressIsReading) {
    ScratchDir dir;
    const std::vector<std::uint8_t> row(10, 7);
    ASSERT_TRUE(WriteTiff(dir / "p.tif", 10, 200, 1, PHOTOMETRIC_MINISBLACK, 2, row.data()));
    int reading = 0;
    {
        const ScopedProgressSink sink(
            [&](ProgressDirection d, int) { reading += d == ProgressDirection::Reading; });
        ASSERT_TRUE(ReadTiffFile(dir / "p.tif"));
    }
    EXPECT_EQ(reading, 100);
}

}  // namespace
}  // namespace duplora
