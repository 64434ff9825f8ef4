// Marker segments of JPEG files, edited without decoding the picture. A rewrite replaces the
// file atomically (atomic_file.h), keeping its times and permissions.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/formats/atomic_file.h"
#include "core/util/result.h"

namespace duplora {

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
    CannotOpen = 1,             // missing or not writable (SegmentEditFailure has a message)
    BadArguments = 2,           // unknown mode, or a block that is not one whole segment
    NotJpeg = 3,                // does not start with FF D8
    TooLarge = 4,               // cannot be held in memory
    ReadFailed = 5,             // short read
    CannotCreateTemporary = 6,  // no temporary file beside it (a message, too)
    SourceUnusable = 7,         // modes 5 and 6: the source has no complete APP1 segment
    WriteFailed = 8,            // the temporary file could not be written
    Malformed = 9,              // broken segment structure (a message, too)
    CannotReplace = 10,         // the temporary file could not be renamed over the file
};

// What the user is told of an edit's result (the captions "FEHLER"): a file that cannot be
// opened ("Kann Bild nicht öffnen" for a rewrite, else "Kann nicht schreiben"), no temporary
// file, or broken segments; a quiet failure for the others (none is made for Ok).
Failure SegmentEditFailure(SegmentEditResult result, SegmentEditMode mode);

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

// The header segments of the JPEG stream at `start` (which begins with SOI): fn(marker,
// offset, whole length with marker and length field) for each segment that has a length, up
// to SOS; fn returns false to stop there. Gives the offset of SOS or of the segment fn
// stopped at; 0 when there is no SOI or the structure breaks first (a length outside the
// bytes, a marker that has no place in a header). Fill bytes and restart markers are stepped
// over.
std::size_t WalkJpegHeader(
    std::span<const std::uint8_t> bytes, std::size_t start,
    const std::function<bool(std::uint8_t marker, std::size_t at, std::size_t length)>& fn);

// The first complete APP1 segment of a JPEG header, or of bytes that start with one bare
// segment; empty when there is none.
std::span<const std::uint8_t> FindFirstApp1(std::span<const std::uint8_t> bytes);

}  // namespace duplora
