#include "core/formats/jps_descriptor.h"

#include <algorithm>
#include <cstring>

#include "core/formats/atomic_file.h"
#include "core/formats/exif.h"
#include "core/formats/jpeg_segments.h"

namespace duplora {

namespace {

constexpr char kIdentifier[8] = {'_', 'J', 'P', 'S', 'J', 'P', 'S', '_'};
// Stored as one big-endian word: separation, flags, layout, type.
constexpr std::uint8_t kFlagHalfHeight = 0x01;
constexpr std::uint8_t kFlagHalfWidth = 0x02;
constexpr std::uint8_t kFlagLeftFirst = 0x04;
constexpr std::uint8_t kLayoutInterleaved = 1;
constexpr std::uint8_t kLayoutSideBySide = 2;
constexpr std::uint8_t kLayoutOverUnder = 3;
constexpr std::uint8_t kLayoutAnaglyph = 4;
// Files larger than this are not read whole for a rewrite.
constexpr std::size_t kMaxRewrittenSize = std::size_t{1} << 31;

std::size_t Be16(const std::uint8_t* p) {
    return static_cast<std::size_t>(p[0] << 8 | p[1]);
}

StereoLayout LayoutOfCode(std::uint8_t code) {
    switch (code) {
        case kLayoutInterleaved:
            return StereoLayout::Interlace;
        case kLayoutOverUnder:
            return StereoLayout::OverUnder;
        case kLayoutAnaglyph:
            return StereoLayout::Anaglyph;
        default:
            return StereoLayout::SideBySide;
    }
}

std::uint8_t CodeOfLayout(StereoLayout layout) {
    switch (layout) {
        case StereoLayout::Interlace:
            return kLayoutInterleaved;
        case StereoLayout::OverUnder:
            return kLayoutOverUnder;
        case StereoLayout::Anaglyph:
            return kLayoutAnaglyph;
        default:
            return kLayoutSideBySide;
    }
}

std::optional<JpsDescriptor> Parse(std::span<const std::uint8_t> body) {
    // body: identifier, descriptor block (length, at least 4 bytes), comment block.
    if (body.size() < 8 + 2 + 4 || std::memcmp(body.data(), kIdentifier, 8) != 0)
        return std::nullopt;
    const std::size_t blockLength = Be16(&body[8]);
    if (blockLength < 4 || blockLength > body.size() - 10) return std::nullopt;
    const std::uint8_t* d = &body[10];
    JpsDescriptor descriptor;
    descriptor.separation = d[0];
    descriptor.halfHeight = d[1] & kFlagHalfHeight;
    descriptor.halfWidth = d[1] & kFlagHalfWidth;
    descriptor.leftFirst = d[1] & kFlagLeftFirst;
    descriptor.layout = LayoutOfCode(d[2]);
    descriptor.stereo = d[3] == 1;
    const std::size_t comment = 10 + blockLength;
    if (comment + 2 <= body.size()) {
        const std::size_t length = Be16(&body[comment]);
        if (length <= body.size() - comment - 2)
            descriptor.comment.assign(reinterpret_cast<const char*>(&body[comment + 2]), length);
    }
    return descriptor;
}

// Offset after SOI and the leading APP0/APP1 segments; 0 for no JPEG.
std::size_t InsertPoint(std::span<const std::uint8_t> jpeg) {
    std::size_t at = 0;
    const bool whole =
        WalkJpegHeader(jpeg, 0, [&](std::uint8_t marker, std::size_t p, std::size_t length) {
            if (marker != 0xE0 && marker != 0xE1) return false;
            at = p + length;
            return true;
        }) != 0;
    if (!whole) return 0;
    return at == 0 ? 2 : at;
}

}  // namespace

std::optional<JpsDescriptor> ReadJpsDescriptor(std::span<const std::uint8_t> jpeg) {
    std::optional<JpsDescriptor> found;
    WalkJpegHeader(jpeg, 0, [&](std::uint8_t marker, std::size_t at, std::size_t length) {
        if (marker == 0xE3) found = Parse(jpeg.subspan(at + 4, length - 4));
        return !found;
    });
    return found;
}

std::optional<JpsDescriptor> ReadJpsDescriptor(const std::string& path) {
    std::vector<std::uint8_t> head;
    if (!ReadFileHead(path, kExifHeaderSize, head)) return std::nullopt;
    return ReadJpsDescriptor(head);
}

JpsDescriptor JpsDescriptorForMode(DisplayMode mode) {
    JpsDescriptor d;
    d.comment = "Duplora";
    switch (mode) {
        case DisplayMode::OverUnder:
            d.layout = StereoLayout::OverUnder;
            break;
        case DisplayMode::HalfOverUnder:
            d.layout = StereoLayout::OverUnder;
            d.halfHeight = true;
            break;
        case DisplayMode::HalfSideBySide:
            d.halfWidth = true;
            break;
        case DisplayMode::Interlace:
            d.layout = StereoLayout::Interlace;
            break;
        case DisplayMode::GreyAnaglyph:
        case DisplayMode::ColourAnaglyph:
            d.layout = StereoLayout::Anaglyph;
            break;
        case DisplayMode::Single:
            d.stereo = false;
            break;
        default:
            break;
    }
    return d;
}

std::vector<std::uint8_t> MakeJpsSegment(const JpsDescriptor& descriptor) {
    // Marker, length (patched below), identifier, descriptor block length 4.
    std::vector<std::uint8_t> s(4 + sizeof kIdentifier + 2);
    s[0] = 0xFF;
    s[1] = 0xE3;
    std::copy(std::begin(kIdentifier), std::end(kIdentifier), s.begin() + 4);
    s.back() = 4;
    const std::uint8_t flags = static_cast<std::uint8_t>(
        (descriptor.halfHeight ? kFlagHalfHeight : 0) |
        (descriptor.halfWidth ? kFlagHalfWidth : 0) | (descriptor.leftFirst ? kFlagLeftFirst : 0));
    s.push_back(static_cast<std::uint8_t>(std::clamp(descriptor.separation, 0, 255)));
    s.push_back(flags);
    s.push_back(CodeOfLayout(descriptor.layout));
    s.push_back(descriptor.stereo ? 1 : 0);
    const std::size_t comment = std::min<std::size_t>(descriptor.comment.size(), 65000);
    s.push_back(static_cast<std::uint8_t>(comment >> 8));
    s.push_back(static_cast<std::uint8_t>(comment));
    s.insert(s.end(), descriptor.comment.begin(),
             descriptor.comment.begin() + static_cast<std::ptrdiff_t>(comment));
    const std::size_t length = s.size() - 2;
    s[2] = static_cast<std::uint8_t>(length >> 8);
    s[3] = static_cast<std::uint8_t>(length);
    return s;
}

bool InsertJpsDescriptor(const std::string& path, const JpsDescriptor& descriptor) {
    std::vector<std::uint8_t> file;
    if (!ReadFileHead(path, kMaxRewrittenSize, file)) return false;
    const std::size_t at = InsertPoint(file);
    if (at == 0) return false;
    const std::vector<std::uint8_t> segment = MakeJpsSegment(descriptor);
    const std::span<const std::uint8_t> bytes(file);
    const std::span<const std::uint8_t> pieces[] = {bytes.first(at), segment, bytes.subspan(at)};
    return ReplaceFile(path, pieces, ReadFileStamp(path)) == ReplaceResult::Ok;
}

}  // namespace duplora
