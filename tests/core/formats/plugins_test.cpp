#include "core/formats/plugins.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/formats/load_chain.h"
#include "core/hooks.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ScratchDir;

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

TEST(Plugins, TryOrderKeepsOnlyValidIndices) {
    if (!test::HaveTool("convert")) GTEST_SKIP() << "ImageMagick missing";
    PluginTable table = LoadPlugins(kPluginDir);
    ASSERT_GE(table.Size(), 1);
    table.SetTryOrder({5, -1, 0, 99});
    EXPECT_EQ(table.TryOrder(), std::vector<int>{0});
    // An empty try order means no plug-in is asked.
    table.SetTryOrder({});
    ScratchDir dir;
    ASSERT_TRUE(test::RunQuiet("convert -size 8x8 gradient: PNG:" + test::Quote(dir / "a.png")));
    CodecOptions options;
    options.plugins = &table;
    EXPECT_FALSE(LoadImageFile(dir / "a.png", options).loaded);
    EXPECT_FALSE(ReadWithPlugin(dir / "a.png", table, 7));
    EXPECT_FALSE(ReadWithPlugin(dir / "a.png", table, -1));
}

// PNG files written by ImageMagick open through the load chain with the plug-in folder
// set, with ImageMagick's pixels.
TEST(Plugins, PngFromImageMagickOpensThroughTheLoadChain) {
    if (!test::HaveTool("convert")) GTEST_SKIP() << "ImageMagick missing";
    const PluginTable table = LoadPlugins(kPluginDir);
    ASSERT_GE(table.Size(), 1);
    CodecOptions options;
    options.plugins = &table;
    ScratchDir dir;
    ASSERT_TRUE(test::WritePpm(test::MakeNoise(45, 27, 12), dir / "src.ppm"));
    struct Case {
        const char* name;
        const char* options;
    };
    const Case cases[] = {{"rgb.png", ""},
                          {"palette.png", "-colors 40 -type palette"},
                          {"grey1.png", "-monochrome"},
                          {"deep.png", "-depth 16"},
                          {"interlaced.png", "-interlace PNG"},
                          {"UPPER.PNG", ""}};
    for (const Case& c : cases) {
        const std::string path = dir / c.name;
        ASSERT_TRUE(test::RunQuiet("convert " + test::Quote(dir / "src.ppm") + " " + c.options +
                                   " PNG:" + test::Quote(path)));
        const ImageBuffer expected = test::ReadWithImageMagick(path, dir / "x.ppm");
        ASSERT_TRUE(expected) << c.name;
        EXPECT_FALSE(LoadImageFile(path).loaded) << c.name << ": loads without plug-ins";
        const LoadedImage loaded = LoadImageFile(path, options);
        ASSERT_TRUE(loaded.loaded) << c.name;
        EXPECT_EQ(loaded.displayName, c.name);
        EXPECT_TRUE(test::SamePixels(loaded.image, expected, "png-plugin")) << c.name;
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
}

TEST(Plugins, ProgressOnlyWhenAsked) {
    if (!test::HaveTool("convert")) GTEST_SKIP() << "ImageMagick missing";
    const PluginTable table = LoadPlugins(kPluginDir);
    ScratchDir dir;
    ASSERT_TRUE(
        test::RunQuiet("convert -size 300x300 gradient: PNG:" + test::Quote(dir / "g.png")));
    for (bool asked : {false, true}) {
        int calls = 0;
        {
            const ScopedProgressSink sink([&](ProgressDirection, int) { ++calls; });
            ASSERT_TRUE(ReadWithPlugin(dir / "g.png", table, 0, asked));
        }
        EXPECT_EQ(calls > 2, asked);
        EXPECT_EQ(calls == 0, !asked);
    }
}

}  // namespace
}  // namespace duplora
