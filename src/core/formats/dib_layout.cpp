#include "core/formats/dib_layout.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace duplora {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;
constexpr std::uint32_t kBiAlphaBitFields = 6;
// Larger headers than the fifth version do not exist; anything far beyond is garbage.
constexpr std::uint32_t kMaxHeaderBytes = 4096;

std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// One channel of a 16- or 32-bit pixel: where it sits and how to widen it to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int width = 0;
    std::uint32_t max = 0;
    explicit Channel(std::uint32_t m) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        width = std::min(32 - shift, static_cast<int>(std::bit_width(m >> shift)));
        max = width >= 32 ? 0xFFFFFFFFu : ((1u << width) - 1);
    }
    std::uint8_t operator()(std::uint32_t pixel) const {
        if (mask == 0) return 0;
        const std::uint32_t v = (pixel & mask) >> shift;
        if (width >= 8) return static_cast<std::uint8_t>(v >> (width - 8));
        return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
    }
};

}  // namespace

bool ParseDibHeader(const std::uint8_t* p, std::size_t available, DibLayout& layout) {
    layout = DibLayout{};
    if (!p || available < 4) return false;
    const std::uint32_t headerBytes = Le32(p);
    // 12 is the old core header; 13 to 15 cannot hold the fields that follow the size.
    if (headerBytes < 12 || (headerBytes > 12 && headerBytes < 16)) return false;
    if (headerBytes > kMaxHeaderBytes || headerBytes > available) return false;
    layout.headerBytes = headerBytes;

    std::int64_t width, height;
    std::uint32_t compression = 0, used = 0;
    if (headerBytes == 12) {
        width = Le16(p + 4);
        height = Le16(p + 6);
        layout.bits = Le16(p + 10);
        layout.tableEntryBytes = 3;
    } else {
        width = static_cast<std::int32_t>(Le32(p + 4));
        height = static_cast<std::int32_t>(Le32(p + 8));
        layout.bits = Le16(p + 14);
        if (headerBytes >= 20) compression = Le32(p + 16);
        if (headerBytes >= 36) used = Le32(p + 32);
    }
    if (height < 0) {
        layout.topDown = true;
        height = -height;
    }
    if (!ImageSizeAllowed(width, height)) return false;
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);
    layout.compression = compression;

    const int bits = layout.bits;
    const bool bitFields = compression == kBiBitFields || compression == kBiAlphaBitFields;
    switch (bits) {
        case 1:
        case 4:
        case 8:
        case 24: {
            // Run-length data is always stored bottom-up.
            const bool rle =
                (bits == 8 && compression == kBiRle8) || (bits == 4 && compression == kBiRle4);
            if (compression != kBiRgb && !(rle && !layout.topDown && headerBytes >= 40))
                return false;
            layout.imageBits = bits;
            break;
        }
        case 16:
        case 32:
            // Bit fields exist only in the Windows header forms (40 bytes and longer).
            if (compression != kBiRgb && !(bitFields && headerBytes >= 40)) return false;
            layout.imageBits = 24;
            break;
        default:
            return false;
    }

    if (bits == 16) {
        layout.masks[0] = 0x7C00, layout.masks[1] = 0x03E0, layout.masks[2] = 0x001F;
    } else if (bits == 32) {
        layout.masks[0] = 0xFF0000, layout.masks[1] = 0xFF00, layout.masks[2] = 0xFF;
    }
    if (bitFields && (bits == 16 || bits == 32)) {
        const std::uint8_t* m = p + 40;
        if (headerBytes < 52) {
            // The masks follow a 40-byte header, before the colour table.
            layout.maskBytes = compression == kBiAlphaBitFields ? 16 : 12;
            if (available < std::size_t{headerBytes} + layout.maskBytes) return false;
            m = p + headerBytes;
        }
        layout.masks[0] = Le32(m), layout.masks[1] = Le32(m + 4), layout.masks[2] = Le32(m + 8);
    }

    // Colour table: the entries in use when given, else the full table of the depth.
    if (headerBytes >= 36 && used != 0) {
        const std::uint32_t limit = bits <= 8 ? (1u << bits) : 256u;
        if (used > limit) return false;
        layout.tableEntries = used;
    } else if (bits <= 8) {
        layout.tableEntries = 1u << bits;
    }

    layout.stride = (static_cast<std::size_t>(layout.width) * bits + 31) / 32 * 4;
    return true;
}

