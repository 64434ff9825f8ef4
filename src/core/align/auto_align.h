// Auto alignment from guide lines: the user draws one line per view along a feature
// that should be level; each view is turned so that its line is level, and the pair is
// moved so that the two lines' start points meet. Plain arithmetic on the adjustment
// dialog's slots and preview coordinates; the dialog applies the results.
#pragma once

#include <optional>

#include "core/image/image_buffer.h"

namespace duplora {

struct GuidePoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const GuidePoint&, const GuidePoint&) = default;
};

// One view's guide line. While drawn its points are preview-control pixels; once set
// they are pixels of the view's grey base, y downwards. x1 = −1 means no line.
struct GuideLine {
    static constexpr int kNone = 0, kDrawing = 2, kSet = 3;
    int state = kNone;
    int x1 = -1, y1 = -1, x2 = -1, y2 = -1;
    bool HasPoints() const { return x1 != -1; }
    friend bool operator==(const GuideLine&, const GuideLine&) = default;
};

// Undoes a preview rotation (tenths of a degree) and scaling (percent, 100 = unchanged)
// about the centre of a width × height preview. None for a size of 0 or less, which has
// no inverse.
std::optional<GuidePoint> MapPointBack(int x, int y, int width, int height, int angle, int size);
// Applies a preview rotation and scaling about the centre of a width × height preview.
GuidePoint MapPointForward(int x, int y, int width, int height, int angle, int size);

// Burns a white line two pixels thick into an 8-bit grey picture, once stepping along x
// and once along y so that flat and steep lines are both closed. False, with nothing
// drawn, when an end lies outside the picture (rows count from h − y − 2) or the
// picture is not 8-bit. The second pixel of the thickness is left out where it would
// fall outside the picture.
bool DrawGuideLine(ImageBuffer& grey, int x1, int y1, int x2, int y2);

// How the preview showed the view when the line was drawn.
struct GuideLineView {
    bool right = false;                       // the right view (else the left)
    int dx = 0, dy = 0;                       // pair offset of the composed preview
    int previewWidth = 0, previewHeight = 0;  // pw × ph
    int rotation = 0;                         // the view's rotation, signed tenths
    int size = 100;                           // the view's size slot
};

// Button released: maps a drawn line into the view's grey base, drops it when both ends
// are within 3 pixels of each other, else burns it into the base. The result is set
// (state 3) or gone (all −1, state 0).
GuideLine FinishGuideLine(const GuideLine& drawn, const GuideLineView& view, ImageBuffer& greyBase);

// Rotation slot (900 = no turn, tenths of a degree) that makes a line level, turned by
// the nearer quarter so that it stays within ±45 degrees. The line must have points.
int LevellingRotationSlot(const GuideLine& line);

struct AutoAlignInput {
    int viewMode = 0;  // 0 both (anaglyph), 1 left, 2 right, 3 alternating
    bool fullSize = false;
    GuideLine left, right;  // in grey-base coordinates
    int previewWidth = 0, previewHeight = 0;
    int zoom = 100;                               // preview zoom in percent
    int rotationLeft = 900, rotationRight = 900;  // slots 0 and 1
    int sizeLeft = 100, sizeRight = 100;          // slots 6 and 7
    int positionX = 0, positionY = 0;             // slots 8 and 9
    int positionRangeX = 0, positionRangeY = 0;   // their ranges; the centres are half
};

struct AutoAlignResult {
    int rotationLeft = 900, rotationRight = 900;
    int positionX = 0, positionY = 0;
    bool leftLevelled = false, rightLevelled = false, pairMoved = false;
    // The lines' ends mapped into the corrected previews (for the levelled views).
    GuidePoint leftStart, leftEnd, rightStart, rightEnd;
};

// "Auto Justage": slots after levelling the views of the view mode and, in mode 0 with
// both lines, matching their start points. Slots not touched keep their input values.
AutoAlignResult AutoAlign(const AutoAlignInput& input);

}  // namespace duplora
