#include "core/align/correction.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/align/preview.h"
#include "core/util/parallel.h"
#include "core/util/row_progress.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace duplora {
namespace {

// The perspective constants are proven to fit 64 bits only for sane inputs; products of
// them are formed in 128 bits so that no input can overflow.
__extension__ typedef __int128 Wide;

bool Narrow(Wide value, std::int64_t& out) {
    if (value > Wide{INT64_MAX} || value < Wide{INT64_MIN}) return false;
    out = static_cast<std::int64_t>(value);
    return true;
}

// ---- sampling ------------------------------------------------------------------------

// M[i][j] = trunc(i·j / 255): the bilinear weights without a division per pixel.
struct SamplingTables {
    std::uint8_t m[256][256];
#if defined(__SSE2__)
    // Per 8-bit fraction f, for three channels at once: the horizontal weights
    // (255 − f ×3, f ×3, 0, 0) against one row's lanes p00 p10 (B, G, R each), and the
    // vertical ones (255 − f ×3, 0, f ×3, 0) against top and bottom.
    alignas(16) std::uint16_t across[256][8];
    alignas(16) std::uint16_t up[256][8];
#endif
};

const SamplingTables& Tables() {
    static const SamplingTables tables = [] {
        SamplingTables t{};
        for (int i = 0; i < 256; ++i)
            for (int j = 0; j < 256; ++j) t.m[i][j] = static_cast<std::uint8_t>(i * j / 255);
#if defined(__SSE2__)
        for (int f = 0; f < 256; ++f)
            for (int c = 0; c < 3; ++c) {
                t.across[f][c] = t.up[f][c] = static_cast<std::uint16_t>(255 - f);
                t.across[f][3 + c] = t.up[f][4 + c] = static_cast<std::uint16_t>(f);
            }
#endif
        return t;
    }();
    return tables;
}

// A step's source: rows in stored order (0 = bottom), N bytes per pixel.
struct Plane {
    const std::uint8_t* pixels;
    std::ptrdiff_t stride;
    int width, height;
    // Positions a pixel's 2 × 2 neighbourhood may start at: [0, width − 1) × [0, height − 1).
    std::uint64_t limitX, limitY;
    // Starts whose neighbourhood misses the outer one-pixel frame: [1, width − 2) shifted by 1.
    std::uint64_t innerX, innerY;
};

Plane MakePlane(const ImageBuffer& image) {
    Plane p;
    p.pixels = image.Pixels();
    p.stride = image.Stride();
    p.width = image.Width();
    p.height = image.Height();
    p.limitX = static_cast<std::uint64_t>(std::max(p.width - 1, 0));
    p.limitY = static_cast<std::uint64_t>(std::max(p.height - 1, 0));
    p.innerX = static_cast<std::uint64_t>(std::max(p.width - 3, 0));
    p.innerY = static_cast<std::uint64_t>(std::max(p.height - 3, 0));
    return p;
}

// top = M[p10][fx] + M[p00][255 − fx] (& 255, which never changes it: the two truncated
// products add up to at most 255), bottom likewise one row up, result =
// M[top][255 − fy] + M[bottom][fy]. M is symmetric, so each weight picks a table row.
// row0 holds p00 then p10, row1 p01 then p11.
template <int N>
inline void Bilinear(const SamplingTables& t, const std::uint8_t* row0, const std::uint8_t* row1,
                     unsigned fx, unsigned fy, std::uint8_t* out) {
    const std::uint8_t* wx = t.m[fx];
    const std::uint8_t* wxInv = t.m[255 - fx];
    const std::uint8_t* wy = t.m[fy];
    const std::uint8_t* wyInv = t.m[255 - fy];
    for (int c = 0; c < N; ++c) {
        const unsigned top = wx[row0[N + c]] + wxInv[row0[c]];
        const unsigned bottom = wx[row1[N + c]] + wxInv[row1[c]];
        out[c] = static_cast<std::uint8_t>(wyInv[top] + wy[bottom]);
    }
}

#if defined(__SSE2__)
// Every product of two bytes is at most 65025, where trunc(x / 255) = (x · 0x8081) >> 23.
constexpr bool DivisionBy255Exact() {
    for (std::uint32_t x = 0; x <= 255 * 255; ++x)
        if ((x * 0x8081u) >> 23 != x / 255) return false;
    return true;
}
static_assert(DivisionBy255Exact());

inline __m128i DivideBy255(__m128i x) {
    return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(static_cast<short>(0x8081))), 7);
}

