#include "core/formats/load_chain.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/formats/bmp_codec.h"
#include "core/formats/image_names.h"
#include "core/formats/jpeg_codec.h"
#include "core/hooks.h"
#include "formats_test_util.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::ScratchDir;

TEST(ImageNames, SaveTypeAndKnownSets) {
    struct Case {
        const char* name;
        SaveType type;
        bool set0, set1, set2;
    };
    const Case cases[] = {
        {"A.JPEG", SaveType::Jpeg, true, true, true},
        {"photojpg", SaveType::Jpeg, true, true, true},  // no dot needed
        {"x.BmP", SaveType::Bmp, true, true, true},
        {"pair.jps", SaveType::Jps, true, true, false},
        {"c.das", SaveType::Other, true, true, false},
        {"v.ios", SaveType::Other, true, false, false},
        {"t.TIFF", SaveType::Other, true, true, true},
        {"jpg.txt", SaveType::Other, false, false, false},
        {"pg", SaveType::Other, false, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SaveTypeByExtension(c.name), c.type) << c.name;
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
    CodecOptions options;
    options.allowLzw = true;
    const LoadedImage loaded = LoadImageFile(dir / "a.tif", options);
    ASSERT_TRUE(loaded.loaded);
    EXPECT_TRUE(test::SamePixels(loaded.image, picture, "chain-lzw"));
}

TEST(LoadChain, PictureLoaderIsSilent) {
    ScratchDir dir;
    ASSERT_TRUE(EncodeJpegImage(dir / "a.jpg", test::MakeNoise(40, 200, 1), true, 90));
    int calls = 0;
    const ScopedProgressSink sink([&](ProgressDirection, int) { ++calls; });
    ASSERT_TRUE(LoadPictureFile(dir / "a.jpg"));
    EXPECT_EQ(calls, 0);
    // The window's sink is back afterwards.
    ASSERT_TRUE(LoadImageFile(dir / "a.jpg").loaded);
    EXPECT_GT(calls, 0);
    EXPECT_FALSE(LoadPictureFile(""));
    EXPECT_FALSE(LoadPictureFile(dir / "missing.jpg"));
}

}  // namespace
}  // namespace duplora
