#include "core/formats/tiff_codec.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ScratchDir;

CodecOptions WithLzw(bool on) {
    CodecOptions options;
    options.allowLzw = on;
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
        source_ = test::MakeNoise(37, 23, 6);
        ASSERT_TRUE(test::WritePpm(source_, dir_ / "src.ppm"));
        smooth_ = test::MakeGradient(37, 23);
        ASSERT_TRUE(test::WritePpm(smooth_, dir_ / "smooth.ppm"));
    }
    std::string Convert(const std::string& options, const std::string& name,
                        const std::string& from = "src.ppm") {
        const std::string path = dir_ / name;
        EXPECT_TRUE(test::RunQuiet("convert " + test::Quote(dir_ / from) + " " + options + " " +
                                   test::Quote(path)));
        return path;
    }
    std::string Tiffcp(const std::string& from, const std::string& options,
                       const std::string& name) {
        const std::string path = dir_ / name;
        EXPECT_TRUE(test::RunQuiet("tiffcp " + options + " " + test::Quote(from) + " " +
                                   test::Quote(path)));
        return path;
    }
    ScratchDir dir_;
    ImageBuffer source_;
    ImageBuffer smooth_;
};

TEST_F(TiffFromTools, CompressionsOfAnRgbFile) {
    const std::string plain = Convert("-compress none", "rgb.tif");
    const std::string smooth = Convert("-compress none", "smooth.tif", "smooth.ppm");
    struct Case {
        const char* compression;
        bool lzw;
        bool byMain;  // the main reader takes it (else only the RGBA reader)
        bool lossy;
    };
    const Case cases[] = {{"none", false, true, false},
                          {"packbits", false, true, false},
                          {"zip", false, true, false},
                          {"lzw", true, true, false},
                          {"jpeg", false, false, true},
                          {"none -t", false, false, false},
                          {"none -p separate", false, false, false}};
    int index = 0;
    for (const Case& c : cases) {
        const std::string path =
            Tiffcp(c.lossy ? smooth : plain, std::string("-c ") + c.compression,
                   "c" + std::to_string(index++) + ".tif");
        bool byMain = false;
        const ImageBuffer image = ReadAny(path, WithLzw(true), &byMain);
        ASSERT_TRUE(image) << c.compression;
        EXPECT_EQ(byMain, c.byMain) << c.compression;
        if (c.lossy) {
            EXPECT_LE(test::MaxDifference(image, smooth_), 12) << c.compression;
        } else {
            EXPECT_TRUE(test::SamePixels(image, source_, "tiff-rgb")) << c.compression;
        }
        if (c.lzw) {
            // Without the switch neither reader takes LZW.
            EXPECT_FALSE(ReadTiffFile(path, WithLzw(false)));
            EXPECT_FALSE(ReadTiffRgba(path, WithLzw(false)));
        }
    }
}

TEST_F(TiffFromTools, GreyPaletteAndSixteenBitForms) {
    struct Case {
        const char* options;
        int mainBits;   // depth the main reader gives
        int tolerance;  // 16-bit samples: we take the high byte, ImageMagick rounds
    };
    const Case cases[] = {
        {"-colorspace gray -depth 8", 8, 0},
        {"-colorspace gray -depth 8 -define quantum:polarity=min-is-white", 8, 0},
        {"-colorspace gray -depth 16", 8, 1},
        {"-colorspace gray -depth 16 -define quantum:polarity=min-is-white", 8, 1},
        {"-colorspace gray -depth 4", 4, 0},
        {"-monochrome -depth 1", 1, 0},
        {"-monochrome -depth 1 -define quantum:polarity=min-is-white", 1, 0},
        {"-colors 12 -type palette", 4, 0},
        {"-colors 200 -type palette", 8, 0},
        {"-depth 16", 24, 1},
    };
    int index = 0;
    for (const Case& c : cases) {
        const std::string path = Convert(std::string("-compress none ") + c.options,
                                         "f" + std::to_string(index++) + ".tif");
        const ImageBuffer expected = test::ReadWithImageMagick(path, dir_ / "x.ppm");
        ASSERT_TRUE(expected) << c.options;
        const ImageBuffer main = ReadTiffFile(path);
        ASSERT_TRUE(main) << c.options;
        EXPECT_EQ(main.BitCount(), c.mainBits) << c.options;
        const ImageBuffer image =
            main.BitCount() == 24 ? DuplicateImage(main) : test::ExpandForTest(main);
        if (c.tolerance == 0) {
            EXPECT_TRUE(test::SamePixels(image, expected, "tiff-form")) << c.options;
        } else {
            EXPECT_LE(test::MaxDifference(image, expected), c.tolerance) << c.options;
        }
        // libtiff's RGBA conversion rounds palette and 16-bit values its own way.
        EXPECT_LE(test::MaxDifference(ReadTiffRgba(path), expected), 1) << c.options;
    }
}