// The same rule for the three channels of a 24-bit pixel at once, in 16-bit lanes; the
// result's low three bytes are B, G, R. Reads 8 bytes from each row, of which 6 are used:
// image blocks carry spare bytes past their end.
inline std::uint32_t Bilinear3(const SamplingTables& t, const std::uint8_t* row0,
                               const std::uint8_t* row1, unsigned fx, unsigned fy) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i wx = _mm_load_si128(reinterpret_cast<const __m128i*>(t.across[fx]));
    __m128i a = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row0)), zero);
    __m128i b = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row1)), zero);
    a = DivideBy255(_mm_mullo_epi16(a, wx));
    b = DivideBy255(_mm_mullo_epi16(b, wx));
    a = _mm_add_epi16(a, _mm_srli_si128(a, 6));  // lanes 0–2: top
    b = _mm_add_epi16(b, _mm_srli_si128(b, 6));  // lanes 0–2: bottom
    __m128i v = _mm_unpacklo_epi64(a, b);
    v = DivideBy255(_mm_mullo_epi16(v, _mm_load_si128(reinterpret_cast<const __m128i*>(t.up[fy]))));
    v = _mm_add_epi16(v, _mm_srli_si128(v, 8));
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(v, v)));
}
#endif

// The neighbourhood of a start next to the picture's edge, with the outer frame read as
// black, so that a full-resolution view fades to black at its border.
template <int N>
void BilinearFramed(const Plane& src, const SamplingTables& t, std::int64_t ix, std::int64_t iy,
                    unsigned fx, unsigned fy, std::uint8_t* out) {
    std::uint8_t rows[2][2 * N];
    for (int dy = 0; dy < 2; ++dy) {
        const std::int64_t y = iy + dy;
        for (int dx = 0; dx < 2; ++dx) {
            const std::int64_t x = ix + dx;
            std::uint8_t* dst = rows[dy] + dx * N;
            if (x == 0 || y == 0 || x == src.width - 1 || y == src.height - 1) {
                std::memset(dst, 0, N);
            } else {
                std::memcpy(dst, src.pixels + y * src.stride + x * N, N);
            }
        }
    }
    Bilinear<N>(t, rows[0], rows[1], fx, fy, out);
}

// The starts [low, high] (inclusive, per axis) where a sample needs no edge handling:
// the whole valid range, or without the frame where the frame reads as black.
struct FastRange {
    std::int64_t lowX, highX, lowY, highY;
};

template <CorrectionSampling kMode>
FastRange MakeFastRange(const Plane& p) {
    const std::int64_t margin = kMode == CorrectionSampling::BilinearBlackFrame ? 1 : 0;
    return {margin, p.width - 2 - margin, margin, p.height - 2 - margin};
}

// A start in the fast range. kSpill: the pixel after this one is written later, so a
// fourth byte may be stored here.
template <int N, CorrectionSampling kMode, bool kSpill>
inline void FastSample(const Plane& src, const SamplingTables& t, std::int64_t ix, std::int64_t iy,
                       unsigned fx, unsigned fy, std::uint8_t* out) {
    const std::uint8_t* p = src.pixels + iy * src.stride + ix * N;
    if constexpr (kMode == CorrectionSampling::Nearest) {
        for (int c = 0; c < N; ++c) out[c] = p[c];
    } else {
#if defined(__SSE2__)
        if constexpr (N == 3) {
            const std::uint32_t bgr = Bilinear3(t, p, p + src.stride, fx, fy);
            if constexpr (kSpill) {
                std::memcpy(out, &bgr, 4);
            } else {
                out[0] = static_cast<std::uint8_t>(bgr);
                out[1] = static_cast<std::uint8_t>(bgr >> 8);
                out[2] = static_cast<std::uint8_t>(bgr >> 16);
            }
            return;
        }
#endif
        Bilinear<N>(t, p, p + src.stride, fx, fy, out);
    }
}

