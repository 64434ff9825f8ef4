#include <algorithm>
#include <cstring>

#include "core/image/filter.h"
#include "core/util/parallel.h"
#include "core/util/row_progress.h"

namespace duplora {

namespace {

// The kernel sums to n, so S = n·c + D with D = 12c − 2·(edge neighbours) − (corners),
// and |D| ≤ 12 · 255. For S ≥ 0, S / n (toward zero) equals c + floor(D / n); for S < 0
// both are negative and clamp to 0. floor(D / n) comes from a multiply and shifts on
// x = D + K·n, which lies in [0, 2^14) for every divisor up to kMaxSharpenDivisor.
constexpr int kMaxCorrection = 12 * 255;

struct FloorDivider {
    std::uint16_t bias = 0;        // K·n, the smallest multiple of n not below 3060
    std::uint16_t multiplier = 0;  // ceil(2^(16 + shift) / n), below 2^16
    int shift = 0;                 // floor(log2(n − 1)), so 2^shift < n ≤ 2^(shift + 1)
    int quotientBias = 0;          // K
};

// For x < 2^14 the error of the multiply, x·(multiplier·n − 2^(16+shift)) < 2^14·n,
// stays below 2^(16+shift), so (x·multiplier) >> (16 + shift) is exactly floor(x / n).
FloorDivider MakeDivider(int n) {
    FloorDivider d;
    d.quotientBias = (kMaxCorrection + n - 1) / n;
    d.bias = static_cast<std::uint16_t>(d.quotientBias * n);
    while ((2 << d.shift) < n) ++d.shift;
    const std::uint32_t power = std::uint32_t{1} << (16 + d.shift);
    d.multiplier = static_cast<std::uint16_t>((power + n - 1) / n);
    return d;
}

template <bool kUnitDivisor>
void SharpenRow(const std::uint8_t* __restrict above, const std::uint8_t* __restrict row,
                const std::uint8_t* __restrict below, std::uint8_t* __restrict out, int bytes,
                const FloorDivider& d) {
    const std::uint16_t bias = d.bias, multiplier = d.multiplier;
    const int shift = d.shift;
    const std::int16_t quotientBias = static_cast<std::int16_t>(d.quotientBias);
    for (int j = 3; j < bytes - 3; ++j) {
        const std::int16_t c = row[j];
        const std::int16_t edges =
            static_cast<std::int16_t>(above[j] + below[j] + row[j - 3] + row[j + 3]);
        const std::int16_t corners =
            static_cast<std::int16_t>(above[j - 3] + above[j + 3] + below[j - 3] + below[j + 3]);
        const std::int16_t correction = static_cast<std::int16_t>(12 * c - 2 * edges - corners);
        std::int16_t value;
        if constexpr (kUnitDivisor) {
            value = static_cast<std::int16_t>(c + correction);
        } else {
            const std::uint16_t x = static_cast<std::uint16_t>(correction + bias);
            const std::uint16_t high =
                static_cast<std::uint16_t>((static_cast<std::uint32_t>(x) * multiplier) >> 16);
            const std::int16_t quotient = static_cast<std::int16_t>(high >> shift);
            value = static_cast<std::int16_t>(c + quotient - quotientBias);
        }
        value = std::min<std::int16_t>(std::max<std::int16_t>(value, 0), 255);
        out[j] = static_cast<std::uint8_t>(value);
    }
}

// The result keeps the source's header (resolution and the rest) but never a colour table.
ImageBuffer NewLike(const ImageBuffer& image) {
    ImageBuffer out = CreateImageForOverwrite(image.Width(), image.Height(), 24);
    if (out && image.HeaderSize() == kBitmapHeaderSize) {
        std::memcpy(out.Data(), image.Data(), kBitmapHeaderSize);
        out.SetColoursUsed(0);
    }
    return out;
}

}  // namespace

ImageBuffer SharpenImage(const ImageBuffer& image, int divisor, const Progress& progress) {
    if (!image || image.BitCount() != 24) return {};
    const int width = image.Width(), height = image.Height();
    if (width <= 0 || height <= 0) return {};
    ImageBuffer out = NewLike(image);
    if (!out) return out;

    const int bytes = width * 3;
    const int n = std::clamp(divisor, 1, kMaxSharpenDivisor);
    const FloorDivider divider = n > 1 ? MakeDivider(n) : FloorDivider{};
    const std::uint8_t* src = image.Pixels();
    std::uint8_t* dst = out.Pixels();
    const std::size_t srcStride = static_cast<std::size_t>(image.Stride());
    const std::size_t dstStride = static_cast<std::size_t>(out.Stride());

    std::memcpy(dst, src, static_cast<std::size_t>(bytes));
    std::memcpy(dst + (height - 1) * dstStride, src + (height - 1) * srcStride,
                static_cast<std::size_t>(bytes));
    if (height < 3) return out;

    RowProgress rows(progress, ProgressDirection::Writing, height - 1);
    ParallelRows(height - 2, std::int64_t{width} * height, [&](int begin, int end) {
        for (int r = begin + 1; r < end + 1; ++r) {
            if (rows.Cancelled()) return;
            const std::uint8_t* row = src + r * srcStride;
            std::uint8_t* o = dst + r * dstStride;
            std::memcpy(o, row, 3);
            std::memcpy(o + bytes - 3, row + bytes - 3, 3);
            if (n == 1)
                SharpenRow<true>(row - srcStride, row, row + srcStride, o, bytes, divider);
            else
                SharpenRow<false>(row - srcStride, row, row + srcStride, o, bytes, divider);
            rows.RowDone();
        }
    });
    if (rows.Cancelled()) return {};
    rows.Finish();
    return out;
}

}  // namespace duplora