ImageBuffer CreateImageForDib(const DibLayout& layout, const std::uint8_t* table) {
    ImageBuffer image =
        layout.RunLength() ? CreateImage(layout.width, layout.height, layout.imageBits)
                           : CreateImageForOverwrite(layout.width, layout.height, layout.imageBits);
    if (!image || layout.bits > 8 || !table) return image;
    const std::uint32_t entries = std::min<std::uint32_t>(layout.tableEntries, 1u << layout.bits);
    std::uint8_t* out = image.ColourTable();
    if (layout.tableEntryBytes == 4) {
        std::memcpy(out, table, std::size_t{entries} * 4);
    } else {
        for (std::uint32_t i = 0; i < entries; ++i) {
            out[i * 4] = table[i * 3];
            out[i * 4 + 1] = table[i * 3 + 1];
            out[i * 4 + 2] = table[i * 3 + 2];
            out[i * 4 + 3] = 0;
        }
    }
    return image;
}

void ConvertDibRow(const DibLayout& layout, const std::uint8_t* source, std::uint8_t* target) {
    const int width = layout.width;
    if (!layout.NeedsConversion()) {
        std::memcpy(target, source, layout.stride);
        return;
    }
    const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
    if (layout.bits == 16) {
        for (int x = 0; x < width; ++x, source += 2, target += 3) {
            const std::uint32_t v = Le16(source);
            target[0] = blue(v), target[1] = green(v), target[2] = red(v);
        }
    } else {
        for (int x = 0; x < width; ++x, source += 4, target += 3) {
            const std::uint32_t v = Le32(source);
            target[0] = blue(v), target[1] = green(v), target[2] = red(v);
        }
    }
}

bool DecodeRunLength(const DibLayout& layout, const std::uint8_t* data, std::size_t size,
                     ImageBuffer& image) {
    const bool four = layout.bits == 4;
    const int width = layout.width, height = layout.height;
    int x = 0, y = 0;  // y counts stored rows, from the bottom
    const auto put = [&](int index) {
        if (x < width && y < height) {
            std::uint8_t* row = image.StoredRow(y);
            if (four) {
                std::uint8_t& b = row[x / 2];
                b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | (index & 0x0F))
                            : static_cast<std::uint8_t>((b & 0x0F) | (index << 4));
            } else {
                row[x] = static_cast<std::uint8_t>(index);
            }
        }
        ++x;
    };
    std::size_t i = 0;
    while (i + 2 <= size && y < height) {
        const int count = data[i], value = data[i + 1];
        i += 2;
        if (count > 0) {
            // A run: one byte repeated (RLE8) or two nibbles alternating (RLE4).
            for (int k = 0; k < count && x < width; ++k)
                put(four ? ((k & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        switch (value) {
            case 0:
                x = 0, ++y;
                break;  // end of line
            case 1:
                return true;  // end of bitmap
            case 2:           // move right and up
                if (i + 2 > size) return false;
                x += data[i], y += data[i + 1];
                i += 2;
                break;
            default: {
                // Literal pixels, padded to an even number of bytes.
                const std::size_t bytes = four ? (std::size_t(value) + 1) / 2 : std::size_t(value);
                if (i + bytes > size) return false;
                for (int k = 0; k < value; ++k)
                    put(four ? ((k & 1) ? (data[i + k / 2] & 0x0F) : (data[i + k / 2] >> 4))
                             : data[i + k]);
                i += (bytes + 1) & ~std::size_t{1};
                break;
            }
        }
    }
    return true;
}

void CopyDibRows(const DibLayout& layout, const std::uint8_t* pixels, ImageBuffer& image) {
    for (int i = 0; i < layout.height; ++i) {
        const int row = layout.topDown ? layout.height - 1 - i : i;
        ConvertDibRow(layout, pixels + static_cast<std::size_t>(i) * layout.stride,
                      image.StoredRow(row));
    }
    ClearRowPadding(image);
}

ImageBuffer ExpandIndexedImage(const ImageBuffer& image) {
    if (!image) return {};
    const int bits = image.BitCount();
    if (bits != 1 && bits != 4 && bits != 8) return {};
    const int width = image.Width(), height = image.Height();
    ImageBuffer out = CreateImageForOverwrite(width, height, 24);
    if (!out) return out;
    // Three bytes per possible index; entries the table does not hold stay black.
    std::uint8_t lookup[256 * 3] = {};
    const int entries = std::min(image.ColourCount(), 1 << bits);
    const std::uint8_t* table = image.ColourTable();
    for (int i = 0; i < entries; ++i) std::memcpy(lookup + 3 * i, table + 4 * i, 3);
    const int perByte = 8 / bits;
    const int mask = (1 << bits) - 1;
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* s = image.StoredRow(row);
        std::uint8_t* d = out.StoredRow(row);
        for (int x = 0; x < width; ++x, d += 3) {
            const int shift = bits * (perByte - 1 - x % perByte);
            const int index = (s[x / perByte] >> shift) & mask;
            std::memcpy(d, lookup + 3 * index, 3);
        }
    }
    return out;
}

}  // namespace duplora