template <int N>
inline void Black(std::uint8_t* out) {
    for (int c = 0; c < N; ++c) out[c] = 0;
}

// Any start: black outside [0, width − 1) × [0, height − 1), the frame rule near the edge.
template <int N, CorrectionSampling kMode>
inline void AnySample(const Plane& src, const SamplingTables& t, std::int64_t ix, std::int64_t iy,
                      unsigned fx, unsigned fy, std::uint8_t* out) {
    if (static_cast<std::uint64_t>(ix) >= src.limitX ||
        static_cast<std::uint64_t>(iy) >= src.limitY) {
        Black<N>(out);
        return;
    }
    const std::uint8_t* p = src.pixels + iy * src.stride + ix * N;
    if constexpr (kMode == CorrectionSampling::Nearest) {
        for (int c = 0; c < N; ++c) out[c] = p[c];
    } else if constexpr (kMode == CorrectionSampling::Bilinear) {
        Bilinear<N>(t, p, p + src.stride, fx, fy, out);
    } else if (static_cast<std::uint64_t>(ix - 1) < src.innerX &&
               static_cast<std::uint64_t>(iy - 1) < src.innerY) {
        Bilinear<N>(t, p, p + src.stride, fx, fy, out);
    } else {
        BilinearFramed<N>(src, t, ix, iy, fx, fy, out);
    }
}

inline std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}
inline std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
    return -FloorDiv(-a, b);
}

// Narrows [first, last) to the x where low ≤ (v0 + x·step) >> shift ≤ high; positions
// along a row are linear, so the x that pass form one run. An empty run is [0, 0).
void NarrowToSpan(std::int64_t v0, std::int64_t step, int shift, std::int64_t low,
                  std::int64_t high, std::int64_t& first, std::int64_t& last) {
    const std::int64_t lowest = low * (std::int64_t{1} << shift);
    const std::int64_t highest = (high + 1) * (std::int64_t{1} << shift) - 1;
    if (low > high) {
        last = first;
    } else if (step == 0) {
        if (v0 < lowest || v0 > highest) last = first;
    } else if (step > 0) {
        first = std::max(first, CeilDiv(lowest - v0, step));
        last = std::min(last, FloorDiv(highest - v0, step) + 1);
    } else {
        first = std::max(first, CeilDiv(highest - v0, step));
        last = std::min(last, FloorDiv(lowest - v0, step) + 1);
    }
    if (last <= first) first = last = 0;
}

template <int kShift>
inline unsigned Fraction(std::int64_t v) {
    return static_cast<unsigned>(v & ((1 << kShift) - 1)) >> (kShift - 8);
}

// Output pixels [x0, x1) of one row (`row` is its start, `width` its length) whose source
// positions start at (sx, sy) and step by (dx, dy), in 1/2^kShiftX and 1/2^kShiftY pixel.
template <int N, CorrectionSampling kMode, int kShiftX, int kShiftY>
void SampleRun(const Plane& src, const SamplingTables& t, const FastRange& fast, std::uint8_t* row,
               int width, int x0, int x1, std::int64_t sx, std::int64_t dx, std::int64_t sy,
               std::int64_t dy) {
    std::int64_t first = 0, last = x1 - x0;
    NarrowToSpan(sx, dx, kShiftX, fast.lowX, fast.highX, first, last);
    NarrowToSpan(sy, dy, kShiftY, fast.lowY, fast.highY, first, last);
    first += x0;
    last += x0;
    const std::int64_t spillEnd = std::min<std::int64_t>(last, width - 1);
    std::uint8_t* d = row + std::ptrdiff_t{x0} * N;
    std::int64_t x = x0;
    for (; x < first; ++x, d += N, sx += dx, sy += dy)
        AnySample<N, kMode>(src, t, sx >> kShiftX, sy >> kShiftY, Fraction<kShiftX>(sx),
                            Fraction<kShiftY>(sy), d);
    for (; x < spillEnd; ++x, d += N, sx += dx, sy += dy)
        FastSample<N, kMode, true>(src, t, sx >> kShiftX, sy >> kShiftY, Fraction<kShiftX>(sx),
                                   Fraction<kShiftY>(sy), d);
    for (; x < last; ++x, d += N, sx += dx, sy += dy)
        FastSample<N, kMode, false>(src, t, sx >> kShiftX, sy >> kShiftY, Fraction<kShiftX>(sx),
                                    Fraction<kShiftY>(sy), d);
    for (; x < x1; ++x, d += N, sx += dx, sy += dy)
        AnySample<N, kMode>(src, t, sx >> kShiftX, sy >> kShiftY, Fraction<kShiftX>(sx),
                            Fraction<kShiftY>(sy), d);
}

