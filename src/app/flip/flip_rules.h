// The plain rules of the page-flipping outputs: the texture-size rule, where the picture
// lies on the screen (scrolling, centring, panorama wrap), how the alignment offset splits
// between the eyes, the key map of the full-screen outputs, the pace of automatic scrolling
// and the status line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/shell/command_ids.h"

namespace duplora {

// The outputs of the page-flipping command, as stored in `nVidia`.
enum class PageFlipOutput { Win3d = 0, DoubleWidth = 1, OpenGl = 2 };
PageFlipOutput PageFlipOutputOf(int storedDriver);

struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// ---- texture-size rule ----------------------------------------------------------------------

// Whether a view does not fit into a texture of edge `edge`.
bool ExceedsTexture(PixelSize view, int edge);
// The size a view is scaled to so that it fits: the longer side becomes `edge`, the other
// keeps the aspect (at least 1).
PixelSize FitIntoTexture(PixelSize view, int edge);

// ---- geometry of a frame ----------------------------------------------------------------------

// How far the picture can scroll in one direction: never below 0.
int ScrollLimit(int picture, int screen);
// A scroll position made valid: clamped to 0 … limit, or in panorama mode wrapped around the
// picture's length.
int ClampOrWrap(int position, int picture, int screen, bool panorama);

// One rectangle of the picture and where it goes on the screen (both from the top-left).
struct FramePiece {
    int sourceX = 0, sourceY = 0;
    int width = 0, height = 0;
    int screenX = 0, screenY = 0;
    friend bool operator==(const FramePiece&, const FramePiece&) = default;
};
// The pieces that cover the screen with a picture of size `picture` scrolled to (x, y):
// centred where it is smaller than the screen; where it is larger, the screen shows the part
// at the scroll position, and in panorama mode the part past the right or bottom edge comes
// round from the start again. The scroll position must be valid (ClampOrWrap).
std::vector<FramePiece> FramePieces(PixelSize picture, PixelSize screen, int scrollX, int scrollY,
                                    bool panorama);

// The alignment offset on screen, d = trunc(offset × zoom / 100), shared by the eyes: the left
// eye's picture moves by trunc(d / 2), the right eye's by d − trunc(d / 2) the other way.
struct EyeShift {
    int left = 0;
    int right = 0;
};
EyeShift SplitOffset(int offset, int zoomPercent);

// Zoom of the OpenGL window's right drag: up multiplies by 110 %, at least one more below 10;
// down by 100/110, at least 1.
int ZoomDragUp(int zoom);
int ZoomDragDown(int zoom);

// ---- key map of the full-screen outputs --------------------------------------------------------

enum class FlipAction {
    None,
    Close,
    Command,              // send `command` to the main window
    SetStep,              // alignment step = `step`
    StopSlideAndCommand,  // stop the slide show, then `command`
    ToggleSlideShow,
    WriteAlignment,
    ToggleHelp,
    ToggleInformation,
    AutoScrollHorizontal,
    AutoScrollVertical,
};
struct FlipKey {
    FlipAction action = FlipAction::None;
    CommandId command = CmdNone;
    int step = 0;
};
// `key` is a Qt::Key; `shift` whether Shift is held.
FlipKey FlipKeyAction(int key, bool shift);

// ---- automatic scrolling -------------------------------------------------------------------

// One running automatic scroll. The full-screen outputs start at speed 8 with no pause; the
// OpenGL window at speed 4 with a pause of k × k ms, k = 4, and its own faster/slower rules.
class AutoScrollPace {
  public:
    enum class Kind { FullScreen, OpenGl };
    AutoScrollPace(Kind kind, bool vertical);

    enum class Reply { Continue, Swap, Panorama, Stop };
    // A key while scrolling: the arrows change direction or pace; X and P are passed back to
    // be carried out (the OpenGL window stops on X); anything else stops.
    Reply Key(int key);
    // The next position of a valid scroll position; reverses the direction at either end
    // unless in panorama mode.
    int Step(int position, int picture, int screen, bool panorama);

    int Direction() const { return direction_; }
    int Speed() const { return speed_; }
    int PauseMs() const;
    bool Vertical() const { return vertical_; }

  private:
    void Faster();
    void Slower();

    Kind kind_;
    bool vertical_;
    int direction_ = 1;
    int speed_;
    int delay_ = 0;  // full screen: the pause in ms; OpenGL: k
};

// ---- the status line -----------------------------------------------------------------------

struct FlipStatusInput {
    std::string pendingMessage;  // the one-shot message of the Y key; shown instead when set
    std::string leftName, rightName;
    int width = 0, height = 0;
    int zoomPercent = 100;
    int dx = 0, dy = 0;
    bool panorama = false;
    PageFlipOutput output = PageFlipOutput::DoubleWidth;
};
std::string FlipStatusLine(const FlipStatusInput& input);

// The texts of the help overlays, one per line.
std::vector<std::string> FlipHelpLines(PageFlipOutput output);

}  // namespace duplora
