// Where the view window and its three panes go, how far the picture can scroll, and where a
// pane starts painting. Pure arithmetic on sizes; the widgets apply the results.
//
// Pane i shows display picture i: 0 the single composite (or the centre picture of the three
// views), 1 the left and 2 the right picture of side by side, over/under and three views.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <optional>

#include "app/shell/settings.h"
#include "core/stereo/display_mode.h"

namespace duplora {

// The toolbar strip above the view.
inline constexpr int kToolbarHeight = 30;

// The view's place in the main window's client area, or the whole screen in full screen.
QRect ViewRect(bool fullScreen, QSize screen, QSize mainClient, int statusBarHeight);

// True when the pane is shown in the mode.
bool PaneShown(DisplayMode mode, int pane);

// The pane whose client size rules scrolling: pane 1 where the views have panes of their
// own, else pane 0.
int ScrollPane(DisplayMode mode);

// The share of `room` one pane of the mode gets: half the width side by side, half the
// height over/under, half of both for three views, all of it for one picture.
QSize PaneShare(DisplayMode mode, QSize room);

// The rectangles of panes 0, 1, 2 in view coordinates; a pane that is not shown gets position
// and size 0. `pictures` are the sizes of display pictures 0, 1, 2 (empty when missing);
// `wcent` 1 packs the pictures against the centre line, 0 centres each in its half;
// `frame` is the view's frame width.
struct PaneLayout {
    std::array<QRect, 3> panes;
};
PaneLayout LayoutPanes(DisplayMode mode, int wcent, QSize client, int frame,
                       const std::array<QSize, 3>& pictures);

// How the picture relates to its pane: it fits, or is wider, taller, or larger both ways.
enum class PanState { Fits = 0, Wider = 1, Taller = 2, Both = 3 };
PanState PanStateFor(QSize picture, QSize paneClient);

// The maxima of the scroll position and the position clamped to them.
struct ScrollState {
    QPoint position;
    QPoint maximum;
};
ScrollState FitScroll(QSize picture, QSize paneClient, QPoint position);

// One scroll bar as the view sets it: range 0 … picture length − 1, page = pane length.
struct ScrollBarSetting {
    int minimum = 0;
    int maximum = 0;
    int page = 0;
    int position = 0;
    bool operator==(const ScrollBarSetting&) const = default;
};
ScrollBarSetting ScrollBarFor(int pictureLength, int paneLength, int position);

// Scroll bar events. Dragging the thumb (ThumbTrack) moves nothing until it is released.
enum class ScrollAction { LineBack, LineForward, PageBack, PageForward, ThumbTrack, ThumbPosition };
inline constexpr int kScrollLine = 5;
inline constexpr int kScrollPage = 50;
// The new scroll position, clamped to 0 … maximum. `thumb` is the released thumb's position.
int ScrollTo(int position, int maximum, ScrollAction action, int thumb = 0);

// Which panes follow a scroll: panes 1 and 2 where the views have panes of their own, pane 0
// where it is shown. Interlace repaints pane 0 on a vertical scroll instead of moving its bits, so
// the line parity stays right.
struct ScrollTargets {
    std::array<bool, 3> scroll{};
    bool repaintPane0 = false;
};
ScrollTargets ScrolledPanes(DisplayMode mode, bool vertical);

// The picture position at the pane's top-left: a picture larger than the pane starts at the
// scroll position, a smaller one gets a negative origin that centres it.
int PaintOrigin(int pictureLength, int paneLength, int scroll);
QPoint PaintOrigin(QSize picture, QSize paneClient, QPoint scroll);

// In panorama mode, the pane x where the picture is drawn a second time so that its right end
// continues with its left end; none when the first copy reaches the pane's right edge.
std::optional<int> PanoramaSecondCopyX(int pictureWidth, int paneWidth, int originX);

// The interlace pane keeps picture lines on screen lines of the right parity: the vertical
// origin moved down by one line where the pane's screen y and the picture height demand it.
int InterlaceOriginY(int originY, int paneScreenY, int pictureHeight);

// The three nested bands the view paints around a pane while the frame is shown: outer,
// middle (rounded with a corner ellipse of `cornerDiameter` when non-zero) and inner.
struct BorderBands {
    QRect outer;
    QRect middle;
    QRect inner;
    int cornerDiameter = 0;
};
std::optional<BorderBands> BorderBandsAround(QRect pane, const BorderSet& border);

}  // namespace duplora
