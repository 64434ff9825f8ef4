#include "core/image/resample.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "core/image/convert.h"
#include "core/image/geometry.h"
#include "core/util/parallel.h"

namespace duplora {
namespace {

// The divisions of the rule are done by multiplying with a reciprocal. For a box of d
// pixels the sum n is at most 255 × d; with m = floor(2^s / d) + 1, (n × m) >> s equals
// n / d whenever n × d < 2^s. s = 16 covers boxes up to 16 pixels in 16-bit lanes,
// s = 24 boxes up to 256 in 32 bits, s = 40 every box up to 65535 in 64 bits.
constexpr int kSmallShift = 16;
constexpr int kSmallBoxLimit = 16;
constexpr int kShortShift = 24;
constexpr int kShortBoxLimit = 256;
constexpr int kLongShift = 40;

// Interpolation step t of n: ((a × t) / n) for a in 0…255 equals (a × W) >> s with
// W = floor(t × 2^s / n) + 1 whenever 255 × n < 2^s. s = 16 covers segments of up to
// 257 steps in 16-bit lanes, s = 24 every segment up to 65534 in 32 bits.
constexpr int kNarrowWeightShift = 16;
constexpr int kWideWeightShift = 24;
constexpr int kNarrowSegmentLimit = 257;

template <typename T>
T Reciprocal(int shift, std::uint64_t d) {
    return static_cast<T>(((std::uint64_t{1} << shift) / d) + 1);
}

// How one axis of length `from` becomes length `to`.
// Shrinking: output j is the mean of the box first[j] … first[j] + count[j] − 1.
// Enlarging: output j is source(first[j]) + ((source(next[j]) − source(first[j])) × t) / n,
// kept as the weight of step t of n; the last step of a segment, which lands exactly on
// the next source pixel, is a plain copy of it (first = next, weight 0).
struct AxisPlan {
    bool enlarge = false;
    bool identity = false;
    int span = 0;      // largest box, or largest number of steps in a segment
    int smallest = 0;  // smallest box after the first one
    std::vector<int> first, next, count;
    std::vector<std::uint16_t> smallReciprocal;  // 0 for a box of one pixel
    std::vector<std::uint32_t> shortReciprocal;
    std::vector<std::uint64_t> longReciprocal;
    std::vector<std::uint16_t> narrowWeight;
    std::vector<std::uint32_t> wideWeight;
    // Per output byte (three per pixel), for the row-wise passes.
    std::vector<std::uint16_t> byteFactor;
    // Shrinking with small boxes: where each output pixel's box sum is gathered from.
    std::vector<std::uint32_t> gatherOffset;

