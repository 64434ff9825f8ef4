#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/hooks.h"
#include "core/image/convert.h"
#include "core/image/luminance.h"
#include "core/stereo/anaglyph_tables.h"
#include "core/stereo/combine.h"
#include "stereo_test_util.h"

namespace duplora {
namespace {

using test::FirstAt;
using test::MakeImage;
using test::MakeNoise;
using test::PixelAt;
using test::Rgb;
using test::SecondAt;
using test::Tag;
using test::Tagged;

constexpr int A = 0xA, B = 0xB;  // view ids in the tagged pictures

// Pixels of a picture top-down, row by row.
std::vector<std::uint32_t> AllPixels(const ImageBuffer& image) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) out.push_back(PixelAt(image, x, y));
    return out;
}

const AnaglyphTables kDefaultTables = BuildAnaglyphTables(100, 100);

TEST(AnaglyphTables, LeftAndRightGammaTables) {
    // The levels themselves are the gamma tables, checked with the gamma correction.
    const AnaglyphTables t = BuildAnaglyphTables(200, 50);
    EXPECT_EQ(t.left[128], 180);  // trunc(255 × (128/255)^0.5)
    EXPECT_EQ(t.right[128], 64);  // trunc(255 × (128/255)^2)
}

TEST(AnaglyphTables, GammaFromSetting) {
    EXPECT_EQ(AnaglyphGammaFromSetting(""), 100);
    EXPECT_EQ(AnaglyphGammaFromSetting(" 42"), 42);
    EXPECT_EQ(AnaglyphGammaFromSetting("abc"), 100);
    EXPECT_EQ(AnaglyphGammaFromSetting("-7"), 1);
    EXPECT_EQ(AnaglyphGammaFromSetting("99999999999999999999999"), 500);
}

TEST(ComposeSideBySide, HandComputedPixels) {
    const ImageBuffer a = Tagged(A, 3, 2), b = Tagged(B, 3, 2);
    // dx = +1: the second view loses its first column, the first its last.
    const ImageBuffer out = ComposeSideBySide(a, b, {1, 0, 0, 0});
    ASSERT_TRUE(out);
    EXPECT_EQ(out.Width(), 4);
    EXPECT_EQ(out.Height(), 2);
    EXPECT_EQ(out.BitCount(), 24);
    EXPECT_EQ(AllPixels(out),
              (std::vector<std::uint32_t>{Tag(A, 0, 0), Tag(A, 1, 0), Tag(B, 1, 0), Tag(B, 2, 0),
                                          Tag(A, 0, 1), Tag(A, 1, 1), Tag(B, 1, 1), Tag(B, 2, 1)}));
}

TEST(ComposeOverUnder, FirstViewOnTop) {
    const ImageBuffer a = Tagged(A, 2, 3), b = Tagged(B, 2, 3);
    const ImageBuffer out = ComposeOverUnder(a, b, {0, 1, 1, 0});  // dx = −1, dy = +1
    ASSERT_TRUE(out);
    EXPECT_EQ(out.Width(), 1);
    EXPECT_EQ(out.Height(), 4);
    EXPECT_EQ(AllPixels(out),
              (std::vector<std::uint32_t>{Tag(A, 1, 1), Tag(A, 1, 2), Tag(B, 0, 0), Tag(B, 0, 1)}));
}

TEST(ComposeInterlace, RowParity) {
    const ImageBuffer a = Tagged(A, 2, 5), b = Tagged(B, 2, 5);
    // Odd height: rows from the bottom alternate first, second; the top row stays black.
    ImageBuffer out = ComposeInterlace(a, b, {});
    ASSERT_TRUE(out);
    ASSERT_EQ(out.Height(), 5);
    const std::uint32_t odd[] = {0, Tag(B, 0, 2), Tag(A, 0, 2), Tag(B, 0, 4), Tag(A, 0, 4)};
    for (int y = 0; y < 5; ++y) EXPECT_EQ(PixelAt(out, 0, y), odd[y]) << y;
    // dy = +1: the second view is read from its stored row 1 on, and both views give the
    // even rows of their own area.
    out = ComposeInterlace(a, b, {0, 1, 0, 0});
    ASSERT_TRUE(out);
    ASSERT_EQ(out.Height(), 4);
    const std::uint32_t even[] = {Tag(B, 1, 1), Tag(A, 1, 2), Tag(B, 1, 3), Tag(A, 1, 4)};
    for (int y = 0; y < 4; ++y) EXPECT_EQ(PixelAt(out, 1, y), even[y]) << y;
    // A single row has no pair: black.
    out = ComposeInterlace(a, b, {0, 2, 0, 2});
    ASSERT_TRUE(out);
    EXPECT_EQ(AllPixels(out), (std::vector<std::uint32_t>{0, 0}));
}

