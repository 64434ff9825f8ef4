// Marker segments of JPEG files, edited without decoding the picture, and the way this
// program replaces a file it rewrites: a new file beside it, flushed, then renamed over it,
// keeping the old file's times and permissions.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <vector>

namespace duplora {

// ---- atomic replacement -------------------------------------------------------------

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

enum class ReplaceResult { Ok, CannotCreate, WriteFailed, CannotRename };

// Writes `pieces` one after the other into a unique temporary file in the folder of `path`
// (after following a symbolic link; an empty path is refused), flushes it to disk and renames it
// over `path`. With a valid stamp the new file gets its permissions, owner and access and
// modification times; without one it is created 0644. On any failure the temporary file is removed
// and `path` is left exactly as it was.
ReplaceResult ReplaceFile(const std::string& path,
                          std::span<const std::span<const std::uint8_t>> pieces,
                          const FileStamp& stamp);
ReplaceResult ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes,
                          const FileStamp& stamp);

// Reads at most `limit` bytes from the start of a regular file; false when it is not one
// or cannot be opened or read.
bool ReadFileHead(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& out);

// ---- segment editor -------------------------------------------------------------------

enum class SegmentEditMode {
    SetComment = 1,   // every COM dropped; the source's comment, when not empty, inserted
                      // before the first table or frame segment
    InsertBlock = 2,  // every APP1 dropped; the source's block inserted after SOI
    DropApp0 = 3,     // every APP0 (JFIF) dropped
    DropApp1 = 4,     // every APP1 (Exif) dropped
    ReplaceApp1 = 5,  // the first APP1 replaced by the source file's APP1
    CopyApp1 = 6,     // every APP1 dropped; the source file's APP1 inserted after SOI
    Rewrite = 7,      // every segment kept
};

enum class SegmentEditResult {
    Ok = 0,
    CannotOpen = 1,             // missing or not writable (a box is shown)
    BadArguments = 2,           // unknown mode, or a block that is not one whole segment
    NotJpeg = 3,                // does not start with FF D8
    TooLarge = 4,               // cannot be held in memory
    ReadFailed = 5,             // short read
    CannotCreateTemporary = 6,  // no temporary file beside it (a box is shown)
    SourceUnusable = 7,         // modes 5 and 6: the source has no complete APP1 segment
    WriteFailed = 8,            // the temporary file could not be written
    Malformed = 9,              // broken segment structure (a box is shown)
    CannotReplace = 10,         // the temporary file could not be renamed over the file
};

// What the editor inserts. Only the field of the mode in use is read.
struct SegmentSource {
    std::string comment;              // SetComment: the text, stored without a terminator
    std::vector<std::uint8_t> block;  // InsertBlock: one whole segment, FF En and length included
    std::string path;                 // ReplaceApp1, CopyApp1: a JPEG, or a file holding one
                                      // bare segment, whose first APP1 is taken
};

// Rewrites the header segments of the JPEG file at `path` by `mode`; everything from the
// first SOS on is copied byte for byte. Any failure leaves the file as it was and no
// temporary file behind; the file's times and permissions are kept.
SegmentEditResult EditJpegSegments(const std::string& path, const SegmentSource& source,
                                   SegmentEditMode mode);

// The same edit on bytes in memory: the new file is `head` followed by file[tailStart..].
// Never shows a message.
SegmentEditResult EditSegmentsInMemory(std::span<const std::uint8_t> file,
                                       std::span<const std::uint8_t> block,
                                       std::string_view comment, SegmentEditMode mode,
                                       std::vector<std::uint8_t>& head, std::size_t& tailStart);

// The first complete APP1 segment of a JPEG header, or of bytes that start with one bare
// segment; empty when there is none.
std::span<const std::uint8_t> FindFirstApp1(std::span<const std::uint8_t> bytes);

}  // namespace duplora
