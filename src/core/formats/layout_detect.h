// Telling from a file's content alone how it holds the two views: the MP index of a
// multi-picture file, the descriptor of a JPS, colour statistics for an anaglyph, and for
// side by side against over/under the shape of the views together with how well the two
// halves match. The name of the file is never looked at.
#pragma once

#include <optional>
#include <string>

#include "core/formats/codec_options.h"
#include "core/formats/stereo_layout.h"
#include "core/image/image_buffer.h"

namespace duplora {

// What the picture itself says, for a 24-bit picture (any size; it is sampled).
struct PictureLayoutFacts {
    // How much less one colour channel's edges agree with the other two's than those two
    // agree with each other.
    double anaglyphScore = 0;
    double sideBySideError = 0;  // mean luminance difference of the best-matching halves
    double overUnderError = 0;
    double sideBySideAspect = 0;  // width / height of one view
    double overUnderAspect = 0;
};
PictureLayoutFacts MeasurePictureLayout(const ImageBuffer& picture);

// The layout a picture's pixels suggest: anaglyph, side by side or over/under; none when
// they suggest none clearly (a plain photograph, whose halves match neither way).
std::optional<StereoLayout> LayoutFromFacts(const PictureLayoutFacts& facts);

// The layout of a file: Mpo for a multi-picture file, the JPS descriptor's layout when it
// has one, else what its pixels suggest; none when that is not clear or the file cannot be
// read.
std::optional<StereoLayout> DetectStereoLayout(const std::string& path,
                                               const CodecOptions& options = {});

}  // namespace duplora
