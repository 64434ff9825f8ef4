#include "app/stereo/selection.h"

#include <algorithm>
#include <cstdint>

#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

// Division rounding toward minus infinity, so the mapping stays monotonic on both sides of 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

int Narrow(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// The moving mode that follows a drawn rectangle.
SelectionMode MovingOf(SelectionMode mode) {
    switch (mode) {
        case SelectionMode::Free:
            return SelectionMode::MoveFree;
        case SelectionMode::PresetRatio:
            return SelectionMode::MovePresetRatio;
        case SelectionMode::Phone:
            return SelectionMode::MovePhone;
        default:
            return mode;
    }
}

// The rectangle shifted as little as possible to lie within the bounds, size kept; a
// rectangle larger than the bounds starts at 0.
SelectionRect KeptInside(SelectionRect r, QSize bounds) {
    r = r.Ordered();
    const int w = r.x2 - r.x1;
    const int h = r.y2 - r.y1;
    r.x1 = std::clamp(r.x1, 0, std::max(0, bounds.width() - w));
    r.y1 = std::clamp(r.y1, 0, std::max(0, bounds.height() - h));
    r.x2 = r.x1 + w;
    r.y2 = r.y1 + h;
    return r;
}

}  // namespace

bool IsDrawingSelection(SelectionMode mode) {
    return mode == SelectionMode::Free || mode == SelectionMode::PresetRatio ||
           mode == SelectionMode::Phone;
}

bool IsMovingSelection(SelectionMode mode) {
    return mode == SelectionMode::MoveFree || mode == SelectionMode::MovePresetRatio ||
           mode == SelectionMode::MovePhone;
}

