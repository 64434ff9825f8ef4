// Loading the pictures of an opening: two files as a pair, or one file holding both views (or
// a single picture). The window calls only these two, so the full stereo-file reader can
// take their place without touching the window.
#pragma once

#include <string>

#include "core/image/image_buffer.h"

namespace duplora {

// StereoLayout of a single picture shown alone, and of a pair of two files.
inline constexpr int kSingleLayout = 20;
inline constexpr int kTwoFileLayout = 10;

struct OpenedViews {
    bool ok = false;
    ImageBuffer left;
    ImageBuffer right;  // empty for a single picture
    std::string leftPath;
    std::string rightPath;
    std::string leftName;  // shown names
    std::string rightName;
    bool hasAlignment = false;  // a DAS container brought the offset dx, dy
    int dx = 0;
    int dy = 0;
};

// The two halves of a 24-bit side-by-side picture: columns 0 … w/2 − 1 and the w/2 columns
// from w/2 (an odd last column is dropped). Empty views for anything else.
struct SideBySideViews {
    ImageBuffer left;
    ImageBuffer right;
};
SideBySideViews SplitSideBySide(const ImageBuffer& picture);

// The left and the right view from two picture files; not ok when either cannot be read.
OpenedViews OpenPairFiles(const std::string& leftPath, const std::string& rightPath);

// Both views from one file split by `layout` (OpenStereoFile: every single-file layout and
// DAS containers with their alignment), or with layout 20 the picture alone as the left view.
// Names get " - Links" / " - Rechts" unless shown alone.
OpenedViews OpenStereoPicture(const std::string& path, int layout);

}  // namespace duplora
