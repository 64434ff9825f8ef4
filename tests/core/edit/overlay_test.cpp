#include "core/edit/overlay.h"

#include <gtest/gtest.h>

#include <climits>

#include "edit_test_util.h"

namespace duplora {
namespace {

using test::PixelAt;
using test::Where;

TEST(PlaceOverlay, CornerRule) {
    struct Case {
        OverlayPlacement placement;
        int width, height, overlayW, overlayH;
        std::int64_t x, y;
    };
    constexpr std::int64_t kMin = INT_MIN, kMax = INT_MAX;
    const Case cases[] = {// Depth 5 at X distance 10: x = 10 on the left view, 5 on the right one.
                          {{0, 10, 0, 5}, 200, 100, 30, 12, 5, 0},
                          {{1, 10, 7, 5}, 200, 100, 30, 12, 155, 7},
                          {{2, 10, 7, -5}, 200, 100, 30, 12, 15, 81},
                          {{3, 0, 0, 0}, 200, 140, 30, 12, 170, 128},  // band of 40 included
                          {{3, -4, -3, 0}, 200, 100, 300, 120, -96, -17},
                          // No overflow at the ends of the range.
                          {{0, INT_MIN, INT_MAX, INT_MAX}, 10, 10, 1, 1, kMin - kMax, kMax},
                          {{3, INT_MIN, INT_MIN, INT_MIN}, 10, 10, 1, 1, 9 - kMin * 2, 9 - kMin}};
    for (const Case& c : cases) {
        const OverlayOrigin at =
            PlaceOverlay(c.placement, c.width, c.height, c.overlayW, c.overlayH);
        EXPECT_EQ(at.x, c.x) << c.placement.corner << " " << c.placement.xDistance;
        EXPECT_EQ(at.y, c.y) << c.placement.corner << " " << c.placement.yDistance;
    }
}

TEST(PlaceOnBand, BandAboveForTopCornersBelowForBottomOnes) {
    const ImageBuffer picture = test::MakeImage(7, 5, Where);
    const OverlayBand band{3, 0x00FF80};  // red 0x80, green 0xFF, blue 0
    for (int corner = 0; corner < 4; ++corner) {
        const ImageBuffer out = PlaceOnBand(picture, corner, band);
        ASSERT_TRUE(out);
        ASSERT_EQ(out.Width(), 7);
        ASSERT_EQ(out.Height(), 8);
        const int top = corner <= 1 ? 3 : 0;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 7; ++x) {
                const bool inPicture = y >= top && y < top + 5;
                EXPECT_EQ(PixelAt(out, x, y), inPicture ? Where(x, y - top) : 0x80FF00u)
                    << corner << ": " << x << "," << y;
            }
        }
    }
}

TEST(FillPixels, RepeatsTheColourExactly) {
    for (const int count : {1, 3, 7, 1001}) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(count) * 3 + 3, 0xEE);
        const std::uint8_t bgr[3] = {1, 2, 3};
        FillPixels(row.data(), count, bgr);
        for (int k = 0; k < count; ++k)
            ASSERT_EQ((row[k * 3] << 16) | (row[k * 3 + 1] << 8) | row[k * 3 + 2], 0x010203);
        EXPECT_EQ(row[count * 3], 0xEE);  // nothing written past the end
    }
}

TEST(PlaceOnBand, NoBandIsACopyAndBadInputGivesNone) {
    const ImageBuffer picture = test::MakeNoise(4, 4, 1);
    EXPECT_TRUE(test::SamePixels(PlaceOnBand(picture, 2, {0, 0x123456}), picture));  // no band
    EXPECT_FALSE(PlaceOnBand(ImageBuffer{}, 0, {}));
    EXPECT_FALSE(PlaceOnBand(picture, 4, {}));
    EXPECT_FALSE(PlaceOnBand(picture, -1, {}));
    EXPECT_FALSE(PlaceOnBand(picture, 0, {-1, 0}));
    test::MessageCatcher messages;
    EXPECT_FALSE(PlaceOnBand(picture, 0, {INT_MAX, 0}));
    EXPECT_EQ(messages.texts.size(), 1u);
}

}  // namespace
}  // namespace duplora
