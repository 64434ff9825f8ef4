// Shared by the codec harnesses: checks on a decoded picture, and the size cap that keeps
// the fuzzer from spending its time on huge pictures that a few header bytes announce.
#pragma once

#include <cstdint>
#include <cstring>

#include "core/image/image_buffer.h"
#include "fuzz_support.h"

namespace duplora::fuzz {

// A few header bytes can announce a picture of up to 2 GiB, which the readers may
// legitimately allocate and fill (a compressed stream expands without limit). Inputs
// announcing more pixels than this are skipped, so that the fuzzer stays fast and within
// its memory limit; the readers' own size limits are covered by the unit tests.
inline constexpr std::int64_t kMaxFuzzPixels = std::int64_t{1} << 20;

inline bool FuzzSizeAllowed(std::int64_t width, std::int64_t height) {
    if (width < 0) width = -width;
    if (height < 0) height = -height;
    return width <= kMaxImageDimension && height <= kMaxImageDimension &&
           width * height <= kMaxFuzzPixels;
}

// A picture a reader returned: a known depth, a size within the limits, a colour table
// that fits, and every byte of every row readable (the sanitizer checks the block).
inline void CheckPicture(const ImageBuffer& image, bool trueColourOnly) {
    Check(static_cast<bool>(image));
    const int bits = image.BitCount();
    Check(bits == 24 || (!trueColourOnly && (bits == 1 || bits == 4 || bits == 8)));
    Check(image.HeaderSize() == kBitmapHeaderSize);
    Check(ImageSizeAllowed(image.Width(), image.Height()));
    // 24-bit pictures may keep the colour table a file gave them.
    Check(image.ColourCount() >= 0 && image.ColourCount() <= 256);
    const std::size_t stride = static_cast<std::size_t>(image.Stride());
    Check(stride >= (static_cast<std::size_t>(image.Width()) * bits + 7) / 8);
    Check(image.ByteSize() == kBitmapHeaderSize + 4 * static_cast<std::size_t>(image.ColourCount()) +
                                  stride * static_cast<std::size_t>(image.Height()));
    std::uint32_t sum = 0;
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* row = image.StoredRow(y);
        for (std::size_t i = 0; i < stride; ++i) sum += row[i];
    }
    // Keeps the reads from being optimised away.
    volatile std::uint32_t sink = sum;
    (void)sink;
}

// Same size and the same bytes in every row (the padding included: the readers clear it).
inline bool SamePixels(const ImageBuffer& a, const ImageBuffer& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.BitCount() != b.BitCount())
        return false;
    const std::size_t stride = static_cast<std::size_t>(a.Stride());
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.StoredRow(y), b.StoredRow(y), stride) != 0) return false;
    return true;
}

}  // namespace duplora::fuzz
