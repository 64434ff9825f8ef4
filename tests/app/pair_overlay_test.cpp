#include "app/edit/pair_overlay.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/edit/frame_style.h"
#include "core/formats/bmp_codec.h"
#include "gui_application.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::PixelAt;

using test::EnsureGuiApplication;

// View pixels name their view (top byte 0x40 or 0x80) and position.
ImageBuffer View(int id, int width, int height) {
    return test::MakeImage(width, height, [id](int x, int y) {
        return (static_cast<std::uint32_t>(id) << 16) | (static_cast<std::uint32_t>(x) << 8) |
               static_cast<std::uint32_t>(y);
    });
}

constexpr std::uint32_t kLogoColour = 0x11EE22;

class PairOverlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureGuiApplication();
        // ctest runs the cases of this fixture side by side: each needs its own logo file.
        logoPath_ = test::TestOutputDir() + "/pair_overlay_logo_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bmp";
        ASSERT_TRUE(
            WriteBmpFile(logoPath_, test::MakeImage(4, 3, [](int, int) { return kLogoColour; })));
        settings_.logoset.file = logoPath_;
        settings_.logoset.corner = 0;
        settings_.logoset.xDistance = 20;
        settings_.logoset.yDistance = 5;
        settings_.logoset.depth = 6;
        settings_.logoset.band = 0;
    }
    void TearDown() override { std::filesystem::remove(logoPath_); }

    std::string logoPath_;
    Settings settings_;
    const ImageBuffer first_ = View(0x40, 60, 30);
    const ImageBuffer second_ = View(0x80, 60, 30);
};

// The logo's 4 columns at x = 20 on the first view; on the second shifted by the depth 6,
// the other way when the views are exchanged; a single picture has no second view.
TEST_F(PairOverlayTest, SecondViewShiftedByTheDepth) {
    const struct {
        bool swapped, single;
        int secondX;
    } cases[] = {{false, false, 14}, {true, false, 26}, {false, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.swapped);
        const PairOverlayInput input{&first_,  c.single ? nullptr : &second_, 0, 0, false,
                                     c.swapped};
        const PairViews views = AddLogoToPair(input, settings_, {});
        ASSERT_TRUE(views.ok);
        EXPECT_EQ(bool(views.second), !c.single);
        // Logo rows 4…6 (start row 5, one above); the rest of each view is its own picture.
        const auto logoAt = [](int x, int y, int left) {
            return y >= 4 && y < 7 && x >= left && x < left + 4;
        };
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x) {
                ASSERT_EQ(PixelAt(views.first, x, y),
                          logoAt(x, y, 20) ? kLogoColour : PixelAt(first_, x, y));
                if (!c.single) {
                    ASSERT_EQ(PixelAt(views.second, x, y),
                              logoAt(x, y, c.secondX) ? kLogoColour : PixelAt(second_, x, y));
                }
            }
    }
}

TEST_F(PairOverlayTest, ViewsAreCutToTheCommonArea) {
    settings_.logoset.xDistance = 0;
    settings_.logoset.depth = 0;
    const PairOverlayInput input{&first_, &second_, 7, -3, false, false};
    const PairViews views = AddLogoToPair(input, settings_, {});
    ASSERT_TRUE(views.ok);
    // dx = 7: the first view from column 0, the second from column 7; dy = −3: the first
    // view from stored row 3, i.e. its top 27 rows, the second view's bottom 27 rows.
    ASSERT_EQ(views.first.Width(), 53);
    ASSERT_EQ(views.first.Height(), 27);
    ASSERT_EQ(views.second.Width(), 53);
    for (int y = 10; y < 27; ++y) {
        for (int x = 0; x < 53; ++x) {
            ASSERT_EQ(PixelAt(views.first, x, y), PixelAt(first_, x, y));
            ASSERT_EQ(PixelAt(views.second, x, y), PixelAt(second_, x + 7, y + 3));
        }
    }
}

