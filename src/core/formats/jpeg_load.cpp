#include "core/formats/jpeg_load.h"

#include <algorithm>
#include <vector>

#include "core/formats/jpeg_codec.h"
#include "core/util/parallel.h"

namespace duplora {

namespace {

// Output rows are written in square tiles, so that the column walk through the source
// stays within a few cache lines per row.
constexpr int kTile = 32;

// Quarter turn of a 24-bit picture. Clockwise: output (x, y) = source (y, H − 1 − x);
// counter-clockwise: output (x, y) = source (W − 1 − y, x); both top-down.
ImageBuffer TurnQuarter(const ImageBuffer& source, bool clockwise) {
    const int sw = source.Width(), sh = source.Height();
    ImageBuffer out = CreateImageForOverwrite(sh, sw, 24);
    if (!out) return out;
    const int ow = sh, oh = sw;
    const std::uint8_t* pixels = source.Pixels();
    const std::ptrdiff_t stride = source.Stride();
    // Source pixel (x, y) top-down sits at pixels + (sh − 1 − y) × stride + 3x.
    ParallelRows(oh, std::int64_t{ow} * oh, [&](int begin, int end) {
        for (int ty = begin; ty < end; ty += kTile) {
            const int yEnd = std::min(end, ty + kTile);
            for (int tx = 0; tx < ow; tx += kTile) {
                const int xEnd = std::min(ow, tx + kTile);
                for (int y = ty; y < yEnd; ++y) {
                    std::uint8_t* d = out.Line(y) + 3 * tx;
                    // Clockwise: source (y, sh − 1 − x) → stored row x, column y.
                    // Counter-clockwise: source (sw − 1 − y, x) → stored row sh − 1 − x.
                    const std::uint8_t* s =
                        clockwise
                            ? pixels + std::ptrdiff_t{tx} * stride + 3 * y
                            : pixels + std::ptrdiff_t{sh - 1 - tx} * stride + 3 * (sw - 1 - y);
                    const std::ptrdiff_t step = clockwise ? stride : -stride;
                    for (int x = tx; x < xEnd; ++x, d += 3, s += step) {
                        d[0] = s[0], d[1] = s[1], d[2] = s[2];
                    }
                }
            }
        }
    });
    return out;
}

ImageBuffer TurnHalf(const ImageBuffer& source) {
    const int w = source.Width(), h = source.Height();
    ImageBuffer out = CreateImageForOverwrite(w, h, 24);
    if (!out) return out;
    ParallelRows(h, std::int64_t{w} * h, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const std::uint8_t* s = source.Line(h - 1 - y) + 3 * (w - 1);
            std::uint8_t* d = out.Line(y);
            for (int x = 0; x < w; ++x, d += 3, s -= 3) d[0] = s[0], d[1] = s[1], d[2] = s[2];
        }
    });
    return out;
}

}  // namespace

ImageBuffer ApplyExifOrientation(const ImageBuffer& image, int orientation) {
    if (!image || image.BitCount() != 24) return {};
    switch (orientation) {
        case 3:
            return TurnHalf(image);
        case 6:
            return TurnQuarter(image, true);
        case 8:
            return TurnQuarter(image, false);
        default:
            return DuplicateImage(image);
    }
}

JpegLoadResult LoadJpegImage(const std::string& path, JpegLoadMode mode, const Progress& progress) {
    JpegLoadResult result;
    if (mode == JpegLoadMode::Preview) {
        std::vector<std::uint8_t> thumbnail;
        const ExifFacts facts = ReadExifFacts(path, &thumbnail);
        result.orientation = facts.orientation;
        if (!thumbnail.empty()) {
            result.image = DecodeJpegMemory(thumbnail.data(), thumbnail.size(), false);
            if (result.image) {
                result.fromThumbnail = true;
                result.width = facts.width;
                result.height = facts.height;
            }
        }
        if (!result.image)
            result.image =
                DecodeJpegFile(path, true, &result.width, &result.height, &result.partial);
    } else {
        result.image = DecodeJpegFile(path, false, nullptr, nullptr, &result.partial, progress);
        if (result.image) {
            result.width = result.image.Width();
            result.height = result.image.Height();
            result.orientation = ReadExifFacts(path).orientation;
        }
    }
    if (result.image &&
        (result.orientation == 3 || result.orientation == 6 || result.orientation == 8)) {
        // When turning fails (out of memory) the picture is kept as it is.
        ImageBuffer turned = ApplyExifOrientation(result.image, result.orientation);
        if (turned) result.image = std::move(turned);
    }
    return result;
}

}  // namespace duplora
