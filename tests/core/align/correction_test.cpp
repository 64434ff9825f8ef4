#include "core/align/correction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>
#include <climits>
#include <cstring>
#include <random>

#include "align_test_util.h"
#include "core/image/rotate.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::GreyAt;
using test::GreyNoise;
using test::MakeNoise;
using test::PixelAt;
using test::PixelDigest;
using test::SamePixels;

constexpr auto kBilinear = CorrectionSampling::Bilinear;
constexpr auto kFramed = CorrectionSampling::BilinearBlackFrame;
constexpr auto kNearest = CorrectionSampling::Nearest;

ImageBuffer Perspective(bool vertical, const ImageBuffer& src, int angle, int fov, int outW,
                        int outH, CorrectionSampling sampling) {
    return vertical ? PerspectiveVerticalStep(src, angle, fov, outW, outH, sampling)
                    : PerspectiveHorizontalStep(src, angle, fov, outW, outH, sampling);
}

TEST(RotationStep, ZeroAngleCopiesAllButTheLastColumnAndRow) {
    // A position must have a right and an upper neighbour to be sampled.
    const ImageBuffer src = GreyNoise(9, 7, 1);
    for (CorrectionSampling sampling : {kBilinear, kNearest}) {
        const ImageBuffer out = RotationStep(src, 0, 9, 7, sampling);
        ASSERT_TRUE(out);
        for (int r = 0; r < 7; ++r)
            for (int x = 0; x < 9; ++x)
                ASSERT_EQ(GreyAt(out, x, r), (x == 8 || r == 6) ? 0 : GreyAt(src, x, r))
                    << x << "," << r;
    }
}

TEST(RotationStep, BilinearWeightsByHand) {
    // 45°: C = S = 724; output (2, 1) of a 3 × 3 picture reads (1748, 1748)/1024, so
    // ix = iy = 1 and fx = fy = 181. With p00 10, p10 200, p01 50, p11 255:
    // top = M[200][181] + M[10][74] = 141 + 2; bottom = M[255][181] + M[50][74] = 181 + 14;
    // result = M[143][74] + M[195][181] = 41 + 138.
    const int values[3][3] = {{0, 0, 0}, {0, 10, 200}, {0, 50, 255}};
    const ImageBuffer src = test::MakeGrey(3, 3, [&](int x, int r) { return values[r][x]; });
    const ImageBuffer out = RotationStep(src, 450, 3, 3, kBilinear);
    EXPECT_EQ(GreyAt(out, 2, 1), 179);
    EXPECT_EQ(GreyAt(out, 1, 1), 10);  // the centre stays, fractions 0
    EXPECT_EQ(GreyAt(RotationStep(src, 450, 3, 3, kNearest), 2, 1), 10);
}

// c s t d p q b sigma step g start e f delta depth0, all 0 when there is no setup.
using SetupFields = std::array<std::int64_t, 15>;
SetupFields PerspectiveFields(int angle, int fov, int along, int across) {
    const auto ps = ComputePerspectiveSetup(angle, fov, along, across);
    if (!ps) return {};
    return {ps->c,    ps->s, ps->t,     ps->d, ps->p, ps->q,     ps->b,     ps->sigma,
            ps->step, ps->g, ps->start, ps->e, ps->f, ps->delta, ps->depth0};
}

TEST(PerspectiveSetup, ConstantsByHand) {
    // 6000 × 4000 at 0°: T = 368 does not divide sw·2^20, so p = sw·1024 − 1 and the step
    // along the axis comes out at 1023, not 1024.
    EXPECT_EQ(PerspectiveFields(0, 198, 3000, 2000),
              (SetupFields{1024, 0, 368, 8548173, 3071999, 3071999, 3072001, 6144002, 1023, 1, 0,
                           2048000, 0, 0, 2048000}));
    EXPECT_EQ(PerspectiveFields(-250, 272, 240, 320),
              (SetupFields{928, -432, 526, 478437, 299017, 192502, 183052, 467390, 1076, -62708,
                           -65892, 269317, -149019, -326, 249354}));
}

TEST(PerspectiveSetup, RefusesWhatHasNoProjection) {
    EXPECT_FALSE(ComputePerspectiveSetup(899, 660, 100, 100));   // an edge behind the eye
    EXPECT_FALSE(ComputePerspectiveSetup(-700, 484, 100, 100));  // the other edge
    EXPECT_FALSE(ComputePerspectiveSetup(100, 0, 100, 100));     // no field of view
    EXPECT_FALSE(ComputePerspectiveSetup(100, 900, 100, 100));
    EXPECT_FALSE(ComputePerspectiveSetup(100, 198, 0, 100));
    EXPECT_TRUE(ComputePerspectiveSetup(-600, 484, 100, 100));
    EXPECT_TRUE(ComputePerspectiveSetup(899, 198, 1, 1));  // 89.9° with a normal lens
}

