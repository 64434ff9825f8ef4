// The one way pictures come in: every reader is tried in a fixed order until one gives a
// picture, so the contents decide and not the name (a BMP named .jpg loads).
#pragma once

#include <string>

#include "core/formats/codec_options.h"
#include "core/formats/exif.h"
#include "core/image/image_buffer.h"
#include "core/util/progress.h"

namespace duplora {

// What LoadImageFile gives the slot of a document.
struct LoadedImage {
    bool loaded = false;
    std::string path;
    std::string displayName;           // the file-name part of the path
    ImageBuffer image;                 // 24 bit
    int orientation = kNoOrientation;  // Exif orientation of a JPEG; 100 otherwise
    // Read only in part (a JPEG that ends early or is damaged, a TIFF strip that cannot be
    // read whole): the picture is what could be decoded.
    bool partial = false;
};

// Tries, in this order: JPEG (turned by its Exif orientation), BMP, TIFF, TIFF through
// RGBA, then the plug-ins of options.plugins in their try order. A picture of another
// depth is converted to 24 bit; when that fails nothing is loaded. Path and display name
// are filled in either way. Reports to `progress` as the readers do; once it is cancelled no
// further reader is tried and nothing is loaded.
LoadedImage LoadImageFile(const std::string& path, const CodecOptions& options = {},
                          const Progress& progress = NoProgress());

// The same chain for pictures that are not shown while loading (a logo, mosaic sources),
// without progress. None for an empty path or when no reader succeeds.
ImageBuffer LoadPictureFile(const std::string& path, const CodecOptions& options = {});

}  // namespace duplora
