// The zoom commands: steps in and out, the fixed presets, and fitting the left view's full
// size to the room the view offers, keeping the centre of what is shown.
#pragma once

#include <QPoint>
#include <QSize>

#include <optional>

#include "core/shell/command_ids.h"
#include "core/stereo/display_mode.h"

namespace duplora {

enum class FitMode { None = 0, Window = 1, Height = 2, Width = 3 };

// Zoom percentages are kept within these bounds: never below 1, and never so large that
// the view arithmetic could overflow (pictures that large are refused by composition anyway).
inline constexpr int kMinZoomPercent = 1;
inline constexpr int kMaxZoomPercent = 100000;

// One step in (+10 %, at least +1 below 10) or out (−10 %), snapping to 100 from within
// 90 … 110 exclusive.
int ZoomInStep(int zoom);
int ZoomOutStep(int zoom);

// The room for the picture: the view's client size less the frame on both sides, halved in
// width for side by side, in height for over/under and both ways for three views.
QSize FitArea(DisplayMode mode, QSize viewClient, int frame);

// The zoom that fits the left view's full size into the area; none for an empty size or area.
std::optional<int> FitZoom(FitMode fit, QSize area, QSize leftView);

// The scroll position that keeps the pane's centre on the same picture point when the zoom
// changes from `oldZoom` to `newZoom`; never negative.
QPoint KeepCentre(QPoint scroll, QSize paneClient, int oldZoom, int newZoom);

// The command that re-applies a fit mode after the view changed size; CmdNone for none.
CommandId RefitCommand(FitMode fit);

struct ZoomInput {
    CommandId command = CmdNone;
    int zoom = 100;  // the zoom before the command
    DisplayMode mode = DisplayMode::SideBySide;
    int frame = 0;
    QSize viewClient;
    QSize leftView;  // full size of the left view
    // The room while a page-flipping output runs (the OpenGL window's client area or the
    // page-flipping screen size); otherwise FitArea of the view.
    std::optional<QSize> outputArea;
    QSize paneClient;  // pane 1 below the composite modes, else pane 0
    QPoint scroll;
};

struct ZoomResult {
    int zoom = 100;
    FitMode fit = FitMode::None;
    QPoint scroll;
    // A fit command to send once the scroll bars have settled, or CmdNone.
    CommandId followUp = CmdNone;
    bool operator==(const ZoomResult&) const = default;
};

// The outcome of one zoom command; none when the command is not a zoom command, when the
// view is too small for its frame (below 2F + 10 either way), or when nothing can be fitted.
std::optional<ZoomResult> ApplyZoomCommand(const ZoomInput& in);

}  // namespace duplora
