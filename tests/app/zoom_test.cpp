#include "app/stereo/zoom.h"

#include <gtest/gtest.h>

#include "app/stereo/view_numbers.h"

namespace duplora {
namespace {

using namespace view_command;
using namespace view_mode;

TEST(ZoomSteps, InAndOutWithSnappingTo100) {
    struct Case {
        int from, in, out;
    };
    const Case cases[] = {
        {100, 110, 90},   // 90 is not strictly inside the snapping band
        {95, 100, 86},    // in: 104 snaps to 100
        {9, 10, 8},       // 9.9 → 9, plus 1 below 10
        {1, 2, 1},        // out: 0 becomes the minimum 1
        {115, 126, 100},  // out: 104 snaps
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZoomInStep(c.from), c.in) << "in from " << c.from;
        EXPECT_EQ(ZoomOutStep(c.from), c.out) << "out from " << c.from;
    }
    // Repeated steps stay in range.
    int z = 100;
    for (int i = 0; i < 500; ++i) z = ZoomInStep(z);
    EXPECT_EQ(z, kMaxZoomPercent);
    for (int i = 0; i < 500; ++i) z = ZoomOutStep(z);
    EXPECT_EQ(z, 1);
}

TEST(ZoomFit, AreaIsTheViewLessFrameSplitByMode) {
    EXPECT_EQ(FitArea(kInterlace, {1000, 700}, 5), QSize(990, 690));
    EXPECT_EQ(FitArea(kSideBySide, {1000, 700}, 5), QSize(495, 690));
    EXPECT_EQ(FitArea(kOverUnder, {1000, 700}, 5), QSize(990, 345));
    EXPECT_EQ(FitArea(kThreeViews, {1000, 700}, 5), QSize(495, 345));
}

TEST(ZoomFit, IntegerFitsOfTheLeftView) {
    struct Case {
        FitMode fit;
        QSize area;
        QSize view;
        int zoom;
    };
    const Case cases[] = {
        {FitMode::Height, {990, 690}, {6000, 4000}, 17},
        {FitMode::Width, {990, 690}, {6000, 4000}, 16},
        {FitMode::Window, {990, 690}, {6000, 4000}, 16},
        {FitMode::Window, {990, 690}, {3000, 4000}, 17},
        {FitMode::Width, {990, 690}, {3000, 4000}, 33},
        {FitMode::Window, {990, 690}, {320, 240}, 287},
        {FitMode::Window, {10, 10}, {60000, 60000}, 1},  // never below 1
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitZoom(c.fit, c.area, c.view), std::optional<int>(c.zoom))
            << static_cast<int>(c.fit) << " " << c.area.width() << "x" << c.area.height() << " "
            << c.view.width() << "x" << c.view.height();
    }
    EXPECT_EQ(FitZoom(FitMode::Window, {990, 690}, {0, 4000}), std::nullopt);
    EXPECT_EQ(FitZoom(FitMode::Window, {0, 690}, {6000, 4000}), std::nullopt);
    EXPECT_EQ(FitZoom(FitMode::None, {990, 690}, {6000, 4000}), std::nullopt);
}

TEST(ZoomFit, CentreIsKept) {
    EXPECT_EQ(KeepCentre({100, 0}, {400, 300}, 100, 200), QPoint(400, 150));
    EXPECT_EQ(KeepCentre({400, 150}, {400, 300}, 200, 100), QPoint(100, 0));
    EXPECT_EQ(KeepCentre({0, 0}, {400, 300}, 200, 100), QPoint(0, 0));  // never negative
}

ZoomInput Input(int command, int mode = kSingle) {
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

TEST(ZoomCommands, PresetsStepsAndFits) {
    for (const auto& [command, zoom] : {std::pair{kZoom75, 75}, std::pair{kZoomOut, 90}}) {
        const auto r = ApplyZoomCommand(Input(command));
        ASSERT_TRUE(r) << command;
        EXPECT_EQ(r->zoom, zoom) << command;
        EXPECT_EQ(r->fit, FitMode::None) << command;
        EXPECT_EQ(r->followUp, 0) << command;
    }
    EXPECT_EQ(ApplyZoomCommand(Input(kZoom200))->scroll, QPoint(400, 150));
    // Fits set their mode and ask for a repeat.
    auto r = ApplyZoomCommand(Input(kFitWindow));
    EXPECT_EQ(*r, (ZoomResult{16, FitMode::Window, QPoint(0, 0), 0}));
    r = ApplyZoomCommand(Input(kFitHeight));
    EXPECT_EQ(r->zoom, 17);
    EXPECT_EQ(r->fit, FitMode::Height);
    EXPECT_EQ(r->followUp, kFitHeightAgain);
    r = ApplyZoomCommand(Input(kFitHeightAgain));
    EXPECT_EQ(r->followUp, 0);
    EXPECT_EQ(r->fit, FitMode::Height);
    EXPECT_EQ(ApplyZoomCommand(Input(kFitWidth))->followUp, kFitWidthAgain);
    EXPECT_EQ(ApplyZoomCommand(Input(kFitWindow, kSideBySide))->zoom, 8);
    // The page-flipping output area is not split.
    ZoomInput in = Input(kFitWindow, kSideBySide);
    in.outputArea = QSize(1920, 1080);
    EXPECT_EQ(ApplyZoomCommand(in)->zoom, 27);
    in.outputArea = QSize(0, 1080);
    EXPECT_EQ(ApplyZoomCommand(in), std::nullopt);
}

TEST(ZoomCommands, IgnoredWhenTheViewIsSmallerThanItsFrameOrHasNoPicture) {
    ZoomInput in = Input(kZoomIn);
    in.viewClient = {500, 19};  // margin 2 × 5 + 10 = 20
    EXPECT_EQ(ApplyZoomCommand(in), std::nullopt);
    in.viewClient = {20, 20};
    EXPECT_TRUE(ApplyZoomCommand(in));
    EXPECT_EQ(ApplyZoomCommand(Input(2010)), std::nullopt);  // not a zoom command
    ZoomInput none = Input(kFitWindow);
    none.leftView = {};
    EXPECT_EQ(ApplyZoomCommand(none), std::nullopt);
}

}  // namespace
}  // namespace duplora
