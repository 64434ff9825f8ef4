// The layout of a device-independent bitmap as it comes from a BMP file or a plug-in:
// an info header of any of the usual sizes, optional channel masks, a colour table,
// and rows of 1, 4, 8, 16, 24 or 32 bits, or run-length encoded 4- and 8-bit rows. Every field is
// checked before it is used, so a bitmap that passes ParseDibHeader can be copied without reading
// past its rows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/image/image_buffer.h"

namespace duplora {

struct DibLayout {
    std::uint32_t headerBytes = 0;  // info header size as stored (12 for the old core form)
    int width = 0;
    int height = 0;  // always positive; topDown says which way the rows run
    bool topDown = false;
    int bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t masks[3] = {};        // red, green, blue of 16- and 32-bit rows
    std::uint32_t maskBytes = 0;        // masks stored after a 40-byte header
    std::uint32_t tableEntries = 0;     // colour-table entries stored
    std::uint32_t tableEntryBytes = 4;  // 3 in the old core form
    std::size_t stride = 0;             // bytes per stored row
    int imageBits = 0;                  // depth of the picture made from it: 1, 4, 8 or 24

    // Bytes from the start of the info header to the first pixel row when the pixels
    // follow the colour table directly.
    std::size_t InfoBytes() const {
        return std::size_t{headerBytes} + maskBytes + std::size_t{tableEntries} * tableEntryBytes;
    }
    std::size_t PixelBytes() const { return stride * static_cast<std::size_t>(height); }
    bool NeedsConversion() const { return bits != imageBits; }
    bool RunLength() const { return compression == 1 || compression == 2; }
};

// Reads the info header at `header` (of which `available` bytes are readable; the masks
// of a 40-byte header with bit fields are read from the bytes after it when present).
// False for anything unreadable, compressed other than by bit fields, or too large.
bool ParseDibHeader(const std::uint8_t* header, std::size_t available, DibLayout& layout);

// The picture for `layout` with its colour table copied from `table` (the bytes after
// the header and masks, tableEntries × tableEntryBytes of them). Pixels are left to the
// caller (CreateImageForOverwrite), except for run-length files, which start black.
ImageBuffer CreateImageForDib(const DibLayout& layout, const std::uint8_t* table);

// Turns one stored row into a row of the picture: a copy for 1, 4, 8 and 24 bits, the
// masked channels scaled to 8 bits for 16 and 32 bits.
void ConvertDibRow(const DibLayout& layout, const std::uint8_t* source, std::uint8_t* target);

// Decodes run-length encoded 8-bit (RLE8) or 4-bit (RLE4) data into the picture made by
// CreateImageForDib. Runs and moves outside the picture are clipped; data that ends
// before the end-of-bitmap code leaves the rest black. False for a run that reaches past
// the data.
bool DecodeRunLength(const DibLayout& layout, const std::uint8_t* data, std::size_t size,
                     ImageBuffer& image);

// Copies all rows from `pixels` (layout.PixelBytes() bytes) into `image`, turning
// top-down rows the right way.
void CopyDibRows(const DibLayout& layout, const std::uint8_t* pixels, ImageBuffer& image);

// 24-bit copy of a 1-, 4- or 8-bit picture, each index looked up 1:1 in its colour table
// (an index beyond the table is black); none for any other depth.
ImageBuffer ExpandIndexedImage(const ImageBuffer& image);

}  // namespace duplora
