#include "core/formats/exif.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>

#include "core/formats/atomic_file.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/jpeg_segments.h"
#include "core/image/filter.h"
#include "core/image/image_buffer.h"
#include "core/image/resample.h"

namespace duplora {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
// Files rewritten by the writing modes are held in memory whole.
constexpr std::size_t kMaxRewrittenFileSize = std::size_t{1} << 31;
// A chain of IFDs longer than this is taken as a loop or garbage.
constexpr int kMaxDirectories = 32;
constexpr int kThumbnailSide = 160;
constexpr int kThumbnailQuality = 60;
constexpr int kThumbnailSharpenDivisor = 30;

enum : std::uint16_t {
    kTagOrientation = 274,
    kTagThumbnailOffset = 513,
    kTagThumbnailLength = 514,
    kTagExifIfd = 34665,
    kTagPixelX = 40962,
    kTagPixelY = 40963,
};
enum : std::uint16_t { kTypeShort = 3, kTypeLong = 4, kTypeIfd = 13 };

std::uint16_t Be16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

// Frame headers of every coding process; they all carry the picture's size.
bool IsFrameHeader(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The TIFF structure inside an Exif block: [0, size) of `data`, in the block's byte order.
class TiffView {
  public:
    TiffView(std::uint8_t* data, std::size_t size)
        : data_(data), size_(size), little_(size > 0 && data[0] == 'I') {}

    std::size_t Size() const { return size_; }
    // All reads and writes are at offsets the caller has checked against Size().
    std::uint32_t Get16(std::size_t at) const {
        const std::uint8_t* p = data_ + at;
        return little_ ? (p[0] | (p[1] << 8)) : ((p[0] << 8) | p[1]);
    }
    std::uint32_t Get32(std::size_t at) const {
        const std::uint32_t a = Get16(at), b = Get16(at + 2);
        return little_ ? (a | (b << 16)) : ((a << 16) | b);
    }
    bool Put16(std::size_t at, std::uint32_t v) {
        const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(little_ ? v : v >> 8),
                                       static_cast<std::uint8_t>(little_ ? v >> 8 : v)};
        return Store(at, bytes, 2);
    }
    bool Put32(std::size_t at, std::uint32_t v) {
        const std::uint8_t bytes[4] = {
            static_cast<std::uint8_t>(little_ ? v : v >> 24),
            static_cast<std::uint8_t>(little_ ? v >> 8 : v >> 16),
            static_cast<std::uint8_t>(little_ ? v >> 16 : v >> 8),
            static_cast<std::uint8_t>(little_ ? v >> 24 : v),
        };
        return Store(at, bytes, 4);
    }
    // A SHORT or LONG value of an entry's value field; false for other types.
    bool Value(std::size_t field, std::uint32_t type, std::uint32_t& out) const {
        if (type == kTypeShort) {
            out = Get16(field);
            return true;
        }
        if (type == kTypeLong || type == kTypeIfd) {
            out = Get32(field);
            return true;
        }
        return false;
    }
    // Writes a value as the entry's type demands; true when a byte changed.
    bool SetValue(std::size_t field, std::uint32_t type, std::uint32_t v) {
        if (type == kTypeShort) return Put16(field, v & 0xFFFF);
        if (type == kTypeLong) return Put32(field, v);
        return false;
    }

  private:
    bool Store(std::size_t at, const std::uint8_t* bytes, std::size_t n) {
        if (std::memcmp(data_ + at, bytes, n) == 0) return false;
        std::memcpy(data_ + at, bytes, n);
        return true;
    }

    std::uint8_t* data_;
    std::size_t size_;
    bool little_;
};

struct DirectoryWalk {
    DirectoryWalk(TiffView& t, ExifToolMode m, const ExifValues& v, ExifFacts& f)
        : tiff(t), mode(m), values(v), facts(f) {}

    TiffView& tiff;
    ExifToolMode mode;
    const ExifValues& values;
    ExifFacts& facts;
    bool changed = false;
    bool haveOffset = false;
    bool haveLength = false;
    std::uint32_t exifIfd = 0;
    std::vector<std::uint32_t> visited;

