#include "core/image/geometry.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/image/convert.h"
#include "core/util/parallel.h"

namespace duplora {

Result<ImageBuffer> FrameOnCanvas(const ImageBuffer& image, int width, int height) {
    if (!image) return Failure::Quiet();
    ImageBuffer converted;
    const ImageBuffer* trueColour = AsTrueColour(image, converted);
    if (!trueColour) return Failure::Quiet();
    const ImageBuffer& source = *trueColour;

    ImageBuffer canvas = CreateImageForOverwrite(width, height, 24);
    if (!canvas) return CannotCreateImage(width, height);
    const int imageW = source.Width(), imageH = source.Height();
    const int left = (width - imageW) / 2, top = (height - imageH) / 2;
    // Visible part of the image, in its own columns and rows.
    const int x0 = std::max(0, -left), x1 = std::min(imageW, width - left);
    const int y0 = std::max(0, -top), y1 = std::min(imageH, height - top);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    ParallelRows(height, std::int64_t{width} * height, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            std::uint8_t* dst = canvas.Line(y);
            const int sy = y - top;
            if (sy < y0 || sy >= y1 || x0 >= x1) {
                std::memset(dst, 0, rowBytes);
                continue;
            }
            const std::size_t before = static_cast<std::size_t>(x0 + left) * 3;
            const std::size_t copied = static_cast<std::size_t>(x1 - x0) * 3;
            std::memset(dst, 0, before);
            std::memcpy(dst + before, source.Line(sy) + static_cast<std::size_t>(x0) * 3, copied);
            std::memset(dst + before + copied, 0, rowBytes - before - copied);
        }
    });
    return canvas;
}

Status EqualiseViewSizes(ImageBuffer& first, ImageBuffer& second) {
    if (!first || !second) return Failure::Quiet();
    if (first.Width() == second.Width() && first.Height() == second.Height()) return {};
    const int width = std::max(first.Width(), second.Width());
    const int height = std::max(first.Height(), second.Height());
    Result<ImageBuffer> a = FrameOnCanvas(first, width, height);
    if (!a) return std::move(a).Error();
    Result<ImageBuffer> b = FrameOnCanvas(second, width, height);
    if (!b) return std::move(b).Error();
    first = std::move(a).Value();
    second = std::move(b).Value();
    return {};
}

ImageBuffer MirrorLeftHalf(const ImageBuffer& image) {
    if (!image || image.BitCount() != 24) return {};
    const int width = image.Width(), height = image.Height();
    ImageBuffer out = CreateImageForOverwrite(width, height, 24);
    if (!out) return out;
    const int half = width / 2;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    ParallelRows(height, std::int64_t{width} * height, [&](int begin, int end) {
        for (int r = begin; r < end; ++r) {
            const std::uint8_t* src = image.StoredRow(r);
            std::uint8_t* dst = out.StoredRow(r);
            std::memcpy(dst, src, rowBytes);
            for (int k = 0; k < half; ++k) {
                const std::uint8_t* s = src + static_cast<std::size_t>(half - 1 - k) * 3;
                dst[k * 3] = s[0];
                dst[k * 3 + 1] = s[1];
                dst[k * 3 + 2] = s[2];
            }
        }
    });
    return out;
}

}  // namespace duplora
