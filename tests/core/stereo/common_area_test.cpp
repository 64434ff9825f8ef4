#include <gtest/gtest.h>

#include <ostream>

#include <climits>

#include "core/stereo/common_area.h"
#include "core/stereo/display_mode.h"

namespace duplora {
namespace {

struct AreaCase {
    const char* name;
    int width, height, dx, dy;
    bool panorama;
    CommonArea expected;  // secondX, secondY, firstX, firstY
};

void PrintTo(const AreaCase& c, std::ostream* os) {
    *os << c.name;
}

class ComputeCommonAreaTest : public ::testing::TestWithParam<AreaCase> {};

TEST_P(ComputeCommonAreaTest, Margins) {
    const AreaCase& c = GetParam();
    const CommonArea a = ComputeCommonArea(c.width, c.height, c.dx, c.dy, c.panorama);
    EXPECT_EQ(a.secondX, c.expected.secondX);
    EXPECT_EQ(a.secondY, c.expected.secondY);
    EXPECT_EQ(a.firstX, c.expected.firstX);
    EXPECT_EQ(a.firstY, c.expected.firstY);
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, ComputeCommonAreaTest,
    ::testing::Values(AreaCase{"zero", 100, 80, 0, 0, false, {0, 0, 0, 0}},
                      // The second view starts 15 columns in: first 0…84 meets second 15…99.
                      AreaCase{"right15", 100, 80, 15, 0, false, {15, 0, 0, 0}},
                      AreaCase{"both", 100, 80, -3, 9, false, {0, 9, 3, 0}},
                      AreaCase{"exactLimit", 100, 80, 90, -70, false, {90, 0, 0, 70}},
                      AreaCase{"clampLeft", 100, 80, -200, 0, false, {0, 0, 90, 0}},
                      AreaCase{
                          "panoramaNoHorizontalClamp", 100, 80, -200, 1000, true, {0, 70, 200, 0}},
                      AreaCase{"hugeOffsets", 100, 80, INT_MAX, INT_MIN, false, {90, 0, 0, 70}},
                      AreaCase{"panoramaIntMin", 100, 80, INT_MIN, 0, true, {0, 0, INT_MAX, 0}},
                      // Ten pixels or fewer cannot keep ten: the offset is dropped.
                      AreaCase{"tenWide", 10, 10, 3, -3, false, {0, 0, 0, 0}},
                      AreaCase{"tinyPicture", 5, 4, 3, -2, false, {0, 0, 0, 0}},
                      AreaCase{"noPicture", 0, 0, 3, 3, false, {0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ComputeCommonArea, KeepsTenPixelsForAnyOffsetAndSwapsWithTheViews) {
    for (int dx = -300; dx <= 300; dx += 7)
        for (int dy = -300; dy <= 300; dy += 11) {
            const CommonArea a = ComputeCommonArea(57, 33, dx, dy);
            ASSERT_GE(57 - a.secondX - a.firstX, 10) << dx;
            ASSERT_GE(33 - a.secondY - a.firstY, 10) << dy;
            ASSERT_TRUE(a.secondX == 0 || a.firstX == 0);
            ASSERT_TRUE(a.secondY == 0 || a.firstY == 0);
            // Swapping the views negates the offset: the margins trade places.
            const CommonArea b = ComputeCommonArea(57, 33, -dx, -dy);
            ASSERT_EQ(a.secondX, b.firstX);
            ASSERT_EQ(a.secondY, b.firstY);
        }
}

TEST(DisplayMode, UnknownNumbersAndPageFlippingDigitsAreNoMode) {
    EXPECT_EQ(DisplayModeFromNumber(22), DisplayMode::ColourAnaglyph);
    EXPECT_FALSE(DisplayModeFromNumber(2).has_value());
    EXPECT_FALSE(DisplayModeFromNumber(-1).has_value());
    const int expected[] = {0, 1, 20, 21, 22};
    for (int digit = 0; digit < 5; ++digit)
        EXPECT_EQ(static_cast<int>(*DisplayModeFromStartDigit(digit)), expected[digit]);
    // 5 and 6 start page flipping, which is no display mode.
    EXPECT_FALSE(DisplayModeFromStartDigit(5).has_value());
    EXPECT_FALSE(DisplayModeFromStartDigit(6).has_value());
}

}  // namespace
}  // namespace duplora
