#include "core/formats/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

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

bool AtomicFileWriter::Commit() {
    if (!file_) return false;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    const int fd = ::fileno(file_);
    if (ok) ok = ::fsync(fd) == 0;
    if (ok) {
        struct stat old {};
        const mode_t mode =
            ::stat(target_.c_str(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
        ::fchmod(fd, mode);
    }
    ok = (std::fclose(file_) == 0) && ok;
    file_ = nullptr;
    if (ok) ok = ::rename(temporary_.c_str(), target_.c_str()) == 0;
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

}  // namespace duplora
