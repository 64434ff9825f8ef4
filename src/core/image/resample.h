// Area-averaging / interpolating resize, and the size rules of the resize command.
#pragma once

#include "core/image/image_buffer.h"
#include "core/util/progress.h"

namespace duplora {

// newWidth × newHeight 24-bit copy of a 1-, 4-, 8- or 24-bit picture. Each axis is
// done separately with integer arithmetic: a shrinking (or equal) axis averages the box
// of source pixels that ends at (j × size) / newSize, the first output pixel being source
// pixel 0 alone; an enlarging axis interpolates linearly with both ends kept exactly.
// Rows are taken in stored order (bottom row first). Progress (writing) is reported on the
// calling thread. Empty for no picture, another depth, a target size that is 0 or beyond
// the limits, or when `progress` is cancelled.
ImageBuffer ResizeImage(const ImageBuffer& image, int newWidth, int newHeight,
                        const Progress& progress = NoProgress());

// How the resize command keeps the proportions.
enum class AspectMode {
    Free = 0,           // "Verhältnis nicht beibehalten"
    KeepRatio = 1,      // "Verhältnis beibehalten" (the dialog keeps X and Y in ratio)
    KeepRatioFrame = 2  // "Verhältnis mit Rahmen beibehalten"
};

// Everything the resize command does to a pair, decided before any pixel is touched.
struct ResizeGeometry {
    bool valid = false;
    // Margins of the common area the alignment offset leaves: the first view is read from
    // column firstX and stored row firstY, the second from secondX, secondY.
    int secondX = 0, secondY = 0, firstX = 0, firstY = 0;
    // Size of both views after cutting to the common area ("Originalgröße").
    int referenceWidth = 0, referenceHeight = 0;
    // Size each view is scaled to.
    int width = 0, height = 0;
    // With KeepRatioFrame: the scaled view is centred on a black frame of this size.
    bool framed = false;
    int frameWidth = 0, frameHeight = 0;
};

// The resize command's sizes for views of viewWidth × viewHeight aligned by (dx, dy) and
// the dialog's target X × Y. Not valid when the common area or a size comes out empty or
// too large. A mode other than KeepRatioFrame uses X × Y as it stands.
ResizeGeometry ComputeResizeGeometry(int viewWidth, int viewHeight, int dx, int dy, bool panorama,
                                     int targetWidth, int targetHeight, AspectMode mode);

// One view through the resize command: cut to the common area (`second` picks the
// second view's margins), scaled with ResizeImage when `recompute`, else by nearest
// neighbour, then framed when the geometry says so. A quiet failure when a step gives no
// picture; CannotCreateImage when the frame cannot be made.
Result<ImageBuffer> ResizeView(const ImageBuffer& view, const ResizeGeometry& geometry, bool second,
                               bool recompute, const Progress& progress = NoProgress());

}  // namespace duplora
