#include "app/flip/flip_rules.h"

#include <Qt>

#include <algorithm>

#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

PageFlipOutput PageFlipOutputOf(int storedDriver) {
    switch (storedDriver) {
        case 0:
            return PageFlipOutput::Win3d;
        case 2:
            return PageFlipOutput::OpenGl;
        default:
            return PageFlipOutput::DoubleWidth;
    }
}

bool ExceedsTexture(PixelSize view, int edge) {
    return view.width > edge || view.height > edge;
}

PixelSize FitIntoTexture(PixelSize view, int edge) {
    if (view.width <= 0 || view.height <= 0) return view;
    const long long w = view.width, h = view.height;
    if (w >= h) return {edge, static_cast<int>(std::max(1LL, h * edge / w))};
    return {static_cast<int>(std::max(1LL, w * edge / h)), edge};
}

int ScrollLimit(int picture, int screen) {
    return std::max(0, picture - screen);
}

int ClampOrWrap(int position, int picture, int screen, bool panorama) {
    if (panorama && picture > 0) {
        position %= picture;
        return position < 0 ? position + picture : position;
    }
    return std::clamp(position, 0, ScrollLimit(picture, screen));
}

namespace {

// The spans of one axis: (source start, length, screen start).
struct Span {
    int source, length, screen;
};

std::vector<Span> AxisSpans(int picture, int screen, int scroll, bool wrap) {
    if (picture <= 0 || screen <= 0) return {};
    if (picture <= screen) return {{0, picture, (screen - picture) / 2}};
    if (!wrap) return {{scroll, screen, 0}};
    std::vector<Span> spans;
    int at = 0;
    int source = scroll;
    while (at < screen) {
        const int length = std::min(picture - source, screen - at);
        spans.push_back({source, length, at});
        at += length;
        source = 0;
    }
    return spans;
}

}  // namespace

std::vector<FramePiece> FramePieces(PixelSize picture, PixelSize screen, int scrollX, int scrollY,
                                    bool panorama) {
    // Panorama pictures wrap around horizontally only, as the view does.
    const std::vector<Span> xs = AxisSpans(picture.width, screen.width, scrollX, panorama);
    const std::vector<Span> ys = AxisSpans(picture.height, screen.height, scrollY, false);
    std::vector<FramePiece> pieces;
    for (const Span& y : ys)
        for (const Span& x : xs)
            pieces.push_back({x.source, y.source, x.length, y.length, x.screen, y.screen});
    return pieces;
}

EyeShift SplitOffset(int offset, int zoomPercent) {
    const int d = static_cast<int>(static_cast<long long>(offset) * zoomPercent / 100);
    return {d / 2, d - d / 2};
}

int ZoomDragUp(int zoom) {
    const int next = zoom * 110 / 100;
    return next == zoom ? zoom + 1 : next;
}

int ZoomDragDown(int zoom) {
    return std::max(1, zoom * 100 / 110);
}

FlipKey FlipKeyAction(int key, bool shift) {
    auto command = [](CommandId id) { return FlipKey{FlipAction::Command, id, 0}; };
    if (key >= Qt::Key_1 && key <= Qt::Key_9)
        return {FlipAction::SetStep, CmdNone, key - Qt::Key_0};
    switch (key) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return {FlipAction::Close};
        case Qt::Key_Left:
            return command(CmdAlignLeft);
        case Qt::Key_Up:
            return command(CmdAlignUp);
        case Qt::Key_Right:
            return command(CmdAlignRight);
        case Qt::Key_Down:
            return command(CmdAlignDown);
        case Qt::Key_Home:
            return command(CmdAlignReset);
        case Qt::Key_0:
            return {FlipAction::SetStep, CmdNone, 10};
        case Qt::Key_F2:
            return command(CmdZoomIn);
        case Qt::Key_F3:
            return command(CmdZoomOut);
        case Qt::Key_F:
            return command(CmdFitWindow);
        case Qt::Key_J:
            return command(CmdZoom100);
        case Qt::Key_L:
            return command(shift ? CmdFitWidth : CmdFitHeight);
        case Qt::Key_X:
            return command(CmdSwap);
        case Qt::Key_P:
            return command(CmdPanorama);
        case Qt::Key_Space:
            return {FlipAction::StopSlideAndCommand, CmdNextImage};
        case Qt::Key_Backspace:
            return {FlipAction::StopSlideAndCommand, CmdPreviousImage};
        case Qt::Key_A:
            return {FlipAction::ToggleSlideShow};
        case Qt::Key_Y:
            return {FlipAction::WriteAlignment};
        case Qt::Key_H:
        case Qt::Key_F1:
            return {FlipAction::ToggleHelp};
        case Qt::Key_F5:
            return {FlipAction::ToggleInformation};
        case Qt::Key_I:
            return {shift ? FlipAction::AutoScrollVertical : FlipAction::AutoScrollHorizontal};
        default:
            return {};
    }
}

