#include "core/align/preview.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/image/luminance.h"
#include "core/util/parallel.h"

namespace duplora {
namespace {

void WriteGreyPalette(ImageBuffer& image, int entries, int step) {
    std::uint8_t* table = image.ColourTable();
    for (int i = 0; i < entries; ++i) {
        const auto v = static_cast<std::uint8_t>(i * step);
        table[4 * i] = table[4 * i + 1] = table[4 * i + 2] = v;
        table[4 * i + 3] = 0;
    }
}

// trunc(hypot(i − 256, j − 256)): the gradient magnitude of the edge view, built once.
const std::uint16_t* MagnitudeTable() {
    static const std::vector<std::uint16_t> table = [] {
        std::vector<std::uint16_t> t(512 * 512);
        for (int i = 0; i < 512; ++i)
            for (int j = 0; j < 512; ++j)
                t[i * 512 + j] = static_cast<std::uint16_t>(std::hypot(i - 256.0, j - 256.0));
        return t;
    }();
    return table.data();
}

}  // namespace

ImageBuffer CreateGreyImageForOverwrite(int width, int height) {
    ImageBuffer image = CreateImageForOverwrite(width, height, 8);
    if (image) WriteGreyPalette(image, 256, 1);
    return image;
}

ImageBuffer PreviewGrey(const ImageBuffer& image, int levels) {
    if (!image || image.BitCount() != 24 || (levels != 256 && levels != 16)) return {};
    const int w = image.Width(), h = image.Height();
    const LuminanceTables& t = GetLuminanceTables();
    ImageBuffer out;
    if (levels == 256) {
        out = CreateGreyImageForOverwrite(w, h);
    } else {
        out = CreateImageForOverwrite(w, h, 4);
        if (out) WriteGreyPalette(out, 16, 255 / 15);
    }
    if (!out) return out;
    ParallelRows(h, std::int64_t{w} * h, [&](int begin, int end) {
        for (int r = begin; r < end; ++r) {
            const std::uint8_t* s = image.StoredRow(r);
            std::uint8_t* d = out.StoredRow(r);
            if (levels == 256) {
                for (int x = 0; x < w; ++x, s += 3)
                    d[x] = static_cast<std::uint8_t>(Luminance(t, s[0], s[1], s[2]));
            } else {
                for (int x = 0; x < w; x += 2, s += 6) {
                    const int high = Luminance(t, s[0], s[1], s[2]) >> 4;
                    const int low = x + 1 < w ? Luminance(t, s[3], s[4], s[5]) >> 4 : 0;
                    d[x / 2] = static_cast<std::uint8_t>(high << 4 | low);
                }
            }
        }
    });
    return out;
}

ImageBuffer PreviewScale(const ImageBuffer& grey, int percent) {
    if (!grey || grey.BitCount() != 8 || percent < 0) return {};
    const std::int64_t w = grey.Width(), h = grey.Height();
    // Source column of each output column and source row of each output row; -1 is black.
    std::vector<int> column(static_cast<std::size_t>(w), -1), row(static_cast<std::size_t>(h), -1);
    if (percent > 100) {
        // Enlarged: the visible window is the central w·100/s × h·100/s; the last output
        // row and column stay black.
        const std::int64_t ws = w * 100 / percent, hs = h * 100 / percent;
        for (std::int64_t c = 0; c < w - 1; ++c)
            column[c] = static_cast<int>(c * ws / w + (w - ws) / 2);
        for (std::int64_t r = 0; r < h - 1; ++r)
            row[r] = static_cast<int>(r * hs / h + (h - hs) / 2);
    } else {
        // Reduced: every source pixel lands on its place in the centred smaller picture,
        // and where several land on one, the last (the highest column and row) wins.
        const std::int64_t ws = w * percent / 100, hs = h * percent / 100;
        for (std::int64_t j = 0; j < w; ++j)
            column[j * ws / w + (w - ws) / 2] = static_cast<int>(j);
        for (std::int64_t i = 0; i < h; ++i) row[i * hs / h + (h - hs) / 2] = static_cast<int>(i);
    }
    ImageBuffer out = CreateGreyImageForOverwrite(static_cast<int>(w), static_cast<int>(h));
    if (!out) return out;
    for (int r = 0; r < h; ++r) {
        std::uint8_t* d = out.StoredRow(r);
        if (row[r] < 0) {
            std::memset(d, 0, static_cast<std::size_t>(w));
            continue;
        }
        const std::uint8_t* s = grey.StoredRow(row[r]);
        for (int c = 0; c < w; ++c) d[c] = column[c] < 0 ? 0 : s[column[c]];
    }
    return out;
}

PreviewComposition PreviewCompose(const ImageBuffer& left, const ImageBuffer& right, int dx, int dy,
                                  int mode) {
    PreviewComposition result;
    if (!left || !right || left.BitCount() != 8 || right.BitCount() != 8) return result;
    if (mode < 0 || mode > 3) return result;
    const bool showLeft = mode != 2, showRight = mode != 1;
    const int w = std::min(left.Width(), right.Width());
    const int h = std::min(left.Height(), right.Height());
    // At least 10 pixels stay in each direction (all of a smaller picture).
    const std::int64_t limitX = std::max(w - 10, 0), limitY = std::max(h - 10, 0);
    const std::int64_t sx = std::clamp<std::int64_t>(dx, -limitX, limitX);
    const std::int64_t sy = std::clamp<std::int64_t>(dy, -limitY, limitY);
    result.leftCutX = static_cast<int>(std::max<std::int64_t>(sx, 0));
    result.leftCutY = static_cast<int>(std::max<std::int64_t>(sy, 0));
    result.rightCutX = static_cast<int>(std::max<std::int64_t>(-sx, 0));
    result.rightCutY = static_cast<int>(std::max<std::int64_t>(-sy, 0));
    const int outW = w - static_cast<int>(std::abs(sx)), outH = h - static_cast<int>(std::abs(sy));
    result.image = CreateImageForOverwrite(outW, outH, 24);
    if (!result.image) return result;
    for (int y = 0; y < outH; ++y) {
        const std::uint8_t* l = left.StoredRow(y + result.leftCutY) + result.leftCutX;
        const std::uint8_t* r = right.StoredRow(y + result.rightCutY) + result.rightCutX;
        std::uint8_t* d = result.image.StoredRow(y);
        for (int x = 0; x < outW; ++x, d += 3) {
            const std::uint8_t cyan = showRight ? r[x] : 0;
            d[0] = d[1] = cyan;
            d[2] = showLeft ? static_cast<std::uint8_t>(std::min(255, l[x] + 32)) : 32;
        }
    }
    return result;
}

ImageBuffer EdgeView(const ImageBuffer& image, int threshold, const EdgeViewProgress& progress) {
    if (!image || image.BitCount() != 24) return {};
    threshold = std::clamp(threshold, 1, 254);
    const int w = image.Width(), h = image.Height();
    ImageBuffer out = CreateGreyImageForOverwrite(w, h);
    if (!out) return out;
    const std::ptrdiff_t stride = w;
    const std::int64_t pixels = std::int64_t{w} * h;

    std::vector<std::uint8_t> grey(static_cast<std::size_t>(pixels));
    const LuminanceTables& t = GetLuminanceTables();
    ParallelRows(h, pixels, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const std::uint8_t* s = image.StoredRow(y);
            std::uint8_t* g = grey.data() + y * stride;
            for (int x = 0; x < w; ++x, s += 3)
                g[x] = static_cast<std::uint8_t>(Luminance(t, s[0], s[1], s[2]));
        }
    });

    // Sign of the 5 × 5 line filter; 0 outside the area it is computed on.
    std::vector<std::int8_t> sign(static_cast<std::size_t>(pixels), 0);
    auto filterRows = [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const std::uint8_t* r0 = grey.data() + (y - 2) * stride;
            const std::uint8_t* r1 = r0 + stride;
            const std::uint8_t* r2 = r1 + stride;
            const std::uint8_t* r3 = r2 + stride;
            const std::uint8_t* r4 = r3 + stride;
            std::int8_t* out = sign.data() + y * stride;
            for (int x = 2; x < w - 2; ++x) {
                const int l = -r0[x - 1] - 3 * r0[x] - r0[x + 1]                       //
                              - r1[x - 2] - 2 * r1[x - 1] + 2 * r1[x] - 2 * r1[x + 1]  //
                              - r1[x + 2]                                              //
                              - 3 * r2[x - 2] + 2 * r2[x - 1] + 20 * r2[x]             //
                              + 2 * r2[x + 1] - 3 * r2[x + 2]                          //
                              - r3[x - 2] - 2 * r3[x - 1] + 2 * r3[x] - 2 * r3[x + 1]  //
                              - r3[x + 2]                                              //
                              - r4[x - 1] - 3 * r4[x] - r4[x + 1];
                out[x] = static_cast<std::int8_t>((l > 0) - (l < 0));
            }
        }
    };
    // In tenths, so that the caller can show how far it got.
    const int first = 2, last = std::max(h - 2, 2);
    for (int tens = 0; tens < 10; ++tens) {
        const int begin = std::max(first, static_cast<int>((std::int64_t{h} * tens + 9) / 10));
        const int end = std::min(last, static_cast<int>((std::int64_t{h} * (tens + 1) + 9) / 10));
        if (tens > 0 && progress) progress(tens);
        if (begin < end)
            ParallelRows(end - begin, std::int64_t{end - begin} * w,
                         [&](int b, int e) { filterRows(begin + b, begin + e); });
    }

    const std::uint16_t* magnitude = MagnitudeTable();
    ParallelRows(h, pixels, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            std::uint8_t* d = out.StoredRow(y);
            std::memset(d, 255, static_cast<std::size_t>(w));
            if (y < 2 || y >= h - 2) continue;
            const std::uint8_t* g = grey.data() + y * stride;
            const std::int8_t* s = sign.data() + y * stride;
            for (int x = 2; x < w - 2; ++x) {
                const int around[5] = {s[x], s[x - 1], s[x + 1], s[x - stride], s[x + stride]};
                bool positive = false, negative = false;
                for (int v : around) {
                    positive |= v > 0;
                    negative |= v < 0;
                }
                if (!positive || !negative) continue;
                const int gx = g[x + 1] - g[x - 1] + 256;
                const int gy = g[x + stride] - g[x - stride] + 256;
                if (magnitude[gx * 512 + gy] > threshold) d[x] = 0;
            }
        }
    });
    return out;
}

}  // namespace duplora
