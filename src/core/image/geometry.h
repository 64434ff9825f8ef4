// Canvases and mirroring: putting a view on a frame, bringing two views to one size,
// and mirroring the left half of a side-by-side picture.
#pragma once

#include "core/image/image_buffer.h"

namespace duplora {

// 24-bit black width × height picture with the image drawn 1:1, its top-left corner at
// ((width − image width) / 2, (height − image height) / 2) (division toward zero), so a
// larger image is clipped on all sides. Sources of 1, 4 and 8 bits go through their
// colour table. A quiet failure for no picture; CannotCreateImage when the canvas cannot be
// made.
Result<ImageBuffer> FrameOnCanvas(const ImageBuffer& image, int width, int height);

// Brings the two views of a pair to the same size: views of equal size stay as they are;
// otherwise each is centred on a black canvas of the larger width × the larger height.
// The views are replaced only when both canvases could be made. A failure when a view is
// missing (quiet) or a canvas cannot be made; both views then stay unchanged.
Status EqualiseViewSizes(ImageBuffer& first, ImageBuffer& second);

// 24-bit copy in which the first width / 2 pixels of every row are in reverse order
// (pixel k takes pixel width / 2 − 1 − k); the rest is unchanged. Used on side-by-side
// pictures to mirror the left view. Empty for no picture or a depth other than 24.
ImageBuffer MirrorLeftHalf(const ImageBuffer& image);

}  // namespace duplora
