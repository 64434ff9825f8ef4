#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "core/image/filter.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::MakeImage;
using test::MakeNoise;
using test::PixelAt;
using test::SamePixels;

using XY = std::pair<int, int>;

std::uint32_t Grey(int v) {
    return static_cast<std::uint32_t>(v) * 0x010101u;
}

std::vector<int> CollectProgress(const std::function<void(const Progress&)>& work) {
    std::vector<int> seen;
    work(Progress([&](ProgressDirection, int percent) { seen.push_back(percent); }));
    return seen;
}

// A 5 × 5 field F with one pixel C in the middle (blue and green; red stays a flat 77).
// With the kernel summing to n: centre S = n·C + 12(C − F), its edge neighbours
// n·F − 2(C − F), its corner neighbours n·F − (C − F); each divided toward zero.
TEST(SharpenImage, HandComputedNeighbourhood) {
    const struct {
        int field, centre, divisor, outCentre, outEdge, outCorner;
    } cases[] = {{0, 100, 1, 255, 0, 0},       // 1300 clamped; −200, −100
                 {100, 90, 11, 79, 101, 100},  // 870/11; 1120/11; 1110/11
                 {200, 10, 50, 0, 207, 203},   // −1780 → 0; 10380/50; 10190/50
                 {0, 100, 0, 255, 0, 0}};      // divisor 0 is taken as 1
    const auto colour = [](int v) { return 0x4D0000u | static_cast<std::uint32_t>(v) * 0x101u; };
    for (const auto& c : cases) {
        const auto picture = [&](int centre, int edge, int corner) {
            return MakeImage(5, 5, [&](int x, int y) {
                const int dx = std::abs(x - 2), dy = std::abs(y - 2);
                if (dx == 2 || dy == 2) return colour(c.field);  // the outer ring is copied
                return colour(dx + dy == 0 ? centre : dx + dy == 1 ? edge : corner);
            });
        };
        EXPECT_TRUE(SamePixels(SharpenImage(picture(c.centre, c.field, c.field), c.divisor),
                               picture(c.outCentre, c.outEdge, c.outCorner), "sharpen_spike"))
            << c.divisor;
    }
}

// Noise with two isolated extremes, a white pixel on black and a black pixel on white,
// which reach the largest corrections, +12·255 and −12·255: every divisor gives what it gave
// when checked against a plain implementation of the kernel rule (the digest of all fifty).
TEST(SharpenImage, EveryDivisorKeepsItsKnownResult) {
    ImageBuffer src = MakeNoise(12, 8, 5);
    for (int y = 1; y <= 3; ++y) std::memset(src.Line(y) + 3, 0, 9);
    std::memset(src.Line(2) + 6, 255, 3);
    for (int y = 4; y <= 6; ++y) std::memset(src.Line(y) + 18, 255, 9);
    std::memset(src.Line(5) + 21, 0, 3);
    std::uint64_t digest = 0;
    for (int n = 1; n <= kMaxSharpenDivisor; ++n)
        digest = test::PixelDigest(SharpenImage(src, n), digest);
    EXPECT_EQ(digest, 0x260F98337E99A647u);
    // Larger divisors give the same pixels as the largest one.
    EXPECT_TRUE(SamePixels(SharpenImage(src, 100000), SharpenImage(src, kMaxSharpenDivisor)));
}

TEST(SharpenImage, UniformAndThinPicturesAreCopiesWithTheirHeader) {
    ImageBuffer uniform = MakeImage(7, 6, [](int, int) { return 0x3C80F0u; });
    for (int n : {-3, 0, 1, 50, 51, 1 << 30})
        EXPECT_TRUE(SamePixels(SharpenImage(uniform, n), uniform, "sharpen_uniform")) << n;
    for (auto [w, h] : {XY{1, 1}, XY{7, 2}, XY{2, 9}}) {
        ImageBuffer src = MakeNoise(w, h, 11);
        EXPECT_TRUE(SamePixels(SharpenImage(src, 1), src, "sharpen_thin")) << w << "x" << h;
    }
    ImageBuffer src = MakeNoise(6, 5, 3);
    src.Data()[24] = 0xC4;  // a resolution in the header
    const ImageBuffer out = SharpenImage(src, 11);
    EXPECT_EQ(std::memcmp(out.Data(), src.Data(), kBitmapHeaderSize), 0);
}

