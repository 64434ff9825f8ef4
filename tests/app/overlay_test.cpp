// Text drawn with Qt's fonts into a view, and text and logo stamped into both views of a pair.
// Where a logo or band goes on one picture is pinned by the core's overlay tests.
#include "app/edit/text_overlay.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>

#include <climits>
#include <filesystem>
#include <set>

#include "app/edit/frame_style.h"
#include "app/edit/pair_overlay.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/load_chain.h"
#include "gui_application.h"
#include "support/test_support.h"
#include "support/told.h"

namespace duplora {
namespace {

using test::PixelAt;
using Points = std::set<std::pair<int, int>>;  // (x, y)

constexpr std::uint32_t kBackground = 0x405060, kRed = 0xFF0000, kLogoColour = 0x11EE22;

ImageBuffer Plain(int width, int height, std::uint32_t rgb = kBackground) {
    return test::MakeImage(width, height, [rgb](int, int) { return rgb; });
}

// View pixels name their view (top byte 0x40 or 0x80) and position.
ImageBuffer View(std::uint32_t id) {
    return test::MakeImage(60, 30, [id](int x, int y) { return id << 16 | x << 8 | y; });
}

// Pixels of `out` that differ from `reference` (same size).
Points Changed(const ImageBuffer& out, const ImageBuffer& reference) {
    Points points;
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            if (PixelAt(out, x, y) != PixelAt(reference, x, y)) points.insert({x, y});
    return points;
}
Points Shifted(const Points& points, int dx, int dy) {
    Points moved;
    for (const auto& [x, y] : points) moved.insert({x + dx, y + dy});
    return moved;
}

// Red text with neither shadow nor band.
TextSet PlainText(const std::string& text, int corner, int x, int y) {
    TextSet set;
    set.corner = corner;
    set.xDistance = x;
    set.yDistance = y;
    set.text = text;
    set.textColour = 0x0000FF;  // a colour reference: red
    set.shadow = 0;
    set.band = 0;
    return set;
}

class OverlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::EnsureGuiApplication();
        // ctest runs the cases side by side: each needs its own logo file.
        logoPath_ = test::TestOutputDir() + "/overlay_logo_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bmp";
        ASSERT_TRUE(WriteBmpFile(logoPath_, Plain(4, 3, kLogoColour)));
        settings_.logoSettings.file = logoPath_;
        settings_.logoSettings.corner = 0;
        settings_.logoSettings.xDistance = 20;
        settings_.logoSettings.yDistance = 5;
        settings_.logoSettings.depth = 6;
        settings_.logoSettings.band = 0;
    }
    void TearDown() override { std::filesystem::remove(logoPath_); }

    std::string logoPath_;
    Settings settings_;
    const ImageBuffer first_ = View(0x40), second_ = View(0x80);
};

