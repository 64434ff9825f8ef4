#include "core/formats/mpo.h"

#include <algorithm>
#include <cstring>

#include "core/formats/atomic_file.h"
#include "core/formats/exif.h"
#include "core/formats/exif_carry.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/jpeg_load.h"
#include "core/formats/jpeg_segments.h"
#include "core/formats/temp_file.h"

namespace duplora {

namespace {

// Multi-picture files beyond this are not held in memory.
constexpr std::size_t kMaxMpoFileSize = std::size_t{1} << 30;

constexpr std::uint16_t kTagVersion = 0xB000;
constexpr std::uint16_t kTagNumberOfImages = 0xB001;
constexpr std::uint16_t kTagEntries = 0xB002;
constexpr std::uint16_t kTagIndividualNumber = 0xB101;
constexpr std::size_t kEntrySize = 16;
constexpr std::uint32_t kRepresentative = 0x20000000;
constexpr std::uint32_t kDisparityType = 0x020002;

struct Reader {
    std::span<const std::uint8_t> bytes;
    bool little = false;
    bool Has(std::size_t at, std::size_t n) const {
        return at <= bytes.size() && n <= bytes.size() - at;
    }
    std::uint16_t U16(std::size_t at) const {
        return little ? static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8)
                      : static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
    }
    std::uint32_t U32(std::size_t at) const {
        const std::uint32_t a = bytes[at], b = bytes[at + 1], c = bytes[at + 2], d = bytes[at + 3];
        return little ? a | b << 8 | c << 16 | d << 24 : a << 24 | b << 16 | c << 8 | d;
    }
};

std::uint16_t Be16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

bool StartsWithSoi(std::span<const std::uint8_t> file, std::size_t at) {
    return at <= file.size() && file.size() - at >= 3 && file[at] == 0xFF && file[at + 1] == 0xD8 &&
           file[at + 2] == 0xFF;
}

// The file offset of the TIFF header of the first APP2 "MPF" block of the JPEG at `start`,
// with the block's end; 0 when there is none.
std::pair<std::size_t, std::size_t> FindMpfBlock(std::span<const std::uint8_t> file,
                                                 std::size_t start) {
    std::pair<std::size_t, std::size_t> found{0, 0};
    WalkJpegHeader(file, start, [&](std::uint8_t marker, std::size_t at, std::size_t length) {
        if (marker == 0xE2 && length >= 4 + 4 + 8 && std::memcmp(&file[at + 4], "MPF\0", 4) == 0) {
            found = {at + 8, at + length};
            return false;
        }
        return true;
    });
    return found;
}

}  // namespace

std::vector<MpoPicture> ReadMpoIndex(std::span<const std::uint8_t> file) {
    const auto [tiff, blockEnd] = FindMpfBlock(file, 0);
    if (tiff == 0) return {};
    // Everything of the index lies inside the block.
    Reader r{file.subspan(tiff, blockEnd - tiff)};
    if (!r.Has(0, 8)) return {};
    if (r.bytes[0] == 'I' && r.bytes[1] == 'I')
        r.little = true;
    else if (r.bytes[0] != 'M' || r.bytes[1] != 'M')
        return {};
    if (r.U16(2) != 42) return {};
    const std::size_t ifd = r.U32(4);
    if (!r.Has(ifd, 2)) return {};
    const std::size_t count = r.U16(ifd);
    if (!r.Has(ifd + 2, count * 12)) return {};
    std::uint32_t images = 0;
    std::size_t entriesAt = 0, entriesBytes = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t e = ifd + 2 + 12 * k;
        const std::uint16_t tag = r.U16(e);
        if (tag == kTagNumberOfImages) images = r.U32(e + 8);
        if (tag == kTagEntries) {
            entriesBytes = r.U32(e + 4);
            entriesAt = r.U32(e + 8);
        }
    }
    if (images < 2 || entriesBytes / kEntrySize < images || !r.Has(entriesAt, entriesBytes))
        return {};
    std::vector<MpoPicture> pictures;
    for (std::uint32_t i = 0; i < images; ++i) {
        const std::size_t e = entriesAt + kEntrySize * i;
        MpoPicture picture;
        picture.attribute = r.U32(e);
        const std::uint32_t size = r.U32(e + 4);
        const std::uint32_t offset = r.U32(e + 8);
        // The first picture is the file's own start; the others count from the TIFF header.
        picture.offset = i == 0 ? 0 : tiff + offset;
        if (i > 0 && offset == 0) return {};
        if (!StartsWithSoi(file, picture.offset)) return {};
        // A size that runs past the end is taken up to the end: the decoder stops at EOI.
        picture.size = std::min<std::size_t>(size, file.size() - picture.offset);
        if (picture.size < 4) return {};
        pictures.push_back(picture);
    }
    return pictures;
}