ImageBuffer NewCanvas(int bits, int width, int height) {
    return bits == 8 ? CreateGreyImageForOverwrite(width, height)
                     : CreateImageForOverwrite(width, height, 24);
}

bool StepInputUsable(const ImageBuffer& image, int outWidth, int outHeight) {
    if (!image || image.Width() <= 0 || image.Height() <= 0) return false;
    if (image.BitCount() != 8 && image.BitCount() != 24) return false;
    return ImageSizeAllowed(outWidth, outHeight);
}

// Calls body.template operator()<N, kMode>() for the picture's depth and the sampling.
template <typename Body>
void Dispatch(int bits, CorrectionSampling sampling, Body&& body) {
    auto withMode = [&]<int N>() {
        switch (sampling) {
            case CorrectionSampling::Bilinear:
                body.template operator()<N, CorrectionSampling::Bilinear>();
                break;
            case CorrectionSampling::BilinearBlackFrame:
                body.template operator()<N, CorrectionSampling::BilinearBlackFrame>();
                break;
            case CorrectionSampling::Nearest:
                body.template operator()<N, CorrectionSampling::Nearest>();
                break;
        }
    };
    if (bits == 8)
        withMode.template operator()<1>();
    else
        withMode.template operator()<3>();
}

// Width of the column strips the turned passes work in: along a turned row the source
// row changes every few pixels, and the next output row continues those pieces one
// source row further; within a strip they are still in the cache.
constexpr int kStripWidth = 512;

// ---- rotation ------------------------------------------------------------------------

template <int N, CorrectionSampling kMode>
void RotateRows(const Plane& src, ImageBuffer& out, int c, int s, int rowBegin, int rowEnd) {
    const SamplingTables& t = Tables();
    const FastRange fast = MakeFastRange<kMode>(src);
    const int outWidth = out.Width();
    const int ow = outWidth / 2, oh = out.Height() / 2;
    const std::int64_t sw = src.width / 2, sh = src.height / 2;
    for (int x0 = 0; x0 < outWidth; x0 += kStripWidth) {
        const int x1 = std::min(outWidth, x0 + kStripWidth);
        for (int y = rowBegin; y < rowEnd; ++y) {
            // Source position of output pixel (x0, y) in 1/1024 pixel; every further
            // column adds (C, S), every further row (−S, C).
            const std::int64_t sx =
                (sw << 10) + std::int64_t{x0 - ow} * c - std::int64_t{y - oh} * s;
            const std::int64_t sy =
                (sh << 10) + std::int64_t{x0 - ow} * s + std::int64_t{y - oh} * c;
            SampleRun<N, kMode, 10, 10>(src, t, fast, out.StoredRow(y), outWidth, x0, x1, sx, c, sy,
                                        s);
        }
    }
}

// ---- perspective ---------------------------------------------------------------------

// One output line across the turning axis: a column for the vertical axis, a row for the
// horizontal one. It reads the source at `pos` (1/1024 pixel) along the axis, and across
// it from crossStart stepping crossStep (1/16384 pixel) per output pixel.
struct PerspectiveLine {
    bool valid = false;  // false: no source, the line stays black
    std::int64_t pos = 0;
    std::int64_t crossStart = 0, crossStep = 0;
};

