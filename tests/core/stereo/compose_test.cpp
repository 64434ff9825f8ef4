// Composition for output and for the window. The display composer makes only the parts of
// its pictures that are asked for; every part must be the same part of the picture the
// whole-picture rules give: the views prepared with PrepareView, combined with the combiners.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/formats/load_chain.h"
#include "core/image/convert.h"
#include "core/image/luminance.h"
#include "core/image/pixel_gather.h"
#include "core/image/split.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/stereo/combine.h"
#include "core/stereo/compose.h"
#include "core/stereo/display_composer.h"
#include "core/stereo/display_modes.h"
#include "core/stereo/half_views.h"
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
CompositionInput PairInput(const ImageBuffer& first, const ImageBuffer& second,
                           DisplayMode mode = DisplayMode::SideBySide) {
    CompositionInput in;
    in.first = &first;
    in.second = &second;
    in.mode = mode;
    return in;
}

TEST(ComposeForOutput, FullSizeCombinerOfEachModeOrNone) {
    const ImageBuffer a = MakeNoise(20, 14, 1), b = MakeNoise(20, 14, 2);
    CompositionInput in = PairInput(a, b);
    in.greyPair = GreyAnaglyphPair::RedBlue;
    in.colourKind = ColourAnaglyphKind::HalfToneYellowBlue;
    in.leftGamma = 140;
    in.rightGamma = 70;
    // dx = −3, dy = 4 leave a 17 × 10 common area.
    const CommonArea area{0, 4, 3, 0};
    const AnaglyphTables tables = BuildAnaglyphTables(140, 70);
    using M = DisplayMode;
    const std::pair<DisplayMode, ImageBuffer> cases[] = {
        {M::SideBySide, test::Made(ComposeSideBySide(a, b, area))},
        {M::ThreeViews, test::Made(ComposeSideBySide(a, b, area))},
        {M::OverUnder, test::Made(ComposeOverUnder(a, b, area))},
        {M::Interlace, ComposeInterlace(a, b, area)},
        {M::GreyAnaglyph, ComposeGreyRedBlue(a, b, area, tables)},
        {M::ColourAnaglyph, ComposeHalfToneYellowBlue(a, b, area, tables)},
        {M::Single, DuplicateTrueColour(a)},
        {M::HalfSideBySide, HalveViews(test::Made(ComposeSideBySide(a, b, area)), true)},
        {M::HalfOverUnder, HalveViews(test::Made(ComposeOverUnder(a, b, area)), false)}};
    ASSERT_EQ(std::size(cases), DisplayModeTable().size());
    for (const auto& [mode, expected] : cases) {
        ASSERT_TRUE(expected) << static_cast<int>(mode);
        EXPECT_TRUE(SamePixels(ComposeForOutput(in, mode, -3, 4), expected, "output"))
            << static_cast<int>(mode);
    }
    // Numbers that are no mode or a view missing give none; the single picture needs no
    // second view.
    const ImageBuffer none;
    EXPECT_FALSE(ComposeForOutput(PairInput(a, b), static_cast<DisplayMode>(2), 0, 0));
    EXPECT_FALSE(ComposeForOutput(PairInput(a, b), static_cast<DisplayMode>(26), 0, 0));
    EXPECT_FALSE(ComposeForOutput(PairInput(a, none), M::GreyAnaglyph, 0, 0));
    EXPECT_FALSE(ComposeForOutput(PairInput(none, b), M::SideBySide, 0, 0));
    EXPECT_FALSE(ComposeForOutput(CompositionInput{}, M::Single, 0, 0));
    EXPECT_TRUE(ComposeForOutput(PairInput(a, none), M::Single, 0, 0));
}

TEST(ComposeForOutput, OffsetIsClampedToTenPixelsAndWrapsInPanorama) {
    const ImageBuffer a = Tagged(A, 30, 12), b = Tagged(B, 30, 12);
    // dx → 20, dy → −2: second columns 20…29, first rows from the top 0…9 (firstY = 2).
    EXPECT_TRUE(SamePixels(ComposeForOutput(PairInput(a, b), DisplayMode::SideBySide, 500, -500),
                           test::MakeImage(20, 10, [](int x, int y) {
                               return x < 10 ? Tag(A, x, y) : Tag(B, x + 10, y + 2);
                           })));
    // Panorama, dx = 3: the second view starts at column 3 and wraps; dy = 1 reads it from
    // stored row 1, wrapping: top-down row y − 1.
    const ImageBuffer c = Tagged(A, 8, 12), d = Tagged(B, 8, 12);
    CompositionInput in = PairInput(c, d);
    in.panorama = true;
    const ImageBuffer out = test::Made(ComposeForOutput(in, DisplayMode::SideBySide, 3, 1));
    EXPECT_TRUE(SamePixels(out, test::MakeImage(16, 12, [](int x, int y) {
                               return x < 8 ? Tag(A, x, y) : Tag(B, (x - 5) % 8, (y + 11) % 12);
                           })));
    // Whole turns make no difference, nor do they overflow.
    EXPECT_TRUE(SamePixels(ComposeForOutput(in, DisplayMode::SideBySide, 3 + 8 * 1000, 1), out));
    // A negative offset wraps the first view instead.
    const ImageBuffer left = test::Made(ComposeForOutput(in, DisplayMode::Interlace, -2, 0));
    ASSERT_TRUE(left);
    EXPECT_EQ(PixelAt(left, 7, 11), Tag(A, 1, 11));
}

