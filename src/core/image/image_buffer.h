// One picture in memory: a packed device-independent bitmap in one contiguous block —
// a 40-byte header, a colour table of 4-byte entries (blue, green, red, 0), then the
// pixel rows bottom-up, each padded to 4 bytes, 24-bit pixels as blue, green, red.
// The block is owned by exactly one ImageBuffer; an empty buffer means "no picture".
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/util/result.h"

namespace duplora {

inline constexpr int kBitmapHeaderSize = 40;
// Room reserved after the pixel rows' size for the header and a full colour table.
inline constexpr std::size_t kImageBlockSlack = 1200;
// Larger pictures are refused: beyond 65535 in either dimension, or a 24-bit pixel
// block above 2 GiB.
inline constexpr int kMaxImageDimension = 65535;
inline constexpr std::uint64_t kMaxPixelBytes = std::uint64_t{2} << 30;

// Row stride in bytes for a width and bit count: 1, 4, 8 or 24 bits; 0 for any other.
int RowBytes(int width, int bits);

// True when a picture of this size fits the limits above (and is not empty).
bool ImageSizeAllowed(std::int64_t width, std::int64_t height);

class ImageBuffer {
public:
    ImageBuffer() noexcept = default;
    ~ImageBuffer();
    ImageBuffer(ImageBuffer&& other) noexcept;
    ImageBuffer& operator=(ImageBuffer&& other) noexcept;
    ImageBuffer(const ImageBuffer&) = delete;
    ImageBuffer& operator=(const ImageBuffer&) = delete;

    bool IsNull() const noexcept { return data_ == nullptr; }
    explicit operator bool() const noexcept { return data_ != nullptr; }
    void Reset() noexcept;

    // The first byte of the packed bitmap, and the number of meaningful bytes
    // (header, colour table and pixel rows).
    std::uint8_t* Data() noexcept { return data_; }
    const std::uint8_t* Data() const noexcept { return data_; }
    std::size_t ByteSize() const noexcept;

    // Header fields; width and height are read back as unsigned 16-bit values.
    std::uint32_t HeaderSize() const noexcept { return data_ ? Read32(0) : 0; }
    int Width() const noexcept { return data_ ? static_cast<std::uint16_t>(Read32(4)) : 0; }
    int Height() const noexcept { return data_ ? static_cast<std::uint16_t>(Read32(8)) : 0; }
    int BitCount() const noexcept { return data_ ? Read16(14) : 0; }
    std::uint32_t ColoursUsed() const noexcept { return data_ ? Read32(32) : 0; }
    void SetColoursUsed(std::uint32_t n) noexcept { Write32(32, n); }

    // Number of colour-table entries that precede the pixels.
    int ColourCount() const noexcept;
    std::uint8_t* ColourTable() noexcept { return data_ ? data_ + HeaderSize() : nullptr; }
    const std::uint8_t* ColourTable() const noexcept {
        return data_ ? data_ + HeaderSize() : nullptr;
    }

    int Stride() const noexcept { return RowBytes(Width(), BitCount()); }
    std::uint8_t* Pixels() noexcept {
        return data_ ? data_ + HeaderSize() + 4 * ColourCount() : nullptr;
    }
    const std::uint8_t* Pixels() const noexcept {
        return data_ ? data_ + HeaderSize() + 4 * ColourCount() : nullptr;
    }
    // Row as stored: 0 is the bottom row of the picture.
    std::uint8_t* StoredRow(int row) noexcept {
        return Pixels() + static_cast<std::size_t>(row) * Stride();
    }
    const std::uint8_t* StoredRow(int row) const noexcept {
        return Pixels() + static_cast<std::size_t>(row) * Stride();
    }
    // Row as seen: 0 is the top row of the picture.
    std::uint8_t* Line(int y) noexcept { return StoredRow(Height() - 1 - y); }
    const std::uint8_t* Line(int y) const noexcept { return StoredRow(Height() - 1 - y); }

    // Takes a copy of a packed bitmap from outside (clipboard, plug-ins): the header,
    // colour table and rows are checked against `size` before anything is copied.
    // Gives an empty buffer for anything malformed, compressed or too large.
    static ImageBuffer FromPacked(const void* data, std::size_t size);

private:
    friend ImageBuffer AllocateImageBlock(std::size_t bytes, bool zeroed);
    std::uint32_t Read32(std::size_t off) const noexcept {
        std::uint32_t v;
        std::memcpy(&v, data_ + off, 4);
        return v;
    }
    std::uint16_t Read16(std::size_t off) const noexcept {
        std::uint16_t v;
        std::memcpy(&v, data_ + off, 2);
        return v;
    }
    void Write32(std::size_t off, std::uint32_t v) noexcept {
        if (data_) std::memcpy(data_ + off, &v, 4);
    }

    std::uint8_t* data_ = nullptr;
    std::size_t capacity_ = 0;
};

// Why a picture could not be made (no memory, or beyond the limits): "Kann BMP Datei nicht
// erstellen." under "FEHLER", the size asked for as its detail when given.
Failure CannotCreateImage(std::int64_t width = 0, std::int64_t height = 0);

// A new black picture (every byte zero but the header). A bit count of 9 or more
// becomes 24; a width of 0, an unsupported depth or a size beyond the limits gives none.
ImageBuffer CreateImage(int width, int height, int bits);
// Same header and a zeroed colour table, but the pixel bytes are left as they come
// except for the row padding, which is zero. For operations that write every pixel.
ImageBuffer CreateImageForOverwrite(int width, int height, int bits);
// Byte-for-byte copy of header, colour table and rows; keeps the depth.
ImageBuffer DuplicateImage(const ImageBuffer& image);
// Copy of a 24-bit picture with a 40-byte header; none for anything else.
ImageBuffer DuplicateTrueColour(const ImageBuffer& image);

// Accessors in the free-function form used throughout the program.
std::uint32_t ImageHeaderSize(const ImageBuffer& image);
// Width of the picture; 0 for no picture.
std::uint16_t ImageWidth(const ImageBuffer& image);
std::uint16_t ImageHeight(const ImageBuffer& image);
std::uint16_t ImageBitCount(const ImageBuffer& image);
std::uint8_t* ImagePixels(ImageBuffer& image);
const std::uint8_t* ImagePixels(const ImageBuffer& image);

// Writes zeros into the padding bytes at the end of every row.
void ClearRowPadding(ImageBuffer& image);

}  // namespace duplora
