// Helpers shared by the stereo composition tests.
#pragma once

#include <jpeglib.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <string>

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

// Decodes a JPEG sample for the real-photo checks (the program's own reader lives
// elsewhere); none on any error.
inline ImageBuffer LoadJpegForTest(const std::string& path) {
    struct ErrorManager {
        jpeg_error_mgr base;
        std::jmp_buf jump;
    };
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return {};
    jpeg_decompress_struct info;
    ErrorManager error;
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = [](j_common_ptr c) {
        std::longjmp(reinterpret_cast<ErrorManager*>(c->err)->jump, 1);
    };
    ImageBuffer image;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    image =
        CreateImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), 24);
    while (image && info.output_scanline < info.output_height) {
        JSAMPROW row = image.Line(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return image;
}

}  // namespace duplora::test
