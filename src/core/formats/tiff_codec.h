// TIFF reading through libtiff. The library's error and warning texts are silenced per
// file handle; nothing is written to the terminal. Pixel data that cannot be read whole (a
// strip that ends early or does not decode) leaves its rows black or as far as decoded;
// `partial` then becomes true (false after a whole read).
#pragma once

#include <string>

#include "core/formats/codec_options.h"
#include "core/image/image_buffer.h"
#include "core/util/progress.h"

namespace duplora {

// Main reader: strip-organised, interleaved files without compression or with CCITT,
// LZW (only when options.allowLzw), PackBits or Deflate; white-is-zero and black-is-zero
// grey of 1, 4, 8 and 16 bits, palette of 1, 4 and 8 bits, RGB of 8 and 16 bits per
// sample (a fourth sample is dropped), and CMYK of 8 bits. Gives 1-, 4- and 8-bit
// pictures with their colour table, or 24 bit. Reports reading progress per strip.
// None for every other file, and when not one strip can be read, so that ReadTiffRgba can
// try it, or when `progress` is cancelled.
ImageBuffer ReadTiffFile(const std::string& path, const CodecOptions& options = {},
                         bool* partial = nullptr, const Progress& progress = NoProgress());

// Fallback through libtiff's RGBA conversion (tiles, planes, YCbCr, new-style JPEG,
// odd sample depths). Old-style JPEG is refused, LZW needs the switch. 24-bit result.
ImageBuffer ReadTiffRgba(const std::string& path, const CodecOptions& options = {},
                         bool* partial = nullptr, const Progress& progress = NoProgress());

}  // namespace duplora
