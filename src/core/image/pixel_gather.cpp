#include "core/image/pixel_gather.h"

#include <algorithm>
#include <cstring>

#include "core/util/parallel.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define DUPLORA_HAVE_SSSE3_PATH 1
#endif

namespace duplora {

bool ReadablePicture(const ImageBuffer& image) {
    if (!image || image.Width() <= 0 || image.Height() <= 0) return false;
    const int bits = image.BitCount();
    return bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

std::array<std::uint32_t, 256> ColourLookup(const ImageBuffer& image) {
    std::array<std::uint32_t, 256> lut{};
    const int bits = image.BitCount();
    if (!image || bits > 8) return lut;
    const int entries = std::min(image.ColourCount(), 1 << bits);
    const std::uint8_t* table = image.ColourTable();
    for (int i = 0; i < entries; ++i)
        lut[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(
            table[i * 4] | (table[i * 4 + 1] << 8) | (table[i * 4 + 2] << 16));
    return lut;
}

std::vector<int> FixedPointWalk(std::int64_t start, std::int64_t step, int count) {
    std::vector<int> out(static_cast<std::size_t>(std::max(count, 0)));
    std::int64_t acc = start * 1024;
    for (int& v : out) {
        v = static_cast<int>(acc >> 10);
        acc += step;
    }
    return out;
}

namespace {

enum class ColumnPattern { Contiguous, EveryOther, Other };

ColumnPattern PatternOf(std::span<const int> cols) {
    bool contiguous = true, everyOther = true;
    for (std::size_t i = 1; i < cols.size(); ++i) {
        const int d = cols[i] - cols[i - 1];
        contiguous = contiguous && d == 1;
        everyOther = everyOther && d == 2;
        if (!contiguous && !everyOther) return ColumnPattern::Other;
    }
    return contiguous ? ColumnPattern::Contiguous : ColumnPattern::EveryOther;
}

// The last pixel of a row is written byte by byte: a four-byte store would reach into
// the next pixel, which may belong to a canvas or to a row another thread writes.
inline void PutLast(std::uint8_t* dst, std::uint32_t v) {
    dst[0] = static_cast<std::uint8_t>(v);
    dst[1] = static_cast<std::uint8_t>(v >> 8);
    dst[2] = static_cast<std::uint8_t>(v >> 16);
}

// Picks source pixels through a column list. Loads take four bytes per pixel; pixel
// rows are followed by padding, the next row or the block's spare tail bytes.
void GatherRow24(const std::uint8_t* src, const int* cols, int n, std::uint8_t* dst) {
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        std::uint32_t p0, p1, p2, p3;
        std::memcpy(&p0, src + cols[i] * 3, 4);
        std::memcpy(&p1, src + cols[i + 1] * 3, 4);
        std::memcpy(&p2, src + cols[i + 2] * 3, 4);
        std::memcpy(&p3, src + cols[i + 3] * 3, 4);
        // Four pixels packed into three words.
        const std::uint32_t w0 = (p0 & 0xFFFFFF) | (p1 << 24);
        const std::uint32_t w1 = ((p1 >> 8) & 0xFFFF) | (p2 << 16);
        const std::uint32_t w2 = ((p2 >> 16) & 0xFF) | (p3 << 8);
        std::memcpy(dst + i * 3, &w0, 4);
        std::memcpy(dst + i * 3 + 4, &w1, 4);
        std::memcpy(dst + i * 3 + 8, &w2, 4);
    }
    for (; i < n; ++i) {
        const std::uint8_t* s = src + cols[i] * 3;
        dst[i * 3] = s[0];
        dst[i * 3 + 1] = s[1];
        dst[i * 3 + 2] = s[2];
    }
}

// Every other pixel from `src` on: the half-size view, the most common zoom out.
void HalveRow24Scalar(const std::uint8_t* src, int n, std::uint8_t* dst) {
    for (int i = 0; i < n; ++i) {
        dst[i * 3] = src[i * 6];
        dst[i * 3 + 1] = src[i * 6 + 1];
        dst[i * 3 + 2] = src[i * 6 + 2];
    }
}

#ifdef DUPLORA_HAVE_SSSE3_PATH
// Eight output pixels from 48 source bytes by byte shuffles. Reads at most three bytes
// past the last pixel it uses.
__attribute__((target("ssse3"))) void HalveRow24Ssse3(const std::uint8_t* src, int n,
                                                      std::uint8_t* dst) {
    const __m128i fromA = _mm_setr_epi8(0, 1, 2, 6, 7, 8, 12, 13, 14, -1, -1, -1, -1, -1, -1, -1);
    const __m128i fromB0 = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, 2, 3, 4, 8, 9, 10, 14);
    const __m128i fromB1 =
        _mm_setr_epi8(15, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m128i fromC = _mm_setr_epi8(-1, 0, 4, 5, 6, 10, 11, 12, -1, -1, -1, -1, -1, -1, -1, -1);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const std::uint8_t* s = src + i * 6;
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 32));
        const __m128i lo = _mm_or_si128(_mm_shuffle_epi8(a, fromA), _mm_shuffle_epi8(b, fromB0));
        const __m128i hi = _mm_or_si128(_mm_shuffle_epi8(b, fromB1), _mm_shuffle_epi8(c, fromC));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i * 3), lo);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + i * 3 + 16), hi);
    }
    HalveRow24Scalar(src + i * 6, n - i, dst + i * 3);
}