TEST(PerspectiveSteps, ZeroAngleReproducesTheSource) {
    // Even where the projection's constants are inexact (6000 wide gives a step of 1023).
    for (auto [w, h] : {std::pair{6000, 4}, std::pair{37, 21}})
        for (const ImageBuffer& src : {GreyNoise(w, h, 5), MakeNoise(w, h, 6)})
            for (bool vertical : {true, false})
                for (CorrectionSampling sampling : {kBilinear, kNearest, kFramed})
                    EXPECT_TRUE(SamePixels(Perspective(vertical, src, 0, 198, w, h, sampling), src))
                        << w << " " << src.BitCount() << " " << vertical;
}

TEST(PerspectiveSteps, NearestSourcePixelByHand) {
    const struct {
        bool vertical;
        int angle, fov, width, height, x, y;  // output pixel, stored rows
        int sourceX, sourceY;                 // -1: black
    } cases[] = {{true, 100, 198, 200, 100, 0, 0, 5, 2},
                 {true, 100, 198, 200, 100, 190, 97, -1, -1},
                 {false, -250, 272, 640, 480, 10, 400, 52, 355},
                 {false, -250, 272, 640, 480, 600, 20, -1, -1}};
    for (const auto& c : cases) {
        // Blue holds the column, green the stored row, red marks a sampled pixel.
        const ImageBuffer src = test::MakeImage(c.width, c.height, [&](int x, int y) {
            return 0x010000u | ((c.height - 1 - y) & 0xFF) << 8 | (x & 0xFF);
        });
        const ImageBuffer out =
            Perspective(c.vertical, src, c.angle, c.fov, c.width, c.height, kNearest);
        ASSERT_TRUE(out);
        const std::uint8_t* p = out.StoredRow(c.y) + 3 * c.x;
        SCOPED_TRACE(testing::Message() << c.vertical << " " << c.x << "," << c.y);
        EXPECT_EQ(p[2], c.sourceX < 0 ? 0 : 1);
        if (c.sourceX >= 0) {
            EXPECT_EQ(p[0], c.sourceX % 256);
            EXPECT_EQ(p[1], c.sourceY % 256);
        }
    }
}

TEST(PerspectiveSteps, AnglesBeyondTheLimitAreClamped) {
    const ImageBuffer src = GreyNoise(40, 30, 7);
    for (bool vertical : {true, false}) {
        auto step = [&](int angle) {
            return Perspective(vertical, src, angle, 198, 40, 30, kBilinear);
        };
        EXPECT_TRUE(SamePixels(step(1500), step(899)));
        EXPECT_TRUE(SamePixels(step(INT_MIN), step(-899)));
        EXPECT_NE(PixelDigest(step(898)), PixelDigest(step(899)));
    }
}

TEST(CorrectionTransform, RunsAllThreeStepsOnTheCanvas) {
    // A view shrunk to 64 × 48 on its 80 × 60 canvas; with two angles set, the step at 0
    // runs too.
    const ImageBuffer src = MakeNoise(64, 48, 8);
    const ImageBuffer expected = PerspectiveHorizontalStep(
        PerspectiveVerticalStep(RotationStep(src, 15, 80, 60, kFramed), 0, 198, 80, 60, kFramed),
        40, 198, 80, 60, kFramed);
    EXPECT_TRUE(SamePixels(CorrectionTransform(src, 15, 0, 40, 80, 60), expected));
}

// A correction and a quarter turn report rising percents on the calling thread and give
// nothing once cancelled; the picture is the same as without progress.
TEST(LongPasses, ReportProgressAndStopWhenCancelled) {
    const ImageBuffer src = test::MakeNoise(600, 400, 3);
    const struct {
        const char* name;
        std::function<ImageBuffer(const Progress&)> run;
    } passes[] = {
        {"rotation", [&](const Progress& p) { return CorrectionTransform(src, 25, 0, 0, p); }},
        {"three steps", [&](const Progress& p) { return CorrectionTransform(src, 25, 30, -20, p); }},
        {"quarter turn", [&](const Progress& p) { return RotateQuarter(src, kRotateClockwise, p); }},
    };
    for (const auto& pass : passes) {
        SCOPED_TRACE(pass.name);
        std::vector<int> seen;
        const Progress watched([&](ProgressDirection d, int percent) {
            EXPECT_EQ(d, ProgressDirection::Writing);
            seen.push_back(percent);
        });
        const ImageBuffer out = pass.run(watched);
        ASSERT_TRUE(out);
        EXPECT_TRUE(SamePixels(out, pass.run(NoProgress())));
        ASSERT_FALSE(seen.empty());
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_GE(seen.back(), 60);
        const std::atomic<bool> stop{true};
        EXPECT_FALSE(pass.run(Progress({}, &stop)));
    }
}

TEST(PreviewCorrection, SameChainOnGreyWithItsSampling) {
    const ImageBuffer grey = GreyNoise(64, 48, 9);
    for (bool nearest : {false, true}) {
        const CorrectionSampling sampling = nearest ? kNearest : kBilinear;
        const ImageBuffer expected = PerspectiveHorizontalStep(
            PerspectiveVerticalStep(RotationStep(grey, 25, 64, 48, sampling), 90, 272, 64, 48,
                                    sampling),
            -70, 272, 64, 48, sampling);
        const ImageBuffer out = PreviewCorrection(grey, 25, 90, -70, nearest, 272);
        ASSERT_TRUE(out);
        EXPECT_TRUE(SamePixels(out, expected));
        EXPECT_EQ(out.ColourTable()[4 * 77 + 2], 77);  // the grey palette
    }
}

