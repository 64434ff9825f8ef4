// Helpers shared by the text, logo and frame tests.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/image/image_buffer.h"
#include "support/test_support.h"

namespace duplora::test {

// A colour that names its position: unique for pictures up to 4096 × 256.
inline std::uint32_t Where(int x, int y) {
    return 0x100000u | (static_cast<std::uint32_t>(x) << 8) | static_cast<std::uint32_t>(y);
}

// Fills [left, right) × [top, bottom) of a 24-bit picture, clipped, with 0xRRGGBB.
inline void FillBox(ImageBuffer& image, int left, int top, int right, int bottom,
                    std::uint32_t rgb) {
    for (int y = std::max(top, 0); y < std::min(bottom, image.Height()); ++y) {
        std::uint8_t* row = image.Line(y);
        for (int x = std::max(left, 0); x < std::min(right, image.Width()); ++x) {
            row[x * 3] = rgb & 0xFF;
            row[x * 3 + 1] = (rgb >> 8) & 0xFF;
            row[x * 3 + 2] = (rgb >> 16) & 0xFF;
        }
    }
}

// Copies a 24-bit picture, or its part of w × h from (srcLeft, srcTop), into another at
// (left, top), clipped.
inline void PutPicture(ImageBuffer& into, const ImageBuffer& picture, int left, int top,
                       int srcLeft = 0, int srcTop = 0, int w = -1, int h = -1) {
    if (w < 0) w = picture.Width();
    if (h < 0) h = picture.Height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            FillBox(into, left + x, top + y, left + x + 1, top + y + 1,
                    PixelAt(picture, srcLeft + x, srcTop + y));
}

// Colour (0xRRGGBB) of pixel (x, y) of a 1-, 4- or 8-bit picture, from its colour table.
inline std::uint32_t IndexedColour(const ImageBuffer& image, int x, int y) {
    const std::uint8_t* entry = image.ColourTable() + 4 * IndexAt(image, x, y);
    return (std::uint32_t{entry[2]} << 16) | (std::uint32_t{entry[1]} << 8) | entry[0];
}

}  // namespace duplora::test
