// Trimming and resizing the pair, the bridge to Qt's pictures and the built-in sample pair.
#include "app/image/trim_resize.h"

#include <gtest/gtest.h>

#include <QImage>

#include "app/image/qimage_bridge.h"
#include "app/shell/sample_pair.h"
#include "core/image/convert.h"
#include "core/stereo/common_area.h"
#include "core/stereo/compose.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::MakeImage;
using test::MakeNoise;
using test::PixelAt;
using test::SamePixels;

// Pixel (x, y) of the coordinate picture carries its own position.
ImageBuffer Coordinates(int width, int height) {
    return MakeImage(width, height,
                     [](int x, int y) { return static_cast<std::uint32_t>((x << 12) | y); });
}

TEST(TrimArea, WithinTheCommonAreaOrTheWholePanorama) {
    // Offsets beyond the picture keep a sliver of ten pixels.
    const struct {
        int dx, dy;
        bool panorama;
        QSize size;
    } cases[] = {
        {-15, 0, false, {85, 80}},  {0, 5, false, {100, 75}},  {-200, 0, false, {10, 80}},
        {0, 300, false, {100, 10}}, {300, 5, true, {100, 80}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AlignedSize({100, 80}, c.dx, c.dy, c.panorama), c.size)
            << c.dx << "," << c.dy << " panorama " << c.panorama;
    EXPECT_EQ(AlignedSize({0, 80}, 0, 0, false), QSize(0, 0));
    // The trim area is ordered and kept within the aligned pair.
    EXPECT_EQ(TrimArea({30, 40, 10, 5}, {100, 80}), (SelectionRect{10, 5, 30, 40}));
    EXPECT_EQ(TrimArea({-5, -5, 120, 90}, {100, 80}), (SelectionRect{0, 0, 100, 80}));
    // Nothing left: a line, or a place past the pair.
    EXPECT_FALSE(TrimArea({10, 10, 40, 10}, {100, 80}));
    EXPECT_FALSE(TrimArea({120, 10, 140, 30}, {100, 80}));
    EXPECT_FALSE(TrimArea({0, 0, 10, 10}, {0, 0}));
}

// The trim is what the view shows at 100 %, cut by the rectangle: the common area first,
// then the rectangle of that.
TEST(TrimView, EqualsTheShownCommonAreaCutByTheRectangle) {
    const ImageBuffer a = MakeNoise(61, 47, 7);
    const ImageBuffer b = MakeNoise(61, 47, 8);
    const int offsets[][2] = {{0, 0}, {4, -2}, {-9, 4}, {3, -11}, {-70, 2}};
    for (const auto& o : offsets) {
        TrimRequest request;
        request.rect = {35, 30, 3, 2};  // corners in any order
        request.dx = o[0];
        request.dy = o[1];
        const CommonArea area = ComputeCommonArea(61, 47, o[0], o[1]);
        const QSize aligned = AlignedSize({61, 47}, o[0], o[1], false);
        const SelectionRect r = *TrimArea(request.rect, aligned);
        for (bool second : {false, true}) {
            const ImageBuffer& view = second ? b : a;
            const ImageBuffer common =
                CropMargins(view, area.secondX, area.secondY, area.firstX, area.firstY, second);
            const ImageBuffer expected = CropRect(common, r.x1, r.y1, r.x2, r.y2);
            EXPECT_TRUE(
                SamePixels(TrimView(view, {61, 47}, request, second), expected, "trim_common_area"))
                << o[0] << "," << o[1] << " second " << second;
        }
    }
}

// A panorama is cut from the views as it shows them: the first view's cut is the rectangle
// itself; the second's starts 130 columns on, wrapped round to column 10, and 3 rows up.
TEST(TrimView, PanoramaCutsTheWrappedView) {
    const ImageBuffer view = Coordinates(50, 30);
    TrimRequest request;
    request.rect = {30, 4, 50, 20};
    request.dx = 130;
    request.dy = 3;
    request.panorama = true;
    for (const auto& [second, x0, y0] : {std::tuple{false, 30, 4}, {true, 10, 1}}) {
        const ImageBuffer cut = TrimView(view, {50, 30}, request, second);
        ASSERT_EQ(QSize(cut.Width(), cut.Height()), QSize(20, 16));
        EXPECT_TRUE(SamePixels(cut, CropRect(view, x0, y0, x0 + 20, y0 + 16), "trim_pano"));
    }
}

TEST(TrimPair, AlignsThePairAndKeepsTheZoom) {
    const ImageBuffer a = MakeNoise(40, 30, 1);
    const ImageBuffer b = MakeNoise(40, 30, 2);
    TrimRequest request;
    request.rect = {5, 5, 25, 20};
    request.dx = -6;
    const EditedPair pair = TrimPair(a, b, request, ViewState{-6, 0, 12, 9, 150});
    ASSERT_TRUE(pair.left && pair.right);
    EXPECT_EQ(std::tuple(pair.left.Width(), pair.right.Height()), std::tuple(20, 15));
    ASSERT_TRUE(pair.view);
    EXPECT_EQ(*pair.view, (ViewState{0, 0, 0, 0, 150}));
    // The single picture has no right view, and keeps none.
    const EditedPair single = TrimPair(a, ImageBuffer(), request, ViewState{});
    EXPECT_TRUE(single.left);
    EXPECT_FALSE(single.right);
    // A rectangle past the pair leaves nothing: the edit fails as a whole.
    request.rect = {60, 5, 80, 20};
    const EditedPair none = TrimPair(a, b, request, ViewState{});
    EXPECT_FALSE(none.left);
    EXPECT_FALSE(none.right);
}

TEST(ResizeDialogRules, KeepRatioFollowsTheOtherSideAndAModeRereadsX) {
    EXPECT_EQ(KeepRatioWidth(240, {640, 480}, 7), 320);
    EXPECT_EQ(KeepRatioHeight(333, {640, 480}, 7), 249);  // 249.75
    EXPECT_EQ(KeepRatioWidth(1, {640, 480}, 7), 1);       // 1.33
    EXPECT_EQ(KeepRatioHeight(10, {0, 480}, 7), 7);
    EXPECT_EQ(KeepRatioHeight(60000, {100, 60000}, 7), kMaxResizeSide);
    // With recompute stored on, an X beyond the reference width goes back to it; stored off
    // (the GUI tests' case), X stays.
    const ResizeChoice shown{1000, 123, AspectMode::Free, true};
    EXPECT_EQ(AspectChosen(shown, AspectMode::KeepRatio, true, {640, 480}),
              (ResizeChoice{640, 480, AspectMode::KeepRatio, true}));
    EXPECT_EQ(AspectChosen(shown, AspectMode::KeepRatioFrame, true, {640, 480}),
              (ResizeChoice{640, 123, AspectMode::KeepRatioFrame, true}));
    EXPECT_EQ(AspectChosen(shown, AspectMode::Free, false, {640, 480}),
              (ResizeChoice{1000, 123, AspectMode::Free, true}));
}

TEST(ResizePair, KeepWithFrameScalesAndPads) {
    const ImageBuffer a = MakeImage(400, 300, [](int, int) { return 0xFFFFFFu; });
    const EditedPair pair =
        ResizePair(a, a, 0, 0, false, ResizeChoice{200, 200, AspectMode::KeepRatioFrame, true},
                   ViewState{0, 0, 5, 5, 80})
            .ValueOr({});
    ASSERT_TRUE(pair.left && pair.right);
    EXPECT_EQ(std::tuple(pair.left.Width(), pair.left.Height()), std::tuple(200, 200));
    // 400 × 300 fits as 200 × 150: bands of 25 rows above and below.
    for (const auto& [y, colour] : {std::pair{24, 0u}, std::pair{25, 0xFFFFFFu},
                                    std::pair{174, 0xFFFFFFu}, std::pair{175, 0u}})
        EXPECT_EQ(PixelAt(pair.left, 100, y), colour) << y;
    EXPECT_EQ(*pair.view, (ViewState{0, 0, 0, 0, 80}));
}

TEST(ResizePair, CutsToTheCommonAreaFirst) {
    const ImageBuffer a = MakeNoise(100, 80, 5);
    const ImageBuffer b = MakeNoise(100, 80, 6);
    const ResizeChoice choice{45, 80, AspectMode::Free, false};
    const EditedPair pair = ResizePair(a, b, 10, -20, false, choice, ViewState{}).ValueOr({});
    ASSERT_TRUE(pair.left && pair.right);
    const ImageBuffer cutB = CropMargins(b, 10, 0, 0, 20, true);
    ASSERT_EQ(cutB.Width(), 90);
    EXPECT_TRUE(
        SamePixels(pair.right, CropScaleView(cutB, 45, 80, 0, 0, 0, 0, false), "resize_common"));
    // Sizes that cannot be made leave nothing.
    const EditedPair none =
        ResizePair(a, b, 0, 0, false, ResizeChoice{0, 80, AspectMode::Free, true}, ViewState{})
            .ValueOr({});
    EXPECT_FALSE(none.left);
    // A panorama is scaled as shown, wrapped round.
    const EditedPair pano = ResizePair(a, b, 250, 0, true, choice, ViewState{}).ValueOr({});
    ASSERT_TRUE(pano.left && pano.right);
    EXPECT_EQ(pano.left.Width(), 45);
}

TEST(QImageBridge, RoundTripKeepsEveryPixelAndIndexedPicturesGoThroughTheirTable) {
    const ImageBuffer src = MakeNoise(33, 17, 4);
    const QImage q = QImageFromImageBuffer(src);
    ASSERT_EQ(q.size(), QSize(33, 17));
    // Top-down in Qt, bottom-up in the buffer: pixel (0, 0) is the first line seen.
    EXPECT_EQ(q.pixel(0, 0) & 0xFFFFFF, PixelAt(src, 0, 0));
    EXPECT_EQ(q.pixel(32, 16) & 0xFFFFFF, PixelAt(src, 32, 16));
    EXPECT_TRUE(SamePixels(ImageBufferFromQImage(q), src));
    EXPECT_TRUE(QImageFromImageBuffer(ImageBuffer{}).isNull());
    EXPECT_FALSE(ImageBufferFromQImage(QImage{}));
    for (int bits : {1, 4, 8}) {
        const ImageBuffer indexed = test::MakeIndexed(13, 5, bits, 3);
        const QImage qi = QImageFromImageBuffer(indexed);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x) {
                const std::uint8_t* e = indexed.ColourTable() + 4 * test::IndexAt(indexed, x, y);
                ASSERT_EQ(qi.pixel(x, y), qRgb(e[2], e[1], e[0])) << bits << " " << x << "," << y;
            }
    }
}

TEST(SamplePair, ViewsDifferOnlyByDepthShift) {
    const SamplePair pair = MakeSamplePair(320, 240);
    ASSERT_TRUE(pair.left && pair.right);
    EXPECT_EQ(std::tuple(pair.left.Width(), pair.right.Height()), std::tuple(320, 240));
    // The sky at the top is at infinity in both views; the foreground is not.
    EXPECT_EQ(PixelAt(pair.left, 5, 2), PixelAt(pair.right, 5, 2));
    EXPECT_FALSE(SamePixels(pair.left, pair.right, "sample-pair"));
}

}  // namespace
}  // namespace duplora
