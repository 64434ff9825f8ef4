#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "core/image/filter.h"
#include "core/image/luminance_row.h"
#include "core/util/parallel.h"
#include "core/util/row_progress.h"

namespace duplora {

const EdgeMagnitudeTable& GetEdgeMagnitudeTable() {
    static const std::unique_ptr<EdgeMagnitudeTable> table = [] {
        auto t = std::make_unique<EdgeMagnitudeTable>();
        constexpr int kNever = std::numeric_limits<std::int32_t>::max();
        // Least gx² + gy² per magnitude, then per threshold the least over all
        // magnitudes above it.
        std::vector<std::int32_t> least(512, kNever);
        for (int gx = -256; gx < 256; ++gx)
            for (int gy = -256; gy < 256; ++gy) {
                const int m = static_cast<int>(std::hypot(gx, gy));
                t->magnitude[(gx + 256) * EdgeMagnitudeTable::kSide + (gy + 256)] =
                    static_cast<std::uint16_t>(m);
                least[m] = std::min(least[m], gx * gx + gy * gy);
            }
        std::int32_t above = kNever;
        for (int m = 511; m > 0; --m) {
            above = std::min(above, least[m]);
            if (m <= 256) t->squareLimit[m - 1] = above;
        }
        return t;
    }();
    return *table;
}

namespace {

// Sign of the Laplacian per pixel: bit 0 positive, bit 1 negative, 0 for zero and for
// every pixel outside the computed region. A pixel is a zero crossing when its own and
// its four neighbours' signs together have both bits.
constexpr std::uint8_t kPositive = 1, kNegative = 2, kBothSigns = 3;

// Works through a band of output rows with rolling rows of luminance and Laplacian
// signs, so that no whole-picture work planes are needed and the rows stay in cache.
class EdgeBand {
  public:
    EdgeBand(const ImageBuffer& image, ImageBuffer& out, int threshold)
        : image_(image),
          out_(out),
          width_(image.Width()),
          height_(image.Height()),
          squareLimit_(GetEdgeMagnitudeTable().squareLimit[threshold]),
          luma_(kLumaRows * static_cast<std::size_t>(width_)),
          signs_(kSignRows * static_cast<std::size_t>(width_)),
          value_(static_cast<std::size_t>(width_), 255),
          outer_(static_cast<std::size_t>(width_)),
          inner_(static_cast<std::size_t>(width_)),
          centre_(static_cast<std::size_t>(width_)) {}

    // Output rows [begin, end), all within 2 … height − 3 (top-down).
    void Run(int begin, int end, RowProgress& progress) {
        nextLuma_ = std::max(begin - 3, 0);
        nextSign_ = begin - 1;
        for (int y = begin; y < end; ++y) {
            if (progress.Cancelled()) return;
            while (nextLuma_ <= std::min(y + 3, height_ - 1)) LumaRow(nextLuma_++);
            while (nextSign_ <= y + 1) SignRow(nextSign_++);
            OutputRow(y);
            progress.RowDone();
        }
    }

  private:
    static constexpr int kLumaRows = 8, kSignRows = 4;

    std::uint8_t* Luma(int y) {
        return &luma_[static_cast<std::size_t>(y & (kLumaRows - 1)) * width_];
    }
    std::uint8_t* Signs(int y) {
        return &signs_[static_cast<std::size_t>(y & (kSignRows - 1)) * width_];
    }

    void LumaRow(int y) { LuminanceRow(image_.Line(y), Luma(y), width_); }

