#include "core/image/geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/image/convert.h"
#include "core/image/rotate.h"
#include "support/test_support.h"
#include "support/told.h"

namespace duplora {
namespace {

using test::PixelAt;
using test::SamePixels;

// Pixel (x, y) is 0x0100 × (x + 1) + (y + 1): never black, and tells where it came from.
std::uint32_t Mark(int x, int y) {
    return 0x010000u + 0x100u * (x + 1) + (y + 1);
}
ImageBuffer Marked(int w, int h) {
    return test::MakeImage(w, h, Mark);
}

// FrameOnCanvas and CentreOnCanvas follow one rule: the offset (canvas − picture) / 2
// rounds toward zero, the rest is black.
TEST(FrameOnCanvas, ImageCentredOnBlackByBothFunctions) {
    const struct {
        int imageW, imageH, canvasW, canvasH, left, top;  // where the top-left lands
    } cases[] = {{3, 2, 7, 5, 2, 1},         {3, 2, 8, 5, 2, 1},   {5, 5, 3, 2, -1, -1},
                 {9, 7, 4, 3, -2, -2},       {5, 5, 2, 2, -1, -1}, {6, 2, 3, 7, -1, 2},
                 {200, 150, 200, 200, 0, 25}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.imageW << "x" << c.imageH << " on " << c.canvasW);
        const ImageBuffer expected = test::MakeImage(c.canvasW, c.canvasH, [&](int x, int y) {
            const int sx = x - c.left, sy = y - c.top;
            return sx >= 0 && sy >= 0 && sx < c.imageW && sy < c.imageH ? Mark(sx, sy) : 0u;
        });
        const ImageBuffer image = Marked(c.imageW, c.imageH);
        ASSERT_TRUE(FrameOnCanvas(image, c.canvasW, c.canvasH));
        EXPECT_TRUE(SamePixels(FrameOnCanvas(image, c.canvasW, c.canvasH), expected, "frame"));
        EXPECT_TRUE(SamePixels(CentreOnCanvas(image, c.canvasW, c.canvasH), expected, "centre"));
    }
    // Indexed sources go through their colours.
    for (const int bits : {4, 8}) {
        const ImageBuffer src = test::MakeIndexed(5, 2, bits, 11), full = ToTrueColour(src);
        const ImageBuffer expected = test::Made(FrameOnCanvas(full, 3, 6));
        EXPECT_TRUE(SamePixels(FrameOnCanvas(src, 3, 6), expected));
        EXPECT_TRUE(SamePixels(CentreOnCanvas(src, 3, 6), expected));
    }
}

TEST(FrameOnCanvas, NoPictureOrNoCanvas) {
    const Result<ImageBuffer> none = FrameOnCanvas(ImageBuffer{}, 10, 10);
    EXPECT_FALSE(none);
    EXPECT_TRUE(test::Messages(none).empty());
    const ImageBuffer image = Marked(3, 3);
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{0, 10}, {10, -2}, {70000, 10}})
        EXPECT_EQ(test::Messages(FrameOnCanvas(image, w, h)),
                  std::vector<std::string>{"FEHLER|Kann BMP Datei nicht erstellen."})
            << w << "x" << h;
}

TEST(EqualiseViewSizes, EqualSizesStayBothCentredOtherwise) {
    ImageBuffer same1 = Marked(4, 3), same2 = Marked(4, 3);
    const std::uint8_t* kept = same1.Data();
    EXPECT_TRUE(EqualiseViewSizes(same1, same2));
    EXPECT_EQ(same1.Data(), kept);
    ImageBuffer a = Marked(4, 3), b = Marked(2, 6);
    ASSERT_TRUE(EqualiseViewSizes(a, b));
    EXPECT_TRUE(SamePixels(FrameOnCanvas(Marked(4, 3), 4, 6), a));
    EXPECT_TRUE(SamePixels(FrameOnCanvas(Marked(2, 6), 4, 6), b));
}

TEST(EqualiseViewSizes, FailureLeavesBothViews) {
    ImageBuffer a = Marked(4, 3), missing;
    EXPECT_FALSE(EqualiseViewSizes(a, missing));
    EXPECT_EQ(a.Width(), 4);
    EXPECT_FALSE(missing);
    // 65535 × 65535 is beyond the size limit: no canvas, nothing replaced, and the user
    // hears why.
    ImageBuffer wide = CreateImage(65535, 1, 24), tall = CreateImage(1, 65535, 24);
    EXPECT_EQ(test::Messages(EqualiseViewSizes(wide, tall)),
              std::vector<std::string>{"FEHLER|Kann BMP Datei nicht erstellen."});
    EXPECT_EQ(wide.Height(), 1);
    EXPECT_EQ(tall.Width(), 1);
}