    bool SmallBoxes() const { return span <= kSmallBoxLimit; }
    bool ShortBoxes() const { return span <= kShortBoxLimit; }
    bool NarrowSegments() const { return span <= kNarrowSegmentLimit; }
};

AxisPlan PlanAxis(int from, int to) {
    AxisPlan plan;
    const auto n = static_cast<std::size_t>(to);
    plan.first.resize(n);
    if (to <= from) {
        plan.count.resize(n);
        plan.smallReciprocal.resize(n);
        plan.shortReciprocal.resize(n);
        plan.longReciprocal.resize(n);
        plan.identity = to == from;
        plan.smallest = from;
        // Output j takes the source pixels after the previous boundary up to and
        // including (j × from) / to; the boundaries grow by at least one per step.
        std::int64_t previous = -1;
        for (std::size_t j = 0; j < n; ++j) {
            const std::int64_t end = static_cast<std::int64_t>(j) * from / to;
            const auto d = static_cast<int>(end - previous);
            plan.first[j] = static_cast<int>(previous + 1);
            plan.count[j] = d;
            if (d > 1 && d <= kSmallBoxLimit)
                plan.smallReciprocal[j] = Reciprocal<std::uint16_t>(kSmallShift, d);
            plan.shortReciprocal[j] = Reciprocal<std::uint32_t>(kShortShift, d);
            plan.longReciprocal[j] = Reciprocal<std::uint64_t>(kLongShift, d);
            plan.span = std::max(plan.span, d);
            if (j > 0) plan.smallest = std::min(plan.smallest, d);
            previous = end;
        }
        if (plan.SmallBoxes()) {
            // Boxes after the first hold `smallest` or `smallest` + 1 pixels; their sums
            // come from one of two rows of sliding sums (see ShrinkRow).
            plan.byteFactor.resize(n * 3);
            plan.gatherOffset.resize(n);
            const std::size_t second = static_cast<std::size_t>(from) * 3 + 8;
            for (std::size_t j = 0; j < n; ++j) {
                for (int c = 0; c < 3; ++c) plan.byteFactor[j * 3 + c] = plan.smallReciprocal[j];
                plan.gatherOffset[j] = static_cast<std::uint32_t>(
                    (plan.count[j] == plan.smallest ? 0 : second) + plan.first[j] * 3);
            }
        }
        return plan;
    }
    plan.enlarge = true;
    plan.next.resize(n);
    plan.narrowWeight.resize(n);
    plan.wideWeight.resize(n);
    // Output 0 is source 0; with a single source pixel there is nothing to interpolate
    // between, so every output repeats it (the segment rule would divide by zero).
    if (from > 1) {
        std::int64_t written = 0;
        for (int k = 0; k + 1 < from; ++k) {
            const std::int64_t end = static_cast<std::int64_t>(k + 1) * (to - 1) / (from - 1);
            const std::int64_t steps = end - written;
            plan.span = static_cast<int>(std::max<std::int64_t>(plan.span, steps));
            for (std::int64_t t = 1; t <= steps; ++t) {
                const auto j = static_cast<std::size_t>(written + t);
                if (t == steps) {
                    plan.first[j] = plan.next[j] = k + 1;
                    continue;
                }
                plan.first[j] = k;
                plan.next[j] = k + 1;
                if (steps <= kNarrowSegmentLimit)
                    plan.narrowWeight[j] =
                        static_cast<std::uint16_t>(((t << kNarrowWeightShift) / steps) + 1);
                plan.wideWeight[j] =
                    static_cast<std::uint32_t>(((t << kWideWeightShift) / steps) + 1);
            }
            written = end;
        }
    }
    if (plan.NarrowSegments()) {
        plan.byteFactor.resize(n * 3);
        for (std::size_t j = 0; j < n; ++j)
            for (int c = 0; c < 3; ++c) plan.byteFactor[j * 3 + c] = plan.narrowWeight[j];
    }
    return plan;
}

// a + sign(b − a) × ((|b − a| × w) >> shift): a + ((b − a) × t) / n truncated toward zero.
inline std::uint8_t BlendNarrow(std::uint16_t a, std::uint16_t b, std::uint16_t w) {
    const std::uint16_t d = a > b ? a - b : b - a;
    const auto q = static_cast<std::uint16_t>((std::uint32_t{d} * w) >> kNarrowWeightShift);
    return static_cast<std::uint8_t>(a > b ? a - q : a + q);
}
inline std::uint8_t BlendWide(std::uint32_t a, std::uint32_t b, std::uint32_t w) {
    const std::uint32_t d = a > b ? a - b : b - a;
    const std::uint32_t q = (d * w) >> kWideWeightShift;
    return static_cast<std::uint8_t>(a > b ? a - q : a + q);
}
// n / d for a box sum n, with m its 16-bit reciprocal (0 for a box of one: n itself).
inline std::uint8_t DivideSmall(std::uint16_t n, std::uint16_t m) {
    const auto q = static_cast<std::uint16_t>((std::uint32_t{n} * m) >> kSmallShift);
    return static_cast<std::uint8_t>(m ? q : n);
}

// The row loops below take unaliased rows so that they run many bytes at a time.

void BlendBytes(const std::uint8_t* __restrict a, const std::uint8_t* __restrict b,
                const std::uint16_t* __restrict w, std::uint8_t* __restrict dst, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) dst[i] = BlendNarrow(a[i], b[i], w[i]);
}

void BlendRows(const std::uint8_t* __restrict a, const std::uint8_t* __restrict b,
               std::uint8_t* __restrict dst, std::size_t n, const AxisPlan& plan, std::size_t j) {
    if (plan.NarrowSegments()) {
        const std::uint16_t w = plan.narrowWeight[j];
        for (std::size_t i = 0; i < n; ++i) dst[i] = BlendNarrow(a[i], b[i], w);
    } else {
        const std::uint32_t w = plan.wideWeight[j];
        for (std::size_t i = 0; i < n; ++i) dst[i] = BlendWide(a[i], b[i], w);
    }
}

template <typename Sum>
void AddToSums(const std::uint8_t* __restrict row, Sum* __restrict sums, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) sums[i] = static_cast<Sum>(sums[i] + row[i]);
}
// The mean of two rows, and the start of a longer sum, in one pass each.
void DivideTwoRows(const std::uint8_t* __restrict a, const std::uint8_t* __restrict b,
                   std::uint16_t m, std::uint8_t* __restrict dst, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        dst[i] = static_cast<std::uint8_t>((std::uint32_t(a[i] + b[i]) * m) >> kSmallShift);
}
template <typename Sum>
void SumTwoRows(const std::uint8_t* __restrict a, const std::uint8_t* __restrict b,
                Sum* __restrict sums, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) sums[i] = static_cast<Sum>(a[i] + b[i]);
}
void DivideSmallSums(const std::uint16_t* __restrict sums, std::uint16_t m,
                     std::uint8_t* __restrict dst, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        dst[i] = static_cast<std::uint8_t>((std::uint32_t{sums[i]} * m) >> kSmallShift);
}
void DivideSums(const std::uint32_t* __restrict sums, std::uint8_t* __restrict dst, std::size_t n,
                const AxisPlan& plan, std::size_t j) {
    if (plan.ShortBoxes()) {
        const std::uint32_t m = plan.shortReciprocal[j];
        for (std::size_t i = 0; i < n; ++i)
            dst[i] = static_cast<std::uint8_t>((sums[i] * m) >> kShortShift);
    } else {
        const std::uint64_t m = plan.longReciprocal[j];
        for (std::size_t i = 0; i < n; ++i)
            dst[i] = static_cast<std::uint8_t>((sums[i] * m) >> kLongShift);
    }
}

