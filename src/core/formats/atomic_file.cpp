#include "core/formats/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>

#include "res/core/string_ids.h"

namespace duplora {

namespace {

// The process's umask without changing it (umask(2) can only be read by setting it,
// which would race with other threads creating files).
mode_t CurrentUmask() {
    static const mode_t mask = [] {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("Umask:", 0) == 0)
                return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
        }
        return static_cast<mode_t>(022);
    }();
    return mask;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

Failure CannotOpenFile(const std::string& path) {
    return Failure::AboutFile(StringId::CannotOpenImage, path);
}

FileStamp ReadFileStamp(const std::string& path) {
    FileStamp stamp;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return stamp;
    stamp.valid = true;
    stamp.accessTime = st.st_atim;
    stamp.modifyTime = st.st_mtim;
    stamp.mode = st.st_mode & 07777;
    stamp.owner = st.st_uid;
    stamp.group = st.st_gid;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    return stamp;
}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

bool AtomicFileWriter::Open(const std::string& target) {
    Discard();
    if (target.empty()) return false;
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path path(target);
    // Writing through a link replaces the file it points to, not the link.
    if (fs::is_symlink(path, ec)) {
        const fs::path resolved = fs::canonical(path, ec);
        if (!ec) path = resolved;
    }
    if (!path.has_filename()) return false;
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return false;
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
        ::unlink(pattern.c_str());
        return false;
    }
    file_ = file;
    target_ = path.string();
    temporary_ = std::move(pattern);
    return true;
}

bool AtomicFileWriter::Write(const void* data, std::size_t size) {
    if (!file_) return false;
    return size == 0 || std::fwrite(data, 1, size, file_) == size;
}

bool AtomicFileWriter::Commit(const FileStamp* keep) {
    renameFailed_ = false;
    if (!file_) return false;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    const int fd = ::fileno(file_);
    if (ok && keep && keep->valid) {
        // Ownership can only be kept by a privileged user; losing it is no failure.
        [[maybe_unused]] const int owned = ::fchown(fd, keep->owner, keep->group);
        ok = ::fchmod(fd, keep->mode) == 0;
        const timespec times[2] = {keep->accessTime, keep->modifyTime};
        ok = ok && ::futimens(fd, times) == 0;
    } else if (ok) {
        struct stat old {};
        const mode_t mode =
            ::stat(target_.c_str(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
        ::fchmod(fd, mode);
    }
    if (ok) ok = ::fsync(fd) == 0;
    ok = (std::fclose(file_) == 0) && ok;
    file_ = nullptr;
    if (ok) {
        ok = ::rename(temporary_.c_str(), target_.c_str()) == 0;
        renameFailed_ = !ok;
    }
    if (!ok) {
        ::unlink(temporary_.c_str());
    } else {
        SyncFolder(std::filesystem::path(target_).parent_path().empty()
                       ? std::string(".")
                       : std::filesystem::path(target_).parent_path().string());
    }
    temporary_.clear();
    return ok;
}

void AtomicFileWriter::Discard() noexcept {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

ReplaceResult ReplaceFile(const std::string& path,
                          std::span<const std::span<const std::uint8_t>> pieces,
                          const FileStamp& stamp) {
    AtomicFileWriter writer;
    if (!writer.Open(path)) return ReplaceResult::CannotCreate;
    for (const auto& piece : pieces) {
        if (!writer.Write(piece.data(), piece.size())) return ReplaceResult::WriteFailed;
    }
    if (writer.Commit(&stamp)) return ReplaceResult::Ok;
    return writer.RenameFailed() ? ReplaceResult::CannotRename : ReplaceResult::WriteFailed;
}

ReplaceResult ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes,
                          const FileStamp& stamp) {
    const std::span<const std::uint8_t> pieces[] = {bytes};
    return ReplaceFile(path, pieces, stamp);
}

bool ReadFileHead(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& out) {
    out.clear();
    // Non-blocking, so that a FIFO cannot hang the caller before it is refused.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    // Sized by what the file says it holds, then grown only as far as bytes really come.
    constexpr std::size_t kChunk = std::size_t{1} << 16;
    const std::size_t want =
        std::min<std::uint64_t>(limit, static_cast<std::uint64_t>(std::max<off_t>(st.st_size, 0)));
    try {
        out.resize(want);
        std::size_t got = 0;
        if (!ReadAll(fd, out.data(), want, got)) {
            out.clear();
            return false;
        }
        out.resize(got);
        if (got < want) return true;
        // A file that grew since: read on up to the limit.
        while (out.size() < limit) {
            const std::size_t more = std::min(kChunk, limit - out.size());
            const std::size_t before = out.size();
            out.resize(before + more);
            if (!ReadAll(fd, out.data() + before, more, got)) {
                out.clear();
                return false;
            }
            out.resize(before + got);
            if (got < more) break;
        }
    } catch (const std::bad_alloc&) {
        out.clear();
        return false;
    }
    return true;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
}

bool FileDescriptor::Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
}

bool ReadAll(int fd, std::uint8_t* data, std::size_t size, std::size_t& got) {
    got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, data + got, size - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace duplora
