// Loading a JPEG the way it is meant to be seen: decoded, and turned by its Exif
// orientation. The orientation and the sizes found are returned with the picture, so
// that two threads can load at once.
#pragma once

#include <string>

#include "core/formats/exif.h"
#include "core/image/image_buffer.h"
#include "core/util/progress.h"

namespace duplora {

enum class JpegLoadMode { Full = 0, Preview = 1 };

struct JpegLoadResult {
    ImageBuffer image;                 // turned by the orientation; none on failure
    int orientation = kNoOrientation;  // Exif tag 0x0112; 100 when the file has none
    // Full: the decoded size. Preview: the main picture's size, from the frame header
    // when the Exif thumbnail was used (0 when no frame header was found), else from
    // decoding. Both before turning.
    int width = 0;
    int height = 0;
    bool fromThumbnail = false;
    // The file ends early or its data is damaged: the picture is what could be decoded
    // (the main picture's decode; a damaged thumbnail is merely not used).
    bool partial = false;
};

// Full decodes the whole picture. Preview uses the embedded Exif thumbnail when there is
// one that decodes, and otherwise decodes with the 160-pixel reduction. Orientation 8
// turns the picture 90° to the left, 6 to the right, 3 by 180°; other values leave it.
// A full decode reports to `progress` and gives none when it is cancelled.
JpegLoadResult LoadJpegImage(const std::string& path, JpegLoadMode mode = JpegLoadMode::Full,
                             const Progress& progress = NoProgress());

// The picture turned for an Exif orientation (3, 6 or 8); a copy for any other value.
// 24-bit pictures only; none for anything else.
ImageBuffer ApplyExifOrientation(const ImageBuffer& image, int orientation);

}  // namespace duplora