// `k` is the output line's index along the axis, counted in the source's frame.
PerspectiveLine LineAt(const PerspectiveSetup& ps, std::int64_t k, int alongSize, int acrossHalf,
                       int acrossSize) {
    PerspectiveLine line;
    const Wide pos = Wide{ps.start} + Wide{k} * ps.step;
    const Wide index = pos >> 10;
    if (index < 0 || index >= alongSize - 1) return line;
    const Wide depth = Wide{ps.depth0} - Wide{k} * ps.delta;
    // The line through the eye has no picture.
    if (depth == 0) return line;
    const Wide v = (Wide{acrossHalf} * acrossHalf << 24) / depth;
    line.valid = true;
    line.pos = static_cast<std::int64_t>(pos);
    line.crossStart = (std::int64_t{acrossHalf} << 14) - static_cast<std::int64_t>(v);
    line.crossStep = static_cast<std::int64_t>(2 * v / acrossSize);
    return line;
}

template <int N, CorrectionSampling kMode>
void PerspectiveVerticalRows(const Plane& src, ImageBuffer& out,
                             const std::vector<PerspectiveLine>& columns, int offsetY, int rowBegin,
                             int rowEnd) {
    const SamplingTables& t = Tables();
    const FastRange fast = MakeFastRange<kMode>(src);
    const int outWidth = out.Width();
    // Each column walks its own source rows; the band keeps their positions.
    struct Walk {
        std::int64_t pos, step, index;
        unsigned fraction;
        bool fast;  // the column's source lies in the fast range
    };
    std::vector<Walk> walks(static_cast<std::size_t>(outWidth));
    for (int i = 0; i < outWidth; ++i) {
        const PerspectiveLine& col = columns[i];
        const std::int64_t index = col.valid ? col.pos >> 10 : -1;
        walks[i] = {col.crossStart + std::int64_t{rowBegin - offsetY} * col.crossStep,
                    col.crossStep, index, Fraction<10>(col.pos),
                    index >= fast.lowX && index <= fast.highX && fast.lowY <= fast.highY};
    }
    const auto spanY =
        static_cast<std::uint64_t>(std::max<std::int64_t>(fast.highY - fast.lowY, 0));
    auto pixel = [&]<bool kSpill>(Walk& w, std::uint8_t* d) {
        const std::int64_t pos = w.pos;
        w.pos = pos + w.step;
        const std::int64_t iy = pos >> 14;
        if (w.fast && static_cast<std::uint64_t>(iy - fast.lowY) <= spanY)
            FastSample<N, kMode, kSpill>(src, t, w.index, iy, w.fraction, Fraction<14>(pos), d);
        else if (w.index >= 0)
            AnySample<N, kMode>(src, t, w.index, iy, w.fraction, Fraction<14>(pos), d);
        else
            Black<N>(d);
    };
    // In strips of columns, like the rotation: towards the ends of a turned picture each
    // output row crosses the source rows.
    for (int i0 = 0; i0 < outWidth; i0 += kStripWidth) {
        const int i1 = std::min(outWidth, i0 + kStripWidth);
        const int spillEnd = std::min(i1, outWidth - 1);
        for (int j = rowBegin; j < rowEnd; ++j) {
            std::uint8_t* d = out.StoredRow(j) + std::ptrdiff_t{i0} * N;
            int i = i0;
            for (; i < spillEnd; ++i, d += N) pixel.template operator()<true>(walks[i], d);
            for (; i < i1; ++i, d += N) pixel.template operator()<false>(walks[i], d);
        }
    }
}

template <int N, CorrectionSampling kMode>
void PerspectiveHorizontalRows(const Plane& src, ImageBuffer& out, const PerspectiveSetup& ps,
                               int offsetX, int offsetY, int rowBegin, int rowEnd) {
    const SamplingTables& t = Tables();
    const FastRange fast = MakeFastRange<kMode>(src);
    const int outWidth = out.Width();
    for (int j = rowBegin; j < rowEnd; ++j) {
        const PerspectiveLine row = LineAt(ps, j - offsetY, src.height, src.width / 2, src.width);
        std::uint8_t* d = out.StoredRow(j);
        if (!row.valid) {
            std::memset(d, 0, static_cast<std::size_t>(outWidth) * N);
            continue;
        }
        const std::int64_t sx = row.crossStart + std::int64_t{-offsetX} * row.crossStep;
        SampleRun<N, kMode, 14, 10>(src, t, fast, d, outWidth, 0, outWidth, sx, row.crossStep,
                                    row.pos, 0);
    }
}

