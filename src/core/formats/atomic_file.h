// Replacing a file so that a reader never sees it half written: the new contents go to
// a uniquely named temporary file in the same folder, are flushed to the disk, and are
// renamed over the target. Until Commit() succeeds the old file stays byte for byte.
// Every file this program writes or rewrites goes through AtomicFileWriter; ReplaceFile is
// the same for contents already in memory.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <span>
#include <string>
#include <vector>

#include "core/util/result.h"

namespace duplora {

// What a rewrite keeps of the file it replaces.
struct FileStamp {
    bool valid = false;
    timespec accessTime{};
    timespec modifyTime{};
    mode_t mode = 0644;
    uid_t owner = 0;
    gid_t group = 0;
    std::uint64_t size = 0;
};

// The stamp of an existing file (symbolic links followed); invalid when it cannot be read.
FileStamp ReadFileStamp(const std::string& path);

// "Kann Bild nicht öffnen" with the path as caption: a picture file that cannot be created.
Failure CannotOpenFile(const std::string& path);

class AtomicFileWriter {
  public:
    AtomicFileWriter() = default;
    // Removes the temporary file when Commit() was not reached.
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file beside `target` (beside the file a symbolic link points
    // to). False when the folder cannot take it or the path is empty.
    bool Open(const std::string& target);
    // Stream of the temporary file; null before Open() and after Commit()/Discard().
    std::FILE* File() const noexcept { return file_; }
    // Writes `size` bytes; false on a short write.
    bool Write(const void* data, std::size_t size);
    // Flushes and syncs the file and renames it over the target. With a valid `keep` the
    // new file gets that stamp's permissions, owner (where allowed) and access and
    // modification times, and failing to set them fails the commit; without one it gets
    // the target's permissions, or the usual ones for a new file. False leaves the target
    // untouched and no temporary file behind.
    bool Commit(const FileStamp* keep = nullptr);
    // After a failed Commit(): whether everything was written and only the rename failed.
    bool RenameFailed() const noexcept { return renameFailed_; }
    // Drops the temporary file; the target stays as it was.
    void Discard() noexcept;

  private:
    std::FILE* file_ = nullptr;
    std::string target_;
    std::string temporary_;
    bool renameFailed_ = false;
};

enum class ReplaceResult { Ok, CannotCreate, WriteFailed, CannotRename };

// Writes `pieces` one after the other through an AtomicFileWriter and commits it with
// `stamp` (see Commit()). On any failure `path` is left exactly as it was.
ReplaceResult ReplaceFile(const std::string& path,
                          std::span<const std::span<const std::uint8_t>> pieces,
                          const FileStamp& stamp);
ReplaceResult ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes,
                          const FileStamp& stamp);

// Owns a file descriptor and closes it when it goes.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    // Closes now and tells whether the close succeeded (it can report a failed write).
    bool Close();

  private:
    int fd_;
};

// Reads up to `size` bytes into `data`, retrying short and interrupted reads; `got` says
// how many came before the end of the file. False on a read error.
bool ReadAll(int fd, std::uint8_t* data, std::size_t size, std::size_t& got);

// Reads at most `limit` bytes from the start of a regular file; false when it is not one
// or cannot be opened or read.
bool ReadFileHead(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& out);

}  // namespace duplora
