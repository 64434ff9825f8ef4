// The frames of the full-screen outputs: each eye's composed view as it lies on the screen.
#pragma once

#include "app/flip/flip_rules.h"
#include "core/image/image_buffer.h"
#include "core/stereo/display_composer.h"

namespace duplora {

// Picture `which` (the first or second view of the side-by-side composition) on a black
// screen of `screen`, scrolled to (scrollX, scrollY), centred where it is smaller, wrapped in
// panorama mode. 24 bits; none when the composer has no such picture.
ImageBuffer BuildEyeFrame(const DisplayComposer& composer, DisplayComposer::Picture which,
                          PixelSize screen, int scrollX, int scrollY, bool panorama);

}  // namespace duplora
