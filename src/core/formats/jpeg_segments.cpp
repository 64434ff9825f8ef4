#include "core/formats/jpeg_segments.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

#include "res/core/string_ids.h"

namespace duplora {

namespace {

// Whole files are held in memory while their header is rewritten; beyond this they are
// refused rather than risk exhausting memory.
constexpr std::uint64_t kMaxEditedFileSize = std::uint64_t{1} << 31;
constexpr std::size_t kSourceHeadSize = 65535;
constexpr std::size_t kMaxCommentLength = 65533;

std::uint16_t Be16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

// Markers without a length field.
bool IsStandalone(std::uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

}  // namespace

// ---- segment editor -------------------------------------------------------------------

std::size_t WalkJpegHeader(
    std::span<const std::uint8_t> bytes, std::size_t start,
    const std::function<bool(std::uint8_t marker, std::size_t at, std::size_t length)>& fn) {
    const std::size_t n = bytes.size();
    if (start > n || n - start < 3 || bytes[start] != 0xFF || bytes[start + 1] != 0xD8) return 0;
    std::size_t p = start + 2;
    while (p + 4 <= n) {
        if (bytes[p] != 0xFF) return 0;
        const std::uint8_t marker = bytes[p + 1];
        if (marker == 0xFF) {  // fill byte
            ++p;
            continue;
        }
        if (marker == 0xDA) return p;
        if (marker == 0xD8 || marker == 0xD9 || marker == 0x00) return 0;
        if (IsStandalone(marker)) {
            p += 2;
            continue;
        }
        const std::size_t length = Be16(&bytes[p + 2]);
        if (length < 2 || length > n - p - 2) return 0;
        if (!fn(marker, p, length + 2)) return p;
        p += 2 + length;
    }
    return 0;
}

std::span<const std::uint8_t> FindFirstApp1(std::span<const std::uint8_t> bytes) {
    const std::size_t n = bytes.size();
    std::size_t p = 0;
    if (n >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) p = 2;
    while (p + 4 <= n) {
        if (bytes[p] != 0xFF) return {};
        const std::uint8_t marker = bytes[p + 1];
        if (marker == 0xFF) {  // fill byte
            ++p;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9 || marker == 0xD8 || marker == 0x00) return {};
        if (IsStandalone(marker)) {
            p += 2;
            continue;
        }
        const std::size_t length = Be16(&bytes[p + 2]);
        if (length < 2 || length > n - p - 2) return {};
        if (marker == 0xE1) return bytes.subspan(p, length + 2);
        p += 2 + length;
    }
    return {};
}

SegmentEditResult EditSegmentsInMemory(std::span<const std::uint8_t> file,
                                       std::span<const std::uint8_t> block,
                                       std::string_view comment, SegmentEditMode mode,
                                       std::vector<std::uint8_t>& head, std::size_t& tailStart) {
    head.clear();
    tailStart = 0;
    const int m = static_cast<int>(mode);
    if (m < 1 || m > 7) return SegmentEditResult::BadArguments;
    const std::size_t n = file.size();
    if (n < 2 || file[0] != 0xFF || file[1] != 0xD8) return SegmentEditResult::NotJpeg;
    const bool inserts = mode == SegmentEditMode::InsertBlock ||
                         mode == SegmentEditMode::CopyApp1 || mode == SegmentEditMode::ReplaceApp1;
    if (inserts) {
        // The block must be exactly one segment, or the file would be broken.
        if (block.size() < 4 || block[0] != 0xFF || block[1] < 0xC0 || block[1] == 0xFF ||
            block[1] == 0xD8 || block[1] == 0xD9 || block[1] == 0xDA || IsStandalone(block[1]) ||
            Be16(&block[2]) + std::size_t{2} != block.size())
            return SegmentEditResult::BadArguments;
    }
    comment = comment.substr(0, std::min(comment.size(), kMaxCommentLength));

    head.reserve(std::min<std::size_t>(n, 1 << 17) + block.size() + comment.size() + 8);
    head.push_back(0xFF);
    head.push_back(0xD8);
    bool blockPlaced = false;    // modes 2 and 6
    bool commentPlaced = false;  // mode 1
    bool app1Replaced = false;   // mode 5
    std::size_t p = 2;
    while (true) {
        if (p >= n || file[p] != 0xFF) {
            // A header that ends before any scan, or a segment that does not start with
            // a marker.
            head.clear();
            return SegmentEditResult::Malformed;
        }
        std::size_t q = p;
        while (q + 1 < n && file[q + 1] == 0xFF) ++q;  // fill bytes before a marker
        if (q + 1 >= n || file[q + 1] == 0x00 || file[q + 1] == 0xD8 || file[q + 1] == 0xD9) {
            head.clear();
            return SegmentEditResult::Malformed;
        }
        const std::uint8_t marker = file[q + 1];

        if ((mode == SegmentEditMode::InsertBlock || mode == SegmentEditMode::CopyApp1) &&
            !blockPlaced) {
            head.insert(head.end(), block.begin(), block.end());
            blockPlaced = true;
        }
        if (mode == SegmentEditMode::SetComment && !commentPlaced && marker < 0xE0) {
            if (!comment.empty()) {
                const std::size_t length = comment.size() + 2;
                head.push_back(0xFF);
                head.push_back(0xFE);
                head.push_back(static_cast<std::uint8_t>(length >> 8));
                head.push_back(static_cast<std::uint8_t>(length & 0xFF));
                head.insert(head.end(), comment.begin(), comment.end());
            }
            commentPlaced = true;
        }
        if (marker == 0xDA) {
            tailStart = q;
            return SegmentEditResult::Ok;
        }
        if (IsStandalone(marker)) {
            head.push_back(0xFF);
            head.push_back(marker);
            p = q + 2;
            continue;
        }
        if (q + 4 > n) {
            head.clear();
            return SegmentEditResult::Malformed;
        }
        const std::size_t length = Be16(&file[q + 2]);
        if (length < 2 || length > n - q - 2) {
            head.clear();
            return SegmentEditResult::Malformed;
        }
        const std::size_t end = q + 2 + length;
        bool keep = true;
        switch (marker) {
            case 0xFE:
                keep = mode != SegmentEditMode::SetComment;
                break;
            case 0xE0:
                keep = mode != SegmentEditMode::DropApp0;
                break;
            case 0xE1:
                if (mode == SegmentEditMode::ReplaceApp1 && !app1Replaced) {
                    head.insert(head.end(), block.begin(), block.end());
                    app1Replaced = true;
                    keep = false;
                } else {
                    keep = mode != SegmentEditMode::InsertBlock &&
                           mode != SegmentEditMode::DropApp1 && mode != SegmentEditMode::CopyApp1;
                }
                break;
            default:
                break;
        }
        // Fill bytes before a kept marker are not carried over.
        if (keep) head.insert(head.end(), file.begin() + q, file.begin() + end);
        p = end;
    }
}

Failure SegmentEditFailure(SegmentEditResult result, SegmentEditMode mode) {
    switch (result) {
        case SegmentEditResult::CannotOpen:
            return Failure::Message(mode == SegmentEditMode::Rewrite ? StringId::CannotOpenImage
                                                                     : StringId::CannotWriteFile,
                                    StringId::ErrorCaption);
        case SegmentEditResult::CannotCreateTemporary:
            return Failure::Message(StringId::CannotCreateTemporary, StringId::ErrorCaption);
        case SegmentEditResult::Malformed:
            return Failure::Message(StringId::BadJpegComment, StringId::ErrorCaption);
        default:
            return Failure::Quiet();
    }
}

SegmentEditResult EditJpegSegments(const std::string& path, const SegmentSource& source,
                                   SegmentEditMode mode) {
    const int m = static_cast<int>(mode);
    if (m < 1 || m > 7) return SegmentEditResult::BadArguments;

    // Opened for writing although only read, so that a read-only file is refused as the
    // message says rather than silently replaced.
    FileDescriptor fd(::open(path.c_str(), O_RDWR | O_CLOEXEC));
    struct stat st;
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return SegmentEditResult::CannotOpen;
    FileStamp stamp = ReadFileStamp(path);
    if (!stamp.valid) return SegmentEditResult::CannotOpen;

    std::uint8_t magic[2];
    std::size_t got = 0;
    if (!ReadAll(fd.Get(), magic, 2, got) || got != 2 || magic[0] != 0xFF || magic[1] != 0xD8)
        return SegmentEditResult::NotJpeg;
    const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    if (size > kMaxEditedFileSize) return SegmentEditResult::TooLarge;
    std::vector<std::uint8_t> file;
    try {
        file.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return SegmentEditResult::TooLarge;
    }
    file[0] = 0xFF;
    file[1] = 0xD8;
    if (!ReadAll(fd.Get(), file.data() + 2, file.size() - 2, got) || got != file.size() - 2)
        return SegmentEditResult::ReadFailed;
    fd.Close();

    std::vector<std::uint8_t> sourceHead;
    std::span<const std::uint8_t> block;
    if (mode == SegmentEditMode::InsertBlock) {
        block = source.block;
    } else if (mode == SegmentEditMode::ReplaceApp1 || mode == SegmentEditMode::CopyApp1) {
        if (!ReadFileHead(source.path, kSourceHeadSize, sourceHead))
            return SegmentEditResult::SourceUnusable;
        block = FindFirstApp1(sourceHead);
        if (block.empty()) return SegmentEditResult::SourceUnusable;
    }

    std::vector<std::uint8_t> head;
    std::size_t tailStart = 0;
    const SegmentEditResult edited =
        EditSegmentsInMemory(file, block, source.comment, mode, head, tailStart);
    if (edited != SegmentEditResult::Ok) return edited;

    const std::span<const std::uint8_t> pieces[] = {
        head, std::span<const std::uint8_t>(file).subspan(tailStart)};
    switch (ReplaceFile(path, pieces, stamp)) {
        case ReplaceResult::Ok:
            return SegmentEditResult::Ok;
        case ReplaceResult::CannotCreate:
            return SegmentEditResult::CannotCreateTemporary;
        case ReplaceResult::WriteFailed:
            return SegmentEditResult::WriteFailed;
        case ReplaceResult::CannotRename:
            return SegmentEditResult::CannotReplace;
    }
    return SegmentEditResult::CannotReplace;
}

}  // namespace duplora
