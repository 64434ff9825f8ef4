#include "core/stereo/combine.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/image/convert.h"
#include "core/image/luminance_row.h"
#include "core/stereo/dubois.h"
#include "core/util/parallel.h"

namespace duplora {
namespace {

// The view as 24-bit pixels: the view itself, or a converted copy kept in `holder`.
const ImageBuffer* TrueColourView(const ImageBuffer& view, ImageBuffer& holder) {
    if (!view) return nullptr;
    const int bits = view.BitCount();
    if (bits == 24) return &view;
    if (bits >= 16) return nullptr;
    holder = CropScaleView(view, view.Width(), view.Height(), 0, 0, 0, 0, false);
    return holder && holder.BitCount() == 24 ? &holder : nullptr;
}

// Both views in 24 bits with the common area checked against each of them, so that the
// row loops below never need a bounds check.
class ViewPair {
  public:
    bool Prepare(const ImageBuffer& first, const ImageBuffer& second, const CommonArea& area) {
        if (area.secondX < 0 || area.secondY < 0 || area.firstX < 0 || area.firstY < 0)
            return false;
        first_ = TrueColourView(first, firstCopy_);
        second_ = first_ ? TrueColourView(second, secondCopy_) : nullptr;
        if (!second_) return false;
        const std::int64_t w = std::int64_t{first_->Width()} - area.secondX - area.firstX;
        const std::int64_t h = std::int64_t{first_->Height()} - area.secondY - area.firstY;
        if (w < 1 || h < 1) return false;
        // The second view may differ in size; its part of the area must lie inside it.
        if (area.secondX + w > second_->Width() || area.secondY + h > second_->Height())
            return false;
        width_ = static_cast<int>(w);
        height_ = static_cast<int>(h);
        firstOffset_ = static_cast<std::size_t>(area.firstX) * 3;
        secondOffset_ = static_cast<std::size_t>(area.secondX) * 3;
        firstRow0_ = area.firstY;
        secondRow0_ = area.secondY;
        return true;
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t RowBytes() const { return static_cast<std::size_t>(width_) * 3; }
    std::int64_t Pixels() const { return std::int64_t{width_} * height_; }
    // Row r of the common area, counted from the bottom, at its first column.
    const std::uint8_t* FirstRow(int r) const {
        return first_->StoredRow(firstRow0_ + r) + firstOffset_;
    }
    const std::uint8_t* SecondRow(int r) const {
        return second_->StoredRow(secondRow0_ + r) + secondOffset_;
    }

  private:
    ImageBuffer firstCopy_, secondCopy_;
    const ImageBuffer* first_ = nullptr;
    const ImageBuffer* second_ = nullptr;
    int width_ = 0, height_ = 0;
    std::size_t firstOffset_ = 0, secondOffset_ = 0;
    int firstRow0_ = 0, secondRow0_ = 0;
};

// The two-picture layouts are drawn like a device bitmap, whose creation failure the
// user is told about.
Result<ImageBuffer> CreateLayoutImage(std::int64_t width, std::int64_t height) {
    ImageBuffer out;
    if (ImageSizeAllowed(width, height))
        out = CreateImageForOverwrite(static_cast<int>(width), static_cast<int>(height), 24);
    if (!out) return CannotCreateImage(width, height);
    return out;
}

// Which luminance rows a per-pixel rule reads.
enum LuminanceNeed { kNoLuminance = 0, kFirstLuminance = 1, kBothLuminances = 3 };

// Output pixel value fn(firstPixel, secondPixel, firstY, secondY) as blue | green << 8 |
// red << 16, for every pixel of the common area; the luminances (where `kNeed` asks for
// them) are computed a row at a time.
template <int kNeed, typename PixelFn>
ImageBuffer PerPixel(const ViewPair& views, const PixelFn& fn) {
    ImageBuffer out = CreateImageForOverwrite(views.Width(), views.Height(), 24);
    if (!out) return out;
    std::uint8_t* outPixels = out.Pixels();
    const std::size_t outStride = static_cast<std::size_t>(out.Stride());
    ParallelRows(views.Height(), views.Pixels(), [&](int begin, int end) {
        // Local copies: the byte stores below could otherwise alias the captured values
        // and force them to be reloaded for every pixel.
        const PixelFn pixel = fn;
        const int last = views.Width() - 1;
        std::vector<std::uint8_t> lum1((kNeed & 1) ? last + 1 : 0),
            lum2((kNeed & 2) ? last + 1 : 0);
        const std::uint8_t* y1 = lum1.data();
        const std::uint8_t* y2 = lum2.data();
        for (int r = begin; r < end; ++r) {
            const std::uint8_t* a = views.FirstRow(r);
            const std::uint8_t* b = views.SecondRow(r);
            if (kNeed & 1) LuminanceRow(a, lum1.data(), last + 1);
            if (kNeed & 2) LuminanceRow(b, lum2.data(), last + 1);
            std::uint8_t* d = outPixels + r * outStride;
            const auto value = [&](int x) {
                return pixel(a + 3 * x, b + 3 * x, (kNeed & 1) ? y1[x] : 0,
                             (kNeed & 2) ? y2[x] : 0);
            };
            // Four bytes at a time; the fourth is the next pixel's first, written after it.
            for (int x = 0; x < last; ++x) {
                const std::uint32_t v = value(x);
                std::memcpy(d + 3 * x, &v, 4);
            }
            // The last pixel byte by byte: the row padding or the next row follows.
            const std::uint32_t v = value(last);
            d[3 * last] = static_cast<std::uint8_t>(v);
            d[3 * last + 1] = static_cast<std::uint8_t>(v >> 8);
            d[3 * last + 2] = static_cast<std::uint8_t>(v >> 16);
        }
    });
    return out;
}

// A level table whose entries sit in the given output channels (blue 0x1, green 0x100,
// red 0x10000, or a sum of them), so that one lookup gives their part of a pixel value.
using ChannelTable = std::array<std::uint32_t, 256>;
ChannelTable InChannels(const LevelTable& levels, std::uint32_t channels) {
    ChannelTable table;
    for (int i = 0; i < 256; ++i) table[i] = levels[i] * channels;
    return table;
}

constexpr std::uint32_t kBlue = 0x1, kGreen = 0x100, kRed = 0x10000;

}  // namespace

Result<ImageBuffer> ComposeSideBySide(const ImageBuffer& first, const ImageBuffer& second,
                                      const CommonArea& area) {
    ViewPair views;
    if (!views.Prepare(first, second, area)) return Failure::Quiet();
    Result<ImageBuffer> made = CreateLayoutImage(std::int64_t{views.Width()} * 2, views.Height());
    if (!made) return made;
    ImageBuffer out = std::move(made).Value();
    const std::size_t bytes = views.RowBytes();
    ParallelRows(views.Height(), views.Pixels() * 2, [&](int begin, int end) {
        for (int r = begin; r < end; ++r) {
            std::uint8_t* d = out.StoredRow(r);
            std::memcpy(d, views.FirstRow(r), bytes);
            std::memcpy(d + bytes, views.SecondRow(r), bytes);
        }
    });
    return out;
}

Result<ImageBuffer> ComposeOverUnder(const ImageBuffer& first, const ImageBuffer& second,
                                     const CommonArea& area) {
    ViewPair views;
    if (!views.Prepare(first, second, area)) return Failure::Quiet();
    const int h = views.Height();
    Result<ImageBuffer> made = CreateLayoutImage(views.Width(), std::int64_t{h} * 2);
    if (!made) return made;
    ImageBuffer out = std::move(made).Value();
    const std::size_t bytes = views.RowBytes();
    // Stored rows run bottom-up: the second (lower) view fills rows 0 … H − 1.
    ParallelRows(h, views.Pixels() * 2, [&](int begin, int end) {
        for (int r = begin; r < end; ++r) {
            std::memcpy(out.StoredRow(r), views.SecondRow(r), bytes);
            std::memcpy(out.StoredRow(h + r), views.FirstRow(r), bytes);
        }
    });
    return out;
}

ImageBuffer ComposeInterlace(const ImageBuffer& first, const ImageBuffer& second,
                             const CommonArea& area) {
    ViewPair views;
    if (!views.Prepare(first, second, area)) return {};
    const int h = views.Height();
    ImageBuffer out = CreateImageForOverwrite(views.Width(), h, 24);
    if (!out) return out;
    const std::size_t bytes = views.RowBytes();
    ParallelRows(h / 2, views.Pixels(), [&](int begin, int end) {
        for (int k = begin; k < end; ++k) {
            std::memcpy(out.StoredRow(2 * k), views.FirstRow(2 * k), bytes);
            std::memcpy(out.StoredRow(2 * k + 1), views.SecondRow(2 * k), bytes);
        }
    });
    // An odd height leaves the top row without a partner: black.
    if (h % 2) std::memset(out.StoredRow(h - 1), 0, bytes);
    return out;
}

namespace {

// The left luminance in the channels `left`, the right one in `right`.
ImageBuffer GreyInChannels(const ImageBuffer& first, const ImageBuffer& second,
                           const CommonArea& area, const AnaglyphTables& tables, std::uint32_t left,
                           std::uint32_t right) {
    ViewPair views;
    if (!views.Prepare(first, second, area)) return {};
    const ChannelTable lt = InChannels(tables.left, left);
    const ChannelTable rt = InChannels(tables.right, right);
    const std::uint32_t* l = lt.data();
    const std::uint32_t* r = rt.data();
    return PerPixel<kBothLuminances>(views, [l, r](const std::uint8_t*, const std::uint8_t*, int y1,
                                                   int y2) { return l[y1] | r[y2]; });
}

using P = const std::uint8_t*;

// Each colour kind's pixel rule over these lookups: the left view's levels in the channel
// it fills (`left`), and the right view's blue, green and red levels.
struct ColourTables {
    ChannelTable left, blue, green, red;
    ColourTables(const AnaglyphTables& tables, std::uint32_t leftChannel)
        : left(InChannels(tables.left, leftChannel)),
          blue(InChannels(tables.right, kBlue)),
          green(InChannels(tables.right, kGreen)),
          red(InChannels(tables.right, kRed)) {}
};

}  // namespace

ImageBuffer ComposeGreyRedCyan(const ImageBuffer& first, const ImageBuffer& second,
                               const CommonArea& area, const AnaglyphTables& tables) {
    return GreyInChannels(first, second, area, tables, kRed, kGreen + kBlue);
}

ImageBuffer ComposeGreyRedGreen(const ImageBuffer& first, const ImageBuffer& second,
                                const CommonArea& area, const AnaglyphTables& tables) {
    return GreyInChannels(first, second, area, tables, kRed, kGreen);
}

ImageBuffer ComposeGreyRedBlue(const ImageBuffer& first, const ImageBuffer& second,
                               const CommonArea& area, const AnaglyphTables& tables) {
    return GreyInChannels(first, second, area, tables, kRed, kBlue);
}

ImageBuffer ComposeGreyYellowBlue(const ImageBuffer& first, const ImageBuffer& second,
                                  const CommonArea& area, const AnaglyphTables& tables) {
    return GreyInChannels(first, second, area, tables, kBlue, kRed + kGreen);
}

ImageBuffer ComposeColourRedCyan(const ImageBuffer& first, const ImageBuffer& second,
                                 const CommonArea& area, const AnaglyphTables& tables) {
    ViewPair views;
    if (!views.Prepare(first, second, area)) return {};
    const ColourTables t(tables, kRed);
    const std::uint32_t *l = t.left.data(), *b = t.blue.data(), *g = t.green.data();
    return PerPixel<kNoLuminance>(
        views, [=](P p1, P p2, int, int) { return l[p1[2]] | g[p2[1]] | b[p2[0]]; });
}

ImageBuffer ComposeHalfToneRedCyan(const ImageBuffer& first, const ImageBuffer& second,
                                   const CommonArea& area, const AnaglyphTables& tables) {
    ViewPair views;
    if (!views.Prepare(first, second, area)) return {};
    const ColourTables t(tables, kRed);
    const std::uint32_t *l = t.left.data(), *b = t.blue.data(), *g = t.green.data();
    return PerPixel<kFirstLuminance>(
        views, [=](P, P p2, int y1, int) { return l[y1] | g[p2[1]] | b[p2[0]]; });
}

ImageBuffer ComposeColourYellowBlue(const ImageBuffer& first, const ImageBuffer& second,
                                    const CommonArea& area, const AnaglyphTables& tables) {
    ViewPair views;
    if (!views.Prepare(first, second, area)) return {};
    const ColourTables t(tables, kBlue);
    const std::uint32_t *l = t.left.data(), *g = t.green.data(), *r = t.red.data();
    return PerPixel<kNoLuminance>(
        views, [=](P p1, P p2, int, int) { return r[p2[2]] | g[p2[1]] | l[p1[0]]; });
}

ImageBuffer ComposeHalfToneYellowBlue(const ImageBuffer& first, const ImageBuffer& second,
                                      const CommonArea& area, const AnaglyphTables& tables) {
    ViewPair views;
    if (!views.Prepare(first, second, area)) return {};
    const ColourTables t(tables, kBlue);
    const std::uint32_t *l = t.left.data(), *g = t.green.data(), *r = t.red.data();
    return PerPixel<kFirstLuminance>(
        views, [=](P, P p2, int y1, int) { return r[p2[2]] | g[p2[1]] | l[y1]; });
}

namespace {

ImageBuffer ComposeDubois(const ImageBuffer& first, const ImageBuffer& second,
                          const CommonArea& area, DuboisFilters filters) {
    ViewPair views;
    if (!views.Prepare(first, second, area)) return {};
    // Built per picture: 18 KiB, far less work than one row of a photograph.
    const DuboisPackedTables packed = MakeDuboisPackedTables(DuboisWeightsOf(filters));
    const DuboisPackedTables* tables = &packed;
    const auto& t = tables->terms;
    const std::uint64_t *lr = t[0].data(), *lg = t[1].data(), *lb = t[2].data();
    const std::uint64_t *rr = t[3].data(), *rg = t[4].data(), *rb = t[5].data();
    return PerPixel<kNoLuminance>(views, [=](P p1, P p2, int, int) {
        const std::uint64_t sum =
            lr[p1[2]] + lg[p1[1]] + lb[p1[0]] + rr[p2[2]] + rg[p2[1]] + rb[p2[0]];
        return DuboisPackedChannel(*tables, sum, 0) | DuboisPackedChannel(*tables, sum, 1) << 8 |
               DuboisPackedChannel(*tables, sum, 2) << 16;
    });
}

}  // namespace

ImageBuffer ComposeDuboisRedCyan(const ImageBuffer& first, const ImageBuffer& second,
                                 const CommonArea& area, const AnaglyphTables&) {
    return ComposeDubois(first, second, area, DuboisFilters::RedCyan);
}

ImageBuffer ComposeDuboisGreenMagenta(const ImageBuffer& first, const ImageBuffer& second,
                                      const CommonArea& area, const AnaglyphTables&) {
    return ComposeDubois(first, second, area, DuboisFilters::GreenMagenta);
}

ImageBuffer ComposeDuboisAmberBlue(const ImageBuffer& first, const ImageBuffer& second,
                                   const CommonArea& area, const AnaglyphTables&) {
    return ComposeDubois(first, second, area, DuboisFilters::AmberBlue);
}

ImageBuffer ComposeBlend(const ImageBuffer& first, const ImageBuffer& second) {
    ImageBuffer firstCopy, secondCopy;
    const ImageBuffer* a = TrueColourView(first, firstCopy);
    const ImageBuffer* b = a ? TrueColourView(second, secondCopy) : nullptr;
    if (!b || a->Width() != b->Width() || a->Height() != b->Height()) return {};
    ImageBuffer out = CreateImageForOverwrite(a->Width(), a->Height(), 24);
    if (!out) return out;
    const std::size_t bytes = static_cast<std::size_t>(a->Width()) * 3;
    ParallelRows(a->Height(), std::int64_t{a->Width()} * a->Height(), [&](int begin, int end) {
        const std::size_t n = bytes;
        for (int r = begin; r < end; ++r) {
            const std::uint8_t* __restrict pa = a->StoredRow(r);
            const std::uint8_t* __restrict pb = b->StoredRow(r);
            std::uint8_t* __restrict d = out.StoredRow(r);
            for (std::size_t i = 0; i < n; ++i)
                d[i] = static_cast<std::uint8_t>((pa[i] >> 1) + (pb[i] >> 1));
        }
    });
    return out;
}

}  // namespace duplora
