#include "core/image/geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/batch/hook_recorder.h"
#include "core/image/convert.h"
#include "support/test_support.h"

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
        EXPECT_TRUE(SamePixels(FrameOnCanvas(src, 3, 6), FrameOnCanvas(full, 3, 6)));
        EXPECT_TRUE(SamePixels(CentreOnCanvas(src, 3, 6), FrameOnCanvas(full, 3, 6)));
    }
}

TEST(FrameOnCanvas, NoPictureOrNoCanvas) {
    test::HookRecorder hooks;
    EXPECT_FALSE(FrameOnCanvas(ImageBuffer{}, 10, 10));
    EXPECT_TRUE(hooks.messages.empty());
    const ImageBuffer image = Marked(3, 3);
    EXPECT_FALSE(FrameOnCanvas(image, 0, 10));
    EXPECT_FALSE(FrameOnCanvas(image, 10, -2));
    EXPECT_FALSE(FrameOnCanvas(image, 70000, 10));
    EXPECT_EQ(hooks.messages,
              std::vector<std::string>(3, "FEHLER|Kann BMP Datei nicht erstellen."));
}

TEST(EqualiseViewSizes, EqualSizesStayBothCentredOtherwise) {
    ImageBuffer same1 = Marked(4, 3), same2 = Marked(4, 3);
    const std::uint8_t* kept = same1.Data();
    EXPECT_TRUE(EqualiseViewSizes(same1, same2));
    EXPECT_EQ(same1.Data(), kept);
    ImageBuffer a = Marked(4, 3), b = Marked(2, 6);
    ASSERT_TRUE(EqualiseViewSizes(a, b));
    EXPECT_TRUE(SamePixels(a, FrameOnCanvas(Marked(4, 3), 4, 6)));
    EXPECT_TRUE(SamePixels(b, FrameOnCanvas(Marked(2, 6), 4, 6)));
}

TEST(EqualiseViewSizes, FailureLeavesBothViews) {
    ImageBuffer a = Marked(4, 3), missing;
    EXPECT_FALSE(EqualiseViewSizes(a, missing));
    EXPECT_EQ(a.Width(), 4);
    EXPECT_FALSE(missing);
    // 65535 × 65535 is beyond the size limit: no canvas, nothing replaced.
    test::HookRecorder hooks;
    ImageBuffer wide = CreateImage(65535, 1, 24), tall = CreateImage(1, 65535, 24);
    EXPECT_FALSE(EqualiseViewSizes(wide, tall));
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
}

TEST(MirrorLeftHalf, RealSideBySidePictureTwiceIsTheSame) {
    if (!test::SampleExists("pairs/gx8_l.jpg")) GTEST_SKIP() << "sample missing";
    const ImageBuffer photo = test::LoadSample("pairs/gx8_l.jpg");
    ASSERT_TRUE(photo);
    const ImageBuffer once = MirrorLeftHalf(photo);
    const int half = photo.Width() / 2;
    EXPECT_EQ(PixelAt(once, 0, 10), PixelAt(photo, half - 1, 10));
    EXPECT_EQ(PixelAt(once, half - 1, 600), PixelAt(photo, 0, 600));
    EXPECT_EQ(PixelAt(once, half, 600), PixelAt(photo, half, 600));
    EXPECT_TRUE(SamePixels(MirrorLeftHalf(once), photo, "mirror-twice"));
}

}  // namespace
}  // namespace duplora
