#include "core/formats/temp_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace duplora {

ScratchFile::ScratchFile(const char* tag) {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (ec) folder = "/tmp";
    std::string pattern = (folder / (std::string("duplora-") + tag + "-XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return;
    ::close(fd);
    path_ = std::move(pattern);
}

ScratchFile::~ScratchFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
}

std::int64_t ScratchFile::Size() const {
    struct stat st {};
    if (path_.empty() || ::stat(path_.c_str(), &st) != 0) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

}  // namespace duplora
