// The facts the picture loaders need from a JPEG's marker segments, read without
// decoding: the Exif orientation, the embedded thumbnail and the frame size. Only the
// first 65535 bytes of a file are looked at; every offset and length in them is checked
// before use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace duplora {

inline constexpr int kNoExifOrientation = 100;
inline constexpr std::size_t kExifHeaderBufferSize = 65535;

struct ExifFacts {
    bool hasExif = false;                  // an APP1 "Exif" block with a TIFF header
    int orientation = kNoExifOrientation;  // tag 0x0112 of IFD0; 100 when absent
    int frameWidth = 0;                    // main picture, from the first frame header
    int frameHeight = 0;
    std::uint32_t thumbnailOffset = 0;  // from the TIFF header, tags 0x0201/0x0202
    std::uint32_t thumbnailLength = 0;  // 0 unless the thumbnail lies inside the block
};

// Walks the segments of `data` (the start of a JPEG file). When `thumbnail` is given and
// the Exif block holds a whole thumbnail, its bytes are copied there.
ExifFacts ParseExifFacts(const std::uint8_t* data, std::size_t size,
                         std::vector<std::uint8_t>* thumbnail = nullptr);

// Reads the first 65535 bytes of the file and parses them; all zero/100 when the file
// cannot be read.
ExifFacts ReadExifFacts(const std::string& path, std::vector<std::uint8_t>* thumbnail = nullptr);

}  // namespace duplora
