#include "core/align/correction.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/align/preview.h"
#include "core/util/parallel.h"

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

// M[i][j] = trunc(i·j / 255): the bilinear weights without a division per pixel.
struct ProductTable {
    std::uint8_t m[256][256];
};

const ProductTable& Products() {
    static const ProductTable table = [] {
        ProductTable t;
        for (int i = 0; i < 256; ++i)
            for (int j = 0; j < 256; ++j) t.m[i][j] = static_cast<std::uint8_t>(i * j / 255);
        return t;
    }();
    return table;
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

// top = M[p10][fx] + M[p00][255 − fx], bottom likewise one row up, result =
// M[top][255 − fy] + M[bottom][fy]; M is symmetric, so the weight picks the table row.
// row0 holds p00 then p10, row1 p01 then p11.
template <int N>
inline void Bilinear(const ProductTable& table, const std::uint8_t* row0, const std::uint8_t* row1,
                     unsigned fx, unsigned fy, std::uint8_t* out) {
    const std::uint8_t* wx = table.m[fx];
    const std::uint8_t* wxInv = table.m[255 - fx];
    const std::uint8_t* wy = table.m[fy];
    const std::uint8_t* wyInv = table.m[255 - fy];
    for (int c = 0; c < N; ++c) {
        const unsigned top = (wx[row0[N + c]] + wxInv[row0[c]]) & 255;
        const unsigned bottom = (wx[row1[N + c]] + wxInv[row1[c]]) & 255;
        out[c] = static_cast<std::uint8_t>(wyInv[top] + wy[bottom]);
    }
}

// The neighbourhood of a start next to the picture's edge, with the outer frame read as
// black, so that a full-resolution view fades to black at its border.
template <int N>
void BilinearFramed(const Plane& src, const ProductTable& table, std::int64_t ix, std::int64_t iy,
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
    Bilinear<N>(table, rows[0], rows[1], fx, fy, out);
}

// Writes the value at a start inside [0, limitX) × [0, limitY).
template <int N, CorrectionSampling kMode>
inline void Sample(const Plane& src, const ProductTable& table, std::int64_t ix, std::int64_t iy,
                   unsigned fx, unsigned fy, std::uint8_t* out) {
    const std::uint8_t* p = src.pixels + iy * src.stride + ix * N;
    if constexpr (kMode == CorrectionSampling::Nearest) {
        for (int c = 0; c < N; ++c) out[c] = p[c];
    } else if constexpr (kMode == CorrectionSampling::Bilinear) {
        Bilinear<N>(table, p, p + src.stride, fx, fy, out);
    } else {
        if (static_cast<std::uint64_t>(ix - 1) < src.innerX &&
            static_cast<std::uint64_t>(iy - 1) < src.innerY) [[likely]] {
            Bilinear<N>(table, p, p + src.stride, fx, fy, out);
        } else {
            BilinearFramed<N>(src, table, ix, iy, fx, fy, out);
        }
    }
}

template <int N>
inline void Black(std::uint8_t* out) {
    for (int c = 0; c < N; ++c) out[c] = 0;
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

// ---- rotation ------------------------------------------------------------------

template <int N, CorrectionSampling kMode>
void RotateRows(const Plane& src, ImageBuffer& out, int c, int s, int rowBegin, int rowEnd) {
    const ProductTable& table = Products();
    const int outWidth = out.Width();
    const int ow = outWidth / 2, oh = out.Height() / 2;
    const int sw = src.width / 2, sh = src.height / 2;
    for (int y = rowBegin; y < rowEnd; ++y) {
        // Source position of output pixel (0, y) in 1/1024 pixel; every further column
        // adds (C, S). The magnitudes stay below 2^28 for pictures up to 65535 pixels.
        int sx = (sw << 10) - ow * c - (y - oh) * s;
        int sy = (sh << 10) - ow * s + (y - oh) * c;
        std::uint8_t* d = out.StoredRow(y);
        for (int x = 0; x < outWidth; ++x, d += N, sx += c, sy += s) {
            const int ix = sx >> 10, iy = sy >> 10;
            if (static_cast<std::uint64_t>(static_cast<std::int64_t>(ix)) < src.limitX &&
                static_cast<std::uint64_t>(static_cast<std::int64_t>(iy)) < src.limitY) {
                Sample<N, kMode>(src, table, ix, iy, static_cast<unsigned>(sx & 1023) >> 2,
                                 static_cast<unsigned>(sy & 1023) >> 2, d);
            } else {
                Black<N>(d);
            }
        }
    }
}

// ---- perspective -----------------------------------------------------------------

// One output line across the turning axis: a column for the vertical axis, a row for the
// horizontal one. It reads source line `index` (with 8-bit fraction `fraction`) along the
// axis, and across it from crossStart stepping crossStep (1/16384 pixel) per output pixel.
struct PerspectiveLine {
    std::int64_t index = -1;  // -1: no source, the line stays black
    unsigned fraction = 0;
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
    line.index = static_cast<std::int64_t>(index);
    line.fraction = static_cast<unsigned>(static_cast<std::int64_t>(pos) & 1023) >> 2;
    line.crossStart = (std::int64_t{acrossHalf} << 14) - static_cast<std::int64_t>(v);
    line.crossStep = static_cast<std::int64_t>(2 * v / acrossSize);
    return line;
}

template <int N, CorrectionSampling kMode>
void PerspectiveVerticalRows(const Plane& src, ImageBuffer& out,
                             const std::vector<PerspectiveLine>& columns, int offsetY, int rowBegin,
                             int rowEnd) {
    const ProductTable& table = Products();
    const int outWidth = out.Width();
    // Each column walks its own source rows; the band keeps their positions.
    std::vector<std::int64_t> sy(static_cast<std::size_t>(outWidth));
    for (int i = 0; i < outWidth; ++i)
        sy[i] = columns[i].crossStart + std::int64_t{rowBegin - offsetY} * columns[i].crossStep;
    for (int j = rowBegin; j < rowEnd; ++j) {
        std::uint8_t* d = out.StoredRow(j);
        for (int i = 0; i < outWidth; ++i, d += N) {
            const PerspectiveLine& col = columns[i];
            const std::int64_t pos = sy[i];
            sy[i] = pos + col.crossStep;
            const std::int64_t iy = pos >> 14;
            if (col.index >= 0 && static_cast<std::uint64_t>(iy) < src.limitY) {
                Sample<N, kMode>(src, table, col.index, iy, col.fraction,
                                 static_cast<unsigned>(pos & 16383) >> 6, d);
            } else {
                Black<N>(d);
            }
        }
    }
}

template <int N, CorrectionSampling kMode>
void PerspectiveHorizontalRows(const Plane& src, ImageBuffer& out, const PerspectiveSetup& ps,
                               int offsetX, int offsetY, int rowBegin, int rowEnd) {
    const ProductTable& table = Products();
    const int outWidth = out.Width();
    for (int j = rowBegin; j < rowEnd; ++j) {
        const PerspectiveLine row = LineAt(ps, j - offsetY, src.height, src.width / 2, src.width);
        std::uint8_t* d = out.StoredRow(j);
        if (row.index < 0) {
            std::memset(d, 0, static_cast<std::size_t>(outWidth) * N);
            continue;
        }
        std::int64_t sx = row.crossStart + std::int64_t{-offsetX} * row.crossStep;
        for (int i = 0; i < outWidth; ++i, d += N, sx += row.crossStep) {
            const std::int64_t ix = sx >> 14;
            if (static_cast<std::uint64_t>(ix) < src.limitX) {
                Sample<N, kMode>(src, table, ix, row.index, static_cast<unsigned>(sx & 16383) >> 6,
                                 row.fraction, d);
            } else {
                Black<N>(d);
            }
        }
    }
}

enum class Axis { Vertical, Horizontal };

ImageBuffer PerspectiveStep(Axis axis, const ImageBuffer& image, int angle, int halfFieldOfView,
                            int outWidth, int outHeight, CorrectionSampling sampling) {
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
            ParallelRows(outHeight, pixels, [&](int begin, int end) {
                PerspectiveVerticalRows<N, kMode>(src, out, columns, offsetY, begin, end);
            });
        });
    } else {
        Dispatch(bits, sampling, [&]<int N, CorrectionSampling kMode>() {
            ParallelRows(outHeight, pixels, [&](int begin, int end) {
                PerspectiveHorizontalRows<N, kMode>(src, out, *ps, offsetX, offsetY, begin, end);
            });
        });
    }
    return out;
}

