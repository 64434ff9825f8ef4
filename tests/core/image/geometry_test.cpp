#include "core/image/geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "core/image/convert.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::MakeImage;
using test::PixelAt;
using test::SamePixels;

// Pixel (x, y) is 0x0100 × (x + 1) + (y + 1): never black, and tells where it came from.
std::uint32_t Mark(int x, int y) {
    return 0x010000u + 0x100u * (x + 1) + (y + 1);
}
ImageBuffer Marked(int w, int h) {
    return MakeImage(w, h, Mark);
}

TEST(FrameOnCanvas, ImageCentredOnBlack) {
    struct Case {
        int imageW, imageH, canvasW, canvasH;
        int left, top;  // where the image's top-left lands (may be negative)
    };
    const Case cases[] = {{3, 2, 7, 5, 2, 1},
                          // Larger image: (3 − 5) / 2 = −1 toward zero, clipped all round.
                          {5, 5, 3, 2, -1, -1},
                          {6, 2, 3, 7, -1, 2},
                          // A view scaled to 200 × 150 on its 200 × 200 frame: 25 rows each side.
                          {200, 150, 200, 200, 0, 25}};
    for (const Case& c : cases) {
        ImageBuffer out = FrameOnCanvas(Marked(c.imageW, c.imageH), c.canvasW, c.canvasH);
        ASSERT_TRUE(out);
        ASSERT_EQ(out.Width(), c.canvasW);
        ASSERT_EQ(out.Height(), c.canvasH);
        EXPECT_EQ(out.BitCount(), 24);
        for (int y = 0; y < c.canvasH; ++y)
            for (int x = 0; x < c.canvasW; ++x) {
                const int sx = x - c.left, sy = y - c.top;
                const bool inside = sx >= 0 && sy >= 0 && sx < c.imageW && sy < c.imageH;
                ASSERT_EQ(PixelAt(out, x, y), inside ? Mark(sx, sy) : 0u)
                    << c.imageW << "x" << c.imageH << ": " << x << "," << y;
            }
    }
}

TEST(FrameOnCanvas, NoPictureOrNoCanvas) {
    std::vector<std::string> seen;
    MessageSink previous =
        SetMessageSink([&](std::string_view text, std::string_view caption, MessageIcon) {
            seen.push_back(std::string(text) + "|" + std::string(caption));
        });
    EXPECT_FALSE(FrameOnCanvas(ImageBuffer{}, 10, 10));
    EXPECT_TRUE(seen.empty());
    ImageBuffer image = Marked(3, 3);
    EXPECT_FALSE(FrameOnCanvas(image, 0, 10));
    EXPECT_FALSE(FrameOnCanvas(image, 10, -2));
    EXPECT_FALSE(FrameOnCanvas(image, 70000, 10));
    SetMessageSink(std::move(previous));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], "Kann BMP Datei nicht erstellen.|FEHLER");
}

TEST(FrameOnCanvas, IndexedSourceThroughItsColours) {
    ImageBuffer src = test::MakeIndexed(5, 4, 8, 2);
    ImageBuffer trueColour = ToTrueColour(src);
    ASSERT_TRUE(trueColour);
    EXPECT_TRUE(SamePixels(FrameOnCanvas(src, 9, 6), FrameOnCanvas(trueColour, 9, 6)));
}

TEST(EqualiseViewSizes, EqualSizesStayBothCentredOtherwise) {
    ImageBuffer same1 = Marked(4, 3), same2 = Marked(4, 3);
    const std::uint8_t* kept = same1.Data();
    EXPECT_TRUE(EqualiseViewSizes(same1, same2));
    EXPECT_EQ(same1.Data(), kept);

    ImageBuffer a = Marked(4, 3), b = Marked(2, 6);
    ASSERT_TRUE(EqualiseViewSizes(a, b));
    // Both centred on the larger size: the first one row down, the second one column right.
    EXPECT_TRUE(SamePixels(a, FrameOnCanvas(Marked(4, 3), 4, 6)));
    EXPECT_TRUE(SamePixels(b, FrameOnCanvas(Marked(2, 6), 4, 6)));
}

TEST(EqualiseViewSizes, FailureLeavesBothViews) {
    ImageBuffer a = Marked(4, 3), missing;
    EXPECT_FALSE(EqualiseViewSizes(a, missing));
    EXPECT_EQ(a.Width(), 4);
    EXPECT_FALSE(missing);

    // 65535 × 65535 is beyond the size limit: no canvas, nothing replaced.
    MessageSink previous = SetMessageSink([](std::string_view, std::string_view, MessageIcon) {});
    ImageBuffer wide = CreateImage(65535, 1, 24), tall = CreateImage(1, 65535, 24);
    EXPECT_FALSE(EqualiseViewSizes(wide, tall));
    SetMessageSink(std::move(previous));
    EXPECT_EQ(wide.Height(), 1);
    EXPECT_EQ(tall.Width(), 1);
}

TEST(MirrorLeftHalf, ReversesTheLeftHalfOnly) {
    struct Case {
        int width;
        std::vector<int> from;  // source column of each output column
    };
    const Case cases[] = {{5, {1, 0, 2, 3, 4}}, {6, {2, 1, 0, 3, 4, 5}}, {1, {0}}};
    for (const Case& c : cases) {
        ImageBuffer src = Marked(c.width, 3);
        ImageBuffer out = MirrorLeftHalf(src);
        ASSERT_TRUE(out);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < c.width; ++x)
                EXPECT_EQ(PixelAt(out, x, y), Mark(c.from[x], y)) << c.width << ":" << x;
    }
    EXPECT_FALSE(MirrorLeftHalf(ImageBuffer{}));
    EXPECT_FALSE(MirrorLeftHalf(test::MakeIndexed(8, 2, 8, 1)));
}

TEST(MirrorLeftHalf, RealSideBySidePictureTwiceIsTheSame) {
    if (!test::SampleExists("pairs/gx8_l.jpg")) GTEST_SKIP() << "sample missing";
    ImageBuffer photo = test::LoadSample("pairs/gx8_l.jpg");
    ASSERT_TRUE(photo);
    ImageBuffer once = MirrorLeftHalf(photo);
    const int half = photo.Width() / 2;
    EXPECT_EQ(PixelAt(once, 0, 10), PixelAt(photo, half - 1, 10));
    EXPECT_EQ(PixelAt(once, half - 1, 600), PixelAt(photo, 0, 600));
    EXPECT_EQ(PixelAt(once, half, 600), PixelAt(photo, half, 600));
    EXPECT_TRUE(SamePixels(MirrorLeftHalf(once), photo, "mirror-twice"));
}

}  // namespace
}  // namespace duplora
