// Moving pictures between the core's ImageBuffer and Qt's QImage.
#pragma once

#include <QColor>
#include <QImage>

#include "core/image/image_buffer.h"

namespace duplora {

// A 24-bit ImageBuffer of the picture (alpha dropped); none for a null picture or one
// beyond the size limits.
ImageBuffer ImageBufferFromQImage(const QImage& image);

// A QImage (RGB888) copy of a 24-bit picture; lower depths go through their colour table.
QImage QImageFromImageBuffer(const ImageBuffer& image);

// A stored colour reference (red in the low byte, then green, then blue) and back.
inline QColor QColorFromColourRef(int ref) {
    return QColor(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF);
}
inline int ColourRefFromQColor(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

}  // namespace duplora