    // Handles the entries of the directory at `offset`; returns its link to the next
    // directory, or 0 when there is none or it lies beyond the bytes read.
    std::uint32_t Directory(std::uint32_t offset, bool exifDirectory) {
        if (std::find(visited.begin(), visited.end(), offset) != visited.end()) return 0;
        visited.push_back(offset);
        const std::size_t size = tiff.Size();
        if (offset > size || size - offset < 2) return 0;
        const std::size_t count = tiff.Get16(offset);
        const std::size_t fitting = (size - offset - 2) / 12;
        const std::size_t entries = std::min(count, fitting);
        for (std::size_t i = 0; i < entries; ++i) {
            const std::size_t entry = offset + 2 + 12 * i;
            const std::uint32_t tag = tiff.Get16(entry);
            const std::uint32_t type = tiff.Get16(entry + 2);
            const std::size_t field = entry + 8;
            std::uint32_t value = 0;
            if (exifDirectory) {
                if (tag == kTagPixelX) changed |= tiff.SetValue(field, type, values.pixelWidth);
                if (tag == kTagPixelY) changed |= tiff.SetValue(field, type, values.pixelHeight);
                continue;
            }
            switch (tag) {
                case kTagOrientation:
                    if (mode == ExifToolMode::WriteOrientation)
                        changed |= tiff.SetValue(field, type,
                                                 static_cast<std::uint32_t>(values.orientation));
                    else if (tiff.Value(field, type, value))
                        facts.orientation = static_cast<int>(std::min<std::uint32_t>(value, 65535));
                    break;
                case kTagThumbnailOffset:
                    if (tiff.Value(field, type, value)) {
                        facts.thumbnailOffset = value;
                        haveOffset = true;
                    }
                    break;
                case kTagThumbnailLength:
                    if (tiff.Value(field, type, value)) {
                        facts.thumbnailLength = value;
                        haveLength = true;
                    }
                    break;
                case kTagExifIfd:
                    if (mode == ExifToolMode::WriteDimensions && tiff.Value(field, type, value))
                        exifIfd = value;
                    break;
                default:
                    break;
            }
        }
        if (count > fitting) return 0;
        const std::size_t link = offset + 2 + 12 * count;
        if (size - link < 4) return 0;
        return tiff.Get32(link);
    }
};

}  // namespace

ExifFacts ScanExifHeader(std::span<std::uint8_t> header, ExifToolMode mode,
                         const ExifValues& values, bool* changed) {
    ExifFacts facts;
    if (changed) *changed = false;
    const std::size_t n = header.size();
    std::uint8_t* buf = header.data();
    std::size_t tiffStart = kNone, tiffEnd = 0;

    // Marker walk: a byte after FF is a marker when it is C0 or above.
    std::size_t p = 0;
    while (p + 1 < n) {
        if (buf[p] != 0xFF || buf[p + 1] < 0xC0) {
            ++p;
            continue;
        }
        const std::uint8_t marker = buf[p + 1];
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7)) {
            p += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xFF) {
            // The picture ends before its scan: nothing in it is trusted.
            ExifFacts none;
            none.comment = std::move(facts.comment);
            return none;
        }
        if (marker == 0xDA) break;
        if (p + 4 > n) break;
        const std::size_t length = Be16(buf + p + 2);
        if (length < 2) break;
        const std::size_t end = std::min(p + 2 + length, n);
        if (IsFrameHeader(marker) && end - p >= 9) {
            facts.height = Be16(buf + p + 5);
            facts.width = Be16(buf + p + 7);
        } else if (marker == 0xE1 && tiffStart == kNone && length >= 6 && end - p >= 8 &&
                   std::memcmp(buf + p + 4, "Exif", 4) == 0) {
            tiffStart = std::min(p + 10, end);
            tiffEnd = end;
        } else if (marker == 0xFE) {
            const std::uint8_t* text = buf + p + 4;
            const std::uint8_t* textEnd = buf + std::max(end, p + 4);
            facts.comment.assign(text, std::find(text, textEnd, 0));
        }
        p += 2 + length;
    }
    if (tiffStart == kNone || tiffEnd - tiffStart < 8) return facts;

    facts.tiffHeader = tiffStart;
    TiffView tiff(buf + tiffStart, tiffEnd - tiffStart);
    DirectoryWalk walk{tiff, mode, values, facts};
    std::uint32_t next = tiff.Get32(4);
    for (int i = 0; i < kMaxDirectories && next != 0; ++i) {
        next = walk.Directory(next, false);
        if (walk.exifIfd != 0) {
            walk.Directory(walk.exifIfd, true);
            walk.exifIfd = 0;
        }
        if (walk.haveOffset && walk.haveLength) break;
    }
    if (!walk.haveOffset) facts.thumbnailOffset = 0;
    if (!walk.haveLength) facts.thumbnailLength = 0;
    facts.thumbnailInside = walk.haveOffset && walk.haveLength && facts.thumbnailLength > 0 &&
                            facts.thumbnailOffset <= tiff.Size() &&
                            facts.thumbnailLength <= tiff.Size() - facts.thumbnailOffset;
    facts.result = ExifToolResult::Done;
    if (changed) *changed = walk.changed;
    return facts;
}

