#include "core/align/gamma.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include "core/util/parallel.h"

namespace duplora {

std::array<std::uint8_t, 256> BuildGammaTable(int gamma) {
    const int g = std::clamp(gamma, kMinGamma, kMaxGamma);
    std::array<std::uint8_t, 256> table;
    // The decimal 1/255 constant is part of the rule: at exponent 1 it puts 24 levels one
    // step lower, and stored pictures and anaglyphs made before depend on that.
    const double exponent = 100.0 / g;
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<std::uint8_t>(255.0 * std::pow(i * 0.00392156862745098, exponent));
    return table;
}

GammaResult ApplyGamma(const ImageBuffer& image, int gamma, bool measure) {
    GammaResult result;
    if (!image || image.BitCount() != 24) return result;
    const int width = image.Width(), height = image.Height();
    if (width <= 0 || height <= 0) return result;
    ImageBuffer out = CreateImageForOverwrite(width, height, 24);
    if (!out) return result;
    if (image.HeaderSize() == kBitmapHeaderSize) {
        std::memcpy(out.Data(), image.Data(), kBitmapHeaderSize);
        out.SetColoursUsed(0);
    }

    const std::array<std::uint8_t, 256> table = BuildGammaTable(gamma);
    const std::uint8_t* src = image.Pixels();
    std::uint8_t* dst = out.Pixels();
    const std::size_t srcStride = static_cast<std::size_t>(image.Stride());
    const std::size_t dstStride = static_cast<std::size_t>(out.Stride());
    // 64-bit sums: a large white picture overflows 32 bits.
    std::atomic<std::uint64_t> sumB{0}, sumG{0}, sumR{0};
    ParallelRows(height, std::int64_t{width} * height, [&](int begin, int end) {
        std::uint64_t b = 0, g = 0, r = 0;
        for (int row = begin; row < end; ++row) {
            const std::uint8_t* s = src + row * srcStride;
            std::uint8_t* d = dst + row * dstStride;
            if (measure) {
                std::uint32_t rb = 0, rg = 0, rr = 0;  // one row: at most 65535 × 255
                for (int x = 0; x < width; ++x, s += 3, d += 3) {
                    d[0] = table[s[0]];
                    d[1] = table[s[1]];
                    d[2] = table[s[2]];
                    rb += d[0];
                    rg += d[1];
                    rr += d[2];
                }
                b += rb;
                g += rg;
                r += rr;
            } else {
                for (int j = 0; j < width * 3; ++j) d[j] = table[s[j]];
            }
        }
        sumB += b;
        sumG += g;
        sumR += r;
    });

    if (measure) {
        const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
        const double meanB = static_cast<double>(sumB.load() / pixels);
        const double meanG = static_cast<double>(sumG.load() / pixels);
        const double meanR = static_cast<double>(sumR.load() / pixels);
        result.density = static_cast<int>(0.587 * meanG + 0.299 * meanR + 0.114 * meanB) & 255;
    }
    result.image = std::move(out);
    return result;
}

}  // namespace duplora