TEST(ComposeGreyAnaglyph, FilterColoursOfEveryPair) {
    // Y1 = trunc(0.587·150 + 0.114·200 + 0.299·100) = 140; Y2 of (10, 20, 30) = 18.
    const ImageBuffer a = MakeImage(2, 2, [](int, int) { return Rgb(100, 150, 200); });
    const ImageBuffer b = MakeImage(2, 2, [](int, int) { return Rgb(10, 20, 30); });
    const std::pair<GreyAnaglyphPair, std::uint32_t> cases[] = {
        {GreyAnaglyphPair::RedCyan, Rgb(140, 18, 18)},
        {GreyAnaglyphPair::RedGreen, Rgb(140, 18, 0)},
        {GreyAnaglyphPair::RedBlue, Rgb(140, 0, 18)},
        {GreyAnaglyphPair::YellowBlue, Rgb(18, 18, 140)}};
    for (const auto& [pair, expected] : cases) {
        const ImageBuffer out = ComposeGreyAnaglyph(a, b, {}, pair, kDefaultTables);
        ASSERT_TRUE(out);
        EXPECT_EQ(PixelAt(out, 1, 1), expected) << static_cast<int>(pair);
    }
}

TEST(ComposeGreyAnaglyph, TablesAndTruncation) {
    // Gamma 2.00 on the left, 0.50 on the right: Lt[140] = 188, Rt[18] = 1.
    const ImageBuffer a = MakeImage(1, 1, [](int, int) { return Rgb(100, 150, 200); });
    const ImageBuffer b = MakeImage(1, 1, [](int, int) { return Rgb(10, 20, 30); });
    ImageBuffer out =
        ComposeGreyAnaglyph(a, b, {}, GreyAnaglyphPair::RedCyan, BuildAnaglyphTables(200, 50));
    EXPECT_EQ(PixelAt(out, 0, 0), Rgb(188, 1, 1));
    // (R, G, B) = (0, 72, 24) sums to 44.99999999999999 in double: luminance 44, not 45.
    const ImageBuffer edge = MakeImage(1, 1, [](int, int) { return Rgb(0, 72, 24); });
    out = ComposeGreyAnaglyph(edge, edge, {}, GreyAnaglyphPair::RedCyan, kDefaultTables);
    EXPECT_EQ(PixelAt(out, 0, 0), Rgb(44, 44, 44));
}

TEST(ComposeColourAnaglyph, ChannelsOfEveryKind) {
    // First (R, G, B) = (100, 150, 200), Y1 = 140; second (10, 20, 30). Gamma 2.00 on
    // the left ([100] = 159, [140] = 188, [200] = 225) and 1.00 on the right show which
    // table each channel went through.
    const ImageBuffer a = MakeImage(1, 1, [](int, int) { return Rgb(100, 150, 200); });
    const ImageBuffer b = MakeImage(1, 1, [](int, int) { return Rgb(10, 20, 30); });
    const std::pair<ColourAnaglyphKind, std::uint32_t> cases[] = {
        {ColourAnaglyphKind::ColourRedCyan, Rgb(159, 20, 30)},
        {ColourAnaglyphKind::HalfToneRedCyan, Rgb(188, 20, 30)},
        {ColourAnaglyphKind::ColourYellowBlue, Rgb(10, 20, 225)},
        {ColourAnaglyphKind::HalfToneYellowBlue, Rgb(10, 20, 188)}};
    for (const auto& [kind, expected] : cases) {
        const ImageBuffer out =
            ComposeColourAnaglyph(a, b, {}, kind, BuildAnaglyphTables(200, 100));
        ASSERT_TRUE(out);
        EXPECT_EQ(PixelAt(out, 0, 0), expected) << static_cast<int>(kind);
    }
}