ExifFacts ReadExifFacts(std::span<const std::uint8_t> header,
                        std::vector<std::uint8_t>* thumbnail) {
    // The reading modes never store into the bytes, so a read-only view is safe here.
    const std::span<std::uint8_t> bytes(const_cast<std::uint8_t*>(header.data()),
                                        std::min(header.size(), kExifHeaderSize));
    ExifFacts facts = ScanExifHeader(bytes, ExifToolMode::ReadOrientation);
    if (thumbnail) {
        thumbnail->clear();
        if (facts.thumbnailInside) {
            const auto* first = header.data() + facts.tiffHeader + facts.thumbnailOffset;
            thumbnail->assign(first, first + facts.thumbnailLength);
        }
    }
    return facts;
}

ExifFacts ReadExifFacts(const std::string& path, std::vector<std::uint8_t>* thumbnail) {
    if (thumbnail) thumbnail->clear();
    std::vector<std::uint8_t> head;
    if (!ReadFileHead(path, kExifHeaderSize, head)) return {};
    return ReadExifFacts(head, thumbnail);
}

ExifFacts ExifTool(const std::string& path, const std::string& thumbnailPath, ExifToolMode mode,
                   const ExifValues& values) {
    ExifFacts failed;
    const bool writing =
        mode == ExifToolMode::WriteOrientation || mode == ExifToolMode::WriteDimensions;
    FileStamp stamp;
    if (writing) {
        stamp = ReadFileStamp(path);
        if (!stamp.valid || stamp.size > kMaxRewrittenFileSize) {
            failed.result = ExifToolResult::CannotOpen;
            return failed;
        }
    }
    std::vector<std::uint8_t> file;
    // A file that is too large to hold, or that changed under us, is never rewritten from
    // a partial read.
    if (!ReadFileHead(path, writing ? kMaxRewrittenFileSize : kExifHeaderSize, file) ||
        (writing && file.size() != stamp.size)) {
        failed.result = ExifToolResult::CannotOpen;
        return failed;
    }
    const std::span<std::uint8_t> header(file.data(), std::min(file.size(), kExifHeaderSize));
    bool changed = false;
    ExifFacts facts = ScanExifHeader(header, mode, values, &changed);
    if (facts.result == ExifToolResult::NoExif) return facts;

    if (writing) {
        // A read-only file is refused rather than replaced behind its owner's back.
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            facts.result = ExifToolResult::CannotWrite;
            return facts;
        }
        ::close(fd);
        if (changed && ReplaceFile(path, file, stamp) != ReplaceResult::Ok)
            facts.result = ExifToolResult::CannotWrite;
        return facts;
    }
    if (mode == ExifToolMode::ExtractThumbnail && facts.thumbnailInside) {
        const auto thumbnail = std::span<const std::uint8_t>(header).subspan(
            facts.tiffHeader + facts.thumbnailOffset, facts.thumbnailLength);
        facts.result = ReplaceFile(thumbnailPath, thumbnail, FileStamp{}) == ReplaceResult::Ok
                           ? ExifToolResult::ThumbnailWritten
                           : ExifToolResult::CannotWrite;
    }
    return facts;
}

// ---- the Exif block of files this program writes ------------------------------------

