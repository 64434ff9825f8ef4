// Luminance of a whole row of 24-bit pixels at once, equal to Luminance() for every colour
// (proven over all 16,777,216 colours by a test), for passes that need the luminance of
// millions of pixels.
#pragma once

#include <cstdint>

namespace duplora {

// out[i] = trunc(0.587 G + 0.114 B + 0.299 R) of the pixel bgr[3i], bgr[3i + 1], bgr[3i + 2].
void LuminanceRow(const std::uint8_t* bgr, std::uint8_t* out, int count);

}  // namespace duplora