TEST(MirrorLeftHalf, ReversesTheLeftHalfOnly) {
    const struct {
        int width;
        std::vector<int> from;  // source column of each output column
    } cases[] = {{5, {1, 0, 2, 3, 4}}, {6, {2, 1, 0, 3, 4, 5}}, {1, {0}}};
    for (const auto& c : cases)
        EXPECT_TRUE(SamePixels(
            MirrorLeftHalf(Marked(c.width, 3)),
            test::MakeImage(c.width, 3, [&](int x, int y) { return Mark(c.from[x], y); })))
            << c.width;
    EXPECT_FALSE(MirrorLeftHalf(ImageBuffer{}));
    EXPECT_FALSE(MirrorLeftHalf(test::MakeIndexed(8, 2, 8, 1)));
    // Large enough to be split over threads: twice is the picture again.
    const ImageBuffer big = test::MakeNoise(1501, 900, 3), once = MirrorLeftHalf(big);
    EXPECT_EQ(PixelAt(once, 0, 10), PixelAt(big, 749, 10));
    EXPECT_EQ(PixelAt(once, 750, 600), PixelAt(big, 750, 600));
    EXPECT_TRUE(SamePixels(MirrorLeftHalf(once), big, "mirror-twice"));
}

TEST(RotateQuarter, HandComputedTurnAndDirections) {
    // a b c / d e f turns right to d a / e b / f c.
    const std::uint32_t v[2][3] = {{0x010203, 0x040506, 0x070809}, {0xA0B0C0, 0xD0E0F0, 0xFFFFFF}};
    const ImageBuffer src = test::MakeImage(3, 2, [&](int x, int y) { return v[y][x]; });
    EXPECT_TRUE(SamePixels(RotateQuarter(src, kRotateClockwise),
                           test::MakeImage(2, 3, [&](int x, int y) { return v[1 - x][y]; })));
    // Any direction but 1 turns left.
    for (int direction : {2, -1})
        EXPECT_TRUE(
            SamePixels(RotateQuarter(src, direction), RotateQuarter(src, kRotateCounterClockwise)));
    EXPECT_FALSE(RotateQuarter(ImageBuffer{}, kRotateClockwise));
}

// Odd sizes leave partial bytes at every depth; the large one is split over threads.
TEST(RotateQuarter, EveryPixelMovesAndFourTurnsGiveTheSourceAtEveryDepth) {
    for (const int bits : {1, 4, 8, 24})
        for (const auto& [w, h] :
             {std::pair{13, 7}, {33, 5}, {1, 9}, {9, 1}, {1, 1}, {1501, 901}}) {
            SCOPED_TRACE(testing::Message() << bits << " bits " << w << "x" << h);
            const ImageBuffer src =
                bits == 24 ? test::MakeNoise(w, h, 7) : test::MakeIndexed(w, h, bits, 7);
            const auto value = [bits](const ImageBuffer& image, int x, int y) {
                return bits == 24 ? PixelAt(image, x, y)
                                  : std::uint32_t(test::IndexAt(image, x, y));
            };
            const ImageBuffer right = RotateQuarter(src, kRotateClockwise);
            ASSERT_EQ(right.Width(), h);
            ASSERT_EQ(right.Height(), w);
            ASSERT_EQ(right.BitCount(), bits);
            ASSERT_EQ(right.ColourCount(), src.ColourCount());
            EXPECT_EQ(std::memcmp(right.ColourTable(), src.ColourTable(), 4 * src.ColourCount()),
                      0);
            // Clockwise: (x, y) goes to (h − 1 − y, x).
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(value(right, h - 1 - y, x), value(src, x, y)) << x << "," << y;
            EXPECT_TRUE(SamePixels(RotateQuarter(right, kRotateCounterClockwise), src, "back"));
            ImageBuffer turned = DuplicateImage(src);
            for (int i = 0; i < 4; ++i) turned = RotateQuarter(turned, kRotateClockwise);
            EXPECT_TRUE(SamePixels(turned, src, "four-turns"));
        }
}

}  // namespace
}  // namespace duplora
