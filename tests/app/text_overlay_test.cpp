#include "app/edit/text_overlay.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <climits>
#include <functional>
#include <set>

#include "core/formats/load_chain.h"
#include "gui_application.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::PixelAt;

using test::EnsureGuiApplication;

constexpr std::uint32_t kBackground = 0x405060;

ImageBuffer Plain(int width, int height, std::uint32_t rgb = kBackground) {
    return test::MakeImage(width, height, [rgb](int, int) { return rgb; });
}

std::string FontOfPixels(int pixels) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    return font.toString().toStdString();
}

struct Point {
    int x, y;
    bool operator<(const Point& o) const { return y != o.y ? y < o.y : x < o.x; }
    bool operator==(const Point&) const = default;
};

// Pixels of `out` that differ from `reference` (same size), as a set.
std::set<Point> Changed(const ImageBuffer& out, const ImageBuffer& reference) {
    std::set<Point> points;
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            if (PixelAt(out, x, y) != PixelAt(reference, x, y)) points.insert({x, y});
    return points;
}

std::set<std::uint32_t> Colours(const ImageBuffer& image) {
    std::set<std::uint32_t> colours;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) colours.insert(PixelAt(image, x, y));
    return colours;
}

std::set<Point> Shifted(const std::set<Point>& points, int dx, int dy) {
    std::set<Point> moved;
    for (const Point& p : points) moved.insert({p.x + dx, p.y + dy});
    return moved;
}

TextSet PlainText(const std::string& text, int corner, int x, int y) {
    TextSet set;
    set.corner = corner;
    set.xDistance = x;
    set.yDistance = y;
    set.text = text;
    set.textColour = 0x0000FF;  // red
    set.shadow = 0;
    set.band = 0;
    return set;
}

class TextOverlayTest : public ::testing::Test {
  protected:
    void SetUp() override { EnsureGuiApplication(); }
};

TEST_F(TextOverlayTest, GlyphsInsideTheLineBoxAndInTheTextColour) {
    const std::string font = FontOfPixels(20);
    const ImageBuffer picture = Plain(200, 80);
    const TextSet set = PlainText("HHHH", 0, 10, 5);
    const ImageBuffer out = AddText(picture, set, 0, font);
    ASSERT_TRUE(out);
    ASSERT_EQ(out.Width(), 200);
    ASSERT_EQ(out.Height(), 80);
    QFont f = TextStampFont(font, false);
    f.setPixelSize(20);
    const QFontMetrics metrics(f);
    const std::set<Point> glyphs = Changed(out, picture);
    ASSERT_GT(glyphs.size(), 40u);
    int left = INT_MAX, right = 0, top = INT_MAX, bottom = 0;
    for (const Point& p : glyphs) {
        EXPECT_EQ(PixelAt(out, p.x, p.y), 0xFF0000u);
        left = std::min(left, p.x), right = std::max(right, p.x);
        top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    }
    // "H" stands on the base line and starts just right of the pen position.
    EXPECT_GE(left, 10);
    EXPECT_LE(left, 14);
    EXPECT_LT(right, 10 + metrics.horizontalAdvance(QStringLiteral("HHHH")));
    EXPECT_GE(top, 5);
    EXPECT_LE(top, 5 + metrics.ascent() - 10);
    EXPECT_EQ(bottom, 5 + metrics.ascent() - 1);
}

TEST_F(TextOverlayTest, LayoutFollowsTheCornerRule) {
    const QFont font = TextStampFont(FontOfPixels(16), false);
    TextSet set = PlainText("abcdefghij", 0, 10, 4);  // estimated width 10 × 16 / 2 = 80
    struct Case {
        int corner;
        std::int64_t x, y;
    } cases[] = {{0, 10 - 3, 4},
                 {1, 300 - 80 - 10 - 3, 4},
                 {2, 10 - 3, 100 - 16 - 4},
                 {3, 300 - 80 - 10 - 3, 100 - 16 - 4}};
    for (const Case& c : cases) {
        set.corner = c.corner;
        const TextLayout layout = LayoutTextStamp(set, 3, 300, 100, font);
        EXPECT_EQ(layout.charHeight, 16);
        EXPECT_EQ(layout.estimatedWidth, 80);
        EXPECT_EQ(layout.origin.x, c.x) << c.corner;
        EXPECT_EQ(layout.origin.y, c.y) << c.corner;
    }
}

TEST_F(TextOverlayTest, CharHeightOfPointFontsAt96Dpi) {
    QFont points(QStringLiteral("DejaVu Sans"), 12);
    EXPECT_EQ(TextCharHeight(points), 16);
    points.setPointSize(9);
    EXPECT_EQ(TextCharHeight(TextStampFont(points.toString().toStdString(), false)), 12);
    // Nothing usable stored: the application's font.
    EXPECT_EQ(TextStampFont("not a font at all,,,", false).family(),
              QGuiApplication::font().family());
}