// Scratch rows of one band of output rows.
struct Scratch {
    Scratch(int sourceWidth, int newWidth) {
        const std::size_t in = static_cast<std::size_t>(sourceWidth) * 3;
        const std::size_t out = static_cast<std::size_t>(newWidth) * 3;
        a.resize(out + 4);
        b.resize(out + 4);
        sliding.resize(2 * (in + 8));
        gathered.resize(out + 4);
        rows[0].resize(out);
        rows[1].resize(out);
    }
    std::vector<std::uint8_t> a, b;       // both ends of every enlarged pixel
    std::vector<std::uint16_t> sliding;   // two rows of sliding box sums
    std::vector<std::uint16_t> gathered;  // the box sum of every output byte
    std::vector<std::uint8_t> rows[2];    // cached intermediate rows
    int cached[2] = {-1, -1};
    std::vector<std::uint16_t> smallSums;  // vertical box sums
    std::vector<std::uint32_t> sums;
};

// Horizontal enlarging of one row: gather both ends of every output pixel's segment,
// then interpolate byte by byte.
void EnlargeRow(const std::uint8_t* __restrict src, std::uint8_t* __restrict dst,
                const AxisPlan& plan, int to, Scratch& scratch) {
    const int* first = plan.first.data();
    const int* next = plan.next.data();
    if (!plan.NarrowSegments()) {
        const std::uint32_t* weight = plan.wideWeight.data();
        for (int j = 0; j < to; ++j, dst += 3) {
            const std::uint8_t* a = src + first[j] * 3;
            const std::uint8_t* b = src + next[j] * 3;
            for (int c = 0; c < 3; ++c) dst[c] = BlendWide(a[c], b[c], weight[j]);
        }
        return;
    }
    std::uint8_t* ga = scratch.a.data();
    std::uint8_t* gb = scratch.b.data();
    // Four-byte moves: the byte after the last pixel of a source row is still inside the
    // block (row padding or the block's spare tail), and the gather rows have room for it.
    for (int j = 0; j < to; ++j) {
        std::memcpy(ga + j * 3, src + first[j] * 3, 4);
        std::memcpy(gb + j * 3, src + next[j] * 3, 4);
    }
    BlendBytes(ga, gb, plan.byteFactor.data(), dst, static_cast<std::size_t>(to) * 3);
}

