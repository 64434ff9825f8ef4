// JPEG decoding and encoding through libjpeg-turbo. Library errors come back as an
// empty result; nothing of the library's own error handling reaches the caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/image/image_buffer.h"
#include "core/util/progress.h"
#include "core/util/result.h"

namespace duplora {

// Longer side of a decoding preview.
inline constexpr int kJpegPreviewSize = 160;

// Decodes a JPEG file (grey, colour or Adobe CMYK) into a 24-bit picture at full size.
// With `preview` the picture is reduced while decoding to at most 160 pixels on its
// longer side (rows point-sampled, columns averaged) and the full decoded size is written
// to `fullWidth`/`fullHeight`; without it they are left untouched. Reports reading
// progress. None for anything the library cannot decode, for pictures beyond the size
// limits and when `progress` is cancelled. A file that ends early or whose data is damaged
// still decodes as far as its data goes; `partial` then becomes true (false after a whole
// decode).
ImageBuffer DecodeJpegFile(const std::string& path, bool preview, int* fullWidth = nullptr,
                           int* fullHeight = nullptr, bool* partial = nullptr,
                           const Progress& progress = NoProgress());
// The same for a JPEG held in memory (an embedded Exif thumbnail).
ImageBuffer DecodeJpegMemory(const std::uint8_t* data, std::size_t size, bool preview,
                             int* fullWidth = nullptr, int* fullHeight = nullptr,
                             bool* partial = nullptr, const Progress& progress = NoProgress());

// Releases a pixel block to the picture block pool, so that large blocks are reused.
struct PooledBlockDeleter {
    std::size_t capacity = 0;
    void operator()(std::uint8_t* block) const noexcept;
};

// Pixels as the encoder takes them: rows top-down without padding, bytes R, G, B.
struct PackedRgb {
    std::unique_ptr<std::uint8_t[], PooledBlockDeleter> data;
    int width = 0;
    int height = 0;
    explicit operator bool() const { return data != nullptr; }
    std::size_t Size() const { return std::size_t(width) * std::size_t(height) * 3; }
};

// Packed R,G,B copy of a 24-bit picture; none for any other depth.
PackedRgb DibToPackedRgb(const ImageBuffer& image);

// Grey value the encoder gives a colour: trunc(0.299 R + 0.587 G + 0.114 B) in double
// precision, computed from integer tables where that is provably the same.
int EncoderGrey(int r, int g, int b);

// Writes packed R,G,B pixels as a baseline JPEG with the library's default tables and
// subsampling at `quality` (1–100); `colour` false writes one grey channel. The file is
// replaced atomically. CannotOpenFile when it cannot be created; a quiet failure when the
// library fails, the writing fails or `progress` is cancelled (the old file then stays).
// Reports writing progress.
Status EncodeJpegFile(const std::string& path, const std::uint8_t* rgb, int width, int height,
                      bool colour, int quality, const Progress& progress = NoProgress());
// The same file written straight from a 24-bit picture's rows, without the packed copy.
Status EncodeJpegImage(const std::string& path, const ImageBuffer& image, bool colour, int quality,
                       const Progress& progress = NoProgress());

}  // namespace duplora
