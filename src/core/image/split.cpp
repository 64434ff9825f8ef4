#include "core/image/split.h"

#include <cstdint>
#include <cstring>

#include "core/image/convert.h"
#include "core/util/parallel.h"

namespace duplora {

PicturePair SplitPairPicture(const ImageBuffer& picture, bool singleView) {
    PicturePair pair;
    if (!picture) return pair;
    if (singleView) {
        pair.first = DuplicateTrueColour(picture);
        return pair;
    }
    const int half = picture.Width() / 2, height = picture.Height();
    if (half <= 0) return pair;
    ImageBuffer left = CropRect(picture, 0, 0, half, height);
    ImageBuffer right = CropRect(picture, half, 0, 2 * half, height);
    if (!left || !right) return pair;
    pair.first = std::move(left);
    pair.second = std::move(right);
    return pair;
}

ImageBuffer SplitAnaglyph(const ImageBuffer& image, int channel) {
    if (!image || image.BitCount() != 24) return {};
    const int width = image.Width(), height = image.Height();
    int byte = 2;  // red
    if (channel == 0) {
        // The cyan side of the glasses: whichever of green and blue carries more.
        std::uint64_t blue = 0, green = 0;
        for (int r = 0; r < height; r += 10) {
            const std::uint8_t* row = image.StoredRow(r);
            for (int x = 0; x < width; x += 10) {
                blue += row[x * 3];
                green += row[x * 3 + 1];
            }
        }
        byte = green > blue ? 1 : 0;
    }
    ImageBuffer out = CreateImageForOverwrite(width, height, 24);
    if (!out) return out;
    ParallelRows(height, std::int64_t{width} * height, [&](int begin, int end) {
        for (int r = begin; r < end; ++r) {
            const std::uint8_t* src = image.StoredRow(r) + byte;
            std::uint8_t* dst = out.StoredRow(r);
            for (int x = 0; x < width; ++x, src += 3, dst += 3) {
                const std::uint8_t v = *src;
                dst[0] = v;
                dst[1] = v;
                dst[2] = v;
            }
        }
    });
    return out;
}

ImageBuffer ExtractField(const ImageBuffer& image, bool odd) {
    if (!image || image.BitCount() != 24) return {};
    const int width = image.Width(), height = image.Height();
    ImageBuffer out = CreateImageForOverwrite(width, height, 24);
    if (!out) return out;
    const int last = height - 1;
    // The highest row of the odd field; a picture of one row has none and is copied.
    const int lastOdd = (last % 2 == 1) ? last : last - 1;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;

    // Source rows a and b whose mean makes output row r (a == b: a plain copy).
    auto sources = [&](int r, int& a, int& b) {
        if (!odd) {
            if (r % 2 == 0 || r == last) {
                a = b = r % 2 == 0 ? r : r - 1;
            } else {
                a = r - 1;
                b = r + 1;
            }
        } else if (lastOdd < 0) {
            a = b = r;
        } else if (r % 2 == 0) {
            a = b = r + 1 <= last ? r + 1 : lastOdd;
        } else if (r + 2 <= last) {
            a = r;
            b = r + 2;
        } else {
            a = b = r;
        }
    };

    ParallelRows(height, std::int64_t{width} * height, [&](int begin, int end) {
        for (int r = begin; r < end; ++r) {
            int a, b;
            sources(r, a, b);
            std::uint8_t* dst = out.StoredRow(r);
            const std::uint8_t* sa = image.StoredRow(a);
            if (a == b) {
                std::memcpy(dst, sa, rowBytes);
                continue;
            }
            const std::uint8_t* sb = image.StoredRow(b);
            for (std::size_t i = 0; i < rowBytes; ++i)
                dst[i] = static_cast<std::uint8_t>((sa[i] + sb[i]) >> 1);
        }
    });
    return out;
}

}  // namespace duplora