// Sliding sums of `count` pixels at every byte: out[i] = src[i] + src[i + 3] + … .
template <int kCount>
void SlidingSumsOf(const std::uint8_t* __restrict src, std::uint16_t* __restrict out,
                   std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        std::uint16_t sum = src[i];
        for (int t = 1; t < kCount; ++t) sum = static_cast<std::uint16_t>(sum + src[i + 3 * t]);
        out[i] = sum;
    }
}
void SlidingSums(const std::uint8_t* __restrict src, std::uint16_t* __restrict out, std::size_t n,
                 int count) {
    switch (count) {
        case 1:
            SlidingSumsOf<1>(src, out, n);
            return;
        case 2:
            SlidingSumsOf<2>(src, out, n);
            return;
        case 3:
            SlidingSumsOf<3>(src, out, n);
            return;
        case 4:
            SlidingSumsOf<4>(src, out, n);
            return;
        default:
            break;
    }
    SlidingSumsOf<4>(src, out, n);
    for (int t = 4; t < count; ++t) {
        const std::uint8_t* s = src + 3 * t;
        for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint16_t>(out[i] + s[i]);
    }
}
void AddNext(const std::uint16_t* __restrict sums, const std::uint8_t* __restrict src,
             std::uint16_t* __restrict out, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint16_t>(sums[i] + src[i]);
}
void DivideGathered(const std::uint16_t* __restrict sums, const std::uint16_t* __restrict m,
                    std::uint8_t* __restrict dst, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) dst[i] = DivideSmall(sums[i], m[i]);
}

// Horizontal shrinking (or copying) of one row.
void ShrinkRow(const std::uint8_t* __restrict src, std::uint8_t* __restrict dst,
               const AxisPlan& plan, int from, int to, Scratch& scratch) {
    if (plan.identity) {
        std::memcpy(dst, src, static_cast<std::size_t>(to) * 3);
        return;
    }
    if (plan.SmallBoxes()) {
        // Every box but the first holds q or q + 1 pixels: make the sums of q and of
        // q + 1 pixels starting at every byte, pick each output's sum, divide them all.
        const int q = to > 1 ? plan.smallest : 1;
        std::uint16_t* sums = scratch.sliding.data();
        std::uint16_t* longer = sums + static_cast<std::size_t>(from) * 3 + 8;
        const std::size_t startsQ = static_cast<std::size_t>(from - q + 1) * 3;
        SlidingSums(src, sums, startsQ, q);
        if (plan.span > q) AddNext(sums, src + 3 * q, longer, startsQ - 3);
        std::uint16_t* gathered = scratch.gathered.data();
        const std::uint32_t* offset = plan.gatherOffset.data();
        for (int j = 0; j < to; ++j) std::memcpy(gathered + j * 3, sums + offset[j], 8);
        // The first output is the first pixel alone.
        for (int c = 0; c < 3; ++c) gathered[c] = src[c];
        DivideGathered(gathered, plan.byteFactor.data(), dst, static_cast<std::size_t>(to) * 3);
        return;
    }
    const int* first = plan.first.data();
    const int* count = plan.count.data();
    const std::uint32_t* shortReciprocal = plan.shortReciprocal.data();
    const std::uint64_t* longReciprocal = plan.longReciprocal.data();
    const bool shortBoxes = plan.ShortBoxes();
    for (int j = 0; j < to; ++j, dst += 3) {
        const std::uint8_t* s = src + first[j] * 3;
        std::uint32_t b = 0, g = 0, r = 0;
        for (int i = 0; i < count[j]; ++i, s += 3) {
            b += s[0];
            g += s[1];
            r += s[2];
        }
        if (shortBoxes) {
            const std::uint32_t m = shortReciprocal[j];
            dst[0] = static_cast<std::uint8_t>((b * m) >> kShortShift);
            dst[1] = static_cast<std::uint8_t>((g * m) >> kShortShift);
            dst[2] = static_cast<std::uint8_t>((r * m) >> kShortShift);
        } else {
            const std::uint64_t m = longReciprocal[j];
            dst[0] = static_cast<std::uint8_t>((b * m) >> kLongShift);
            dst[1] = static_cast<std::uint8_t>((g * m) >> kLongShift);
            dst[2] = static_cast<std::uint8_t>((r * m) >> kLongShift);
        }
    }
}

