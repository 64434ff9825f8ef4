// Choosing a rectangle of the picture in a pane: the free trim, the preset-ratio trim, the
// phone-image area and the fixed-size trim. Points arrive in pane client coordinates; the
// rectangle is kept in full-size pixels of the left view.
#pragma once

#include <QPoint>
#include <QSize>

#include <optional>
#include <string>

#include "app/shell/settings.h"
#include "core/shell/command_ids.h"

namespace duplora {

// What a selection is doing: drawing a rectangle (free, in the preset ratio, the phone
// area), waiting for its fixed-size rectangle to be placed, or moving a finished one.
enum class SelectionMode : int {
    None = 0,
    Free = 1,
    PresetRatio = 2,
    Phone = 3,
    FixedSize = 10,  // waiting to be placed
    MoveFree = 11,   // the finished rectangle of Free (or FixedSize)
    MovePresetRatio = 12,
    MovePhone = 13,
};

// The rectangle is drawn (Free, PresetRatio, Phone) or moved (the Move modes).
bool IsDrawingSelection(SelectionMode mode);
bool IsMovingSelection(SelectionMode mode);

// Corners as signed integers; not ordered while the rubber band is being drawn.
struct SelectionRect {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    int Width() const { return x1 < x2 ? x2 - x1 : x1 - x2; }
    int Height() const { return y1 < y2 ? y2 - y1 : y1 - y2; }
    SelectionRect Ordered() const;
    bool operator==(const SelectionRect&) const = default;
};

// How the pane shows its picture.
struct SelectionView {
    QPoint origin;   // the paint origin: picture position at the pane's top-left
    int zoom = 100;  // percent
    QSize picture;   // the displayed picture of the pane
};

// A pane point moved into the displayed picture: its picture position kept within
// 0 … width and 0 … height (a corner may lie on the far edge).
QPoint ClampToPicture(QPoint point, const SelectionView& view);

// Full-size pixels of a pane coordinate, rounded to nearest: (z/2 + (p + origin) × 100) / z.
int ToFullSize(int pane, int origin, int zoom);
QPoint ToFullSize(QPoint pane, const SelectionView& view);

// The pane coordinate of a full-size pixel.
int ToPane(int fullSize, int origin, int zoom);
QPoint ToPane(QPoint fullSize, const SelectionView& view);

// The displayed picture's extent in full-size pixels.
QSize FullSizeBounds(const SelectionView& view);

// The opposite corner moved towards the anchor so that the rectangle has the ratio
// width : height; the side that would be too long is shortened.
QPoint ConstrainToRatio(QPoint anchor, QPoint corner, QSize ratio);

// The ratio a selection keeps: the free-trim ratio when switched on, the preset trim size,
// or twice the phone view's width to its height (the phone picture holds both views side
// by side). None for a free rectangle or a ratio with a zero side.
std::optional<QSize> SelectionRatio(SelectionMode mode, const AspectSet& aspect, QSize presetSize,
                                    QSize phoneViewSize);

// The rectangle a fixed trim starts with: the preset size at the top-left, cut to the left
// view's size; and the mode it starts in (a rescaling trim keeps the preset's ratio, one
// that cuts exactly the preset size is placed as it is).
SelectionRect PresetTrimRect(QSize preset, QSize leftView);
SelectionMode PresetTrimMode(bool rescale);

// The command a finished selection sends: CmdTrimFinished for a free or fixed trim,
// CmdPresetTrimFinished for a preset ratio, CmdPhoneAreaFinished for the phone area; CmdNone
// for other modes.
CommandId SelectionDoneCommand(SelectionMode mode);

// The status bar text "(x1,y1)-(x2,y2) [w X h]".
std::string SelectionStatusText(const SelectionRect& rect);

// The selection as one small state machine fed with the pane's mouse events and the
// commands the main window forwards while a selection is active.
struct SelectionOutcome {
    CommandId command = CmdNone;      // to send to the main window, or CmdNone
    bool repaint = false;             // erase: repaint every shown pane
    bool rectChanged = false;         // redraw the rectangle and the status text
    std::optional<QPoint> crossHair;  // draw the cross-hair through this pane point
};

class SelectionTracker {
  public:
    // Starts drawing with the ratio to keep (if any), or FixedSize with the rectangle of the
    // preset and the command that placed it.
    void Begin(SelectionMode mode, std::optional<QSize> ratio = std::nullopt);
    void BeginFixed(SelectionRect rect, CommandId triggerCommand);

    SelectionOutcome Press(QPoint point, const SelectionView& view);
    SelectionOutcome Move(QPoint point, const SelectionView& view);
    // `twoStep` is the `twoStepTrim` setting: first the size, then the position.
    SelectionOutcome Release(QPoint point, const SelectionView& view, bool twoStep);
    // A command forwarded by the main window: places the fixed-size rectangle when it is the
    // command that started it, and cancels the selection otherwise.
    SelectionOutcome Forward(CommandId command, const SelectionView& view);

    SelectionMode Mode() const { return mode_; }
    bool Active() const { return mode_ != SelectionMode::None; }
    bool Dragging() const { return dragging_; }
    // The rectangle in full-size pixels; after a finishing release it stays here, ordered,
    // for the command that was sent.
    const SelectionRect& Rect() const { return rect_; }
    // The rectangle in pane coordinates, for drawing; none while nothing is drawn.
    std::optional<SelectionRect> PaneRect(const SelectionView& view) const;

  private:
    void Reset();
    void MoveTo(QPoint fullSize, const SelectionView& view);

    SelectionMode mode_ = SelectionMode::None;
    std::optional<QSize> ratio_;
    CommandId trigger_ = CmdNone;
    bool dragging_ = false;
    bool drawn_ = false;
    QPoint anchor_;  // pane coordinates of the rubber band's fixed corner
    QPoint grab_;    // full-size point where a move started
    SelectionRect grabRect_;
    SelectionRect rect_;
};

}  // namespace duplora
