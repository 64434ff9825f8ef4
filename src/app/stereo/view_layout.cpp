#include "app/stereo/view_layout.h"

#include <algorithm>

#include "core/stereo/display_modes.h"

namespace duplora {

namespace {

// How the mode shows; none for a number that is no mode, which shows nothing.
std::optional<ViewPanes> PanesOf(DisplayMode mode) {
    const DisplayModeRow* row = FindDisplayMode(mode);
    return row ? std::optional(row->panes) : std::nullopt;
}

// The views have panes of their own (1 and 2).
bool ViewPanesShown(DisplayMode mode) {
    const std::optional<ViewPanes> panes = PanesOf(mode);
    return panes && *panes != ViewPanes::One;
}

// A pane's size: the room it gets, limited to its picture; never negative, so a view too
// small for its frame gives empty panes instead of inverted rectangles.
QSize Limited(int roomWidth, int roomHeight, QSize picture) {
    const int w = std::max(0, std::min(roomWidth, std::max(0, picture.width())));
    const int h = std::max(0, std::min(roomHeight, std::max(0, picture.height())));
    return {w, h};
}

}  // namespace

QRect ViewRect(bool fullScreen, QSize screen, QSize mainClient, int statusBarHeight) {
    if (fullScreen) return {0, 0, screen.width(), screen.height()};
    const int height = std::max(0, mainClient.height() - kToolbarHeight - statusBarHeight);
    return {0, kToolbarHeight, std::max(0, mainClient.width()), height};
}

bool PaneShown(DisplayMode mode, int pane) {
    const std::optional<ViewPanes> panes = PanesOf(mode);
    if (!panes) return false;
    switch (*panes) {
        case ViewPanes::SideBySide:
        case ViewPanes::OverUnder:
            return pane == 1 || pane == 2;
        case ViewPanes::ThreeViews:
            return pane >= 0 && pane <= 2;
        case ViewPanes::One:
            return pane == 0;
    }
    return false;
}

int ScrollPane(DisplayMode mode) {
    return ViewPanesShown(mode) ? 1 : 0;
}

QSize PaneShare(DisplayMode mode, QSize room) {
    int w = room.width(), h = room.height();
    const std::optional<ViewPanes> panes = PanesOf(mode);
    if (panes == ViewPanes::SideBySide || panes == ViewPanes::ThreeViews) w /= 2;
    if (panes == ViewPanes::OverUnder || panes == ViewPanes::ThreeViews) h /= 2;
    return {w, h};
}

PaneLayout LayoutPanes(DisplayMode mode, int wcent, QSize client, int frame,
                       const std::array<QSize, 3>& pictures) {
    PaneLayout layout;
    for (QRect& r : layout.panes) r = QRect(0, 0, 0, 0);
    const int W = client.width();
    const int H = client.height();
    const int F = frame;
    const bool packed = wcent == 1;

    const std::optional<ViewPanes> panes = PanesOf(mode);
    if (!panes) return layout;
    switch (*panes) {
        case ViewPanes::SideBySide: {
            for (int pane = 1; pane <= 2; ++pane) {
                const QSize s = Limited(W / 2 - 2 * F, H - 2 * F, pictures[pane]);
                const int y = (H - 2 * F - s.height()) / 2 + F;
                int x;
                if (packed) {
                    x = pane == 1 ? W / 2 - F - s.width() : W / 2 + F;
                } else {
                    x = (W / 2 - 2 * F - s.width()) / 2 + F + (pane == 2 ? W / 2 : 0);
                }
                layout.panes[pane] = QRect(QPoint(x, y), s);
            }
            break;
        }
        case ViewPanes::OverUnder: {
            for (int pane = 1; pane <= 2; ++pane) {
                const QSize s = Limited(W - 2 * F, H / 2 - 2 * F, pictures[pane]);
                const int x = (W - 2 * F - s.width()) / 2 + F;
                int y;
                if (packed) {
                    y = pane == 1 ? H / 2 - F - s.height() : H / 2 + F;
                } else {
                    y = (H / 2 - 2 * F - s.height()) / 2 + F + (pane == 2 ? H / 2 : 0);
                }
                layout.panes[pane] = QRect(QPoint(x, y), s);
            }
            break;
        }
        case ViewPanes::ThreeViews: {
            // All three pictures have the left picture's size; the centre one sits below.
            const QSize s = Limited(W / 2 - 2 * F, H / 2 - 2 * F, pictures[1]);
            const int w = s.width();
            const int h = s.height();
            if (packed) {
                layout.panes[1] = QRect(QPoint(W / 2 - F - w, H / 2 - F - h), s);
                layout.panes[2] = QRect(QPoint(W / 2 + F, H / 2 - F - h), s);
                layout.panes[0] = QRect(QPoint(W / 2 - w / 2 - F, H / 2 + F), s);
            } else {
                const int x1 = (W / 2 - 2 * F - w) / 2 + F;
                const int y1 = (H / 2 - 2 * F - h) / 2 + F;
                layout.panes[1] = QRect(QPoint(x1, y1), s);
                layout.panes[2] = QRect(QPoint(x1 + W / 2, y1), s);
                layout.panes[0] = QRect(QPoint(W / 2 - w / 2 - F, y1 + H / 2), s);
            }
            break;
        }
        case ViewPanes::One: {
            const QSize s = Limited(W - 2 * F, H - 2 * F, pictures[0]);
            const int x = (W - 2 * F - s.width()) / 2 + F;
            const int y = (H - 2 * F - s.height()) / 2 + F;
            layout.panes[0] = QRect(QPoint(x, y), s);
            break;
        }
    }
    return layout;
}

PanState PanStateFor(QSize picture, QSize paneClient) {
    const bool wider = paneClient.width() < picture.width();
    const bool taller = paneClient.height() < picture.height();
    if (wider && taller) return PanState::Both;
    if (wider) return PanState::Wider;
    if (taller) return PanState::Taller;
    return PanState::Fits;
}

ScrollState FitScroll(QSize picture, QSize paneClient, QPoint position) {
    ScrollState s;
    s.maximum = QPoint(std::max(0, picture.width() - paneClient.width()),
                       std::max(0, picture.height() - paneClient.height()));
    s.position = QPoint(std::clamp(position.x(), 0, s.maximum.x()),
                        std::clamp(position.y(), 0, s.maximum.y()));
    return s;
}

ScrollBarSetting ScrollBarFor(int pictureLength, int paneLength, int position) {
    return {0, std::max(0, pictureLength - 1), std::max(0, paneLength), position};
}

int ScrollTo(int position, int maximum, ScrollAction action, int thumb) {
    int next = position;
    switch (action) {
        case ScrollAction::LineBack:
            next = position - kScrollLine;
            break;
        case ScrollAction::LineForward:
            next = position + kScrollLine;
            break;
        case ScrollAction::PageBack:
            next = position - kScrollPage;
            break;
        case ScrollAction::PageForward:
            next = position + kScrollPage;
            break;
        case ScrollAction::ThumbTrack:
            break;
        case ScrollAction::ThumbPosition:
            next = thumb;
            break;
    }
    return std::clamp(next, 0, std::max(0, maximum));
}

ScrollTargets ScrolledPanes(DisplayMode mode, bool vertical) {
    ScrollTargets t;
    if (ViewPanesShown(mode)) t.scroll[1] = t.scroll[2] = true;
    if (PaneShown(mode, 0)) t.scroll[0] = true;
    if (vertical && mode == DisplayMode::Interlace) {
        t.scroll[0] = false;
        t.repaintPane0 = true;
    }
    return t;
}

int PaintOrigin(int pictureLength, int paneLength, int scroll) {
    const int centred = (pictureLength - paneLength) / 2;
    return centred > 0 ? scroll : centred;
}

QPoint PaintOrigin(QSize picture, QSize paneClient, QPoint scroll) {
    return {PaintOrigin(picture.width(), paneClient.width(), scroll.x()),
            PaintOrigin(picture.height(), paneClient.height(), scroll.y())};
}

std::optional<int> PanoramaSecondCopyX(int pictureWidth, int paneWidth, int originX) {
    if (pictureWidth - paneWidth < originX) return pictureWidth - originX;
    return std::nullopt;
}

int InterlaceOriginY(int originY, int paneScreenY, int pictureHeight) {
    // Parities by the low bit, which is right for negative values too.
    const bool sameParity = (paneScreenY & 1) == (pictureHeight & 1);
    const int flag = sameParity ? 0 : 1;
    const bool odd = (originY & 1) != 0;
    if ((flag == 0 && odd) || (flag == 1 && !odd)) return originY + 1;
    return originY;
}

std::optional<BorderBands> BorderBandsAround(QRect pane, const BorderSet& border) {
    if (pane.width() <= 0 || pane.height() <= 0) return std::nullopt;
    const int w1 = border.outerDisplay;
    const int w2 = border.middleDisplay;
    const int w3 = border.innerDisplay;
    auto grown = [&](int by) { return pane.adjusted(-by, -by, by, by); };
    BorderBands b;
    b.outer = grown(w1 + w2 + w3);
    b.middle = grown(w2 + w3);
    b.inner = grown(w3);
    b.cornerDiameter = border.roundCorners != 0 ? w2 : 0;
    return b;
}

}  // namespace duplora