// Reports whole percents as they grow, from the thread that called ResizeImage only
// (whoever watches expects its reports on its own thread).
class PercentReporter {
  public:
    explicit PercentReporter(const Progress& progress) : progress_(progress) {}
    void Report(int percent) {
        if (percent <= last_) return;
        last_ = percent;
        progress_(ProgressDirection::Writing, percent);
    }

  private:
    const Progress& progress_;
    int last_ = -1;
};

}  // namespace

ImageBuffer ResizeImage(const ImageBuffer& image, int newWidth, int newHeight,
                        const Progress& progress) {
    if (!image || !ImageSizeAllowed(newWidth, newHeight)) return {};
    ImageBuffer converted;
    const ImageBuffer* trueColour = AsTrueColour(image, converted);
    if (!trueColour) return {};
    const ImageBuffer& source = *trueColour;
    const int width = source.Width(), height = source.Height();
    if (width <= 0 || height <= 0) return {};

    ImageBuffer out = CreateImageForOverwrite(newWidth, newHeight, 24);
    if (!out) return out;
    const AxisPlan across = PlanAxis(width, newWidth);
    const AxisPlan down = PlanAxis(height, newHeight);

    // Both passes run together, one output row at a time: the horizontal pass makes only
    // the intermediate rows an output row needs, so the intermediate picture never
    // exists as a whole. The arithmetic per value is the same as pass after pass.
    const std::thread::id caller = std::this_thread::get_id();
    PercentReporter reporter(progress);
    ParallelRows(newHeight, std::int64_t{newWidth} * newHeight, [&](int begin, int end) {
        const std::size_t rowBytes = static_cast<std::size_t>(newWidth) * 3;
        const bool reports = std::this_thread::get_id() == caller;
        const int bandRows = end - begin;
        Scratch scratch(width, newWidth);
        if (!down.enlarge) {
            if (down.SmallBoxes())
                scratch.smallSums.resize(rowBytes);
            else
                scratch.sums.resize(rowBytes);
        }

        const std::size_t sourceBytes = static_cast<std::size_t>(width) * 3;
        auto resampleRow = [&](int r, std::uint8_t* dst) {
            // Shrinking reads source rows faster than the hardware brings them in
            // unasked; ask for the next one while this one is worked on.
            if (!across.enlarge && r + 1 < height) {
                const std::uint8_t* ahead = source.StoredRow(r + 1);
                for (std::size_t i = 0; i < sourceBytes; i += 64) __builtin_prefetch(ahead + i);
            }
            if (across.enlarge)
                EnlargeRow(source.StoredRow(r), dst, across, newWidth, scratch);
            else
                ShrinkRow(source.StoredRow(r), dst, across, width, newWidth, scratch);
        };
        // The intermediate row of source row r, made in a slot other than `keep`'s.
        auto intermediate = [&](int r, int keep) -> const std::uint8_t* {
            for (int s = 0; s < 2; ++s)
                if (scratch.cached[s] == r) return scratch.rows[s].data();
            const int slot = scratch.cached[0] == keep && keep >= 0 ? 1 : 0;
            resampleRow(r, scratch.rows[slot].data());
            scratch.cached[slot] = r;
            return scratch.rows[slot].data();
        };

        for (int j = begin; j < end; ++j) {
            if (progress.Cancelled()) return;
            std::uint8_t* dst = out.StoredRow(j);
            const auto jj = static_cast<std::size_t>(j);
            if (down.enlarge) {
                const int k = down.first[jj], k1 = down.next[jj];
                if (k1 != k) {
                    const std::uint8_t* a = intermediate(k, -1);
                    BlendRows(a, intermediate(k1, k), dst, rowBytes, down, jj);
                } else if (scratch.cached[0] == k || scratch.cached[1] == k) {
                    std::memcpy(dst, intermediate(k, -1), rowBytes);
                } else {
                    resampleRow(k, dst);  // a source row exactly
                }
            } else {
                const int r0 = down.first[jj], c = down.count[jj];
                if (c == 1) {
                    resampleRow(r0, dst);
                } else {
                    std::uint8_t* rowA = scratch.rows[0].data();
                    std::uint8_t* rowB = scratch.rows[1].data();
                    resampleRow(r0, rowA);
                    resampleRow(r0 + 1, rowB);
                    if (c == 2 && down.SmallBoxes()) {
                        DivideTwoRows(rowA, rowB, down.smallReciprocal[jj], dst, rowBytes);
                    } else if (down.SmallBoxes()) {
                        std::uint16_t* sums = scratch.smallSums.data();
                        SumTwoRows(rowA, rowB, sums, rowBytes);
                        for (int r = r0 + 2; r < r0 + c; ++r) {
                            resampleRow(r, rowA);
                            AddToSums(rowA, sums, rowBytes);
                        }
                        DivideSmallSums(sums, down.smallReciprocal[jj], dst, rowBytes);
                    } else {
                        std::uint32_t* sums = scratch.sums.data();
                        SumTwoRows(rowA, rowB, sums, rowBytes);
                        for (int r = r0 + 2; r < r0 + c; ++r) {
                            resampleRow(r, rowA);
                            AddToSums(rowA, sums, rowBytes);
                        }
                        DivideSums(sums, dst, rowBytes, down, jj);
                    }
                }
            }
            if (reports) reporter.Report((j - begin + 1) * 100 / bandRows);
        }
    });
    if (progress.Cancelled()) return {};
    reporter.Report(100);
    return out;
}