enum class Axis { Vertical, Horizontal };

// The picture on a black canvas, its stored rows and columns shifted by the offsets.
ImageBuffer CentredCopy(const ImageBuffer& image, int outWidth, int outHeight, int offsetX,
                        int offsetY) {
    const int bits = image.BitCount();
    ImageBuffer out = NewCanvas(bits, outWidth, outHeight);
    if (!out) return out;
    const std::size_t pixelBytes = static_cast<std::size_t>(bits / 8);
    std::memset(out.Pixels(), 0, static_cast<std::size_t>(out.Stride()) * outHeight);
    const int x0 = std::max(0, offsetX), x1 = std::min(outWidth, offsetX + image.Width());
    if (x1 <= x0) return out;
    for (int row = 0; row < outHeight; ++row) {
        const int srcRow = row - offsetY;
        if (srcRow < 0 || srcRow >= image.Height()) continue;
        std::memcpy(out.StoredRow(row) + x0 * pixelBytes,
                    image.StoredRow(srcRow) + (x0 - offsetX) * pixelBytes,
                    (x1 - x0) * pixelBytes);
    }
    return out;
}

// Runs fn(begin, end) over the row bands of a step: a cancelled chain skips the bands still
// to come, and each finished band counts towards the chain's progress.
template <typename Fn>
void StepRows(int rows, std::int64_t pixels, RowProgress* progress, Fn&& fn) {
    ParallelRows(rows, pixels, [&](int begin, int end) {
        if (progress && progress->Cancelled()) return;
        fn(begin, end);
        if (progress) progress->RowsDone(end - begin);
    });
}

ImageBuffer PerspectiveStep(Axis axis, const ImageBuffer& image, int angle, int halfFieldOfView,
                            int outWidth, int outHeight, CorrectionSampling sampling,
                            RowProgress* progress = nullptr) {
    if (!StepInputUsable(image, outWidth, outHeight)) return {};
    if (halfFieldOfView < 1 || halfFieldOfView > kMaxPerspectiveAngle) return {};
    const int bits = image.BitCount();
    const Plane src = MakePlane(image);
    // Too small to hold a 2 × 2 neighbourhood: nothing can be sampled.
    if (src.width < 2 || src.height < 2) {
        ImageBuffer black = NewCanvas(bits, outWidth, outHeight);
        if (black)
            std::memset(black.Pixels(), 0, static_cast<std::size_t>(black.Stride()) * outHeight);
        return black;
    }
    const int sw = src.width >> 1, sh = src.height >> 1;
    // The source is centred on the canvas.
    const int offsetX = outWidth / 2 - sw, offsetY = outHeight / 2 - sh;
    // At 0 degrees there is nothing to correct. The projection's truncated constants would
    // still shrink a large view by up to a pixel in a thousand and blacken its last row and
    // column, so the step is a plain copy instead.
    if (angle == 0) return CentredCopy(image, outWidth, outHeight, offsetX, offsetY);
    const std::optional<PerspectiveSetup> ps =
        axis == Axis::Vertical ? ComputePerspectiveSetup(angle, halfFieldOfView, sw, sh)
                               : ComputePerspectiveSetup(angle, halfFieldOfView, sh, sw);
    if (!ps) return {};
    ImageBuffer out = NewCanvas(bits, outWidth, outHeight);
    if (!out) return out;
    const std::int64_t pixels = std::int64_t{outWidth} * outHeight;
    if (axis == Axis::Vertical) {
        std::vector<PerspectiveLine> columns(static_cast<std::size_t>(outWidth));
        for (int i = 0; i < outWidth; ++i)
            columns[i] = LineAt(*ps, i - offsetX, src.width, sh, src.height);
        Dispatch(bits, sampling, [&]<int N, CorrectionSampling kMode>() {
            StepRows(outHeight, pixels, progress, [&](int begin, int end) {
                PerspectiveVerticalRows<N, kMode>(src, out, columns, offsetY, begin, end);
            });
        });
    } else {
        Dispatch(bits, sampling, [&]<int N, CorrectionSampling kMode>() {
            StepRows(outHeight, pixels, progress, [&](int begin, int end) {
                PerspectiveHorizontalRows<N, kMode>(src, out, *ps, offsetX, offsetY, begin, end);
            });
        });
    }
    return out;
}

