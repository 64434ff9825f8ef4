// Loading the pictures of an opening: two files as a pair, or one file holding both views in
// one of the stereo layouts (or a single picture). The core's stereo opener does the reading
// and splitting; this turns its result into what the window puts into the document.
#pragma once

#include <string>

#include "core/formats/codec_options.h"
#include "core/formats/stereo_layout.h"
#include "core/image/image_buffer.h"
#include "core/util/progress.h"

namespace duplora {

struct OpenedViews {
    bool ok = false;
    ImageBuffer left;
    ImageBuffer right;  // empty for a single picture
    std::string leftPath;
    std::string rightPath;
    std::string leftName;  // shown names
    std::string rightName;
    // A DAS container brings the alignment it was stored with.
    bool hasAlignment = false;
    int dx = 0;
    int dy = 0;
    // When not ok: the file that could not be read.
    std::string failedPath;
    // A file was read only in part; the views hold what could be decoded.
    bool partial = false;
};

// The left and the right view from two picture files; not ok when either cannot be read.
OpenedViews OpenPairFiles(const std::string& leftPath, const std::string& rightPath,
                          const CodecOptions& codec = {}, const Progress& progress = NoProgress());

// Both views from one file in `layout` (Pair opens side by side), DAS containers included,
// or with Single the picture alone as the left view. Names get " - Links" / " - Rechts"
// unless shown alone.
OpenedViews OpenStereoPicture(const std::string& path, StereoLayout layout,
                              const CodecOptions& codec = {},
                              const Progress& progress = NoProgress());

}  // namespace duplora
