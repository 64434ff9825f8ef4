#include "core/formats/exif_carry.h"

#include <cstring>

#include "core/formats/atomic_file.h"
#include "core/formats/exif.h"
#include "core/formats/jpeg_segments.h"

namespace duplora {

namespace {

constexpr std::size_t kTiffInSegment = 10;  // FF E1, length, "Exif" 00 00

bool IsExifSegment(std::span<const std::uint8_t> s) {
    return s.size() >= kTiffInSegment + 8 && s[0] == 0xFF && s[1] == 0xE1 &&
           std::memcmp(&s[4], "Exif\0\0", 6) == 0;
}

}  // namespace

std::span<const std::uint8_t> FindFirstExifSegment(std::span<const std::uint8_t> jpeg) {
    // Walk the APP1 segments in turn: XMP comes as APP1, too.
    std::span<const std::uint8_t> rest = jpeg;
    while (true) {
        const std::span<const std::uint8_t> app1 = FindFirstApp1(rest);
        if (app1.empty()) return {};
        if (IsExifSegment(app1)) return app1;
        const std::size_t next = static_cast<std::size_t>(app1.data() - rest.data()) + app1.size();
        if (next + 4 > rest.size()) return {};
        // What follows is a bare segment sequence, which FindFirstApp1 walks as well.
        rest = rest.subspan(next);
    }
}

std::vector<std::uint8_t> ReadExifSegment(const std::string& path) {
    std::vector<std::uint8_t> head;
    if (!ReadFileHead(path, kExifHeaderSize, head)) return {};
    const std::span<const std::uint8_t> segment = FindFirstExifSegment(head);
    return {segment.begin(), segment.end()};
}

std::vector<std::uint8_t> AdaptExifSegment(std::span<const std::uint8_t> segment, int width,
                                           int height) {
    if (!IsExifSegment(segment)) return {};
    // The Exif editor works on a JPEG header: SOI and the segment.
    std::vector<std::uint8_t> header{0xFF, 0xD8};
    header.insert(header.end(), segment.begin(), segment.end());
    ExifValues values;
    values.orientation = 1;
    values.pixelWidth = width;
    values.pixelHeight = height;
    const ExifFacts facts = ScanExifHeader(header, ExifToolMode::WriteDimensions, values);
    if (!facts.HasExif()) return {};
    ScanExifHeader(header, ExifToolMode::WriteOrientation, values);

    // Unlink IFD1 (the thumbnail): IFD0's next-IFD link becomes 0.
    const std::size_t tiff = 2 + kTiffInSegment;
    const bool little = header[tiff] == 'I';
    const auto u16 = [&](std::size_t at) -> std::uint32_t {
        return little ? header[at] | header[at + 1] << 8 : header[at] << 8 | header[at + 1];
    };
    const auto u32 = [&](std::size_t at) -> std::uint32_t {
        return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    };
    const std::size_t ifd0 = tiff + u32(tiff + 4);
    if (ifd0 + 2 <= header.size()) {
        const std::size_t link = ifd0 + 2 + 12 * std::size_t{u16(ifd0)};
        if (link + 4 <= header.size()) std::memset(&header[link], 0, 4);
    }
    return {header.begin() + 2, header.end()};
}

Status InsertExifSegment(const std::string& path, std::span<const std::uint8_t> segment) {
    if (segment.empty()) return {};
    SegmentSource source;
    source.block.assign(segment.begin(), segment.end());
    const SegmentEditResult result = EditJpegSegments(path, source, SegmentEditMode::InsertBlock);
    if (result != SegmentEditResult::Ok)
        return SegmentEditFailure(result, SegmentEditMode::InsertBlock);
    return {};
}

}  // namespace duplora
