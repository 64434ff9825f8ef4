// Alignment by features on the real pairs (two files, a multi-picture file, and the views of
// the side-by-side and over/under samples): a known warp of the right view is found again,
// the aligned pairs keep hardly any vertical disparity, and the warp itself moves pixels
// where its map says.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <string>

#include "core/align/feature_align.h"
#include "core/formats/mpo.h"
#include "core/formats/stereo_open.h"
#include "res/core/string_ids.h"
#include "support/test_support.h"

namespace duplora {
namespace {

// The targets: a warp found again within 0.05°, 0.5 px and 0.1 %, and at most 0.5 px of
// vertical disparity left in the aligned pair.
constexpr double kRotation = 0.05, kShift = 0.5, kScalePercent = 0.1, kResidual = 0.5;

// Two files, or one file holding both views in `layout`.
struct SamplePair {
    const char* name;
    const char* left;
    const char* right;
    StereoLayout layout = StereoLayout::Pair;
};

constexpr SamplePair kPairs[] = {
    {"frozenpond", "pairs/frozenpond_l.jpg", "pairs/frozenpond_r.jpg"},
    {"sugarshack", "pairs/sugarshack_l.jpg", "pairs/sugarshack_r.jpg"},
    {"gx8", "pairs/gx8_l.jpg", "pairs/gx8_r.jpg"},
    {"gx8mpo", "mpo/gx8.mpo", nullptr, StereoLayout::Mpo},
    {"calf", "single-file/calf-left-right.jpg", nullptr, StereoLayout::SideBySide},
    {"stereograph", "single-file/stereograph.left-right.jpg", nullptr, StereoLayout::SideBySide},
    // A wide-angle rig whose two lenses bend the picture differently.
    {"gopro", "single-file/GOPR0.left-right.jpg", nullptr, StereoLayout::SideBySide},
    {"capoda", "single-file/capoda.left-right.jpg", nullptr, StereoLayout::SideBySide},
    {"walrus", "single-file/walrus-360.top-bottom.jpg", nullptr, StereoLayout::OverUnder},
};

// Warps of the right view: rotation in degrees, vertical shift in pixels, scale.
struct Warp {
    double rotation, shift, scale;
};
constexpr Warp kWarps[] = {
    {2.0, 0, 1},  {-2.0, 0, 1},      {0, 40, 1},         {0, -40, 1},       {0, 0, 1.02},
    {0, 0, 0.98}, {1.3, -25, 1.015}, {-0.7, 33.3, 0.99}, {-2.0, -40, 1.02}, {2.0, 40, 0.98},
};

struct LoadedPair {
    ImageBuffer left, right;
    FeatureAlignment base;
};

// Each pair decoded and aligned once for all its cases.
const LoadedPair* Pair(const SamplePair& sample) {
    static std::map<std::string, LoadedPair> loaded;
    auto it = loaded.find(sample.name);
    if (it == loaded.end()) {
        LoadedPair pair;
        if (sample.right) {
            pair.left = test::LoadSample(sample.left);
            pair.right = test::LoadSample(sample.right);
        } else if (sample.layout == StereoLayout::Mpo) {
            MpoViews views = ReadMpoFile(test::SamplePath(sample.left));
            pair.left = std::move(views.left);
            pair.right = std::move(views.right);
        } else {
            StereoViews views = SplitStereoPicture(test::LoadSample(sample.left), sample.layout);
            pair.left = std::move(views.left);
            pair.right = std::move(views.right);
        }
        if (pair.left && pair.right) {
            Result<FeatureAlignment> base = FindFeatureAlignment(pair.left, pair.right);
            if (base) pair.base = base.Value();
        }
        it = loaded.emplace(sample.name, std::move(pair)).first;
    }
    return it->second.left && it->second.base.matches > 0 ? &it->second : nullptr;
}

using Matrix = std::array<double, 9>;

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix c{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) c[i * 3 + j] += a[i * 3 + k] * b[k * 3 + j];
    return c;
}

Matrix Inverse(const Matrix& m) {
    const double det = m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
                       m[2] * (m[3] * m[7] - m[4] * m[6]);
    return {(m[4] * m[8] - m[5] * m[7]) / det, (m[2] * m[7] - m[1] * m[8]) / det,
            (m[1] * m[5] - m[2] * m[4]) / det, (m[5] * m[6] - m[3] * m[8]) / det,
            (m[0] * m[8] - m[2] * m[6]) / det, (m[2] * m[3] - m[0] * m[5]) / det,
            (m[3] * m[7] - m[4] * m[6]) / det, (m[1] * m[6] - m[0] * m[7]) / det,
            (m[0] * m[4] - m[1] * m[3]) / det};
}

struct Expected {
    double rotation, scale, shift;
};

// The pair's own alignment after the warp is undone, A ∘ W⁻¹, read back as the parameters
// of the fitted map. The bend works on the left view's side and stays as it is. The
// vertical position depends on the second and third rows of the matrix only (about the
// centre, third element 1): the shift is the second row's last element, and a and b follow
// from its first two.
Expected Composed(const FeatureAlignment& pair, const FeatureAlignment& warp) {
    const double cx = (pair.width - 1) / 2.0, cy = (pair.height - 1) / 2.0;
    const Matrix toCentre{1, 0, -cx, 0, 1, -cy, 0, 0, 1};
    const Matrix fromCentre{1, 0, cx, 0, 1, cy, 0, 0, 1};
    Matrix h = Multiply(
        toCentre, Multiply(Multiply(pair.Homography(), Inverse(warp.Homography())), fromCentre));
    for (double& v : h) v /= h[8];
    const double t = h[5], a = h[3] - t * h[6], b = h[4] - t * h[7];
    return {std::atan2(a, b) * 180 / std::numbers::pi, std::hypot(a, b), t};
}

class FeatureAlignRecovery : public testing::TestWithParam<std::tuple<SamplePair, Warp>> {};

// Aligning the warped right view must undo the warp on top of the pair's own alignment:
// with A the pair's alignment and W the warp, the new fit is A ∘ W⁻¹.
TEST_P(FeatureAlignRecovery, FindsTheWarpAgain) {
    const auto& [sample, warp] = GetParam();
    if (!test::SampleExists(sample.left)) GTEST_SKIP() << "no samples";
    const LoadedPair* pair = Pair(sample);
    ASSERT_NE(pair, nullptr) << sample.name;

    FeatureAlignment w;
    w.rotation = warp.rotation;
    w.verticalShift = warp.shift;
    w.scale = warp.scale;
    w.width = pair->right.Width();
    w.height = pair->right.Height();
    const ImageBuffer warped = ApplyFeatureAlignment(pair->right, w);
    ASSERT_TRUE(warped);
    Result<FeatureAlignment> found = FindFeatureAlignment(pair->left, warped);
    ASSERT_TRUE(found) << found.Error().MessageText();

    const Expected expected = Composed(pair->base, w);
    const double rotationError = found.Value().rotation - expected.rotation;
    const double shiftError = found.Value().verticalShift - expected.shift;
    const double scaleError = (found.Value().scale / expected.scale - 1) * 100;
    std::printf(
        "recovery %-10s rot %+5.2f° shift %+6.1f px scale %5.1f%%: error %+.4f° %+.3f px "
        "%+.4f%%, bend %.2e for %.2e (%d matches)\n",
        sample.name, warp.rotation, warp.shift, warp.scale * 100, rotationError, shiftError,
        scaleError, found.Value().bend, pair->base.bend, found.Value().matches);
    EXPECT_LE(std::abs(rotationError), kRotation);
    EXPECT_LE(std::abs(shiftError), kShift);
    EXPECT_LE(std::abs(scaleError), kScalePercent);
}

INSTANTIATE_TEST_SUITE_P(SamplePairs, FeatureAlignRecovery,
                         testing::Combine(testing::ValuesIn(kPairs), testing::ValuesIn(kWarps)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::to_string(info.index);
                         });

class FeatureAlignResidual : public testing::TestWithParam<SamplePair> {};

// After the alignment the matched features of a real pair sit at nearly the same height.
TEST_P(FeatureAlignResidual, LeavesLittleVerticalDisparity) {
    const SamplePair& sample = GetParam();
    if (!test::SampleExists(sample.left)) GTEST_SKIP() << "no samples";
    const LoadedPair* pair = Pair(sample);
    ASSERT_NE(pair, nullptr) << sample.name;
    const FeatureAlignment& a = pair->base;
    std::printf(
        "pair %-10s rot %+.3f° scale %.4f shift %+.2f px keystone %.2e bend %.2e: "
        "residual %.3f px -> %.3f px (%d matches)\n",
        sample.name, a.rotation, a.scale, a.verticalShift, a.keystone, a.bend, a.residualBefore,
        a.residualAfter, a.matches);
    EXPECT_LE(a.residualAfter, kResidual);
    EXPECT_GE(a.matches, 50);

    // The resampled pair, measured again, keeps as little disparity as the fit promised and
    // has nothing to turn, scale or bend.
    const ImageBuffer aligned = ApplyFeatureAlignment(pair->right, a);
    Result<FeatureAlignment> again = FindFeatureAlignment(pair->left, aligned);
    ASSERT_TRUE(again);
    std::printf("aligned %-10s residual %.3f px (%d matches)\n", sample.name,
                again.Value().residualBefore, again.Value().matches);
    EXPECT_NEAR(again.Value().rotation, 0, kRotation);
    EXPECT_NEAR(again.Value().scale, 1, kScalePercent / 100);
    EXPECT_NEAR(again.Value().bend * a.width * a.width, 0, 0.01);
    EXPECT_LE(again.Value().residualBefore, kResidual);
}

INSTANTIATE_TEST_SUITE_P(SamplePairs, FeatureAlignResidual, testing::ValuesIn(kPairs),
                         [](const auto& info) { return std::string(info.param.name); });

// A picture without structure gives no fit, and says so.
TEST(FeatureAlign, RefusesPicturesWithoutFeatures) {
    const ImageBuffer flat = test::MakeImage(400, 300, [](int, int) { return 0x808080u; });
    Result<FeatureAlignment> found = FindFeatureAlignment(flat, flat);
    ASSERT_FALSE(found);
    EXPECT_EQ(found.Error().textId, StringId::AutoAlignTooFewFeatures);
}

// The warp moves pixels as its map says: a whole-pixel shift copies rows, and a view's
// rows that the shift pushes out leave black behind.
TEST(FeatureAlign, ShiftMovesWholeRows) {
    const ImageBuffer view = test::MakeNoise(64, 48, 7);
    FeatureAlignment down;
    down.verticalShift = 3;
    down.width = 64;
    down.height = 48;
    const ImageBuffer moved = ApplyFeatureAlignment(view, down);
    ASSERT_TRUE(moved);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t expected = y < 3 ? 0u : test::PixelAt(view, x, y - 3);
            ASSERT_EQ(test::PixelAt(moved, x, y), expected) << x << "," << y;
        }
    // Keeping the whole shift for the pair's offset leaves the view as it is.
    const ImageBuffer kept = ApplyFeatureAlignment(view, down, 3);
    EXPECT_EQ(test::PixelDigest(kept), test::PixelDigest(view));
}