bool HaveSsse3() {
    static const bool have = __builtin_cpu_supports("ssse3");
    return have;
}
#endif

void HalveRow24(const std::uint8_t* src, int n, std::uint8_t* dst) {
#ifdef DUPLORA_HAVE_SSSE3_PATH
    if (HaveSsse3()) {
        HalveRow24Ssse3(src, n, dst);
        return;
    }
#endif
    HalveRow24Scalar(src, n, dst);
}

template <int Bits>
inline int IndexAt(const std::uint8_t* row, int x) {
    if constexpr (Bits == 8) {
        return row[x];
    } else if constexpr (Bits == 4) {
        return (row[x >> 1] >> ((~x & 1) * 4)) & 0xF;
    } else {
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
}

template <int Bits>
void GatherRowIndexed(const std::uint8_t* src, const std::uint32_t* lut, const int* cols, int n,
                      std::uint8_t* dst) {
    int i = 0;
    for (; i + 1 < n; ++i) {
        const std::uint32_t v = lut[IndexAt<Bits>(src, cols[i])];
        std::memcpy(dst + i * 3, &v, 4);
    }
    if (i < n) PutLast(dst + i * 3, lut[IndexAt<Bits>(src, cols[i])]);
}

}  // namespace

void GatherTrueColour(const ImageBuffer& src, std::span<const int> cols, std::span<const int> rows,
                      ImageBuffer& out, int dstX, int dstRow) {
    const int n = static_cast<int>(cols.size());
    const int m = static_cast<int>(rows.size());
    if (n <= 0 || m <= 0) return;
    const int bits = src.BitCount();
    const ColumnPattern pattern = bits == 24 ? PatternOf(cols) : ColumnPattern::Other;
    const std::array<std::uint32_t, 256> lut = ColourLookup(src);
    const std::uint8_t* srcPixels = src.Pixels();
    const std::size_t srcStride = static_cast<std::size_t>(src.Stride());
    std::uint8_t* dstPixels = out.Pixels() + static_cast<std::size_t>(dstX) * 3;
    const std::size_t dstStride = static_cast<std::size_t>(out.Stride());
    const int* colData = cols.data();

    ParallelRows(m, static_cast<std::int64_t>(n) * m, [&](int begin, int end) {
        for (int k = begin; k < end; ++k) {
            const std::uint8_t* s = srcPixels + static_cast<std::size_t>(rows[k]) * srcStride;
            std::uint8_t* d = dstPixels + static_cast<std::size_t>(dstRow + k) * dstStride;
            switch (bits) {
                case 24:
                    if (pattern == ColumnPattern::Contiguous)
                        std::memcpy(d, s + static_cast<std::size_t>(colData[0]) * 3,
                                    static_cast<std::size_t>(n) * 3);
                    else if (pattern == ColumnPattern::EveryOther)
                        HalveRow24(s + static_cast<std::size_t>(colData[0]) * 3, n, d);
                    else
                        GatherRow24(s, colData, n, d);
                    break;
                case 8:
                    GatherRowIndexed<8>(s, lut.data(), colData, n, d);
                    break;
                case 4:
                    GatherRowIndexed<4>(s, lut.data(), colData, n, d);
                    break;
                case 1:
                    GatherRowIndexed<1>(s, lut.data(), colData, n, d);
                    break;
                default:
                    break;
            }
        }
    });
}

}  // namespace duplora
