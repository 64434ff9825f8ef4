#include "core/edit/border.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "core/batch/hook_recorder.h"
#include "edit_test_util.h"

namespace duplora {
namespace {

using test::FillBox;
using test::PixelAt;
using test::Where;

// Outer red, middle green, inner blue (colour references: red in the low byte).
FrameStyle Style(int o, int m, int i, bool round) {
    FrameStyle s;
    s.outer = o;
    s.middle = m;
    s.inner = i;
    s.outerColour = 0x0000FF;
    s.middleColour = 0x00FF00;
    s.innerColour = 0xFF0000;
    s.roundCorners = round;
    return s;
}
constexpr std::uint32_t kOuter = 0xFF0000, kMiddle = 0x00FF00, kInner = 0x0000FF;

TEST(AddBorder, OutputSizeOfEachLayout) {
    // Defaults 4, 20, 4 (T = 28): two frames across, two down, or one.
    const struct {
        int width, height, layout, outW, outH;
    } cases[] = {{800, 300, 0, 912, 356}, {800, 300, 10, 912, 356}, {400, 600, 1, 456, 712},
                 {400, 600, 2, 456, 656}, {400, 600, 22, 456, 656}, {1, 1, 0, 113, 57}};
    for (const auto& c : cases) {
        const ImageBuffer out =
            AddBorder(test::MakeNoise(c.width, c.height, 3), c.layout, Style(4, 20, 4, true));
        ASSERT_TRUE(out) << c.layout;
        EXPECT_EQ(out.Width(), c.outW) << c.layout;
        EXPECT_EQ(out.Height(), c.outH) << c.layout;
    }
}

// Side by side 6 × 4 with o = 1, m = 2, i = 1 (T = 4): 22 × 12, boxes [0, 11) and [11, 22).
TEST(AddBorder, SideBySideSquareFrames) {
    const ImageBuffer picture = test::MakeImage(6, 4, Where);
    const ImageBuffer out = AddBorder(picture, 0, Style(1, 2, 1, false));
    ImageBuffer expected = CreateImage(22, 12, 24);
    FillBox(expected, 0, 0, 22, 12, kOuter);
    FillBox(expected, 1, 1, 10, 11, kMiddle);
    FillBox(expected, 12, 1, 21, 11, kMiddle);
    FillBox(expected, 3, 3, 8, 9, kInner);
    FillBox(expected, 14, 3, 19, 9, kInner);
    test::PutPicture(expected, picture, 4, 4, 0, 0, 3, 4);
    test::PutPicture(expected, picture, 15, 4, 3, 0, 3, 4);
    EXPECT_TRUE(test::SamePixels(out, expected, "border_side_by_side"));
}

// Over/under 5 × 6 with o = 2, m = 1, i = 0 (T = 3): 11 × 18, boxes rows [0, 9) and [9, 18).
TEST(AddBorder, OverUnderSquareFrames) {
    const ImageBuffer picture = test::MakeImage(5, 6, Where);
    const ImageBuffer out = AddBorder(picture, 1, Style(2, 1, 0, false));
    ImageBuffer expected = CreateImage(11, 18, 24);
    FillBox(expected, 0, 0, 11, 18, kOuter);
    FillBox(expected, 2, 2, 9, 7, kMiddle);
    FillBox(expected, 2, 11, 9, 16, kMiddle);
    test::PutPicture(expected, picture, 3, 3, 0, 0, 5, 3);
    test::PutPicture(expected, picture, 3, 12, 0, 3, 5, 3);
    EXPECT_TRUE(test::SamePixels(out, expected, "border_over_under"));
}

TEST(AddBorder, OddWidthSideBySideFramesMatch) {
    // W = 7, T = 2: W' = 15, boxes [0, 7) and [7, 15); each view 3 columns wide.
    const ImageBuffer picture = test::MakeImage(7, 2, Where);
    const ImageBuffer out = AddBorder(picture, 0, Style(1, 0, 1, false));
    ASSERT_TRUE(out);
    ImageBuffer expected = CreateImage(15, 6, 24);
    FillBox(expected, 0, 0, 15, 6, kOuter);
    FillBox(expected, 1, 1, 6, 5, kInner);
    FillBox(expected, 8, 1, 14, 5, kInner);
    test::PutPicture(expected, picture, 2, 2, 0, 0, 3, 2);
    test::PutPicture(expected, picture, 9, 2, 3, 0, 3, 2);
    EXPECT_TRUE(test::SamePixels(out, expected, "border_odd_width"));
}

TEST(AddBorder, ZeroWidthsGiveThePictureBack) {
    const FrameStyle none = Style(0, 0, 0, true);
    const ImageBuffer even = test::MakeNoise(8, 5, 1);
    for (const int layout : {0, 1, 2}) {
        const ImageBuffer out = AddBorder(even, layout, none);
        ASSERT_TRUE(out);
        ASSERT_EQ(out.Height(), 5);
        // Over/under halves are H / 2 rows each: with an odd height the last row is frame.
        const int rows = layout == 1 ? 4 : 5;
        ImageBuffer expected = CreateImage(8, 5, 24);
        FillBox(expected, 0, 0, 8, 5, kInner);
        test::PutPicture(expected, even, 0, 0, 0, 0, 8, rows);
        EXPECT_TRUE(test::SamePixels(out, expected, "border_zero")) << layout;
    }
    // An odd width keeps both halves W / 2 wide: the last column is frame.
    const ImageBuffer odd = test::MakeImage(5, 3, Where);
    const ImageBuffer out = AddBorder(odd, 0, none);
    ASSERT_TRUE(out);
    ASSERT_EQ(out.Width(), 5);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(out, x, y), Where(x, y));
        EXPECT_EQ(PixelAt(out, 4, y), kInner);
    }
}

