// Conversions between depths, crops, canvases and the nearest-neighbour view scaling
// that every display and composition step uses. Sources of 1, 4, 8 and 24 bits.
#pragma once

#include <cstdint>
#include <vector>

#include "core/image/image_buffer.h"

namespace duplora {

// 24-bit copy of a 1-, 4- or 8-bit picture through its colour table; none for deeper ones.
ImageBuffer ToTrueColour(const ImageBuffer& image);

// The picture in 24 bits: itself when it is, else its ToTrueColour copy kept in `holder`.
// Null for depths other than 1, 4, 8 and 24, or when the copy cannot be made.
const ImageBuffer* AsTrueColour(const ImageBuffer& image, ImageBuffer& holder);

// The rectangle [left, right) × [top, bottom), given top-down, in the source's depth
// with its colour table. It must start inside the source; parts past the right or
// bottom edge stay black (index 0).
ImageBuffer CropRect(const ImageBuffer& image, int left, int top, int right, int bottom);

// 24-bit width × height black canvas with the picture centred on it (clipped when larger).
ImageBuffer CentreOnCanvas(const ImageBuffer& image, int width, int height);

// 24-bit picture of (width − firstX − secondX) × (height − firstY − secondY) starting at
// column secondX, row secondY (rows counted from the bottom) when `second`, else at
// firstX, firstY.
ImageBuffer CropMargins(const ImageBuffer& image, int secondX, int secondY, int firstX,
                        int firstY, bool second);

// The same source area, stretched to W × H with W = trunc((width − firstX − secondX) ×
// refWidth / width) and H likewise; any depth, result 24-bit.
ImageBuffer ScaleToTrueColourGdi(const ImageBuffer& image, int refWidth, int refHeight,
                                 int secondX, int secondY, int firstX, int firstY, bool second);

// Same geometry as ScaleToTrueColourGdi; 24-bit sources are scaled by nearest neighbour
// in 22.10 fixed point. With zero margins and the picture's own size it is a plain copy.
ImageBuffer CropScaleView(const ImageBuffer& image, int refWidth, int refHeight, int secondX,
                          int secondY, int firstX, int firstY, bool second);

// The 360° panorama variant: exactly outWidth × outHeight, wrapping around both edges.
// A start past the edge is taken back one turn; a start more than two turns out, a
// negative start or a zero size gives none. Other depths go as ScaleToTrueColourGdi.
ImageBuffer WrapView(const ImageBuffer& image, int outWidth, int outHeight, int secondX,
                     int secondY, int firstX, int firstY, bool second);

// The source pixels a view scaling reads: the source column for each output column and
// the source stored row for each output stored row.
struct ViewWalk {
    std::vector<int> cols;
    std::vector<int> rows;
};

// The walk of CropScaleView (same arguments): gathering `cols` × `rows` of the image gives
// its result, so a part of that result can be made without the rest. False where
// CropScaleView gives no picture.
bool CropScaleWalk(const ImageBuffer& image, int refWidth, int refHeight, int secondX, int secondY,
                   int firstX, int firstY, bool second, ViewWalk& walk);

// The same for WrapView.
bool WrapWalk(const ImageBuffer& image, int outWidth, int outHeight, int secondX, int secondY,
              int firstX, int firstY, bool second, ViewWalk& walk);

// Output size shared by CropScaleView and ScaleToTrueColourGdi; false when a dimension
// would be 0 or negative.
bool CropScaleSize(const ImageBuffer& image, int refWidth, int refHeight, int secondX,
                   int secondY, int firstX, int firstY, int& outWidth, int& outHeight);

}  // namespace duplora
