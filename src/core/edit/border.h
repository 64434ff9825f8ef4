// The three-part frame (outer, middle, inner) burnt around a picture, one frame per view
// for side-by-side and over/under pictures so the framed views stay a matching pair.
#pragma once

#include "core/image/image_buffer.h"
#include "core/stereo/display_mode.h"

namespace duplora {

// Widths in pixels; colours are colour references (red in the low byte).
struct FrameStyle {
    int outer = 0;
    int middle = 0;
    int inner = 0;
    int outerColour = 0;
    int middleColour = 0;
    int innerColour = 0;
    bool roundCorners = false;  // middle frame with corners of an m × m ellipse
};

// Output size for a picture of width × height composed in `mode`: a frame round each view
// of a side-by-side (and three-view) or over/under picture, else one frame (the mode's
// PictureHalves); false when a width is negative or the
// size would not fit in an int.
bool FramedSize(int width, int height, DisplayMode mode, const FrameStyle& style, int& outWidth,
                int& outHeight);

// A new 24-bit framed picture. With T = outer + middle + inner, the output is (W + 4T) ×
// (H + 2T) side by side, (W + 2T) × (H + 4T) over/under, else (W + 2T) × (H + 2T). It is
// filled with the outer colour; each frame's middle area, inset by `outer`, gets the middle
// colour (rounded: see RoundedCornerInset); its inner area, inset by outer + middle, the
// inner colour; then the picture is drawn inset by T: side by side its left W / 2 columns in
// the left frame and the W / 2 columns from column W / 2 in the right frame, over/under its
// upper H / 2 rows and the H / 2 rows from row H / 2, else the whole picture. All areas are
// half-open: (l, t)–(r, b) covers columns l … r − 1 and rows t … b − 1. Pictures of 1, 4
// and 8 bits go through their colour table. A quiet failure for no picture, another depth
// or a negative width; CannotCreateImage when the output cannot be made (too large
// included).
Result<ImageBuffer> AddBorder(const ImageBuffer& picture, DisplayMode mode,
                              const FrameStyle& style);

// How many pixels at each end of a row of a rounded rectangle lie outside it. `rowFromEdge`
// is the row's distance from the nearer of the rectangle's top and bottom rows (0 for
// those rows); the corners are quarters of an ellipseWidth × ellipseHeight ellipse (each at
// most the rectangle's own size). A pixel is inside when its centre lies inside or on the
// ellipse; the four corners mirror each other exactly. 0 when either diameter is 0 or below.
int RoundedCornerInset(int rowFromEdge, int ellipseWidth, int ellipseHeight);

}  // namespace duplora
