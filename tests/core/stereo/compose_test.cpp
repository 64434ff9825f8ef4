#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "core/image/convert.h"
#include "core/stereo/combine.h"
#include "core/stereo/compose.h"
#include "core/stereo/display_composer.h"
#include "stereo_test_util.h"

namespace duplora {
namespace {

using test::MakeNoise;
using test::PixelAt;
using test::SamePixels;
using test::Tag;
using test::Tagged;

constexpr int A = 0xA, B = 0xB;

// The title of the pair in the fixture below.
constexpr const char* kPairTitle =
    "Linkes Bild(baum_l.jpg [20 x 12]) Rechtes Bild(baum_r.jpg [20 x 12])  (3/7)  ";

CompositionInput PairInput(const ImageBuffer& first, const ImageBuffer& second) {
    CompositionInput in;
    in.first = &first;
    in.second = &second;
    return in;
}

TEST(ComposeForOutput, FullSizeCombinerOfEachCodeOrNone) {
    const ImageBuffer a = MakeNoise(20, 14, 1), b = MakeNoise(20, 14, 2);
    CompositionInput in = PairInput(a, b);
    in.greyPair = GreyAnaglyphPair::RedBlue;
    in.colourKind = ColourAnaglyphKind::HalfToneYellowBlue;
    in.leftGamma = 140;
    in.rightGamma = 70;
    // dx = −3, dy = 4 leave a 17 × 10 common area.
    const CommonArea area{0, 4, 3, 0};
    const AnaglyphTables tables = BuildAnaglyphTables(140, 70);
    const std::pair<int, ImageBuffer> cases[] = {
        {0, ComposeSideBySide(a, b, area)},
        {10, ComposeSideBySide(a, b, area)},
        {1, ComposeOverUnder(a, b, area)},
        {20, ComposeInterlace(a, b, area)},
        {21, ComposeGreyAnaglyph(a, b, area, GreyAnaglyphPair::RedBlue, tables)},
        {22, ComposeColourAnaglyph(a, b, area, ColourAnaglyphKind::HalfToneYellowBlue, tables)},
        {25, DuplicateTrueColour(a)}};
    for (const auto& [code, expected] : cases) {
        ASSERT_TRUE(expected) << code;
        EXPECT_TRUE(SamePixels(ComposeForOutput(in, code, -3, 4), expected, "output")) << code;
    }
    // Unknown codes or a view missing give none; the single picture needs no second view.
    const ImageBuffer none;
    EXPECT_FALSE(ComposeForOutput(PairInput(a, b), 2, 0, 0));
    EXPECT_FALSE(ComposeForOutput(PairInput(a, b), 26, 0, 0));
    EXPECT_FALSE(ComposeForOutput(PairInput(a, none), 21, 0, 0));
    EXPECT_FALSE(ComposeForOutput(PairInput(none, b), 0, 0, 0));
    EXPECT_FALSE(ComposeForOutput(CompositionInput{}, 25, 0, 0));
    EXPECT_TRUE(ComposeForOutput(PairInput(a, none), 25, 0, 0));
}

TEST(ComposeForOutput, OffsetIsClampedToTenPixelsAndWrapsInPanorama) {
    const ImageBuffer a = Tagged(A, 30, 12), b = Tagged(B, 30, 12);
    // dx → 20, dy → −2: second columns 20…29, first rows from the top 0…9 (firstY = 2).
    EXPECT_TRUE(SamePixels(ComposeForOutput(PairInput(a, b), 0, 500, -500),
                           test::MakeImage(20, 10, [](int x, int y) {
                               return x < 10 ? Tag(A, x, y) : Tag(B, x + 10, y + 2);
                           })));
    // Panorama, dx = 3: the second view starts at column 3 and wraps; dy = 1 reads it from
    // stored row 1, wrapping: top-down row y − 1.
    const ImageBuffer c = Tagged(A, 8, 12), d = Tagged(B, 8, 12);
    CompositionInput in = PairInput(c, d);
    in.panorama = true;
    const ImageBuffer out = ComposeForOutput(in, 0, 3, 1);
    EXPECT_TRUE(SamePixels(out, test::MakeImage(16, 12, [](int x, int y) {
                               return x < 8 ? Tag(A, x, y) : Tag(B, (x - 5) % 8, (y + 11) % 12);
                           })));
    // Whole turns make no difference, nor do they overflow.
    EXPECT_TRUE(SamePixels(ComposeForOutput(in, 0, 3 + 8 * 1000, 1), out));
    // A negative offset wraps the first view instead.
    const ImageBuffer left = ComposeForOutput(in, 20, -2, 0);
    ASSERT_TRUE(left);
    EXPECT_EQ(PixelAt(left, 7, 11), Tag(A, 1, 11));
}

class DisplayComposerTest : public ::testing::Test {
  protected:
    DisplayComposerTest() : a(MakeNoise(20, 12, 1)), b(MakeNoise(20, 12, 2)), in(PairInput(a, b)) {
        in.firstName = "baum_l.jpg";
        in.secondName = "baum_r.jpg";
        in.folderIndex = 2;
        in.folderCount = 7;
    }
    ImageBuffer a, b;
    CompositionInput in;
    DisplayComposer composer;
};

TEST_F(DisplayComposerTest, SideBySideTexts) {
    in.zoomPercent = 50;
    in.dx = 4;
    in.dy = -1;
    ASSERT_TRUE(composer.ComposeForDisplay(in));
    // Reference 10 × 6; common area 16 × 11 scaled by a half: 8 × 5.
    EXPECT_EQ(composer.FirstView().Width(), 8);
    EXPECT_EQ(composer.FirstView().Height(), 5);
    EXPECT_TRUE(SamePixels(composer.FirstView(), CropScaleView(a, 10, 6, 4, 0, 0, 1, false)));
    EXPECT_TRUE(SamePixels(composer.SecondView(), CropScaleView(b, 10, 6, 4, 0, 0, 1, true)));
    EXPECT_FALSE(composer.Composite());
    const DisplayTexts& t = composer.Texts();
    EXPECT_EQ(t.title, kPairTitle);
    EXPECT_EQ(t.status[0], "Bildgröße nach Ausrichtung[16 x 11]");
    EXPECT_EQ(t.status[1], "Position Ausrichtung(x = -4 y = 1)");
    EXPECT_EQ(t.status[2], "Bildgröße [8 x 5]  Zoom(50 %)");
}

TEST_F(DisplayComposerTest, TitleAdditions) {
    in.slideShowRunning = true;
    in.slideInterval = 25;
    in.panorama = true;
    composer.RefreshCaptionAndStatus(in);
    const std::string base = kPairTitle;
    EXPECT_EQ(composer.Texts().title, base + "Slide Show Intervall 2.5 S.");
    in.slideShowRunning = false;
    EXPECT_EQ(composer.RefreshCaptionAndStatus(in).title, base + "Panorama Modus");
    // Panorama keeps the full width after alignment; the height still keeps ten rows.
    in.dx = -300;
    in.dy = 5;
    EXPECT_EQ(composer.RefreshCaptionAndStatus(in).status[0],
              "Bildgröße nach Ausrichtung[20 x 10]");
    EXPECT_EQ(composer.Texts().status[1], "Position Ausrichtung(x = 300 y = -5)");
}

TEST_F(DisplayComposerTest, SinglePicture) {
    in.mode = DisplayMode::Single;
    in.second = nullptr;
    in.zoomPercent = 150;
    in.folderIndex = 0;
    in.folderCount = 1;
    ASSERT_TRUE(composer.ComposeForDisplay(in));
    EXPECT_EQ(composer.Composite().Width(), 30);
    EXPECT_EQ(composer.Composite().Height(), 18);
    EXPECT_FALSE(composer.FirstView());
    EXPECT_EQ(composer.Texts().title, "Bild(baum_l.jpg [20 x 12]) (1/1)");
    EXPECT_EQ(composer.Texts().status[1], "");
}

TEST_F(DisplayComposerTest, RecomposeAfterOffsetKeepsScaledViews) {
    in.mode = DisplayMode::Interlace;
    in.zoomPercent = 75;
    ASSERT_TRUE(composer.ComposeForDisplay(in));
    const std::uint8_t* scaledFirst = composer.FirstView().Data();
    in.dx = -8;
    in.dy = 3;
    ASSERT_TRUE(composer.RecomposeAfterOffset(in));
    EXPECT_EQ(composer.FirstView().Data(), scaledFirst);
    DisplayComposer fresh;
    ASSERT_TRUE(fresh.ComposeForDisplay(in));
    EXPECT_TRUE(SamePixels(composer.Composite(), fresh.Composite()));
    EXPECT_EQ(composer.Texts().status[1], "Position Ausrichtung(x = 8 y = -3)");
    // A changed zoom is not an offset change: everything is rebuilt.
    in.zoomPercent = 100;
    ASSERT_TRUE(composer.RecomposeAfterOffset(in));
    EXPECT_EQ(composer.FirstView().Width(), 20);
    ASSERT_TRUE(fresh.ComposeForDisplay(in));
    EXPECT_TRUE(SamePixels(composer.Composite(), fresh.Composite()));
}

TEST_F(DisplayComposerTest, ScaledOffsetBeyondTheLimitKeepsAColumn) {
    // 1000 × 50 % = 500, limited to 20 − 10 = 10 on the full-size width, which is the whole
    // 10-pixel scaled width: one column is kept instead of reading outside the views.
    in.mode = DisplayMode::ColourAnaglyph;
    in.zoomPercent = 50;
    in.dx = 1000;
    ASSERT_TRUE(composer.ComposeForDisplay(in));
    EXPECT_EQ(composer.Composite().Width(), 1);
    EXPECT_EQ(composer.Composite().Height(), 6);
    in.dx = -1000;
    in.dy = 1000;
    ASSERT_TRUE(composer.RecomposeAfterOffset(in));
    EXPECT_EQ(composer.Composite().Width(), 1);
    EXPECT_EQ(composer.Composite().Height(), 4);  // 12 − 10 = 2 scaled: 6 − 2 rows
}

TEST_F(DisplayComposerTest, MissingViewOrBadZoom) {
    in.second = nullptr;
    EXPECT_FALSE(composer.ComposeForDisplay(in));
    EXPECT_TRUE(composer.FirstView());
    EXPECT_FALSE(composer.SecondView());
    in.second = &b;
    in.zoomPercent = 0;
    EXPECT_FALSE(composer.ComposeForDisplay(in));
    EXPECT_FALSE(composer.FirstView());
    EXPECT_EQ(composer.Texts().status[2], "Bildgröße [0 x 0]  Zoom(0 %)");
    in.zoomPercent = 100;
    in.first = nullptr;
    in.mode = DisplayMode::SideBySide;
    EXPECT_FALSE(composer.ComposeForDisplay(in));
    EXPECT_FALSE(composer.SecondView());
}

}  // namespace
}  // namespace duplora
