// Decodes a sample photograph for the alignment tests, reduced by libjpeg's own 1/n
// scaling so that the checks stay quick. Empty when the file is missing or unreadable.
#pragma once

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <string>

#include "core/image/image_buffer.h"
#include "support/test_support.h"

namespace duplora::test {

inline ImageBuffer LoadSamplePhoto(const std::string& relative, int scaleDenominator) {
    if (!SampleExists(relative)) return {};
    std::FILE* file = std::fopen(SamplePath(relative).c_str(), "rb");
    if (!file) return {};
    struct ErrorManager {
        jpeg_error_mgr base;
        std::jmp_buf jump;
    };
    jpeg_decompress_struct info;
    ErrorManager error;
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = [](j_common_ptr c) {
        std::longjmp(reinterpret_cast<ErrorManager*>(c->err)->jump, 1);
    };
    // Declared before the jump point: an error leaves by longjmp, past no destructor.
    ImageBuffer image;
    std::string row;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    info.scale_num = 1;
    info.scale_denom = static_cast<unsigned>(scaleDenominator);
    jpeg_start_decompress(&info);
    image =
        CreateImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), 24);
    row.assign(info.output_width * 3, '\0');
    while (image && info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row.data())};
        jpeg_read_scanlines(&info, rows, 1);
        std::uint8_t* d = image.Line(y);
        for (unsigned x = 0; x < info.output_width; ++x) {
            d[3 * x] = static_cast<std::uint8_t>(row[3 * x + 2]);
            d[3 * x + 1] = static_cast<std::uint8_t>(row[3 * x + 1]);
            d[3 * x + 2] = static_cast<std::uint8_t>(row[3 * x]);
        }
    }
    if (image) jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return image;
}

}  // namespace duplora::test