class DisplayComposerTest : public ::testing::Test {
  protected:
    DisplayComposerTest() : a(MakeNoise(20, 12, 1)), b(MakeNoise(20, 12, 2)), in(PairInput(a, b)) {}
    ImageBuffer a, b;
    CompositionInput in;
    DisplayComposer composer;
};

TEST_F(DisplayComposerTest, SideBySideViews) {
    in.zoomPercent = 50;
    in.dx = 4;
    in.dy = -1;
    ASSERT_TRUE(composer.ComposeForDisplay(in));
    // Reference 10 × 6; common area 16 × 11 scaled by a half: 8 × 5.
    EXPECT_EQ(std::pair(composer.FirstView().Width(), composer.FirstView().Height()),
              std::pair(8, 5));
    EXPECT_TRUE(SamePixels(composer.FirstView(), CropScaleView(a, 10, 6, 4, 0, 0, 1, false)));
    EXPECT_TRUE(SamePixels(composer.SecondView(), CropScaleView(b, 10, 6, 4, 0, 0, 1, true)));
    EXPECT_FALSE(composer.Composite());
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
    in.zoomPercent = 100;
    in.first = nullptr;
    in.mode = DisplayMode::SideBySide;
    EXPECT_FALSE(composer.ComposeForDisplay(in));
    EXPECT_FALSE(composer.SecondView());
}

// The combiner of a mode that shows one picture made of both views.
ImageBuffer Combine(const CompositionInput& in, const ImageBuffer& a, const ImageBuffer& b,
                    const CommonArea& area, const AnaglyphTables& tables) {
    switch (in.mode) {
        case DisplayMode::Interlace:
            return ComposeInterlace(a, b, area);
        case DisplayMode::GreyAnaglyph:
            return ComposeGreyAnaglyph(a, b, area, in.greyPair, tables);
        case DisplayMode::ColourAnaglyph:
            return ComposeColourAnaglyph(a, b, area, in.colourKind, tables);
        default:
            return {};
    }
}

// The three pictures by the whole-picture rules.
std::array<ImageBuffer, 3> Expected(const CompositionInput& in) {
    std::array<ImageBuffer, 3> out;
    const ImageBuffer& first = *in.first;
    const ImageBuffer& second = *in.second;
    const int w0 = first.Width() * in.zoomPercent / 100;
    const int h0 = first.Height() * in.zoomPercent / 100;
    const CommonArea area =
        ComputeCommonArea(first.Width(), first.Height(), in.dx, in.dy, in.panorama);
    const int mode = static_cast<int>(in.mode);
    const AnaglyphTables tables = BuildAnaglyphTables(in.leftGamma, in.rightGamma);
    if (mode == 25) {
        out[0] = PrepareView(first, w0, h0, area, false, in.panorama);
    } else if (mode < 20 || in.panorama) {
        out[1] = PrepareView(first, w0, h0, area, false, in.panorama);
        out[2] = PrepareView(second, w0, h0, area, true, in.panorama);
        if (mode == 10) out[0] = ComposeBlend(out[1], out[2]);
        if (mode >= 20) out[0] = Combine(in, out[1], out[2], {}, tables);
    } else {
        out[1] = CropScaleView(first, w0, h0, 0, 0, 0, 0, false);
        out[2] = CropScaleView(second, w0, h0, 0, 0, 0, 0, true);
        CommonArea scaled =
            ComputeCommonArea(first.Width(), first.Height(), in.dx * in.zoomPercent / 100,
                              in.dy * in.zoomPercent / 100, false);
        out[0] = Combine(in, out[1], out[2], scaled, tables);
    }
    return out;
}