TEST_F(TextOverlayTest, DepthShiftsTheGlyphsExactly) {
    const std::string font = FontOfPixels(18);
    const ImageBuffer picture = Plain(160, 50);
    for (const int corner : {0, 3}) {
        const TextSet set = PlainText("Tiefe 3D", corner, 20, 6);
        const std::set<Point> flat = Changed(AddText(picture, set, 0, font), picture);
        const std::set<Point> deep = Changed(AddText(picture, set, 5, font), picture);
        const std::set<Point> back = Changed(AddText(picture, set, -5, font), picture);
        ASSERT_FALSE(flat.empty());
        EXPECT_EQ(deep, Shifted(flat, -5, 0)) << corner;
        EXPECT_EQ(back, Shifted(flat, 5, 0)) << corner;
    }
}

TEST_F(TextOverlayTest, ShadowIsTheTextShiftedUnderneath) {
    const std::string font = FontOfPixels(22);
    const ImageBuffer picture = Plain(180, 60);
    TextSet set = PlainText("Schatten", 0, 8, 8);
    const std::set<Point> text = Changed(AddText(picture, set, 0, font), picture);
    set.shadow = 1;
    set.shadowX = 3;
    set.shadowY = 2;
    set.shadowColour = 0x202020;
    const std::set<Point> shadow = Shifted(text, 3, 2);
    const ImageBuffer expected = test::MakeImage(180, 60, [&](int x, int y) {
        return text.count({x, y}) ? 0xFF0000u : shadow.count({x, y}) ? 0x202020u : kBackground;
    });
    EXPECT_TRUE(test::SamePixels(AddText(picture, set, 0, font), expected, "text_shadow"));
}

TEST_F(TextOverlayTest, BandBelowHoldsTheText) {
    const std::string font = FontOfPixels(20);
    const ImageBuffer picture = test::MakeNoise(120, 30, 7);
    TextSet set = PlainText("Band", 2, 4, 10);
    set.band = 1;
    set.bandHeight = 40;
    set.bandColour = 0x00FF00;  // green
    const ImageBuffer out = AddText(picture, set, 0, font);
    ASSERT_TRUE(out);
    ASSERT_EQ(out.Height(), 70);
    // Text line from row 70 − 20 − 10 = 40: wholly in the band.
    const ImageBuffer bandOnly = test::MakeImage(
        120, 70, [&](int x, int y) { return y < 30 ? PixelAt(picture, x, y) : 0x00FF00u; });
    const std::set<Point> glyphs = Changed(out, bandOnly);
    EXPECT_GT(glyphs.size(), 30u);
    for (const Point& p : glyphs) {
        ASSERT_EQ(PixelAt(out, p.x, p.y), 0xFF0000u) << p.x << "," << p.y;
        ASSERT_TRUE(p.y >= 40 && p.y < 60) << p.y;
    }
}

TEST_F(TextOverlayTest, EmptyTextStillAddsTheBand) {
    const ImageBuffer picture = test::MakeNoise(30, 10, 2);
    TextSet set = PlainText("", 1, 0, 0);
    set.band = 1;
    set.bandHeight = 6;
    set.bandColour = 0x010203;
    const ImageBuffer out = AddText(picture, set, 0, FontOfPixels(12));
    const ImageBuffer expected = test::MakeImage(
        30, 16, [&](int x, int y) { return y < 6 ? 0x030201u : PixelAt(picture, x, y - 6); });
    EXPECT_TRUE(test::SamePixels(out, expected, "text_band_above"));
    set.band = 0;  // a band height with the band off adds nothing
    EXPECT_EQ(AddText(picture, set, 0, FontOfPixels(12)).Height(), 10);
}

TEST_F(TextOverlayTest, SmoothCharactersBlendTowardsTheColour) {
    const ImageBuffer picture = Plain(200, 60, 0x000000);
    TextSet set = PlainText("Glatt & weich", 0, 4, 4);
    set.textColour = 0xFFFFFF;
    set.smooth = 1;
    std::set<std::uint32_t> levels;
    for (const std::uint32_t p : Colours(AddText(picture, set, 0, FontOfPixels(24)))) {
        ASSERT_EQ(p, (p & 0xFF) * 0x010101u) << std::hex << p;  // grey between black and white
        levels.insert(p & 0xFF);
    }
    EXPECT_GT(levels.size(), 10u);
    set.smooth = 0;  // aliased: only the two colours
    EXPECT_EQ(Colours(AddText(picture, set, 0, FontOfPixels(24))),
              (std::set<std::uint32_t>{0, 0xFFFFFF}));
}

