#include "core/image/resample.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "core/image/convert.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::MakeNoise;
using test::SamePixels;

// One stored row (or column, counted from the bottom) of grey levels.
ImageBuffer Line(const std::vector<int>& v, bool vertical) {
    const int n = static_cast<int>(v.size());
    return test::MakeImage(vertical ? 1 : n, vertical ? n : 1, [&](int x, int y) {
        return static_cast<std::uint32_t>(v[vertical ? n - 1 - y : x]) * 0x010101u;
    });
}

TEST(ResizeImage, ExactValuesAlongRowsAndColumns) {
    const struct {
        std::vector<int> source;
        int to;
        std::vector<int> expected;
    } cases[] = {// Ten to five: pixel 0 alone, then pairs (1,2) … (7,8); pixel 9 unused.
                 {{10, 20, 30, 41, 50, 60, 70, 80, 90, 250}, 5, {10, 25, 45, 65, 85}},
                 // Uneven boxes: ends at 0, 2, 4; the means truncate; 5 and 6 unused.
                 {{10, 20, 31, 40, 51, 60, 70}, 3, {10, 25, 45}},
                 {{0, 100}, 5, {0, 25, 50, 75, 100}},
                 // Falling segments truncate toward zero: 10 − 10/3 = 7, 10 − 20/3 = 4.
                 {{10, 0}, 4, {10, 7, 4, 0}},
                 {{255, 0, 255}, 6, {255, 128, 0, 85, 170, 255}},
                 // A single pixel has no segment to interpolate: it is repeated.
                 {{77}, 4, {77, 77, 77, 77}},
                 {{200, 100, 50, 25}, 1, {200}}};
    for (const auto& c : cases)
        for (const bool vertical : {false, true}) {
            const ImageBuffer src = Line(c.source, vertical);
            EXPECT_TRUE(SamePixels(vertical ? ResizeImage(src, 1, c.to) : ResizeImage(src, c.to, 1),
                                   Line(c.expected, vertical), "resize_line"))
                << c.source.size() << " to " << c.to << (vertical ? " down" : " across");
        }
}

// Mixed directions, single rows and columns, bands over threads, boxes of 14/15 pixels, boxes
// over 256 pixels and segments over 257 steps give what they gave when checked pixel by pixel
// against a plain implementation of the two passes along rows and columns (their digest).
TEST(ResizeImage, KnownResultsOfTheTwoPassRule) {
    const struct {
        int w, h, newW, newH;
    } sizes[] = {{37, 23, 11, 50}, {9, 9, 40, 3},          {1, 7, 6, 2},
                 {8, 1, 3, 5},     {1500, 800, 1301, 901}, {1824, 1367, 912, 683},
                 {100, 100, 7, 6}, {700, 3, 2, 700},       {2, 600, 600, 2}};
    std::uint32_t seed = 1;
    std::uint64_t digest = 0;
    for (const auto& s : sizes)
        digest =
            test::PixelDigest(ResizeImage(MakeNoise(s.w, s.h, seed++), s.newW, s.newH), digest);
    EXPECT_EQ(digest, 0x46D4BE2539EA76F9u);
}

TEST(ResizeImage, EqualSizeCopiesAndBadInputGivesNothing) {
    ImageBuffer src = MakeNoise(33, 21, 9);
    ImageBuffer before = DuplicateImage(src);
    EXPECT_TRUE(SamePixels(ResizeImage(src, 33, 21), src));
    EXPECT_TRUE(SamePixels(src, before));
    EXPECT_FALSE(ResizeImage(ImageBuffer{}, 4, 4));
    EXPECT_FALSE(ResizeImage(src, 0, 4));
    EXPECT_FALSE(ResizeImage(src, 4, -4));
    EXPECT_FALSE(ResizeImage(src, 70000, 4));
    EXPECT_FALSE(ResizeImage(src, 40000, 40000));  // beyond the pixel-block limit
}

TEST(ResizeImage, IndexedSourceIsResizedThroughItsColours) {
    ImageBuffer src = test::MakeIndexed(19, 11, 4, 5);
    ImageBuffer trueColour = ToTrueColour(src);
    ASSERT_TRUE(trueColour);
    EXPECT_TRUE(SamePixels(ResizeImage(src, 30, 7), ResizeImage(trueColour, 30, 7)));
}

TEST(ResizeImage, ReportsGrowingPercentsOnTheCallingThread) {
    std::vector<int> percents;
    const std::thread::id self = std::this_thread::get_id();
    bool otherThread = false;
    const Progress progress([&](ProgressDirection, int percent) {
        percents.push_back(percent);
        otherThread |= std::this_thread::get_id() != self;
    });
    // Large enough to be split into bands.
    ImageBuffer out = ResizeImage(MakeNoise(1200, 1000, 4), 1100, 1100, progress);
    ASSERT_TRUE(out);
    ASSERT_FALSE(percents.empty());
    EXPECT_FALSE(otherThread);
    for (std::size_t i = 1; i < percents.size(); ++i) EXPECT_GT(percents[i], percents[i - 1]);
    EXPECT_GE(percents.front(), 0);
    EXPECT_EQ(percents.back(), 100);

    percents.clear();
    ResizeImage(MakeNoise(3, 2, 1), 7, 5, progress);  // one band
    EXPECT_EQ(percents.back(), 100);

    // Cancelled, it stops between rows and gives nothing.
    const std::atomic<bool> stop{true};
    EXPECT_FALSE(ResizeImage(MakeNoise(1200, 1000, 4), 1100, 1100, Progress({}, &stop)));
}

