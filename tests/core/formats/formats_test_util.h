// Helpers for the file-format tests (the batch tests use some too): scratch folders, outside
// tools, whole files, binary PPM/PGM pictures and the pieces of a JPEG file.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/image/image_buffer.h"
#include "core/util/progress.h"
#include "support/told.h"

namespace duplora::test {

using Bytes = std::vector<std::uint8_t>;
using TwoNames = std::pair<std::string, std::string>;

// A fresh folder under the temporary folder, removed with everything in it.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    std::vector<std::string> Files() const;  // sorted names

  private:
    std::string path_;
};

// While it lives the folder takes no new files: by its permissions, or for a privileged
// user by the immutable attribute. Unlocked() when neither worked.
class LockedFolder {
  public:
    explicit LockedFolder(const std::string& path);
    ~LockedFolder();
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;
    bool Unlocked() const { return !locked_; }

  private:
    std::string path_;
    bool locked_ = false;
    bool immutable_ = false;
};

// Sets or clears the immutable attribute; false where the file system does not allow it.
bool SetImmutable(const std::string& path, bool on);

bool HaveTool(const std::string& tool);
// Runs a shell command quietly; true when it exits with 0.
bool RunQuiet(const std::string& command);
// Standard output of a shell command without one trailing newline; CaptureBytes keeps all.
std::string Capture(const std::string& command);
Bytes CaptureBytes(const std::string& command);
std::string Quote(const std::string& path);  // for the shell

Bytes ReadAll(const std::string& path);
bool WriteAll(const std::string& path, const Bytes& bytes);
// Little-endian fields.
std::uint32_t Le(const Bytes& b, std::size_t at, int bytes = 4);
void PutLe(Bytes& b, std::size_t at, std::uint32_t value, int bytes = 4);

// Modification time in nanoseconds; SetOldTimes gives a file fixed old times.
std::int64_t ModifyTime(const std::string& path);
void SetOldTimes(const std::string& path);

// 24-bit picture from a binary PPM or PGM with maxval 255 (none otherwise), and back.
ImageBuffer ReadPnm(const std::string& path);
bool WritePpm(const ImageBuffer& image, const std::string& path);
// Any picture file's pixels as ImageMagick reads them (none when that fails).
ImageBuffer ReadWithImageMagick(const std::string& path, const std::string& scratchPpm);

// Largest channel difference of two 24-bit pictures; 256 when the sizes differ or one is
// missing.
int MaxDifference(const ImageBuffer& a, const ImageBuffer& b);
ImageBuffer MakeGradient(int width, int height);  // smooth, for lossy round trips
// 24-bit copy of a 1-, 4- or 8-bit picture, looked up index by index.
ImageBuffer ExpandForTest(const ImageBuffer& indexed);

// Runs `action` with a progress (false fails) and checks what it reported: only in
// `direction`, rising by whole percents from 0 to above 90, at least `minCalls` times. Run
// again with the progress cancelled from the start, the action must fail.
::testing::AssertionResult RisingProgress(const std::function<bool(const Progress&)>& action,
                                          ProgressDirection direction, int minCalls);

// ---- JPEG files ----
// A JPEG made by ImageMagick; false when that is not possible.
bool MakeJpeg(const std::string& path, const std::string& size = "64x48");
// Everything after the first SOS segment; empty when a plain walk finds none.
Bytes EntropyData(const Bytes& file);
// Marker, big-endian length, payload.
Bytes Segment(std::uint8_t marker, const Bytes& payload);
inline Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}
inline void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// A TIFF structure written directory by directory, in either byte order. Entries are
// {tag, type, value} with a count of one; a SHORT value sits in the first two bytes of its
// field.
class TiffWriter {
  public:
    explicit TiffWriter(bool big) : big_(big) {
        Append(bytes_, Text(big ? "MM" : "II")), Put(42, 2), Put(8, 4);
    }
    TiffWriter& Directory(const std::vector<std::array<std::uint32_t, 3>>& entries,
                          std::uint32_t next) {
        Put(static_cast<std::uint32_t>(entries.size()), 2);
        for (const auto& [tag, type, value] : entries) {
            Put(tag, 2), Put(type, 2), Put(1, 4);
            type == 3 ? (Put(value, 2), Put(0, 2)) : Put(value, 4);
        }
        Put(next, 4);
        return *this;
    }
    // The structure as a JPEG's Exif segment.
    Bytes App1() const {
        Bytes payload = Text(std::string("Exif\0\0", 6));
        Append(payload, bytes_);
        return Segment(0xE1, payload);
    }
    Bytes& Raw() { return bytes_; }

  private:
    void Put(std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) bytes_.push_back(std::uint8_t(v >> 8 * (big_ ? n - 1 - i : i)));
    }
    bool big_;
    Bytes bytes_;
};

}  // namespace duplora::test