std::vector<MpoPicture> ScanJpegStreams(std::span<const std::uint8_t> file) {
    std::vector<MpoPicture> pictures;
    std::size_t start = 0;
    while (StartsWithSoi(file, start)) {
        const std::size_t sos = WalkJpegHeader(
            file, start, [](std::uint8_t, std::size_t, std::size_t) { return true; });
        if (sos == 0) break;
        // The entropy-coded data holds no FF D9: a data FF is followed by 00 or a restart marker.
        std::size_t p = sos;
        std::size_t end = 0;
        while (p + 1 < file.size()) {
            const void* hit = std::memchr(&file[p], 0xFF, file.size() - p - 1);
            if (!hit) break;
            p = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - file.data());
            if (file[p + 1] == 0xD9) {
                end = p + 2;
                break;
            }
            ++p;
        }
        if (end == 0) {
            // The last picture may end early; it is what there is.
            pictures.push_back({start, file.size() - start, 0});
            break;
        }
        pictures.push_back({start, end - start, 0});
        // The next picture begins at the next SOI, possibly after padding.
        std::size_t next = end;
        while (next < file.size() && !StartsWithSoi(file, next)) {
            const void* hit = std::memchr(&file[next], 0xFF, file.size() - next);
            if (!hit) {
                next = file.size();
                break;
            }
            next = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - file.data());
            if (!StartsWithSoi(file, next)) ++next;
        }
        start = next;
    }
    return pictures;
}

std::vector<MpoPicture> FindMpoPictures(std::span<const std::uint8_t> file) {
    std::vector<MpoPicture> pictures = ReadMpoIndex(file);
    if (pictures.size() >= 2) return pictures;
    return ScanJpegStreams(file);
}

MpoViews ReadMpoBytes(std::span<const std::uint8_t> file, const Progress& progress) {
    MpoViews views;
    const std::vector<MpoPicture> pictures = FindMpoPictures(file);
    if (pictures.size() < 2) return views;
    ImageBuffer decoded[2];
    for (int i = 0; i < 2; ++i) {
        const std::span<const std::uint8_t> bytes =
            file.subspan(pictures[i].offset, pictures[i].size);
        bool partial = false;
        decoded[i] = DecodeJpegMemory(bytes.data(), bytes.size(), false, nullptr, nullptr, &partial,
                                      progress);
        if (!decoded[i] || progress.Cancelled()) return {};
        views.partial = views.partial || partial;
        const ExifFacts facts = ReadExifFacts(bytes.first(std::min(bytes.size(), kExifHeaderSize)));
        if (i == 0) {
            views.orientation = facts.orientation;
            const std::span<const std::uint8_t> app1 = FindFirstExifSegment(bytes);
            views.exif.assign(app1.begin(), app1.end());
        }
        if (facts.orientation == 3 || facts.orientation == 6 || facts.orientation == 8) {
            ImageBuffer turned = ApplyExifOrientation(decoded[i], facts.orientation);
            if (turned) decoded[i] = std::move(turned);
        }
    }
    views.left = std::move(decoded[0]);
    views.right = std::move(decoded[1]);
    return views;
}

MpoViews ReadMpoFile(const std::string& path, const Progress& progress) {
    std::vector<std::uint8_t> file;
    if (!ReadFileHead(path, kMaxMpoFileSize, file)) return {};
    return ReadMpoBytes(file, progress);
}

// ---- writing ----------------------------------------------------------------------------

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, static_cast<std::uint16_t>(v));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}

void Patch32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// One IFD entry (little-endian): tag, type, count, value or offset.
void Entry(std::vector<std::uint8_t>& out, std::uint16_t tag, std::uint16_t type,
           std::uint32_t count, std::uint32_t value) {
    Put16(out, tag);
    Put16(out, type);
    Put32(out, count);
    Put32(out, value);
}

constexpr std::uint16_t kUndefined = 7, kLong = 4;
constexpr std::uint32_t kVersion0100 = '0' | '1' << 8 | '0' << 16 | '0' << 24;
// Offsets inside the first picture's block, from the TIFF header.
constexpr std::size_t kIndexIfd = 8;
constexpr std::size_t kIndexEntries = 3;
constexpr std::size_t kIndexEntriesAt = kIndexIfd + 2 + 12 * kIndexEntries + 4;

// Where the block goes: after SOI and the APP0/APP1 segments that lead the stream.
std::size_t MpfInsertPoint(std::span<const std::uint8_t> jpeg) {
    std::size_t at = 2;
    WalkJpegHeader(jpeg, 0, [&](std::uint8_t marker, std::size_t p, std::size_t length) {
        if (marker != 0xE0 && marker != 0xE1) return false;
        at = p + length;
        return true;
    });
    return at;
}

}  // namespace