ResizeGeometry ComputeResizeGeometry(int viewWidth, int viewHeight, int dx, int dy, bool panorama,
                                     int targetWidth, int targetHeight, AspectMode mode) {
    ResizeGeometry g;
    if (viewWidth <= 0 || viewHeight <= 0) return g;
    // The common area of the alignment offset, at least 10 pixels kept each way.
    std::int64_t ox = dx, oy = dy;
    if (!panorama && ox != 0 && std::abs(ox) > viewWidth - 10)
        ox = (ox > 0 ? 1 : -1) * std::int64_t{viewWidth - 10};
    if (oy != 0 && std::abs(oy) > viewHeight - 10)
        oy = (oy > 0 ? 1 : -1) * std::int64_t{viewHeight - 10};
    const std::int64_t secondX = std::max<std::int64_t>(ox, 0);
    const std::int64_t secondY = std::max<std::int64_t>(oy, 0);
    const std::int64_t firstX = std::max<std::int64_t>(-ox, 0);
    const std::int64_t firstY = std::max<std::int64_t>(-oy, 0);
    const std::int64_t refW = viewWidth - firstX - secondX;
    const std::int64_t refH = viewHeight - firstY - secondY;
    if (refW <= 0 || refH <= 0) return g;
    g.secondX = static_cast<int>(secondX);
    g.secondY = static_cast<int>(secondY);
    g.firstX = static_cast<int>(firstX);
    g.firstY = static_cast<int>(firstY);
    g.referenceWidth = static_cast<int>(refW);
    g.referenceHeight = static_cast<int>(refH);

    if (!ImageSizeAllowed(targetWidth, targetHeight)) return g;
    std::int64_t w = targetWidth, h = targetHeight;
    if (mode == AspectMode::KeepRatioFrame) {
        // Fit into X × Y; the frame keeps the requested size.
        const std::int64_t fittedWidth = refW * targetHeight / refH;
        if (targetWidth <= fittedWidth) {
            h = refH * targetWidth / refW;
        } else {
            w = fittedWidth;
        }
        g.framed = true;
        g.frameWidth = targetWidth;
        g.frameHeight = targetHeight;
    }
    if (!ImageSizeAllowed(w, h)) return g;
    g.width = static_cast<int>(w);
    g.height = static_cast<int>(h);
    g.valid = true;
    return g;
}

Result<ImageBuffer> ResizeView(const ImageBuffer& view, const ResizeGeometry& geometry, bool second,
                               bool recompute, const Progress& progress) {
    if (!view || !geometry.valid) return Failure::Quiet();
    ImageBuffer cut = CropMargins(view, geometry.secondX, geometry.secondY, geometry.firstX,
                                  geometry.firstY, second);
    if (!cut) return Failure::Quiet();
    ImageBuffer scaled =
        recompute ? ResizeImage(cut, geometry.width, geometry.height, progress)
                  : CropScaleView(cut, geometry.width, geometry.height, 0, 0, 0, 0, false);
    if (!scaled) return Failure::Quiet();
    if (!geometry.framed) return scaled;
    return FrameOnCanvas(scaled, geometry.frameWidth, geometry.frameHeight);
}

}  // namespace duplora
