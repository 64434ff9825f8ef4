// Neighbourhood filters of the edit menu: sharpening and edge detection. Both take a
// 24-bit picture and return a new one of the same size; anything else gives none.
#pragma once

#include <cstdint>

#include "core/image/image_buffer.h"
#include "core/util/progress.h"

namespace duplora {

// Divisors above this give the same pixels as this one (the kernel's correction term
// never exceeds it), so they are brought down to it to keep the sums in 16 bits.
inline constexpr int kMaxSharpenDivisor = 4096;

// 3 × 3 sharpening with the kernel −1 −2 −1 / −2 n+12 −2 / −1 −2 −1, divided by n and
// clamped to 0…255; the outermost rows and columns are copied unchanged. The divisor
// is 51 − sharpness (1 hard … 50 soft); divisors below 1 are taken as 1. None when
// `progress` is cancelled.
ImageBuffer SharpenImage(const ImageBuffer& image, int divisor,
                         const Progress& progress = NoProgress());

// White picture with black pixels where the 5 × 5 Laplacian of the luminance crosses
// zero and the gradient magnitude exceeds the threshold (clamped to 1…254). The two
// outermost rows and columns on every side stay white. None when `progress` is cancelled.
ImageBuffer DetectEdges(const ImageBuffer& image, int threshold,
                        const Progress& progress = NoProgress());

// trunc(hypot(gx, gy)) for gx, gy in −256…255, built once on first use and kept.
// Alongside it, for every threshold t, the least gx² + gy² whose magnitude exceeds t:
// magnitude > t exactly when gx² + gy² reaches it, which lets whole rows be tested
// without a lookup per pixel.
struct EdgeMagnitudeTable {
    static constexpr int kSide = 512;
    std::uint16_t magnitude[kSide * kSide];
    std::int32_t squareLimit[256];
    int At(int gx, int gy) const { return magnitude[(gx + 256) * kSide + (gy + 256)]; }
};
const EdgeMagnitudeTable& GetEdgeMagnitudeTable();

}  // namespace duplora