// A vertical step at column k from luminance a to b. The kernel's column sums are
// −5 −4 18 −4 −5, so L is −5d, −9d, 9d, 5d at columns k − 2 … k + 1 (d = b − a) and 0
// elsewhere: the zero crossings are columns k − 1 and k, where the gradient is d.
TEST(DetectEdges, CrossingBesideAStep) {
    const struct {
        int a, b, column, threshold;
        bool edge;
    } cases[] = {{40, 60, 6, 16, true},    // gradient 20 > 16
                 {60, 40, 6, 19, true},    // falling step, 20 > 19
                 {40, 60, 6, 20, false},   // 20 is not above 20
                 {40, 41, 6, 0, false},    // threshold 0 detects with 1
                 {0, 255, 6, 1000, true},  // above 254 detects with 254
                 {0, 255, 3, 16, true},    // crossing at columns 2 and 3
                 // Column 1 lies outside the computed region and counts as a zero
                 // Laplacian, so column 2 sees only positive values: no edge.
                 {0, 200, 2, 16, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " to " << c.b << " at " << c.column);
        // The step standing and lying down (transposed), on 12 × 8 and 8 × 12.
        for (const bool lying : {false, true}) {
            const int w = lying ? 8 : 12, h = lying ? 12 : 8;
            const auto step = [&](int x, int y) {
                return Grey((lying ? y : x) < c.column ? c.a : c.b);
            };
            const ImageBuffer expected = MakeImage(w, h, [&](int x, int y) {
                const int along = lying ? y : x, across = lying ? x : y;
                const bool inside = across >= 2 && across < 6 && along >= 2 && along < 10;
                return c.edge && inside && (along == c.column - 1 || along == c.column) ? 0u
                                                                                        : 0xFFFFFFu;
            });
            EXPECT_TRUE(SamePixels(DetectEdges(MakeImage(w, h, step), c.threshold), expected));
        }
    }
}

// Noise of several sizes at several thresholds gives what it gave when checked against a plain
// implementation of the Laplacian, zero-crossing and gradient rules (their digest); pictures
// without a full 5 × 5 neighbourhood stay white.
TEST(DetectEdges, NoiseKeepsItsKnownResult) {
    std::uint64_t digest = 0;
    for (auto [w, h] : {XY{1, 1}, XY{4, 9}, XY{9, 4}, XY{5, 5}, XY{6, 7}, XY{64, 40}}) {
        const ImageBuffer src = MakeNoise(w, h, static_cast<std::uint32_t>(w * h));
        for (int t : {0, 16, 100, 255}) {
            const ImageBuffer edges = DetectEdges(src, t);
            digest = test::PixelDigest(edges, digest);
            if (w < 5 || h < 5) {
                EXPECT_TRUE(SamePixels(edges, MakeImage(w, h, [](int, int) { return 0xFFFFFFu; })));
            }
        }
    }
    EXPECT_EQ(digest, 0x80C3FBD52EEF057Eu);
}

TEST(DetectEdges, SameResultFromSeveralThreadsAtOnce) {
    const ImageBuffer src = MakeNoise(300, 200, 8), expected = DetectEdges(src, 30);
    std::vector<ImageBuffer> results(4);
    {
        std::vector<std::jthread> threads;
        for (auto& r : results) threads.emplace_back([&] { r = DetectEdges(src, 30); });
    }
    for (auto& r : results) EXPECT_TRUE(SamePixels(r, expected, "edges_threads"));
}

// Every gradient: the table is the truncated hypot, and the row test gx² + gy² ≥ limit[t]
// says exactly what the table says.
TEST(EdgeMagnitudeTable, TruncatedHypotAndSquareLimitsAgree) {
    const EdgeMagnitudeTable& m = GetEdgeMagnitudeTable();
    for (int gx = -256; gx < 256; ++gx)
        for (int gy = -256; gy < 256; ++gy) {
            const int g = static_cast<int>(std::hypot(gx, gy));
            if (m.At(gx, gy) != g) FAIL() << gx << "," << gy << ": " << m.At(gx, gy);
            for (int t = 1; t <= 254; ++t)
                if ((g > t) != (gx * gx + gy * gy >= m.squareLimit[t]))
                    FAIL() << "t=" << t << " gx=" << gx << " gy=" << gy;
        }
}

TEST(Filters, ProgressPerRowAndOtherDepthsRefused) {
    // Sharpen: rows 1 … 9 of 11 as 100·row / 10. Edges: rows 2 … 6 of 9 as 100·row / 6.
    EXPECT_EQ(CollectProgress([](const Progress& p) { SharpenImage(MakeNoise(4, 11, 2), 11, p); }),
              (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90}));
    EXPECT_EQ(CollectProgress([](const Progress& p) { DetectEdges(MakeNoise(6, 9, 4), 16, p); }),
              (std::vector<int>{33, 50, 66, 83, 100}));
    // A cancelled pass gives no picture.
    const std::atomic<bool> stop{true};
    EXPECT_FALSE(SharpenImage(MakeNoise(40, 30, 2), 11, Progress({}, &stop)));
    EXPECT_FALSE(DetectEdges(MakeNoise(40, 30, 2), 16, Progress({}, &stop)));
    EXPECT_FALSE(SharpenImage(ImageBuffer(), 11));
    EXPECT_FALSE(SharpenImage(test::MakeIndexed(6, 5, 8, 1), 11));
    EXPECT_FALSE(DetectEdges(ImageBuffer(), 16));
    EXPECT_FALSE(DetectEdges(test::MakeIndexed(9, 9, 8, 1), 16));
}

}  // namespace
}  // namespace duplora