std::string ExifDateText(std::time_t time) {
    std::tm local{};
    if (!::localtime_r(&time, &local)) return "0000:00:00 00:00:00";
    char text[64];
    std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::vector<std::uint8_t> MakeExifBlock(std::span<const std::uint8_t> thumbnail, int width,
                                        int height, const std::string& dateTime) {
    if (thumbnail.empty() || thumbnail.size() > kMaxExifThumbnailSize) return {};
    const auto base = ExifTemplate();
    std::vector<std::uint8_t> block(base.begin(), base.end());
    block.insert(block.end(), thumbnail.begin(), thumbnail.end());
    const std::size_t length = block.size() - 2;
    block[kExifTemplateLengthAt] = static_cast<std::uint8_t>(length >> 8);
    block[kExifTemplateLengthAt + 1] = static_cast<std::uint8_t>(length & 0xFF);
    const std::size_t dateLength = std::min<std::size_t>(dateTime.size(), 19);
    for (std::size_t at :
         {kExifTemplateDateTimeAt, kExifTemplateOriginalAt, kExifTemplateDigitizedAt})
        std::memcpy(block.data() + at, dateTime.data(), dateLength);
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        block[at] = static_cast<std::uint8_t>(v & 0xFF);
        block[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
    };
    put16(kExifTemplatePixelXAt, static_cast<std::uint32_t>(width));
    put16(kExifTemplatePixelYAt, static_cast<std::uint32_t>(height));
    put16(kExifTemplateThumbLengthAt, static_cast<std::uint32_t>(thumbnail.size()));
    return block;
}

namespace {

// The picture of the thumbnail: the file decoded as a preview, resized so that its longer
// side is 160 and sharpened; with it the full size of the file.
ImageBuffer MakeThumbnailPicture(const std::string& path, int& fullWidth, int& fullHeight) {
    int w = 0, h = 0;
    const ImageBuffer preview = DecodeJpegFile(path, true, &w, &h);
    if (!preview || w <= 0 || h <= 0) return {};
    fullWidth = w;
    fullHeight = h;
    // Integer division as everywhere in the program; a sliver still keeps one pixel.
    int thumbWidth = kThumbnailSide, thumbHeight = kThumbnailSide;
    if (h < w)
        thumbHeight = std::max(1, h * kThumbnailSide / w);
    else
        thumbWidth = std::max(1, w * kThumbnailSide / h);
    const ImageBuffer resized = ResizeImage(preview, thumbWidth, thumbHeight);
    if (!resized) return {};
    return SharpenImage(resized, kThumbnailSharpenDivisor);
}

// A unique file name in the system's temporary folder; the file is removed at the end.
class TemporaryFile {
  public:
    TemporaryFile() {
        std::error_code ec;
        auto folder = std::filesystem::temp_directory_path(ec);
        if (ec) folder = "/tmp";
        path_ = (folder / "duplora-thumbnail-XXXXXX").string();
        const int fd = ::mkstemp(path_.data());
        if (fd < 0)
            path_.clear();
        else
            ::close(fd);
    }
    ~TemporaryFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    bool Valid() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace

Status AddExifBlock(const std::string& path) {
    const FileStamp stamp = ReadFileStamp(path);
    // A file that already has an Exif block keeps it, and one we cannot read gets none.
    if (ExifTool(path, {}, ExifToolMode::ReadOrientation).result != ExifToolResult::NoExif)
        return Failure::Quiet(path);

    int width = 0, height = 0;
    const ImageBuffer thumbnail = MakeThumbnailPicture(path, width, height);
    if (!thumbnail) return Failure::Literal("Error make a thumbnail image", path);

    std::vector<std::uint8_t> encoded;
    {
        TemporaryFile temp;
        if (!temp.Valid()) return Failure::Literal("Error make a Exif file", path);
        if (Status made = EncodeJpegImage(temp.Path(), thumbnail, true, kThumbnailQuality); !made)
            return Failure::Literal("Error make a Exif file", path).After(made.Error());
        // The thumbnail lives inside the Exif block; a JFIF header there would be noise.
        EditJpegSegments(temp.Path(), {}, SegmentEditMode::DropApp0);
        if (!ReadFileHead(temp.Path(), kMaxExifThumbnailSize + 1, encoded) || encoded.empty())
            return Failure::Literal("Error open temporary file", path);
    }
    if (encoded.size() > kMaxExifThumbnailSize)
        return Failure::Literal("Error make a Exif file", path);

    const std::time_t written = stamp.valid ? stamp.modifyTime.tv_sec : std::time(nullptr);
    SegmentSource source;
    source.block = MakeExifBlock(encoded, width, height, ExifDateText(written));
    const SegmentEditResult edited = EditJpegSegments(path, source, SegmentEditMode::InsertBlock);
    if (edited != SegmentEditResult::Ok)
        return Failure::Literal("Error Add Exif info.", path)
            .After(SegmentEditFailure(edited, SegmentEditMode::InsertBlock));
    return {};
}

}  // namespace duplora
