// The page-flipping outputs' arithmetic and key map, hand computed.
#include "app/flip/flip_rules.h"

#include <Qt>

#include <gtest/gtest.h>

namespace duplora {
namespace {

TEST(FlipTexture, LargerViewsAreFittedWithTheLongerSideOnTheEdge) {
    EXPECT_FALSE(ExceedsTexture({1024, 1024}, 1024));
    EXPECT_TRUE(ExceedsTexture({1600, 1200}, 1024));
    EXPECT_TRUE(ExceedsTexture({800, 1025}, 1024));
    EXPECT_EQ(FitIntoTexture({1600, 1200}, 1024), (PixelSize{1024, 768}));
    EXPECT_EQ(FitIntoTexture({3000, 6000}, 2048), (PixelSize{1024, 2048}));
    EXPECT_EQ(FitIntoTexture({9000, 3}, 1024), (PixelSize{1024, 1}));
}

TEST(FlipFrame, ScrollIsClampedOrWrappedAround) {
    EXPECT_EQ(ScrollLimit(500, 800), 0);
    EXPECT_EQ(ClampOrWrap(-5, 1000, 800, false), 0);
    EXPECT_EQ(ClampOrWrap(250, 1000, 800, false), 200);
    EXPECT_EQ(ClampOrWrap(1030, 1000, 800, true), 30);
    EXPECT_EQ(ClampOrWrap(-30, 1000, 800, true), 970);
}

TEST(FlipFrame, SmallPicturesAreCentredLargeOnesScrolledPanoramasWrap) {
    using P = FramePiece;
    EXPECT_EQ(FramePieces({400, 300}, {800, 600}, 0, 0, false),
              (std::vector<P>{{0, 0, 400, 300, 200, 150}}));
    EXPECT_EQ(FramePieces({1000, 300}, {800, 600}, 150, 0, false),
              (std::vector<P>{{150, 0, 800, 300, 0, 150}}));
    // Panorama: the part past the right edge comes round from the picture's start.
    EXPECT_EQ(FramePieces({1000, 900}, {800, 600}, 700, 100, true),
              (std::vector<P>{{700, 100, 300, 600, 0, 0}, {0, 100, 500, 600, 300, 0}}));
}

TEST(FlipFrame, OffsetIsSplitBetweenTheEyesAtTheZoom) {
    EXPECT_EQ(SplitOffset(7, 100).left, 3);
    EXPECT_EQ(SplitOffset(7, 100).right, 4);
    EXPECT_EQ(SplitOffset(-7, 100).left, -3);
    EXPECT_EQ(SplitOffset(-7, 100).right, -4);
    EXPECT_EQ(SplitOffset(10, 55).left, 2);  // d = 5
    EXPECT_EQ(SplitOffset(10, 55).right, 3);
    EXPECT_EQ(ZoomDragUp(5), 6);
    EXPECT_EQ(ZoomDragUp(100), 110);
    EXPECT_EQ(ZoomDragDown(110), 100);
    EXPECT_EQ(ZoomDragDown(1), 1);
}

TEST(FlipKeys, TheMapOfTheFullScreenOutputs) {
    struct Case {
        int key;
        bool shift;
        FlipAction action;
        CommandId command;
        int step;
    };
    const Case cases[] = {
        {Qt::Key_Escape, false, FlipAction::Close, CmdNone, 0},
        {Qt::Key_Return, false, FlipAction::Close, CmdNone, 0},
        {Qt::Key_Left, false, FlipAction::Command, CmdAlignLeft, 0},
        {Qt::Key_Up, false, FlipAction::Command, CmdAlignUp, 0},
        {Qt::Key_Home, false, FlipAction::Command, CmdAlignReset, 0},
        {Qt::Key_1, false, FlipAction::SetStep, CmdNone, 1},
        {Qt::Key_9, false, FlipAction::SetStep, CmdNone, 9},
        {Qt::Key_0, false, FlipAction::SetStep, CmdNone, 10},
        {Qt::Key_F2, false, FlipAction::Command, CmdZoomIn, 0},
        {Qt::Key_F3, false, FlipAction::Command, CmdZoomOut, 0},
        {Qt::Key_F, false, FlipAction::Command, CmdFitWindow, 0},
        {Qt::Key_J, false, FlipAction::Command, CmdZoom100, 0},
        {Qt::Key_L, false, FlipAction::Command, CmdFitHeight, 0},
        {Qt::Key_L, true, FlipAction::Command, CmdFitWidth, 0},
        {Qt::Key_X, false, FlipAction::Command, CmdSwap, 0},
        {Qt::Key_P, false, FlipAction::Command, CmdPanorama, 0},
        {Qt::Key_Space, false, FlipAction::StopSlideAndCommand, CmdNextImage, 0},
        {Qt::Key_Backspace, false, FlipAction::StopSlideAndCommand, CmdPreviousImage, 0},
        {Qt::Key_A, false, FlipAction::ToggleSlideShow, CmdNone, 0},
        {Qt::Key_Y, false, FlipAction::WriteAlignment, CmdNone, 0},
        {Qt::Key_F1, false, FlipAction::ToggleHelp, CmdNone, 0},
        {Qt::Key_F5, false, FlipAction::ToggleInformation, CmdNone, 0},
        {Qt::Key_I, true, FlipAction::AutoScrollVertical, CmdNone, 0},
        {Qt::Key_Q, false, FlipAction::None, CmdNone, 0},
    };
    for (const Case& c : cases) {
        const FlipKey key = FlipKeyAction(c.key, c.shift);
        EXPECT_EQ(key.action, c.action) << std::hex << c.key;
        EXPECT_EQ(key.command, c.command) << std::hex << c.key;
        EXPECT_EQ(key.step, c.step) << std::hex << c.key;
    }
}

TEST(FlipAutoScroll, FullScreenPaceTurnsAtTheEndsAndStopsAtOtherKeys) {
    AutoScrollPace pace(AutoScrollPace::Kind::FullScreen, false);
    EXPECT_EQ(pace.Speed(), 8);
    EXPECT_EQ(pace.Step(0, 1000, 800, false), 8);
    EXPECT_EQ(pace.Step(195, 1000, 800, false), 200);  // the limit: back from here
    EXPECT_EQ(pace.Direction(), -1);
    EXPECT_EQ(pace.Step(996, 1000, 800, true), 988);
    EXPECT_EQ(pace.Key(Qt::Key_Right), AutoScrollPace::Reply::Continue);
    EXPECT_EQ(pace.Step(996, 1000, 800, true), 4);  // round the panorama
    // Slower: speed down to 1, then pauses of 10 ms more; faster undoes it.
    for (int i = 0; i < 8; ++i) pace.Key(Qt::Key_Down);
    EXPECT_EQ(pace.Speed(), 1);
    EXPECT_EQ(pace.PauseMs(), 10);
    pace.Key(Qt::Key_Up);
    EXPECT_EQ(pace.PauseMs(), 0);
    pace.Key(Qt::Key_Up);
    EXPECT_EQ(pace.Speed(), 2);
    EXPECT_EQ(pace.Key(Qt::Key_X), AutoScrollPace::Reply::Swap);
    EXPECT_EQ(pace.Key(Qt::Key_P), AutoScrollPace::Reply::Panorama);
    EXPECT_EQ(pace.Key(Qt::Key_Q), AutoScrollPace::Reply::Stop);
}

TEST(FlipAutoScroll, OpenGlPaceWaitsKSquaredAndStopsOnX) {
    AutoScrollPace pace(AutoScrollPace::Kind::OpenGl, true);
    EXPECT_EQ(pace.Speed(), 4);
    EXPECT_EQ(pace.PauseMs(), 16);
    pace.Key(Qt::Key_Down);  // vertical: Down is the direction
    EXPECT_EQ(pace.Direction(), -1);
    for (int i = 0; i < 4; ++i) pace.Key(Qt::Key_Left);  // slower: speed 1, then k + 1
    EXPECT_EQ(pace.Speed(), 1);
    EXPECT_EQ(pace.PauseMs(), 25);
    pace.Key(Qt::Key_Right);
    EXPECT_EQ(pace.PauseMs(), 16);
    pace.Key(Qt::Key_Right);
    EXPECT_EQ(pace.Speed(), 2);
    EXPECT_EQ(pace.Key(Qt::Key_X), AutoScrollPace::Reply::Stop);
}

TEST(FlipStatus, TheLineNamesThePairOrTheMessageAndTheOutput) {
    FlipStatusInput in;
    in.leftName = "a_l.jpg";
    in.rightName = "a_r.jpg";
    in.width = 640;
    in.height = 480;
    in.zoomPercent = 50;
    in.dx = -3;
    in.dy = 2;
    EXPECT_EQ(FlipStatusLine(in),
              "Links(a_l.jpg) Rechts(a_r.jpg) Bildgröße(640 x 480) Zoom(50%) "
              "Ausrichtung(x = -3 y = 2)     [nVidia]");
    in.pendingMessage = "gespeichert";
    in.panorama = true;
    in.output = PageFlipOutput::Win3d;
    EXPECT_EQ(FlipStatusLine(in), "gespeichert Panorama Modus     [WinX3D]");
    EXPECT_EQ(FlipHelpLines(PageFlipOutput::DoubleWidth).size(), 23u);
    EXPECT_EQ(FlipHelpLines(PageFlipOutput::OpenGl).size(), 23u);
}

}  // namespace
}  // namespace duplora
