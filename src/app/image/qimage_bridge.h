// Moving pictures between the core's ImageBuffer and Qt's QImage.
#pragma once

#include <QImage>

#include "core/image/image_buffer.h"

namespace duplora {

// A 24-bit ImageBuffer of the picture (alpha dropped); none for a null picture or one
// beyond the size limits.
ImageBuffer ImageBufferFromQImage(const QImage& image);

// A QImage (RGB888) copy of a 24-bit picture; lower depths go through their colour table.
QImage QImageFromImageBuffer(const ImageBuffer& image);

}  // namespace duplora