TEST_F(OverlayTest, GlyphsInsideTheLineBoxAndInTheTextColour) {
    const std::string font = test::PixelFont(20);
    const ImageBuffer picture = Plain(200, 80);
    const ImageBuffer out = test::Made(AddText(picture, PlainText("HHHH", 0, 10, 5), 0, font));
    ASSERT_TRUE(out);
    ASSERT_EQ(out.Width(), 200);
    ASSERT_EQ(out.Height(), 80);
    QFont f = TextStampFont(font, false);
    f.setPixelSize(20);
    const QFontMetrics metrics(f);
    const Points glyphs = Changed(out, picture);
    ASSERT_GT(glyphs.size(), 40u);
    int left = INT_MAX, right = 0, top = INT_MAX, bottom = 0;
    for (const auto& [x, y] : glyphs) {
        EXPECT_EQ(PixelAt(out, x, y), kRed);
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
    // "H" stands on the base line and starts just right of the pen position.
    EXPECT_GE(left, 10);
    EXPECT_LE(left, 14);
    EXPECT_LT(right, 10 + metrics.horizontalAdvance(QStringLiteral("HHHH")));
    EXPECT_GE(top, 5);
    EXPECT_LE(top, 5 + metrics.ascent() - 10);
    EXPECT_EQ(bottom, 5 + metrics.ascent() - 1);
}

TEST_F(OverlayTest, LayoutEstimatesTheWidthAndCharHeightOfTheFont) {
    // Ten characters at 16 pixels: 80 wide; the depth 3 moves it left.
    const TextLayout layout = LayoutTextStamp(PlainText("abcdefghij", 3, 10, 4), 3, 300, 100,
                                              TextStampFont(test::PixelFont(16), false));
    EXPECT_EQ(std::tuple(layout.charHeight, layout.estimatedWidth), std::tuple(16, 80));
    EXPECT_EQ(layout.origin.x, 300 - 80 - 10 - 3);
    EXPECT_EQ(layout.origin.y, 100 - 16 - 4);
    // Point sizes at 96 dots per inch.
    QFont points(QStringLiteral("DejaVu Sans"), 12);
    EXPECT_EQ(TextCharHeight(points), 16);
    points.setPointSize(9);
    EXPECT_EQ(TextCharHeight(TextStampFont(points.toString().toStdString(), false)), 12);
    // Nothing usable stored: the application's font.
    EXPECT_EQ(TextStampFont("not a font at all,,,", false).family(),
              QGuiApplication::font().family());
}

TEST_F(OverlayTest, ShadowIsTheTextShiftedUnderneath) {
    const std::string font = test::PixelFont(22);
    const ImageBuffer picture = Plain(180, 60);
    TextSet set = PlainText("Schatten", 0, 8, 8);
    const Points text = Changed(test::Made(AddText(picture, set, 0, font)), picture);
    set.shadow = 1;
    set.shadowX = 3;
    set.shadowY = 2;
    set.shadowColour = 0x202020;
    const Points shadow = Shifted(text, 3, 2);
    const ImageBuffer expected = test::MakeImage(180, 60, [&](int x, int y) {
        return text.count({x, y}) ? kRed : shadow.count({x, y}) ? 0x202020u : kBackground;
    });
    EXPECT_TRUE(test::SamePixels(AddText(picture, set, 0, font), expected, "text_shadow"));
}

TEST_F(OverlayTest, BandHoldsTheTextAndIsAddedForAnEmptyTextToo) {
    const ImageBuffer picture = test::MakeNoise(120, 30, 7);
    TextSet set = PlainText("Band", 2, 4, 10);
    set.band = 1;
    set.bandHeight = 40;
    set.bandColour = 0x00FF00;  // green
    const ImageBuffer out = test::Made(AddText(picture, set, 0, test::PixelFont(20)));
    ASSERT_EQ(out.Height(), 70);
    // The text line from row 70 − 20 − 10 = 40: wholly in the band below.
    const ImageBuffer bandOnly = test::MakeImage(
        120, 70, [&](int x, int y) { return y < 30 ? PixelAt(picture, x, y) : 0x00FF00u; });
    const Points glyphs = Changed(out, bandOnly);
    EXPECT_GT(glyphs.size(), 30u);
    for (const auto& [x, y] : glyphs) {
        ASSERT_EQ(PixelAt(out, x, y), kRed) << x << "," << y;
        ASSERT_TRUE(y >= 40 && y < 60) << y;
    }
    set = PlainText("", 1, 0, 0);
    set.band = 1;
    set.bandHeight = 6;
    set.bandColour = 0x010203;
    const ImageBuffer above = test::MakeImage(
        120, 36, [&](int x, int y) { return y < 6 ? 0x030201u : PixelAt(picture, x, y - 6); });
    EXPECT_TRUE(
        test::SamePixels(AddText(picture, set, 0, test::PixelFont(12)), above, "band_above"));
    set.band = 0;  // a band height with the band off adds nothing
    EXPECT_EQ(test::Made(AddText(picture, set, 0, test::PixelFont(12))).Height(), 30);
}

TEST_F(OverlayTest, SmoothCharactersBlendTowardsTheColour) {
    const ImageBuffer picture = Plain(200, 60, 0x000000);
    TextSet set = PlainText("Glatt & weich", 0, 4, 4);
    set.textColour = 0xFFFFFF;
    for (int smooth : {1, 0}) {
        set.smooth = smooth;
        const ImageBuffer out = test::Made(AddText(picture, set, 0, test::PixelFont(24)));
        std::set<std::uint32_t> levels;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x) {
                const std::uint32_t p = PixelAt(out, x, y);
                ASSERT_EQ(p, (p & 0xFF) * 0x010101u) << std::hex << p;  // grey
                levels.insert(p & 0xFF);
            }
        // Aliased: only black and white.
        if (smooth)
            EXPECT_GT(levels.size(), 10u);
        else
            EXPECT_EQ(levels, (std::set<std::uint32_t>{0, 0xFF}));
    }
}

