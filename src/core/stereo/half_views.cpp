#include "core/stereo/half_views.h"

#include <algorithm>
#include <cstdint>

#include "core/util/parallel.h"

namespace duplora {

namespace {

inline std::uint8_t Mean(std::uint8_t a, std::uint8_t b) {
    return static_cast<std::uint8_t>((a + b + 1) >> 1);
}

// Each row's two halves, each of `view` pixels, into `half` = view / 2 pixels each.
ImageBuffer HalveSideBySide(const ImageBuffer& picture) {
    const int view = picture.Width() / 2, half = view / 2, height = picture.Height();
    if (half < 1) return {};
    ImageBuffer out = CreateImageForOverwrite(2 * half, height, 24);
    if (!out) return out;
    ParallelRows(height, std::int64_t{2} * half * height, [&](int begin, int end) {
        for (int r = begin; r < end; ++r) {
            const std::uint8_t* __restrict in = picture.StoredRow(r);
            std::uint8_t* __restrict d = out.StoredRow(r);
            for (int v = 0; v < 2; ++v) {
                const std::uint8_t* s = in + static_cast<std::size_t>(v) * view * 3;
                std::uint8_t* o = d + static_cast<std::size_t>(v) * half * 3;
                for (int x = 0; x < half; ++x, s += 6, o += 3) {
                    o[0] = Mean(s[0], s[3]);
                    o[1] = Mean(s[1], s[4]);
                    o[2] = Mean(s[2], s[5]);
                }
            }
        }
    });
    return out;
}

// The upper and lower half, each of `view` rows, into `half` rows each; rows pair from
// the top of each view.
ImageBuffer HalveOverUnder(const ImageBuffer& picture) {
    const int view = picture.Height() / 2, half = view / 2, width = picture.Width();
    if (half < 1) return {};
    ImageBuffer out = CreateImageForOverwrite(width, 2 * half, 24);
    if (!out) return out;
    const std::size_t bytes = static_cast<std::size_t>(width) * 3;
    // Output line y (from the top) of view v is the mean of that view's lines 2y, 2y + 1.
    ParallelRows(2 * half, std::int64_t{width} * 2 * half, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const int v = y / half, k = y % half;
            const std::uint8_t* __restrict a = picture.Line(v * view + 2 * k);
            const std::uint8_t* __restrict b = picture.Line(v * view + 2 * k + 1);
            std::uint8_t* __restrict d = out.Line(y);
            for (std::size_t i = 0; i < bytes; ++i) d[i] = Mean(a[i], b[i]);
        }
    });
    return out;
}

inline std::uint8_t Quarter(std::uint8_t near, std::uint8_t far) {
    return static_cast<std::uint8_t>((3 * near + far + 2) >> 2);
}

ImageBuffer StretchWidth(const ImageBuffer& view) {
    const int width = view.Width(), height = view.Height();
    ImageBuffer out = CreateImageForOverwrite(2 * width, height, 24);
    if (!out) return out;
    ParallelRows(height, std::int64_t{2} * width * height, [&](int begin, int end) {
        for (int r = begin; r < end; ++r) {
            const std::uint8_t* __restrict s = view.StoredRow(r);
            std::uint8_t* __restrict o = out.StoredRow(r);
            for (int x = 0; x < width; ++x, s += 3, o += 6) {
                const std::uint8_t* before = x > 0 ? s - 3 : s;
                const std::uint8_t* after = x + 1 < width ? s + 3 : s;
                for (int c = 0; c < 3; ++c) {
                    o[c] = Quarter(s[c], before[c]);
                    o[3 + c] = Quarter(s[c], after[c]);
                }
            }
        }
    });
    return out;
}

// Rows counted from the top, as the halving pairs them.
ImageBuffer StretchHeight(const ImageBuffer& view) {
    const int width = view.Width(), height = view.Height();
    ImageBuffer out = CreateImageForOverwrite(width, 2 * height, 24);
    if (!out) return out;
    const std::size_t bytes = static_cast<std::size_t>(width) * 3;
    ParallelRows(2 * height, std::int64_t{width} * 2 * height, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const int k = y / 2;
            const int neighbour = y % 2 == 0 ? std::max(k - 1, 0) : std::min(k + 1, height - 1);
            const std::uint8_t* __restrict s = view.Line(k);
            const std::uint8_t* __restrict n = view.Line(neighbour);
            std::uint8_t* __restrict d = out.Line(y);
            for (std::size_t i = 0; i < bytes; ++i) d[i] = Quarter(s[i], n[i]);
        }
    });
    return out;
}

}  // namespace

ImageBuffer HalveViews(const ImageBuffer& picture, bool sideBySide) {
    if (!picture || picture.BitCount() != 24) return {};
    return sideBySide ? HalveSideBySide(picture) : HalveOverUnder(picture);
}

ImageBuffer StretchView(const ImageBuffer& view, bool widthwise) {
    if (!view || view.BitCount() != 24) return {};
    return widthwise ? StretchWidth(view) : StretchHeight(view);
}

}  // namespace duplora
