// Replacing a file so that a reader never sees it half written: the new contents go to
// a uniquely named temporary file in the same folder, are flushed to the disk, and are
// renamed over the target. Until Commit() succeeds the old file stays byte for byte.
#pragma once

#include <cstdio>
#include <string>

namespace duplora {

class AtomicFileWriter {
  public:
    AtomicFileWriter() = default;
    // Removes the temporary file when Commit() was not reached.
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file beside `target`. False when the folder cannot take it.
    bool Open(const std::string& target);
    // Stream of the temporary file; null before Open() and after Commit()/Discard().
    std::FILE* File() const noexcept { return file_; }
    // Writes `size` bytes; false on a short write.
    bool Write(const void* data, std::size_t size);
    // Flushes, syncs, gives the file the target's permissions (or the usual ones for a
    // new file) and renames it over the target. False leaves the target untouched.
    bool Commit();
    // Drops the temporary file; the target stays as it was.
    void Discard() noexcept;

  private:
    std::FILE* file_ = nullptr;
    std::string target_;
    std::string temporary_;
};

}  // namespace duplora