AutoScrollPace::AutoScrollPace(Kind kind, bool vertical)
    : kind_(kind),
      vertical_(vertical),
      speed_(kind == Kind::OpenGl ? 4 : 8),
      delay_(kind == Kind::OpenGl ? 4 : 0) {}

int AutoScrollPace::PauseMs() const {
    return kind_ == Kind::OpenGl ? delay_ * delay_ : delay_;
}

void AutoScrollPace::Faster() {
    if (kind_ == Kind::OpenGl) {
        if (delay_ <= 4) {
            ++speed_;
        } else {
            --delay_;
            speed_ = 1;
        }
    } else if (delay_ > 0) {
        delay_ = std::max(0, delay_ - 10);
        speed_ = 1;
    } else {
        ++speed_;
    }
}

void AutoScrollPace::Slower() {
    if (kind_ == Kind::OpenGl) {
        if (speed_ > 1) {
            --speed_;
            delay_ = 4;
        } else {
            ++delay_;
        }
    } else if (speed_ > 1) {
        --speed_;
        delay_ = 0;
    } else {
        delay_ += 10;
        speed_ = 1;
    }
}

AutoScrollPace::Reply AutoScrollPace::Key(int key) {
    // Along the scroll the arrows set the direction, across it they set the pace.
    const int back = vertical_ ? Qt::Key_Down : Qt::Key_Left;
    const int forth = vertical_ ? Qt::Key_Up : Qt::Key_Right;
    const int faster = vertical_ ? Qt::Key_Right : Qt::Key_Up;
    const int slower = vertical_ ? Qt::Key_Left : Qt::Key_Down;
    if (key == back) {
        direction_ = -1;
    } else if (key == forth) {
        direction_ = 1;
    } else if (key == faster) {
        Faster();
    } else if (key == slower) {
        Slower();
    } else if (key == Qt::Key_X && kind_ == Kind::FullScreen) {
        return Reply::Swap;
    } else if (key == Qt::Key_P) {
        return Reply::Panorama;
    } else {
        return Reply::Stop;
    }
    return Reply::Continue;
}

int AutoScrollPace::Step(int position, int picture, int screen, bool panorama) {
    const int next = position + direction_ * speed_;
    if (panorama) return ClampOrWrap(next, picture, screen, true);
    const int limit = ScrollLimit(picture, screen);
    if (next <= 0) {
        direction_ = 1;
        return 0;
    }
    if (next >= limit) {
        direction_ = -1;
        return limit;
    }
    return next;
}

std::string FlipStatusLine(const FlipStatusInput& in) {
    std::string line =
        !in.pendingMessage.empty()
            ? in.pendingMessage
            : FormatResString(StringId::InfoOverlay, in.leftName.c_str(), in.rightName.c_str(),
                              in.width, in.height, in.zoomPercent, in.dx, in.dy);
    if (in.panorama) line += ' ' + LoadResString(StringId::TitlePanorama);
    line += "     ";
    line += in.output == PageFlipOutput::Win3d ? "[WinX3D]" : "[nVidia]";
    return line;
}

std::vector<std::string> FlipHelpLines(PageFlipOutput output) {
    const int first =
        output == PageFlipOutput::OpenGl ? StringId::GlHelpFirst : StringId::FlipHelpFirst;
    const int last =
        output == PageFlipOutput::OpenGl ? StringId::GlHelpLast : StringId::FlipHelpLast;
    std::vector<std::string> lines;
    for (int id = first; id <= last; ++id) lines.push_back(LoadResString(id));
    return lines;
}

}  // namespace duplora
