#include "support/test_support.h"

#include "core/formats/jpeg_codec.h"
#include "core/image/convert.h"

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace duplora::test {

std::string SamplePath(const std::string& relative) {
    return std::string(DUPLORA_SAMPLES_DIR) + "/" + relative;
}

bool SampleExists(const std::string& relative) {
    return std::filesystem::exists(SamplePath(relative));
}

ImageBuffer LoadJpeg(const std::string& path) {
    return DecodeJpegFile(path, false);
}

ImageBuffer LoadSample(const std::string& relative, int scaleDenominator) {
    ImageBuffer photo = LoadJpeg(SamplePath(relative));
    if (!photo || scaleDenominator <= 1) return photo;
    return CropScaleView(photo, photo.Width() / scaleDenominator, photo.Height() / scaleDenominator,
                         0, 0, 0, 0, false);
}

DiskFullAfter::DiskFullAfter(unsigned long bytes) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) return;
    saved_ = limit.rlim_cur;
    savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    active_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

DiskFullAfter::~DiskFullAfter() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0) {
        limit.rlim_cur = saved_;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::signal(SIGXFSZ, savedHandler_);
}

std::string TestOutputDir() {
    std::filesystem::create_directories(DUPLORA_TEST_OUTPUT_DIR);
    return DUPLORA_TEST_OUTPUT_DIR;
}

ImageBuffer MakeImage(int width, int height, const std::function<std::uint32_t(int, int)>& colour) {
    ImageBuffer image = CreateImage(width, height, 24);
    if (!image) return image;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.Line(y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colour(x, y);
            row[x * 3] = c & 0xFF;
            row[x * 3 + 1] = (c >> 8) & 0xFF;
            row[x * 3 + 2] = (c >> 16) & 0xFF;
        }
    }
    return image;
}

ImageBuffer MakeNoise(int width, int height, std::uint32_t seed) {
    std::mt19937 rng(seed);
    return MakeImage(width, height, [&](int, int) { return rng() & 0xFFFFFF; });
}

ImageBuffer MakeIndexed(int width, int height, int bits, std::uint32_t seed) {
    std::mt19937 rng(seed);
    ImageBuffer image = CreateImage(width, height, bits);
    if (!image) return image;
    const int entries = 1 << bits;
    std::uint8_t* table = image.ColourTable();
    for (int i = 0; i < entries; ++i) {
        const std::uint32_t c = rng();
        table[i * 4] = c & 0xFF;
        table[i * 4 + 1] = (c >> 8) & 0xFF;
        table[i * 4 + 2] = (c >> 16) & 0xFF;
        table[i * 4 + 3] = 0;
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.Line(y);
        for (int x = 0; x < width; ++x) {
            const int v = static_cast<int>(rng() % entries);
            if (bits == 8) {
                row[x] = static_cast<std::uint8_t>(v);
            } else if (bits == 4) {
                const int shift = (x & 1) ? 0 : 4;
                row[x / 2] =
                    static_cast<std::uint8_t>((row[x / 2] & ~(0xF << shift)) | (v << shift));
            } else {
                const int shift = 7 - (x & 7);
                row[x / 8] = static_cast<std::uint8_t>((row[x / 8] & ~(1 << shift)) | (v << shift));
            }
        }
    }
    return image;
}

std::uint32_t PixelAt(const ImageBuffer& image, int x, int y) {
    const std::uint8_t* p = image.Line(y) + x * 3;
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

int IndexAt(const ImageBuffer& image, int x, int y) {
    const std::uint8_t* row = image.Line(y);
    switch (image.BitCount()) {
        case 8:
            return row[x];
        case 4:
            return (x & 1) ? (row[x / 2] & 0xF) : (row[x / 2] >> 4);
        case 1:
            return (row[x / 8] >> (7 - (x & 7))) & 1;
        default:
            return -1;
    }
}

std::uint64_t PixelDigest(const ImageBuffer& image, std::uint64_t seed) {
    std::uint64_t h = seed;
    const auto add = [&h](const std::uint8_t* bytes, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) h = (h ^ bytes[i]) * 0x100000001B3u;
    };
    const std::int32_t shape[3] = {image.Width(), image.Height(), image.BitCount()};
    add(reinterpret_cast<const std::uint8_t*>(shape), sizeof shape);
    if (image.IsNull()) return h;
    const std::size_t used = (static_cast<std::size_t>(image.Width()) * image.BitCount() + 7) / 8;
    for (int y = 0; y < image.Height(); ++y) add(image.Line(y), used);
    if (image.BitCount() <= 8) add(image.ColourTable(), 4 * image.ColourCount());
    return h;
}

