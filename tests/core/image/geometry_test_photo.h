// Reads a sample JPEG straight through libjpeg into a 24-bit picture, so the geometry
// tests can check real photographs without depending on the program's own decoder.
#pragma once

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "core/image/image_buffer.h"

namespace duplora::test {

struct JpegErrorForTest {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

// Returns false on a decoding error; the caller's objects are only reached through
// pointers, so the long jump back here leaves them in a defined state.
inline bool DecodeJpegForTest(std::FILE* file, ImageBuffer* image, std::vector<JSAMPLE>* line) {
    jpeg_decompress_struct info;
    JpegErrorForTest error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = [](j_common_ptr c) {
        std::longjmp(reinterpret_cast<JpegErrorForTest*>(c->err)->jump, 1);
    };
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    *image =
        CreateImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), 24);
    line->resize(static_cast<std::size_t>(info.output_width) * 3);
    while (*image && info.output_scanline < info.output_height) {
        std::uint8_t* dst = image->Line(static_cast<int>(info.output_scanline));
        JSAMPROW rows[1] = {line->data()};
        jpeg_read_scanlines(&info, rows, 1);
        for (std::size_t x = 0; x < info.output_width; ++x) {
            dst[x * 3] = (*line)[x * 3 + 2];
            dst[x * 3 + 1] = (*line)[x * 3 + 1];
            dst[x * 3 + 2] = (*line)[x * 3];
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

inline ImageBuffer LoadJpegForTest(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return {};
    ImageBuffer image;
    std::vector<JSAMPLE> line;
    const bool ok = DecodeJpegForTest(file, &image, &line);
    std::fclose(file);
    if (!ok) image.Reset();
    return image;
}

}  // namespace duplora::test