// A bent alignment with a strong keystone moves a row where its map says, the kept shift
// left to the caller.
TEST(FeatureAlign, ResamplingFollowsTheMap) {
    constexpr int kWidth = 801, kHeight = 601, kRow = 100, kKept = 3;
    const ImageBuffer view =
        test::MakeImage(kWidth, kHeight, [](int, int y) { return y == kRow ? 0xffffffu : 0u; });
    FeatureAlignment a;
    a.rotation = 0.3;
    a.verticalShift = 3.4;
    a.keystone = 2e-5;
    a.bend = -2e-8;
    a.width = kWidth;
    a.height = kHeight;
    const ImageBuffer moved = ApplyFeatureAlignment(view, a, kKept);
    ASSERT_TRUE(moved);
    for (int x = 50; x < kWidth - 50; x += 50) {
        // The brightness-weighted height of the line in this column.
        double sum = 0, weight = 0;
        for (int y = 0; y < kHeight; ++y) {
            const double w = test::PixelAt(moved, x, y) & 0xff;
            sum += w * y;
            weight += w;
        }
        ASSERT_GT(weight, 0) << x;
        EXPECT_NEAR(sum / weight, a.MapY(x, kRow) - kKept, 0.05) << x;
    }
}

// The map's vertical position and the matrix agree, and a positive rotation turns the
// right-hand side of the picture down (clockwise on screen).
TEST(FeatureAlign, MapAndMatrixAgree) {
    FeatureAlignment a;
    a.rotation = 1.5;
    a.scale = 1.01;
    a.verticalShift = -12.5;
    a.keystone = 2e-5;
    a.width = 1001;
    a.height = 801;
    const auto h = a.Homography();
    for (const auto& [x, y] :
         {std::pair{0.0, 0.0}, {1000.0, 0.0}, {500.0, 400.0}, {1000.0, 800.0}}) {
        const double w = h[6] * x + h[7] * y + h[8];
        EXPECT_NEAR((h[3] * x + h[4] * y + h[5]) / w, a.MapY(x, y), 1e-9);
    }
    FeatureAlignment turn;
    turn.rotation = 1;
    turn.width = 1001;
    turn.height = 801;
    EXPECT_GT(turn.MapY(1000, 400), 400);
    EXPECT_LT(turn.MapY(0, 400), 400);
}

}  // namespace
}  // namespace duplora
