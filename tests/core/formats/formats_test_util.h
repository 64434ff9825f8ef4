// Helpers for the file-format tests: scratch folders, outside tools, whole files, the plain
// PPM/PGM files through which ImageMagick and djpeg hand us their pixels, and the pieces of
// a JPEG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "core/image/image_buffer.h"

namespace duplora::test {

using Bytes = std::vector<std::uint8_t>;

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

// The same folder under the names the list-file tests use.
struct TempFolder : ScratchDir {
    std::string File(const std::string& name) const { return *this / name; }
    std::vector<std::string> Entries() const { return Files(); }
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

// Makes a folder unwritable for the life of the object: by its permissions, and where
// those do not bind (a privileged user), by the immutable attribute. Unlocked() tells
// whether neither worked.
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

// Sets or clears the immutable attribute, which stops even a privileged user from
// changing a file or a folder's entries. False when the file system does not allow it.
bool SetImmutable(const std::string& path, bool on);

// Collects the messages shown and answers every question with `answer` while it lives.
class Dialogue {
  public:
    struct Shown {
        std::string text, caption;
        QuestionKind kind = QuestionKind::YesNo;  // of a question
    };
    explicit Dialogue(Answer answer = Answer::Cancel);
    ~Dialogue();
    Dialogue(const Dialogue&) = delete;
    Dialogue& operator=(const Dialogue&) = delete;
    std::vector<Shown> shown, asked;

  private:
    MessageSink previousMessage_;
    QuestionSink previousQuestion_;
};

// True when `tool` can be run (found on the PATH).
bool HaveTool(const std::string& tool);
// Runs a shell command with its output discarded; true when it exits with 0.
bool RunQuiet(const std::string& command);
// What a shell command printed on standard output, without one trailing newline.
std::string Capture(const std::string& command);
// The same, every byte kept.
Bytes CaptureBytes(const std::string& command);
// Wraps a path in single quotes for the shell.
std::string Quote(const std::string& path);

Bytes ReadAll(const std::string& path);
bool WriteAll(const std::string& path, const Bytes& bytes);
inline Bytes ReadBytes(const std::string& path) {
    return ReadAll(path);
}
inline bool WriteBytes(const std::string& path, const Bytes& bytes) {
    return WriteAll(path, bytes);
}

// Modification time of a file in nanoseconds; gives a file fixed old times.
std::int64_t ModifyTime(const std::string& path);
void SetOldTimes(const std::string& path);

// 24-bit picture from a binary PPM (P6) or PGM (P5) with maxval 255; none otherwise.
ImageBuffer ReadPnm(const std::string& path);
// Writes a 24-bit picture as a binary PPM.
bool WritePpm(const ImageBuffer& image, const std::string& path);
// Reads the pixels of any picture file through ImageMagick (none when that fails).
ImageBuffer ReadWithImageMagick(const std::string& path, const std::string& scratchPpm);

// Largest difference of any channel between two 24-bit pictures of the same size
// (256 when the sizes differ or one is missing).
int MaxDifference(const ImageBuffer& a, const ImageBuffer& b);
// A smooth picture, for lossy round trips.
ImageBuffer MakeGradient(int width, int height);
// 24-bit copy of a 1-, 4- or 8-bit picture, looked up index by index (for expectations).
ImageBuffer ExpandForTest(const ImageBuffer& indexed);

// ---- JPEG files ----
// A JPEG made by ImageMagick; false when that is not possible.
bool MakeJpeg(const std::string& path, const std::string& size = "64x48");
// The bytes from the end of the first SOS segment on: the entropy-coded data and all
// that follows. Empty when no SOS is found by a plain segment walk.
Bytes EntropyData(const Bytes& file);
// The markers of the segments before the first SOS, SOS included.
std::vector<int> HeaderMarkers(const Bytes& file);
// One segment: marker, big-endian length, payload.
Bytes Segment(std::uint8_t marker, const Bytes& payload);
inline Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}
inline void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

}  // namespace duplora::test