TEST_F(PairOverlayTest, TextOnBothViewsWithTheDepth) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    settings_.logfont = font.toString().toStdString();
    TextSet& t = settings_.textset;
    t = TextSet{};
    t.corner = 2;
    t.xDistance = 12;
    t.yDistance = 2;
    t.depth = 4;
    t.text = "3D";
    t.shadow = 0;
    t.band = 1;
    t.bandHeight = 20;
    t.bandColour = 0;
    t.textColour = 0xFFFFFF;
    for (const bool swapped : {false, true}) {
        const PairOverlayInput input{&first_, &second_, 0, 0, false, swapped};
        const PairViews views = AddTextToPair(input, settings_);
        ASSERT_TRUE(views.ok);
        ASSERT_EQ(views.first.Height(), 50);
        std::set<std::pair<int, int>> a, b;
        for (int y = 30; y < 50; ++y)
            for (int x = 0; x < 60; ++x) {
                if (PixelAt(views.first, x, y) == 0xFFFFFFu) a.insert({x, y});
                if (PixelAt(views.second, x, y) == 0xFFFFFFu) b.insert({x, y});
            }
        ASSERT_FALSE(a.empty());
        std::set<std::pair<int, int>> moved;
        for (const auto& [x, y] : a) moved.insert({x + (swapped ? 4 : -4), y});
        EXPECT_EQ(b, moved) << swapped;
    }
}

TEST_F(PairOverlayTest, MissingLogoFileStampsTheBuiltInLogo) {
    settings_.logoset.file = "/no/such/logo.tif";
    settings_.logoset.xDistance = 0;
    settings_.logoset.yDistance = 1;  // logo rows from row 0
    settings_.logoset.depth = 0;
    const PairOverlayInput input{&first_, &second_, 0, 0, false, false};
    const PairViews views = AddLogoToPair(input, settings_, {});
    ASSERT_TRUE(views.ok);
    const ImageBuffer logo = BuiltinLogo();
    const auto logoAt = [&](int x, int y) {
        const std::uint8_t* entry = logo.ColourTable() + 4 * test::IndexAt(logo, x, y);
        return (std::uint32_t{entry[2]} << 16) | (std::uint32_t{entry[1]} << 8) | entry[0];
    };
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            ASSERT_EQ(PixelAt(views.first, x, y), logoAt(x, y));
            ASSERT_EQ(PixelAt(views.second, x, y), logoAt(x, y));
        }
}

TEST_F(PairOverlayTest, NothingToStampGivesNothing) {
    EXPECT_FALSE(AddLogoToPair(PairOverlayInput{}, settings_, {}).ok);
    const ImageBuffer empty;
    EXPECT_FALSE(AddTextToPair(PairOverlayInput{&empty, &second_}, settings_).ok);
    settings_.logoset.band = 1;
    settings_.logoset.bandHeight = 70000;  // no canvas that tall
    const PairViews views = AddLogoToPair(PairOverlayInput{&first_, &second_}, settings_, {});
    EXPECT_FALSE(views.ok);
    EXPECT_FALSE(views.first);
    EXPECT_FALSE(views.second);
    int calls = 0;
    EXPECT_FALSE(StampPair(PairOverlayInput{&first_, &second_}, 0, [&](const ImageBuffer&, int) {
                     ++calls;
                     return ImageBuffer{};
                 }).ok);
    EXPECT_EQ(calls, 1);  // the second view is not tried after the first failed
}

TEST(FrameStyle, StoredBorderSettings) {
    const BorderSet border;  // 4 + 20 + 4 for print, white, black, white
    EXPECT_EQ(DisplayFrameStyle(border).middle, 10);
    const ImageBuffer framed = AddBorder(test::MakeNoise(800, 300, 1), 0, border);
    ASSERT_TRUE(framed);
    EXPECT_EQ(framed.Width(), 912);
    EXPECT_EQ(framed.Height(), 356);
    EXPECT_EQ(PixelAt(framed, 0, 0), 0xFFFFFFu);    // outer white
    EXPECT_EQ(PixelAt(framed, 456 + 14, 178), 0u);  // middle black
}

}  // namespace
}  // namespace duplora
