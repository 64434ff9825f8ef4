// Helpers shared by the stereo composition tests.
#pragma once

#include <cstdint>

#include "core/image/image_buffer.h"
#include "core/stereo/common_area.h"
#include "support/test_support.h"

namespace duplora::test {

// A colour that names its view and position: 0xIXXXYY-style (id in the top nibble of red).
inline std::uint32_t Tag(int id, int x, int y) {
    return (static_cast<std::uint32_t>(id) << 20) | (static_cast<std::uint32_t>(x) << 8) |
           static_cast<std::uint32_t>(y);
}

inline ImageBuffer Tagged(int id, int width, int height) {
    return MakeImage(width, height, [id](int x, int y) { return Tag(id, x, y); });
}

// Top-down pixel (x, y) of the common area as the first or the second view holds it.
inline std::uint32_t FirstAt(const ImageBuffer& first, const CommonArea& a, int x, int y) {
    const int h = first.Height() - a.secondY - a.firstY;
    return PixelAt(first, x + a.firstX, first.Height() - a.firstY - h + y);
}
inline std::uint32_t SecondAt(const ImageBuffer& first, const ImageBuffer& second,
                              const CommonArea& a, int x, int y) {
    const int h = first.Height() - a.secondY - a.firstY;
    return PixelAt(second, x + a.secondX, second.Height() - a.secondY - h + y);
}

inline int Red(std::uint32_t c) {
    return (c >> 16) & 0xFF;
}
inline int Green(std::uint32_t c) {
    return (c >> 8) & 0xFF;
}
inline int Blue(std::uint32_t c) {
    return c & 0xFF;
}
inline std::uint32_t Rgb(int r, int g, int b) {
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}

}  // namespace duplora::test
