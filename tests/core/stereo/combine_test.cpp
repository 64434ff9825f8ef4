#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "core/image/convert.h"
#include "core/image/luminance.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/anaglyph_tables.h"
#include "core/stereo/combine.h"
#include "stereo_test_util.h"
#include "support/told.h"

namespace duplora {
namespace {

using test::FirstAt;
using test::MakeImage;
using test::MakeNoise;
using test::Rgb;
using test::SamePixels;
using test::SecondAt;
using test::Tag;
using test::Tagged;

constexpr int A = 0xA, B = 0xB;  // view ids in the tagged pictures

TEST(ComputeCommonArea, Margins) {
    const struct {
        int width, height, dx, dy;
        bool panorama;
        CommonArea expected;  // secondX, secondY, firstX, firstY
    } cases[] = {{100, 80, 0, 0, false, {0, 0, 0, 0}},
                 // The second view starts 15 columns in: first 0…84 meets second 15…99.
                 {100, 80, 15, 0, false, {15, 0, 0, 0}},
                 {100, 80, -3, 9, false, {0, 9, 3, 0}},
                 {100, 80, 90, -70, false, {90, 0, 0, 70}},  // exactly the limit
                 {100, 80, -200, 0, false, {0, 0, 90, 0}},
                 {100, 80, -200, 1000, true, {0, 70, 200, 0}},  // panorama: no limit across
                 {100, 80, INT_MAX, INT_MIN, false, {90, 0, 0, 70}},
                 {100, 80, INT_MIN, 0, true, {0, 0, INT_MAX, 0}},
                 // Ten pixels or fewer cannot keep ten: the offset is dropped.
                 {10, 10, 3, -3, false, {0, 0, 0, 0}},
                 {5, 4, 3, -2, false, {0, 0, 0, 0}},
                 {0, 0, 3, 3, false, {0, 0, 0, 0}}};
    for (const auto& c : cases) {
        const CommonArea a = ComputeCommonArea(c.width, c.height, c.dx, c.dy, c.panorama);
        const CommonArea& e = c.expected;
        EXPECT_EQ((std::vector{a.secondX, a.secondY, a.firstX, a.firstY}),
                  (std::vector{e.secondX, e.secondY, e.firstX, e.firstY}))
            << c.width << "x" << c.height << " by " << c.dx << "," << c.dy;
    }
    // Any offset keeps ten pixels; swapping the views negates it: the margins trade places.
    for (int dx = -300; dx <= 300; dx += 7)
        for (int dy = -300; dy <= 300; dy += 11) {
            const CommonArea a = ComputeCommonArea(57, 33, dx, dy);
            const CommonArea b = ComputeCommonArea(57, 33, -dx, -dy);
            ASSERT_GE(57 - a.secondX - a.firstX, 10) << dx;
            ASSERT_GE(33 - a.secondY - a.firstY, 10) << dy;
            ASSERT_TRUE(a.secondX == 0 || a.firstX == 0);
            ASSERT_TRUE(a.secondY == 0 || a.firstY == 0);
            ASSERT_EQ(a.secondX, b.firstX);
            ASSERT_EQ(a.secondY, b.firstY);
        }
}

const AnaglyphTables kDefaultTables = BuildAnaglyphTables(100, 100);

TEST(AnaglyphTables, GammaTablesAndTheSetting) {
    // The levels themselves are the gamma tables, checked with the gamma correction.
    const AnaglyphTables t = BuildAnaglyphTables(200, 50);
    EXPECT_EQ(t.left[128], 180);  // trunc(255 × (128/255)^0.5)
    EXPECT_EQ(t.right[128], 64);  // trunc(255 × (128/255)^2)
    const std::pair<const char*, int> settings[] = {
        {"", 100}, {" 42", 42}, {"abc", 100}, {"-7", 1}, {"99999999999999999999999", 500}};
    for (const auto& [text, gamma] : settings)
        EXPECT_EQ(AnaglyphGammaFromSetting(text), gamma) << text;
}

// A picture given row by row, top-down.
ImageBuffer Rows(int w, int h, const std::vector<std::uint32_t>& pixels) {
    return MakeImage(w, h, [&](int x, int y) { return pixels[std::size_t(y * w + x)]; });
}

TEST(Combiners, HandComputedPlaces) {
    // Side by side, dx = +1: the second view loses its first column, the first its last.
    const ImageBuffer a = Tagged(A, 3, 2), b = Tagged(B, 3, 2);
    EXPECT_TRUE(SamePixels(ComposeSideBySide(a, b, {1, 0, 0, 0}),
                           Rows(4, 2,
                                {Tag(A, 0, 0), Tag(A, 1, 0), Tag(B, 1, 0), Tag(B, 2, 0),
                                 Tag(A, 0, 1), Tag(A, 1, 1), Tag(B, 1, 1), Tag(B, 2, 1)})));
    // Over/under, first view on top; dx = −1, dy = +1.
    const ImageBuffer c = Tagged(A, 2, 3), d = Tagged(B, 2, 3);
    EXPECT_TRUE(SamePixels(ComposeOverUnder(c, d, {0, 1, 1, 0}),
                           Rows(1, 4, {Tag(A, 1, 1), Tag(A, 1, 2), Tag(B, 0, 0), Tag(B, 0, 1)})));
    // Interlace, odd height: rows from the bottom alternate first, second; the top row
    // stays black. With dy = +1 the second view is read from its stored row 1 on, and both
    // views give the even rows of their own area. A single row has no pair: black.
    const ImageBuffer e = Tagged(A, 1, 5), f = Tagged(B, 1, 5);
    EXPECT_TRUE(
        SamePixels(ComposeInterlace(e, f, {}),
                   Rows(1, 5, {0, Tag(B, 0, 2), Tag(A, 0, 2), Tag(B, 0, 4), Tag(A, 0, 4)})));
    EXPECT_TRUE(SamePixels(ComposeInterlace(e, f, {0, 1, 0, 0}),
                           Rows(1, 4, {Tag(B, 0, 1), Tag(A, 0, 2), Tag(B, 0, 3), Tag(A, 0, 4)})));
    EXPECT_TRUE(SamePixels(ComposeInterlace(e, f, {0, 2, 0, 2}), Rows(1, 1, {0})));
    // Blend halves before adding.
    EXPECT_TRUE(SamePixels(ComposeBlend(Rows(3, 1, {0xFFFFFF, Rgb(3, 5, 7), Rgb(200, 0, 1)}),
                                        Rows(3, 1, {0xFFFFFF, Rgb(3, 5, 9), Rgb(55, 255, 1)})),
                           Rows(3, 1, {Rgb(254, 254, 254), Rgb(2, 4, 7), Rgb(127, 127, 0)})));
}

TEST(Combiners, AnaglyphFilterColoursAndTables) {
    // First (R, G, B) = (100, 150, 200), Y1 = trunc(0.587·150 + 0.114·200 + 0.299·100) =
    // 140; second (10, 20, 30), Y2 = 18.
    const ImageBuffer a = Rows(1, 1, {Rgb(100, 150, 200)}), b = Rows(1, 1, {Rgb(10, 20, 30)});
    const std::pair<GreyAnaglyphPair, std::uint32_t> greys[] = {
        {GreyAnaglyphPair::RedCyan, Rgb(140, 18, 18)},
        {GreyAnaglyphPair::RedGreen, Rgb(140, 18, 0)},
        {GreyAnaglyphPair::RedBlue, Rgb(140, 0, 18)},
        {GreyAnaglyphPair::YellowBlue, Rgb(18, 18, 140)}};
    for (const auto& [pair, expected] : greys)
        EXPECT_TRUE(
            SamePixels(ComposeGreyAnaglyph(a, b, {}, pair, kDefaultTables), Rows(1, 1, {expected})))
            << static_cast<int>(pair);
    // Gamma 2.00 on the left, 0.50 on the right: Lt[140] = 188, Rt[18] = 1.
    EXPECT_TRUE(SamePixels(
        ComposeGreyAnaglyph(a, b, {}, GreyAnaglyphPair::RedCyan, BuildAnaglyphTables(200, 50)),
        Rows(1, 1, {Rgb(188, 1, 1)})));
    // (R, G, B) = (0, 72, 24) sums to 44.99999999999999 in double: luminance 44, not 45.
    const ImageBuffer edge = Rows(1, 1, {Rgb(0, 72, 24)});
    EXPECT_TRUE(
        SamePixels(ComposeGreyAnaglyph(edge, edge, {}, GreyAnaglyphPair::RedCyan, kDefaultTables),
                   Rows(1, 1, {Rgb(44, 44, 44)})));
    // Gamma 2.00 on the left ([100] = 159, [140] = 188, [200] = 225) and 1.00 on the right
    // show which table each channel went through.
    const std::pair<ColourAnaglyphKind, std::uint32_t> colours[] = {
        {ColourAnaglyphKind::ColourRedCyan, Rgb(159, 20, 30)},
        {ColourAnaglyphKind::HalfToneRedCyan, Rgb(188, 20, 30)},
        {ColourAnaglyphKind::ColourYellowBlue, Rgb(10, 20, 225)},
        {ColourAnaglyphKind::HalfToneYellowBlue, Rgb(10, 20, 188)}};
    for (const auto& [kind, expected] : colours)
        EXPECT_TRUE(SamePixels(ComposeColourAnaglyph(a, b, {}, kind, BuildAnaglyphTables(200, 100)),
                               Rows(1, 1, {expected})))
            << static_cast<int>(kind);
}

// Every combiner on noise with an offset agrees with a per-pixel rule written from the
// top-down view of the pictures and the double-precision luminance.
TEST(Combiners, MatchPerPixelRuleOnNoise) {
    const ImageBuffer a = MakeNoise(37, 29, 1), b = MakeNoise(37, 29, 2);
    const AnaglyphTables tables = BuildAnaglyphTables(170, 60);
    const auto lum = [](std::uint32_t c) {
        return LuminanceDouble(test::Blue(c), test::Green(c), test::Red(c));
    };
    for (const CommonArea area : {CommonArea{5, 0, 0, 3}, CommonArea{0, 4, 6, 0}}) {
        const int w = 37 - area.secondX - area.firstX, h = 29 - area.secondY - area.firstY;
        const auto first = [&](int x, int y) { return FirstAt(a, area, x, y); };
        const auto second = [&](int x, int y) { return SecondAt(a, b, area, x, y); };
        EXPECT_TRUE(
            SamePixels(ComposeSideBySide(a, b, area), MakeImage(2 * w, h, [&](int x, int y) {
                           return x < w ? first(x, y) : second(x - w, y);
                       })));
        EXPECT_TRUE(
            SamePixels(ComposeGreyAnaglyph(a, b, area, GreyAnaglyphPair::YellowBlue, tables),
                       MakeImage(w, h, [&](int x, int y) {
                           const int y1 = tables.left[lum(first(x, y))];
                           const int y2 = tables.right[lum(second(x, y))];
                           return Rgb(y2, y2, y1);
                       })));
        EXPECT_TRUE(SamePixels(
            ComposeColourAnaglyph(a, b, area, ColourAnaglyphKind::HalfToneRedCyan, tables),
            MakeImage(w, h, [&](int x, int y) {
                const std::uint32_t p2 = second(x, y);
                return Rgb(tables.left[lum(first(x, y))], tables.right[test::Green(p2)],
                           tables.right[test::Blue(p2)]);
            })));
    }
}

TEST(Combiners, IndexedViewsAreReadInTrueColour) {
    const ImageBuffer a = test::MakeIndexed(9, 6, 8, 3), b = test::MakeIndexed(9, 6, 4, 4);
    const ImageBuffer ta = ToTrueColour(a), tb = ToTrueColour(b);
    const CommonArea area{2, 0, 0, 1};
    EXPECT_TRUE(
        SamePixels(ComposeSideBySide(a, b, area), test::Made(ComposeSideBySide(ta, tb, area))));
    EXPECT_TRUE(SamePixels(ComposeInterlace(a, b, area), ComposeInterlace(ta, tb, area)));
    EXPECT_TRUE(SamePixels(ComposeBlend(a, b), ComposeBlend(ta, tb)));
}

TEST(Combiners, BadInputIsRefusedSilentlyATooLargePictureAloud) {
    const ImageBuffer a = MakeNoise(20, 12, 1), b = MakeNoise(20, 12, 2), none;
    const ImageBuffer narrow = MakeNoise(15, 12, 3);
    ImageBuffer deep = CreateImage(20, 12, 24);
    deep.Data()[14] = 32;  // a 32-bit header: not handled
    std::vector<std::string> told;
    const auto all = [&](const ImageBuffer& x, const ImageBuffer& y, const CommonArea& area) {
        const Result<ImageBuffer> sbs = ComposeSideBySide(x, y, area);
        const Result<ImageBuffer> ou = ComposeOverUnder(x, y, area);
        for (const auto* made : {&sbs, &ou})
            for (std::string& m : test::Messages(*made)) told.push_back(std::move(m));
        return int{sbs.Ok()} + ou.Ok() + static_cast<bool>(ComposeInterlace(x, y, area)) +
               static_cast<bool>(
                   ComposeGreyAnaglyph(x, y, area, GreyAnaglyphPair::RedCyan, kDefaultTables)) +
               static_cast<bool>(ComposeColourAnaglyph(
                   x, y, area, ColourAnaglyphKind::ColourRedCyan, kDefaultTables));
    };
    EXPECT_EQ(all(a, b, {}), 5);
    EXPECT_EQ(all(none, b, {}), 0);
    EXPECT_EQ(all(a, none, {}), 0);
    EXPECT_EQ(all(a, b, {20, 0, 0, 0}), 0);        // nothing left
    EXPECT_EQ(all(a, b, {15, 0, 10, 0}), 0);       // margins beyond the picture
    EXPECT_EQ(all(a, b, {INT_MAX, 0, 0, -1}), 0);  // negative margin, no overflow
    EXPECT_EQ(all(a, narrow, {0, 0, 4, 0}), 0);    // second view too small for its part
    EXPECT_EQ(all(a, narrow, {0, 0, 5, 0}), 5);    // …but fine where it fits
    EXPECT_EQ(all(deep, b, {}), 0);
    EXPECT_FALSE(ComposeGreyAnaglyph(a, b, {}, static_cast<GreyAnaglyphPair>(4), kDefaultTables));
    EXPECT_FALSE(
        ComposeColourAnaglyph(a, b, {}, static_cast<ColourAnaglyphKind>(-1), kDefaultTables));
    EXPECT_FALSE(ComposeBlend(none, b));
    EXPECT_FALSE(ComposeBlend(deep, b));
    EXPECT_FALSE(ComposeBlend(a, narrow));
    EXPECT_TRUE(told.empty());
    // Two 40000-wide views side by side exceed the 65535-pixel limit.
    const ImageBuffer wide = CreateImage(40000, 1, 24);
    EXPECT_EQ(test::Messages(ComposeSideBySide(wide, wide, {})),
              std::vector<std::string>{"FEHLER|Kann BMP Datei nicht erstellen."});
    EXPECT_TRUE(ComposeInterlace(wide, wide, {}));
}

}  // namespace
}  // namespace duplora
