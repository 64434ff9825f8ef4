// Row gathering shared by the depth conversions and the view scalings: every result is
// a 24-bit picture whose pixels are source pixels picked by a column list and a row
// list, looked up in the colour table for indexed sources.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/image/image_buffer.h"

namespace duplora {

// True for a picture the pixel routines can read: present, not empty, 1, 4, 8 or 24 bits.
bool ReadablePicture(const ImageBuffer& image);

// Colour of every index as blue | green << 8 | red << 16; black past the colour table.
std::array<std::uint32_t, 256> ColourLookup(const ImageBuffer& image);

// Pixel columns (start × 1024 + i × step) >> 10 for i in [0, count): the 22.10
// fixed-point nearest-neighbour walk.
std::vector<int> FixedPointWalk(std::int64_t start, std::int64_t step, int count);

// Writes source pixels into the 24-bit `out`: its stored row dstRow + k gets, from column
// dstX on, the source columns cols[0..n) of source stored row rows[k]. Every column and
// row must lie inside the source, and the target area inside `out`.
void GatherTrueColour(const ImageBuffer& src, std::span<const int> cols, std::span<const int> rows,
                      ImageBuffer& out, int dstX, int dstRow);

}  // namespace duplora
