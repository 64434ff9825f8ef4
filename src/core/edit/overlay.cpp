#include "core/edit/overlay.h"

#include <algorithm>
#include <cstring>

#include "core/image/convert.h"
#include "core/util/parallel.h"

namespace duplora {

OverlayOrigin PlaceOverlay(const OverlayPlacement& p, int width, int height,
                           std::int64_t overlayWidth, std::int64_t overlayHeight) {
    const std::int64_t fromLeft = std::int64_t{p.xDistance} - p.depth;
    const std::int64_t fromRight =
        std::int64_t{width} - overlayWidth - p.xDistance - std::int64_t{p.depth};
    const std::int64_t fromTop = p.yDistance;
    const std::int64_t fromBottom = std::int64_t{height} - overlayHeight - p.yDistance;
    const bool right = p.corner == 1 || p.corner == 3;
    const bool bottom = p.corner == 2 || p.corner == 3;
    return {right ? fromRight : fromLeft, bottom ? fromBottom : fromTop};
}

void FillPixels(std::uint8_t* row, std::int64_t count, const std::uint8_t bgr[3]) {
    if (count <= 0) return;
    if (bgr[0] == bgr[1] && bgr[1] == bgr[2]) {
        std::memset(row, bgr[0], static_cast<std::size_t>(count) * 3);
        return;
    }
    row[0] = bgr[0], row[1] = bgr[1], row[2] = bgr[2];
    // Doubling copies: each step copies what is already written.
    std::size_t done = 3;
    const std::size_t total = static_cast<std::size_t>(count) * 3;
    while (done < total) {
        const std::size_t n = std::min(done, total - done);
        std::memcpy(row + done, row, n);
        done += n;
    }
}

Result<ImageBuffer> PlaceOnBand(const ImageBuffer& picture, int corner, const OverlayBand& band) {
    if (!picture || corner < 0 || corner > 3 || band.height < 0) return Failure::Quiet();
    ImageBuffer converted;
    const ImageBuffer* trueColour = AsTrueColour(picture, converted);
    if (!trueColour) return Failure::Quiet();
    const ImageBuffer& source = *trueColour;
    const int width = source.Width(), height = source.Height();
    const std::int64_t total = std::int64_t{height} + band.height;
    ImageBuffer canvas;
    if (ImageSizeAllowed(width, total))
        canvas = CreateImageForOverwrite(width, static_cast<int>(total), 24);
    if (!canvas) return CannotCreateImage(width, total);
    const int top = corner <= 1 ? band.height : 0;
    std::uint8_t colour[3];
    ColourBytes(band.colour, colour);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    ParallelRows(static_cast<int>(total), std::int64_t{width} * total, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const int sy = y - top;
            if (sy >= 0 && sy < height)
                std::memcpy(canvas.Line(y), source.Line(sy), rowBytes);
            else
                FillPixels(canvas.Line(y), width, colour);
        }
    });
    return canvas;
}

}  // namespace duplora
