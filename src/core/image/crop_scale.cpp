#include <cstdint>
#include <vector>

#include "core/image/convert.h"
#include "core/image/pixel_gather.h"

namespace duplora {

namespace {

// The source area of a crop-and-scale call: start column and row (rows from the bottom)
// and the area's size. False when the area is empty or reaches outside the picture.
struct SourceArea {
    std::int64_t x, y, width, height;
};

bool FindSourceArea(const ImageBuffer& image, int secondX, int secondY, int firstX, int firstY,
                    bool second, SourceArea& area) {
    const std::int64_t width = image.Width(), height = image.Height();
    area.width = width - firstX - secondX;
    area.height = height - firstY - secondY;
    area.x = second ? secondX : firstX;
    area.y = second ? secondY : firstY;
    return area.width > 0 && area.height > 0 && area.x >= 0 && area.y >= 0 &&
           area.x + area.width <= width && area.y + area.height <= height;
}

// A 24-bit picture of the walked source pixels.
ImageBuffer GatherWalk(const ImageBuffer& image, const ViewWalk& walk) {
    ImageBuffer out = CreateImageForOverwrite(static_cast<int>(walk.cols.size()),
                                              static_cast<int>(walk.rows.size()), 24);
    if (!out) return out;
    GatherTrueColour(image, walk.cols, walk.rows, out, 0, 0);
    return out;
}

// Nearest neighbour in 22.10 fixed point over the source area, for any readable depth.
ImageBuffer ScaleAreaNearest(const ImageBuffer& image, int refWidth, int refHeight, int secondX,
                             int secondY, int firstX, int firstY, bool second) {
    ViewWalk walk;
    if (!CropScaleWalk(image, refWidth, refHeight, secondX, secondY, firstX, firstY, second, walk))
        return {};
    return GatherWalk(image, walk);
}

// Start of a wrapped walk: one turn is taken off a start past the edge; a start more
// than two turns out is refused.
bool WrapStart(int start, int size, int& wrapped) {
    if (start < 0) return false;
    wrapped = start > size ? start - size : start;
    return wrapped <= size;
}

// Fixed-point walk over a whole turn that continues at 0 after the last pixel.
std::vector<int> WrappedWalk(int start, int size, int count) {
    std::vector<int> walk = FixedPointWalk(start, std::int64_t{size} * 1024 / count, count);
    for (int& v : walk)
        if (v > size - 1) v -= size;
    return walk;
}

}  // namespace

bool CropScaleSize(const ImageBuffer& image, int refWidth, int refHeight, int secondX, int secondY,
                   int firstX, int firstY, int& outWidth, int& outHeight) {
    outWidth = outHeight = 0;
    const int width = image.Width(), height = image.Height();
    if (width <= 0 || height <= 0) return false;
    // The area is summed in double: far-out margins must not overflow an int.
    const double areaW = static_cast<double>(width) - firstX - secondX;
    const double areaH = static_cast<double>(height) - firstY - secondY;
    const double w = areaW * refWidth / width;
    const double h = areaH * refHeight / height;
    if (!(w >= 1.0) || !(h >= 1.0) || w > kMaxImageDimension || h > kMaxImageDimension)
        return false;
    outWidth = static_cast<int>(w);
    outHeight = static_cast<int>(h);
    return true;
}

ImageBuffer CropScaleView(const ImageBuffer& image, int refWidth, int refHeight, int secondX,
                          int secondY, int firstX, int firstY, bool second) {
    if (!image) return {};
    if (image.BitCount() != 24)
        return ScaleToTrueColourGdi(image, refWidth, refHeight, secondX, secondY, firstX, firstY,
                                    second);
    return ScaleAreaNearest(image, refWidth, refHeight, secondX, secondY, firstX, firstY, second);
}

ImageBuffer ScaleToTrueColourGdi(const ImageBuffer& image, int refWidth, int refHeight, int secondX,
                                 int secondY, int firstX, int firstY, bool second) {
    return ScaleAreaNearest(image, refWidth, refHeight, secondX, secondY, firstX, firstY, second);
}

bool CropScaleWalk(const ImageBuffer& image, int refWidth, int refHeight, int secondX, int secondY,
                   int firstX, int firstY, bool second, ViewWalk& walk) {
    walk = {};
    if (!ReadablePicture(image)) return false;
    int outW, outH;
    if (!CropScaleSize(image, refWidth, refHeight, secondX, secondY, firstX, firstY, outW, outH))
        return false;
    SourceArea area;
    if (!FindSourceArea(image, secondX, secondY, firstX, firstY, second, area)) return false;
    walk.cols = FixedPointWalk(area.x, area.width * 1024 / outW, outW);
    walk.rows = FixedPointWalk(area.y, area.height * 1024 / outH, outH);
    return true;
}

bool WrapWalk(const ImageBuffer& image, int outWidth, int outHeight, int secondX, int secondY,
              int firstX, int firstY, bool second, ViewWalk& walk) {
    walk = {};
    if (!image) return false;
    if (image.BitCount() != 24)
        return CropScaleWalk(image, outWidth, outHeight, secondX, secondY, firstX, firstY, second,
                             walk);
    if (!ReadablePicture(image) || outWidth <= 0 || outHeight <= 0) return false;
    const int width = image.Width(), height = image.Height();
    int x0, y0;
    if (!WrapStart(second ? secondX : firstX, width, x0) ||
        !WrapStart(second ? secondY : firstY, height, y0))
        return false;
    walk.cols = WrappedWalk(x0, width, outWidth);
    walk.rows = WrappedWalk(y0, height, outHeight);
    return true;
}

ImageBuffer WrapView(const ImageBuffer& image, int outWidth, int outHeight, int secondX,
                     int secondY, int firstX, int firstY, bool second) {
    ViewWalk walk;
    if (!WrapWalk(image, outWidth, outHeight, secondX, secondY, firstX, firstY, second, walk))
        return {};
    return GatherWalk(image, walk);
}

}  // namespace duplora
