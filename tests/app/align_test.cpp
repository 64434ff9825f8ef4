// The alignment dialogs' values without their windows: slot labels and linking, the stored
// text, the size change of the apply step, and the anaglyph settings' choices and densities.
#include "app/align/adjustment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "app/align/gamma_choices.h"
#include "app/shell/settings.h"
#include "core/image/convert.h"
#include "core/image/resample.h"
#include "core/stereo/anaglyph_tables.h"
#include "support/test_support.h"

namespace duplora {
namespace {

struct LabelCase {
    int slot;
    int value;
    const char* text;
};

class SlotLabel : public ::testing::TestWithParam<LabelCase> {};

TEST_P(SlotLabel, ShowsTheSignedValueInItsUnit) {
    AdjustmentSlots values = StartAdjustmentSlots(641, 480, 0, 0);
    values.value[GetParam().slot] = GetParam().value;
    EXPECT_EQ(SlotLabelText(values, GetParam().slot), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Slots, SlotLabel,
                         ::testing::Values(LabelCase{0, 895, "-0.5 Grad"},
                                           LabelCase{0, 900, "0.0 Grad"},
                                           LabelCase{3, 1800, "90.0 Grad"},
                                           LabelCase{1, 0, "-90.0 Grad"},
                                           LabelCase{6, 100, "100 %"}, LabelCase{7, 0, "0 %"},
                                           LabelCase{8, 330, "10"}, LabelCase{9, 250, "-10"}));

TEST(AdjustmentSlots, LinkedPerspectivesMirrorAndUnlinkedSlotsClampAlone) {
    AdjustmentSlots values = StartAdjustmentSlots(100, 80, 0, 0);
    EXPECT_EQ(values.Set(2, 1000, true), (std::vector<int>{2, 3}));
    EXPECT_EQ(values.value[3], 800);
    values.Set(4, 2000, false);  // clamped, partner untouched
    EXPECT_EQ(std::tuple(values.value[4], values.value[5]), std::tuple(1800, 900));
    values.Reset(3, true);
    EXPECT_EQ(values.value[2], 900);
}

TEST(AdjustmentSlots, OffsetRoundTripsForOddSizes) {
    for (const auto& [dx, dy] : {std::pair{0, 0}, {7, -3}, {-120, 80}}) {
        const AdjustmentSlots values = StartAdjustmentSlots(241, 161, dx, dy);
        EXPECT_EQ(OffsetFromSlots(values), (AdjustmentOffset{dx, dy}));
    }
}

TEST(AdjustmentSlots, StoredTextRoundTripsAndStopsAtAGap) {
    AdjustmentSlots values = StartAdjustmentSlots(200, 100, 0, 0);
    EXPECT_EQ(RestoreStoredAdjustment(values, "15,-15,0,0,0,0,0,0,0,0,").size(), 10u);
    EXPECT_EQ(SlotLabelText(values, 0), "1.5 Grad");
    EXPECT_EQ(SlotLabelText(values, 1), "-1.5 Grad");
    values.Set(kPositionY, 60, false);
    values.Set(kPerspectiveHRight, 880, false);
    const std::string text = FormatStoredAdjustment(values);
    EXPECT_EQ(text, "15,-15,0,0,0,10,0,0,0,-20,");
    AdjustmentSlots back = StartAdjustmentSlots(200, 100, 0, 0);
    RestoreStoredAdjustment(back, text);
    EXPECT_EQ(back.value, values.value);
    AdjustmentSlots partly = StartAdjustmentSlots(200, 100, 0, 0);
    EXPECT_EQ(RestoreStoredAdjustment(partly, "3,4,x,5,"), (std::vector<int>{0, 1}));
    EXPECT_EQ(partly.value[kSizeLeft], 100);
}

TEST(CorrectView, AShrunkViewSitsCentredOnABlackCanvas) {
    const ImageBuffer view = test::MakeNoise(1000, 800, 3);
    int steps = 0;
    const ImageBuffer out =
        CorrectView(view, {0, 0, 0, -50}, kDefaultHalfFieldOfView, [&] { ++steps; });
    EXPECT_EQ(steps, CorrectionStepCount({0, 0, 0, -50}));
    ASSERT_EQ(out.Width(), 1000);
    ASSERT_EQ(out.Height(), 800);
    const ImageBuffer smaller = ResizeImage(view, 500, 400);
    EXPECT_TRUE(test::SamePixels(out, CorrectionTransform(smaller, 0, 0, 0, 1000, 800), "shrunk"));
    EXPECT_EQ(test::PixelAt(out, 100, 100), 0u);
}

TEST(CorrectView, AnEnlargedViewIsCutFromTheMiddle) {
    const ImageBuffer view = test::MakeNoise(101, 61, 4);
    const ImageBuffer out = CorrectView(view, {12, 0, 0, 20}, kDefaultHalfFieldOfView);
    const ImageBuffer larger = ResizeImage(CorrectionTransform(view, 12, 0, 0), 121, 73);
    EXPECT_TRUE(test::SamePixels(out, CropRect(larger, 10, 6, 111, 67), "enlarged"));
}

// The window hears, on its own thread, a share of all the pair's steps that only grows and
// ends complete; a stopped correction leaves both views as they were.
TEST(CorrectPair, ReportsTheWholePairAndStopsWhenCancelled) {
    const ImageBuffer left = test::MakeNoise(120, 80, 5), right = test::MakeNoise(120, 80, 6);
    AdjustmentResult result;
    result.left = {5, 0, 0, 10};
    result.right = {-5, 0, 10, -10};
    std::vector<int> seen;
    const std::thread::id caller = std::this_thread::get_id();
    bool elsewhere = false;
    const Progress progress([&](ProgressDirection direction, int percent) {
        elsewhere = elsewhere || std::this_thread::get_id() != caller;
        EXPECT_EQ(direction, ProgressDirection::Writing);
        seen.push_back(percent);
    });
    const CorrectedPair pair = CorrectPair(left, right, result, progress);
    EXPECT_FALSE(elsewhere);
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::ranges::is_sorted(seen));
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(test::SamePixels(
        pair.right, CorrectView(right, result.right, kDefaultHalfFieldOfView), "right"));

    const std::atomic<bool> stop{true};
    const CorrectedPair stopped = CorrectPair(left, right, result, Progress({}, &stop));
    EXPECT_TRUE(test::SamePixels(stopped.left, left, "stopped_left"));
    EXPECT_TRUE(test::SamePixels(stopped.right, right, "stopped_right"));
}

TEST(AnaglyphSettings, ChoicesMapToPairsAndKinds) {
    using G = GreyAnaglyphPair;
    using C = ColourAnaglyphKind;
    EXPECT_EQ(AnaglyphChoiceAtOpening(G::RedGreen, C::ColourRedCyan, false), 1);
    EXPECT_EQ(AnaglyphChoiceAtOpening(G::RedCyan, C::ColourYellowBlue, true), 6);
    EXPECT_EQ(AnaglyphChoiceAtOpening(G::RedCyan, C::HalfToneRedCyan, true), 4);
    Settings settings;
    ApplyAnaglyphSettings(settings, 5, 100, 100);
    EXPECT_EQ(settings.greyAnaglyphPair, GreyAnaglyphPair::YellowBlue);
    // The further colour kinds of the method table follow as choices 8, 9, 10.
    ASSERT_EQ(AnaglyphChoiceCount(), 11);
    EXPECT_EQ(AnaglyphChoiceAtOpening(G::RedCyan, C::DuboisAmberBlue, true), 10);
    EXPECT_EQ(AnaglyphChoiceAtOpening(G::YellowBlue, C::DuboisRedCyan, false), 5);
    EXPECT_EQ(AnaglyphChoiceText(9), "Dubois (grün/&magenta)");
    const SettingWrites writes = ApplyAnaglyphSettings(settings, 9, 100, 100);
    EXPECT_EQ(settings.colourAnaglyphKind, C::DuboisGreenMagenta);
    EXPECT_EQ(writes.front(), (std::pair<std::string, std::string>{setting::kNAnactype, "5"}));
    EXPECT_EQ(AnaglyphChoiceText(11), "");
}

TEST(AnaglyphSettings, DensityIsTheMeanTableValueOfEachView) {
    // One colour per view: B, G, R = 40, 120, 200 left and 90, 30, 160 right.
    const ImageBuffer left = test::MakeImage(30, 20, [](int, int) { return 0xC87828u; });
    const ImageBuffer right = test::MakeImage(30, 20, [](int, int) { return 0xA01E5Au; });
    const AnaglyphTables tables = BuildAnaglyphTables(150, 60);
    const auto density = [&](int choice) {
        const AnaglyphPreview p = ComposeAnaglyphPreview(left, right, choice, 150, 60, 0);
        EXPECT_TRUE(p.image);
        return std::pair{p.leftDensity, p.rightDensity};
    };
    const int lumaL = static_cast<int>(0.299 * 200 + 0.587 * 120 + 0.114 * 40);
    const int lumaR = static_cast<int>(0.299 * 160 + 0.587 * 30 + 0.114 * 90);
    EXPECT_EQ(density(0), (std::pair<int, int>{tables.left[lumaL], tables.right[lumaR]}));
    EXPECT_EQ(density(3),
              (std::pair<int, int>{tables.left[200],
                                   tables.right[static_cast<int>(0.837 * 30 + 0.163 * 90)]}));
    EXPECT_EQ(density(6),
              (std::pair<int, int>{tables.left[40],
                                   tables.right[static_cast<int>(0.334 * 160 + 0.666 * 30)]}));
    EXPECT_EQ(density(7).first, tables.left[lumaL]);
}

}  // namespace
}  // namespace duplora