ImageBuffer Rotation(const ImageBuffer& image, int angle, int outWidth, int outHeight,
                     CorrectionSampling sampling, RowProgress* progress) {
    if (!StepInputUsable(image, outWidth, outHeight)) return {};
    const double radians = angle * kRadiansPerTenthDegree;
    const int c = static_cast<int>(std::cos(radians) * 1024);
    const int s = static_cast<int>(std::sin(radians) * 1024);
    const int bits = image.BitCount();
    ImageBuffer out = NewCanvas(bits, outWidth, outHeight);
    if (!out) return out;
    const Plane src = MakePlane(image);
    Dispatch(bits, sampling, [&]<int N, CorrectionSampling kMode>() {
        StepRows(outHeight, std::int64_t{outWidth} * outHeight, progress,
                 [&](int begin, int end) { RotateRows<N, kMode>(src, out, c, s, begin, end); });
    });
    return out;
}

// Rotation first, then the vertical-axis and the horizontal-axis perspective; a lone
// angle runs its own step only, no angle at all a plain rotation by 0.
ImageBuffer RunChain(const ImageBuffer& image, int rotation, int perspectiveV, int perspectiveH,
                     int outWidth, int outHeight, int halfFieldOfView, CorrectionSampling sampling,
                     const Progress& watcher = NoProgress()) {
    const int set = (rotation != 0) + (perspectiveV != 0) + (perspectiveH != 0);
    const int steps = set <= 1 ? 1 : 3;
    RowProgress rows(watcher, ProgressDirection::Writing, steps * std::max(outHeight, 1));
    RowProgress* progress = &rows;
    const auto finished = [&](ImageBuffer out) {
        if (rows.Cancelled()) return ImageBuffer{};
        rows.Finish();
        return out;
    };
    if (set == 1 && perspectiveV != 0)
        return finished(PerspectiveStep(Axis::Vertical, image, perspectiveV, halfFieldOfView,
                                        outWidth, outHeight, sampling, progress));
    if (set == 1 && perspectiveH != 0)
        return finished(PerspectiveStep(Axis::Horizontal, image, perspectiveH, halfFieldOfView,
                                        outWidth, outHeight, sampling, progress));
    ImageBuffer rotated = Rotation(image, rotation, outWidth, outHeight, sampling, progress);
    if (set <= 1 || !rotated) return finished(std::move(rotated));
    ImageBuffer vertical = PerspectiveStep(Axis::Vertical, rotated, perspectiveV, halfFieldOfView,
                                           outWidth, outHeight, sampling, progress);
    rotated.Reset();
    if (!vertical) return vertical;
    return finished(PerspectiveStep(Axis::Horizontal, vertical, perspectiveH, halfFieldOfView,
                                    outWidth, outHeight, sampling, progress));
}

}  // namespace