TEST(DisplayRegion, EveryPartIsThatPartOfTheWholePicture) {
    const struct {
        DisplayMode mode;
        int zoom, dx, dy;
        bool panorama;
        int greyPair = 0, colourKind = 0;
        bool indexed = false;  // 8- and 4-bit views, read through their colour tables
    } cases[] = {{DisplayMode::SideBySide, 57, -9, 4, false},
                 {DisplayMode::OverUnder, 150, 0, 7, false},
                 {DisplayMode::ThreeViews, 83, 3, -2, false},
                 {DisplayMode::Interlace, 100, 2, 1, true},
                 {DisplayMode::GreyAnaglyph, 66, -7, 3, false, 1},
                 {DisplayMode::GreyAnaglyph, 210, 50, 2, true, 3},
                 {DisplayMode::ColourAnaglyph, 90, -3, -4, false, 0, 1},
                 {DisplayMode::ColourAnaglyph, 100, 1000, -1000, false, 0, 2},
                 {DisplayMode::Single, 43, 0, 0, false},
                 {DisplayMode::ThreeViews, 125, 3, 0, false, 0, 0, true},
                 {DisplayMode::ColourAnaglyph, 125, 3, 0, false, 0, 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "mode " << static_cast<int>(c.mode) << " zoom " << c.zoom);
        // Odd sizes, so that interlace has a black top row and the halves do not divide evenly.
        const ImageBuffer a = c.indexed ? test::MakeIndexed(37, 23, 8, 5) : MakeNoise(37, 23, 11);
        const ImageBuffer b = c.indexed ? test::MakeIndexed(37, 23, 4, 6) : MakeNoise(37, 23, 12);
        CompositionInput in = PairInput(a, b, c.mode);
        in.zoomPercent = c.zoom;
        in.dx = c.dx;
        in.dy = c.dy;
        in.panorama = c.panorama;
        in.greyPair = static_cast<GreyAnaglyphPair>(c.greyPair);
        in.colourKind = static_cast<ColourAnaglyphKind>(c.colourKind);
        in.leftGamma = 130;
        in.rightGamma = 80;
        DisplayComposer composer;
        composer.ComposeForDisplay(in);
        const std::array<ImageBuffer, 3> expected = Expected(in);
        for (int i = 0; i < 3; ++i) {
            const auto which = static_cast<DisplayComposer::Picture>(i);
            const ImageBuffer& whole = expected[i];
            ASSERT_EQ(composer.Has(which), static_cast<bool>(whole)) << "picture " << i;
            if (!whole) continue;
            ASSERT_EQ(composer.Width(which), whole.Width()) << i;
            ASSERT_EQ(composer.Height(which), whole.Height()) << i;
            EXPECT_TRUE(SamePixels(composer.Get(which), whole)) << "picture " << i;
            const int w = whole.Width(), h = whole.Height();
            // Parts at the corners, in the middle, one pixel, a row and a column.
            const std::vector<std::array<int, 4>> parts = {{0, 0, 1, 1},
                                                           {w - 1, h - 1, 1, 1},
                                                           {w / 3, h / 4, w / 2, h / 2},
                                                           {0, h - 1, w, 1},
                                                           {w - 1, 0, 1, h}};
            for (const auto& [x, y, pw, ph] : parts) {
                if (pw <= 0 || ph <= 0) continue;
                const ImageBuffer part = composer.Render(which, x, y, pw, ph);
                ASSERT_TRUE(SamePixels(part, CropRect(whole, x, y, x + pw, y + ph)))
                    << "picture " << i << " part " << x << "," << y << " " << pw << "x" << ph;
            }
            // Bands of three rows (made on several threads) put together give the same part.
            {
                const int x = w / 4, y = h / 5, pw = w - w / 4, ph = h - h / 5;
                ImageBuffer joined = CreateImage(pw, ph, 24);
                int calls = 0;
                std::mutex lock;
                ASSERT_TRUE(composer.RenderBands(
                    which, x, y, pw, ph, 3, [&](const ImageBuffer& band, int firstRow) {
                        ASSERT_EQ(band.Width(), pw);
                        for (int r = 0; r < band.Height(); ++r)
                            std::memcpy(joined.Line(firstRow + r), band.Line(r), 3 * pw);
                        std::lock_guard guard(lock);
                        ++calls;
                    }));
                EXPECT_EQ(calls, (ph + 2) / 3);
                EXPECT_TRUE(SamePixels(joined, CropRect(whole, x, y, x + pw, y + ph)))
                    << "picture " << i << " in bands";
                EXPECT_FALSE(composer.RenderBands(which, x, y, pw + 1, ph, 3,
                                                  [](const ImageBuffer&, int) {}));
            }
            // Picked pixels are those of a nearest-neighbour scaling of the whole picture.
            const int tw = std::max(1, w / 3), th = std::max(1, h / 2);
            const std::vector<int> cols = FixedPointWalk(0, std::int64_t{w} * 1024 / tw, tw);
            const std::vector<int> rows = FixedPointWalk(0, std::int64_t{h} * 1024 / th, th);
            EXPECT_TRUE(SamePixels(composer.RenderSampled(which, cols, rows),
                                   CropScaleView(whole, tw, th, 0, 0, 0, 0, false)))
                << "picture " << i;
        }
    }
}