TEST_F(OverlayTest, TextPartlyOrWhollyOutsideIsClipped) {
    const std::string font = test::PixelFont(30);
    const ImageBuffer picture = Plain(50, 20);
    // Far outside on every side: the picture comes back unchanged.
    for (const auto& [corner, x, y] : {std::tuple{0, -1000, 0},
                                       {0, 0, 1000},
                                       {3, -900, 0},
                                       {1, 0, INT_MIN},
                                       {0, INT_MAX, INT_MAX}}) {
        TextSet set = PlainText("Draussen", corner, x, y);
        set.shadow = 1;
        EXPECT_TRUE(test::SamePixels(AddText(picture, set, 0, font), picture, "text_outside"));
    }
    // Cut by the left and top edges: what shows is the unclipped text's part.
    const ImageBuffer wide = Plain(300, 80);
    const Points full =
        Changed(test::Made(AddText(wide, PlainText("Rand", 0, 100, 30), 0, font)), wide);
    Points want;
    for (const auto& [x, y] : Shifted(full, -108, -42))
        if (x >= 0 && x < 50 && y >= 0 && y < 20) want.insert({x, y});
    ASSERT_FALSE(want.empty());
    EXPECT_EQ(
        Changed(test::Made(AddText(picture, PlainText("Rand", 0, -8, -12), 0, font)), picture),
        want);
}

TEST_F(OverlayTest, HugeTextAndFontsStayBoundedAndBadInputGivesNone) {
    const ImageBuffer picture = Plain(64, 32);
    const std::string long_(5000, 'W');
    EXPECT_EQ(TextStampText(long_).size(), kMaxStampTextLength);
    EXPECT_EQ(TextStampText("äöü").size(), 3);
    TextSet set = PlainText(long_, 3, 0, 0);
    EXPECT_EQ(
        LayoutTextStamp(set, 0, 64, 32, TextStampFont(test::PixelFont(10), false)).estimatedWidth,
        500 * 10 / 2);
    EXPECT_TRUE(AddText(picture, set, 0, test::PixelFont(10)));
    set.corner = 0;
    EXPECT_TRUE(AddText(picture, set, 0, test::PixelFont(10)));
    set.text = "M";  // a font far taller than the picture: a clipped piece of one glyph
    EXPECT_TRUE(AddText(picture, set, 0, test::PixelFont(4000)));

    EXPECT_FALSE(AddText(ImageBuffer{}, set, 0, test::PixelFont(12)));
    set.corner = 4;
    EXPECT_FALSE(AddText(picture, set, 0, test::PixelFont(12)));
    set.corner = 0;
    set.band = 1;
    set.bandHeight = INT_MAX;
    EXPECT_FALSE(AddText(picture, set, 0, test::PixelFont(12)));
}

TEST_F(OverlayTest, TextOnARealPhotographStaysInItsLineBox) {
    if (!test::SampleExists("pairs/gx8_r.jpg")) GTEST_SKIP() << "sample photographs missing";
    const ImageBuffer photo = LoadPictureFile(test::SamplePath("pairs/gx8_r.jpg"));
    ASSERT_TRUE(photo);
    TextSet set = PlainText("Duplora 2024", 3, 40, 30);
    set.shadow = 1;
    const std::string font = test::PixelFont(60);
    const ImageBuffer out = test::Made(AddText(photo, set, 7, font));
    ASSERT_TRUE(out);
    const TextLayout layout =
        LayoutTextStamp(set, 7, photo.Width(), photo.Height(), TextStampFont(font, false));
    QFont f = TextStampFont(font, false);
    f.setPixelSize(60);
    const QFontMetrics metrics(f);
    const std::int64_t x0 = layout.origin.x, y0 = layout.origin.y;
    const std::int64_t x1 = x0 + metrics.horizontalAdvance(QString::fromStdString(set.text)) + 1;
    const std::int64_t y1 = y0 + metrics.height() + 1;
    const Points stamped = Changed(out, photo);
    EXPECT_GT(stamped.size(), 500u);
    for (const auto& [x, y] : stamped) {
        ASSERT_TRUE(x >= x0 && x < x1 && y >= y0 && y < y1) << x << "," << y;
        ASSERT_TRUE(PixelAt(out, x, y) == kRed || PixelAt(out, x, y) == 0x202020u);
    }
}

// ---- both views of a pair -----------------------------------------------------------------

// The logo's 4 columns at x = 20 on the first view; on the second shifted by the depth 6,
// the other way when the views are exchanged; a single picture has no second view.
TEST_F(OverlayTest, PairLogoOnTheSecondViewIsShiftedByTheDepth) {
    const struct {
        bool swapped, single;
        int secondX;
    } cases[] = {{false, false, 14}, {true, false, 26}, {false, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.swapped);
        const PairOverlayInput input{&first_,  c.single ? nullptr : &second_, 0, 0, false,
                                     c.swapped};
        const Result<PairViews> made = AddLogoToPair(input, settings_, {});
        ASSERT_TRUE(made);
        const PairViews& views = made.Value();
        EXPECT_EQ(bool(views.second), !c.single);
        // Logo rows 4…6 (start row 5, one above); the rest of each view is its own picture.
        const auto logoAt = [](int x, int y, int left) {
            return y >= 4 && y < 7 && x >= left && x < left + 4;
        };
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x) {
                ASSERT_EQ(PixelAt(views.first, x, y),
                          logoAt(x, y, 20) ? kLogoColour : PixelAt(first_, x, y));
                if (c.single) continue;
                ASSERT_EQ(PixelAt(views.second, x, y),
                          logoAt(x, y, c.secondX) ? kLogoColour : PixelAt(second_, x, y));
            }
    }
}