TEST_F(TextOverlayTest, TextPartlyOrWhollyOutsideIsClipped) {
    const std::string font = FontOfPixels(30);
    const ImageBuffer picture = Plain(50, 20);
    // Far outside on every side: the picture comes back unchanged.
    for (const auto& [corner, x, y] : {std::tuple{0, -1000, 0},
                                       {0, 0, 1000},
                                       {3, -900, 0},
                                       {1, 0, INT_MIN},
                                       {0, INT_MAX, INT_MAX}}) {
        TextSet set = PlainText("Draussen", corner, x, y);
        set.shadow = 1;
        const ImageBuffer out = AddText(picture, set, 0, font);
        ASSERT_TRUE(out);
        EXPECT_TRUE(test::SamePixels(out, picture, "text_outside"));
    }
    // Cut by the left and top edges: what shows is the unclipped text's part.
    const ImageBuffer wide = Plain(300, 80);
    const TextSet whole = PlainText("Rand", 0, 100, 30);
    const std::set<Point> full = Changed(AddText(wide, whole, 0, font), wide);
    const TextSet cut = PlainText("Rand", 0, -8, -12);
    const std::set<Point> part = Changed(AddText(picture, cut, 0, font), picture);
    std::set<Point> want;
    for (const Point& p : Shifted(full, -108, -42))
        if (p.x >= 0 && p.x < 50 && p.y >= 0 && p.y < 20) want.insert(p);
    ASSERT_FALSE(want.empty());
    EXPECT_EQ(part, want);
}

TEST_F(TextOverlayTest, HugeTextAndFontsStayBounded) {
    const ImageBuffer picture = Plain(64, 32);
    const std::string long_(5000, 'W');
    EXPECT_EQ(TextStampText(long_).size(), kMaxStampTextLength);
    EXPECT_EQ(TextStampText("äöü").size(), 3);
    TextSet set = PlainText(long_, 3, 0, 0);
    const TextLayout layout =
        LayoutTextStamp(set, 0, 64, 32, TextStampFont(FontOfPixels(10), false));
    EXPECT_EQ(layout.estimatedWidth, 500 * 10 / 2);
    EXPECT_TRUE(AddText(picture, set, 0, FontOfPixels(10)));
    set.corner = 0;
    EXPECT_TRUE(AddText(picture, set, 0, FontOfPixels(10)));
    // A font far taller than the picture: a clipped piece of one glyph, no failure.
    set.text = "M";
    EXPECT_TRUE(AddText(picture, set, 0, FontOfPixels(4000)));
}

TEST_F(TextOverlayTest, BadInputGivesNone) {
    const std::string font = FontOfPixels(12);
    TextSet set = PlainText("x", 0, 0, 0);
    EXPECT_FALSE(AddText(ImageBuffer{}, set, 0, font));
    set.corner = 4;
    EXPECT_FALSE(AddText(Plain(10, 10), set, 0, font));
    set.corner = 0;
    set.band = 1;
    set.bandHeight = INT_MAX;
    EXPECT_FALSE(AddText(Plain(10, 10), set, 0, font));
}

TEST_F(TextOverlayTest, OnARealPhotograph) {
    if (!test::SampleExists("pairs/gx8_r.jpg")) GTEST_SKIP() << "sample photographs missing";
    const ImageBuffer photo = LoadPictureFile(test::SamplePath("pairs/gx8_r.jpg"));
    ASSERT_TRUE(photo);
    TextSet set = PlainText("Duplora 2024", 3, 40, 30);
    set.shadow = 1;
    const std::string font = FontOfPixels(60);
    const ImageBuffer out = AddText(photo, set, 7, font);
    ASSERT_TRUE(out);
    const TextLayout layout =
        LayoutTextStamp(set, 7, photo.Width(), photo.Height(), TextStampFont(font, false));
    QFont f = TextStampFont(font, false);
    f.setPixelSize(60);
    const QFontMetrics metrics(f);
    const std::int64_t x0 = layout.origin.x, y0 = layout.origin.y;
    const std::int64_t x1 = x0 + metrics.horizontalAdvance(QString::fromStdString(set.text)) + 1;
    const std::int64_t y1 = y0 + metrics.height() + 1;
    const std::set<Point> stamped = Changed(out, photo);
    EXPECT_GT(stamped.size(), 500u);
    for (const auto& [x, y] : stamped) {
        ASSERT_TRUE(x >= x0 && x < x1 && y >= y0 && y < y1) << x << "," << y;
        ASSERT_TRUE(PixelAt(out, x, y) == 0xFF0000u || PixelAt(out, x, y) == 0x202020u);
    }
}

}  // namespace
}  // namespace duplora
