#include <cstring>
#include <vector>

#include "core/image/convert.h"
#include "core/util/parallel.h"

namespace duplora {

bool CropScaleSize(const ImageBuffer& image, int refWidth, int refHeight, int secondX,
                   int secondY, int firstX, int firstY, int& outWidth, int& outHeight) {
    outWidth = outHeight = 0;
    const int width = image.Width(), height = image.Height();
    if (width <= 0 || height <= 0) return false;
    const double w = static_cast<double>(width - firstX - secondX) * refWidth / width;
    const double h = static_cast<double>(height - firstY - secondY) * refHeight / height;
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
        return ScaleToTrueColourGdi(image, refWidth, refHeight, secondX, secondY, firstX,
                                    firstY, second);
    int outW, outH;
    if (!CropScaleSize(image, refWidth, refHeight, secondX, secondY, firstX, firstY, outW, outH))
        return {};
    const int width = image.Width(), height = image.Height();
    const int areaW = width - firstX - secondX, areaH = height - firstY - secondY;
    const int startX = second ? secondX : firstX;
    const int startY = second ? secondY : firstY;
    // Margins outside the picture would read outside it.
    if (startX < 0 || startY < 0 || startX + areaW > width || startY + areaH > height) return {};

    ImageBuffer out = CreateImageForOverwrite(outW, outH, 24);
    if (!out) return out;
    const std::int64_t stepX = static_cast<std::int64_t>(areaW) * 1024 / outW;
    const std::int64_t stepY = static_cast<std::int64_t>(areaH) * 1024 / outH;

    // Byte offset of every output column's source pixel, computed once.
    std::vector<std::uint32_t> columns(static_cast<std::size_t>(outW));
    std::int64_t accX = static_cast<std::int64_t>(startX) * 1024;
    for (int i = 0; i < outW; ++i, accX += stepX)
        columns[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>((accX >> 10) * 3);
    const bool plainCopy = stepX == 1024;

    const int srcStride = image.Stride();
    const std::uint8_t* srcPixels = image.Pixels();
    std::uint8_t* dstPixels = out.Pixels();
    const int dstStride = out.Stride();
    ParallelRows(outH, static_cast<std::int64_t>(outW) * outH, [&](int begin, int end) {
        std::int64_t accY = static_cast<std::int64_t>(startY) * 1024 + stepY * begin;
        for (int j = begin; j < end; ++j, accY += stepY) {
            const std::uint8_t* src = srcPixels + (accY >> 10) * srcStride;
            std::uint8_t* dst = dstPixels + static_cast<std::size_t>(j) * dstStride;
            if (plainCopy) {
                std::memcpy(dst, src + static_cast<std::size_t>(startX) * 3,
                            static_cast<std::size_t>(outW) * 3);
                continue;
            }
            const std::uint32_t* col = columns.data();
            int i = 0;
            // Four bytes at a time where the next pixel's first byte may be overwritten.
            for (; i + 1 < outW; ++i) {
                std::uint32_t v;
                std::memcpy(&v, src + col[i], 4);
                std::memcpy(dst + i * 3, &v, 4);
            }
            for (; i < outW; ++i) {
                const std::uint8_t* s = src + col[i];
                dst[i * 3] = s[0];
                dst[i * 3 + 1] = s[1];
                dst[i * 3 + 2] = s[2];
            }
        }
    });
    return out;
}

}  // namespace duplora
