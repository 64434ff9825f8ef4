// Helpers shared by the tests: synthetic pictures, sample paths, comparisons that
// write both pictures out when they differ.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "core/image/image_buffer.h"

namespace duplora::test {

// Path of a sample photograph under the shared samples folder ("pairs/gx8_l.jpg").
std::string SamplePath(const std::string& relative);
bool SampleExists(const std::string& relative);
// A JPEG decoded by the program's own reader (none on any error), and a sample photo,
// optionally reduced to 1/scaleDenominator of its size.
ImageBuffer LoadJpeg(const std::string& path);
ImageBuffer LoadSample(const std::string& relative, int scaleDenominator = 1);
// While it lives, writing a file past `bytes` fails as on a full disk (RLIMIT_FSIZE, with
// SIGXFSZ ignored); it binds root too, where a folder's permissions do not.
class DiskFullAfter {
  public:
    explicit DiskFullAfter(unsigned long bytes);
    ~DiskFullAfter();
    DiskFullAfter(const DiskFullAfter&) = delete;
    DiskFullAfter& operator=(const DiskFullAfter&) = delete;
    bool Active() const { return active_; }

  private:
    unsigned long saved_ = 0;
    void (*savedHandler_)(int) = nullptr;
    bool active_ = false;
};

// Folder for files a failing test leaves behind.
std::string TestOutputDir();

// A 24-bit picture whose pixel (x, y) (top-down) is colour(x, y) as 0xRRGGBB.
ImageBuffer MakeImage(int width, int height, const std::function<std::uint32_t(int, int)>& colour);
// A deterministic pseudo-random 24-bit picture.
ImageBuffer MakeNoise(int width, int height, std::uint32_t seed);
// A picture of another depth with random indices and a random colour table.
ImageBuffer MakeIndexed(int width, int height, int bits, std::uint32_t seed);

// Pixel (x, y), top-down, of a 24-bit picture as 0xRRGGBB.
std::uint32_t PixelAt(const ImageBuffer& image, int x, int y);
// Index of pixel (x, y), top-down, of a 1-, 4- or 8-bit picture.
int IndexAt(const ImageBuffer& image, int x, int y);

// FNV-1a over size, depth, the used bytes of every row and the colour table: the known value
// of a picture too large to spell out. `seed` chains the digests of several pictures.
std::uint64_t PixelDigest(const ImageBuffer& image, std::uint64_t seed = 0xCBF29CE484222325u);

// Writes a picture as a BMP file (for looking at failures).
bool WriteBmpForTest(const ImageBuffer& image, const std::string& path);

// Compares size, depth and every pixel byte (padding ignored); on a difference writes
// actual and expected pictures to the output folder under `name`.
::testing::AssertionResult SamePixels(const ImageBuffer& actual, const ImageBuffer& expected,
                                      const std::string& name = "image");
// The same for a picture an operation may have failed to make.
::testing::AssertionResult SamePixels(const Result<ImageBuffer>& actual,
                                      const ImageBuffer& expected,
                                      const std::string& name = "image");

// The picture of a result; none for a failure.
inline ImageBuffer Made(Result<ImageBuffer> result) {
    return std::move(result).ValueOr({});
}

}  // namespace duplora::test
