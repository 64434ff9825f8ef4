// The half-width and half-height forms of the two-view pictures, for 3D televisions and
// headsets that stretch each half back to full size.
#pragma once

#include "core/image/image_buffer.h"

namespace duplora {

// A 24-bit picture of two views side by side (`sideBySide`) or over/under, with each view
// halved along that axis: every output pixel is the mean (a + b + 1) / 2, per channel, of
// two neighbouring pixels of its view (columns, or rows counted from the top); an odd last
// column or row of a view is dropped. None for another depth or a view under two pixels.
ImageBuffer HalveViews(const ImageBuffer& picture, bool sideBySide);

// A view of such a picture stretched back to full size: a 24-bit picture twice as wide
// (`widthwise`) or twice as high. Linear interpolation between pixel centres: output pixels
// 2k and 2k + 1 lie a quarter of a source pixel before and after the centre of source pixel
// k, so each is (3 · s[k] + s[k ∓ 1] + 2) / 4 per channel, with the neighbour taken as s[k]
// itself beyond the edge. None for another depth or when the picture cannot be made.
ImageBuffer StretchView(const ImageBuffer& view, bool widthwise);

}  // namespace duplora
