// Shared by the harnesses: a private folder for the files a harness writes, removed at
// exit, and whole-file reads and writes.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace duplora::fuzz {

class Scratch {
  public:
    Scratch() {
        // A memory file system where there is one: the editor flushes every file it
        // writes, which on a disk would slow each run down to the disk's pace.
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "duplora-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Number of entries in the folder: a harness checks that nothing was left behind.
    int Count() const {
        int n = 0;
        std::error_code ec;
        for (auto it = std::filesystem::directory_iterator(path_, ec);
             !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
            ++n;
        return n;
    }

  private:
    std::string path_;
};

inline bool WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    while (size > 0 && ok) {
        const ssize_t n = ::write(fd, data, size);
        ok = n > 0;
        if (ok) {
            data += n;
            size -= static_cast<std::size_t>(n);
        }
    }
    return ::close(fd) == 0 && ok;
}

inline std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::vector<std::uint8_t> out;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return out;
    std::uint8_t buf[65536];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) out.insert(out.end(), buf, buf + n);
    ::close(fd);
    return out;
}

// A failed property: stop with a crash the fuzzer records.
inline void Check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace duplora::fuzz
