// Grey pictures as the alignment previews use them: 8 bits with a grey colour table, counted
// by stored rows (bottom first).
#pragma once

#include <functional>
#include <random>

#include "core/align/preview.h"

namespace duplora::test {

inline ImageBuffer MakeGrey(int width, int height, const std::function<int(int, int)>& value) {
    ImageBuffer image = CreateGreyImageForOverwrite(width, height);
    for (int r = 0; r < height; ++r)
        for (int x = 0; x < width; ++x)
            image.StoredRow(r)[x] = static_cast<std::uint8_t>(value(x, r));
    return image;
}

inline ImageBuffer GreyNoise(int width, int height, std::uint32_t seed) {
    std::mt19937 rng(seed);
    return MakeGrey(width, height, [&](int, int) { return static_cast<int>(rng() & 0xFF); });
}

inline int GreyAt(const ImageBuffer& image, int x, int storedRow) {
    return image.StoredRow(storedRow)[x];
}

}  // namespace duplora::test
