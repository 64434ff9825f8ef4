#include "app/stereo/selection.h"

#include <gtest/gtest.h>

#include "app/stereo/view_numbers.h"

namespace duplora {
namespace {

using namespace selection_mode;

SelectionView View(int zoom = 100, QPoint origin = {0, 0}, QSize picture = {400, 300}) {
    return SelectionView{origin, zoom, picture};
}

// ---- Mapping --------------------------------------------------------------------------

TEST(SelectionMapping, PanePixelsToFullSizeRoundToNearestAndBack) {
    struct Case {
        int pane, origin, zoom, full;
    };
    const Case cases[] = {
        {10, 40, 100, 50}, {11, 0, 50, 22}, {20, 0, 33, 61},  // 60.6
        {1, 0, 200, 1},                                       // 0.5 rounds up
        {7, 3, 7, 143},                                       // (3 + 1000) / 7
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToFullSize(c.pane, c.origin, c.zoom), c.full)
            << c.pane << " + " << c.origin << " at " << c.zoom;
    EXPECT_EQ(ToFullSize(QPoint(10, 11), View(50, {100, 4})), QPoint(220, 30));
    EXPECT_EQ(ToPane(QPoint(220, 30), View(50, {100, 4})), QPoint(10, 11));
    EXPECT_EQ(ToPane(21, 0, 50), 10);
    EXPECT_EQ(FullSizeBounds(View(33, {0, 0}, {1980, 1320})), QSize(6000, 4000));
}

TEST(SelectionMapping, PointsAreClampedIntoThePicture) {
    // A 200 × 100 picture centred in a larger pane: origin (−50, −20).
    const SelectionView v = View(100, {-50, -20}, {200, 100});
    EXPECT_EQ(ClampToPicture({10, 10}, v), QPoint(50, 20));
    EXPECT_EQ(ClampToPicture({300, 200}, v), QPoint(250, 120));
    EXPECT_EQ(ClampToPicture({60, 30}, v), QPoint(60, 30));
    EXPECT_EQ(ToFullSize(ClampToPicture({0, 0}, v), v), QPoint(0, 0));
}

// ---- Ratio --------------------------------------------------------------------------------

TEST(SelectionRatioRule, TheLongSideIsShortenedToTheModesRatio) {
    EXPECT_EQ(ConstrainToRatio({0, 0}, {100, 30}, {4, 3}), QPoint(40, 30));
    EXPECT_EQ(ConstrainToRatio({0, 0}, {-100, 90}, {4, 3}), QPoint(-100, 75));
    EXPECT_EQ(ConstrainToRatio({50, 50}, {90, 80}, {4, 3}), QPoint(90, 80));  // exact
    EXPECT_EQ(ConstrainToRatio({0, 0}, {100, 30}, {0, 3}), QPoint(100, 30));  // no ratio
    EXPECT_EQ(ConstrainToRatio({0, 0}, {100, 0}, {480, 320}), QPoint(0, 0));
    // Which ratio each mode keeps.
    const AspectSet off{0, 4, 3};
    const AspectSet on{1, 16, 9};
    const QSize preset(640, 480);
    const QSize phone(240, 320);
    EXPECT_EQ(SelectionRatio(kFree, off, preset, phone), std::nullopt);
    EXPECT_EQ(SelectionRatio(kFree, on, preset, phone), QSize(16, 9));
    EXPECT_EQ(SelectionRatio(kPhone, off, preset, phone), QSize(480, 320));
    EXPECT_EQ(SelectionRatio(kPresetRatio, off, QSize(0, 480), phone), std::nullopt);
    EXPECT_EQ(SelectionRatio(kFixedSize, on, preset, phone), std::nullopt);
}

TEST(SelectionStart, PresetTrimsAreCutToThePicture) {
    EXPECT_EQ(PresetTrimRect({1600, 1200}, {1024, 768}), (SelectionRect{0, 0, 1024, 768}));
    EXPECT_EQ(PresetTrimRect({640, 480}, {1024, 768}), (SelectionRect{0, 0, 640, 480}));
}

// ---- The state machine --------------------------------------------------------------------

TEST(SelectionMachine, OneStepFreeTrimSendsItsCommandOnRelease) {
    SelectionTracker t;
    t.Begin(kFree);
    const SelectionView v = View();
    auto out = t.Move({5, 5}, v);
    EXPECT_EQ(out.crossHair, QPoint(5, 5));
    EXPECT_FALSE(out.rectChanged);
    t.Press({110, 70}, v);
    out = t.Move({10, 20}, v);
    EXPECT_TRUE(out.rectChanged);
    // The status names the corners as drawn, the size as positive.
    EXPECT_EQ(SelectionStatusText(t.Rect()), "(110,70)-(10,20) [100 X 50]");
    out = t.Release({10, 20}, v, false);
    EXPECT_EQ(out.command, view_command::kTrimDone);
    EXPECT_EQ(t.Mode(), kNone);
    EXPECT_EQ(t.Rect(), (SelectionRect{10, 20, 110, 70}));  // ordered
}

TEST(SelectionMachine, TwoStepDiscardsATinyRectangle) {
    SelectionTracker t;
    t.Begin(kFree);
    const SelectionView v = View();
    t.Press({10, 10}, v);
    const auto out = t.Release({12, 60}, v, true);  // 2 × 50
    EXPECT_EQ(out.command, 0);
    EXPECT_TRUE(out.repaint);
    EXPECT_EQ(t.Mode(), kFree);
    EXPECT_FALSE(t.PaneRect(v));
    EXPECT_EQ(t.Move({30, 30}, v).crossHair, QPoint(30, 30));  // drawing starts again
}

TEST(SelectionMachine, TwoStepThenMoveThenSend) {
    SelectionTracker t;
    t.Begin(kFree);
    const SelectionView v = View();
    t.Press({10, 10}, v);
    t.Move({110, 60}, v);
    auto out = t.Release({110, 60}, v, true);
    EXPECT_EQ(out.command, 0);
    EXPECT_EQ(t.Mode(), kMoveFree);
    // Moving: the whole rectangle follows the mouse, size kept.
    t.Press({50, 50}, v);
    t.Move({80, 40}, v);
    EXPECT_EQ(t.Rect(), (SelectionRect{40, 0, 140, 50}));
    out = t.Release({80, 40}, v, true);
    EXPECT_EQ(out.command, view_command::kTrimDone);
    EXPECT_EQ(t.Mode(), kNone);
    EXPECT_EQ(t.Rect(), (SelectionRect{40, 0, 140, 50}));
}

TEST(SelectionMachine, MovedRectangleStaysInsideThePicture) {
    SelectionTracker t;
    t.Begin(kPhone);
    const SelectionView v = View();  // 400 × 300
    t.Press({300, 200}, v);
    t.Release({400, 300}, v, true);
    ASSERT_EQ(t.Mode(), kMovePhone);
    t.Press({350, 250}, v);
    t.Move({400, 300}, v);
    EXPECT_EQ(t.Rect(), (SelectionRect{300, 200, 400, 300}));
    t.Move({0, 0}, v);
    EXPECT_EQ(t.Rect(), (SelectionRect{0, 0, 100, 100}));
    EXPECT_EQ(t.Release({0, 0}, v, true).command, view_command::kPhoneAreaDone);
}

TEST(SelectionMachine, PresetRatioIsKeptWhileDrawingAndCornersAreClamped) {
    SelectionTracker t;
    t.Begin(kPresetRatio, QSize(4, 3));
    const SelectionView v = View();
    t.Press({0, 0}, v);
    t.Move({100, 30}, v);
    EXPECT_EQ(t.Rect(), (SelectionRect{0, 0, 40, 30}));
    EXPECT_EQ(t.Release({100, 30}, v, false).command, view_command::kPresetTrimDone);
    // A corner outside the picture is clamped into it, then scaled to full size.
    t.Begin(kFree);
    const SelectionView half = View(50, {0, 0}, {200, 150});  // full size 400 × 300
    t.Press({10, 10}, half);
    t.Move({500, 500}, half);
    EXPECT_EQ(t.Rect(), (SelectionRect{20, 20, 400, 300}));
}

TEST(SelectionMachine, FixedSizeIsPlacedAtTheVisibleTopLeft) {
    SelectionTracker t;
    t.BeginFixed(PresetTrimRect({640, 480}, {1024, 768}), view_command::kTrimPreset1);
    SelectionView v = View(100, {100, 50}, {1024, 768});
    EXPECT_FALSE(t.PaneRect(v));
    auto out = t.Forward(view_command::kTrimPreset1, v);
    EXPECT_TRUE(out.rectChanged);
    EXPECT_EQ(t.Mode(), kMoveFree);
    EXPECT_EQ(t.Rect(), (SelectionRect{100, 50, 740, 530}));
    EXPECT_EQ(t.PaneRect(v), (SelectionRect{0, 0, 640, 480}));
    // A release without a press does nothing.
    EXPECT_EQ(t.Release({10, 10}, v, true).command, 0);
    t.Press({10, 10}, v);
    t.Move({20, 10}, v);
    EXPECT_EQ(t.Release({20, 10}, v, true).command, view_command::kTrimDone);
    EXPECT_EQ(t.Rect(), (SelectionRect{110, 50, 750, 530}));

    // Near the far corner it is pushed back inside.
    t.BeginFixed(PresetTrimRect({640, 480}, {1024, 768}), view_command::kTrimPreset1);
    v.origin = {500, 400};
    t.Forward(view_command::kTrimPreset1, v);
    EXPECT_EQ(t.Rect(), (SelectionRect{384, 288, 1024, 768}));
}

TEST(SelectionMachine, AnyOtherForwardedCommandCancelsAndOnlyDrawingModesStart) {
    SelectionTracker t;
    const SelectionView v = View();
    t.Begin(kFree);
    t.Press({10, 10}, v);
    auto out = t.Forward(view_command::kZoomIn, v);
    EXPECT_TRUE(out.repaint);
    EXPECT_EQ(t.Mode(), kNone);
    EXPECT_FALSE(t.Dragging());

    t.BeginFixed({0, 0, 64, 48}, view_command::kTrimPreset1);
    EXPECT_TRUE(t.Forward(view_command::kTrimPreset5, v).repaint);
    EXPECT_FALSE(t.Active());

    // Nothing active: nothing to cancel.
    EXPECT_FALSE(t.Forward(view_command::kZoomIn, v).repaint);
    // Only drawing modes start.
    t.Begin(kMoveFree);
    EXPECT_FALSE(t.Active());
    t.Begin(kNone);
    EXPECT_FALSE(t.Active());
    EXPECT_EQ(t.Press({1, 1}, View()).rectChanged, false);
}

}  // namespace
}  // namespace duplora