// Hand-worked from "pixel centre inside the ellipse": for a 20 × 20 corner, row 0 has its
// centre 9.5 above the ellipse centre, so a pixel is in when its horizontal distance d
// satisfies d² ≤ 10² − 9.5², i.e. d ≤ 3.1: 7 of the 10 corner columns are out.
TEST(RoundedCornerInset, HandWorkedEllipses) {
    struct Case {
        int width, height;
        std::vector<int> insets;  // rows 0, 1, … from the edge, then 0 for all further rows
    };
    const Case cases[] = {{20, 20, {7, 5, 3, 2, 2, 1, 1}},
                          {10, 10, {3, 1, 1}},
                          {4, 4, {1}},
                          {3, 3, {}},
                          {0, 20, {}},
                          {20, 0, {}},
                          {8, 4, {1}},
                          {4, 8, {1}}};
    for (const Case& c : cases)
        for (int row = 0; row < static_cast<int>(c.insets.size()) + 4; ++row)
            EXPECT_EQ(RoundedCornerInset(row, c.width, c.height),
                      row < static_cast<int>(c.insets.size()) ? c.insets[row] : 0)
                << c.width << "x" << c.height << " row " << row;
}

// A circle's corner is the same seen from either side: the number of rows cut at column j
// equals the cut of row j.
TEST(RoundedCornerInset, CircleCornersAreSymmetric) {
    for (int d = 1; d <= 64; ++d) {
        for (int j = 0; j < d; ++j) {
            int rows = 0;
            while (RoundedCornerInset(rows, d, d) > j) ++rows;
            ASSERT_EQ(rows, RoundedCornerInset(j, d, d)) << "diameter " << d << " column " << j;
        }
    }
}

TEST(AddBorder, RoundedMiddleFrameCorners) {
    // Defaults on a 10 × 6 picture, one frame: 66 × 62, middle area [4, 62) × [4, 58).
    const ImageBuffer picture = test::MakeNoise(10, 6, 9);
    const ImageBuffer out = AddBorder(picture, 2, Style(4, 20, 4, true));
    ASSERT_TRUE(out);
    ASSERT_EQ(out.Width(), 66);
    ASSERT_EQ(out.Height(), 62);
    const int insets[] = {7, 5, 3, 2, 2, 1, 1, 0, 0, 0};
    for (int k = 0; k < 10; ++k) {
        for (const int y : {4 + k, 57 - k}) {
            for (int x = 0; x < 66; ++x) {
                std::uint32_t want = kMiddle;
                if (x < 4 + insets[k] || x >= 62 - insets[k]) want = kOuter;
                ASSERT_EQ(PixelAt(out, x, y), want) << x << "," << y;
            }
        }
    }
    // Square corners leave the whole middle row.
    const ImageBuffer square = AddBorder(picture, 2, Style(4, 20, 4, false));
    EXPECT_EQ(PixelAt(square, 4, 4), kMiddle);
    EXPECT_EQ(PixelAt(square, 61, 57), kMiddle);
    EXPECT_EQ(PixelAt(square, 3, 4), kOuter);
}

TEST(AddBorder, IndexedPictureIsFramedInTrueColour) {
    const ImageBuffer picture = test::MakeIndexed(6, 4, 4, 2);
    const ImageBuffer out = AddBorder(picture, 2, Style(1, 1, 1, false));
    ASSERT_TRUE(out);
    ASSERT_EQ(out.BitCount(), 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(PixelAt(out, 3 + x, 3 + y), test::IndexedColour(picture, x, y));
}

TEST(AddBorder, BadInputGivesNone) {
    const ImageBuffer picture = test::MakeNoise(4, 4, 1);
    EXPECT_FALSE(AddBorder(ImageBuffer{}, 0, Style(1, 1, 1, true)));
    EXPECT_FALSE(AddBorder(picture, 0, Style(-1, 1, 1, true)));
    EXPECT_FALSE(AddBorder(picture, 0, Style(1, -5, 1, true)));
    EXPECT_FALSE(AddBorder(picture, 0, Style(1, 1, INT_MIN, true)));
    int w = 0, h = 0;
    EXPECT_FALSE(FramedSize(4, 4, 0, Style(INT_MAX, INT_MAX, INT_MAX, true), w, h));
    test::HookRecorder hooks;
    EXPECT_FALSE(AddBorder(picture, 0, Style(INT_MAX, INT_MAX, INT_MAX, true)));
    EXPECT_FALSE(AddBorder(picture, 0, Style(20000, 0, 0, false)));  // 80004 wide
    EXPECT_EQ(hooks.messages.size(), 2u);
}

}  // namespace
}  // namespace duplora