TEST_F(OverlayTest, PairViewsAreCutToTheCommonArea) {
    settings_.logoSettings.xDistance = 0;
    settings_.logoSettings.depth = 0;
    const Result<PairViews> made =
        AddLogoToPair({&first_, &second_, 7, -3, false, false}, settings_, {});
    ASSERT_TRUE(made);
    const PairViews& views = made.Value();
    // dx = 7: the second view from column 7; dy = −3: the first view's top 27 rows, the
    // second view's bottom 27 rows.
    ASSERT_EQ(views.first.Width(), 53);
    ASSERT_EQ(views.first.Height(), 27);
    ASSERT_EQ(views.second.Width(), 53);
    for (int y = 10; y < 27; ++y)
        for (int x = 0; x < 53; ++x) {
            ASSERT_EQ(PixelAt(views.first, x, y), PixelAt(first_, x, y));
            ASSERT_EQ(PixelAt(views.second, x, y), PixelAt(second_, x + 7, y + 3));
        }
}

TEST_F(OverlayTest, PairTextOnBothViewsWithTheDepth) {
    settings_.textFont = test::PixelFont(14);
    settings_.textSettings = PlainText("3D", 2, 12, 2);
    settings_.textSettings.depth = 4;
    settings_.textSettings.band = 1;
    settings_.textSettings.bandHeight = 20;
    settings_.textSettings.bandColour = 0;
    for (const bool swapped : {false, true}) {
        const Result<PairViews> made =
            AddTextToPair({&first_, &second_, 0, 0, false, swapped}, settings_);
        ASSERT_TRUE(made);
        const PairViews& views = made.Value();
        ASSERT_EQ(views.first.Height(), 50);
        Points textA, textB;
        for (int y = 30; y < 50; ++y)
            for (int x = 0; x < 60; ++x) {
                if (PixelAt(views.first, x, y) == kRed) textA.insert({x, y});
                if (PixelAt(views.second, x, y) == kRed) textB.insert({x, y});
            }
        ASSERT_FALSE(textA.empty());
        EXPECT_EQ(textB, Shifted(textA, swapped ? 4 : -4, 0)) << swapped;
    }
}

TEST_F(OverlayTest, NothingToStampGivesNothing) {
    EXPECT_FALSE(AddLogoToPair(PairOverlayInput{}, settings_, {}));
    const ImageBuffer empty;
    EXPECT_FALSE(AddTextToPair(PairOverlayInput{&empty, &second_}, settings_));
    settings_.logoSettings.band = 1;
    settings_.logoSettings.bandHeight = 70000;  // no canvas that tall: the user hears of it
    EXPECT_EQ(test::Messages(AddLogoToPair(PairOverlayInput{&first_, &second_}, settings_, {})),
              std::vector<std::string>{"FEHLER|Kann BMP Datei nicht erstellen."});
    int calls = 0;
    EXPECT_FALSE(StampPair(PairOverlayInput{&first_, &second_}, 0,
                           [&](const ImageBuffer&, int) -> Result<ImageBuffer> {
                               ++calls;
                               return Failure::Quiet();
                           }));
    EXPECT_EQ(calls, 1);  // the second view is not tried after the first failed
}

TEST_F(OverlayTest, StoredBorderFramesWithThePrintWidthsAndShowsHalfTheMiddle) {
    const BorderSet border;  // 4 + 20 + 4 for print, white, black, white
    EXPECT_EQ(DisplayFrameStyle(border).middle, 10);
    const ImageBuffer framed =
        test::Made(AddBorder(test::MakeNoise(800, 300, 1), DisplayMode::SideBySide, border));
    ASSERT_TRUE(framed);
    EXPECT_EQ(std::tuple(framed.Width(), framed.Height()), std::tuple(912, 356));
    EXPECT_EQ(PixelAt(framed, 0, 0), 0xFFFFFFu);    // outer white
    EXPECT_EQ(PixelAt(framed, 456 + 14, 178), 0u);  // middle black
}

}  // namespace
}  // namespace duplora
