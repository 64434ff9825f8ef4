#include "core/formats/load_chain.h"
#include "core/formats/plugins.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/formats/bmp_codec.h"
#include "core/formats/image_names.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/output_formats.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ScratchDir;

TEST(ImageNames, OutputFormatAndKnownSets) {
    struct Case {
        const char* name;
        std::optional<OutputFormat> format;
        bool set0, set1, set2;
    };
    using F = OutputFormat;
    const Case cases[] = {{"A.JPEG", F::Jpeg, true, true, true},
                          {"photojpg", F::Jpeg, true, true, true},  // no dot needed
                          {"x.BmP", F::Bmp, true, true, true},
                          {"pair.jps", F::Jps, true, true, false},
                          {"c.das", F::Das, true, true, false},
                          {"cam.MPO", F::Mpo, true, true, false},
                          {"s.Stj", F::Stj, false, false, false},
                          {"v.ios", std::nullopt, true, false, false},
                          {"t.TIFF", std::nullopt, true, true, true},
                          {"jpg.txt", std::nullopt, false, false, false},
                          {"pg", std::nullopt, false, false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(OutputFormatByName(c.name), c.format) << c.name;
        EXPECT_EQ(IsKnownImageName(c.name, 0), c.set0) << c.name;
        EXPECT_EQ(IsKnownImageName(c.name, 1), c.set1) << c.name;
        EXPECT_EQ(IsKnownImageName(c.name, 2), c.set2) << c.name;
        EXPECT_FALSE(IsKnownImageName(c.name, 3)) << c.name;
    }
}

TEST(LoadChain, ContentsDecideNotTheName) {
    ScratchDir dir;
    const ImageBuffer picture = test::MakeNoise(13, 9, 4);
    ASSERT_TRUE(WriteBmpFile(dir / "bmp-named.jpg", picture));
    ASSERT_TRUE(EncodeJpegImage(dir / "jpeg-named.bmp", picture, true, 95));
    ASSERT_TRUE(WriteBmpFile(dir / "indexed.bmp", test::MakeIndexed(7, 5, 4, 3)));

    const LoadedImage bmp = LoadImageFile(dir / "bmp-named.jpg");
    EXPECT_TRUE(bmp.loaded);
    EXPECT_EQ(bmp.path, dir / "bmp-named.jpg");
    EXPECT_EQ(bmp.displayName, "bmp-named.jpg");
    EXPECT_TRUE(test::SamePixels(bmp.image, picture, "chain-bmp"));
    EXPECT_TRUE(test::SamePixels(LoadImageFile(dir / "jpeg-named.bmp").image,
                                 DecodeJpegFile(dir / "jpeg-named.bmp", false), "chain-jpeg"));
    EXPECT_EQ(LoadImageFile(dir / "indexed.bmp").image.BitCount(), 24);

    test::WriteAll(dir / "junk.jpg", test::Bytes(500, 0x11));
    const LoadedImage junk = LoadImageFile(dir / "junk.jpg");
    EXPECT_FALSE(junk.loaded || junk.image);
    EXPECT_EQ(junk.displayName, "junk.jpg");
    EXPECT_FALSE(LoadImageFile("").loaded);
    EXPECT_FALSE(LoadImageFile(dir / "missing.bmp").loaded);
}

TEST(LoadChain, TiffNeedsTheLzwSwitch) {
    if (!test::HaveTool("convert")) GTEST_SKIP() << "ImageMagick missing";
    ScratchDir dir;
    const ImageBuffer picture = test::MakeNoise(11, 7, 5);
    ASSERT_TRUE(test::WritePpm(picture, dir / "a.ppm"));
    ASSERT_TRUE(test::RunQuiet("convert " + test::Quote(dir / "a.ppm") + " -compress lzw " +
                               test::Quote(dir / "a.tif")));
    EXPECT_FALSE(LoadImageFile(dir / "a.tif").loaded);
    const LoadedImage loaded = LoadImageFile(dir / "a.tif", {.allowLzw = true});
    ASSERT_TRUE(loaded.loaded);
    EXPECT_TRUE(test::SamePixels(loaded.image, picture, "chain-lzw"));
}

TEST(LoadChain, PictureLoaderIsSilent) {
    ScratchDir dir;
    ASSERT_TRUE(EncodeJpegImage(dir / "a.jpg", test::MakeNoise(40, 200, 1), true, 90));
    int calls = 0;
    const Progress progress([&](ProgressDirection, int) { ++calls; });
    ASSERT_TRUE(LoadPictureFile(dir / "a.jpg"));
    EXPECT_EQ(calls, 0);
    // The document's loader reports to the progress it is given, and stops when cancelled.
    ASSERT_TRUE(LoadImageFile(dir / "a.jpg", {}, progress).loaded);
    EXPECT_GT(calls, 0);
    const std::atomic<bool> stop{true};
    EXPECT_FALSE(LoadImageFile(dir / "a.jpg", {}, Progress({}, &stop)).loaded);
    EXPECT_FALSE(LoadPictureFile(""));
    EXPECT_FALSE(LoadPictureFile(dir / "missing.jpg"));
}

const std::string kPluginDir = DUPLORA_PLUGIN_DIR;

TEST(Plugins, OurPngPluginAndFoldersWithoutPlugins) {
    const PluginTable table = LoadPlugins(kPluginDir);
    const Plugin* png = nullptr;
    for (const Plugin& p : table.Plugins())
        if (std::filesystem::path(p.path).filename() == "png.spi") png = &p;
    ASSERT_NE(png, nullptr);
    ASSERT_EQ(png->filters.size(), 1u);
    EXPECT_EQ(png->filters[0].pattern, "*.png");
    EXPECT_EQ(png->filters[0].description, "PNG-Bild");
    EXPECT_EQ(table.TryOrder().size(), static_cast<std::size_t>(table.Size()));

    EXPECT_EQ(LoadPlugins("").Size(), 0);
    EXPECT_EQ(LoadPlugins("/no/such/folder").Size(), 0);
    // A text file and a shared object that is no plug-in, both named like plug-ins.
    ScratchDir dir;
    test::WriteAll(dir / "junk.spi", {'n', 'o', 't'});
    std::error_code ec;
    for (const char* lib :
         {"/lib/x86_64-linux-gnu/libz.so.1", "/usr/lib/x86_64-linux-gnu/libz.so.1"})
        if (std::filesystem::copy_file(lib, dir / "zlib.spi", ec)) break;
    EXPECT_EQ(LoadPlugins(dir.Path()).Size(), 0);
}

// PNG files written by ImageMagick open through the load chain with the plug-in folder
// set, with ImageMagick's pixels.
TEST(Plugins, PngFromImageMagickOpensThroughTheLoadChain) {
    if (!test::HaveTool("convert")) GTEST_SKIP() << "ImageMagick missing";
    PluginTable table = LoadPlugins(kPluginDir);
    ASSERT_GE(table.Size(), 1);
    const CodecOptions options{.plugins = &table};
    ScratchDir dir;
    ASSERT_TRUE(test::WritePpm(test::MakeNoise(45, 27, 12), dir / "src.ppm"));
    const std::pair<const char*, const char*> cases[] = {
        {"rgb.png", ""},
        {"palette.png", "-colors 40 -type palette"},
        {"grey1.png", "-monochrome"},
        {"deep.png", "-depth 16"},
        {"interlaced.png", "-interlace PNG"},
        {"UPPER.PNG", ""}};
    for (const auto& [name, convertOptions] : cases) {
        SCOPED_TRACE(name);
        const std::string path = dir / name;
        ASSERT_TRUE(test::RunQuiet("convert " + test::Quote(dir / "src.ppm") + " " +
                                   convertOptions + " PNG:" + test::Quote(path)));
        const ImageBuffer expected = test::ReadWithImageMagick(path, dir / "x.ppm");
        ASSERT_TRUE(expected);
        EXPECT_FALSE(LoadImageFile(path).loaded) << "loads without plug-ins";
        const LoadedImage loaded = LoadImageFile(path, options);
        EXPECT_EQ(loaded.displayName, name);
        EXPECT_TRUE(loaded.loaded);
        EXPECT_TRUE(test::SamePixels(loaded.image, expected, "png-plugin"));
    }
    // A further extension behind ".png" is not the plug-in's pattern.
    std::filesystem::copy_file(dir / "rgb.png", dir / "rgb.png.bak");
    EXPECT_FALSE(LoadImageFile(dir / "rgb.png.bak", options).loaded);
    // A file that is no PNG, and a PNG cut short: the plug-in refuses, nothing crashes.
    test::WriteAll(dir / "fake.png", test::Bytes(100, 0x42));
    EXPECT_FALSE(LoadImageFile(dir / "fake.png", options).loaded);
    test::Bytes cut = test::ReadAll(dir / "rgb.png");
    cut.resize(cut.size() / 2);
    test::WriteAll(dir / "cut.png", cut);
    EXPECT_FALSE(LoadImageFile(dir / "cut.png", options).loaded);

    // Progress only when asked.
    ASSERT_TRUE(
        test::RunQuiet("convert -size 300x300 gradient: PNG:" + test::Quote(dir / "g.png")));
    int calls = 0;
    const Progress progress([&](ProgressDirection, int) { ++calls; });
    ASSERT_TRUE(ReadWithPlugin(dir / "g.png", table, 0));
    EXPECT_EQ(calls, 0);
    ASSERT_TRUE(ReadWithPlugin(dir / "g.png", table, 0, &progress));
    EXPECT_GT(calls, 2);
    // Through the chain only when the options ask for it.
    for (bool asked : {false, true}) {
        calls = 0;
        CodecOptions withProgress = options;
        withProgress.pluginProgress = asked;
        ASSERT_TRUE(LoadImageFile(dir / "g.png", withProgress, progress).loaded);
        EXPECT_EQ(calls > 2, asked);
    }
    // Only valid indices stay in the try order; an empty one asks no plug-in.
    table.SetTryOrder({5, -1, 0, 99});
    EXPECT_EQ(table.TryOrder(), std::vector<int>{0});
    table.SetTryOrder({});
    EXPECT_FALSE(LoadImageFile(dir / "rgb.png", options).loaded);
    EXPECT_FALSE(ReadWithPlugin(dir / "rgb.png", table, 7));
    EXPECT_FALSE(ReadWithPlugin(dir / "rgb.png", table, -1));
}

}  // namespace
}  // namespace duplora
