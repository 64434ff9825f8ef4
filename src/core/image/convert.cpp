#include "core/image/convert.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "core/image/pixel_gather.h"

namespace duplora {

namespace {

std::vector<int> Run(int start, int count) {
    std::vector<int> v(static_cast<std::size_t>(count));
    std::iota(v.begin(), v.end(), start);
    return v;
}

// Copies `n` pixels of `bits` each, from pixel x0 of `src` to the start of `dst`.
// Sub-byte pixels are shifted into place; bits after the last pixel are left zero, and
// no byte past the source's last pixel is read.
void CopyPixels(const std::uint8_t* src, int srcWidth, int bits, int x0, int n, std::uint8_t* dst) {
    if (bits >= 8) {
        const int bytes = bits / 8;
        std::memcpy(dst, src + static_cast<std::size_t>(x0) * bytes,
                    static_cast<std::size_t>(n) * bytes);
        return;
    }
    const std::size_t firstBit = static_cast<std::size_t>(x0) * bits;
    const std::size_t bitCount = static_cast<std::size_t>(n) * bits;
    const std::size_t srcBytes = (static_cast<std::size_t>(srcWidth) * bits + 7) / 8;
    const std::size_t outBytes = (bitCount + 7) / 8;
    const std::uint8_t* s = src + firstBit / 8;
    const int shift = static_cast<int>(firstBit % 8);
    if (shift == 0) {
        std::memcpy(dst, s, outBytes);
    } else {
        const std::size_t left = srcBytes - firstBit / 8;  // bytes from s to the row's end
        for (std::size_t k = 0; k < outBytes; ++k) {
            const unsigned hi = static_cast<unsigned>(s[k]) << shift;
            const unsigned lo = k + 1 < left ? s[k + 1] >> (8 - shift) : 0u;
            dst[k] = static_cast<std::uint8_t>(hi | lo);
        }
    }
    if (const int tail = static_cast<int>(bitCount % 8))
        dst[outBytes - 1] &= static_cast<std::uint8_t>(0xFF << (8 - tail));
}

}  // namespace

ImageBuffer ToTrueColour(const ImageBuffer& image) {
    if (!ReadablePicture(image) || image.BitCount() > 8) return {};
    const int width = image.Width(), height = image.Height();
    ImageBuffer out = CreateImageForOverwrite(width, height, 24);
    if (!out) return out;
    GatherTrueColour(image, Run(0, width), Run(0, height), out, 0, 0);
    return out;
}

ImageBuffer CropRect(const ImageBuffer& image, int left, int top, int right, int bottom) {
    if (!ReadablePicture(image)) return {};
    const int width = image.Width(), height = image.Height(), bits = image.BitCount();
    // The rectangle has to start inside the picture; what it reaches past the right or
    // bottom edge stays index 0 (black).
    if (left < 0 || top < 0 || left >= width || top >= height || right <= left || bottom <= top)
        return {};
    const std::int64_t outW64 = std::int64_t{right} - left, outH64 = std::int64_t{bottom} - top;
    if (!ImageSizeAllowed(outW64, outH64)) return {};
    const int outW = static_cast<int>(outW64), outH = static_cast<int>(outH64);
    ImageBuffer out = CreateImage(outW, outH, bits);
    if (!out) return out;
    if (bits <= 8) {
        const int entries = std::min(image.ColourCount(), 1 << bits);
        std::memcpy(out.ColourTable(), image.ColourTable(), static_cast<std::size_t>(entries) * 4);
    }
    const int copyW = std::min(outW, width - left);
    const int copyH = std::min(outH, height - top);
    for (int y = 0; y < copyH; ++y)
        CopyPixels(image.Line(top + y), width, bits, left, copyW, out.Line(y));
    return out;
}

ImageBuffer CentreOnCanvas(const ImageBuffer& image, int width, int height) {
    if (!ReadablePicture(image)) return {};
    ImageBuffer out = CreateImage(width, height, 24);
    if (!out) return out;
    const int imageW = image.Width(), imageH = image.Height();
    // Top-left corner of the picture on the canvas, top-down; negative when it is larger.
    const int offsetX = (width - imageW) / 2, offsetY = (height - imageH) / 2;
    const int x0 = std::max(0, offsetX), x1 = std::min(width, offsetX + imageW);
    const int y0 = std::max(0, offsetY), y1 = std::min(height, offsetY + imageH);
    if (x0 >= x1 || y0 >= y1) return out;
    // Canvas rows y0..y1-1 (top-down) are stored rows height-y1 .. height-1-y0; the
    // source row for canvas row y is picture row y - offsetY.
    std::vector<int> rows(static_cast<std::size_t>(y1 - y0));
    for (int k = 0; k < y1 - y0; ++k) {
        const int canvasY = y1 - 1 - k;
        rows[static_cast<std::size_t>(k)] = imageH - 1 - (canvasY - offsetY);
    }
    GatherTrueColour(image, Run(x0 - offsetX, x1 - x0), rows, out, x0, height - y1);
    return out;
}

ImageBuffer CropMargins(const ImageBuffer& image, int secondX, int secondY, int firstX, int firstY,
                        bool second) {
    if (!ReadablePicture(image)) return {};
    const std::int64_t width = image.Width(), height = image.Height();
    const std::int64_t areaW = width - firstX - secondX, areaH = height - firstY - secondY;
    const std::int64_t x = second ? secondX : firstX, y = second ? secondY : firstY;
    if (areaW <= 0 || areaH <= 0 || x < 0 || y < 0 || x + areaW > width || y + areaH > height)
        return {};
    ImageBuffer out = CreateImageForOverwrite(static_cast<int>(areaW), static_cast<int>(areaH), 24);
    if (!out) return out;
    GatherTrueColour(image, Run(static_cast<int>(x), static_cast<int>(areaW)),
                     Run(static_cast<int>(y), static_cast<int>(areaH)), out, 0, 0);
    return out;
}

const ImageBuffer* AsTrueColour(const ImageBuffer& image, ImageBuffer& holder) {
    const int bits = image.BitCount();
    if (!image || (bits != 1 && bits != 4 && bits != 8 && bits != 24)) return nullptr;
    if (bits == 24) return &image;
    holder = ToTrueColour(image);
    return holder ? &holder : nullptr;
}

}  // namespace duplora