TEST(DisplayRegion, PartsOutsideThePictureGiveNothing) {
    const ImageBuffer a = MakeNoise(20, 10, 1), b = MakeNoise(20, 10, 2);
    DisplayComposer composer;
    ASSERT_TRUE(composer.ComposeForDisplay(PairInput(a, b, DisplayMode::GreyAnaglyph)));
    const auto c = DisplayComposer::kComposite;
    EXPECT_TRUE(composer.Render(c, 0, 0, 20, 10));
    EXPECT_FALSE(composer.Render(c, 0, 0, 21, 10));
    EXPECT_FALSE(composer.Render(c, -1, 0, 5, 5));
    EXPECT_FALSE(composer.Render(c, 0, 0, 0, 5));
    const int bad[] = {20};
    const int good[] = {0};
    EXPECT_FALSE(composer.RenderSampled(c, bad, good));
    EXPECT_FALSE(composer.RenderSampled(c, {}, good));
    composer.Clear();
    EXPECT_FALSE(composer.Has(c));
    EXPECT_FALSE(composer.Render(c, 0, 0, 1, 1));
}

TEST(DisplayRegion, ViewsReplacedSinceTheCompositionGiveNothing) {
    ImageBuffer a = MakeNoise(20, 10, 1), b = MakeNoise(20, 10, 2);
    const CompositionInput in = PairInput(a, b, DisplayMode::SideBySide);
    DisplayComposer composer;
    ASSERT_TRUE(composer.ComposeForDisplay(in));
    const std::uint64_t generation = composer.Generation();
    EXPECT_TRUE(composer.Render(DisplayComposer::kSecondView, 0, 0, 20, 10));
    // An edit puts a new, smaller picture in place before the window recomposes.
    b = MakeNoise(8, 4, 3);
    EXPECT_FALSE(composer.Render(DisplayComposer::kSecondView, 0, 0, 20, 10));
    EXPECT_TRUE(composer.Render(DisplayComposer::kFirstView, 0, 0, 20, 10));
    a.Reset();
    EXPECT_FALSE(composer.Render(DisplayComposer::kFirstView, 0, 0, 20, 10));
    // Composing again takes the new pictures, and says so.
    a = MakeNoise(8, 4, 4);
    ASSERT_TRUE(composer.ComposeForDisplay(in));
    EXPECT_NE(composer.Generation(), generation);
    EXPECT_TRUE(SamePixels(composer.Render(DisplayComposer::kSecondView, 0, 0, 8, 4), b));
}

// A screen-sized part of a large pair, by the per-pixel rule of the grey anaglyph at full size.
TEST(DisplayRegion, ScreenSizedPartOfALargePhotograph) {
    const char* const name = "single-file/capoda.left-right.jpg";
    if (!test::SampleExists(name)) GTEST_SKIP() << "sample photograph missing";
    LoadedImage file = LoadImageFile(test::SamplePath(name));
    ASSERT_TRUE(file.loaded);
    const PicturePair views = SplitPairPicture(file.image, false);
    file.image.Reset();
    ASSERT_TRUE(views.first && views.second);
    CompositionInput in = PairInput(views.first, views.second, DisplayMode::GreyAnaglyph);
    in.dx = -13;
    in.dy = 7;
    DisplayComposer composer;
    ASSERT_TRUE(composer.ComposeForDisplay(in));
    const int x = 1500, y = 2100, w = 1580, h = 880;
    const CommonArea area =
        ComputeCommonArea(views.first.Width(), views.first.Height(), in.dx, in.dy, false);
    const LevelTable& levels = BuildAnaglyphTables(100, 100).left;
    const auto grey = [&](std::uint32_t p) {
        return levels[LuminanceDouble(test::Blue(p), test::Green(p), test::Red(p))];
    };
    EXPECT_TRUE(SamePixels(
        composer.Render(DisplayComposer::kComposite, x, y, w, h),
        test::MakeImage(w, h,
                        [&](int px, int py) {
                            const int y1 = grey(test::FirstAt(views.first, area, x + px, y + py));
                            const int y2 = grey(
                                test::SecondAt(views.first, views.second, area, x + px, y + py));
                            return test::Rgb(y1, y2, y2);
                        }),
        "photo_part"));
}

}  // namespace
}  // namespace duplora
