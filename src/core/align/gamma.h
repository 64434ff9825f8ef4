// Power-law level tables and the gamma correction of whole pictures.
#pragma once

#include <array>
#include <cstdint>

#include "core/image/image_buffer.h"

namespace duplora {

// Gamma values are hundredths: 100 means 1.00; the dialogs offer 1 … 500.
inline constexpr int kMinGamma = 1;
inline constexpr int kMaxGamma = 500;

// Entry i = trunc(255 × (i / 255)^(100 / gamma)). Values outside 1 … 500 are brought
// to the nearest end of the range. Gamma 100 is the identity.
std::array<std::uint8_t, 256> BuildGammaTable(int gamma);

struct GammaResult {
    ImageBuffer image;  // none when the source is not a 24-bit picture or memory ran out
    // With measuring: trunc(0.587 Ḡ + 0.299 R̄ + 0.114 B̄) of the corrected picture, the
    // means being integer means of each channel; 0 otherwise.
    int density = 0;
};

// Every channel of every pixel through the table for `gamma`.
GammaResult ApplyGamma(const ImageBuffer& image, int gamma, bool measure);

}  // namespace duplora
