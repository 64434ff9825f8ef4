#include "core/formats/das.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>
#include <vector>

#include "core/formats/atomic_file.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/dib_layout.h"
#include "core/formats/exif.h"
#include "core/formats/jpeg_codec.h"
#include "core/formats/jpeg_load.h"
#include "core/formats/progress_counter.h"
#include "core/image/resample.h"
#include "core/strings.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 20;
constexpr std::uint64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kUnixEpochSeconds = 11644473600;  // 1601-01-01 to 1970-01-01
// Stored lengths are read as unsigned 32-bit values elsewhere too; keep within int range.
constexpr std::uint64_t kMaxEntrySize = 0x7FFFFFFF;
// Offsets of the name and time blocks of each side.
constexpr std::size_t kLeftNameAt = 42;
constexpr std::size_t kRightNameAt = 194;
constexpr std::size_t kSideBlockSize = kDasNameFieldSize + 24;

// ---- plain file access ------------------------------------------------------------

class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    void Reset(int fd) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

  private:
    int fd_;
};

// Opens a regular file for reading; non-blocking, so that a FIFO is refused, not waited on.
int OpenRegular(const std::string& path, int flags, std::uint64_t& size) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        ::close(fd);
        return -1;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return fd;
}

// Reads exactly `size` bytes at `offset`; false on an error or a short read.
bool ReadAt(int fd, void* out, std::size_t size, std::uint64_t offset) {
    auto* p = static_cast<std::uint8_t*>(out);
    while (size > 0) {
        const ssize_t n = ::pread(fd, p, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool WriteAt(int fd, const void* data, std::size_t size, std::uint64_t offset) {
    auto* p = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, p, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

// Copies `size` bytes from `offset` of `fd` to `write`.
template <typename Write>
bool CopyRange(int fd, std::uint64_t offset, std::uint64_t size, Write&& write,
               ProgressCounter* progress = nullptr, std::uint64_t* done = nullptr) {
    std::vector<std::uint8_t> buffer(
        static_cast<std::size_t>(std::min<std::uint64_t>(size, kChunk)));
    while (size > 0) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(size, kChunk));
        if (!ReadAt(fd, buffer.data(), n, offset) || !write(buffer.data(), n)) return false;
        offset += n;
        size -= n;
        if (progress && done) {
            progress->At(*done += n);
            if (progress->Cancelled()) return false;
        }
    }
    return true;
}

std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
std::uint64_t Get64(const std::uint8_t* p) {
    return std::uint64_t{Get32(p)} | std::uint64_t{Get32(p + 4)} << 32;
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put64(std::uint8_t* p, std::uint64_t v) {
    Put32(p, static_cast<std::uint32_t>(v));
    Put32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

bool MagicOk(const std::uint8_t* head, DasVariant& variant) {
    if (head[0] == 'D' && head[1] == 'A') {
        variant = DasVariant::Das;
        return true;
    }
    if (head[0] == 'I' && head[1] == 'O') {
        variant = DasVariant::Ios;
        return true;
    }
    return false;
}

bool ParseHeader(const std::uint8_t* head, DasHeader& header) {
    if (!MagicOk(head, header.variant)) return false;
    auto signed32 = [&](std::size_t at) { return static_cast<std::int32_t>(Get32(head + at)); };
    header.leftWidth = signed32(18);
    header.leftHeight = signed32(22);
    header.alignX = signed32(26);
    header.alignY = signed32(30);
    header.rightWidth = signed32(34);
    header.rightHeight = signed32(38);
    auto side = [&](std::size_t at, std::string& name, DasFileTimes& times) {
        const char* field = reinterpret_cast<const char*>(head + at);
        name.assign(field, strnlen(field, kDasNameFieldSize));
        times.creation = Get64(head + at + kDasNameFieldSize);
        times.access = Get64(head + at + kDasNameFieldSize + 8);
        times.write = Get64(head + at + kDasNameFieldSize + 16);
    };
    side(kLeftNameAt, header.leftName, header.leftTimes);
    side(kRightNameAt, header.rightName, header.rightTimes);
    return true;
}

// ---- IOS search -------------------------------------------------------------------

// FF D8 FF E0, two length bytes, "JFIF".
constexpr std::size_t kJfifPatternSize = 10;

bool IsJfifStart(const std::uint8_t* p) {
    return p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF && p[3] == 0xE0 && p[6] == 'J' &&
           p[7] == 'F' && p[8] == 'I' && p[9] == 'F';
}

// The first file offset in [from, end) where a JFIF start lies whole inside [from, end).
bool FindJfifStart(int fd, std::uint64_t from, std::uint64_t end, std::uint64_t& found) {
    if (end < from || end - from < kJfifPatternSize) return false;
    std::vector<std::uint8_t> buffer(
        static_cast<std::size_t>(std::min<std::uint64_t>(end - from, kChunk)));
    std::uint64_t at = from;
    while (end - at >= kJfifPatternSize) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(end - at, kChunk));
        if (!ReadAt(fd, buffer.data(), n, at)) return false;
        const std::uint8_t* p = buffer.data();
        const std::uint8_t* last = p + n - kJfifPatternSize;  // last start that fits
        while (p <= last) {
            p = static_cast<const std::uint8_t*>(std::memchr(p, 0xFF, last - p + 1));
            if (!p) break;
            if (IsJfifStart(p)) {
                found = at + static_cast<std::uint64_t>(p - buffer.data());
                return true;
            }
            ++p;
        }
        // Starts up to `last` are done; the next chunk overlaps the tail.
        at += n - kJfifPatternSize + 1;
    }
    return false;
}

bool ReadLayout(int fd, std::uint64_t fileSize, bool preview, DasLayout& layout) {
    layout = DasLayout{};
    layout.fileSize = fileSize;
    std::uint8_t head[kDasHeaderSize];
    if (fileSize < kDasHeaderSize || !ReadAt(fd, head, kDasHeaderSize, 0)) return false;
    if (!ParseHeader(head, layout.header)) return false;

    std::uint64_t body = fileSize - kDasHeaderSize;
    if (preview) body = std::min(body, kDasPreviewBodyLimit);
    const int wanted = preview ? 1 : 4;

    if (layout.header.variant == DasVariant::Das) {
        // `pos` is the body offset of the next length field.
        std::uint64_t pos = 0;
        for (int i = 0; i < 4; ++i) {
            if (body < 4 || pos > body - 4) return false;
            std::uint8_t field[4];
            if (!ReadAt(fd, field, 4, kDasHeaderSize + pos)) return false;
            const std::uint64_t length = Get32(field);
            const std::uint64_t start = pos + 4;
            if (preview && i == 1) {
                // The second entry must start early enough for a preview; its own
                // contents are not needed.
                if (start > kDasPreviewEntryLimit) return false;
                break;
            }
            if (length > body - start) return false;
            layout.entries[i] = {kDasHeaderSize + start, length};
            layout.count = i + 1;
            pos = start + length;
        }
        return layout.count >= wanted;
    }

    // IOS: each stream is found by its JFIF start; its length precedes it.
    const std::uint64_t bodyEnd = kDasHeaderSize + body;
    std::uint64_t from = kDasHeaderSize + 4;
    while (layout.count < wanted) {
        std::uint64_t found = 0;
        if (!FindJfifStart(fd, from, bodyEnd, found)) return false;
        std::uint8_t field[4];
        if (!ReadAt(fd, field, 4, found - 4)) return false;
        const std::uint64_t length = Get32(field);
        if (length > bodyEnd - found) return false;
        layout.entries[layout.count++] = {found, length};
        from = found + std::max<std::uint64_t>(length, 1);
        // The next stream needs its own length field after this one.
        from += 4;
        if (from > bodyEnd) from = bodyEnd;
    }
    return true;
}

bool ReadLayoutOfFile(const std::string& path, bool preview, DasLayout& layout, Descriptor& fd) {
    std::uint64_t size = 0;
    const int raw = OpenRegular(path, O_RDONLY, size);
    if (raw < 0) return false;
    fd.Reset(raw);
    return ReadLayout(fd.Get(), size, preview, layout);
}

// Writes one entry as a file, replaced atomically; `times` (when given) go on it.
bool WriteEntry(int fd, const DasEntry& entry, const std::string& target,
                const DasFileTimes* times = nullptr) {
    AtomicFileWriter out;
    if (!out.Open(target) ||
        !CopyRange(fd, entry.offset, entry.size,
                   [&](const std::uint8_t* p, std::size_t n) { return out.Write(p, n); }))
        return false;
    if (times && times->write != 0) {
        if (std::fflush(out.File()) != 0) return false;
        const timespec access =
            times->access != 0 ? FileTimeToPosix(times->access) : FileTimeToPosix(times->write);
        const timespec stamp[2] = {access, FileTimeToPosix(times->write)};
        if (::futimens(::fileno(out.File()), stamp) != 0) return false;
    }
    return out.Commit();
}

// A scratch file in a private folder: written plainly, it is read back and removed soon.
bool WriteScratchFile(const std::string& path, int fd, const DasEntry& entry) {
    Descriptor out(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (out.Get() < 0) return false;
    std::uint64_t at = 0;
    return CopyRange(fd, entry.offset, entry.size, [&](const std::uint8_t* p, std::size_t n) {
        const bool ok = WriteAt(out.Get(), p, n, at);
        at += n;
        return ok;
    });
}

std::vector<std::uint8_t> ReadEntry(int fd, const DasEntry& entry) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(entry.size));
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (!ReadAt(fd, bytes.data(), bytes.size(), entry.offset)) return {};
    return bytes;
}

// ---- temporary folder ---------------------------------------------------------------

// A private folder under the system's temporary folder, removed with its contents.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::error_code ec;
        fs::path base = fs::temp_directory_path(ec);
        if (ec) base = "/tmp";
        std::string pattern = (base / "duplora-das-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchFolder() {
        if (path_.empty()) return;
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    bool Valid() const { return !path_.empty(); }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// ---- pictures -------------------------------------------------------------------------

// One stored source as a picture: BMP first, then JPEG turned by its Exif orientation.
ImageBuffer DecodeSource(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() >= 2 &&
        ((bytes[0] == 'B' && bytes[1] == 'M') || (bytes[0] == 'M' && bytes[1] == 'B'))) {
        ScratchFolder scratch;
        if (!scratch.Valid()) return {};
        const std::string path = scratch.File("source.bmp");
        Descriptor out(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (out.Get() < 0 || !WriteAt(out.Get(), bytes.data(), bytes.size(), 0)) return {};
        if (ImageBuffer image = ReadBmpFile(path)) return image;
    }
    ImageBuffer image = DecodeJpegMemory(bytes.data(), bytes.size(), false);
    if (!image) return {};
    const ExifFacts facts = ReadExifFacts(bytes);
    if (facts.orientation == 3 || facts.orientation == 6 || facts.orientation == 8) {
        if (ImageBuffer turned = ApplyExifOrientation(image, facts.orientation)) return turned;
    }
    return image;
}

// The views side by side on a canvas of twice the larger width by the larger height.
ImageBuffer JoinSideBySide(const ImageBuffer& left, const ImageBuffer& right) {
    const int w = std::max(left.Width(), right.Width());
    const int h = std::max(left.Height(), right.Height());
    if (std::int64_t{w} * 2 > kMaxImageDimension) return {};
    ImageBuffer out = CreateImage(2 * w, h, 24);
    if (!out) return {};
    const ImageBuffer* views[2] = {&left, &right};
    for (int side = 0; side < 2; ++side) {
        const ImageBuffer& view = *views[side];
        const std::size_t bytes = std::size_t(view.Width()) * 3;
        for (int y = 0; y < view.Height(); ++y)
            std::memcpy(out.Line(y) + std::size_t(side) * w * 3, view.Line(y), bytes);
    }
    return out;
}

// A view reduced for the container: at most 160 pixels on the longer side, aspect kept;
// a view beyond 1024 pixels goes through four times that size first.
ImageBuffer MakeThumbnail(const ImageBuffer& view) {
    const int w = view.Width(), h = view.Height();
    if (w <= 0 || h <= 0) return {};
    int tw, th;
    if (w >= h) {
        tw = std::min(kDasThumbnailSize, w);
        th = std::max(1, static_cast<int>(std::int64_t{h} * tw / w));
    } else {
        th = std::min(kDasThumbnailSize, h);
        tw = std::max(1, static_cast<int>(std::int64_t{w} * th / h));
    }
    if (w > 1024 || h > 1024) {
        const ImageBuffer reduced = ResizeImage(view, 4 * tw, 4 * th);
        return reduced ? ResizeImage(reduced, tw, th) : ImageBuffer{};
    }
    return ResizeImage(view, tw, th);
}

// ---- names --------------------------------------------------------------------------

std::string FileNamePart(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderPart(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

// Position of the extension's dot in a file name, or npos; a leading dot is not one.
std::size_t ExtensionDot(std::string_view name) {
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string_view::npos || dot == 0 ? std::string_view::npos : dot;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Cuts `s` to at most `limit` bytes without splitting a UTF-8 character.
std::string_view CutUtf8(std::string_view s, std::size_t limit) {
    if (s.size() <= limit) return s;
    std::size_t n = limit;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return s.substr(0, n);
}

// A stored name as a plain file name: what follows the last '/' or '\'; empty for
// nothing usable.
std::string SafeStoredName(std::string_view stored) {
    const std::size_t sep = stored.find_last_of("/\\");
    const std::string_view name = sep == std::string_view::npos ? stored : stored.substr(sep + 1);
    if (name.empty() || name == "." || name == "..") return {};
    return std::string(name);
}

// ---- sources for a new container ------------------------------------------------------

struct Source {
    std::string path;
    std::string name;
    DasFileTimes times;
};

DasFileTimes TimesOf(const std::string& path) {
    DasFileTimes times;
    struct statx stx {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &stx) != 0)
        return times;
    auto convert = [](const statx_timestamp& t) {
        return PosixToFileTime(timespec{static_cast<time_t>(t.tv_sec), long{t.tv_nsec}});
    };
    times.access = convert(stx.stx_atime);
    times.write = convert(stx.stx_mtime);
    // Where the file system keeps no birth time, the last change of the contents is the
    // nearest thing.
    times.creation = (stx.stx_mask & STATX_BTIME) ? convert(stx.stx_btime) : times.write;
    return times;
}

// The picture of a source for its size and thumbnail, as the open dialog's preview does.
ImageBuffer LoadSourcePreview(const std::string& path, int& width, int& height) {
    if (ImageBuffer image = ReadBmpFile(path)) {
        width = image.Width();
        height = image.Height();
        return image;
    }
    JpegLoadResult jpeg = LoadJpegImage(path, JpegLoadMode::Preview);
    width = jpeg.width;
    height = jpeg.height;
    return std::move(jpeg.image);
}

// Encoded thumbnail bytes, through a file in the scratch folder.
bool EncodeThumbnail(const ImageBuffer& view, const ScratchFolder& scratch, const char* name,
                     std::vector<std::uint8_t>& bytes) {
    const ImageBuffer thumbnail = MakeThumbnail(view);
    if (!thumbnail) return false;
    const std::string path = scratch.File(name);
    if (!EncodeJpegImage(path, thumbnail, true, kDasThumbnailQuality)) return false;
    std::uint64_t size = 0;
    Descriptor fd(OpenRegular(path, O_RDONLY, size));
    if (fd.Get() < 0 || size > kMaxEntrySize) return false;
    bytes = ReadEntry(fd.Get(), {0, size});
    ::unlink(path.c_str());
    return bytes.size() == size;
}

void PutSide(std::uint8_t* at, const Source& source) {
    const std::string name = FitDasName(source.name);
    std::memcpy(at, name.data(), name.size());
    Put64(at + kDasNameFieldSize, source.times.creation);
    Put64(at + kDasNameFieldSize + 8, source.times.access);
    Put64(at + kDasNameFieldSize + 16, source.times.write);
}

}  // namespace

// ---- FILETIME ------------------------------------------------------------------------

std::uint64_t PosixToFileTime(const timespec& time) {
    const std::int64_t seconds = static_cast<std::int64_t>(time.tv_sec);
    if (seconds < -kUnixEpochSeconds) return 0;
    // Seconds since 1601 that still fit in the tick count, with room for the fraction.
    constexpr std::int64_t kMaxSeconds =
        static_cast<std::int64_t>(std::numeric_limits<std::uint64_t>::max() / kTicksPerSecond) -
        kUnixEpochSeconds - 1;
    if (seconds > kMaxSeconds) return std::numeric_limits<std::uint64_t>::max();
    const std::uint64_t since1601 = static_cast<std::uint64_t>(seconds + kUnixEpochSeconds);
    const long nanos = std::clamp<long>(time.tv_nsec, 0, 999999999);
    return since1601 * kTicksPerSecond + static_cast<std::uint64_t>(nanos) / 100;
}

timespec FileTimeToPosix(std::uint64_t fileTime) {
    timespec t{};
    t.tv_sec = static_cast<time_t>(static_cast<std::int64_t>(fileTime / kTicksPerSecond) -
                                   kUnixEpochSeconds);
    t.tv_nsec = static_cast<long>(fileTime % kTicksPerSecond) * 100;
    return t;
}

// ---- reading -------------------------------------------------------------------------

bool ReadDasHeader(const std::string& path, DasHeader& header) {
    std::uint64_t size = 0;
    Descriptor fd(OpenRegular(path, O_RDONLY, size));
    std::uint8_t head[kDasHeaderSize];
    if (fd.Get() < 0 || size < kDasHeaderSize || !ReadAt(fd.Get(), head, kDasHeaderSize, 0))
        return false;
    DasHeader parsed;
    if (!ParseHeader(head, parsed)) return false;
    header = std::move(parsed);
    return true;
}

bool ReadDasLayout(const std::string& path, bool preview, DasLayout& layout) {
    Descriptor fd;
    return ReadLayoutOfFile(path, preview, layout, fd);
}

int ExtractDasJpegs(const std::string& dasPath, const std::string& targetFolder, bool preview,
                    DasHeader* header) {
    Descriptor fd;
    DasLayout layout;
    if (!ReadLayoutOfFile(dasPath, preview, layout, fd)) return 0;
    const fs::path folder = targetFolder.empty() ? fs::path(".") : fs::path(targetFolder);
    const std::string left = (folder / kDasLeftFileName).string();
    if (preview) {
        if (!WriteEntry(fd.Get(), layout.entries[kDasLeftThumbnail], left)) return 0;
    } else {
        const std::string right = (folder / kDasRightFileName).string();
        if (!WriteEntry(fd.Get(), layout.entries[kDasLeftSource], left)) return 0;
        if (!WriteEntry(fd.Get(), layout.entries[kDasRightSource], right)) {
            ::unlink(left.c_str());
            return 0;
        }
    }
    if (header) *header = std::move(layout.header);
    return kDasExtracted;
}

DasPicture LoadDasPicture(const std::string& dasPath) {
    DasPicture result;
    Descriptor fd;
    DasLayout layout;
    if (!ReadLayoutOfFile(dasPath, false, layout, fd)) return result;
    ImageBuffer views[2];
    for (int side = 0; side < 2; ++side) {
        const std::vector<std::uint8_t> bytes =
            ReadEntry(fd.Get(), layout.entries[kDasLeftSource + side]);
        if (bytes.empty()) return result;
        views[side] = DecodeSource(bytes);
        if (views[side] && views[side].BitCount() != 24)
            views[side] = ExpandIndexedImage(views[side]);
        if (!views[side]) return result;
    }
    result.image = JoinSideBySide(views[0], views[1]);
    if (result.image) result.header = std::move(layout.header);
    return result;
}

DasThumbnail LoadDasThumbnail(const std::string& dasPath) {
    DasThumbnail result;
    Descriptor fd;
    DasLayout layout;
    if (!ReadLayoutOfFile(dasPath, true, layout, fd)) return result;
    const std::vector<std::uint8_t> bytes = ReadEntry(fd.Get(), layout.entries[kDasLeftThumbnail]);
    if (bytes.empty()) return result;
    result.image = DecodeJpegMemory(bytes.data(), bytes.size(), true);
    if (result.image) result.header = std::move(layout.header);
    return result;
}

// ---- writing -------------------------------------------------------------------------

bool CreateDasFile(const std::string& dasPath, const std::string& leftPath,
                   const std::string& rightPath, int x, int y, const Progress& progress) {
    if (dasPath.empty() || leftPath.empty()) return false;
    ScratchFolder scratch;
    if (!scratch.Valid()) return false;

    Source sources[2];
    if (IsDasName(leftPath)) {
        // Repacking a container: its stored sources, named after it.
        Descriptor fd;
        DasLayout layout;
        if (!ReadLayoutOfFile(leftPath, false, layout, fd)) return false;
        std::string stem = FileNamePart(leftPath);
        stem.resize(std::min(stem.size(), ExtensionDot(stem)));
        const char* suffix[2] = {"_L.JPG", "_R.JPG"};
        const DasFileTimes* times[2] = {&layout.header.leftTimes, &layout.header.rightTimes};
        for (int side = 0; side < 2; ++side) {
            sources[side].path = scratch.File(side == 0 ? kDasLeftFileName : kDasRightFileName);
            sources[side].name = stem + suffix[side];
            sources[side].times = *times[side];
            if (!WriteScratchFile(sources[side].path, fd.Get(),
                                  layout.entries[kDasLeftSource + side]))
                return false;
        }
    } else {
        if (rightPath.empty()) return false;
        const std::string* paths[2] = {&leftPath, &rightPath};
        for (int side = 0; side < 2; ++side) {
            sources[side].path = *paths[side];
            sources[side].name = FileNamePart(*paths[side]);
            sources[side].times = TimesOf(*paths[side]);
        }
    }

    // Sizes and thumbnails.
    int sizes[2][2] = {};
    std::vector<std::uint8_t> thumbnails[2];
    for (int side = 0; side < 2; ++side) {
        const ImageBuffer view =
            LoadSourcePreview(sources[side].path, sizes[side][0], sizes[side][1]);
        if (!view ||
            !EncodeThumbnail(view, scratch, side == 0 ? "left.jpg" : "right.jpg", thumbnails[side]))
            return false;
    }

    // The sources are read through descriptors held open, so their sizes stay the ones
    // written into the length fields.
    Descriptor files[2];
    std::uint64_t fileSizes[2] = {};
    for (int side = 0; side < 2; ++side) {
        const int raw = OpenRegular(sources[side].path, O_RDONLY, fileSizes[side]);
        if (raw < 0) return false;
        files[side].Reset(raw);
        if (fileSizes[side] > kMaxEntrySize) return false;
    }

    std::uint8_t head[kDasHeaderSize] = {};
    std::memcpy(head, "DAS   ", 6);
    Put32(head + 18, static_cast<std::uint32_t>(sizes[0][0]));
    Put32(head + 22, static_cast<std::uint32_t>(sizes[0][1]));
    Put32(head + 26, static_cast<std::uint32_t>(x));
    Put32(head + 30, static_cast<std::uint32_t>(y));
    Put32(head + 34, static_cast<std::uint32_t>(sizes[1][0]));
    Put32(head + 38, static_cast<std::uint32_t>(sizes[1][1]));
    PutSide(head + kLeftNameAt, sources[0]);
    PutSide(head + kRightNameAt, sources[1]);
    static_assert(kRightNameAt + kSideBlockSize == kDasHeaderSize);

    AtomicFileWriter out;
    if (!out.Open(dasPath) || !out.Write(head, sizeof head)) return false;
    for (const auto& thumbnail : thumbnails) {
        std::uint8_t length[4];
        Put32(length, static_cast<std::uint32_t>(thumbnail.size()));
        if (!out.Write(length, 4) || !out.Write(thumbnail.data(), thumbnail.size())) return false;
    }
    ProgressCounter counter(progress, ProgressDirection::Writing, fileSizes[0] + fileSizes[1]);
    std::uint64_t done = 0;
    for (int side = 0; side < 2; ++side) {
        std::uint8_t length[4];
        Put32(length, static_cast<std::uint32_t>(fileSizes[side]));
        if (!out.Write(length, 4) ||
            !CopyRange(
                files[side].Get(), 0, fileSizes[side],
                [&](const std::uint8_t* p, std::size_t n) { return out.Write(p, n); }, &counter,
                &done))
            return false;
    }
    return out.Commit();
}

bool RestoreDasFiles(const std::string& dasPath, const std::string& chosenPath,
                     const OverwritePolicy& overwrite) {
    Descriptor fd;
    DasLayout layout;
    if (!ReadLayoutOfFile(dasPath, false, layout, fd)) return false;
    const std::string chosenName = FileNamePart(chosenPath);
    if (chosenName.empty()) return false;
    const std::string folder = FolderPart(chosenPath);

    const std::size_t dot = ExtensionDot(chosenName);
    const std::string stem = chosenName.substr(0, std::min(dot, chosenName.size()));
    const std::string extension = dot == std::string::npos ? std::string() : chosenName.substr(dot);
    std::string targets[2] = {folder + stem + "_L" + extension, folder + stem + "_R" + extension};
    bool keepTimes = false;
    if (EqualNoCase(chosenName, layout.header.leftName)) {
        const std::string left = SafeStoredName(layout.header.leftName);
        const std::string right = SafeStoredName(layout.header.rightName);
        // Two equal stored names would write the right file over the left one.
        if (!left.empty() && !right.empty() && !EqualNoCase(left, right)) {
            targets[0] = folder + left;
            targets[1] = folder + right;
            keepTimes = true;
        }
    }

    const DasFileTimes* times[2] = {&layout.header.leftTimes, &layout.header.rightTimes};
    for (int side = 0; side < 2; ++side) {
        std::error_code ec;
        if (fs::exists(fs::symlink_status(targets[side], ec)) &&
            !overwrite.Confirms({LoadResString(StringId::FileExistsReplace), targets[side],
                                 QuestionKind::OkCancel}))
            return false;
        if (!WriteEntry(fd.Get(), layout.entries[kDasLeftSource + side], targets[side],
                        keepTimes ? times[side] : nullptr))
            return false;
    }
    return true;
}

bool WriteDasAlignment(const std::string& path, int x, int y) {
    std::uint64_t size = 0;
    Descriptor fd(OpenRegular(path, O_RDWR, size));
    // A file too short for the whole header is no container, whatever its first bytes.
    if (fd.Get() < 0 || size < kDasHeaderSize) return false;
    std::uint8_t head[kDasFixedHeaderSize];
    DasVariant variant;
    if (!ReadAt(fd.Get(), head, sizeof head, 0) || !MagicOk(head, variant)) return false;
    Put32(head + kDasAlignmentAt, static_cast<std::uint32_t>(x));
    Put32(head + kDasAlignmentAt + 4, static_cast<std::uint32_t>(y));
    // The only write in place: the 42 bytes go back where they were, and the file keeps
    // its length; a torn write can only leave the alignment half changed.
    return WriteAt(fd.Get(), head, sizeof head, 0);
}

// ---- alignment -----------------------------------------------------------------------

DasOffset OffsetFromDasAlignment(const DasAlignment& stored) {
    return {-stored.x, stored.y};
}

DasAlignment DasAlignmentFromOffset(const DasOffset& offset, bool swapped) {
    return swapped ? DasAlignment{offset.dx, -offset.dy} : DasAlignment{-offset.dx, offset.dy};
}

// ---- names ---------------------------------------------------------------------------

bool IsDasName(std::string_view path) {
    const std::string name = FileNamePart(path);
    const std::size_t dot = ExtensionDot(name);
    if (dot == std::string::npos) return false;
    const std::string_view extension = std::string_view(name).substr(dot);
    return EqualNoCase(extension, ".das") || EqualNoCase(extension, ".ios");
}

std::string FitDasName(std::string_view name) {
    if (name.size() <= kDasMaxNameBytes) return std::string(name);
    const std::size_t dot = ExtensionDot(name);
    // Keep a short extension and shorten the stem before it.
    if (dot != std::string_view::npos && name.size() - dot <= 16) {
        const std::string_view extension = name.substr(dot);
        const std::string_view stem =
            CutUtf8(name.substr(0, dot), kDasMaxNameBytes - extension.size());
        return std::string(stem) + std::string(extension);
    }
    return std::string(CutUtf8(name, kDasMaxNameBytes));
}

DasNameResult MakeDasName(const std::string& leftPath, std::string& out,
                          const std::string& folder) {
    const std::string name = FileNamePart(leftPath);
    if (name.empty()) return DasNameResult::Failure;
    if (IsDasName(leftPath)) {
        DasHeader header;
        if (!ReadDasHeader(leftPath, header)) return DasNameResult::Failure;
        std::string stored = SafeStoredName(header.leftName);
        if (stored.empty()) {
            const std::size_t dot = ExtensionDot(name);
            stored = name.substr(0, std::min(dot, name.size())) + "_L.JPG";
        }
        out = FolderPart(leftPath) + stored;
        return DasNameResult::Restore;
    }
    const std::size_t dot = ExtensionDot(name);
    std::string stem = name.substr(0, std::min(dot, name.size()));
    std::string shortened = stem;
    if (!shortened.empty() && (shortened.back() == 'l' || shortened.back() == 'L')) {
        shortened.pop_back();
        if (!shortened.empty() && (shortened.back() == '_' || shortened.back() == '-'))
            shortened.pop_back();
    }
    // "L.jpg" keeps its whole stem rather than becoming a hidden ".das".
    if (shortened.empty()) shortened = stem;
    std::string base = folder.empty() ? FolderPart(leftPath) : folder;
    if (!base.empty() && base.back() != '/') base += '/';
    out = base + shortened + ".das";
    return DasNameResult::NewName;
}

std::string DasPartnerName(const std::string& leftPath) {
    if (IsDasName(leftPath)) return leftPath;
    const std::string name = FileNamePart(leftPath);
    const std::size_t dot = ExtensionDot(name);
    const std::size_t end = dot == std::string::npos ? name.size() : dot;  // stem length
    if (end == 0) return {};
    std::string partner = name;
    auto counts = [](char c) { return c >= 42 && c <= 56; };  // "*" to "8"
    char& last = partner[end - 1];
    if (last == 'l') {
        last = 'r';
    } else if (last == 'L') {
        last = 'R';
    } else if (counts(last)) {
        ++last;
    } else if (last == '9' && end >= 2 && counts(partner[end - 2])) {
        last = '0';
        ++partner[end - 2];
    } else if (last == '9' && end >= 3 && partner[end - 2] == '9' && counts(partner[end - 3])) {
        last = '0';
        partner[end - 2] = '0';
        ++partner[end - 3];
    } else {
        return {};
    }
    // "." counts up to "/", which would leave the folder.
    if (partner.find('/') != std::string::npos) return {};
    return FolderPart(leftPath) + partner;
}

std::string FindDasPartner(const std::string& leftPath) {
    std::string partner = DasPartnerName(leftPath);
    std::error_code ec;
    if (partner.empty() || !fs::is_regular_file(partner, ec)) return {};
    return partner;
}

}  // namespace duplora