bool WriteBmpForTest(const ImageBuffer& image, const std::string& path) {
    if (!image) return false;
    const std::uint32_t pixelOffset = 14 + image.HeaderSize() + 4 * image.ColourCount();
    const std::uint32_t fileSize = 14 + static_cast<std::uint32_t>(image.ByteSize());
    std::ofstream out(path, std::ios::binary);
    const std::uint16_t magic = 0x4D42, zero16 = 0;
    out.write(reinterpret_cast<const char*>(&magic), 2);
    out.write(reinterpret_cast<const char*>(&fileSize), 4);
    out.write(reinterpret_cast<const char*>(&zero16), 2);
    out.write(reinterpret_cast<const char*>(&zero16), 2);
    out.write(reinterpret_cast<const char*>(&pixelOffset), 4);
    out.write(reinterpret_cast<const char*>(image.Data()),
              static_cast<std::streamsize>(image.ByteSize()));
    return static_cast<bool>(out);
}

::testing::AssertionResult SamePixels(const ImageBuffer& actual, const ImageBuffer& expected,
                                      const std::string& name) {
    auto dump = [&](const char* why) {
        const std::string dir = TestOutputDir();
        WriteBmpForTest(actual, dir + "/" + name + ".actual.bmp");
        WriteBmpForTest(expected, dir + "/" + name + ".expected.bmp");
        return ::testing::AssertionFailure()
               << name << ": " << why << " (pictures written to " << dir << ")";
    };
    if (actual.IsNull() != expected.IsNull())
        return ::testing::AssertionFailure() << name << ": one picture is missing";
    if (actual.IsNull()) return ::testing::AssertionSuccess();
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height() ||
        actual.BitCount() != expected.BitCount()) {
        std::ostringstream s;
        s << "size " << actual.Width() << "x" << actual.Height() << "x" << actual.BitCount()
          << " expected " << expected.Width() << "x" << expected.Height() << "x"
          << expected.BitCount();
        return ::testing::AssertionFailure() << name << ": " << s.str();
    }
    const std::size_t used = (static_cast<std::size_t>(actual.Width()) * actual.BitCount() + 7) / 8;
    for (int y = 0; y < actual.Height(); ++y) {
        if (std::memcmp(actual.Line(y), expected.Line(y), used) != 0) {
            for (int x = 0; actual.BitCount() == 24 && x < actual.Width(); ++x) {
                if (PixelAt(actual, x, y) != PixelAt(expected, x, y)) {
                    char buf[128];
                    std::snprintf(buf, sizeof buf,
                                  "first difference at (%d, %d): %06X, expected %06X", x, y,
                                  PixelAt(actual, x, y), PixelAt(expected, x, y));
                    return dump(buf);
                }
            }
            return dump("rows differ");
        }
    }
    if (actual.BitCount() <= 8 &&
        std::memcmp(actual.ColourTable(), expected.ColourTable(), 4 * actual.ColourCount()) != 0)
        return dump("colour tables differ");
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SamePixels(const Result<ImageBuffer>& actual,
                                      const ImageBuffer& expected, const std::string& name) {
    if (!actual)
        return ::testing::AssertionFailure()
               << name << ": no picture (" << actual.Error().CaptionText() << ": "
               << actual.Error().MessageText() << ")";
    return SamePixels(actual.Value(), expected, name);
}

}  // namespace duplora::test
