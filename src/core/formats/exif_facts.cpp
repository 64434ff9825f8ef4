#include "core/formats/exif_facts.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace duplora {

namespace {

constexpr std::uint8_t kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA, kApp1 = 0xE1, kTem = 0x01;
constexpr std::uint16_t kTagOrientation = 0x0112;
constexpr std::uint16_t kTagThumbnailOffset = 0x0201;
constexpr std::uint16_t kTagThumbnailLength = 0x0202;
constexpr std::uint16_t kTypeShort = 3, kTypeLong = 4;
// IFD0 and IFD1 are all a JPEG's TIFF header chains; a longer chain is a loop or junk.
constexpr int kMaxIfds = 4;

std::uint16_t Be16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

bool IsFrameHeader(std::uint8_t m) {
    // SOF0–SOF15 except DHT (C4), JPG (C8) and DAC (CC).
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

// The TIFF structure inside the Exif block, bounded by [begin, end).
class TiffView {
  public:
    TiffView(const std::uint8_t* begin, std::size_t size)
        : p_(begin), size_(size), little_(size > 0 && begin[0] == 'I') {}
    bool Has(std::uint64_t offset, std::uint64_t bytes) const {
        return offset <= size_ && bytes <= size_ - offset;
    }
    std::uint16_t U16(std::size_t at) const {
        return little_ ? static_cast<std::uint16_t>(p_[at] | (p_[at + 1] << 8))
                       : static_cast<std::uint16_t>((p_[at] << 8) | p_[at + 1]);
    }
    std::uint32_t U32(std::size_t at) const {
        const std::uint32_t a = p_[at], b = p_[at + 1], c = p_[at + 2], d = p_[at + 3];
        return little_ ? (a | (b << 8) | (c << 16) | (d << 24))
                       : ((a << 24) | (b << 16) | (c << 8) | d);
    }
    std::size_t Size() const { return size_; }
    const std::uint8_t* Data() const { return p_; }

  private:
    const std::uint8_t* p_;
    std::size_t size_;
    bool little_;
};

void ReadTiff(const TiffView& tiff, ExifFacts& facts) {
    if (!tiff.Has(0, 8)) return;
    facts.hasExif = true;
    std::uint32_t ifd = tiff.U32(4);
    bool haveOffset = false, haveLength = false;
    std::uint32_t offset = 0, length = 0;
    for (int index = 0; index < kMaxIfds && ifd != 0 && tiff.Has(ifd, 2); ++index) {
        const std::uint16_t count = tiff.U16(ifd);
        std::size_t entry = std::size_t{ifd} + 2;
        for (int i = 0; i < count && tiff.Has(entry, 12); ++i, entry += 12) {
            const std::uint16_t tag = tiff.U16(entry);
            const std::uint16_t type = tiff.U16(entry + 2);
            // A SHORT value sits in the first two bytes of the value field, a LONG fills it.
            const std::uint32_t value = type == kTypeShort  ? tiff.U16(entry + 8)
                                        : type == kTypeLong ? tiff.U32(entry + 8)
                                                            : 0;
            if (type != kTypeShort && type != kTypeLong) continue;
            if (tag == kTagOrientation && index == 0) {
                facts.orientation = static_cast<int>(value);
            } else if (tag == kTagThumbnailOffset) {
                offset = value, haveOffset = true;
            } else if (tag == kTagThumbnailLength) {
                length = value, haveLength = true;
            }
        }
        if (haveOffset && haveLength) break;
        const std::size_t link = std::size_t{ifd} + 2 + std::size_t{count} * 12;
        if (!tiff.Has(link, 4)) break;
        const std::uint32_t next = tiff.U32(link);
        if (next == ifd) break;
        ifd = next;
    }
    if (haveOffset && haveLength && length > 0 && tiff.Has(offset, length)) {
        facts.thumbnailOffset = offset;
        facts.thumbnailLength = length;
    }
}

}  // namespace

ExifFacts ParseExifFacts(const std::uint8_t* data, std::size_t size,
                         std::vector<std::uint8_t>* thumbnail) {
    ExifFacts facts;
    if (thumbnail) thumbnail->clear();
    if (!data) return facts;
    const std::uint8_t* tiffStart = nullptr;
    std::size_t tiffSize = 0;
    bool haveFrame = false;
    std::size_t i = 0;
    while (i + 1 < size) {
        if (data[i] != 0xFF) {
            ++i;
            continue;
        }
        const std::uint8_t marker = data[i + 1];
        // Fill bytes (FF FF) and stuffed zeros are not markers.
        if (marker == 0xFF || marker < 0xC0) {
            if (marker == kTem)
                i += 2;
            else
                ++i;
            continue;
        }
        if (marker == kSoi || (marker >= 0xD0 && marker <= 0xD7)) {
            i += 2;
            continue;
        }
        if (marker == kEoi || marker == kSos) break;
        if (i + 4 > size) break;
        const std::size_t length = Be16(data + i + 2);
        if (length < 2) break;
        const std::size_t payload = i + 4;
        const std::size_t end = std::min(size, i + 2 + length);
        if (IsFrameHeader(marker) && !haveFrame && length >= 7 && payload + 5 <= size) {
            facts.frameHeight = Be16(data + payload + 1);
            facts.frameWidth = Be16(data + payload + 3);
            haveFrame = true;
        } else if (marker == kApp1 && !tiffStart && length >= 8 && payload + 6 <= end &&
                   std::memcmp(data + payload, "Exif\0\0", 6) == 0) {
            tiffStart = data + payload + 6;
            tiffSize = end - (payload + 6);
        }
        i += 2 + length;
    }
    if (tiffStart) {
        const TiffView tiff(tiffStart, tiffSize);
        ReadTiff(tiff, facts);
        if (thumbnail && facts.thumbnailLength > 0)
            thumbnail->assign(tiff.Data() + facts.thumbnailOffset,
                              tiff.Data() + facts.thumbnailOffset + facts.thumbnailLength);
    }
    return facts;
}

ExifFacts ReadExifFacts(const std::string& path, std::vector<std::uint8_t>* thumbnail) {
    if (thumbnail) thumbnail->clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return {};
    std::vector<std::uint8_t> buffer(kExifHeaderBufferSize);
    const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), file);
    std::fclose(file);
    return ParseExifFacts(buffer.data(), n, thumbnail);
}

}  // namespace duplora
