#include "core/image/image_buffer.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core/image/block_pool.h"
#include "res/core/string_ids.h"

namespace duplora {

int RowBytes(int width, int bits) {
    if (width <= 0) return 0;
    switch (bits) {
        case 1: return (width + 31) / 32 * 4;
        case 4: return (width + 7) / 8 * 4;
        case 8: return (width + 3) / 4 * 4;
        case 24: return (width * 3 + 3) / 4 * 4;
        default: return 0;
    }
}

bool ImageSizeAllowed(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0) return false;
    if (width > kMaxImageDimension || height > kMaxImageDimension) return false;
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4;
    return stride * static_cast<std::uint64_t>(height) <= kMaxPixelBytes;
}

ImageBuffer::~ImageBuffer() { Reset(); }

ImageBuffer::ImageBuffer(ImageBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), capacity_(std::exchange(other.capacity_, 0)) {}

ImageBuffer& ImageBuffer::operator=(ImageBuffer&& other) noexcept {
    if (this != &other) {
        Reset();
        data_ = std::exchange(other.data_, nullptr);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

void ImageBuffer::Reset() noexcept {
    if (data_) ReleaseBlock(data_, capacity_);
    data_ = nullptr;
    capacity_ = 0;
}

int ImageBuffer::ColourCount() const noexcept {
    if (!data_) return 0;
    const std::uint32_t used = ColoursUsed();
    if (HeaderSize() >= 36 && used != 0) return static_cast<int>(used);
    const int bits = BitCount();
    return bits < 9 ? (1 << bits) : 0;
}

std::size_t ImageBuffer::ByteSize() const noexcept {
    if (!data_) return 0;
    return HeaderSize() + 4 * static_cast<std::size_t>(ColourCount()) +
           static_cast<std::size_t>(Stride()) * static_cast<std::size_t>(Height());
}

ImageBuffer AllocateImageBlock(std::size_t bytes, bool zeroed) {
    ImageBuffer image;
    std::size_t capacity = 0;
    // A few spare bytes past the end let row loops move pixels four bytes at a time.
    constexpr std::size_t kTail = 16;
    bool fresh = false;
    void* block = AcquireBlock(bytes + kTail, capacity, &fresh);
    if (!block) return image;
    image.data_ = static_cast<std::uint8_t*>(block);
    image.capacity_ = capacity;
    if (fresh) return image;  // the system gives it zeroed
    if (zeroed) std::memset(block, 0, bytes);
    std::memset(image.data_ + bytes, 0, kTail);
    return image;
}

namespace {

int NormaliseBits(int bits) { return bits >= 9 ? 24 : bits; }

void WriteHeader(std::uint8_t* p, int width, int height, int bits) {
    const std::uint32_t headerSize = kBitmapHeaderSize;
    const std::int32_t w = width, h = height;
    const std::uint16_t planes = 1, bitCount = static_cast<std::uint16_t>(bits);
    std::memset(p, 0, kBitmapHeaderSize);
    std::memcpy(p + 0, &headerSize, 4);
    std::memcpy(p + 4, &w, 4);
    std::memcpy(p + 8, &h, 4);
    std::memcpy(p + 12, &planes, 2);
    std::memcpy(p + 14, &bitCount, 2);
}

ImageBuffer NewImage(int width, int height, int bits, bool zeroed) {
    bits = NormaliseBits(bits);
    const int stride = RowBytes(width, bits);
    if (stride == 0 || !ImageSizeAllowed(width, height)) return {};
    const std::size_t pixelBytes = static_cast<std::size_t>(stride) * height;
    ImageBuffer image = AllocateImageBlock(pixelBytes + kImageBlockSlack, zeroed);
    if (!image) return image;
    std::uint8_t* p = image.Data();
    if (!zeroed) std::memset(p, 0, kImageBlockSlack);  // header and colour table
    WriteHeader(p, width, height, bits);
    if (!zeroed) ClearRowPadding(image);
    return image;
}

}  // namespace

ImageBuffer CreateImage(int width, int height, int bits) {
    return NewImage(width, height, bits, true);
}

ImageBuffer CreateImageForOverwrite(int width, int height, int bits) {
    return NewImage(width, height, bits, false);
}

void ClearRowPadding(ImageBuffer& image) {
    if (!image) return;
    const int stride = image.Stride();
    const std::size_t used =
        (static_cast<std::size_t>(image.Width()) * image.BitCount() + 7) / 8;
    if (used >= static_cast<std::size_t>(stride)) return;
    for (int row = 0; row < image.Height(); ++row)
        std::memset(image.StoredRow(row) + used, 0, stride - used);
}

ImageBuffer DuplicateImage(const ImageBuffer& image) {
    if (!image) return {};
    const std::size_t bytes = image.ByteSize();
    ImageBuffer copy = AllocateImageBlock(bytes, false);
    if (copy) std::memcpy(copy.Data(), image.Data(), bytes);
    return copy;
}

ImageBuffer DuplicateTrueColour(const ImageBuffer& image) {
    if (!image || image.BitCount() != 24 || image.HeaderSize() != kBitmapHeaderSize) return {};
    const std::size_t bytes = kBitmapHeaderSize + static_cast<std::size_t>(image.Stride()) *
                                                      static_cast<std::size_t>(image.Height());
    // A 24-bit picture may carry a colour table (colours used != 0); the copy has none.
    ImageBuffer copy = AllocateImageBlock(bytes, false);
    if (!copy) return copy;
    std::memcpy(copy.Data(), image.Data(), kBitmapHeaderSize);
    copy.SetColoursUsed(0);
    std::memcpy(copy.Data() + kBitmapHeaderSize, image.Pixels(), bytes - kBitmapHeaderSize);
    return copy;
}

ImageBuffer ImageBuffer::FromPacked(const void* data, std::size_t size) {
    if (!data || size < kBitmapHeaderSize) return {};
    const auto* p = static_cast<const std::uint8_t*>(data);
    std::uint32_t headerSize, compression, used;
    std::int32_t width, height;
    std::uint16_t planes, bits;
    std::memcpy(&headerSize, p, 4);
    std::memcpy(&width, p + 4, 4);
    std::memcpy(&height, p + 8, 4);
    std::memcpy(&planes, p + 12, 2);
    std::memcpy(&bits, p + 14, 2);
    std::memcpy(&compression, p + 16, 4);
    std::memcpy(&used, p + 32, 4);
    if (headerSize < kBitmapHeaderSize || headerSize > size) return {};
    if (compression != 0 || RowBytes(width, bits) == 0) return {};
    // Top-down pictures (negative height) are turned to the bottom-up layout below.
    const bool topDown = height < 0;
    const std::int64_t h = topDown ? -static_cast<std::int64_t>(height) : height;
    if (!ImageSizeAllowed(width, h)) return {};
    std::size_t tableEntries = used != 0 ? used : (bits < 9 ? (std::size_t{1} << bits) : 0);
    if (bits < 9 && tableEntries > (std::size_t{1} << bits)) return {};
    if (bits >= 9 && tableEntries > 256) return {};
    const std::size_t stride = static_cast<std::size_t>(RowBytes(width, bits));
    const std::size_t tableBytes = 4 * tableEntries;
    const std::size_t need = headerSize + tableBytes + stride * static_cast<std::size_t>(h);
    if (need > size) return {};

    ImageBuffer image = CreateImage(width, static_cast<int>(h), bits);
    if (!image) return image;
    // A short table is copied into the full-length one of the new picture; a
    // true-colour picture's optional table is dropped.
    if (bits < 9) std::memcpy(image.ColourTable(), p + headerSize, tableBytes);
    const std::uint8_t* src = p + headerSize + tableBytes;
    for (std::int64_t row = 0; row < h; ++row) {
        const std::int64_t from = topDown ? h - 1 - row : row;
        std::memcpy(image.StoredRow(static_cast<int>(row)), src + from * stride, stride);
    }
    return image;
}

Failure CannotCreateImage(std::int64_t width, std::int64_t height) {
    std::string size;
    if (width != 0 || height != 0) size = std::to_string(width) + " x " + std::to_string(height);
    return Failure::Message(StringId::CannotCreateBitmap, StringId::ErrorCaption, std::move(size));
}

std::uint32_t ImageHeaderSize(const ImageBuffer& image) { return image.HeaderSize(); }

std::uint16_t ImageWidth(const ImageBuffer& image) {
    return static_cast<std::uint16_t>(image.Width());
}

std::uint16_t ImageHeight(const ImageBuffer& image) {
    return static_cast<std::uint16_t>(image.Height());
}

std::uint16_t ImageBitCount(const ImageBuffer& image) {
    return static_cast<std::uint16_t>(image.BitCount());
}

std::uint8_t* ImagePixels(ImageBuffer& image) { return image.Pixels(); }
const std::uint8_t* ImagePixels(const ImageBuffer& image) { return image.Pixels(); }

}  // namespace duplora