TEST(CorrectionTransform, BadInputGivesNothing) {
    const ImageBuffer colour = MakeNoise(20, 10, 10);
    const ImageBuffer grey = GreyNoise(20, 10, 10);
    EXPECT_FALSE(CorrectionTransform(ImageBuffer{}, 10, 0, 0));
    EXPECT_FALSE(CorrectionTransform(grey, 10, 0, 0));
    EXPECT_FALSE(CorrectionTransform(test::MakeIndexed(20, 10, 4, 1), 10, 0, 0));
    EXPECT_FALSE(CorrectionTransform(colour, 10, 0, 0, 0, 10));
    EXPECT_FALSE(CorrectionTransform(colour, 10, 0, 0, 70000, 10));
    EXPECT_FALSE(CorrectionTransform(colour, 0, 10, 0, 0, 0, 0));    // no field of view
    EXPECT_FALSE(CorrectionTransform(colour, 0, 0, 10, 0, 0, 900));  // beyond 89.9°
    EXPECT_FALSE(CorrectionTransform(colour, 10, 0, 899, 0, 0, 660));
    EXPECT_FALSE(PreviewCorrection(ImageBuffer{}, 10, 0, 0));
    EXPECT_FALSE(PreviewCorrection(colour, 10, 0, 0));
    EXPECT_FALSE(RotationStep(test::MakeIndexed(20, 10, 1, 1), 10, 20, 10, kBilinear));
}

TEST(CorrectionTransform, ExtremeAnglesAndTinyPicturesStayInside) {
    // Every rotation is a valid turn; pictures too small for a 2 × 2 neighbourhood come
    // back black.
    const ImageBuffer src = MakeNoise(30, 20, 11);
    for (int angle : {INT_MAX, INT_MIN}) EXPECT_TRUE(CorrectionTransform(src, angle, 0, 0));
    EXPECT_TRUE(
        SamePixels(CorrectionTransform(src, 3600, 0, 0), CorrectionTransform(src, 0, 0, 0)));
    for (auto [w, h] : {std::pair{1, 1}, {1, 30}, {30, 1}, {2, 2}}) {
        const ImageBuffer tiny = MakeNoise(w, h, 12);
        for (auto [r, v, hz] : {std::tuple{300, 0, 0}, {0, 500, 0}, {0, 0, -500}}) {
            const ImageBuffer out = CorrectionTransform(tiny, r, v, hz);
            ASSERT_TRUE(out) << w << "x" << h;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) ASSERT_EQ(PixelAt(out, x, y), 0u);
        }
    }
    // A turn keeps the centre of the picture (column w/2 of stored row h/2) where it was.
    const ImageBuffer turned = CorrectionTransform(src, 15, 0, 0);
    EXPECT_EQ(std::memcmp(turned.StoredRow(10) + 45, src.StoredRow(10) + 45, 3), 0);
}

// Random pictures, sizes, lenses, angles and samplings: the steps give what they gave when
// they were checked pixel by pixel against a plain implementation of the fixed-point rules
// (the digests of all 240 rounds, rotation, vertical and horizontal step). Now and then a
// wide picture, so that rows span several column strips; a lens and angle without a
// projection give nothing.
TEST(CorrectionSteps, RandomPicturesAndAnglesKeepTheirKnownResults) {
    std::mt19937 rng(2024);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const CorrectionSampling samplings[] = {kBilinear, kFramed, kNearest};
    const int lenses[] = {660, 484, 272, 198, 135, 97, 49};
    std::array<std::uint64_t, 3> digests{};
    for (int round = 0; round < 240; ++round) {
        const bool wide = round % 8 == 5;
        const int w = wide ? uniform(500, 1200) : uniform(2, 70);
        const int h = wide ? uniform(2, 12) : uniform(2, 70);
        const bool colour = uniform(0, 1) == 1;
        const ImageBuffer src = colour ? MakeNoise(w, h, round) : GreyNoise(w, h, round);
        int outW = w, outH = h;
        if (round % 3 == 1) outW = uniform(1, wide ? 1300 : 90), outH = uniform(1, 90);
        const CorrectionSampling sampling = samplings[round % 3];
        const int fov = lenses[uniform(0, 6)];
        const int rotation = uniform(-1800, 1800), angle = uniform(-950, 950);
        digests[0] = PixelDigest(RotationStep(src, rotation, outW, outH, sampling), digests[0]);
        for (bool vertical : {true, false})
            digests[vertical ? 1 : 2] =
                PixelDigest(Perspective(vertical, src, angle, fov, outW, outH, sampling),
                            digests[vertical ? 1 : 2]);
    }
    EXPECT_EQ(digests, (std::array<std::uint64_t, 3>{0x6BB98F0E4ADD6AE9, 0x899B377F668E58A9,
                                                     0xBBEF2C79111D2B0E}));
}

}  // namespace
}  // namespace duplora
