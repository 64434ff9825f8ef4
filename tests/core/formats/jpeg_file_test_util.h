// Helpers for the tests of the JPEG header code: temporary folders, external tools,
// whole-file reads and writes, and the pieces of a JPEG file.
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "formats_test_util.h"

namespace duplora::test {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder removed with everything in it at the end.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "duplora-jpeg-test-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempFolder() {
        if (path_.empty()) return;
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Names of everything in the folder, sorted.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::string path_;
};

inline Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// Runs a command through the shell; its exit status (-1 when it could not run).
inline int Run(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return status == -1 ? -1 : WEXITSTATUS(status);
}

inline Bytes CaptureBytes(const std::string& command) {
    const std::string s = Capture(command + "; printf x");
    return Bytes(s.begin(), s.end() - (s.empty() ? 0 : 1));
}

// A JPEG made by ImageMagick; false when that is not possible.
inline bool MakeJpeg(const std::string& path, const std::string& size = "64x48") {
    return HaveTool("convert") &&
           Run("convert -size " + size + " gradient:red-blue " + Quote(path)) == 0 &&
           std::filesystem::exists(path);
}

// The bytes from the end of the first SOS segment on: the entropy-coded data and all
// that follows. Empty when no SOS is found by a plain segment walk.
inline Bytes EntropyData(const Bytes& file) {
    std::size_t p = 2;
    while (p + 4 <= file.size() && file[p] == 0xFF) {
        while (p + 1 < file.size() && file[p + 1] == 0xFF) ++p;
        const std::uint8_t marker = file[p + 1];
        const std::size_t length = (file[p + 2] << 8) | file[p + 3];
        if (marker == 0xDA) {
            if (p + 2 + length > file.size()) return {};
            return Bytes(file.begin() + p + 2 + length, file.end());
        }
        p += 2 + length;
    }
    return {};
}

// The markers of the segments before the first SOS, SOS included.
inline std::vector<int> HeaderMarkers(const Bytes& file) {
    std::vector<int> markers;
    std::size_t p = 2;
    while (p + 4 <= file.size() && file[p] == 0xFF) {
        const std::uint8_t marker = file[p + 1];
        markers.push_back(marker);
        if (marker == 0xDA) break;
        p += 2 + ((file[p + 2] << 8) | file[p + 3]);
    }
    return markers;
}

// One segment: marker, big-endian length, payload.
inline Bytes Segment(std::uint8_t marker, const Bytes& payload) {
    Bytes s = {0xFF, marker, static_cast<std::uint8_t>((payload.size() + 2) >> 8),
               static_cast<std::uint8_t>((payload.size() + 2) & 0xFF)};
    s.insert(s.end(), payload.begin(), payload.end());
    return s;
}

inline Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

inline void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// Sets or clears the immutable attribute, which stops even a privileged user from
// changing a file or a folder's entries. False when the file system does not allow it.
inline bool SetImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

// Makes a folder unwritable for the life of the object: by its permissions, and where
// those do not bind (a privileged user), by the immutable attribute. Unlocked() tells
// whether neither worked.
class LockedFolder {
  public:
    explicit LockedFolder(const std::string& path) : path_(path) {
        ::chmod(path.c_str(), 0555);
        const std::string probe = path + "/.probe";
        const int fd = ::open(probe.c_str(), O_CREAT | O_WRONLY, 0600);
        if (fd < 0) {
            locked_ = true;
            return;
        }
        ::close(fd);
        ::unlink(probe.c_str());
        immutable_ = locked_ = SetImmutable(path, true);
    }
    ~LockedFolder() {
        if (immutable_) SetImmutable(path_, false);
        ::chmod(path_.c_str(), 0755);
    }
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;
    bool Unlocked() const { return !locked_; }

  private:
    std::string path_;
    bool locked_ = false;
    bool immutable_ = false;
};

// Modification time of a file in nanoseconds.
inline std::int64_t ModifyTime(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return -1;
    return std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
}

// Gives a file a fixed old modification and access time.
inline void SetOldTimes(const std::string& path) {
    const timespec times[2] = {{1000000000, 123456789}, {1100000000, 987654321}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// Collects the messages shown while it lives.
class CollectMessages {
  public:
    struct Shown {
        std::string text, caption;
    };
    CollectMessages() {
        previous_ = SetMessageSink([this](std::string_view t, std::string_view c, MessageIcon) {
            shown.push_back({std::string(t), std::string(c)});
        });
    }
    ~CollectMessages() { SetMessageSink(std::move(previous_)); }
    CollectMessages(const CollectMessages&) = delete;
    CollectMessages& operator=(const CollectMessages&) = delete;
    std::vector<Shown> shown;

  private:
    MessageSink previous_;
};

}  // namespace duplora::test
