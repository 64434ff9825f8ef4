#include "core/image/rotate.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/util/parallel.h"
#include "core/util/row_progress.h"

namespace duplora {
namespace {

// Square tiles keep both the rows read and the rows written in cache.
constexpr int kTile = 32;

// In stored (bottom-up) rows: destination row R, column c takes source row
// sourceRow[c], column sourceColumn(R). Clockwise sourceRow[c] = c, sourceColumn(R) =
// W − 1 − R; counter-clockwise sourceRow[c] = H − 1 − c, sourceColumn(R) = R.
struct Mapping {
    bool clockwise;
    int width;                                // of the source
    std::vector<const std::uint8_t*> rowFor;  // source row of every destination column
    int SourceColumn(int r) const { return clockwise ? width - 1 - r : r; }
};

int IndexAt(const std::uint8_t* row, int x, int bits) {
    if (bits == 8) return row[x];
    if (bits == 4) return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

// Destination rows are zero before the indices are or-ed in.
void OrIndex(std::uint8_t* row, int x, int bits, int value) {
    if (bits == 4)
        row[x >> 1] |= static_cast<std::uint8_t>((x & 1) ? value : value << 4);
    else
        row[x >> 3] |= static_cast<std::uint8_t>(value << (7 - (x & 7)));
}

template <int kBytes>
void RotateWholeBytes(ImageBuffer& dst, const Mapping& map, int rowBegin, int rowEnd) {
    const int dstWidth = dst.Width();
    std::uint8_t* const dstPixels = dst.Pixels();
    const std::size_t dstStride = static_cast<std::size_t>(dst.Stride());
    const std::uint8_t* const* rowFor = map.rowFor.data();
    for (int rb = rowBegin; rb < rowEnd; rb += kTile) {
        const int re = std::min(rb + kTile, rowEnd);
        for (int cb = 0; cb < dstWidth; cb += kTile) {
            const int ce = std::min(cb + kTile, dstWidth);
            for (int r = rb; r < re; ++r) {
                std::uint8_t* d = dstPixels + r * dstStride + static_cast<std::size_t>(cb) * kBytes;
                const std::size_t column = static_cast<std::size_t>(map.SourceColumn(r)) * kBytes;
                for (int c = cb; c < ce; ++c, d += kBytes) {
                    const std::uint8_t* s = rowFor[c] + column;
                    for (int i = 0; i < kBytes; ++i) d[i] = s[i];
                }
            }
        }
    }
}

void RotatePacked(ImageBuffer& dst, const Mapping& map, int bits, int rowBegin, int rowEnd) {
    const int dstWidth = dst.Width();
    const std::size_t dstStride = static_cast<std::size_t>(dst.Stride());
    std::uint8_t* const dstPixels = dst.Pixels();
    for (int r = rowBegin; r < rowEnd; ++r) {
        std::uint8_t* d = dstPixels + r * dstStride;
        std::memset(d, 0, dstStride);
        const int column = map.SourceColumn(r);
        for (int c = 0; c < dstWidth; ++c) {
            const int v = IndexAt(map.rowFor[c], column, bits);
            if (v) OrIndex(d, c, bits, v);
        }
    }
}

}  // namespace

ImageBuffer RotateQuarter(const ImageBuffer& image, int direction, const Progress& progress) {
    if (!image) return {};
    const int bits = image.BitCount();
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return {};
    const int width = image.Width(), height = image.Height();
    // The colour table must fit the room every new buffer keeps for it.
    const std::size_t tableBytes = 4 * static_cast<std::size_t>(image.ColourCount());
    if (image.HeaderSize() != kBitmapHeaderSize || tableBytes > 1024) return {};
    ImageBuffer out = CreateImageForOverwrite(height, width, bits);
    if (!out) return out;
    // Header and colour table as the source's, then the exchanged size.
    std::memcpy(out.Data(), image.Data(), kBitmapHeaderSize + tableBytes);
    const std::int32_t newWidth = height, newHeight = width;
    std::memcpy(out.Data() + 4, &newWidth, 4);
    std::memcpy(out.Data() + 8, &newHeight, 4);
    ClearRowPadding(out);

    Mapping map{direction == kRotateClockwise, width, {}};
    map.rowFor.resize(static_cast<std::size_t>(height));
    for (int c = 0; c < height; ++c)
        map.rowFor[static_cast<std::size_t>(c)] =
            image.StoredRow(map.clockwise ? c : height - 1 - c);
    RowProgress rows(progress, ProgressDirection::Writing, width);
    ParallelRows(width, std::int64_t{width} * height, [&](int begin, int end) {
        if (rows.Cancelled()) return;
        switch (bits) {
            case 24:
                RotateWholeBytes<3>(out, map, begin, end);
                break;
            case 8:
                RotateWholeBytes<1>(out, map, begin, end);
                break;
            default:
                RotatePacked(out, map, bits, begin, end);
                break;
        }
        rows.RowsDone(end - begin);
    });
    if (rows.Cancelled()) return {};
    rows.Finish();
    return out;
}

}  // namespace duplora