TEST(ComputeResizeGeometry, FrameOnlyWhenKeepingTheRatioInAFrameAndCommonAreaFirst) {
    const auto sizes = [](const ResizeGeometry& g) {
        return std::vector<int>{g.valid, g.framed, g.width, g.height, g.frameWidth, g.frameHeight};
    };
    // 400 × 300 into 200 × 200: 200 × 150 on a 200 × 200 frame. Portrait: 300 × 200 / 400 =
    // 150 < 200, so the height stays.
    const AspectMode frame = AspectMode::KeepRatioFrame;
    EXPECT_EQ(sizes(ComputeResizeGeometry(400, 300, 0, 0, false, 200, 200, frame)),
              (std::vector{1, 1, 200, 150, 200, 200}));
    EXPECT_EQ(sizes(ComputeResizeGeometry(300, 400, 0, 0, false, 200, 200, frame)),
              (std::vector{1, 1, 150, 200, 200, 200}));
    for (AspectMode mode : {AspectMode::Free, AspectMode::KeepRatio})
        EXPECT_EQ(sizes(ComputeResizeGeometry(640, 480, 0, 0, false, 320, 100, mode)),
                  (std::vector{1, 0, 320, 100, 0, 0}));
    // The fit uses the common area: 370 × 280 into 185 × 185 gives 185 × 140.
    EXPECT_EQ(sizes(ComputeResizeGeometry(400, 300, 30, -20, false, 185, 185, frame)),
              (std::vector{1, 1, 185, 140, 185, 185}));
    const struct {
        int dx, dy;
        bool panorama;
        std::vector<int> area;  // secondX, secondY, firstX, firstY, reference width, height
    } cases[] = {{30, -20, false, {30, 0, 0, 20, 370, 280}},
                 {500, 0, false, {390, 0, 0, 0, 10, 300}},  // 10 columns kept
                 {-395, 0, true, {0, 0, 395, 0, 5, 300}}};  // panorama: no limit across
    for (const auto& c : cases) {
        const ResizeGeometry g =
            ComputeResizeGeometry(400, 300, c.dx, c.dy, c.panorama, 100, 100, frame);
        ASSERT_TRUE(g.valid) << c.dx;
        EXPECT_EQ((std::vector{g.secondX, g.secondY, g.firstX, g.firstY, g.referenceWidth,
                               g.referenceHeight}),
                  c.area);
    }
}

TEST(ComputeResizeGeometry, EmptyOrAbsurdSizesAreNotValid) {
    const auto valid = [](int w, int h, int dx, bool panorama, int x, int y, AspectMode mode) {
        return ComputeResizeGeometry(w, h, dx, 0, panorama, x, y, mode).valid;
    };
    EXPECT_FALSE(valid(0, 300, 0, false, 10, 10, AspectMode::Free));
    EXPECT_FALSE(valid(400, 300, 0, false, 10, -1, AspectMode::Free));
    EXPECT_FALSE(valid(400, 300, 0, false, 70000, 10, AspectMode::Free));
    EXPECT_FALSE(valid(400, 300, 600, true, 10, 10, AspectMode::Free));
    EXPECT_FALSE(valid(1000, 10, 0, false, 50, 50, AspectMode::KeepRatioFrame));  // height 0
}

TEST(ResizeView, CutsScalesAndFrames) {
    // Left half white, right half grey; second view read from column 100.
    ImageBuffer view =
        test::MakeImage(500, 300, [](int x, int) { return x < 250 ? 0xFFFFFFu : 0x808080u; });
    ResizeGeometry g =
        ComputeResizeGeometry(500, 300, 100, 0, false, 200, 200, AspectMode::KeepRatioFrame);
    ASSERT_TRUE(g.valid);
    const ImageBuffer out = test::Made(ResizeView(view, g, true, true));
    ASSERT_EQ(std::pair(out.Width(), out.Height()), std::pair(200, 200));
    // 400 × 300 → 200 × 150 with 25 black rows above and below.
    EXPECT_EQ((std::vector{test::PixelAt(out, 100, 24), test::PixelAt(out, 100, 175),
                           test::PixelAt(out, 10, 25), test::PixelAt(out, 190, 174)}),
              (std::vector{0u, 0u, 0xFFFFFFu, 0x808080u}));
}

}  // namespace
}  // namespace duplora