// Rotation first, then the vertical-axis and the horizontal-axis perspective; a lone
// angle runs its own step only, no angle at all a plain rotation by 0.
ImageBuffer RunChain(const ImageBuffer& image, int rotation, int perspectiveV, int perspectiveH,
                     int outWidth, int outHeight, int halfFieldOfView,
                     CorrectionSampling sampling) {
    const int set = (rotation != 0) + (perspectiveV != 0) + (perspectiveH != 0);
    if (set == 1 && perspectiveV != 0)
        return PerspectiveVerticalStep(image, perspectiveV, halfFieldOfView, outWidth, outHeight,
                                       sampling);
    if (set == 1 && perspectiveH != 0)
        return PerspectiveHorizontalStep(image, perspectiveH, halfFieldOfView, outWidth, outHeight,
                                         sampling);
    ImageBuffer rotated = RotationStep(image, rotation, outWidth, outHeight, sampling);
    if (set <= 1 || !rotated) return rotated;
    ImageBuffer vertical = PerspectiveVerticalStep(rotated, perspectiveV, halfFieldOfView, outWidth,
                                                   outHeight, sampling);
    rotated.Reset();
    if (!vertical) return vertical;
    return PerspectiveHorizontalStep(vertical, perspectiveH, halfFieldOfView, outWidth, outHeight,
                                     sampling);
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
    if (!StepInputUsable(image, outWidth, outHeight)) return {};
    const double radians = angle * kRadiansPerTenthDegree;
    const int c = static_cast<int>(std::cos(radians) * 1024);
    const int s = static_cast<int>(std::sin(radians) * 1024);
    const int bits = image.BitCount();
    ImageBuffer out = NewCanvas(bits, outWidth, outHeight);
    if (!out) return out;
    const Plane src = MakePlane(image);
    Dispatch(bits, sampling, [&]<int N, CorrectionSampling kMode>() {
        ParallelRows(outHeight, std::int64_t{outWidth} * outHeight,
                     [&](int begin, int end) { RotateRows<N, kMode>(src, out, c, s, begin, end); });
    });
    return out;
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
                                int perspectiveH, int outWidth, int outHeight,
                                int halfFieldOfView) {
    if (!image || image.BitCount() != 24) return {};
    if (outWidth == 0 && outHeight == 0) {
        outWidth = image.Width();
        outHeight = image.Height();
    }
    return RunChain(image, rotation, perspectiveV, perspectiveH, outWidth, outHeight,
                    halfFieldOfView, CorrectionSampling::BilinearBlackFrame);
}

ImageBuffer PreviewCorrection(const ImageBuffer& grey, int rotation, int perspectiveV,
                              int perspectiveH, bool nearest, int halfFieldOfView) {
    if (!grey || grey.BitCount() != 8) return {};
    return RunChain(grey, rotation, perspectiveV, perspectiveH, grey.Width(), grey.Height(),
                    halfFieldOfView,
                    nearest ? CorrectionSampling::Nearest : CorrectionSampling::Bilinear);
}

}  // namespace duplora