TEST_F(TiffFromTools, CmykFile) {
    const std::string path = Convert("-compress none -colorspace cmyk", "cmyk.tif");
    const ImageBuffer image = ReadTiffFile(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image.BitCount(), 24);
    EXPECT_LE(test::MaxDifference(image, source_), 2);
}

// Every photometric interpretation the main reader knows, each written uncompressed by
// ImageMagick and then recompressed by tiffcp in every compression we read: the pixels are
// ImageMagick's own reading of the uncompressed file (CMYK within our K formula's rounding).
// LZW opens only with the switch on; bilevel pictures also go through the fax codings
// (Group 4 is not a main-reader compression and comes through the RGBA reader).
TEST_F(TiffFromTools, EveryCompressionOfEveryPhotometric) {
    struct Form {
        const char* name;
        const char* options;
        int tolerance;
        bool bilevel;
    };
    const Form forms[] = {
        {"white-is-zero", "-colorspace gray -depth 8 -define quantum:polarity=min-is-white", 0,
         false},
        {"black-is-zero", "-colorspace gray -depth 8", 0, false},
        {"rgb", "-depth 8", 0, false},
        {"palette", "-colors 200 -type palette", 0, false},
        {"separated", "-colorspace cmyk -depth 8", 2, false},
        {"bilevel", "-monochrome -depth 1", 0, true},
    };
    struct Coding {
        const char* option;
        bool lzw;
        bool bilevelOnly;
        bool byMain;
    };
    const Coding codings[] = {
        {"none", false, false, true}, {"packbits", false, false, true}, {"zip", false, false, true},
        {"lzw", true, false, true},   {"lzw:2", true, false, true},     {"g3", false, true, true},
        {"g3:2d", false, true, true}, {"g4", false, true, false},
    };
    int index = 0;
    for (const Form& form : forms) {
        const std::string plain =
            Convert(std::string("-compress none ") + form.options, std::string(form.name) + ".tif");
        const ImageBuffer expected = test::ReadWithImageMagick(plain, dir_ / "x.ppm");
        ASSERT_TRUE(expected) << form.name;
        for (const Coding& coding : codings) {
            if (coding.bilevelOnly && !form.bilevel) continue;
            // A horizontal predictor needs 8 or more bits per sample.
            if (std::string(coding.option) == "lzw:2" && form.bilevel) continue;
            SCOPED_TRACE(std::string(form.name) + " " + coding.option);
            const std::string path = Tiffcp(plain, std::string("-c ") + coding.option,
                                            "m" + std::to_string(index++) + ".tif");
            bool byMain = false;
            const ImageBuffer image = ReadAny(path, WithLzw(true), &byMain);
            ASSERT_TRUE(image);
            EXPECT_EQ(byMain, coding.byMain);
            EXPECT_LE(test::MaxDifference(image, expected), form.tolerance);
            if (coding.lzw) {
                EXPECT_FALSE(ReadTiffFile(path, WithLzw(false)));
                EXPECT_FALSE(ReadTiffRgba(path, WithLzw(false)));
            }
        }
    }
}

