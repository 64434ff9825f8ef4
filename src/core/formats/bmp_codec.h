// BMP files: reading every common form into a picture, writing a picture as it is held.
#pragma once

#include <string>

#include "core/image/image_buffer.h"
#include "core/util/progress.h"
#include "core/util/result.h"

namespace duplora {

// Reads a BMP file ("BM" or "MB"): 1-, 4- and 8-bit pictures come back as 24 bit (as
// loaded when that conversion fails), 24-bit as loaded, 16- and 32-bit converted to 24.
// Top-down files are turned the usual way up; compressed (RLE) files are refused.
// Reports reading progress. None for anything unreadable, truncated or too large, and when
// `progress` is cancelled.
ImageBuffer ReadBmpFile(const std::string& path, const Progress& progress = NoProgress());

// Writes the picture as held (header, colour table, rows) behind a 14-byte file header,
// replacing `path` atomically. Reports writing progress. A picture of a depth the file
// cannot hold is refused quietly before anything is touched; CannotOpenFile when the file
// cannot be created; a quiet failure when writing fails or `progress` is cancelled (the old
// file then stays).
Status WriteBmpFile(const std::string& path, const ImageBuffer& image,
                    const Progress& progress = NoProgress());

}  // namespace duplora
