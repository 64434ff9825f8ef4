// The adjustment preview's own pixel routines: grey copies of a view, the edge view, the
// centred size change, and the red/cyan composition of the two corrected grey views.
#pragma once

#include <functional>

#include "core/image/image_buffer.h"

namespace duplora {

// An 8-bit picture whose palette entry i is (i, i, i); pixels left as they come.
ImageBuffer CreateGreyImageForOverwrite(int width, int height);

// Luminance of a 24-bit picture: 8-bit with the grey palette for 256 levels, or 4-bit
// (two pixels per byte, high nibble first, palette step 17) for 16 levels. Empty for any
// other source depth or number of levels.
ImageBuffer PreviewGrey(const ImageBuffer& image, int levels = 256);

// Size `percent` (100 = unchanged) of an 8-bit grey picture about its centre by nearest
// neighbour, on a black canvas of the same size. Empty for other depths or a negative size.
ImageBuffer PreviewScale(const ImageBuffer& grey, int percent);

struct PreviewComposition {
    ImageBuffer image;  // 24-bit red/cyan picture
    // What was cut from the left view (x, y) and from the right view (x, y); rows
    // are counted from the bottom.
    int leftCutX = 0, leftCutY = 0, rightCutX = 0, rightCutY = 0;
};

// Red/cyan preview of two corrected 8-bit grey views shifted by (dx, dy) preview pixels
// (dy upward). Mode 0 and 3 show both views, 1 the left only, 2 the right only. A shift
// keeps at least 10 pixels of the picture. Views of different sizes are composed over
// their common size; empty image for other depths or modes.
PreviewComposition PreviewCompose(const ImageBuffer& left, const ImageBuffer& right, int dx, int dy,
                                  int mode);

// Tens of percent done (1–9), reported from the calling thread when the digit grows.
using EdgeViewProgress = std::function<void(int tens)>;

// Black edges on white, as an 8-bit grey picture of a 24-bit one's size: a pixel is an
// edge where the 5 × 5 line filter changes sign next to it and the gradient is steeper
// than `threshold` (clamped to 1–254). The two outermost rows and columns stay white.
ImageBuffer EdgeView(const ImageBuffer& image, int threshold = 16,
                     const EdgeViewProgress& progress = {});

}  // namespace duplora
