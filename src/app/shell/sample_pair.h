// The stereo pair Duplora shows when started without a file: a small scene drawn here,
// so the program has something to show without any photograph at hand.
#pragma once

#include "core/image/image_buffer.h"

namespace duplora {

struct SamplePair {
    ImageBuffer left;
    ImageBuffer right;
};

// Both views of the bundled scene, width × height each (a few objects at different depths).
SamplePair MakeSamplePair(int width = 640, int height = 480);

}  // namespace duplora
