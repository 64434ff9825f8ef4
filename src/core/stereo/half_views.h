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

}  // namespace duplora
