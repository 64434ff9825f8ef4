// Luminance of a whole row of 24-bit pixels, equal to Luminance() for every colour.
#pragma once

#include <cstdint>

namespace duplora {

// out[x] = trunc(0.587 G + 0.114 B + 0.299 R) of the pixel at bgr + 3x.
void LuminanceRow(const std::uint8_t* bgr, int count, std::uint8_t* out);

}  // namespace duplora
