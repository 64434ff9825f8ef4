// Carrying a camera's Exif block (camera, date taken, exposure) from a source file into the
// pictures made from it: the block is taken as it is, with the picture size, the
// orientation and the thumbnail link set right for the new picture.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/util/result.h"

namespace duplora {

// The first APP1 segment of a JPEG header that is an Exif block ("Exif" 00 00 and a TIFF
// header), marker and length included; empty when there is none.
std::span<const std::uint8_t> FindFirstExifSegment(std::span<const std::uint8_t> jpeg);

// The Exif segment of the JPEG file at `path`, read from its first 65535 bytes; empty when
// it has none (or is no JPEG).
std::vector<std::uint8_t> ReadExifSegment(const std::string& path);

// The segment made fit for a new picture of width × height: Orientation 1 (the views were
// turned upright when they were read), PixelXDimension and PixelYDimension the new size,
// and no thumbnail (it showed the source, not the new picture). Empty when the segment
// is not a sound Exif block.
std::vector<std::uint8_t> AdaptExifSegment(std::span<const std::uint8_t> segment, int width,
                                           int height);

// Puts the segment into the JPEG file at `path` in place of its own APP1 blocks, keeping
// the file's times; the file is replaced atomically. Nothing is done for an empty segment.
Status InsertExifSegment(const std::string& path, std::span<const std::uint8_t> segment);

}  // namespace duplora