SelectionRect SelectionRect::Ordered() const {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

QPoint ClampToPicture(QPoint point, const SelectionView& view) {
    const int x = std::clamp(point.x() + view.origin.x(), 0, std::max(0, view.picture.width()));
    const int y = std::clamp(point.y() + view.origin.y(), 0, std::max(0, view.picture.height()));
    return {x - view.origin.x(), y - view.origin.y()};
}

int ToFullSize(int pane, int origin, int zoom) {
    const std::int64_t z = std::max(zoom, 1);
    return Narrow(FloorDiv(z / 2 + (std::int64_t{pane} + origin) * 100, z));
}

QPoint ToFullSize(QPoint pane, const SelectionView& view) {
    return {ToFullSize(pane.x(), view.origin.x(), view.zoom),
            ToFullSize(pane.y(), view.origin.y(), view.zoom)};
}

int ToPane(int fullSize, int origin, int zoom) {
    return Narrow(FloorDiv(std::int64_t{fullSize} * std::max(zoom, 1), 100) - origin);
}

QPoint ToPane(QPoint fullSize, const SelectionView& view) {
    return {ToPane(fullSize.x(), view.origin.x(), view.zoom),
            ToPane(fullSize.y(), view.origin.y(), view.zoom)};
}

QSize FullSizeBounds(const SelectionView& view) {
    return {ToFullSize(std::max(0, view.picture.width()), 0, view.zoom),
            ToFullSize(std::max(0, view.picture.height()), 0, view.zoom)};
}

QPoint ConstrainToRatio(QPoint anchor, QPoint corner, QSize ratio) {
    const std::int64_t rx = ratio.width();
    const std::int64_t ry = ratio.height();
    if (rx <= 0 || ry <= 0) return corner;
    std::int64_t dx = corner.x() - anchor.x();
    std::int64_t dy = corner.y() - anchor.y();
    const std::int64_t ax = dx < 0 ? -dx : dx;
    const std::int64_t ay = dy < 0 ? -dy : dy;
    if (ax * ry > ay * rx) {
        const std::int64_t w = ay * rx / ry;
        dx = dx < 0 ? -w : w;
    } else {
        const std::int64_t h = ax * ry / rx;
        dy = dy < 0 ? -h : h;
    }
    return {Narrow(anchor.x() + dx), Narrow(anchor.y() + dy)};
}

std::optional<QSize> SelectionRatio(SelectionMode mode, const AspectSet& aspect, QSize presetSize,
                                    QSize phoneViewSize) {
    QSize ratio;
    switch (mode) {
        case SelectionMode::Free:
            if (aspect.keepRatio != 1) return std::nullopt;
            ratio = QSize(aspect.x, aspect.y);
            break;
        case SelectionMode::PresetRatio:
            ratio = presetSize;
            break;
        case SelectionMode::Phone:
            ratio = QSize(2 * phoneViewSize.width(), phoneViewSize.height());
            break;
        default:
            return std::nullopt;
    }
    if (ratio.width() <= 0 || ratio.height() <= 0) return std::nullopt;
    return ratio;
}

SelectionRect PresetTrimRect(QSize preset, QSize leftView) {
    return {0, 0, std::clamp(preset.width(), 0, std::max(0, leftView.width())),
            std::clamp(preset.height(), 0, std::max(0, leftView.height()))};
}

SelectionMode PresetTrimMode(bool rescale) {
    return rescale ? SelectionMode::PresetRatio : SelectionMode::FixedSize;
}

CommandId SelectionDoneCommand(SelectionMode mode) {
    switch (mode) {
        case SelectionMode::Free:
        case SelectionMode::MoveFree:
            return CmdTrimFinished;
        case SelectionMode::PresetRatio:
        case SelectionMode::MovePresetRatio:
            return CmdPresetTrimFinished;
        case SelectionMode::Phone:
        case SelectionMode::MovePhone:
            return CmdPhoneAreaFinished;
        default:
            return CmdNone;
    }
}

std::string SelectionStatusText(const SelectionRect& r) {
    return FormatResString(StringId::StatusSelection, r.x1, r.y1, r.x2, r.y2, r.Width(),
                           r.Height());
}

void SelectionTracker::Reset() {
    *this = SelectionTracker();
}

void SelectionTracker::Begin(SelectionMode mode, std::optional<QSize> ratio) {
    Reset();
    if (!IsDrawingSelection(mode)) return;
    mode_ = mode;
    ratio_ = ratio;
}

void SelectionTracker::BeginFixed(SelectionRect rect, CommandId triggerCommand) {
    Reset();
    mode_ = SelectionMode::FixedSize;
    rect_ = rect.Ordered();
    trigger_ = triggerCommand;
}

void SelectionTracker::MoveTo(QPoint fullSize, const SelectionView& view) {
    SelectionRect r = grabRect_;
    const int dx = fullSize.x() - grab_.x();
    const int dy = fullSize.y() - grab_.y();
    r.x1 += dx;
    r.x2 += dx;
    r.y1 += dy;
    r.y2 += dy;
    rect_ = KeptInside(r, FullSizeBounds(view));
}

SelectionOutcome SelectionTracker::Press(QPoint point, const SelectionView& view) {
    SelectionOutcome out;
    const QPoint p = ClampToPicture(point, view);
    if (IsDrawingSelection(mode_)) {
        anchor_ = p;
        const QPoint f = ToFullSize(p, view);
        rect_ = {f.x(), f.y(), f.x(), f.y()};
        dragging_ = true;
        drawn_ = true;
        out.rectChanged = true;
    } else if (IsMovingSelection(mode_)) {
        grab_ = ToFullSize(p, view);
        grabRect_ = rect_;
        dragging_ = true;
    }
    return out;
}

SelectionOutcome SelectionTracker::Move(QPoint point, const SelectionView& view) {
    SelectionOutcome out;
    if (IsDrawingSelection(mode_)) {
        out.crossHair = point;
        if (!dragging_) return out;
        QPoint corner = ClampToPicture(point, view);
        if (ratio_) corner = ConstrainToRatio(anchor_, corner, *ratio_);
        const QPoint a = ToFullSize(anchor_, view);
        const QPoint c = ToFullSize(corner, view);
        rect_ = {a.x(), a.y(), c.x(), c.y()};
        out.rectChanged = true;
    } else if (IsMovingSelection(mode_) && dragging_) {
        MoveTo(ToFullSize(ClampToPicture(point, view), view), view);
        out.rectChanged = true;
    }
    return out;
}

SelectionOutcome SelectionTracker::Release(QPoint point, const SelectionView& view, bool twoStep) {
    SelectionOutcome out;
    if (!dragging_) return out;
    if (IsDrawingSelection(mode_)) {
        Move(point, view);
        dragging_ = false;
        rect_ = rect_.Ordered();
        if (!twoStep) {
            out.command = SelectionDoneCommand(mode_);
            mode_ = SelectionMode::None;
            drawn_ = false;
            out.rectChanged = true;
        } else if (rect_.Width() < 3 || rect_.Height() < 3) {
            // Too small to be meant: erase it and let the user draw again.
            rect_ = {};
            drawn_ = false;
            out.repaint = true;
        } else {
            mode_ = MovingOf(mode_);
            out.rectChanged = true;
        }
    } else if (IsMovingSelection(mode_)) {
        MoveTo(ToFullSize(ClampToPicture(point, view), view), view);
        out.command = SelectionDoneCommand(mode_);
        // The rectangle stays readable: the command's handler cuts by it.
        mode_ = SelectionMode::None;
        dragging_ = false;
        drawn_ = false;
        out.rectChanged = true;
    }
    return out;
}

SelectionOutcome SelectionTracker::Forward(CommandId command, const SelectionView& view) {
    SelectionOutcome out;
    if (!Active()) return out;
    if (mode_ == SelectionMode::FixedSize && command == trigger_) {
        // Placed at the top-left of the visible part, then moved like a finished rectangle.
        const QPoint f = ToFullSize(ClampToPicture(QPoint(0, 0), view), view);
        const SelectionRect r{f.x(), f.y(), f.x() + rect_.Width(), f.y() + rect_.Height()};
        rect_ = KeptInside(r, FullSizeBounds(view));
        mode_ = SelectionMode::MoveFree;
        drawn_ = true;
        out.rectChanged = true;
        return out;
    }
    Reset();
    out.repaint = true;
    return out;
}

std::optional<SelectionRect> SelectionTracker::PaneRect(const SelectionView& view) const {
    if (!drawn_) return std::nullopt;
    const QPoint a = ToPane(QPoint(rect_.x1, rect_.y1), view);
    const QPoint b = ToPane(QPoint(rect_.x2, rect_.y2), view);
    return SelectionRect{a.x(), a.y(), b.x(), b.y()};
}

}  // namespace duplora
