// Overlay placement and the logo stamped with it.
#include "core/edit/overlay.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <vector>

#include "core/edit/logo.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/load_chain.h"
#include "edit_test_util.h"
#include "support/told.h"

namespace duplora {
namespace {

using test::PixelAt;
using test::Where;

TEST(PlaceOverlay, CornerRule) {
    constexpr std::int64_t kMin = INT_MIN, kMax = INT_MAX;
    const struct {
        OverlayPlacement placement;
        int width, height, overlayW, overlayH;
        std::int64_t x, y;
    } cases[] = {// Depth 5 at X distance 10: x = 10 on the left view, 5 on the right one.
                 {{0, 10, 0, 5}, 200, 100, 30, 12, 5, 0},
                 {{1, 10, 7, 5}, 200, 100, 30, 12, 155, 7},
                 {{2, 10, 7, -5}, 200, 100, 30, 12, 15, 81},
                 {{3, 0, 0, 0}, 200, 140, 30, 12, 170, 128},  // band of 40 included
                 {{3, -4, -3, 0}, 200, 100, 300, 120, -96, -17},
                 // No overflow at the ends of the range.
                 {{0, INT_MIN, INT_MAX, INT_MAX}, 10, 10, 1, 1, kMin - kMax, kMax},
                 {{3, INT_MIN, INT_MIN, INT_MIN}, 10, 10, 1, 1, 9 - kMin * 2, 9 - kMin}};
    for (const auto& c : cases) {
        const OverlayOrigin at =
            PlaceOverlay(c.placement, c.width, c.height, c.overlayW, c.overlayH);
        EXPECT_EQ(std::pair(at.x, at.y), std::pair(c.x, c.y))
            << c.placement.corner << " " << c.placement.xDistance << " " << c.placement.yDistance;
    }
}

TEST(PlaceOnBand, BandAboveForTopCornersBelowForBottomOnes) {
    const ImageBuffer picture = test::MakeImage(7, 5, Where);
    for (int corner = 0; corner < 4; ++corner) {
        const int top = corner <= 1 ? 3 : 0;
        EXPECT_TRUE(test::SamePixels(
            PlaceOnBand(picture, corner, {3, 0x00FF80}),  // red 0x80, green 0xFF, blue 0
            test::MakeImage(7, 8,
                            [&](int x, int y) {
                                return y >= top && y < top + 5 ? Where(x, y - top) : 0x80FF00u;
                            }),
            "band"))
            << corner;
    }
    // No band is a copy; bad input gives none, a band too tall says so.
    const ImageBuffer noise = test::MakeNoise(4, 4, 1);
    EXPECT_TRUE(test::SamePixels(PlaceOnBand(noise, 2, {0, 0x123456}), noise));
    EXPECT_FALSE(PlaceOnBand(ImageBuffer{}, 0, {}));
    EXPECT_FALSE(PlaceOnBand(noise, 4, {}));
    EXPECT_FALSE(PlaceOnBand(noise, -1, {}));
    EXPECT_FALSE(PlaceOnBand(noise, 0, {-1, 0}));
    EXPECT_EQ(test::Messages(PlaceOnBand(noise, 0, {INT_MAX, 0})),
              std::vector<std::string>{"FEHLER|Kann BMP Datei nicht erstellen."});
}

TEST(FillPixels, RepeatsTheColourExactly) {
    for (const int count : {1, 3, 7, 1001}) {
        std::vector<std::uint8_t> row(std::size_t(count) * 3 + 3, 0xEE);
        const std::uint8_t bgr[3] = {1, 2, 3};
        FillPixels(row.data(), count, bgr);
        for (int k = 0; k < count * 3; ++k) ASSERT_EQ(row[k], k % 3 + 1) << count;
        EXPECT_EQ(row[count * 3], 0xEE);  // nothing written past the end
    }
}

constexpr std::uint32_t kGrey = 0x808080;

ImageBuffer Grey(int width, int height) {
    return test::MakeImage(width, height, [](int, int) { return kGrey; });
}

// Logo pixels carry their own position in the low bytes and 0x20 in the top one.
ImageBuffer TaggedLogo(int width, int height) {
    return test::MakeImage(width, height, [](int x, int y) { return 0x200000u | Where(x, y); });
}

// The whole canvas is checked: logo where it lands, band rows, picture elsewhere.
TEST(AddLogo, EveryPixelWhereThePlacementRuleSays) {
    const struct {
        OverlayPlacement placement;
        int band, logoW, logoH;
        int c0, r0;          // expected start column and row (logo rows land on r0 − 1 onwards)
        bool large = false;  // on a picture split into bands over the cores
    } cases[] = {{{0, 3, 2, 0}, 0, 5, 4, 3, 2},
                 {{1, 3, 2, 0}, 0, 5, 4, 32, 2},
                 {{3, 3, 2, 5}, 0, 5, 4, 27, 24},
                 {{2, 3, 2, 0}, 10, 5, 4, 3, 34},
                 {{0, -3, -2, 0}, 0, 5, 4, -3, -2},
                 {{3, 0, 0, 0}, 0, 60, 50, -20, -20},
                 {{0, 1000000, 0, 0}, 0, 5, 4, 1000000, 0},
                 {{1, 3, 2, 4}, 10, 5, 4, 28, 2},  // a top corner: the logo over the band
                 {{1, 3, 2, 4}, 10, 5, 4, 1488, 2, true},
                 {{0, 0, 0, 0}, 0, 5, 4, 0, 0}};  // at Y distance 0 the top corners lose a row
    const ImageBuffer small = test::MakeImage(40, 30, Where), large = test::MakeNoise(1500, 800, 6);
    for (const auto& c : cases) {
        const ImageBuffer& picture = c.large ? large : small;
        const int w = picture.Width(), h = picture.Height() + c.band;
        const ImageBuffer logo = TaggedLogo(c.logoW, c.logoH);
        ImageBuffer expected = CreateImage(w, h, 24);
        test::FillBox(expected, 0, 0, w, h, 0xFF0000);
        test::PutPicture(expected, picture, 0, c.placement.corner <= 1 ? c.band : 0);
        test::PutPicture(expected, logo, c.c0, c.r0 - 1);
        // The band red, as a colour reference.
        EXPECT_TRUE(test::SamePixels(AddLogo(picture, logo, {c.placement, {c.band, 0x0000FF}}),
                                     expected, "logo"))
            << c.placement.corner << " " << c.placement.xDistance << " " << c.placement.yDistance;
    }
    const ImageBuffer& picture = small;
    // Extreme distances and depths leave the picture as it was.
    const OverlayPlacement extremes[] = {{0, INT_MAX, INT_MAX, INT_MIN},
                                         {1, INT_MIN, INT_MIN, INT_MAX},
                                         {3, INT_MIN, 0, INT_MIN},
                                         {2, 0, INT_MIN, 0}};
    for (const OverlayPlacement& p : extremes)
        EXPECT_TRUE(
            test::SamePixels(AddLogo(picture, TaggedLogo(4, 3), {p, {}}), picture, "logo_far"));
}

TEST(AddLogo, TransparentColourIsAColourReference) {
    const ImageBuffer picture = Grey(8, 6);
    // Pixel (1, 0) is red 1, green 2, blue 3; the rest white. Logo rows on rows 1 and 2,
    // columns 2…4.
    const ImageBuffer logo = test::MakeImage(
        3, 2, [](int x, int y) { return x == 1 && y == 0 ? 0x010203u : 0xFFFFFFu; });
    LogoStamp stamp{{0, 2, 2, 0}, {}, true, 0xFFFFFF};  // white is left out
    EXPECT_TRUE(test::SamePixels(
        AddLogo(picture, logo, stamp),
        test::MakeImage(8, 6, [](int x, int y) { return x == 3 && y == 1 ? 0x010203u : kGrey; })));
    stamp.transparentColour = 0x030201;  // red 1 in the low byte, blue 3 in the high one
    const ImageBuffer out = test::Made(AddLogo(picture, logo, stamp));
    EXPECT_EQ((std::vector{PixelAt(out, 3, 1), PixelAt(out, 2, 1), PixelAt(out, 4, 2)}),
              (std::vector{kGrey, 0xFFFFFFu, 0xFFFFFFu}));
    stamp.transparentColour = 0x010203;  // the bytes the other way round match nothing
    EXPECT_EQ(PixelAt(test::Made(AddLogo(picture, logo, stamp)), 3, 1), 0x010203u);
}

TEST(AddLogo, IndexedLogoAndPictureGoThroughTheirColourTables) {
    const ImageBuffer indexed = test::MakeIndexed(9, 7, 8, 5);
    const ImageBuffer plain =
        test::Made(AddLogo(indexed, TaggedLogo(2, 2), {{0, 100, 100, 0}, {}}));
    ASSERT_EQ(plain.BitCount(), 24);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(PixelAt(plain, x, y), test::IndexedColour(indexed, x, y));
    for (const int bits : {1, 4, 8}) {
        const ImageBuffer logo = test::MakeIndexed(7, 5, bits, 11u + bits);
        const ImageBuffer out = test::Made(AddLogo(Grey(20, 10), logo, {{0, 2, 3, 0}, {}}));
        ASSERT_TRUE(out) << bits;
        for (int i = 0; i < 5; ++i)
            for (int j = 0; j < 7; ++j)
                ASSERT_EQ(PixelAt(out, 2 + j, 2 + i), test::IndexedColour(logo, j, i)) << bits;
    }
}

TEST(AddLogo, BadInputGivesNoneAndATooTallBandSaysSo) {
    const ImageBuffer picture = Grey(10, 10), logo = TaggedLogo(3, 3);
    EXPECT_FALSE(AddLogo(ImageBuffer{}, logo, {}));
    EXPECT_FALSE(AddLogo(picture, ImageBuffer{}, {}));
    EXPECT_FALSE(AddLogo(ImageBuffer{}, std::string("/no/such/logo.bmp"), {}));
    EXPECT_FALSE(AddLogo(picture, logo, {{-1}, {}}));
    EXPECT_FALSE(AddLogo(picture, logo, {{4}, {}}));
    EXPECT_FALSE(AddLogo(picture, logo, {{3}, {-1}}));
    // Too high, also when one row over the limit with the picture.
    for (const int band : {INT_MAX, kMaxImageDimension})
        EXPECT_EQ(test::Messages(AddLogo(picture, logo, {{3}, {band}})),
                  std::vector<std::string>{"FEHLER|Kann BMP Datei nicht erstellen."});
}

TEST(BuiltinLogo, SixteenColoursOfTheRightSizeOnWhite) {
    const ImageBuffer logo = BuiltinLogo();
    EXPECT_EQ((std::vector{logo.Width(), logo.Height(), logo.BitCount()}),
              (std::vector{302, 38, 4}));
    // White background at the corners, so the default transparent colour removes it; and
    // more than a few colours in the middle.
    for (const auto& [x, y] : {std::pair{0, 0}, {301, 0}, {0, 37}, {301, 37}})
        EXPECT_EQ(test::IndexedColour(logo, x, y), 0xFFFFFFu);
    int drawn = 0;
    for (int y = 0; y < 38; ++y)
        for (int x = 0; x < 302; ++x) drawn += test::IndexedColour(logo, x, y) != 0xFFFFFFu;
    EXPECT_GT(drawn, 302 * 38 / 5);
    // A missing logo file stamps the built-in logo; its white corner stays out.
    const ImageBuffer picture = Grey(400, 60);
    const LogoStamp stamp{{3, 0, 0, 0}, {}, true};
    const ImageBuffer out = test::Made(AddLogo(picture, std::string("/no/such/logo.jpg"), stamp));
    EXPECT_TRUE(test::SamePixels(out, test::Made(AddLogo(picture, logo, stamp)), "logo_builtin"));
    EXPECT_EQ(PixelAt(out, 98, 21), kGrey);  // at (400 − 302, 60 − 39)
}

TEST(LoadLogo, ReadsAnyPictureOrFallsBackToTheBuiltInLogo) {
    for (const std::string& path : {std::string(), std::string("/no/such/folder/logo.bmp")}) {
        const LogoPicture logo = LoadLogo(path);
        EXPECT_TRUE(logo.builtIn) << path;
        EXPECT_EQ(logo.image.Width(), 302);
    }
    const std::string path = test::TestOutputDir() + "/logo_test_logo.bmp";
    ASSERT_TRUE(WriteBmpFile(path, TaggedLogo(6, 4)));
    const LogoPicture logo = LoadLogo(path);
    std::filesystem::remove(path);
    EXPECT_FALSE(logo.builtIn);
    EXPECT_TRUE(test::SamePixels(logo.image, TaggedLogo(6, 4), "logo_from_file"));
    if (!test::SampleExists("pairs/gx8_l.jpg")) GTEST_SKIP() << "sample photographs missing";
    const std::string photo = test::SamplePath("pairs/gx8_l.jpg");
    EXPECT_TRUE(test::SamePixels(LoadLogo(photo).image, LoadPictureFile(photo), "logo_photo"));
}

}  // namespace
}  // namespace duplora
