#include "app/stereo/pane_mouse.h"

#include <algorithm>

namespace duplora {

EdgeZone EdgeZoneAt(QPoint point, QSize paneClient, PanState pan) {
    const int x = point.x();
    const int y = point.y();
    const int cw = paneClient.width();
    const int ch = paneClient.height();
    EdgeZone zone = EdgeZone::None;
    if (pan == PanState::Fits || pan == PanState::Taller) {
        if (0 < x && x < cw / 10) zone = EdgeZone::Previous;
        if (9 * cw / 10 < x && x < cw) zone = EdgeZone::Next;
    }
    if (pan == PanState::Fits || pan == PanState::Wider) {
        if (0 < y && y < ch / 10) zone = EdgeZone::Next;
        if (9 * ch / 10 < y && y < ch) zone = EdgeZone::Previous;
    }
    return zone;
}

PaneClick ClickAction(EdgeZone zone, PanState pan) {
    if (zone == EdgeZone::Previous) return PaneClick::PreviousImage;
    if (zone == EdgeZone::Next) return PaneClick::NextImage;
    if (pan == PanState::Fits) return PaneClick::Nothing;
    return PaneClick::StartDrag;
}

CommandId ClickCommand(PaneClick click) {
    switch (click) {
        case PaneClick::PreviousImage:
            return CmdPreviousImage;
        case PaneClick::NextImage:
            return CmdNextImage;
        default:
            return CmdNone;
    }
}

int WrapPosition(int position, int width) {
    if (width <= 0) return position;
    const int r = position % width;
    return r < 0 ? r + width : r;
}

QPoint DragScroll(QPoint scroll, QPoint from, QPoint to, QPoint maximum, QSize picture,
                  bool panorama) {
    int x = scroll.x() + from.x() - to.x();
    int y = scroll.y() + from.y() - to.y();
    if (panorama && picture.width() > 0) {
        x = WrapPosition(x, picture.width());
    } else {
        x = std::clamp(x, 0, std::max(0, maximum.x()));
    }
    y = std::clamp(y, 0, std::max(0, maximum.y()));
    return {x, y};
}

PaneCursor ChooseCursor(const CursorInput& in) {
    if (!in.hasPicture) return PaneCursor::Arrow;
    if (IsDrawingSelection(in.selectionMode)) return PaneCursor::Select;
    if (IsMovingSelection(in.selectionMode)) return PaneCursor::MoveSelection;
    if (in.dragging) return PaneCursor::ClosedHand;
    if (in.hideCursor) return PaneCursor::Hidden;
    if (in.zone == EdgeZone::Previous) return PaneCursor::Previous;
    if (in.zone == EdgeZone::Next) return PaneCursor::Next;
    return in.pan != PanState::Fits ? PaneCursor::OpenHand : PaneCursor::Arrow;
}

}  // namespace duplora
