#include "app/stereo/view_layout.h"

#include <gtest/gtest.h>

#include <array>

#include "app/stereo/auto_scroll.h"
#include "app/stereo/full_screen.h"
#include "app/stereo/navigator.h"
#include "app/stereo/pane_mouse.h"
#include "app/stereo/view_numbers.h"

namespace duplora {
namespace {

using namespace view_mode;

// ---- Pane layout ----------------------------------------------------------------------

struct LayoutCase {
    const char* name;
    int mode;
    int wcent;
    QSize client;
    int frame;
    std::array<QSize, 3> pictures;
    std::array<QRect, 3> expected;  // panes 0, 1, 2
};

const QRect kNone(0, 0, 0, 0);
const QSize kNo(0, 0);
const QSize k300(300, 200);
const QSize kBig(800, 900);
const std::array<QSize, 3> kPair{kNo, k300, k300};
const std::array<QSize, 3> kAll{k300, k300, k300};
const std::array<QSize, 3> kOne{QSize(600, 400), kNo, kNo};

// Hand computed: client 1000 × 600, frame 5 unless stated.
// clang-format off
const LayoutCase kLayoutCases[] = {
    {"SideBySideCentred", kSideBySide, 0, {1000, 600}, 5, kPair,
     {kNone, QRect(100, 200, 300, 200), QRect(600, 200, 300, 200)}},
    {"SideBySidePacked", kSideBySide, 1, {1000, 600}, 5, kPair,
     {kNone, QRect(195, 200, 300, 200), QRect(505, 200, 300, 200)}},
    {"SideBySideLimitedToRoom", kSideBySide, 0, {1000, 600}, 5, {kNo, kBig, kBig},
     {kNone, QRect(5, 5, 490, 590), QRect(505, 5, 490, 590)}},
    // Odd sizes: every division truncates. W/2 = 500, room 494; (494 − 301)/2 = 96.
    {"SideBySideOddSizes", kSideBySide, 0, {1001, 601}, 3, {kNo, QSize(301, 201), QSize(301, 201)},
     {kNone, QRect(99, 200, 301, 201), QRect(599, 200, 301, 201)}},
    {"OverUnderCentred", kOverUnder, 0, {1000, 600}, 5, kPair,
     {kNone, QRect(350, 50, 300, 200), QRect(350, 350, 300, 200)}},
    {"OverUnderPacked", kOverUnder, 1, {1000, 600}, 5, kPair,
     {kNone, QRect(350, 95, 300, 200), QRect(350, 305, 300, 200)}},
    {"ThreeViewsCentred", kThreeViews, 0, {1000, 600}, 5, kAll,
     {QRect(345, 350, 300, 200), QRect(100, 50, 300, 200), QRect(600, 50, 300, 200)}},
    {"ThreeViewsPacked", kThreeViews, 1, {1000, 600}, 5, kAll,
     {QRect(345, 305, 300, 200), QRect(195, 95, 300, 200), QRect(505, 95, 300, 200)}},
    {"InterlaceCentred", kInterlace, 0, {1000, 600}, 5, kOne,
     {QRect(200, 100, 600, 400), kNone, kNone}},
    {"GreyAnaglyphPackedIsCentredToo", kGreyAnaglyph, 1, {1000, 600}, 5, kOne,
     {QRect(200, 100, 600, 400), kNone, kNone}},
    {"SinglePicture", kSingle, 1, {1000, 600}, 0, {QSize(100, 50), kNo, kNo},
     {QRect(450, 275, 100, 50), kNone, kNone}},
    // A view narrower than its frame: empty panes, never negative sizes.
    {"ViewSmallerThanFrame", kSideBySide, 0, {10, 10}, 5, kPair,
     {kNone, QRect(3, 5, 0, 0), QRect(8, 5, 0, 0)}},
    {"MissingPictureGivesEmptyPane", kInterlace, 0, {1000, 600}, 5, {kNo, kNo, kNo},
     {QRect(500, 300, 0, 0), kNone, kNone}},
    {"UnknownModeShowsNothing", 7, 0, {1000, 600}, 5, kAll, {kNone, kNone, kNone}},
};
// clang-format on

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

class PaneLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PaneLayoutTest, PlacesEveryPane) {
    const LayoutCase& c = GetParam();
    const PaneLayout layout = LayoutPanes(c.mode, c.wcent, c.client, c.frame, c.pictures);
    for (int pane = 0; pane < 3; ++pane) {
        EXPECT_EQ(layout.panes[pane], c.expected[pane]) << "pane " << pane;
        EXPECT_GE(layout.panes[pane].width(), 0);
        EXPECT_GE(layout.panes[pane].height(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, PaneLayoutTest, ::testing::ValuesIn(kLayoutCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ViewRect, CoversClientBelowToolbarOrTheWholeScreen) {
    EXPECT_EQ(ViewRect(false, {1920, 1080}, {1200, 800}, 22), QRect(0, 30, 1200, 748));
    EXPECT_EQ(ViewRect(true, {1920, 1080}, {1200, 800}, 22), QRect(0, 0, 1920, 1080));
    EXPECT_EQ(ViewRect(false, {1920, 1080}, {100, 40}, 22), QRect(0, 30, 100, 0));
}

// ---- Scrolling --------------------------------------------------------------------------

TEST(ViewScroll, MaximaClampingAndPanState) {
    ScrollState s = FitScroll({800, 600}, {500, 700}, {400, 50});
    EXPECT_EQ(s.maximum, QPoint(300, 0));
    EXPECT_EQ(s.position, QPoint(300, 0));
    s = FitScroll({800, 900}, {500, 700}, {-20, 150});
    EXPECT_EQ(s.maximum, QPoint(300, 200));
    EXPECT_EQ(s.position, QPoint(0, 150));
    EXPECT_EQ(FitScroll({100, 100}, {500, 700}, {40, 40}).position, QPoint(0, 0));
    EXPECT_EQ(PanStateFor({800, 600}, {500, 700}), PanState::Wider);
    EXPECT_EQ(PanStateFor({400, 800}, {500, 700}), PanState::Taller);
    EXPECT_EQ(PanStateFor({500, 700}, {500, 700}), PanState::Fits);
}

TEST(ViewScroll, BarActionsStepAndClamp) {
    EXPECT_EQ(ScrollTo(3, 100, ScrollAction::LineBack), 0);
    EXPECT_EQ(ScrollTo(10, 100, ScrollAction::LineForward), 15);
    EXPECT_EQ(ScrollTo(60, 100, ScrollAction::PageBack), 10);
    EXPECT_EQ(ScrollTo(80, 100, ScrollAction::PageForward), 100);
    EXPECT_EQ(ScrollTo(40, 100, ScrollAction::ThumbTrack, 90), 40);
    EXPECT_EQ(ScrollTo(40, 100, ScrollAction::ThumbPosition, 500), 100);
}

TEST(ViewScroll, PanesThatFollowAScroll) {
    ScrollTargets t = ScrolledPanes(kSideBySide, false);
    EXPECT_EQ(t.scroll, (std::array<bool, 3>{false, true, true}));
    t = ScrolledPanes(kThreeViews, true);
    EXPECT_EQ(t.scroll, (std::array<bool, 3>{true, true, true}));
    // Interlace keeps its line parity: a vertical scroll repaints instead of moving bits.
    t = ScrolledPanes(kInterlace, true);
    EXPECT_EQ(t.scroll, (std::array<bool, 3>{false, false, false}));
    EXPECT_TRUE(t.repaintPane0);
    EXPECT_TRUE(ScrolledPanes(kInterlace, false).scroll[0]);
}

// ---- Painting ---------------------------------------------------------------------------

TEST(PanePaint, OriginCentresSmallPicturesScrollsLargeOnesAndWrapsPanoramas) {
    EXPECT_EQ(PaintOrigin(300, 500, 77), -100);
    EXPECT_EQ(PaintOrigin(800, 500, 120), 120);
    EXPECT_EQ(PaintOrigin(501, 500, 9), 0);  // (1)/2 = 0 is not positive
    EXPECT_EQ(PaintOrigin(QSize(300, 800), QSize(500, 500), QPoint(5, 60)), QPoint(-100, 60));
    // The panorama draws the left end again after the right end.
    EXPECT_EQ(PanoramaSecondCopyX(1000, 400, 700), std::optional<int>(300));
    EXPECT_EQ(PanoramaSecondCopyX(1000, 400, 600), std::nullopt);
    EXPECT_EQ(PanoramaSecondCopyX(1000, 400, 999), std::optional<int>(1));
}

TEST(PanePaint, InterlaceOriginKeepsLineParity) {
    // Screen y and picture height of equal parity: the origin is made even.
    EXPECT_EQ(InterlaceOriginY(3, 10, 100), 4);
    EXPECT_EQ(InterlaceOriginY(4, 10, 100), 4);
    EXPECT_EQ(InterlaceOriginY(3, 11, 101), 4);
    EXPECT_EQ(InterlaceOriginY(-3, 10, 100), -2);
    // Different parity: the origin is made odd.
    EXPECT_EQ(InterlaceOriginY(4, 11, 100), 5);
    EXPECT_EQ(InterlaceOriginY(-4, -1, 100), -3);
}

TEST(PanePaint, BorderBandsAroundAPane) {
    BorderSet border;  // outer 2, middle 10, inner 2, rounded
    const auto bands = BorderBandsAround(QRect(100, 100, 50, 40), border);
    ASSERT_TRUE(bands);
    EXPECT_EQ(bands->outer, QRect(86, 86, 78, 68));
    EXPECT_EQ(bands->middle, QRect(88, 88, 74, 64));
    EXPECT_EQ(bands->inner, QRect(98, 98, 54, 44));
    EXPECT_EQ(bands->cornerDiameter, 10);
    border.roundCorners = 0;
    EXPECT_EQ(BorderBandsAround(QRect(0, 0, 5, 5), border)->cornerDiameter, 0);
    EXPECT_FALSE(BorderBandsAround(QRect(0, 0, 0, 0), border));
}

// ---- Edge zones, dragging and cursors ---------------------------------------------------

TEST(EdgeZones, TenthsOfThePaneByPanStateStepOrDrag) {
    // Pane 500 × 300: tenths at x < 50, x > 450, y < 30, y > 270.
    const QSize pane(500, 300);
    const struct {
        QPoint point;
        PanState pan;
        EdgeZone zone;
    } cases[] = {
        {{49, 150}, PanState::Fits, EdgeZone::Previous},
        {{50, 150}, PanState::Fits, EdgeZone::None},
        {{0, 150}, PanState::Fits, EdgeZone::None},
        {{460, 150}, PanState::Fits, EdgeZone::Next},
        {{500, 150}, PanState::Fits, EdgeZone::None},
        {{250, 10}, PanState::Fits, EdgeZone::Next},
        {{250, 290}, PanState::Fits, EdgeZone::Previous},
        {{490, 290}, PanState::Fits, EdgeZone::Previous},  // corner: vertical verdict
        // Wider: sideways dragging has priority, top and bottom still step.
        {{10, 150}, PanState::Wider, EdgeZone::None},
        {{10, 10}, PanState::Wider, EdgeZone::Next},
        // Taller: only the sides step.
        {{250, 10}, PanState::Taller, EdgeZone::None},
        {{10, 10}, PanState::Taller, EdgeZone::Previous},
        {{10, 10}, PanState::Both, EdgeZone::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EdgeZoneAt(c.point, pane, c.pan), c.zone)
            << c.point.x() << "," << c.point.y() << " pan " << static_cast<int>(c.pan);
    }
    EXPECT_EQ(ClickAction(EdgeZone::Next, PanState::Wider), PaneClick::NextImage);
    EXPECT_EQ(ClickAction(EdgeZone::None, PanState::Fits), PaneClick::Nothing);
    EXPECT_EQ(ClickAction(EdgeZone::None, PanState::Taller), PaneClick::StartDrag);
    EXPECT_EQ(ClickCommand(PaneClick::StartDrag), 0);
}

TEST(PaneDrag, PictureFollowsTheMouseWithinTheMaximaAndPanoramaWrapsSideways) {
    EXPECT_EQ(DragScroll({100, 50}, {200, 200}, {0, 400}, {120, 60}, QSize(620, 360), false),
              QPoint(120, 0));
    const QSize picture(1000, 400);
    EXPECT_EQ(DragScroll({980, 10}, {300, 100}, {250, 50}, {600, 100}, picture, true),
              QPoint(30, 60));
    EXPECT_EQ(DragScroll({10, 10}, {300, 100}, {330, 200}, {600, 100}, picture, true),
              QPoint(980, 0));
    EXPECT_EQ(DragScroll({0, 0}, {0, 0}, {-2500, 0}, {600, 100}, picture, true), QPoint(500, 0));
}

TEST(PaneCursorChoice, ChosenByPictureSelectionAndZone) {
    auto cursor = [](CursorInput in) { return ChooseCursor(in); };
    EXPECT_EQ(cursor({false, 1, false, true, EdgeZone::Next, PanState::Both}), PaneCursor::Arrow);
    EXPECT_EQ(cursor({true, 1, false, true, EdgeZone::Next, PanState::Both}), PaneCursor::Select);
    EXPECT_EQ(cursor({true, 3, false, false}), PaneCursor::Select);
    EXPECT_EQ(cursor({true, 12, false, true}), PaneCursor::MoveSelection);
    // Mode 10 waits for its command and falls through to the ordinary cursors.
    EXPECT_EQ(cursor({true, 10, false, false, EdgeZone::None, PanState::Wider}),
              PaneCursor::OpenHand);
    EXPECT_EQ(cursor({true, 0, true, false, EdgeZone::None, PanState::Wider}),
              PaneCursor::ClosedHand);
    EXPECT_EQ(cursor({true, 0, false, true, EdgeZone::Next, PanState::Fits}), PaneCursor::Hidden);
    EXPECT_EQ(cursor({true, 0, false, false, EdgeZone::Previous, PanState::Fits}),
              PaneCursor::Previous);
    EXPECT_EQ(cursor({true, 0, false, false, EdgeZone::None, PanState::Fits}), PaneCursor::Arrow);
}

// ---- Navigator ----------------------------------------------------------------------------

TEST(Navigator, ThumbnailFrameAndDrag) {
    EXPECT_EQ(NavigatorThumbnailSize({1000, 4000}, {200, 150}), QSize(50, 200));
    EXPECT_EQ(NavigatorThumbnailSize({300, 300}, {150, 200}), QSize(200, 200));
    EXPECT_EQ(NavigatorThumbnailSize({0, 300}, {150, 200}), QSize(0, 0));
    EXPECT_EQ(NavigatorThumbnailOffset({200, 50}, {200, 150}), QPoint(0, 50));
    // The frame outlines the visible part.
    QSize picture(4000, 1000);
    QSize thumb(200, 50);
    EXPECT_EQ(NavigatorFrame({1000, 0}, {800, 500}, picture, thumb, {0, 50}),
              QRect(50, 50, 40, 25));
    EXPECT_EQ(NavigatorFrame({0, 0}, {800, 500}, QSize(0, 0), thumb, {0, 50}), QRect());
    // Dragging scrolls by the picture scale, within the maxima.
    const NavigatorDrag drag({60, 60}, {1000, 100});
    EXPECT_EQ(drag.ScrollFor({70, 61}, picture, thumb, {3200, 500}), QPoint(1200, 120));
    EXPECT_EQ(drag.ScrollFor({-500, 0}, picture, thumb, {3200, 500}), QPoint(0, 0));
    EXPECT_EQ(drag.ScrollFor({500, 500}, picture, thumb, {3200, 500}), QPoint(3200, 500));
    EXPECT_EQ(drag.ScrollFor({70, 61}, picture, QSize(0, 0), {3200, 500}), QPoint(1000, 100));
}

// ---- Automatic scrolling ------------------------------------------------------------------

TEST(AutoScrolling, SwingsBackAtBothEndsOrRunsRoundAPanorama) {
    AutoScroll s{8, 1, 3, 4};
    s = AutoScrollPass(s, 10, 400, false);
    EXPECT_EQ(s, (AutoScroll{10, -1, 3, 4}));
    s = AutoScrollPass(s, 10, 400, false);
    EXPECT_EQ(s.position, 7);
    s = AutoScrollPass(AutoScroll{2, -1, 3, 4}, 10, 400, false);
    EXPECT_EQ(s, (AutoScroll{0, 1, 3, 4}));
    EXPECT_FALSE(AutoScrollPossible(0));
    EXPECT_TRUE(AutoScrollPossible(1));
    // A panorama runs on round the picture.
    s = AutoScrollPass(AutoScroll{998, 1, 5, 4}, 600, 1000, true);
    EXPECT_EQ(s, (AutoScroll{3, 1, 5, 4}));
    s = AutoScrollPass(AutoScroll{2, -1, 5, 4}, 600, 1000, true);
    EXPECT_EQ(s, (AutoScroll{997, -1, 5, 4}));
}

TEST(AutoScrolling, SpeedAndDirectionKeys) {
    AutoScroll s;  // step 1, delay 4
    for (int i = 0; i < 4; ++i) s = AutoScrollOnKey(s, AutoScrollKey::Up, true).state;
    EXPECT_EQ(s.step, 5);
    EXPECT_EQ(AutoScrollPauseMs(s), 16);
    // The step goes before the delay, both ways.
    EXPECT_EQ(AutoScrollSlower(AutoScroll{0, 1, 1, 4}), (AutoScroll{0, 1, 1, 5}));
    EXPECT_EQ(AutoScrollSlower(AutoScroll{0, 1, 3, 4}), (AutoScroll{0, 1, 2, 4}));
    EXPECT_EQ(AutoScrollFaster(AutoScroll{0, 1, 1, 6}), (AutoScroll{0, 1, 1, 5}));
    // Slowing down ends at a pause of about a second.
    for (int i = 0; i < 100; ++i) s = AutoScrollSlower(s);
    EXPECT_EQ(s.delay, kAutoScrollMaxDelay);

    s = AutoScroll{};
    EXPECT_EQ(AutoScrollOnKey(s, AutoScrollKey::Left, true).state.direction, -1);
    EXPECT_EQ(AutoScrollOnKey(s, AutoScrollKey::Down, false).state.direction, -1);
    EXPECT_EQ(AutoScrollOnKey(AutoScroll{0, -1, 1, 4}, AutoScrollKey::Up, false).state.direction,
              1);
    EXPECT_EQ(AutoScrollOnKey(s, AutoScrollKey::Right, false).state.step, 2);
    EXPECT_EQ(AutoScrollOnKey(s, AutoScrollKey::Left, false).state.delay, 5);
    const auto p = AutoScrollOnKey(s, AutoScrollKey::P, true);
    EXPECT_TRUE(p.togglePanorama);
    EXPECT_FALSE(p.stop);
    EXPECT_TRUE(AutoScrollOnKey(s, AutoScrollKey::Other, false).stop);
}

// ---- Full screen --------------------------------------------------------------------------

TEST(FullScreenCommands, CommandsByState) {
    using view_command::kFullScreen;
    using view_command::kLeaveFullScreen;
    EXPECT_EQ(FullScreenAction(kFullScreen, true, true, false), FullScreenStep::Toggle);
    EXPECT_EQ(FullScreenAction(kFullScreen, false, false, false), FullScreenStep::Nothing);
    EXPECT_EQ(FullScreenAction(kLeaveFullScreen, true, true, true), FullScreenStep::Toggle);
    EXPECT_EQ(FullScreenAction(kLeaveFullScreen, true, false, false), FullScreenStep::Nothing);
    EXPECT_EQ(FullScreenAction(kLeaveFullScreen, true, false, true), FullScreenStep::CloseOpenGl);
    EXPECT_EQ(FullScreenAction(2004, true, false, true), FullScreenStep::Nothing);
}

}  // namespace
}  // namespace duplora
