// DAS stereo containers: one file holding both source files of a stereo pair byte for
// byte, with their names and file times, a small thumbnail of each view, both picture
// sizes and the stereo alignment. The "IO" variant (extension IOS) is read, never written.
//
// Layout (little-endian, offsets from the start of the file):
//    0   6  magic "DAS   " ("IO…" for the IOS variant; readers look at two bytes)
//    6  12  reserved, zero
//   18   8  left width, height          26   8  alignment X, Y (signed)
//   34   8  right width, height
//   42 128  left file name, zero-padded 170  24  left creation, access, write time
//  194 128  right file name            322  24  right creation, access, write time
//  346      four entries, each a 4-byte length and that many bytes: left thumbnail,
//           right thumbnail, left source file, right source file
// File times are Windows FILETIMEs (100-ns ticks since 1601-01-01 UTC), so containers
// move between systems. Every length is checked against the real file size before use;
// a damaged container is refused, never read past its end.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "core/image/image_buffer.h"
#include "core/util/progress.h"
#include "core/util/question.h"

namespace duplora {

inline constexpr std::size_t kDasHeaderSize = 346;
// The bytes WriteDasAlignment reads and writes back: magic and the nine header fields.
inline constexpr std::size_t kDasFixedHeaderSize = 42;
inline constexpr std::size_t kDasAlignmentAt = 26;
inline constexpr std::size_t kDasNameFieldSize = 128;
// Longest stored name: the field keeps a terminating zero.
inline constexpr std::size_t kDasMaxNameBytes = 127;
// Longer side of the stored thumbnails, and their JPEG quality.
inline constexpr int kDasThumbnailSize = 160;
inline constexpr int kDasThumbnailQuality = 70;
// A preview reads no more of the body than this, and needs the second entry to start
// within kDasPreviewEntryLimit bytes.
inline constexpr std::uint64_t kDasPreviewBodyLimit = 65535;
inline constexpr std::uint64_t kDasPreviewEntryLimit = 65000;
// ExtractDasJpegs' success code, and the names of the files it writes.
inline constexpr int kDasExtracted = 3;
inline constexpr const char* kDasLeftFileName = "TMP00.JPG";
inline constexpr const char* kDasRightFileName = "TMP01.JPG";

enum class DasVariant { Das, Ios };

// Windows FILETIME values of one stored file; 0 means "not known".
struct DasFileTimes {
    std::uint64_t creation = 0;
    std::uint64_t access = 0;
    std::uint64_t write = 0;
};

struct DasHeader {
    DasVariant variant = DasVariant::Das;
    std::int32_t leftWidth = 0, leftHeight = 0;
    std::int32_t alignX = 0, alignY = 0;
    std::int32_t rightWidth = 0, rightHeight = 0;
    std::string leftName, rightName;  // as stored: up to the first zero byte
    DasFileTimes leftTimes, rightTimes;
};

// A stored entry: its first byte's offset in the file and its length.
struct DasEntry {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

enum DasEntryIndex {
    kDasLeftThumbnail = 0,
    kDasRightThumbnail = 1,
    kDasLeftSource = 2,
    kDasRightSource = 3
};

struct DasLayout {
    DasHeader header;
    std::array<DasEntry, 4> entries{};
    int count = 0;  // entries found: 1 for a preview, 4 otherwise
    std::uint64_t fileSize = 0;
};

// ---- FILETIME ------------------------------------------------------------------------

// 100-ns ticks between 1601-01-01 and 1970-01-01.
inline constexpr std::uint64_t kFileTimeUnixEpoch = 116444736000000000ULL;

// POSIX time → FILETIME; times before 1601 give 0, times beyond its range the largest value.
std::uint64_t PosixToFileTime(const timespec& time);
// FILETIME → POSIX time (nanoseconds in steps of 100).
timespec FileTimeToPosix(std::uint64_t fileTime);

// ---- reading -------------------------------------------------------------------------

// The 346-byte header of a DAS or IOS file; false when the file is shorter or its magic
// is neither "DA" nor "IO".
bool ReadDasHeader(const std::string& path, DasHeader& header);

// Header and entry positions, every one checked against the file size. `preview` looks at
// the first 65535 body bytes only and finds the left thumbnail alone. DAS: the entries
// follow each other by their lengths. IOS: each entry is found by searching for a JFIF
// start (FF D8 FF E0 ?? ?? "JFIF") and has its length in the 4 bytes before it; the
// search goes on after the end of the entry found.
bool ReadDasLayout(const std::string& path, bool preview, DasLayout& layout);

// Writes the left thumbnail (preview) or the two stored source files (otherwise) into
// `targetFolder` as "TMP00.JPG" (and "TMP01.JPG"), each replaced atomically. 3 on success
// with the header in `header` when given, 0 on any failure (nothing left behind).
int ExtractDasJpegs(const std::string& dasPath, const std::string& targetFolder, bool preview,
                    DasHeader* header = nullptr);

struct DasPicture {
    ImageBuffer image;  // both views side by side, left first, 24 bit
    DasHeader header;   // sizes and alignment as stored
    explicit operator bool() const { return static_cast<bool>(image); }
};

// Decodes both stored source files (BMP, else JPEG turned by its Exif orientation) and
// joins them side by side; views of different sizes are each put at the top left of a
// black canvas of the larger width and height. None when anything fails.
DasPicture LoadDasPicture(const std::string& dasPath);

// The open dialog's look at a container: the left thumbnail, decoded with the 160-pixel
// reduction, and the header. Reads no more than a preview may (kDasPreviewBodyLimit). An
// empty picture when the file is no readable container.
struct DasThumbnail {
    ImageBuffer image;
    DasHeader header;
};
DasThumbnail LoadDasThumbnail(const std::string& dasPath);

// ---- writing -------------------------------------------------------------------------

// Packs the left and right source files into a new DAS file at `dasPath` with alignment
// X, Y, replacing it atomically. When `leftPath` is itself a DAS or IOS file its stored
// sources are packed instead (named after it with "_L.JPG" and "_R.JPG", keeping their
// stored times) and `rightPath` is not used. Writing reports to `progress`. False leaves
// any old file as it was (also when `progress` is cancelled).
bool CreateDasFile(const std::string& dasPath, const std::string& leftPath,
                   const std::string& rightPath, int x, int y,
                   const Progress& progress = NoProgress());

// Writes the two stored source files beside `chosenPath`: as its stem + "_L" / "_R" + its
// extension; or, when the chosen file name is the stored left name (case aside), under
// the stored names with their stored times. An existing target is replaced only when
// `overwrite` confirms "Datei bereits vorhanden! Diese Datei ersetzen ?" (OK/Cancel, the
// target as caption); a refusal ends the restore with false (what was written stays).
// Stored names are used only as plain file names in the chosen folder.
bool RestoreDasFiles(const std::string& dasPath, const std::string& chosenPath,
                     const OverwritePolicy& overwrite);

// Puts X and Y into the header of an existing DAS or IOS file in place; nothing else in
// the file changes. False for anything that is not such a file or cannot be written.
bool WriteDasAlignment(const std::string& path, int x, int y);

// ---- alignment -----------------------------------------------------------------------

struct DasAlignment {
    int x = 0;
    int y = 0;
};
struct DasOffset {
    int dx = 0;
    int dy = 0;
};
// The document offset a stored alignment gives: horizontal −X, vertical Y.
DasOffset OffsetFromDasAlignment(const DasAlignment& stored);
// The alignment stored for a document offset: X = −dx, Y = dy; with the views swapped
// X = dx, Y = −dy.
DasAlignment DasAlignmentFromOffset(const DasOffset& offset, bool swapped);

// ---- names ---------------------------------------------------------------------------

// True when the file-name part ends in ".das" or ".ios" (any case).
bool IsDasName(std::string_view path);

// A file name cut to fit the name field (127 bytes): the stem is shortened on a UTF-8
// character boundary so that a short extension survives.
std::string FitDasName(std::string_view name);

enum class DasNameResult { Failure = 0, NewName = 1, Restore = 2 };

// The name the DAS dialog proposes for `leftPath`: `folder` (the left file's folder when
// empty) + the left file's stem with a trailing "l"/"L" (and a "_" or "-" before it)
// removed + ".das". For a DAS or IOS file: Restore, with the stored left name in the
// container's folder. Failure for an empty name or an unreadable container.
DasNameResult MakeDasName(const std::string& leftPath, std::string& out,
                          const std::string& folder = {});

// The right file the DAS dialog pairs with `leftPath`, by name alone: the container
// itself for a DAS or IOS file; otherwise the character before the extension decides —
// "l"→"r", "L"→"R", a character from "*" to "8" goes up by one, "9" and "99" after such a
// character become "0" and "00" and carry into it. Empty when no rule applies.
std::string DasPartnerName(const std::string& leftPath);
// DasPartnerName when that file exists; empty otherwise.
std::string FindDasPartner(const std::string& leftPath);

}  // namespace duplora
