#include "core/image/palette.h"

#include <cstring>

namespace duplora {

namespace {

// Level i of n spread evenly over 0..255, rounded.
std::uint8_t Level(int i, int n) {
    return static_cast<std::uint8_t>((i * 255 * 2 + n - 1) / (2 * (n - 1)));
}

std::uint16_t Read16(const std::uint8_t* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

}  // namespace

std::vector<PaletteEntry> CreateImagePalette(const ImageBuffer& image, std::uint8_t flags) {
    if (!image) return {};
    const std::uint32_t headerSize = image.HeaderSize();
    // A 12-byte header keeps the bit count at offset 10 and 3-byte table entries.
    const bool coreHeader = headerSize == 12;
    const int bits = coreHeader ? Read16(image.Data() + 10) : image.BitCount();
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return {};
    // A true-colour picture that names a number of colours used carries them in its
    // table; those are its palette rather than the fixed set.
    const bool countGiven = !coreHeader && headerSize >= 36 && image.ColoursUsed() != 0;
    std::size_t count = kTrueColourPaletteSize;
    if (countGiven)
        count = image.ColoursUsed();
    else if (bits <= 8)
        count = std::size_t{1} << bits;
    // No palette display takes more than 256 entries; a larger count is a broken header.
    if (count > 256) return {};

    std::vector<PaletteEntry> palette(count);
    const bool fromTable = bits <= 8 || countGiven;
    if (fromTable) {
        const std::uint8_t* table = image.Data() + headerSize;
        const std::size_t entrySize = coreHeader ? 3 : 4;
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* e = table + i * entrySize;
            palette[i] = {e[2], e[1], e[0], flags};
        }
        return palette;
    }
    std::size_t i = 0;
    for (int r = 0; r < 7; ++r)
        for (int g = 0; g < 8; ++g)
            for (int b = 0; b < 4; ++b)
                palette[i++] = {Level(r, 7), Level(g, 8), Level(b, 4), flags};
    return palette;
}

PopularPalette BuildPopularPalette(const ImageBuffer& image) {
    PopularPalette result;
    if (!image || image.BitCount() != 24 || image.Width() <= 0 || image.Height() <= 0)
        return result;
    const int width = image.Width(), height = image.Height();
    const int stepX = width / 200 + 1, stepY = height / 200 + 1;
    const std::uint8_t* pixels = image.Pixels();
    const std::size_t stride = static_cast<std::size_t>(image.Stride());

    struct Candidate {
        std::uint32_t colour;  // blue << 16 | green << 8 | red
        int count;
    };
    std::vector<Candidate> list;
    // Every mask keeps a subset of the top four bits of each channel, so a reduced
    // colour is found by those twelve bits; the index answers what the search from the
    // start of the list would find first.
    std::vector<int> where(4096);
    auto key = [](std::uint32_t c) {
        return ((c >> 12) & 0xF00) | ((c >> 8) & 0xF0) | ((c >> 4) & 0xF);
    };
    unsigned mask = 0xF0;
    for (;;) {
        list.clear();
        std::fill(where.begin(), where.end(), -1);
        auto add = [&](std::uint32_t colour, int count) {
            if (where[key(colour)] < 0) where[key(colour)] = static_cast<int>(list.size());
            list.push_back({colour, count});
        };
        add(0, 0);
        add(mask << 16 | mask << 8 | mask, 0);
        bool overflow = false;
        for (int row = 0; row < height && !overflow; row += stepY) {
            const std::uint8_t* p = pixels + static_cast<std::size_t>(row) * stride;
            for (int x = 0; x < width; x += stepX) {
                const std::uint32_t colour =
                    (p[x * 3] & mask) << 16 | (p[x * 3 + 1] & mask) << 8 | (p[x * 3 + 2] & mask);
                const int found = where[key(colour)];
                if (found >= 0) {
                    ++list[static_cast<std::size_t>(found)].count;
                    continue;
                }
                add(colour, 1);
                if (list.size() > 1500) {
                    overflow = true;
                    break;
                }
            }
        }
        if (!overflow) break;
        mask = (mask << 1) & 0xFF;
    }

    list[1].colour = 0xFFFFFF;
    for (int k = 0; k < 256; ++k) {
        std::size_t best = 0;
        int bestCount = 0;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].count > bestCount) {
                best = i;
                bestCount = list[i].count;
            }
        }
        // With every count used up the rest is the first entry, black.
        const std::uint32_t c = list[bestCount > 0 ? best : 0].colour;
        if (bestCount > 0) list[best].count = 0;
        result.blue[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(c >> 16);
        result.green[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(c >> 8);
        result.red[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(c);
    }
    result.valid = true;
    return result;
}

}  // namespace duplora