    // The 5 × 5 kernel is symmetric, so it is applied as three column sums per pixel
    // (weights of the kernel's columns 0, ±1 and ±2 on the vertical neighbourhood),
    // then added across. |L| ≤ 28 · 255 fits 16 bits.
    void SignRow(int y) {
        std::uint8_t* s = Signs(y);
        if (y < 2 || y > height_ - 3) {
            std::memset(s, 0, static_cast<std::size_t>(width_));
            return;
        }
        const std::uint8_t* __restrict r0 = Luma(y - 2);
        const std::uint8_t* __restrict r1 = Luma(y - 1);
        const std::uint8_t* __restrict r2 = Luma(y);
        const std::uint8_t* __restrict r3 = Luma(y + 1);
        const std::uint8_t* __restrict r4 = Luma(y + 2);
        std::int16_t* __restrict w0 = centre_.data();
        std::int16_t* __restrict w1 = inner_.data();
        std::int16_t* __restrict w2 = outer_.data();
        for (int x = 0; x < width_; ++x) {
            const std::int16_t a = static_cast<std::int16_t>(r0[x] + r4[x]);
            const std::int16_t b = static_cast<std::int16_t>(r1[x] + r3[x]);
            const std::int16_t c = r2[x];
            w0[x] = static_cast<std::int16_t>(20 * c + 2 * b - 3 * a);
            w1[x] = static_cast<std::int16_t>(2 * c - 2 * b - a);
            w2[x] = static_cast<std::int16_t>(-3 * c - b);
        }
        s[0] = s[1] = s[width_ - 2] = s[width_ - 1] = 0;
        std::uint8_t* __restrict sd = s;
        for (int x = 2; x < width_ - 2; ++x) {
            const std::int16_t l =
                static_cast<std::int16_t>(w0[x] + w1[x - 1] + w1[x + 1] + w2[x - 2] + w2[x + 2]);
            sd[x] = static_cast<std::uint8_t>((l > 0 ? kPositive : 0) | (l < 0 ? kNegative : 0));
        }
    }

    // Decides a whole row into 0 (edge) or 255, then spreads each to three bytes.
    void OutputRow(int y) {
        const std::uint8_t* __restrict up = Signs(y - 1);
        const std::uint8_t* __restrict mid = Signs(y);
        const std::uint8_t* __restrict down = Signs(y + 1);
        const std::uint8_t* __restrict above = Luma(y - 1);
        const std::uint8_t* __restrict row = Luma(y);
        const std::uint8_t* __restrict below = Luma(y + 1);
        std::uint8_t* __restrict value = value_.data();
        const std::int32_t limit = squareLimit_;
        for (int x = 2; x < width_ - 2; ++x) {
            const std::uint8_t signs = mid[x] | mid[x - 1] | mid[x + 1] | up[x] | down[x];
            const std::int16_t gx = static_cast<std::int16_t>(row[x + 1] - row[x - 1]);
            const std::int16_t gy = static_cast<std::int16_t>(below[x] - above[x]);
            const std::int32_t square = std::int32_t{gx} * gx + std::int32_t{gy} * gy;
            const bool edge = (signs == kBothSigns) & (square >= limit);
            value[x] = edge ? 0 : 255;
        }
        std::uint8_t* o = out_.Line(y);
        // Four bytes per pixel, the fourth overwritten by the next pixel.
        for (int x = 0; x < width_ - 1; ++x) {
            const std::uint32_t word = value[x] ? 0xFFFFFFFFu : 0u;
            std::memcpy(o + 3 * x, &word, 4);
        }
        std::memset(o + 3 * (width_ - 1), 255, 3);
    }

    const ImageBuffer& image_;
    ImageBuffer& out_;
    const int width_, height_;
    const std::int32_t squareLimit_;
    std::vector<std::uint8_t> luma_, signs_, value_;
    std::vector<std::int16_t> outer_, inner_, centre_;
    int nextLuma_ = 0, nextSign_ = 0;
};

}  // namespace

ImageBuffer DetectEdges(const ImageBuffer& image, int threshold, const Progress& progress) {
    if (!image || image.BitCount() != 24) return {};
    const int width = image.Width(), height = image.Height();
    if (width <= 0 || height <= 0) return {};
    ImageBuffer out = CreateImageForOverwrite(width, height, 24);
    if (!out) return out;
    const int t = std::clamp(threshold, 1, 254);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;

    // The two outermost rows on each side are white; so is everything when no pixel
    // has the full 5 × 5 neighbourhood.
    const bool interior = width >= 5 && height >= 5;
    for (int y = 0; y < height; ++y)
        if (!interior || y < 2 || y > height - 3) std::memset(out.Line(y), 255, rowBytes);
    if (!interior) return out;

    RowProgress rows(progress, ProgressDirection::Writing, height - 3, 1);
    ParallelRows(height - 4, std::int64_t{width} * height, [&](int begin, int end) {
        EdgeBand band(image, out, t);
        band.Run(begin + 2, end + 2, rows);
    });
    if (rows.Cancelled()) return {};
    rows.Finish();
    return out;
}

}  // namespace duplora
