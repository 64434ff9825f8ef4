// The view's arithmetic, hand computed: pane layout, zoom and fitting, scrolling, painting
// origins, edge zones and cursors, the navigator, automatic scrolling and the selection.
#include "app/stereo/view_layout.h"

#include <gtest/gtest.h>

#include <array>

#include "app/stereo/auto_scroll.h"
#include "app/stereo/full_screen.h"
#include "app/stereo/navigator.h"
#include "app/stereo/pane_mouse.h"
#include "app/stereo/selection.h"
#include "app/stereo/zoom.h"

namespace duplora {
namespace {

using S = SelectionMode;
using M = DisplayMode;

struct LayoutCase {
    const char* name;
    DisplayMode mode;
    int wcent;
    QSize client;
    int frame;
    std::array<QSize, 3> pictures;
    std::array<QRect, 3> expected;  // panes 0, 1, 2
};

const QRect kNoPane(0, 0, 0, 0);
const QSize kNo(0, 0), k300(300, 200), kBig(800, 900);
const std::array<QSize, 3> kPair{kNo, k300, k300}, kAll{k300, k300, k300},
    kOne{QSize(600, 400), kNo, kNo};

// Client 1000 × 600, frame 5 unless stated.
// clang-format off
const LayoutCase kLayoutCases[] = {
    {"SideBySideCentred", M::SideBySide, 0, {1000, 600}, 5, kPair,
     {kNoPane, QRect(100, 200, 300, 200), QRect(600, 200, 300, 200)}},
    {"SideBySidePacked", M::SideBySide, 1, {1000, 600}, 5, kPair,
     {kNoPane, QRect(195, 200, 300, 200), QRect(505, 200, 300, 200)}},
    {"SideBySideLimitedToRoom", M::SideBySide, 0, {1000, 600}, 5, {kNo, kBig, kBig},
     {kNoPane, QRect(5, 5, 490, 590), QRect(505, 5, 490, 590)}},
    // Odd sizes: every division truncates. W/2 = 500, room 494; (494 − 301)/2 = 96.
    {"SideBySideOddSizes", M::SideBySide, 0, {1001, 601}, 3, {kNo, QSize(301, 201), QSize(301, 201)},
     {kNoPane, QRect(99, 200, 301, 201), QRect(599, 200, 301, 201)}},
    {"OverUnderCentred", M::OverUnder, 0, {1000, 600}, 5, kPair,
     {kNoPane, QRect(350, 50, 300, 200), QRect(350, 350, 300, 200)}},
    {"OverUnderPacked", M::OverUnder, 1, {1000, 600}, 5, kPair,
     {kNoPane, QRect(350, 95, 300, 200), QRect(350, 305, 300, 200)}},
    {"ThreeViewsCentred", M::ThreeViews, 0, {1000, 600}, 5, kAll,
     {QRect(345, 350, 300, 200), QRect(100, 50, 300, 200), QRect(600, 50, 300, 200)}},
    {"ThreeViewsPacked", M::ThreeViews, 1, {1000, 600}, 5, kAll,
     {QRect(345, 305, 300, 200), QRect(195, 95, 300, 200), QRect(505, 95, 300, 200)}},
    {"InterlaceCentred", M::Interlace, 0, {1000, 600}, 5, kOne,
     {QRect(200, 100, 600, 400), kNoPane, kNoPane}},
    {"GreyAnaglyphPackedIsCentredToo", M::GreyAnaglyph, 1, {1000, 600}, 5, kOne,
     {QRect(200, 100, 600, 400), kNoPane, kNoPane}},
    {"SinglePicture", M::Single, 1, {1000, 600}, 0, {QSize(100, 50), kNo, kNo},
     {QRect(450, 275, 100, 50), kNoPane, kNoPane}},
    // A view narrower than its frame: empty panes, never negative sizes.
    {"ViewSmallerThanFrame", M::SideBySide, 0, {10, 10}, 5, kPair,
     {kNoPane, QRect(3, 5, 0, 0), QRect(8, 5, 0, 0)}},
    {"MissingPictureGivesEmptyPane", M::Interlace, 0, {1000, 600}, 5, {kNo, kNo, kNo},
     {QRect(500, 300, 0, 0), kNoPane, kNoPane}},
    {"UnknownModeShowsNothing", static_cast<DisplayMode>(7), 0, {1000, 600}, 5, kAll, {kNoPane, kNoPane, kNoPane}},
};
// clang-format on

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

class PaneLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PaneLayoutTest, PlacesEveryPane) {
    const LayoutCase& c = GetParam();
    const PaneLayout layout = LayoutPanes(c.mode, c.wcent, c.client, c.frame, c.pictures);
    for (int pane = 0; pane < 3; ++pane) EXPECT_EQ(layout.panes[pane], c.expected[pane]) << pane;
}

INSTANTIATE_TEST_SUITE_P(Modes, PaneLayoutTest, ::testing::ValuesIn(kLayoutCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ViewRect, CoversTheClientBelowTheToolbarOrTheWholeScreen) {
    EXPECT_EQ(ViewRect(false, {1920, 1080}, {1200, 800}, 22), QRect(0, 30, 1200, 748));
    EXPECT_EQ(ViewRect(true, {1920, 1080}, {1200, 800}, 22), QRect(0, 0, 1920, 1080));
    EXPECT_EQ(ViewRect(false, {1920, 1080}, {100, 40}, 22), QRect(0, 30, 100, 0));
}

// ---- zoom ---------------------------------------------------------------------------------

TEST(Zoom, StepsInAndOutSnappingTo100) {
    const struct {
        int from, in, out;
    } cases[] = {
        {100, 110, 90},   // 90 is not strictly inside the snapping band
        {95, 100, 86},    // in: 104 snaps to 100
        {9, 10, 8},       // 9.9 → 9, plus 1 below 10
        {1, 2, 1},        // out: 0 becomes the minimum 1
        {115, 126, 100},  // out: 104 snaps
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ZoomInStep(c.from), c.in) << "in from " << c.from;
        EXPECT_EQ(ZoomOutStep(c.from), c.out) << "out from " << c.from;
    }
    int z = 100;
    for (int i = 0; i < 500; ++i) z = ZoomInStep(z);
    EXPECT_EQ(z, kMaxZoomPercent);
    for (int i = 0; i < 500; ++i) z = ZoomOutStep(z);
    EXPECT_EQ(z, 1);
}

TEST(Zoom, FitsAreIntegerZoomsOfTheLeftViewInTheViewLessFrameSplitByMode) {
    EXPECT_EQ(FitArea(M::Interlace, {1000, 700}, 5), QSize(990, 690));
    EXPECT_EQ(FitArea(M::SideBySide, {1000, 700}, 5), QSize(495, 690));
    EXPECT_EQ(FitArea(M::OverUnder, {1000, 700}, 5), QSize(990, 345));
    EXPECT_EQ(FitArea(M::ThreeViews, {1000, 700}, 5), QSize(495, 345));
    const struct {
        FitMode fit;
        QSize area, view;
        int zoom;
    } cases[] = {
        {FitMode::Height, {990, 690}, {6000, 4000}, 17},
        {FitMode::Width, {990, 690}, {6000, 4000}, 16},
        {FitMode::Window, {990, 690}, {6000, 4000}, 16},
        {FitMode::Window, {990, 690}, {3000, 4000}, 17},
        {FitMode::Width, {990, 690}, {3000, 4000}, 33},
        {FitMode::Window, {990, 690}, {320, 240}, 287},
        {FitMode::Window, {10, 10}, {60000, 60000}, 1},  // never below 1
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitZoom(c.fit, c.area, c.view), std::optional<int>(c.zoom))
            << static_cast<int>(c.fit) << " " << c.view.width() << "x" << c.view.height();
    EXPECT_EQ(FitZoom(FitMode::Window, {990, 690}, {0, 4000}), std::nullopt);
    EXPECT_EQ(FitZoom(FitMode::Window, {0, 690}, {6000, 4000}), std::nullopt);
    EXPECT_EQ(FitZoom(FitMode::None, {990, 690}, {6000, 4000}), std::nullopt);
    EXPECT_EQ(KeepCentre({100, 0}, {400, 300}, 100, 200), QPoint(400, 150));
    EXPECT_EQ(KeepCentre({400, 150}, {400, 300}, 200, 100), QPoint(100, 0));
    EXPECT_EQ(KeepCentre({0, 0}, {400, 300}, 200, 100), QPoint(0, 0));  // never negative
}

ZoomInput Input(CommandId command, DisplayMode mode = M::Single) {
    ZoomInput in;
    in.command = command;
    in.zoom = 100;
    in.mode = mode;
    in.frame = 5;
    in.viewClient = {1000, 700};
    in.leftView = {6000, 4000};
    in.paneClient = {400, 300};
    in.scroll = {100, 0};
    return in;
}

TEST(Zoom, CommandsPresetsStepsAndFits) {
    EXPECT_EQ(ApplyZoomCommand(Input(CmdZoom75)),
              (ZoomResult{75, FitMode::None, {25, 0}, CmdNone}));
    EXPECT_EQ(ApplyZoomCommand(Input(CmdZoomOut)),
              (ZoomResult{90, FitMode::None, {70, 0}, CmdNone}));
    EXPECT_EQ(ApplyZoomCommand(Input(CmdZoom200))->scroll, QPoint(400, 150));
    // Fits set their mode and ask for a repeat.
    EXPECT_EQ(ApplyZoomCommand(Input(CmdFitWindow)),
              (ZoomResult{16, FitMode::Window, {0, 0}, CmdNone}));
    EXPECT_EQ(ApplyZoomCommand(Input(CmdFitHeight)),
              (ZoomResult{17, FitMode::Height, {0, 0}, CmdFitHeightSecondPass}));
    EXPECT_EQ(ApplyZoomCommand(Input(CmdFitHeightSecondPass)),
              (ZoomResult{17, FitMode::Height, {0, 0}, CmdNone}));
    EXPECT_EQ(ApplyZoomCommand(Input(CmdFitWidth))->followUp, CmdFitWidthSecondPass);
    EXPECT_EQ(ApplyZoomCommand(Input(CmdFitWindow, M::SideBySide))->zoom, 8);
    // The page-flipping output area is not split.
    ZoomInput in = Input(CmdFitWindow, M::SideBySide);
    in.outputArea = QSize(1920, 1080);
    EXPECT_EQ(ApplyZoomCommand(in)->zoom, 27);
    in.outputArea = QSize(0, 1080);
    EXPECT_EQ(ApplyZoomCommand(in), std::nullopt);
    // Ignored when the view is smaller than its frame or has no picture.
    in = Input(CmdZoomIn);
    in.viewClient = {500, 19};  // margin 2 × 5 + 10 = 20
    EXPECT_EQ(ApplyZoomCommand(in), std::nullopt);
    in.viewClient = {20, 20};
    EXPECT_TRUE(ApplyZoomCommand(in));
    EXPECT_EQ(ApplyZoomCommand(Input(CmdSideBySide)), std::nullopt);  // not a zoom command
    in = Input(CmdFitWindow);
    in.leftView = {};
    EXPECT_EQ(ApplyZoomCommand(in), std::nullopt);
}

// ---- scrolling and painting ---------------------------------------------------------------

TEST(ViewScroll, MaximaPanStateBarActionsAndThePanesThatFollow) {
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

    EXPECT_EQ(ScrollTo(3, 100, ScrollAction::LineBack), 0);
    EXPECT_EQ(ScrollTo(10, 100, ScrollAction::LineForward), 15);
    EXPECT_EQ(ScrollTo(60, 100, ScrollAction::PageBack), 10);
    EXPECT_EQ(ScrollTo(80, 100, ScrollAction::PageForward), 100);
    EXPECT_EQ(ScrollTo(40, 100, ScrollAction::ThumbTrack, 90), 40);
    EXPECT_EQ(ScrollTo(40, 100, ScrollAction::ThumbPosition, 500), 100);

    EXPECT_EQ(ScrolledPanes(M::SideBySide, false).scroll, (std::array<bool, 3>{false, true, true}));
    EXPECT_EQ(ScrolledPanes(M::ThreeViews, true).scroll, (std::array<bool, 3>{true, true, true}));
    // Interlace keeps its line parity: a vertical scroll repaints instead of moving bits.
    const ScrollTargets t = ScrolledPanes(M::Interlace, true);
    EXPECT_EQ(t.scroll, (std::array<bool, 3>{false, false, false}));
    EXPECT_TRUE(t.repaintPane0);
    EXPECT_TRUE(ScrolledPanes(M::Interlace, false).scroll[0]);
}

TEST(PanePaint, OriginsCentreScrollWrapAndKeepTheInterlaceParity) {
    EXPECT_EQ(PaintOrigin(300, 500, 77), -100);
    EXPECT_EQ(PaintOrigin(800, 500, 120), 120);
    EXPECT_EQ(PaintOrigin(501, 500, 9), 0);  // (1)/2 = 0 is not positive
    EXPECT_EQ(PaintOrigin(QSize(300, 800), QSize(500, 500), QPoint(5, 60)), QPoint(-100, 60));
    // The panorama draws the left end again after the right end.
    EXPECT_EQ(PanoramaSecondCopyX(1000, 400, 700), std::optional<int>(300));
    EXPECT_EQ(PanoramaSecondCopyX(1000, 400, 600), std::nullopt);
    EXPECT_EQ(PanoramaSecondCopyX(1000, 400, 999), std::optional<int>(1));
    // Screen y and picture height of equal parity: the origin is made even, else odd.
    const int interlace[][4] = {{3, 10, 100, 4},   {4, 10, 100, 4}, {3, 11, 101, 4},
                                {-3, 10, 100, -2}, {4, 11, 100, 5}, {-4, -1, 100, -3}};
    for (const auto& c : interlace)
        EXPECT_EQ(InterlaceOriginY(c[0], c[1], c[2]), c[3]) << c[0] << " " << c[1] << " " << c[2];
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

// ---- the mouse in a pane ------------------------------------------------------------------

TEST(PaneMouse, EdgeZonesAreTenthsOfThePaneByPanState) {
    // Pane 500 × 300: tenths at x < 50, x > 450, y < 30, y > 270.
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
    for (const auto& c : cases)
        EXPECT_EQ(EdgeZoneAt(c.point, QSize(500, 300), c.pan), c.zone)
            << c.point.x() << "," << c.point.y() << " pan " << static_cast<int>(c.pan);
    EXPECT_EQ(ClickAction(EdgeZone::Next, PanState::Wider), PaneClick::NextImage);
    EXPECT_EQ(ClickAction(EdgeZone::None, PanState::Fits), PaneClick::Nothing);
    EXPECT_EQ(ClickAction(EdgeZone::None, PanState::Taller), PaneClick::StartDrag);
    EXPECT_EQ(ClickCommand(PaneClick::StartDrag), 0);
}

TEST(PaneMouse, DraggedPictureFollowsTheMouseWithinTheMaximaAndAPanoramaWraps) {
    EXPECT_EQ(DragScroll({100, 50}, {200, 200}, {0, 400}, {120, 60}, QSize(620, 360), false),
              QPoint(120, 0));
    const QSize picture(1000, 400);
    EXPECT_EQ(DragScroll({980, 10}, {300, 100}, {250, 50}, {600, 100}, picture, true),
              QPoint(30, 60));
    EXPECT_EQ(DragScroll({10, 10}, {300, 100}, {330, 200}, {600, 100}, picture, true),
              QPoint(980, 0));
    EXPECT_EQ(DragScroll({0, 0}, {0, 0}, {-2500, 0}, {600, 100}, picture, true), QPoint(500, 0));
}

TEST(PaneMouse, CursorByPictureSelectionAndZone) {
    const struct {
        CursorInput in;
        PaneCursor cursor;
    } cases[] = {
        {{false, S::Free, false, true, EdgeZone::Next, PanState::Both}, PaneCursor::Arrow},
        {{true, S::Free, false, true, EdgeZone::Next, PanState::Both}, PaneCursor::Select},
        {{true, S::Phone, false, false}, PaneCursor::Select},
        {{true, S::MovePresetRatio, false, true}, PaneCursor::MoveSelection},
        // A fixed-size rectangle waits for its command and falls through to the ordinary cursors.
        {{true, S::FixedSize, false, false, EdgeZone::None, PanState::Wider}, PaneCursor::OpenHand},
        {{true, S::None, true, false, EdgeZone::None, PanState::Wider}, PaneCursor::ClosedHand},
        {{true, S::None, false, true, EdgeZone::Next, PanState::Fits}, PaneCursor::Hidden},
        {{true, S::None, false, false, EdgeZone::Previous, PanState::Fits}, PaneCursor::Previous},
        {{true, S::None, false, false, EdgeZone::None, PanState::Fits}, PaneCursor::Arrow},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseCursor(c.in), c.cursor) << static_cast<int>(c.in.selectionMode);
}

// ---- navigator, automatic scrolling and full screen ---------------------------------------

TEST(Navigator, ThumbnailFrameAndDrag) {
    EXPECT_EQ(NavigatorThumbnailSize({1000, 4000}, {200, 150}), QSize(50, 200));
    EXPECT_EQ(NavigatorThumbnailSize({300, 300}, {150, 200}), QSize(200, 200));
    EXPECT_EQ(NavigatorThumbnailSize({0, 300}, {150, 200}), QSize(0, 0));
    EXPECT_EQ(NavigatorThumbnailOffset({200, 50}, {200, 150}), QPoint(0, 50));
    // The frame outlines the visible part.
    const QSize picture(4000, 1000), thumb(200, 50);
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

TEST(AutoScrolling, SwingsBackAtBothEndsOrRunsRoundAPanorama) {
    EXPECT_EQ(AutoScrollPass({8, 1, 3, 4}, 10, 400, false), (AutoScroll{10, -1, 3, 4}));
    EXPECT_EQ(AutoScrollPass({10, -1, 3, 4}, 10, 400, false).position, 7);
    EXPECT_EQ(AutoScrollPass({2, -1, 3, 4}, 10, 400, false), (AutoScroll{0, 1, 3, 4}));
    EXPECT_EQ(AutoScrollPass({998, 1, 5, 4}, 600, 1000, true), (AutoScroll{3, 1, 5, 4}));
    EXPECT_EQ(AutoScrollPass({2, -1, 5, 4}, 600, 1000, true), (AutoScroll{997, -1, 5, 4}));
    EXPECT_FALSE(AutoScrollPossible(0));
    EXPECT_TRUE(AutoScrollPossible(1));
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
    for (int i = 0; i < 100; ++i) s = AutoScrollSlower(s);
    EXPECT_EQ(s.delay, kAutoScrollMaxDelay);  // a pause of about a second at most

    s = AutoScroll{};
    EXPECT_EQ(AutoScrollOnKey(s, AutoScrollKey::Left, true).state.direction, -1);
    EXPECT_EQ(AutoScrollOnKey(s, AutoScrollKey::Down, false).state.direction, -1);
    EXPECT_EQ(AutoScrollOnKey({0, -1, 1, 4}, AutoScrollKey::Up, false).state.direction, 1);
    EXPECT_EQ(AutoScrollOnKey(s, AutoScrollKey::Right, false).state.step, 2);
    EXPECT_EQ(AutoScrollOnKey(s, AutoScrollKey::Left, false).state.delay, 5);
    const auto p = AutoScrollOnKey(s, AutoScrollKey::P, true);
    EXPECT_TRUE(p.togglePanorama);
    EXPECT_FALSE(p.stop);
    EXPECT_TRUE(AutoScrollOnKey(s, AutoScrollKey::Other, false).stop);
}

TEST(FullScreen, CommandsByState) {
    EXPECT_EQ(FullScreenAction(CmdFullScreen, true, true, false), FullScreenStep::Toggle);
    EXPECT_EQ(FullScreenAction(CmdFullScreen, false, false, false), FullScreenStep::Nothing);
    EXPECT_EQ(FullScreenAction(CmdLeaveFullScreen, true, true, true), FullScreenStep::Toggle);
    EXPECT_EQ(FullScreenAction(CmdLeaveFullScreen, true, false, false), FullScreenStep::Nothing);
    EXPECT_EQ(FullScreenAction(CmdLeaveFullScreen, true, false, true), FullScreenStep::CloseOpenGl);
    EXPECT_EQ(FullScreenAction(CmdZoomIn, true, false, true), FullScreenStep::Nothing);
}

// ---- the selection ------------------------------------------------------------------------
// The trims the window makes of a drawn or moved selection are tested in the GUI tests.

SelectionView At(int zoom = 100, QPoint origin = {0, 0}, QSize picture = {400, 300}) {
    return SelectionView{origin, zoom, picture};
}

TEST(Selection, MapsPanePixelsToFullSizeRoundingToNearestAndBack) {
    const int cases[][4] = {
        {10, 40, 100, 50}, {11, 0, 50, 22}, {20, 0, 33, 61},  // 60.6
        {1, 0, 200, 1},                                       // 0.5 rounds up
        {7, 3, 7, 143},                                       // (3 + 1000) / 7
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToFullSize(c[0], c[1], c[2]), c[3]) << c[0] << " + " << c[1] << " at " << c[2];
    EXPECT_EQ(ToFullSize(QPoint(10, 11), At(50, {100, 4})), QPoint(220, 30));
    EXPECT_EQ(ToPane(QPoint(220, 30), At(50, {100, 4})), QPoint(10, 11));
    EXPECT_EQ(ToPane(21, 0, 50), 10);
    EXPECT_EQ(FullSizeBounds(At(33, {0, 0}, {1980, 1320})), QSize(6000, 4000));
    // A 200 × 100 picture centred in a larger pane: origin (−50, −20).
    const SelectionView v = At(100, {-50, -20}, {200, 100});
    EXPECT_EQ(ClampToPicture({10, 10}, v), QPoint(50, 20));
    EXPECT_EQ(ClampToPicture({300, 200}, v), QPoint(250, 120));
    EXPECT_EQ(ClampToPicture({60, 30}, v), QPoint(60, 30));
    EXPECT_EQ(ToFullSize(ClampToPicture({0, 0}, v), v), QPoint(0, 0));
}

TEST(Selection, RatioShortensTheLongSideAndEachModeKeepsItsOwn) {
    EXPECT_EQ(ConstrainToRatio({0, 0}, {100, 30}, {4, 3}), QPoint(40, 30));
    EXPECT_EQ(ConstrainToRatio({0, 0}, {-100, 90}, {4, 3}), QPoint(-100, 75));
    EXPECT_EQ(ConstrainToRatio({50, 50}, {90, 80}, {4, 3}), QPoint(90, 80));  // exact
    EXPECT_EQ(ConstrainToRatio({0, 0}, {100, 30}, {0, 3}), QPoint(100, 30));  // no ratio
    EXPECT_EQ(ConstrainToRatio({0, 0}, {100, 0}, {480, 320}), QPoint(0, 0));
    const AspectSet off{0, 4, 3}, on{1, 16, 9};
    const QSize preset(640, 480), phone(240, 320);
    EXPECT_EQ(SelectionRatio(S::Free, off, preset, phone), std::nullopt);
    EXPECT_EQ(SelectionRatio(S::Free, on, preset, phone), QSize(16, 9));
    EXPECT_EQ(SelectionRatio(S::Phone, off, preset, phone), QSize(480, 320));
    EXPECT_EQ(SelectionRatio(S::PresetRatio, off, QSize(0, 480), phone), std::nullopt);
    EXPECT_EQ(SelectionRatio(S::FixedSize, on, preset, phone), std::nullopt);
    // Preset trims are cut to the picture.
    EXPECT_EQ(PresetTrimRect({1600, 1200}, {1024, 768}), (SelectionRect{0, 0, 1024, 768}));
    EXPECT_EQ(PresetTrimRect({640, 480}, {1024, 768}), (SelectionRect{0, 0, 640, 480}));
}

TEST(Selection, OfOneStepIsSentOnReleaseAndATinyOneOfTwoStepsIsDropped) {
    SelectionTracker t;
    t.Begin(S::Free);
    EXPECT_EQ(t.Move({5, 5}, At()).crossHair, QPoint(5, 5));
    t.Press({110, 70}, At());
    EXPECT_TRUE(t.Move({10, 20}, At()).rectChanged);
    // The status names the corners as drawn, the size as positive.
    EXPECT_EQ(SelectionStatusText(t.Rect()), "(110,70)-(10,20) [100 X 50]");
    EXPECT_EQ(t.Release({10, 20}, At(), false).command, CmdTrimFinished);
    EXPECT_EQ(t.Mode(), S::None);
    EXPECT_EQ(t.Rect(), (SelectionRect{10, 20, 110, 70}));  // ordered

    t.Begin(S::Free);
    t.Press({10, 10}, At());
    const auto out = t.Release({12, 60}, At(), true);  // 2 × 50
    EXPECT_EQ(out.command, 0);
    EXPECT_TRUE(out.repaint);
    EXPECT_EQ(t.Mode(), S::Free);
    EXPECT_FALSE(t.PaneRect(At()));
    EXPECT_EQ(t.Move({30, 30}, At()).crossHair, QPoint(30, 30));  // drawing starts again
}

TEST(Selection, MovedStaysInsideThePictureAndDrawnCornersAreClamped) {
    SelectionTracker t;
    t.Begin(S::Phone);
    t.Press({300, 200}, At());
    t.Release({400, 300}, At(), true);
    ASSERT_EQ(t.Mode(), S::MovePhone);
    t.Press({350, 250}, At());
    t.Move({400, 300}, At());
    EXPECT_EQ(t.Rect(), (SelectionRect{300, 200, 400, 300}));
    t.Move({0, 0}, At());
    EXPECT_EQ(t.Rect(), (SelectionRect{0, 0, 100, 100}));
    EXPECT_EQ(t.Release({0, 0}, At(), true).command, CmdPhoneAreaFinished);
    // A corner outside the picture is clamped into it, then scaled to full size.
    t.Begin(S::Free);
    const SelectionView half = At(50, {0, 0}, {200, 150});  // full size 400 × 300
    t.Press({10, 10}, half);
    t.Move({500, 500}, half);
    EXPECT_EQ(t.Rect(), (SelectionRect{20, 20, 400, 300}));
}

TEST(Selection, OfAFixedSizeIsPlacedAtTheVisibleTopLeft) {
    SelectionTracker t;
    t.BeginFixed(PresetTrimRect({640, 480}, {1024, 768}), CmdTrimPreset1);
    SelectionView v = At(100, {100, 50}, {1024, 768});
    EXPECT_FALSE(t.PaneRect(v));
    EXPECT_TRUE(t.Forward(CmdTrimPreset1, v).rectChanged);
    EXPECT_EQ(t.Mode(), S::MoveFree);
    EXPECT_EQ(t.Rect(), (SelectionRect{100, 50, 740, 530}));
    EXPECT_EQ(t.PaneRect(v), (SelectionRect{0, 0, 640, 480}));
    EXPECT_EQ(t.Release({10, 10}, v, true).command, 0);  // a release without a press
    t.Press({10, 10}, v);
    t.Move({20, 10}, v);
    EXPECT_EQ(t.Release({20, 10}, v, true).command, CmdTrimFinished);
    EXPECT_EQ(t.Rect(), (SelectionRect{110, 50, 750, 530}));
    // Near the far corner it is pushed back inside.
    t.BeginFixed(PresetTrimRect({640, 480}, {1024, 768}), CmdTrimPreset1);
    v.origin = {500, 400};
    t.Forward(CmdTrimPreset1, v);
    EXPECT_EQ(t.Rect(), (SelectionRect{384, 288, 1024, 768}));
}

TEST(Selection, IsCancelledByAnyOtherCommandAndOnlyDrawingModesStart) {
    SelectionTracker t;
    t.Begin(S::Free);
    t.Press({10, 10}, At());
    EXPECT_TRUE(t.Forward(CmdZoomIn, At()).repaint);
    EXPECT_EQ(t.Mode(), S::None);
    EXPECT_FALSE(t.Dragging());
    t.BeginFixed({0, 0, 64, 48}, CmdTrimPreset1);
    EXPECT_TRUE(t.Forward(CmdTrimPreset5, At()).repaint);
    EXPECT_FALSE(t.Active());
    EXPECT_FALSE(t.Forward(CmdZoomIn, At()).repaint);  // nothing to cancel
    for (SelectionMode mode : {S::MoveFree, S::None}) {
        t.Begin(mode);
        EXPECT_FALSE(t.Active()) << static_cast<int>(mode);
    }
    EXPECT_FALSE(t.Press({1, 1}, At()).rectChanged);
}

}  // namespace
}  // namespace duplora
