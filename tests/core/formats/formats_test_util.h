// Helpers for the codec tests: scratch folders, outside tools, and the plain PPM/PGM
// files through which ImageMagick and djpeg hand us their pixels.
#pragma once

#include <string>
#include <vector>

#include "core/image/image_buffer.h"

namespace duplora::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    // Names of the files in the folder, sorted.
    std::vector<std::string> Files() const;

  private:
    std::string path_;
};

// Limits the size of files this process may write (RLIMIT_FSIZE) for its lifetime, with
// SIGXFSZ ignored: a write beyond the limit fails as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool Active() const { return active_; }

  private:
    unsigned long saved_ = 0;
    void (*savedHandler_)(int) = nullptr;
    bool active_ = false;
};

// True when `tool` can be run (found on the PATH).
bool HaveTool(const std::string& tool);
// Runs a shell command with its output discarded; true when it exits with 0.
bool RunQuiet(const std::string& command);
// Runs a shell command and returns what it printed on standard output, without one
// trailing newline.
std::string Capture(const std::string& command);
// Wraps a path in single quotes for the shell.
std::string Quote(const std::string& path);

// 24-bit picture from a binary PPM (P6) or PGM (P5) with maxval 255; none otherwise.
ImageBuffer ReadPnm(const std::string& path);
// Writes a 24-bit picture as a binary PPM.
bool WritePpm(const ImageBuffer& image, const std::string& path);

// Reads the pixels of any picture file through ImageMagick (none when that fails).
ImageBuffer ReadWithImageMagick(const std::string& path, const std::string& scratchPpm);

std::vector<unsigned char> ReadAll(const std::string& path);
bool WriteAll(const std::string& path, const std::vector<unsigned char>& bytes);

// Largest difference of any channel between two 24-bit pictures of the same size
// (256 when the sizes differ or one is missing).
int MaxDifference(const ImageBuffer& a, const ImageBuffer& b);

// A smooth picture, for lossy round trips.
ImageBuffer MakeGradient(int width, int height);

// 24-bit copy of a 1-, 4- or 8-bit picture, looked up index by index (for expectations).
ImageBuffer ExpandForTest(const ImageBuffer& indexed);

}  // namespace duplora::test
