#include "core/edit/border.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "edit_test_util.h"
#include "support/told.h"

namespace duplora {
namespace {

using test::FillBox;
using test::PixelAt;
using test::PutPicture;
using test::Where;

// Outer red, middle green, inner blue (colour references: red in the low byte).
FrameStyle Style(int o, int m, int i, bool round = false) {
    return {o, m, i, 0x0000FF, 0x00FF00, 0xFF0000, round};
}
constexpr std::uint32_t kOuter = 0xFF0000, kMiddle = 0x00FF00, kInner = 0x0000FF;
// A frame round each half, or one round the whole picture.
constexpr DisplayMode kSideBySide = DisplayMode::SideBySide, kOverUnder = DisplayMode::OverUnder,
                      kWhole = DisplayMode::Single;

TEST(AddBorder, OutputSizeOfEachLayout) {
    // Defaults 4, 20, 4 (T = 28): two frames across, two down, or one.
    using M = DisplayMode;
    const struct {
        int width, height;
        DisplayMode mode;
        int outW, outH;
    } cases[] = {{800, 300, M::SideBySide, 912, 356},     {800, 300, M::ThreeViews, 912, 356},
                 {400, 600, M::OverUnder, 456, 712},      {400, 600, M::Single, 456, 656},
                 {400, 600, M::ColourAnaglyph, 456, 656}, {1, 1, M::SideBySide, 113, 57}};
    for (const auto& c : cases) {
        const ImageBuffer out = test::Made(
            AddBorder(test::MakeNoise(c.width, c.height, 3), c.mode, Style(4, 20, 4, true)));
        EXPECT_EQ(std::pair(out.Width(), out.Height()), std::pair(c.outW, c.outH))
            << static_cast<int>(c.mode);
    }
}

TEST(AddBorder, SquareFramesDrawnBoxByBox) {
    // Side by side with o, m, i = 1, 2, 1 (T = 4): 6 × 4 gives 22 × 12, boxes [0, 11) and
    // [11, 22); the large picture is framed in bands over the cores.
    for (const ImageBuffer& wide : {test::MakeImage(6, 4, Where), test::MakeNoise(1500, 800, 4)}) {
        const int w = wide.Width() / 2, h = wide.Height(), box = w + 8;
        ImageBuffer expected = CreateImage(2 * box, h + 8, 24);
        FillBox(expected, 0, 0, 2 * box, h + 8, kOuter);
        for (const int k : {0, 1}) {
            FillBox(expected, k * box + 1, 1, k * box + box - 1, h + 7, kMiddle);
            FillBox(expected, k * box + 3, 3, k * box + box - 3, h + 5, kInner);
            PutPicture(expected, wide, k * box + 4, 4, k * w, 0, w, h);
        }
        EXPECT_TRUE(
            test::SamePixels(AddBorder(wide, kSideBySide, Style(1, 2, 1)), expected, "border_sbs"));
    }
    // Over/under 5 × 6 with 2, 1, 0 (T = 3): 11 × 18, boxes rows [0, 9) and [9, 18).
    const ImageBuffer tall = test::MakeImage(5, 6, Where);
    ImageBuffer expected = CreateImage(11, 18, 24);
    FillBox(expected, 0, 0, 11, 18, kOuter);
    for (const int top : {0, 9}) {
        FillBox(expected, 2, top + 2, 9, top + 7, kMiddle);
        PutPicture(expected, tall, 3, top + 3, 0, top ? 3 : 0, 5, 3);
    }
    EXPECT_TRUE(
        test::SamePixels(AddBorder(tall, kOverUnder, Style(2, 1, 0)), expected, "border_ou"));
    // Side by side 7 × 2 with 1, 0, 1 (T = 2): 15 × 6, boxes [0, 7) and [7, 15), each view 3
    // columns wide.
    const ImageBuffer odd = test::MakeImage(7, 2, Where);
    expected = CreateImage(15, 6, 24);
    FillBox(expected, 0, 0, 15, 6, kOuter);
    FillBox(expected, 1, 1, 6, 5, kInner);
    FillBox(expected, 8, 1, 14, 5, kInner);
    PutPicture(expected, odd, 2, 2, 0, 0, 3, 2);
    PutPicture(expected, odd, 9, 2, 3, 0, 3, 2);
    EXPECT_TRUE(
        test::SamePixels(AddBorder(odd, kSideBySide, Style(1, 0, 1)), expected, "border_odd"));
}

TEST(AddBorder, ZeroWidthsGiveThePictureBack) {
    const ImageBuffer even = test::MakeNoise(8, 5, 1);
    for (const DisplayMode mode : {kSideBySide, kOverUnder, kWhole}) {
        // Over/under halves are H / 2 rows each: with an odd height the last row is frame.
        ImageBuffer expected = CreateImage(8, 5, 24);
        FillBox(expected, 0, 0, 8, 5, kInner);
        PutPicture(expected, even, 0, 0, 0, 0, 8, mode == kOverUnder ? 4 : 5);
        EXPECT_TRUE(
            test::SamePixels(AddBorder(even, mode, Style(0, 0, 0, true)), expected, "border_zero"))
            << static_cast<int>(mode);
    }
    // An odd width keeps both halves W / 2 wide: the last column is frame.
    EXPECT_TRUE(test::SamePixels(
        AddBorder(test::MakeImage(5, 3, Where), kSideBySide, Style(0, 0, 0, true)),
        test::MakeImage(5, 3, [](int x, int y) { return x < 4 ? Where(x, y) : kInner; })));
}

// Hand-worked from "pixel centre inside the ellipse": for a 20 × 20 corner, row 0 has its
// centre 9.5 above the ellipse centre, so a pixel is in when its horizontal distance d
// satisfies d² ≤ 10² − 9.5², i.e. d ≤ 3.1: 7 of the 10 corner columns are out.
TEST(RoundedCornerInset, HandWorkedEllipsesAndSymmetricCircles) {
    const struct {
        int width, height;
        std::vector<int> insets;  // rows 0, 1, … from the edge, then 0 for all further rows
    } cases[] = {{20, 20, {7, 5, 3, 2, 2, 1, 1}},
                 {10, 10, {3, 1, 1}},
                 {4, 4, {1}},
                 {3, 3, {}},
                 {0, 20, {}},
                 {20, 0, {}},
                 {8, 4, {1}},
                 {4, 8, {1}}};
    for (const auto& c : cases)
        for (int row = 0; row < int(c.insets.size()) + 4; ++row)
            EXPECT_EQ(RoundedCornerInset(row, c.width, c.height),
                      row < int(c.insets.size()) ? c.insets[row] : 0)
                << c.width << "x" << c.height << " row " << row;
    // A circle's corner is the same seen from either side: the number of rows cut at
    // column j equals the cut of row j.
    for (int d = 1; d <= 64; ++d)
        for (int j = 0; j < d; ++j) {
            int rows = 0;
            while (RoundedCornerInset(rows, d, d) > j) ++rows;
            ASSERT_EQ(rows, RoundedCornerInset(j, d, d)) << "diameter " << d << " column " << j;
        }
}

TEST(AddBorder, RoundedMiddleFrameCorners) {
    // Defaults on a 10 × 6 picture, one frame: 66 × 62, middle area [4, 62) × [4, 58).
    const ImageBuffer picture = test::MakeNoise(10, 6, 9);
    const ImageBuffer out = test::Made(AddBorder(picture, kWhole, Style(4, 20, 4, true)));
    ASSERT_EQ(out.Width(), 66);
    ASSERT_EQ(out.Height(), 62);
    const int insets[] = {7, 5, 3, 2, 2, 1, 1, 0, 0, 0};
    for (int k = 0; k < 10; ++k)
        for (const int y : {4 + k, 57 - k})
            for (int x = 0; x < 66; ++x)
                ASSERT_EQ(PixelAt(out, x, y),
                          x < 4 + insets[k] || x >= 62 - insets[k] ? kOuter : kMiddle)
                    << x << "," << y;
    // Square corners leave the whole middle row.
    const ImageBuffer square = test::Made(AddBorder(picture, kWhole, Style(4, 20, 4)));
    EXPECT_EQ((std::vector{PixelAt(square, 4, 4), PixelAt(square, 61, 57), PixelAt(square, 3, 4)}),
              (std::vector{kMiddle, kMiddle, kOuter}));
}

TEST(AddBorder, IndexedPictureIsFramedInTrueColourAndBadInputGivesNone) {
    const ImageBuffer indexed = test::MakeIndexed(6, 4, 4, 2);
    const ImageBuffer out = test::Made(AddBorder(indexed, kWhole, Style(1, 1, 1)));
    ASSERT_EQ(out.BitCount(), 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(PixelAt(out, 3 + x, 3 + y), test::IndexedColour(indexed, x, y));
    const ImageBuffer picture = test::MakeNoise(4, 4, 1);
    EXPECT_FALSE(AddBorder(ImageBuffer{}, kSideBySide, Style(1, 1, 1)));
    EXPECT_FALSE(AddBorder(picture, kSideBySide, Style(-1, 1, 1)));
    EXPECT_FALSE(AddBorder(picture, kSideBySide, Style(1, -5, 1)));
    EXPECT_FALSE(AddBorder(picture, kSideBySide, Style(1, 1, INT_MIN)));
    int w = 0, h = 0;
    EXPECT_FALSE(FramedSize(4, 4, kSideBySide, Style(INT_MAX, INT_MAX, INT_MAX), w, h));
    // Too large: the user is told.
    for (const FrameStyle& style :
         {Style(INT_MAX, INT_MAX, INT_MAX, true), Style(20000, 0, 0)})  // 80004 wide
        EXPECT_EQ(test::Messages(AddBorder(picture, kSideBySide, style)),
                  std::vector<std::string>{"FEHLER|Kann BMP Datei nicht erstellen."});
}

}  // namespace
}  // namespace duplora
