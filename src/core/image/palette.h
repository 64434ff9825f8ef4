// Palettes for pictures: the one that goes with a picture when it is drawn on a
// palette display, and the 256 most frequent colours of a photograph for writing
// 256-colour output.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/image/image_buffer.h"

namespace duplora {

struct PaletteEntry {
    std::uint8_t red = 0, green = 0, blue = 0, flags = 0;
    bool operator==(const PaletteEntry&) const = default;
};

// Entries of the picture's palette: its colour table for 1, 4 and 8 bits (the number of
// colours used when set, else 2^bits), a fixed 224-colour set for 24 bits; every entry
// carries `flags`. Empty when there is no picture or no palette can be made for it.
std::vector<PaletteEntry> CreateImagePalette(const ImageBuffer& image, std::uint8_t flags);

// The fixed colours given to true-colour pictures: 7 levels of red × 8 of green × 4 of
// blue, red varying slowest.
inline constexpr int kTrueColourPaletteSize = 224;

struct PopularPalette {
    bool valid = false;
    std::array<std::uint8_t, 256> blue{}, green{}, red{};
};

// The 256 most frequent colours of a 24-bit picture, sampled on a grid of about 200 × 200
// points and reduced to 4 (or fewer) bits per channel; white and black are always
// candidates. `valid` is false for anything but a 24-bit picture.
PopularPalette BuildPopularPalette(const ImageBuffer& image);

}  // namespace duplora
