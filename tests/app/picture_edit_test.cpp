// Both views filtered at once, and the overlay previews of the text and logo dialogs.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/edit/overlay_preview.h"
#include "app/edit/pair_filter.h"
#include "app/edit/pair_overlay.h"
#include "app/edit/text_overlay.h"
#include "core/edit/logo.h"
#include "core/image/convert.h"
#include "core/image/filter.h"
#include "gui_application.h"
#include "support/test_support.h"

namespace duplora {
namespace {

using test::SamePixels;

// ---- the dialogs' numbers --------------------------------------------------------------------

TEST(PictureEditValues, TypedNumbersAreBroughtIntoRange) {
    EXPECT_EQ(ClampSharpness(0), 1);
    EXPECT_EQ(ClampSharpness(51), 50);
    EXPECT_EQ(SharpenDivisor(1), 50);
    EXPECT_EQ(SharpenDivisor(50), 1);
    EXPECT_EQ(SharpenDivisor(40), 11);
    EXPECT_EQ(ClampEdgeThreshold(-3), 0);
    EXPECT_EQ(ClampEdgeThreshold(256), 255);
    EXPECT_EQ(ClampEdgeThreshold(16), 16);
}

// ---- both views at once ----------------------------------------------------------------------

struct FilterCase {
    const char* name;
    bool sharpen;
    int value;
    int width, height;
};

class FilterPairTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterPairTest, GivesEachViewItsOwnFilterResult) {
    const FilterCase& c = GetParam();
    const ImageBuffer left = test::MakeNoise(c.width, c.height, 3);
    const ImageBuffer right = test::MakeNoise(c.width, c.height, 4);
    const ViewFilter filter = c.sharpen ? SharpenFilter(c.value) : EdgeFilter(c.value);
    const EditedPair pair = FilterPair(left, right, filter, NoProgress());
    const auto direct = [&](const ImageBuffer& view) {
        return c.sharpen ? SharpenImage(view, SharpenDivisor(c.value)) : DetectEdges(view, c.value);
    };
    EXPECT_TRUE(SamePixels(pair.left, direct(left), std::string(c.name) + "_left"));
    EXPECT_TRUE(SamePixels(pair.right, direct(right), std::string(c.name) + "_right"));
    EXPECT_FALSE(pair.view.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FilterPairTest,
    ::testing::Values(FilterCase{"sharpen", true, 1, 97, 61},
                      // Large enough to be split into row bands on every thread.
                      FilterCase{"sharpen_banded", true, 40, 700, 400},
                      FilterCase{"edges_banded", false, 0, 700, 400}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FilterPair, ASinglePictureKeepsItsEmptyRightView) {
    const ImageBuffer left = test::MakeNoise(40, 30, 5);
    const EditedPair pair = FilterPair(left, ImageBuffer{}, SharpenFilter(40), NoProgress());
    EXPECT_TRUE(SamePixels(pair.left, SharpenImage(left, 11)));
    EXPECT_TRUE(pair.right.IsNull());
}

TEST(FilterPair, ProgressIsHeardOnTheWaitingThreadOnlyAndEndsWhereOneViewEnds) {
    const ImageBuffer left = test::MakeNoise(800, 600, 6);
    const ImageBuffer right = test::MakeNoise(800, 600, 7);
    const std::thread::id self = std::this_thread::get_id();
    std::vector<int> heard;
    bool elsewhere = false;
    const Progress progress([&](ProgressDirection, int percent) {
        if (std::this_thread::get_id() != self) elsewhere = true;
        heard.push_back(percent);
    });
    const EditedPair pair = FilterPair(left, right, SharpenFilter(40), progress);
    ASSERT_FALSE(pair.left.IsNull());
    EXPECT_FALSE(elsewhere);
    ASSERT_FALSE(heard.empty());
    EXPECT_TRUE(std::is_sorted(heard.begin(), heard.end()));
    // Where one view's filter ends on its own, both together end too.
    int alone = 0;
    SharpenImage(left, 11, Progress([&](ProgressDirection, int percent) { alone = percent; }));
    EXPECT_EQ(heard.back(), alone);
}

TEST(FilterPair, AStoppedFilterGivesNeitherView) {
    const ImageBuffer left = test::MakeNoise(300, 200, 8);
    const ImageBuffer right = test::MakeNoise(300, 200, 9);
    std::atomic<bool> stop{true};
    const Progress progress({}, &stop);
    const EditedPair pair = FilterPair(left, right, EdgeFilter(16), progress);
    EXPECT_TRUE(pair.left.IsNull());
    EXPECT_TRUE(pair.right.IsNull());
}

// ---- previews --------------------------------------------------------------------------------

struct CutCase {
    int corner, width, height;
    PreviewCut expected;
};

class CornerCutTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CornerCutTest, TakesThePartAtTheCorner) {
    const CutCase& c = GetParam();
    EXPECT_EQ(CornerCut(c.corner, c.width, c.height, 320, 240), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Corners, CornerCutTest,
                         ::testing::Values(CutCase{0, 1000, 800, {0, 0, 320, 240}},
                                           CutCase{1, 1000, 800, {680, 0, 320, 240}},
                                           CutCase{2, 1000, 800, {0, 560, 320, 240}},
                                           CutCase{3, 1000, 800, {680, 560, 320, 240}},
                                           // A picture smaller than the preview is shown whole.
                                           CutCase{3, 200, 100, {0, 0, 200, 100}},
                                           CutCase{1, 500, 100, {180, 0, 320, 100}}));

// The preview stamps only its corner of the view; it must show exactly what stamping the whole
// view and cutting that corner shows, band included.
class PreviewTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { test::EnsureGuiApplication(); }
};

TEST_P(PreviewTest, TextMatchesTheCornerOfTheWholeViewStamped) {
    const int corner = GetParam();
    const ImageBuffer view = test::MakeNoise(500, 300, 10);
    TextSet set;
    set.corner = corner;
    set.xDistance = 12;
    set.yDistance = 7;
    set.text = "Tiefe 3D";
    set.band = 1;
    set.bandHeight = 30;
    set.bandColour = ColourRef(10, 200, 30);
    set.smooth = corner % 2;
    const std::string font = test::PixelFont(22);
    const ImageBuffer whole = test::Made(AddText(view, set, 0, font));
    ASSERT_FALSE(whole.IsNull());
    const PreviewCut cut = CornerCut(corner, whole.Width(), whole.Height(), 320, 240);
    const ImageBuffer expected =
        CropRect(whole, cut.x, cut.y, cut.x + cut.width, cut.y + cut.height);
    EXPECT_TRUE(SamePixels(TextPreview(view, set, font, 320, 240), expected,
                           "text_preview_" + std::to_string(corner)));
}

TEST_P(PreviewTest, LogoMatchesTheCornerOfTheWholeViewStamped) {
    const int corner = GetParam();
    const ImageBuffer view = test::MakeNoise(400, 280, 11);
    const ImageBuffer logo = test::MakeNoise(50, 20, 12);
    LogoSet set;
    set.corner = corner;
    set.xDistance = 5;
    set.yDistance = 9;
    set.bandHeight = 16;
    set.transparent = 1;
    set.transparentColour = ColourRef(255, 255, 255);
    const ImageBuffer whole = test::Made(AddLogo(view, logo, LogoStampFor(set, 0)));
    ASSERT_FALSE(whole.IsNull());
    const PreviewCut cut = CornerCut(corner, whole.Width(), whole.Height(), 320, 240);
    const ImageBuffer expected =
        CropRect(whole, cut.x, cut.y, cut.x + cut.width, cut.y + cut.height);
    EXPECT_TRUE(SamePixels(LogoPreview(view, logo, set, 320, 240), expected,
                           "logo_preview_" + std::to_string(corner)));
}

INSTANTIATE_TEST_SUITE_P(Corners, PreviewTest, ::testing::Values(0, 1, 2, 3));

TEST(Preview, NoViewGivesNoPreview) {
    EXPECT_FALSE(TextPreview(ImageBuffer{}, TextSet{}, {}, 320, 240).Ok());
    EXPECT_FALSE(LogoPreview(ImageBuffer{}, BuiltinLogo(), LogoSet{}, 320, 240).Ok());
}

}  // namespace
}  // namespace duplora