std::vector<std::uint8_t> MakeMpfSegment(int pictureNumber, int pictureCount) {
    std::vector<std::uint8_t> tiff{'I', 'I', 42, 0};
    Put32(tiff, kIndexIfd);
    const bool first = pictureNumber == 1;
    if (first) {
        const auto count = static_cast<std::uint32_t>(pictureCount);
        const std::size_t attributeIfd = kIndexEntriesAt + kEntrySize * count;
        Put16(tiff, kIndexEntries);
        Entry(tiff, kTagVersion, kUndefined, 4, kVersion0100);
        Entry(tiff, kTagNumberOfImages, kLong, 1, count);
        Entry(tiff, kTagEntries, kUndefined, static_cast<std::uint32_t>(kEntrySize * count),
              static_cast<std::uint32_t>(kIndexEntriesAt));
        Put32(tiff, static_cast<std::uint32_t>(attributeIfd));
        for (std::uint32_t i = 0; i < count; ++i) {
            Put32(tiff, kDisparityType | (i == 0 ? kRepresentative : 0));
            Put32(tiff, 0);  // size, patched
            Put32(tiff, 0);  // offset, patched
            Put16(tiff, 0);
            Put16(tiff, 0);
        }
    }
    // The attribute IFD: the version and the picture's number.
    Put16(tiff, 2);
    Entry(tiff, kTagVersion, kUndefined, 4, kVersion0100);
    Entry(tiff, kTagIndividualNumber, kLong, 1, static_cast<std::uint32_t>(pictureNumber));
    Put32(tiff, 0);
    static constexpr std::uint8_t kHead[] = {0xFF, 0xE2, 0, 0, 'M', 'P', 'F', 0};
    std::vector<std::uint8_t> segment(sizeof kHead + tiff.size());
    std::copy(std::begin(kHead), std::end(kHead), segment.begin());
    std::copy(tiff.begin(), tiff.end(), segment.begin() + sizeof kHead);
    const std::size_t length = segment.size() - 2;
    segment[2] = static_cast<std::uint8_t>(length >> 8);
    segment[3] = static_cast<std::uint8_t>(length);
    return segment;
}

std::vector<std::uint8_t> JoinMpoPictures(std::span<const std::vector<std::uint8_t>> jpegs) {
    const int count = static_cast<int>(jpegs.size());
    std::vector<std::uint8_t> file;
    std::vector<std::size_t> starts;
    std::size_t firstTiff = 0;
    for (int i = 0; i < count; ++i) {
        const std::vector<std::uint8_t>& jpeg = jpegs[static_cast<std::size_t>(i)];
        if (!StartsWithSoi(jpeg, 0)) return {};
        const std::size_t at = MpfInsertPoint(jpeg);
        const std::vector<std::uint8_t> block = MakeMpfSegment(i + 1, count);
        starts.push_back(file.size());
        if (i == 0) firstTiff = file.size() + at + 8;
        file.insert(file.end(), jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(at));
        file.insert(file.end(), block.begin(), block.end());
        file.insert(file.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(at), jpeg.end());
    }
    starts.push_back(file.size());
    // The sizes and offsets are known only now.
    for (int i = 0; i < count; ++i) {
        std::uint8_t* entry =
            &file[firstTiff + kIndexEntriesAt + kEntrySize * static_cast<std::size_t>(i)];
        const std::size_t start = starts[static_cast<std::size_t>(i)];
        Patch32(entry + 4,
                static_cast<std::uint32_t>(starts[static_cast<std::size_t>(i) + 1] - start));
        Patch32(entry + 8, static_cast<std::uint32_t>(i == 0 ? 0 : start - firstTiff));
    }
    return file;
}

namespace {

// The view encoded as a JPEG in memory, with `exif` in place of any APP1 it has.
bool EncodeToMemory(const ImageBuffer& view, int quality, std::span<const std::uint8_t> exif,
                    const Progress& progress, std::vector<std::uint8_t>& out) {
    const ScratchFile scratch("mpo");
    if (!scratch.Valid()) return false;
    if (!EncodeJpegImage(scratch.Path(), view, true, std::clamp(quality, 1, 100), progress))
        return false;
    if (!ReadFileHead(scratch.Path(), kMaxMpoFileSize, out) || !StartsWithSoi(out, 0)) return false;
    if (exif.empty()) return true;
    // After SOI and the JFIF APP0 the encoder writes.
    std::size_t at = 2;
    if (out.size() > 4 && out[2] == 0xFF && out[3] == 0xE0) at = 4 + Be16(&out[4]);
    if (at > out.size()) return false;
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), exif.begin(), exif.end());
    return true;
}

}  // namespace

Status WriteMpoFile(const std::string& path, const ImageBuffer& left, const ImageBuffer& right,
                    int quality, std::span<const std::uint8_t> exif, const Progress& progress) {
    std::vector<std::uint8_t> jpegs[2];
    if (!EncodeToMemory(left, quality, exif, progress, jpegs[0]) ||
        !EncodeToMemory(right, quality, exif, progress, jpegs[1]))
        return Failure::Quiet(path);
    const std::vector<std::uint8_t> file = JoinMpoPictures(jpegs);
    if (file.empty()) return Failure::Quiet(path);
    if (ReplaceFile(path, file, FileStamp{}) != ReplaceResult::Ok) return CannotOpenFile(path);
    return {};
}

}  // namespace duplora