// Written with libtiff itself: a palette whose entries are 16-bit values.
TEST(TiffRead, SixteenBitPaletteIsScaled) {
    ScratchDir dir;
    const std::string path = dir / "pal.tif";
    TIFF* t = TIFFOpen(path.c_str(), "w");
    ASSERT_TRUE(t);
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 2);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, 1);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    std::vector<std::uint16_t> r(256, 0), g(256, 0), b(256, 0);
    r[1] = 65535, g[1] = 32896, b[1] = 257;  // → 255, 128, 1
    r[2] = 1000, g[2] = 300, b[2] = 0;       // → 3, 1, 0
    TIFFSetField(t, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
    const std::uint8_t row[2] = {1, 2};
    ASSERT_EQ(TIFFWriteScanline(t, const_cast<std::uint8_t*>(row), 0, 0), 1);
    TIFFClose(t);

    const ImageBuffer image = ReadTiffFile(path);
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
        EXPECT_FALSE(ReadTiffFile(dir / name, WithLzw(true))) << name;
        EXPECT_FALSE(ReadTiffRgba(dir / name, WithLzw(true))) << name;
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
    // A small valid file to cut apart.
    const std::string good = dir / "good.tif";
    {
        TIFF* t = TIFFOpen(good.c_str(), "w");
        ASSERT_TRUE(t);
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 16);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, 16);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 4);
        std::vector<std::uint8_t> row(48, 0x55);
        for (int y = 0; y < 16; ++y) TIFFWriteScanline(t, row.data(), y, 0);
        TIFFClose(t);
    }
    ASSERT_TRUE(ReadTiffFile(good));
    const std::vector<unsigned char> bytes = test::ReadAll(good);
    std::vector<std::pair<std::string, std::vector<unsigned char>>> cases = {
        {"empty", {}},
        {"garbage", std::vector<unsigned char>(3000, 0x49)},
        {"header-only", std::vector<unsigned char>(bytes.begin(), bytes.begin() + 8)},
        {"no-pixels", std::vector<unsigned char>(bytes.begin(), bytes.begin() + 100)},
    };
    for (const auto& [name, data] : cases) {
        test::WriteAll(dir / name, data);
        EXPECT_FALSE(ReadTiffFile(dir / name)) << name;
        EXPECT_FALSE(ReadTiffRgba(dir / name)) << name;
    }
    EXPECT_FALSE(ReadTiffFile(dir / "missing.tif"));
    EXPECT_FALSE(ReadTiffRgba(dir / "missing.tif"));
    // Garbage in every byte past the header, one position at a time: never a crash.
    for (std::size_t i = 8; i < bytes.size(); i += 7) {
        std::vector<unsigned char> broken = bytes;
        broken[i] ^= 0xFF;
        test::WriteAll(dir / "broken.tif", broken);
        const ImageBuffer a = ReadTiffFile(dir / "broken.tif");
        const ImageBuffer b = ReadTiffRgba(dir / "broken.tif");
        EXPECT_LE(a.Width(), 65535);
        EXPECT_LE(b.Width(), 65535);
    }
}

TEST(TiffRead, ProgressIsReading) {
    ScratchDir dir;
    const std::string path = dir / "p.tif";
    TIFF* t = TIFFOpen(path.c_str(), "w");
    ASSERT_TRUE(t);
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 10);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, 200);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 2);
    std::vector<std::uint8_t> row(10, 7);
    for (int y = 0; y < 200; ++y) TIFFWriteScanline(t, row.data(), y, 0);
    TIFFClose(t);
    std::vector<int> seen;
    {
        const ScopedProgressSink sink([&](ProgressDirection d, int p) {
            EXPECT_EQ(d, ProgressDirection::Reading);
            seen.push_back(p);
        });
        ASSERT_TRUE(ReadTiffFile(path));
    }
    EXPECT_EQ(seen.size(), 100u);
}

}  // namespace
}  // namespace duplora
