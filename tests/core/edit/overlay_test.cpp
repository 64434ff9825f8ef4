#include "core/edit/overlay.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "core/batch/hook_recorder.h"
#include "edit_test_util.h"

namespace duplora {
namespace {

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
    test::HookRecorder hooks;
    EXPECT_FALSE(PlaceOnBand(noise, 0, {INT_MAX, 0}));
    EXPECT_EQ(hooks.messages.size(), 1u);
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

}  // namespace
}  // namespace duplora
