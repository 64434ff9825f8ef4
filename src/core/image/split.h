// Turning one picture into the views of a pair: a pasted side-by-side picture, one
// colour channel of an anaglyph, one field of a line-interlaced picture.
#pragma once

#include "core/image/image_buffer.h"

namespace duplora {

struct PicturePair {
    ImageBuffer first;
    ImageBuffer second;
};

// A pasted picture as a pair. Normally it is cut as side by side: the first view is
// columns 0 … w/2 − 1, the second the w/2 columns from w/2 (an odd width drops the last
// column), both in the picture's depth. With `singleView` the first view is a copy of
// the (24-bit) picture and the second stays empty. Empty views for no picture or a
// picture too narrow to split.
PicturePair SplitPairPicture(const ImageBuffer& picture, bool singleView);

// 24-bit grey picture from one channel of a 24-bit anaglyph: every pixel gets that
// channel's byte in all three. Channel ≠ 0 takes red; channel 0 takes green when the
// green sum over every tenth pixel of every tenth stored row is strictly larger than
// the blue sum, else blue. Empty for no picture or another depth.
ImageBuffer SplitAnaglyph(const ImageBuffer& image, int channel);

// One field of a 24-bit line-interlaced picture at full height. Rows count from the
// bottom. Field 0 (odd = false) keeps the even rows and fills each odd row with the
// byte-wise mean (a + b) >> 1 of the rows below and above it; field 1 keeps the odd rows,
// moved down by one, and fills between them likewise. Where the neighbour a row needs
// is past the top, the nearest row of the same field is copied. Empty for no picture or
// another depth.
ImageBuffer ExtractField(const ImageBuffer& image, bool odd);

}  // namespace duplora