std::optional<PerspectiveSetup> ComputePerspectiveSetup(int angle, int halfFieldOfView, int along,
                                                        int across) {
    if (halfFieldOfView < 1 || halfFieldOfView > kMaxPerspectiveAngle) return std::nullopt;
    if (along < 1 || across < 1) return std::nullopt;
    const int theta = std::clamp(angle, -kMaxPerspectiveAngle, kMaxPerspectiveAngle);
    const double radians = theta * kRadiansPerTenthDegree;
    PerspectiveSetup ps;
    ps.c = static_cast<std::int64_t>(std::cos(radians) * 1024);
    ps.s = static_cast<std::int64_t>(std::sin(radians) * 1024);
    ps.t = static_cast<std::int64_t>(std::tan(halfFieldOfView * kRadiansPerTenthDegree) * 1024);
    if (ps.t <= 0) return std::nullopt;
    const std::int64_t a = along, b = across;
    ps.d = (a << 20) / ps.t;
    ps.bigP = ps.d - a * ps.s;
    ps.bigQ = ps.d + a * ps.s;
    ps.p = ps.bigP * ps.t / 1024;
    ps.q = ps.bigQ * ps.t / 1024;
    // An edge at or behind the eye: the projection has no picture there.
    if (ps.p <= 0 || ps.q <= 0) return std::nullopt;
    const double k = static_cast<double>(a * ps.c) * static_cast<double>(a) * 1024.0;
    ps.b = static_cast<std::int64_t>(k / static_cast<double>(ps.p));
    ps.kOverQ = static_cast<std::int64_t>(k / static_cast<double>(ps.q));
    ps.sigma = ps.b + ps.kOverQ;
    if (ps.sigma <= 0) return std::nullopt;
    ps.step = (a << 21) / ps.sigma;
    ps.g = ps.b - a * 1024;
    if (!Narrow(Wide{ps.step} * ps.g / 1024, ps.start)) return std::nullopt;
    const double mf = static_cast<double>(b) * static_cast<double>(a) * 1048576.0;
    ps.e = static_cast<std::int64_t>(mf / static_cast<double>(ps.p));
    ps.f = ps.e - static_cast<std::int64_t>(mf / static_cast<double>(ps.q));
    if (!Narrow(Wide{ps.f} * 1024 / ps.sigma, ps.delta)) return std::nullopt;
    if (!Narrow(ps.e - Wide{ps.delta} * ps.g / 1024, ps.depth0)) return std::nullopt;
    return ps;
}

ImageBuffer RotationStep(const ImageBuffer& image, int angle, int outWidth, int outHeight,
                         CorrectionSampling sampling) {
    return Rotation(image, angle, outWidth, outHeight, sampling, nullptr);
}

ImageBuffer PerspectiveVerticalStep(const ImageBuffer& image, int angle, int halfFieldOfView,
                                    int outWidth, int outHeight, CorrectionSampling sampling) {
    return PerspectiveStep(Axis::Vertical, image, angle, halfFieldOfView, outWidth, outHeight,
                           sampling);
}

ImageBuffer PerspectiveHorizontalStep(const ImageBuffer& image, int angle, int halfFieldOfView,
                                      int outWidth, int outHeight, CorrectionSampling sampling) {
    return PerspectiveStep(Axis::Horizontal, image, angle, halfFieldOfView, outWidth, outHeight,
                           sampling);
}

ImageBuffer CorrectionTransform(const ImageBuffer& image, int rotation, int perspectiveV,
                                int perspectiveH, int outWidth, int outHeight, int halfFieldOfView,
                                const Progress& progress) {
    if (!image || image.BitCount() != 24) return {};
    if (outWidth == 0 && outHeight == 0) {
        outWidth = image.Width();
        outHeight = image.Height();
    }
    return RunChain(image, rotation, perspectiveV, perspectiveH, outWidth, outHeight,
                    halfFieldOfView, CorrectionSampling::BilinearBlackFrame, progress);
}

ImageBuffer CorrectionTransform(const ImageBuffer& image, int rotation, int perspectiveV,
                                int perspectiveH, const Progress& progress) {
    return CorrectionTransform(image, rotation, perspectiveV, perspectiveH, 0, 0,
                               kDefaultHalfFieldOfView, progress);
}

ImageBuffer PreviewCorrection(const ImageBuffer& grey, int rotation, int perspectiveV,
                              int perspectiveH, bool nearest, int halfFieldOfView) {
    if (!grey || grey.BitCount() != 8) return {};
    return RunChain(grey, rotation, perspectiveV, perspectiveH, grey.Width(), grey.Height(),
                    halfFieldOfView,
                    nearest ? CorrectionSampling::Nearest : CorrectionSampling::Bilinear);
}

}  // namespace duplora