TEST(ComposeBlend, HalvesBeforeAdding) {
    const ImageBuffer a = MakeImage(3, 1, [](int x, int) {
        return x == 0 ? 0xFFFFFF : x == 1 ? Rgb(3, 5, 7) : Rgb(200, 0, 1);
    });
    const ImageBuffer b = MakeImage(3, 1, [](int x, int) {
        return x == 0 ? 0xFFFFFF : x == 1 ? Rgb(3, 5, 9) : Rgb(55, 255, 1);
    });
    const ImageBuffer out = ComposeBlend(a, b);
    ASSERT_TRUE(out);
    EXPECT_EQ(AllPixels(out),
              (std::vector<std::uint32_t>{Rgb(254, 254, 254), Rgb(2, 4, 7), Rgb(127, 127, 0)}));
    EXPECT_FALSE(ComposeBlend(a, MakeImage(3, 2, [](int, int) { return 0; })));
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
        const ImageBuffer sbs = ComposeSideBySide(a, b, area);
        const ImageBuffer grey =
            ComposeGreyAnaglyph(a, b, area, GreyAnaglyphPair::YellowBlue, tables);
        const ImageBuffer colour =
            ComposeColourAnaglyph(a, b, area, ColourAnaglyphKind::HalfToneRedCyan, tables);
        ASSERT_TRUE(sbs && grey && colour);
        const int w = 37 - area.secondX - area.firstX, h = 29 - area.secondY - area.firstY;
        ASSERT_EQ(grey.Width(), w);
        ASSERT_EQ(grey.Height(), h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t p1 = FirstAt(a, area, x, y), p2 = SecondAt(a, b, area, x, y);
                ASSERT_EQ(PixelAt(sbs, x, y), p1);
                ASSERT_EQ(PixelAt(sbs, w + x, y), p2);
                const int y1 = tables.left[lum(p1)], y2 = tables.right[lum(p2)];
                ASSERT_EQ(PixelAt(grey, x, y), Rgb(y2, y2, y1));
                ASSERT_EQ(PixelAt(colour, x, y),
                          Rgb(y1, tables.right[test::Green(p2)], tables.right[test::Blue(p2)]));
            }
    }
}

TEST(Combiners, IndexedViewsAreReadInTrueColour) {
    const ImageBuffer a = test::MakeIndexed(9, 6, 8, 3), b = test::MakeIndexed(9, 6, 4, 4);
    const ImageBuffer ta = CropScaleView(a, 9, 6, 0, 0, 0, 0, false);
    const ImageBuffer tb = CropScaleView(b, 9, 6, 0, 0, 0, 0, false);
    ASSERT_TRUE(ta && tb);
    const CommonArea area{2, 0, 0, 1};
    EXPECT_TRUE(test::SamePixels(ComposeSideBySide(a, b, area), ComposeSideBySide(ta, tb, area)));
    EXPECT_TRUE(test::SamePixels(ComposeInterlace(a, b, area), ComposeInterlace(ta, tb, area)));
    EXPECT_TRUE(test::SamePixels(ComposeBlend(a, b), ComposeBlend(ta, tb)));
}

TEST(Combiners, BadInputGivesNone) {
    const ImageBuffer a = MakeNoise(20, 12, 1), b = MakeNoise(20, 12, 2);
    const ImageBuffer none;
    const ImageBuffer narrow = MakeNoise(15, 12, 3);
    ImageBuffer deep = CreateImage(20, 12, 24);
    deep.Data()[14] = 32;  // a 32-bit header: not handled
    const auto all = [&](const ImageBuffer& x, const ImageBuffer& y, const CommonArea& area) {
        int made = 0;
        made += static_cast<bool>(ComposeSideBySide(x, y, area));
        made += static_cast<bool>(ComposeOverUnder(x, y, area));
        made += static_cast<bool>(ComposeInterlace(x, y, area));
        made += static_cast<bool>(
            ComposeGreyAnaglyph(x, y, area, GreyAnaglyphPair::RedCyan, kDefaultTables));
        made += static_cast<bool>(
            ComposeColourAnaglyph(x, y, area, ColourAnaglyphKind::ColourRedCyan, kDefaultTables));
        return made;
    };
    int messages = 0;
    SetMessageSink([&](std::string_view, std::string_view, MessageIcon) { ++messages; });
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
    SetMessageSink(nullptr);
    EXPECT_EQ(messages, 0);  // bad input is refused silently
}

TEST(ComposeSideBySide, TooLargeTellsTheUser) {
    // Two 40000-wide views side by side exceed the 65535-pixel limit.
    ImageBuffer a = CreateImage(40000, 1, 24), b = CreateImage(40000, 1, 24);
    std::string text, caption;
    SetMessageSink([&](std::string_view t, std::string_view c, MessageIcon) {
        text = t;
        caption = c;
    });
    EXPECT_FALSE(ComposeSideBySide(a, b, {}));
    SetMessageSink(nullptr);
    EXPECT_EQ(text, "Kann BMP Datei nicht erstellen.");
    EXPECT_EQ(caption, "FEHLER");
    EXPECT_TRUE(ComposeInterlace(a, b, {}));
}

}  // namespace
}  // namespace duplora
