// What the mouse does over a pane without a selection: the edge zones that step through the
// folder, dragging the picture, and the cursor shown.
#pragma once

#include <QPoint>
#include <QSize>

#include "app/stereo/selection.h"
#include "app/stereo/view_layout.h"
#include "core/shell/command_ids.h"

namespace duplora {

enum class EdgeZone { None = 0, Previous = 1, Next = 2 };

// The zone of a point in pane client coordinates. The outer tenths left and right are zones
// only while the picture cannot scroll sideways, the top and bottom tenths only while it
// cannot scroll up and down; in a corner the vertical verdict wins. Left and bottom step
// back, right and top step forward.
EdgeZone EdgeZoneAt(QPoint point, QSize paneClient, PanState pan);

// What a left button press does.
enum class PaneClick { Nothing, PreviousImage, NextImage, StartDrag };
PaneClick ClickAction(EdgeZone zone, PanState pan);

// The command a click sends, CmdNone for none.
CommandId ClickCommand(PaneClick click);

// The scroll position after the mouse moved from `from` to `to` while dragging: the picture
// follows the mouse. Without panorama both coordinates stay within 0 … maximum; in panorama
// mode the horizontal position wraps round the picture width (the picture is a closed
// circle sideways) and the vertical one is still clamped.
QPoint DragScroll(QPoint scroll, QPoint from, QPoint to, QPoint maximum, QSize picture,
                  bool panorama);

// A horizontal position wrapped into 0 … width − 1; unchanged for an empty width.
int WrapPosition(int position, int width);

enum class PaneCursor {
    Arrow,
    OpenHand,
    ClosedHand,
    Previous,
    Next,
    Select,
    MoveSelection,
    Hidden
};

struct CursorInput {
    bool hasPicture = false;
    SelectionMode selectionMode = SelectionMode::None;
    bool dragging = false;
    bool hideCursor = false;
    EdgeZone zone = EdgeZone::None;
    PanState pan = PanState::Fits;
};
PaneCursor ChooseCursor(const CursorInput& in);

}  // namespace duplora
